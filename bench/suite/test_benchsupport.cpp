// The benchmarks' own machinery: the statistics they print, and navigations that keep up with the screens.
#include "bench.h"
#include "drive.h"
#include "registry.h"
#include "tour.h"

#include <QSet>
#include <QtTest>

class TestBenchSupport : public QObject {
    Q_OBJECT
private slots:
    void statisticsTakeTheMiddleAndTheNearestRank() {
        QCOMPARE(bench::summarize({4, 1, 3, 2}).median, 2.5);
        std::vector<double> twoHundred; // the 95th percentile is a measured value: the 190th of 200
        for (int i = 200; i >= 1; --i)
            twoHundred.push_back(i);
        QCOMPARE(bench::summarize(twoHundred).p95, 190.0);
        QCOMPARE(bench::summarize({}).n, 0);
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
};

QTEST_MAIN(TestBenchSupport)
#include "test_benchsupport.moc"
