// Idle: the CPU time the program uses while a screen is shown and nothing happens. A program with no timers
// and no polling sleeps the whole span; the one wake-up is the one that ends the span.
#include "benchmarks.h"
#include "tour.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMap>
#include <QTimer>
#include <QTimerEvent>

namespace bench {

namespace {
// Notes every timer that fires in this thread, by the class of the object it belongs to, to say what woke
// the program.
class TimerSpy : public QObject {
public:
    QMap<QString, int> fired;
    const QObject* ignore = nullptr;

protected:
    static QString describe(const QObject* o) {
        QString what = QString::fromLatin1(o->metaObject()->className());
        if (!o->objectName().isEmpty()) what += QStringLiteral(" '%1'").arg(o->objectName());
        if (o->parent()) what += QStringLiteral(" in ") + describe(o->parent());
        return what;
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if ((event->type() == QEvent::Timer || event->type() == QEvent::ZeroTimerEvent) && watched != ignore)
            ++fired[describe(watched)];
        return false;
    }
};
} // namespace

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
        // Whatever showing the screen set going is over: the window system's last events, and Qt's own
        // follow-up of a change of focus, which waits 400 ms.
        drive::settle(s.brief ? 450 : 1000);
        QEventLoop loop;
        QTimer end;
        end.setSingleShot(true);
        end.setTimerType(Qt::PreciseTimer);
        QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
        TimerSpy spy;
        spy.ignore = &end;
        QCoreApplication::instance()->installEventFilter(&spy);
        const double cpu0 = cpuMs();
        const long wake0 = wakeUps();
        end.start(int(s.idleSeconds * 1000));
        loop.exec();
        const double cpu = cpuMs() - cpu0;
        const long wakes = wakeUps() - wake0;
        QCoreApplication::instance()->removeEventFilter(&spy);
        QStringList timers;
        for (auto it = spy.fired.cbegin(); it != spy.fired.cend(); ++it)
            timers << QStringLiteral("%1 x%2").arg(it.key()).arg(it.value());
        // The span's own end wakes the program once.
        t.row(place.label,
              QStringLiteral("%1 CPU, %2 wake-up(s)%3")
                  .arg(ms(cpu))
                  .arg(wakes)
                  .arg(timers.isEmpty() ? QString()
                                        : QStringLiteral("; timers: ") + timers.join(QStringLiteral(", "))),
              QStringLiteral("0 (one wake-up: the end)"),
              verdict(wakes <= 1 && cpu < 1.0 && timers.isEmpty()));
        if (!tour::walk(place.back, &error)) {
            t.failed(place.label, error);
            return;
        }
    }
}

} // namespace bench
