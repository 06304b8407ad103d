// The Teachers' Guide: moving through the six pages, leaving them, opening the Word document, the tables'
// grids and the texts in their cells, and the document agreeing with the pages.
#include "TeacherGuide.h"
#include "support/testsupport.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>

using namespace vb;
using namespace testsupport;

namespace {

// Whatever lies beneath the guide: the opening screen in the program.
class Beneath : public Form {
public:
    Beneath() : Form(QStringLiteral("Beneath")) {}

protected:
    void Design() override {
        setWidth(12000);
        setHeight(9000);
    }
};

constexpr OleColor kYellow = RGB(255, 255, 0);
constexpr Single kMargin = 30; // the least room, in twips, between a cell's text and the lines around it

struct GridDesign {
    QList<Single> columns, rows;
    Single shortLineBottom = 0; // page 4's line between Notes and Options stops after the first row
};

// The grids as the guide's design has them, pages 2 to 6.
GridDesign designOf(int page) {
    switch (page) {
    case 1:
        return {{1080, 3480, 5640, 8040, 11760}, {1200, 4440, 5040, 5640, 6240, 7320}};
    case 2:
        return {{1080, 3360, 5880, 9000, 11760}, {1200, 3120, 3720, 5880, 6720, 7320}};
    case 3:
        return {{1080, 3240, 6600, 9240, 11760}, {1200, 3120, 4440, 6600, 7440, 8040}, 3120};
    case 4:
        return {{1080, 3720, 5880, 9240, 11760}, {1200, 2280, 3600, 5520, 6960, 8280}};
    default:
        return {{1080, 2700, 4800, 9000, 11760}, {1200, 2280, 3120, 3960, 7200, 8280}};
    }
}

// Each row's activity and, where the guide names one, the kind of exercise.
QList<QPair<QString, QString>> activitiesOf(int page) {
    const QString match = QStringLiteral("Match up activity");
    switch (page) {
    case 1:
        return {{"Sampling Methods - Quadrats", {}},
                {"Sampling Apparatus", match},
                {"Endocrine System", match},
                {"Hormones", match},
                {"Response to Stimuli", "Ordering exercise"}};
    case 2:
        return {{"Stimulus and Response", {}},
                {"Reflex Action", "Ordering exercise"},
                {"The Eye", "Labelling exercise"},
                {"Accommodation of the Iris", "Sorting exercise"},
                {"Plant Hormones", "Match up exercise"}};
    case 3:
        return {{"Circulation and Respiration", {}},
                {"Tour of the Blood", {}},
                {"Veins and Arteries", {}},
                {"Blood System Components", "Matching up exercise"},
                {"Heart Beats", "Numeracy exercise"}};
    case 4:
        return {{"Transport in the Blood", {}},
                {"Alveoli", "Labelling exercise"},
                {"Breathing Apparatus", "Labelling exercise"},
                {"Breathing Mechanism", "Analysing exercise"},
                {"Digestive System", "Labelling exercise"}};
    default:
        return {{"Digestive Functions", "Sorting and unscrambling exercise"},
                {"Enzymes", "Sorting exercise"},
                {"Small Intestine", "Copy and complete exercise"},
                {"Odd One Out", {}},
                {"Constructing Biological Sentences", "Literacy exercise"}};
    }
}

TeacherGuidePage& showPage(int n) {
    TeacherGuidePage& p = teacherGuidePage(n);
    Runtime::dispatch([&p] { p.Show(); });
    return p;
}

QList<Label*> labelsOf(const Form& f, const QString& name) {
    QList<Label*> out;
    for (Control* c : f.controls())
        if (auto* l = qobject_cast<Label*>(c); l && l->Name() == name) out << l;
    std::sort(out.begin(), out.end(), [](Label* a, Label* b) { return a->Index() < b->Index(); });
    return out;
}

QString describe(const Label& l) {
    return QStringLiteral("%1(%2) \"%3\" at (%4, %5) %6 x %7")
        .arg(l.Name())
        .arg(l.Index())
        .arg(l.Caption().left(40))
        .arg(l.Left())
        .arg(l.Top())
        .arg(l.Width())
        .arg(l.Height());
}

// The grid as drawn: row boundaries from the lines across, and the lines down with their ends.
struct DrawnGrid {
    QList<Single> rows;
    struct Down {
        Single x, top, bottom;
    };
    QList<Down> downs;
    // The lines down that run the whole height of row r, left to right.
    QList<Single> boundariesOfRow(int r) const {
        QList<Single> xs;
        for (const Down& d : downs)
            if (d.top <= rows[r] && d.bottom >= rows[r + 1]) xs << d.x;
        std::sort(xs.begin(), xs.end());
        return xs;
    }
};

DrawnGrid drawnGrid(const TeacherGuidePage& p) {
    DrawnGrid g;
    for (Control* c : p.controls()) {
        auto* line = qobject_cast<vb::Line*>(c);
        if (!line || !line->Visible()) continue;
        if (line->Y1() == line->Y2())
            g.rows << line->Y1();
        else
            g.downs.append({line->X1(), std::min(line->Y1(), line->Y2()), std::max(line->Y1(), line->Y2())});
    }
    std::sort(g.rows.begin(), g.rows.end());
    return g;
}

// The bytes a text has in a Word document: UTF-16 pieces, or 8-bit pieces for Western text.
bool documentHolds(const QByteArray& doc, const QString& text) {
    QByteArray utf16;
    for (QChar ch : text) {
        utf16.append(char(ch.unicode() & 0xFF));
        utf16.append(char(ch.unicode() >> 8));
    }
    if (doc.contains(utf16)) return true;
    const bool western = std::all_of(text.begin(), text.end(), [](QChar ch) { return ch.unicode() < 256; });
    return western && doc.contains(text.toLatin1());
}

// A desktop without an application for the document.
class RefusingDesktop : public RecordingPlatform {
public:
    bool shellOpen(QWidget* owner, const QString& verb, const QString& target) override {
        RecordingPlatform::shellOpen(owner, verb, target);
        return false;
    }
};

} // namespace

