// A lesson opens and closes the same screens again and again: after 200 rounds of every screen there are no
// more windows, widgets, controls or loaded screens than after the first. (Leaks of memory that nothing holds
// any more are LeakSanitizer's part, in the sanitizer run of this same test.)
#include "registry.h"
#include "support/testsupport.h"
#include "tour.h"

#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {

int rounds() {
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("OPENCLOSE_ROUNDS", &ok);
    return ok && n > 0 ? n : 200;
}

struct Census {
    int topLevels = 0, visibleTopLevels = 0, widgets = 0, controls = 0, appChildren = 0;
    int loadedScreens = 0, loadedControls = 0;
    bool operator==(const Census&) const = default;
};

QDebug operator<<(QDebug d, const Census& c) {
    return d << "top-level" << c.topLevels << "shown" << c.visibleTopLevels << "widgets" << c.widgets
             << "controls" << c.controls << "application children" << c.appChildren << "loaded screens"
             << c.loadedScreens << "their controls" << c.loadedControls;
}

Census census() {
    tour::settle();
    Census c;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        ++c.topLevels;
        if (w->isVisible()) ++c.visibleTopLevels;
    }
    const QWidgetList all = QApplication::allWidgets();
    c.widgets = int(all.size());
    for (QWidget* w : all)
        if (qobject_cast<Control*>(w)) ++c.controls;
    c.appChildren = int(qApp->children().size());
    for (Form* f : Runtime::loadedForms()) {
        ++c.loadedScreens;
        c.loadedControls += int(f->controls().size());
    }
    return c;
}

} // namespace

namespace QTest {
template <> char* toString(const Census& c) {
    QString text;
    QDebug(&text) << c;
    return qstrdup(qPrintable(text));
}
} // namespace QTest

class TestOpenClose : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { tour::enableJotterKey(); }
    void init() {
        freshRuntime();
        recordDesktop();
    }
    void cleanup() { freshRuntime(); }

    // Opened and closed by clicks, as at the board.
    void byClicks_data() {
        QTest::addColumn<QString>("screen");
        for (const QString& s : tour::reachableScreens())
            if (s != QLatin1String(tour::kFirstScreen)) QTest::newRow(qPrintable(s)) << s;
    }
    void byClicks() {
        QFETCH(QString, screen);
        tour::start();
        // One round first: pictures are decoded and kept, lists make their popups, fonts are loaded.
        QVERIFY(tour::open(screen));
        QVERIFY(tour::close(screen));
        const Census before = census();
        const int n = rounds();
        for (int i = 0; i < n; ++i) {
            QVERIFY2(tour::open(screen), qPrintable(QStringLiteral("round %1: not opened").arg(i)));
            QVERIFY2(tour::loadedScreen(screen), qPrintable(QStringLiteral("round %1").arg(i)));
            QVERIFY2(tour::close(screen), qPrintable(QStringLiteral("round %1: not closed").arg(i)));
            QVERIFY2(!tour::loadedScreen(screen),
                     qPrintable(QStringLiteral("round %1: still loaded").arg(i)));
        }
        QCOMPARE(census(), before);
        QVERIFY(!Runtime::ended());
    }

    // Every registered screen, the ones no click reaches included, shown and unloaded directly.
    void byTheRuntime_data() {
        QTest::addColumn<QString>("screen");
        for (const ScreenInfo& s : allScreens())
            QTest::newRow(qPrintable(s.name)) << s.name;
    }
    void byTheRuntime() {
        QFETCH(QString, screen);
        Form* f = screenByName(screen);
        auto round = [f] {
            Runtime::dispatch([f] { f->Show(); });
            tour::settle();
            Runtime::dispatch([f] { f->Unload(); });
        };
        round();
        // A screen that needs another (the menus take the opening screen's picture) leaves that one loaded.
        const Census before = census();
        for (int i = 0, n = rounds(); i < n; ++i)
            round();
        QCOMPARE(census(), before);
        QVERIFY(!Runtime::ended());
    }

    // The census sees what a leak would leave: a window, a control, a screen left loaded.
    void theCensusSeesWhatIsLeftBehind() {
        tour::start();
        const Census before = census();
        auto* stray = new QWidget;
        stray->show();
        QVERIFY(!(census() == before));
        delete stray;
        QCOMPARE(census(), before);
        Form* title = screenByName(QString::fromLatin1(tour::kFirstScreen));
        new Label(*title, title->hWnd(), QStringLiteral("Stray"), -1);
        QVERIFY(!(census() == before));
    }
};

QTEST_MAIN(TestOpenClose)
#include "test_openclose.moc"
