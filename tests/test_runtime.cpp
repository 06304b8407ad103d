// The forms runtime, driven as the screens drive it: through real mouse events on real windows.
#include "support/testsupport.h"

#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {

class Probe : public Form {
public:
    Probe() : Form(QStringLiteral("Probe")) {
        Label1.onMouseDown([this](int b, int, Single x, Single y) { log("down", b, x, y); });
        Label1.onMouseMove([this](int b, int, Single x, Single y) { log("move", b, x, y); });
        Label1.onMouseUp([this](int b, int, Single x, Single y) { log("up", b, x, y); });
        Label1.onClick([this] { events << QStringLiteral("click"); });
        Label3.onClick([this](int i) { events << QStringLiteral("click3 %1").arg(i); });
        Check1.onClick([this] { checkValuesSeen.append(Check1->Value()); });
    }
    Ctl<Label> Label1{this, "Label1"};
    Arr<Label> Label3{this, "Label3"};
    Ctl<CheckBox> Check1{this, "Check1"};

    int loads = 0;      // the object's own variable: survives Unload
    QStringList events; // "down <button> <x>,<y>" in twips, "click", "click3 <index>"
    QList<int> checkValuesSeen;
    int formMoves = 0;
    std::function<void()> onLoad;

protected:
    void Design() override {
        setClientSize(12000, 9000);
        add<Label>("Label1", 2797.5f, 120, 6405, 1020).setCaption(QStringLiteral("Menu 1"));
        auto& l3 = add<Label>("Label3", 0, 3172.5f, 2400, 5655, 495);
        l3.setCaption(QStringLiteral("Quadrat"));
        l3.setMousePointer(vbHourglass);
        add<CheckBox>("Check1", 120, 1200, 1935, 375);
    }
    void Form_Load() override {
        ++loads;
        if (onLoad) onLoad();
    }
    void Form_MouseMove(int, int, Single, Single) override { ++formMoves; }

private:
    void log(const char* what, int b, Single x, Single y) {
        events << QStringLiteral("%1 %2 %3,%4").arg(QLatin1String(what)).arg(b).arg(x).arg(y);
    }
};

} // namespace

class TestRuntime : public QObject {
    Q_OBJECT

    static Probe& shownProbe() {
        auto& p = form<Probe>();
        p.Show();
        return p;
    }

private slots:
    void init() {
        freshRuntime();
        recordDesktop();
    }

    // The rest of the copied design shows on every menu (test_reference).
    void controlArrayCopiesStartHiddenShareTheHandlerAndRefuseBadIndexes() {
        auto& p = shownProbe();
        auto& copy = p.Label3.Load(2);
        QVERIFY(!copy.Visible());
        QCOMPARE(copy.MousePointer(), int(vbHourglass)); // the one part of the design no picture shows
        QCOMPARE(p.Label3.Count(), 2);
        copy.setCaption(QStringLiteral("Hormones")); // element 0 is untouched by the copy's changes
        QCOMPARE(p.Label3(0).Caption(), QStringLiteral("Quadrat"));
        QCOMPARE(runtimeErrorOf([&] { (void)p.Label3(7); }), int(err::ControlArrayElementMissing));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, p.Label3.Load(2));
        copy.setTop(3900);
        copy.setVisible(true);
        click(copy);
        click(p.Label3(0));
        QCOMPARE(p.events, QStringList({"click3 2", "click3 0"}));
    }

    void unloadKeepsVariablesAndTheNextShowBuildsFromDesign() {
        auto& p = shownProbe();
        p.Label1->setCaption(QStringLiteral("changed"));
        p.Label3.Load(4);
        p.Unload();
        QVERIFY(!p.isLoaded() && p.hWnd() == nullptr);
        QVERIFY(!Runtime::loadedFormNames().contains(QStringLiteral("Probe")));
        p.Show();
        QCOMPARE(p.loads, 2);
        QCOMPARE(p.Label1->Caption(), QStringLiteral("Menu 1"));
        QVERIFY(!p.Label3.exists(4));
    }

    void touchingAControlOfAnUnloadedFormLoadsItWithoutShowingIt() {
        auto& p = form<Probe>();
        p.Label1->setCaption(QStringLiteral("Cancel"));
        QVERIFY(p.isLoaded() && !p.hWnd()->isVisible());
        p.Show(); // already loaded: Load does not run again, the caption set before stays
        QCOMPARE(p.loads, 1);
        QCOMPARE(p.Label1->Caption(), QStringLiteral("Cancel"));
        QVERIFY(p.hWnd()->isVisible());
    }

    // Down, moves and up go to the pressed control with the button held, in its own twips, even outside it;
    // the form sees none of it. (No screen reads the shift state or the right button.)
    void aPressedControlKeepsTheMouseUntilRelease() {
        auto& p = shownProbe();
        QWindow* w = windowOf(p);
        const QPoint start = pointIn(*p.Label1, QPoint(10, 10)), outside(700, 500);
        QTest::mouseMove(w, start);
        p.events.clear();
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, start);
        QTest::mouseMove(w, outside);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, outside);
        const QPoint rel = (outside - p.Label1->geometry().topLeft()) * 15;
        const QString at = QStringLiteral(" 1 %1,%2").arg(rel.x()).arg(rel.y());
        QCOMPARE(p.events, QStringList({"down 1 150,150", "move" + at, "up" + at}));
        QCOMPARE(p.formMoves, 0);
    }

    // Moves over the bare form and disabled controls: test_menus' hover and dimmed entries.
    void clickNeedsALeftPressAndReleaseOverTheSameControl() {
        auto& p = shownProbe();
        QWindow* w = windowOf(p);
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, pointIn(*p.Label1));
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(790, 590));
        click(*p.Label1, Qt::RightButton);
        QVERIFY(!p.events.contains(QStringLiteral("click")));
        p.events.clear();
        click(*p.Label1);
        QVERIFY2(
            p.events.join(u' ').contains(QRegularExpression(QStringLiteral("down 1 \\S+ up 1 \\S+ click$"))),
            qPrintable(p.events.join(u' ')));
    }

    void checkBoxValueRaisesClickFromCodeAndFromTheUser() {
        auto& p = shownProbe();
        p.Check1->setValue(1);
        p.Check1->setValue(1); // no change, no Click
        QCOMPARE(p.checkValuesSeen, QList<int>({1}));
        click(*p.Check1); // the user unticks: the value has changed before Click runs
        QCOMPARE(p.checkValuesSeen, QList<int>({1, 0}));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, p.Check1->setValue(5));
    }

    void runtimeErrorInAHandlerEndsTheProgramWithAReport() {
        auto& rec = recordDesktop();
        auto& p = shownProbe();
        p.Label3.onClick([](int) { (void)LoadPicture(QStringLiteral("Images\\nothere.jpg")); });
        click(p.Label3(0));
        expectStoppedWithReport(rec, {QStringLiteral("Images\\nothere.jpg"), QStringLiteral("'53'")});
        int ran = 0; // after End nothing runs any more
        Runtime::dispatch([&] { ++ran; });
        QCOMPARE(ran, 0);
    }

    void errorsInsideNestedHandlersReachTheOutermost() {
        auto& rec = recordDesktop();
        auto& p = form<Probe>();
        p.onLoad = [] { (void)QBColor(16); };
        Runtime::dispatch([&] { p.Show(); });
        expectStoppedWithReport(rec, {QStringLiteral("'5'")});
    }
};

QTEST_MAIN(TestRuntime)
#include "test_runtime.moc"
