// Runs the real program in a child process, in a world of its own: a copy of its folder, a working folder
// elsewhere, and empty home, XDG and temporary folders, optionally worked by the driver plugin.
#pragma once

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace testsupport {

// Every file and folder under `root` with its kind, size, permissions, time and content: equal lists mean
// nothing was written, created, removed or touched.
inline QStringList snapshot(const QString& root) {
    QStringList lines;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        QString line =
            QDir(root).relativeFilePath(info.filePath()) + QStringLiteral(" %1 %2 %3 %4")
                                                               .arg(info.isSymLink() ? 'l'
                                                                    : info.isDir()   ? 'd'
                                                                                     : 'f')
                                                               .arg(info.size())
                                                               .arg(int(info.permissions()), 0, 16)
                                                               .arg(info.lastModified().toMSecsSinceEpoch());
        if (info.isFile() && !info.isSymLink()) {
            QFile f(info.filePath());
            if (f.open(QIODevice::ReadOnly)) {
                QCryptographicHash h(QCryptographicHash::Sha1);
                h.addData(&f);
                line += QLatin1Char(' ') + QString::fromLatin1(h.result().toHex());
            }
        }
        lines << line;
    }
    lines.sort();
    return lines;
}

inline bool copyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(it.filePath());
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target)) return false;
        } else if (!QFile::copy(it.filePath(), target)) {
            return false;
        }
    }
    return true;
}

class ProgramRun {
public:
    ProgramRun() {
        for (const char* d : {"home", "config", "cache", "data", "state", "runtime", "tmp", "work"})
            QDir().mkpath(path(QString::fromLatin1(d)));
        QFile::setPermissions(path(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QProcessEnvironment outer = QProcessEnvironment::systemEnvironment();
        for (const char* keep : {"PATH", "ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
            if (outer.contains(QString::fromLatin1(keep)))
                env.insert(QString::fromLatin1(keep), outer.value(QString::fromLatin1(keep)));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        env.insert(QStringLiteral("HOME"), path(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), path(QStringLiteral("cache")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_STATE_HOME"), path(QStringLiteral("state")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("runtime")));
        env.insert(QStringLiteral("TMPDIR"), path(QStringLiteral("tmp")));
    }

    QString path(const QString& part) const { return m_root.filePath(part); }
    // The folders the program must leave as they were.
    QStringList privateFolders() const {
        QStringList all;
        for (const char* d : {"home", "config", "cache", "data", "state", "runtime", "tmp", "work"})
            all << path(QString::fromLatin1(d));
        return all;
    }

    // The driver plugin works the program: "tour", "open:SCREEN" or "watch".
    void drive(const QString& mode) {
        env.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(ZB_PLUGIN_DIR));
        env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("zbdriver:") + mode);
    }

    void start(const QString& program, const QString& workingFolder = QString()) {
        process.setProgram(program);
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(workingFolder.isEmpty() ? path(QStringLiteral("work")) : workingFolder);
        process.start();
    }

    // Waits for the end and keeps what the program said.
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

    // True when the program is still running after `ms`; it is stopped either way.
    bool stillRunningAfter(int ms) {
        const bool ended = process.waitForFinished(ms);
        if (!ended) {
            process.kill();
            process.waitForFinished(5000);
        }
        out += QString::fromLocal8Bit(process.readAllStandardOutput());
        err += QString::fromLocal8Bit(process.readAllStandardError());
        return !ended;
    }

    // Waits until the program prints `line` on standard output.
    bool waitForOutput(const QString& line, int ms = 20000) {
        QElapsedTimer t;
        t.start();
        while (!out.contains(line) && t.elapsed() < ms) {
            process.waitForReadyRead(100);
            out += QString::fromLocal8Bit(process.readAllStandardOutput());
            if (process.state() == QProcess::NotRunning) break;
        }
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
