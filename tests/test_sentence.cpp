// Constructing a Biological Sentence: the random draws, the three lists, the pointer over them, and what
// survives closing and reopening the screen.
#include "sentence.h"
#include "support/testsupport.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QtTest>

#include <algorithm>
#include <set>

using namespace vb;
using namespace testsupport;

namespace {

constexpr OleColor kListGrey = RGB(192, 192, 192);

QString nameOf(int n) {
    return QString::fromUtf8(sentence::themeNames()[n]);
}
QString entryOf(int n) {
    return QString::fromUtf8(sentence::themeEntries()[n]);
}

sentence& openSentence() {
    auto& f = form<sentence>();
    f.Show();
    return f;
}

std::array<ComboBox*, 3> lists(sentence& f) {
    return {&*f.Combo1, &*f.Combo2, &*f.Combo3};
}

QStringList rowTexts(sentence& f) {
    return {f.Label6(0).Caption(), f.Label6(1).Caption(), f.Label6(2).Caption()};
}

std::array<int, 3> drawn(const sentence& f) {
    return {f.picks[0], f.picks[1], f.picks[2]};
}

// Opens a list with the mouse on its box, as at the board, and picks the name at `position` in the popup.
void chooseWithMouse(ComboBox& list, int position) {
    click(list);
    QAbstractItemView* view = list.box()->view();
    QVERIFY2(view->isVisible(), "the list did not open");
    const QModelIndex item = list.box()->model()->index(position, 0);
    view->scrollTo(item);
    QWidget* popup = view->window();
    const QPoint at = view->viewport()->mapTo(popup, view->visualRect(item).center());
    QTest::mouseMove(popup->windowHandle(), at);
    QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    QTRY_VERIFY(!view->isVisible());
}

// Picks the name at `position` with the keys on the focused, closed box: Home, then Down.
void chooseWithKeys(ComboBox& list, int position) {
    list.box()->setFocus();
    QTest::keyClick(list.box(), Qt::Key_Home);
    for (int i = 0; i < position; ++i)
        QTest::keyClick(list.box(), Qt::Key_Down);
}

// Every list holds every name once, in the table's order, with nothing chosen.
void expectFullLists(sentence& f) {
    for (ComboBox* c : lists(f)) {
        QCOMPARE(c->ListCount(), sentence::kThemes);
        for (int i = 0; i < sentence::kThemes; ++i)
            QCOMPARE(c->List(i), nameOf(i));
        QCOMPARE(c->ListIndex(), -1);
        QCOMPARE(c->box()->currentText(), QString());
    }
}

// A fresh draw: three different themes, clear of the draw before, and shown in the rows.
void expectGoodDraw(sentence& f, const std::array<int, 3>& before) {
    const auto now = drawn(f);
    for (int k = 0; k < 3; ++k) {
        QVERIFY(now[k] >= 0 && now[k] < sentence::kThemes);
        QCOMPARE(int(f.lastpicks[k]), now[k]);
        QCOMPARE(f.Label6(k).Caption(), entryOf(now[k]));
        for (int j = 0; j < 3; ++j) {
            if (j != k) QVERIFY(now[k] != now[j]);
            QVERIFY2(now[k] != before[j],
                     qPrintable(QStringLiteral("theme %1 drawn twice in a row").arg(now[k])));
        }
    }
}

} // namespace

// A helper's failed check ends the test function too.
#define CHECKED(call)                                                                                        \
    do {                                                                                                     \
        call;                                                                                                \
        if (QTest::currentTestFailed()) return;                                                              \
    } while (0)

class TestSentence : public QObject {
    Q_OBJECT

private slots:
    void init() {
        freshRuntime();
        recordDesktop();
        // A clock that moves on a little between reads, as the real one does between clicks.
        setTimerSource([t = 43200.0]() mutable { return t += 0.73; });
    }

    // A different clock every time the program starts; theme 0 is avoided like a theme shown before.
    void firstOpeningNeverShowsThemeZero() {
        std::set<int> seen;
        for (int run = 0; run < 300; ++run) {
            freshRuntime();
            recordDesktop();
            setTimerSource([start = run * 287.3 + 0.05] { return start; });
            auto& f = openSentence();
            CHECKED(expectGoodDraw(f, {0, 0, 0}));
            seen.insert(f.picks.begin(), f.picks.begin() + 3);
        }
        QCOMPARE(int(seen.size()), sentence::kThemes - 1);
    }

