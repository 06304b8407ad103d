// At the board with a pen, a keyboard or a screen reader: taps, cards, the Jotter's place, keys, names.
#include "notepad.h"
#include "reflex.h"
#include "tour.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QScreen>
#include <QStyleHints>
#include <QtTest>

using namespace vb;
using namespace testsupport;

class TestPen : public tour::Fixture {
    Q_OBJECT
private slots:
    // Two taps `gap` double-click intervals apart: a double tap does not press the screen it opens.
    void doubleTaps_data() {
        QTest::addColumn<QStringList>("screens"); // tapped, the control, in front after, not loaded after
        QTest::addColumn<double>("gap");
        QTest::newRow("a menu's exit") << QStringList{"menu1", "Command1", "intro0", "Titlefrm"} << 0.5;
        QTest::newRow("a menu's exit, again later")
            << QStringList{"menu1", "Command1", "Titlefrm", ""} << 1.5;
        QTest::newRow("next page") << QStringList{"TeacherGuide0", "Label3(1)", "TeacherGuide1",
                                                  "TeacherGuide2"}
                                   << 0.5;
        QTest::newRow("fast taps on one screen") << QStringList{"intro0", "Check1", "intro0", "Grey"} << 0.5;
    }
    void doubleTaps() {
        QFETCH(QStringList, screens);
        QFETCH(double, gap);
        QVERIFY(tour::open(screens[0]));
        const QWidget* target = tour::frontScreen()->hWnd()->findChild<QWidget*>(screens[1]);
        QVERIFY(target);
        const QPoint global = target->mapToGlobal(target->rect().center());
        for (int tap = 0; tap < 2; ++tap) { // each on whichever screen is in front
            QWindow* w = tour::frontScreen()->hWnd()->windowHandle();
            QTest::mousePress(w, Qt::LeftButton, {}, w->mapFromGlobal(global));
            QTest::mouseRelease(w, Qt::LeftButton, {}, w->mapFromGlobal(global));
            tour::settle();
            if (tap == 0)
                QTest::lastMouseTimestamp +=
                    int(gap * QGuiApplication::styleHints()->mouseDoubleClickInterval()) -
                    QTest::mouseDoubleClickInterval - 1;
        }
        QCOMPARE(tour::frontScreen()->Name(), screens[2]);
        QVERIFY(screens[3].isEmpty() || !tour::loadedScreen(screens[3]));
    }

    // A card dragged over cards made after it stays in front of them, where it lands too.
    void aDraggedCardStaysInFront() {
        QVERIFY(tour::open(QStringLiteral("reflex")));
        auto& r = form<reflex>();
        drag(windowOf(r), pointIn(r.Label2(1)), pointIn(r.Label2(2)));
        QCOMPARE(r.Label2(1).Top(), r.Label2(2).Top());
        QCOMPARE(r.hWnd()->childAt(pointIn(r.Label2(2))), &r.Label2(1));
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
};

QTEST_MAIN(TestPen)
#include "test_pen.moc"
