// The Teachers' Guide: moving through the six pages and leaving them, the tables' grids and the texts in
// their cells, and the Word document agreeing with the pages.
#include "Grey.h" // stands for whatever lies beneath the guide
#include "TeacherGuide.h"
#include "support/testsupport.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QtTest>

#include <algorithm>

using namespace vb;
using namespace testsupport;

namespace {

constexpr Single kMargin = 30; // the least room, in twips, between a cell's text and the lines around it

TeacherGuidePage& showPage(int n) {
    TeacherGuidePage& p = teacherGuidePage(n);
    Runtime::dispatch([&p] { p.Show(); });
    return p;
}

// Every text of a page: its Label1 array.
QList<Label*> textsOf(const Form& f) {
    QList<Label*> out;
    for (Control* c : f.controls())
        if (auto* l = qobject_cast<Label*>(c); l && l->Name() == QLatin1String("Label1")) out << l;
    return out;
}

QRectF box(const Label* l) {
    return QRectF(l->Left(), l->Top(), l->Width(), l->Height());
}

QString describe(const Label* l) {
    QString s;
    QDebug(&s) << l->Name() << l->Index() << l->Caption().left(40) << box(l);
    return s;
}

// The grid as drawn: row boundaries from the lines across, and the lines down with their ends.
struct DrawnGrid {
    QList<Single> rows;
    struct Down {
        Single x, top, bottom;
    };
    QList<Down> downs;
    explicit DrawnGrid(const TeacherGuidePage& p) {
        for (Control* c : p.controls())
            if (auto* l = qobject_cast<vb::Line*>(c); l && l->Visible() && l->Y1() == l->Y2())
                rows << l->Y1();
            else if (l && l->Visible())
                downs.append({l->X1(), std::min(l->Y1(), l->Y2()), std::max(l->Y1(), l->Y2())});
        std::sort(rows.begin(), rows.end());
    }
    // The lines down that run the whole height of row r, left to right.
    QList<Single> boundariesOfRow(int r) const {
        QList<Single> xs;
        for (const Down& d : downs)
            if (d.top <= rows[r] && d.bottom >= rows[r + 1]) xs << d.x;
        std::sort(xs.begin(), xs.end());
        return xs;
    }
};

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

    void nextPreviousAndExitLeaveAtMostOnePageLoaded() {
        Runtime::dispatch([] { form<Grey>().Show(); });
        showPage(0);
        QVERIFY(!teacherGuidePage(0).Label3.exists(2)); // no way back from the first page
        for (int n = 0; n < guide::kPageCount - 1; ++n) {
            click(teacherGuidePage(n).Label3(1));
            TeacherGuidePage& next = teacherGuidePage(n + 1);
            QCOMPARE(Runtime::loadedFormNames(), QStringList({"Grey", next.Name()}));
            QVERIFY(next.hWnd()->isVisible());
            // Page n + 2 describes Menu n + 1.
            QCOMPARE(next.Label1(guide::el::PageNumber).Caption(), QStringLiteral("Page %1 of 6").arg(n + 2));
            QCOMPARE(next.Label1(guide::el::MenuName).Caption(), QStringLiteral("Menu %1").arg(n + 1));
        }
        // The last page offers no Next: a click where it would be lands on the bare page.
        TeacherGuidePage& last = teacherGuidePage(guide::kPageCount - 1);
        QVERIFY(!last.Label3(1).Visible());
        QTest::mouseClick(windowOf(last), Qt::LeftButton, Qt::NoModifier, pointIn(last.Label3(1)));
        QCOMPARE(Runtime::loadedFormNames(), QStringList({"Grey", last.Name()}));
        for (int n = guide::kPageCount - 1; n > 0; --n) {
            click(teacherGuidePage(n).Label3(2));
            QCOMPARE(Runtime::loadedFormNames(),
                     QStringList({"Grey", QStringLiteral("TeacherGuide%1").arg(n - 1)}));
        }
        // No hover highlight on these pages: Exit stays boxed after the pointer has crossed the page.
        TeacherGuidePage& p = teacherGuidePage(0);
        hover(windowOf(p), pointIn(p.Label3(0)));
        hover(windowOf(p), QPoint(400, 590));
        QCOMPARE(p.Label3(0).BackStyle(), int(vbOpaque));
        click(p.Label3(0));
        QCOMPARE(Runtime::loadedFormNames(), QStringList({"Grey"}));
        QVERIFY(!Runtime::ended());
    }

    void pageFourDrawsItsShortLineOnlyInTheFirstRow() {
        // Yellow down the column at x 9240 twips: the whole of the first row's bottom end, little of the
        // second row.
        const QImage shot = showPage(3).hWnd()->grab().toImage();
        auto yellowRun = [&](int fromY, int toY) {
            int n = 0;
            for (int y = fromY; y < toY; ++y)
                n += shot.pixelColor(9240 / 15 - 1, y) == QColor(255, 255, 0);
            return n;
        };
        QCOMPARE(yellowRun(3120 / 15 - 8, 3120 / 15 - 2), 6);
        const int secondRow = yellowRun(3120 / 15 + 2, 4440 / 15 - 2);
        QVERIFY2(secondRow < (4440 - 3120) / 15 / 2, qPrintable(QString::number(secondRow)));
        // A page without the short line has it the whole way down.
        const QImage full = showPage(2).hWnd()->grab().toImage();
        QCOMPARE(full.pixelColor(9000 / 15 - 1, 5000 / 15), QColor(255, 255, 0));
    }

