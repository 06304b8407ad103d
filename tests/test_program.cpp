// The real executable, worked by the driver plugin: it writes no file, stops with a report on a broken
// picture, falls back without the title's, and runs once per session; and broken pictures in-process.
#include "journal.h"
#include "programrun.h"
#include "registry.h"
#include "singleinstance.h"
#include "tour.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QtTest>

#include <sys/resource.h>
#include <unistd.h>

using namespace vb;
using namespace testsupport;

namespace {
// Damage to the Images folder itself, beside the damage to a single picture.
enum Folder { Removed = 10, APlainFile };
} // namespace

class TestProgram : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_data;
    QString m_realData;
    RecordingPlatform* m_desktop = nullptr;

    QString freshData() {
        m_data = std::make_unique<QTemporaryDir>();
        return copyProgramData(m_realData, m_data->path()) ? m_data->path() : QString();
    }

private slots:
    void initTestCase() {
        tour::enableJotterKey(); // the Jotter is reachable, by Ctrl+J
        m_realData = DataDir();
    }
    void init() {
        freshRuntime();
        m_desktop = &recordDesktop();
    }
    void cleanup() { freshRuntime(); }

    // A whole tour, by clicks and again by keys alone, with every folder the program could write to private:
    // only the state folder is written (the Jotter's journal, while it holds writing), and after the Exits
    // each is as it was.
    void aTourWritesNoFile() {
        ProgramRun run;
        const QString exe = run.copyProgram();
        const QStringList watched = run.privateFolders() << QFileInfo(exe).path();
        QList<QStringList> before;
        for (const QString& folder : watched)
            before << snapshot(folder);
        run.drive(QStringLiteral("tour"));
        run.start(exe);
        QVERIFY2(run.finish(120000), qPrintable(run.describe()));
        QVERIFY2(run.process.exitStatus() == QProcess::NormalExit && run.process.exitCode() == 0 &&
                     !run.err.contains(QLatin1String("Run-time error")),
                 qPrintable(run.describe()));
        for (const QString& screen : tour::reachableScreens())
            QVERIFY2(run.out.contains(QLatin1Char(' ') + screen),
                     qPrintable(screen + QStringLiteral(" not visited; ") + run.describe()));
        for (int i = 0; i < watched.size(); ++i)
            QCOMPARE(snapshot(watched[i]), before[i]);
    }

    // The file broken and how, and the runtime's report naming the picture (status 1) or, with none, the
    // opening screen reached (status 0). Every picture in-process: below.
    void aBrokenInstallation_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("damage");
        QTest::addColumn<QString>("report");
        const QString bee = QStringLiteral("Images\\bee.jpg");
        for (const QString& file : {QStringLiteral("Images\\beesm.jpg"), bee})
            for (Damage d : kDamages)
                QTest::addRow("%s %s", qPrintable(file), qPrintable(damageName(d)))
                    << file << int(d) << (file == bee ? bee : QString());
        QTest::newRow("Images removed") << QStringLiteral("Images") << int(Removed) << bee;
        QTest::newRow("Images a plain file") << QStringLiteral("Images") << int(APlainFile) << bee;
    }
    void aBrokenInstallation() {
        QFETCH(QString, file);
        QFETCH(int, damage);
        QFETCH(QString, report);
        ProgramRun run;
        const QString exe = run.copyProgram();
        const QString path = dataFile(QFileInfo(exe).path(), file);
        if (damage >= Removed) {
            QFile plain(path);
            QVERIFY(QDir(path).removeRecursively());
            QVERIFY(damage == Removed || (plain.open(QIODevice::WriteOnly) && plain.write("plain\n") > 0));
        } else {
            QVERIFY(testsupport::damage(path, Damage(damage)));
        }
        const QString opening = QString::fromLatin1(tour::kOpening);
        run.drive(QStringLiteral("open:") + opening);
        run.start(exe);
        QVERIFY2(run.finish() && run.process.exitStatus() == QProcess::NormalExit,
                 qPrintable(run.describe()));
        const bool failed = run.err.contains(QLatin1String("Run-time error"));
        QVERIFY2(report.isEmpty()
                     ? run.process.exitCode() == 0 && !failed && run.out.contains("reached " + opening)
                     : run.process.exitCode() == 1 && failed && run.err.contains(report) &&
                           !run.out.contains(QLatin1String("reached")),
                 qPrintable(run.describe()));
    }

    // A second start brings the first copy's front window forward and ends; "--jotter" opens the Jotter.
    void aSecondStartBringsTheFirstForward_data() {
        QTest::addColumn<QStringList>("firstArguments");
        QTest::addColumn<QStringList>("secondArguments");
        QTest::addColumn<QString>("front");
        QTest::newRow("plain") << QStringList() << QStringList() << QString::fromLatin1(tour::kFirstScreen);
        QTest::newRow("the Jotter asked of the running copy")
            << QStringList() << QStringList{"--jotter"} << QString::fromLatin1(tour::kJotter);
        QTest::newRow("its page saved")
            << QStringList() << QStringList{"--save-jotter"} << QString::fromLatin1(tour::kJotter);
        QTest::newRow("started with the Jotter")
            << QStringList{"--jotter"} << QStringList() << QString::fromLatin1(tour::kJotter);
    }
    void aSecondStartBringsTheFirstForward() {
        QFETCH(QStringList, firstArguments);
        QFETCH(QStringList, secondArguments);
        QFETCH(QString, front);
        ProgramRun first;
        const QString exe = first.copyProgram();
        first.drive(QStringLiteral("watch"));
        first.process.setArguments(firstArguments);
        first.start(exe);
        QVERIFY2(first.waitForOutput(QStringLiteral("zbdriver: watching")), qPrintable(first.describe()));

        ProgramRun second;
        second.env.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                          first.env.value(QStringLiteral("XDG_RUNTIME_DIR")));
        second.process.setArguments(secondArguments);
        second.start(exe);
        QVERIFY2(second.finish(10000) && second.process.exitCode() == 0, qPrintable(second.describe()));
        QVERIFY2(first.waitForOutput(QStringLiteral("zbdriver: brought forward ") + front, 10000),
                 qPrintable(first.describe()));
        QVERIFY2(!first.finish(300), qPrintable(first.describe()));
        QCOMPARE(QDir(first.path("HOME")).entryList({"Jotter *"}).size(),
                 secondArguments.contains("--save-jotter") ? 2 : 0);
    }

    // Two starts at the same moment: the one that finds the name taken by a copy not yet answering asks
    // again, and hands over rather than open a second copy.
    void theLoserOfARaceHandsOver() {
        ProgramRun run;
        qputenv("XDG_RUNTIME_DIR", run.env.value(QStringLiteral("XDG_RUNTIME_DIR")).toLocal8Bit());
        QLocalServer winner;
        winner.setSocketOptions(QLocalServer::AbstractNamespaceOption);
        QVERIFY(winner.listen(SingleInstance::key()));
        int asked = 0;
        connect(&winner, &QLocalServer::newConnection, this, [&] {
            QLocalSocket* s = winner.nextPendingConnection();
            if (asked++ == 0) return s->abort(); // still starting up
            connect(s, &QLocalSocket::readyRead, s,
                    [s] { s->write(s->readAll().right(1) == "\n" ? "done\n" : ""); });
        });
        run.start(run.copyProgram());
        QTRY_VERIFY_WITH_TIMEOUT(run.process.state() == QProcess::NotRunning, 20000);
        run.finish(0);
        QVERIFY2(run.process.exitCode() == 0 && run.err.isEmpty() &&
                     run.out.contains(QLatin1String("already running")),
                 qPrintable(run.describe()));
    }

    // A running copy acts on a request however it comes, in pieces or whole, and only once it is whole; a
    // caller that sends too much, or goes before the end, is let go with nothing done. A caller that comes
    // while the program has no descriptor left waits, without the program spinning on it, and is answered.
    void aRunningCopyActsOnWholeRequestsOnly_data() {
        QTest::addColumn<QByteArrayList>("pieces");
        QTest::addColumn<QString>("done");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("starved");
        QTest::newRow("in pieces") << QByteArrayList{"scale 2\nfor", "ward", "\n"} << QString("2 forward")
                                   << QByteArray("done\n") << false;
        QTest::newRow("too long") << QByteArrayList{QByteArray(300, 'x'), "\n"} << QString() << QByteArray()
                                  << false;
        QTest::newRow("gone halfway") << QByteArrayList{"forw"} << QString() << QByteArray() << false;
        QTest::newRow("no descriptor left")
            << QByteArrayList{"forward", "\n"} << QString("forward") << QByteArray("done\n") << true;
    }
    void aRunningCopyActsOnWholeRequestsOnly() {
        QFETCH(QByteArrayList, pieces);
        QFETCH(bool, starved);
        ProgramRun session;
        qputenv("XDG_RUNTIME_DIR", session.env.value(QStringLiteral("XDG_RUNTIME_DIR")).toLocal8Bit());
        QStringList done;
        SingleInstance running([&] { done << QStringLiteral("forward"); });
        running.setScaleTaker([&](double scale) { done << QString::number(scale); });
        QVERIFY(!running.handedOver());
        QLocalSocket caller;
        caller.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
        caller.connectToServer(SingleInstance::key());
        QVERIFY(caller.waitForConnected(1000));
        if (starved) {
            rlimit was{};
            QVERIFY(::getrlimit(RLIMIT_NOFILE, &was) == 0);
            rlimit few = was;
            few.rlim_cur = std::min<rlim_t>(was.rlim_cur, rlim_t(caller.socketDescriptor()) + 32);
            QVERIFY(::setrlimit(RLIMIT_NOFILE, &few) == 0);
            std::vector<int> taken;
            for (int fd; (fd = ::dup(0)) >= 0;)
                taken.push_back(fd);
            const auto cpu = [] {
                rusage used{};
                ::getrusage(RUSAGE_SELF, &used);
                return used.ru_utime.tv_sec + used.ru_stime.tv_sec +
                       (used.ru_utime.tv_usec + used.ru_stime.tv_usec) / 1e6;
            };
            const double before = cpu();
            QTest::qWait(300);
            const double spent = cpu() - before;
            for (int fd : taken)
                ::close(fd);
            QVERIFY(::setrlimit(RLIMIT_NOFILE, &was) == 0);
            QVERIFY2(spent < 0.1, qPrintable(QString::number(spent)));
        }
        for (const QByteArray& piece : pieces) {
            caller.write(piece);
            QTest::qWait(50); // each piece on its own
        }
        if (pieces.size() == 1) caller.disconnectFromServer();
        QTRY_VERIFY(caller.state() == QLocalSocket::UnconnectedState);
        QTEST(caller.readAll(), "answer");
        QTEST(done.join(u' '), "done");
    }

    // What the program says of a wrong command line (with the usage line, status 2, nothing started), of a
    // Wayland session without XWayland, of a document that no installed program opens (on screen), of a page
    // brought back after an accidental end, and of a state folder it cannot write in.
    void itSaysWhatIsWrong_data() {
        QTest::addColumn<QString>("start"); // options; NAME=VALUE in the environment; open:... for the driver
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says"); // on standard output for status 0, else on standard error
        QTest::newRow("help") << "--help" << 0 << "--jotter ";
        QTest::newRow("version") << "--version" << 0 << "zestora-biology (Biology Year 10 Zestora Demo) ";
        QTest::newRow("misspelt") << "--jottr" << 2 << "Unknown option 'jottr'.\nUsage: zestora-biology";
        QTest::newRow("bad value") << "--scale=9" << 2 << "from 1 to 6, not \"9\"\nUsage: zestora-biology";
        QTest::newRow("a factor") << "--scale 2" << 0 << "reached Titlefrm";
        QTest::newRow("Wayland alone") << "WAYLAND_DISPLAY=wayland-0" << 2 << "needs an X11 display";
        QTest::newRow("a page left") << "state:page open:Titlefrm" << 0 << "notice The Jotter's page is back";
        QTest::newRow("a journal unreadable")
            << "state:garbage open:Titlefrm" << 0 << "could not be read: it starts";
        QTest::newRow("no state folder")
            << "state: open:notepad:Command6" << 0 << "journal cannot be kept in";
        QTest::newRow("no opener") << "open:TeacherGuide0:Label2" << 0
                                   << "No program is installed on this computer to open a Word document. The "
                                      "document is PROGRAM/Teacher Guide.doc";
    }
    void itSaysWhatIsWrong() {
        QFETCH(QString, start);
        QFETCH(int, status);
        QFETCH(QString, says);
        ProgramRun run;
        if (start.startsWith(QLatin1String("state:"))) { // a journal left, or a plain file for its folder
            const QString kind = start.section(u' ', 0, 0).mid(6),
                          left = run.path("XDG_STATE_HOME/zestora-biology");
            start = start.section(u' ', 1);
            Journal journal;
            journal.step({PageSteps::Kind::Stroke, {{300, 600, 0, 0}, {3000, 900, RGB(255, 255, 0), 3}}});
            journal.close();
            QVERIFY(QDir().mkpath(left) && QFile::rename(Journal::path(), left + "/jotter.journal"));
            QVERIFY(!kind.isEmpty() || QDir(left).removeRecursively());
            QFile f(kind.isEmpty() ? left : left + "/jotter.journal");
            QVERIFY(kind == "page" || (f.open(QIODevice::WriteOnly) && f.write("garbage")));
        }
        // The system's types of files, and none of its applications.
        QFile::link(QStringLiteral("/usr/share/mime"), run.path(QStringLiteral("XDG_DATA_HOME/mime")));
        run.env.insert(QStringLiteral("XDG_DATA_DIRS"), run.path(QStringLiteral("XDG_DATA_HOME")));
        const bool driven = start.startsWith(QLatin1String("open:")), variable = start.startsWith(u'W');
        run.drive(driven ? start : QStringLiteral("open:Titlefrm"));
        if (variable) run.env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        if (variable) run.env.insert(start.section(u'=', 0, 0), start.section(u'=', 1));
        if (!driven && !variable) run.process.setArguments(start.split(u' '));
        const QString exe = run.copyProgram();
        run.start(exe);
        QVERIFY2(run.finish(20000) && run.process.exitCode() == status &&
                     (status ? run.err : run.out + run.err)
                         .contains(says.replace("PROGRAM", QFileInfo(exe).path())),
                 qPrintable(run.describe()));
    }

    // Two copies in two sessions both run on, quietly, even from the root folder.
    void copiesInOtherSessionsDoNotMeet() {
        ProgramRun first, second;
        const QString exe = first.copyProgram();
        first.start(exe, QDir::rootPath());
        QVERIFY(first.process.waitForStarted());
        QTest::qWait(500);
        second.start(exe, QDir::rootPath());
        QVERIFY2(!second.finish(2000) && second.err.isEmpty(), qPrintable(second.describe()));
        QVERIFY2(!first.finish(10) && first.err.isEmpty(), qPrintable(first.describe()));
    }

    // In-process, each picture and the cursor broken: the screen that reads it stops the program, naming it.
    void aBrokenPictureStopsTheProgramNamingIt_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<Damage>("damage");
        for (const tour::PictureUse& p : tour::kPictures)
            if (QLatin1String(p.screen) != QLatin1String(tour::kFirstScreen))
                for (Damage d : kDamages)
                    QTest::addRow("%s %s", p.file, qPrintable(damageName(d)))
                        << QString::fromLatin1(p.file) << QString::fromLatin1(p.screen) << d;
    }
    void aBrokenPictureStopsTheProgramNamingIt() {
        QFETCH(QString, picture);
        QFETCH(QString, screen);
        QFETCH(Damage, damage);
        const QString data = freshData();
        QVERIFY(!data.isEmpty() && testsupport::damage(dataFile(data, picture), damage));
        setDataDir(data);
        tour::start();
        QVERIFY(!Runtime::ended());
        readPicturesAhead(); // a picture the worker could not read is read again, and reported
        QTest::qWait(100);
        QVERIFY(!tour::open(screen));
        expectStoppedWithReport(*m_desktop, {QStringLiteral("'%1'").arg(picture),
                                             damage == Damage::Missing ? QStringLiteral("File not found")
                                                                       : QStringLiteral("Invalid picture")});
        tour::settle(); // nothing is left half-built on the board
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(!w->isVisible());
    }

    // A file cut anywhere is refused, whatever its format, while the whole file loads.
    void aPictureCutAnywhereIsRefused_data() {
        QTest::addColumn<QString>("file");
        for (const QString& f : QDir(m_realData + QStringLiteral("/Images")).entryList(QDir::Files))
            QTest::newRow(qPrintable(f)) << f;
    }
    void aPictureCutAnywhereIsRefused() {
        QFETCH(QString, file);
        setDataDir(freshData());
        const QString name = QStringLiteral("Images\\") + file;
        QFile f(dataFile(DataDir(), name));
        const qint64 size = f.size();
        QVERIFY(size > 0 && !LoadPicture(name).isEmpty());
        for (int tenth = 9; tenth >= 1; --tenth) { // shorter each time
            QVERIFY(f.resize(size * tenth / 10));
            clearPictureCache();
            QVERIFY2(
                runtimeErrorOf([&] { (void)LoadPicture(name); }) == err::InvalidPicture,
                qPrintable(QStringLiteral("%1 cut at %2/10 was taken for a picture").arg(file).arg(tenth)));
        }
    }
};

QTEST_MAIN(TestProgram)
#include "test_program.moc"
