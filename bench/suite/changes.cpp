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
    double worst = 0;
    for (const QString& label : order) {
        const std::vector<double>& v = times[label];
        const Summary sum = summarize(v);
        const double ratio = sum.median / bare.median;
        worst = std::max(worst, ratio);
        t.row(label,
              QStringLiteral("%1 / %2  (first %3)  %4x")
                  .arg(ms(sum.median), ms(sum.p95), ms(v.front()))
                  .arg(ratio, 0, 'f', 2),
              QStringLiteral("<= 1.15x floor"), verdict(ratio <= 1.15));
    }
    t.note(QStringLiteral("worst of %1 rows, median to the floor's").arg(order.size()),
           QStringLiteral("%1x").arg(worst, 0, 'f', 2));
}

} // namespace bench
