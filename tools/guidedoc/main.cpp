// Writes the Teachers' Guide as one HTML document: the introduction of the first page, then the table of
// every menu page, all taken from the tables the pages themselves are drawn from. Usage: guidedoc OUTPUT.html
#include "TeacherGuideData.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (char ch : text) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\n':
            out += "<br>";
            break;
        default:
            out += ch;
        }
    }
    return out;
}

const guide::Caption* find(const guide::Page& page, int index) {
    for (const guide::Caption& c : page.captions)
        if (c.index == index) return &c;
    return nullptr;
}

std::string text(const guide::Page& page, int index) {
    const guide::Caption* c = find(page, index);
    return c ? escaped(c->text) : std::string();
}

const char* kStyle = R"(
body { font-family: Arial, sans-serif; font-size: 11pt; }
h1 { font-family: Arial, sans-serif; font-size: 20pt; color: #1F3F8F; margin-bottom: 0; }
h2 { font-family: Arial, sans-serif; font-size: 16pt; color: #1F3F8F; }
h3 { font-family: Arial, sans-serif; font-size: 13pt; color: #1F3F8F; margin-top: 14pt; }
p { margin-top: 0; margin-bottom: 8pt; }
td, th { font-family: Arial, sans-serif; font-size: 10pt; vertical-align: top; }
th { text-align: left; }
)";

void writeIntroduction(std::ostream& out, const guide::Page& intro) {
    out << "<h1>" << guide::kProductName << "</h1>\n";
    out << "<h2>" << guide::kTitle << "</h2>\n";
    out << "<p>" << text(intro, guide::el::Support) << "</p>\n";

    out << "<h3>" << text(intro, guide::el::ContactHeading) << "</h3>\n";
    out << "<table width=\"100%\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\">\n"
        << "<tr valign=\"top\"><td width=\"45%\"><p style=\"font-size: 11pt\">"
        << text(intro, guide::el::Address) << "</p></td>"
        << "<td width=\"55%\"><p style=\"font-size: 11pt\">" << text(intro, guide::el::Telecom)
        << "</p></td></tr>\n</table>\n";

    out << "<h3>Using the program with an interactive whiteboard or a projector</h3>\n";
    out << "<p>" << text(intro, guide::el::Whiteboard) << "</p>\n";

    out << "<h3>The activity menus</h3>\n";
    out << "<p>" << text(intro, guide::el::MenusNote) << "</p>\n";
    out << "<p>In this demonstration edition three activities are ready to use: Sampling Methods - The "
           "Quadrat "
           "(Menu 1), Reflex Action (Menu 2) and Constructing a Biological Sentence (Menu 5). The other "
           "activities are listed on the menus but cannot be opened yet.</p>\n";
}

void writeMenu(std::ostream& out, const guide::Page& page) {
    const guide::Grid& grid = *page.grid;
    out << "<h3 style=\"page-break-before: always\">" << text(page, guide::el::MenuName) << "</h3>\n";
    out << "<table width=\"100%\" border=\"1\" cellpadding=\"5\" cellspacing=\"0\">\n";
    // The columns keep the proportions they have on the screen.
    const float total = grid.columns[guide::kGridColumns] - grid.columns[0];
    for (int i = 0; i < guide::kGridColumns; ++i)
        out << "<col width=\"" << int((grid.columns[i + 1] - grid.columns[i]) * 100 / total + 0.5f)
            << "%\">\n";
    out << "<tr>";
    for (int heading : {guide::el::ActivityHeading, guide::el::DescriptionHeading, guide::el::NotesHeading,
                        guide::el::OptionsHeading})
        out << "<th bgcolor=\"#DCE6F4\">" << text(page, heading) << "</th>";
    out << "</tr>\n";

    std::map<std::pair<int, int>, std::pair<const guide::Caption*, int>> cells;
    for (const guide::Caption& c : page.captions) {
        const guide::CellPlace place = guide::locate(grid, c);
        if (place.row >= 0) cells[{place.row, place.column}] = {&c, place.span};
    }
    for (int r = 0; r < guide::kGridRows; ++r) {
        out << "<tr valign=\"top\">";
        for (int col = 0; col < guide::kGridColumns;) {
            auto it = cells.find({r, col});
            const int span = it == cells.end() ? 1 : it->second.second;
            out << "<td valign=\"top\""
                << (span > 1 ? " colspan=\"" + std::to_string(span) + "\"" : std::string()) << ">";
            if (it != cells.end())
                out << (col == 0 ? "<b>" : "") << escaped(it->second.first->text) << (col == 0 ? "</b>" : "");
            out << "</td>";
            col += span;
        }
        out << "</tr>\n";
    }
    out << "</table>\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: guidedoc OUTPUT.html\n", stderr);
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    out << "<!DOCTYPE html>\n<html lang=\"en-GB\">\n<head>\n"
        << "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
        << "<title>" << guide::kProductName << " - " << guide::kTitle << "</title>\n"
        << "<style>" << kStyle << "</style>\n</head>\n<body>\n";
    writeIntroduction(out, guide::page(0));
    for (int n = 1; n < guide::kPageCount; ++n)
        writeMenu(out, guide::page(n));
    out << "<p style=\"margin-top: 18pt; font-size: 9pt\">Copyright \xC2\xA9 2026 Quorvane Educational "
           "Software</p>\n";
    out << "</body>\n</html>\n";
    return out.good() ? 0 : 1;
}
