// `cmake --install` into a fresh prefix gives a program that starts from any working folder and finds its
// pictures and document in the installed data folder, with its menu entry, icon and metadata in place.
#include "programrun.h"
#include "tour.h"

#include <QSettings>
#include <QtTest>

using namespace testsupport;

class TestInstall : public QObject {
    Q_OBJECT

    QTemporaryDir m_prefix;

    QString installed(const QString& part) const { return m_prefix.filePath(part); }

private slots:
    void initTestCase() {
        tour::enableJotterKey();
        QVERIFY(m_prefix.isValid());
        QProcess cmake;
        cmake.setProcessChannelMode(QProcess::MergedChannels);
        cmake.start(QStringLiteral(ZB_CMAKE), {QStringLiteral("--install"), QStringLiteral(ZB_BUILD_DIR),
                                               QStringLiteral("--prefix"), m_prefix.path()});
        QVERIFY(cmake.waitForFinished(120000));
        QVERIFY2(cmake.exitCode() == 0, cmake.readAll().constData());
    }

    void everythingIsInPlace() {
        QVERIFY(QFileInfo(installed(QStringLiteral("bin/zestora-biology"))).isExecutable());
        const QString data = installed(QStringLiteral("share/zestora-biology"));
        const QStringList sources = QDir(QStringLiteral(ZB_SOURCE_DIR "/Images")).entryList(QDir::Files);
        QVERIFY(!sources.isEmpty());
        for (const QString& f : sources)
            QVERIFY2(QFile::exists(data + QStringLiteral("/Images/") + f), qPrintable(f));
        if (QFile::exists(QStringLiteral(ZB_SOURCE_DIR "/docs/Teacher Guide.doc")))
            QVERIFY(QFile::exists(data + QStringLiteral("/Teacher Guide.doc")));

        // The menu entry starts the installed program and names an installed icon.
        const QString entry =
            installed(QStringLiteral("share/applications/example.quorvane.ZestoraBiology.desktop"));
        QVERIFY(QFile::exists(entry));
        QVERIFY(QFile::exists(
            installed(QStringLiteral("share/metainfo/example.quorvane.ZestoraBiology.metainfo.xml"))));
        QSettings desktop(entry, QSettings::IniFormat);
        desktop.beginGroup(QStringLiteral("Desktop Entry"));
        QCOMPARE(desktop.value(QStringLiteral("Exec")).toString().section(u' ', 0, 0),
                 QStringLiteral("zestora-biology"));
        const QString icon = desktop.value(QStringLiteral("Icon")).toString();
        QVERIFY(
            QFile::exists(installed(QStringLiteral("share/icons/hicolor/256x256/apps/%1.png").arg(icon))));
        QVERIFY(QFile::exists(installed(QStringLiteral("share/icons/hicolor/64x64/apps/%1.png").arg(icon))));
        QCOMPARE(QImage(installed(QStringLiteral("share/icons/hicolor/64x64/apps/%1.png").arg(icon))).size(),
                 QSize(64, 64));
    }

    // Started as a menu would start it, from a folder that has nothing to do with it.
    void startsQuietlyFromAnotherFolder() {
        ProgramRun run;
        run.start(installed(QStringLiteral("bin/zestora-biology")), QDir::rootPath());
        QVERIFY2(run.process.waitForStarted(), qPrintable(run.process.errorString()));
        QVERIFY2(run.stillRunningAfter(2500), qPrintable(run.describe()));
        QVERIFY2(run.err.isEmpty(), qPrintable(run.describe()));
    }

    // Every screen, every picture: the installed data folder is found from anywhere.
    void aTourOfTheInstalledProgram() {
        ProgramRun run;
        run.drive(QStringLiteral("tour"));
        run.start(installed(QStringLiteral("bin/zestora-biology")), QDir::rootPath());
        QVERIFY2(run.finish(120000), qPrintable(run.describe()));
        QVERIFY2(run.process.exitCode() == 0, qPrintable(run.describe()));
        QVERIFY2(!run.err.contains(QLatin1String("Run-time error")), qPrintable(run.describe()));
        for (const QString& screen : tour::reachableScreens())
            if (screen != QLatin1String(tour::kFirstScreen))
                QVERIFY2(run.out.contains(QLatin1Char(' ') + screen),
                         qPrintable(screen + QLatin1Char(' ') + run.out));
    }
};

QTEST_MAIN(TestInstall)
#include "test_install.moc"