class TestGuide : public QObject {
    Q_OBJECT
private slots:
    void init() {
        freshRuntime();
        recordDesktop();
        Screen.setSizeOverride(QSizeF(12000, 9000));
    }

    void nextAndPreviousLeaveExactlyOnePageLoaded() {
        Runtime::dispatch([] { form<Beneath>().Show(); });
        showPage(0);
        for (int n = 0; n < guide::kPageCount - 1; ++n) {
            click(teacherGuidePage(n).Label3(1));
            const QString next = QStringLiteral("TeacherGuide%1").arg(n + 1);
            QCOMPARE(Runtime::loadedFormNames(), QStringList({"Beneath", next}));
            QVERIFY(teacherGuidePage(n + 1).hWnd()->isVisible());
            QCOMPARE(teacherGuidePage(n + 1).Label1(guide::el::PageNumber).Caption(),
                     QStringLiteral("Page %1 of 6").arg(n + 2));
        }
        for (int n = guide::kPageCount - 1; n > 0; --n) {
            click(teacherGuidePage(n).Label3(2));
            QCOMPARE(Runtime::loadedFormNames(),
                     QStringList({"Beneath", QStringLiteral("TeacherGuide%1").arg(n - 1)}));
        }
        QVERIFY(!Runtime::ended());
        // Pages shown again are built afresh and still lead on.
        click(teacherGuidePage(0).Label3(1));
        click(teacherGuidePage(1).Label3(1));
        QCOMPARE(Runtime::loadedFormNames(), QStringList({"Beneath", "TeacherGuide2"}));
    }

    void firstPageHasNoPreviousAndLastPageNoNext() {
        TeacherGuidePage& first = showPage(0);
        QVERIFY(!first.Label3.exists(2));
        QVERIFY(first.Label3(1).Visible());
        QCOMPARE(first.Label3(1).Caption(), QStringLiteral(">> Next Page"));
        QCOMPARE(first.Label2->Caption(), QStringLiteral("Open Teachers' Guide as a Word Document"));
        for (int n = 1; n < guide::kPageCount; ++n) {
            TeacherGuidePage& p = showPage(n);
            QCOMPARE(p.Label3(2).Caption(), QStringLiteral("<< Previous Page"));
            QVERIFY(p.Label3(2).Visible());
            QCOMPARE(p.Label3(1).Visible(), n < guide::kPageCount - 1);
            QVERIFY(!p.findControl(QStringLiteral("Label2")));
        }

        // A click where the last page's Next would be goes to the bare page and changes nothing.
        TeacherGuidePage& last = teacherGuidePage(guide::kPageCount - 1);
        const QStringList before = Runtime::loadedFormNames();
        QTest::mouseClick(windowOf(last), Qt::LeftButton, Qt::NoModifier, pointIn(last.Label3(1)));
        QCOMPARE(Runtime::loadedFormNames(), before);
        QVERIFY(!Runtime::ended());
    }

