// How often the Jotter's page comes back after the program is killed at a random moment of a lesson, and
// whether torn and damaged journals are read safely. Prints its figures; it judges nothing.
//
//   zb-kill-lesson [KILLS]      (default 200; offscreen, in a scratch state folder of its own)
//
// A child process works a scripted lesson on the Jotter through real events (strokes, rub-outs, Clear, Flip,
// undo, redo) and prints the number of each step once it has ended. The parent kills it with SIGKILL at a
// random moment, starts the Jotter again on the journal left, and compares the page with the page the same
// lesson shows after the steps that had ended.
#include "journal.h"
#include "notepad.h"
#include "vb.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <cstdio>

namespace {
constexpr int kSteps = 60;

struct Step {
    char kind; // s stroke, e rub-out, c Clear, f Flip, z undo, y redo
    QList<QPoint> path;
};

const char* kindName(char kind) {
    switch (kind) {
    case 's':
        return "strokes";
    case 'e':
        return "rub-outs";
    case 'c':
        return "Clear";
    case 'f':
        return "Flip";
    case 'z':
        return "undo";
    case 'y':
        return "redo";
    default:
        return "after the last step";
    }
}

std::vector<Step> lesson() {
    QRandomGenerator rng(20261207);
    std::vector<Step> steps;
    for (int i = 0; i < kSteps; ++i) {
        const int r = int(rng.bounded(100));
        Step s{r < 55 ? 's' : r < 62 ? 'e' : r < 74 ? 'z' : r < 80 ? 'y' : r < 90 ? 'c' : 'f', {}};
        if (s.kind == 's' || s.kind == 'e')
            for (int m = 0, n = 5 + int(rng.bounded(30)); m <= n; ++m) // inside both shapes' page
                s.path << QPoint(10 + int(rng.bounded(170)), 10 + int(rng.bounded(170)));
        steps.push_back(s);
    }
    return steps;
}

void press(notepad& pad, const QString& wide, const QString& tall) {
    vb::Control* c = pad.findControl(pad.Frame_landscape->isVisible() ? wide : tall);
    QTest::mouseClick(pad.hWnd()->windowHandle(), Qt::LeftButton, {},
                      c->mapTo(pad.hWnd(), c->rect().center()));
}

// The step's events delivered; the repaints they asked for come before the next step.
void perform(notepad& pad, const Step& s) {
    QCoreApplication::processEvents();
    QWindow* w = pad.hWnd()->windowHandle();
    if (s.kind == 's' || s.kind == 'e') {
        press(pad, s.kind == 's' ? QStringLiteral("Command2") : QStringLiteral("Command5"),
              s.kind == 's' ? QStringLiteral("Command10") : QStringLiteral("Command8"));
        QTest::mousePress(w, Qt::LeftButton, {}, s.path.first());
        for (const QPoint& p : s.path)
            QTest::mouseMove(w, p);
        QTest::mouseRelease(w, Qt::LeftButton, {}, s.path.last());
    } else if (s.kind == 'c' || s.kind == 'f') {
        const bool clear = s.kind == 'c';
        press(pad, clear ? QStringLiteral("Command6") : QStringLiteral("Command3"),
              clear ? QStringLiteral("Command7") : QStringLiteral("Command4"));
    } else {
        QTest::keyClick(w, s.kind == 'z' ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
    }
}

// The Jotter opened afresh, on the journal of `state` where given (the last one's is removed first).
notepad& freshPad(const QString& state = QString()) {
    vb::Runtime::reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (!state.isEmpty()) qputenv("XDG_STATE_HOME", QFile::encodeName(state));
    auto& pad = vb::form<notepad>();
    vb::Runtime::dispatch([&] { pad.Show(); });
    return pad;
}

struct Page {
    QImage ink;
    QSize size;
    bool operator==(const Page& o) const { return ink == o.ink && size == o.size; }
};
Page pageOf(const notepad& pad) {
    return {pad.ink(), pad.hWnd()->size()};
}

int child() {
    auto& pad = freshPad();
    std::printf("0\n");
    std::fflush(stdout);
    int k = 0;
    for (const Step& s : lesson()) {
        perform(pad, s);
        std::printf("%d\n", ++k);
        std::fflush(stdout);
    }
    QThread::sleep(60); // killed before then
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir scratch;
    const bool isChild = argc > 1 && qstrcmp(argv[1], "--child") == 0;
    if (!isChild) qputenv("XDG_STATE_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("expected"))));
    QApplication app(argc, argv);
    if (isChild) return child();
    const int kills = argc > 1 ? std::max(1, atoi(argv[1])) : 200;

    // The pages the lesson shows after each step, and the journal it leaves.
    std::vector<Page> expected;
    auto& pad = freshPad();
    expected.push_back(pageOf(pad));
    for (const Step& s : lesson()) {
        perform(pad, s);
        expected.push_back(pageOf(pad));
    }
    QFile kept(Journal::path());
    kept.open(QIODevice::ReadOnly);
    const QByteArray journal = kept.readAll();

    int matched = 0, matchedNext = 0, started = 0;
    QMap<char, int> during; // the kind of step under way at each kill
    const std::vector<Step> steps = lesson();
    QRandomGenerator rng(4242);
    double lessonMs = 0;
    for (int i = 0; i <= kills; ++i) {
        const QString state = scratch.filePath(QStringLiteral("kill%1").arg(i));
        QProcess c;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_STATE_HOME"), state);
        c.setProcessEnvironment(env);
        c.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child")});
        QByteArray out;
        while (!out.startsWith("0\n") && c.waitForReadyRead(20000))
            out += c.readAllStandardOutput();
        QElapsedTimer t;
        t.start();
        if (i == 0) { // the first run is not killed: it times the whole lesson
            while (!out.contains(QByteArray::number(kSteps) + '\n') && c.waitForReadyRead(60000))
                out += c.readAllStandardOutput();
            lessonMs = double(t.elapsed());
        } else {
            QThread::usleep(quint64(rng.bounded(lessonMs * 800))); // a first run is slower than the rest
        }
        ::kill(pid_t(c.processId()), SIGKILL);
        c.waitForFinished(5000);
        out += c.readAllStandardOutput();
        if (i == 0) continue;
        ++started;
        const int ended = out.trimmed().split('\n').last().toInt();
        ++during[ended < kSteps ? steps[size_t(ended)].kind : '-'];
        const Page back = pageOf(freshPad(state));
        // The step under way may have ended, its journal record flushed, before its number was printed.
        matched += back == expected[size_t(ended)];
        matchedNext +=
            ended < kSteps && !(back == expected[size_t(ended)]) && back == expected[size_t(ended) + 1];
        std::fprintf(stderr, "kill %d after %d steps: %s\n", i, ended,
                     back == expected[size_t(ended)] ? "same page" : "other page");
    }
    vb::Runtime::reset();

    // The whole lesson's journal, torn at every byte of its last record and with each bit flipped in turn.
    const int records = Journal::read(journal).records;
    qsizetype lastStart = journal.size() - 1; // where the last record begins
    while (lastStart > 0 && Journal::read(journal.first(lastStart - 1)).records == records - 1)
        --lastStart;
    int torn = 0, tornKept = 0, flips = 0, flipsKept = 0;
    for (qsizetype cut = lastStart; cut < journal.size(); ++cut, ++torn)
        tornKept += Journal::read(journal.first(cut)).records == records - 1;
    for (qsizetype bit = 0; bit < journal.size() * 8; ++bit, ++flips) {
        QByteArray bad = journal;
        bad[bit / 8] = char(bad[bit / 8] ^ (1 << (bit % 8)));
        flipsKept += Journal::read(bad).records == Journal::read(journal.first(bit / 8)).records;
    }
    std::printf("Kills at random moments of a %d-step lesson (%.0f ms): %d\n", kSteps, lessonMs, started);
    std::printf("  page back as after the steps that had ended: %d (%d of them with the step under way "
                "ended too)\n  other page: %d\n",
                matched + matchedNext, matchedNext, started - matched - matchedNext);
    std::printf("  killed during: ");
    for (auto it = during.cbegin(); it != during.cend(); ++it)
        std::printf("%s %d  ", kindName(it.key()), it.value());
    std::printf("\n");
    std::printf("Journal of %lld bytes, %d records:\n  torn at each byte of its last record: %d read, %d "
                "kept every record before it\n  one bit flipped, each in turn: %d read without a crash, %d "
                "kept exactly the records before the flip\n",
                qlonglong(journal.size()), records, torn, tornKept, flips, flipsKept);
    return 0;
}
