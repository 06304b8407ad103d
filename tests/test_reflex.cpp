// The Reflex Action ordering activity, worked as a pupil works it: real presses, moves and releases on
// the window.
#include "reflex.h"
#include "support/testsupport.h"

#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {

reflex& openReflex() {
    auto& r = form<reflex>();
    Runtime::dispatch([&] { r.Show(); });
    return r;
}

QPointF corner(const Control& c) {
    return QPointF(c.Left(), c.Top());
}

QPointF home(reflex& r, int card) {
    return corner(r.Label4(card));
}

void dragCard(reflex& r, int card, QPoint to) {
    drag(windowOf(r), pointIn(r.Label2(card)), to);
}
void dropOnSlot(reflex& r, int card, int slot) {
    dragCard(r, card, pointIn(r.Label1(slot)));
}

void placeCard(reflex& r, int card, Single left, Single top) {
    r.Label2(card).setLeft(left);
    r.Label2(card).setTop(top);
}

bool checkScoreShown(reflex& r) {
    return r.Label3(2).isVisibleTo(r.hWnd());
}
bool messageShown(reflex& r) {
    return r.Label5->isVisibleTo(r.hWnd());
}
// Every card at home, Check Score and the score hidden.
void expectFresh(reflex& r) {
    for (int i = 0; i < 6; ++i)
        QCOMPARE(corner(r.Label2(i)), home(r, i));
    QVERIFY(!checkScoreShown(r));
    QVERIFY(!messageShown(r));
}

QString pressCheckScore(reflex& r) {
    click(r.Label3(2));
    return r.Label5->Caption();
}

} // namespace

class TestReflex : public QObject {
    Q_OBJECT
private slots:
    void init() {
        freshRuntime();
        recordDesktop();
        Screen.setSizeOverride(QSizeF(12000, 9000));
    }

    void aDragKeepsTheCardsCentreUnderThePointer() {
        auto& r = openReflex();
        QWindow* w = windowOf(r);
        Label& card = r.Label2(1);
        auto centredOn = [&](QPoint p) {
            const QPoint off = card.geometry().center() - p;
            return qAbs(off.x()) <= 1 && qAbs(off.y()) <= 1;
        };
        // Picked up near its corner, the card jumps so that its centre is under the pointer.
        const QPoint grip = pointIn(card, QPoint(5, 5));
        QTest::mouseMove(w, grip);
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, grip);
        QCOMPARE(corner(card), home(r, 1)); // a press alone moves nothing
        QTest::mouseMove(w, grip + QPoint(1, 0));
        QVERIFY(centredOn(grip + QPoint(1, 0)));
        // One long jump lands the pointer far outside the card: the card still follows.
        QTest::mouseMove(w, QPoint(420, 60));
        QVERIFY(centredOn(QPoint(420, 60)));
        // No bounds while it moves: it goes off the screen with the pointer; let go, it comes back whole.
        QTest::mouseMove(w, QPoint(-150, -80));
        QVERIFY(card.Left() < -3000 && card.Top() < -1500);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(-150, -80));
        QCOMPARE(corner(card), QPointF(0, 0));
        click(r.Label3(1));
        QCOMPARE(corner(card), home(r, 1));
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
        QCOMPARE(corner(r.Label2(3)), home(r, 3));
        for (int b : pressed)
            QTest::mouseRelease(w, Qt::MouseButton(b), Qt::NoModifier, at + QPoint(-160, -240));
        QCOMPARE(corner(r.Label2(3)), home(r, 3));
    }

    // A release on the spot runs the drop; the areas are open rectangles with exact bounds.
    void catchAreasAreOpenWithExactBounds_data() {
        QTest::addColumn<QPointF>("dropped");
        QTest::addColumn<QPointF>("lands");
        const QPointF slot0(7800, 1200), slot5(7800, 5400);
        QTest::newRow("on the left bound") << QPointF(6082.5, 1200) << QPointF(6082.5, 1200);
        QTest::newRow("a twip inside the left bound") << QPointF(6083.5, 1200) << slot0;
        QTest::newRow("on the right bound, past the screen's edge") << QPointF(11235, 1200) << slot0;
        QTest::newRow("inside the right bound") << QPointF(11234.5, 1500) << slot0;
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
        placeCard(r, 5, Single(dropped.x()), Single(dropped.y()));
        r.Label5->setVisible(true); // the drop hides it, so a card left lying shows that the drop ran
        // Pressed and released in the middle of the part of the card inside the window: nothing is dragged.
        const QPoint at = (r.Label2(5).geometry() & r.hWnd()->rect()).center();
        QTest::mouseMove(windowOf(r), at);
        QTest::mouseClick(windowOf(r), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(corner(r.Label2(5)), lands);
        QVERIFY(!messageShown(r));
    }

    void cardsLeavingTheirSlotsAndStartAgain() {
        auto& r = openReflex();
        for (int i = 0; i < 6; ++i)
            dropOnSlot(r, i, i);
        dragCard(r, 0, pointIn(r.Label4(2)) + QPoint(6, 5));
        QCOMPARE(corner(r.Label2(0)), home(r, 2));
        // Card 3 on top of card 0 at card 2's home: both lie exactly there.
        dragCard(r, 3, pointIn(r.Label4(2)) + QPoint(-7, -4));
        QCOMPARE(corner(r.Label2(3)), home(r, 2));
        // Check Score stays once shown; a card moved onto another's slot is placed, but not right.
        QCOMPARE(pressCheckScore(r), QStringLiteral("4 out of 6 correct"));
        dropOnSlot(r, 4, 5);
        QCOMPARE(pressCheckScore(r), QStringLiteral("3 out of 6 correct"));
        click(r.Label3(1));
        expectFresh(r);
    }

    // Check Score appears at the sixth placement only; two cards on one slot still make six placements.
    void scores_data() {
        QTest::addColumn<QList<int>>("slotOfCard");
        QTest::addColumn<int>("right");
        QTest::newRow("all right") << QList<int>{0, 1, 2, 3, 4, 5} << 6;
        QTest::newRow("first two swapped") << QList<int>{1, 0, 2, 3, 4, 5} << 4;
        QTest::newRow("all wrong") << QList<int>{1, 2, 3, 4, 5, 0} << 0;
        QTest::newRow("one slot doubled") << QList<int>{0, 1, 1, 3, 4, 5} << 5;
    }
    void scores() {
        QFETCH(QList<int>, slotOfCard);
        QFETCH(int, right);
        const QString message = QStringLiteral("%1 out of 6 correct").arg(right);
        auto& r = openReflex();
        for (int card : {4, 0, 5, 1, 3, 2}) {
            QVERIFY(!checkScoreShown(r));
            dropOnSlot(r, card, slotOfCard[card]);
            QCOMPARE(corner(r.Label2(card)), corner(r.Label1(slotOfCard[card])));
        }
        QVERIFY(checkScoreShown(r));
        QVERIFY(!messageShown(r));
        QCOMPARE(pressCheckScore(r), message);
        QVERIFY(messageShown(r));
        QVERIFY(r.Label5->captionFits());
        // Scoring moves nothing, and each press counts afresh.
        for (int i = 0; i < 6; ++i)
            QCOMPARE(corner(r.Label2(i)), corner(r.Label1(slotOfCard[i])));
        QCOMPARE(pressCheckScore(r), message);
    }
};

QTEST_MAIN(TestReflex)
#include "test_reflex.moc"
