#include "formwindow.h"

#include "form.h"
#include "runtime.h"

#include <QApplication>
#include <QBackingStore>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <qpa/qplatformwindow.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace vb {

FormWindow::FormWindow(Form* form) : QWidget(nullptr, Qt::Window), m_form(form) {
    // Qt keeps scaled window icons and the faces the style paints for drop-down lists in its pixmap cache,
    // and a cache that holds anything wakes the program every 30 s to expire it; faces cached under the
    // palettes of unloaded lists also pile up in it. Both are cheap to paint again, so nothing is cached.
    QPixmapCache::setCacheLimit(0);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (form) setObjectName(form->Name());
}

namespace {
// A new top-level window costs a fresh shared-memory picture of the whole window, which the kernel fills page
// by page, and deleting it costs as much again: at 3840 x 2160 that was most of a screen change. A change
// that reuses a window an earlier change left pays neither. Two are kept: a page that replaces its own screen
// (a menu, a guide page) leaves one behind while the next Exit leaves another.
QList<QPointer<FormWindow>> g_spares;
constexpr int kSpares = 2;
const Qt::WindowFlags kContent = Qt::Window | Qt::FramelessWindowHint;

qint64 bytesOf(const QWidget* w) {
    if (!static_cast<const FormWindow*>(w)->holdsPicture()) return 0;
    const QSize px = w->size() * w->devicePixelRatio();
    return qint64(px.width()) * px.height() * 4;
}

// The windows shown, and those kept; those on their way out are not counted.
qint64 windowBytes(bool kept = true) {
    qint64 all = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<FormWindow*>(w) && (w->isVisible() || (kept && g_spares.contains(w))))
            all += bytesOf(w);
    return all;
}

// Lets kept windows go, the oldest first, until they, the windows shown and `more` stay within the bound.
// Whether any went.
bool trimSpares(qint64 more = 0) {
    g_spares.removeAll(nullptr);
    qint64 all = windowBytes() + more;
    bool any = false;
    while (!g_spares.isEmpty() && all > FormWindow::kHeldBytes) {
        FormWindow* w = g_spares.takeFirst();
        all -= bytesOf(w);
        w->deleteLater();
        any = true;
    }
    return any;
}

void keep(FormWindow* w) {
    // However the program ends, the kept windows go with the application: no handler runs by then.
    [[maybe_unused]] static const bool hooked =
        (qAddPostRoutine([] {
             for (const QPointer<FormWindow>& spare : std::exchange(g_spares, {}))
                 delete spare.data();
         }),
         true);
    g_spares.append(w);
}

bool haveSpare(Qt::WindowFlags flags) {
    g_spares.removeAll(nullptr);
    return std::any_of(g_spares.cbegin(), g_spares.cend(),
                       [flags](const QPointer<FormWindow>& w) { return w->windowFlags() == flags; });
}
} // namespace

// The first content screen of a lesson, and the first after a refit, would otherwise pay for a new window.
void FormWindow::prepareSpare(QSize size) {
    if (QCoreApplication::closingDown() || haveSpare(kContent)) return;
    // Three screens shown is as deep as a lesson goes (the opening screen, a menu, an activity): from there
    // it only goes back, to screens whose windows are up already.
    const QWidgetList all = QApplication::topLevelWidgets();
    if (std::count_if(all.cbegin(), all.cend(), [](const QWidget* w) {
            return qobject_cast<const FormWindow*>(w) && w->isVisible() && w->windowFlags() == kContent;
        }) >= 3)
        return;
    const QSize px = size * qApp->devicePixelRatio();
    const qint64 bytes = qint64(px.width()) * px.height() * 4;
    if (windowBytes(false) + bytes > kHeldBytes) return;
    if (windowBytes() + bytes > kHeldBytes) {
        // Made once a kept window has gone, so that the two are never held together.
        if (trimSpares(bytes)) QTimer::singleShot(0, qApp, [size] { prepareSpare(size); });
        return;
    }
    auto* w = new FormWindow(nullptr);
    w->setWindowFlags(kContent);
    w->resize(size);
    w->winId();
    // Its picture in the display server's memory, filled once, as a window that a screen left has it.
    if (QBackingStore* store = w->backingStore()) {
        store->resize(size);
        store->beginPaint(QRegion(QRect(QPoint(), size)));
        if (QPaintDevice* device = store->paintDevice())
            QPainter(device).fillRect(QRect(QPoint(), size), Qt::black);
        store->endPaint();
    }
    keep(w);
}

