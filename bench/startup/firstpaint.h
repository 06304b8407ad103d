// Shared by the start-up children: report the first completed paint of the watched window, then end.
#pragma once

#include "../common/paintwatch.h"

#include <QMetaObject>

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

// Watches for the first paint of the window that `isWatched` picks. The clock is read in a call queued behind
// the paint pass, so the window and all its controls have been painted and flushed to the display by then.
// `end` then ends the program its own way.
inline void watchFirstPaint(std::function<bool(QWidget*)> isWatched, std::function<void()> end) {
    static paintwatch::Watch* watch = nullptr;
    watch = new paintwatch::Watch([isWatched = std::move(isWatched), end = std::move(end)](QWidget* window) {
        if (!watch || !isWatched(window)) return;
        watch->deleteLater();
        watch = nullptr;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [end] {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("firstpaint_ns %lld\npeak_rss_kb %ld\n",
                            (long long)now.tv_sec * 1000000000LL + now.tv_nsec, peakRssKb());
                std::fflush(stdout);
                end();
            },
            Qt::QueuedConnection);
    });
}

} // namespace firstpaint
