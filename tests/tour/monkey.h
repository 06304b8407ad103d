// A class of pupils at the board, reproducibly: random clicks, presses, drags, moves and releases of any
// button, list picks, keys and Jotter strokes, with the program's rules checked after every event.
#pragma once

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
    std::size_t trail = 0; // a hash of every event as described: equal runs have equal trails
};

class Monkey {
public:
    // `desktop` is the recorder installed in place of the desktop; the monkey reads what was asked of it.
    Monkey(std::uint64_t seed, testsupport::RecordingPlatform& desktop) : m_seed(seed), m_desktop(desktop) {}
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

} // namespace tour
