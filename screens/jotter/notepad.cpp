#include "notepad.h"

#include <QScreen>

#include <algorithm>

using namespace vb;

namespace {
constexpr OleColor kExitFace = RGB(255, 224, 192);
constexpr OleColor kWriteFace = RGB(255, 255, 192);
constexpr OleColor kEraseFace = RGB(192, 192, 0);
constexpr OleColor kClearFace = RGB(255, 192, 128);
constexpr OleColor kFlipFace = RGB(128, 128, 255);
constexpr int kPenWidth = 3;
constexpr int kEraserWidth = 30;

CommandButton& button(CommandButton& b, const QString& caption, OleColor face) {
    b.setStyle(1);
    b.setBackColor(face);
    b.setCaption(caption);
    b.setFontDesc({QStringLiteral("Tahoma"), 12});
    return b;
}

// What a screen reader calls the swatches, in the palette's order.
const char* const kColourNames[16] = {"black", "navy",   "green",  "teal", "maroon", "purple",
                                      "olive", "silver", "grey",   "blue", "lime",   "aqua",
                                      "red",   "pink",   "yellow", "white"};

Label& swatch(Label& l) {
    l.setBackStyle(vbOpaque);
    l.setBorderStyle(vbBSNone);
    l.setAccessibleName(QLatin1String(kColourNames[l.Index()]) + QStringLiteral(" pen"));
    return l;
}
} // namespace

notepad::notepad() : Form(QStringLiteral("notepad")) {
    Command1.onClick([this] { Command1_Click(); });
    Command2.onClick([this] { Command2_Click(); });
    Command3.onClick([this] { Command3_Click(); });
    Command4.onClick([this] { Command4_Click(); });
    Command5.onClick([this] { Command5_Click(); });
    Command6.onClick([this] { Command6_Click(); });
    Command7.onClick([this] { Command7_Click(); });
    Command8.onClick([this] { Command8_Click(); });
    Command9.onClick([this] { Command9_Click(); });
    Command10.onClick([this] { Command10_Click(); });
    Label1.onClick([this](int Index) { Label1_Click(Index); });
    Label11.onClick([this](int Index) { Label11_Click(Index); });
}

void notepad::Design() {
    setDecorated(true);
    setCaption(QStringLiteral("Jotter"));
    setClientSize(9915, 3660);
    // First placed at the top of the display, across its middle: it may grow to the display's height. Later
    // it comes back where the teacher last put it, held on the display's free area.
    setLeft(Single((double(Screen.Width()) - double(Width())) / 2));
    setTop(0);
    if (LastPlace) {
        const QScreen* display = Runtime::display();
        const QRect area = display ? display->availableGeometry() : QRect(0, 0, 800, 600);
        const QSize size(twipsToPixels(Width()), twipsToPixels(Height()));
        const QPoint farthest = area.bottomRight() + QPoint(1, 1) - QPoint(size.width(), size.height());
        setLeft(pixelsToTwips(std::clamp(LastPlace->x(), area.left(), std::max(area.left(), farthest.x()))));
        setTop(pixelsToTwips(std::clamp(LastPlace->y(), area.top(), std::max(area.top(), farthest.y()))));
    }

    auto& landscape = add<Frame>("Frame_landscape", 0, 2910, 9920, 750);
    landscape.setAccessibleName(QStringLiteral("Jotter tools"));
    button(add<CommandButton>("Command1", 60, 180, 930, 480, &landscape), QStringLiteral("Exit"), kExitFace);
    button(add<CommandButton>("Command2", 1120, 180, 930, 480, &landscape), QStringLiteral("Write"),
           kWriteFace);
    button(add<CommandButton>("Command5", 2180, 180, 930, 480, &landscape), QStringLiteral("Erase"),
           kEraseFace);
    button(add<CommandButton>("Command6", 3240, 180, 930, 480, &landscape), QStringLiteral("Clear"),
           kClearFace);
    button(add<CommandButton>("Command3", 4305, 180, 585, 480, &landscape), QStringLiteral("Flip"),
           kFlipFace);
    // The swatches are laid out by Load; here they only wait at the first one's place.
    for (int i = 0; i < 16; ++i)
        swatch(add<Label>("Label1", i, 5010, 285, 240, 240, &landscape));

    auto& portrait = add<Frame>("Frame_portrait", 0, 0, 1035, 5250);
    portrait.setAccessibleName(QStringLiteral("Jotter tools"));
    portrait.hide();
    button(add<CommandButton>("Command9", 60, 180, 930, 480, &portrait), QStringLiteral("Exit"), kExitFace);
    button(add<CommandButton>("Command10", 60, 705, 930, 480, &portrait), QStringLiteral("Write"),
           kWriteFace);
    button(add<CommandButton>("Command8", 60, 1230, 930, 480, &portrait), QStringLiteral("Erase"),
           kEraseFace);
    button(add<CommandButton>("Command7", 60, 1755, 930, 480, &portrait), QStringLiteral("Clear"),
           kClearFace);
    button(add<CommandButton>("Command4", 60, 2280, 930, 480, &portrait), QStringLiteral("Flip"), kFlipFace);
    for (int i = 0; i < 16; ++i)
        swatch(add<Label>("Label11", i, 180, 2820, 240, 240, &portrait));
}

