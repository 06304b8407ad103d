// The Jotter, worked as at the board: real clicks on its buttons and swatches, real strokes on its page, and
// the results read back from the pixels its window shows.
#include "Titlefrm.h"
#include "jotteraccess.h"
#include "notepad.h"
#include "support/testsupport.h"

#include <QAction>
#include <QPaintEvent>
#include <QSystemTrayIcon>
#include <QtTest>

#include <cmath>

using namespace vb;
using namespace testsupport;

namespace {

const QColor kPage(49, 135, 215);
const QColor kYellow(255, 255, 0);

notepad& shownPad() {
    auto& p = form<notepad>();
    Runtime::dispatch([&p] { p.Show(); });
    return p;
}

QImage shot(const Form& f) {
    return f.hWnd()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Presses at the first point, moves through the others, and lets go at the last; window pixels.
void stroke(QWindow* w, const QList<QPoint>& path, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mouseMove(w, path.first());
    QTest::mousePress(w, b, Qt::NoModifier, path.first());
    for (qsizetype i = 1; i < path.size(); ++i)
        QTest::mouseMove(w, path[i]);
    QTest::mouseRelease(w, b, Qt::NoModifier, path.last());
}

double distanceToPath(QPointF p, const QList<QPoint>& path) {
    double best = 1e9;
    for (qsizetype i = 1; i < path.size(); ++i) {
        const QPointF a = path[i - 1], b = path[i], ab = b - a;
        const double len2 = QPointF::dotProduct(ab, ab);
        const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0) : 0.0;
        const QPointF d = p - (a + t * ab);
        best = std::min(best, std::hypot(d.x(), d.y()));
    }
    return best;
}

// Pixels of `image` inside `area` whose distance to the path lies in [from, to] and whose colour is not
// `want`.
QStringList pixelsNot(const QImage& image, const QRect& area, const QList<QPoint>& path, double from,
                      double to, const QColor& want) {
    QStringList wrong;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const double d = distanceToPath(QPointF(x, y), path);
            if (d < from || d > to) continue;
            const QColor c = image.pixelColor(x, y);
            if (c != want && wrong.size() < 5)
                wrong << QStringLiteral("(%1,%2)=%3").arg(x).arg(y).arg(c.name());
        }
    return wrong;
}

QList<QRectF> rectsOf(const Arr<Label>& swatches) {
    QList<QRectF> r;
    for (int i = 0; i < 16; ++i) {
        const Label& l = swatches(i);
        r << QRectF(l.Left(), l.Top(), l.Width(), l.Height());
    }
    return r;
}

// The page area of the landscape pad, above its toolbar.
const QRect kLandscapePage(0, 0, 661, 194);

class PaintSpy : public QObject {
public:
    QRegion painted;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
};

} // namespace

class TestJotter : public QObject {
    Q_OBJECT
private:
    RecordingPlatform* desktop = nullptr;

private slots:
    void init() {
        freshRuntime();
        desktop = &recordDesktop();
    }

    void startsAsALandscapePadWithAYellowPen() {
        auto& p = shownPad();
        QCOMPARE(p.Caption(), QStringLiteral("Jotter"));
        QVERIFY(p.Decorated());
        QCOMPARE(p.Width(), 10005.0f);
        QCOMPARE(p.Height(), 4140.0f);
        QCOMPARE(p.ScaleWidth(), 9915.0f);
        QCOMPARE(p.ScaleHeight(), 3660.0f);
        QCOMPARE(p.hWnd()->size(), QSize(661, 244));
        QCOMPARE(p.BackColor(), RGB(49, 135, 215));
        QCOMPARE(p.ForeColor(), QBColor(14));
        QCOMPARE(p.SavedPenColour, QBColor(14));
        QCOMPARE(p.DrawWidth(), 3);
        QVERIFY(p.Frame_landscape->isVisible());
        QVERIFY(!p.Frame_portrait->isVisible());
        QCOMPARE(p.Frame_landscape->BackColor(), RGB(49, 135, 215));
        QCOMPARE(p.Frame_portrait->BackColor(), RGB(49, 135, 215));
        // The toolbar lies along the bottom of the page, and the page shows blue above it.
        QCOMPARE(p.Frame_landscape->geometry().bottom(), p.hWnd()->height() - 1);
        QCOMPARE(shot(p).pixelColor(330, 100), kPage);
    }

