// The Reflex Action ordering activity, worked as a pupil works it: real presses, moves and releases on the
// window, with the mouse, a finger and the board's pen.
#include "reflex.h"
#include "support/testsupport.h"

#include <QPaintEvent>
#include <QPointingDevice>
#include <QTemporaryDir>
#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {

const QStringList kSentences = {
    QStringLiteral("your hand touches the hot cooker"),
    QStringLiteral("sensory receptors in your skin send a message"),
    QStringLiteral("message goes to spinal cord along sensory neurones"),
    QStringLiteral("message leaves spinal cord along motor neurones"),
    QStringLiteral("message reaches effector muscles in your arm"),
    QStringLiteral("the muscles move your arm away from the cooker"),
};
const QPointF kHome[6] = {{4200, 7200}, {600, 7200}, {600, 6480}, {4200, 6480}, {7800, 6480}, {7800, 7200}};

// A screen to stand for the menu that opens the activity.
class Beneath : public Form {
public:
    Beneath() : Form(QStringLiteral("Beneath")) {}

protected:
    void Design() override {
        setClientSize(12000, 9000);
        add<Label>("Label1", 0, 0, 3000, 500).setCaption(QStringLiteral("Reflex Action"));
    }
};

reflex& openReflex() {
    auto& r = form<reflex>();
    Runtime::dispatch([&] { r.Show(); });
    return r;
}

QWindow* win(reflex& r) {
    return windowOf(r);
}

QPointF corner(const Control& c) {
    return QPointF(c.Left(), c.Top());
}

// Press on the card, move in steps so its centre ends at `to`, release there.
void dragCard(reflex& r, int card, QPoint to, Qt::MouseButton b = Qt::LeftButton) {
    drag(win(r), pointIn(r.Label2(card)), to, b);
}

void dropOnSlot(reflex& r, int card, int slot) {
    dragCard(r, card, pointIn(r.Label1(slot)));
}

