// The class at the board: thousands of random events over every screen the board can reach, with the
// program's rules checked after each one. A failure names the seed and the event, so it replays:
//   MONKEY_SEED=<seed> MONKEY_EVENTS=<event + 1> MONKEY_TRACE=1 build/bin/test_monkey
// The long form: MONKEY_EVENTS=500000 (and any MONKEY_SEED) on the same binary.
#include "monkey.h"
#include "registry.h"
#include "tour.h"

#include <QtTest>

#include <cstdio>

using namespace vb;
using namespace testsupport;

namespace {
// Breaks a rule on purpose before `event`; the monkey must report it at that event.
struct PlantedFault {
    const char* name;
    int event;
    const char* report;
    void (*plant)();
};
const PlantedFault kFaults[] = {
    {"two menus at once", 30, " menus loaded",
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
         Runtime::dispatch([] { screenByName(QString::fromLatin1(tour::kFirstScreen))->Show(); });
     }},
    {"a stray shell request", 15, "sh -c",
     [] { ShellExecute(nullptr, QStringLiteral("open"), QStringLiteral("sh -c 'rm -rf ~'")); }},
};
} // namespace

class TestMonkey : public tour::Fixture {
    Q_OBJECT
private slots:
    void theClassCannotBreakTheProgram() {
        bool ok = false;
        std::uint64_t seed = qEnvironmentVariable("MONKEY_SEED").toULongLong(&ok);
        if (!ok) seed = 20260613;
        int events = qEnvironmentVariableIntValue("MONKEY_EVENTS");
        if (events <= 0) events = 20000;
        std::printf("monkey: seed %llu, %d events\n", static_cast<unsigned long long>(seed), events);
        std::fflush(stdout);
        const tour::MonkeyReport report =
            tour::Monkey(seed, recordDesktop()).run(events, qEnvironmentVariableIsSet("MONKEY_TRACE"));
        std::printf("monkey: %d events, %d restarts\n", report.events, report.restarts);
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
        QCOMPARE(second.trail, first.trail);
        QCOMPARE(second.screensSeen, first.screensSeen);
        QCOMPARE(second.restarts, first.restarts);
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
        tour::Monkey monkey(5 + fault, recordDesktop());
        monkey.setBeforeEvent([&f](int event) {
            if (event == f.event) f.plant();
        });
        const QString failure = monkey.run(f.event + 40).failure;
        QVERIFY2(failure.startsWith(QStringLiteral("seed %1, event %2 ").arg(5 + fault).arg(f.event)) &&
                     failure.contains(QLatin1String(f.report)),
                 qPrintable(failure));
    }

    // With one button held the system sends the other buttons' presses to the window where it went down, even
    // once an activity has opened over it; Qt hands them to the control first pressed. So a tap where "Menu
    // 2" lies under the open activity must not reach it (it would unload the menu beneath the activity).
    void aHeldButtonCannotWorkACoveredScreen() {
        tour::start();
        QVERIFY(tour::open(QStringLiteral("menu1")));
        Form* menu = tour::loadedScreen(QStringLiteral("menu1"));
        QWindow* w = menu->hWnd()->windowHandle();
        auto at = [&](const char* name) { return pointIn(*tour::control(*menu, QString::fromLatin1(name))); };
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
