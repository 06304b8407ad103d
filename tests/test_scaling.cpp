// A large board: the program works out the factor that fills the display it runs on. CTest runs this test on
// displays configured for the offscreen platform, with the program's options in ZB_FIT_ARGS and the factor
// and display a user would then see in ZB_EXPECT_FACTOR and ZB_EXPECT_SCREEN.
#include "damage.h"
#include "displayfit.h"
#include "formwindow.h"
#include "notepad.h"
#include "registry.h"
#include "support/testsupport.h"
#include "tour.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetricsF>
#include <QJsonArray>
#include <QJsonObject>
#include <QtTest>
#include <qpa/qplatformnativeinterface.h>

#include <cmath>

using namespace vb;
using namespace testsupport;

namespace {

// The picture drawn at `scale` times its size.
QString drawnAt(const QString& file, int scale) {
    return scale == 1 ? file
                      : QString(file).insert(file.lastIndexOf(u'.'), QStringLiteral("@%1x").arg(scale));
}

// Mean difference per channel between two pictures, the second brought to the first's size.
double difference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32),
                 y = b.scaled(a.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            sum +=
                std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

} // namespace

class TestScaling : public QObject {
    Q_OBJECT
    friend int main(int, char**);

    qreal m_scale = 1;
    commandline::Options m_options;

