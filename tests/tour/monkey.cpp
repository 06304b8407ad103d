#include "monkey.h"

#include "Module1.h"
#include "registry.h"
#include "support/testsupport.h"
#include "tour.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QRegularExpression>
#include <QStyleHints>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <random>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

using namespace vb;

namespace tour {

namespace {

volatile std::uint64_t g_seed = 0;
volatile int g_event = -1;
struct sigaction g_previous[32];

// Only async-signal-safe calls here: the process is dying.
void writeNote() {
    if (g_event < 0) return;
    char text[160];
    char digits[24];
    auto append = [&](const char* s) { std::strncat(text, s, sizeof text - std::strlen(text) - 1); };
    auto number = [&](std::uint64_t v) {
        int n = 0;
        do {
            digits[n++] = char('0' + v % 10);
            v /= 10;
        } while (v && n < 23);
        char out[24];
        for (int i = 0; i < n; ++i)
            out[i] = digits[n - 1 - i];
        out[n] = 0;
        append(out);
    };
    text[0] = 0;
    append("\nmonkey: the program died at seed ");
    number(g_seed);
    append(", event ");
    number(std::uint64_t(g_event));
    append(" (replay with MONKEY_SEED and MONKEY_EVENTS)\n");
    (void)!::write(2, text, std::strlen(text));
}

void onFatalSignal(int sig) {
    writeNote();
    sigaction(sig, &g_previous[sig], nullptr);
    raise(sig);
}

#if defined(__SANITIZE_ADDRESS__)
void onSanitizerDeath() {
    writeNote();
}
#endif

const QRegularExpression kMenu(QStringLiteral("^menu\\d$"));
const QRegularExpression kGuide(QStringLiteral("^TeacherGuide\\d$"));
const QStringList kActivities = {QStringLiteral("reflex"), QStringLiteral("sentence"),
                                 QStringLiteral("quadrat")};

QString buttonName(Qt::MouseButtons b) {
    QStringList names;
    if (b & Qt::LeftButton) names << QStringLiteral("left");
    if (b & Qt::RightButton) names << QStringLiteral("right");
    if (b & Qt::MiddleButton) names << QStringLiteral("middle");
    return names.isEmpty() ? QStringLiteral("none") : names.join(QLatin1Char('+'));
}

Form* formOf(const QWidget* window) {
    for (Form* f : Runtime::loadedForms())
        if (f->hWnd() == window) return f;
    return nullptr;
}

struct Box {
    Single left, top, width, height;
};

// The open catch rectangle of a box, each bound rounded to single precision as the screen rounds it.
bool inCatchArea(Single x, Single y, const Box& b) {
    const float left = float(double(b.left) - double(b.width) / 2), right = float(double(b.left) + b.width);
    const float top = float(double(b.top) - double(b.height) / 2), bottom = float(double(b.top) + b.height);
    return left < x && x < right && top < y && y < bottom;
}

// Qt's own complaints during a run are faults too; the test driver's note about a pointer that left the
// window (which the class does on purpose) is not.
QStringList* g_warnings = nullptr;
QtMessageHandler g_previousHandler = nullptr;
void collectWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    // Notes of the offscreen platform about what it cannot do (raise a popup, grab the keyboard) are not the
    // program's.
    if (text.contains(QLatin1String("occurs outside target window")) ||
        text.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (g_warnings && type != QtDebugMsg && type != QtInfoMsg) g_warnings->append(text);
    if (g_previousHandler) g_previousHandler(type, context, text);
}

} // namespace

void noteProgress(std::uint64_t seed, int event) {
    g_seed = seed;
    g_event = event;
}

void installCrashNote() {
    for (int sig : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) {
        struct sigaction action {};
        action.sa_handler = onFatalSignal;
        sigemptyset(&action.sa_mask);
        sigaction(sig, &action, &g_previous[sig]);
    }
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(onSanitizerDeath);
#endif
}

struct Monkey::Impl {
    enum Kind {
        Click,
        ClickAny,
        Press,
        Release,
        Move,
        Drag,
        ListPick,
        CtrlJ,
        Stroke,
        Key,
        CloseWindow,
        Jump
    };

