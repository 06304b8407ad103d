// The whole program as a teacher walks through it, with the real pictures: title, opening screen, the live
// activities over their menus, and the Jotter over all of them.
#include "TeacherGuide.h"
#include "TopicMenu.h"
#include "intro0.h"
#include "jotteraccess.h"
#include "navigation_data.h"
#include "notepad.h"
#include "quadrat.h"
#include "reflex.h"
#include "sentence.h"

#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {
QString front() {
    return stackNames().last();
}
} // namespace

class TestFlow : public QObject {
    Q_OBJECT
    std::unique_ptr<jotter::JotterAccess> access;

private slots:
    void initTestCase() { access = std::make_unique<jotter::JotterAccess>(); }
    void init() {
        freshRuntime();
        recordDesktop();
        hidedesktop = 0;
        startAtOpeningScreen();
        QVERIFY(!form<intro0>().Picture().isEmpty()); // the drawn picture is found
    }

    void eachLiveEntryOpensItsActivityOverItsMenuAndExitUncoversIt_data() {
        QTest::addColumn<int>("menu");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("activity");
        QTest::newRow("quadrat") << 1 << 0 << "quadrat";
        QTest::newRow("reflex") << 2 << 1 << "reflex";
        QTest::newRow("sentence") << 5 << 4 << "sentence";
    }
    void eachLiveEntryOpensItsActivityOverItsMenuAndExitUncoversIt() {
        QFETCH(int, menu);
        QFETCH(int, entry);
        QFETCH(QString, activity);
        click(form<intro0>().Label2(menu - 1));
        TopicMenu& m = topicMenu(menu);
        click(m.Label3(entry));
        QCOMPARE(front(), activity);
        QCOMPARE(loadedScreens(), QStringList({QStringLiteral("intro0"), m.Name(), activity}));
        Form* a = Runtime::formNamed(activity);
        // Every activity's exit is its Label3(0).
        click(*a->findControl(QStringLiteral("Label3"), 0));
        QCOMPARE(front(), m.Name());
        QVERIFY(!a->isLoaded());
        click(*m.Command1);
        QCOMPARE(loadedScreens(), QStringList({"intro0"}));
    }

    void theJotterStaysInFrontWhileScreensComeAndGoBeneathIt() {
        QTest::keyClick(windowOf(form<intro0>()), Qt::Key_J, Qt::ControlModifier);
        QVERIFY(form<notepad>().isLoaded());
        QCOMPARE(front(), QStringLiteral("notepad"));
        click(form<intro0>().Label2(1));
        QCOMPARE(front(), QStringLiteral("notepad"));
        click(topicMenu(2).Label3(1));
        QCOMPARE(front(), QStringLiteral("notepad"));
        QVERIFY(form<reflex>().isLoaded());
        click(form<reflex>().Label3(0));
        click(*topicMenu(2).Command1);
        click(form<intro0>().Label2(7));
        QCOMPARE(front(), QStringLiteral("notepad"));
        // Ctrl+J on a screen beneath brings the open Jotter forward, still one Jotter.
        QTest::keyClick(windowOf(teacherGuidePage(0)), Qt::Key_J, Qt::ControlModifier);
        QCOMPARE(loadedScreens().count(QStringLiteral("notepad")), 1);
        click(*form<notepad>().Command1);
        QVERIFY(!form<notepad>().isLoaded());
        QCOMPARE(front(), QStringLiteral("TeacherGuide0"));
    }
};

QTEST_MAIN(TestFlow)
#include "test_flow.moc"
