// A large board: the program works out the factor that fills the display it runs on. CTest runs this test on
// displays configured for the offscreen platform, with the program's options in ZB_FIT_ARGS and the factor
// and display a user would then see in ZB_EXPECT_FACTOR and ZB_EXPECT_SCREEN.
#include "damage.h"
#include "displayfit.h"
#include "registry.h"
#include "support/testsupport.h"
#include "tour.h"

#include <QtTest>

#include <cmath>

using namespace vb;
using namespace testsupport;

namespace {

// The picture drawn at `scale` times its size.
QString drawnAt(const QString& file, int scale) {
    const QFileInfo info(file);
    return scale == 1 ? file
                      : info.path() + QLatin1Char('/') + info.completeBaseName() +
                            QStringLiteral("@%1x.").arg(scale) + info.suffix();
}

// Mean difference per channel between two pictures of one size.
double difference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            sum +=
                std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

struct Shown {
    QString what;
    QRect area;      // in the window, logical pixels
    QPoint from;     // the part of the picture shown there, from this point of it (logical pixels)
    QString file;    // the picture's own file
    QRegion covered; // where other controls lie over it, in the window
};

// Every picture a screen shows at its own size: the screen's background, pictures and picture boxes.
QList<Shown> picturesOn(Form& f) {
    QList<Shown> shown;
    QWidget* window = f.hWnd();
    auto add = [&](const QString& what, const Picture& p, QWidget* on) {
        if (p.isEmpty()) return;
        const QPoint at = on->mapTo(window, QPoint(0, 0));
        const QRect area =
            QRect(at, p.pixmap().deviceIndependentSize().toSize()) & QRect(at, on->size()) & window->rect();
        if (area.width() < 8 || area.height() < 8) return;
        QRegion covered;
        for (Control* c : f.controls())
            if (c != on && !c->isAncestorOf(on) && c->isVisibleTo(window))
                covered += QRect(c->mapTo(window, QPoint(0, 0)), c->size());
        shown << Shown{what, area, area.topLeft() - at, resolveDataPath(p.path()), covered};
    };
    add(QStringLiteral("background"), f.Picture(), window);
    for (Control* c : f.controls()) {
        if (!c->isVisibleTo(window)) continue;
        if (auto* image = qobject_cast<Image*>(c); image && !image->Stretch())
            add(c->objectName(), image->Picture(), c);
        if (auto* box = qobject_cast<PictureBox*>(c)) add(c->objectName(), box->Picture(), c);
    }
    return shown;
}

} // namespace

class TestScaling : public QObject {
    Q_OBJECT

    qreal m_scale = 1;
    int m_drawing = 1; // the picture size that serves m_scale

    // A window's place and size on its display, in the display's device pixels.
    static QRectF onDisplay(QWidget* w) {
        QScreen* d = Runtime::display();
        return QRectF(QPointF(w->geometry().topLeft() - d->geometry().topLeft()) * d->devicePixelRatio(),
                      QSizeF(w->size()) * d->devicePixelRatio());
    }

private slots:
    void initTestCase() {
        m_scale = qEnvironmentVariable("ZB_EXPECT_FACTOR", QStringLiteral("1")).toDouble();
        m_drawing = int(std::ceil(m_scale - 1e-6));
        QCOMPARE(Runtime::display()->devicePixelRatio(), m_scale);
        QCOMPARE(Runtime::display()->name(),
                 qEnvironmentVariable("ZB_EXPECT_SCREEN", QGuiApplication::primaryScreen()->name()));
    }
    void init() {
        freshRuntime();
        recordDesktop();
    }
    void cleanup() { freshRuntime(); }

    void theFactorFillsTheDisplay_data() {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<double>("factor");
        QTest::newRow("1024 x 768") << QSize(1024, 768) << 1.0;
        QTest::newRow("1200 x 900") << QSize(1200, 900) << 1.5;
        QTest::newRow("1920 x 1080") << QSize(1920, 1080) << 1.8;
        QTest::newRow("1920 x 1200") << QSize(1920, 1200) << 2.0;
        QTest::newRow("upright 1080 x 1920") << QSize(1080, 1920) << 1.0;
        QTest::newRow("3840 x 2160") << QSize(3840, 2160) << 3.6;
    }
    void theFactorFillsTheDisplay() {
        QFETCH(QSize, display);
        QFETCH(double, factor);
        QCOMPARE(displayfit::fitFactor(display), factor);
    }