FormWindow* FormWindow::obtain(Form& form, Qt::WindowFlags flags) {
    g_spares.removeAll(nullptr);
    const auto free = std::find_if(g_spares.begin(), g_spares.end(), [flags](const QPointer<FormWindow>& w) {
        return w->windowFlags() == flags && w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty();
    });
    if (free == g_spares.end()) return new FormWindow(&form);
    FormWindow* w = *free;
    g_spares.erase(free);
    w->m_form = &form;
    w->m_usedFrame = {};
    w->m_framePending = false;
    // It comes back as a new window would: what the last form or the window manager left on it goes.
    w->setObjectName(form.Name());
    w->setAccessibleName(QString());
    w->setWindowState(Qt::WindowNoState);
    return w;
}

void FormWindow::retire(FormWindow* w) {
    w->m_form = nullptr;
    w->hide();
    // The handler that asked for the unload may still be running on one of its controls.
    for (QWidget* child : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->deleteLater();
    // Framed windows (the title, the Jotter) are not kept: they come now and then, and would hold their
    // memory idle between; the frameless ones (content screens, the backdrop) follow one another all lesson.
    const bool frameless = w->windowFlags().testFlag(Qt::FramelessWindowHint);
    if (QCoreApplication::closingDown() || !frameless) {
        w->deleteLater();
        return;
    }
    // The newest are kept: the screens just left are the likeliest to be followed by ones like them.
    g_spares.removeAll(nullptr);
    if (g_spares.size() >= kSpares) g_spares.takeFirst()->deleteLater();
    w->setObjectName(QString());
    w->setWindowTitle(QString());
    keep(w);
    trimSpares();
}

void FormWindow::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    contentChanged(); // before it is mapped
    trimSpares();     // before its picture is made
}

void FormWindow::contentChanged() {
    if (!isVisible()) return; // decided as it is shown
    // Its picture would be 32 MB at 3840 x 2160, all of one colour.
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c =
        x11 && QGuiApplication::platformName() == QLatin1String("xcb") ? x11->connection() : nullptr;
    const bool plain = c && m_form && m_form->StaysAtBottom() && m_form->Picture().pixmap().isNull() &&
                       m_form->ink().isNull() && findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty();
    uint32_t pixel = 0;
    if (plain) {
        const QColor colour = toQColor(m_form->BackColor());
        const auto wide = [](int v) { return uint16_t(v * 257); };
        const xcb_colormap_t map = xcb_setup_roots_iterator(xcb_get_setup(c)).data->default_colormap;
        xcb_alloc_color_reply_t* got = xcb_alloc_color_reply(
            c, xcb_alloc_color(c, map, wide(colour.red()), wide(colour.green()), wide(colour.blue())),
            nullptr);
        m_filledByDisplay = got != nullptr;
        if (got) pixel = got->pixel;
        free(got);
    } else {
        m_filledByDisplay = false;
    }
    // Qt neither paints nor keeps a picture for a window whose updates are off.
    setUpdatesEnabled(!m_filledByDisplay);
    if (!m_filledByDisplay) return update();
    const auto id = xcb_window_t(winId());
    xcb_change_window_attributes(c, id, XCB_CW_BACK_PIXEL, &pixel);
    xcb_clear_area(c, 0, id, 0, 0, 0, 0);
    xcb_flush(c);
}

void FormWindow::dropSpares() {
    for (const QPointer<FormWindow>& w : std::exchange(g_spares, {}))
        if (w) w->deleteLater();
}

void FormWindow::applyDesign() {
    if (!m_form) return;
    Qt::WindowFlags flags = Qt::Window;
    // A framed window has a fixed size, so its frame offers no maximise button: window managers that draw
    // the buttons the window asks for (openbox) would otherwise show one that does nothing.
    if (m_form->Decorated())
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    else
        flags |= Qt::FramelessWindowHint;
    if (m_form->StaysOnTop()) flags |= Qt::WindowStaysOnTopHint;
    if (m_form->StaysAtBottom()) flags |= Qt::WindowStaysOnBottomHint | Qt::WindowDoesNotAcceptFocus;
    if (windowFlags() != flags) setWindowFlags(flags);
    setWindowTitle(m_form->Caption());
    applyIcon();
}

