// Start-up: the program's twin and a bare Qt window, started alternately, each timed from just before it is
// started until its first completed paint.
#include "benchmarks.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace bench {

int runChild(const QString& program, const QStringList& args, double* startedMs, QByteArray* output,
             int timeoutMs) {
    const QByteArray path =
        (QCoreApplication::applicationDirPath() + QLatin1Char('/') + program).toLocal8Bit();
    QList<QByteArray> argBytes{path};
    for (const QString& a : args)
        argBytes.append(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& a : argBytes)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int pipeFds[2];
    if (pipe(pipeFds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    pid_t pid = 0;
    *startedMs = nowMs();
    const int rc = posix_spawn(&pid, path.constData(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (rc != 0) {
        close(pipeFds[0]);
        return -1;
    }
    output->clear();
    // A child that never reports (a screen that no longer paints) is stopped rather than waited for forever.
    const double deadline = *startedMs + timeoutMs;
    bool late = false;
    char buffer[4096];
    for (;;) {
        pollfd p{pipeFds[0], POLLIN, 0};
        const int ready = poll(&p, 1, std::max(0, int(deadline - nowMs())));
        if (ready == 0) {
            late = true;
            kill(pid, SIGKILL);
            break;
        }
        if (ready < 0) {
            if (errno == EINTR) continue;
            break;
        }
        const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n > 0)
            output->append(buffer, n);
        else if (n == 0 || errno != EINTR)
            break;
    }
    close(pipeFds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (late) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

namespace {
struct Run {
    bool ok = false;
    double ms = 0;
    long peakKb = -1;
    QStringList window; // factor, then size: the arguments that give the bare window the same
};

Run startOnce(const QString& program, const QStringList& args = {}) {
    double started = 0;
    QByteArray out;
    Run r;
    const int rc = runChild(program, args, &started, &out);
    const QString text = QString::fromLatin1(out);
    const auto paint = QRegularExpression(QStringLiteral("firstpaint_ns (\\d+)")).match(text);
    const auto peak = QRegularExpression(QStringLiteral("peak_rss_kb (\\d+)")).match(text);
    const auto window = QRegularExpression(QStringLiteral("window (\\d+x\\d+) at ([0-9.]+)")).match(text);
    if (rc != 0 || !paint.hasMatch()) return r;
    r.ok = true;
    r.ms = paint.captured(1).toDouble() / 1e6 - started;
    r.peakKb = peak.hasMatch() ? peak.captured(1).toLong() : -1;
    if (window.hasMatch()) r.window = {window.captured(2), window.captured(1)};
    return r;
}
} // namespace

StartupResult startup(const Settings& s, report::Table& t) {
    using namespace report;
    t.heading(QStringLiteral("1"), QStringLiteral("Start-up: process start to the first completed paint"));
    const QString twin = QStringLiteral("zb-bench-twin"), bare = QStringLiteral("zb-bench-bare");
    // One run of each first, untimed: the file system cache and font caches are then as on any later start.
    // The bare window is then as large as the program's first window, at the same factor.
    const QStringList sameSize = startOnce(twin).window;
    startOnce(bare, sameSize);
    std::vector<double> twinMs, bareMs, barePeak;
    for (int i = 0; i < s.startupRuns; ++i) {
        for (const QString& program : {twin, bare}) {
            const Run r = startOnce(program, program == bare ? sameSize : QStringList());
            if (!r.ok) {
                t.failed(program,
                         QStringLiteral("run %1 ended without reporting its first paint").arg(i + 1));
                return {};
            }
            (program == twin ? twinMs : bareMs).push_back(r.ms);
        }
    }
    // Memory is weighed against the plain 800 x 600 window at 1x, whatever the display.
    for (int i = 0; i < 3; ++i)
        if (const Run r = startOnce(bare); r.peakKb > 0) barePeak.push_back(double(r.peakKb));
    const Summary a = summarize(twinMs), b = summarize(bareMs);
    const double ratio = a.median / b.median;
    t.row(QStringLiteral("title screen, median of %1").arg(a.n),
          QStringLiteral("%1 (p95 %2)").arg(ms(a.median), ms(a.p95)), QString(), Verdict::None);
    t.row(QStringLiteral("bare Qt window of the same size, median of %1").arg(b.n),
          QStringLiteral("%1 (p95 %2)").arg(ms(b.median), ms(b.p95)), QString(), Verdict::None);
    // Scaled up, the bare window pays for its pixels as the program does, and the program's own work shows.
    const double target = sameSize.isEmpty() || sameSize.first() == QLatin1String("1") ? 1.3 : 1.1;
    t.row(QStringLiteral("ratio of the medians"), QStringLiteral("%1x").arg(ratio, 0, 'f', 2),
          QStringLiteral("<= %1x").arg(target), verdict(ratio <= target));
    StartupResult result;
    result.barePeakKb = long(summarize(barePeak).median);
    return result;
}

} // namespace bench
