// The class at the board: thousands of seeded random events over every screen the board can reach, with the
// program's rules checked after each one. A failure names the seed and the event, so it replays:
//   MONKEY_SEED=<seed> MONKEY_EVENTS=<event + 1> MONKEY_TRACE=1 build/bin/test_monkey
// The long form: MONKEY_EVENTS=500000 (and any MONKEY_SEED) on the same binary.
#include "Module1.h"
#include "registry.h"
#include "tour.h"
#include "walker.h"

#include <QPointer>
#include <QStyleHints>
#include <QtTest>

#include <cstdio>
#include <random>

using namespace vb;
using namespace testsupport;

namespace {

constexpr Qt::MouseButton kButtons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};

template <class T> QString str(const T& v) {
    QString s;
    QDebug(&s).nospace().noquote() << v;
    return s;
}

// Qt's own complaints during a run are faults too, but not the test driver's note about a pointer that left
// the window (which the class does on purpose) nor the offscreen platform's about what it cannot do.
QStringList g_warnings;
const QtMessageHandler g_previousHandler =
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type != QtDebugMsg && type != QtInfoMsg &&
            !text.contains(QLatin1String("occurs outside target window")) &&
            !text.startsWith(QLatin1String("This plugin does not support")))
            g_warnings.append(text);
        g_previousHandler(type, context, text);
    });

// The open catch rectangle of a slot or outline, each bound rounded to single precision as the screen rounds
// it.
bool inCatchArea(Single x, Single y, const Control& b) {
    const double l = b.Left(), t = b.Top(), w = b.Width(), h = b.Height();
    return float(l - w / 2) < x && x < float(l + w) && float(t - h / 2) < y && y < float(t + h);
}

struct Monkey {
    enum Kind { Click, Press, Release, Move, Drag, Key, CloseWindow, Jump };

    explicit Monkey(std::uint64_t s) : seed(s), desktop(recordDesktop()), rng(s) {}
    std::uint64_t seed;
    RecordingPlatform& desktop;
    std::mt19937_64 rng;
    bool trace = false;
    int plantAt = -1; // before this event `plant` breaks a rule on purpose, to see the monkey catch it
    void (*plant)() = nullptr;

    QString failure; // empty while every rule has held
    QSet<QString> seen;

