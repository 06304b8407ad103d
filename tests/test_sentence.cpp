// Constructing a Biological Sentence: the random draws, the three lists, the pointer over them, and what
// survives closing and reopening the screen.
#include "sentence.h"
#include "support/testsupport.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <set>

using namespace vb;
using namespace testsupport;

namespace {

// The theme table as the course has it, typed separately from the screen's own copy.
const QStringList kNames = {"Red Blood Cell",
                            "White Blood Cell",
                            "Cilliated Epithelia",
                            "Motor Neurone",
                            "Adrenaline",
                            "Testosterone",
                            "Oestrogen",
                            "Growth Hormone",
                            "Pancreas",
                            "Synapse",
                            "Lens",
                            "Reflex",
                            "Food Chain",
                            "Quadrat",
                            "Global Warming",
                            "Intensive Farming",
                            "Anaerobic respiration",
                            "Digestion",
                            "Absorption",
                            "breathing",
                            "Circulation",
                            "Heart",
                            "Food",
                            "Fat Digestion",
                            "Peristalsis",
                            "Valves",
                            "The Eye",
                            "Gas Exchange",
                            "Geotropism",
                            "Phototropism",
                            "Photosynthesis",
                            "Pulse"};
const QStringList kEntries = {"Red Blood Cell, haemoglobin, biconcave, oxygen, surface area",
                              "White Blood Cell, engulf, bacteria, antibodies, immune",
                              "Cilliated Epithelia, cillia, move, mucus, smoking",
                              "Motor Neurone, myelin, impulse, muscle, spinal cord",
                              "Adrenaline, heart, blood sugar, breathing, fright and flight",
                              "Testosterone, voice, hormone, testes, sperm",
                              "Oestrogen, ovary, hormone, characteristics, female",
                              "Growth Hormone, pituitary, giant, blood, cells",
                              "Pancreas, glucose, insulin, diabetic, liver",
                              "Synapse, junction, neurotransmitter, nerve, impulse",
                              "Lens , eye, retina, focus, light",
                              "Reflex, receptor, quick, protect, skin",
                              "Food Chain, producer, arrows, organisms, web",
                              "Quadrat, random, plants, estimate, accurate",
                              "Global Warming, sun, gases, reflect, floods",
                              "Intensive Farming, energy, antibiotics, profit, pesticides",
                              "Anaerobic Respiration, lactic acid, energy, oxygen, efficient",
                              "Digestion, physical, chemical, enzymes, breakdown",
                              "Absorption, intestine, blood, villi, molecules",
                              "Breathing, diaphragm, ribs, pressure, volume",
                              "Circulation, artery, vein, heart, capillaries",
                              "Heart, body, lungs, left ventricle, blood",
                              "Food , villi, surface area, absorption, small intestine",
                              "Fat Digestion, bile, liver, emulsifies, fats",
                              "Peristalsis, muscles, moves, gut, digestion",
                              "Valves, circulation, veins, backflow, heart",
                              "The Eye, iris, pupil, light, muscles.",
                              "Gas Exchange, alveoli, surface area, breathe, lung",
                              "Geotropism, plant, roots, water, auxin",
                              "Phototropism, plant, auxin, sun, cells",
                              "Photosynthesis, leaf, chlorophyll, palisade, plant",
                              "Pulse, artery, blood, heart, pressure"};

constexpr OleColor kListGrey = RGB(192, 192, 192);

// A clock that moves on a little between reads, as the real one does between clicks.
double g_clock = 0;
void runningClock(double start, double step) {
    g_clock = start;
    setTimerSource([step] { return g_clock += step; });
}

std::array<ComboBox*, 3> lists(sentence& f) {
    return {&*f.Combo1, &*f.Combo2, &*f.Combo3};
}

QStringList rowTexts(sentence& f) {
    return {f.Label6(0).Caption(), f.Label6(1).Caption(), f.Label6(2).Caption()};
}

std::array<int, 3> drawn(const sentence& f) {
    return {f.picks[0], f.picks[1], f.picks[2]};
}

// Opens a list with the mouse on its box, as at the board, and picks the name at `position` in the popup.
void chooseWithMouse(ComboBox& list, int position) {
    click(list);
    QComboBox* box = list.box();
    QAbstractItemView* view = box->view();
    QVERIFY2(view->isVisible(), "the list did not open");
    const QModelIndex item = box->model()->index(position, 0);
    view->scrollTo(item);
    QWidget* popup = view->window();
    const QPoint at = view->viewport()->mapTo(popup, view->visualRect(item).center());
    QWindow* w = popup->windowHandle();
    QTest::mouseMove(w, at);
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, at);
    QTRY_VERIFY(!view->isVisible());
}