    void swatchesSitInTheirRowAndColumnsInTheirColours() {
        auto& p = shownPad();
        QList<QRectF> row, columns;
        for (int i = 0; i < 16; ++i) {
            row << QRectF(5010 + 305 * i, 285, 240, 240);
            columns << QRectF(i < 8 ? 180 : 580, 2820 + 290 * (i % 8), 240, 240);
        }
        QCOMPARE(rectsOf(p.Label1), row);
        QCOMPARE(rectsOf(p.Label11), columns);
        QCOMPARE(p.Label1(15).Left(), 9585.0f);

        // Each swatch shows its colour on the board, in the toolbar of the shape the pad has.
        QImage s = shot(p);
        for (int i = 0; i < 16; ++i) {
            QCOMPARE(p.Label1(i).BackColor(), QBColor(i));
            QCOMPARE(s.pixelColor(pointIn(p.Label1(i))), toQColor(QBColor(i)));
            QVERIFY(p.Label1(i).Caption().isEmpty());
            QCOMPARE(p.Label1(i).BorderStyle(), int(vbBSNone));
        }
        click(*p.Command3);
        s = shot(p);
        for (int i = 0; i < 16; ++i) {
            QCOMPARE(p.Label11(i).BackColor(), QBColor(i));
            QCOMPARE(s.pixelColor(pointIn(p.Label11(i))), toQColor(QBColor(i)));
        }
    }

    void everySwatchOfEitherToolbarPicksItsColour() {
        auto& p = shownPad();
        for (int i = 0; i < 16; ++i) {
            click(*p.Command5); // erasing first: a swatch ends it
            click(p.Label1(i));
            QCOMPARE(p.ForeColor(), QBColor(i));
            QCOMPARE(p.DrawWidth(), 3);
            QCOMPARE(p.SavedPenColour, QBColor(i));
        }
        click(*p.Command3);
        for (int i = 15; i >= 0; --i) {
            click(*p.Command8);
            click(p.Label11(i));
            QCOMPARE(p.ForeColor(), QBColor(i));
            QCOMPARE(p.DrawWidth(), 3);
            QCOMPARE(p.SavedPenColour, QBColor(i));
        }
    }

    void flipEitherWayEmptiesThePageAndKeepsThePen() {
        auto& p = shownPad();
        QWindow* w = windowOf(p);
        click(p.Label1(12));
        stroke(w, {{50, 50}, {250, 120}});
        QCOMPARE(shot(p).pixelColor(50, 50), QColor(255, 0, 0));

        click(*p.Command3);
        QCOMPARE(shot(p).pixelColor(50, 50), kPage);
        QCOMPARE(p.ForeColor(), QBColor(12));
        QCOMPARE(p.DrawWidth(), 3);
        QCOMPARE(p.SavedPenColour, QBColor(12));

        stroke(w, {{30, 500}, {150, 600}});
        QCOMPARE(shot(p).pixelColor(30, 500), QColor(255, 0, 0));
        click(*p.Command8); // the eraser goes across the flip too
        click(*p.Command4);
        QVERIFY(pixelsNot(shot(p), kLandscapePage, {{0, 0}}, 0, 1e6, kPage).isEmpty());
        QCOMPARE(p.ForeColor(), RGB(49, 135, 215));
        QCOMPARE(p.DrawWidth(), 30);
        QCOMPARE(p.SavedPenColour, QBColor(12));
    }

    void eraseThenWriteGivesBackThePen() {
        auto& p = shownPad();
        click(p.Label1(10));
        click(*p.Command5);
        QCOMPARE(p.ForeColor(), RGB(49, 135, 215));
        QCOMPARE(p.DrawWidth(), 30);
        click(*p.Command2);
        QCOMPARE(p.ForeColor(), QBColor(10));
        QCOMPARE(p.DrawWidth(), 3);
    }

    void eraseTwiceThenWriteStillGivesBackThePen() {
        // Pressing Erase again while erasing must not turn the pen into an invisible one.
        auto& p = shownPad();
        click(p.Label1(4));
        click(*p.Command5);
        click(*p.Command5);
        click(*p.Command2);
        QCOMPARE(p.ForeColor(), QBColor(4));
        QCOMPARE(p.DrawWidth(), 3);
        click(*p.Command3);
        click(*p.Command8);
        click(*p.Command8);
        click(*p.Command10);
        QCOMPARE(p.ForeColor(), QBColor(4));
    }

    void eraseThenClearLeavesYellowAndWriteGivesBackThePen() {
        auto& p = shownPad();
        QWindow* w = windowOf(p);
        click(p.Label1(12));
        stroke(w, {{40, 40}, {300, 40}});
        click(*p.Command5);
        click(*p.Command6);
        QCOMPARE(p.ForeColor(), QBColor(14));
        QCOMPARE(p.DrawWidth(), 3);
        QCOMPARE(p.SavedPenColour, QBColor(12));
        QVERIFY(pixelsNot(shot(p), kLandscapePage, {{0, 0}}, 0, 1e6, kPage).isEmpty());
        click(*p.Command2);
        QCOMPARE(p.ForeColor(), QBColor(12));
        QCOMPARE(p.DrawWidth(), 3);
    }

