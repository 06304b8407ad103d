// The Teachers' Guide: through the pages and out, and the Word document agreeing with the pages.
#include "Grey.h" // stands for whatever lies beneath the guide
#include "TeacherGuide.h"
#include "support/testsupport.h"

#include <QFile>
#include <QStringEncoder>
#include <QtTest>

#include <algorithm>

using namespace vb;
using namespace testsupport;

namespace {

TeacherGuidePage& showPage(int n) {
    TeacherGuidePage& p = teacherGuidePage(n);
    Runtime::dispatch([&p] { p.Show(); });
    return p;
}

// The bytes a text has in a Word document: UTF-16 pieces, or 8-bit pieces for Western text.
bool documentHolds(const QByteArray& doc, const QString& text) {
    if (doc.contains(QByteArray(QStringEncoder(QStringConverter::Utf16LE).encode(text)))) return true;
    const bool western = std::all_of(text.begin(), text.end(), [](QChar ch) { return ch.unicode() < 256; });
    return western && doc.contains(text.toLatin1());
}

} // namespace

class TestGuide : public QObject {
    Q_OBJECT
private slots:
    void init() {
        freshRuntime();
        recordDesktop();
        Screen.setSizeOverride(QSizeF(12000, 9000));
    }

    void nextPreviousAndExitLeaveOnePageLoaded() {
        Runtime::dispatch([] { form<Grey>().Show(); });
        showPage(0);
        for (int n = 0; n < guide::kPageCount - 1; ++n) {
            click(teacherGuidePage(n).Label3(1));
            QCOMPARE(Runtime::loadedFormNames(), QStringList({"Grey", teacherGuidePage(n + 1).Name()}));
        }
        for (int n = guide::kPageCount - 1; n > 0; --n) {
            click(teacherGuidePage(n).Label3(2));
            QCOMPARE(Runtime::loadedFormNames(), QStringList({"Grey", teacherGuidePage(n - 1).Name()}));
        }
        // No hover highlight on these pages: Exit stays boxed after the pointer has crossed the page.
        TeacherGuidePage& p = teacherGuidePage(0);
        QTest::mouseMove(windowOf(p), QPoint(400, 590));
        QCOMPARE(p.Label3(0).BackStyle(), int(vbOpaque));
        click(p.Label3(0));
        QCOMPARE(Runtime::loadedFormNames(), QStringList({"Grey"}));
    }

    void theDocumentSaysWhatThePagesSay() {
        QFile file(QStringLiteral(ZB_GUIDE_DOCUMENT));
        QVERIFY2(file.open(QIODevice::ReadOnly),
                 "docs/Teacher Guide.doc is missing: run tools/make-guide-doc.sh");
        const QByteArray doc = file.readAll();
        QVERIFY(doc.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1"))); // an OLE compound file
        int checked = 0;
        for (int n = 0; n < guide::kPageCount; ++n) {
            for (Control* c : showPage(n).controls()) {
                if (c->Name() != QLatin1String("Label1") || c->Index() == guide::el::PageNumber) continue;
                for (const QString& part : static_cast<Label*>(c)->Caption().split(QLatin1Char('\n'))) {
                    QVERIFY2(documentHolds(doc, part),
                             qPrintable(QStringLiteral("page %1: ").arg(n + 1) + part +
                                        " is not in the document: run tools/make-guide-doc.sh"));
                    ++checked;
                }
            }
        }
        QVERIFY(checked > 100);
    }
};

QTEST_MAIN(TestGuide)
#include "test_guide.moc"
