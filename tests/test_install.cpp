// The Debian package, built from the build tree, carries the program, its data folder, menu entry, icons and
// metadata under /usr, declares what it needs, and unpacked anywhere gives a program that starts from any
// working folder and finds its pictures and document beside it.
#include "programrun.h"
#include "tour.h"

#include <QRegularExpression>
#include <QSettings>
#include <QtTest>

using namespace testsupport;

class TestInstall : public QObject {
    Q_OBJECT
    QTemporaryDir m_scratch;
    QString m_deb, m_files;
    QString installed(const QString& part) const {
        return m_scratch.filePath(QStringLiteral("root/usr/") + part);
    }
    static QString output(const QString& program, const QStringList& args) {
        QProcess p;
        p.start(program, args);
        const bool done = p.waitForFinished(300000) && p.exitCode() == 0;
        return done ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
    }

private slots:
    void initTestCase() {
        tour::enableJotterKey();
        output(QStringLiteral(ZB_CPACK),
               {QStringLiteral("--config"), QStringLiteral(ZB_BUILD_DIR "/CPackConfig.cmake"),
                QStringLiteral("-B"), m_scratch.path()});
        const QStringList debs = QDir(m_scratch.path()).entryList({QStringLiteral("*.deb")});
        QCOMPARE(debs.size(), 1);
        m_deb = m_scratch.filePath(debs.first());
        m_files = output(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), m_deb});
        output(QStringLiteral("dpkg-deb"),
               {QStringLiteral("-x"), m_deb, m_scratch.filePath(QStringLiteral("root"))});
    }

    // What apt acts on (the computed libraries and the design fonts) and every file in place under /usr; the
    // menu entry starts the installed program and names an installed icon.
    void theDebianPackage() {
        const QString control = output(QStringLiteral("dpkg-deb"), {QStringLiteral("-I"), m_deb});
        for (const char* depends : {"libqt6widgets6", "fonts-liberation2?", "fonts-wine"})
            QVERIFY2(control.contains(QRegularExpression(QStringLiteral("Depends: .*\\b%1\\b").arg(depends))),
                     qPrintable(control));
        QSettings entry(
            installed(QStringLiteral("share/applications/example.quorvane.ZestoraBiology.desktop")),
            QSettings::IniFormat);
        QCOMPARE(entry.value(QStringLiteral("Desktop Entry/Exec")).toString().section(u' ', 0, 0),
                 QStringLiteral("zestora-biology"));
        const QString icon = entry.value(QStringLiteral("Desktop Entry/Icon")).toString();
        QStringList expected = {QStringLiteral("share/metainfo/example.quorvane.ZestoraBiology.metainfo.xml"),
                                QStringLiteral("share/doc/zestora-biology/copyright"),
                                QStringLiteral("share/icons/hicolor/256x256/apps/%1.png").arg(icon)};
        for (const QString& f : QDir(QStringLiteral(ZB_SOURCE_DIR "/Images")).entryList(QDir::Files))
            expected << QStringLiteral("share/zestora-biology/Images/") + f;
        if (QFile::exists(QStringLiteral(ZB_SOURCE_DIR "/docs/Teacher Guide.doc")))
            expected << QStringLiteral("share/zestora-biology/Teacher Guide.doc");
        for (const QString& f : expected)
            QVERIFY2(m_files.contains(QStringLiteral(" ./usr/") + f + u'\n'), qPrintable(f));
        for (const QString& line : m_files.split(u'\n', Qt::SkipEmptyParts))
            QVERIFY2(line.contains(QLatin1String(" ./usr/")) || line.endsWith(QLatin1String(" ./")),
                     qPrintable(line));
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
                     !run.err.contains(QLatin1String("Run-time error")) &&
                     !run.err.contains(QLatin1String("font")),
                 qPrintable(run.describe()));
        for (const QString& screen : tour::reachableScreens())
            QVERIFY2(run.out.contains(QLatin1Char(' ') + screen),
                     qPrintable(screen + QLatin1Char(' ') + run.out));
    }
};

QTEST_MAIN(TestInstall)
#include "test_install.moc"
