// The real executable in a child process, worked by the driver plugin: it finds its pictures from any working
// folder, writes no file, stops with the runtime's report (naming the file, status 1) when a picture is
// broken, falls back when only the title picture is, and runs only once per session.
#include "damage.h"
#include "programrun.h"
#include "registry.h"
#include "tour.h"

#include <QtTest>

#include <unistd.h>

using namespace testsupport;

namespace {

// A copy of the program's folder as built: the executable with its pictures and the guide document beside it.
QString makeProgramFolder(const ProgramRun& run) {
    const QString folder = run.path(QStringLiteral("program"));
    const QString exe = folder + QStringLiteral("/zestora-biology");
    if (!copyProgramData(QStringLiteral(ZB_BIN_DIR), folder) || !QFile::copy(QStringLiteral(ZB_PROGRAM), exe))
        return {};
    return exe;
}

QStringList visitedScreens(const QString& out) {
    for (const QString& line : out.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("zbdriver: visited ")))
            return line.mid(18).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return {};
}

bool reachable(const char* screen) {
    return tour::reachableScreens().contains(QString::fromLatin1(screen));
}

} // namespace

class TestProgram : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // The program offers Ctrl+J for the Jotter; the tour's idea of what is reachable must include it too.
        tour::enableJotterKey();
    }

    void runsQuietlyFromAnotherFolder() {
        ProgramRun run;
        const QString exe = makeProgramFolder(run);
        QVERIFY(!exe.isEmpty());
        run.start(exe, QDir::rootPath());
        QVERIFY2(run.process.waitForStarted(), qPrintable(run.process.errorString()));
        QVERIFY2(run.stillRunningAfter(2000), qPrintable(run.describe()));
        QVERIFY2(run.err.isEmpty(), qPrintable(run.describe()));
    }

    void findsItsPicturesFromAnotherFolder() {
        if (!reachable("intro0")) QSKIP("the opening screen is not in this build yet");
        ProgramRun run;
        const QString exe = makeProgramFolder(run);
        run.drive(QStringLiteral("open:intro0"));
        run.start(exe, QDir::rootPath());
        QVERIFY2(run.finish(), qPrintable(run.describe()));
        QVERIFY2(run.out.contains(QLatin1String("zbdriver: reached intro0")), qPrintable(run.describe()));
        QVERIFY2(run.process.exitCode() == 0 && run.err.isEmpty(), qPrintable(run.describe()));
    }

    // A whole tour with every folder the program could write to empty and private, and its own folder copied:
    // afterwards every one of them is exactly as it was.
    void aTourWritesNoFile() {
        ProgramRun run;
        const QString exe = makeProgramFolder(run);
        QVERIFY(!exe.isEmpty());
        QStringList watched = run.privateFolders();
        watched << QFileInfo(exe).path();
        QList<QStringList> before;
        for (const QString& folder : watched)
            before << snapshot(folder);
        run.drive(QStringLiteral("tour"));
        run.start(exe);
        QVERIFY2(run.finish(120000), qPrintable(run.describe()));
        QVERIFY2(run.process.exitStatus() == QProcess::NormalExit && run.process.exitCode() == 0,
                 qPrintable(run.describe()));
        QVERIFY2(!run.err.contains(QLatin1String("Run-time error")), qPrintable(run.describe()));
        QStringList expected = tour::reachableScreens();
        expected.removeAll(QString::fromLatin1(tour::kFirstScreen));
        const QStringList visited = visitedScreens(run.out);
        for (const QString& screen : expected)
            QVERIFY2(visited.contains(screen),
                     qPrintable(screen + QStringLiteral(" not visited; ") + run.describe()));
        for (int i = 0; i < watched.size(); ++i)
            QCOMPARE(snapshot(watched[i]), before[i]);
    }

    void aBrokenPictureStopsWithTheReport_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<int>("damage");
        // Every kind of damage on the opening screen's picture, and one kind on each of the others.
        int kind = 2; // the cursor gets the truncated file
        for (const tour::PictureUse& p : tour::kPictures) {
            if (QLatin1String(p.screen) == QLatin1String(tour::kFirstScreen)) continue;
            const bool all = QLatin1String(p.file) == QLatin1String("Images\\bee.jpg");
            for (Damage d : kDamages) {
                if (!all && int(d) != kind % 4) continue;
                QTest::addRow("%s %s", p.file, qPrintable(damageName(d)))
                    << QString::fromLatin1(p.file) << QString::fromLatin1(p.screen) << int(d);
            }
            if (!all) ++kind;
        }
    }
    void aBrokenPictureStopsWithTheReport() {
        QFETCH(QString, picture);
        QFETCH(QString, screen);
        QFETCH(int, damage);
        if (!tour::reachableScreens().contains(screen)) QSKIP("that screen is not in this build yet");
        ProgramRun run;
        const QString exe = makeProgramFolder(run);
        QVERIFY(testsupport::damage(dataFile(QFileInfo(exe).path(), picture), Damage(damage)));
        run.drive(QStringLiteral("open:") + screen);
        run.start(exe);
        QVERIFY2(run.finish(), qPrintable(run.describe()));
        QVERIFY2(run.process.exitStatus() == QProcess::NormalExit, qPrintable(run.describe()));
        QVERIFY2(run.process.exitCode() == 1, qPrintable(run.describe()));
        QVERIFY2(run.err.contains(QLatin1String("Run-time error")) && run.err.contains(picture),
                 qPrintable(run.describe()));
        QVERIFY2(!run.out.contains(QLatin1String("reached")), qPrintable(run.describe()));
    }

    void aBrokenTitlePictureFallsBack_data() {
        QTest::addColumn<int>("damage");
        for (Damage d : kDamages)
            QTest::newRow(qPrintable(damageName(d))) << int(d);
    }
    void aBrokenTitlePictureFallsBack() {
        QFETCH(int, damage);
        ProgramRun run;
        const QString exe = makeProgramFolder(run);
        QVERIFY(testsupport::damage(dataFile(QFileInfo(exe).path(), QStringLiteral("Images\\beesm.jpg")),
                                    Damage(damage)));
        if (reachable("intro0")) {
            // The title comes up in the house style and its OK still leads on.
            run.drive(QStringLiteral("open:intro0"));
            run.start(exe);
            QVERIFY2(run.finish(), qPrintable(run.describe()));
            QVERIFY2(run.out.contains(QLatin1String("reached intro0")), qPrintable(run.describe()));
            QVERIFY2(run.process.exitCode() == 0, qPrintable(run.describe()));
        } else {
            run.start(exe);
            QVERIFY2(run.stillRunningAfter(2000), qPrintable(run.describe()));
        }
        QVERIFY2(!run.err.contains(QLatin1String("Run-time error")), qPrintable(run.describe()));
    }

    // Without its pictures the title still comes up; the first screen that needs one stops with the report.
    // (Permissions do not stop root from reading, so the folder is removed or replaced by a plain file;
    // an unreadable folder is tried as well when the tests do not run as root.)
    void withoutItsImagesFolder_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("removed") << QStringLiteral("removed");
        QTest::newRow("a plain file") << QStringLiteral("file");
        if (::geteuid() != 0) QTest::newRow("unreadable") << QStringLiteral("unreadable");
    }
    void withoutItsImagesFolder() {
        QFETCH(QString, how);
        if (!reachable("intro0")) QSKIP("the opening screen is not in this build yet");
        ProgramRun run;
        const QString exe = makeProgramFolder(run);
        const QString images = QFileInfo(exe).path() + QStringLiteral("/Images");
        if (how == QLatin1String("unreadable")) {
            QVERIFY(QFile::setPermissions(images, QFileDevice::Permissions()));
        } else {
            QVERIFY(QDir(images).removeRecursively());
            if (how == QLatin1String("file")) {
                QFile f(images);
                QVERIFY(f.open(QIODevice::WriteOnly) && f.write("not a folder\n") > 0);
            }
        }
        run.drive(QStringLiteral("open:intro0"));
        run.start(exe);
        const bool ended = run.finish();
        QFile::setPermissions(images,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY2(ended, qPrintable(run.describe()));
        QVERIFY2(run.process.exitCode() == 1 && run.err.contains(QLatin1String("Images\\bee.jpg")),
                 qPrintable(run.describe()));
    }

    // Only one copy per session: the second start brings the first one's screen forward and ends at once.
    void aSecondStartBringsTheFirstForward() {
        ProgramRun first;
        const QString exe = makeProgramFolder(first);
        first.drive(QStringLiteral("watch"));
        first.start(exe);
        QVERIFY2(first.waitForOutput(QStringLiteral("zbdriver: watching")), qPrintable(first.describe()));

        ProgramRun second;
        second.env.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                          first.env.value(QStringLiteral("XDG_RUNTIME_DIR")));
        second.start(exe);
        QVERIFY2(second.finish(10000), qPrintable(second.describe()));
        QVERIFY2(second.process.exitCode() == 0, qPrintable(second.describe()));
        QVERIFY2(first.waitForOutput(QStringLiteral("zbdriver: brought forward Titlefrm"), 10000),
                 qPrintable(first.describe()));
        QVERIFY2(first.stillRunningAfter(300), qPrintable(first.describe()));
    }

    void copiesInOtherSessionsDoNotMeet() {
        ProgramRun first, second;
        const QString exe = makeProgramFolder(first);
        first.start(exe);
        QVERIFY(first.process.waitForStarted());
        QTest::qWait(500);
        second.start(exe);
        QVERIFY2(second.stillRunningAfter(1500), qPrintable(second.describe()));
        QVERIFY2(first.stillRunningAfter(10), qPrintable(first.describe()));
    }
};

QTEST_MAIN(TestProgram)
#include "test_program.moc"
