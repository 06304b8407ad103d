// The opening screen and the backdrop: the way in from the title screen and back, "Hide Desktop" across
// visits, the backdrop's place at the back, and the links to the web site and the guide's document.
#include "Grey.h"
#include "TeacherGuide.h"
#include "TopicMenu.h"
#include "intro0.h"
#include "navigation_data.h"

#include <QGuiApplication>
#include <QScreen>
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
        QCOMPARE(stackNames(), QStringList({"intro0"}));
        // Exit offers the title, built afresh, with Cancel, which comes back (again and again:
        // test_openclose).
        click(*form<intro0>().Command1);
        QCOMPARE(loadedScreens(), QStringList({"Titlefrm"}));
        Titlefrm& title = form<Titlefrm>();
        QVERIFY(title.hWnd()->isVisible());
        QCOMPARE(title.Command1->Caption(), QStringLiteral("Cancel"));
        QVERIFY(title.Picture1->Picture().path().contains(QStringLiteral("beesm.jpg"))); // Load ran again
        click(*title.Command1);
        QCOMPARE(loadedScreens(), QStringList({"intro0"}));
    }

    void openingAMenuFromTheOpeningScreenLeavesOnlyThatMenu() {
        startAtOpeningScreen();
        click(form<intro0>().Label2(1));
        // The opening screen brought forward from outside the program (a task bar) while menu2 is open.
        Runtime::dispatch([] { form<intro0>().Show(); });
        click(form<intro0>().Label2(3));
        QCOMPARE(loadedScreens(), QStringList({"intro0", "menu4"}));
        QCOMPARE(stackNames().last(), QStringLiteral("menu4"));
    }

    void hideDesktopPutsTheBackdropBehindUntilUnticked() {
        startAtOpeningScreen();
        click(*form<intro0>().Check1);
        QCOMPARE(hidedesktop, 1);
        const Grey& g = form<Grey>();
        QVERIFY(g.hWnd()->geometry().contains(QGuiApplication::primaryScreen()->geometry()));
        QCOMPARE(stackNames(), QStringList({"Grey", "intro0"}));
        const quint64 greyGeneration = g.generation();

        click(*form<intro0>().Command1);
        QCOMPARE(hidedesktop, 1);
        QCOMPARE(stackNames(), QStringList({"Grey", "Titlefrm"}));

        click(*form<Titlefrm>().Command1);
        intro0& o = form<intro0>();
        QCOMPARE(o.Check1->Value(), 1); // ticked again by the opening screen's Load
        QCOMPARE(stackNames(), QStringList({"Grey", "intro0"}));
        QCOMPARE(g.generation(), greyGeneration); // the same backdrop, not a new one
        QVERIFY(o.Label2(4).Visible());           // completed after its early showing by the check box
        QCOMPARE(o.Picture().path(), QStringLiteral("Images\\bee.jpg"));

        // Through the menus the backdrop stays at the back; a menu's Exit uncovers the same opening screen.
        const quint64 generation = o.generation();
        click(o.Label2(0));
        click(form<menu1>().Label2(2));
        QCOMPARE(stackNames(), QStringList({"Grey", "intro0", "menu3"}));
        for (const QPoint at : {QPoint(5, 5), QPoint(790, 590), QPoint(400, 300)}) { // not even when clicked
            QTest::mouseClick(windowOf(g), Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseDClick(windowOf(g), Qt::LeftButton, Qt::NoModifier, at);
            QCOMPARE(stackNames(), QStringList({"Grey", "intro0", "menu3"}));
        }
        click(*form<menu3>().Command1);
        QCOMPARE(stackNames(), QStringList({"Grey", "intro0"}));
        QCOMPARE(o.generation(), generation);
        QCOMPARE(o.Check1->Value(), 1);

        // Unticked on the next visit, it goes for good.
        click(*o.Command1);
        click(*form<Titlefrm>().Command1);
        click(*form<intro0>().Check1);
        QCOMPARE(hidedesktop, 0);
        QCOMPARE(loadedScreens(), QStringList({"intro0"}));
        click(*form<intro0>().Command1);
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
        intro0& o = form<intro0>();
        click(*o.Label1); // no other label asks anything of the desktop
        if (guide) click(o.Label2(7));
        Label& link = guide ? *teacherGuidePage(0).Label2 : o.Label2(6);
        for (int i = 0; i < 3; ++i)
            click(link);
        QCOMPARE(fx.desktop->opened.size(), 3);
        for (const auto& request : fx.desktop->opened)
            QCOMPARE(request.verb + u' ' + request.target, QStringLiteral("open ") + target);

        fx.desktop->refuses = true;
        click(link);
        QCOMPARE(fx.desktop->opened.size(), 4);
        QVERIFY(fx.desktop->errorReports.isEmpty());
        QCOMPARE(stackNames().last(), guide ? QStringLiteral("TeacherGuide0") : QStringLiteral("intro0"));
        QVERIFY(!Runtime::ended());
    }

    void wwwLinksIsHiddenAndDoesNothing() {
        startAtOpeningScreen();
        intro0& o = form<intro0>();
        // Hidden, a click at its place lands on the bare screen; its handler called anyway does nothing
        // either.
        QTest::mouseClick(windowOf(o), Qt::LeftButton, Qt::NoModifier, pointIn(o.Label2(5)));
        Runtime::dispatch([&o] { o.Label2_Click(5); });
        QCOMPARE(loadedScreens(), QStringList({"intro0"}));
        QVERIFY(fx.desktop->opened.isEmpty());
        QVERIFY(!Runtime::ended());
    }
};

QTEST_MAIN(TestNavigation)
#include "test_navigation.moc"