// Picks the name at `position` with the keys on the focused, closed box: Home, then Down.
void chooseWithKeys(ComboBox& list, int position) {
    QComboBox* box = list.box();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < position; ++i)
        QTest::keyClick(box, Qt::Key_Down);
}

void expectFullLists(sentence& f) {
    for (ComboBox* c : lists(f)) {
        QCOMPARE(c->ListCount(), 32);
        for (int i = 0; i < 32; ++i)
            QCOMPARE(c->List(i), kNames[i]);
        QCOMPARE(c->ListIndex(), -1);
        QCOMPARE(c->box()->currentText(), QString());
    }
}

// A fresh draw: three different themes, clear of the draw before, and shown in the rows.
void expectGoodDraw(sentence& f, const std::array<int, 3>& before) {
    const auto now = drawn(f);
    for (int k = 0; k < 3; ++k) {
        QVERIFY(now[k] >= 0 && now[k] < 32);
        QCOMPARE(int(f.lastpicks[k]), now[k]);
        QCOMPARE(f.Label6(k).Caption(), kEntries[now[k]]);
        for (int j = 0; j < 3; ++j) {
            if (j != k) QVERIFY(now[k] != now[j]);
            QVERIFY2(now[k] != before[j],
                     qPrintable(QStringLiteral("theme %1 drawn twice in a row").arg(now[k])));
        }
    }
}

