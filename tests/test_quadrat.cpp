// The quadrat activity, worked through its window as the teacher works it at the board: the staged reveal,
// the squares on the field picture, the worked answer, and the way out.
#include "quadrat.h"
#include "quadrat_squares.h"
#include "support/testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <vector>

using namespace vb;
using namespace testsupport;

namespace {

constexpr OleColor kYellow = RGB(255, 255, 0);
constexpr OleColor kBlack = RGB(0, 0, 0);

// Stands for the menu the activity is opened from.
class Beneath : public Form {
public:
    Beneath() : Form(QStringLiteral("Beneath")) {}

protected:
    void Design() override {
        setClientSize(12000, 9000);
        setBackColor(RGB(49, 135, 215));
        add<Label>("Label1", 600, 600, 3000, 500).setCaption(QStringLiteral("Menu"));
    }
};

QString key(const Control* c) {
    return c->Index() < 0 ? c->Name() : QStringLiteral("%1(%2)").arg(c->Name()).arg(c->Index());
}

QSet<QString> visibleControls(const Form& f) {
    QSet<QString> names;
    for (Control* c : f.controls())
        if (c->Visible()) names.insert(key(c));
    return names;
}

QSet<QString> named(std::initializer_list<const char*> names) {
    QSet<QString> s;
    for (const char* n : names)
        s.insert(QString::fromLatin1(n));
    return s;
}

const QSet<QString> kStart =
    named({"Label6(3)", "Label6(1)", "Label3(2)", "Image1", "Label6(14)", "Shape3", "Label3(0)"});
const QSet<QString> kSamThrown = kStart + named({"Shape2(10)", "Label6(4)", "Label3(3)"});
const QSet<QString> kMaddyThrown =
    kSamThrown +
    named({"Shape2(0)", "Shape2(1)", "Shape2(2)", "Shape2(3)", "Shape2(4)", "Shape2(5)", "Shape2(6)",
           "Shape2(7)", "Shape2(8)", "Shape2(9)", "Label6(2)", "Label6(0)", "Label3(1)"});
const QSet<QString> kAnswered =
    kMaddyThrown + named({"Label6(5)", "Label6(6)", "Label6(7)", "Label6(8)", "Label6(9)", "Label6(10)",
                          "Label6(11)", "Label6(12)", "Label6(13)", "Line1"});

// "Throw Sam's quadrat", "Throw Maddy's quadrats", "Answer": the buttons of the stages, in order.
const int kStageButtons[] = {2, 3, 1};

// Everything a pupil could see change: every control's state and every pixel of the window.
struct Snapshot {
    QStringList controls;
    QImage pixels;
    bool operator==(const Snapshot&) const = default;
};

QImage board(const Form& f) {
    return f.hWnd()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A label's own drawing alone, on black: what the caption inks, without whatever lies around or over it.
QImage inkOf(Label& l) {
    QImage img(l.size(), QImage::Format_RGB32);
    img.fill(Qt::black);
    l.render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    return img;
}

Snapshot snapshot(const Form& f) {
    Snapshot s;
    for (Control* c : f.controls()) {
        QString line = QStringLiteral("%1 visible=%2 at %3,%4 %5x%6")
                           .arg(key(c))
                           .arg(c->Visible())
                           .arg(c->Left())
                           .arg(c->Top())
                           .arg(c->Width())
                           .arg(c->Height());
        if (auto* l = qobject_cast<Label*>(c))
            line += QStringLiteral(" \"%1\" style=%2 fore=%3")
                        .arg(l->Caption())
                        .arg(l->BackStyle())
                        .arg(l->ForeColor());
        if (auto* s2 = qobject_cast<Shape*>(c)) line += QStringLiteral(" border=%1").arg(s2->BorderColor());
        s.controls << line;
    }
    s.controls.sort();
    s.pixels = board(f);
    return s;
}

// The quadrat table, written out here so a slip in the shared table shows up as well.
struct Square {
    int index;
    Single left, top;
    OleColor colour;
};
const Square kSquares[] = {
    {0, 3240, 3825, kYellow}, {1, 2640, 2625, kYellow}, {2, 1440, 2025, kYellow}, {3, 4440, 6225, kYellow},
    {4, 840, 3225, kYellow},  {5, 5040, 4425, kYellow}, {6, 840, 5025, kYellow},  {7, 1440, 5625, kYellow},
    {8, 2040, 5025, kYellow}, {9, 4440, 1440, kYellow}, {10, 3240, 5625, kBlack},
};

QRgb rgbOf(OleColor c) {
    return toQColor(c).rgb() | 0xFF000000u;
}

// Columns of an image with ink of the wanted kind, as a bitmap across its width.
template <class Pred>
std::vector<bool> inkColumns(const QImage& img, Pred isInk, int* top = nullptr, int* bottom = nullptr) {
    std::vector<bool> cols(img.width(), false);
    int t = img.height(), b = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (isInk(img.pixel(x, y))) {
                cols[x] = true;
                t = std::min(t, y);
                b = std::max(b, y);
            }
    if (top) *top = t;
    if (bottom) *bottom = b;
    return cols;
}

// The widest run of empty columns between the first and the last inked one: [first, last).
std::pair<int, int> widestGap(const std::vector<bool>& cols) {
    const auto first = std::find(cols.begin(), cols.end(), true) - cols.begin();
    const auto last = cols.rend() - std::find(cols.rbegin(), cols.rend(), true);
    std::pair<int, int> best{0, 0};
    for (int x = int(first); x < int(last);) {
        if (cols[x]) {
            ++x;
            continue;
        }
        int end = x;
        while (end < int(last) && !cols[end])
            ++end;
        if (end - x > best.second - best.first) best = {x, end};
        x = end;
    }
    return best;
}

bool yellowInk(QRgb p) {
    return qRed(p) > 150 && qGreen(p) > 150 && qBlue(p) < 110 && qAlpha(p) > 100;
}
bool whiteInk(QRgb p) {
    return qRed(p) > 150 && qGreen(p) > 150 && qBlue(p) > 150 && qAlpha(p) > 100;
}

} // namespace

class TestQuadrat : public QObject {
    Q_OBJECT

