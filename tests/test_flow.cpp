// The program as a teacher walks through it, with the real pictures and activities: the controls clicked,
// and the screens then in front and loaded (menus, guide and backdrop on their own: test_menus, test_guide,
// test_navigation). The tour checks the program's rules after every click.
#include "tour.h"

#include <QtTest>

using namespace vb;

class TestFlow : public tour::Fixture {
    Q_OBJECT
private slots:
    // With the Jotter open, which stays in front while screens come and go: an activity's Exit uncovers its
    // menu, still loaded, whose Exit uncovers the opening screen, and the guide comes up from there.
    void aLessonWithTheJotterOpen() {
        tour::start();
        QVERIFY(tour::open(QString::fromLatin1(tour::kOpening)));
        QVERIFY(tour::open(QString::fromLatin1(tour::kJotter)));
        for (const char* click : {"intro0 Label2(1)", "menu2 Label3(1)", "reflex Label3(0)", "menu2 Command1",
                                  "intro0 Label2(7)"}) {
            const QStringList at = QString::fromLatin1(click).split(u' ');
            Form* f = tour::loadedScreen(at[0]);
            QVERIFY2(f && tour::clickControl(*f, at[1]), click);
        }
        QCOMPARE(tour::frontScreen()->Name(), QStringLiteral("TeacherGuide0"));
        QStringList names = Runtime::loadedFormNames();
        names.sort();
        QCOMPARE(names, QStringList({"TeacherGuide0", "intro0", "notepad"}));
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
