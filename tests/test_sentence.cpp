// Constructing a Biological Sentence: the random draws, the three lists, and what survives reopening.
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

// Opens a list with the mouse on its box, as at the board, and picks the name at `position` in the popup.
bool chooseWithMouse(ComboBox& list, int position) {
    click(list);
    QAbstractItemView* view = list.box()->view();
    if (!view->isVisible()) return false;
    const QModelIndex item = list.box()->model()->index(position, 0);
    view->scrollTo(item);
    QWidget* popup = view->window();
    const QPoint at = view->viewport()->mapTo(popup, view->visualRect(item).center());
    QTest::mouseMove(popup->windowHandle(), at);
    QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    return QTest::qWaitFor([view] { return !view->isVisible(); });
}

// Picks the name at `position` with the keys on the focused, closed box: Home, then Down.
void chooseWithKeys(ComboBox& list, int position) {
    list.box()->setFocus();
    QTest::keyClick(list.box(), Qt::Key_Home);
    for (int i = 0; i < position; ++i)
        QTest::keyClick(list.box(), Qt::Key_Down);
}

// What is wrong with the draw shown: three different themes, clear of the draw `before`; empty if nothing.
QString badDraw(sentence& f, const std::array<std::int16_t, 11>& before) {
    for (int k = 0; k < 3; ++k) {
        const int n = f.picks[k];
        if (n < 0 || n >= sentence::kThemes || f.lastpicks[k] != n || f.Label6(k).Caption() != entryOf(n) ||
            n == f.picks[(k + 1) % 3] || std::count(before.begin(), before.begin() + 3, n))
            return QStringLiteral("theme %1 in row %2").arg(n).arg(k + 1);
    }
    return {};
}

// Every list holds every name once, in the table's order, with nothing chosen.
bool fullLists(sentence& f) {
    for (ComboBox* c : lists(f)) {
        if (c->ListCount() != sentence::kThemes || c->ListIndex() != -1 || !c->box()->currentText().isEmpty())
            return false;
        for (int i = 0; i < sentence::kThemes; ++i)
            if (c->List(i) != nameOf(i)) return false;
    }
    return true;
}

} // namespace

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
            QCOMPARE(badDraw(f, {}), QString());
            seen.insert(f.picks.begin(), f.picks.begin() + 3);
        }
        QCOMPARE(int(seen.size()), sentence::kThemes - 1);
    }

    // The next draw keeps clear of the last draw, whatever was chosen by hand meanwhile.
    void manyNewSentencesInARow() {
        auto& f = openSentence();
        std::set<int> seen;
        for (int round = 0; round < 600; ++round) {
            const auto before = f.picks;
            // Now and then the teacher chooses a theme by hand in each row, by its position: names that begin
            // alike each show their own entry. The list turns white once opened, and a hand choice is no
            // draw.
            for (int k = 0; k < 3 && round % 50 == 0; ++k) {
                const int n = (round / 50 * 3 + k) % sentence::kThemes;
                QVERIFY(chooseWithMouse(*lists(f)[k], n));
                QCOMPARE(f.Label6(k).Caption(), entryOf(n));
                QCOMPARE(lists(f)[k]->box()->currentText(), nameOf(n));
                QCOMPARE(lists(f)[k]->BackColor(), QBColor(15));
                QCOMPARE(f.lastpicks, before);
            }
            click(f.Label3(1)); // and the boxes empty again
            QCOMPARE(badDraw(f, before), QString());
            QVERIFY(fullLists(f));
            seen.insert(f.picks.begin(), f.picks.begin() + 3);
        }
        QCOMPARE(int(seen.size()), sentence::kThemes);
    }

    void exitAndReopenKeepsTheLastDraw() {
        auto& f = openSentence();
        const OleColor grey = f.Combo1->BackColor();
        chooseWithKeys(*f.Combo1, 4); // keys do not open the list, so it stays grey
        QCOMPARE(f.Label6(0).Caption(), entryOf(4));
        QCOMPARE(f.Combo1->BackColor(), grey);
        click(*f.Combo1); // white, and the hand choice, both go with the window
        f.Combo1->box()->hidePopup();
        std::set<int> reopened;
        for (int round = 0; round < 60; ++round) {
            const auto last = f.picks;
            click(f.Label3(0));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!f.isLoaded());
            QCOMPARE(f.picks, last);
            f.Show();
            QCOMPARE(badDraw(f, last), QString());
            QVERIFY(fullLists(f));
            QCOMPARE(f.Combo1->BackColor(), grey);
            reopened.insert(f.picks.begin(), f.picks.begin() + 3);
        }
        QVERIFY(reopened.count(0)); // theme 0 is avoided on the first opening only
    }

    // A broken cursor file is test_program's; the cursor's own shape is the picture tests'.
    void theListsShowThePointingHand() {
        const QPoint hotSpot = LoadPicture(QStringLiteral("Images/H_POINT.cur")).hotSpot();
        auto& f = openSentence();
        for (ComboBox* c : lists(f)) {
            const QCursor cursor = f.hWnd()->childAt(pointIn(*c))->cursor();
            QCOMPARE(cursor.shape(), Qt::BitmapCursor);
            QCOMPARE(cursor.hotSpot(), hotSpot);
        }
        QCOMPARE(f.hWnd()->childAt(pointIn(f.Label6(0)))->cursor().shape(), Qt::ArrowCursor);
    }
};

QTEST_MAIN(TestSentence)
#include "test_sentence.moc"
