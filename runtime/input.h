// How the people at the board work the program: the mouse, a pen, every finger on a touch panel, and a
// keyboard where there is one.
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>

class QMouseEvent;
class QTouchEvent;
class QWidget;
class QWindow;

namespace vb {

class FormWindow;

// The pointer whose press, move or release a handler is running for.
struct Pointer {
    enum Kind { Mouse, Pen, Touch };
    int id = 0; // 0 for the mouse, which a pen drives too; every touch point has an id of its own
    Kind kind = Mouse;
    qreal pressure = -1; // 0 to 1 where a pen reports it
    bool eraser = false; // the pen's eraser end, or its eraser button held
    quint64 time = 0;    // milliseconds, the event's time stamp
};

class Input : public QObject {
public:
    // Watches the whole application from its first use on.
    static Input& instance();

    // A click runs its handler between these two calls. A screen shown meanwhile lies under the pen that made
    // the click: the second tap of a double tap that lands on it is not taken as a press of its own.
    void clickStarted(QWidget* window, QPointF globalPos, quint64 timestamp);
    void clickEnded();
    void shown(QWidget* window);

    // From a key press (shortcuts aside) until the next press of the mouse or pen: focus is shown only then.
    static bool keyboardInUse();

    // A fresh start: no click remembered, the keyboard not in use, no finger down.
    static void forget();

    static const Pointer& pointer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Input();
    bool swallowsPress(QWindow* window, QPointF globalPos, quint64 timestamp) const;
    void setKeyboardInUse(bool on);
    void notePointer(const QMouseEvent& e);
    void touch(FormWindow* screen, QTouchEvent& e);
    void asMouse(QWindow* window, QPointF global, int type, quint64 time, Qt::KeyboardModifiers mods);
    void toTarget(QWidget* target, int id, QPointF global, int type, quint64 time,
                  Qt::KeyboardModifiers mods);

    struct Click {
        QPointer<QWidget> window;
        QList<QPointer<QWidget>> shown;
        QPointF at;
        quint64 time = 0;
    };
    bool m_inClick = false;
    Click m_current, m_last;
    QPointer<QWindow> m_swallowing; // a press taken as the second half of a double tap, until its release

    // On a screen that takes several pointers every finger works the control it pressed, until it lifts.
    // Elsewhere the first finger down works as the mouse, and the others do nothing.
    int m_first = -1;
    QPointer<QWindow> m_firstWindow;
    QPointF m_firstAt;
    bool m_asMouse = false; // the mouse events being sent come from the first finger
    struct Finger {
        QPointer<QWidget> target;
        QPointF at; // on the display, where it was last
    };
    QHash<int, Finger> m_fingers;
    Pointer m_pen; // the pen's last report
};

// Screen readers see the controls with their names and roles.
void installAccessibility();

} // namespace vb
