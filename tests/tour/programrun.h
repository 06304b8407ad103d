// Runs the real program in a child process, in a world of its own: a copy of its folder, a working folder
// elsewhere, and empty home, XDG and temporary folders (a private XDG_RUNTIME_DIR keeps each run its own
// session, so parallel runs never hand over to each other), optionally worked by the driver plugin.
#pragma once

#include "damage.h"
#include "tour.h"
#include "walker.h"

#include <QDeadlineTimer>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>

namespace testsupport {

// Every file and folder under `root` with its kind, size, permissions, time and content: equal lists mean
// nothing was written, created, removed or touched.
inline QStringList snapshot(const QString& root) {
    QStringList lines;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QFile f(info.filePath());
        const bool read = info.isFile() && !info.isSymLink() && f.open(QIODevice::ReadOnly);
        const char kind = info.isSymLink() ? 'l' : info.isDir() ? 'd' : 'f';
        lines << QString::asprintf("%s %c %lld %x %lld %zx", qPrintable(it.filePath()), kind, info.size(),
                                   unsigned(info.permissions()), info.lastModified().toMSecsSinceEpoch(),
                                   read ? qHash(f.readAll()) : 0);
    }
    lines.sort();
    return lines;
}

class ProgramRun {
public:
    // Each points at a folder of the same name.
    static constexpr const char* kVariables[] = {"HOME",          "XDG_CONFIG_HOME", "XDG_CACHE_HOME",
                                                 "XDG_DATA_HOME", "XDG_STATE_HOME",  "XDG_RUNTIME_DIR",
                                                 "TMPDIR"};

    ProgramRun() {
        const QProcessEnvironment outer = QProcessEnvironment::systemEnvironment();
        for (const char* keep : {"PATH", "ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
            if (outer.contains(QLatin1String(keep)))
                env.insert(QLatin1String(keep), outer.value(QLatin1String(keep)));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        for (const char* variable : kVariables)
            env.insert(QLatin1String(variable), path(QLatin1String(variable)));
        for (const QString& folder : privateFolders())
            QDir().mkpath(folder);
        QFile::setPermissions(path(QStringLiteral("XDG_RUNTIME_DIR")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString path(const QString& part) const { return m_root.filePath(part); }
    // The folders the program must leave as they were: those of kVariables and the working folder.
    QStringList privateFolders() const {
        QStringList all{path(QStringLiteral("work"))};
        for (const char* variable : kVariables)
            all << path(QLatin1String(variable));
        return all;
    }

    // A copy of the program's folder as built: the executable with its pictures and the guide document beside
    // it. Returns the copied executable, or nothing when the copy failed.
    QString copyProgram() const {
        const QString folder = path(QStringLiteral("program"));
        const QString exe = folder + QStringLiteral("/zestora-biology");
        return copyProgramData(QStringLiteral(ZB_BIN_DIR), folder) &&
                       QFile::copy(QStringLiteral(ZB_PROGRAM), exe)
                   ? exe
                   : QString();
    }

    // The driver plugin works the program: "tour", "open:SCREEN" or "watch", along the ways of the map.
    void drive(const QString& mode) {
        env.insert(QStringLiteral("ZBDRIVER_ROUTES"), tour::routesText(tour::routes()));
        env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(ZB_PLUGIN_DIR));
        env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("zbdriver:") + mode);
    }

    void start(const QString& program, const QString& workingFolder = QString()) {
        process.setProgram(program);
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(workingFolder.isEmpty() ? path(QStringLiteral("work")) : workingFolder);
        process.start();
    }

    // Waits for the end (the program is stopped if it has not ended by then) and keeps what it said.
    bool finish(int ms = 60000) {
        const bool ended = process.waitForFinished(ms);
        if (!ended) {
            process.kill();
            process.waitForFinished(5000);
        }
        out += QString::fromLocal8Bit(process.readAllStandardOutput());
        err += QString::fromLocal8Bit(process.readAllStandardError());
        return ended;
    }

    // Waits until the program prints `line` on standard output.
    bool waitForOutput(const QString& line, int ms = 20000) {
        for (QDeadlineTimer deadline(ms);
             !out.contains(line) && !deadline.hasExpired() && process.state() != QProcess::NotRunning;
             process.waitForReadyRead(100))
            out += QString::fromLocal8Bit(process.readAllStandardOutput());
        out += QString::fromLocal8Bit(process.readAllStandardOutput());
        return out.contains(line);
    }

    QString describe() const {
        return QStringLiteral("exit %1, stdout:\n%2\nstderr:\n%3").arg(process.exitCode()).arg(out, err);
    }

    QProcessEnvironment env;
    QProcess process;
    QString out, err;

private:
    QTemporaryDir m_root;
};

} // namespace testsupport
