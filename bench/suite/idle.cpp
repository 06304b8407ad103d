// Idle: the CPU time the program uses while a screen is shown and nothing happens. A program with no timers
// and no polling sleeps the whole span; the one wake-up is the one that ends the span.
#include "benchmarks.h"
#include "tour.h"

#include <QEventLoop>
#include <QTimer>

namespace bench {

void idle(const Settings& s, report::Table& t) {
    using namespace report;
    t.heading(QStringLiteral("5"),
              QStringLiteral("Idle: CPU time and wake-ups over %1 s per screen, nothing happening")
                  .arg(s.idleSeconds));
    QString error;
    for (const tour::Place& place : tour::places()) {
        if (!tour::walk(place.there, &error)) {
            t.failed(place.label, error);
            return;
        }
        drive::settle(100); // whatever showing the screen queued is over
        const double cpu0 = cpuMs();
        const long wake0 = wakeUps();
        QEventLoop loop;
        QTimer::singleShot(int(s.idleSeconds * 1000), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
        const double cpu = cpuMs() - cpu0;
        const long wakes = wakeUps() - wake0;
        // The span's own end wakes the program once.
        t.row(place.label, QStringLiteral("%1 CPU, %2 wake-up(s)").arg(ms(cpu)).arg(wakes),
              QStringLiteral("0 (one wake-up: the end)"), verdict(wakes <= 1 && cpu < 1.0));
        if (!tour::walk(place.back, &error)) {
            t.failed(place.label, error);
            return;
        }
    }
}

} // namespace bench
