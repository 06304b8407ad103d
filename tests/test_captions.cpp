// No clipped text on the board: every caption of every screen, on its labels and its buttons, fits its box in
// the font it is drawn with.
#include "registry.h"
#include "support/testsupport.h"

#include <QFontMetricsF>
#include <QtTest>

using namespace vb;
using namespace testsupport;

class TestCaptions : public QObject {
    Q_OBJECT
private slots:
    void everyLabelOfEveryScreenFits_data() {
        QTest::addColumn<QString>("screen");
        for (const ScreenInfo& s : allScreens())
            QTest::newRow(qPrintable(s.name)) << s.name;
    }
    void everyLabelOfEveryScreenFits() {
        QFETCH(QString, screen);
        freshRuntime();
        recordDesktop();
        Form* f = screenByName(screen);
        f->Show();
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
};

QTEST_MAIN(TestCaptions)
#include "test_captions.moc"
