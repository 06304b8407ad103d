// The committed pictures are what the drawing tool draws, the same every time. (Each twin: test_scaling.)
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    // Another JPEG codec or font rasteriser may nudge many pixels slightly; a change to the drawing moves
    // some a lot.
    void toolIsDeterministicAndMatchesCommittedPictures() {
        QTemporaryDir first, second;
        const QString images = QStringLiteral(ZB_IMAGES_DIR);
        for (const QString& dir : {first.path(), second.path()})
            QCOMPARE(QProcess::execute(QStringLiteral(ZB_DRAWIMAGES), {dir}), 0);
        const QStringList made = QDir(first.path()).entryList(QDir::Files);
        QCOMPARE(QDir(images).entryList(QDir::Files), made);
        auto bytes = [](const QString& dir, const QString& f) {
            QFile file(QDir(dir).filePath(f));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        for (const QString& f : made) {
            const QByteArray a = bytes(first.path(), f), committedBytes = bytes(images, f);
            QVERIFY2(!a.isEmpty() && a == bytes(second.path(), f),
                     qPrintable(f + " differs between two runs"));
            const QString stale = f + QStringLiteral(" is stale: cmake --build build --target images");
            const QImage drawn = QImage::fromData(a).convertToFormat(QImage::Format_ARGB32);
            const QImage committed = QImage::fromData(committedBytes).convertToFormat(QImage::Format_ARGB32);
            QVERIFY2(f.endsWith(QLatin1String(".cur")) ? committedBytes == a
                                                       : committed.size() == drawn.size(),
                     qPrintable(stale));
            double total = 0;
            qint64 changed = 0;
            for (int y = 0; y < drawn.height(); ++y)
                for (int x = 0; x < drawn.width(); ++x) {
                    const QRgb p = drawn.pixel(x, y), q = committed.pixel(x, y);
                    const int d[] = {qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)),
                                     qAbs(qBlue(p) - qBlue(q)), qAbs(qAlpha(p) - qAlpha(q))};
                    total += d[0] + d[1] + d[2] + d[3];
                    changed += *std::max_element(d, d + 4) > 40;
                }
            QVERIFY2(total <= 2.0 * drawn.width() * drawn.height() &&
                         changed <= qint64(drawn.width()) * drawn.height() / 20000,
                     qPrintable(stale + QStringLiteral(" (%1 pixels changed)").arg(changed)));
        }
    }
};

QTEST_MAIN(PicturesTest)
#include "pictures_test.moc"
