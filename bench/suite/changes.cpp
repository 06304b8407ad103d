// Screen changes: every way into a screen and out again, timed from the click delivered to the window until
// the new screen has finished painting. Each sequence starts and ends on the title screen.
#include "benchmarks.h"
#include "tour.h"
#include "vb.h"

#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <map>
#include <memory>

namespace bench {

namespace {
// The least any Qt program can do to change screens: a new frameless 800 x 600 window whose whole area is one
// picture (already at the display's resolution), shown over the previous one, which is then deleted.
class FloorWindow : public QWidget {
public:
    explicit FloorWindow(const QPixmap& picture)
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_picture(picture) {
        setObjectName(QStringLiteral("floor"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        const QSizeF display = vb::Runtime::displaySize();
        const QPoint origin = vb::Runtime::display()->geometry().topLeft();
        setGeometry(origin.x() + int((display.width() - 800) / 2),
                    origin.y() + int((display.height() - 600) / 2), 800, 600);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawPixmap(rect(), m_picture); }

private:
    QPixmap m_picture;
};

std::vector<double> floorTimes(int reps) {
    const QPixmap picture = vb::LoadPicture(QStringLiteral("Images\\bee.jpg")).pixmap();
    std::vector<double> times;
    auto previous = std::make_unique<FloorWindow>(picture);
    previous->show();
    drive::waitForPaint(QStringLiteral("floor"), 0);
    for (int rep = 0; rep < reps; ++rep) {
        const quint64 seen = drive::paintsOf(QStringLiteral("floor"));
        const double start = bench::nowMs();
        auto next = std::make_unique<FloorWindow>(picture);
        next->show();
        previous.release()->deleteLater();
        if (!drive::waitForPaint(QStringLiteral("floor"), seen)) return {};
        times.push_back(bench::nowMs() - start);
        previous = std::move(next);
        drive::settle();
    }
    return times;
}
} // namespace

void screenChanges(const Settings& s, report::Table& t) {
    using namespace report;
    t.heading(QStringLiteral("2"),
              QStringLiteral("Screen changes: click to the new screen painted, median / p95 of %1, at %2x")
                  .arg(s.changeReps)
                  .arg(vb::Runtime::display()->devicePixelRatio()));
    QString error;
    const QList<tour::Sequence> sequences = tour::navigations();
    if (sequences.isEmpty()) {
        t.note(QStringLiteral("(this build has no screen to change to yet)"));
        return;
    }
    // As in a lesson, the title screen is up for a moment before the first click; the program reads the
    // screens' photographs then, and the floor is not timed beside that.
    drive::settle(1000);
    // The floor is measured in the same run, half before the screens and half after, at the same factor.
    std::vector<double> floor = floorTimes(std::max(1, s.changeReps / 2));
    const Summary before = summarize(floor);
    QStringList order;
    std::map<QString, std::vector<double>> times;
    for (const tour::Sequence& seq : sequences) {
        if (!tour::walk(seq.enter, &error)) {
            t.failed(seq.cycle.first().label, error);
            return;
        }
        for (int rep = 0; rep < s.changeReps; ++rep)
            for (const drive::Step& step : seq.cycle) {
                QString why;
                const auto ms = drive::perform(step, &why);
                if (!ms) {
                    t.failed(step.label, why);
                    return;
                }
                if (!times.count(step.label)) order << step.label;
                times[step.label].push_back(*ms);
                drive::settle();
            }
        if (!tour::walk(seq.leave, &error)) {
            t.failed(seq.cycle.first().label, error);
            return;
        }
    }
    const std::vector<double> after = floorTimes(std::max(1, s.changeReps - s.changeReps / 2));
    floor.insert(floor.end(), after.begin(), after.end());
    if (floor.empty()) {
        t.failed(QStringLiteral("floor"), QStringLiteral("the bare picture window was not painted"));
        return;
    }
    const Summary bare = summarize(floor);
    t.row(QStringLiteral("floor: bare 800 x 600 picture window"),
          QStringLiteral("%1 / %2").arg(ms(bare.median), ms(bare.p95)), QString(), Verdict::None);
    // A floor slowed by the machine would flatter every row: its spread, and its median before the screens
    // and after them, show whether it held still.
    t.note(QStringLiteral("floor spread: min / max; median before / after"),
           QStringLiteral("%1 / %2; %3 / %4")
               .arg(ms(bare.min), ms(bare.max), ms(before.median), ms(summarize(after).median)));
    // A class sees most screens once or twice a lesson: the first change of each row, in a fresh process, is
    // held to the floor itself, and the median of the rest to half of it.
    double worstMedian = 0, worstFirst = 0;
    for (const QString& label : order) {
        const std::vector<double>& v = times[label];
        const Summary sum = summarize(v);
        const double ratio = sum.median / bare.median, first = v.front() / bare.median;
        worstMedian = std::max(worstMedian, ratio);
        worstFirst = std::max(worstFirst, first);
        t.row(label,
              QStringLiteral("%1 / %2  %3x | first %4  %5x")
                  .arg(ms(sum.median), ms(sum.p95))
                  .arg(ratio, 0, 'f', 2)
                  .arg(ms(v.front()))
                  .arg(first, 0, 'f', 2),
              QStringLiteral("<= 0.5x | first <= 1x"), verdict(ratio <= 0.5 && first <= 1.0));
    }
    t.note(QStringLiteral("worst of %1 rows to the floor's median").arg(order.size()),
           QStringLiteral("median %1x | first %2x").arg(worstMedian, 0, 'f', 2).arg(worstFirst, 0, 'f', 2));
}

} // namespace bench
