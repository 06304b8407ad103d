// The five topic menus: between each other, the live and dimmed entries, and the picture they share.
#include "TeacherGuide.h"
#include "TopicMenu.h"
#include "intro0.h"
#include "navigation_data.h"

#include <QScopeGuard>
#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {

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

    void menuToMenuLeavesOnlyTheNewOne() {
        TopicMenu* m = &openFromOpeningScreen(1);
        for (int next : {3, 5, 2, 4, 1}) {
            const quint64 generation = m->generation();
            click(m->Label2(m->number() - 1)); // the menu's own number does nothing
            QCOMPARE(m->generation(), generation);
            click(m->Label2(next - 1));
            m = &topicMenu(next);
            QCOMPARE(stackNames(), QStringList({"intro0", m->Name()}));
        }
    }

    // Moves onto the entries are not the screen's: the boxes stay. Only the live entry clicks; its activity's
    // Exit uncovers the menu as it was left. Without its activity the entry is dimmed like the others.
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
        const QList<int> boxed = backStyles(m);
        for (int i = 0; i < kEntriesPerMenu; ++i)
            QTest::mouseMove(windowOf(m), pointIn(m.Label3(i), QPoint(3, 3)));
        QCOMPARE(backStyles(m), boxed);
        QTest::mouseMove(windowOf(m), kBare);
        const QList<int> highlight = backStyles(m);
        QVERIFY(highlight != boxed);
        const quint64 generation = m.generation();
        int opened = 0;
        for (int i = 0; i < kEntriesPerMenu; ++i) {
            click(m.Label3(i));
            if (stackNames().last() != QLatin1String("TeacherGuide0")) continue;
            QCOMPARE(i, live);
            ++opened;
            click(teacherGuidePage(0).Label3(0));
        }
        QCOMPARE(opened, int(present && live >= 0));
        QCOMPARE(stackNames(), QStringList({"intro0", m.Name()}));
        QCOMPARE(m.generation(), generation);
        QCOMPARE(backStyles(m), highlight);
    }

    // The menus take the opening screen's picture from it; were they to read the file again they would fail.
    void theMenusShareTheOpeningScreensPicture() {
        Runtime::dispatch([] { form<menu3>().Show(); }); // shown first, it loads the opening screen
        const Picture background = form<intro0>().Picture();
        QVERIFY(!background.isEmpty());
        QFile::remove(fx.path("bee.jpg"));
        click(form<menu3>().Label2(0));
        for (int n = 1; n <= kTopicMenus; ++n) {
            QCOMPARE(topicMenu(n).Picture(), background);
            if (n < kTopicMenus) click(topicMenu(n).Label2(n));
        }
        click(*topicMenu(kTopicMenus).Command1);
        QCOMPARE(loadedScreens(), QStringList({"intro0"}));
        QVERIFY(!Runtime::ended());
    }
};

QTEST_MAIN(TestMenus)
#include "test_menus.moc"
