// The opening screen and the backdrop: the way in from the title screen and back, "Hide Desktop" across
// visits, the backdrop's place at the back, the links to the web site and the guide, and missing pictures.
#include "Grey.h"
#include "Module1.h"
#include "Titlefrm.h"
#include "TopicMenu.h"
#include "intro0.h"
#include "navigation_data.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {
// A point on the bare opening screen, away from every control.
const QPoint kBare(300, 120);
} // namespace

class TestNavigation : public QObject {
    Q_OBJECT
    RecordingPlatform* desktop = nullptr;
    std::unique_ptr<NavigationData> data;

private slots:
    void init() {
        freshRuntime();
        desktop = &recordDesktop();
        hidedesktop = 0;
        data = std::make_unique<NavigationData>();
    }
    void cleanup() {
        freshRuntime();
        data.reset();
        hidedesktop = 0;
    }

    void titleOkOpensTheOpeningScreenAndUnloadsTheTitle() {
        Runtime::dispatch([] { form<Titlefrm>().Show(); });
        QCOMPARE(form<Titlefrm>().Command1->Caption(), QStringLiteral("OK"));
        click(*form<Titlefrm>().Command1);
        QCOMPARE(loadedScreens(), QStringList({"intro0"}));
        QVERIFY(form<intro0>().hWnd()->isVisible());
        QCOMPARE(stackNames(), QStringList({"intro0"}));
        QVERIFY(!Runtime::ended());
    }

    void exitGoesToTheTitleWithCancelAndCancelComesBack() {
        startAtOpeningScreen();
        for (int round = 0; round < 2; ++round) {
            click(*form<intro0>().Command1);
            QCOMPARE(loadedScreens(), QStringList({"Titlefrm"}));
            Titlefrm& title = form<Titlefrm>();
            QVERIFY(title.hWnd()->isVisible());
            QCOMPARE(title.Command1->Caption(), QStringLiteral("Cancel"));
            QCOMPARE(title.Command2->Caption(), QStringLiteral("Exit"));
            QVERIFY(title.Picture1->Picture().path().contains(QStringLiteral("beesm.jpg"))); // Load ran again
            click(*title.Command1);
            QCOMPARE(loadedScreens(), QStringList({"intro0"}));
            QVERIFY(form<intro0>().hWnd()->isVisible());
        }
        QVERIFY(!Runtime::ended());
    }

    void openingScreenLayout() {
        startAtOpeningScreen();
        intro0& o = form<intro0>();
        QCOMPARE(o.Caption(), QStringLiteral("Quorvane"));
        QCOMPARE(o.BackColor(), RGB(49, 135, 215));
        QCOMPARE(o.Picture().path(), QStringLiteral("Images\\bee.jpg"));
        QCOMPARE(o.Label1->Caption(), QStringLiteral("Biology Year 10 Zestora Demo"));
        QCOMPARE(o.Label1->BackStyle(), int(vbTransparent));

        QCOMPARE(o.Label2(7).Caption(), QStringLiteral("Teachers' Guide"));
        QCOMPARE(o.Label2(7).Left(), 9600.0f);
        QCOMPARE(o.Label2(7).Top(), 1680.0f);
        QVERIFY(o.Label2(7).Visible());
        const QStringList menus = {"Menu 1", "Menu 2", "Menu 3", "Menu 4", "Menu 5"};
        for (int i = 0; i < 5; ++i) {
            Label& l = o.Label2(i);
            QCOMPARE(l.Caption(), menus[i]);
            QCOMPARE(l.Left(), 9600.0f);
            QCOMPARE(l.Top(), 2400.0f + 750.0f * i);
            QCOMPARE(l.BackStyle(), int(vbOpaque));
            QVERIFY(l.Visible());
        }
        QCOMPARE(o.Label2(5).Caption(), QStringLiteral("WWW Links"));
        QCOMPARE(o.Label2(5).Left(), 9600.0f);
        QCOMPARE(o.Label2(5).Top(), 6900.0f);
        QVERIFY(!o.Label2(5).Visible());
        QCOMPARE(o.Label2(6).Caption(), QStringLiteral("www.quorvane.example"));
        QCOMPARE(o.Label2(6).Left(), 8520.0f);
        QCOMPARE(o.Label2(6).Top(), 7680.0f);
        QVERIFY(o.Label2(6).Visible());
        QCOMPARE(o.Label3->Caption(), QStringLiteral("Copyright \u00A9 2026 Quorvane Educational Software"));
        QCOMPARE(o.Label3->Left() + o.Label3->Width(), 11790.0f); // its right edge, where the text ends
        QCOMPARE(o.Label3->BackStyle(), int(vbTransparent));

        QVERIFY(o.Command1->Visible());
        QCOMPARE(o.Command1->Left(), 60.0f);
        QCOMPARE(o.Command1->Top(), 7950.0f);
        QCOMPARE(o.Command1->Picture().path(), QStringLiteral("Images\\exit.jpg"));
        QCOMPARE(o.Image2->Picture().path(), QStringLiteral("Images\\logo2.jpg"));
        QCOMPARE(o.Check1->Caption(), QStringLiteral("Hide Desktop"));
        QCOMPARE(o.Check1->Value(), 0);
        QCOMPARE(o.Check1->BackColor(), RGB(139, 158, 96));
    }

