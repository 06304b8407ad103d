// Ink: the cost of one move event of a Jotter stroke (the event's delivery, the line drawn into the page's
// ink image, the repaint of the touched rectangle) against the same line drawn with a bare QPainter into a
// QImage.
#include "benchmarks.h"
#include "tour.h"

#include "journal.h"
#include "notepad.h"
#include "pageexport.h"
#include "vb.h"

#include <QFileInfo>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTouchEvent>
#include <QWindow>
#include <QtGui/qtestsupport_gui.h>

#include <algorithm>
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
    // The stroke's end counts too: there the Jotter's journal takes the stroke and flushes it to the disk.
    const double start = nowMs();
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, path.last());
    total += nowMs() - start;
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
        setAttribute(Qt::WA_AcceptTouchEvents);
        resize(size);
        // At the display's pixel ratio, as the pad's page is: fine lines on a board with a factor.
        const qreal r = devicePixelRatioF();
        m_ink = QImage(size * r, QImage::Format_ARGB32_Premultiplied);
        m_ink.setDevicePixelRatio(r);
        m_ink.fill(Qt::transparent);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override { m_last = e->position(); }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!(e->buttons() & Qt::LeftButton)) return;
        segment(m_last, e->position());
        m_last = e->position();
    }
    // Every finger its own segment, from where it was at the last event.
    bool event(QEvent* e) override {
        if (e->type() != QEvent::TouchBegin && e->type() != QEvent::TouchUpdate &&
            e->type() != QEvent::TouchEnd)
            return QWidget::event(e);
        for (const QEventPoint& p : static_cast<QTouchEvent*>(e)->points()) {
            if (p.state() == QEventPoint::State::Updated) segment(m_fingers.value(p.id()), p.position());
            m_fingers.insert(p.id(), p.position());
        }
        e->accept();
        return true;
    }
    void segment(QPointF from, QPointF to) {
        const qreal centre = (m_width % 2) ? 0.5 : 0.0;
        const QPointF a = from + QPointF(centre, centre), b = to + QPointF(centre, centre);
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
        const qreal r = m_ink.devicePixelRatio();
        p.drawImage(QRectF(e->rect()), m_ink,
                    QRectF(QPointF(e->rect().topLeft()) * r, QSizeF(e->rect().size()) * r));
    }

private:
    int m_width;
    QColor m_colour;
    QImage m_ink;
    QPointF m_last;
    QHash<int, QPointF> m_fingers;
};

// Milliseconds from each touch event to the window repainted, for `paths.size()` fingers moving together.
[[gnu::noinline]] bool touchStroke(QWidget* window, const QString& name, const QList<QList<QPoint>>& paths,
                                   std::vector<double>* perEvent, QString* error) {
    static QPointingDevice* screen = QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen);
    QWindow* w = window->windowHandle();
    // Straight into Qt's touch path: QTest's touch sequence sleeps a millisecond before every event.
    const auto event = [&](qsizetype step) {
        QList<QEventPoint> points;
        for (int f = 0; f < paths.size(); ++f) {
            const QPoint at = paths[f][std::min(step, paths[f].size() - 1)];
            const auto state = step == 0                 ? QEventPoint::State::Pressed
                               : step == paths[f].size() ? QEventPoint::State::Released
                                                         : QEventPoint::State::Updated;
            points.append(QEventPoint(f, state, at, w->mapToGlobal(QPointF(at))));
        }
        qt_handleTouchEventv2(w, screen, points);
    };
    event(0);
    drive::settle();
    bool painted = true;
    for (qsizetype i = 1; i < paths[0].size() && painted; ++i) {
        const quint64 seen = drive::paintsOf(name);
        const double start = nowMs();
        event(i);
        painted = drive::waitForPaint(name, seen);
        perEvent->push_back(nowMs() - start);
    }
    event(paths[0].size());
    drive::settle();
    if (!painted) *error = QStringLiteral("the page was not repainted after a touch event");
    return painted;
}

double p99(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, v.size() * 99 / 100)];
}

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

