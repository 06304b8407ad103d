// A large board runs the 800 x 600 screens at Qt's scale factor (QT_SCALE_FACTOR, set by CTest to 1.5 and to
// 2 for two runs of this test). Pictures then come from their twins drawn at twice the size.
#include "damage.h"
#include "support/testsupport.h"
#include "tour.h"

#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {

QString twinOf(const QString& file) {
    const QFileInfo info(file);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral("@2x.") + info.suffix();
}

} // namespace

class TestScaling : public QObject {
    Q_OBJECT

    qreal m_scale = 1;

private slots:
    void initTestCase() {
        m_scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
        if (m_scale <= 1) QSKIP("run with QT_SCALE_FACTOR above 1 (CTest runs it at 1.5 and 2)");
        QCOMPARE(qApp->devicePixelRatio(), m_scale);
    }
    void init() {
        freshRuntime();
        recordDesktop();
        Screen.setSizeOverride(QSizeF(12000, 9000));
    }
    void cleanup() { freshRuntime(); }

    void picturesComeFromTheirTwins_data() {
        QTest::addColumn<QString>("picture");
        for (const tour::PictureUse& p : tour::kPictures)
            QTest::newRow(p.file) << QString::fromLatin1(p.file);
    }
    void picturesComeFromTheirTwins() {
        QFETCH(QString, picture);
        const QString file = resolveDataPath(picture);
        if (!QFile::exists(twinOf(file))) QSKIP("this picture has no twin");
        const Picture p = LoadPicture(picture);
        QCOMPARE(p.pixmap().devicePixelRatio(), 2.0);
        QCOMPARE(p.pixmap().deviceIndependentSize().toSize(), QImage(file).size());
        QCOMPARE(p.pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                 QImage(twinOf(file)).convertToFormat(QImage::Format_RGB32));
    }

    // The twin is an extra: without it, or with a broken one, the picture itself is shown; but a broken
    // picture is reported whatever its twin.
    void aBrokenTwinFallsBackAndABrokenPictureIsStillReported() {
        QTemporaryDir data;
        QVERIFY(copyProgramData(DataDir(), data.path()));
        setDataDir(data.path());
        const QString bee = dataFile(data.path(), QStringLiteral("Images\\bee.jpg"));
        QVERIFY(damage(twinOf(bee), Damage::Truncated));
        auto loadBee = [] { return LoadPicture(QStringLiteral("Images\\bee.jpg")).pixmap(); };
        QCOMPARE(loadBee().devicePixelRatio(), 1.0);
        QCOMPARE(loadBee().toImage().convertToFormat(QImage::Format_RGB32),
                 QImage(bee).convertToFormat(QImage::Format_RGB32));
        QVERIFY(damage(twinOf(bee), Damage::Missing));
        QCOMPARE(loadBee().devicePixelRatio(), 1.0);
        QVERIFY(damage(dataFile(data.path(), QStringLiteral("Images\\logo2.jpg")), Damage::Truncated));
        QCOMPARE(runtimeErrorOf([] { (void)LoadPicture(QStringLiteral("Images\\logo2.jpg")); }),
                 int(err::InvalidPicture));
    }
};

QTEST_MAIN(TestScaling)
#include "test_scaling.moc"