    void menuLabelsOpenMenusOverTheOpeningScreen_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < 5; ++i)
            QTest::newRow(qPrintable(QStringLiteral("Menu %1").arg(i + 1))) << i;
    }
    void menuLabelsOpenMenusOverTheOpeningScreen() {
        QFETCH(int, index);
        startAtOpeningScreen();
        intro0& o = form<intro0>();
        const quint64 generation = o.generation();
        click(o.Label2(index));
        const QString menu = QStringLiteral("menu%1").arg(index + 1);
        QCOMPARE(loadedScreens(), sorted({"intro0", menu}));
        QCOMPARE(stackNames(), QStringList({"intro0", menu}));
        QCOMPARE(o.generation(), generation); // not reloaded underneath
        QVERIFY(o.hWnd()->isVisible());
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

    void hideDesktopPutsTheBackdropBehindAndUncheckingRemovesIt() {
        startAtOpeningScreen();
        intro0& o = form<intro0>();
        click(*o.Check1);
        QCOMPARE(o.Check1->Value(), 1);
        QCOMPARE(hidedesktop, 1);
        Grey& g = form<Grey>();
        QVERIFY(g.isLoaded());
        QVERIFY(g.hWnd()->isVisible());
        QCOMPARE(g.BackColor(), RGB(48, 133, 214));
        QCOMPARE(g.WindowState(), int(vbMaximized));
        QCOMPARE(g.hWnd()->geometry(), QGuiApplication::primaryScreen()->geometry());
        QVERIFY(g.hWnd()->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(g.hWnd()->windowFlags() & Qt::WindowStaysOnBottomHint);
        QVERIFY(g.controls().isEmpty());
        QCOMPARE(stackNames(), QStringList({"Grey", "intro0"}));

        click(*o.Check1);
        QCOMPARE(o.Check1->Value(), 0);
        QCOMPARE(hidedesktop, 0);
        QVERIFY(!g.isLoaded());
        QCOMPARE(loadedScreens(), QStringList({"intro0"}));
        QCOMPARE(stackNames(), QStringList({"intro0"}));
    }

    void theBackdropSurvivesExitAndReturn() {
        startAtOpeningScreen();
        click(*form<intro0>().Check1);
        Grey& g = form<Grey>();
        const quint64 greyGeneration = g.generation();

        click(*form<intro0>().Command1);
        QCOMPARE(hidedesktop, 1);
        QCOMPARE(loadedScreens(), QStringList({"Grey", "Titlefrm"}));
        QCOMPARE(stackNames(), QStringList({"Grey", "Titlefrm"}));

        click(*form<Titlefrm>().Command1);
        intro0& o = form<intro0>();
        QCOMPARE(o.Check1->Value(), 1); // ticked again by the opening screen's Load
        QCOMPARE(hidedesktop, 1);
        QCOMPARE(loadedScreens(), QStringList({"Grey", "intro0"}));
        QCOMPARE(stackNames(), QStringList({"Grey", "intro0"}));
        QCOMPARE(g.generation(), greyGeneration); // the same backdrop, not a new one
        // The opening screen was completed after its early showing by the check box.
        QVERIFY(o.Label2(4).Visible());
        QCOMPARE(o.Picture().path(), QStringLiteral("Images\\bee.jpg"));

        // Through the menus, the backdrop stays at the back.
        click(o.Label2(0));
        QCOMPARE(stackNames(), QStringList({"Grey", "intro0", "menu1"}));
        click(form<menu1>().Label2(2));
        QCOMPARE(stackNames(), QStringList({"Grey", "intro0", "menu3"}));
        click(*form<menu3>().Command1);
        QCOMPARE(stackNames(), QStringList({"Grey", "intro0"}));
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

    void aClickOnTheBackdropDoesNotBringItForward() {
        startAtOpeningScreen();
        click(*form<intro0>().Check1);
        click(form<intro0>().Label2(1));
        const QStringList before = {"Grey", "intro0", "menu2"};
        QCOMPARE(stackNames(), before);
        Grey& g = form<Grey>();
        QWindow* w = windowOf(g);
        QVERIFY(w);
        QVERIFY(g.hWnd()->windowFlags() & Qt::WindowDoesNotAcceptFocus);
        for (const QPoint at : {QPoint(5, 5), QPoint(790, 590), QPoint(400, 300)}) {
            QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, at);
            QCOMPARE(stackNames(), before);
        }
        // Showing it again, as the opening screen does on every return, keeps it at the back too.
        Runtime::dispatch([&g] { g.Show(); });
        QCOMPARE(stackNames(), before);
        // And it stays behind a screen shown later.
        Runtime::dispatch([] { form<Titlefrm>().Show(); });
        QCOMPARE(stackNames().first(), QStringLiteral("Grey"));
    }

    void theWebAddressIsOpenedByTheDesktop() {
        startAtOpeningScreen();
        intro0& o = form<intro0>();
        click(o.Label2(6));
        QCOMPARE(desktop->opened.size(), 1);
        QCOMPARE(desktop->opened[0].verb, QStringLiteral("open"));
        QCOMPARE(desktop->opened[0].target, QStringLiteral("https://www.quorvane.example/"));
        QCOMPARE(loadedScreens(), QStringList({"intro0"}));
        click(o.Label2(6));
        QCOMPARE(desktop->opened.size(), 2);
        QCOMPARE(desktop->opened[1].target, QStringLiteral("https://www.quorvane.example/"));
        // No other label asks anything of the desktop.
        click(o.Label2(7));
        click(o.Label1.get());
        QCOMPARE(desktop->opened.size(), 2);
    }

    void aRefusedWebAddressLeavesTheScreenAsItIs() {
        struct Refusing : RecordingPlatform {
            bool shellOpen(QWidget* owner, const QString& verb, const QString& target) override {
                RecordingPlatform::shellOpen(owner, verb, target);
                return false;
            }
        };
        auto refusing = std::make_unique<Refusing>();
        Refusing& r = *refusing;
        Runtime::setPlatform(std::move(refusing));
        startAtOpeningScreen();
        click(form<intro0>().Label2(6));
        QCOMPARE(r.opened.size(), 1);
        QVERIFY(!Runtime::ended());
        QVERIFY(r.errorReports.isEmpty());
        QCOMPARE(loadedScreens(), QStringList({"intro0"}));
    }

    void wwwLinksIsHiddenAndDoesNothing() {
        startAtOpeningScreen();
        intro0& o = form<intro0>();
        Label& links = o.Label2(5);
        QVERIFY(!links.Visible());
        // A click at its place lands on the bare screen.
        QWindow* w = windowOf(o);
        const QPoint at = links.geometry().center();
        QVERIFY(!o.hWnd()->childAt(at));
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at);
        Runtime::dispatch([&o] { o.Label2_Click(5); });
        QCOMPARE(loadedScreens(), QStringList({"intro0"}));
        QVERIFY(desktop->opened.isEmpty());
        QVERIFY(!Runtime::ended());
    }

    void teachersGuideOpensPageOneOverTheOpeningScreen() {
        startAtOpeningScreen();
        intro0& o = form<intro0>();
        click(o.Label2(7));
        QCOMPARE(loadedScreens(), QStringList({"TeacherGuide0", "intro0"}));
        QCOMPARE(stackNames().last(), QStringLiteral("TeacherGuide0"));
    }

    void titleHoverOnTheOpeningScreen() {
        startAtOpeningScreen();
        intro0& o = form<intro0>();
        QWindow* w = windowOf(o);
        auto states = [&o] {
            QList<int> s{o.Label1->BackStyle()};
            for (int i : {0, 1, 2, 3, 4, 6, 7})
                s << o.Label2(i).BackStyle();
            return s;
        };
        const QList<int> titleClear = {0, 1, 1, 1, 1, 1, 1, 1};
        const QList<int> titleBoxed = {1, 1, 1, 1, 1, 1, 1, 1};
        QCOMPARE(states(), titleClear);
        hover(w, pointIn(*o.Label1));
        QCOMPARE(states(), titleBoxed);
        hover(w, pointIn(*o.Label1, QPoint(5, 5)));
        QCOMPARE(states(), titleBoxed);
        hover(w, kBare);
        QCOMPARE(states(), titleClear);
        // The buttons are opaque and stay so: hovering them, then the bare screen, changes nothing of theirs.
        hover(w, pointIn(o.Label2(2)));
        QCOMPARE(states(), titleClear);
        hover(w, pointIn(*o.Label1));
        hover(w, pointIn(o.Label2(6)));
        QCOMPARE(states(), titleBoxed);
        hover(w, kBare + QPoint(10, 0));
        QCOMPARE(states(), titleClear);
    }

    void missingPictureEndsTheProgramNamingIt_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("background") << "bee.jpg";
        QTest::newRow("logo") << "logo2.jpg";
        QTest::newRow("exit button") << "exit.jpg";
    }
    void missingPictureEndsTheProgramNamingIt() {
        QFETCH(QString, file);
        data->remove(qPrintable(file));
        startAtOpeningScreen();
        QVERIFY(Runtime::ended());
        QCOMPARE(Runtime::exitCode(), 1);
        QCOMPARE(desktop->errorReports.size(), 1);
        QVERIFY2(desktop->errorReports[0].contains(file), qPrintable(desktop->errorReports[0]));
        QVERIFY(Runtime::loadedFormNames().isEmpty());
    }
};

QTEST_MAIN(TestNavigation)
#include "test_navigation.moc"
