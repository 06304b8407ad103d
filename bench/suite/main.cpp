// The benchmarks of the program, one command: start-up, screen changes, ink, memory and idle, printed as one
// table against their targets. `--short` is the quick form CI runs; the figures are then only indicative.
#include "benchmarks.h"
#include "displayfit.h"
#include "drive.h"
#include "tour.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
QString cpuModel() {
    QFile f(QStringLiteral("/proc/cpuinfo"));
    if (f.open(QIODevice::ReadOnly))
        for (const QByteArray& l : f.readAll().split('\n'))
            if (l.startsWith("model name")) return QString::fromLatin1(l.mid(l.indexOf(':') + 1)).trimmed();
    return QStringLiteral("unknown CPU");
}

void usage() {
    std::fputs("usage: zb-bench [--short] [--only start-up,changes,ink,memory,idle,display] [--reps N]\n"
               "                [--startup-runs N] [--idle-seconds S] [--tours N]\n",
               stderr);
}
} // namespace

int main(int argc, char** argv) {
    bench::Settings s;
    int tourChild = -1;
    QStringList only; // empty: every benchmark
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(a, "--short")) {
            s.brief = true;
            s.startupRuns = 3;
            s.changeReps = 5;
            s.inkMoves = 50;
            s.inkStrokes = 2;
            s.idleSeconds = 0.5;
            s.tours = 3;
        } else if (!std::strcmp(a, "--only") && hasValue) {
            only = QString::fromLocal8Bit(argv[++i]).split(QLatin1Char(','), Qt::SkipEmptyParts);
            const QStringList known = {QStringLiteral("start-up"), QStringLiteral("changes"),
                                       QStringLiteral("ink"),      QStringLiteral("memory"),
                                       QStringLiteral("idle"),     QStringLiteral("display")};
            for (const QString& name : only)
                if (!known.contains(name)) {
                    usage();
                    return 2;
                }
        } else if (!std::strcmp(a, "--reps") && hasValue) {
            s.changeReps = std::max(1, std::atoi(argv[++i]));
        } else if (!std::strcmp(a, "--startup-runs") && hasValue) {
            s.startupRuns = std::max(1, std::atoi(argv[++i]));
        } else if (!std::strcmp(a, "--idle-seconds") && hasValue) {
            s.idleSeconds = std::max(0.1, std::atof(argv[++i]));
        } else if (!std::strcmp(a, "--tours") && hasValue) {
            s.tours = std::max(1, std::atoi(argv[++i]));
        } else if (!std::strcmp(a, "--tour-child") && hasValue) {
            tourChild = std::max(0, std::atoi(argv[++i]));
        } else {
            usage();
            return 2;
        }
    }
    // Without a display the benchmarks run on Qt's offscreen platform, as the tests do.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // The program allows one copy per session, and the session is told by XDG_RUNTIME_DIR: the programs this
    // run starts get a session of their own, so that they never hand over to a copy running on the same
    // desktop.
    QTemporaryDir session;
    if (tourChild < 0 && session.isValid()) qputenv("XDG_RUNTIME_DIR", QFile::encodeName(session.path()));
    // The Jotter keeps its journal, as in the program, in a state folder of the run's own.
    QTemporaryDir state;
    if (state.isValid()) qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));

    QApplication app(argc, argv);
    // At the factor the program would fill this display with.
    displayfit::apply(commandline::Options());
    displayfit::follow(commandline::Options());
    if (!bench::setUpLikeTheProgram(tourChild >= 0)) {
        std::fputs("zb-bench: another copy of the program answered in this session\n", stderr);
        return 1;
    }
    bench::installQuietDesktop();
    drive::startWatching();
    if (tourChild >= 0) return bench::tourChild(tourChild);

    const QString platform =
        QGuiApplication::platformName() == QLatin1String("xcb") && qEnvironmentVariableIsSet("DISPLAY")
            ? QStringLiteral("xcb on X display %1").arg(qEnvironmentVariable("DISPLAY"))
            : QGuiApplication::platformName();
    // Progress goes to standard error; the table alone to standard output.
    auto wanted = [&](const char* name) {
        const bool yes = only.isEmpty() || only.contains(QLatin1String(name));
        if (yes) std::fprintf(stderr, "zb-bench: %s...\n", name);
        return yes;
    };
    report::Table table;
    bench::StartupResult bare;
    if (only.isEmpty() || only.contains(QStringLiteral("start-up")) ||
        only.contains(QStringLiteral("memory")))
        bare = bench::startup(s, table);
    // The benchmarks in this process start from the title screen, as the program does, and end there.
    QString error;
    const bool titleShown = tour::showTitle(&error);
    if (!titleShown) table.failed(QStringLiteral("title screen"), error);
    if (wanted("changes") && titleShown) bench::screenChanges(s, table);
    if (wanted("ink") && titleShown) bench::ink(s, table);
    if (wanted("memory")) bench::memory(s, table, bare);
    if (wanted("idle") && titleShown) bench::idle(s, table);
    // An X display changes size only when its server was started for it (see the README): asked for by name.
    if ((only.contains(QStringLiteral("display")) ||
         (only.isEmpty() && platform == QLatin1String("offscreen"))) &&
        wanted("display") && titleShown)
        bench::displayChanges(s, table);

    const QString title =
        QStringLiteral("Zestora Biology benchmarks%1: Qt %2, platform %3, %4 CPUs (%5)")
            .arg(s.brief ? QStringLiteral(" (short form: figures only indicative)") : QString(),
                 QString::fromLatin1(qVersion()), platform)
            .arg(QThread::idealThreadCount())
            .arg(cpuModel());
    table.print(title);
    return table.failures() ? 1 : 0;
}
