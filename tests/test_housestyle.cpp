// The house style on displays of several sizes: centred, overhanging a small display, pointer back to normal.
#include "Module1.h"
#include "support/testsupport.h"

#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {

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

class TestHouseStyle : public QObject {
    Q_OBJECT
private slots:
    void init() {
        freshRuntime();
        recordDesktop();
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

QTEST_MAIN(TestHouseStyle)
#include "test_housestyle.moc"
