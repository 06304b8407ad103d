#include "TeacherGuidePage.h"

#include "Module1.h"
#include "TeacherGuide.h"

using namespace vb;

namespace {
const QString kArial = QStringLiteral("Arial");
} // namespace

TeacherGuidePage& teacherGuidePage(int page) {
    switch (page) {
    case 0:
        return form<TeacherGuide0>();
    case 1:
        return form<TeacherGuide1>();
    case 2:
        return form<TeacherGuide2>();
    case 3:
        return form<TeacherGuide3>();
    case 4:
        return form<TeacherGuide4>();
    default:
        return form<TeacherGuide5>();
    }
}

TeacherGuidePage::TeacherGuidePage(int page)
    : Form(QStringLiteral("TeacherGuide%1").arg(page)), m_page(page) {
    Label3.onClick([this](int Index) { Label3_Click(Index); });
    if (page == 0) Label2.onClick([this] { Label2_Click(); }); // only the first page has the link
}

void TeacherGuidePage::Design() {
    setCaption(QString::fromUtf8(guide::kTitle));
    setBackColor(QBColor(9));
    setWidth(12000);
    setHeight(9000);

    const guide::Page& content = guide::page(m_page);
    // The grid goes first so that every text lies in front of it.
    if (content.grid) addGrid(*content.grid);

    addText({guide::el::Title, guide::kTitle, 0, 120, 12000, 360, 15.75f, true});
    Label1(guide::el::Title).setAlignment(vbCenter);
    const QByteArray pageNumber =
        QStringLiteral("Page %1 of %2").arg(m_page + 1).arg(guide::kPageCount).toUtf8();
    addText({guide::el::PageNumber, pageNumber.constData(), 0, 0, 1065, 240, 9.75f, true});
    // Six windows of one caption: a screen reader tells them apart by the page.
    hWnd()->setAccessibleName(QStringLiteral("%1, %2").arg(QString::fromUtf8(guide::kTitle), pageNumber));
    for (const guide::Caption& c : content.captions)
        addText(c);

    addButton(0, QStringLiteral("Exit"), 11160, 735);
    addButton(1, QStringLiteral(">> Next Page"), 10080, 1815);
    if (m_page > 0) {
        addButton(2, QStringLiteral("<< Previous Page"), 7680, 2295);
    } else {
        auto& link = add<Label>(QStringLiteral("Label2"), 120, 8520, 5235, 375);
        link.setCaption(QString::fromUtf8(guide::kOpenDocumentCaption));
        link.setFontDesc({kArial, 12, true});
        link.setForeColor(vbYellow);
        link.setBackColor(vbBlack);
        link.setBackStyle(vbOpaque);
        link.setBorderStyle(vbFixedSingle);
        link.setAlignment(vbCenter);
    }
}

void TeacherGuidePage::addText(const guide::Caption& c) {
    auto& label = add<Label>(QStringLiteral("Label1"), c.index, c.left, c.top, c.width, c.height);
    label.setCaption(QString::fromUtf8(c.text));
    label.setFontDesc({kArial, c.points, c.bold});
    label.setForeColor(vbYellow);
    label.setBackStyle(vbTransparent);
}

void TeacherGuidePage::addGrid(const guide::Grid& grid) {
    auto addLine = [this](int index, Single x1, Single y1, Single x2, Single y2) {
        auto& line = add<vb::Line>(QStringLiteral("Line1"), index, 0, 0, 0, 0);
        line.setBorderColor(vbYellow);
        line.setBorderWidth(2);
        line.setEnds(x1, y1, x2, y2);
        line.setAccessibleName(QStringLiteral("table rule"));
    };
    const Single left = grid.columns[0], right = grid.columns[guide::kGridColumns];
    for (int i = 0; i <= guide::kGridRows; ++i)
        addLine(i, left, grid.rows[i], right, grid.rows[i]);
    for (int i = 0; i <= guide::kGridColumns; ++i)
        addLine(guide::kGridRows + 1 + i, grid.columns[i], grid.rows[0], grid.columns[i],
                grid.columnBottoms[i]);
}

Label& TeacherGuidePage::addButton(int index, const QString& caption, Single left, Single width) {
    auto& button = add<Label>(QStringLiteral("Label3"), index, left, index == 0 ? 60 : 8520, width, 375);
    button.setCaption(caption);
    button.setFontDesc({kArial, 12.75f, true});
    button.setForeColor(vbYellow);
    button.setBackColor(vbBlack);
    button.setBackStyle(vbOpaque);
    button.setBorderStyle(vbFixedSingle);
    button.setAlignment(vbCenter);
    return button;
}

void TeacherGuidePage::Form_Load() {
    ApplyHouseStyle(*this);
    setBackColor(QBColor(9));
    // This edition ends at page 6: its "Next" would lead nowhere, so it is not offered.
    if (!screenOpenedBy(*this, QStringLiteral("Label3(1)"))) Label3(1).hide();
}

void TeacherGuidePage::Label3_Click(int Index) {
    switch (Index) {
    case 0:
        Unload();
        break;
    case 1:
    case 2:
        if (FormGetter to = screenOpenedBy(*this, QStringLiteral("Label3(%1)").arg(Index))) {
            to().Show();
            Unload();
        }
        break;
    default:
        break;
    }
}

void TeacherGuidePage::Label2_Click() {
    // The desktop opens the document beside the program; if it cannot, the page simply stays as it is.
    ShellExecute(hWnd(), QStringLiteral("open"), QString::fromUtf8(guide::kDocumentFile), QString(),
                 QString(), SW_HIDE);
}
