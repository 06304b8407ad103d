// The quadrat activity, worked through its window as the teacher works it at the board: the staged reveal,
// the squares on the field picture, the worked answer, and the way out.
#include "quadrat.h"
#include "quadrat_squares.h"
#include "support/testsupport.h"

#include <QtTest>

#include <algorithm>
#include <vector>

using namespace vb;
using namespace testsupport;

namespace {

constexpr OleColor kYellow = RGB(255, 255, 0);
constexpr OleColor kBlack = RGB(0, 0, 0);

QSet<QString> visibleControls(const Form& f) {
    QSet<QString> names;
    for (Control* c : f.controls())
        if (c->Visible())
            names.insert(c->Index() < 0 ? c->Name()
                                        : QStringLiteral("%1(%2)").arg(c->Name()).arg(c->Index()));
    return names;
}

// What the start shows, then what each button adds in turn.
const char* const kRevealed[] = {
    "Label6(3) Label6(1) Label3(2) Image1 Label6(14) Shape3 Label3(0)", "Shape2(10) Label6(4) Label3(3)",
    "Shape2(0) Shape2(1) Shape2(2) Shape2(3) Shape2(4) Shape2(5) Shape2(6) Shape2(7) Shape2(8) Shape2(9) "
    "Label6(2) Label6(0) Label3(1)",
    "Label6(5) Label6(6) Label6(7) Label6(8) Label6(9) Label6(10) Label6(11) Label6(12) Label6(13) Line1"};

QSet<QString> shownAt(int stages) {
    QSet<QString> names;
    for (int i = 0; i <= stages; ++i)
        for (const QString& n : QString::fromLatin1(kRevealed[i]).split(QLatin1Char(' ')))
            names.insert(n);
    return names;
}

// "Throw Sam's quadrat", "Throw Maddy's quadrats", "Answer": the buttons of the stages, in order.
const int kStageButtons[] = {2, 3, 1};

QImage board(const Form& f) {
    return f.hWnd()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

struct Gap {
    int first, last, top, bottom;
};

// In a label's own drawing alone, on black (without whatever lies around or over it): the widest run of
// columns without ink between the first and the last inked one, as [first, last), and the rows the ink
// spans, all in window coordinates.
template <class Pred> Gap widestGap(Label& l, Pred isInk) {
    QImage img(l.size(), QImage::Format_RGB32);
    img.fill(Qt::black);
    l.render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
    std::vector<bool> cols(img.width(), false);
    Gap g{0, 0, INT_MAX, INT_MIN};
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (isInk(img.pixel(x, y))) {
                cols[x] = true;
                g.top = std::min(g.top, l.y() + y);
                g.bottom = std::max(g.bottom, l.y() + y);
            }
    const int first = int(std::find(cols.begin(), cols.end(), true) - cols.begin());
    const int last = int(cols.rend() - std::find(cols.rbegin(), cols.rend(), true));
    for (int x = first, end = first; x < last; x = std::max(x + 1, end)) {
        for (end = x; end < last && !cols[end];)
            ++end;
        if (end - x > g.last - g.first) g.first = x, g.last = end;
    }
    g.first += l.x(), g.last += l.x();
    return g;
}

const auto yellowInk = [](QRgb p) { return qRed(p) > 150 && qGreen(p) > 150 && qBlue(p) < 110; };
const auto whiteInk = [](QRgb p) { return qRed(p) > 150 && qGreen(p) > 150 && qBlue(p) > 150; };

} // namespace

class TestQuadrat : public QObject {
    Q_OBJECT

    // Opens the screen and works through the first `stages` buttons, clicking them in the window.
    quadrat& openAt(int stages) {
        auto& q = form<quadrat>();
        Runtime::dispatch([&] { q.Show(); });
        for (int i = 0; i < stages; ++i)
            click(q.Label3(kStageButtons[i]));
        return q;
    }

private slots:
    void init() {
        freshRuntime();
        recordDesktop();
        Screen.setSizeOverride(QSizeF(12000, 9000));
    }

    // Each button reveals its stage. Then hovering anywhere, every button whose stage is done clicked twice
    // over (latest first, then in order), and clicks where the hidden buttons will appear, on the picture and
    // on the texts, change nothing.
    void onlyTheNextButtonChangesAnything_data() {
        QTest::addColumn<int>("stages");
        QTest::newRow("Start") << 0;
        QTest::newRow("Sam thrown") << 1;
        QTest::newRow("Maddy thrown") << 2;
        QTest::newRow("Answered") << 3;
    }
    void onlyTheNextButtonChangesAnything() {
        QFETCH(int, stages);
        quadrat& q = openAt(stages);
        QCOMPARE(visibleControls(q), shownAt(stages));
        QWindow* w = windowOf(q);
        // Everything a pupil could see change: which controls show, and every pixel of the window.
        auto snapshot = [&] { return std::pair{visibleControls(q), board(q)}; };
        hover(w, QPoint(790, 590)); // bare screen, away from everything
        const auto before = snapshot();
        for (int i = 0; i < 4; ++i)
            if (q.Label3(i).Visible()) {
                hover(w, pointIn(q.Label3(i)));
                hover(w, pointIn(q.Label3(i), QPoint(2, 2)));
                QCOMPARE(q.Label3(i).BackStyle(), int(vbOpaque));
            }
        for (const QPoint at :
             {QPoint(600, 300), QPoint(200, 300), QPoint(236, 395), QPoint(5, 5), QPoint(790, 590)})
            hover(w, at);
        QVERIFY(snapshot() == before);
        for (int i = stages - 1; i >= 0; --i)
            click(q.Label3(kStageButtons[i]));
        for (int i = 0; i < stages; ++i)
            click(q.Label3(kStageButtons[i]));
        for (const Control* c : std::initializer_list<const Control*>{&*q.Image1, &q.Label6(3), &q.Label6(14),
                                                                      &q.Label3(3), &q.Label3(1)})
            if (c->Name() != QLatin1String("Label3") || !c->Visible()) {
                QTest::mouseMove(w, c->geometry().center());
                QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, c->geometry().center());
            }
        QVERIFY(snapshot() == before);
    }

