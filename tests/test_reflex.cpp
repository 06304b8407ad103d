// The Reflex Action ordering activity, worked as a pupil works it: real presses, moves and releases on the
// window, with the mouse, a finger and the board's pen.
#include "reflex.h"
#include "support/testsupport.h"

#include <QPaintEvent>
#include <QPointingDevice>
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

// Where card i starts and Start Again sends it: its home outline.
QPointF home(reflex& r, int card) {
    return corner(r.Label4(card));
}

// Press on the card, move in steps so its centre ends at `to`, release there.
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

QString pressCheckScore(reflex& r) {
    click(r.Label3(2));
    return r.Label5->Caption();
}

// Collects what is repainted of a window and its children, in window coordinates.
class PaintSpy : public QObject {
public:
    explicit PaintSpy(QWidget* window) : m_window(window) {
        window->installEventFilter(this);
        for (QWidget* child : window->findChildren<QWidget*>())
            child->installEventFilter(this);
    }
    QRegion painted;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            auto* w = static_cast<QWidget*>(o);
            painted += static_cast<QPaintEvent*>(e)->region().translated(w->mapTo(m_window, QPoint(0, 0)));
        }
        return false;
    }

private:
    QWidget* m_window;
};

void flushPaints() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
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

    // Load hands the sentences from the slots to the cards and numbers the slots.
    void loadDealsTheSentencesAndNumbersTheSlots() {
        auto& r = openReflex();
        QVERIFY(!Runtime::ended());
        QSet<QString> sentences;
        for (int i = 0; i < 6; ++i) {
            QVERIFY(r.Label2(i).Caption().size() > 20);
            QVERIFY(r.Label2(i).captionFits());
            sentences.insert(r.Label2(i).Caption());
            QCOMPARE(r.Label1(i).Caption(), QStringLiteral(" %1.").arg(i + 1));
            QCOMPARE(r.Label4(i).geometry(), r.Label2(i).geometry()); // each card over its home outline
        }
        QCOMPARE(sentences.size(), 6);
        QVERIFY(!checkScoreShown(r));
        QVERIFY(!messageShown(r));
        // The diagram, at its own size, clear of the slots and of the cards.
        const Image& diagram = *r.Image1;
        QCOMPARE(diagram.Width(), diagram.Picture().Width());
        QVERIFY(diagram.Left() + diagram.Width() <= r.Label1(0).Left());
        QVERIFY(diagram.Top() + diagram.Height() <= r.Label2(2).Top());
    }

    void cardsLieInFrontAndAnnotationsInFrontOfThePicture() {
        auto& r = openReflex();
        QWidget* window = r.hWnd();
        for (int i = 0; i < 6; ++i)
            QCOMPARE(window->childAt(pointIn(r.Label2(i))), &r.Label2(i));
        placeCard(r, 2, 7800, 1200); // on a slot
        QCOMPARE(window->childAt(pointIn(r.Label1(0))), &r.Label2(2));
        placeCard(r, 4, 360, 480); // over the picture's labels
        QCOMPARE(window->childAt(pointIn(r.Label9(0))), &r.Label2(4));
        placeCard(r, 4, 7800, 6480);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(window->childAt(pointIn(r.Label9(i))), &r.Label9(i));
        // The pointer lines are drawn over the picture: the picture is the lowest element.
        const QObjectList kids = window->children();
        QCOMPARE(kids.indexOf(&*r.Image1), 0);
        for (int i = 0; i < 4; ++i)
            QVERIFY(kids.indexOf(&r.Line1(i)) > 0);
    }

    void aDragKeepsTheCardsCentreUnderThePointer() {
        auto& r = openReflex();
        QWindow* w = windowOf(r);
        Label& card = r.Label2(1);
        const QPointF start = home(r, 1);
        auto centredOn = [&](QPoint p) {
            const QPoint off = card.geometry().center() - p;
            return qAbs(off.x()) <= 1 && qAbs(off.y()) <= 1;
        };
        // Picked up near its corner, the card jumps so that its centre is under the pointer.
        const QPoint grip = pointIn(card, QPoint(5, 5));
        QTest::mouseMove(w, grip);
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, grip);
        QCOMPARE(corner(card), start); // a press alone moves nothing
        QTest::mouseMove(w, grip + QPoint(1, 0));
        QVERIFY(centredOn(grip + QPoint(1, 0)));
        // One long jump lands the pointer far outside the card: the card still follows.
        QTest::mouseMove(w, QPoint(420, 60));
        QVERIFY(centredOn(QPoint(420, 60)));
        // No bounds: it goes off the screen with the pointer, and stays where it is dropped.
        QTest::mouseMove(w, QPoint(-150, -80));
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(-150, -80));
        QVERIFY(card.Left() < -3000 && card.Top() < -1500);
        click(r.Label3(1));
        QCOMPARE(corner(card), start);
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
        const QPointF start = home(r, 3);
        const QPoint at = pointIn(r.Label2(3));
        QTest::mouseMove(w, at);
        for (int b : pressed)
            QTest::mousePress(w, Qt::MouseButton(b), Qt::NoModifier, at);
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(w, at + QPoint(-40 * step, -60 * step));
        QCOMPARE(corner(r.Label2(3)), start);
        for (int b : pressed)
            QTest::mouseRelease(w, Qt::MouseButton(b), Qt::NoModifier, at + QPoint(-160, -240));
        QCOMPARE(corner(r.Label2(3)), start);
    }

    void aReleaseWhileTheLeftButtonStaysDownDropsAndTheDragGoesOn() {
        auto& r = openReflex();
        QWindow* w = windowOf(r);
        Label& card = r.Label2(0);
        const QPoint from = pointIn(card);
        const QPoint overSlot = pointIn(r.Label1(2)) + QPoint(4, 3);
        QTest::mouseMove(w, from);
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(w, overSlot);
        QVERIFY(corner(card) != corner(r.Label1(2)));
        QTest::mousePress(w, Qt::RightButton, Qt::NoModifier, overSlot);
        QTest::mouseRelease(w, Qt::RightButton, Qt::NoModifier, overSlot);
        QCOMPARE(corner(card), corner(r.Label1(2)));     // snapped by the right button's release
        QTest::mouseMove(w, overSlot + QPoint(-300, 0)); // the left button is still down
        QVERIFY(card.Left() < 4000);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, overSlot + QPoint(-300, 0));
    }

    // A release of any button on the spot runs the drop; the areas are open rectangles with exact bounds.
    void catchAreasAreOpenWithExactBounds_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QPointF>("dropped");
        QTest::addColumn<QPointF>("lands");
        const int left = Qt::LeftButton;
        const QPointF slot0(7800, 1200), slot5(7800, 5400);
        QTest::newRow("right button") << int(Qt::RightButton) << QPointF(7700, 1300) << slot0;
        QTest::newRow("on the left bound") << left << QPointF(6082.5, 1200) << QPointF(6082.5, 1200);
        QTest::newRow("a twip inside the left bound") << left << QPointF(6083.5, 1200) << slot0;
        QTest::newRow("half a twip inside the left bound") << left << QPointF(6083, 1400) << slot0;
        QTest::newRow("on the right bound") << left << QPointF(11235, 1200) << QPointF(11235, 1200);
        QTest::newRow("inside the right bound") << left << QPointF(11234.5, 1500) << slot0;
        QTest::newRow("on the top bound") << left << QPointF(7800, 892.5) << QPointF(7800, 892.5);
        QTest::newRow("inside the top bound") << left << QPointF(7900, 893) << slot0;
        QTest::newRow("on the last slot's bottom bound")
            << left << QPointF(7800, 6015) << QPointF(7800, 6015);
        QTest::newRow("inside the last slot's bottom bound") << left << QPointF(7800, 6014.5) << slot5;
        QTest::newRow("overlap of slots 0 and 1") << left << QPointF(8000, 1750) << slot0;
        QTest::newRow("overlap of the homes of cards 0 and 1")
            << left << QPointF(3000, 7200) << QPointF(4200, 7200);
        QTest::newRow("another card's home") << left << QPointF(700, 6500) << QPointF(600, 6480);
        QTest::newRow("over the diagram") << left << QPointF(3000, 300) << QPointF(3000, 300);
    }
    void catchAreasAreOpenWithExactBounds() {
        QFETCH(int, button);
        QFETCH(QPointF, dropped);
        QFETCH(QPointF, lands);
        auto& r = openReflex();
        placeCard(r, 5, Single(dropped.x()), Single(dropped.y()));
        r.Label5->setVisible(true); // the drop hides it, so a card left lying shows that the drop ran
        // Pressed and released in the middle of the part of the card inside the window: nothing is dragged.
        const QPoint at = (r.Label2(5).geometry() & r.hWnd()->rect()).center();
        QTest::mouseMove(windowOf(r), at);
        QTest::mouseClick(windowOf(r), Qt::MouseButton(button), Qt::NoModifier, at);
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
        for (int i = 0; i < 6; ++i)
            QCOMPARE(corner(r.Label2(i)), home(r, i));
        QVERIFY(!checkScoreShown(r));
        QVERIFY(!messageShown(r));
    }

    // Check Score appears at the sixth placement only; two cards on one slot still make six placements.
    void scores_data() {
        QTest::addColumn<QList<int>>("slotOfCard");
        QTest::addColumn<QString>("message");
        QTest::newRow("all right") << QList<int>{0, 1, 2, 3, 4, 5} << QStringLiteral("6 out of 6 correct");
        QTest::newRow("first two swapped")
            << QList<int>{1, 0, 2, 3, 4, 5} << QStringLiteral("4 out of 6 correct");
        QTest::newRow("all wrong") << QList<int>{1, 2, 3, 4, 5, 0} << QStringLiteral("0 out of 6 correct");
        QTest::newRow("one slot doubled")
            << QList<int>{0, 1, 1, 3, 4, 5} << QStringLiteral("5 out of 6 correct");
    }
    void scores() {
        QFETCH(QList<int>, slotOfCard);
        QFETCH(QString, message);
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

    void exitUncoversTheScreenBeneathAndReopeningStartsAfresh() {
        auto& menu = form<MenuStandIn>();
        menu.Show();
        auto& r = openReflex();
        auto captions = [&] {
            QStringList l;
            for (int i = 0; i < 6; ++i)
                l << r.Label2(i).Caption() << r.Label1(i).Caption();
            return l;
        };
        const QStringList first = captions();
        for (int i = 0; i < 6; ++i)
            dropOnSlot(r, i, (i + 2) % 6);
        pressCheckScore(r);
        hover(windowOf(r), QPoint(400, 590)); // bare screen: the buttons turn transparent
        click(r.Label3(0));
        QVERIFY(!r.isLoaded());
        QVERIFY(!Runtime::ended());
        QCOMPARE(Runtime::loadedFormNames(), QStringList{QStringLiteral("MenuStandIn")});
        QVERIFY(menu.hWnd()->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        openReflex();
        QCOMPARE(captions(), first); // the sentences are dealt from the design again, not from the last run
        for (int i = 0; i < 6; ++i)
            QCOMPARE(corner(r.Label2(i)), home(r, i));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(r.Label3(i).BackStyle(), int(vbOpaque));
        QVERIFY(!checkScoreShown(r));
        QVERIFY(!messageShown(r));
    }

    void hoverHighlightsTheButtons() {
        auto& r = openReflex();
        QWindow* w = windowOf(r);
        auto styles = [&] {
            return QList<int>{r.Label3(0).BackStyle(), r.Label3(1).BackStyle(), r.Label3(2).BackStyle()};
        };
        const int on = vbOpaque, off = vbTransparent;
        hover(w, QPoint(400, 590)); // the bare screen, below the buttons
        QCOMPARE(styles(), (QList<int>{off, off, off}));
        hover(w, pointIn(r.Label3(0)));
        QCOMPARE(styles(), (QList<int>{on, off, off}));
        hover(w, pointIn(r.Label3(1)));
        QCOMPARE(styles(), (QList<int>{on, on, off})); // only the bare screen resets
        // Over the picture or a card the highlight stays; over the bare screen it goes.
        hover(w, pointIn(*r.Image1));
        hover(w, pointIn(r.Label2(0)));
        QCOMPARE(styles(), (QList<int>{on, on, off}));
        hover(w, QPoint(790, 300));
        QCOMPARE(styles(), (QList<int>{off, off, off}));
        for (int i = 0; i < 6; ++i)
            dropOnSlot(r, i, i);
        hover(w, pointIn(r.Label3(2)));
        QCOMPARE(r.Label3(2).BackStyle(), on);
    }

    void aMovedCardRepaintsOnlyWhereItWasAndWhereItIs() {
        auto& r = openReflex();
        QWindow* w = windowOf(r);
        flushPaints();
        Label& card = r.Label2(2);
        const QPoint at = pointIn(card);
        QTest::mouseMove(w, at);
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, at);
        flushPaints();
        PaintSpy spy(r.hWnd());
        for (const QPoint step : {QPoint(23, -17), QPoint(61, -90)}) {
            spy.painted = QRegion();
            const QRect before = card.geometry();
            QTest::mouseMove(w, at + step);
            const QRect after = card.geometry();
            QVERIFY(after != before);
            flushPaints();
            QVERIFY(!spy.painted.isEmpty());
            QCOMPARE(spy.painted - (QRegion(before) + QRegion(after)), QRegion());
        }
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, at + QPoint(61, -90));
    }

    void aFingerDragsACardAsTheMouseDoes() {
        auto& r = openReflex();
        QWindow* w = windowOf(r);
        static QPointingDevice* finger = QTest::createTouchDevice();
        const QPoint from = pointIn(r.Label2(1));
        const QPoint to = pointIn(r.Label1(1));
        QTest::touchEvent(w, finger).press(0, from, w);
        for (int i = 1; i <= 4; ++i)
            QTest::touchEvent(w, finger).move(0, from + (to - from) * i / 4, w);
        QTest::touchEvent(w, finger).release(0, to, w);
        QCOMPARE(corner(r.Label2(1)), corner(r.Label1(1)));
    }

    // Qt turns pen input into mouse input when no widget takes the pen's events; the screen must take none.
    void thePensEventsAreLeftForQtToTurnIntoMouseEvents() {
        auto& r = openReflex();
        QWindow* w = windowOf(r);
        QPointingDevice pen(QStringLiteral("board pen"), 7001, QInputDevice::DeviceType::Stylus,
                            QPointingDevice::PointerType::Pen,
                            QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
        const QPointF start = home(r, 4);
        const QPoint from = pointIn(r.Label2(4));
        const QPoint to = from + QPoint(-200, -150);
        auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
            QTabletEvent e(type, &pen, QPointF(at), QPointF(w->mapToGlobal(at)), 0.6, 0, 0, 0, 0, 0,
                           Qt::NoModifier, button, buttons);
            e.setAccepted(false);
            QCoreApplication::sendEvent(w, &e);
            return e.isAccepted();
        };
        QVERIFY(!send(QEvent::TabletMove, from, Qt::NoButton, Qt::NoButton));
        QVERIFY(!send(QEvent::TabletPress, from, Qt::LeftButton, Qt::LeftButton));
        QVERIFY(!send(QEvent::TabletMove, to, Qt::NoButton, Qt::LeftButton));
        QVERIFY(!send(QEvent::TabletRelease, to, Qt::LeftButton, Qt::NoButton));
        QCOMPARE(corner(r.Label2(4)), start); // the pen's own events moved nothing
    }

    void aMissingDiagramEndsTheProgramWithAReportNamingIt() {
        ScratchData data;
        auto& desktop = recordDesktop();
        openReflex();
        expectStoppedWithReport(desktop, {QStringLiteral("Images\\reflex.jpg")});
    }
};

QTEST_MAIN(TestReflex)
#include "test_reflex.moc"
