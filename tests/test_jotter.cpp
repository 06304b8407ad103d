// The Jotter, worked as at the board: real clicks on its buttons and swatches, real strokes on its page, and
// the results read back from the pixels its window shows.
#include "Titlefrm.h"
#include "jotteraccess.h"
#include "notepad.h"
#include "support/testsupport.h"

#include <QAction>
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

// The page of the pad as it is shaped now: above the landscape toolbar, or left of the portrait one.
QRect pageArea(const notepad& p) {
    return p.Frame_landscape->isVisible()
               ? QRect(0, 0, p.hWnd()->width(), p.Frame_landscape->geometry().top())
               : QRect(0, 0, p.Frame_portrait->geometry().left(), p.hWnd()->height());
}

// One press on the toolbar the pad shows: "sN" swatch N, "w" Write, "e" Erase, "c" Clear, "f" Flip.
void press(notepad& p, const QString& key) {
    const bool wide = p.Frame_landscape->isVisible();
    if (key.startsWith(QLatin1Char('s'))) return click((wide ? p.Label1 : p.Label11)(key.mid(1).toInt()));
    const qsizetype i = QStringLiteral("wecf").indexOf(key);
    QVERIFY2(key.size() == 1 && i >= 0, qPrintable(key));
    const CommandButton* wideOnes[] = {&*p.Command2, &*p.Command5, &*p.Command6, &*p.Command3};
    const CommandButton* tallOnes[] = {&*p.Command10, &*p.Command8, &*p.Command7, &*p.Command4};
    click(*(wide ? wideOnes : tallOnes)[i]);
}

} // namespace

class TestJotter : public QObject {
    Q_OBJECT
private slots:
    void init() {
        freshRuntime();
        recordDesktop();
    }

    // The pen after a sequence of presses: a QBColor number, or -1 for the eraser in the page's colour.
    void penStates_data() {
        QTest::addColumn<QString>("presses");
        QTest::addColumn<int>("pen");
        QTest::addColumn<int>("saved");
        QTest::newRow("erase") << "s10 e" << -1 << 10;
        QTest::newRow("erase, write") << "s10 e w" << 10 << 10;
        // Erase again while erasing must not turn the pen into an invisible one.
        QTest::newRow("erase twice, write") << "s4 e e w" << 4 << 4;
        QTest::newRow("portrait: erase twice, write") << "s4 f e e w" << 4 << 4;
        QTest::newRow("erase, clear: yellow") << "s12 e c" << 14 << 12;
        QTest::newRow("erase, clear, write") << "s12 e c w" << 12 << 12;
        QTest::newRow("portrait: erase, clear") << "f s5 e c" << 14 << 5;
        QTest::newRow("clear while writing") << "s9 c" << 9 << 9;
        QTest::newRow("a swatch ends erasing") << "e s2" << 2 << 2;
        QTest::newRow("and is the pen to return to") << "e s2 e w" << 2 << 2;
        QTest::newRow("flip keeps the pen") << "s12 f" << 12 << 12;
        QTest::newRow("and the eraser") << "s12 f e f" << -1 << 12;
    }
    void penStates() {
        QFETCH(QString, presses);
        QFETCH(int, pen);
        QFETCH(int, saved);
        auto& p = shownPad();
        for (const QString& key : presses.split(QLatin1Char(' ')))
            press(p, key);
        QCOMPARE(p.ForeColor(), pen < 0 ? kPageColour : QBColor(pen));
        QCOMPARE(p.DrawWidth(), pen < 0 ? 30 : 3);
        QCOMPARE(p.SavedPenColour, QBColor(saved));
    }

    // Clear and Flip both empty the page; Flip turns the pad upright and back, swapping its toolbars.
    void clearAndFlipEmptyThePageAndFlipTurnsThePad() {
        auto& p = shownPad();
        const QSize wide = p.hWnd()->size();
        QVERIFY(wide.width() > wide.height());
        bool upright = false;
        for (const char* key : {"c", "f", "c", "f"}) {
            const QPoint at = pageArea(p).topLeft() + QPoint(30, 30);
            stroke(windowOf(p), {at, at + QPoint(120, 80)});
            QCOMPARE(shot(p).pixelColor(at), kYellow);
            press(p, key);
            upright ^= *key == 'f';
            QCOMPARE(pixelsNot(shot(p), pageArea(p), {{0, 0}}, 0, 1e6, kPage), QStringList());
            QCOMPARE(p.hWnd()->height() > p.hWnd()->width(), upright);
            QCOMPARE(p.Frame_portrait->isVisible(), upright);
            QCOMPARE(p.Frame_landscape->isVisible(), !upright);
            QVERIFY(p.hWnd()->rect().contains((upright ? p.Frame_portrait : p.Frame_landscape)->geometry()));
        }
        QCOMPARE(p.hWnd()->size(), wide);
        QCOMPARE(p.Frame_landscape->geometry().bottom(), wide.height() - 1);
        QCOMPARE(p.BackColor(), kPageColour);
    }