// One and ten fingers writing together on the pad and on the bare widget, runs alternated; then what the
// pad keeps to take ink back: a hundred strokes, and a Clear, against a copy of the page.
void touchInk(const Settings& s, report::Table& t, vb::Form& pad, const QList<QPoint>& path) {
    using namespace report;
    QString error;
    Scribble scribble(pad.hWnd()->size(), pad.DrawWidth(), vb::toQColor(pad.ForeColor()));
    scribble.move(pad.hWnd()->pos());
    for (int count : {1, 10}) {
        QList<QList<QPoint>> paths;
        for (int f = 0; f < count; ++f) {
            paths.append(QList<QPoint>());
            for (const QPoint& p : path) // side by side, a finger's breadth apart
                paths.last().append(QPoint(p.x(), 95 + (p.y() - 95) * 4 / 7 + (f - count / 2) * 8));
        }
        std::vector<double> padMs, bareMs;
        for (int i = 0; i < s.inkStrokes && error.isEmpty(); ++i) {
            scribble.show();
            drive::settle(5);
            if (!touchStroke(&scribble, scribble.objectName(), paths, &bareMs, &error)) break;
            scribble.hide();
            drive::settle(5);
            touchStroke(pad.hWnd(), pad.Name(), paths, &padMs, &error);
        }
        scribble.hide();
        const QString what =
            QStringLiteral("%1, %2 touch events x %3")
                .arg(count > 1 ? QStringLiteral("10 fingers together") : QStringLiteral("1 finger"))
                .arg(path.size() - 1)
                .arg(s.inkStrokes);
        if (!error.isEmpty()) return t.failed(what, error);
        const Summary j = summarize(padMs), q = summarize(bareMs);
        const double ratio = j.median / q.median, worst = p99(padMs);
        t.row(what,
              QStringLiteral("%1 vs bare widget %2: %3x, p99 %4")
                  .arg(us(j.median), us(q.median))
                  .arg(ratio, 0, 'f', 2)
                  .arg(us(worst)),
              QStringLiteral("<= 1.1x, p99 < 16.7 ms"), verdict(ratio <= 1.1 && worst < 16.7));
    }
    // Strokes of the mouse, as steps of the page; a copy of the page is its ink image's size.
    auto& jotter = static_cast<notepad&>(pad);
    const size_t before = jotter.stepBytes();
    const QList<QPoint> shortPath = path.first(std::min<qsizetype>(path.size(), 60));
    for (int i = 0; i < 100; ++i) {
        QTest::mousePress(pad.hWnd()->windowHandle(), Qt::LeftButton, {}, shortPath.first());
        for (const QPoint& p : shortPath)
            QTest::mouseMove(pad.hWnd()->windowHandle(), p);
        QTest::mouseRelease(pad.hWnd()->windowHandle(), Qt::LeftButton, {}, shortPath.last());
    }
    const size_t strokes = jotter.stepBytes();
    const qsizetype page = pad.ink().sizeInBytes();
    clickOn({pad.Name(), QStringLiteral("Command6")}, &error);
    t.note(QStringLiteral("  kept to undo: 100 strokes of %1 moves").arg(shortPath.size() - 1),
           QStringLiteral("%1 kB; a Clear %2 bytes; a copy of the page %3 kB")
               .arg((strokes - before) / 1024.0, 0, 'f', 1)
               .arg(jotter.stepBytes() - strokes)
               .arg(page / 1024.0, 0, 'f', 0));
}
// A full page saved: 1,000 strokes on a page of 3840 x 2160 pixels, as PDF and PNG, against QImage::save of
// the same page as PNG; and the journal those strokes make.
void savingAPage(report::Table& t) {
    std::vector<PageSteps::Step> strokes(1000);
    QRandomGenerator rng(7);
    for (PageSteps::Step& s : strokes) {
        QPointF at(rng.bounded(3840.0), rng.bounded(2160.0));
        const vb::OleColor colour = vb::QBColor(int(rng.bounded(16)));
        for (int i = 0; i < 40; ++i, at += QPointF(rng.bounded(24.0) - 12, rng.bounded(24.0) - 12))
            s.path.push_back({float(at.x() * vb::kTwipsPerPixel), float(at.y() * vb::kTwipsPerPixel), colour,
                              2 + int(rng.bounded(5))});
    }
    pageexport::Page page{{}, QSizeF(3840, 2160), 1};
    for (const PageSteps::Step& s : strokes)
        page.strokes.push_back(&s);
    QTemporaryDir dir;
    double start = nowMs();
    const bool saved = !pageexport::save(page, dir.path()).isEmpty();
    const double saveMs = nowMs() - start;
    QImage plain(3840, 2160, QImage::Format_RGB32);
    QPainter p(&plain);
    pageexport::paint(p, page);
    p.end();
    start = nowMs();
    plain.save(dir.filePath(QStringLiteral("plain.png")), "PNG");
    const double pngMs = nowMs() - start;
    if (!saved) return t.failed(QStringLiteral("saving a page"), QStringLiteral("nothing was saved"));
    t.note(QStringLiteral("Saving a page of 1,000 strokes at 3840 x 2160 (PDF and PNG)"),
           QStringLiteral("%1 ms vs QImage::save as PNG %2 ms: %3x")
               .arg(saveMs, 0, 'f', 0)
               .arg(pngMs, 0, 'f', 0)
               .arg(saveMs / pngMs, 0, 'f', 2));
    Journal journal;
    start = nowMs();
    for (const PageSteps::Step& s : strokes)
        journal.step(s);
    const double journalMs = nowMs() - start;
    t.note(QStringLiteral("  its journal"), QStringLiteral("%1 kB, %2 ms a stroke written and flushed")
                                                .arg(QFileInfo(Journal::path()).size() / 1024.0, 0, 'f', 0)
                                                .arg(journalMs / 1000, 0, 'f', 2));
    journal.remove();
}
} // namespace

void ink(const Settings& s, report::Table& t) {
    using namespace report;
    t.heading(QStringLiteral("3"),
              QStringLiteral(
                  "Ink: per move event of a Jotter stroke (its journal on: the stroke's end, written and "
                  "flushed, counts), against a raw QPainter line into a QImage"));
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
    if (!clickOn({pad.Name(), pen}, &error)) return t.failed(QStringLiteral("pen"), error);
    touchInk(s, t, pad, path);
    tour::walk(jotter.back, &error);
    savingAPage(t);
}

} // namespace bench