    std::mt19937_64 rng;
    std::uint64_t seed;
    testsupport::RecordingPlatform& desktop;
    bool trace = false;
    MonkeyReport report;
    int event = 0;
    QString doing; // the event in hand, for the failure message

    Qt::MouseButtons held;
    QPointer<QWidget> grab; // the window that took the first press while buttons are held, as the system does
    int shellRequestsSeen = 0;
    QStringList warnings;

    quint64 reflexGeneration = 0;
    QList<QPointF> cards;

    Impl(std::uint64_t s, testsupport::RecordingPlatform& d) : rng(s), seed(s), desktop(d) {}

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    double unit() { return std::uniform_real_distribution<double>(0, 1)(rng); }
    bool chance(double p) { return unit() < p; }

    void fail(const QString& why) {
        if (report.failure.isEmpty())
            report.failure =
                QStringLiteral("seed %1, event %2 (%3): %4").arg(seed).arg(event).arg(doing, why);
    }

    // ---- Where events land ----

    QWidget* visibleWindow(const char* name) {
        Form* f = loadedScreen(QString::fromLatin1(name));
        return f && f->hWnd() && f->hWnd()->isVisible() ? f->hWnd() : nullptr;
    }

    QWidget* pickWindow() {
        if (held && grab && grab->isVisible()) return grab;
        QWidget* jotter = visibleWindow(kJotter);
        QWidget* backdrop = visibleWindow(kBackdrop);
        Form* front = frontScreen();
        const double r = unit();
        if (jotter && r < 0.3) return jotter;
        if (backdrop && r > 0.95) return backdrop;
        if (front) return front->hWnd();
        return jotter ? jotter : backdrop;
    }

    bool interactive(Control* c) {
        const Handlers& h = c->Parent().handlers(c->Name());
        return h.click || h.mouseDown || h.mouseUp || h.mouseMove || qobject_cast<ComboBox*>(c);
    }

    QList<Control*> shownControls(QWidget* window) {
        QList<Control*> shown;
        if (Form* f = formOf(window))
            for (Control* c : f->controls())
                if (c->isVisibleTo(window)) shown << c;
        // The form keeps its controls in a hash whose order changes from run to run; a seed must not.
        std::sort(shown.begin(), shown.end(),
                  [](const Control* a, const Control* b) { return a->objectName() < b->objectName(); });
        return shown;
    }

    Control* pickControl(QWidget* window, bool preferInteractive = true) {
        const QList<Control*> shown = shownControls(window);
        if (shown.isEmpty()) return nullptr;
        QList<Control*> pool;
        for (Control* c : shown) {
            const int weight = preferInteractive && c->isEnabled() && interactive(c) ? 4 : 1;
            for (int i = 0; i < weight; ++i)
                pool << c;
        }
        return pool[uniform(0, int(pool.size()) - 1)];
    }

    // The title's Exit ends the program; the class is not allowed near it.
    bool forbidden(QWidget* window, QPoint at) {
        Form* f = formOf(window);
        if (!f || f->Name() != QLatin1String(kFirstScreen)) return false;
        Control* exit = tour::control(*f, QString::fromLatin1(kTitleExit));
        return exit &&
               QRect(exit->mapTo(window, QPoint(0, 0)), exit->size()).adjusted(-2, -2, 2, 2).contains(at);
    }

    QPoint pickPoint(QWidget* window, bool mayLeave) {
        for (int attempt = 0; attempt < 20; ++attempt) {
            QPoint at;
            const double r = unit();
            Control* c = r < 0.65 ? pickControl(window) : nullptr;
            if (c && c->width() > 0 && c->height() > 0) {
                at = c->mapTo(window, QPoint(uniform(0, c->width() - 1), uniform(0, c->height() - 1)));
            } else if (mayLeave && r > 0.92) {
                at = QPoint(uniform(-120, window->width() + 120), uniform(-120, window->height() + 120));
            } else {
                at = QPoint(uniform(0, window->width() - 1), uniform(0, window->height() - 1));
            }
            if (!forbidden(window, at)) return at;
        }
        return QPoint(1, 1);
    }

