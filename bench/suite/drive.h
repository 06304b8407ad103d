// Drives the program through its windows as a pupil at the board does: real clicks and keys delivered to the
// windows, and waiting for a screen to be painted the way a display would have it painted.
#pragma once

#include <QList>
#include <QPoint>
#include <QString>

#include <optional>

class QWindow;
namespace vb {
class Form;
class Control;
} // namespace vb

namespace drive {

// Starts watching paint passes; call once the application exists.
void startWatching();

// Paint passes that have begun for the window of the named screen so far.
quint64 paintsOf(const QString& screen);

// Handles events as the event loop does until a paint pass of `screen` beyond `seen` has completed, and then
// the deletions of closed windows. False when none came within `timeoutMs`.
bool waitForPaint(const QString& screen, quint64 seen, int timeoutMs = 5000);

// Lets the program handle what is queued and what arrives within `ms`, untimed.
void settle(int ms = 1);

bool inThisBuild(const QString& screen); // registered in the screen registry
vb::Form* screen(const QString& name);   // null when not in this build
bool isShown(const QString& screen);

// One input: a click on a control of a screen, or Ctrl+J on a screen's window.
struct Input {
    Input() = default;
    Input(QString screen, QString control, int index = -1)
        : screen(std::move(screen)), control(std::move(control)), index(index) {}
    QString screen;
    QString control; // empty: Ctrl+J
    int index = -1;
};

// One change of screen: the input, the screen that must be shown afterwards and whether it newly appears
// (and so must paint) or was waiting beneath the closed screen, and the screen that must be gone.
struct Step {
    Step() = default;
    Step(QString label, Input input, QString shows, bool uncovers = false, QString closes = QString())
        : label(std::move(label)), input(std::move(input)), shows(std::move(shows)), uncovers(uncovers),
          closes(std::move(closes)) {}
    QString label;
    Input input;
    QString shows;
    bool uncovers = false;
    QString closes;
};

// Brings the pointer to the input's place (hover effects run, untimed), then times the input from its
// delivery until the new screen has painted. Returns the milliseconds, or nothing with `error` set.
std::optional<double> perform(const Step& step, QString* error);

// The window and the place in it (window pixels) where an input lands.
bool locate(const Input& input, QWindow** window, QPoint* at, QString* error);

} // namespace drive