    quadrat& open() {
        auto& q = form<quadrat>();
        Runtime::dispatch([&] { q.Show(); });
        if (Runtime::ended() || !q.hWnd()) qFatal("the quadrat screen did not open");
        return q;
    }
    // Works through the first `stages` buttons, clicking them in the window.
    quadrat& openAt(int stages) {
        quadrat& q = open();
        const int order[] = {2, 3, 1};
        for (int i = 0; i < stages; ++i)
            click(q.Label3(order[i]));
        return q;
    }

private slots:
    void init() {
        freshRuntime();
        recordDesktop();
        Screen.setSizeOverride(QSizeF(12000, 9000));
    }
    void cleanup() { Screen.setSizeOverride(QSizeF()); }

    void opensCentredInItsOwnBlueAtTheStart() {
        quadrat& q = open();
        QCOMPARE(q.Caption(), QStringLiteral("Sampling Methods - The Quadrat"));
        QCOMPARE(q.BackColor(), RGB(39, 63, 137));
        QCOMPARE(q.Width(), 12000.0f);
        QCOMPARE(q.Height(), 9000.0f);
        QCOMPARE(q.Left(), 0.0f);
        QCOMPARE(q.Top(), 0.0f);
        QCOMPARE(visibleControls(q), kStart);
        QCOMPARE(q.Label3.Count(), 4);
        QCOMPARE(q.Label6.Count(), 15);
        QCOMPARE(q.Shape2.Count(), 11);
        QVERIFY(q.hWnd()->isVisible());
    }

    void eachButtonRevealsTheNextStageOnly() {
        quadrat& q = open();
        QCOMPARE(visibleControls(q), kStart);

        click(q.Label3(2)); // Throw Sam's quadrat
        QCOMPARE(visibleControls(q), kSamThrown);
        QList<int> shown;
        for (int i = 0; i < 11; ++i)
            if (q.Shape2(i).Visible()) shown << i;
        QCOMPARE(shown, QList<int>{10});
        const Shape& sam = q.Shape2(10);
        QCOMPARE(QPointF(sam.Left(), sam.Top()), QPointF(3240, 5625));
        QCOMPARE(sam.BorderColor(), kBlack);
        const QRect samPixels = sam.geometry();

        click(q.Label3(3)); // Throw Maddy's quadrats
        QCOMPARE(visibleControls(q), kMaddyThrown);
        int yellow = 0;
        for (const Square& s : kSquares) {
            const Shape& sh = q.Shape2(s.index);
            QVERIFY(sh.Visible());
            QCOMPARE(QPointF(sh.Left(), sh.Top()), QPointF(s.left, s.top));
            if (sh.BorderColor() == kYellow) ++yellow;
        }
        QCOMPARE(yellow, 10);
        QCOMPARE(sam.geometry(), samPixels);
        QCOMPARE(sam.BorderColor(), kBlack);

        click(q.Label3(1)); // Answer
        QCOMPARE(visibleControls(q), kAnswered);
        QCOMPARE(q.Shape2(10).geometry(), samPixels);
    }

