// At the board with a pen and no keyboard, and with a keyboard or a screen reader instead: double taps, cards
// that stay in sight, the Jotter's place, keys on the buttons, and names a screen reader can say.
#include "notepad.h"
#include "reflex.h"
#include "sentence.h"
#include "tour.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QScreen>
#include <QStyleHints>
#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {
// A tap where `at` (window pixels) is on the display, on whichever screen is then in front.
void tapOnFront(QPoint global) {
    QWindow* w = tour::frontScreen()->hWnd()->windowHandle();
    QTest::mousePress(w, Qt::LeftButton, {}, w->mapFromGlobal(global));
    QTest::mouseRelease(w, Qt::LeftButton, {}, w->mapFromGlobal(global));
    tour::settle();
}

QImage look(Control& c) {
    return c.grab().toImage();
}
} // namespace

class TestPen : public tour::Fixture {
    Q_OBJECT
private slots:
    // Two taps at one place, the second `gap` double-click intervals after the first: the second counts
    // only when it is not the second half of a double tap on a screen that the first one brought up.
    void doubleTaps_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("control");
        QTest::addColumn<double>("gap");
        QTest::addColumn<QString>("front");
        QTest::addColumn<QString>("absent");
        QTest::newRow("a menu's exit") << "menu1"
                                       << "Command1" << 0.5 << "intro0"
                                       << "Titlefrm";
        QTest::newRow("a menu's exit, tapped again later") << "menu1"
                                                           << "Command1" << 1.5 << "Titlefrm"
                                                           << "";
        QTest::newRow("next page") << "TeacherGuide0"
                                   << "Label3(1)" << 0.5 << "TeacherGuide1"
                                   << "TeacherGuide2";
        QTest::newRow("fast taps on one screen") << "intro0"
                                                 << "Check1" << 0.5 << "intro0"
                                                 << "Grey";
    }
    void doubleTaps() {
        QFETCH(QString, screen);
        QFETCH(QString, control);
        QFETCH(double, gap);
        QFETCH(QString, front);
        QFETCH(QString, absent);
        QVERIFY(tour::open(screen));
        const Form* f = tour::frontScreen();
        const QWidget* target = f->hWnd()->findChild<QWidget*>(control);
        QVERIFY(target);
        const QPoint global = target->mapToGlobal(target->rect().center());
        tapOnFront(global);
        const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
        QTest::lastMouseTimestamp += int(gap * interval) - QTest::mouseDoubleClickInterval - 1;
        tapOnFront(global);
        QCOMPARE(tour::frontScreen()->Name(), front);
        QVERIFY(absent.isEmpty() || !tour::loadedScreen(absent));
    }

    // A card dragged over later cards stays in front of them, and a card let go off an edge comes back whole.
    void cardsStayInSight() {
        QVERIFY(tour::open(QStringLiteral("reflex")));
        auto& r = form<reflex>();
        QWindow* w = windowOf(r);
        drag(w, pointIn(r.Label2(1)), pointIn(r.Label2(2)));
        QCOMPARE(r.Label2(1).Top(), r.Label2(2).Top());
        QCOMPARE(r.hWnd()->childAt(pointIn(r.Label2(2))), &r.Label2(1));
        for (QPoint edge : {QPoint(0, 0), QPoint(w->width() - 1, w->height() - 1)}) {
            drag(w, pointIn(r.Label2(3)), edge);
            const Label& card = r.Label2(3);
            QVERIFY2(card.Left() >= 0 && card.Top() >= 0 && card.Left() + card.Width() <= r.ScaleWidth() &&
                         card.Top() + card.Height() <= r.ScaleHeight(),
                     qPrintable(QStringLiteral("%1, %2").arg(card.Left()).arg(card.Top())));
        }
    }

    // The slips a class must not see, in every list name and entry of the sentence builder.
    void themesAreSpeltRight_data() {
        QTest::addColumn<QString>("slip");
        for (const char* slip : {"Cilli", "cillia", "fright and flight", " ,"})
            QTest::newRow(slip) << QString::fromLatin1(slip);
    }
    void themesAreSpeltRight() {
        QFETCH(QString, slip);
        for (int n = 0; n < sentence::kThemes; ++n)
            for (const char* text : {sentence::themeNames()[n], sentence::themeEntries()[n]})
                QVERIFY2(!QString::fromUtf8(text).contains(slip), text);
    }

    // The Jotter comes back where the teacher put it, but never off the display's free area.
    void theJotterKeepsItsPlace() {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        for (QPoint place : {area.topLeft() + QPoint(40, 200), area.bottomRight() - QPoint(20, 20)}) {
            QVERIFY(tour::open(QStringLiteral("notepad")));
            QWidget* pad = form<notepad>().hWnd();
            pad->move(place);
            click(*form<notepad>().Command1);
            QVERIFY(tour::open(QStringLiteral("notepad")));
            pad = form<notepad>().hWnd();
            const QRect now(pad->pos(), pad->size());
            QVERIFY2(area.contains(now), qPrintable(QStringLiteral("%1,%2").arg(now.x()).arg(now.y())));
            QVERIFY(now.topLeft() == place || !area.contains(QRect(place, pad->size())));
        }
    }

    // The title screen from the keyboard: its buttons in their order, the labels passed by, and a focus mark
    // that shows only while keys are used.
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
        auto& ok = *static_cast<CommandButton*>(title.findControl(QStringLiteral("Command1")));
        const auto tapTheCredit = [&] {
            QTest::mouseClick(windowOf(title), Qt::LeftButton, {}, pointIn(*title.findControl("Label3")));
            return look(ok);
        };
        if (keys.size() == 3) {
            const QImage plain = tapTheCredit();
            QTest::keyClick(windowOf(title), Qt::Key_Tab);
            QTest::keyClick(windowOf(title), Qt::Key_Tab);
            QVERIFY(look(ok) != plain);
            QCOMPARE(tapTheCredit(), plain);
            keys = {keys.last()};
        }
        for (int key : keys)
            QTest::keyClick(windowOf(title), Qt::Key(key));
        tour::settle();
        QCOMPARE(Runtime::ended(), ended);
        QVERIFY(ended || tour::frontScreen()->Name() == QLatin1String(tour::kOpening));
    }

    // What a screen reader finds on every screen: each control shown has a name and a role, and the labels
    // and pictures that answer a click are buttons it can press.
    void everyControlHasANameAndARole() {
        for (const QString& screen : tour::reachableScreens()) {
            QVERIFY(tour::open(screen));
            const Form* f = tour::loadedScreen(screen);
            for (Control* c : f->controls()) {
                if (!c->isVisibleTo(f->hWnd())) continue;
                QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
                const QString where = screen + QLatin1Char(' ') + c->objectName();
                QVERIFY2(a && !a->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(where));
                QVERIFY2(a->role() != QAccessible::Client, qPrintable(where));
                QVERIFY2(!c->reactsToClick() || a->role() == QAccessible::Button ||
                             a->role() == QAccessible::CheckBox || a->role() == QAccessible::ComboBox,
                         qPrintable(where));
            }
        }
        // Pressed through the interface, as a screen reader does: "OK" leads on.
        freshRuntime();
        tour::start();
        QAccessibleInterface* ok = QAccessible::queryAccessibleInterface(
            tour::frontScreen()->findControl(QStringLiteral("Command1")));
        QCOMPARE(ok->text(QAccessible::Name), QStringLiteral("OK"));
        ok->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        tour::settle();
        QCOMPARE(tour::frontScreen()->Name(), QLatin1String(tour::kOpening));
    }
};

QTEST_MAIN(TestPen)
#include "test_pen.moc"