    // Near another control: drops land around slots and outlines, on both sides of their catch bounds.
    QPoint pickDropPoint(QWidget* window) {
        Control* c = pickControl(window, false);
        if (!c || chance(0.2)) return pickPoint(window, true);
        const QPoint centre = c->mapTo(window, c->rect().center());
        const QPoint at =
            centre + QPoint(uniform(-c->width(), c->width()), uniform(-c->height(), c->height()));
        return forbidden(window, at) ? QPoint(1, 1) : at;
    }

    Qt::MouseButton pickButton() {
        const double r = unit();
        return r < 0.7 ? Qt::LeftButton : r < 0.9 ? Qt::RightButton : Qt::MiddleButton;
    }

    Qt::KeyboardModifiers pickModifiers() {
        const double r = unit();
        return r < 0.9 ? Qt::NoModifier : r < 0.95 ? Qt::ShiftModifier : Qt::ControlModifier;
    }

    // ---- Primitive input, each followed by the checks ----

    // A window may go while an event is under way (an Exit, a restart); the rest of the event then lands
    // nowhere, as the pen would on a screen that has gone.
    // With no button down, the system gives a pointer event to the window on top at that point; with one
    // down, to the window where it went down. `w` and `at` are turned into the window on top when no button
    // is down.
    void landOnTop(QPointer<QWidget>& w, QPoint& at) {
        if (held || !w) return;
        const QPoint global = w->mapToGlobal(at);
        const QList<Form*> order = Runtime::stackingOrder();
        for (auto it = order.crbegin(); it != order.crend(); ++it) {
            QWidget* top = (*it)->hWnd();
            if (top && top->isVisible() && top->frameGeometry().contains(global)) {
                at = top->mapFromGlobal(global);
                w = top;
                return;
            }
        }
    }

    // A pointer is always where it presses or releases: moving there first keeps the move apart from the
    // button, as the system delivers it.
    void press(QPointer<QWidget> w, Qt::MouseButton b, QPoint at, Qt::KeyboardModifiers m = Qt::NoModifier) {
        // A button that is down cannot go down again; it comes up first.
        if (held & b) release(w, b, at);
        landOnTop(w, at);
        move(w, at);
        const Qt::MouseButtons before = held;
        if (!held) grab = w;
        held |= b;
        if (QWindow* h = w ? w->windowHandle() : nullptr) QTest::mousePress(h, b, m, at);
        step(Press, before);
    }
    void release(QPointer<QWidget> w, Qt::MouseButton b, QPoint at,
                 Qt::KeyboardModifiers m = Qt::NoModifier) {
        landOnTop(w, at);
        move(w, at);
        const Qt::MouseButtons before = held;
        held &= ~b;
        if (QWindow* h = w ? w->windowHandle() : nullptr) QTest::mouseRelease(h, b, m, at);
        if (!held) grab = nullptr;
        step(Release, before);
    }
    void move(QPointer<QWidget> w, QPoint at) {
        landOnTop(w, at);
        const Qt::MouseButtons before = held;
        if (QWindow* h = w ? w->windowHandle() : nullptr) QTest::mouseMove(h, at);
        step(Move, before);
    }

    void releaseAll() {
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            if (!(held & b)) continue;
            QWidget* w = grab && grab->isVisible() ? grab.data() : pickWindow();
            if (w)
                release(w, b, QPoint(1, 1));
            else
                held &= ~b;
        }
        grab = nullptr;
    }

    void step(Kind kind, Qt::MouseButtons before) {
        settle();
        checkReflex(kind, before);
        checkProgram();
    }

    // ---- The events ----