    void buttonsClickedAgainChangeNothing_data() {
        QTest::addColumn<int>("stages");
        QTest::newRow("Sam thrown") << 1;
        QTest::newRow("Maddy thrown") << 2;
        QTest::newRow("Answered") << 3;
    }
    void buttonsClickedAgainChangeNothing() {
        QFETCH(int, stages);
        quadrat& q = openAt(stages);
        const Snapshot before = snapshot(q);
        // Every button whose stage is done, twice over, latest first and then in order.
        for (int i = stages - 1; i >= 0; --i)
            click(q.Label3(kStageButtons[i]));
        for (int i = 0; i < stages; ++i)
            click(q.Label3(kStageButtons[i]));
        QCOMPARE(snapshot(q).controls, before.controls);
        QVERIFY(snapshot(q) == before);
    }

    void hiddenButtonsAndPlainTextDoNothingWhenClicked() {
        quadrat& q = open();
        const Snapshot before = snapshot(q);
        QWindow* w = windowOf(q);
        // Where "Throw Maddy's quadrats" and "Answer" will appear, and on the picture and the texts.
        for (const Control* c :
             {static_cast<const Control*>(&q.Label3(3)), static_cast<const Control*>(&q.Label3(1)),
              static_cast<const Control*>(&*q.Image1), static_cast<const Control*>(&q.Label6(3)),
              static_cast<const Control*>(&q.Label6(14))}) {
            const QPoint at = c->geometry().center();
            QTest::mouseMove(w, at);
            QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at);
        }
        QVERIFY(snapshot(q) == before);
        QCOMPARE(visibleControls(q), kStart);
    }

    void hoveringChangesNothing_data() { buttonsClickedAgainChangeNothing_data(); }
    void hoveringChangesNothing() {
        QFETCH(int, stages);
        quadrat& q = openAt(stages);
        QWindow* w = windowOf(q);
        hover(w, QPoint(790, 590)); // bare screen, away from everything
        const Snapshot before = snapshot(q);
        for (int i = 0; i < 4; ++i)
            if (q.Label3(i).Visible()) {
                hover(w, pointIn(q.Label3(i)));
                hover(w, pointIn(q.Label3(i), QPoint(2, 2)));
                QCOMPARE(q.Label3(i).BackStyle(), int(vbOpaque));
            }
        for (const QPoint at :
             {QPoint(600, 300), QPoint(200, 300), QPoint(236, 395), QPoint(5, 5), QPoint(790, 590)})
            hover(w, at);
        QVERIFY(snapshot(q) == before);
    }

    void exitUncoversTheMenuAndReopeningStartsAgain_data() {
        QTest::addColumn<int>("stages");
        QTest::newRow("from Start") << 0;
        QTest::newRow("from Sam thrown") << 1;
        QTest::newRow("from Maddy thrown") << 2;
        QTest::newRow("from Answered") << 3;
    }
    void exitUncoversTheMenuAndReopeningStartsAgain() {
        QFETCH(int, stages);
        auto& menu = form<Beneath>();
        menu.Show();
        const quint64 menuGeneration = menu.generation();
        const QImage menuBefore = board(menu);
        quadrat& q = openAt(stages);
        QCOMPARE(Runtime::stackingOrder().last(), static_cast<Form*>(&q));

        click(q.Label3(0));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!q.isLoaded());
        QVERIFY(!Runtime::ended());
        QCOMPARE(Runtime::loadedFormNames(), QStringList{QStringLiteral("Beneath")});
        QCOMPARE(menu.generation(), menuGeneration);
        QVERIFY(menu.hWnd()->isVisible());
        QCOMPARE(board(menu), menuBefore);

