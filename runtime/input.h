// How the person at the board works the program: taps of the pen or mouse, and a keyboard where there is one.
#pragma once

#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>

class QWidget;
class QWindow;

namespace vb {

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

    // A fresh start: no click remembered, the keyboard not in use.
    static void forget();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Input();
    bool swallowsPress(QWindow* window, QPointF globalPos, quint64 timestamp) const;
    void setKeyboardInUse(bool on);

    struct Click {
        QPointer<QWidget> window;
        QList<QPointer<QWidget>> shown;
        QPointF at;
        quint64 time = 0;
    };
    bool m_inClick = false;
    Click m_current, m_last;
    QPointer<QWindow> m_swallowing; // a press taken as the second half of a double tap, until its release
};

// Screen readers see the controls with their names and roles.
void installAccessibility();

} // namespace vb
