// The real executable, worked by the driver plugin: it writes no file, stops with a report on a broken
// picture, falls back without the title's, and runs once per session.
#include "programrun.h"
#include "tour.h"

#include <QtTest>

using namespace testsupport;

namespace {
// Damage to the Images folder itself, beside the damage to a single picture.
enum Folder { Removed = 10, APlainFile };
} // namespace

class TestProgram : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { tour::enableJotterKey(); } // the Jotter is reachable, by Ctrl+J

    // A whole tour, with every folder the program could write to private: afterwards each is as it was.
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
    // opening screen reached (status 0). Every picture in-process is test_badinput's.
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
