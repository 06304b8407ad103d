// Shared by the benchmarks: clocks, statistics, process figures and the program's own set-up.
#pragma once

#include <QString>

class QObject;

#include <vector>

namespace bench {

// How long and how often each benchmark runs.
struct Settings {
    bool brief = false;       // the short form CI runs: few repetitions, short idle spans
    int startupRuns = 30;     // runs of each start-up child, alternated
    int changeReps = 200;     // repetitions of each screen change
    int inkMoves = 400;       // move events per stroke
    int inkStrokes = 12;      // strokes of each kind, the program's and the raw line alternated
    double idleSeconds = 5.0; // idle span per screen
    int tours = 100;          // tours after the first, for memory growth
};

double nowMs(); // CLOCK_MONOTONIC, in milliseconds

struct Summary {
    int n = 0;
    double median = 0, p95 = 0, min = 0, max = 0, mean = 0;
};
Summary summarize(std::vector<double> values);

// Figures of this process.
long rssKb();     // resident now (VmRSS)
long peakRssKb(); // resident at its peak so far (VmHWM)
long heapBytes(); // allocated and not yet freed by malloc
double cpuMs();   // user and system time of every thread
long wakeUps();   // voluntary context switches of every thread: each is a sleep that something woke

// What the program's main does before the first screen: names, style, fonts, and the Jotter's shortcut where
// this build has it. `asTheProgram` also makes this process the session's one copy of the program, as the
// program's main does (false when the run ends with an error: a copy is already running here). Objects made
// live for the run.
bool setUpLikeTheProgram(bool asTheProgram);

// Installs a desktop that opens nothing and records error reports instead of showing them; a benchmark fails
// when one appears.
void installQuietDesktop();
QStringList errorReports();

} // namespace bench
