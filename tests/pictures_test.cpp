// Checks the committed pictures against what the screens need from them:
// sizes, the daisy counts the quadrat captions quote, the cursor file layout,
// the reflex diagram's structures under the screen's labels, and that the
// drawing tool reproduces them exactly.

#include "screens/activities/quadrat_squares.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <vector>

namespace {

const QString kImages = QStringLiteral(ZB_IMAGES_DIR);

QImage load(const QString& name) {
    QImageReader reader(QDir(kImages).filePath(name));
    reader.setAutoTransform(false);
    return reader.read();
}

struct Blob {
    int pixels = 0;
    int x0 = INT_MAX, y0 = INT_MAX, x1 = -1, y1 = -1;
    double sx = 0, sy = 0;
    double cx() const { return sx / pixels; }
    double cy() const { return sy / pixels; }
};

// Bright, 8-connected regions of an image.
std::vector<Blob> brightBlobs(const QImage& source, int threshold) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    std::vector<char> bright(size_t(w) * h), seen(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            bright[size_t(y) * w + x] = qGray(row[x]) >= threshold;
    }
    std::vector<Blob> blobs;
    std::vector<QPoint> stack;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * w + x;
            if (!bright[i] || seen[i]) continue;
            Blob b;
            seen[i] = 1;
            stack.push_back({x, y});
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                ++b.pixels;
                b.sx += p.x() + 0.5;
                b.sy += p.y() + 0.5;
                b.x0 = std::min(b.x0, p.x());
                b.x1 = std::max(b.x1, p.x());
                b.y0 = std::min(b.y0, p.y());
                b.y1 = std::max(b.y1, p.y());
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = p.x() + dx, ny = p.y() + dy;
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                        const size_t j = size_t(ny) * w + nx;
                        if (bright[j] && !seen[j]) {
                            seen[j] = 1;
                            stack.push_back({nx, ny});
                        }
                    }
                }
            }
            blobs.push_back(b);
        }
    }
    return blobs;
}

// Where the quadrat screen puts a square on the field picture, in picture pixels.
QRect squareInField(const QuadratSquare& s, int scale) {
    const int x = int((s.Left - 210.0f) / 15.0f);
    const int y = int((s.Top - 1410.0f) / 15.0f);
    return QRect(x * scale, y * scale, 40 * scale, 40 * scale);
}

double luminance(QRgb c) {
    return 0.2126 * qRed(c) + 0.7152 * qGreen(c) + 0.0722 * qBlue(c);
}

// Mean colour of the 2x2 pixels meeting at a picture point.
QColor around(const QImage& image, QPoint at) {
    int r = 0, g = 0, b = 0;
    for (int dy = -1; dy <= 0; ++dy)
        for (int dx = -1; dx <= 0; ++dx) {
            const QRgb c = image.pixel(at.x() + dx, at.y() + dy);
            r += qRed(c);
            g += qGreen(c);
            b += qBlue(c);
        }
    return QColor(r / 4, g / 4, b / 4);
}

struct Letters {
    std::vector<double> under; // picture luminance under letter pixels, sorted
    int offPicture = 0;        // letter pixels beyond the picture's edges
};

// Where the screen sets `text` in `screenRect` (window pixels, at scale 1) over
// the reflex picture, which sits at (16, 88).
Letters underLetters(const QImage& reflex, int scale, const QFont& font, const QRectF& screenRect, int align,
                     const QString& text) {
    QImage glyphs(QSize(800, 600) * scale, QImage::Format_ARGB32_Premultiplied);
    glyphs.fill(Qt::transparent);
    {
        QPainter p(&glyphs);
        p.scale(scale, scale);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(screenRect, align | Qt::TextWordWrap, text);
    }
    const QPoint origin = QPoint(16, 88) * scale;
    Letters letters;
    for (int y = 0; y < glyphs.height(); ++y)
        for (int x = 0; x < glyphs.width(); ++x) {
            if (qAlpha(glyphs.pixel(x, y)) < 128) continue;
            const QPoint at = QPoint(x, y) - origin;
            if (reflex.rect().contains(at))
                letters.under.push_back(luminance(reflex.pixel(at)));
            else
                ++letters.offPicture;
        }
    std::sort(letters.under.begin(), letters.under.end());
    return letters;
}

