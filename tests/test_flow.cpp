// The program as a teacher walks through it, with the real pictures: the controls clicked, and the screens
// then in front and loaded. The tour checks the program's rules after every click.
#include "tour.h"

#include <QtTest>

using namespace vb;

class TestFlow : public tour::Fixture {
    Q_OBJECT
private slots:
    void clicks_data() {
        QTest::addColumn<bool>("jotter"); // Ctrl+J first: the Jotter stays in front while screens come and go
        QTest::addColumn<QStringList>("clicks"); // "screen control" from the opening screen; "!": dimmed
        QTest::addColumn<QString>("front");
        QTest::addColumn<QStringList>("loaded");
        const auto row = [](const char* name, bool jotter, const QString& clicks, const char* front,
                            const QString& loaded) {
            QTest::newRow(name) << jotter << clicks.split(QStringLiteral(", ")) << QString::fromLatin1(front)
                                << loaded.split(u' ');
        };
        row("Sampling Methods", false, "intro0 Label2(0), menu1 Label3(0)", "quadrat",
            "intro0 menu1 quadrat");
        row("Reflex Action", false, "intro0 Label2(1), menu2 Label3(1)", "reflex", "intro0 menu2 reflex");
        row("Biological Sentence", false, "intro0 Label2(4), menu5 Label3(4)", "sentence",
            "intro0 menu5 sentence");
        row("activity exit", false, "intro0 Label2(1), menu2 Label3(1), reflex Label3(0)", "menu2",
            "intro0 menu2");
        row("menu exit", false, "intro0 Label2(3), menu4 Command1", "intro0", "intro0");
        row("menu to menu", false, "intro0 Label2(0), menu1 Label2(2)", "menu3", "intro0 menu3");
        row("own menu", false, "intro0 Label2(1), menu2 Label2(1)", "menu2", "intro0 menu2");
        row("dimmed entries", false, "intro0 Label2(1), !menu2 Label3(0), !menu2 Label3(2), !menu2 Label3(4)",
            "menu2", "intro0 menu2");
        row("guide next", false, "intro0 Label2(7), TeacherGuide0 Label3(1)", "TeacherGuide1",
            "TeacherGuide1 intro0");
        row("guide previous", false, "intro0 Label2(7), TeacherGuide0 Label3(1), TeacherGuide1 Label3(2)",
            "TeacherGuide0", "TeacherGuide0 intro0");
        row("guide exit", false, "intro0 Label2(7), TeacherGuide0 Label3(0)", "intro0", "intro0");
        row("Hide Desktop", false, "intro0 Check1", "intro0", "Grey intro0");
        row("Jotter", true,
            "intro0 Label2(1), menu2 Label3(1), reflex Label3(0), menu2 Command1, intro0 Label2(7)",
            "TeacherGuide0", "TeacherGuide0 intro0 notepad");
    }
    void clicks() {
        QFETCH(bool, jotter);
        QFETCH(QStringList, clicks);
        QFETCH(QString, front);
        QFETCH(QStringList, loaded);
        tour::start();
        QVERIFY(tour::open(QString::fromLatin1(tour::kOpening)));
        QVERIFY(!jotter || tour::open(QString::fromLatin1(tour::kJotter)));
        for (QString click : clicks) {
            const bool dimmed = click.startsWith(u'!');
            const QStringList at = click.remove(u'!').split(u' ');
            Form* f = tour::loadedScreen(at[0]);
            QVERIFY2(f && f->hWnd()->findChild<Control*>(at[1]), qPrintable(click));
            QCOMPARE(f->hWnd()->findChild<Control*>(at[1])->isEnabled(), !dimmed);
            QCOMPARE(tour::clickControl(*f, at[1]), !dimmed);
        }
        QCOMPARE(tour::frontScreen()->Name(), front);
        QStringList names = Runtime::loadedFormNames();
        names.sort();
        QCOMPARE(names, loaded);
    }

    // A click bound to a control the screen never creates would do nothing: the load stops, naming both.
    void aHandlerForNoControlStopsTheLoad() {
        struct Stray : Form {
            Stray() : Form(QStringLiteral("Stray")) {
                Label1.onClick([] {});
                Label9.onClick([] {});
            }
            Ctl<Label> Label1{this, "Label1"}, Label9{this, "Label9"};
            void Design() override { add<Label>(QStringLiteral("Label1"), 0, 0, 600, 300); }
        };
        Runtime::dispatch([] { form<Stray>().Show(); });
        testsupport::expectStoppedWithReport(
            dynamic_cast<testsupport::RecordingPlatform&>(Runtime::platform()),
            {QStringLiteral("Stray"), QStringLiteral("Label9")});
    }
};

QTEST_MAIN(TestFlow)
#include "test_flow.moc"