    void aStrokeStartsAtThePressAndJoinsEveryMove() {
        auto& p = shownPad();
        QWindow* w = windowOf(p);
        const QList<QPoint> path{{40, 40}, {120, 40}, {120, 100}, {200, 60}, {201, 61}, {260, 150}};
        stroke(w, path);
        const QImage s = shot(p);
        // Solid along the whole path from the pressed pixel on; nothing anywhere else, not even from the
        // corner.
        QCOMPARE(pixelsNot(s, pageArea(p), path, 0, 0.7, kYellow), QStringList());
        QCOMPARE(pixelsNot(s, pageArea(p), path, 2.5, 1e6, kPage), QStringList());
        // The ink is kept, not just drawn: hidden, shown and repainted, the page shows the same.
        p.hWnd()->hide();
        QCoreApplication::processEvents();
        p.hWnd()->show();
        p.hWnd()->repaint();
        QCOMPARE(shot(p), s);
        // Three pixels wide (the bands above hold the middle row and all beyond 2.5 pixels).
        QCOMPARE(s.pixelColor(80, 39), kYellow);
        QCOMPARE(s.pixelColor(80, 41), kYellow);
        // A swatch's pen draws in its colour; a press elsewhere starts a new stroke there, joined to nothing.
        press(p, "s13");
        stroke(w, {{300, 175}, {600, 175}});
        QCOMPARE(shot(p).pixelColor(450, 175), QColor(255, 0, 255));
        QCOMPARE(shot(p).pixelColor(280, 162), kPage);
    }

    void onlyALeftStrokeOnThePageDraws() {
        auto& p = shownPad();
        QWindow* w = windowOf(p);
        const QImage before = shot(p);
        stroke(w, {{40, 40}, {200, 60}, {300, 150}}, Qt::RightButton);
        stroke(w, {{40, 40}, {200, 60}, {300, 150}}, Qt::MiddleButton);
        // A press on the toolbar's bare part and a drag up onto the page: the page's pen never went down.
        stroke(w, {{600, 230}, {600, 100}, {400, 50}});
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

    void exitUnloadsAndTheNextShowStartsAfresh() {
        auto& p = shownPad();
        const QSize size = p.hWnd()->size();
        const OleColor pen = p.ForeColor();
        for (const char* key : {"s12", "f"})
            press(p, key);
        stroke(windowOf(p), {{30, 500}, {150, 600}});
        press(p, "e");
        click(*p.Command9); // the portrait Exit
        QVERIFY(!p.isLoaded());
        QVERIFY(!p.hWnd());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        shownPad();
        QCOMPARE(p.hWnd()->size(), size);
        QVERIFY(p.ink().isNull());
        QCOMPARE(p.DrawWidth(), 3);
        press(p, "w");
        QCOMPARE(p.ForeColor(), pen); // the pen to return to is the first one again too
        QVERIFY(pixelsNot(shot(p), pageArea(p), {{0, 0}}, 0, 1e6, kPage).isEmpty());
        click(*p.Command1); // the landscape Exit as well
        QVERIFY(!p.isLoaded());
        shownPad().hWnd()->close(); // and the title bar's close button
        QVERIFY(!p.isLoaded());
        QVERIFY(!Runtime::ended());
    }

    void ctrlJOnAScreenOpensTheJotter() {
        jotter::JotterAccess access;
        Runtime::dispatch([] { form<Titlefrm>().Show(); });
        QWindow* screen = windowOf(form<Titlefrm>());

        QTest::keyClick(screen, Qt::Key_J);
        QTest::keyClick(screen, Qt::Key_J, Qt::AltModifier);
        QVERIFY(!form<notepad>().isLoaded());

        QTest::keyClick(screen, Qt::Key_J, Qt::ControlModifier);
        auto& p = form<notepad>();
        QVERIFY(p.isLoaded()); // over the screen: the flow test's

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
