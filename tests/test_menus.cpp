// The five topic menus: the navigation between them, the live and dimmed entries, the hover highlight under
// real pointer moves, and the picture they share with the opening screen.
#include "TeacherGuide.h"
#include "TopicMenu.h"
#include "intro0.h"
#include "navigation_data.h"

#include <QScopeGuard>
#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {

const QList<int> kAllBoxed(12, vbOpaque);

TopicMenu& openFromOpeningScreen(int number) {
    startAtOpeningScreen();
    click(form<intro0>().Label2(number - 1));
    return topicMenu(number);
}

// Label1, then Label2(0) to Label2(5), then Label3(0) to Label3(4).
QList<int> backStyles(TopicMenu& m) {
    QList<int> s{m.Label1->BackStyle()};
    for (int i = 0; i < 6 + kEntriesPerMenu; ++i)
        s << (i < 6 ? m.Label2(i) : m.Label3(i - 6)).BackStyle();
    return s;
}

} // namespace

class TestMenus : public QObject {
    Q_OBJECT
    NavigationFixture fx;

private slots:
    void init() { fx.setUp(); }
    void cleanup() { fx.tearDown(); }

    void menuToMenuLeavesOnlyTheNewOneBuiltAfresh() {
        TopicMenu* m = &openFromOpeningScreen(1);
        for (int next : {3, 5, 2, 4, 1, 5, 1}) {
            // The menu's own number, twice, does nothing.
            const quint64 generation = m->generation();
            click(m->Label2(m->number() - 1));
            click(m->Label2(m->number() - 1));
            QCOMPARE(m->generation(), generation);
            QCOMPARE(stackNames(), QStringList({"intro0", m->Name()}));
            QTest::mouseMove(windowOf(*m),
                             kBare); // unboxes all but the entries; a menu visited again has them boxed
            click(m->Label2(next - 1));
            const QString name = QStringLiteral("menu%1").arg(next);
            QCOMPARE(loadedScreens(), QStringList({"intro0", name}));
            QCOMPARE(stackNames(), QStringList({"intro0", name}));
            m = &topicMenu(next);
            QVERIFY(m->hWnd()->isVisible());
            QCOMPARE(backStyles(*m), kAllBoxed);
        }
        // "WWW Links" is never shown and leads nowhere.
        Runtime::dispatch([m] { m->Label2_Click(5); });
        QCOMPARE(loadedScreens(), QStringList({"intro0", "menu1"}));
    }

    // Straight onto the entries of a fresh menu the boxes stay: their moves are not the screen's. Only the
    // live entry takes clicks; it shows its activity over the menu, whose Exit uncovers the menu as it was
    // left. Without its activity (not in this build) the entry is dimmed like the others.
    void entriesTakeNoPointerMovesAndOnlyTheLiveOneClicks_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("present");
        for (int n = 1; n <= kTopicMenus; ++n)
            QTest::addRow("menu%d", n) << n << true;
        QTest::newRow("menu2 without its activity") << 2 << false;
    }
    void entriesTakeNoPointerMovesAndOnlyTheLiveOneClicks() {
        QFETCH(int, number);
        QFETCH(bool, present);
        // A guide page stands in for the activity: its Exit only unloads it.
        const auto restore = qScopeGuard([real = screenOpener()] { setScreenOpener(real); });
        setScreenOpener([real = screenOpener(), present](const QString& s, const QString& c) -> FormGetter {
            return present && real(s, c) ? &screenOf<TeacherGuide0> : nullptr;
        });
        TopicMenu& m = openFromOpeningScreen(number);
        const int live = m.liveEntry();
        QWindow* w = windowOf(m);
        for (int i = 0; i < kEntriesPerMenu; ++i) {
            QTest::mouseMove(w, pointIn(m.Label3(i)));
            QTest::mouseMove(w, pointIn(m.Label3(i), QPoint(3, 3)));
        }
        QCOMPARE(backStyles(m), kAllBoxed);
        QTest::mouseMove(w, pointIn(m.Label2(2)));
        QTest::mouseMove(w, kBare);
        QTest::mouseMove(w, pointIn(m.Label2(4)));
        const QList<int> highlight = backStyles(m);
        const quint64 generation = m.generation();

        QList<int> clicked;
        m.Label3.onClick([&clicked, &m](int Index) {
            clicked << Index;
            m.Label3_Click(Index);
        });
        for (int i = 0; i < kEntriesPerMenu; ++i) {
            click(m.Label3(i));
            if (i != live || !present) continue;
            QCOMPARE(stackNames(), QStringList({"intro0", m.Name(), "TeacherGuide0"}));
            click(teacherGuidePage(0).Label3(0));
        }
        QCOMPARE(clicked, live < 0 ? QList<int>() : QList<int>({live}));
        QCOMPARE(loadedScreens(), QStringList({"intro0", m.Name()}));
        QCOMPARE(m.generation(), generation);
        QCOMPARE(backStyles(m), highlight);
        QVERIFY(!Runtime::ended());
    }

    // A menu shown first loads the opening screen for its picture; the others take it from there too, and
    // were they to read the file again they would fail now.
    void theMenusShareTheOpeningScreensPicture() {
        Runtime::dispatch([] { form<menu3>().Show(); });
        intro0& o = form<intro0>();
        const Picture background = o.Picture();
        QVERIFY(!background.isEmpty());
        QFile::remove(fx.path("bee.jpg"));
        click(form<menu3>().Label2(0));
        for (int n = 1; n <= kTopicMenus; ++n) {
            QCOMPARE(topicMenu(n).Picture(), background);
            if (n < kTopicMenus) click(topicMenu(n).Label2(n));
        }
        click(*topicMenu(kTopicMenus).Command1);
        QCOMPARE(loadedScreens(), QStringList({"intro0"}));
        QVERIFY(o.hWnd()->isVisible());
        QVERIFY(!Runtime::ended());
    }
};

QTEST_MAIN(TestMenus)
#include "test_menus.moc"
