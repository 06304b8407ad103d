#include "form.h"

#include "formwindow.h"
#include "highdpi.h"
#include "input.h"
#include "runtime.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace vb {

Form::Form(const QString& name) : m_name(name) {}

Form::~Form() {
    destroyWindow();
}

QWidget* Form::hWnd() const {
    return m_window;
}
QWidget* Form::clientWidget() const {
    return m_window;
}

void Form::Load() {
    if (m_loaded) return;
    m_loaded = true;
    ++m_generation;
    m_controls.clear();
    m_window = FormWindow::obtain(*this, m_windowFlags);
    designDefaults();
    Design();
    m_window->applyDesign();
    applyWindowGeometry();
    Runtime::formLoaded(this);
    Input::instance();
    Form_Load();
    // A handler for a control the screen never creates would be a click that silently does nothing.
    for (auto it = m_handlers.cbegin(); m_loaded && it != m_handlers.cend(); ++it) {
        const Handlers& h = it.value();
        if ((h.click || h.dropDown || h.mouseDown || h.mouseMove || h.mouseUp) &&
            !m_controls.contains(it.key()))
            throw RuntimeError(
                err::ControlNotFound,
                QStringLiteral("%1 has a handler for %2, which it does not create").arg(m_name, it.key()));
    }
    applyTabOrder();
}

void Form::applyTabOrder() {
    if (!m_loaded) return;
    QList<Control*> chain;
    for (Control* c : controls())
        if (c->tabStop()) chain.append(c);
    std::stable_sort(chain.begin(), chain.end(), [](const Control* a, const Control* b) {
        return std::pair(a->TabIndex(), a->Index()) < std::pair(b->TabIndex(), b->Index());
    });
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1]->tabStop(), chain[i]->tabStop());
}

// Window design defaults, before the screen's own design.
void Form::designDefaults() {
    m_decorated = false;
    m_left = m_top = 0;
    m_width = 4800;
    m_height = 3600;
    m_backColor = RGB(192, 192, 192);
    m_picture = vb::Picture();
    m_icon = vb::Picture();
    m_caption.clear();
    m_scaleMode = vbTwips;
    m_windowState = vbNormal;
    m_stayOnTop = m_stayAtBottom = m_manyPointers = false;
    m_foreColor = RGB(0, 0, 0);
    m_drawWidth = 1;
    m_currentX = m_currentY = 0;
    m_pointer = 0;
    m_pointerPlaces.clear();
    m_surface.clear();
    m_placedFor = QSizeF(Screen.Width(), Screen.Height());
    m_placedAt = Runtime::display() ? Runtime::display()->geometry().topLeft() : QPoint();
}

void Form::rehearse() {
    if (m_loaded || m_window) return;
    m_loaded = true; // Design's handles refer to the controls it makes, not to a load
    m_window = new FormWindow(this);
    designDefaults();
    try {
        Design();
        // The flags its window will have: a window kept with the same ones then serves its first load.
        m_window->applyDesign();
        applyWindowGeometry();
        m_windowFlags = m_window->windowFlags();
        // One pixel at the display's factor: Qt still shapes every caption and renders its glyphs into its
        // glyph cache, which the real paint then finds at the same factor.
        QImage stage(1, 1, QImage::Format_RGB32);
        stage.setDevicePixelRatio(Runtime::display() ? Runtime::display()->devicePixelRatio() : 1.0);
        for (QWidget* w : m_window->findChildren<QWidget*>())
            w->render(&stage, QPoint(), QRegion(), QWidget::RenderFlags());
    } catch (const RuntimeError&) {
        // The real load meets the same fault and reports it.
    }
    const QSize size = m_window->size();
    delete m_window.data();
    m_window = nullptr;
    // And a window ready for it, where none is kept (the first screen after the title).
    if (m_windowFlags == (Qt::Window | Qt::FramelessWindowHint)) FormWindow::prepareSpare(size);
    m_loaded = false;
    m_controls.clear();
    m_picture = vb::Picture();
    m_icon = vb::Picture();
    m_surface.clear();
}

void Form::Show() {
    Load();
    if (!m_loaded || !m_window) return; // Form_Load unloaded it again
    if (m_window->isHidden()) {
        applyWindowGeometry();
        // The backdrop goes to the back before it is mapped: mapped on top and lowered after, it would cover
        // the screens for a moment, and each of them would be sent to the display again.
        if (m_stayAtBottom) {
            m_window->winId();
            Runtime::lowerWindow(m_window);
        }
        m_window->show();
    }
    if (!m_stayAtBottom) {
        Runtime::raiseWindow(m_window);
        m_window->activateWindow();
    }
    Runtime::raised(this);
    Runtime::restack();
    Input::instance().shown(m_window);
}