    void runEvent() {
        static const std::pair<Kind, int> weights[] = {
            {Click, 26},   {ClickAny, 8}, {Press, 8},  {Release, 8}, {Move, 14},       {Drag, 12},
            {ListPick, 5}, {CtrlJ, 2},    {Stroke, 7}, {Key, 3},     {CloseWindow, 1}, {Jump, 3},
        };
        int total = 0;
        for (const auto& [k, w] : weights)
            total += w;
        int pick = uniform(0, total - 1);
        Kind kind = Click;
        for (const auto& [k, w] : weights) {
            if (pick < w) {
                kind = k;
                break;
            }
            pick -= w;
        }
        QPointer<QWidget> w = pickWindow();
        if (!w) {
            restart();
            return;
        }
        const QString where = formOf(w) ? formOf(w)->Name() : QStringLiteral("?");
        switch (kind) {
        case Click:
        case ClickAny: {
            const Qt::MouseButton b = kind == Click ? Qt::LeftButton : pickButton();
            const QPoint at = pickPoint(w, false);
            describe(QStringLiteral("click %1 at (%2,%3) on %4")
                         .arg(buttonName(b))
                         .arg(at.x())
                         .arg(at.y())
                         .arg(where));
            move(w, at);
            press(w, b, at, pickModifiers());
            release(w, b, at);
            pickFromList(false);
            break;
        }
        case Press: {
            const Qt::MouseButton b = pickButton();
            const QPoint at = pickPoint(w, false);
            describe(QStringLiteral("press %1 at (%2,%3) on %4")
                         .arg(buttonName(b))
                         .arg(at.x())
                         .arg(at.y())
                         .arg(where));
            press(w, b, at, pickModifiers());
            break;
        }
        case Release: {
            // Any button, held or not.
            const Qt::MouseButton b = held && chance(0.8) ? (held & Qt::LeftButton    ? Qt::LeftButton
                                                             : held & Qt::RightButton ? Qt::RightButton
                                                                                      : Qt::MiddleButton)
                                                          : pickButton();
            const QPoint at = pickPoint(w, true);
            describe(QStringLiteral("release %1 at (%2,%3) on %4")
                         .arg(buttonName(b))
                         .arg(at.x())
                         .arg(at.y())
                         .arg(where));
            release(w, b, at);
            break;
        }
        case Move: {
            const int steps = uniform(1, 6);
            describe(QStringLiteral("%1 moves holding %2 on %3").arg(steps).arg(buttonName(held)).arg(where));
            for (int i = 0; i < steps && w; ++i)
                move(w, held ? pickDropPoint(w) : pickPoint(w, true));
            break;
        }
        case Drag: {
            const QPoint from = pickPoint(w, false), to = pickDropPoint(w);
            const Qt::MouseButton b = chance(0.85) ? Qt::LeftButton : pickButton();
            const int steps = uniform(1, 8);
            describe(QStringLiteral("drag %1 from (%2,%3) to (%4,%5) in %6 steps on %7")
                         .arg(buttonName(b))
                         .arg(from.x())
                         .arg(from.y())
                         .arg(to.x())
                         .arg(to.y())
                         .arg(steps)
                         .arg(where));
            move(w, from);
            press(w, b, from);
            for (int i = 1; i <= steps; ++i)
                move(w, from + (to - from) * i / steps);
            release(w, b, to);
            break;
        }
        case ListPick: {
            ComboBox* list = nullptr;
            for (Control* c : shownControls(w))
                if (auto* box = qobject_cast<ComboBox*>(c); box && box->isEnabled()) list = box;
            if (!list) {
                describe(QStringLiteral("list pick: no list on %1, a click instead").arg(where));
                const QPoint at = pickPoint(w, false);
                move(w, at);
                press(w, Qt::LeftButton, at);
                release(w, Qt::LeftButton, at);
                break;
            }
            describe(QStringLiteral("list pick on %1 of %2").arg(list->objectName(), where));
            const QPoint at = list->mapTo(w, list->rect().center());
            move(w, at);
            press(w, Qt::LeftButton, at);
            release(w, Qt::LeftButton, at);
            pickFromList(true);
            break;
        }
        case CtrlJ:
            describe(QStringLiteral("Ctrl+J on %1").arg(where));
            if (QWindow* h = w ? w->windowHandle() : nullptr)
                QTest::keyClick(h, Qt::Key_J, Qt::ControlModifier);
            step(CtrlJ, held);
            break;
        case Stroke: {
            QPointer<QWidget> pad = visibleWindow(kJotter);
            if (!pad || held) {
                describe(QStringLiteral("stroke: no Jotter, a move instead on %1").arg(where));
                move(w, pickPoint(w, true));
                break;
            }
            const Qt::MouseButton b = chance(0.85) ? Qt::LeftButton : pickButton();
            const int points = uniform(2, 12);
            describe(QStringLiteral("Jotter stroke with %1, %2 points").arg(buttonName(b)).arg(points));
            QPoint at = pickPoint(pad, false);
            move(pad, at);
            press(pad, b, at);
            for (int i = 0; i < points; ++i) {
                at += QPoint(uniform(-60, 60), uniform(-40, 40));
                move(pad, at);
            }
            release(pad, b, at);
            break;
        }
        case Key: {
            static const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
                {Qt::Key_Escape, Qt::NoModifier}, {Qt::Key_Return, Qt::NoModifier},
                {Qt::Key_Space, Qt::NoModifier},  {Qt::Key_Tab, Qt::NoModifier},
                {Qt::Key_Down, Qt::NoModifier},   {Qt::Key_A, Qt::NoModifier},
                {Qt::Key_J, Qt::NoModifier},      {Qt::Key_J, Qt::ShiftModifier},
                {Qt::Key_F4, Qt::AltModifier},
            };
            const auto& [key, mods] = keys[uniform(0, int(std::size(keys)) - 1)];
            describe(QStringLiteral("key %1 (modifiers %2) on %3").arg(int(key)).arg(int(mods)).arg(where));
            QWidget* target =
                QApplication::activePopupWidget() ? QApplication::activePopupWidget() : w.data();
            if (QWindow* h = target ? target->windowHandle() : nullptr) QTest::keyClick(h, key, mods);
            step(Key, held);
            break;
        }
        case CloseWindow:
            describe(QStringLiteral("the window manager's close on %1").arg(where));
            if (w) w->close();
            step(CloseWindow, held);
            break;
        case Jump: {
            const QStringList screens = reachableScreens();
            const QString target = screens[uniform(0, int(screens.size()) - 1)];
            describe(QStringLiteral("go to %1 by clicks").arg(target));
            releaseAll();
            tour::open(target);
            step(Jump, held);
            break;
        }
        }
        ++report.kinds[kindName(kind)];
        if (trace) {
            QStringList order;
            for (Form* f : Runtime::stackingOrder())
                order << f->Name();
            QStringList loaded;
            for (Form* f : Runtime::loadedForms())
                loaded << f->Name() +
                              (f->hWnd() && f->hWnd()->isVisible() ? QString() : QStringLiteral("(hidden)"));
            std::printf("   loaded %s; stacked %s\n", qPrintable(loaded.join(u' ')),
                        qPrintable(order.join(u' ')));
        }
    }

    static QString kindName(Kind k) {
        static const char* names[] = {"click",     "click any button", "press",  "release", "move",  "drag",
                                      "list pick", "Ctrl+J",           "stroke", "key",     "close", "jump"};
        return QString::fromLatin1(names[k]);
    }

    void describe(const QString& what) {
        doing = what;
        if (trace) std::printf("event %d: %s\n", event, qPrintable(what));
    }

    // A list left open: pick a shown name, or (when not asked to pick) sometimes leave it for the next event.
    void pickFromList(bool always) {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup || (!always && chance(0.5))) return;
        auto* view = popup->findChild<QAbstractItemView*>();
        if (!view || !view->model()) return;
        QList<QPoint> rows;
        const QRect shown = view->viewport()->rect();
        for (int row = 0; row < view->model()->rowCount(); ++row) {
            const QRect r = view->visualRect(view->model()->index(row, 0));
            if (shown.contains(r.center())) rows << view->viewport()->mapTo(popup, r.center());
        }
        if (rows.isEmpty()) return;
        const QPoint at = rows[uniform(0, int(rows.size()) - 1)];
        QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
        step(ListPick, held);
    }

    // ---- The rules ----

    // As a new start of the program: the runtime afresh, and the one program-wide flag back to its start
    // value.
    static void freshProgram() {
        testsupport::freshRuntime();
        hidedesktop = 0;
    }

    void restart() {
        ++report.restarts;
        freshProgram();
        start();
        // The system forgets buttons held on windows that are gone.
        if (QWidget* w = pickWindow())
            for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
                if (held & b) QTest::mouseRelease(w->windowHandle(), b, Qt::NoModifier, QPoint(1, 1));
        held = {};
        grab = nullptr;
        cards.clear();
        reflexGeneration = 0;
        settle();
    }

    void checkProgram() {
        if (!warnings.isEmpty()) {
            fail(QStringLiteral("Qt warned: %1").arg(warnings.first()));
            warnings.clear();
        }
        if (!desktop.errorReports.isEmpty()) {
            fail(QStringLiteral("the runtime's error report: %1").arg(desktop.errorReports.first()));
            return;
        }
        if (Runtime::ended()) {
            if (Runtime::exitCode() != 0)
                fail(QStringLiteral("the program ended with status %1").arg(Runtime::exitCode()));
            else
                restart(); // the window manager's close on the title screen ends the run
            return;
        }
        int menus = 0, guides = 0;
        bool needsOpening = false, opening = false;
        QSet<const QWidget*> windows;
        for (Form* f : Runtime::loadedForms()) {
            const QString& name = f->Name();
            report.screensSeen.insert(name);
            if (kMenu.match(name).hasMatch()) ++menus;
            if (kGuide.match(name).hasMatch()) ++guides;
            if (kMenu.match(name).hasMatch() || kGuide.match(name).hasMatch() || kActivities.contains(name))
                needsOpening = true;
            if (name == QLatin1String(kOpening)) opening = true;
            if (!f->hWnd()) fail(QStringLiteral("%1 is loaded without a window").arg(name));
            windows.insert(f->hWnd());
        }
        if (needsOpening && !opening)
            fail(QStringLiteral("the opening screen is not loaded under %1")
                     .arg(Runtime::loadedFormNames().join(u',')));
        if (menus > 1)
            fail(QStringLiteral("%1 menus loaded: %2").arg(menus).arg(Runtime::loadedFormNames().join(u',')));
        if (guides > 1)
            fail(QStringLiteral("%1 guide pages loaded: %2")
                     .arg(guides)
                     .arg(Runtime::loadedFormNames().join(u',')));
        if (QWidget* pad = visibleWindow(kJotter)) {
            const QList<Form*> order = Runtime::stackingOrder();
            if (order.isEmpty() || order.last()->hWnd() != pad) {
                QStringList names;
                for (Form* f : order)
                    names << f->Name();
                fail(QStringLiteral("the Jotter is open but not in front: %1").arg(names.join(u',')));
            }
        }
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && !windows.contains(top) && top->windowType() != Qt::Popup)
                fail(QStringLiteral("a stray window is shown: %1 %2")
                         .arg(QString::fromLatin1(top->metaObject()->className()), top->objectName()));
        if (Screen.MousePointer() != vbDefault || QGuiApplication::overrideCursor())
            fail(QStringLiteral("the pointer was left as the hourglass"));
        for (; shellRequestsSeen < desktop.opened.size(); ++shellRequestsSeen) {
            const auto& r = desktop.opened[shellRequestsSeen];
            if (r.verb != QLatin1String("open") ||
                (r.target != QLatin1String(kPublisherAddress) && r.target != QLatin1String(kGuideDocument)))
                fail(QStringLiteral("the shell was asked to %1 \"%2\"").arg(r.verb, r.target));
        }
    }

    // Cards move only while the left button alone drags them, and come to rest on a slot, on an outline, or
    // outside every catch area.
    void checkReflex(Kind kind, Qt::MouseButtons before) {
        Form* f = loadedScreen(QStringLiteral("reflex"));
        if (!f) {
            cards.clear();
            return;
        }
        QList<Box> boxes;
        for (const char* name : {"Label1", "Label4"})
            for (int i = 0; i < 6; ++i)
                if (Control* c = f->findControl(QString::fromLatin1(name), i))
                    boxes << Box{c->Left(), c->Top(), c->Width(), c->Height()};
        QList<QPointF> now;
        for (int i = 0; i < 6; ++i)
            if (Control* c = f->findControl(QStringLiteral("Label2"), i)) now << QPointF(c->Left(), c->Top());
        auto onBox = [&](const QPointF& p) {
            for (const Box& b : boxes)
                if (Single(p.x()) == b.left && Single(p.y()) == b.top) return true;
            return false;
        };
        const bool fresh = f->generation() != reflexGeneration || cards.size() != now.size();
        const bool dragging = kind == Move && before == Qt::LeftButton;
        for (int i = 0; i < now.size(); ++i) {
            const QPointF p = now[i];
            if (fresh) {
                if (!onBox(p))
                    fail(QStringLiteral("card %1 starts at (%2, %3), off its outline")
                             .arg(i)
                             .arg(p.x())
                             .arg(p.y()));
                continue;
            }
            if (p != cards[i] && !onBox(p) && !dragging)
                fail(QStringLiteral("card %1 moved from (%2, %3) to (%4, %5) with %6 held")
                         .arg(i)
                         .arg(cards[i].x())
                         .arg(cards[i].y())
                         .arg(p.x())
                         .arg(p.y())
                         .arg(buttonName(before)));
            if (!held && !onBox(p))
                for (const Box& b : boxes)
                    if (inCatchArea(Single(p.x()), Single(p.y()), b))
                        fail(QStringLiteral(
                                 "card %1 rests at (%2, %3) in the catch area of the box at (%4, %5)")
                                 .arg(i)
                                 .arg(p.x())
                                 .arg(p.y())
                                 .arg(b.left)
                                 .arg(b.top));
        }
        cards = now;
        reflexGeneration = f->generation();
    }
};

