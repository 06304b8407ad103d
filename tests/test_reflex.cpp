// The Reflex Action ordering activity, worked as a pupil works it: real presses, moves and releases.
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

bool shown(const Control& c) {
    return c.isVisibleTo(c.window());
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

    // Moves of a card onto a slot ("3s2") or a start place ("0h2"). Check Score appears at the sixth
    // placement, two cards on one slot counting twice, and stays while cards leave; Start Again resets all.
    void scores_data() {
        QTest::addColumn<QString>("moves");
        QTest::addColumn<int>("right");
        QTest::newRow("all right") << "4s4 0s0 5s5 1s1 3s3 2s2" << 6;
        QTest::newRow("all wrong") << "0s1 1s2 2s3 3s4 4s5 5s0" << 0;
        QTest::newRow("one slot doubled") << "4s4 0s0 5s5 1s1 3s3 2s1" << 5;
        QTest::newRow("cards leaving") << "0s0 1s1 2s2 3s3 4s4 5s5 0h2 3h2 4s5" << 3;
    }
    void scores() {
        QFETCH(QString, moves);
        QFETCH(int, right);
        auto& r = openReflex();
        const QStringList list = moves.split(QLatin1Char(' '));
        for (int i = 0; i < list.size(); ++i) {
            QCOMPARE(shown(r.Label3(2)), i >= 6);
            Label& card = r.Label2(list[i][0].digitValue());
            const Label& to = (list[i][1] == u's' ? r.Label1 : r.Label4)(list[i][2].digitValue());
            drag(windowOf(r), pointIn(card), pointIn(to) + QPoint(6, -5));
            QCOMPARE(corner(card), corner(to));
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
};

QTEST_MAIN(TestReflex)
#include "test_reflex.moc"