    void exitUnloadsOnlyThePage_data() {
        QTest::addColumn<int>("page");
        for (int n = 0; n < guide::kPageCount; ++n)
            QTest::newRow(qPrintable(QString::number(n + 1))) << n;
    }
    void exitUnloadsOnlyThePage() {
        QFETCH(int, page);
        Runtime::dispatch([] { form<Beneath>().Show(); });
        TeacherGuidePage& p = showPage(page);
        QCOMPARE(p.Label3(0).Caption(), QStringLiteral("Exit"));
        click(p.Label3(0));
        QCOMPARE(Runtime::loadedFormNames(), QStringList({"Beneath"}));
        QVERIFY(form<Beneath>().hWnd()->isVisible());
        QVERIFY(!Runtime::ended());
    }

    void theWordDocumentIsAskedForOnEveryClick() {
        RecordingPlatform& desktop = recordDesktop();
        TeacherGuidePage& p = showPage(0);
        for (int i = 0; i < 3; ++i)
            click(*p.Label2);
        QCOMPARE(desktop.opened.size(), 3);
        for (const auto& request : desktop.opened) {
            QCOMPARE(request.verb, QStringLiteral("open"));
            QCOMPARE(request.target, QStringLiteral("Teacher Guide.doc"));
        }
        QCOMPARE(Runtime::loadedFormNames(), QStringList({"TeacherGuide0"}));

        // A desktop that cannot open it leaves the page as it is, and the program running.
        auto refusing = std::make_unique<RefusingDesktop>();
        RefusingDesktop& refuser = *refusing;
        Runtime::setPlatform(std::move(refusing));
        click(*p.Label2);
        QCOMPARE(refuser.opened.size(), 1);
        QVERIFY(refuser.errorReports.isEmpty());
        QCOMPARE(Runtime::loadedFormNames(), QStringList({"TeacherGuide0"}));
        QVERIFY(!Runtime::ended());
    }

    void everyPageIsBrightBlueOnTheHouseFrame_data() { exitUnloadsOnlyThePage_data(); }
    void everyPageIsBrightBlueOnTheHouseFrame() {
        QFETCH(int, page);
        TeacherGuidePage& p = showPage(page);
        QCOMPARE(p.Name(), QStringLiteral("TeacherGuide%1").arg(page));
        QCOMPARE(p.BackColor(), QBColor(9));
        QCOMPARE(p.BackColor(), RGB(0, 0, 255));
        QCOMPARE(p.Width(), Single(12000));
        QCOMPARE(p.Height(), Single(9000));
        QCOMPARE(p.Left(), Single(0));
        QCOMPARE(p.Top(), Single(0));
        QCOMPARE(Screen.MousePointer(), 0);
        QCOMPARE(p.Label1(guide::el::Title).Caption(), QStringLiteral("Teachers' Guide"));
        QCOMPARE(p.Label1(guide::el::Title).Alignment(), int(vbCenter));
        for (Label* l : labelsOf(p, QStringLiteral("Label1"))) {
            QCOMPARE(l->ForeColor(), kYellow);
            QCOMPARE(l->BackStyle(), int(vbTransparent));
            QCOMPARE(l->Font().name, QStringLiteral("Arial"));
        }
        for (Label* b : labelsOf(p, QStringLiteral("Label3"))) {
            QCOMPARE(b->ForeColor(), kYellow);
            QCOMPARE(b->BackColor(), RGB(0, 0, 0));
            QCOMPARE(b->BackStyle(), int(vbOpaque));
            QCOMPARE(b->BorderStyle(), int(vbFixedSingle));
        }
        // No hover highlight on these pages: the buttons stay black after the pointer has crossed the page.
        hover(windowOf(p), pointIn(p.Label3(0)));
        hover(windowOf(p), QPoint(400, 590));
        QCOMPARE(p.Label3(0).BackStyle(), int(vbOpaque));
    }

