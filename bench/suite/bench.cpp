#include "bench.h"

#include "Titlefrm.h"
#include "registry.h"
#include "vb.h"

#include <QApplication>
#include <QStyleFactory>

#if __has_include("jotteraccess.h")
#include "jotteraccess.h"
#define ZB_HAVE_JOTTER_ACCESS 1
#endif
#if __has_include("singleinstance.h")
#include "singleinstance.h"
#define ZB_HAVE_SINGLE_INSTANCE 1
#endif

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <malloc.h>
#include <numeric>
#include <sys/resource.h>

namespace bench {

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

Summary summarize(std::vector<double> v) {
    Summary s;
    s.n = int(v.size());
    if (v.empty()) return s;
    std::sort(v.begin(), v.end());
    // Nearest rank: the smallest value with at least the share at or below it.
    auto rank = [&](double share) {
        const size_t i = size_t(std::ceil(share * double(v.size())));
        return v[std::clamp<size_t>(i, 1, v.size()) - 1];
    };
    s.median = v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    s.p95 = rank(0.95);
    s.min = v.front();
    s.max = v.back();
    s.mean = std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
    return s;
}

namespace {
long statusKb(const char* key) {
    long kb = -1;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        const size_t n = std::strlen(key);
        while (std::fgets(line, sizeof line, f))
            if (std::strncmp(line, key, n) == 0 && line[n] == ':') {
                kb = std::atol(line + n + 1);
                break;
            }
        std::fclose(f);
    }
    return kb;
}
} // namespace

long rssKb() {
    return statusKb("VmRSS");
}
long peakRssKb() {
    return statusKb("VmHWM");
}
long heapBytes() {
    return long(mallinfo2().uordblks);
}

double cpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

long wakeUps() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_nvcsw;
}

bool setUpLikeTheProgram(bool asTheProgram) {
#ifdef ZB_HAVE_SINGLE_INSTANCE
    if (asTheProgram) {
        auto* instance = new SingleInstance(bringProgramForward, qApp);
        if (instance->handedOver()) return false;
    }
#else
    Q_UNUSED(asTheProgram);
#endif
    vb::mapLargeBlocks();
    Titlefrm::readAhead();
    QApplication::setApplicationName(QStringLiteral("Biology Year 10 Zestora Demo"));
    QApplication::setOrganizationName(QStringLiteral("Quorvane"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    vb::installFonts();
    vb::Runtime::whenFirstPainted(prepareScreensAhead);
#ifdef ZB_HAVE_JOTTER_ACCESS
    new jotter::JotterAccess(qApp);
#endif
    return true;
}

namespace {
QStringList g_reports;

class QuietDesktop : public vb::Platform {
public:
    bool shellOpen(QWidget*, const QString&, const QString&) override { return true; }
    void keepInFront(QWidget* window) override { vb::DesktopPlatform().keepInFront(window); }
    void showErrorReport(const QString& text) override { g_reports << text; }
};
} // namespace

void installQuietDesktop() {
    vb::Runtime::setPlatform(std::make_unique<QuietDesktop>());
}
QStringList errorReports() {
    return g_reports;
}

} // namespace bench