    // Content screens centred at the factor; the backdrop over every pixel of the display, and at most one
    // more; a titled window whole on the display.
    static void sitsOnTheDisplay(Form* f, qreal scale) {
        QScreen* d = Runtime::display();
        const QRectF display(QPointF(), Runtime::deviceSize(d));
        const QWidget* w = f->hWnd();
        const QRectF r(QPointF(w->geometry().topLeft() - d->geometry().topLeft()) * scale,
                       QSizeF(w->size()) * scale);
        const QByteArray at = f->Name().toLatin1();
        if (f->StaysAtBottom()) {
            QVERIFY2(r.left() <= 0 && r.top() <= 0 && qRound(r.width()) <= display.width() + 1,
                     at.constData());
            QVERIFY2(r.right() >= display.width() - 0.01 && r.bottom() >= display.height() - 0.01,
                     at.constData());
        } else if (f->Decorated()) {
            QVERIFY2(display.contains(r), at.constData());
        } else { // Qt places a window on whole device pixels
            const QSizeF design =
                QSizeF(twipsToPixels(f->ScaleWidth()), twipsToPixels(f->ScaleHeight())) * scale;
            QVERIFY2(std::abs(r.width() - design.width()) <= 1 && std::abs(r.height() - design.height()) <= 1,
                     at.constData());
            QVERIFY2(std::abs(qRound(r.left()) - (display.width() - r.width()) / 2) <= 1, at.constData());
            QVERIFY2(std::abs(qRound(r.top()) - (display.height() - r.height()) / 2) <= 1, at.constData());
        }
    }
    int m_drawing = 1; // the picture size that serves m_scale

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
        QTest::newRow("1200 x 900") << QSize(1200, 900) << 1.5;
        QTest::newRow("1920 x 1200") << QSize(1920, 1200) << 2.0;
        QTest::newRow("upright 1080 x 1920") << QSize(1080, 1920) << 1.0;
    }
    void theFactorFillsTheDisplay() {
        QFETCH(QSize, display);
        QFETCH(double, factor);
        QCOMPARE(displayfit::fitFactor(display), factor);
    }

    // The screens centred at the factor; the backdrop over every pixel of the display, and at most one more;
    // a titled window, the Jotter in either shape, whole on the display.
    void windowsSitOnTheDisplay_data() {
        QTest::addColumn<QString>("screen");
        for (const char* name : {"intro0", "Grey", "Titlefrm", "notepad"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void windowsSitOnTheDisplay() {
        QFETCH(QString, screen);
        Form* f = screenByName(screen);
        Runtime::dispatch([f] { f->Show(); });
        sitsOnTheDisplay(f, m_scale);
        if (screen == QLatin1String("notepad")) {
            click(*f->findControl(QStringLiteral("Command3")));
            sitsOnTheDisplay(f, m_scale);
        }
    }

    // Windows hold their pictures shown or hidden: through screens opened and left, those kept stay within
    // their bound, and a screen left still leaves its window for the next.
    void keptWindowsStayWithinTheirBound() {
        const auto held = [] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QSet<QWidget*> all;
            qint64 bytes = 0;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (qobject_cast<FormWindow*>(w)) {
                    all.insert(w);
                    const QSize px = w->size() * w->devicePixelRatio();
                    bytes += qint64(px.width()) * px.height() * 4;
                }
            return std::pair(all, bytes);
        };
        QSet<Form*> left; // which know their windows' flags
        for (const char* step :
             {"intro0", "Grey", "-Grey", "menu1", "quadrat", "-quadrat", "-menu1", "menu1", "quadrat"}) {
            const QSet<QWidget*> before = held().first;
            Form* f = screenByName(QLatin1String(step + (*step == '-')));
            if (*step == '-') {
                f->Unload();
                left.insert(f);
            } else {
                Runtime::dispatch([f] { f->Show(); });
                QTest::qWait(1); // the window made ready once a screen is painted
                QVERIFY2(!left.contains(f) || before.contains(f->hWnd()), step);
            }
            QVERIFY2(held().second <= FormWindow::kHeldBytes, step);
        }
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
        for (int scale = 1; QFile::exists(drawnAt(file, scale)); ++scale)
            if (const double d = difference(shown.toImage(), QImage(drawnAt(file, scale))); d < least)
                std::tie(nearest, least) = std::tuple(scale, d);
        QCOMPARE(nearest, QFile::exists(drawnAt(file, m_drawing)) ? m_drawing : 1);
    }

    // A drawing is an extra: without it, or with a broken one, the next larger serves, then the picture
    // itself.
    void aBrokenDrawingFallsBack() {
        if (m_drawing < 2) QSKIP("at this factor the picture itself is shown");
        QTemporaryDir data;
        QVERIFY(copyProgramData(DataDir(), data.path()));
        setDataDir(data.path());
        const QString bee = dataFile(data.path(), QStringLiteral("Images\\bee.jpg"));
        for (int scale = m_drawing; scale <= 5; ++scale) {
            const QString next = QFile::exists(drawnAt(bee, scale + 1)) ? drawnAt(bee, scale + 1) : bee;
            QVERIFY(damage(drawnAt(bee, scale), scale % 2 ? Damage::Missing : Damage::Truncated));
            clearPictureCache();
            QVERIFY(difference(LoadPicture(QStringLiteral("Images\\bee.jpg")).pixmap().toImage(),
                               QImage(next)) < 0.01);
            if (next == bee) break;
        }
    }

    // No clipped text on the board: every caption, on labels and buttons, fits its box in the font it is
    // drawn with.
    void everyLabelOfEveryScreenFits_data() {
        QTest::addColumn<QString>("screen");
        for (const ScreenInfo& s : allScreens())
            QTest::newRow(qPrintable(s.name)) << s.name;
    }
    void everyLabelOfEveryScreenFits() {
        QFETCH(QString, screen);
        Form* f = screenByName(screen);
        Runtime::dispatch([f] { f->Show(); });
        QVERIFY2(!Runtime::ended(), "the screen failed to load");
        int captions = 0;
        for (Control* c : f->controls()) {
            auto* b = qobject_cast<CommandButton*>(c);
            auto* l = qobject_cast<Label*>(c);
            const QString caption = b ? b->Caption() : l ? l->Caption() : QString();
            if (caption.isEmpty()) continue;
            ++captions;
            bool fits = b || l->captionFits();
            if (b) { // drawn centred and word-wrapped inside the button's raised edge
                const QRectF inner = QRectF(b->rect()).adjusted(2, 2, -2, -2);
                const QFontMetricsF fm(resolveFont(b->Font()));
                for (const QString& w : caption.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                    fits = fits && fm.horizontalAdvance(w) <= inner.width();
                fits = fits && fm.boundingRect(inner, Qt::AlignCenter | Qt::TextWordWrap, caption).height() <=
                                   inner.height();
            }
            QVERIFY2(fits, qPrintable(QStringLiteral("%1(%2) does not fit ").arg(c->Name()).arg(c->Index()) +
                                      caption));
        }
        // Only the backdrop is a screen without text; any other screen without captions failed to build them.
        QCOMPARE(captions > 0, screen != QLatin1String("Grey"));
    }

    // The screenshot tool draws at the scale it is given, through the same drawings.
    void theScreenshotToolDrawsAtItsScale() {
        QTemporaryDir out;
        const QString first = QString::fromLatin1(tour::kFirstScreen);
        QCOMPARE(QProcess::execute(QStringLiteral(ZB_SCREENSHOT),
                                   {QStringLiteral("--scale"), QString::number(m_scale), out.path(), first}),
                 0);
        Form* title = screenByName(first);
        Runtime::dispatch([title] { title->Show(); });
        QCOMPARE(QImage(out.filePath(first + QStringLiteral(".png"))).size(),
                 (QSizeF(title->hWnd()->size()) * m_scale).toSize());
    }

    // The display changes under a lesson: another added beside it, its own removed, all as it was, its
    // density doubled alone, then all as it was again. Each time every window is fitted as if the program had
    // started there, and nothing is lost.
    void theScreensFollowTheDisplay() {
        displayfit::follow(m_options);
        for (const char* name : {"Grey", "Titlefrm", "intro0", "menu2", "sentence", "reflex", "notepad"})
            Runtime::dispatch([name] { screenByName(QLatin1String(name))->Show(); });
        const QStringList lesson = Runtime::loadedFormNames();
        Form* reflex = screenByName(QStringLiteral("reflex"));
        auto& card = *static_cast<Label*>(reflex->findControl(QStringLiteral("Label2"), 2));
        const QPointF home(card.Left(), card.Top());
        drag(windowOf(*reflex), pointIn(card), pointIn(card) + QPoint(90, 40));
        const QPointF cardAt(card.Left(), card.Top());
        QVERIFY(cardAt != home);
        auto* list = screenByName(QStringLiteral("sentence"))->hWnd()->findChild<QComboBox*>();
        const auto* diagram = static_cast<Image*>(reflex->findControl(QStringLiteral("Image1")));
        Form* jotter = screenByName(QStringLiteral("notepad"));
        click(*jotter->findControl(QStringLiteral("Command3"))); // the tall shape
        drag(windowOf(*jotter), {20, 20}, {200, 100});
        jotter->hWnd()->move(jotter->hWnd()->pos() + QPoint(40, 0)); // by hand: it comes back there
        const int moved = jotter->hWnd()->x();
        auto* native = QGuiApplication::platformNativeInterface();
        using Get = QJsonObject (*)(QPlatformNativeInterface*);
        using Set = void (*)(const QJsonObject&, QPlatformNativeInterface*);
        const QJsonObject was =
            reinterpret_cast<Get>(native->nativeResourceForIntegration("configuration"))(native);
        const auto set = reinterpret_cast<Set>(native->nativeResourceForIntegration("setConfiguration"));
        const QString own = Runtime::display()->name();
        const QJsonArray all = was[QLatin1String("screens")].toArray();
        QJsonArray beside = all, without, denser, plain; // its density doubled alone, then back by name
        beside.append(
            QJsonObject{{"name", "DP-9"}, {"x", 9000}, {"y", 0}, {"width", 1920}, {"height", 1080}});
        for (const QJsonValue& s : beside)
            if (s[QLatin1String("name")].toString() != own) without.append(s);
        // Qt 6.8's offscreen platform keeps a density that the new list leaves out.
        for (const int dpi : {192, 96})
            for (QJsonValue s : all) {
                QJsonObject o = s.toObject();
                if (o[QLatin1String("name")].toString() == own) o[QLatin1String("logicalDpi")] = dpi;
                (dpi == 192 ? denser : plain).append(o);
            }
        const bool environment = m_options.scale <= 0 && qEnvironmentVariableIsSet("QT_SCALE_FACTOR");
        int step = 0;
        // Its own display back beside the other before that goes: Qt 6.8's offscreen platform, given a new
        // list of displays, drops the old ones before it adds the new, and its windows crash without one.
        for (const QJsonArray& screens : {beside, without, beside, all, denser, plain}) {
            // A density change alone changes nothing the program's own fit or --scale sees, and Qt 6.8 then
            // reports none: the list is left to the changes that move the windows.
            if (environment || (screens != denser && screens != plain)) list->showPopup();
            set(QJsonObject{{"screens", screens}}, native);
            QTest::qWait(200);
            QScreen* d = Runtime::display();
            QVERIFY(d->name() != own || screens != without);
            if (!m_options.screen.isEmpty() && screens.size() != without.size())
                QCOMPARE(d->name(), m_options.screen);
            // The environment's factor multiplies the desktop's; the program's own fit or --scale replaces
            // it.
            const qreal factor = environment           ? m_scale * (screens == denser ? 2 : 1)
                                 : m_options.scale > 0 ? m_scale
                                                       : displayfit::fitFactor(Runtime::deviceSize(d));
            QCOMPARE(d->devicePixelRatio(), factor);
            for (Form* f : Runtime::loadedForms())
                sitsOnTheDisplay(f, factor);
            QCOMPARE(Runtime::loadedFormNames(), lesson);
            QCOMPARE(QPointF(card.Left(), card.Top()), cardAt);
            QVERIFY(!list->view()->isVisible());
            QVERIFY(std::abs(diagram->Picture().pixmap().devicePixelRatio() - factor) < 0.02);
            const Form* title = screenByName(QString::fromLatin1(tour::kFirstScreen)); // its icon too
            QCOMPARE(title->hWnd()->windowIcon().availableSizes(), QList{title->Icon().pixmap().size()});
            // The ink is drawn again, as sharp as if it had been drawn at this factor.
            const QImage ink = jotter->ink();
            static_cast<notepad*>(jotter)->undo(); // then the page drawn afresh from its steps
            static_cast<notepad*>(jotter)->redo();
            QCOMPARE(jotter->ink(), ink);
            // Moved by hand on each display, there and back: each move is kept through the next change.
            jotter->hWnd()->move(jotter->hWnd()->pos() + QPoint(QList{40, -40, 40, -40, 40, -40}[step++], 0));
        }
        QVERIFY(std::abs(jotter->hWnd()->x() - moved) <= 1);
        // The wide pad, at the top edge, stays there as the display shrinks and grows again.
        click(*jotter->findControl(QStringLiteral("Command4")));
        for (const QJsonArray& screens : {beside, without, beside, all}) {
            set(QJsonObject{{"screens", screens}}, native);
            QTest::qWait(200);
            if (screens == beside) continue; // on the way, the other display added
            QVERIFY(std::abs(jotter->hWnd()->frameGeometry().top() -
                             Runtime::display()->availableGeometry().top()) <= 1);
        }
    }
};

int main(int argc, char** argv) {
    // The program's own start, on the display and with the options CTest gives.
    QByteArrayList args = ("zestora-biology " + qgetenv("ZB_FIT_ARGS")).trimmed().split(' ');
    std::vector<char*> argp;
    for (QByteArray& a : args)
        argp.push_back(a.data());
    const commandline::Options options = commandline::parse(int(argp.size()), argp.data());
    displayfit::prepare(options);
    QApplication app(argc, argv);
    if (const QString error = displayfit::apply(options); !error.isEmpty()) qFatal("%s", qPrintable(error));
    TestScaling test;
    test.m_options = options;
    return QTest::qExec(&test, argc, argv);
}
#include "test_scaling.moc"
