// The Jotter's journal: each step of its page (stroke, rub-out, Clear, Flip, undo, redo) appended to a file
// in the program's state folder as the step ends and flushed to the disk, so that a page lost when the
// program ends by accident (power cut, logout, kill, crash) comes back at the next start. A deliberate Exit
// removes it. Each record carries its length and a checksum: a torn or damaged end is dropped on reading.
// The record is written at once (a kill cannot lose it then) and flushed beside the board's work, so the pen
// never waits for the disk.
#pragma once

#include "pagesteps.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

class Journal {
public:
    Journal() = default;
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;
    ~Journal() { close(); }

    // The program's state folder: $XDG_STATE_HOME (~/.local/state by default) / zestora-biology.
    static QString folder();
    static QString path();
    static bool left(); // a journal the last run did not remove

    void step(const PageSteps::Step& s);
    void undo();
    void redo();
    void close();  // the file stays, for the next start
    void remove(); // nothing is kept

    enum class Outcome { None, Whole, Partial, Unreadable };
    struct Reading {
        Outcome outcome = Outcome::None;
        PageSteps steps;
        int records = 0;
        qint64 length = 0; // up to the end of the last whole record
    };
    // The page as the journal left it; a torn last record is dropped, a damaged one ends the reading.
    static Reading read(const QString& file);
    static Reading read(const QByteArray& bytes);
    // Cuts what follows the last whole record, so that new records are not lost behind a torn one.
    static void keepOnly(qint64 length);

private:
    void append(const QByteArray& payload);
    void flushing(const QByteArray& folder); // the flusher's loop
    int m_fd = -1;
    bool m_failed = false;
    std::thread m_flusher;
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_dirty = false, m_stop = false;
    std::atomic<int> m_flushError{0};
};
