// Every screen in its key states, drawn as the screenshot tool draws it and compared pixel for pixel with the
// reviewed pictures in tests/reference/<scale>x. The screens read stand-in pictures of their own (the real
// ones, quartered in flat colours), which keeps the references small while a picture moved, stretched or
// swapped still shows. On a difference the expected and actual pictures are written beside the
// test's output. ZB_REFRESH_REFERENCES=1 writes the actual pictures as the new references instead.
#include "Module1.h"
#include "TeacherGuide.h"
#include "TopicMenu.h"
#include "intro0.h"
#include "notepad.h"
#include "quadrat.h"
#include "reflex.h"
#include "registry.h"
#include "sentence.h"
#include "shots.h"
#include "support/testsupport.h"

#include <QComboBox>
#include <QImageReader>
#include <QPainter>
#include <QScreen>
#include <QtTest>

#include <algorithm>
#include <functional>

using namespace vb;
using namespace testsupport;

namespace {

// What is done on the screen, through its window, before the picture is taken; compared with the picture
// of the row named last when that is not its own.
struct State {
    const char* name;
    const char* screen;
    std::function<void(Form&)> work;
    const char* reference = nullptr;
};

// The quadrat's first `stages` buttons: Sam's throw, Maddy's, the answer.
void quadratStages(Form& f, int stages = 3) {
    for (int i : QList<int>({2, 3, 1}).first(stages))
        click(static_cast<quadrat&>(f).Label3(i));
}

// Each card dragged onto the slot `slotOf` gives, then the button `button`.
void placeCards(Form& f, int (*slotOf)(int), int button) {
    auto& r = static_cast<reflex&>(f);
    for (int i = 0; i < 6; ++i)
        drag(windowOf(r), pointIn(r.Label2(i)), pointIn(r.Label1(slotOf(i))));
    click(r.Label3(button));
}

// Slots for the cards: the first two swapped, the rest in their own.
int swapFirstTwo(int i) {
    return i < 2 ? 1 - i : i;
}

// Focus on the control, and a key pressed that moves nothing.
void keyFocus(Form& f, const char* control) {
    f.findControl(QString::fromLatin1(control))->setFocus();
    QTest::keyClick(windowOf(f), Qt::Key_Shift);
}

const QList<State>& states() {
    static const QList<State> list = {
        // Over the bare screen the title and the menu column lose their boxes; one button then has its box.
        {"menu2-hover", "menu2",
         [](Form& f) {
             QTest::mouseMove(windowOf(f), QPoint(300, 120));
             QTest::mouseMove(windowOf(f), pointIn(static_cast<TopicMenu&>(f).Label2(3)));
         }},
        {"intro0-hover", "intro0", [](Form& f) { QTest::mouseMove(windowOf(f), QPoint(300, 120)); }},
        {"quadrat-sam", "quadrat", [](Form& f) { quadratStages(f, 1); }},
        {"quadrat-maddy", "quadrat", [](Form& f) { quadratStages(f, 2); }},
        {"quadrat-maddy-alone", "quadrat", [](Form& f) { static_cast<quadrat&>(f).maddythrow(); }},
        {"quadrat-answer", "quadrat", [](Form& f) { quadratStages(f); }},
        // Buttons of stages done, pressed again, and the pointer over everything change nothing.
        {"quadrat-again", "quadrat",
         [](Form& f) {
             quadratStages(f);
             quadratStages(f);
             for (const QPoint at : {QPoint(600, 300), QPoint(200, 300), QPoint(790, 590)})
                 QTest::mouseMove(windowOf(f), at);
         },
         "quadrat-answer"},
        {"quadrat-reopened", "quadrat",
         [](Form& f) {
             quadratStages(f);
             click(static_cast<quadrat&>(f).Label3(0));
             Runtime::dispatch([&f] { f.Show(); });
         },
         "quadrat"},
        // The first two cards swapped, the rest in their slots: 4 out of 6.
        {"reflex-score", "reflex", [](Form& f) { placeCards(f, swapFirstTwo, 2); }},
        {"sentence-new", "sentence",
         [](Form& f) {
             auto& s = static_cast<sentence&>(f);
             click(s.Label3(1));
             click(*s.Combo2); // opened once, the box stays white
             s.Combo2->box()->hidePopup();
         }},
        // The dotted mark on a button and on a check box, while keys are in use.
        {"Titlefrm-focus", "Titlefrm", [](Form& f) { keyFocus(f, "Command1"); }},
        {"intro0-focus", "intro0", [](Form& f) { keyFocus(f, "Check1"); }},
        // Ink right along the page's edges.
        {"notepad-edges", "notepad",
         [](Form& f) {
             const int right = f.hWnd()->width() - 1;
             // (0, 0) would be taken for the window's centre.
             const QPoint corners[] = {{1, 0}, {right, 0}, {right, 150}, {0, 190}, {0, 1}};
             QTest::mousePress(windowOf(f), Qt::LeftButton, {}, corners[0]);
             for (const QPoint& at : corners)
                 QTest::mouseMove(windowOf(f), at);
             QTest::mouseRelease(windowOf(f), Qt::LeftButton, {}, corners[0]);
             // Each move repaints only the band it touched: together they show all the ink. (The offscreen
             // display gives the window's pixels back at 1x only.)
             QCoreApplication::processEvents();
             const QImage shown = f.hWnd()->screen()->grabWindow(f.hWnd()->winId()).toImage();
             const QImage drawn = f.hWnd()->grab().toImage().convertToFormat(shown.format());
             QVERIFY(shown.size() != drawn.size() || shown == drawn);
         }},
        {"notepad-stroke", "notepad",
         [](Form& f) {
             drag(windowOf(f), QPoint(120, 90), QPoint(560, 160));
             drag(windowOf(f), QPoint(560, 160), QPoint(300, 150), Qt::LeftButton, 1);
         }},
    };
    return list;
}

// The stand-in of each picture: its size, quartered in four flat colours of its own.
void writeStandInPictures(const QString& to) {
    QDir from(QStringLiteral(ZB_IMAGES_DIR));
    QDir().mkpath(to);
    int n = 0;
    for (const QString& name : from.entryList(QDir::Files, QDir::Name)) {
        const QString target = QDir(to).filePath(name);
        if (!name.endsWith(QLatin1String(".jpg"))) {
            QFile::copy(from.filePath(name), target);
            continue;
        }
        QImage img(QImageReader(from.filePath(name)).size(), QImage::Format_RGB32);
        QPainter p(&img);
        const int w = img.width() / 2, h = img.height() / 2;
        for (int q = 0; q < 4; ++q)
            p.fillRect(QRect(q % 2 * w, q / 2 * h, img.width(), img.height()),
                       QColor::fromHsv((n * 67 + q * 90) % 360, 90 + 40 * q, 230 - 30 * q));
        p.end();
        QVERIFY(img.save(target, "JPG", 100));
        ++n;
    }
}

// Pixel for pixel, but for the shading of smoothed edges, which another release's Qt and FreeType draw a
// little lighter or darker (Debian 13's text by up to 20 of 255 against Debian 12's). Flat colour matches
// exactly, and a control moved, coloured or worded otherwise differs by far more at its edges.
bool alike(const QImage& expected, const QImage& actual) {
    if (expected.size() != actual.size()) return false;
    constexpr int kEdgeShade = 24;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb p = expected.pixel(x, y), q = actual.pixel(x, y);
            if (p == q) continue;
            bool edge = false;
            for (int n = 0; n < 9 && !edge; ++n)
                edge = expected.valid(x + n % 3 - 1, y + n / 3 - 1) &&
                       expected.pixel(x + n % 3 - 1, y + n / 3 - 1) != p;
            if (!edge || std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                   std::abs(qBlue(p) - qBlue(q))}) > kEdgeShade)
                return false;
        }
    return true;
}

} // namespace

