// The desktop's own opener gets its target as one argument, never through a command shell.
#include "tour.h"

#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {

int openWithTheDesktop(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool accepted =
        DesktopPlatform().shellOpen(nullptr, QStringLiteral("open"), QString::fromLocal8Bit(argv[2]));
    QTest::qWait(300); // the opener is started detached and needs a moment to write down what it was given
    return accepted ? 0 : 4;
}

} // namespace

class TestShell : public tour::Fixture {
    Q_OBJECT
private slots:
    void theDesktopGetsOneArgumentAndNoShell_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("argument"); // {DATA} is the data folder
        QTest::newRow("address") << QString::fromLatin1(tour::kPublisherAddress)
                                 << QString::fromLatin1(tour::kPublisherAddress);
        QTest::newRow("the document, named with shell syntax")
            << QStringLiteral("Teacher Guide.doc; touch pwned $(touch pwned2)")
            << QStringLiteral("file://{DATA}/Teacher%20Guide.doc;%20touch%20pwned%20$(touch%20pwned2)");
    }
    void theDesktopGetsOneArgumentAndNoShell() {
        QFETCH(QString, target);
        QFETCH(QString, argument);
        // Offscreen has no desktop services: an X display of its own, whose number Xvfb writes when ready.
        const QString xvfb = QStandardPaths::findExecutable("Xvfb");
        if (xvfb.isEmpty()) QSKIP("no Xvfb here");
        QProcess server;
        server.start(xvfb, {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"});
        QByteArray display;
        while (!display.contains('\n') && server.waitForReadyRead(10000))
            display += server.readAllStandardOutput();
        if (display.trimmed().isEmpty()) QSKIP("Xvfb gave no display");
        QTemporaryDir scratch; // the child's working folder, with the stand-in opener
        QFile opener(scratch.filePath("xdg-open"));
        QVERIFY(opener.open(QIODevice::WriteOnly) &&
                opener.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >> \"$OPENER_LOG\"\n"
                             "echo end >> \"$OPENER_LOG\"\n") > 0);
        opener.close();
        QVERIFY(opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner));

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("DISPLAY", ":" + display.trimmed());
        env.insert("PATH", scratch.path() + ":/usr/bin:/bin");
        env.insert("OPENER_LOG", scratch.filePath("log"));
        env.insert("XDG_CURRENT_DESKTOP", "X-Generic");
        env.remove("BROWSER");
        child.setProcessEnvironment(env);
        child.setWorkingDirectory(scratch.path());
        child.start(QCoreApplication::applicationFilePath(), {"--open-with-the-desktop", target});
        QVERIFY(child.waitForFinished(20000));
        QVERIFY2(child.exitCode() == 0, child.readAllStandardError().constData());
        server.terminate();
        server.waitForFinished(3000);

        auto logged = [&] {
            QFile log(scratch.filePath("log"));
            return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
        };
        QTRY_VERIFY2_WITH_TIMEOUT(logged().endsWith(QLatin1String("end\n")),
                                  "the desktop's opener never finished", 5000);
        argument.replace(QLatin1String("{DATA}"), DataDir());
        QCOMPARE(logged().split(u'\n', Qt::SkipEmptyParts), QStringList({argument, "end"}));
        for (const char* trace : {"pwned", "pwned2"})
            QVERIFY(!QFile::exists(scratch.filePath(trace)));
    }
};

int main(int argc, char** argv) {
    if (argc == 3 && qstrcmp(argv[1], "--open-with-the-desktop") == 0) return openWithTheDesktop(argc, argv);
    QApplication app(argc, argv);
    TestShell test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_shell.moc"