Monkey::Monkey(std::uint64_t seed, testsupport::RecordingPlatform& desktop)
    : m_seed(seed), m_desktop(desktop) {}

MonkeyReport Monkey::run(int events, bool trace) {
    Impl m(m_seed, m_desktop);
    m.trace = trace;
    Impl::freshProgram();
    g_warnings = &m.warnings;
    // A list box measures in real time how soon a release follows the press that opened it; with no
    // double-click time at all its answer no longer depends on how busy the machine is, and a seed replays
    // exactly.
    QStyleHints* hints = QGuiApplication::styleHints();
    const int doubleClick = hints->mouseDoubleClickInterval();
    hints->setMouseDoubleClickInterval(0);
    g_previousHandler = qInstallMessageHandler(collectWarnings);
    start();
    m.checkProgram();
    for (m.event = 0; m.event < events && m.report.failure.isEmpty(); ++m.event) {
        noteProgress(m_seed, m.event);
        if (m_beforeEvent) {
            m.doing = QStringLiteral("before the event");
            m.releaseAll();
            m_beforeEvent(m.event);
            m.step(Impl::Jump, m.held);
            if (!m.report.failure.isEmpty()) break;
        }
        m.runEvent();
        m.report.events = m.event + 1;
    }
    m.releaseAll();
    hints->setMouseDoubleClickInterval(doubleClick);
    qInstallMessageHandler(g_previousHandler);
    g_warnings = nullptr;
    noteProgress(m_seed, -1);
    return m.report;
}

} // namespace tour