// A press and a release of one button on the spot, so nothing is dragged but the drop runs.
void pressAndReleaseOn(reflex& r, int card, Qt::MouseButton b) {
    QWindow* w = win(r);
    // The middle of the part of the card that lies inside the window.
    const QWidget& c = r.Label2(card);
    const QPoint at = (c.geometry() & r.hWnd()->rect()).center();
    QTest::mouseMove(w, at);
    QTest::mousePress(w, b, Qt::NoModifier, at);
    QTest::mouseRelease(w, b, Qt::NoModifier, at);
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

    void loadBuildsTheStartLayout() {
        auto& r = openReflex();
        QVERIFY(!Runtime::ended());
        QCOMPARE(r.Caption(), QStringLiteral("Reflex Action"));
        QCOMPARE(r.BackColor(), RGB(39, 63, 137));
        QCOMPARE(r.Width(), 12000.0f);
        QCOMPARE(r.SentenceCount, 6);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(r.Label2(i).Caption(), kSentences[i]);
            QCOMPARE(corner(r.Label2(i)), kHome[i]);
            QCOMPARE(r.Label1(i).Caption(), QStringLiteral(" %1.").arg(i + 1));
            QCOMPARE(r.Label1(i).BackStyle(), int(vbTransparent));
            QCOMPARE(corner(r.Label1(i)), QPointF(7800, 1200 + 840 * i));
            QCOMPARE(corner(r.Label4(i)), kHome[i]);
            QCOMPARE(r.Label4(i).Width(), r.Label2(i).Width());
            QCOMPARE(r.Label4(i).Height(), r.Label2(i).Height());
            QVERIFY(r.Label4(i).Caption().isEmpty());
            QVERIFY(r.Label2(i).captionFits());
        }
        QVERIFY(!checkScoreShown(r));
        QVERIFY(!messageShown(r));
        for (int i = 0; i < 2; ++i)
            QVERIFY(r.Label3(i).isVisibleTo(r.hWnd()));
    }

    void theDiagramFitsBetweenTheSlotsAndTheCards() {
        auto& r = openReflex();
        const Image& diagram = *r.Image1;
        QVERIFY(!diagram.Picture().isEmpty());
        QCOMPARE(corner(diagram), QPointF(240, 1320));
        QCOMPARE(diagram.Width(), diagram.Picture().Width()); // at its own size
        QVERIFY(diagram.Left() + diagram.Width() <= 7800);
        QVERIFY(diagram.Top() + diagram.Height() <= 6480);
    }

    void cardsLieInFrontAndAnnotationsInFrontOfThePicture() {
        auto& r = openReflex();
        QWidget* window = r.hWnd();
        // Every card over its home outline, and a card dragged onto a slot over the slot box.
        for (int i = 0; i < 6; ++i)
            QCOMPARE(window->childAt(pointIn(r.Label2(i))), &r.Label2(i));
        placeCard(r, 2, 7800, 1200);
        QCOMPARE(window->childAt(pointIn(r.Label1(0))), &r.Label2(2));
        // A card over the picture and its labels still lies on top.
        placeCard(r, 4, 360, 480);
        QCOMPARE(window->childAt(pointIn(r.Label9(0))), &r.Label2(4));
        placeCard(r, 4, 7800, 6480);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(window->childAt(pointIn(r.Label9(i))), &r.Label9(i));
        // The pointer lines are drawn over the picture: the picture is the lowest element.
        const QObjectList kids = window->children();
        QCOMPARE(kids.indexOf(&*r.Image1), 0);
        for (int i = 0; i < 4; ++i)
            QVERIFY(kids.indexOf(&r.Line1(i)) > 0);
        for (int i = 0; i < 6; ++i)
            QVERIFY(kids.indexOf(&r.Label2(i)) >= kids.size() - 6);
    }

    void aDragKeepsTheCardsCentreUnderThePointer() {
        auto& r = openReflex();
        QWindow* w = win(r);
        Label& card = r.Label2(1);
        // Picked up near its corner, the card jumps so that its centre is under the pointer.
        const QPoint grip = pointIn(card, QPoint(5, 5));
        QTest::mouseMove(w, grip);
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, grip);
        QCOMPARE(corner(card), kHome[1]); // a press alone moves nothing
        QTest::mouseMove(w, grip + QPoint(1, 0));
        QVERIFY(qAbs(card.geometry().center().x() - (grip.x() + 1)) <= 1);
        QVERIFY(qAbs(card.geometry().center().y() - grip.y()) <= 1);
        // One long jump lands the pointer far outside the card: the card still follows.
        const QPoint far(420, 60);
        QTest::mouseMove(w, far);
        QVERIFY(qAbs(card.geometry().center().x() - far.x()) <= 1);
        QVERIFY(qAbs(card.geometry().center().y() - far.y()) <= 1);
        // No bounds: it goes off the screen with the pointer.
        const QPoint off(-150, -80);
        QTest::mouseMove(w, off);
        QVERIFY(card.Left() < -3000 && card.Top() < -1500);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, off);
        QVERIFY(card.Left() < -3000); // dropped in no catch area: it stays there
        click(r.Label3(1));
        QCOMPARE(corner(card), kHome[1]);
    }

    void onlyTheLeftButtonAloneDrags_data() {
        QTest::addColumn<int>("held");
        QTest::newRow("right") << int(Qt::RightButton);
        QTest::newRow("middle") << int(Qt::MiddleButton);
        QTest::newRow("left and right") << int(Qt::LeftButton | Qt::RightButton);
    }
    void onlyTheLeftButtonAloneDrags() {
        QFETCH(int, held);
        auto& r = openReflex();
        QWindow* w = win(r);
        const QPoint at = pointIn(r.Label2(3));
        QTest::mouseMove(w, at);
        QList<Qt::MouseButton> pressed;
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
            if (held & b) pressed << b;
        for (Qt::MouseButton b : pressed)
            QTest::mousePress(w, b, Qt::NoModifier, at);
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(w, at + QPoint(-40 * step, -60 * step));
        QCOMPARE(corner(r.Label2(3)), kHome[3]);
        const QPoint end = at + QPoint(-160, -240);
        for (Qt::MouseButton b : pressed)
            QTest::mouseRelease(w, b, Qt::NoModifier, end);
        QCOMPARE(corner(r.Label2(3)), kHome[3]);
    }

    void aReleaseOfAnyButtonRunsTheDrop_data() {
        QTest::addColumn<int>("button");
        QTest::newRow("left") << int(Qt::LeftButton);
        QTest::newRow("right") << int(Qt::RightButton);
        QTest::newRow("middle") << int(Qt::MiddleButton);
    }
    void aReleaseOfAnyButtonRunsTheDrop() {
        QFETCH(int, button);
        auto& r = openReflex();
        for (int i = 0; i < 6; ++i)
            dropOnSlot(r, i, i);
        QCOMPARE(pressCheckScore(r), QStringLiteral("6 out of 6 correct"));
        QVERIFY(messageShown(r));
        // A card left just off a slot by other means snaps on the release, and the message goes.
        placeCard(r, 0, 7700, 1300);
        pressAndReleaseOn(r, 0, Qt::MouseButton(button));
        QCOMPARE(corner(r.Label2(0)), QPointF(7800, 1200));
        QVERIFY(!messageShown(r));
        QVERIFY(checkScoreShown(r));
    }

    void aReleaseWhileTheLeftButtonStaysDownDropsAndTheDragGoesOn() {
        auto& r = openReflex();
        QWindow* w = win(r);
        Label& card = r.Label2(0);
        const QPoint from = pointIn(card);
        const QPoint overSlot = pointIn(r.Label1(2)) + QPoint(4, 3);
        QTest::mouseMove(w, from);
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(w, overSlot);
        QVERIFY(corner(card) != QPointF(7800, 2880));
        QTest::mousePress(w, Qt::RightButton, Qt::NoModifier, overSlot);
        QTest::mouseRelease(w, Qt::RightButton, Qt::NoModifier, overSlot);
        QCOMPARE(corner(card), QPointF(7800, 2880));     // snapped by the right button's release
        QTest::mouseMove(w, overSlot + QPoint(-300, 0)); // the left button is still down
        QVERIFY(card.Left() < 4000);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, overSlot + QPoint(-300, 0));
    }

    void catchAreasAreOpenWithExactBounds_data() {
        QTest::addColumn<QPointF>("dropped");
        QTest::addColumn<QPointF>("lands");
        const QPointF slot0(7800, 1200), slot1(7800, 2040), slot5(7800, 5400);
        QTest::newRow("on the left bound") << QPointF(6082.5, 1200) << QPointF(6082.5, 1200);
        QTest::newRow("a twip inside the left bound") << QPointF(6083.5, 1200) << slot0;
        QTest::newRow("half a twip inside the left bound") << QPointF(6083, 1400) << slot0;
        QTest::newRow("on the right bound") << QPointF(11235, 1200) << QPointF(11235, 1200);
        QTest::newRow("inside the right bound") << QPointF(11234.5, 1500) << slot0;
        QTest::newRow("on the top bound") << QPointF(7800, 892.5) << QPointF(7800, 892.5);
        QTest::newRow("inside the top bound") << QPointF(7900, 893) << slot0;
        QTest::newRow("on the last slot's bottom bound") << QPointF(7800, 6015) << QPointF(7800, 6015);
        QTest::newRow("inside the last slot's bottom bound") << QPointF(7800, 6014.5) << slot5;
        QTest::newRow("overlap of slots 0 and 1") << QPointF(8000, 1750) << slot0;
        QTest::newRow("overlap of slots 1 and 2") << QPointF(7000, 2600) << slot1;
        QTest::newRow("overlap of the homes of cards 0 and 1") << QPointF(3000, 7200) << QPointF(4200, 7200);
        QTest::newRow("another card's home") << QPointF(700, 6500) << QPointF(600, 6480);
        QTest::newRow("over the diagram") << QPointF(3000, 300) << QPointF(3000, 300);
    }
    void catchAreasAreOpenWithExactBounds() {
        QFETCH(QPointF, dropped);
        QFETCH(QPointF, lands);
        auto& r = openReflex();
        placeCard(r, 5, Single(dropped.x()), Single(dropped.y()));
        r.Label5->setVisible(true); // the drop hides it, so a card left lying shows that the drop ran
        pressAndReleaseOn(r, 5, Qt::LeftButton);
        QCOMPARE(corner(r.Label2(5)), lands);
        QVERIFY(!messageShown(r));
    }

    void aCardSnapsToAnotherCardsHomeAndStartAgainSendsEveryCardToItsOwn() {
        auto& r = openReflex();
        // Card 0 dropped by card 2's home, card 2 dropped on a slot.
        dropOnSlot(r, 2, 4);
        dragCard(r, 0, pointIn(r.Label4(2)) + QPoint(6, 5));
        QCOMPARE(corner(r.Label2(0)), kHome[2]);
        QCOMPARE(corner(r.Label2(2)), QPointF(7800, 4560));
        // Card 3 on top of card 0 at card 2's home: both lie exactly there.
        dragCard(r, 3, pointIn(r.Label4(2)) + QPoint(-7, -4));
        QCOMPARE(corner(r.Label2(3)), kHome[2]);
        click(r.Label3(1));
        for (int i = 0; i < 6; ++i)
            QCOMPARE(corner(r.Label2(i)), kHome[i]);
        QVERIFY(!checkScoreShown(r));
        QVERIFY(!messageShown(r));
    }

    void checkScoreAppearsAtTheSixthPlacementOnly() {
        auto& r = openReflex();
        const int order[6] = {4, 0, 5, 1, 3, 2};
        for (int n = 0; n < 6; ++n) {
            QVERIFY2(!checkScoreShown(r), qPrintable(QStringLiteral("shown after %1 placements").arg(n)));
            dropOnSlot(r, order[n], order[n]);
            QCOMPARE(corner(r.Label2(order[n])), corner(r.Label1(order[n])));
        }
        QVERIFY(checkScoreShown(r));
        QVERIFY(!messageShown(r));
        QCOMPARE(pressCheckScore(r), QStringLiteral("6 out of 6 correct"));
        QVERIFY(messageShown(r));
        QVERIFY(r.Label5->captionFits());
        // Scoring changes nothing else, and each press counts afresh.
        for (int i = 0; i < 6; ++i)
            QCOMPARE(corner(r.Label2(i)), corner(r.Label1(i)));
        QVERIFY(checkScoreShown(r));
        QCOMPARE(pressCheckScore(r), QStringLiteral("6 out of 6 correct"));
    }

    void scores_data() {
        QTest::addColumn<QList<int>>("slotOfCard");
        QTest::addColumn<QString>("message");
        QTest::newRow("all right") << QList<int>{0, 1, 2, 3, 4, 5} << QStringLiteral("6 out of 6 correct");
        QTest::newRow("first two swapped")
            << QList<int>{1, 0, 2, 3, 4, 5} << QStringLiteral("4 out of 6 correct");
        QTest::newRow("all wrong") << QList<int>{1, 2, 3, 4, 5, 0} << QStringLiteral("0 out of 6 correct");
        QTest::newRow("reversed") << QList<int>{5, 4, 3, 2, 1, 0} << QStringLiteral("0 out of 6 correct");
        // Two cards on slot 1 and slot 2 empty still make six placements.
        QTest::newRow("one slot doubled")
            << QList<int>{0, 1, 1, 3, 4, 5} << QStringLiteral("5 out of 6 correct");
    }
    void scores() {
        QFETCH(QList<int>, slotOfCard);
        QFETCH(QString, message);
        auto& r = openReflex();
        for (int i = 0; i < 6; ++i)
            dropOnSlot(r, i, slotOfCard[i]);
        for (int i = 0; i < 6; ++i)
            QCOMPARE(corner(r.Label2(i)), corner(r.Label1(slotOfCard[i])));
        QVERIFY(checkScoreShown(r));
        QCOMPARE(pressCheckScore(r), message);
        QVERIFY(r.Label5->captionFits());
    }

    void checkScoreStaysWhenACardLeavesItsSlot() {
        auto& r = openReflex();
        for (int i = 0; i < 6; ++i)
            dropOnSlot(r, i, i);
        QCOMPARE(pressCheckScore(r), QStringLiteral("6 out of 6 correct"));
        // Card 3 taken back to its home, card 1 left lying over the diagram.
        dragCard(r, 3, pointIn(r.Label4(3)));
        QCOMPARE(corner(r.Label2(3)), kHome[3]);
        QVERIFY(!messageShown(r));
        QVERIFY(checkScoreShown(r));
        dragCard(r, 1, QPoint(250, 40));
        QVERIFY(checkScoreShown(r));
        QCOMPARE(pressCheckScore(r), QStringLiteral("4 out of 6 correct"));
        // Card 4 moved onto card 5's slot: placed, but not right.
        dropOnSlot(r, 4, 5);
        QCOMPARE(pressCheckScore(r), QStringLiteral("3 out of 6 correct"));
    }

    void exitUncoversTheScreenBeneathAndReopeningStartsAfresh() {
        auto& beneath = form<Beneath>();
        beneath.Show();
        auto& r = openReflex();
        for (int i = 0; i < 6; ++i)
            dropOnSlot(r, i, (i + 2) % 6);
        pressCheckScore(r);
        hover(win(r), QPoint(400, 590)); // bare screen: the buttons turn transparent
        click(r.Label3(0));
        QVERIFY(!r.isLoaded());
        QVERIFY(!Runtime::ended());
        QCOMPARE(Runtime::loadedFormNames(), QStringList{QStringLiteral("Beneath")});
        QVERIFY(beneath.hWnd()->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        openReflex();
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(corner(r.Label2(i)), kHome[i]);
            QCOMPARE(r.Label2(i).Caption(), kSentences[i]);
            QCOMPARE(r.Label1(i).Caption(), QStringLiteral(" %1.").arg(i + 1));
        }
        for (int i = 0; i < 3; ++i)
            QCOMPARE(r.Label3(i).BackStyle(), int(vbOpaque));
        QVERIFY(!checkScoreShown(r));
        QVERIFY(!messageShown(r));
    }

    void hoverHighlightsTheButtons() {
        auto& r = openReflex();
        QWindow* w = win(r);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(r.Label3(i).BackStyle(), int(vbOpaque));
        hover(w, QPoint(400, 590)); // the bare screen, below the buttons
        for (int i = 0; i < 3; ++i)
            QCOMPARE(r.Label3(i).BackStyle(), int(vbTransparent));
        hover(w, pointIn(r.Label3(0)));
        QCOMPARE(r.Label3(0).BackStyle(), int(vbOpaque));
        QCOMPARE(r.Label3(1).BackStyle(), int(vbTransparent));
        hover(w, pointIn(r.Label3(1)));
        QCOMPARE(r.Label3(1).BackStyle(), int(vbOpaque));
        QCOMPARE(r.Label3(0).BackStyle(), int(vbOpaque)); // only the bare screen resets
        // Over the picture or a card the highlight stays; over the bare screen it goes.
        hover(w, pointIn(*r.Image1));
        hover(w, pointIn(r.Label2(0)));
        QCOMPARE(r.Label3(1).BackStyle(), int(vbOpaque));
        hover(w, QPoint(790, 300));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(r.Label3(i).BackStyle(), int(vbTransparent));
        for (int i = 0; i < 6; ++i)
            dropOnSlot(r, i, i);
        hover(w, pointIn(r.Label3(2)));
        QCOMPARE(r.Label3(2).BackStyle(), int(vbOpaque));
    }

    void aMovedCardRepaintsOnlyWhereItWasAndWhereItIs() {
        auto& r = openReflex();
        QWidget* window = r.hWnd();
        QWindow* w = win(r);
        flushPaints();
        Label& card = r.Label2(2);
        const QPoint at = pointIn(card);
        QTest::mouseMove(w, at);
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, at);
        flushPaints();
        PaintSpy spy(window);
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
        QWindow* w = win(r);
        static QPointingDevice* finger = QTest::createTouchDevice();
        const QPoint from = pointIn(r.Label2(1));
        const QPoint to = pointIn(r.Label1(1));
        QTest::touchEvent(w, finger).press(0, from, w);
        for (int i = 1; i <= 4; ++i)
            QTest::touchEvent(w, finger).move(0, from + (to - from) * i / 4, w);
        QTest::touchEvent(w, finger).release(0, to, w);
        QCOMPARE(corner(r.Label2(1)), QPointF(7800, 2040));
    }

    // Qt turns pen input into mouse input when no widget takes the pen's events; the screen must take none.
    void thePensEventsAreLeftForQtToTurnIntoMouseEvents() {
        auto& r = openReflex();
        QWindow* w = win(r);
        QPointingDevice pen(QStringLiteral("board pen"), 7001, QInputDevice::DeviceType::Stylus,
                            QPointingDevice::PointerType::Pen,
                            QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
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
        QCOMPARE(corner(r.Label2(4)), kHome[4]); // the pen's own events moved nothing
        QVERIFY(!r.Label2(4).testAttribute(Qt::WA_AcceptTouchEvents));
        QVERIFY(!r.hWnd()->testAttribute(Qt::WA_AcceptTouchEvents));
    }

    void aMissingDiagramEndsTheProgramWithAReportNamingIt() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Images")));
        setDataDir(dir.path());
        auto& rec = recordDesktop();
        openReflex();
        QVERIFY(Runtime::ended());
        QVERIFY(Runtime::exitCode() != 0);
        QCOMPARE(rec.errorReports.size(), 1);
        QVERIFY2(rec.errorReports[0].contains(QStringLiteral("Images\\reflex.jpg")),
                 qPrintable(rec.errorReports[0]));
        QVERIFY(!form<reflex>().isLoaded());
    }
};

QTEST_MAIN(TestReflex)
#include "test_reflex.moc"
