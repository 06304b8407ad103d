// Memory: peak resident memory after one tour of every screen, in a process of its own, against the bare Qt
// window's; and the growth of resident memory over further tours.
#include "benchmarks.h"
#include "tour.h"
#include "vb.h"

#include <QRegularExpression>
#include <QScreen>

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
    // The second tour frees what the first made, and the allocator settles. Growth is measured after it.
    if (!tour::visitEveryScreen(&error)) {
        std::fprintf(stderr, "tour 2: %s\n", qPrintable(error));
        return 1;
    }
    drive::settle(20);
    printFigures("second");
    for (int i = 0; i < tours; ++i)
        if (!tour::visitEveryScreen(&error)) {
            std::fprintf(stderr, "tour %d: %s\n", i + 3, qPrintable(error));
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
    const int rc =
        runChild(QStringLiteral("zb-bench"), {QStringLiteral("--tour-child"), QString::number(s.tours)},
                 &started, &out, 600000);
    const QRegularExpression line(
        QStringLiteral("(first|second|last) rss_kb (\\d+) peak_kb (\\d+) heap_b (\\d+)"));
    long rss[3] = {-1, -1, -1}, peak[3] = {-1, -1, -1}, heap[3] = {-1, -1, -1};
    for (auto it = line.globalMatch(QString::fromLatin1(out)); it.hasNext();) {
        const auto m = it.next();
        const int i = m.captured(1) == QLatin1String("first")    ? 0
                      : m.captured(1) == QLatin1String("second") ? 1
                                                                 : 2;
        rss[i] = m.captured(2).toLong();
        peak[i] = m.captured(3).toLong();
        heap[i] = m.captured(4).toLong();
    }
    if (rc != 0 || rss[2] < 0) {
        t.failed(QStringLiteral("tour"), QStringLiteral("the touring process failed (status %1)").arg(rc));
        return;
    }
    // Scaled up, every window and picture holds the square of the factor in pixels: a board has its own
    // targets.
    const bool scaled = vb::Runtime::display()->devicePixelRatio() > 1;
    const int peakMb = scaled ? 110 : 15, growthMb = scaled ? 5 : 1;
    if (bare.barePeakKb > 0) {
        const double above = double(peak[0] - bare.barePeakKb);
        t.row(
            QStringLiteral("peak after one tour, against the bare window"),
            QStringLiteral("%1 vs %2: +%3").arg(mb(double(peak[0])), mb(double(bare.barePeakKb)), mb(above)),
            QStringLiteral("<= +%1 MB").arg(peakMb), verdict(above <= peakMb * 1024));
    } else {
        t.row(QStringLiteral("peak after one tour"), mb(double(peak[0])), QStringLiteral("(no bare figure)"),
              Verdict::None);
    }
    auto signedMb = [](double kb) { return (kb >= 0 ? QStringLiteral("+") : QString()) + mb(kb); };
    auto signedKb = [](long bytes) {
        return (bytes >= 0 ? QStringLiteral("+") : QString()) + QString::number(bytes / 1024);
    };
    t.note(QStringLiteral("second tour (the allocator settles)"),
           QStringLiteral("%1 resident, heap %2 kB")
               .arg(signedMb(double(rss[1] - rss[0])), signedKb(heap[1] - heap[0])));
    const double growth = double(rss[2] - rss[1]);
    t.row(QStringLiteral("growth over the %1 tours after").arg(s.tours),
          QStringLiteral("%1 resident, heap %2 kB").arg(signedMb(growth), signedKb(heap[2] - heap[1])),
          QStringLiteral("< %1 MB").arg(growthMb), verdict(growth < growthMb * 1024));
}

} // namespace bench
