// At the board with a pen, a keyboard or a screen reader: taps, cards, the Jotter's place, keys, names; and
// the desktop's own opener, which gets its target as one argument, never through a command shell.
#include "notepad.h"
#include "reflex.h"
#include "tour.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStyleHints>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <QtTest>
#include <qpa/qwindowsysteminterface_p.h>

using namespace vb;
using namespace testsupport;

namespace {

int openWithTheDesktop(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool accepted =
        DesktopPlatform().shellOpen(nullptr, QStringLiteral("open"), QString::fromLocal8Bit(argv[2]));
    QTest::qWait(300); // the opener is started detached and needs a moment to write down what it was given
    const QWidgetList shown = QApplication::topLevelWidgets();
    std::printf("messages %d\n", int(std::count_if(shown.begin(), shown.end(), [](QWidget* w) {
                    return qobject_cast<QMessageBox*>(w) && w->isVisible();
                })));
    return accepted ? 0 : 4;
}

} // namespace

class TestPen : public tour::Fixture {
    Q_OBJECT
private slots:
    // Taps `gap` double-click intervals apart (a finger's when negative): a double tap does not press the
    // screen it opens, unless the user has tapped elsewhere (`between`, on the screen then in front)
    // meanwhile.
    void doubleTaps_data() {
        QTest::addColumn<QStringList>("screens"); // tapped, the control, in front after, not loaded after
        QTest::addColumn<double>("gap");
        QTest::addColumn<QPoint>("between");
        QTest::newRow("a menu's exit")
            << QStringList{"menu1", "Command1", "intro0", "Titlefrm"} << 0.5 << QPoint();
        QTest::newRow("a menu's exit, again later")
            << QStringList{"menu1", "Command1", "Titlefrm", ""} << 1.5 << QPoint();
        QTest::newRow("a menu's exit, a tap of its own between")
            << QStringList{"menu1", "Command1", "Titlefrm", ""} << 0.2 << QPoint(300, 120);
        QTest::newRow("by finger") << QStringList{"menu1", "Command1", "intro0", "Titlefrm"} << -0.5
                                   << QPoint();
        QTest::newRow("next page") << QStringList{"TeacherGuide0", "Label3(1)", "TeacherGuide1",
                                                  "TeacherGuide2"}
                                   << 0.5 << QPoint();
        QTest::newRow("fast taps on one screen")
            << QStringList{"intro0", "Check1", "intro0", "Grey"} << 0.5 << QPoint();
    }
    void doubleTaps() {
        QFETCH(QStringList, screens);
        QFETCH(double, gap);
        QFETCH(QPoint, between);
        const bool finger = gap < 0;
        QVERIFY(tour::open(screens[0]));
        const QWidget* target = tour::frontScreen()->hWnd()->findChild<QWidget*>(screens[1]);
        QVERIFY(target);
        const QPoint global = target->mapToGlobal(target->rect().center());
        const int gapMs = int(std::abs(gap) * QGuiApplication::styleHints()->mouseDoubleClickInterval());
        const int taps = between.isNull() ? 2 : 3;
        for (int tap = 0; tap < taps; ++tap) { // each on whichever screen is in front
            QWindow* w = tour::frontScreen()->hWnd()->windowHandle();
            const QPoint at = tap == 1 && taps == 3 ? between : w->mapFromGlobal(global);
            if (finger) {
                QTest::touchEvent(w, touchScreen()).press(0, at);
                QTest::touchEvent(w, touchScreen()).release(0, at);
            } else {
                QTest::mousePress(w, Qt::LeftButton, {}, at);
                QTest::mouseRelease(w, Qt::LeftButton, {}, at);
            }
            tour::settle();
            if (tap < taps - 1 && finger) QTest::qWait(gapMs); // a touch screen's events carry the real time
            if (tap < taps - 1 && !finger)
                QTest::lastMouseTimestamp += gapMs - QTest::mouseDoubleClickInterval - 1;
        }
        QCOMPARE(tour::frontScreen()->Name(), screens[2]);
        QVERIFY(screens[3].isEmpty() || !tour::loadedScreen(screens[3]));
    }

    // A card dragged over cards made after it stays in front of them (dropped there, scores() has it).
    void aDraggedCardStaysInFront() {
        QVERIFY(tour::open(QStringLiteral("reflex")));
        auto& r = form<reflex>();
        QWindow* w = windowOf(r);
        const QPoint from = pointIn(r.Label2(1)), over = pointIn(r.Label2(2));
        QTest::mousePress(w, Qt::LeftButton, {}, from);
        QTest::mouseMove(w, over);
        QCOMPARE(r.hWnd()->childAt(over), &r.Label2(1));
        QTest::mouseRelease(w, Qt::LeftButton, {}, over);
    }