    void clearWhileWritingKeepsTheSwatchColour() {
        auto& p = shownPad();
        QWindow* w = windowOf(p);
        click(p.Label1(9));
        stroke(w, {{40, 40}, {300, 150}});
        QCOMPARE(shot(p).pixelColor(40, 40), QColor(0, 0, 255));
        click(*p.Command6);
        QCOMPARE(p.ForeColor(), QBColor(9));
        QCOMPARE(p.DrawWidth(), 3);
        QCOMPARE(p.SavedPenColour, QBColor(9));
        QCOMPARE(p.BackColor(), RGB(49, 135, 215));
        QVERIFY(pixelsNot(shot(p), kLandscapePage, {{0, 0}}, 0, 1e6, kPage).isEmpty());
    }

    void aSwatchEndsErasing() {
        auto& p = shownPad();
        click(*p.Command5);
        click(p.Label1(2));
        QCOMPARE(p.ForeColor(), QBColor(2));
        QCOMPARE(p.DrawWidth(), 3);
        click(*p.Command5);
        click(*p.Command2);
        QCOMPARE(p.ForeColor(), QBColor(2)); // the swatch became the pen to return to
    }

    void aLeftStrokeStartsAtThePressAndJoinsEveryMove() {
        auto& p = shownPad();
        QWindow* w = windowOf(p);
        const QList<QPoint> path{{40, 40}, {120, 40}, {120, 100}, {200, 60}, {201, 61}, {260, 150}};
        stroke(w, path);
        const QImage s = shot(p);
        // Solid along the whole path from the pressed pixel on; nothing anywhere else, not even from the
        // corner.
        QStringList gaps = pixelsNot(s, kLandscapePage, path, 0, 0.7, kYellow);
        QVERIFY2(gaps.isEmpty(), qPrintable(gaps.join(' ')));
        QStringList strays = pixelsNot(s, kLandscapePage, path, 2.5, 1e6, kPage);
        QVERIFY2(strays.isEmpty(), qPrintable(strays.join(' ')));
        QCOMPARE(s.pixelColor(40, 40), kYellow);
        QCOMPARE(s.pixelColor(37, 40), kPage); // starts at the press, not before it
        // Three pixels wide.
        for (int y : {39, 40, 41})
            QCOMPARE(s.pixelColor(80, y), kYellow);
        for (int y : {37, 43})
            QCOMPARE(s.pixelColor(80, y), kPage);
    }

    void strokesUseThePensColourAndWidth() {
        auto& p = shownPad();
        QWindow* w = windowOf(p);
        click(p.Label1(13));
        stroke(w, {{30, 100}, {400, 100}});
        const QImage s = shot(p);
        for (int y : {99, 100, 101})
            QCOMPARE(s.pixelColor(200, y), QColor(255, 0, 255));
        QCOMPARE(s.pixelColor(200, 103), kPage);
        // A press elsewhere starts a new stroke there: no line joins it to the last one.
        stroke(w, {{30, 150}, {100, 150}});
        QCOMPARE(shot(p).pixelColor(200, 125), kPage);
    }

