// Screen changes: every way into a screen and out again, timed from the click delivered to the window until
// the new screen has finished painting. Each sequence starts and ends on the title screen.
#include "benchmarks.h"
#include "tour.h"

#include <map>

namespace bench {

void screenChanges(const Settings& s, report::Table& t) {
    using namespace report;
    t.heading(QStringLiteral("2"),
              QStringLiteral("Screen changes: click to the new screen painted, median / p95 of %1")
                  .arg(s.changeReps));
    QString error;
    const QList<tour::Sequence> sequences = tour::navigations();
    if (sequences.isEmpty()) {
        t.note(QStringLiteral("(this build has no screen to change to yet)"));
        return;
    }
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
    double worstMedian = 0, worstP95 = 0;
    for (const QString& label : order) {
        const std::vector<double>& v = times[label];
        const Summary sum = summarize(v);
        worstMedian = std::max(worstMedian, sum.median);
        worstP95 = std::max(worstP95, sum.p95);
        t.row(label, QStringLiteral("%1 / %2  (first %3)").arg(ms(sum.median), ms(sum.p95), ms(v.front())),
              QStringLiteral("<= 8 / 16 ms"), verdict(sum.median <= 8.0 && sum.p95 <= 16.0));
    }
    t.note(QStringLiteral("worst of %1 rows").arg(order.size()),
           QStringLiteral("%1 / %2").arg(ms(worstMedian), ms(worstP95)));
}

} // namespace bench