    // Contacts pressed in turn, moved together, lifted last first: "P" a palm (160 pixels, over 25 mm here),
    // "F" a fingertip (40), "f" one of a board reporting no size, "S" a second one on a held card; each with
    // where it lands and its move ("!": the touch taken back instead of lifted). The screen ends as the
    // fingers that count ("F", "f") alone leave it; and would not, were the palm a fingertip.
    void aRestingHandDoesNothing_data() {
        QTest::addColumn<QString>("contacts"); // on a screen
        QTest::newRow("a palm on a menu's exit") << "menu1: P Command1 0,0; f Label2(1) 0,0";
        QTest::newRow("a palm on Reflex's exit") << "reflex: P Label3(0) 0,0; F Label2(3) 0,-300";
        QTest::newRow("a palm across a card") << "reflex: P Label2(0) 300,-200; F Label2(4) -200,-250";
        QTest::newRow("two fingers on a card") << "reflex: F Label2(1) 0,-300; S Label2(1) 250,0";
        QTest::newRow("a palm on the Jotter") << "notepad: P 300,100 150,0; F 40,40 150,0";
        QTest::newRow("taken back on a menu") << "menu1: !f Label2(1) 0,0";
        QTest::newRow("taken back from a card") << "reflex: !F Label2(3) 10,10";
    }
    void aRestingHandDoesNothing() {
        QFETCH(QString, contacts);
        const QString screen = contacts.section(QStringLiteral(": "), 0, 0);
        contacts = contacts.section(QStringLiteral(": "), 1);
        QString seen[3];
        QImage shown[3];
        // All, those that count, and the palm as a fingertip.
        for (int pass = 0; pass < (contacts.contains(u'P') ? 3 : 2); ++pass) {
            freshRuntime();
            recordDesktop();
            QVERIFY(tour::open(screen));
            QWidget* f = tour::loadedScreen(screen)->hWnd();
            const QPointer<QWindow> w = f->windowHandle();
            const auto point = [](const QString& xy) {
                return QPoint(xy.section(u',', 0, 0).toInt(), xy.section(u',', 1).toInt());
            };
            QList<std::tuple<QPoint, QPoint, qreal>> used; // from, by, across
            for (const QString& c : QString(contacts).remove(u'!').split(QStringLiteral("; "))) {
                const QStringList part = c.split(u' ');
                const qsizetype kind =
                    QStringLiteral("PFfS").indexOf(pass == 2 && part[0] == u'P' ? u'F' : part[0][0]);
                const QWidget* at = f->findChild<QWidget*>(part[1]);
                if (pass != 1 || kind == 1 || kind == 2)
                    used.append({at ? at->mapTo(f, at->rect().center()) : point(part[1]), point(part[2]),
                                 QList{160, 40, 0, 40}[kind]});
            }
            // Each step one touch event: a press of each in turn, four moves of all, a lift of each in turn.
            const qsizetype n = used.size();
            for (qsizetype step = 0; step < 2 * n + 4 && w; ++step) {
                if (step == n + 4 && pass == 0 && contacts.startsWith(u'!')) {
                    QWindowSystemInterface::handleTouchCancelEvent<
                        QWindowSystemInterface::SynchronousDelivery>(w, touchScreen());
                    break;
                }
                QList<QWindowSystemInterface::TouchPoint> points;
                for (qsizetype i = 0; i < n; ++i) {
                    const qsizetype lift = 2 * n + 3 - i, moved = std::clamp<qsizetype>(step - n + 1, 0, 4);
                    if (step < i || step > lift) continue;
                    const auto& [from, by, across] = used[i];
                    QWindowSystemInterface::TouchPoint p;
                    p.id = int(i);
                    p.state = step == i                  ? QEventPoint::State::Pressed
                              : step == lift             ? QEventPoint::State::Released
                              : step < n || step > n + 3 ? QEventPoint::State::Stationary
                                                         : QEventPoint::State::Updated;
                    QRectF area(0, 0, across, across);
                    area.moveCenter(w->mapToGlobal(QPointF(from + by * int(moved) / 4)));
                    p.area = QHighDpi::toNativePixels(area, w.data());
                    points.append(p);
                }
                QWindowSystemInterface::handleTouchEvent<QWindowSystemInterface::SynchronousDelivery>(
                    w, touchScreen(), points);
            }
            tour::settle();
            seen[pass] = tour::frontScreen()->Name();
            if (tour::loadedScreen(screen)) shown[pass] = f->grab().toImage();
        }
        QCOMPARE(seen[0], seen[1]);
        QVERIFY(shown[0] == shown[1]);
        QVERIFY(!contacts.contains(u'P') || seen[2] != seen[1] || shown[2] != shown[1]);
    }

