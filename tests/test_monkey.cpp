// The class at the board: thousands of seeded random clicks, presses, releases, drags, keys and jumps on the
// windows in front, with the program's rules checked after each. A failure names the seed and the event:
//   MONKEY_SEED=<seed> MONKEY_EVENTS=<event + 1> build/bin/test_monkey   (the long run: MONKEY_EVENTS=500000)
#include "Module1.h"
#include "registry.h"
#include "tour.h"
#include "walker.h"

#include <QPointer>
#include <QStyleHints>
#include <QtTest>

#include <random>

using namespace vb;
using namespace testsupport;

namespace {

constexpr Qt::MouseButton kButtons[] = {Qt::LeftButton, Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};

// Qt's complaints are faults too, but not QTest's note on a pointer outside the window nor the offscreen
// platform's on what it cannot do.
QStringList g_warnings;
const QtMessageHandler g_previousHandler =
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type != QtDebugMsg && type != QtInfoMsg &&
            !text.contains(QLatin1String("occurs outside target window")) &&
            !text.startsWith(QLatin1String("This plugin does not support")))
            g_warnings.append(text);
        g_previousHandler(type, context, text);
    });

struct Monkey {
    explicit Monkey(std::uint64_t s) : seed(s), desktop(recordDesktop()), rng(s) {}
    std::uint64_t seed;
    RecordingPlatform& desktop;
    std::mt19937_64 rng;
    int plantAt = -1; // before this event `plant` breaks a rule on purpose
    void (*plant)() = nullptr;
    QString failure, doing; // the first rule broken; the event in hand
    QSet<QString> seen;
    int event = 0;
    Qt::MouseButtons held;
    QPointer<QWidget> grab; // while buttons are held, the window first pressed gets the pointer

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    void fail(const QString& why) {
        if (failure.isEmpty())
            failure = QStringLiteral("seed %1, event %2 (%3): %4").arg(seed).arg(event).arg(doing, why);
    }

    QWidget* pickWindow(bool pointer = true) {
        if (pointer && held && grab && grab->isVisible()) return grab;
        QWidget* jotter = tour::Walker::window(QLatin1String(tour::kJotter));
        if (jotter && uniform(0, 2) == 0) return jotter;
        Form* front = tour::frontScreen();
        return front ? front->hWnd() : jotter;
    }
    // Half the time inside one of the window's controls (in creation order, so that a seed replays).
    QPoint pickPoint(QWidget* w) {
        const QList<Control*> controls = w->findChildren<Control*>();
        Control* c =
            controls.isEmpty() || uniform(0, 1) ? nullptr : controls[uniform(0, int(controls.size()) - 1)];
        if (c && c->isVisibleTo(w) && c->width() > 0 && c->height() > 0)
            return c->mapTo(w, QPoint(uniform(0, c->width() - 1), uniform(0, c->height() - 1)));
        return QPoint(uniform(0, w->width() - 1), uniform(0, w->height() - 1));
    }

    // One pointer event after a move to where it happens; a button that is down comes up before it goes down.
    void mouse(QEvent::Type type, QPointer<QWidget> w, Qt::MouseButton b, QPoint at) {
        if (type == QEvent::MouseButtonPress && (held & b)) mouse(QEvent::MouseButtonRelease, w, b, at);
        if (type == QEvent::MouseButtonPress && !held) grab = w;
        held = type == QEvent::MouseButtonPress     ? held | b
               : type == QEvent::MouseButtonRelease ? held & ~b
                                                    : held;
        if (QWindow* h = w ? w->windowHandle() : nullptr) {
            QTest::mouseMove(h, at);
            if (type == QEvent::MouseButtonPress) QTest::mousePress(h, b, {}, at);
            if (type == QEvent::MouseButtonRelease) QTest::mouseRelease(h, b, {}, at);
        }
        step();
    }
    void releaseAll() {
        for (Qt::MouseButton b : kButtons)
            if (QWidget* w = held & b ? pickWindow() : nullptr)
                mouse(QEvent::MouseButtonRelease, w, b, QPoint(1, 1));
        held = {};
    }