quint32 le(const QByteArray& d, int at, int bytes) {
    quint32 v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= quint32(quint8(d[at + i])) << (8 * i);
    return v;
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void everyPictureHasItsSize_data();
    void everyPictureHasItsSize();
    void noStrayFilesInImages();
    void iconsHaveTransparentCorners();
    void fieldDaisiesMatchTheCaptions_data();
    void fieldDaisiesMatchTheCaptions();
    void cursorIsAWindowsCursorWithFingertipHotSpot();
    void reflexStructuresSitUnderTheirLabels();
    void reflexLabelsAreReadable_data();
    void reflexLabelsAreReadable();
    void reflexScoreMessageIsReadable();
    void toolIsDeterministicAndMatchesCommittedPictures();
};

namespace {
struct Expected {
    const char* file;
    QSize size;
    bool twin;
};
const Expected kExpected[] = {
    {"beesm.jpg", {320, 240}, true},
    {"bee.jpg", {800, 600}, true},
    {"logo2.jpg", {100, 139}, true},
    {"exit.jpg", {119, 33}, true},
    {"reflex.jpg", {480, 330}, true},
    {"field.jpg", {401, 401}, true},
    {"titleicon.png", {32, 32}, true},
    {"zestora-biology.png", {256, 256}, false},
    {"zestora-biology-64.png", {64, 64}, false},
};

QString twinName(const QString& file) {
    const int dot = file.lastIndexOf(QLatin1Char('.'));
    return file.left(dot) + QStringLiteral("@2x") + file.mid(dot);
}
} // namespace

void PicturesTest::everyPictureHasItsSize_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("twin");
    for (const Expected& e : kExpected)
        QTest::newRow(e.file) << QString::fromLatin1(e.file) << e.size << e.twin;
}

void PicturesTest::everyPictureHasItsSize() {
    QFETCH(QString, file);
    QFETCH(QSize, size);
    QFETCH(bool, twin);
    const QImage image = load(file);
    QVERIFY2(!image.isNull(), qPrintable(file + QStringLiteral(" does not load")));
    QCOMPARE(image.size(), size);
    if (twin) {
        const QImage big = load(twinName(file));
        QVERIFY2(!big.isNull(), qPrintable(twinName(file) + QStringLiteral(" does not load")));
        QCOMPARE(big.size(), size * 2);
    }
}

void PicturesTest::noStrayFilesInImages() {
    QStringList known{QStringLiteral("H_POINT.cur")};
    for (const Expected& e : kExpected) {
        known << QString::fromLatin1(e.file);
        if (e.twin) known << twinName(QString::fromLatin1(e.file));
    }
    const QStringList present = QDir(kImages).entryList(QDir::Files);
    for (const QString& f : present)
        QVERIFY2(known.contains(f), qPrintable(QStringLiteral("unexpected file in Images: ") + f));
    for (const QString& f : known)
        QVERIFY2(present.contains(f), qPrintable(QStringLiteral("missing from Images: ") + f));
}

void PicturesTest::iconsHaveTransparentCorners() {
    for (const char* name :
         {"titleicon.png", "titleicon@2x.png", "zestora-biology.png", "zestora-biology-64.png"}) {
        const QImage icon = load(QString::fromLatin1(name)).convertToFormat(QImage::Format_ARGB32);
        QVERIFY(icon.hasAlphaChannel());
        const int m = icon.width() - 1;
        for (const QPoint corner : {QPoint(0, 0), QPoint(m, 0), QPoint(0, m), QPoint(m, m)})
            QVERIFY2(qAlpha(icon.pixel(corner)) == 0, name);
        // and something solid in the middle
        int opaque = 0;
        for (int y = 0; y <= m; ++y)
            for (int x = 0; x <= m; ++x)
                opaque += qAlpha(icon.pixel(x, y)) > 128;
        QVERIFY2(opaque > icon.width() * icon.height() / 4, name);
    }
}

void PicturesTest::fieldDaisiesMatchTheCaptions_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("scale");
    QTest::newRow("1x") << QStringLiteral("field.jpg") << 1;
    QTest::newRow("2x") << QStringLiteral("field@2x.jpg") << 2;
}

