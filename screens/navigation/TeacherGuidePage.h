// The Teachers' Guide: six read-only pages with one look and one way of moving between them. Each page is its
// own screen class (TeacherGuide0 to TeacherGuide5) built from this one, with its texts and table taken from
// TeacherGuideData.
#pragma once

#include "TeacherGuideData.h"
#include "vb.h"

class TeacherGuidePage : public vb::Form {
public:
    int page() const { return m_page; } // 0 for the introduction, 1 to 5 for Menu 1 to Menu 5

    vb::Arr<vb::Label> Label1{this, "Label1"}; // every text of the page
    vb::Arr<vb::Label> Label3{this, "Label3"}; // 0 "Exit", 1 ">> Next Page", 2 "<< Previous Page"
    vb::Ctl<vb::Label> Label2{this, "Label2"}; // the first page's link to the Word document
    vb::Arr<vb::Line> Line1{this, "Line1"};    // the table's grid: 0 to 5 across, 6 to 10 down

    void Label3_Click(int Index);
    void Label2_Click();

protected:
    explicit TeacherGuidePage(int page);
    void Design() override;
    void Form_Load() override;

private:
    void addText(const guide::Caption& c);
    void addGrid(const guide::Grid& grid);
    vb::Label& addButton(int index, const QString& caption, vb::Single left, vb::Single width);

    int m_page;
};

// The page of that number, 0 to 5.
TeacherGuidePage& teacherGuidePage(int page);
