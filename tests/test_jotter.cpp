// The Jotter, worked as at the board: real presses, moves and releases on its page by mouse, pen and fingers,
// real clicks on its buttons and swatches, its keys; what it saves, prints and brings back after an accident.
#include "Titlefrm.h"
#include "jotteraccess.h"
#include "journal.h"
#include "notepad.h"
#include "support/testsupport.h"

#include <QAction>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
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

// The journal as it stands, and a start after a run that left that one: the runtime's own end removes it.
QByteArray journalNow() {
    QFile f(Journal::path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void startAgainWith(const QByteArray& journal) {
    freshRuntime();
    QFile f(Journal::path());
    QVERIFY(!f.exists());
    QVERIFY(QDir().mkpath(Journal::folder()) && f.open(QIODevice::WriteOnly) && f.write(journal));
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

    // Steps on the page: "a" a mouse stroke on row A, "b" a finger's on row B, "d" both at once by two
    // fingers, "c" Clear, "e" Erase, "f" Flip, "w" Write, "z" Ctrl+Z, "Z" Ctrl+Shift+Z, "y" Ctrl+Y, "2" and
    // "3" quick taps of two and three fingers at T, "." two fingers' dots at T pressed far apart in time,
    // "(" a finger down on B and three quarters along, ")" on to its end and up; "[" and "]" the same by
    // mouse. Then ink shows on A, on B, at T; never between the rows, where only a line joining fingers could
    // be. Then the program ends by accident: the page comes back, its history with it; and saved, it is the
    // same.
    void undoAndRedo_data() {
        QTest::addColumn<QString>("steps"); // then "=" and what shows
        QTest::newRow("keys") << "a b z z y = A--";
        QTest::newRow("redo with shift") << "a b z z Z = A--";
        QTest::newRow("two fingers writing") << "d = AB-";
        QTest::newRow("are two steps") << "d z = A--";
        QTest::newRow("a two-finger tap undoes") << "a b 2 = A--";
        QTest::newRow("three redo") << "a b 2 2 3 = A--";
        QTest::newRow("a rub-out") << "a e a w = ---";
        QTest::newRow("undone") << "a e a w z = A--";
        QTest::newRow("clear undone") << "a b c z = AB-";
        QTest::newRow("and redone") << "a b c z y = ---";
        QTest::newRow("flip undone") << "a f z = A--";
        QTest::newRow("dots apart in time") << "a b . = ABT";
        QTest::newRow("undo waits for a stroke under way") << "a ( z = AB-";
        QTest::newRow("and takes it back") << "a ( z ) = A--";
        QTest::newRow("to give it again") << "a ( z ) y = AB-";
        QTest::newRow("a tap beside the pen's stroke") << "[ 2 = -B-";
        QTest::newRow("clear cuts a stroke under way") << "a ( c ) z z = AB-";
    }
    void undoAndRedo() {
        QFETCH(QString, steps);
        const QString ink = steps.section(QLatin1String(" = "), 1);
        auto& p = shownPad();
        QWindow* w = windowOf(p);
        const QPoint A(20, 40), B(20, 120), T(60, 170), along(150, 0), nudge(1, 0);
        const QList<QPoint> taps{T, T + QPoint(30, 0), T + QPoint(60, 0)};
        const QPoint far = B + along * 3 / 4;
        bool fingerDown = false, penDown = false;
        for (const QString& step : steps.section(QLatin1String(" = "), 0, 0).split(QLatin1Char(' '))) {
            const char c = step[0].toLatin1();
            fingerDown ^= c == '(' || c == ')';
            penDown ^= c == '[' || c == ']';
            if (c == '(') {
                QTest::touchEvent(w, touchScreen()).press(5, B);
                QTest::touchEvent(w, touchScreen()).move(5, far);
            } else if (c == ')') {
                QTest::touchEvent(w, touchScreen()).move(5, B + along);
                QTest::touchEvent(w, touchScreen()).release(5, B + along);
            } else if (c == '[') {
                QTest::mousePress(w, Qt::LeftButton, {}, B);
                QTest::mouseMove(w, far);
            } else if (c == ']') {
                QTest::mouseMove(w, B + along);
                QTest::mouseRelease(w, Qt::LeftButton, {}, B + along);
            } else if (c == 'a') {
                drag(w, A, A + along);
            } else if (c == 'b' || c == 'd') {
                fingers(w, c == 'b' ? QList{B} : QList{A, B},
                        c == 'b' ? QList{B + along} : QList{A + along, B + along});
            } else if (c == '2' || c == '3') {
                fingers(w, taps.first(c - '0'), {taps[0] + nudge, taps[1] + nudge, taps[2] + nudge}, 1);
            } else if (c == '.') {
                QTest::touchEvent(w, touchScreen()).press(0, T);
                QTest::touchEvent(w, touchScreen()).move(0, T + nudge);
                QTest::qWait(200);
                QTest::touchEvent(w, touchScreen()).stationary(0).press(1, taps[1]);
                QTest::touchEvent(w, touchScreen()).move(1, taps[1] + nudge).release(0, T + nudge);
                QTest::touchEvent(w, touchScreen()).release(1, taps[1] + nudge);
            } else if (QByteArray("cfew").contains(c)) {
                press(p, step);
            } else {
                QTest::keyClick(w, c == 'y' ? Qt::Key_Y : Qt::Key_Z,
                                c == 'Z' ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
            }
        }
        const auto seen = [&](const QImage& page) {
            QString s;
            for (const QPoint at : {A + along / 2, B + along / 2, T})
                s += page.pixelColor(at) != toQColor(kPageColour) ? QChar(at == T           ? 'T'
                                                                          : at.y() == A.y() ? 'A'
                                                                                            : 'B')
                                                                  : QChar('-');
            for (int x = 0; x < 190; ++x)
                if (page.pixelColor(x, (A.y() + B.y()) / 2) != toQColor(kPageColour)) s += QString::number(x);
            return s;
        };
        QCOMPARE(seen(p.hWnd()->grab().toImage()), ink);
        if (fingerDown) QTest::touchEvent(w, touchScreen()).release(5, far);
        if (penDown) QTest::mouseRelease(w, Qt::LeftButton, {}, far);

        // Saved: the picture shows the page as the board does, and the file before it is kept.
        const QString shown = seen(p.hWnd()->grab().toImage());
        const qsizetype files = QDir::home().entryList({"Jotter *"}).size();
        QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
        const auto* notice = p.hWnd()->findChild<QLabel*>(QStringLiteral("notice"));
        QVERIFY(notice);
        const QString saved = QDir::home().filePath(notice->text().section(u'"', 1, 1));
        QCOMPARE(seen(QImage(saved + QStringLiteral(".png"))), shown);
        QFile pdf(saved + QStringLiteral(".pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly) &&
                !pdf.readAll().contains("/Subtype /Image")); // strokes, not a picture
        QCOMPARE(QDir::home().entryList({"Jotter *"}).size(), files + 2);

        // The program ends by accident (its journal left), and starts again.
        QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);
        const QImage undone = p.ink();
        QTest::keyClick(w, Qt::Key_Y, Qt::ControlModifier);
        const QImage page = p.ink();
        const QSize size = p.hWnd()->size();
        startAgainWith(journalNow());
        auto& back = shownPad();
        QCOMPARE(back.ink(), page);
        QCOMPARE(back.hWnd()->size(), size);
        QVERIFY(back.hWnd()->findChild<QLabel*>(QStringLiteral("notice")));
        QTest::keyClick(windowOf(back), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(back.ink(), undone);
    }

    // A journal torn at any byte of its last record keeps the rest; one bit flipped anywhere keeps the
    // records before it, and where nothing can be read the page starts empty, with a message.
    void aTornOrDamagedJournal() {
        auto& p = shownPad();
        drag(windowOf(p), {20, 40}, {170, 40});
        press(p, "c");
        QTest::keyClick(windowOf(p), Qt::Key_Z, Qt::ControlModifier);
        const QByteArray whole = journalNow();
        QCOMPARE(Journal::read(whole).records, 3);
        for (qsizetype cut = whole.size() - 9; cut < whole.size(); ++cut) // the undo's 9 bytes
            QCOMPARE(Journal::read(whole.first(cut)).records, 2);
        for (qsizetype bit = 0; bit < whole.size() * 8; ++bit) {
            QByteArray bad = whole;
            bad[bit / 8] = char(bad[bit / 8] ^ (1 << (bit % 8)));
            QCOMPARE(Journal::read(bad).records, Journal::read(whole.first(bit / 8)).records);
        }
        // Torn in its last record: the steps written after it come back too.
        startAgainWith(whole.chopped(2));
        drag(windowOf(shownPad()), {20, 100}, {170, 100});
        const QImage page = shownPad().ink();
        startAgainWith(journalNow());
        QCOMPARE(shownPad().ink(), page);
        startAgainWith(whole.mid(1));
        auto* notice = shownPad().hWnd()->findChild<QLabel*>();
        QVERIFY(notice->text().contains(QLatin1String("it starts empty")));
        delete notice;
        QVERIFY(blankPage(shownPad()));
    }

    // Ctrl+P: the print dialog, the paper turned as the page is. Printed to a file, the paper shows the saved
    // page, as large as it fits.
    void printingShowsTheSavedPage() {
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty()) QSKIP("no pdftoppm here");
        auto& p = shownPad();
        QWindow* w = windowOf(p);
        drag(w, {20, 40}, {600, 150});
        press(p, "s12");
        drag(w, {40, 150}, {300, 20});
        QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
        const QString saved =
            QDir::home().filePath(p.hWnd()->findChild<QLabel*>()->text().section(u'"', 1, 1));
        QTest::keyClick(w, Qt::Key_P, Qt::ControlModifier);
        auto* dialog = p.hWnd()->findChild<QPrintDialog*>();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->printer()->pageLayout().orientation(), QPageLayout::Landscape);
        dialog->printer()->setOutputFileName(saved + QStringLiteral(" printed.pdf"));
        dialog->done(QDialog::Accepted);
        const auto render = [&](const QString& name, QStringList size) {
            QProcess::execute(pdftoppm, size << "-png"
                                             << "-singlefile" << name + ".pdf" << name);
            return QImage(name + ".png").convertToFormat(QImage::Format_RGB32);
        };
        const QImage paper = render(saved + QStringLiteral(" printed"), {"-r", "100"});
        QRect box; // the page on the paper: all that is not white
        for (int y = 0; y < paper.height(); ++y)
            for (int x = 0; x < paper.width(); ++x)
                if (qGray(paper.pixel(x, y)) < 240) box |= QRect(x, y, 1, 1);
        const QImage page = render(saved, {"-scale-to-x", QString::number(box.width()), "-scale-to-y",
                                           QString::number(box.height())});
        const QImage printed = paper.copy(box);
        const auto apart = [](QRgb a, QRgb b) {
            return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                             std::abs(qBlue(a) - qBlue(b))}) > 64;
        };
        // The pixels of one with none like them in the other nearby: placing the page may shift it a pixel.
        const auto unmatched = [&](const QImage& one, const QImage& other) {
            int n = 0;
            for (int y = 1; y < one.height() - 1; ++y)
                for (int x = 1; x < one.width() - 1; ++x) {
                    bool near = false;
                    for (int d = 0; d < 9 && !near; ++d)
                        near = !apart(one.pixel(x, y), other.pixel(x + d % 3 - 1, y + d / 3 - 1));
                    n += !near;
                }
            return n;
        };
        int ink = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                ink += apart(page.pixel(x, y), toQColor(kPageColour).rgb());
        const int differ = unmatched(page, printed) + unmatched(printed, page);
        QVERIFY2(ink > 300 && differ < ink / 10, qPrintable(QStringLiteral("%1 of %2").arg(differ).arg(ink)));
        QVERIFY(box.width() > paper.width() * 9 / 10); // a wide page across the paper
    }

    // No state folder and no pictures folder to write in: the Jotter works on, and says so.
    void unwritableFolders() {
        const QByteArray state = qgetenv("XDG_STATE_HOME"), home = qgetenv("HOME");
        qputenv("XDG_STATE_HOME", QFile::encodeName(QCoreApplication::applicationFilePath()) + "/state");
        qputenv("HOME", QFile::encodeName(QCoreApplication::applicationFilePath()) + "/home");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("journal cannot be kept in .*/state/"));
        auto& p = shownPad();
        drag(windowOf(p), {20, 100}, {170, 100});
        QTest::keyClick(windowOf(p), Qt::Key_S, Qt::ControlModifier);
        qputenv("XDG_STATE_HOME", state);
        qputenv("HOME", home);
        const auto* notice = p.hWnd()->findChild<QLabel*>(QStringLiteral("notice"));
        QVERIFY(notice->text().contains(QLatin1String("could not be saved in ")));
        // The message stops nothing (a stroke through it is ink) and goes by itself; the history is whole.
        const QPoint through = notice->geometry().center();
        QTest::keyClick(windowOf(p), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(p.hWnd()->grab().toImage().pixelColor(95, 100), toQColor(kPageColour));
        drag(windowOf(p), through - QPoint(60, 0), through + QPoint(60, 0));
        QTRY_VERIFY_WITH_TIMEOUT(!p.hWnd()->findChild<QLabel*>(QStringLiteral("notice")), 8000);
        QVERIFY(!blankPage(p));
        QTest::keyClick(windowOf(p), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(blankPage(p));
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
        access.actions().constFirst()->trigger();
        QVERIFY(p.isLoaded() && p.hWnd()->isVisible());
        const qsizetype files = QDir::home().entryList({"Jotter *"}).size();
        access.actions()[1]->trigger(); // "Save the Jotter page"
        QCOMPARE(QDir::home().entryList({"Jotter *"}).size(), files + 2);
    }
};

QTEST_MAIN(TestJotter)
#include "test_jotter.moc"
