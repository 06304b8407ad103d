// The forms runtime, driven as the screens drive it: through real mouse events on real windows; and the house
// style over it on displays of several sizes: centred, overhanging a small display, pointer back to normal.
#include "Module1.h"
#include "support/testsupport.h"

#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {

class Probe : public Form {
public:
    Probe() : Form(QStringLiteral("Probe")) {
        Label1.onClick([this] { events << QStringLiteral("click"); });
        Label3.onClick([this](int i) { events << QStringLiteral("click3 %1").arg(i); });
    }
    Ctl<Label> Label1{this, "Label1"};
    Arr<Label> Label3{this, "Label3"};
    QStringList events; // "click", "click3 <index>"
    int loads = 0;

protected:
    void Form_Load() override { ++loads; }
    void Design() override {
        setClientSize(12000, 9000);
        add<Label>("Label1", 2797.5f, 120, 6405, 1020).setCaption(QStringLiteral("Menu 1"));
        add<Label>("Label3", 0, 3172.5f, 2400, 5655, 495);
        add<ComboBox>("Combo1", 3000, 4000, 3000, 400);
    }
};

class Plain : public Form {
public:
    Plain() : Form(QStringLiteral("Plain")) {}
    bool withPicture1 = false;

protected:
    void Design() override {
        setClientSize(3000, 2000);
        if (withPicture1) add<PictureBox>("Picture1", 0, 0, 1500, 1500).setBackColor(RGB(1, 2, 3));
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

    void clickNeedsALeftPressAndReleaseOverTheSameControl() {
        auto& p = shownProbe();
        QWindow* w = windowOf(p);
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, pointIn(*p.Label1));
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(790, 590));
        click(*p.Label1, Qt::RightButton);
        QVERIFY(!p.events.contains(QStringLiteral("click")));
        click(*p.Label1);
        QCOMPARE(p.events.last(), QStringLiteral("click"));
    }

    // Rehearsed, a screen is as it was: not loaded, its Load handler not run. Only the window made ready for
    // it is left, and its first load takes that window.
    void aRehearsalLeavesOnlyAWindowReady() {
        auto& p = form<Probe>();
        const QWidgetList before = QApplication::topLevelWidgets();
        p.rehearse();
        QVERIFY(!p.isLoaded() && p.loads == 0 && p.controlCount() == 0);
        QWidgetList ready = QApplication::topLevelWidgets();
        ready.removeIf([&](QWidget* w) { return before.contains(w); });
        QCOMPARE(ready.size(), 1);
        p.Show();
        QCOMPARE(p.hWnd(), ready.first());
        click(*p.Label1);
        QCOMPARE(p.events, QStringList{QStringLiteral("click")});
        QCOMPARE(p.loads, 1);
    }

    // Text too large for Qt's glyph cache is kept as a picture: a label shows the caption it has now, and the
    // same picture again when the caption comes back.
    void largeTextShowsTheCaptionItHasNow() {
        auto& big = *shownProbe().Label1;
        big.setFontDesc({QStringLiteral("Arial"), 50, true});
        const QImage menu = big.grab().toImage();
        big.setCaption(QStringLiteral("Exit"));
        QVERIFY(big.grab().toImage() != menu);
        big.setCaption(QStringLiteral("Menu 1"));
        QCOMPARE(big.grab().toImage(), menu);
    }

    // Tab follows TabIndex, not the order of creation, a drop-down list included.
    void tabFollowsTabIndex() {
        auto& p = shownProbe();
        p.Label1->setTabIndex(5); // made first, reached last
        p.Label3(0).setFocus();
        for (const char* next : {"Combo1", "Label1", "Label3(0)"}) {
            QTest::keyClick(windowOf(p), Qt::Key_Tab);
            QWidget* w = QApplication::focusWidget(); // a list's own box, in the list
            QCOMPARE((qobject_cast<Control*>(w) ? w : w->parentWidget())->objectName(), QLatin1String(next));
        }
    }

    // Without a Picture1 the step that colours it is skipped and the rest still happens.
    void houseStyle_data() {
        QTest::addColumn<QSizeF>("display");
        QTest::addColumn<bool>("picture");
        QTest::newRow("800 x 600 with Picture1") << QSizeF(12000, 9000) << true;
        QTest::newRow("smaller 640 x 480") << QSizeF(9600, 7200) << false;
        QTest::newRow("odd 1366 x 768") << QSizeF(20490, 11520) << false;
    }
    void houseStyle() {
        QFETCH(QSizeF, display);
        QFETCH(bool, picture);
        Screen.setSizeOverride(display);
        auto& f = form<Plain>();
        f.withPicture1 = picture;
        f.Load();
        ApplyHouseStyle(f);
        if (picture) QCOMPARE(f.findControl(QStringLiteral("Picture1"))->BackColor(), kHouseBlue);
        QCOMPARE(Screen.MousePointer(), int(vbDefault));
        QCOMPARE(double(f.Left()) * 2 + f.Width(), display.width());
        QCOMPARE(double(f.Top()) * 2 + f.Height(), display.height());
        QCOMPARE(f.hWnd()->pos(), QPoint(twipsToPixels(f.Left()), twipsToPixels(f.Top())));
        QCOMPARE(f.hWnd()->size(), QSize(800, 600));
    }
};

QTEST_MAIN(TestRuntime)
#include "test_runtime.moc"