QByteArray committedCursor() {
    QFile f(resolveDataPath(QStringLiteral("Images/H_POINT.cur")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A data folder of the test's own, with the cursor file given or none.
struct DataFolder {
    QTemporaryDir dir;
    explicit DataFolder(const QByteArray* cursor) {
        QDir(dir.path()).mkdir(QStringLiteral("Images"));
        if (cursor) {
            QFile f(dir.filePath(QStringLiteral("Images/H_POINT.cur")));
            f.open(QIODevice::WriteOnly);
            f.write(*cursor);
        }
        setDataDir(dir.path());
    }
};

} // namespace

// A helper's failed check ends the test function too.
#define CHECKED(call)                                                                                        \
    do {                                                                                                     \
        call;                                                                                                \
        if (QTest::currentTestFailed()) return;                                                              \
    } while (0)

class TestSentence : public QObject {
    Q_OBJECT
    RecordingPlatform* desktop = nullptr;

private slots:
    void init() {
        freshRuntime();
        desktop = &recordDesktop();
        runningClock(43200.0, 0.73);
    }

    void opensWithItsLayoutAndColours() {
        auto& f = form<sentence>();
        f.Show();
        QVERIFY(!Runtime::ended());
        QCOMPARE(f.Caption(), QStringLiteral("Constructing a Biological Sentence"));
        QCOMPARE(f.BackColor(), RGB(39, 63, 137));
        QCOMPARE(f.Width(), 12000.0f);
        QCOMPARE(f.Height(), 9000.0f);

        struct Place {
            Control* c;
            Single left, top, width, height;
        };
        const Place places[] = {
            {&f.Label6(3), 360, 120, 11280, 1305},  {&f.Label6(10), 240, 840, 11280, 705},
            {&*f.Shape1, 720, 1800, 10455, 5775},   {&f.Label6(4), 840, 1920, 2520, 705},
            {&f.Label6(7), 4800, 1920, 3000, 705},  {&*f.Combo1, 7920, 1980, 3015, 405},
            {&f.Label6(0), 1200, 2640, 9840, 1065}, {&f.Label6(5), 840, 3840, 2520, 705},
            {&f.Label6(8), 4800, 3840, 3000, 705},  {&*f.Combo2, 7920, 3900, 3015, 405},
            {&f.Label6(1), 1200, 4560, 9840, 1065}, {&f.Label6(6), 840, 5760, 2520, 705},
            {&f.Label6(9), 4800, 5760, 3000, 705},  {&*f.Combo3, 7920, 5820, 3015, 405},
            {&f.Label6(2), 1200, 6480, 9840, 1065}, {&f.Label3(1), 120, 7920, 2925, 495},
            {&f.Label3(0), 10560, 7920, 1245, 495},
        };
        for (const Place& p : places) {
            QCOMPARE(p.c->Left(), p.left);
            QCOMPARE(p.c->Top(), p.top);
            QCOMPARE(p.c->Width(), p.width);
            QCOMPARE(p.c->Height(), p.height);
        }
        QCOMPARE(f.Line1(0).Y1(), 3720.0f);
        QCOMPARE(f.Line1(1).Y1(), 5640.0f);
        QCOMPARE(f.Line1(1).X2(), 11160.0f);

        for (int i = 0; i <= 10; ++i)
            QCOMPARE(f.Label6(i).BackStyle(), int(vbTransparent));
        for (int i : {4, 5, 6})
            QCOMPARE(f.Label6(i).Caption(), QStringLiteral("sentence %1").arg(i - 3));
        for (int i : {7, 8, 9})
            QCOMPARE(f.Label6(i).Caption(), QStringLiteral("choose a theme"));
        QCOMPARE(f.Label3(0).Caption(), QStringLiteral("Exit"));
        QCOMPARE(f.Label3(1).Caption(), QStringLiteral("New Sentences"));
        for (int i : {0, 1}) {
            QCOMPARE(f.Label3(i).BackStyle(), int(vbOpaque));
            QCOMPARE(f.Label3(i).BackColor(), RGB(0, 0, 0));
            QCOMPARE(f.Label3(i).ForeColor(), RGB(255, 255, 0));
        }
        for (ComboBox* c : lists(f)) {
            QCOMPARE(c->Font(), (FontDesc{QStringLiteral("Arial"), 12, true}));
            QCOMPARE(c->BackColor(), kListGrey);
            QVERIFY(!c->box()->isEditable()); // the teacher picks a name and cannot type one
        }
        // The table itself, every slot beyond it empty.
        for (int n = 0; n < 32; ++n)
            QCOMPARE(f.sentences[n], kEntries[n]);
        for (int n = 32; n <= 40; ++n)
            QVERIFY(f.sentences[n].isEmpty());
        CHECKED(expectFullLists(f));
    }

    // A different clock every time the program starts; theme 0 is avoided like a theme shown before.
    void firstOpeningNeverShowsThemeZero() {
        std::set<int> seen;
        for (int run = 0; run < 300; ++run) {
            freshRuntime();
            recordDesktop();
            const double start = run * 287.3 + 0.05;
            setTimerSource([start] { return start; });
            auto& f = form<sentence>();
            f.Show();
            CHECKED(expectGoodDraw(f, {0, 0, 0}));
            for (int k = 0; k < 3; ++k) {
                QVERIFY(f.Label6(k).Caption() != kEntries[0]);
                seen.insert(f.picks[k]);
            }
        }
        QVERIFY(!seen.count(0));
        QCOMPARE(int(seen.size()), 31);
    }

    void manyNewSentencesInARow() {
        auto& f = form<sentence>();
        f.Show();
        std::array<int, 3> before{0, 0, 0};
        CHECKED(expectGoodDraw(f, before));
        std::set<int> seen;
        for (int round = 0; round < 600; ++round) {
            before = drawn(f);
            if (round % 50 == 0) // the teacher has chosen a few themes by hand; the boxes empty again
                for (ComboBox* c : lists(f))
                    c->setListIndex((round / 50) % 32);
            click(f.Label3(1));
            CHECKED(expectGoodDraw(f, before));
            for (int k = 0; k < 3; ++k)
                seen.insert(f.picks[k]);
            if (round % 50 == 0) CHECKED(expectFullLists(f));
        }
        QCOMPARE(int(seen.size()), 32);
        CHECKED(expectFullLists(f));
    }

    void drawsFollowTheSeededGeneratorExactly() {
        auto& f = form<sentence>();
        f.Show();
        const std::uint32_t states[] = {0x50000, 0x123456, 0xABCDEF, 0x000001, 0xFFFFFF};
        const double times[] = {0.0, 1.5, 43210.25, 86399.9};
        for (std::uint32_t state : states)
            for (double time : times) {
                setTimerSource([time] { return time; });
                // Start from a draw that forces every slot to be drawn, then replay the generator by hand.
                const int last = int(state % 30);
                for (int k = 0; k < 3; ++k)
                    f.picks[k] = f.lastpicks[k] = std::int16_t(last + k);
                setRndState(state);
                f.calculate();
                const auto got = drawn(f);
                const std::uint32_t after = rndState();

                setRndState(state);
                Randomize(time);
                auto draw = [] { return int(std::floor(double(Rnd()) * 32)); };
                std::array<int, 3> want{last, last + 1, last + 2};
                const std::array<int, 3> avoid = want;
                auto clash = [](int v, std::initializer_list<int> l) {
                    return std::find(l.begin(), l.end(), v) != l.end();
                };
                while (clash(want[0], {avoid[0], avoid[1], avoid[2]}))
                    want[0] = draw();
                while (clash(want[1], {avoid[0], want[0], avoid[1], avoid[2]}))
                    want[1] = draw();
                while (clash(want[2], {want[1], want[0], avoid[0], avoid[1], avoid[2]}))
                    want[2] = draw();
                QCOMPARE(got, want);
                QCOMPARE(after, rndState()); // no draw more, no draw fewer
            }
        // The same clock and generator give the same draw again.
        setTimerSource([] { return 600.0; });
        for (int k = 0; k < 3; ++k)
            f.picks[k] = f.lastpicks[k] = 0;
        setRndState(0x777);
        f.calculate();
        const auto first = drawn(f);
        for (int k = 0; k < 3; ++k)
            f.picks[k] = f.lastpicks[k] = 0;
        setRndState(0x777);
        f.calculate();
        QCOMPARE(drawn(f), first);
    }

    void aSlotAlreadyClearIsKeptWithoutADraw() {
        auto& f = form<sentence>();
        f.Show();
        setTimerSource([] { return 1234.5; });
        // Slots 0 and 2 are clear of everything they must avoid; only slot 1 (equal to slot 0) is drawn.
        f.picks = {};
        f.lastpicks = {};
        f.picks[0] = 5, f.picks[1] = 5, f.picks[2] = 7;
        f.lastpicks[0] = 1, f.lastpicks[1] = 2, f.lastpicks[2] = 3;
        setRndState(0x2468AC);
        f.calculate();
        QCOMPARE(int(f.picks[0]), 5);
        QCOMPARE(int(f.picks[2]), 7);
        QVERIFY(f.picks[1] != 5 && f.picks[1] != 7 && f.picks[1] > 3);
        // Nothing clashes at all: the rows show the slots as they were and the generator is only reseeded.
        f.picks[0] = 10, f.picks[1] = 11, f.picks[2] = 12;
        f.lastpicks[0] = 1, f.lastpicks[1] = 2, f.lastpicks[2] = 3;
        setRndState(0x2468AC);
        f.calculate();
        const std::uint32_t after = rndState();
        setRndState(0x2468AC);
        Randomize(1234.5);
        QCOMPARE(after, rndState());
        QCOMPARE(rowTexts(f), (QStringList{kEntries[10], kEntries[11], kEntries[12]}));
        QCOMPARE(int(f.lastpicks[2]), 12);
    }

    // Names that begin alike, or whose entry is spelled otherwise, each show their own entry.
    void choosingByPositionWithTheMouse_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("name");
        QTest::newRow("Food") << 1 << "Food";
        QTest::newRow("Food Chain") << 2 << "Food Chain";
        QTest::newRow("Photosynthesis") << 3 << "Photosynthesis";
        QTest::newRow("Phototropism") << 1 << "Phototropism";
        QTest::newRow("Lens") << 2 << "Lens";
        QTest::newRow("breathing") << 3 << "breathing";
        QTest::newRow("Anaerobic respiration") << 1 << "Anaerobic respiration";
        QTest::newRow("Red Blood Cell, first") << 2 << "Red Blood Cell";
        QTest::newRow("Pulse, last") << 3 << "Pulse";
    }
    void choosingByPositionWithTheMouse() {
        QFETCH(int, row);
        QFETCH(QString, name);
        auto& f = form<sentence>();
        f.Show();
        const int position = kNames.indexOf(name);
        const QStringList before = rowTexts(f);
        const auto picks = f.picks, lastpicks = f.lastpicks;
        CHECKED(chooseWithMouse(*lists(f)[row - 1], position));
        QCOMPARE(lists(f)[row - 1]->ListIndex(), position);
        QCOMPARE(lists(f)[row - 1]->box()->currentText(), name); // the chosen name stays in the box
        QStringList want = before;
        want[row - 1] = kEntries[position];
        QCOMPARE(rowTexts(f), want);
        QCOMPARE(f.picks, picks);
        QCOMPARE(f.lastpicks, lastpicks);
    }

    void choosingWithTheKeysChangesOnlyThatRow() {
        auto& f = form<sentence>();
        f.Show();
        const QStringList before = rowTexts(f);
        chooseWithKeys(*f.Combo3, 22); // Food
        QCOMPARE(rowTexts(f), (QStringList{before[0], before[1], kEntries[22]}));
        chooseWithKeys(*f.Combo3, 12); // Food Chain, above it in the list
        QCOMPARE(rowTexts(f), (QStringList{before[0], before[1], kEntries[12]}));
        chooseWithKeys(*f.Combo2, 29);
        chooseWithKeys(*f.Combo2, 30);
        QCOMPARE(rowTexts(f), (QStringList{before[0], kEntries[30], kEntries[12]}));

        // Choosing what a row already shows leaves it as it is.
        const int shown = f.picks[0];
        CHECKED(chooseWithMouse(*f.Combo1, shown));
        QCOMPARE(f.Label6(0).Caption(), before[0]);

        // A Click with nothing chosen (never raised by the list itself) changes nothing.
        f.Combo1->setListIndex(-1);
        f.Combo1_Click();
        QCOMPARE(rowTexts(f), (QStringList{before[0], kEntries[30], kEntries[12]}));
    }

    void newSentencesEmptiesTheBoxesAndIgnoresHandChoices() {
        auto& f = form<sentence>();
        f.Show();
        const auto first = drawn(f);
        // Choose three themes that are not in the draw; the next draw avoids the draw, not the choices.
        int chosen = 0;
        for (ComboBox* c : lists(f)) {
            while (std::find(first.begin(), first.end(), chosen) != first.end())
                ++chosen;
            CHECKED(chooseWithMouse(*c, chosen++));
        }
        QCOMPARE(drawn(f), first);
        click(f.Label3(1));
        CHECKED(expectGoodDraw(f, first));
        CHECKED(expectFullLists(f));
        for (int round = 0; round < 5; ++round)
            click(f.Label3(1));
        CHECKED(expectFullLists(f));
    }

    void openingAListTurnsItsBoxWhiteForGood() {
        auto& f = form<sentence>();
        f.Show();
        chooseWithKeys(*f.Combo1, 3); // choosing without opening the list leaves the box as it was
        QCOMPARE(f.Combo1->BackColor(), kListGrey);
        const QStringList rows = rowTexts(f);
        const auto all = lists(f);
        for (int opened = 0; opened < 3; ++opened) {
            ComboBox& list = *all[opened];
            const int chosen = list.ListIndex();
            click(list); // opens the list
            QTRY_VERIFY(list.box()->view()->isVisible());
            for (int k = 0; k < 3; ++k)
                QCOMPARE(all[k]->BackColor(), k <= opened ? QBColor(15) : kListGrey);
            QCOMPARE(list.box()->palette().color(QPalette::Button), QColor(Qt::white));
            QCOMPARE(list.box()->view()->palette().color(QPalette::Base), QColor(Qt::white));
            list.box()->hidePopup();
            QCOMPARE(list.ListIndex(), chosen);
            QCOMPARE(rowTexts(f), rows);
        }
        click(f.Label3(1));
        for (ComboBox* c : all)
            QCOMPARE(c->BackColor(), QBColor(15));
    }

    void hoverResetsOnlyExit() {
        auto& f = form<sentence>();
        f.Show();
        QWindow* w = windowOf(f);
        Label& exit = f.Label3(0);
        Label& fresh = f.Label3(1);
        hover(w, QPoint(400, 585)); // bare screen below the frame
        QCOMPARE(exit.BackStyle(), int(vbTransparent));
        QCOMPARE(fresh.BackStyle(), int(vbOpaque));
        hover(w, pointIn(exit));
        QCOMPARE(exit.BackStyle(), int(vbOpaque));
        hover(w, pointIn(fresh));
        QCOMPARE(fresh.BackStyle(), int(vbOpaque));
        QCOMPARE(exit.BackStyle(), int(vbOpaque));
        // Inside the frame, between rows, is bare screen too: the frame and the lines take no mouse.
        hover(w, QPoint(60, 248));
        QVERIFY(f.hWnd()->childAt(QPoint(60, 248)) == nullptr ||
                f.hWnd()->childAt(QPoint(60, 248))->testAttribute(Qt::WA_TransparentForMouseEvents));
        QCOMPARE(exit.BackStyle(), int(vbTransparent));
        QCOMPARE(fresh.BackStyle(), int(vbOpaque));
    }

    void exitAndReopenKeepsTheLastDraw() {
        auto& f = form<sentence>();
        f.Show();
        click(f.Label3(1));
        std::set<int> reopened;
        for (int round = 0; round < 60; ++round) {
            const auto last = drawn(f);
            if (round == 0) {
                click(*f.Combo1); // white, and a hand choice, both go with the window
                f.Combo1->box()->hidePopup();
                chooseWithKeys(*f.Combo1, 4);
            }
            click(f.Label3(0));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!f.isLoaded());
            QVERIFY(!Runtime::ended());
            QCOMPARE(drawn(f), last);
            for (int k = 0; k < 3; ++k)
                QCOMPARE(int(f.lastpicks[k]), last[k]);

            f.Show();
            CHECKED(expectGoodDraw(f, last));
            CHECKED(expectFullLists(f));
            QCOMPARE(f.Combo1->BackColor(), kListGrey);
            for (int k = 0; k < 3; ++k)
                reopened.insert(f.picks[k]);
        }
        QVERIFY(reopened.count(0)); // theme 0 is avoided on the first opening only
    }

    void everyEntryFitsItsTwoLineLabel() {
        auto& f = form<sentence>();
        f.Show();
        for (int k = 0; k < 3; ++k) {
            Label& row = f.Label6(k);
            for (const QString& entry : kEntries) {
                row.setCaption(entry);
                QVERIFY2(row.captionFits(), qPrintable(entry));
            }
        }
        // The longest entry really takes its second line, and the shortest stays on the first.
        Label& row = f.Label6(0);
        auto inkBelowFirstLine = [&](const QString& entry) {
            row.setCaption(entry);
            const QImage img = f.hWnd()->grab(row.geometry()).toImage();
            for (int y = img.height() / 2 + 2; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) {
                    const QColor c = img.pixelColor(x, y);
                    if (c.red() > 200 && c.green() > 200 && c.blue() < 100) return true;
                }
            return false;
        };
        QVERIFY(inkBelowFirstLine(kEntries[16]));
        QVERIFY(!inkBelowFirstLine(kEntries[10]));
    }

    void theListsShowThePointingHand() {
        const Picture hand = LoadPicture(QStringLiteral("Images/H_POINT.cur"));
        QCOMPARE(hand.pixmap().size(), QSize(32, 32));
        const QPoint hot = hand.hotSpot();
        QVERIFY2(hot.y() <= 4, "the hot spot is at the fingertip, the top of the hand");
        const QImage img = hand.pixmap().toImage();
        QVERIFY(qAlpha(img.pixel(hot)) > 0);
        // Nothing drawn above the fingertip: it is the topmost point of the drawing.
        for (int y = 0; y < hot.y(); ++y)
            for (int x = 0; x < 32; ++x)
                QCOMPARE(qAlpha(img.pixel(x, y)), 0);

        auto& f = form<sentence>();
        f.Show();
        for (ComboBox* c : lists(f)) {
            QCOMPARE(c->MousePointer(), int(vbCustom));
            QCOMPARE(c->MouseIcon().path(), QStringLiteral("Images\\H_POINT.cur"));
            QWidget* under = f.hWnd()->childAt(pointIn(*c));
            QVERIFY(under == c->box() || c->box()->isAncestorOf(under));
            const QCursor cur = under->cursor();
            QCOMPARE(cur.shape(), Qt::BitmapCursor);
            QCOMPARE(cur.hotSpot(), hot);
            QCOMPARE(cur.pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
                     img.convertToFormat(QImage::Format_ARGB32));
        }
        QCOMPARE(f.hWnd()->cursor().shape(), Qt::ArrowCursor);
        for (Control* c : {static_cast<Control*>(&f.Label6(0)), static_cast<Control*>(&f.Label3(1))})
            QCOMPARE(f.hWnd()->childAt(pointIn(*c))->cursor().shape(), Qt::ArrowCursor);
    }

    void aMissingOrBrokenCursorEndsTheProgram_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << false << QByteArray() << "File not found";
        QTest::newRow("empty") << true << QByteArray() << "Invalid picture";
        QTest::newRow("not a picture")
            << true << QByteArray("this is no cursor at all, just words") << "Invalid picture";
        QTest::newRow("cut short") << true << committedCursor().left(60) << "Invalid picture";
    }
    void aMissingOrBrokenCursorEndsTheProgram() {
        QFETCH(bool, present);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        DataFolder data(present ? &bytes : nullptr);
        Runtime::dispatch([] { form<sentence>().Show(); });
        QVERIFY(Runtime::ended());
        QCOMPARE(Runtime::exitCode(), 1);
        QCOMPARE(desktop->errorReports.size(), 1);
        QVERIFY2(desktop->errorReports[0].contains(QStringLiteral("H_POINT.cur")),
                 qPrintable(desktop->errorReports[0]));
        QVERIFY2(desktop->errorReports[0].contains(reason), qPrintable(desktop->errorReports[0]));
        QVERIFY(Runtime::loadedForms().isEmpty());
    }
};

QTEST_MAIN(TestSentence)
#include "test_sentence.moc"