    void gridFollowsTheDesign_data() {
        QTest::addColumn<int>("page");
        for (int n = 1; n < guide::kPageCount; ++n)
            QTest::newRow(qPrintable(QString::number(n + 1))) << n;
    }
    void gridFollowsTheDesign() {
        QFETCH(int, page);
        const GridDesign design = designOf(page);
        TeacherGuidePage& p = showPage(page);
        QCOMPARE(p.Line1.Count(), 11);
        for (int i = 0; i <= 5; ++i) {
            const vb::Line& across = p.Line1(i);
            QCOMPARE(across.X1(), Single(1080));
            QCOMPARE(across.X2(), Single(11760));
            QCOMPARE(across.Y1(), design.rows[i]);
            QCOMPARE(across.Y2(), design.rows[i]);
        }
        for (int i = 0; i <= 4; ++i) {
            const vb::Line& down = p.Line1(6 + i);
            QCOMPARE(down.X1(), design.columns[i]);
            QCOMPARE(down.X2(), design.columns[i]);
            QCOMPARE(down.Y1(), Single(1200));
            const bool isShort = design.shortLineBottom > 0 && i == 3;
            QCOMPARE(down.Y2(), isShort ? design.shortLineBottom : design.rows.last());
        }
        for (int i = 0; i <= 10; ++i) {
            QCOMPARE(p.Line1(i).BorderColor(), kYellow);
            QCOMPARE(p.Line1(i).BorderWidth(), 2);
            QVERIFY(p.Line1(i).Visible());
        }
        QCOMPARE(p.Label1(guide::el::MenuName).Caption(), QStringLiteral("Menu %1").arg(page));
    }

    void pageFourDrawsItsShortLineOnlyInTheFirstRow() {
        TeacherGuidePage& p = showPage(3);
        const QImage shot = p.hWnd()->grab().toImage();
        // Count the line's own yellow down the column at x 9240, in the first row and in the second.
        auto yellowRun = [&](int fromY, int toY) {
            int n = 0;
            for (int y = fromY; y < toY; ++y)
                if (shot.pixelColor(9240 / 15 - 1, y) == QColor(255, 255, 0)) ++n;
            return n;
        };
        const int firstRow = yellowRun(3120 / 15 - 120 / 15, 3120 / 15 - 2);
        const int secondRow = yellowRun(3120 / 15 + 2, 4440 / 15 - 2);
        QCOMPARE(firstRow, 120 / 15 - 2);
        QVERIFY2(secondRow < (4440 - 3120) / 15 / 2, qPrintable(QString::number(secondRow)));
        // A page without the short line has it the whole way down.
        TeacherGuidePage& other = showPage(2);
        const QImage full = other.hWnd()->grab().toImage();
        QCOMPARE(full.pixelColor(9000 / 15 - 1, 5000 / 15), QColor(255, 255, 0));
    }

    void everyCellLiesInsideItsGridCell_data() { gridFollowsTheDesign_data(); }
    void everyCellLiesInsideItsGridCell() {
        QFETCH(int, page);
        TeacherGuidePage& p = showPage(page);
        const DrawnGrid grid = drawnGrid(p);
        QCOMPARE(grid.rows.size(), 6);
        const auto activities = activitiesOf(page);

        QList<QList<Label*>> cellsByRow(5);
        for (Label* l : labelsOf(p, QStringLiteral("Label1"))) {
            if (l->Index() == guide::el::Title || l->Index() == guide::el::PageNumber) continue;
            QVERIFY2(l->captionFits(), qPrintable(describe(*l)));
            const Single right = l->Left() + l->Width(), bottom = l->Top() + l->Height();
            if (bottom <= grid.rows.first()) {
                // Menu name and headings sit above the table, clear of its top line.
                QVERIFY2(bottom <= grid.rows.first() - kMargin, qPrintable(describe(*l)));
                continue;
            }
            int r = -1;
            for (int i = 0; i < 5; ++i)
                if (l->Top() >= grid.rows[i] && l->Top() < grid.rows[i + 1]) r = i;
            QVERIFY2(r >= 0, qPrintable(describe(*l) + " is not in the table"));
            QVERIFY2(l->Top() >= grid.rows[r] + kMargin && bottom <= grid.rows[r + 1] - kMargin,
                     qPrintable(describe(*l) + " touches a line across"));
            const QList<Single> xs = grid.boundariesOfRow(r);
            QVERIFY2(xs.first() <= l->Left() - kMargin && xs.last() >= right + kMargin,
                     qPrintable(describe(*l) + " is outside the table"));
            for (Single x : xs)
                QVERIFY2(x <= l->Left() - kMargin || x >= right + kMargin,
                         qPrintable(describe(*l) + " touches a line down at " + QString::number(x)));
            cellsByRow[r] << l;
        }

        for (int r = 0; r < 5; ++r) {
            QList<Label*>& row = cellsByRow[r];
            std::sort(row.begin(), row.end(), [](Label* a, Label* b) { return a->Left() < b->Left(); });
            // One text in each cell of the row, none left empty.
            const QList<Single> xs = grid.boundariesOfRow(r);
            QCOMPARE(row.size(), int(xs.size()) - 1);
            for (int c = 0; c < row.size(); ++c) {
                QVERIFY2(row[c]->Left() > xs[c] && row[c]->Left() < xs[c + 1], qPrintable(describe(*row[c])));
                QVERIFY2(row[c]->Caption().size() > 3, qPrintable(describe(*row[c])));
            }
            QCOMPARE(row[0]->Caption(), activities[r].first);
            if (!activities[r].second.isEmpty()) QCOMPARE(row[1]->Caption(), activities[r].second);
        }
        // Page 4 shares one cell between Notes and Options below its first activity.
        if (page == 3)
            for (int r = 1; r < 5; ++r)
                QCOMPARE(cellsByRow[r].size(), 3);
    }

