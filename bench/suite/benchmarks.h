// The six benchmarks. Each adds its lines to the table; a benchmark that cannot run says why there.
#pragma once

#include "bench.h"
#include "report.h"

#include <QStringList>

namespace bench {

struct StartupResult {
    long barePeakKb = -1; // the bare window's peak resident memory at its first paint (median)
};

StartupResult startup(const Settings& s, report::Table& t);
void screenChanges(const Settings& s, report::Table& t);
void ink(const Settings& s, report::Table& t);
void memory(const Settings& s, report::Table& t, const StartupResult& bare);
void idle(const Settings& s, report::Table& t);
void displayChanges(const Settings& s, report::Table& t); // ends with no screen shown

// The memory tour, run in a process of its own: one tour, figures, `tours` more, figures.
int tourChild(int tours);

// Starts a program beside this one with `args`; `startedMs` is the clock read just before it is started.
// Returns its exit status (-1 when it could not start, died by a signal or was stopped after `timeoutMs`) and
// what it printed.
int runChild(const QString& program, const QStringList& args, double* startedMs, QByteArray* output,
             int timeoutMs = 60000);

} // namespace bench
