// Memory: peak resident memory after one tour of every screen, in a process of its own, against the bare Qt
// window's; and the growth of resident memory over further tours.
#include "benchmarks.h"
#include "tour.h"

#include <QRegularExpression>

#include <cstdio>
#include <malloc.h>

namespace bench {

namespace {
void printFigures(const char* when) {
    std::printf("%s rss_kb %ld peak_kb %ld heap_b %ld\n", when, rssKb(), peakRssKb(), heapBytes());
    std::fflush(stdout);
}
} // namespace

int tourChild(int tours) {
    QString error;
    if (!tour::showTitle(&error) || !tour::visitEveryScreen(&error)) {
        std::fprintf(stderr, "tour: %s\n", qPrintable(error));
        return 1;
    }
    drive::settle(20);
    printFigures("first");
    for (int i = 0; i < tours; ++i)
        if (!tour::visitEveryScreen(&error)) {
            std::fprintf(stderr, "tour %d: %s\n", i + 2, qPrintable(error));
            return 1;
        }
    drive::settle(20);
    printFigures("last");
    return 0;
}

void memory(const Settings& s, report::Table& t, const StartupResult& bare) {
    using namespace report;
    t.heading(QStringLiteral("4"),
              QStringLiteral("Memory: resident, a tour of every screen in a process of its own"));
    double started = 0;
    QByteArray out;
    const int rc = runChild(QStringLiteral("zb-bench"),
                            {QStringLiteral("--tour-child"), QString::number(s.tours)}, &started, &out);
    const QRegularExpression line(QStringLiteral("(first|last) rss_kb (\\d+) peak_kb (\\d+) heap_b (\\d+)"));
    long rss[2] = {-1, -1}, peak[2] = {-1, -1}, heap[2] = {-1, -1};
    for (auto it = line.globalMatch(QString::fromLatin1(out)); it.hasNext();) {
        const auto m = it.next();
        const int i = m.captured(1) == QLatin1String("last");
        rss[i] = m.captured(2).toLong();
        peak[i] = m.captured(3).toLong();
        heap[i] = m.captured(4).toLong();
    }
    if (rc != 0 || rss[1] < 0) {
        t.failed(QStringLiteral("tour"), QStringLiteral("the touring process failed (status %1)").arg(rc));
        return;
    }
    if (bare.barePeakKb > 0) {
        const double above = double(peak[0] - bare.barePeakKb);
        t.row(
            QStringLiteral("peak after one tour, against the bare window"),
            QStringLiteral("%1 vs %2: +%3").arg(mb(double(peak[0])), mb(double(bare.barePeakKb)), mb(above)),
            QStringLiteral("<= +15 MB"), verdict(above <= 15 * 1024));
    } else {
        t.row(QStringLiteral("peak after one tour"), mb(double(peak[0])), QStringLiteral("(no bare figure)"),
              Verdict::None);
    }
    const double growth = double(rss[1] - rss[0]);
    t.row(QStringLiteral("growth over %1 more tours").arg(s.tours),
          QStringLiteral("%1%2 resident, heap %3%4 kB")
              .arg(growth >= 0 ? QStringLiteral("+") : QString(), mb(growth))
              .arg(heap[1] >= heap[0] ? QStringLiteral("+") : QString())
              .arg((heap[1] - heap[0]) / 1024),
          QStringLiteral("< 1 MB"), verdict(growth < 1024));
}

} // namespace bench