    void runEvent() {
        static constexpr int weights[] = {35, 10, 10, 10, 20, 6, 1, 3};
        const int kind = std::discrete_distribution<int>(std::begin(weights), std::end(weights))(rng);
        QPointer<QWidget> w = pickWindow();
        if (!w) return restart();
        const Qt::MouseButton b = kind == 2 && held
                                      ? (held & Qt::LeftButton ? Qt::LeftButton : Qt::RightButton)
                                      : kButtons[uniform(0, 3)];
        const QPoint at = pickPoint(w), to = pickPoint(w);
        doing = QString::asprintf("kind %d, button %d at %d,%d to %d,%d on ", kind, int(b), at.x(), at.y(),
                                  to.x(), to.y()) +
                w->objectName();
        switch (kind) {
        case 0: // a click; a list it opens is picked from now and then
            mouse(QEvent::MouseButtonPress, w, b, at);
            mouse(QEvent::MouseButtonRelease, w, b, at);
            if (uniform(0, 1) && tour::pickListRow(uniform(0, 9))) step();
            break;
        case 1:
            return mouse(QEvent::MouseButtonPress, w, b, at);
        case 2:
            return mouse(QEvent::MouseButtonRelease, w, b, at);
        case 3:
            return mouse(QEvent::MouseMove, w, b, at);
        case 4: { // cards onto slots, strokes on the Jotter
            mouse(QEvent::MouseButtonPress, w, b, at);
            for (int i = 1, steps = uniform(1, 8); i <= steps; ++i)
                mouse(QEvent::MouseMove, w, b, at + (to - at) * i / steps);
            return mouse(QEvent::MouseButtonRelease, w, b, to);
        }
        case 5: { // Ctrl+J most often; keys go to an open list first
            static const QList<QKeySequence> keys = QKeySequence::listFromString(
                QStringLiteral("Ctrl+J; Ctrl+J; Esc; Return; Space; Tab; Down; A; J; Shift+J; Alt+F4"));
            const QKeySequence& key = keys[uniform(0, int(keys.size()) - 1)];
            doing = QStringLiteral("key ") + key.toString();
            // Keys go to the window in front, even while buttons are held on one it covers.
            QWidget* popup = QApplication::activePopupWidget();
            QWidget* target = popup ? popup : pickWindow(false);
            if (target) QTest::keySequence(target->windowHandle(), key);
            break;
        }
        case 6:
            doing = QStringLiteral("the window manager's close on ") + w->objectName();
            w->close();
            break;
        case 7: {
            const QStringList screens = tour::reachableScreens();
            doing = QStringLiteral("go to %1 by clicks").arg(screens[uniform(0, int(screens.size()) - 1)]);
            releaseAll();
            tour::open(doing.section(u' ', 2, 2));
        }
        }
        step();
    }

    // As a new start of the program; the system forgets buttons held on windows that are gone.
    void restart() {
        freshRuntime();
        hidedesktop = 0;
        tour::start();
        if (QWidget* w = pickWindow())
            for (Qt::MouseButton b : kButtons)
                if (held & b) QTest::mouseRelease(w->windowHandle(), b, Qt::NoModifier, QPoint(1, 1));
        held = {};
        tour::settle();
    }

    void step() {
        tour::settle();
        if (!g_warnings.isEmpty()) fail(QStringLiteral("Qt warned: ") + g_warnings.first());
        g_warnings.clear();
        if (!desktop.errorReports.isEmpty())
            return fail(QStringLiteral("the runtime's error report: ") + desktop.errorReports.first());
        if (Runtime::ended()) { // the title's Exit or its close ends the run: a restart
            if (Runtime::exitCode() == 0) return restart();
            return fail(QStringLiteral("the program ended with status %1").arg(Runtime::exitCode()));
        }
        QSet<const QWidget*> windows;
        for (Form* f : Runtime::loadedForms()) {
            seen.insert(f->Name());
            windows.insert(f->hWnd());
        }
        if (const QString broken = tour::brokenRule(); !broken.isEmpty()) fail(broken);
        desktop.opened.clear();
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && !windows.contains(top) && top->windowType() != Qt::Popup)
                fail(QStringLiteral("a stray window is shown: ") + top->metaObject()->className());
        if (Screen.MousePointer() != vbDefault || QGuiApplication::overrideCursor())
            fail(QStringLiteral("the pointer was left as the hourglass"));
    }

    void run(int n) {
        // A list measures how soon a release follows the press that opened it; with no double-click time the
        // answer does not depend on the machine's load, and a seed replays exactly.
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
        g_warnings.clear();
        restart();
        for (event = 0; event < n && failure.isEmpty(); ++event) {
            if (event == plantAt) {
                doing = QStringLiteral("a planted fault");
                plant();
                step(); // a failure keeps this event's number
            }
            runEvent();
        }
        releaseAll();
    }
};

} // namespace

class TestMonkey : public tour::Fixture {
    Q_OBJECT
private slots:
    void theClassCannotBreakTheProgram() {
        const std::uint64_t seed =
            qEnvironmentVariable("MONKEY_SEED", QStringLiteral("20260613")).toULongLong();
        const int events = qEnvironmentVariable("MONKEY_EVENTS", QStringLiteral("20000")).toInt();
        Monkey m(seed);
        m.run(events);
        QVERIFY2(m.failure.isEmpty(), qPrintable(m.failure));
        QCOMPARE(m.event, events);
        for (const QString& name : tour::reachableScreens())
            QVERIFY2(m.seen.contains(name), qPrintable(name + QStringLiteral(" never reached")));
    }

    // With one button held the system sends the other buttons' presses to the window where it went down, even
    // once an activity has opened over it: a tap where "Menu 2" lies under the activity must not reach it.
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
    }
};

QTEST_MAIN(TestMonkey)
#include "test_monkey.moc"
