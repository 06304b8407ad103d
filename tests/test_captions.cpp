// No clipped text on the board: every caption of every screen, on its labels and its buttons, fits its box in
// the font it is drawn with.
#include "Titlefrm.h"
#include "registry.h"
#include "support/testsupport.h"

#include <QFontMetricsF>
#include <QtTest>

using namespace vb;
using namespace testsupport;

namespace {
// A button's caption is drawn centred and word-wrapped inside its raised edge.
bool buttonCaptionFits(const CommandButton& b) {
    const QRectF inner = QRectF(b.rect()).adjusted(2, 2, -2, -2);
    const QFontMetricsF fm(resolveFont(b.Font()));
    for (const QString& w : b.Caption().split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (fm.horizontalAdvance(w) > inner.width()) return false;
    return fm.boundingRect(inner, Qt::AlignCenter | Qt::TextWordWrap, b.Caption()).height() <= inner.height();
}
} // namespace

class TestCaptions : public QObject {
    Q_OBJECT
private slots:
    void init() {
        freshRuntime();
        recordDesktop();
    }

    void everyLabelOfEveryScreenFits_data() {
        QTest::addColumn<QString>("screen");
        for (const ScreenInfo& s : allScreens())
            QTest::newRow(qPrintable(s.name)) << s.name;
    }
    void everyLabelOfEveryScreenFits() {
        QFETCH(QString, screen);
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
            QVERIFY2(
                b ? buttonCaptionFits(*b) : l->captionFits(),
                qPrintable(QStringLiteral("%1(%2) does not fit ").arg(c->Name()).arg(c->Index()) + caption));
        }
        // Only the backdrop is a screen without text; any other screen without captions failed to build them.
        QCOMPARE(captions > 0, screen != QLatin1String("Grey"));
    }

    void theButtonFitCheckCatchesATooLongCaption() {
        CommandButton* ok = &*form<Titlefrm>().Command1;
        QVERIFY(buttonCaptionFits(*ok));
        ok->setCaption(QStringLiteral("Chlorofluorocarbons"));
        QVERIFY(!buttonCaptionFits(*ok)); // one word wider than the button
        ok->setCaption(QStringLiteral("OK OK OK OK OK OK OK OK OK"));
        QVERIFY(!buttonCaptionFits(*ok)); // wraps to more lines than the button is high
    }
};

QTEST_MAIN(TestCaptions)
#include "test_captions.moc"