    // A pen's pressure sets the width of its ink around the design width; its eraser end rubs out, and the
    // pen is as it was after.
    void thePensPressureAndEraser_data() {
        QTest::addColumn<double>("pressure");
        QTest::addColumn<bool>("eraser");
        QTest::addColumn<int>("width"); // of the ink across the stroke, in pixels
        QTest::newRow("light") << 0.2 << false << 1;
        QTest::newRow("medium") << 0.5 << false << 3;
        QTest::newRow("hard") << 1.0 << false << 6;
        QTest::newRow("eraser end") << 0.5 << true << 0;
    }
    void thePensPressureAndEraser() {
        QFETCH(double, pressure);
        QFETCH(bool, eraser);
        QFETCH(int, width);
        static QPointingDevice* ends[2] = {};
        using Type = QPointingDevice::PointerType;
        if (!ends[eraser])
            QWindowSystemInterface::registerInputDevice(
                ends[eraser] = new QPointingDevice(
                    {}, 7 + eraser, QInputDevice::DeviceType::Stylus, eraser ? Type::Eraser : Type::Pen,
                    QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3, {},
                    QPointingDeviceUniqueId::fromNumericId(7), qApp));
        QWindowSystemInterfacePrivate::TabletEvent::setPlatformSynthesizesMouse(false); // as on xcb
        QVERIFY(tour::open(QStringLiteral("notepad")));
        auto& p = form<notepad>();
        QWindow* w = windowOf(p);
        const QPoint from(20, 100), to(200, 100);
        if (eraser) drag(w, from, to);
        for (int i = 0; i <= 10; ++i) {
            const QPointF at = from + QPointF(to - from) * i / 10;
            QWindowSystemInterface::handleTabletEvent(
                w, QTest::lastMouseTimestamp += 20, ends[eraser], at, w->mapToGlobal(at),
                i < 10 ? Qt::LeftButton : Qt::NoButton, pressure, 0, 0, 0, 0, 0);
            QWindowSystemInterface::flushWindowSystemEvents();
        }
        const QImage page = p.hWnd()->grab().toImage();
        int inked = 0;
        for (int y = 80; y < 120; ++y)
            inked += page.pixelColor(110, y) != toQColor(kPageColour);
        QCOMPARE(inked, width);
        QCOMPARE(p.ForeColor(), QBColor(14));
        QCOMPARE(p.DrawWidth(), 3);
    }

    // The Jotter comes back where the teacher put it, but never off the display's free area.
    void theJotterKeepsItsPlace() {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        for (QPoint place : {area.topLeft() + QPoint(40, 200), area.bottomRight() - QPoint(20, 20)}) {
            QVERIFY(tour::open(QStringLiteral("notepad")));
            form<notepad>().hWnd()->move(place);
            click(*form<notepad>().Command1);
            QVERIFY(tour::open(QStringLiteral("notepad")));
            const QRect now(form<notepad>().hWnd()->pos(), form<notepad>().hWnd()->size());
            QVERIFY2(area.contains(now), qPrintable(QStringLiteral("%1,%2").arg(now.x()).arg(now.y())));
            QVERIFY(now.topLeft() == place || !area.contains(QRect(place, now.size())));
        }
    }

    // The title's buttons by keys, labels passed by, and a focus mark only while keys are used.
    void theKeyboardWorksTheButtons_data() {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<bool>("ended"); // else the opening screen is in front
        QTest::newRow("Enter on the first") << QList<int>{Qt::Key_Return} << false;
        QTest::newRow("Space on the second") << QList<int>{Qt::Key_Tab, Qt::Key_Space} << true;
        QTest::newRow("round to the first") << QList<int>{Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Enter} << false;
    }
    void theKeyboardWorksTheButtons() {
        QFETCH(QList<int>, keys);
        QFETCH(bool, ended);
        tour::start();
        Form& title = *tour::frontScreen();
        QVERIFY(QTest::qWaitForWindowActive(windowOf(title)));
        const auto tapTheCredit = [&] {
            QTest::mouseClick(windowOf(title), Qt::LeftButton, {}, pointIn(*title.findControl("Label3")));
            return title.hWnd()->grab().toImage();
        };
        const QImage plain = tapTheCredit();
        for (int key : keys.first(keys.size() - 1))
            QTest::keyClick(windowOf(title), Qt::Key(key));
        if (keys.size() > 1) { // the mark shows after keys, and goes at a tap
            QVERIFY(title.hWnd()->grab().toImage() != plain);
            QCOMPARE(tapTheCredit(), plain);
        }
        QTest::keyClick(windowOf(title), Qt::Key(keys.last()));
        tour::settle();
        QCOMPARE(Runtime::ended(), ended);
        QVERIFY(ended || tour::frontScreen()->Name() == QLatin1String(tour::kOpening));
    }