    void noTwoTextsOverlap_data() { exitUnloadsOnlyThePage_data(); }
    void noTwoTextsOverlap() {
        QFETCH(int, page);
        TeacherGuidePage& p = showPage(page);
        QList<Label*> all;
        for (Control* c : p.controls())
            if (auto* l = qobject_cast<Label*>(c); l && l->Visible() && !l->Caption().isEmpty()) all << l;
        auto box = [](const Label* l) { return QRectF(l->Left(), l->Top(), l->Width(), l->Height()); };
        for (int i = 0; i < all.size(); ++i) {
            // The title spans the page and centres its caption between the page number and Exit.
            if (all[i]->Name() == QLatin1String("Label1") && all[i]->Index() == guide::el::Title) continue;
            QVERIFY2(box(all[i]).right() <= 12000 && box(all[i]).bottom() <= 9000,
                     qPrintable(describe(*all[i])));
            for (int j = i + 1; j < all.size(); ++j) {
                if (all[j]->Name() == QLatin1String("Label1") && all[j]->Index() == guide::el::Title)
                    continue;
                QVERIFY2(!box(all[i]).intersects(box(all[j])),
                         qPrintable(describe(*all[i]) + " overlaps " + describe(*all[j])));
            }
        }
    }

    void contactDetailsStayFictional() {
        TeacherGuidePage& p = showPage(0);
        QString text;
        for (Label* l : labelsOf(p, QStringLiteral("Label1")))
            text += l->Caption() + QLatin1Char('\n');
        const QRegularExpression email(QStringLiteral("[\\w.+-]+@([\\w-]+(\\.[\\w-]+)+)"));
        const QRegularExpression web(QStringLiteral("www\\.([\\w-]+(\\.[\\w-]+)+)"));
        const QRegularExpression phone(QStringLiteral("\\b0\\d{3,4} ?\\d{3} ?\\d{3,4}\\b"));
        int emails = 0, webs = 0, phones = 0;
        for (auto it = email.globalMatch(text); it.hasNext(); ++emails)
            QCOMPARE(it.next().captured(1), QStringLiteral("quorvane.example"));
        for (auto it = web.globalMatch(text); it.hasNext(); ++webs)
            QCOMPARE(it.next().captured(1), QStringLiteral("quorvane.example"));
        for (auto it = phone.globalMatch(text); it.hasNext(); ++phones) {
            const QString number = it.next().captured(0).remove(QLatin1Char(' '));
            QVERIFY2(number.startsWith(QLatin1String("01632960")), qPrintable(number));
        }
        QVERIFY(emails >= 1 && webs >= 1 && phones >= 1);
        QVERIFY(text.contains(QLatin1String("Contact Details:")));
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
            TeacherGuidePage& p = showPage(n);
            for (Label* l : labelsOf(p, QStringLiteral("Label1"))) {
                if (l->Index() == guide::el::PageNumber) continue;
                for (const QString& part : l->Caption().split(QLatin1Char('\n'))) {
                    QVERIFY2(documentHolds(doc, part),
                             qPrintable(QStringLiteral("the document lacks \"%1\" of page %2: run "
                                                       "tools/make-guide-doc.sh")
                                            .arg(part)
                                            .arg(n + 1)));
                    ++checked;
                }
            }
        }
        QVERIFY(checked > 100);
    }
};

QTEST_MAIN(TestGuide)
#include "test_guide.moc"