    // The next draw keeps clear of the last draw, whatever was chosen by hand meanwhile.
    void manyNewSentencesInARow() {
        auto& f = openSentence();
        std::set<int> seen;
        for (int round = 0; round < 600; ++round) {
            const auto before = drawn(f);
            if (round % 50 == 0) // the teacher has chosen a few themes by hand: the boxes empty again
                for (int k = 0; k < 3; ++k)
                    CHECKED(chooseWithMouse(*lists(f)[k], (round / 50 * 3 + k) % sentence::kThemes));
            click(f.Label3(1));
            CHECKED(expectGoodDraw(f, before));
            seen.insert(f.picks.begin(), f.picks.begin() + 3);
            if (round % 50 == 0) CHECKED(expectFullLists(f));
        }
        QCOMPARE(int(seen.size()), sentence::kThemes);
    }

    // The chosen position picks the entry: names that begin alike must each show their own.
    void choosingByPosition_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("keys");
        QTest::newRow("Food") << 1 << "Food" << false;
        QTest::newRow("Food Chain") << 2 << "Food Chain" << false;
        QTest::newRow("last") << 3 << nameOf(sentence::kThemes - 1) << false;
        QTest::newRow("keys, row 3") << 3 << nameOf(12) << true;
    }
    void choosingByPosition() {
        QFETCH(int, row);
        QFETCH(QString, name);
        QFETCH(bool, keys);
        sentence& f = openSentence();
        QStringList want = rowTexts(f);
        const auto picks = f.picks, lastpicks = f.lastpicks;
        ComboBox& list = *lists(f)[row - 1];
        const int position = list.box()->findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        CHECKED(keys ? chooseWithKeys(list, position) : chooseWithMouse(list, position));
        QCOMPARE(list.ListIndex(), position);
        QCOMPARE(list.box()->currentText(), name); // the chosen name stays in the box
        want[row - 1] = entryOf(position);
        QCOMPARE(rowTexts(f), want);
        QCOMPARE(f.picks, picks); // a hand choice is no draw
        QCOMPARE(f.lastpicks, lastpicks);
        QCOMPARE(list.BackColor(), keys ? kListGrey : QBColor(15)); // only opening the list turns it white
    }

    void exitAndReopenKeepsTheLastDraw() {
        auto& f = openSentence();
        std::set<int> reopened;
        for (int round = 0; round < 60; ++round) {
            const auto last = drawn(f);
            if (round == 0) {
                click(*f.Combo1); // white, and a hand choice, both go with the window
                f.Combo1->box()->hidePopup();
                chooseWithKeys(*f.Combo1, 4);
            }
            click(f.Label3(0));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!f.isLoaded());
            QVERIFY(!Runtime::ended());
            QCOMPARE(drawn(f), last);
            f.Show();
            CHECKED(expectGoodDraw(f, last));
            CHECKED(expectFullLists(f));
            QCOMPARE(f.Combo1->BackColor(), kListGrey);
            reopened.insert(f.picks.begin(), f.picks.begin() + 3);
        }
        QVERIFY(reopened.count(0)); // theme 0 is avoided on the first opening only
    }

    // A broken cursor file is test_badinput's; the cursor's own shape is the picture tests'.
    void theListsShowThePointingHand() {
        const Picture hand = LoadPicture(QStringLiteral("Images/H_POINT.cur"));
        auto& f = openSentence();
        for (ComboBox* c : lists(f)) {
            QWidget* under = f.hWnd()->childAt(pointIn(*c));
            QVERIFY(under == c->box() || c->box()->isAncestorOf(under));
            QCOMPARE(under->cursor().shape(), Qt::BitmapCursor);
            QCOMPARE(under->cursor().hotSpot(), hand.hotSpot());
        }
        QCOMPARE(f.hWnd()->childAt(pointIn(f.Label6(0)))->cursor().shape(), Qt::ArrowCursor);
    }
};

QTEST_MAIN(TestSentence)
#include "test_sentence.moc"