    // Exit's uncovering of the menu is the flow test's; the next opening starts at the start again.
    void reopeningStartsAgain() {
        click(openAt(3).Label3(0));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form<quadrat>().isLoaded());
        QCOMPARE(visibleControls(openAt(0)), shownAt(0));
    }

    // The squares cover the pixels the daisy counts of the field picture assume: picture pixel
    // ((Left - 210) / 15, (Top - 1410) / 15), 40 a side, outlined three pixels wide in the square's colour,
    // on the picture at its own size (how it shows around them is the scaling test's).
    void squaresLieOnThePictureWhereTheDaisyCountAssumes() {
        quadrat& q = openAt(2);
        const QRect field = q.Image1->geometry();
        const QImage shot = board(q);
        for (int i = 0; i < 11; ++i) {
            const QuadratSquare& s = kQuadratSquares[i];
            const QRect r = q.Shape2(i).geometry();
            const QPoint inPicture(int((s.Left - 210.0f) / 15.0f), int((s.Top - 1410.0f) / 15.0f));
            QCOMPARE(r, QRect(field.topLeft() + inPicture, QSize(40, 40)));
            QVERIFY(field.contains(r));
            const QRgb ink = toQColor(s.sams ? kBlack : kYellow).rgb();
            const QString where = QStringLiteral("Shape2(%1)").arg(i);
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x) {
                    const int depth = std::min({x - r.left(), r.right() - x, y - r.top(), r.bottom() - y});
                    if (depth < 3) QVERIFY2(shot.pixel(x, y) == ink, qPrintable(where + " outline broken"));
                    if (depth == 3)
                        QVERIFY2(shot.pixel(x, y) != ink, qPrintable(where + " outline too wide"));
                }
        }
        QCOMPARE(QImage(QDir(DataDir()).filePath(QStringLiteral("Images/field.jpg"))).size(), field.size());
    }

    // The fraction 26 over 10 stands in the room left by the spaces of its caption, in the fonts actually
    // drawn; the legend's dot stands in the room left in "Each    represents a daisy".
    void fractionAndLegendDotSitInTheGapsOfTheirCaptions() {
        quadrat& q = openAt(3);
        const Gap gap = widestGap(q.Label6(10), yellowInk);
        QVERIFY2(gap.last - gap.first >= 45, "the caption leaves no room for the fraction");

        const QImage shot = board(q);
        auto inkSpan = [&](const QRect& area) {
            std::pair<int, int> span{INT_MAX, INT_MIN};
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    if (yellowInk(shot.pixel(x, y)))
                        span = {std::min(span.first, x), std::max(span.second, x)};
            return span;
        };
        const Label& top = q.Label6(11);
        const QRect barRow(q.Line1->geometry().left(), 403, q.Line1->geometry().width(), 2); // y = 6060 twips
        const auto numerator = inkSpan(QRect(top.x(), top.y(), top.width(), barRow.top() - 1 - top.y()));
        const auto denominator = inkSpan(q.Label6(12).geometry());
        const auto bar = inkSpan(barRow);
        const double middle = 10380.0 / 15; // the bar's midpoint in the design
        for (const auto& part : {numerator, denominator, bar}) {
            QVERIFY2(part.first >= gap.first + 2 && part.second < gap.last - 2,
                     "a part of the fraction lies outside the caption's gap");
            QVERIFY(qAbs((part.first + part.second + 1) / 2.0 - middle) <= 1.5);
        }
        QVERIFY(qAbs((bar.first + bar.second + 1) / 2.0 - middle) <= 0.5);
        QVERIFY(gap.top < 404 && 404 < gap.bottom); // the bar runs through the line of text

        const Gap room = widestGap(q.Label6(14), whiteInk);
        const QRect dot = q.Shape3->geometry();
        QVERIFY(dot.left() >= room.first + 2 && dot.right() < room.last - 2);
        QVERIFY(dot.top() > room.top && dot.bottom() < room.bottom);
        QCOMPARE(shot.pixel(dot.center()), qRgb(255, 255, 255));
    }
};

QTEST_MAIN(TestQuadrat)
#include "test_quadrat.moc"
