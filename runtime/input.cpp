#include "input.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWidget>
#include <QWindow>

namespace vb {

namespace {
bool g_keyboardInUse = false;
Input* g_watch = nullptr; // lives as long as the application it watches
} // namespace

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

bool Input::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
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