    // Every control shown has a name and a role for a screen reader; what answers a click can be pressed.
    void everyControlHasANameAndARole() {
        for (const QString& screen : tour::reachableScreens()) {
            QVERIFY(tour::open(screen));
            const Form* f = tour::loadedScreen(screen);
            for (Control* c : f->controls()) {
                if (!c->isVisibleTo(f->hWnd())) continue;
                QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
                const QAccessible::Role role = a->role();
                QVERIFY2(!a->text(QAccessible::Name).trimmed().isEmpty() && role != QAccessible::Client &&
                             (!c->reactsToClick() || role == QAccessible::Button ||
                              role == QAccessible::CheckBox || role == QAccessible::ComboBox),
                         qPrintable(screen + QLatin1Char(' ') + c->objectName()));
            }
        }
        // Pressed through the interface, as a screen reader does: "OK" leads on.
        freshRuntime();
        tour::start();
        QAccessible::queryAccessibleInterface(tour::frontScreen()->findControl(QStringLiteral("Command1")))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        tour::settle();
        QCOMPARE(tour::frontScreen()->Name(), QLatin1String(tour::kOpening));
    }

    void theDesktopGetsOneArgumentAndNoShell_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("argument"); // {DATA} is the data folder
        QTest::addColumn<QString>("declares"); // the type the desktop has an opener for
        QTest::addColumn<int>("messages");     // the program shows: there is no opener for it
        QTest::newRow("address") << QString::fromLatin1(tour::kPublisherAddress)
                                 << QString::fromLatin1(tour::kPublisherAddress) << "" << 0;
        QTest::newRow("the document, named with shell syntax")
            << QStringLiteral("Teacher Guide.doc; touch pwned $(touch pwned2)")
            << QStringLiteral("file://{DATA}/Teacher%20Guide.doc;%20touch%20pwned%20$(touch%20pwned2)") << ""
            << 1;
        QTest::newRow("the document, with an opener")
            << QString::fromLatin1(tour::kGuideDocument)
            << QStringLiteral("file://{DATA}/Teacher%20Guide.doc") << "application/msword" << 0;
    }
    void theDesktopGetsOneArgumentAndNoShell() {
        QFETCH(QString, target);
        QFETCH(QString, argument);
        QFETCH(QString, declares);
        QFETCH(int, messages);
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
        // The system's types of files; an application for the one declared, and none for any other.
        QVERIFY(QDir(scratch.path()).mkpath("data/applications") && QDir(scratch.path()).mkpath("config"));
        QFile::link("/usr/share/mime", scratch.filePath("data/mime"));
        QFile list(scratch.filePath("config/mimeapps.list"));
        QVERIFY(list.open(QIODevice::WriteOnly) &&
                list.write("[Default Applications]\n" + declares.toUtf8() + "=writer.desktop\n") > 0 &&
                list.flush());

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("DISPLAY", ":" + display.trimmed());
        env.insert("PATH", scratch.path() + ":/usr/bin:/bin");
        env.insert("OPENER_LOG", scratch.filePath("log"));
        env.insert("XDG_CURRENT_DESKTOP", "X-Generic");
        env.insert("XDG_CONFIG_HOME", scratch.filePath("config"));
        env.insert("XDG_CONFIG_DIRS", scratch.filePath("config"));
        env.insert("XDG_DATA_HOME", scratch.filePath("data"));
        env.insert("XDG_DATA_DIRS", scratch.filePath("data"));
        env.remove("BROWSER");
        child.setProcessEnvironment(env);
        child.setWorkingDirectory(scratch.path());
        child.start(QCoreApplication::applicationFilePath(), {"--open-with-the-desktop", target});
        QVERIFY(child.waitForFinished(20000));
        QVERIFY2(child.exitCode() == 0, child.readAllStandardError().constData());
        QCOMPARE(child.readAllStandardOutput().trimmed(), "messages " + QByteArray::number(messages));
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
    TestPen test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_pen.moc"