    // The screens centred at the factor; the backdrop over every pixel of the display, and at most one more.
    void windowsSitOnTheDisplay_data() {
        QTest::addColumn<QString>("screen");
        for (const char* name : {"intro0", "Grey", "Titlefrm", "notepad"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void windowsSitOnTheDisplay() {
        QFETCH(QString, screen);
        Form* f = screenByName(screen);
        Runtime::dispatch([f] { f->Show(); });
        const QSizeF display = displayfit::deviceSize(Runtime::display());
        const QRectF at = onDisplay(f->hWnd());
        if (screen == QLatin1String("Grey")) {
            QVERIFY(at.left() <= 0 && at.top() <= 0 && qRound(at.width()) <= display.width() + 1);
            QVERIFY(at.right() >= display.width() - 0.01 && at.bottom() >= display.height() - 0.01);
            return;
        }
        const QSizeF design =
            QSizeF(twipsToPixels(f->ScaleWidth()), twipsToPixels(f->ScaleHeight())) * m_scale;
        const QRectF free = QRectF(QPointF(), display);
        if (f->Decorated()) { // a titled window stays whole on the display, and the Jotter in either shape
            QVERIFY(free.contains(onDisplay(f->hWnd())));
            if (screen == QLatin1String("notepad")) click(*f->findControl(QStringLiteral("Command3")));
            QVERIFY(free.contains(onDisplay(f->hWnd())));
            return;
        }
        QVERIFY(std::abs(at.width() - design.width()) <= 1 && std::abs(at.height() - design.height()) <= 1);
        // Qt places a window on whole device pixels.
        QVERIFY(std::abs(qRound(at.left()) - (display.width() - at.width()) / 2) <= 1);
        QVERIFY(std::abs(qRound(at.top()) - (display.height() - at.height()) / 2) <= 1);
    }

    // Each picture comes from the drawing nearest at or above the factor, brought to the display's pixels.
    void picturesComeFromTheNearestDrawing_data() {
        QTest::addColumn<QString>("picture");
        for (const tour::PictureUse& p : tour::kPictures)
            QTest::newRow(p.file) << QString::fromLatin1(p.file);
    }
    void picturesComeFromTheNearestDrawing() {
        QFETCH(QString, picture);
        const QString file = resolveDataPath(picture);
        const QPixmap shown = LoadPicture(picture).pixmap();
        QCOMPARE(shown.deviceIndependentSize().toSize(), QImage(file).size());
        int nearest = 0;
        double least = 1e9;
        for (int scale = 1; QFile::exists(drawnAt(file, scale)); ++scale) {
            const double d = difference(
                shown.toImage(), QImage(drawnAt(file, scale))
                                     .scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            if (d < least) std::tie(nearest, least) = std::tuple(scale, d);
        }
        QCOMPARE(nearest, QFile::exists(drawnAt(file, m_drawing)) ? m_drawing : 1);
    }

    // A drawing is an extra: without it, or with a broken one, the next larger serves, then the picture
    // itself; but a broken picture is reported whatever its drawings.
    void aBrokenDrawingFallsBackAndABrokenPictureIsStillReported() {
        if (m_drawing < 2) QSKIP("at this factor the picture itself is shown");
        QTemporaryDir data;
        QVERIFY(copyProgramData(DataDir(), data.path()));
        setDataDir(data.path());
        const QString bee = dataFile(data.path(), QStringLiteral("Images\\bee.jpg"));
        auto loadBee = [] {
            clearPictureCache();
            return LoadPicture(QStringLiteral("Images\\bee.jpg")).pixmap().toImage();
        };
        for (int scale = m_drawing; scale <= 5; ++scale) {
            const QString next = QFile::exists(drawnAt(bee, scale + 1)) ? drawnAt(bee, scale + 1) : bee;
            QVERIFY(damage(drawnAt(bee, scale), scale % 2 ? Damage::Missing : Damage::Truncated));
            const QImage shown = loadBee();
            QVERIFY(difference(shown, QImage(next).scaled(shown.size(), Qt::IgnoreAspectRatio,
                                                          Qt::SmoothTransformation)) < 0.01);
            if (next == bee) break;
        }
        QVERIFY(damage(dataFile(data.path(), QStringLiteral("Images\\logo2.jpg")), Damage::Truncated));
        QCOMPARE(runtimeErrorOf([] { (void)LoadPicture(QStringLiteral("Images\\logo2.jpg")); }),
                 int(err::InvalidPicture));
    }

    void screensShowPicturesSharp_data() {
        QTest::addColumn<QString>("screen");
        for (const ScreenInfo& s : allScreens())
            QTest::newRow(qPrintable(s.name)) << s.name;
    }
    void screensShowPicturesSharp() {
        QFETCH(QString, screen);
        Form* f = screenByName(screen);
        Runtime::dispatch([f] { f->Show(); });
        QVERIFY(!Runtime::ended());
        const QList<Shown> shown = picturesOn(*f);
        if (shown.isEmpty() || m_drawing < 2) QSKIP("this screen shows no picture drawn larger");
        const QImage grab = f->hWnd()->grab().toImage();
        for (const Shown& s : shown) {
            const QRect device(QPoint(qRound(s.area.x() * m_scale), qRound(s.area.y() * m_scale)),
                               (QSizeF(s.area.size()) * m_scale).toSize());
            const QImage onScreen = grab.copy(device).convertToFormat(QImage::Format_RGB32);
            // The mean difference per channel from `picture` at the screen's size, only where nothing else of
            // the screen lies over it.
            int counted = 0;
            auto from = [&](const QImage& picture) {
                const QImage p =
                    picture.scaled(device.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                        .convertToFormat(QImage::Format_RGB32);
                double sum = 0;
                counted = 0;
                for (int row = 0; row < p.height(); ++row)
                    for (int col = 0; col < p.width(); ++col) {
                        if (s.covered.contains(
                                QPoint(int((device.x() + col) / m_scale), int((device.y() + row) / m_scale))))
                            continue;
                        const QRgb a = onScreen.pixel(col, row), b = p.pixel(col, row);
                        ++counted;
                        sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                               std::abs(qBlue(a) - qBlue(b));
                    }
                return sum / (3.0 * counted);
            };
            const double sharp = from(QImage(drawnAt(s.file, m_drawing))
                                          .copy(QRect(s.from * m_drawing, s.area.size() * m_drawing)));
            const double blown = from(QImage(s.file).copy(QRect(s.from, s.area.size())));
            const QString at = s.what + QStringLiteral(" of ") + screen;
            QVERIFY2(counted > 2000, qPrintable(at + QStringLiteral(" is hardly to be seen")));
            QVERIFY2(
                sharp < blown * 0.6,
                qPrintable(at + QStringLiteral(": %1 from the twin, %2 blown up").arg(sharp).arg(blown)));
        }
    }

    // The screenshot tool draws at the scale it is given, through the same twins.
    void theScreenshotToolDrawsAtItsScale() {
        QTemporaryDir out;
        QProcess tool;
        tool.start(QStringLiteral(ZB_SCREENSHOT), {QStringLiteral("--scale"), QString::number(m_scale),
                                                   out.path(), QString::fromLatin1(tour::kFirstScreen)});
        QVERIFY(tool.waitForFinished(60000));
        QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());
        const QImage shot(out.filePath(QString::fromLatin1(tour::kFirstScreen) + QStringLiteral(".png")));
        Form* title = screenByName(QString::fromLatin1(tour::kFirstScreen));
        Runtime::dispatch([title] { title->Show(); });
        QCOMPARE(shot.size(), (QSizeF(title->hWnd()->size()) * m_scale).toSize());
    }
};

int main(int argc, char** argv) {
    // The program's own start, on the display and with the options CTest gives.
    QByteArrayList args = qgetenv("ZB_FIT_ARGS").split(' ');
    args.prepend("zestora-biology");
    std::vector<char*> argp;
    for (QByteArray& a : args)
        if (!a.isEmpty()) argp.push_back(a.data());
    const displayfit::Options options = displayfit::parse(int(argp.size()), argp.data());
    displayfit::prepare(options);
    QApplication app(argc, argv);
    if (const QString error = displayfit::apply(options); !error.isEmpty()) qFatal("%s", qPrintable(error));
    TestScaling test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_scaling.moc"