void PicturesTest::fieldDaisiesMatchTheCaptions() {
    QFETCH(QString, file);
    QFETCH(int, scale);
    const QImage field = load(file);
    QCOMPARE(field.size(), QSize(401, 401) * scale);

    // A daisy is a white dot about 5 px across (some 20 px of area); grass never
    // gets near this brightness, so every bright region has to be one daisy.
    const std::vector<Blob> blobs = brightBlobs(field, 170);
    const int minPixels = 9 * scale * scale;
    const int maxPixels = 40 * scale * scale;
    for (const Blob& b : blobs) {
        QVERIFY2(b.pixels >= minPixels,
                 qPrintable(QStringLiteral("bright speck of %1 px at (%2, %3): grass too light or dot broken")
                                .arg(b.pixels)
                                .arg(b.cx())
                                .arg(b.cy())));
        QVERIFY2(b.pixels <= maxPixels,
                 qPrintable(QStringLiteral("bright patch of %1 px at (%2, %3): daisies merged")
                                .arg(b.pixels)
                                .arg(b.cx())
                                .arg(b.cy())));
        const double diameter = std::max(b.x1 - b.x0 + 1, b.y1 - b.y0 + 1) / double(scale);
        QVERIFY2(diameter >= 3.5 && diameter <= 7.5,
                 qPrintable(QStringLiteral("odd daisy shape at (%1, %2)").arg(b.cx()).arg(b.cy())));
    }
    QCOMPARE(int(blobs.size()), 248);

    int sams = 0, maddys = 0;
    for (const QuadratSquare& s : kQuadratSquares) {
        const QRect sq = squareInField(s, scale);
        // the screen draws a 3 px outline inside the square's bounds
        const QRect inner = sq.adjusted(3 * scale + 1, 3 * scale + 1, -3 * scale - 1, -3 * scale - 1);
        const QRect halo = sq.adjusted(-1, -1, 1, 1);
        for (const Blob& b : blobs) {
            const QRect box(QPoint(b.x0, b.y0), QPoint(b.x1, b.y1));
            const bool inside = inner.contains(box);
            const bool outside = !halo.intersects(box);
            QVERIFY2(inside || outside,
                     qPrintable(QStringLiteral("daisy at (%1, %2) touches the edge of the square at (%3, %4)")
                                    .arg(b.cx())
                                    .arg(b.cy())
                                    .arg(sq.x())
                                    .arg(sq.y())));
            if (inside) (s.sams ? sams : maddys)++;
        }
    }
    QCOMPARE(sams, 5);
    QCOMPARE(maddys, 26);
}

