// The house style and the title screen, on displays of several sizes.
#include "Module1.h"
#include "Titlefrm.h"
#include "support/testsupport.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {

class Plain : public Form {
public:
    Plain() : Form(QStringLiteral("Plain")) {}
    bool withPicture1 = false;
    bool lockedSize = false;
    bool maximised = false;

protected:
    void Design() override {
        setClientSize(3000, 2000);
        setSizeLocked(lockedSize);
        if (maximised) setWindowState(vbMaximized);
        if (withPicture1) add<PictureBox>("Picture1", 0, 0, 1500, 1500).setBackColor(RGB(1, 2, 3));
        add<Label>("Label1", 0, 0, 1500, 300);
    }
};

// A data folder with a picture for the title screen, so the test does not depend on the drawn ones.
struct TitleData {
    QTemporaryDir dir;
    explicit TitleData(bool withPicture) {
        QDir(dir.path()).mkdir(QStringLiteral("Images"));
        if (withPicture) {
            QImage img(320, 240, QImage::Format_RGB32);
            img.fill(QColor(250, 200, 40));
            img.save(dir.filePath(QStringLiteral("Images/beesm.jpg")), "JPG");
        }
        setDataDir(dir.path());
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

    void centresOnDisplaysOfEverySize_data() {
        QTest::addColumn<QSizeF>("display");
        QTest::addColumn<Single>("left");
        QTest::addColumn<Single>("top");
        QTest::newRow("exactly 800 x 600") << QSizeF(12000, 9000) << 0.0f << 0.0f;
        QTest::newRow("smaller 640 x 480") << QSizeF(9600, 7200) << -1200.0f << -900.0f;
        QTest::newRow("larger 1280 x 720") << QSizeF(19200, 10800) << 3600.0f << 900.0f;
        QTest::newRow("odd 1366 x 768") << QSizeF(20490, 11520) << 4245.0f << 1260.0f;
    }
    void centresOnDisplaysOfEverySize() {
        QFETCH(QSizeF, display);
        QFETCH(Single, left);
        QFETCH(Single, top);
        Screen.setSizeOverride(display);
        auto& f = form<Plain>();
        f.Load();
        ApplyHouseStyle(f);
        QCOMPARE(f.Width(), 12000.0f);
        QCOMPARE(f.Height(), 9000.0f);
        QCOMPARE(f.Left(), left);
        QCOMPARE(f.Top(), top);
        // Equal margins on opposite sides.
        QCOMPARE(double(f.Left()) * 2 + f.Width(), display.width());
        QCOMPARE(double(f.Top()) * 2 + f.Height(), display.height());
        QCOMPARE(f.BackColor(), RGB(49, 135, 214));
        QCOMPARE(f.ScaleMode(), int(vbTwips));
        QVERIFY(f.Icon().isEmpty());
        QCOMPARE(Screen.MousePointer(), int(vbDefault));
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(f.hWnd()->geometry(), QRect(twipsToPixels(left), twipsToPixels(top), 800, 600));
    }

    void picture1TakesTheHouseBlueAndAScreenWithoutOneIsStyledAllTheSame() {
        Screen.setSizeOverride(QSizeF(12000, 9000));
        auto& with = form<Plain>();
        with.withPicture1 = true;
        with.Load();
        ApplyHouseStyle(with);
        QCOMPARE(with.findControl(QStringLiteral("Picture1"))->BackColor(), RGB(49, 135, 214));
        with.Unload();
        with.withPicture1 = false;
        with.Load();
        ApplyHouseStyle(with);
        QCOMPARE(with.Width(), 12000.0f);
        QCOMPARE(with.Left(), 0.0f);
        QCOMPARE(with.BackColor(), RGB(49, 135, 214));
    }

    void aScreenThatCannotBeSizedIsStillCentredWithItsOwnSize() {
        Screen.setSizeOverride(QSizeF(19200, 10800));
        auto& f = form<Plain>();
        f.lockedSize = true;
        f.Load();
        ApplyHouseStyle(f);
        QCOMPARE(f.Width(), 3000.0f);
        QCOMPARE(f.Height(), 2000.0f);
        QCOMPARE(f.Left(), Single(19200 / 2 - 3000 / 2));
        QCOMPARE(f.Top(), Single(10800 / 2 - 2000 / 2));
        QCOMPARE(f.BackColor(), RGB(49, 135, 214));
        QCOMPARE(Screen.MousePointer(), int(vbDefault));
    }

    void aMaximisedScreenSkipsEveryPlacingStepAndStillRestoresThePointer() {
        auto& f = form<Plain>();
        f.maximised = true;
        f.Load();
        ApplyHouseStyle(f);
        QCOMPARE(f.BackColor(), RGB(49, 135, 214));
        QCOMPARE(f.Width(), 3000.0f);
        QCOMPARE(Screen.MousePointer(), int(vbDefault));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void titleScreenIsGreyCentredAtItsOwnSizeWithItsPicture() {
        TitleData data(true);
        Screen.setSizeOverride(QSizeF(15360, 11520)); // 1024 x 768
        auto& t = form<Titlefrm>();
        t.Show();
        QCOMPARE(t.BackColor(), RGB(192, 192, 192));
        QCOMPARE(t.ScaleWidth(), 5460.0f);
        QCOMPARE(t.ScaleHeight(), 6570.0f);
        QCOMPARE(t.hWnd()->size(), QSize(364, 438));
        QCOMPARE(t.Left(), Single(15360 / 2.0 - t.Width() / 2.0));
        QCOMPARE(t.Top(), Single(11520 / 2.0 - t.Height() / 2.0));
        QVERIFY(!t.Picture1->Picture().isEmpty());
        QCOMPARE(t.Picture1->Picture().pixmap().size(), QSize(320, 240));
        QCOMPARE(t.Command1->Caption(), QStringLiteral("OK"));
        QCOMPARE(t.Command2->Caption(), QStringLiteral("Exit"));
        QCOMPARE(t.Label4->Caption(), QStringLiteral(" Biology Year 10 Zestora Demo"));
        QCOMPARE(t.Caption(), QStringLiteral(" "));
        // What a pupil sees: the picture box shows the picture, not its back colour.
        const QImage shot = t.hWnd()->grab().toImage();
        const QPoint inPicture = t.Picture1->mapTo(t.hWnd(), QPoint(160, 120));
        QCOMPARE(shot.pixelColor(inPicture).red() > 200, true);
    }

    void titleScreenFallsBackToTheHouseStyleWithoutItsPicture() {
        TitleData data(false);
        Screen.setSizeOverride(QSizeF(15360, 11520));
        auto& t = form<Titlefrm>();
        t.Show();
        QVERIFY(!Runtime::ended());
        QCOMPARE(t.BackColor(), RGB(49, 135, 214));
        QCOMPARE(t.Width(), 12000.0f);
        QCOMPARE(t.Height(), 9000.0f);
        QCOMPARE(t.Left(), 1680.0f);
        QCOMPARE(t.Top(), 1260.0f);
        QVERIFY(t.Picture1->Picture().isEmpty());
        QCOMPARE(t.Picture1->BackColor(), RGB(49, 135, 214));
        // Controls keep their design places.
        QCOMPARE(t.Command1->Left(), 1320.0f);
        click(*t.Command2);
        QVERIFY(Runtime::ended());
        QCOMPARE(Runtime::exitCode(), 0);
    }

    void exitEndsAtOnceWithStatusZero() {
        TitleData data(true);
        auto& t = form<Titlefrm>();
        t.Show();
        click(*t.Command2);
        QVERIFY(Runtime::ended());
        QCOMPARE(Runtime::exitCode(), 0);
        QVERIFY(Runtime::loadedForms().isEmpty());
    }

    void everyTitleCaptionFitsItsBox() {
        TitleData data(true);
        auto& t = form<Titlefrm>();
        t.Show();
        for (Control* c : t.controls())
            if (auto* l = qobject_cast<Label*>(c))
                QVERIFY2(l->captionFits(), qPrintable(l->Name() + QStringLiteral(": ") + l->Caption()));
    }
};

QTEST_MAIN(TestHouseStyle)
#include "test_housestyle.moc"
