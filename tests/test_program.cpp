// The real executable in a child process, worked by the driver plugin: it writes no file, stops with the
// runtime's report (naming the file, status 1) when a picture is broken, falls back when only the title
// picture is, and runs only once per session.
#include "programrun.h"
#include "tour.h"

#include <QtTest>

#include <unistd.h>

using namespace testsupport;

namespace {
// Damage to the Images folder itself, beside the damage to a single picture.
enum Folder { Removed = 10, APlainFile, Unreadable };
} // namespace

class TestProgram : public QObject {
    Q_OBJECT
private slots:
    // The tour's idea of what is reachable must include the Jotter, which the program opens with Ctrl+J.
    void initTestCase() { tour::enableJotterKey(); }

    // A whole tour with every folder the program could write to empty and private, and its own folder copied,
    // from a working folder of its own: afterwards every one of those folders is exactly as it was.
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

    // Rows: the file broken and how, the screen the driver makes for, and what must follow: the runtime's
    // report naming that picture with status 1, or (no report) the screen reached with status 0.
    void aBrokenInstallation_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("damage");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("report");
        // Every kind of damage on the title's picture and the opening screen's; every picture in-process is
        // test_badinput's.
        const QString bee = QStringLiteral("Images\\bee.jpg"), opening = QString::fromLatin1(tour::kOpening);
        for (const QString& file : {QStringLiteral("Images\\beesm.jpg"), bee})
            for (Damage d : kDamages)
                QTest::addRow("%s %s", qPrintable(file), qPrintable(damageName(d)))
                    << file << int(d) << opening << (file == bee ? bee : QString());
        // Permissions do not stop root from reading, so an unreadable folder is tried only when not root.
        QTest::newRow("Images removed") << QStringLiteral("Images") << int(Removed) << opening << bee;
        QTest::newRow("Images a plain file") << QStringLiteral("Images") << int(APlainFile) << opening << bee;
        if (::geteuid() != 0)
            QTest::newRow("Images unreadable")
                << QStringLiteral("Images") << int(Unreadable) << opening << bee;
    }
    void aBrokenInstallation() {
        QFETCH(QString, file);
        QFETCH(int, damage);
        QFETCH(QString, screen);
        QFETCH(QString, report);
        ProgramRun run;
        const QString exe = run.copyProgram();
        const QString path = dataFile(QFileInfo(exe).path(), file);
        if (damage == Unreadable) {
            QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
        } else if (damage >= Removed) {
            QFile plain(path);
            QVERIFY(QDir(path).removeRecursively());
            QVERIFY(damage == Removed ||
                    (plain.open(QIODevice::WriteOnly) && plain.write("not a folder\n") > 0));
        } else {
            QVERIFY(testsupport::damage(path, Damage(damage)));
        }
        run.drive(QStringLiteral("open:") + screen);
        run.start(exe);
        const bool ended = run.finish();
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY2(ended && run.process.exitStatus() == QProcess::NormalExit, qPrintable(run.describe()));
        if (report.isEmpty())
            QVERIFY2(run.process.exitCode() == 0 && run.out.contains(QStringLiteral("reached ") + screen) &&
                         !run.err.contains(QLatin1String("Run-time error")),
                     qPrintable(run.describe()));
        else
            QVERIFY2(run.process.exitCode() == 1 && run.err.contains(QLatin1String("Run-time error")) &&
                         run.err.contains(report) && !run.out.contains(QLatin1String("reached")),
                     qPrintable(run.describe()));
    }

    // Only one copy per session: the second start brings the first one's front window forward and ends at
    // once. "--jotter" opens the Jotter, in the running copy or over the title of a new one.
    void aSecondStartBringsTheFirstForward_data() {
        QTest::addColumn<QStringList>("firstArguments");
        QTest::addColumn<QStringList>("secondArguments");
        QTest::addColumn<QString>("front");
        QTest::newRow("plain") << QStringList() << QStringList() << QString::fromLatin1(tour::kFirstScreen);
        QTest::newRow("the Jotter asked of the running copy")
            << QStringList() << QStringList{"--jotter"} << QString::fromLatin1(tour::kJotter);
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
};

QTEST_MAIN(TestProgram)
#include "test_program.moc"
