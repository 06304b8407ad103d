// The committed pictures against what the screens need from them: the daisy counts the quadrat captions
// quote, the cursor, the reflex diagram under the screen's labels, icons, and that the drawing tool
// reproduces them. (That each twin is twice its picture: test_scaling.)
#include "screens/activities/quadrat_squares.h"

#include <QDir>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <vector>

namespace {

const QString kImages = QStringLiteral(ZB_IMAGES_DIR);

// `name` itself at scale 1, its twin NAME@2x at scale 2.
QImage load(QString name, int scale = 1) {
    if (scale == 2) name.insert(name.lastIndexOf(QLatin1Char('.')), QStringLiteral("@2x"));
    QImageReader reader(QDir(kImages).filePath(name));
    reader.setAutoTransform(false);
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

double luminance(QRgb c) {
    return 0.2126 * qRed(c) + 0.7152 * qGreen(c) + 0.0722 * qBlue(c);
}

struct Blob {
    int pixels = 0;
    QRect box;
};

// Bright, 8-connected regions of an image.
std::vector<Blob> brightBlobs(const QImage& image, int threshold) {
    const int w = image.width(), h = image.height();
    std::vector<char> todo(size_t(w) * h);
    for (int i = 0; i < w * h; ++i)
        todo[size_t(i)] = qGray(image.pixel(i % w, i / w)) >= threshold;
    std::vector<Blob> blobs;
    std::vector<QPoint> stack;
    auto take = [&](QPoint p) {
        if (p.x() < 0 || p.y() < 0 || p.x() >= w || p.y() >= h || !todo[size_t(p.y()) * w + p.x()]) return;
        todo[size_t(p.y()) * w + p.x()] = 0;
        stack.push_back(p);
    };
    for (int i = 0; i < w * h; ++i) {
        if (!todo[size_t(i)]) continue;
        Blob b;
        take({i % w, i / w});
        while (!stack.empty()) {
            const QPoint p = stack.back();
            stack.pop_back();
            ++b.pixels;
            b.box |= QRect(p, QSize(1, 1));
            for (int d = 0; d < 9; ++d)
                take(p + QPoint(d % 3 - 1, d / 3 - 1));
        }
        blobs.push_back(b);
    }
    return blobs;
}

QByteArray where(QPoint p) {
    return QStringLiteral(" at (%1, %2)").arg(p.x()).arg(p.y()).toLatin1();
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 le(const QByteArray& d, int at, int bytes) {
    quint32 v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= quint32(quint8(d[at + i])) << (8 * i);
    return v;
}

void addScales() {
    QTest::addColumn<int>("scale");
    QTest::newRow("1x") << 1;
    QTest::newRow("2x") << 2;
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    // An icon with a square background would show on the desktop.
    void iconsHaveTransparentCornersAroundASolidMiddle() {
        const QStringList icons = QDir(kImages).entryList({QStringLiteral("*.png")}, QDir::Files);
        QVERIFY(icons.size() >= 3);
        for (const QString& name : icons) {
            const QImage image = load(name);
            const int m = image.width() - 1;
            int opaque = 0;
            for (int y = 0; y <= m; ++y)
                for (int x = 0; x <= m; ++x)
                    opaque += qAlpha(image.pixel(x, y)) > 128;
            for (const QPoint corner : {QPoint(0, 0), QPoint(m, 0), QPoint(0, m), QPoint(m, m)})
                QVERIFY2(qAlpha(image.pixel(corner)) == 0, qPrintable(name));
            QVERIFY2(opaque > image.width() * image.height() / 4, qPrintable(name));
        }
    }

    void fieldDaisiesMatchTheCaptions_data() { addScales(); }
    void fieldDaisiesMatchTheCaptions() {
        QFETCH(int, scale);
        const QImage field = load(QStringLiteral("field.jpg"), scale);
        // A daisy is a white dot about 5 px across; grass never gets near its brightness, so every bright
        // region has to be one whole daisy.
        const std::vector<Blob> blobs = brightBlobs(field, 170);
        for (const Blob& b : blobs) {
            const QByteArray at = QByteArray::number(b.pixels) + " bright px" + where(b.box.center());
            QVERIFY2(b.pixels >= 9 * scale * scale && b.pixels <= 40 * scale * scale, at.constData());
            const double diameter = std::max(b.box.width(), b.box.height()) / double(scale);
            QVERIFY2(diameter >= 3.5 && diameter <= 7.5, at.constData());
        }
        QCOMPARE(int(blobs.size()), 248);

        // Counted inside each square (within the screen's 3 px outline); none may touch an edge.
        int sams = 0, maddys = 0;
        for (const QuadratSquare& s : kQuadratSquares) {
            const QRect sq(QPoint(int((s.Left - 210.0f) / 15.0f), int((s.Top - 1410.0f) / 15.0f)) * scale,
                           QSize(40, 40) * scale);
            const QRect inner = sq.adjusted(3 * scale + 1, 3 * scale + 1, -3 * scale - 1, -3 * scale - 1);
            for (const Blob& b : blobs) {
                const bool inside = inner.contains(b.box);
                QVERIFY2(inside || !sq.adjusted(-1, -1, 1, 1).intersects(b.box),
                         ("a daisy touches the edge of the square" + where(sq.topLeft())).constData());
                if (inside) (s.sams ? sams : maddys)++;
            }
        }
        QCOMPARE(sams, 5);
        QCOMPARE(maddys, 26);
    }

    void cursorIsAWindowsCursorWithFingertipHotSpot() {
        const QString path = QDir(kImages).filePath(QStringLiteral("H_POINT.cur"));
        const QImage cursor = QImageReader(path, "cur").read().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(cursor.size(), QSize(32, 32));
        const QByteArray d = readAll(path);
        const int pixels = 22 + 40, mask = pixels + 32 * 32 * 4;
        QCOMPARE(d.size(), mask + 32 * 4);
        // A cursor, not an icon, with one 32 bpp bitmap right after the directory.
        QCOMPARE(QList<quint32>({le(d, 2, 2), le(d, 18, 4), le(d, 22, 4), le(d, 36, 2)}),
                 QList<quint32>({2, 22, 40, 32}));
        // The AND mask agrees with the alpha of the colour rows (both bottom-up), and Qt decoded the same.
        for (int row = 0; row < 32; ++row)
            for (int x = 0; x < 32; ++x) {
                const int alpha = quint8(d[pixels + (row * 32 + x) * 4 + 3]);
                const bool through = quint8(d[mask + row * 4 + x / 8]) & (0x80 >> (x % 8));
                QVERIFY2(through == (alpha == 0), ("mask" + where(QPoint(x, 31 - row))).constData());
                QCOMPARE(qAlpha(cursor.pixel(x, 31 - row)), alpha);
            }
        // The hot spot is the tip of the pointing finger: solid there, nothing above it.
        const int hotX = int(le(d, 10, 2)), hotY = int(le(d, 12, 2));
        QVERIFY2(qAlpha(cursor.pixel(hotX, hotY)) == 255, "hot spot is not on the hand");
        for (int y = 0; y < hotY; ++y)
            for (int x = 0; x < 32; ++x)
                QVERIFY2(qAlpha(cursor.pixel(x, y)) == 0, "hand above its hot spot");
        for (const QPoint corner : {QPoint(0, 0), QPoint(31, 0), QPoint(0, 31), QPoint(31, 31)})
            QCOMPARE(qAlpha(cursor.pixel(corner)), 0);
    }

    // The reflex screen draws its pointer lines over the picture at fixed places; the structures must be at
    // their ends, and the rest of the picture the screen's own blue so that it blends in.
    void reflexStructuresSitUnderTheirLabels_data() { addScales(); }
    void reflexStructuresSitUnderTheirLabels() {
        QFETCH(int, scale);
        const QImage reflex = load(QStringLiteral("reflex.jpg"), scale);
        auto around = [&](int x, int y) { // the mean of the 2x2 pixels meeting at a point
            int r = 0, g = 0, b = 0;
            for (const QPoint d : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
                const QRgb c = reflex.pixel(QPoint(x, y) * scale - d);
                r += qRed(c), g += qGreen(c), b += qBlue(c);
            }
            return QColor(r / 4, g / 4, b / 4);
        };
        const QColor motor = around(72, 48), muscle = around(152, 96), sensory = around(184, 168);
        QVERIFY2(motor.red() > 200 && motor.green() > 70 && motor.green() < 170 && motor.blue() < 110,
                 "motor");
        QVERIFY2(muscle.red() > 180 && muscle.red() - muscle.green() > 60 && muscle.blue() < 150, "muscle");
        QVERIFY2(sensory.green() > 160 && sensory.red() < 140 && sensory.blue() < 160, "sensory neurone");
        QVERIFY2(luminance(around(16, 184).rgb()) > 200, "no pale spinal cord");
        const QColor blue = around(470, 20);
        QVERIFY2(qAbs(blue.red() - 39) < 8 && qAbs(blue.green() - 63) < 8 && qAbs(blue.blue() - 137) < 8,
                 "background is not the screen colour");
    }

    // The yellow labels and score message need dark picture under their letters, the blue label a light one.
    void reflexLegendsAreReadable_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRectF>("box"); // window pixels at scale 1
        QTest::addColumn<int>("align");
        QTest::addColumn<int>("scale");
        QTest::addColumn<bool>("darkText");
        const int centred = Qt::AlignHCenter | Qt::AlignVCenter;
        auto label = [](const char* text, QRectF box, int align, bool dark) {
            QTest::newRow(text) << QString::fromLatin1(text) << box << align << 1 << dark;
        };
        label("muscle", {238, 170, 105, 36}, Qt::AlignLeft | Qt::AlignVCenter, false);
        label("spinal cord", {50, 248, 80, 52}, centred, true);
        label("hot cooker", {344, 280, 113, 32}, centred, false);
        label("sensory neurone", {136, 312, 129, 52}, centred, false);
        for (const int scale : {1, 2})
            for (const char* text : {"0 out of 6 correct", "6 out of 6 correct"})
                QTest::addRow("%s at %dx", text, scale)
                    << QString::fromLatin1(text) << QRectF(280, 384, 229, 37)
                    << int(Qt::AlignHCenter | Qt::AlignTop) << scale << false;
    }
    void reflexLegendsAreReadable() {
        QFETCH(QString, text);
        QFETCH(QRectF, box);
        QFETCH(int, align);
        QFETCH(int, scale);
        QFETCH(bool, darkText);
        const bool score = text.endsWith(QLatin1String("correct"));
        const QImage reflex = load(QStringLiteral("reflex.jpg"), scale);
        QFont font(score ? QStringLiteral("Liberation Serif") : QStringLiteral("Liberation Sans"));
        font.setPixelSize(score ? 33 : 21);
        font.setBold(!score);
        QImage glyphs(QSize(800, 600) * scale, QImage::Format_ARGB32_Premultiplied);
        glyphs.fill(Qt::transparent);
        QPainter p(&glyphs);
        p.scale(scale, scale);
        p.setFont(font);
        p.drawText(box, align | Qt::TextWordWrap, text);
        p.end();
        // The luminance under the letters, sorted, on the screen where the picture sits at (16, 88).
        std::vector<double> under;
        int offPicture = 0;
        for (int y = 0; y < glyphs.height(); ++y)
            for (int x = 0; x < glyphs.width(); ++x) {
                const QPoint at = QPoint(x, y) - QPoint(16, 88) * scale;
                if (qAlpha(glyphs.pixel(x, y)) < 128) continue;
                if (reflex.rect().contains(at))
                    under.push_back(luminance(reflex.pixel(at)));
                else
                    ++offPicture;
            }
        std::sort(under.begin(), under.end());
        // Only the ends of a long score message may run onto the screen's own background.
        QVERIFY2(score || offPicture == 0, "letters fall outside the picture");
        QVERIFY(under.size() > size_t((score ? 300 : 100) * scale * scale));
        // A label may have a twentieth of its letters (their antialiased edges) on the wrong shade.
        const size_t n = under.size();
        const double worst = darkText ? under[n / 20] : score ? under.back() : under[n * 19 / 20];
        QVERIFY2(darkText ? worst > 170 : worst < 90, qPrintable(QStringLiteral("luminance %1").arg(worst)));
    }

    // The tool draws the same files twice over, and the committed ones are exactly what it draws today. A
    // different JPEG codec or font rasteriser may nudge many pixels slightly; a change to the drawing moves
    // some a lot.
    void toolIsDeterministicAndMatchesCommittedPictures() {
        QTemporaryDir first, second;
        for (const QString& dir : {first.path(), second.path()}) {
            QProcess tool;
            tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            tool.start(QStringLiteral(ZB_DRAWIMAGES), {dir});
            QVERIFY(tool.waitForFinished(240000) && tool.exitStatus() == QProcess::NormalExit &&
                    tool.exitCode() == 0);
        }
        const QStringList made = QDir(first.path()).entryList(QDir::Files);
        QCOMPARE(QDir(second.path()).entryList(QDir::Files), made);
        QCOMPARE(QDir(kImages).entryList(QDir::Files), made);
        auto bytes = [](const QString& dir, const QString& f) { return readAll(QDir(dir).filePath(f)); };
        for (const QString& f : made) {
            const QByteArray a = bytes(first.path(), f);
            QVERIFY2(!a.isEmpty() && a == bytes(second.path(), f),
                     qPrintable(f + " differs between two runs"));
            const QString stale = f + QStringLiteral(" is stale: cmake --build build --target images");
            if (f.endsWith(QLatin1String(".cur"))) {
                QVERIFY2(bytes(kImages, f) == a, qPrintable(stale));
                continue;
            }
            const QImage drawn = QImage::fromData(a).convertToFormat(QImage::Format_ARGB32);
            const QImage committed = load(f);
            QCOMPARE(committed.size(), drawn.size());
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
            const double mean = total / (4.0 * drawn.width() * drawn.height());
            QVERIFY2(mean < 0.5 && changed <= qint64(drawn.width()) * drawn.height() / 20000,
                     qPrintable(
                         stale +
                         QStringLiteral(" (mean difference %1, %2 pixels changed)").arg(mean).arg(changed)));
        }
    }
};

QTEST_MAIN(PicturesTest)
#include "pictures_test.moc"
