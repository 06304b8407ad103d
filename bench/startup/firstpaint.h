// Shared by the start-up children: report the first completed paint of the watched window, then end.
#pragma once

#include "../common/paintwatch.h"

#include <QEvent>

#include <cstdio>
#include <ctime>
#include <functional>

namespace firstpaint {

// Peak resident memory of this process so far, in kB (VmHWM).
inline long peakRssKb() {
    long kb = -1;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
        std::fclose(f);
    }
    return kb;
}

// Reads the clock when its event arrives: posted with high priority behind a paint pass, it runs as soon as
// that pass is over, ahead of whatever the program queued at normal priority meanwhile.
class Reporter : public QObject {
public:
    static QEvent::Type type() {
        static const int t = QEvent::registerEventType();
        return QEvent::Type(t);
    }
    explicit Reporter(std::function<void()> end)
        : QObject(QCoreApplication::instance()), m_end(std::move(end)) {}
    QSize size;   // the watched window's, in the program's pixels
    qreal factor; // and the display's factor it was painted at

protected:
    bool event(QEvent* e) override {
        if (e->type() != type()) return QObject::event(e);
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("firstpaint_ns %lld\npeak_rss_kb %ld\nwindow %dx%d at %g\n",
                    (long long)now.tv_sec * 1000000000LL + now.tv_nsec, peakRssKb(), size.width(),
                    size.height(), factor);
        std::fflush(stdout);
        m_end();
        return true;
    }

private:
    std::function<void()> m_end;
};

// Watches for the first paint of the window that `isWatched` picks. The clock is read behind the paint pass,
// when the window and all its controls have been painted and flushed to the display. `end` then ends the
// program its own way.
inline void watchFirstPaint(std::function<bool(QWidget*)> isWatched, std::function<void()> end) {
    static paintwatch::Watch* watch = nullptr;
    auto* reporter = new Reporter(std::move(end));
    watch = new paintwatch::Watch([isWatched = std::move(isWatched), reporter](QWidget* window) {
        if (!watch || !isWatched(window)) return;
        watch->deleteLater();
        watch = nullptr;
        reporter->size = window->size();
        reporter->factor = window->devicePixelRatioF();
        QCoreApplication::postEvent(reporter, new QEvent(Reporter::type()), Qt::HighEventPriority);
    });
}

} // namespace firstpaint