        quadrat& again = open();
        QCOMPARE(visibleControls(again), kStart);
        QVERIFY(!Runtime::ended());
    }

    void theSameSquaresEveryTimeAndNoRandomNumbersUsed() {
        Randomize(1);
        const std::uint32_t seed = rndState();
        quadrat& q = openAt(3);
        QCOMPARE(rndState(), seed); // the activity draws no random numbers
        const Snapshot first = snapshot(q);
        click(q.Label3(0));

        Randomize(987654);
        (void)Rnd();
        quadrat& again = openAt(3);
        QVERIFY(snapshot(again) == first);
    }

    // The picture sits where the daisy counts of the field picture assume, and every square covers the pixels
    // that count assumes: picture pixel ((Left - 210) / 15, (Top - 1410) / 15), 40 pixels a side.
    void squaresLieOnThePictureWhereTheDaisyCountAssumes() {
        quadrat& q = openAt(2);
        const Image& field = *q.Image1;
        QCOMPARE(QPointF(field.Left(), field.Top()), QPointF(210, 1410));
        QCOMPARE(QSizeF(field.Width(), field.Height()), QSizeF(6015, 6015)); // at its own size, not stretched
        QCOMPARE(field.geometry(), QRect(14, 94, 401, 401));
        QVERIFY(!field.Stretch());
        for (int i = 0; i < 11; ++i) {
            const QuadratSquare& s = kQuadratSquares[i];
            const QPoint inPicture(int((s.Left - 210.0f) / 15.0f), int((s.Top - 1410.0f) / 15.0f));
            QCOMPARE(q.Shape2(i).geometry(), QRect(field.geometry().topLeft() + inPicture, QSize(40, 40)));
            QCOMPARE(q.Shape2(i).BorderColor(), s.sams ? kBlack : kYellow);
            QVERIFY(field.geometry().contains(q.Shape2(i).geometry()));
        }

        // On the board: the picture's own pixels, unscaled, wherever no square is drawn.
        const QImage shot = board(q);
        const QImage picture = QImage(QDir(DataDir()).filePath(QStringLiteral("Images/field.jpg")))
                                   .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(picture.size(), QSize(401, 401));
        int differing = 0;
        for (int y = 0; y < 401; ++y)
            for (int x = 0; x < 401; ++x) {
                const QPoint at(14 + x, 94 + y);
                bool underSquare = false;
                for (int i = 0; i < 11; ++i)
                    underSquare |= q.Shape2(i).geometry().contains(at);
                if (!underSquare && shot.pixel(at) != picture.pixel(x, y)) ++differing;
            }
        QCOMPARE(differing, 0);
    }

    // Outlines three pixels wide in the square's colour, drawn over the picture, with the field showing
    // inside and outside them; none before the throws.
    void squaresAreDrawnOnTheWindowThreePixelsWide() {
        quadrat& q = open();
        const QImage start = board(q);
        for (const Square& s : kSquares) {
            const QRect r = q.Shape2(s.index).geometry();
            int painted = 0;
            for (int x = r.left(); x <= r.right(); ++x)
                painted += start.pixel(x, r.top()) == rgbOf(s.colour);
            QVERIFY2(painted < r.width() / 4, "a square is drawn before it is thrown");
        }

        click(q.Label3(2));
        click(q.Label3(3));
        const QImage shot = board(q);
        for (const Square& s : kSquares) {
            const QRect r = q.Shape2(s.index).geometry();
            QCOMPARE(r.size(), QSize(40, 40));
            const QRgb ink = rgbOf(s.colour);
            const QString where = QStringLiteral("Shape2(%1)").arg(s.index);
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x) {
                    const int depth = std::min({x - r.left(), r.right() - x, y - r.top(), r.bottom() - y});
                    if (depth < 3)
                        QVERIFY2(shot.pixel(x, y) == ink,
                                 qPrintable(where + QStringLiteral(" outline broken")));
                    else if (depth == 3)
                        QVERIFY2(shot.pixel(x, y) != ink,
                                 qPrintable(where + QStringLiteral(" outline too wide")));
                }
            // Just outside, halfway along each side: the field, not the outline.
            for (const QPoint out :
                 {QPoint(r.center().x(), r.top() - 1), QPoint(r.center().x(), r.bottom() + 1),
                  QPoint(r.left() - 1, r.center().y()), QPoint(r.right() + 1, r.center().y())})
                QVERIFY2(shot.pixel(out) != ink,
                         qPrintable(where + QStringLiteral(" spills outside its square")));
        }
    }

    // The fraction 26 over 10 stands in the room left by the spaces of its caption, in the fonts actually
    // drawn; the legend's dot stands in the room left in "Each    represents a daisy".
    void fractionAndLegendDotSitInTheGapsOfTheirCaptions() {
        quadrat& q = openAt(3);
        Label& caption = q.Label6(10);
        int capTop = 0, capBottom = 0;
        const auto gap = widestGap(inkColumns(inkOf(caption), yellowInk, &capTop, &capBottom));
        const int gapLeft = caption.x() + gap.first, gapRight = caption.x() + gap.second; // [left, right)
        QVERIFY2(gap.second - gap.first >= 45, "the caption leaves no room for the fraction");

        const QImage shot = board(q);
        auto inkSpan = [&](const QRect& area) {
            int left = INT_MAX, right = INT_MIN;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    if (yellowInk(shot.pixel(x, y))) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
            return std::pair<int, int>{left, right};
        };
        const Label& top = q.Label6(11);
        const Label& bottom = q.Label6(12);
        const QRect barRow(q.Line1->geometry().left(), 403, q.Line1->geometry().width(), 2); // y = 6060 twips
        const auto numerator = inkSpan(QRect(top.x(), top.y(), top.width(), barRow.top() - 1 - top.y()));
        const auto denominator = inkSpan(bottom.geometry());
        const auto bar = inkSpan(barRow);
        QCOMPARE(bar, std::make_pair(672, 711)); // 10080 to 10680 twips
        for (const auto& part : {numerator, denominator, bar}) {
            QVERIFY2(part.first >= gapLeft + 2 && part.second < gapRight - 2,
                     qPrintable(QStringLiteral("fraction part %1..%2 outside the caption's gap %3..%4")
                                    .arg(part.first)
                                    .arg(part.second)
                                    .arg(gapLeft)
                                    .arg(gapRight)));
        }
        const double middle = 10380.0 / 15; // the bar's midpoint
        QVERIFY(qAbs((numerator.first + numerator.second + 1) / 2.0 - middle) <= 1.5);
        QVERIFY(qAbs((denominator.first + denominator.second + 1) / 2.0 - middle) <= 1.5);
        QVERIFY(qAbs((bar.first + bar.second + 1) / 2.0 - middle) <= 0.5);
        // The bar runs through the line of text, between the numbers.
        QVERIFY(caption.y() + capTop < 404 && 404 < caption.y() + capBottom);

        Label& legend = q.Label6(14);
        int legTop = 0, legBottom = 0;
        const auto room = widestGap(inkColumns(inkOf(legend), whiteInk, &legTop, &legBottom));
        const QRect dot = q.Shape3->geometry();
        QVERIFY2(dot.left() >= legend.x() + room.first + 2 && dot.right() < legend.x() + room.second - 2,
                 qPrintable(QStringLiteral("dot %1..%2 outside the legend's gap %3..%4")
                                .arg(dot.left())
                                .arg(dot.right())
                                .arg(legend.x() + room.first)
                                .arg(legend.x() + room.second)));
        QVERIFY(dot.top() > legend.y() + legTop && dot.bottom() < legend.y() + legBottom);
        QCOMPARE(shot.pixel(dot.center()), qRgb(255, 255, 255));
    }

    void aMissingFieldPictureStopsTheProgramWithTheReport() {
        auto& rec = recordDesktop();
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("Images"));
        setDataDir(dir.path());
        auto& q = form<quadrat>();
        Runtime::dispatch([&] { q.Show(); }); // as the menu's entry opens it
        QVERIFY(Runtime::ended());
        QVERIFY(Runtime::exitCode() != 0);
        QCOMPARE(rec.errorReports.size(), 1);
        QVERIFY(rec.errorReports[0].contains(QStringLiteral("field.jpg")));
        QVERIFY(rec.errorReports[0].contains(QStringLiteral("'53'")));
        QVERIFY(Runtime::loadedForms().isEmpty());
    }
};

QTEST_MAIN(TestQuadrat)
#include "test_quadrat.moc"
