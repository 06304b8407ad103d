// The program as a teacher walks through it, with the real pictures and activities, the tour checking the
// program's rules after every click; and a lesson that opens and closes the same screens again and again:
// after 200 rounds of every screen there are no more windows, widgets, controls or loaded screens than after
// the first. (Leaks of memory that nothing holds any more are LeakSanitizer's part, in the sanitizer run.)
#include "registry.h"
#include "tour.h"

#include <QtTest>

using namespace vb;

namespace {

QString census() {
    tour::settle();
    int shown = 0, controls = 0, loadedControls = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        shown += w->isVisible();
    for (QWidget* w : QApplication::allWidgets())
        controls += qobject_cast<Control*>(w) != nullptr;
    for (Form* f : Runtime::loadedForms())
        loadedControls += int(f->controls().size());
    QString s;
    QDebug(&s).nospace() << QApplication::topLevelWidgets().size() << " top-level (" << shown << " shown), "
                         << QApplication::allWidgets().size() << " widgets, " << controls << " controls, "
                         << qApp->children().size() << " children of the application, "
                         << Runtime::loadedForms().size() << " loaded screens with " << loadedControls
                         << " controls";
    return s;
}

} // namespace

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

    // Every screen opened and closed by clicks, as at the board (the title goes and comes back with the
    // opening screen).
    void rounds_data() {
        QTest::addColumn<QString>("screen");
        for (const QString& s : tour::reachableScreens())
            if (s != QLatin1String(tour::kFirstScreen)) QTest::newRow(qPrintable(s)) << s;
    }
    void rounds() {
        QFETCH(QString, screen);
        auto round = [&] { return tour::open(screen) && tour::close(screen) && !tour::loadedScreen(screen); };
        tour::start();
        // One round first: pictures are decoded and kept, lists make their popups, fonts are loaded, and a
        // screen that needs another (the menus take the opening screen's picture) leaves that one loaded.
        QVERIFY(round());
        const QString before = census();
        const int rounds = qEnvironmentVariableIntValue("OPENCLOSE_ROUNDS");
        for (int i = 0; i < (rounds > 0 ? rounds : 200); ++i)
            QVERIFY2(round(), qPrintable(QStringLiteral("round %1").arg(i)));
        QCOMPARE(census(), before);
        QVERIFY(!Runtime::ended());
    }

    // Every way of the map, taken by its click, brings up its screen; a menu's column and a guide page's
    // links say where they lead: "Menu 3" the menu of that title, "<< Previous Page" the page before.
    void everyWayOfTheMap_data() {
        QTest::addColumn<QStringList>("way"); // from, control, to
        for (const ScreenInfo& s : allScreens())
            if (!s.from.isEmpty())
                QTest::addRow("%s %s", qPrintable(s.from), qPrintable(s.open))
                    << QStringList{s.from, s.open, s.name};
        for (const Way& w : otherWays())
            QTest::addRow("%s %s", qPrintable(w.from), qPrintable(w.control))
                << QStringList{w.from, w.control, w.to};
    }
    void everyWayOfTheMap() {
        QFETCH(QStringList, way);
        auto caption = [](const QString& screen, const QString& control) {
            Form* f = tour::loadedScreen(screen);
            Control* c = f ? f->hWnd()->findChild<Control*>(control) : nullptr;
            return c ? c->caption() : QString();
        };
        QVERIFY(tour::open(way[0]));
        const QString says = caption(way[0], way[1]);
        QVERIFY(tour::clickControl(*tour::loadedScreen(way[0]), way[1]));
        QVERIFY(tour::loadedScreen(way[2]));
        QVERIFY(way[2] == QLatin1String(tour::kBackdrop) || tour::frontScreen()->Name() == way[2]);
        if (says.startsWith(QLatin1String("Menu"))) QCOMPARE(caption(way[2], QStringLiteral("Label1")), says);
        if (says.contains(QLatin1String("Page"))) // TeacherGuide0 to TeacherGuide5
            QCOMPARE(way[2].back().digitValue(),
                     way[0].back().digitValue() + (says.startsWith(u'<') ? -1 : 1));
    }
};

QTEST_MAIN(TestFlow)
#include "test_flow.moc"
