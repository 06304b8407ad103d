// Ink: the cost of one move event of a Jotter stroke (the event's delivery, the line drawn into the page's
// ink image, the repaint of the touched rectangle) against the same line drawn with a bare QPainter into a
// QImage.
#include "benchmarks.h"
#include "tour.h"

#include "vb.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWindow>

#include <cmath>

namespace bench {

namespace {
// A looping path over the landscape page, above its toolbar, in steps of about six pixels: a brisk pen
// stroke on a board gives one move event every few pixels.
QList<QPoint> strokePath(int moves) {
    QList<QPoint> points{QPoint(330, 95)};
    double t = 0;
    QPointF last(330, 95);
    while (points.size() <= moves) {
        t += 0.002;
        const QPointF p(330 + 290 * std::sin(t), 95 + 70 * std::sin(2.3 * t));
        if (std::hypot(p.x() - last.x(), p.y() - last.y()) >= 6.0) {
            points.append(p.toPoint());
            last = p;
        }
    }
    return points;
}

// Milliseconds per move of one stroke on the Jotter's page, through its window.
std::optional<double> jotterStroke(vb::Form& pad, const QList<QPoint>& path, QString* error) {
    QWindow* w = pad.hWnd()->windowHandle();
    QTest::mouseMove(w, path.first());
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, path.first());
    drive::settle();
    double total = 0;
    for (int i = 1; i < path.size(); ++i) {
        const quint64 seen = drive::paintsOf(pad.Name());
        const double start = nowMs();
        QTest::mouseMove(w, path[i]);
        const bool painted = drive::waitForPaint(pad.Name(), seen);
        total += nowMs() - start;
        if (!painted) {
            *error = QStringLiteral("the page was not repainted after a move");
            QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, path[i]);
            return std::nullopt;
        }
    }
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, path.last());
    drive::settle();
    return total / double(path.size() - 1);
}

// Milliseconds per segment of the same stroke drawn with a painter of its own into an image of the page's
// size.
double rawStroke(QImage& page, const QList<QPoint>& path, int width, const QColor& colour) {
    const qreal centre = (width % 2) ? 0.5 : 0.0;
    const QPointF offset(centre, centre);
    double total = 0;
    for (int i = 1; i < path.size(); ++i) {
        const double start = nowMs();
        QPainter p(&page);
        p.setRenderHint(QPainter::Antialiasing, width > 1);
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(path[i - 1]) + offset, QPointF(path[i]) + offset);
        p.end();
        total += nowMs() - start;
    }
    return total / double(path.size() - 1);
}

bool clickOn(const drive::Input& input, QString* error) {
    QWindow* w = nullptr;
    QPoint at;
    if (!drive::locate(input, &w, &at, error)) return false;
    QTest::mouseMove(w, at);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at);
    drive::settle();
    return true;
}
} // namespace

void ink(const Settings& s, report::Table& t) {
    using namespace report;
    t.heading(
        QStringLiteral("3"),
        QStringLiteral("Ink: per move event of a Jotter stroke, against a raw QPainter line into a QImage"));
    tour::Place jotter;
    for (const tour::Place& p : tour::places())
        if (p.label == QLatin1String("notepad")) jotter = p;
    if (jotter.there.isEmpty()) {
        t.note(QStringLiteral("(this build has no Jotter yet)"));
        return;
    }
    QString error;
    if (!tour::walk(jotter.there, &error)) {
        t.failed(QStringLiteral("opening the Jotter"), error);
        return;
    }
    vb::Form& pad = *drive::screen(QStringLiteral("notepad"));
    const QString pen = QStringLiteral("Command2"), eraser = QStringLiteral("Command5");
    const QList<QPoint> path = strokePath(s.inkMoves);
    for (int width : {3, 30}) {
        const QString what = width == 3 ? QStringLiteral("pen, width 3") : QStringLiteral("eraser, width 30");
        if (!clickOn({pad.Name(), width == 3 ? pen : eraser}, &error) || pad.DrawWidth() != width) {
            t.failed(what,
                     error.isEmpty() ? QStringLiteral("the pad did not take width %1").arg(width) : error);
            break;
        }
        const QColor colour = vb::toQColor(pad.ForeColor());
        const QSize pixels = pad.hWnd()->size() * pad.hWnd()->devicePixelRatioF();
        QImage page(pixels, QImage::Format_ARGB32_Premultiplied);
        page.fill(Qt::transparent);
        std::vector<double> jotterMs, rawMs;
        bool ok = true;
        for (int i = 0; i < s.inkStrokes && ok; ++i) {
            const auto perMove = jotterStroke(pad, path, &error);
            if (!perMove) {
                t.failed(what, error);
                ok = false;
                break;
            }
            jotterMs.push_back(*perMove);
            rawMs.push_back(rawStroke(page, path, width, colour));
        }
        if (!ok) break;
        const Summary j = summarize(jotterMs), r = summarize(rawMs);
        const double ratio = j.median / r.median;
        t.row(what + QStringLiteral(", %1 moves x %2").arg(path.size() - 1).arg(j.n),
              QStringLiteral("%1 vs raw %2: %3x").arg(us(j.median), us(r.median)).arg(ratio, 0, 'f', 2),
              QStringLiteral("<= 1.5x raw"), verdict(ratio <= 1.5));
    }
    tour::walk(jotter.back, &error);
}

} // namespace bench
