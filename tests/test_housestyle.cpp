// The house style and the title screen, on displays of several sizes.
#include "Module1.h"
#include "Titlefrm.h"
#include "support/testsupport.h"

#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {

class Plain : public Form {
public:
    Plain() : Form(QStringLiteral("Plain")) {}
    bool withPicture1 = false, lockedSize = false, maximised = false;

protected:
    void Design() override {
        setClientSize(3000, 2000);
        setSizeLocked(lockedSize);
        if (maximised) setWindowState(vbMaximized);
        if (withPicture1) add<PictureBox>("Picture1", 0, 0, 1500, 1500).setBackColor(RGB(1, 2, 3));
        add<Label>("Label1", 0, 0, 1500, 300);
    }
};

} // namespace

class TestHouseStyle : public QObject {
    Q_OBJECT
private slots:
    void init() {
        freshRuntime();
        recordDesktop();
    }

    // Each step that cannot apply (no Picture1, a locked size, a maximised window) is skipped, the rest still
    // happens, and the pointer always ends up normal. The window is centred, overhanging a small display.
    void houseStyle_data() {
        QTest::addColumn<QSizeF>("display");
        QTest::addColumn<QString>("variant");
        QTest::addColumn<Single>("width");
        QTest::newRow("800 x 600 with Picture1") << QSizeF(12000, 9000) << "picture" << 12000.0f;
        QTest::newRow("smaller 640 x 480") << QSizeF(9600, 7200) << "" << 12000.0f;
        QTest::newRow("odd 1366 x 768") << QSizeF(20490, 11520) << "" << 12000.0f;
        QTest::newRow("size locked") << QSizeF(19200, 10800) << "locked" << 3000.0f;
        QTest::newRow("maximised") << QSizeF(12000, 9000) << "maximised" << 3000.0f;
    }
    void houseStyle() {
        QFETCH(QSizeF, display);
        QFETCH(QString, variant);
        QFETCH(Single, width);
        Screen.setSizeOverride(display);
        auto& f = form<Plain>();
        f.withPicture1 = variant == QLatin1String("picture");
        f.lockedSize = variant == QLatin1String("locked");
        f.maximised = variant == QLatin1String("maximised");
        f.Load();
        ApplyHouseStyle(f);
        QCOMPARE(f.BackColor(), kHouseBlue);
        if (f.withPicture1) QCOMPARE(f.findControl(QStringLiteral("Picture1"))->BackColor(), kHouseBlue);
        QVERIFY(f.Icon().isEmpty());
        QCOMPARE(f.Width(), width);
        QCOMPARE(Screen.MousePointer(), int(vbDefault));
        if (f.maximised) return;
        QCOMPARE(double(f.Left()) * 2 + f.Width(), display.width());
        QCOMPARE(double(f.Top()) * 2 + f.Height(), display.height());
        QCOMPARE(f.hWnd()->pos(), QPoint(twipsToPixels(f.Left()), twipsToPixels(f.Top())));
        if (width == 12000.0f) QCOMPARE(f.hWnd()->size(), QSize(800, 600));
    }

    void titleScreenFallsBackToTheHouseStyleWithoutItsPictureAndExitStillEnds() {
        ScratchData data; // without the title screen's picture, on a 1024 x 768 display
        Screen.setSizeOverride(QSizeF(15360, 11520));
        auto& t = form<Titlefrm>();
        t.Show();
        QVERIFY(!Runtime::ended());
        QCOMPARE(t.BackColor(), kHouseBlue);
        QCOMPARE(t.Width(), 12000.0f);
        QVERIFY(t.Picture1->Picture().isEmpty());
        QCOMPARE(t.Picture1->BackColor(), kHouseBlue);
        click(*t.Command2);
        QVERIFY(Runtime::ended());
        QCOMPARE(Runtime::exitCode(), 0);
        QVERIFY(Runtime::loadedForms().isEmpty());
    }
};

QTEST_MAIN(TestHouseStyle)
#include "test_housestyle.moc"
