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
        QProcess cmake;
        cmake.setProcessChannelMode(QProcess::MergedChannels);
        cmake.start(QStringLiteral(ZB_CMAKE), {QStringLiteral("--install"), QStringLiteral(ZB_BUILD_DIR),
                                               QStringLiteral("--prefix"), m_prefix.path()});
        QVERIFY(cmake.waitForFinished(120000));
        QVERIFY2(cmake.exitCode() == 0, cmake.readAll().constData());
    }

    void everythingIsInPlace() {
        QStringList expected = {
            QStringLiteral("share/metainfo/example.quorvane.ZestoraBiology.metainfo.xml")};
        for (const QString& f : QDir(QStringLiteral(ZB_SOURCE_DIR "/Images")).entryList(QDir::Files))
            expected << QStringLiteral("share/zestora-biology/Images/") + f;
        if (QFile::exists(QStringLiteral(ZB_SOURCE_DIR "/docs/Teacher Guide.doc")))
            expected << QStringLiteral("share/zestora-biology/Teacher Guide.doc");
        QVERIFY(expected.size() > 2);
        // The menu entry starts the installed program and names an installed icon.
        QSettings entry(
            installed(QStringLiteral("share/applications/example.quorvane.ZestoraBiology.desktop")),
            QSettings::IniFormat);
        entry.beginGroup(QStringLiteral("Desktop Entry"));
        QCOMPARE(entry.value(QStringLiteral("Exec")).toString().section(u' ', 0, 0),
                 QStringLiteral("zestora-biology"));
        const QString icon = entry.value(QStringLiteral("Icon")).toString();
        expected << QStringLiteral("share/icons/hicolor/256x256/apps/%1.png").arg(icon);
        for (const QString& f : expected)
            QVERIFY2(QFile::exists(installed(f)), qPrintable(f));
        QVERIFY(QFileInfo(installed(QStringLiteral("bin/zestora-biology"))).isExecutable());
        QCOMPARE(QImage(installed(QStringLiteral("share/icons/hicolor/64x64/apps/%1.png").arg(icon))).size(),
                 QSize(64, 64));
    }

    // Started as a menu would start it, from a folder that has nothing to do with it, a tour finds every
    // screen and picture in the installed data folder.
    void theInstalledProgramRunsFromAnywhere() {
        ProgramRun run;
        run.drive(QStringLiteral("tour"));
        run.start(installed(QStringLiteral("bin/zestora-biology")), QDir::rootPath());
        QVERIFY2(run.finish(120000) && run.process.exitCode() == 0 &&
                     !run.err.contains(QLatin1String("Run-time error")),
                 qPrintable(run.describe()));
        for (const QString& screen : tour::reachableScreens())
            QVERIFY2(run.out.contains(QLatin1Char(' ') + screen),
                     qPrintable(screen + QLatin1Char(' ') + run.out));
    }
};

QTEST_MAIN(TestInstall)
#include "test_install.moc"