    // No two texts overlap, none leaves the page, and below the first page every cell's text lies inside its
    // cell of the table as drawn, one text to a cell.
    void layout_data() {
        QTest::addColumn<int>("page");
        for (int n = 0; n < guide::kPageCount; ++n)
            QTest::newRow(qPrintable(QString::number(n + 1))) << n;
    }
    void layout() {
        QFETCH(int, page);
        TeacherGuidePage& p = showPage(page);
        // The title spans the page and centres its caption between the page number and Exit: left out.
        QList<Label*> all;
        for (Control* c : p.controls())
            if (auto* l = qobject_cast<Label*>(c);
                l && l->Visible() && !l->Caption().isEmpty() && l != &p.Label1(guide::el::Title))
                all << l;
        for (int i = 0; i < all.size(); ++i) {
            QVERIFY2(QRectF(0, 0, 12000, 9000).contains(box(all[i])), qPrintable(describe(all[i])));
            for (int j = i + 1; j < all.size(); ++j)
                QVERIFY2(!box(all[i]).intersects(box(all[j])),
                         qPrintable(describe(all[i]) + " overlaps " + describe(all[j])));
        }
        if (page == 0) return; // no table
        const DrawnGrid grid(p);
        QCOMPARE(grid.rows.size(), 6);

        QList<QList<Label*>> cellsByRow(5);
        for (Label* l : textsOf(p)) {
            if (l->Index() == guide::el::Title || l->Index() == guide::el::PageNumber) continue;
            const Single right = l->Left() + l->Width(), bottom = l->Top() + l->Height();
            if (bottom <= grid.rows.first()) {
                // Menu name and headings sit above the table, clear of its top line.
                QVERIFY2(bottom <= grid.rows.first() - kMargin, qPrintable(describe(l)));
                continue;
            }
            const int r =
                int(std::upper_bound(grid.rows.begin(), grid.rows.end(), l->Top()) - grid.rows.begin()) - 1;
            QVERIFY2(r >= 0 && r < 5, qPrintable(describe(l) + " is not in the table"));
            QVERIFY2(l->Top() >= grid.rows[r] + kMargin && bottom <= grid.rows[r + 1] - kMargin,
                     qPrintable(describe(l) + " touches a line across"));
            for (Single x : grid.boundariesOfRow(r))
                QVERIFY2(x <= l->Left() - kMargin || x >= right + kMargin,
                         qPrintable(describe(l) + " touches a line down at " + QString::number(x)));
            cellsByRow[r] << l;
        }

        for (int r = 0; r < 5; ++r) {
            QList<Label*>& row = cellsByRow[r];
            std::sort(row.begin(), row.end(), [](Label* a, Label* b) { return a->Left() < b->Left(); });
            // One text in each cell of the row (so none outside the table), none left empty.
            const QList<Single> xs = grid.boundariesOfRow(r);
            QCOMPARE(row.size(), int(xs.size()) - 1);
            for (int c = 0; c < row.size(); ++c) {
                QVERIFY2(row[c]->Left() > xs[c] && row[c]->Left() < xs[c + 1], qPrintable(describe(row[c])));
                QVERIFY2(row[c]->Caption().size() > 3, qPrintable(describe(row[c])));
            }
        }
    }

    void contactDetailsStayFictional() {
        QString text;
        for (Label* l : textsOf(showPage(0)))
            text += l->Caption() + QLatin1Char('\n');
        // Each kind of contact is there, and every one is in the ranges kept for fiction.
        const QList<std::pair<const char*, const char*>> kinds = {
            {"[\\w.+-]+@([\\w-]+(\\.[\\w-]+)+)", "quorvane\\.example"},
            {"www\\.([\\w-]+(\\.[\\w-]+)+)", "quorvane\\.example"},
            {"\\b(0\\d{3,4} ?\\d{3} ?\\d{3,4})\\b", "01632960\\d{2,3}"}};
        for (const auto& [pattern, allowed] : kinds) {
            const QRegularExpression fictional(QRegularExpression::anchoredPattern(QLatin1String(allowed)));
            int found = 0;
            for (auto it = QRegularExpression(QLatin1String(pattern)).globalMatch(text); it.hasNext();
                 ++found) {
                const QString match = it.next().captured(1).remove(QLatin1Char(' '));
                QVERIFY2(fictional.match(match).hasMatch(), qPrintable(match));
            }
            QVERIFY2(found > 0, pattern);
        }
    }

    void theDocumentSaysWhatThePagesSay() {
        QFile file(QStringLiteral(ZB_GUIDE_DOCUMENT));
        QVERIFY2(file.open(QIODevice::ReadOnly),
                 "docs/Teacher Guide.doc is missing: run tools/make-guide-doc.sh");
        const QByteArray doc = file.readAll();
        // A Word 97-2003 document is an OLE compound file holding a WordDocument stream.
        QVERIFY(doc.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")));
        QVERIFY(documentHolds(doc, QStringLiteral("WordDocument")));
        int checked = 0;
        for (int n = 0; n < guide::kPageCount; ++n) {
            for (Label* l : textsOf(showPage(n))) {
                if (l->Index() == guide::el::PageNumber) continue;
                for (const QString& part : l->Caption().split(QLatin1Char('\n'))) {
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