    int event = 0; // the event in hand; at the end, the number carried out
    QString doing; // the event in hand, for the failure message
    Qt::MouseButtons held;
    QPointer<QWidget> grab; // the window that took the first press while buttons are held, as the system does
    quint64 reflexGeneration = 0;
    QList<QPointF> cards;

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; }

    void fail(const QString& why) {
        if (failure.isEmpty())
            failure = QStringLiteral("seed %1, event %2 (%3): %4").arg(seed).arg(event).arg(doing, why);
    }
    void describe(const QString& what) {
        doing = what;
        if (trace) std::printf("event %d: %s\n", event, qPrintable(what));
    }

    QWidget* pickWindow() {
        if (held && grab && grab->isVisible()) return grab;
        QWidget* jotter = tour::Walker::window(QLatin1String(tour::kJotter));
        QWidget* backdrop = tour::Walker::window(QLatin1String(tour::kBackdrop));
        if (jotter && chance(0.3)) return jotter;
        if (backdrop && chance(0.07)) return backdrop;
        if (Form* front = tour::frontScreen()) return front->hWnd();
        return jotter ? jotter : backdrop;
    }

    // Controls that answer the pointer are picked four times as often; in name order, as the form keeps its
    // controls in a hash whose order changes from run to run, and a seed must not.
    Control* pickControl(QWidget* window, bool preferInteractive) {
        QList<Control*> shown, pool;
        if (Form* f = tour::loadedScreen(window->objectName()))
            for (Control* c : f->controls())
                if (c->isVisibleTo(window) && c->width() > 0 && c->height() > 0) shown << c;
        std::sort(shown.begin(), shown.end(),
                  [](const Control* a, const Control* b) { return a->objectName() < b->objectName(); });
        for (Control* c : shown) {
            const Handlers& h = c->Parent().handlers(c->Name());
            const bool answers =
                h.click || h.mouseDown || h.mouseUp || h.mouseMove || qobject_cast<ComboBox*>(c);
            pool.insert(pool.size(), preferInteractive && c->isEnabled() && answers ? 4 : 1, c);
        }
        return pool.isEmpty() ? nullptr : pool[uniform(0, int(pool.size()) - 1)];
    }

    // The title's Exit ends the program; the class is not allowed near it.
    static QPoint allowed(QWidget* window, QPoint at) {
        QWidget* exit = window->objectName() == QLatin1String(tour::kFirstScreen)
                            ? window->findChild<QWidget*>(QLatin1String(tour::kTitleExit))
                            : nullptr;
        const bool near =
            exit && QRect(exit->mapTo(window, QPoint()), exit->size()).adjusted(-2, -2, 2, 2).contains(at);
        return near ? QPoint(1, 1) : at;
    }

    QPoint pickPoint(QWidget* w, bool mayLeave) {
        Control* c = chance(0.65) ? pickControl(w, true) : nullptr;
        const int out = mayLeave && chance(0.2) ? 120 : 0;
        return allowed(w,
                       c ? c->mapTo(w, QPoint(uniform(0, c->width() - 1), uniform(0, c->height() - 1)))
                         : QPoint(uniform(-out, w->width() - 1 + out), uniform(-out, w->height() - 1 + out)));
    }

    // Near another control: drops land around slots and outlines, on both sides of their catch bounds.
    QPoint pickDropPoint(QWidget* w) {
        Control* c = chance(0.8) ? pickControl(w, false) : nullptr;
        if (!c) return pickPoint(w, true);
        return allowed(w, c->mapTo(w, c->rect().center()) +
                              QPoint(uniform(-c->width(), c->width()), uniform(-c->height(), c->height())));
    }

    Qt::MouseButton pickButton() {
        return chance(0.7) ? Qt::LeftButton : chance(0.67) ? Qt::RightButton : Qt::MiddleButton;
    }

    // With no button down the system gives a pointer event to the window on top at that point; with one down,
    // to the window where it went down. A window may go while an event is under way; the rest of the event
    // then lands nowhere, as the pen would on a screen that has gone.
    void landOnTop(QPointer<QWidget>& w, QPoint& at) {
        if (held || !w) return;
        const QPoint global = w->mapToGlobal(at);
        const QList<Form*> order = Runtime::stackingOrder();
        for (auto it = order.crbegin(); it != order.crend(); ++it)
            if (QWidget* top = (*it)->hWnd();
                top && top->isVisible() && top->frameGeometry().contains(global)) {
                at = top->mapFromGlobal(global);
                w = top;
                return;
            }
    }

    // Presses and releases come after a move to where they happen, as the system delivers them; a button that
    // is down comes up before it can go down again.
    void mouse(Kind kind, QPointer<QWidget> w, Qt::MouseButton b, QPoint at, Qt::KeyboardModifiers m = {}) {
        if (kind == Press && (held & b)) mouse(Release, w, b, at);
        landOnTop(w, at);
        if (kind != Move) mouse(Move, w, b, at);
        const Qt::MouseButtons before = held;
        if (kind == Press && !held) grab = w;
        held = kind == Press ? held | b : kind == Release ? held & ~b : held;
        if (!held) grab = nullptr;
        if (QWindow* h = w ? w->windowHandle() : nullptr)
            kind == Press     ? QTest::mousePress(h, b, m, at)
            : kind == Release ? QTest::mouseRelease(h, b, m, at)
                              : QTest::mouseMove(h, at);
        step(kind, before);
    }
    void releaseAll() {
        for (Qt::MouseButton b : kButtons)
            if (QWidget* w = !(held & b) ? nullptr : grab && grab->isVisible() ? grab.data() : pickWindow())
                mouse(Release, w, b, QPoint(1, 1));
        held = {};
        grab = nullptr;
    }

    void step(Kind kind, Qt::MouseButtons before) {
        tour::settle();
        checkReflex(kind, before);
        checkProgram();
    }

    void runEvent() {
        static constexpr int weights[] = {39, 8, 8, 14, 19, 5, 1, 3}; // in the order of Kind
        const Kind kind = Kind(std::discrete_distribution<int>(std::begin(weights), std::end(weights))(rng));
        QPointer<QWidget> w = pickWindow();
        if (!w) return restart();
        const QString where = QStringLiteral(" on ") + w->objectName();
        switch (kind) {
        case Click: // mostly left; a list it opens is picked from or left open for the next event
        case Press:
        case Release: { // any button, held or not
            Qt::MouseButton b = kind == Click && chance(0.75) ? Qt::LeftButton : pickButton();
            if (kind == Release && held && chance(0.8))
                b = *std::find_if(std::begin(kButtons), std::end(kButtons), [&](auto x) { return held & x; });
            const QPoint at = pickPoint(w, kind == Release);
            describe(QStringList{"click", "press", "release"}[kind] + u' ' + str(b) + " at " + str(at) +
                     where);
            if (kind != Release)
                mouse(Press, w, b, at,
                      chance(0.9)   ? Qt::NoModifier
                      : chance(0.5) ? Qt::ShiftModifier
                                    : Qt::ControlModifier);
            if (kind != Press) mouse(Release, w, b, at);
            if (kind == Click && chance(0.5) && tour::pickListRow(uniform(0, 9))) step(Click, held);
            break;
        }
        case Move: {
            const int steps = uniform(1, 6);
            describe(QStringLiteral("%1 moves holding %2").arg(steps).arg(str(held)) + where);
            for (int i = 0; i < steps && w; ++i)
                mouse(Move, w, Qt::NoButton, held ? pickDropPoint(w) : pickPoint(w, true));
            break;
        }
        case Drag: { // cards onto slots, strokes on the Jotter
            const QPoint from = pickPoint(w, false), to = pickDropPoint(w);
            const Qt::MouseButton b = chance(0.85) ? Qt::LeftButton : pickButton();
            const int steps = uniform(1, 10);
            describe(QStringLiteral("drag %1 from %2 to %3 in %4 steps")
                         .arg(str(b), str(from), str(to))
                         .arg(steps) +
                     where);
            mouse(Press, w, b, from);
            for (int i = 1; i <= steps; ++i)
                mouse(Move, w, b, from + (to - from) * i / steps);
            mouse(Release, w, b, to);
            break;
        }
        case Key: { // Ctrl+J most often; keys go to an open list first
            static const QList<QKeySequence> keys = QKeySequence::listFromString(
                QStringLiteral("Ctrl+J; Ctrl+J; Esc; Return; Space; Tab; Down; A; J; Shift+J; Alt+F4"));
            const QKeySequence& key = keys[uniform(0, int(keys.size()) - 1)];
            describe(QStringLiteral("key ") + key.toString() + where);
            QWidget* target =
                QApplication::activePopupWidget() ? QApplication::activePopupWidget() : w.data();
            if (QWindow* h = target ? target->windowHandle() : nullptr) QTest::keySequence(h, key);
            break;
        }
        case CloseWindow:
            describe(QStringLiteral("the window manager's close") + where);
            if (w) w->close();
            break;
        case Jump: {
            const QStringList screens = tour::reachableScreens();
            const QString target = screens[uniform(0, int(screens.size()) - 1)];
            describe(QStringLiteral("go to %1 by clicks").arg(target));
            releaseAll();
            tour::open(target);
            break;
        }
        }
        if (kind >= Key) step(kind, held);
    }

    // As a new start of the program: the runtime afresh, and the one program-wide flag back to its start
    // value.
    void restart() {
        freshRuntime();
        hidedesktop = 0;
        tour::start();
        // The system forgets buttons held on windows that are gone.
        if (QWidget* w = pickWindow())
            for (Qt::MouseButton b : kButtons)
                if (held & b) QTest::mouseRelease(w->windowHandle(), b, Qt::NoModifier, QPoint(1, 1));
        held = {};
        grab = nullptr;
        tour::settle();
    }

    void checkProgram() {
        if (!g_warnings.isEmpty()) fail(QStringLiteral("Qt warned: ") + g_warnings.first());
        g_warnings.clear();
        if (!desktop.errorReports.isEmpty())
            return fail(QStringLiteral("the runtime's error report: ") + desktop.errorReports.first());
        if (Runtime::ended()) { // the window manager's close on the title screen ends the run: a restart
            if (Runtime::exitCode() == 0) return restart();
            return fail(QStringLiteral("the program ended with status %1").arg(Runtime::exitCode()));
        }
        QSet<const QWidget*> windows;
        for (Form* f : Runtime::loadedForms()) {
            seen.insert(f->Name());
            windows.insert(f->hWnd());
            if (!f->hWnd()) fail(f->Name() + " is loaded without a window");
        }
        if (const QString broken = tour::brokenRule(); !broken.isEmpty()) fail(broken);
        desktop.opened.clear();
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && !windows.contains(top) && top->windowType() != Qt::Popup)
                fail(QStringLiteral("a stray window is shown: %1 %2")
                         .arg(QLatin1String(top->metaObject()->className()), top->objectName()));
        if (Screen.MousePointer() != vbDefault || QGuiApplication::overrideCursor())
            fail(QStringLiteral("the pointer was left as the hourglass"));
    }

    // Cards move only while the left button alone drags them or when let go past an edge, and come to rest
    // on a slot, on an outline, or outside every catch area.
    void checkReflex(Kind kind, Qt::MouseButtons before) {
        Form* f = tour::loadedScreen(QStringLiteral("reflex"));
        QList<Control*> boxes;
        QList<QPointF> now;
        for (int i = 0; f && i < 6; ++i) {
            for (const char* name : {"Label1", "Label4"})
                if (Control* c = f->findControl(QLatin1String(name), i)) boxes << c;
            if (Control* c = f->findControl(QStringLiteral("Label2"), i)) now << QPointF(c->Left(), c->Top());
        }
        auto onBox = [&](QPointF p) {
            return std::any_of(boxes.cbegin(), boxes.cend(), [&](Control* b) {
                return Single(p.x()) == b->Left() && Single(p.y()) == b->Top();
            });
        };
        const bool fresh = !f || f->generation() != reflexGeneration || cards.size() != now.size();
        const auto onScreen = [&](QPointF p) {
            const QRectF card(
                p, QSizeF(f->findControl("Label2", 0)->Width(), f->findControl("Label2", 0)->Height()));
            return QRectF(0, 0, f->ScaleWidth(), f->ScaleHeight()).contains(card);
        };
        for (int i = 0; i < now.size(); ++i) {
            const QString card = QStringLiteral("card %1 at %2").arg(i).arg(str(now[i]));
            if (fresh && !onBox(now[i])) fail(card + QStringLiteral(" starts off its outline"));
            if (fresh || onBox(now[i])) continue;
            if (now[i] != cards[i] && !(kind == Move && before == Qt::LeftButton) &&
                !(onScreen(now[i]) && !onScreen(cards[i])))
                fail(card + QStringLiteral(" moved from %1 with %2 held").arg(str(cards[i]), str(before)));
            for (Control* b : boxes)
                if (!held && inCatchArea(Single(now[i].x()), Single(now[i].y()), *b))
                    fail(card + QStringLiteral(" rests in the catch area of the box at %1")
                                    .arg(str(QPointF(b->Left(), b->Top()))));
        }
        cards = now;
        reflexGeneration = f ? f->generation() : 0;
    }

    void run(int n) {
        // A list box measures in real time how soon a release follows the press that opened it; with no
        // double-click time its answer does not depend on the machine's load, and a seed replays exactly.
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
        g_warnings.clear();
        restart();
        checkProgram();
        for (event = 0; event < n && failure.isEmpty(); ++event) {
            if (event == plantAt) {
                doing = QStringLiteral("a planted fault");
                releaseAll();
                plant();
                step(Jump, held);
                if (!failure.isEmpty()) break;
            }
            runEvent();
        }
        releaseAll();
    }
};

