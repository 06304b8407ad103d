// The whole program as a teacher walks through it, with the real pictures: title, opening screen, every
// menu and live activity, the guide, the backdrop and the Jotter over all of them.
#include "Grey.h"
#include "Module1.h"
#include "TeacherGuide.h"
#include "Titlefrm.h"
#include "TopicMenu.h"
#include "intro0.h"
#include "jotteraccess.h"
#include "notepad.h"
#include "quadrat.h"
#include "reflex.h"
#include "sentence.h"
#include "support/testsupport.h"

#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {
QStringList loaded() {
    QStringList names = Runtime::loadedFormNames();
    names.sort();
    return names;
}

QString front() {
    const auto order = Runtime::stackingOrder();
    return order.isEmpty() ? QString() : order.last()->Name();
}

void ctrlJ(const Form& on) {
    QTest::keyClick(windowOf(on), Qt::Key_J, Qt::ControlModifier);
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
        Runtime::dispatch([] { form<Titlefrm>().Show(); });
        QVERIFY(!form<Titlefrm>().Picture1->Picture().isEmpty()); // the drawn picture is found
        click(*form<Titlefrm>().Command1);
        QCOMPARE(loaded(), QStringList({"intro0"}));
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
        QVERIFY(m.isLoaded());
        click(m.Label3(entry));
        QCOMPARE(front(), activity);
        QStringList expected{activity, m.Name(), QStringLiteral("intro0")};
        expected.sort();
        QCOMPARE(loaded(), expected);
        Form* a = Runtime::formNamed(activity);
        // Every activity's exit is its Label3(0).
        click(*a->findControl(QStringLiteral("Label3"), 0));
        QCOMPARE(front(), m.Name());
        QVERIFY(!a->isLoaded());
        click(*m.Command1);
        QCOMPARE(loaded(), QStringList({"intro0"}));
    }

    void theGuideChainsAllSixPagesAndExitUncoversTheOpeningScreen() {
        click(form<intro0>().Label2(7));
        for (int page = 0; page < 5; ++page) {
            TeacherGuidePage& p = teacherGuidePage(page);
            QCOMPARE(loaded(), QStringList({p.Name(), "intro0"}));
            click(p.Label3(1));
        }
        TeacherGuidePage& last = teacherGuidePage(5);
        QCOMPARE(loaded(), QStringList({"TeacherGuide5", "intro0"}));
        QVERIFY(!last.Label3(1).Visible());
        click(last.Label3(0));
        QCOMPARE(loaded(), QStringList({"intro0"}));
        QCOMPARE(front(), QStringLiteral("intro0"));
    }

    void theJotterStaysInFrontWhileScreensComeAndGoBeneathIt() {
        ctrlJ(form<intro0>());
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
        ctrlJ(teacherGuidePage(0));
        QCOMPARE(loaded().count(QStringLiteral("notepad")), 1);
        click(*form<notepad>().Command1);
        QVERIFY(!form<notepad>().isLoaded());
        QCOMPARE(front(), QStringLiteral("TeacherGuide0"));
    }

    void theBackdropStaysBehindEverythingAcrossAWholeVisit() {
        click(*form<intro0>().Check1);
        QCOMPARE(hidedesktop, 1);
        QVERIFY(form<Grey>().isLoaded());
        for (int n = 1; n <= 5; ++n) {
            click(form<intro0>().Label2(n - 1));
            QCOMPARE(Runtime::stackingOrder().first()->Name(), QStringLiteral("Grey"));
            click(*topicMenu(n).Command1);
        }
        click(*form<intro0>().Command1); // back to the title, the backdrop stays
        QCOMPARE(loaded(), QStringList({"Grey", "Titlefrm"}));
        QCOMPARE(front(), QStringLiteral("Titlefrm"));
        click(*form<Titlefrm>().Command1);
        QCOMPARE(form<intro0>().Check1->Value(), 1);
        QCOMPARE(front(), QStringLiteral("intro0"));
        QCOMPARE(Runtime::stackingOrder().first()->Name(), QStringLiteral("Grey"));
    }
};

QTEST_MAIN(TestFlow)
#include "test_flow.moc"