void PicturesTest::cursorIsAWindowsCursorWithFingertipHotSpot() {
    const QString path = QDir(kImages).filePath(QStringLiteral("H_POINT.cur"));
    QImageReader reader(path, "cur");
    const QImage cursor = reader.read().convertToFormat(QImage::Format_ARGB32);
    QVERIFY2(!cursor.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(cursor.size(), QSize(32, 32));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray d = file.readAll();
    QVERIFY(d.size() >= 22 + 40);
    QCOMPARE(le(d, 0, 2), 0u); // reserved
    QCOMPARE(le(d, 2, 2), 2u); // cursor, not icon
    QCOMPARE(le(d, 4, 2), 1u);
    QCOMPARE(le(d, 6, 1), 32u);
    QCOMPARE(le(d, 7, 1), 32u);
    QCOMPARE(le(d, 8, 1), 0u);
    QCOMPARE(le(d, 9, 1), 0u);
    const int hotX = int(le(d, 10, 2));
    const int hotY = int(le(d, 12, 2));
    const quint32 bytes = le(d, 14, 4);
    QCOMPARE(le(d, 18, 4), 22u);
    QCOMPARE(quint32(d.size()), 22 + bytes);
    // BITMAPINFOHEADER: colour rows plus mask rows, 32 bpp, uncompressed
    QCOMPARE(le(d, 22, 4), 40u);
    QCOMPARE(le(d, 26, 4), 32u);
    QCOMPARE(le(d, 30, 4), 64u);
    QCOMPARE(le(d, 34, 2), 1u);
    QCOMPARE(le(d, 36, 2), 32u);
    QCOMPARE(le(d, 38, 4), 0u);
    QCOMPARE(bytes, 40u + 32 * 32 * 4 + 32 * 4);

    // The AND mask agrees with the alpha of the colour rows, both bottom-up.
    const int pixels = 22 + 40;
    const int mask = pixels + 32 * 32 * 4;
    for (int row = 0; row < 32; ++row) {
        for (int x = 0; x < 32; ++x) {
            const int alpha = quint8(d[pixels + (row * 32 + x) * 4 + 3]);
            const bool through = quint8(d[mask + row * 4 + x / 8]) & (0x80 >> (x % 8));
            QVERIFY2(through == (alpha == 0),
                     qPrintable(QStringLiteral("mask bit at %1,%2").arg(x).arg(31 - row)));
            // and Qt decoded the same picture, top row first
            QCOMPARE(qAlpha(cursor.pixel(x, 31 - row)), alpha);
        }
    }

    // The hot spot is the tip of the pointing finger: solid there, nothing
    // above it, and the hand below.
    QVERIFY(hotX >= 0 && hotX < 32 && hotY >= 0 && hotY < 32);
    QVERIFY2(qAlpha(cursor.pixel(hotX, hotY)) == 255, "hot spot is not on the hand");
    for (int y = 0; y < hotY; ++y)
        for (int x = 0; x < 32; ++x)
            QVERIFY2(qAlpha(cursor.pixel(x, y)) == 0, "hand reaches above its hot spot");
    int topmostRow = 0;
    for (int x = 0; x < 32; ++x)
        topmostRow += qAlpha(cursor.pixel(x, hotY)) > 0;
    QVERIFY2(topmostRow <= 6, "hot spot row is wider than a fingertip");
    // a finger runs down from the tip: white inside a black outline
    QVERIFY(qGray(cursor.pixel(hotX, hotY)) < 60);
    QVERIFY(qGray(cursor.pixel(hotX, hotY + 6)) > 200 && qAlpha(cursor.pixel(hotX, hotY + 6)) == 255);
    for (const QPoint corner : {QPoint(0, 0), QPoint(31, 0), QPoint(0, 31), QPoint(31, 31)})
        QCOMPARE(qAlpha(cursor.pixel(corner)), 0);
}

// The reflex screen draws its labels and pointer lines over this picture at
// fixed places; the structures must be at the ends of the lines.
void PicturesTest::reflexStructuresSitUnderTheirLabels() {
    for (const int scale : {1, 2}) {
        const QImage reflex =
            load(scale == 1 ? QStringLiteral("reflex.jpg") : QStringLiteral("reflex@2x.jpg"))
                .convertToFormat(QImage::Format_RGB32);
        QVERIFY(!reflex.isNull());
        const QString where = QStringLiteral(" at %1x").arg(scale);
        // motor neurone (orange) where the line from "motor neurone" ends
        const QColor motor = around(reflex, QPoint(72, 48) * scale);
        QVERIFY2(motor.red() > 200 && motor.green() > 70 && motor.green() < 170 && motor.blue() < 110,
                 qPrintable(QStringLiteral("no motor neurone under (72,48)") + where));
        // the biceps (muscle red) at the end of the "muscle" line
        const QColor muscle = around(reflex, QPoint(152, 96) * scale);
        QVERIFY2(muscle.red() > 180 && muscle.red() - muscle.green() > 60 && muscle.blue() < 150,
                 qPrintable(QStringLiteral("no muscle under (152,96)") + where));
        // the sensory neurone (green) at the top of the "sensory neurone" line
        const QColor sensory = around(reflex, QPoint(184, 168) * scale);
        QVERIFY2(sensory.green() > 160 && sensory.red() < 140 && sensory.blue() < 160,
                 qPrintable(QStringLiteral("no sensory neurone under (184,168)") + where));
        // the pale spinal cord where the blue line points
        const QColor cord = around(reflex, QPoint(16, 184) * scale);
        QVERIFY2(luminance(cord.rgb()) > 200,
                 qPrintable(QStringLiteral("no spinal cord at (16,184)") + where));
        // and the screen colour elsewhere, so the picture blends in
        const QColor corner = around(reflex, QPoint(470, 20) * scale);
        QVERIFY2(qAbs(corner.red() - 39) < 8 && qAbs(corner.green() - 63) < 8 &&
                     qAbs(corner.blue() - 137) < 8,
                 qPrintable(QStringLiteral("background is not the screen colour") + where));
    }
}

void PicturesTest::reflexLabelsAreReadable_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("screenRect"); // inclusive screen pixels
    QTest::addColumn<int>("align");
    QTest::addColumn<bool>("darkText");
    const int centred = Qt::AlignHCenter | Qt::AlignVCenter;
    QTest::newRow("muscle") << "muscle" << QRect(QPoint(238, 170), QPoint(342, 205))
                            << int(Qt::AlignLeft | Qt::AlignVCenter) << false;
    QTest::newRow("spinal cord") << "spinal cord" << QRect(QPoint(50, 248), QPoint(129, 299)) << centred
                                 << true;
    QTest::newRow("hot cooker") << "hot cooker" << QRect(QPoint(344, 280), QPoint(456, 311)) << centred
                                << false;
    QTest::newRow("sensory neurone") << "sensory neurone" << QRect(QPoint(136, 312), QPoint(264, 363))
                                     << centred << false;
}

