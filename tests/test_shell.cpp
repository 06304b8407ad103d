// The desktop is asked to open exactly two things, the publisher's address and "Teacher Guide.doc", each as
// one argument and never through a command shell.
#include "registry.h"
#include "support/testsupport.h"
#include "tour.h"
#include "virtualdisplay.h"

#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {

// In the child process: the desktop's own way of opening, on a real windowing system.
int openWithTheDesktop(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool accepted =
        DesktopPlatform().shellOpen(nullptr, QStringLiteral("open"), QString::fromLocal8Bit(argv[2]));
    // The opener is started detached; give it the moment it needs to write down what it was given.
    QTest::qWait(300);
    return accepted ? 0 : 4;
}

const QString kFakeOpener =
    QStringLiteral("#!/bin/sh\n"
                   "# Writes down each argument it was given, one per line.\n"
                   "for a in \"$@\"; do printf '%s\\n' \"$a\"; done >> \"$OPENER_LOG\"\n"
                   "echo end >> \"$OPENER_LOG\"\n");

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { tour::enableJotterKey(); }
    void init() {
        freshRuntime();
        recordDesktop();
    }
    void cleanup() { freshRuntime(); }

    // Everything a tour of the whole program asks of the desktop.
    void aTourAsksOnlyForTheTwoTargets() {
        auto& desktop = recordDesktop();
        const QStringList shown = tour::fullTour();
        if (!shown.contains(QStringLiteral("intro0")) || !shown.contains(QStringLiteral("TeacherGuide0")))
            QSKIP("the opening screen or the guide is not in this build yet");
        QStringList asked;
        for (const auto& r : desktop.opened)
            asked << r.verb + QLatin1Char(' ') + r.target;
        QVERIFY2(asked.contains(QStringLiteral("open ") + QLatin1String(tour::kPublisherAddress)),
                 qPrintable(asked.join(u'|')));
        QVERIFY2(asked.contains(QStringLiteral("open ") + QLatin1String(tour::kGuideDocument)),
                 qPrintable(asked.join(u'|')));
        for (const QString& a : asked)
            QVERIFY2(a == QStringLiteral("open ") + QLatin1String(tour::kPublisherAddress) ||
                         a == QStringLiteral("open ") + QLatin1String(tour::kGuideDocument),
                     qPrintable(a));
    }

    // One click, one request, exactly as it stands.
    void eachClickAsksOnce() {
        if (!tour::reachableScreens().contains(QStringLiteral("TeacherGuide0")))
            QSKIP("the guide is not in this build yet");
        auto& desktop = recordDesktop();
        tour::start();
        QVERIFY(tour::open(QStringLiteral("intro0")));
        QVERIFY(tour::clickControl(*tour::loadedScreen(QStringLiteral("intro0")),
                                   QLatin1String(tour::kAddressLabel)));
        QCOMPARE(desktop.opened.size(), 1);
        QCOMPARE(desktop.opened[0].verb, QStringLiteral("open"));
        QCOMPARE(desktop.opened[0].target, QLatin1String(tour::kPublisherAddress));
        QVERIFY(tour::open(QStringLiteral("TeacherGuide0")));
        for (int i = 0; i < 3; ++i)
            QVERIFY(tour::clickControl(*tour::loadedScreen(QStringLiteral("TeacherGuide0")),
                                       QLatin1String(tour::kDocumentLabel)));
        QCOMPARE(desktop.opened.size(), 4);
        for (int i = 1; i < 4; ++i)
            QCOMPARE(desktop.opened[i].target, QLatin1String(tour::kGuideDocument));
        QVERIFY(tour::loadedScreen(QStringLiteral("TeacherGuide0")));
    }

    // The desktop's opener gets one argument, and shell syntax in a name does nothing: no shell ever reads
    // it.
    void theDesktopGetsOneArgumentAndNoShell_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("argument"); // what the opener must receive; {DATA} is the data folder
        QTest::newRow("address") << QString::fromLatin1(tour::kPublisherAddress)
                                 << QString::fromLatin1(tour::kPublisherAddress);
        QTest::newRow("document") << QString::fromLatin1(tour::kGuideDocument)
                                  << QStringLiteral("file://{DATA}/Teacher%20Guide.doc");
        QTest::newRow("a name with shell syntax")
            << QStringLiteral("Teacher Guide.doc; touch pwned $(touch pwned2)")
            << QStringLiteral("file://{DATA}/Teacher%20Guide.doc;%20touch%20pwned%20$(touch%20pwned2)");
    }
    void theDesktopGetsOneArgumentAndNoShell() {
        QFETCH(QString, target);
        QFETCH(QString, argument);
        VirtualDisplay display;
        if (!display.ok()) QSKIP("no Xvfb here; the offscreen platform has no desktop services");
        QTemporaryDir scratch;
        QFile opener(scratch.filePath(QStringLiteral("bin/xdg-open")));
        QVERIFY(QDir().mkpath(scratch.filePath(QStringLiteral("bin"))));
        QVERIFY(opener.open(QIODevice::WriteOnly) && opener.write(kFakeOpener.toUtf8()) > 0);
        opener.close();
        QVERIFY(opener.setPermissions(opener.permissions() | QFileDevice::ExeOwner));

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("DISPLAY"), display.name());
        env.insert(QStringLiteral("PATH"),
                   scratch.filePath(QStringLiteral("bin")) + QStringLiteral(":/usr/bin:/bin"));
        env.insert(QStringLiteral("OPENER_LOG"), scratch.filePath(QStringLiteral("log")));
        env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("X-Generic"));
        env.remove(QStringLiteral("BROWSER"));
        child.setProcessEnvironment(env);
        child.setWorkingDirectory(scratch.path());
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--open-with-the-desktop"), target});
        QVERIFY(child.waitForFinished(20000));
        QVERIFY2(child.exitCode() == 0, child.readAllStandardError().constData());
        QTest::qWait(200);

        QFile log(scratch.filePath(QStringLiteral("log")));
        QVERIFY2(log.open(QIODevice::ReadOnly), "the desktop's opener was never started");
        const QStringList lines = QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
        argument.replace(QLatin1String("{DATA}"), DataDir());
        QCOMPARE(lines, QStringList({argument, QStringLiteral("end")}));
        QVERIFY(!QFile::exists(scratch.filePath(QStringLiteral("pwned"))));
        QVERIFY(!QFile::exists(scratch.filePath(QStringLiteral("pwned2"))));
    }
};

int main(int argc, char** argv) {
    if (argc == 3 && qstrcmp(argv[1], "--open-with-the-desktop") == 0) return openWithTheDesktop(argc, argv);
    QApplication app(argc, argv);
    TestShell test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_shell.moc"
