// The class at the board: thousands of random events over every screen the board can reach, with the
// program's rules checked after each one. A failure names the seed and the event, so it replays:
//   MONKEY_SEED=<seed> MONKEY_EVENTS=<event + 1> MONKEY_TRACE=1 build/bin/test_monkey
// The long form: MONKEY_EVENTS=200000 (and any MONKEY_SEED) on the same binary.
#include "monkey.h"
#include "registry.h"
#include "support/testsupport.h"
#include "tour.h"

#include <QtTest>

#include <cstdio>

using namespace vb;
using namespace testsupport;

namespace {
constexpr std::uint64_t kDefaultSeed = 20260613;
constexpr int kDefaultEvents = 20000;

std::uint64_t seedFromEnvironment() {
    bool ok = false;
    const std::uint64_t seed = qEnvironmentVariable("MONKEY_SEED").toULongLong(&ok);
    return ok ? seed : kDefaultSeed;
}

int eventsFromEnvironment() {
    bool ok = false;
    const int events = qEnvironmentVariableIntValue("MONKEY_EVENTS", &ok);
    return ok && events > 0 ? events : kDefaultEvents;
}
} // namespace

class TestMonkey : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        tour::enableJotterKey();
        tour::installCrashNote();
    }
    void init() {
        freshRuntime();
        recordDesktop();
    }
    void cleanup() { freshRuntime(); }

    void theClassCannotBreakTheProgram() {
        const std::uint64_t seed = seedFromEnvironment();
        const int events = eventsFromEnvironment();
        std::printf("monkey: seed %llu, %d events\n", static_cast<unsigned long long>(seed), events);
        std::fflush(stdout);
        auto& desktop = recordDesktop();
        const tour::MonkeyReport report =
            tour::Monkey(seed, desktop).run(events, qEnvironmentVariableIsSet("MONKEY_TRACE"));
        QStringList kinds;
        for (auto it = report.kinds.cbegin(); it != report.kinds.cend(); ++it)
            kinds << QStringLiteral("%1 %2").arg(it.value()).arg(it.key());
        std::printf("monkey: %d events (%s), %d restarts\n", report.events,
                    qPrintable(kinds.join(QStringLiteral(", "))), report.restarts);
        QVERIFY2(report.failure.isEmpty(),
                 qPrintable(QStringLiteral(
                                "%1\n   replay: MONKEY_SEED=%2 MONKEY_EVENTS=%3 MONKEY_TRACE=1 test_monkey")
                                .arg(report.failure)
                                .arg(seed)
                                .arg(report.events)));
        QCOMPARE(report.events, events);
        QStringList missed;
        for (const QString& name : tour::reachableScreens())
            if (!report.screensSeen.contains(name)) missed << name;
        QVERIFY2(missed.isEmpty(), qPrintable(QStringLiteral("never reached: ") + missed.join(u' ')));
    }

    // The same seed gives the same run, so a reported failure can be replayed.
    void aSeedReplays() {
        const tour::MonkeyReport first = tour::Monkey(77, recordDesktop()).run(400);
        freshRuntime();
        const tour::MonkeyReport second = tour::Monkey(77, recordDesktop()).run(400);
        QVERIFY(first.failure.isEmpty());
        QCOMPARE(second.kinds, first.kinds);
        QCOMPARE(second.screensSeen, first.screensSeen);
        QCOMPARE(second.restarts, first.restarts);
    }

    // The checks themselves: a program that breaks a rule is caught at that event, with the seed.
    void twoMenusAtOnceAreCaught() {
        if (!screenByName(QStringLiteral("menu1")) || !screenByName(QStringLiteral("menu2")))
            QSKIP("the menus are not in this build yet");
        auto& desktop = recordDesktop();
        tour::Monkey monkey(5, desktop);
        monkey.setBeforeEvent([](int event) {
            if (event != 30) return;
            Runtime::dispatch([] {
                screenByName(QStringLiteral("menu1"))->Show();
                screenByName(QStringLiteral("menu2"))->Show();
            });
        });
        const tour::MonkeyReport report = monkey.run(200);
        QVERIFY2(report.failure.contains(QLatin1String("seed 5, event 30")), qPrintable(report.failure));
        QVERIFY2(report.failure.contains(QRegularExpression(QStringLiteral("\\d menus loaded"))),
                 qPrintable(report.failure));
    }

    void aMenuWithoutTheOpeningScreenIsCaught() {
        if (!screenByName(QStringLiteral("menu3"))) QSKIP("the menus are not in this build yet");
        auto& desktop = recordDesktop();
        tour::Monkey monkey(6, desktop);
        monkey.setBeforeEvent([](int event) {
            if (event != 12) return;
            // (Showing a menu loads the opening screen for its picture, so it is unloaded afterwards.)
            Runtime::dispatch([] {
                screenByName(QStringLiteral("menu3"))->Show();
                if (Form* opening = tour::loadedScreen(QStringLiteral("intro0"))) opening->Unload();
            });
        });
        const tour::MonkeyReport report = monkey.run(100);
        QVERIFY2(report.failure.contains(QLatin1String("event 12")) &&
                     report.failure.contains(QLatin1String("opening screen is not loaded")),
                 qPrintable(report.failure));
    }

    void aCardLeftOffTheGridIsCaught() {
        if (!screenByName(QStringLiteral("reflex")))
            QSKIP("the Reflex Action screen is not in this build yet");
        auto& desktop = recordDesktop();
        tour::Monkey monkey(7, desktop);
        monkey.setBeforeEvent([](int event) {
            if (event == 20 && tour::open(QStringLiteral("reflex")))
                tour::loadedScreen(QStringLiteral("reflex"))
                    ->findControl(QStringLiteral("Label2"), 3)
                    ->setLeft(1234.5f);
        });
        const tour::MonkeyReport report = monkey.run(100);
        QVERIFY2(report.failure.contains(QLatin1String("event 20")) &&
                     report.failure.contains(QLatin1String("card 3")),
                 qPrintable(report.failure));
    }

    void aJotterBehindAScreenIsCaught() {
        if (!tour::reachableScreens().contains(QStringLiteral("notepad")))
            QSKIP("the Jotter is not in this build yet");
        auto& desktop = recordDesktop();
        tour::Monkey monkey(8, desktop);
        monkey.setBeforeEvent([](int event) {
            if (event != 11 || !tour::open(QStringLiteral("notepad"))) return;
            // The Jotter stops staying on top, and a screen is shown over it.
            tour::loadedScreen(QStringLiteral("notepad"))->setStaysOnTop(false);
            Runtime::dispatch([] { screenByName(QString::fromLatin1(tour::kFirstScreen))->Show(); });
        });
        const tour::MonkeyReport report = monkey.run(60);
        QVERIFY2(report.failure.contains(QLatin1String("event 11")) &&
                     report.failure.contains(QLatin1String("Jotter is open but not in front")),
                 qPrintable(report.failure));
    }

    // With one button held the system sends the other buttons' presses to the window where it went down, even
    // once an activity has opened over it; Qt hands them to the control first pressed. So a tap where "Menu
    // 2" lies under the open activity must not reach it (it would unload the menu beneath the activity).
    void aHeldButtonCannotWorkACoveredScreen() {
        if (!screenByName(QStringLiteral("quadrat"))) QSKIP("the activities are not in this build yet");
        tour::start();
        QVERIFY(tour::open(QStringLiteral("menu1")));
        Form* menu = tour::loadedScreen(QStringLiteral("menu1"));
        QWindow* w = menu->hWnd()->windowHandle();
        auto at = [&](const char* name) { return pointIn(*tour::control(*menu, QString::fromLatin1(name))); };
        QTest::mousePress(w, Qt::RightButton, Qt::NoModifier, at("Label3(0)"));
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, at("Label3(0)"));
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, at("Label3(0)"));
        tour::settle();
        QCOMPARE(tour::frontScreen()->Name(), QStringLiteral("quadrat"));
        // Still holding the right button: a tap where "Menu 2" lies under the activity.
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, at("Label2(1)"));
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, at("Label2(1)"));
        QTest::mouseRelease(w, Qt::RightButton, Qt::NoModifier, at("Label2(1)"));
        tour::settle();
        QVERIFY(menu->isLoaded());
        QVERIFY(!tour::loadedScreen(QStringLiteral("menu2")));
        QCOMPARE(tour::frontScreen()->Name(), QStringLiteral("quadrat"));
    }

    void aStrayShellRequestIsCaught() {
        auto& desktop = recordDesktop();
        tour::Monkey monkey(9, desktop);
        monkey.setBeforeEvent([](int event) {
            if (event == 15)
                ShellExecute(nullptr, QStringLiteral("open"), QStringLiteral("sh -c 'rm -rf ~'"));
        });
        const tour::MonkeyReport report = monkey.run(40);
        QVERIFY2(report.failure.contains(QLatin1String("event 15")) &&
                     report.failure.contains(QLatin1String("sh -c")),
                 qPrintable(report.failure));
    }
};

QTEST_MAIN(TestMonkey)
#include "test_monkey.moc"
