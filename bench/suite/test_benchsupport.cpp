// The benchmarks' own machinery: the statistics they print, the paint watch they time screens by, and the
// list of navigations, which must keep up with the screens of the program.
#include "../../tests/support/testsupport.h"
#include "bench.h"
#include "drive.h"
#include "registry.h"
#include "tour.h"

#include <QLabel>
#include <QSet>
#include <QtTest>

class TestBenchSupport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { drive::startWatching(); }
    void init() {
        testsupport::freshRuntime();
        testsupport::recordDesktop();
    }

    void statisticsTakeTheMiddleAndTheNearestRank() {
        QCOMPARE(bench::summarize({4, 1, 3, 2}).median, 2.5);
        // The 95th percentile is a measured value: the 19th of 20, the 190th of 200.
        std::vector<double> twoHundred;
        for (int i = 200; i >= 1; --i)
            twoHundred.push_back(i);
        QCOMPARE(bench::summarize({twoHundred.end() - 20, twoHundred.end()}).p95, 19.0);
        QCOMPARE(bench::summarize(twoHundred).p95, 190.0);
        QCOMPARE(bench::summarize({7.5}).p95, 7.5);
        QCOMPARE(bench::summarize({}).n, 0);
    }

    void aWindowsPaintCountsEvenWhenItsControlsCoverItAll() {
        // A window whose controls cover it never paints itself; its controls' paints are its paint.
        QWidget window;
        window.setObjectName(QStringLiteral("covered"));
        window.resize(200, 100);
        auto* cover = new QLabel(QStringLiteral("cover"), &window);
        cover->setAutoFillBackground(true);
        cover->setAttribute(Qt::WA_OpaquePaintEvent);
        cover->setGeometry(0, 0, 200, 100);
        const quint64 before = drive::paintsOf(window.objectName());
        window.show();
        QVERIFY(drive::waitForPaint(window.objectName(), before, 2000));
        const quint64 now = drive::paintsOf(window.objectName());
        cover->setText(QStringLiteral("changed"));
        QVERIFY(drive::waitForPaint(window.objectName(), now, 2000));
    }

    // The timed navigations reach every screen, and the idle and memory tours show every screen.
    void everyScreenIsTimedAndToured() {
        QSet<QString> reached, shown;
        for (const tour::Sequence& seq : tour::navigations())
            for (const drive::Step& step : seq.cycle)
                if (!step.uncovers) reached.insert(step.shows);
        for (const tour::Place& p : tour::places()) {
            shown.insert(p.label);
            for (const drive::Step& step : p.there)
                shown.insert(step.shows);
        }
        for (const ScreenInfo& s : allScreens())
            QVERIFY2(reached.contains(s.name) && shown.contains(s.name), qPrintable(s.name));
    }

    void aNavigationThatCannotBeMadeIsReportedNotTimed() {
        QString error;
        QVERIFY(tour::showTitle(&error));
        // The opening screen is not up, so its menu label cannot be clicked.
        const drive::Step step(QStringLiteral("opening -> menu1"),
                               {QStringLiteral("intro0"), QStringLiteral("Label2"), 0},
                               QStringLiteral("menu1"));
        QVERIFY(!drive::perform(step, &error));
        QVERIFY(error.contains(QStringLiteral("intro0")));
    }
};

QTEST_MAIN(TestBenchSupport)
#include "test_benchsupport.moc"
