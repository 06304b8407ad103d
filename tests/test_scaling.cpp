// A large board runs the 800 x 600 screens at Qt's scale factor (QT_SCALE_FACTOR, set by CTest to 1.5 and to
// 2 for two runs of this test). Pictures then come from their twins drawn at twice the size, and the screens
// show them sharp: closer to the twin than to the ordinary picture blown up.
#include "damage.h"
#include "registry.h"
#include "support/testsupport.h"
#include "tour.h"

#include <QtTest>

#include <cmath>

using namespace vb;
using namespace testsupport;

namespace {

QString twinOf(const QString& file) {
    const QFileInfo info(file);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral("@2x.") + info.suffix();
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
        if (shown.isEmpty()) QSKIP("this screen shows no picture of its own");
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
            const double sharp = from(QImage(twinOf(s.file)).copy(QRect(s.from * 2, s.area.size() * 2)));
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

QTEST_MAIN(TestScaling)
#include "test_scaling.moc"
