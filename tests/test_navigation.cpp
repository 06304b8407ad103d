// The opening screen and the backdrop: title and back, "Hide Desktop" across visits, the desktop links.
#include "Grey.h"
#include "TeacherGuide.h"
#include "TopicMenu.h"
#include "intro0.h"
#include "navigation_data.h"

#include <QtTest>

using namespace vb;
using namespace testsupport;

class TestNavigation : public QObject {
    Q_OBJECT
    NavigationFixture fx;

private slots:
    void init() { fx.setUp(); }
    void cleanup() { fx.tearDown(); }

    void titleAndOpeningScreenLeadToEachOther() {
        startAtOpeningScreen();
        click(*form<intro0>().Command1); // Exit offers the title with Cancel, which comes back
        QCOMPARE(loadedScreens(), QStringList({"Titlefrm"}));
        QCOMPARE(form<Titlefrm>().Command1->Caption(), QStringLiteral("Cancel"));
        click(*form<Titlefrm>().Command1);
        QCOMPARE(loadedScreens(), QStringList({"intro0"}));
        // Brought forward from a task bar over menu2, the opening screen still leaves one menu.
        click(form<intro0>().Label2(1));
        Runtime::dispatch([] { form<intro0>().Show(); });
        click(form<intro0>().Label2(3));
        QCOMPARE(loadedScreens(), QStringList({"intro0", "menu4"}));
        QCOMPARE(stackNames().last(), QStringLiteral("menu4"));
    }

    void hideDesktopPutsTheBackdropBehindUntilUnticked() {
        startAtOpeningScreen();
        click(*form<intro0>().Check1);
        const Grey& g = form<Grey>();
        const quint64 greyGeneration = g.generation();
        click(*form<intro0>().Command1);
        QCOMPARE(stackNames(), QStringList({"Grey", "Titlefrm"}));
        click(*form<Titlefrm>().Command1);
        intro0& o = form<intro0>();
        QCOMPARE(o.Check1->Value(), 1); // ticked again by the opening screen's Load
        QCOMPARE(stackNames(), QStringList({"Grey", "intro0"}));
        QCOMPARE(g.generation(), greyGeneration); // the same backdrop, not a new one
        QVERIFY(o.Label2(4).Visible());           // completed after its early showing by the check box

        // Through the menus the backdrop stays at the back, even when clicked.
        click(o.Label2(0));
        click(form<menu1>().Label2(2));
        QTest::mouseClick(windowOf(g), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QTest::mouseDClick(windowOf(g), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QCOMPARE(stackNames(), QStringList({"Grey", "intro0", "menu3"}));

        // Unticked, it goes for good.
        click(*form<menu3>().Command1);
        click(*o.Check1);
        click(*o.Command1);
        click(*form<Titlefrm>().Command1);
        QCOMPARE(form<intro0>().Check1->Value(), 0);
        QVERIFY(!g.isLoaded());
    }

    // Each click on a link asks the desktop again; a desktop that cannot open it leaves the screen as it is.
    void aLinkAsksTheDesktopOnEveryClickEvenWhenItRefuses_data() {
        QTest::addColumn<bool>("guide");
        QTest::addColumn<QString>("target");
        QTest::newRow("web site") << false << "https://www.quorvane.example/";
        QTest::newRow("guide document") << true << "Teacher Guide.doc";
    }
    void aLinkAsksTheDesktopOnEveryClickEvenWhenItRefuses() {
        QFETCH(bool, guide);
        QFETCH(QString, target);
        startAtOpeningScreen();
        if (guide) click(form<intro0>().Label2(7));
        Label& link = guide ? *teacherGuidePage(0).Label2 : form<intro0>().Label2(6);
        click(link);
        fx.desktop->refuses = true;
        click(link);
        QCOMPARE(fx.desktop->opened.size(), 2);
        QCOMPARE(fx.desktop->opened[1].target, target);
        QVERIFY(fx.desktop->errorReports.isEmpty());
        QCOMPARE(stackNames().last(), guide ? QStringLiteral("TeacherGuide0") : QStringLiteral("intro0"));
        QVERIFY(!Runtime::ended());
    }
};

QTEST_MAIN(TestNavigation)
#include "test_navigation.moc"
