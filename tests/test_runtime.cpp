// The forms runtime, driven as the screens drive it: through real mouse events on real windows.
#include "support/testsupport.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {

struct Event {
    QString what;
    int index, button, shift;
    Single x, y;
};

class Probe : public Form {
public:
    Probe() : Form(QStringLiteral("Probe")) {
        Label1.onMouseDown([this](int b, int s, Single x, Single y) { log("down", -1, b, s, x, y); });
        Label1.onMouseMove([this](int b, int s, Single x, Single y) { log("move", -1, b, s, x, y); });
        Label1.onMouseUp([this](int b, int s, Single x, Single y) { log("up", -1, b, s, x, y); });
        Label1.onClick([this] { log("click", -1, 0, 0, 0, 0); });
        Label3.onClick([this](int i) { log("click3", i, 0, 0, 0, 0); });
        Check1.onClick([this] { checkValuesSeen.append(Check1->Value()); });
    }
    Ctl<Label> Label1{this, "Label1"};
    Arr<Label> Label3{this, "Label3"};
    Ctl<CheckBox> Check1{this, "Check1"};
    Ctl<Frame> Frame1{this, "Frame1"};

    int loads = 0; // the object's own variable: survives Unload
    QList<Event> events;
    QList<int> checkValuesSeen;
    int formMoves = 0;
    std::function<void()> onLoad;

protected:
    void Design() override {
        setClientSize(12000, 9000);
        setBackColor(RGB(10, 20, 30));
        auto& l1 = add<Label>("Label1", 2797.5f, 120, 6405, 1020);
        l1.setCaption(QStringLiteral("Menu 1"));
        auto& l3 = add<Label>("Label3", 0, 3172.5f, 2400, 5655, 495);
        l3.setCaption(QStringLiteral("Sampling Methods - The Quadrat"));
        l3.setFontDesc({QStringLiteral("Tahoma"), 15.75f, true});
        l3.setForeColor(RGB(255, 255, 0));
        l3.setBackColor(RGB(0, 0, 0));
        l3.setBorderStyle(vbFixedSingle);
        l3.setAlignment(vbCenter);
        l3.setBackStyle(vbOpaque);
        l3.setMousePointer(vbHourglass);
        add<CheckBox>("Check1", 120, 1200, 1935, 375);
        auto& frame = add<Frame>("Frame1", 6000, 6000, 3000, 2000);
        add<Label>("Inner", 150, 300, 600, 300, &frame);
    }
    void Form_Load() override {
        ++loads;
        if (onLoad) onLoad();
    }
    void Form_MouseMove(int, int, Single, Single) override { ++formMoves; }

private:
    void log(const char* what, int i, int b, int s, Single x, Single y) {
        events.append({QString::fromLatin1(what), i, b, s, x, y});
    }
};

QStringList kinds(const QList<Event>& events) {
    QStringList out;
    for (const auto& e : events)
        out << e.what;
    return out;
}

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

    void controlArrayCopiesEveryDesignPropertyStartsHiddenAndRefusesBadIndexes() {
        auto& p = shownProbe();
        auto& copy = p.Label3.Load(3);
        QCOMPARE(std::pair(copy.Index(), copy.Name()), std::pair(3, QStringLiteral("Label3")));
        QVERIFY(!copy.Visible());
        QCOMPARE(p.Label3.Count(), 2);
        auto design = [](const Label& l) {
            return std::tuple(l.Caption(), l.Font(), l.ForeColor(), l.BackColor(), l.BorderStyle(),
                              l.Alignment(), l.BackStyle(), l.MousePointer(), l.Left(), l.Width(),
                              l.Height());
        };
        QVERIFY(design(copy) == design(p.Label3(0)));
        copy.setCaption(QStringLiteral("Hormones")); // element 0 is untouched by the copy's changes
        QCOMPARE(p.Label3(0).Caption(), QStringLiteral("Sampling Methods - The Quadrat"));
        QCOMPARE(runtimeErrorOf([&] { (void)p.Label3(7); }), int(err::ControlArrayElementMissing));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, p.Label3.Load(3));
    }

    void copiesShareTheArrayHandlerAndReceiveTheirIndex() {
        auto& p = shownProbe();
        auto& copy = p.Label3.Load(2);
        copy.setTop(3900);
        copy.setVisible(true);
        click(copy);
        click(p.Label3(0));
        QCOMPARE(kinds(p.events), QStringList({"click3", "click3"}));
        QCOMPARE(QList<int>({p.events[0].index, p.events[1].index}), QList<int>({2, 0}));
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
        QCOMPARE(p.BackColor(), RGB(10, 20, 30));
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

    // Down, moves and up go to the pressed control with the button held and the shift state, in its own
    // twips, even outside it; the form sees none of it.
    void aPressedControlKeepsTheMouseUntilRelease_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::NoModifier);
        QTest::newRow("right with shift") << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier);
    }
    void aPressedControlKeepsTheMouseUntilRelease() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        auto& p = shownProbe();
        QWindow* w = windowOf(p);
        const QPoint start = pointIn(*p.Label1, QPoint(10, 10)), outside(700, 500);
        QTest::mouseMove(w, start);
        p.events.clear();
        QTest::mousePress(w, button, modifiers, start);
        QTest::mouseMove(w, outside);
        QTest::mouseRelease(w, button, modifiers, outside);
        QCOMPARE(kinds(p.events), QStringList({"down", "move", "up"}));
        for (const Event& e : p.events)
            QCOMPARE(e.button, button == Qt::RightButton ? vbRightButton : vbLeftButton);
        QCOMPARE(p.events[0].shift, modifiers & Qt::ShiftModifier ? int(vbShiftMask) : 0);
        const QPoint rel = (outside - p.Label1->geometry().topLeft()) * 15;
        QCOMPARE(QPointF(p.events[1].x, p.events[1].y), QPointF(rel));
        QCOMPARE(p.formMoves, 0);
    }

    // Moves over the bare form and disabled controls: test_menus' hover and dimmed entries.
    void clickNeedsALeftPressAndReleaseOverTheSameControl() {
        auto& p = shownProbe();
        QWindow* w = windowOf(p);
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, pointIn(*p.Label1));
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(790, 590));
        click(*p.Label1, Qt::RightButton);
        QVERIFY(!kinds(p.events).contains("click"));
        p.events.clear();
        click(*p.Label1);
        QCOMPARE(kinds(p.events).mid(kinds(p.events).indexOf("down")), QStringList({"down", "up", "click"}));
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
