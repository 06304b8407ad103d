// The five topic menus: their layout, the navigation between them, the live and dimmed entries, the hover
// highlight under real pointer moves, and the picture they share with the opening screen.
#include "Module1.h"
#include "TopicMenu.h"
#include "intro0.h"
#include "navigation_data.h"

#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {

struct Expected {
    int number;
    QStringList entries;
    Single width, left;
    int live;
};

const QList<Expected> kExpected = {
    {1,
     {"Sampling Methods - The Quadrat", "Match the Sampling Apparatus", "The Endocrine System", "Hormones",
      "Response to Stimulus"},
     5655,
     3172.5f,
     0},
    {2,
     {"Stimulus and Response", "Reflex Action", "The Eye", "Accommodation of the Iris", "Plant Hormones"},
     4575,
     3712.5f,
     1},
    {3,
     {"Circulation and Respiration", "Tour of the Blood", "Veins and Arteries", "Blood System Components",
      "Heart Beats"},
     4695,
     3652.5f,
     -1},
    {4,
     {"Transport in the Blood", "Alveoli", "Breathing Apparatus", "Breathing Mechanism",
      "The Digestive System"},
     4095,
     3952.5f,
     -1},
    {5,
     {"Digestive Functions", "Enzymes", "The Small Intestine", "Odd One Out",
      "Constructing a Biological Sentence"},
     5775,
     3112.5f,
     4},
};

// A point on the bare menu screen, away from every control.
const QPoint kBare(300, 120);

// Stands in for an activity: an "Exit" that only unloads itself.
class Activity : public Form {
public:
    Activity() : Form(QStringLiteral("activity")) {
        Label3.onClick([this](int) { Unload(); });
    }
    Arr<Label> Label3{this, "Label3"};

protected:
    void Design() override {
        setClientSize(12000, 9000);
        add<Label>(QStringLiteral("Label3"), 0, 10000, 7000, 1500, 500).setCaption(QStringLiteral("Exit"));
    }
};

TopicMenu& openFromOpeningScreen(int number) {
    startAtOpeningScreen();
    click(form<intro0>().Label2(number - 1));
    return topicMenu(number);
}

// Label1, then Label2(0) to Label2(5), then Label3(0) to Label3(4).
QList<int> backStyles(TopicMenu& m) {
    QList<int> s{m.Label1->BackStyle()};
    for (int i = 0; i <= 5; ++i)
        s << m.Label2(i).BackStyle();
    for (int i = 0; i < 5; ++i)
        s << m.Label3(i).BackStyle();
    return s;
}

void addMenuRows() {
    QTest::addColumn<int>("number");
    for (const Expected& e : kExpected)
        QTest::newRow(qPrintable(QStringLiteral("menu%1").arg(e.number))) << e.number;
}

} // namespace