void notepad::Form_Load() {
    setBackColor(kPageColour);
    setDrawWidth(kPenWidth);
    Frame_portrait->setBackColor(kPageColour);
    Frame_landscape->setBackColor(kPageColour);
    SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    for (int i = 0; i <= 15; ++i) {
        Label1(i).setBackColor(QBColor(i));
        Label11(i).setBackColor(QBColor(i));
    }
    for (int i = 1; i <= 15; ++i) {
        Label1(i).setHeight(Label1(0).Height());
        Label1(i).setWidth(Label1(0).Width());
        Label1(i).setTop(285);
        Label1(i).setLeft(Label1(i - 1).Left() + 305);
    }
    for (int i = 1; i <= 7; ++i) {
        Label11(i).setHeight(Label11(0).Height());
        Label11(i).setWidth(Label11(0).Width());
        Label11(i).setTop(Label11(i - 1).Top() + Label11(0).Height() + 50);
        Label11(i).setLeft(Label11(0).Left());
    }
    for (int i = 8; i <= 15; ++i) {
        Label11(i).setHeight(Label11(0).Height());
        Label11(i).setWidth(Label11(0).Width());
        Label11(i).setTop(Label11(i - 8).Top());
        Label11(i).setLeft(Label11(i - 8).Left() + 400);
    }

    setForeColor(QBColor(14));
    SavedPenColour = ForeColor();
}

// A stroke starts exactly where the pen touched down, whichever button it was.
void notepad::Form_MouseDown(int, int, Single X, Single Y) {
    setCurrentX(X);
    setCurrentY(Y);
}

void notepad::Form_MouseMove(int Button, int, Single X, Single Y) {
    if (Button != vbLeftButton) return;
    Line(CurrentX(), CurrentY(), X, Y);
}

void notepad::pickSwatch(const Label& swatch) {
    setDrawWidth(kPenWidth);
    setForeColor(swatch.BackColor());
    SavedPenColour = ForeColor();
}

void notepad::Label1_Click(int Index) {
    pickSwatch(Label1(Index));
}
void notepad::Label11_Click(int Index) {
    pickSwatch(Label11(Index));
}

void notepad::write() {
    setForeColor(SavedPenColour);
    setDrawWidth(kPenWidth);
}

void notepad::erase() {
    // A second Erase must not remember the eraser as the pen, or Write would then draw in the page colour.
    if (ForeColor() != kPageColour) SavedPenColour = ForeColor();
    setForeColor(kPageColour);
    setDrawWidth(kEraserWidth);
}

void notepad::clear() {
    Cls();
    setBackColor(kPageColour);
    if (ForeColor() == kPageColour) setForeColor(QBColor(14));
    setDrawWidth(kPenWidth);
}

void notepad::putAway() {
    LastPlace = hWnd()->pos();
    Unload();
}

void notepad::Command1_Click() {
    putAway();
}
void notepad::Command9_Click() {
    putAway();
}
void notepad::Command2_Click() {
    write();
}
void notepad::Command10_Click() {
    write();
}
void notepad::Command5_Click() {
    erase();
}
void notepad::Command8_Click() {
    erase();
}
void notepad::Command6_Click() {
    clear();
}
void notepad::Command7_Click() {
    clear();
}

void notepad::Command3_Click() {
    Cls();
    setWidth(4000);
    setHeight(12000);
    Frame_portrait->setLeft(Width() - Frame_portrait->Width() - 80);
    Frame_landscape->hide();
    Frame_portrait->show();
}

void notepad::Command4_Click() {
    Cls();
    setWidth(10005);
    setHeight(4140);
    Frame_landscape->show();
    Frame_portrait->hide();
}

// The title bar's close button puts the pad away as its Exit does.
void notepad::closeRequested() {
    putAway();
}
