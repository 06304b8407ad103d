// The activities and the Jotter, worked as at the board: real presses, moves and releases on the Reflex
// Action cards and the Jotter's page, real clicks on buttons, swatches and lists; the sentence builder's
// random draws and what survives reopening.
#include "Titlefrm.h"
#include "jotteraccess.h"
#include "journal.h"
#include "notepad.h"
#include "reflex.h"
#include "sentence.h"
#include "support/testsupport.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QSystemTrayIcon>
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
        QVERIFY(QFile::exists(saved + QStringLiteral(".pdf")));
        QCOMPARE(QDir::home().entryList({"Jotter *"}).size(), files + 2);

        // The program ends by accident (its journal left), and starts again.
        QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);
        const QImage undone = p.ink();
        QTest::keyClick(w, Qt::Key_Y, Qt::ControlModifier);
        const QImage page = p.ink();
        const QSize size = p.hWnd()->size();
        QFile journal(Journal::path());
        QVERIFY(journal.open(QIODevice::ReadOnly));
        const QByteArray kept = journal.readAll();
        journal.close();
        freshRuntime();
        QVERIFY(!journal.exists()); // the end through the runtime removes it
        QVERIFY(QDir().mkpath(Journal::folder()) && journal.open(QIODevice::WriteOnly) &&
                journal.write(kept));
        journal.close();
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
        QFile f(Journal::path());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray whole = f.readAll();
        QCOMPARE(Journal::read(whole).records, 3);
        for (qsizetype cut = whole.size() - 9; cut < whole.size(); ++cut) // the undo's 9 bytes
            QCOMPARE(Journal::read(whole.first(cut)).records, 2);
        for (qsizetype bit = 0; bit < whole.size() * 8; ++bit) {
            QByteArray bad = whole;
            bad[bit / 8] = char(bad[bit / 8] ^ (1 << (bit % 8)));
            QCOMPARE(Journal::read(bad).records, Journal::read(whole.first(bit / 8)).records);
        }
        f.close();
        freshRuntime();
        QVERIFY(QDir().mkpath(Journal::folder()) && f.open(QIODevice::WriteOnly) && f.write(whole.mid(1)));
        f.close();
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
        drag(windowOf(p), {20, 40}, {170, 40});
        QTest::keyClick(windowOf(p), Qt::Key_S, Qt::ControlModifier);
        qputenv("XDG_STATE_HOME", state);
        qputenv("HOME", home);
        auto* notice = p.hWnd()->findChild<QLabel*>();
        QVERIFY(notice->text().contains(QLatin1String("could not be saved in ")));
        delete notice;
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
    }
};

QTEST_MAIN(TestActivities)
#include "test_activities.moc"