void Form::Hide() {
    if (m_window) m_window->hide();
}

void Form::Unload() {
    if (!m_loaded) return;
    Form_Unload();
    m_loaded = false;
    ++m_generation;
    m_controls.clear();
    m_picture = vb::Picture();
    m_icon = vb::Picture();
    m_surface.clear();
    destroyWindow();
    Runtime::formUnloaded(this);
}

void Form::destroyWindow() {
    if (!m_window) return;
    FormWindow* w = m_window;
    m_window = nullptr;
    m_windowFlags = w->windowFlags();
    FormWindow::retire(w);
}

void Form::applyWindowGeometry() {
    if (!m_window) return;
    QScreen* s = Runtime::display();
    const QRect display = s ? s->geometry() : QRect(0, 0, 800, 600);
    if (m_windowState == vbMaximized) {
        // Whole pixels of the program rounded up, so no seam of desktop is left at a fractional factor.
        const QSizeF exact = Runtime::displaySize();
        m_window->setGeometry(QRect(display.topLeft(), QSize(int(std::ceil(exact.width() - 1e-6)),
                                                             int(std::ceil(exact.height() - 1e-6)))));
        return;
    }
    int x = display.x() + twipsToPixels(m_left), y = display.y() + twipsToPixels(m_top);
    int w = twipsToPixels(ScaleWidth()), h = twipsToPixels(ScaleHeight());
    if (m_decorated) {
        // A titled window keeps its frame and its buttons on the display, task bars excluded: it moves in
        // first and is made smaller only where it is larger than the free area. Only the program sizes it
        // (the Jotter's Flip): a window manager offers neither resizing nor maximising a window whose least
        // and greatest sizes are the same, so the fixed size is the fitted one.
        const QRect free = s ? s->availableGeometry() : display;
        const int outerW = twipsToPixels(m_width), outerH = twipsToPixels(m_height);
        int extraW = outerW - w, extraH = outerH - h;
        // Once mapped, the frame is the one the window manager drew; its box stands where the nominal
        // one's centre was, or at the same edge of the free area.
        if (const QMargins real = m_window->realFrame(); !real.isNull()) {
            const int realW = real.left() + real.right(), realH = real.top() + real.bottom();
            if (x > free.left()) x += (extraW - realW) / 2;
            if (y > free.top()) y += (extraH - realH) / 2;
            extraW = realW;
            extraH = realH;
        }
        const int fitW = std::min(w + extraW, free.width()), fitH = std::min(h + extraH, free.height());
        x = std::clamp(x, free.left(), free.left() + free.width() - fitW);
        y = std::clamp(y, free.top(), free.top() + free.height() - fitH);
        const QSize client(std::max(1, fitW - extraW), std::max(1, fitH - extraH));
        m_movedTo = QPoint(x, y); // first: the window is told of the move at once
        m_window->setFixedSize(client);
        // Qt keeps the frame it last knew in the program's pixels, stale once the factor changes: the real
        // one places the window itself.
        if (const QMargins real = m_window->realFrame(); !real.isNull())
            m_window->setGeometry(QRect(QPoint(x + real.left(), y + real.top()), client));
        else
            m_window->move(x, y);
    } else {
        m_window->setGeometry(x, y, std::max(1, w), std::max(1, h));
    }
}

void Form::noteMove() {
    if (!m_loaded || !m_window || m_windowState != vbNormal || !m_window->isVisible()) return;
    if (!m_decorated) {
        // Nothing moves a screen without a frame but the program and the window manager, which some do as the
        // display shrinks, after the program has placed it: it goes back, a few times at most for each
        // change.
        if (m_putBacks > 0)
            QTimer::singleShot(0, m_window, [this] {
                const QScreen* s = Runtime::display();
                const QPoint at = (s ? s->geometry().topLeft() : QPoint()) +
                                  QPoint(twipsToPixels(m_left), twipsToPixels(m_top));
                if (m_loaded && m_window->pos() != at && m_putBacks-- > 0) applyWindowGeometry();
            });
        return;
    }
    // Once the display has changed, the window manager may move the window onto what is left of it, and Qt
    // onto another display as it takes one away: no place of the teacher's choosing.
    const QScreen* s = Runtime::display();
    if (QSizeF(Screen.Width(), Screen.Height()) != m_placedFor ||
        (s && (s->geometry().topLeft() != m_placedAt || m_window->screen() != s)))
        return;
    // Moved by hand from where the program put it: it comes back there after a change of display.
    const QPoint moved = m_window->framePosition() - m_movedTo;
    m_left += pixelsToTwips(moved.x());
    m_top += pixelsToTwips(moved.y());
    m_movedTo += moved;
}

