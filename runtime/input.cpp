#include "input.h"

#include "control.h"
#include "form.h"
#include "formwindow.h"
#include "highdpi.h"
#include "runtime.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QStyleHints>
#include <QTabletEvent>
#include <QTouchEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <qpa/qwindowsysteminterface.h>
#include <utility>

namespace vb {

namespace {
bool g_keyboardInUse = false;
Input* g_watch = nullptr; // lives as long as the application it watches
Pointer g_pointer;
constexpr int kFingerIds = 1000; // a touch point's id is offset, so that none is taken for the mouse
constexpr double kPalmMm = 25;   // a fingertip or a pen is well under this across; a hand resting is not

// Among the few loaded forms, not all the application's widgets: this runs for every touch event.
FormWindow* formWindowOf(QWindow* window) {
    for (Form* f : Runtime::loadedForms())
        if (f->hWnd() && f->hWnd()->windowHandle() == window) return static_cast<FormWindow*>(f->hWnd());
    return nullptr;
}

// What a further finger presses: the control in front under it, or the bare screen; nothing if disabled.
QWidget* pressedAt(FormWindow* window, QPointF at) {
    QWidget* w = window->childAt(at.toPoint());
    while (w && w != window && !qobject_cast<Control*>(w))
        w = w->parentWidget();
    if (!w) return window;
    return w->isEnabled() ? w : nullptr;
}

// A hand resting on the board, known by its size where the board reports one.
bool isPalm(const QEventPoint& p, const QWindow* window) {
    const QSizeF across = p.ellipseDiameters();
    const QScreen* screen = window ? window->screen() : nullptr;
    if (!screen || screen->geometry().width() <= 0) return false;
    const double mmPerPixel = screen->physicalSize().width() / screen->geometry().width();
    return std::max(across.width(), across.height()) * mmPerPixel > kPalmMm;
}
} // namespace

const Pointer& Input::pointer() {
    return g_pointer;
}

Input& Input::instance() {
    if (!g_watch) g_watch = new Input;
    return *g_watch;
}

void Input::forget() {
    g_keyboardInUse = false;
    if (!g_watch) return;
    g_watch->m_inClick = false;
    g_watch->m_current = g_watch->m_last = Click{};
    g_watch->m_swallowing = nullptr;
    g_watch->m_first = -1;
    g_watch->m_fingers.clear();
    g_watch->m_pen = Pointer{};
    g_pointer = Pointer{};
}

Input::Input() : QObject(qApp) {
    qApp->installEventFilter(this);
    installAccessibility();
}

bool Input::keyboardInUse() {
    return g_keyboardInUse;
}

void Input::setKeyboardInUse(bool on) {
    if (g_keyboardInUse == on) return;
    g_keyboardInUse = on;
    if (QWidget* focus = QApplication::focusWidget()) focus->update();
}

void Input::clickStarted(QWidget* window, QPointF globalPos, quint64 timestamp) {
    m_inClick = true;
    m_current = Click{window, {}, globalPos, timestamp};
}

void Input::shown(QWidget* window) {
    if (m_inClick && window && window != m_current.window) m_current.shown.append(window);
}

void Input::clickEnded() {
    if (!m_inClick) return;
    m_inClick = false;
    m_last = m_current;
    m_current = Click{};
}

bool Input::swallowsPress(QWindow* window, QPointF globalPos, quint64 timestamp) const {
    if (timestamp < m_last.time) return false;
    const QStyleHints* hints = QGuiApplication::styleHints();
    if (timestamp - m_last.time > quint64(hints->mouseDoubleClickInterval())) return false;
    // A pen lands a little further off than a mouse does.
    const int near = std::max(hints->mouseDoubleClickDistance(), hints->touchDoubleTapDistance());
    if ((globalPos - m_last.at).manhattanLength() > near) return false;
    for (const QPointer<QWidget>& w : m_last.shown)
        if (w && w->isVisible() && w->windowHandle() == window) return true;
    return false;
}

void Input::notePointer(const QMouseEvent& e) {
    const QPointingDevice* device = e.pointingDevice();
    const bool pen = device && (device->type() == QInputDevice::DeviceType::Stylus ||
                                device->type() == QInputDevice::DeviceType::Airbrush);
    if (m_asMouse)
        g_pointer = Pointer{kFingerIds + m_first, Pointer::Touch};
    else if (pen || (e.source() == Qt::MouseEventSynthesizedByQt && e.timestamp() == m_pen.time))
        g_pointer = m_pen;
    else
        g_pointer = Pointer{};
    g_pointer.time = e.timestamp();
}

void Input::asMouse(QWindow* window, QPointF global, int type, quint64 time, Qt::KeyboardModifiers mods) {
    if (!window) return;
    const QPointF local = window->mapFromGlobal(global);
    const auto t = QEvent::Type(type);
    m_asMouse = true;
    // Through the window system's own door, so the first finger is the mouse in every respect: the press
    // captures, a drop-down list opens and closes, the double-tap guard sees it.
    QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::SynchronousDelivery>(
        window, ulong(time), QPointingDevice::primaryPointingDevice(), highdpi::toNativeLocal(local, window),
        highdpi::toNativeGlobal(global, window),
        t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
        t == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, t, mods,
        Qt::MouseEventSynthesizedByApplication);
    m_asMouse = false;
}

void Input::toTarget(QWidget* target, int id, QPointF global, int type, quint64 time,
                     Qt::KeyboardModifiers mods) {
    const Pointer outer = g_pointer;
    g_pointer = Pointer{kFingerIds + id, Pointer::Touch};
    g_pointer.time = time;
    const auto t = QEvent::Type(type);
    auto* page = qobject_cast<FormWindow*>(target);
    if (t == QEvent::MouseMove && page && page->form() && page->form()->isLoaded()) {
        // A finger writing on the bare form, the hot path of ink: its move goes to the form's handler.
        const QPointF local = page->mapFromGlobal(global);
        page->form()->dispatchMouse(1, vbLeftButton, shiftBits(mods), pixelsToTwips(local.x()),
                                    pixelsToTwips(local.y()));
        g_pointer = outer;
        return;
    }
    QMouseEvent e(t, target->mapFromGlobal(global), target->window()->mapFromGlobal(global), global,
                  t == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                  t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, mods);
    e.setTimestamp(time);
    // A move, by far the most frequent, goes straight to the control that the press found.
    if (t == QEvent::MouseMove)
        static_cast<QObject*>(target)->event(&e);
    else
        QCoreApplication::sendEvent(target, &e);
    g_pointer = outer;
}

void Input::touch(FormWindow* screen, QTouchEvent& e) {
    const quint64 time = e.timestamp();
    const Qt::KeyboardModifiers mods = e.modifiers();
    if (!m_firstWindow) m_first = -1; // its window went with the form it showed
    if (e.type() == QEvent::TouchCancel) {
        // The system took the touch back: every pointer is let go where it last was, as a lifted finger.
        if (m_first >= 0) asMouse(m_firstWindow, m_firstAt, QEvent::MouseButtonRelease, time, mods);
        m_first = -1;
        const auto fingers = std::exchange(m_fingers, {});
        for (auto it = fingers.cbegin(); it != fingers.cend(); ++it)
            if (it->target) toTarget(it->target, it.key(), it->at, QEvent::MouseButtonRelease, time, mods);
        return;
    }
    QWindow* window = screen->windowHandle();
    const bool several = screen->form() && screen->form()->ManyPointers();
    for (const QEventPoint& p : e.points()) {
        if (p.state() == QEventPoint::State::Stationary) continue;
        const QPointF at = p.globalPosition();
        const int type = p.state() == QEventPoint::State::Released  ? QEvent::MouseButtonRelease
                         : p.state() == QEventPoint::State::Pressed ? QEvent::MouseButtonPress
                                                                    : QEvent::MouseMove;
        // A palm is never pressed, so neither its moves nor its release reach anything.
        if (type == QEvent::MouseButtonPress && isPalm(p, window)) continue;
        if (type == QEvent::MouseButtonPress && !several && m_first < 0) {
            m_first = p.id();
            m_firstWindow = window;
        } else if (type == QEvent::MouseButtonPress && several) {
            // Every finger straight to the control it pressed, the double-tap guard first.
            setKeyboardInUse(false);
            const bool second = swallowsPress(window, at, time);
            if (!second) m_last = Click{};
            QWidget* target = second ? nullptr : pressedAt(screen, p.position());
            // A control already held stays with its finger; the bare form takes every finger (ink).
            for (const Finger& f : std::as_const(m_fingers))
                if (target != screen && f.target == target) target = nullptr;
            if (target) m_fingers.insert(p.id(), {target, at});
        }
        if (p.id() == m_first) {
            m_firstAt = at;
            asMouse(m_firstWindow, at, type, time, mods);
            if (type == QEvent::MouseButtonRelease) m_first = -1;
            continue;
        }
        const auto it = m_fingers.find(p.id());
        if (it == m_fingers.end()) continue; // a hand resting on a screen that takes one pointer
        const QPointer<QWidget> target = it->target;
        if (type == QEvent::MouseButtonRelease)
            m_fingers.erase(it);
        else
            it->at = at;
        if (target) toTarget(target, p.id(), at, type, time, mods);
    }
}

bool Input::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        // No control takes touch events: on a screen the fingers become pointers here, and Qt makes no
        // mouse of them.
        if (!watched->isWindowType()) break;
        if (FormWindow* screen = formWindowOf(static_cast<QWindow*>(watched))) {
            touch(screen, *static_cast<QTouchEvent*>(event));
            event->accept();
            return true;
        }
        break; // a drop-down list's popup, say: Qt makes a mouse of the first finger
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease: {
        // Seen before the mouse events made of it, which carry neither the pressure nor the end in use.
        if (!watched->isWindowType()) break;
        const auto* t = static_cast<QTabletEvent*>(event);
        m_pen.kind = Pointer::Pen;
        m_pen.pressure = t->pressure();
        m_pen.eraser = t->pointerType() == QPointingDevice::PointerType::Eraser;
        m_pen.time = t->timestamp();
        break;
    }
    case QEvent::KeyPress:
        // Moving about and pressing, not a shortcut such as Ctrl+J, which a teacher gives from any screen.
        if (!(static_cast<QKeyEvent*>(event)->modifiers() &
              (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            setKeyboardInUse(true);
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        // Taken at the window, before Qt hands the press to a control, so the control never sees any of it.
        if (!watched->isWindowType()) break;
        auto* window = static_cast<QWindow*>(watched);
        auto* e = static_cast<QMouseEvent*>(event);
        notePointer(*e);
        if (event->type() == QEvent::MouseButtonPress) {
            setKeyboardInUse(false);
            if (!m_swallowing && swallowsPress(window, e->globalPosition(), e->timestamp()))
                m_swallowing = window;
            else if (!m_swallowing)
                m_last = Click{}; // a press of its own: the guard is spent
        }
        if (m_swallowing != window) break;
        if (event->type() == QEvent::MouseButtonRelease && e->buttons() == Qt::NoButton)
            m_swallowing = nullptr;
        return event->type() != QEvent::MouseMove || e->buttons() != Qt::NoButton;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vb