    void onlyTheLeftButtonAloneDraws() {
        auto& p = shownPad();
        QWindow* w = windowOf(p);
        const QImage before = shot(p);
        stroke(w, {{40, 40}, {200, 60}, {300, 150}}, Qt::RightButton);
        QCOMPARE(shot(p), before);
        stroke(w, {{40, 40}, {200, 60}, {300, 150}}, Qt::MiddleButton);
        QCOMPARE(shot(p), before);
        // Left and right held together draw nothing either.
        QTest::mouseMove(w, {50, 50});
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, {50, 50});
        QTest::mousePress(w, Qt::RightButton, Qt::NoModifier, {50, 50});
        QTest::mouseMove(w, {250, 150});
        QTest::mouseRelease(w, Qt::RightButton, Qt::NoModifier, {250, 150});
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, {250, 150});
        QCOMPARE(shot(p), before);
    }

    void strokesOverAToolbarDoNotStart() {
        auto& p = shownPad();
        QWindow* w = windowOf(p);
        const QImage before = shot(p);
        // A press on the toolbar's bare part and a drag up onto the page: the page's pen never went down.
        stroke(w, {{600, 230}, {600, 100}, {400, 50}});
        QCOMPARE(shot(p), before);
    }

    void everyMoveIsDrawnAtOnce() {
        auto& p = shownPad();
        QWindow* w = windowOf(p);
        QTest::mouseMove(w, {100, 100});
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, {100, 100});
        for (int x = 101; x <= 110; ++x) {
            QTest::mouseMove(w, {x, 100});
            // Already in the page's ink, one pixel on, before anything else has run.
            QCOMPARE(p.ink().pixelColor(x, 100), kYellow);
            QCOMPARE(p.CurrentX(), Single(x * 15));
        }
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, {110, 100});
    }

    void aStrokeRepaintsOnlyWhereItWent() {
        auto& p = shownPad();
        QWindow* w = windowOf(p);
        QCoreApplication::processEvents();
        PaintSpy spy;
        p.hWnd()->installEventFilter(&spy);
        stroke(w, {{300, 60}, {320, 70}});
        QCoreApplication::processEvents();
        p.hWnd()->removeEventFilter(&spy);
        QVERIFY(!spy.painted.isEmpty());
        QVERIFY2(QRect(290, 50, 40, 30).contains(spy.painted.boundingRect()),
                 qPrintable(QStringLiteral("repainted %1,%2 %3x%4")
                                .arg(spy.painted.boundingRect().x())
                                .arg(spy.painted.boundingRect().y())
                                .arg(spy.painted.boundingRect().width())
                                .arg(spy.painted.boundingRect().height())));
    }

    void theEraserRestoresThePageWithoutNotches() {
        auto& p = shownPad();
        QWindow* w = windowOf(p);
        for (int y = 40; y <= 170; y += 10)
            stroke(w, {{10, y}, {600, y}});
        click(*p.Command5);
        // Sharp turns: a flat-ended band would leave wedges of ink at the outside of each corner.
        const QList<QPoint> path{{60, 60}, {150, 150}, {240, 60}, {330, 150}, {420, 70}, {425, 140}};
        stroke(w, path);
        const QImage s = shot(p);
        QStringList left = pixelsNot(s, kLandscapePage, path, 0, 13, kPage);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
        QCOMPARE(s.pixelColor(550, 100), kYellow); // the rest of the writing is still there
        QCOMPARE(s.pixelColor(20, 60), kYellow);
    }

    void inkSurvivesRepaintsAndBeingHidden() {
        auto& p = shownPad();
        QWindow* w = windowOf(p);
        const QList<QPoint> path{{40, 40}, {300, 120}};
        stroke(w, path);
        p.hWnd()->hide();
        QCoreApplication::processEvents();
        p.hWnd()->show();
        p.hWnd()->repaint();
        const QImage s = shot(p);
        QVERIFY(pixelsNot(s, kLandscapePage, path, 0, 0.7, kYellow).isEmpty());
        QVERIFY(pixelsNot(s, kLandscapePage, path, 2.5, 1e6, kPage).isEmpty());
    }

    void windowSizesOfBothShapes() {
        auto& p = shownPad();
        click(*p.Command3);
        QCOMPARE(p.Width(), 4000.0f);
        QCOMPARE(p.Height(), 12000.0f);
        QCOMPARE(p.Frame_portrait->Left(), 2885.0f);
        QCOMPARE(p.Frame_portrait->Top(), 0.0f);
        QVERIFY(p.Frame_portrait->isVisible());
        QVERIFY(!p.Frame_landscape->isVisible());
        // The portrait toolbar stands wholly inside the page, in its top right corner.
        const QRect page(QPoint(0, 0), p.hWnd()->size());
        QCOMPARE(page.size(), QSize(261, 768));
        const QRect bar = p.Frame_portrait->geometry();
        QVERIFY(page.contains(bar));
        QCOMPARE(bar.top(), 0);
        QVERIFY(page.right() - bar.right() <= 1);
        QCOMPARE(shot(p).pixelColor(100, 700), kPage);

        click(*p.Command4);
        QCOMPARE(p.Width(), 10005.0f);
        QCOMPARE(p.Height(), 4140.0f);
        QCOMPARE(p.ScaleWidth(), 9915.0f);
        QCOMPARE(p.ScaleHeight(), 3660.0f);
        QCOMPARE(p.hWnd()->size(), QSize(661, 244));
        QVERIFY(p.Frame_landscape->isVisible());
        QVERIFY(!p.Frame_portrait->isVisible());
        QCOMPARE(p.Frame_landscape->geometry(), QRect(0, 194, 661, 50)); // along the bottom edge again
    }

    void exitUnloadsAndTheNextShowStartsAfresh() {
        auto& p = shownPad();
        QWindow* w = windowOf(p);
        click(p.Label1(12));
        click(*p.Command3);
        stroke(w, {{30, 500}, {150, 600}});
        click(*p.Command8);
        click(*p.Command9);
        QVERIFY(!p.isLoaded());
        QVERIFY(!p.hWnd());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        shownPad();
        QCOMPARE(p.Width(), 10005.0f);
        QCOMPARE(p.Height(), 4140.0f);
        QVERIFY(p.Frame_landscape->isVisible());
        QVERIFY(!p.Frame_portrait->isVisible());
        QVERIFY(p.ink().isNull());
        QCOMPARE(p.ForeColor(), QBColor(14));
        QCOMPARE(p.DrawWidth(), 3);
        click(*p.Command2);
        QCOMPARE(p.ForeColor(), QBColor(14)); // the pen to return to is yellow again too
        QVERIFY(pixelsNot(shot(p), kLandscapePage, {{0, 0}}, 0, 1e6, kPage).isEmpty());

        click(*p.Command1); // the landscape Exit as well
        QVERIFY(!p.isLoaded());
    }

    void theTitleBarsCloseButtonPutsThePadAway() {
        auto& p = shownPad();
        p.hWnd()->close();
        QVERIFY(!p.isLoaded());
        QVERIFY(!Runtime::ended());
    }

    void staysInFrontOfScreensShownAfterIt() {
        auto& p = shownPad();
        QVERIFY(p.StaysOnTop());
        QVERIFY(p.hWnd()->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(desktop->keptInFront.contains(p.hWnd()));
        QVERIFY(p.hWnd()->isVisible()); // setting the hint did not leave it hidden

        auto& t = form<Titlefrm>();
        Runtime::dispatch([&t] { t.Show(); });
        QCOMPARE(Runtime::stackingOrder().last(), static_cast<Form*>(&p));
        QVERIFY(Runtime::stackingOrder().contains(&t));
        Runtime::dispatch([&t] { t.Unload(); });
        Runtime::dispatch([&t] { t.Show(); });
        QCOMPARE(Runtime::stackingOrder().last(), static_cast<Form*>(&p));
        QVERIFY(p.hWnd()->isVisible());
    }

    void ctrlJOnAScreenOpensTheJotter() {
        jotter::JotterAccess access;
        auto& t = form<Titlefrm>();
        Runtime::dispatch([&t] { t.Show(); });
        const QRect before = t.hWnd()->geometry();
        QWindow* screen = windowOf(t);

        QTest::keyClick(screen, Qt::Key_J);
        QTest::keyClick(screen, Qt::Key_J, Qt::AltModifier);
        QVERIFY(!form<notepad>().isLoaded());

        QTest::keyClick(screen, Qt::Key_J, Qt::ControlModifier);
        auto& p = form<notepad>();
        QVERIFY(p.isLoaded());
        QVERIFY(p.hWnd()->isVisible());
        QCOMPARE(Runtime::stackingOrder().last(), static_cast<Form*>(&p));
        QVERIFY(t.isLoaded());
        QCOMPARE(t.hWnd()->geometry(), before); // the screen itself is left as it was

        // Pressed again, on the pad itself, it keeps what is written there.
        stroke(windowOf(p), {{40, 40}, {300, 40}});
        QTest::keyClick(windowOf(p), Qt::Key_J, Qt::ControlModifier);
        QVERIFY(p.isLoaded());
        QCOMPARE(shot(p).pixelColor(100, 40), kYellow);

        // After Exit it comes back fresh.
        click(*p.Command1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTest::keyClick(screen, Qt::Key_J, Qt::ControlModifier);
        QVERIFY(p.isLoaded());
        QVERIFY(p.ink().isNull());
    }

    void theTrayEntryOpensTheJotter() {
        jotter::JotterAccess access;
        QCOMPARE(access.openAction()->text(), QStringLiteral("Open the Jotter"));
        Runtime::dispatch([] { form<Titlefrm>().Show(); });
        // The tray is set up once the first window has been painted, where the desktop has one.
        QVERIFY(QTest::qWaitForWindowExposed(windowOf(form<Titlefrm>())));
        QTRY_COMPARE(access.trayIcon() != nullptr, QSystemTrayIcon::isSystemTrayAvailable());
        access.openAction()->trigger();
        QVERIFY(form<notepad>().isLoaded());
        QVERIFY(form<notepad>().hWnd()->isVisible());
    }
};

QTEST_MAIN(TestJotter)
#include "test_jotter.moc"