class TestReference : public QObject {
    Q_OBJECT
    QTemporaryDir data;

private slots:
    void initTestCase() {
        shots::prepare();
        writeStandInPictures(data.filePath(QStringLiteral("Images")));
    }
    void init() {
        freshRuntime();
        recordDesktop();
        hidedesktop = 0;
        // The same sentences drawn every time: a fixed clock and generator, and no draw before (as the
        // program starts).
        setTimerSource([] { return 43200.0; });
        setRndState(0x50000);
        form<sentence>().picks.fill(0);
        form<sentence>().lastpicks.fill(0);
    }
    void cleanup() { setDataDir(QString()); }

    void screen_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<int>("state");
        for (const ScreenInfo& s : allScreens())
            QTest::newRow(qPrintable(s.name)) << s.name << -1;
        for (int i = 0; i < states().size(); ++i)
            QTest::newRow(states()[i].name) << QString::fromLatin1(states()[i].screen) << i;
    }
    void screen() {
        QFETCH(QString, screen);
        QFETCH(int, state);
        setDataDir(data.path());
        Form* f = shots::open(screen);
        QVERIFY2(f, "the screen did not come up");
        if (state >= 0) states()[state].work(*f);
        QVERIFY(!Runtime::ended());
        QImage actual = shots::grab(*f).convertToFormat(QImage::Format_RGB32);
        actual.setDevicePixelRatio(1);

        const char* own = state >= 0 ? states()[state].reference : nullptr;
        const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")) + u'x';
        const QString reference = QStringLiteral(ZB_REFERENCE_DIR "/%1/%2.png")
                                      .arg(scale, QString::fromLatin1(own ? own : QTest::currentDataTag()));
        if (qEnvironmentVariableIntValue("ZB_REFRESH_REFERENCES") && !own) {
            QDir().mkpath(QFileInfo(reference).path());
            QVERIFY(actual.save(reference, "PNG", 0));
            return;
        }
        const QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB32);
        if (alike(expected, actual)) return;
        QDir().mkpath(QStringLiteral("reference-failures"));
        const QString base = QStringLiteral("reference-failures/%1-%2").arg(scale, QTest::currentDataTag());
        actual.save(base + QStringLiteral("-actual.png"));
        expected.save(base + QStringLiteral("-expected.png"));
        QFAIL(
            qPrintable(QStringLiteral("%1 differs from %2 (missing if empty); see %3-{expected,actual}.png, "
                                      "or refresh the references on purpose")
                           .arg(screen, reference, base)));
    }
};

QTEST_MAIN(TestReference)
#include "test_reference.moc"