void Form::refit() {
    if (!m_loaded || !m_window) return;
    const QScreen* s = Runtime::display();
    const QSizeF size(Screen.Width(), Screen.Height());
    if (m_windowState == vbNormal) {
        // A window at one edge of the display stays at that edge (the Jotter at the top); any other keeps its
        // place against the display's centre, so a centred screen is centred on the new one.
        auto follow = [](Single at, Single extent, double from, double to) {
            const bool nearEdge = at <= 0, farEdge = at + extent >= from;
            const double moved = nearEdge == farEdge ? (to - from) / 2 : nearEdge ? 0 : to - from;
            return Single(double(at) + moved);
        };
        m_left = follow(m_left, m_width, m_placedFor.width(), size.width());
        m_top = follow(m_top, m_height, m_placedFor.height(), size.height());
    }
    // Onto the display, at its factor, before it is placed there in the display's pixels (while still placed
    // for the old one, so the move Qt makes is not taken for the teacher's).
    QWindow* w = m_window->windowHandle();
    if (w && s && w->screen() != s) w->setScreen(Runtime::display());
    if (w) highdpi::renewFactor(w);
    m_placedFor = size;
    m_placedAt = s ? s->geometry().topLeft() : QPoint();
    m_putBacks = 3;
    applyWindowGeometry();
    // A window whose size in the program's pixels is the same was only moved: the window system still has
    // it at its size for the old factor, which Qt would take back as its new size.
    if (w && w->geometry() != m_window->geometry()) w->setGeometry(m_window->geometry());
    if (w) highdpi::renewFactor(w); // and of the display it is on now, for drawing it
    redrawAtFactor();
    // Every widget, not just the window: at a new factor Qt leaves a control it was not told of with the
    // old frame's pixels.
    m_window->update();
    for (QWidget* w : m_window->findChildren<QWidget*>())
        w->update();
}

template <class Visit> void Form::eachPicture(Visit&& visit) {
    auto offer = [&](const vb::Picture& p, auto give) {
        if (!p.isEmpty()) visit(p, give);
    };
    offer(m_picture, [this](const vb::Picture& p) { m_picture = p; });
    offer(m_icon, [this](const vb::Picture& p) { m_icon = p; });
    for (Control* c : controls()) {
        if (auto* b = dynamic_cast<CommandButton*>(c))
            offer(b->Picture(), [b](const vb::Picture& p) { b->setPicture(p); });
        else if (auto* i = dynamic_cast<Image*>(c))
            offer(i->Picture(), [i](const vb::Picture& p) { i->setPicture(p); });
        else if (auto* pb = dynamic_cast<PictureBox*>(c))
            offer(pb->Picture(), [pb](const vb::Picture& p) { pb->setPicture(p); });
        offer(c->MouseIcon(), [c](const vb::Picture& p) { c->setMouseIcon(p); });
    }
}

QList<vb::Picture> Form::pictures() {
    QList<vb::Picture> all;
    eachPicture([&](const vb::Picture& p, auto) { all.append(p); });
    return all;
}

void Form::redrawAtFactor() {
    eachPicture([](const vb::Picture& p, auto give) { give(p.redrawn()); });
    if (m_window) m_window->applyIcon();
    if (m_window && m_surface.stale(*m_window)) drawInkAgain();
}

void Form::drawInkAgain() {
    m_surface.clear();
    const Single x = m_currentX, y = m_currentY;
    Runtime::dispatch([this] { Form_Paint(); });
    m_currentX = x;
    m_currentY = y;
}

static void checkMovable(const Form& f) {
    if (f.WindowState() != vbNormal)
        throw RuntimeError(err::CannotSizeWindow,
                           QStringLiteral("A form can't be moved or sized while minimized or maximized"));
}

void Form::setLeft(Single v) {
    checkMovable(*this);
    m_left = v;
    applyWindowGeometry();
}
void Form::setTop(Single v) {
    checkMovable(*this);
    m_top = v;
    applyWindowGeometry();
}
void Form::checkSizable() const {
    checkMovable(*this);
}

void Form::setWidth(Single v) {
    checkSizable();
    m_width = v;
    applyWindowGeometry();
}
void Form::setHeight(Single v) {
    checkSizable();
    m_height = v;
    applyWindowGeometry();
}

Single Form::ScaleWidth() const {
    return m_decorated ? std::max<Single>(0, m_width - kFrameExtraWidth) : m_width;
}
Single Form::ScaleHeight() const {
    return m_decorated ? std::max<Single>(0, m_height - kFrameExtraHeight) : m_height;
}

