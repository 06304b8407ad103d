// No clipped text on the board: every caption of every screen fits its box in the font it is drawn with.
#include "registry.h"
#include "support/testsupport.h"

#include <QtTest>

using namespace vb;
using namespace testsupport;

class TestCaptions : public QObject {
    Q_OBJECT
private slots:
    void init() {
        freshRuntime();
        recordDesktop();
    }

    void everyLabelOfEveryScreenFits_data() {
        QTest::addColumn<QString>("screen");
        for (const ScreenInfo& s : allScreens()) QTest::newRow(qPrintable(s.name)) << s.name;
    }
    void everyLabelOfEveryScreenFits() {
        QFETCH(QString, screen);
        Form* f = screenByName(screen);
        QVERIFY(f);
        f->Show();
        QVERIFY2(!Runtime::ended(), "the screen failed to load");
        int labels = 0;
        for (Control* c : f->controls()) {
            auto* l = qobject_cast<Label*>(c);
            if (!l || l->Caption().isEmpty()) continue;
            ++labels;
            QVERIFY2(l->captionFits(), qPrintable(QStringLiteral("%1(%2) \"%3\" does not fit %4 x %5 twips")
                                                      .arg(l->Name())
                                                      .arg(l->Index())
                                                      .arg(l->Caption())
                                                      .arg(l->Width())
                                                      .arg(l->Height())));
        }
        // Only the backdrop is a screen without text; any other screen without labels failed to build them.
        if (screen == QLatin1String("Grey"))
            QCOMPARE(labels, 0);
        else
            QVERIFY(labels > 0);
    }

    void theFitCheckCatchesATooLongCaption() {
        Form* f = screenByName(QStringLiteral("Titlefrm"));
        f->Show();
        auto* credit = qobject_cast<Label*>(f->findControl(QStringLiteral("Label3")));
        QVERIFY(credit->captionFits());
        credit->setCaption(credit->Caption().repeated(4));
        QVERIFY(!credit->captionFits());
        credit->setCaption(QStringLiteral("Pneumonoultramicroscopicsilicovolcanoconiosis-and-more"));
        QVERIFY(!credit->captionFits()); // one word wider than the box
    }
};

QTEST_MAIN(TestCaptions)
#include "test_captions.moc"