struct PlantedFault {
    const char* name;
    int event;
    const char* report;
    void (*plant)();
};
const PlantedFault kFaults[] = {
    {"two menus at once", 30, "more than one menu",
     [] {
         Runtime::dispatch([] {
             screenByName(QStringLiteral("menu1"))->Show();
             screenByName(QStringLiteral("menu2"))->Show();
         });
     }},
    // Showing a menu loads the opening screen for its picture, so it is unloaded afterwards.
    {"a menu without the opening screen", 12, "opening screen is not loaded",
     [] {
         Runtime::dispatch([] {
             screenByName(QStringLiteral("menu3"))->Show();
             if (Form* opening = tour::loadedScreen(QStringLiteral("intro0"))) opening->Unload();
         });
     }},
    {"a card off the grid", 20, "card 3",
     [] {
         if (tour::open(QStringLiteral("reflex")))
             tour::loadedScreen(QStringLiteral("reflex"))
                 ->findControl(QStringLiteral("Label2"), 3)
                 ->setLeft(1234.5f);
     }},
    {"the Jotter behind a screen", 11, "Jotter is open but not in front",
     [] {
         if (!tour::open(QStringLiteral("notepad"))) return;
         tour::loadedScreen(QStringLiteral("notepad"))->setStaysOnTop(false);
         Runtime::dispatch([] { screenByName(QLatin1String(tour::kFirstScreen))->Show(); });
     }},
    {"a stray shell request", 15, "sh -c",
     [] { ShellExecute(nullptr, QStringLiteral("open"), QStringLiteral("sh -c 'rm -rf ~'")); }},
};

} // namespace

