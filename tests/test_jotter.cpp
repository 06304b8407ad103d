// The Jotter, worked as at the board: real clicks on its buttons and swatches, real strokes on its page.
#include "Titlefrm.h"
#include "jotteraccess.h"
#include "notepad.h"
#include "support/testsupport.h"

#include <QAction>
#include <QSystemTrayIcon>
#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {

notepad& shownPad() {
    auto& p = form<notepad>();
    Runtime::dispatch([&p] { p.Show(); });
    return p;
}

// Whether the page, above the landscape toolbar or left of the portrait one, shows only its own colour.
bool blankPage(const notepad& p) {
    const bool wide = p.Frame_landscape->isVisible();
    const QImage page = p.hWnd()
                            ->grab()
                            .toImage()
                            .convertToFormat(QImage::Format_RGB32)
                            .copy(0, 0, wide ? p.hWnd()->width() : p.Frame_portrait->geometry().left(),
                                  wide ? p.Frame_landscape->geometry().top() : p.hWnd()->height());
    QImage blank(page.size(), page.format());
    blank.fill(toQColor(kPageColour));
    return page == blank;
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
        bool upright = false;
        for (const char* key : {"c", "f", "c", "f"}) {
            drag(windowOf(p), {30, 30}, {150, 110});
            QVERIFY(!blankPage(p));
            press(p, key);
            upright ^= *key == 'f';
            QVERIFY(blankPage(p));
            QCOMPARE(p.hWnd()->height() > p.hWnd()->width(), upright);
            QCOMPARE(p.Frame_portrait->isVisible(), upright);
            QCOMPARE(p.Frame_landscape->isVisible(), !upright);
            QVERIFY(p.hWnd()->rect().contains((upright ? p.Frame_portrait : p.Frame_landscape)->geometry()));
        }
        QCOMPARE(p.hWnd()->size(), wide);
    }

    // Right, middle, both held, or a press on the toolbar dragged up onto the page: nothing is drawn.
    void onlyALeftStrokeOnThePageDraws() {
        auto& p = shownPad();
        QWindow* w = windowOf(p);
        drag(w, {40, 40}, {300, 150}, Qt::RightButton);
        drag(w, {40, 40}, {300, 150}, Qt::MiddleButton);
        drag(w, {600, 230}, {400, 50});
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, {50, 50});
        drag(w, {50, 50}, {250, 150}, Qt::RightButton);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, {250, 150});
        QVERIFY(blankPage(p));
    }

    void exitUnloadsAndTheNextShowStartsAfresh() {
        auto& p = shownPad();
        const QSize size = p.hWnd()->size();
        const OleColor pen = p.ForeColor();
        for (const char* key : {"s12", "f"})
            press(p, key);
        drag(windowOf(p), {30, 500}, {150, 600});
        press(p, "e");
        click(*p.Command9); // the portrait Exit
        QVERIFY(!p.isLoaded());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        shownPad();
        QCOMPARE(p.hWnd()->size(), size);
        QVERIFY(blankPage(p));
        QCOMPARE(p.DrawWidth(), 3);
        press(p, "w");
        QCOMPARE(p.ForeColor(), pen); // the pen to return to is the first one again too
        p.hWnd()->close();            // the title bar's close button
        QVERIFY(!p.isLoaded());
        QVERIFY(!Runtime::ended());
    }

    // Only Ctrl+J or the tray's entry opens it; Ctrl+J on the pad keeps what is written there.
    void theKeysAndTheTrayOpenTheJotter() {
        jotter::JotterAccess access;
        Runtime::dispatch([] { form<Titlefrm>().Show(); });
        QWindow* screen = windowOf(form<Titlefrm>());
        QTest::keyClick(screen, Qt::Key_J);
        QTest::keyClick(screen, Qt::Key_J, Qt::AltModifier);
        QVERIFY(!form<notepad>().isLoaded());
        QTest::keyClick(screen, Qt::Key_J, Qt::ControlModifier);
        auto& p = form<notepad>();
        QVERIFY(p.isLoaded());
        drag(windowOf(p), {40, 40}, {300, 40});
        QTest::keyClick(windowOf(p), Qt::Key_J, Qt::ControlModifier);
        QVERIFY(!blankPage(p));
        click(*p.Command1);
        // The tray is set up once the first window has been painted, where the desktop has one.
        QVERIFY(QTest::qWaitForWindowExposed(screen));
        QTRY_COMPARE(access.trayIcon() != nullptr, QSystemTrayIcon::isSystemTrayAvailable());
        access.openAction()->trigger();
        QVERIFY(p.isLoaded() && p.hWnd()->isVisible());
    }
};

QTEST_MAIN(TestJotter)
#include "test_jotter.moc"