class TestMenus : public QObject {
    Q_OBJECT
    RecordingPlatform* desktop = nullptr;
    std::unique_ptr<NavigationData> data;
    QList<Form& (*)()> savedActions;

private slots:
    void initTestCase() {
        for (int n = 1; n <= kTopicMenus; ++n)
            savedActions << topicMenuData(n).open;
    }
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
        for (int n = 1; n <= kTopicMenus; ++n)
            setLiveEntryAction(n, savedActions[n - 1]);
    }

    void layoutOfEveryMenu_data() { addMenuRows(); }
    void layoutOfEveryMenu() {
        QFETCH(int, number);
        const Expected& e = kExpected[number - 1];
        TopicMenu& m = openFromOpeningScreen(number);
        QCOMPARE(m.Name(), QStringLiteral("menu%1").arg(number));
        QVERIFY(m.hWnd()->isVisible());
        QCOMPARE(m.Caption(), QStringLiteral("Quorvane"));
        QCOMPARE(m.BackColor(), RGB(49, 135, 215));

        QCOMPARE(m.Label1->Caption(), QStringLiteral("Menu %1").arg(number));
        QCOMPARE(m.Label1->Left(), 2797.5f);
        QCOMPARE(m.Label1->Top(), 120.0f);
        QCOMPARE(m.Label1->ForeColor(), RGB(255, 128, 255));

        for (int i = 0; i < 5; ++i) {
            Label& entry = m.Label3(i);
            QCOMPARE(entry.Caption(), e.entries[i]);
            QCOMPARE(entry.Left(), e.left);
            QCOMPARE(entry.Width(), e.width);
            QCOMPARE(entry.Top(), 2400.0f + 750.0f * i);
            QCOMPARE(entry.Height(), 495.0f);
            QVERIFY(entry.Visible());
            QCOMPARE(entry.Enabled(), i == e.live);
            QVERIFY(entry.captionFits());
        }
        QVERIFY(!m.Label3.exists(5));

        for (int i = 0; i < 5; ++i) {
            Label& nav = m.Label2(i);
            QCOMPARE(nav.Caption(), QStringLiteral("Menu %1").arg(i + 1));
            QCOMPARE(nav.Left(), 9600.0f);
            QCOMPARE(nav.Top(), 2400.0f + 750.0f * i);
            QVERIFY(nav.Visible());
            QVERIFY(nav.Enabled());
        }
        QCOMPARE(m.Label2(5).Caption(), QStringLiteral("WWW Links"));
        QCOMPARE(m.Label2(5).Left(), 9600.0f);
        QCOMPARE(m.Label2(5).Top(), 6900.0f);
        QVERIFY(!m.Label2(5).Visible());
        QVERIFY(!m.Label2.exists(6));

        QVERIFY(m.Command1->Visible());
        QCOMPARE(m.Command1->Left(), 60.0f);
        QCOMPARE(m.Command1->Top(), 7950.0f);
        QCOMPARE(m.Command1->Picture().path(), QStringLiteral("Images\\exit.jpg"));

        // Every label starts in its black box.
        QCOMPARE(backStyles(m), QList<int>(12, vbOpaque));
    }

    void theMenusAreFiveClasses() {
        QCOMPARE(form<menu1>().Name(), QStringLiteral("menu1"));
        QCOMPARE(form<menu5>().Name(), QStringLiteral("menu5"));
        QVERIFY(static_cast<Form*>(&form<menu2>()) != static_cast<Form*>(&form<menu3>()));
        for (int n = 1; n <= kTopicMenus; ++n) {
            Form* menu = &topicMenu(n);
            QCOMPARE(menu, Runtime::formNamed(QStringLiteral("menu%1").arg(n)));
            QCOMPARE(topicMenu(n).number(), n);
        }
    }

    void ownNumberDoesNothing_data() { addMenuRows(); }
    void ownNumberDoesNothing() {
        QFETCH(int, number);
        TopicMenu& m = openFromOpeningScreen(number);
        const quint64 generation = m.generation();
        click(m.Label2(number - 1));
        click(m.Label2(number - 1));
        QCOMPARE(loadedScreens(), sorted({"intro0", m.Name()}));
        QCOMPARE(m.generation(), generation);
        QVERIFY(m.hWnd()->isVisible());
        QCOMPARE(stackNames().last(), m.Name());
    }

    void menuToMenuLeavesOnlyTheNewOne() {
        TopicMenu* m = &openFromOpeningScreen(1);
        const int tour[] = {3, 5, 2, 4, 1, 5, 1};
        for (int next : tour) {
            click(m->Label2(next - 1));
            const QString name = QStringLiteral("menu%1").arg(next);
            QCOMPARE(loadedScreens(), sorted({"intro0", name}));
            QCOMPARE(stackNames(), QStringList({"intro0", name}));
            m = &topicMenu(next);
            QVERIFY(m->hWnd()->isVisible());
        }
        // "WWW Links" is never shown and leads nowhere.
        Runtime::dispatch([m] { m->Label2_Click(5); });
        QCOMPARE(loadedScreens(), QStringList({"intro0", "menu1"}));
    }

    void aMenuVisitedAgainIsBuiltAfresh() {
        TopicMenu& m = openFromOpeningScreen(2);
        QWindow* w = windowOf(m);
        hover(w, kBare);
        QCOMPARE(m.Label1->BackStyle(), int(vbTransparent));
        const quint64 generation = m.generation();
        click(m.Label2(3));
        click(form<menu4>().Label2(1));
        QVERIFY(m.generation() != generation);
        QCOMPARE(backStyles(m), QList<int>(12, vbOpaque));
    }

    void exitUncoversTheOpeningScreenUnchanged() {
        startAtOpeningScreen();
        intro0& o = form<intro0>();
        click(*o.Check1);
        const quint64 generation = o.generation();
        click(o.Label2(3));
        click(*form<menu4>().Command1);
        QCOMPARE(loadedScreens(), QStringList({"Grey", "intro0"}));
        QCOMPARE(stackNames(), QStringList({"Grey", "intro0"}));
        QCOMPARE(o.generation(), generation);
        QCOMPARE(o.Check1->Value(), 1);
        QCOMPARE(hidedesktop, 1);
        QVERIFY(o.hWnd()->isVisible());
    }

    void onlyTheLiveEntryTakesClicks_data() { addMenuRows(); }
    void onlyTheLiveEntryTakesClicks() {
        QFETCH(int, number);
        const Expected& e = kExpected[number - 1];
        TopicMenu& m = openFromOpeningScreen(number);
        QList<int> clicked;
        m.Label3.onClick([&clicked](int Index) { clicked << Index; });
        for (int i = 0; i < 5; ++i)
            click(m.Label3(i));
        QCOMPARE(clicked, e.live < 0 ? QList<int>() : QList<int>({e.live}));
    }

    void aLiveEntryShowsItsActivityOverTheMenu_data() {
        QTest::addColumn<int>("number");
        QTest::newRow("menu1") << 1;
        QTest::newRow("menu2") << 2;
        QTest::newRow("menu5") << 5;
    }
    void aLiveEntryShowsItsActivityOverTheMenu() {
        QFETCH(int, number);
        const Expected& e = kExpected[number - 1];
        setLiveEntryAction(number, &screenOf<Activity>);
        TopicMenu& m = openFromOpeningScreen(number);
        QWindow* w = windowOf(m);
        hover(w, pointIn(m.Label2(2)));
        hover(w, kBare);
        hover(w, pointIn(m.Label2(4)));
        const QList<int> highlight = backStyles(m);
        const quint64 generation = m.generation();

        click(m.Label3(e.live));
        QCOMPARE(loadedScreens(), sorted({"activity", "intro0", m.Name()}));
        QCOMPARE(stackNames(), QStringList({"intro0", m.Name(), "activity"}));
        click(form<Activity>().Label3(0));
        QCOMPARE(loadedScreens(), sorted({"intro0", m.Name()}));
        QCOMPARE(m.generation(), generation);
        QCOMPARE(backStyles(m), highlight); // as it was left
    }

    void aLiveEntryWithoutItsActivityDoesNothing() {
        setLiveEntryAction(2, nullptr);
        TopicMenu& m = openFromOpeningScreen(2);
        QVERIFY(m.Label3(1).Enabled());
        click(m.Label3(1));
        QCOMPARE(loadedScreens(), QStringList({"intro0", "menu2"}));
        QVERIFY(!Runtime::ended());
    }

    void hoverHighlightFollowsThePointer() {
        TopicMenu& m = openFromOpeningScreen(2);
        QWindow* w = windowOf(m);
        const int O = vbOpaque, T = vbTransparent;
        //                          title  Label2(0..5)      Label3(0..4)
        QCOMPARE(backStyles(m), QList<int>({O, O, O, O, O, O, O, O, O, O, O, O}));
        hover(w, kBare);
        QCOMPARE(backStyles(m), QList<int>({T, T, T, T, T, T, T, O, O, O, O, O}));
        hover(w, pointIn(m.Label2(3)));
        QCOMPARE(backStyles(m), QList<int>({T, T, T, T, O, T, T, O, O, O, O, O}));
        hover(w, pointIn(m.Label2(4))); // straight from one to the next: both keep their boxes
        QCOMPARE(backStyles(m), QList<int>({T, T, T, T, O, O, T, O, O, O, O, O}));
        hover(w, pointIn(*m.Label1));
        QCOMPARE(backStyles(m), QList<int>({O, T, T, T, O, O, T, O, O, O, O, O}));
        hover(w, pointIn(m.Label3(1))); // the live entry: nothing changes
        hover(w, pointIn(m.Label3(3))); // a dimmed entry: nothing changes either
        QCOMPARE(backStyles(m), QList<int>({O, T, T, T, O, O, T, O, O, O, O, O}));
        hover(w, kBare + QPoint(0, 20));
        QCOMPARE(backStyles(m), QList<int>({T, T, T, T, T, T, T, O, O, O, O, O}));
        hover(w, pointIn(m.Label2(0)));
        hover(w, pointIn(*m.Command1));
        QCOMPARE(backStyles(m), QList<int>({T, O, T, T, T, T, T, O, O, O, O, O}));
    }

    void dimmedEntriesPassNoPointerToTheScreen() {
        // Straight onto the dimmed entries of a fresh menu: were their moves the screen's, the boxes would
        // go.
        TopicMenu& m = openFromOpeningScreen(3);
        QWindow* w = windowOf(m);
        for (int i = 0; i < 5; ++i) {
            hover(w, pointIn(m.Label3(i)));
            hover(w, pointIn(m.Label3(i), QPoint(3, 3)));
        }
        QCOMPARE(backStyles(m), QList<int>(12, vbOpaque));
    }

    void theMenusShareTheOpeningScreensPicture() {
        startAtOpeningScreen();
        const Picture background = form<intro0>().Picture();
        QVERIFY(!background.isEmpty());
        // Were the menus to read the file again, they would fail now.
        data->remove("bee.jpg");
        click(form<intro0>().Label2(0));
        QCOMPARE(form<menu1>().Picture(), background);
        for (int next = 2; next <= kTopicMenus; ++next) {
            click(topicMenu(next - 1).Label2(next - 1));
            QCOMPARE(topicMenu(next).Picture(), background);
        }
        QVERIFY(!Runtime::ended());
    }

    void aMenuShownFirstLoadsTheOpeningScreenForItsPicture() {
        Runtime::dispatch([] { form<menu3>().Show(); });
        QVERIFY(!Runtime::ended());
        intro0& o = form<intro0>();
        QVERIFY(o.isLoaded());
        QVERIFY(!o.Picture().isEmpty());
        QCOMPARE(form<menu3>().Picture(), o.Picture());
        click(*form<menu3>().Command1);
        QCOMPARE(loadedScreens(), QStringList({"intro0"}));
        QVERIFY(o.hWnd()->isVisible());
    }

    void aMissingExitPictureOnAMenuEndsTheProgram() {
        startAtOpeningScreen();
        data->remove("exit.jpg");
        click(form<intro0>().Label2(4));
        QVERIFY(Runtime::ended());
        QCOMPARE(Runtime::exitCode(), 1);
        QCOMPARE(desktop->errorReports.size(), 1);
        QVERIFY2(desktop->errorReports[0].contains(QStringLiteral("exit.jpg")),
                 qPrintable(desktop->errorReports[0]));
    }
};

QTEST_MAIN(TestMenus)
#include "test_menus.moc"