class TestMonkey : public tour::Fixture {
    Q_OBJECT
private slots:
    void theClassCannotBreakTheProgram() {
        const std::uint64_t seed =
            qEnvironmentVariable("MONKEY_SEED", QStringLiteral("20260613")).toULongLong();
        const int events = qEnvironmentVariable("MONKEY_EVENTS", QStringLiteral("20000")).toInt();
        std::printf("monkey: seed %llu, %d events\n", static_cast<unsigned long long>(seed), events);
        std::fflush(stdout);
        Monkey m(seed);
        m.trace = qEnvironmentVariableIsSet("MONKEY_TRACE");
        m.run(events);
        QVERIFY2(m.failure.isEmpty(),
                 qPrintable(m.failure + QStringLiteral("\n   replay: MONKEY_SEED=%1 "
                                                       "MONKEY_EVENTS=%2 MONKEY_TRACE=1 test_monkey")
                                            .arg(seed)
                                            .arg(m.event)));
        QCOMPARE(m.event, events);
        for (const QString& name : tour::reachableScreens())
            QVERIFY2(m.seen.contains(name), qPrintable(name + QStringLiteral(" never reached")));
    }

    // The checks themselves: a program that breaks a rule is caught at that event, with the seed.
    void aPlantedFaultIsCaught_data() {
        QTest::addColumn<int>("fault");
        for (int i = 0; i < int(std::size(kFaults)); ++i)
            QTest::newRow(kFaults[i].name) << i;
    }
    void aPlantedFaultIsCaught() {
        QFETCH(int, fault);
        const PlantedFault& f = kFaults[fault];
        Monkey m(5 + fault);
        m.plantAt = f.event;
        m.plant = f.plant;
        m.run(f.event + 40);
        QVERIFY2(m.failure.startsWith(QStringLiteral("seed %1, event %2 ").arg(5 + fault).arg(f.event)) &&
                     m.failure.contains(QLatin1String(f.report)),
                 qPrintable(m.failure));
    }

