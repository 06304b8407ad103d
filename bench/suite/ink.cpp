// Ink: the cost of one move event of a Jotter stroke (the event's delivery, the line drawn into the page's
// ink image, the repaint of the touched rectangle) against the same line drawn with a bare QPainter into a
// QImage.
#include "benchmarks.h"
#include "tour.h"

#include "vb.h"

#include <QImage>
#include <QMouseEvent>
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

// Both strokes stay functions of their own, so that callgrind can count them apart
// (valgrind --tool=callgrind --toggle-collect='*jotterStroke*' zb-bench --only ink).

// Milliseconds per move of one stroke through a window: the move delivered, then the events it leads to
// handled until the window's repaint is done. `name` is the window's name, as the paint watch counts it.
[[gnu::noinline]] std::optional<double> windowStroke(QWidget* window, const QString& name,
                                                     const QList<QPoint>& path, QString* error) {
    QWindow* w = window->windowHandle();
    QTest::mouseMove(w, path.first());
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, path.first());
    drive::settle();
    double total = 0;
    for (int i = 1; i < path.size(); ++i) {
        const quint64 seen = drive::paintsOf(name);
        const double start = nowMs();
        QTest::mouseMove(w, path[i]);
        const bool painted = drive::waitForPaint(name, seen);
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

[[gnu::noinline]] std::optional<double> jotterStroke(vb::Form& pad, const QList<QPoint>& path,
                                                     QString* error) {
    return windowStroke(pad.hWnd(), pad.Name(), path, error);
}

// The least a Qt Widgets program can do for ink: a plain widget that draws each segment into an image and
// repaints the touched rectangle. It shows what Qt's own event delivery, repaint and flush cost on this path.
class Scribble : public QWidget {
public:
    Scribble(QSize size, int width, QColor colour) : m_width(width), m_colour(colour) {
        setObjectName(QStringLiteral("scribble"));
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(size);
        m_ink = QImage(size, QImage::Format_ARGB32_Premultiplied);
        m_ink.fill(Qt::transparent);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override { m_last = e->position(); }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!(e->buttons() & Qt::LeftButton)) return;
        const qreal centre = (m_width % 2) ? 0.5 : 0.0;
        const QPointF a = m_last + QPointF(centre, centre), b = e->position() + QPointF(centre, centre);
        m_last = e->position();
        QPainter p(&m_ink);
        p.setRenderHint(QPainter::Antialiasing, m_width > 1);
        p.setPen(QPen(m_colour, m_width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(a, b);
        p.end();
        const qreal pad = m_width / 2.0 + 2;
        update(QRectF(a, b).normalized().adjusted(-pad, -pad, pad, pad).toAlignedRect());
    }
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        p.fillRect(e->rect(), QColor(49, 135, 215));
        p.drawImage(e->rect(), m_ink, e->rect());
    }

private:
    int m_width;
    QColor m_colour;
    QImage m_ink;
    QPointF m_last;
};

// Milliseconds per segment of the same stroke drawn with a painter of its own into an image of the page's
// size.
[[gnu::noinline]] double rawStroke(QImage& page, const QList<QPoint>& path, int width, const QColor& colour) {
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
        Scribble scribble(pad.hWnd()->size(), width, colour);
        scribble.move(pad.hWnd()->pos());
        scribble.show();
        drive::settle(20);
        std::vector<double> jotterMs, rawMs, scribbleMs;
        bool ok = true;
        for (int i = 0; i < s.inkStrokes && ok; ++i) {
            const auto perMove = jotterStroke(pad, path, &error);
            const auto plain = windowStroke(&scribble, scribble.objectName(), path, &error);
            if (!perMove || !plain) {
                t.failed(what, error);
                ok = false;
                break;
            }
            jotterMs.push_back(*perMove);
            scribbleMs.push_back(*plain);
            rawMs.push_back(rawStroke(page, path, width, colour));
        }
        scribble.hide();
        if (!ok) break;
        const Summary j = summarize(jotterMs), r = summarize(rawMs), q = summarize(scribbleMs);
        // Qt's event and repaint path is the most of it, and no widget avoids that: the target is the bare Qt
        // widget; the raw line stays in the table as information.
        const double ratio = j.median / q.median;
        t.row(
            what + QStringLiteral(", %1 moves x %2").arg(path.size() - 1).arg(j.n),
            QStringLiteral("%1 vs bare widget %2: %3x").arg(us(j.median), us(q.median)).arg(ratio, 0, 'f', 2),
            QStringLiteral("<= 1.1x bare widget"), verdict(ratio <= 1.1));
        t.note(QStringLiteral("  the same line drawn raw into an image"),
               QStringLiteral("%1: the pad takes %2x").arg(us(r.median)).arg(j.median / r.median, 0, 'f', 1));
    }
    tour::walk(jotter.back, &error);
}

} // namespace bench