void Form::setClientSize(Single width, Single height) {
    m_width = m_decorated ? width + kFrameExtraWidth : width;
    m_height = m_decorated ? height + kFrameExtraHeight : height;
    applyWindowGeometry();
}

void Form::setBackColor(OleColor c) {
    m_backColor = c;
    if (m_window) m_window->contentChanged();
}

void Form::setPicture(const vb::Picture& p) {
    m_picture = p;
    if (m_window) m_window->contentChanged();
}

void Form::setIcon(const vb::Picture& p) {
    m_icon = p;
    if (m_window) m_window->applyIcon();
}

void Form::setCaption(const QString& c) {
    m_caption = c;
    if (m_window) m_window->setWindowTitle(c);
}

void Form::setScaleMode(int mode) {
    if (mode != vbTwips && mode != vbPixels)
        throw RuntimeError(err::InvalidPropertyValue, QStringLiteral("Invalid property value"));
    m_scaleMode = mode;
}

void Form::setWindowState(int state) {
    m_windowState = state;
    applyWindowGeometry();
}

void Form::setDrawWidth(int w) {
    if (w < 1) throw RuntimeError(err::InvalidPropertyValue, QStringLiteral("Invalid property value"));
    m_drawWidth = w;
}

void Form::Line(Single x1, Single y1, Single x2, Single y2) {
    m_currentX = x2;
    m_currentY = y2;
    if (!m_window) return;
    // On a display of another factor (the window moved there) the ink so far is drawn again, sharp.
    if (m_surface.otherFactor(*m_window)) drawInkAgain();
    // Odd widths sit on pixel centres, so a stroke is crisp and starts exactly on the pixel pressed.
    const qreal centre = (m_drawWidth % 2) ? 0.5 : 0.0;
    const QPointF a(x1 / kTwipsPerPixel + centre, y1 / kTwipsPerPixel + centre);
    const QPointF b(x2 / kTwipsPerPixel + centre, y2 / kTwipsPerPixel + centre);
    // Only the touched band is repainted.
    m_window->update(m_surface.line(*m_window, a, b, m_foreColor, m_drawWidth));
}

void Form::Cls() {
    m_surface.clear();
    m_currentX = m_currentY = 0;
    if (m_window) m_window->update();
}

Control* Form::findControl(const QString& name, int index) const {
    auto it = m_controls.constFind(name);
    if (it == m_controls.constEnd()) return nullptr;
    return it->value(index, nullptr);
}

QList<Control*> Form::controls() const {
    QList<Control*> all;
    for (const auto& byIndex : m_controls)
        for (Control* c : byIndex)
            all.append(c);
    return all;
}

int Form::controlCount() const {
    int n = 0;
    for (const auto& byIndex : m_controls)
        n += int(byIndex.size());
    return n;
}

Handlers& Form::handlers(const QString& name) {
    return m_handlers[name];
}

void Form::registerControl(Control* c) {
    m_controls[c->Name()].insert(c->Index(), c);
}

void Form::unregisterControl(Control* c) {
    auto it = m_controls.find(c->Name());
    if (it == m_controls.end()) return;
    auto el = it->find(c->Index());
    if (el != it->end() && *el == c) it->erase(el);
}

void Form::setStaysOnTop(bool on) {
    m_stayOnTop = on;
    if (!m_window) return;
    const bool shown = m_window->isVisible();
    m_window->applyDesign(); // changing the flags hides the window
    if (shown) m_window->show();
    if (on) Runtime::platform().keepInFront(m_window);
}

void Form::setStaysAtBottom(bool on) {
    m_stayAtBottom = on;
    if (m_window) m_window->applyDesign();
}

void Form::dispatchMouse(int kind, int button, int shift, Single x, Single y) {
    const int pointer = Input::pointer().id;
    if (pointer != m_pointer) {
        if (m_pointer >= 0) m_pointerPlaces.insert(m_pointer, QPointF(m_currentX, m_currentY));
        const QPointF place = m_pointerPlaces.take(pointer);
        m_currentX = Single(place.x());
        m_currentY = Single(place.y());
        m_pointer = pointer;
    }
    // A finger lifted is gone for good: its place is kept no longer.
    if (kind == 2 && pointer != 0) m_pointer = -1;
    Runtime::dispatch([&] {
        switch (kind) {
        case 0:
            Form_MouseDown(button, shift, x, y);
            break;
        case 1:
            Form_MouseMove(button, shift, x, y);
            break;
        default:
            Form_MouseUp(button, shift, x, y);
            break;
        }
    });
}

} // namespace vb
