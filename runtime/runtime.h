// The runtime itself: one instance of each form, handler dispatch, the error report, End, the Screen object
// and the two services of the desktop (opening a document or address, keeping a window in front).
#pragma once

#include "form.h"

#include <QSizeF>
#include <QStringList>

#include <functional>
#include <memory>
#include <typeindex>
#include <unordered_map>

class QScreen;
class QWidget;

namespace vb {

// What the program asks of the desktop. Tests put a recorder in its place.
class Platform {
public:
    virtual ~Platform() = default;
    // Opens a document or a web address with the desktop's own application. Never blocks, never goes through
    // a command shell. Returns whether the desktop accepted the request.
    virtual bool shellOpen(QWidget* owner, const QString& verb, const QString& target) = 0;
    // Keeps the window in front of all ordinary windows.
    virtual void keepInFront(QWidget* window) = 0;
    // Shows the runtime's error report to the person at the board.
    virtual void showErrorReport(const QString& text) = 0;
};

class DesktopPlatform : public Platform {
public:
    bool shellOpen(QWidget* owner, const QString& verb, const QString& target) override;
    void keepInFront(QWidget* window) override;
    void showErrorReport(const QString& text) override;
};

class Runtime {
public:
    // The one instance of a form class, created on first use.
    template <class F> static F& form() {
        auto& slot = instances()[std::type_index(typeid(F))];
        if (!slot) slot = std::make_unique<F>();
        return static_cast<F&>(*slot);
    }

    // Runs an event handler. A runtime error that the handler did not trap ends the program with the error
    // report. Nested calls (a handler that raises another event) run straight through.
    static void dispatch(const std::function<void()>& handler);

    // Runs `prepare` once the first window has been painted, when the program is next idle: what the next
    // screens need is made ready while the first one is looked at.
    static void whenFirstPainted(std::function<void()> prepare);

    // Stops the program: every window goes, no further handler runs.
    static void End(int exitCode = 0);
    static bool ended();
    static int exitCode();

    // Starts the program on its first form; returns the exit status.
    template <class F> static int run() {
        dispatch([] { form<F>().Show(); });
        return exec();
    }

    static QList<Form*> loadedForms();
    static QStringList loadedFormNames();

    static Platform& platform();
    static void setPlatform(std::unique_ptr<Platform> p); // null restores the desktop's

    // Called by forms.
    static void formLoaded(Form* f);
    static void formUnloaded(Form* f);
    static void restack(); // after any Show: stay-on-top windows in front, the backdrop behind
    static void raised(Form* f);
    static void raiseWindow(QWidget* w);
    static void lowerWindow(QWidget* w);
    // The loaded forms from back to front, as the runtime last stacked them.
    static QList<Form*> stackingOrder();

    // The display the screens are shown on: the primary one unless the program chose another. Forms place
    // themselves relative to its top-left corner.
    static QScreen* display();
    static void setDisplay(QScreen* screen); // null: the primary display
    // Its size in the program's own pixels, unrounded: 1920 device pixels at 1.8 are 1066.67.
    static QSizeF displaySize();
    // A display's size in its device pixels, as the window system gives it.
    static QSize deviceSize(const QScreen* screen);
    // After the display changed: `setFactor` gives it its factor, then every window is placed again as if
    // the program had started there, open lists are closed, pictures and ink are drawn at the new factor.
    static void refit(const std::function<void()>& setFactor = {});

    // Back to the state of a fresh start: every form unloaded and destroyed, End undone, generator reset.
    static void reset();

private:
    static int exec();
    static std::unordered_map<std::type_index, std::unique_ptr<Form>>& instances();
};

template <class F> F& form() {
    return Runtime::form<F>();
}
inline void End() {
    Runtime::End(0);
}

// Library calls of the desktop, as the screens make them.
enum : int { SW_HIDE = 0, SW_SHOWNORMAL = 1 };
void ShellExecute(QWidget* owner, const QString& verb, const QString& file,
                  const QString& parameters = QString(), const QString& directory = QString(),
                  int showCommand = SW_SHOWNORMAL);
inline constexpr int HWND_TOPMOST = -1;
inline constexpr int SWP_NOSIZE = 1, SWP_NOMOVE = 2;
void SetWindowPos(QWidget* window, int insertAfter, int x, int y, int cx, int cy, int flags);

// The display.
class ScreenObject {
public:
    Single Width() const;
    Single Height() const;
    int MousePointer() const { return m_pointer; }
    void setMousePointer(int pointer);
    // Tests pretend a display of another size (in twips); an empty size restores the real display.
    void setSizeOverride(const QSizeF& twips) { m_override = twips; }

private:
    int m_pointer = 0;
    QSizeF m_override;
};
extern ScreenObject Screen;

} // namespace vb
