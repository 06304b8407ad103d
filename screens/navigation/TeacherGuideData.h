// What the six pages of the Teachers' Guide say, and where. The pages are drawn from these tables and the
// Word document is written from them, so the two always say the same thing. Plain C++ with no toolkit types,
// so the document writer needs nothing else.
#pragma once

#include <span>

namespace guide {

inline constexpr int kPageCount = 6;
inline constexpr int kGridColumns = 4; // Activity, Description, Notes, Options
inline constexpr int kGridRows = 5;    // one activity a row

// Texts every page carries, and the document the first page opens.
inline constexpr const char* kTitle = "Teachers' Guide";
inline constexpr const char* kProductName = "Biology Year 10 Zestora Demo";
inline constexpr const char* kDocumentFile = "Teacher Guide.doc";
inline constexpr const char* kOpenDocumentCaption = "Open Teachers' Guide as a Word Document";

// Elements of the Label1 array with a fixed role. Table cells take the elements from kFirstCell on, row by
// row.
namespace el {
enum : int {
    Title = 0,
    ContactHeading = 1,
    Support = 2,
    Telecom = 3,
    Address = 4,
    Whiteboard = 5,
    MenuName = 6,
    PageNumber = 7,
    ActivityHeading = 8,
    MenusNote = 9,
    DescriptionHeading = 10,
    NotesHeading = 11,
    OptionsHeading = 12,
    FirstCell = 13,
};
} // namespace el

// One text of a page: an element of Label1, in twips, Arial in yellow.
struct Caption {
    int index;
    const char* text; // UTF-8; "\n" starts a new line
    float left, top, width, height;
    float points;
    bool bold;
};

// The table of a page: the column and row boundaries, in twips, and where each vertical line stops. A
// vertical line that stops short merges the cells on either side of it below that point.
struct Grid {
    float columns[kGridColumns + 1];
    float rows[kGridRows + 1];
    float columnBottoms[kGridColumns + 1];
};

struct Page {
    std::span<const Caption> captions; // the page's own texts; the title and page number are common to all
    const Grid* grid;                  // none on the first page
};

// Page 0 is the introduction, pages 1 to 5 describe Menu 1 to Menu 5.
const Page& page(int n);

// Where a text lies in a table: its row, its first column and how many columns the cell spans. Row -1 for a
// text outside the table (the menu name and the headings above it).
struct CellPlace {
    int row = -1;
    int column = -1;
    int span = 0;
};
CellPlace locate(const Grid& grid, const Caption& c);

} // namespace guide