// Yellow labels need a dark picture under their letters; the blue one a light one.
void PicturesTest::reflexLabelsAreReadable() {
    QFETCH(QString, text);
    QFETCH(QRect, screenRect);
    QFETCH(int, align);
    QFETCH(bool, darkText);
    const QImage reflex = load(QStringLiteral("reflex.jpg")).convertToFormat(QImage::Format_RGB32);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(21);
    font.setBold(true);
    const Letters letters = underLetters(reflex, 1, font, QRectF(screenRect), align, text);
    QVERIFY2(letters.offPicture == 0, "label letters fall outside the picture");
    const std::vector<double>& under = letters.under;
    QVERIFY(under.size() > 100);
    const double worst = darkText ? under[under.size() / 20] : under[under.size() * 19 / 20];
    if (darkText)
        QVERIFY2(worst > 170, qPrintable(QStringLiteral("too dark under the blue letters: %1").arg(worst)));
    else
        QVERIFY2(worst < 90, qPrintable(QStringLiteral("too light under the yellow letters: %1").arg(worst)));
}

// "Check Score" shows its yellow message over the bottom of the picture (a
// transparent label, Times New Roman 24.75 pt, centred along its top edge), so
// every letter on the picture must land on dark background, at both scales.
void PicturesTest::reflexScoreMessageIsReadable() {
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(33);
    const QRectF box(280, 384, 229, 37);
    for (const int scale : {1, 2}) {
        const QImage reflex =
            load(scale == 1 ? QStringLiteral("reflex.jpg") : QStringLiteral("reflex@2x.jpg"))
                .convertToFormat(QImage::Format_RGB32);
        QVERIFY(!reflex.isNull());
        for (const QString& text :
             {QStringLiteral("0 out of 6 correct"), QStringLiteral("6 out of 6 correct")}) {
            // the ends of a long message run onto the screen's own background
            const Letters letters =
                underLetters(reflex, scale, font, box, int(Qt::AlignHCenter | Qt::AlignTop), text);
            const std::vector<double>& under = letters.under;
            QVERIFY(under.size() > size_t(300 * scale * scale));
            QVERIFY2(under.back() < 90, qPrintable(QStringLiteral("light picture under the score message at "
                                                                  "%1x: luminance %2")
                                                       .arg(scale)
                                                       .arg(under.back())));
        }
    }
}

void PicturesTest::toolIsDeterministicAndMatchesCommittedPictures() {
    QTemporaryDir first, second;
    QVERIFY(first.isValid() && second.isValid());
    for (const QString& dir : {first.path(), second.path()}) {
        QProcess tool;
        tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        tool.start(QStringLiteral(ZB_DRAWIMAGES), {dir});
        QVERIFY(tool.waitForFinished(240000));
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QCOMPARE(tool.exitCode(), 0);
    }
    const QStringList made = QDir(first.path()).entryList(QDir::Files);
    QVERIFY(made.contains(QStringLiteral("field.jpg")));
    QCOMPARE(QDir(second.path()).entryList(QDir::Files), made);
    for (const QString& f : made) {
        if (f.endsWith(QLatin1String(".cur"))) {
            QFile a(QDir(first.path()).filePath(f)), b(QDir(second.path()).filePath(f)),
                c(QDir(kImages).filePath(f));
            QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly) &&
                    c.open(QIODevice::ReadOnly));
            const QByteArray bytes = a.readAll();
            QCOMPARE(b.readAll(), bytes);
            QVERIFY2(c.readAll() == bytes, "committed cursor is stale: cmake --build build --target images");
            continue;
        }
        const QImage a = QImage(QDir(first.path()).filePath(f)).convertToFormat(QImage::Format_ARGB32);
        const QImage b = QImage(QDir(second.path()).filePath(f)).convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!a.isNull() && a == b, qPrintable(f + QStringLiteral(" differs between two runs")));

        // The committed copy is what the code draws today. A different JPEG
        // codec or font rasteriser may nudge many pixels slightly; a change to
        // the drawing moves some pixels a lot.
        const QImage committed = load(f).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(committed.size(), a.size());
        double total = 0;
        qint64 changed = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const QRgb p = a.pixel(x, y), q = committed.pixel(x, y);
                const int d[] = {qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)),
                                 qAbs(qBlue(p) - qBlue(q)), qAbs(qAlpha(p) - qAlpha(q))};
                total += d[0] + d[1] + d[2] + d[3];
                changed += *std::max_element(d, d + 4) > 40;
            }
        const double mean = total / (4.0 * a.width() * a.height());
        const qint64 allowed = qint64(a.width()) * a.height() / 20000;
        QVERIFY2(mean < 0.5 && changed <= allowed,
                 qPrintable(f + QStringLiteral(" is stale (mean difference %1, %2 pixels changed): "
                                               "cmake --build build --target images")
                                    .arg(mean)
                                    .arg(changed)));
    }
}

QTEST_MAIN(PicturesTest)
#include "pictures_test.moc"
