// The activities, worked as at the board: real presses, moves and releases on the Reflex Action cards, real
// clicks on buttons and lists; the sentence builder's random draws and what survives reopening.
#include "reflex.h"
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

reflex& openReflex() {
    Screen.setSizeOverride(QSizeF(12000, 9000));
    auto& r = form<reflex>();
    Runtime::dispatch([&] { r.Show(); });
    return r;
}

QPointF corner(const Control& c) {
    return QPointF(c.Left(), c.Top());
}

bool shown(const Control& c) {
    return c.isVisibleTo(c.window());
}

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

// Opens a list with the mouse (or a finger) on its box, as at the board, and picks the name at `position`.
bool chooseWithMouse(ComboBox& list, int position, bool finger = false) {
    if (finger) fingers(list.window()->windowHandle(), {pointIn(list)}, {pointIn(list)}, 1);
    if (!finger) click(list);
    QAbstractItemView* view = list.box()->view();
    // Open, and a scrolling list of at most 12 rows, not a menu of all 32.
    if (!view->isVisible() || view->height() > 13 * view->sizeHintForRow(0)) return false;
    const QModelIndex item = list.box()->model()->index(position, 0);
    view->scrollTo(item);
    QWidget* popup = view->window();
    const QPoint at = view->viewport()->mapTo(popup, view->visualRect(item).center());
    QTest::mouseMove(popup->windowHandle(), at);
    if (finger) fingers(popup->windowHandle(), {at}, {at}, 1);
    if (!finger) QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
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

class TestActivities : public QObject {
    Q_OBJECT
private slots:
    void init() {
        freshRuntime();
        recordDesktop();
        // A clock that moves on a little between reads, as the real one does between clicks.
        setTimerSource([t = 43200.0]() mutable { return t += 0.73; });
    }

    void aDragKeepsTheCardsCentreUnderThePointer() {
        auto& r = openReflex();
        QWindow* w = windowOf(r);
        Label& card = r.Label2(1);
        const QPoint grip = pointIn(card, QPoint(5, 5)); // picked up near its corner
        QTest::mouseMove(w, grip);
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, grip);
        QCOMPARE(corner(card), corner(r.Label4(1))); // a press alone moves nothing
        // The centre jumps under the pointer and follows it however far, even off the screen.
        for (const QPoint to : {grip + QPoint(1, 0), QPoint(420, 60), QPoint(-150, -80)}) {
            QTest::mouseMove(w, to);
            QVERIFY((card.geometry().center() - to).manhattanLength() <= 2);
        }
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(-150, -80));
        QCOMPARE(corner(card), QPointF(0, 0)); // let go, it comes back whole
    }

    void onlyTheLeftButtonAloneDrags_data() {
        QTest::addColumn<QList<int>>("pressed");
        QTest::newRow("right") << QList<int>{Qt::RightButton};
        QTest::newRow("middle") << QList<int>{Qt::MiddleButton};
        QTest::newRow("left and right") << QList<int>{Qt::LeftButton, Qt::RightButton};
    }
    void onlyTheLeftButtonAloneDrags() {
        QFETCH(QList<int>, pressed);
        auto& r = openReflex();
        QWindow* w = windowOf(r);
        const QPoint at = pointIn(r.Label2(3));
        QTest::mouseMove(w, at);
        for (int b : pressed)
            QTest::mousePress(w, Qt::MouseButton(b), Qt::NoModifier, at);
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(w, at + QPoint(-40 * step, -60 * step));
        for (int b : pressed)
            QTest::mouseRelease(w, Qt::MouseButton(b), Qt::NoModifier, at + QPoint(-160, -240));
        QCOMPARE(corner(r.Label2(3)), corner(r.Label4(3)));
    }

    // A release on the spot runs the drop; the areas are open rectangles with exact bounds.
    void catchAreasAreOpenWithExactBounds_data() {
        QTest::addColumn<QPointF>("dropped");
        QTest::addColumn<QPointF>("lands");
        const QPointF slot0(7800, 1200), slot5(7800, 5400);
        QTest::newRow("on the left bound") << QPointF(6082.5, 1200) << QPointF(6082.5, 1200);
        QTest::newRow("a twip inside the left bound") << QPointF(6083.5, 1200) << slot0;
        QTest::newRow("on the right bound, past the screen's edge") << QPointF(11235, 1200) << slot0;
        QTest::newRow("on the top bound") << QPointF(7800, 892.5) << QPointF(7800, 892.5);
        QTest::newRow("inside the top bound") << QPointF(7900, 893) << slot0;
        QTest::newRow("on the last slot's bottom bound") << QPointF(7800, 6015) << QPointF(7800, 6015);
        QTest::newRow("inside the last slot's bottom bound") << QPointF(7800, 6014.5) << slot5;
        QTest::newRow("overlap of slots 0 and 1") << QPointF(8000, 1750) << slot0;
        QTest::newRow("another card's home") << QPointF(700, 6500) << QPointF(600, 6480);
    }
    void catchAreasAreOpenWithExactBounds() {
        QFETCH(QPointF, dropped);
        QFETCH(QPointF, lands);
        auto& r = openReflex();
        r.Label2(5).setLeft(Single(dropped.x()));
        r.Label2(5).setTop(Single(dropped.y()));
        r.Label5->setVisible(true); // the drop hides it, so a card left lying shows that the drop ran
        // Pressed and released in the middle of the part of the card inside the window: nothing is dragged.
        const QPoint at = (r.Label2(5).geometry() & r.hWnd()->rect()).center();
        QTest::mouseMove(windowOf(r), at);
        QTest::mouseClick(windowOf(r), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(corner(r.Label2(5)), lands);
        QVERIFY(!shown(*r.Label5));
    }

    // Moves of a card onto a slot ("3s2") or a start place ("0h2"); moves joined by "+" are made together
    // by fingers. Check Score appears at the sixth placement and stays while cards leave; a card dropped on
    // another sends it where the dropped one came from, so no two ever lie together. Start Again resets all.
    void scores_data() {
        QTest::addColumn<QString>("moves");
        QTest::addColumn<int>("right");
        QTest::newRow("all right") << "4s4 0s0 5s5 1s1 3s3 2s2" << 6;
        QTest::newRow("all wrong") << "0s1 1s2 2s3 3s4 4s5 5s0" << 0;
        QTest::newRow("two fingers at once") << "0s0+2s2 4s4+1s1 3s3+5s5" << 6;
        QTest::newRow("onto a placed card") << "0s0 1s1 2s2 3s3 4s4 5s5 2s1" << 4;
        QTest::newRow("cards leaving") << "0s0 1s1 2s2 3s3 4s4 5s5 0h2 3h2 4s5" << 2;
    }
    void scores() {
        QFETCH(QString, moves);
        QFETCH(int, right);
        auto& r = openReflex();
        int done = 0;
        for (const QString& together : moves.split(QLatin1Char(' '))) {
            QCOMPARE(shown(r.Label3(2)), done >= 6);
            QList<QPoint> from, to;
            QList<const Label*> cards, places;
            for (const QString& move : together.split(QLatin1Char('+'))) {
                cards.append(&r.Label2(move[0].digitValue()));
                places.append(&(move[1] == u's' ? r.Label1 : r.Label4)(move[2].digitValue()));
                from.append(pointIn(*cards.last()));
                to.append(pointIn(*places.last()) + QPoint(6, -5));
            }
            if (cards.size() > 1)
                fingers(windowOf(r), from, to);
            else
                drag(windowOf(r), from[0], to[0]);
            for (int i = 0; i < cards.size(); ++i)
                QCOMPARE(corner(*cards[i]), corner(*places[i]));
            std::set<std::pair<Single, Single>> corners;
            for (int i = 0; i < 6; ++i)
                corners.insert({r.Label2(i).Left(), r.Label2(i).Top()});
            QCOMPARE(int(corners.size()), 6);
            done += int(cards.size());
        }
        for (int press = 0; press < 2; ++press) { // each press counts afresh
            click(r.Label3(2));
            QCOMPARE(r.Label5->Caption(), QStringLiteral("%1 out of 6 correct").arg(right));
        }
        QVERIFY(shown(*r.Label5));
        click(r.Label3(1));
        for (int i = 0; i < 6; ++i)
            QCOMPARE(corner(r.Label2(i)), corner(r.Label4(i)));
        QVERIFY(!shown(r.Label3(2)) && !shown(*r.Label5));
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
                QVERIFY(chooseWithMouse(*lists(f)[k], n, k == 1));
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

QTEST_MAIN(TestActivities)
#include "test_activities.moc"
