// A class of pupils at the board, reproducibly: random clicks, presses, drags, moves and releases of any
// button, list picks, Ctrl+J and Jotter strokes, with the program's rules checked after every event.
#pragma once

#include <QMap>
#include <QSet>
#include <QString>

#include <cstdint>
#include <functional>

namespace testsupport {
class RecordingPlatform;
}

namespace tour {

struct MonkeyReport {
    QString failure; // empty when every rule held after every event
    int events = 0;  // events carried out
    int restarts = 0;
    QSet<QString> screensSeen;
    QMap<QString, int> kinds; // how many events of each kind
};

class Monkey {
public:
    // `desktop` is the recorder installed in place of the desktop; the monkey reads what was asked of it.
    Monkey(std::uint64_t seed, testsupport::RecordingPlatform& desktop);
    // Runs `events` events from a fresh start on the title screen. With `trace`, prints each event.
    MonkeyReport run(int events, bool trace = false);
    // Runs before each event, for tests that break a rule on purpose to see the monkey catch it.
    void setBeforeEvent(std::function<void(int event)> f) { m_beforeEvent = std::move(f); }

private:
    struct Impl;
    std::function<void(int)> m_beforeEvent;
    std::uint64_t m_seed;
    testsupport::RecordingPlatform& m_desktop;
};

// The seed and event in hand, printed if the process dies in the middle of one.
void noteProgress(std::uint64_t seed, int event);
void installCrashNote();

} // namespace tour