    // With one button held the system sends the other buttons' presses to the window where it went down, even
    // once an activity has opened over it; Qt hands them to the control first pressed. So a tap where "Menu
    // 2" lies under the open activity must not reach it (it would unload the menu beneath the activity).
    void aHeldButtonCannotWorkACoveredScreen() {
        tour::start();
        QVERIFY(tour::open(QStringLiteral("menu1")));
        Form* menu = tour::loadedScreen(QStringLiteral("menu1"));
        QWindow* w = menu->hWnd()->windowHandle();
        auto at = [&](const char* name) {
            return pointIn(*menu->hWnd()->findChild<Control*>(QLatin1String(name)));
        };
        QTest::mousePress(w, Qt::RightButton, Qt::NoModifier, at("Label3(0)"));
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at("Label3(0)"));
        tour::settle();
        QCOMPARE(tour::frontScreen()->Name(), QStringLiteral("quadrat"));
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at("Label2(1)"));
        QTest::mouseRelease(w, Qt::RightButton, Qt::NoModifier, at("Label2(1)"));
        tour::settle();
        QVERIFY(menu->isLoaded());
        QVERIFY(!tour::loadedScreen(QStringLiteral("menu2")));
        QCOMPARE(tour::frontScreen()->Name(), QStringLiteral("quadrat"));
    }
};

QTEST_MAIN(TestMonkey)
#include "test_monkey.moc"