void FormWindow::applyIcon() {
    if (!m_form) return;
    setWindowIcon(m_form->Icon().isEmpty() ? QIcon() : QIcon(m_form->Icon().pixmap()));
}

QMargins FormWindow::currentFrame() const {
    const QWindow* w = windowHandle();
    if (!w || !w->handle() || !isVisible() || QGuiApplication::platformName() != QLatin1String("xcb"))
        return {};
    // In the program's pixels rounded up, so that at a fractional factor the frame is never short of the
    // one drawn and the window stays inside the work area.
    const QMargins drawn = w->handle()->frameMargins();
    const auto up = [r = w->devicePixelRatio()](int v) { return int(std::ceil(v / r - 1e-6)); };
    return QMargins(up(drawn.left()), up(drawn.top()), up(drawn.right()), up(drawn.bottom()));
}

QMargins FormWindow::realFrame() {
    m_usedFrame = currentFrame();
    return m_usedFrame;
}

QPoint FormWindow::framePosition() const {
    const QMargins real = currentFrame();
    return real.isNull() ? pos() : geometry().topLeft() - QPoint(real.left(), real.top());
}

// The window manager reports its frame only after the window is mapped: the window is placed again then.
void FormWindow::checkFrame() {
    if (!m_form || !m_form->Decorated() || m_framePending || currentFrame() == m_usedFrame) return;
    m_framePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_framePending = false;
            if (m_form && m_form->isLoaded()) m_form->applyWindowGeometry();
        },
        Qt::QueuedConnection);
}

void FormWindow::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    checkFrame();
    if (m_form && !m_framePending) m_form->noteMove();
}

void FormWindow::paintEvent(QPaintEvent* e) {
    if (!m_form) return;
    // Once this screen is painted, and before the next click can ask for one.
    if (windowFlags() == kContent && !haveSpare(kContent))
        QTimer::singleShot(0, this, [size = size()] { prepareSpare(size); });
    if (m_usedFrame.isNull()) checkFrame(); // the frame may come only after the first move
    QPainter p(this);
    const QRect dirty = e->rect();
    p.fillRect(dirty, toQColor(m_form->BackColor()));
    const QPixmap& picture = m_form->Picture().pixmap();
    // Only the dirty part of the picture and the ink is drawn: a moved card repaints a card's worth.
    if (!picture.isNull()) {
        const qreal r = picture.devicePixelRatio();
        const QRect part = dirty & QRect(QPoint(0, 0), picture.deviceIndependentSize().toSize());
        if (!part.isEmpty())
            p.drawPixmap(QRectF(part), picture, QRectF(QPointF(part.topLeft()) * r, QSizeF(part.size()) * r));
    }
    const QImage& ink = m_form->ink();
    if (!ink.isNull()) {
        const qreal r = ink.devicePixelRatio();
        const QRect part = dirty & QRect(QPoint(0, 0), ink.deviceIndependentSize().toSize());
        if (!part.isEmpty())
            p.drawImage(QRectF(part), ink, QRectF(QPointF(part.topLeft()) * r, QSizeF(part.size()) * r));
    }
}

void FormWindow::forward(int kind, QMouseEvent* e) {
    e->accept();
    if (!m_form || !m_form->isLoaded()) return;
    const int buttons = buttonBits(kind == 1 ? e->buttons() : Qt::MouseButtons(e->button()));
    m_form->dispatchMouse(kind, buttons, shiftBits(e->modifiers()), pixelsToTwips(e->position().x()),
                          pixelsToTwips(e->position().y()));
}

void FormWindow::mousePressEvent(QMouseEvent* e) {
    // A click on the backdrop must not bring it over the screens.
    if (m_form && m_form->StaysAtBottom()) Runtime::restack();
    forward(0, e);
}
void FormWindow::mouseMoveEvent(QMouseEvent* e) {
    forward(1, e);
}
void FormWindow::mouseReleaseEvent(QMouseEvent* e) {
    forward(2, e);
}

void FormWindow::closeEvent(QCloseEvent* e) {
    // The window manager's close button: each screen says what it means; the window itself never just goes.
    e->ignore();
    if (!m_form || !m_form->isLoaded()) return;
    Form* f = m_form;
    Runtime::dispatch([f] { f->closeRequested(); });
}

} // namespace vb
