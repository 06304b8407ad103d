#include "reflex.h"

#include "Module1.h"

#include <algorithm>

using namespace vb;

namespace {

constexpr Single kCardWidth = 3435, kCardHeight = 615;

// In the design the sentences stand in the slot boxes, in the right order; Load hands them to the cards.
const char* const kSentences[6] = {
    "your hand touches the hot cooker",
    "sensory receptors in your skin send a message",
    "message goes to spinal cord along sensory neurones",
    "message leaves spinal cord along motor neurones",
    "message reaches effector muscles in your arm",
    "the muscles move your arm away from the cooker",
};
// Card i starts here: two rows of three, out of order.
constexpr Single kHome[6][2] = {{4200, 7200}, {600, 7200},  {600, 6480},
                                {4200, 6480}, {7800, 6480}, {7800, 7200}};

struct Annotation {
    const char* caption;
    Single left, top, width, height;
    int alignment;
    OleColor colour;
};
const Annotation kAnnotations[5] = {
    // Two lines at this size take 720 twips with their descent; the letters stand where they would in 645.
    {"motor neurone", 360, 480, 1920, 720, vbCenter, vbYellow},
    {"muscle", 3570, 2550, 1560, 525, vbLeftJustify, vbYellow},
    {"spinal cord", 750, 3720, 1185, 765, vbCenter, vbBlue},
    {"hot cooker", 5160, 4200, 1680, 465, vbCenter, vbYellow},
    {"sensory neurone", 2040, 4680, 1920, 765, vbCenter, vbYellow},
};
struct Pointer {
    Single x1, y1, x2, y2;
    OleColor colour;
    const char* from; // the annotation it leads from
};
const Pointer kPointers[4] = {
    {2520, 2760, 3480, 2760, vbYellow, "muscle"},
    {1320, 2040, 1320, 1200, vbYellow, "motor neurone"},
    {480, 4080, 780, 4080, vbBlue, "spinal cord"},
    {3000, 4680, 3000, 3840, vbYellow, "sensory neurone"},
};

// The catch area of a box is the open rectangle from half its size above and left of its corner to its far
// edges. Bounds are rounded to single precision, as positions are stored, so the edges are exact.
bool inCatchArea(const Control& box, Single left, Single top) {
    const double L = box.Left(), T = box.Top(), W = box.Width(), H = box.Height();
    const Single minLeft = Single(L - W / 2), maxLeft = Single(L + W);
    const Single minTop = Single(T - H / 2), maxTop = Single(T + H);
    return minLeft < left && left < maxLeft && minTop < top && top < maxTop;
}

QPointF corner(const Control& c) {
    return QPointF(c.Left(), c.Top());
}

bool sameCorner(const Control& a, const Control& b) {
    return a.Left() == b.Left() && a.Top() == b.Top();
}

// One geometry change, so only the card's old and new rectangles are repainted.
void moveTo(Control& card, Single left, Single top) {
    card.Move(left, top, card.Width(), card.Height());
}

} // namespace

reflex::reflex() : Form(QStringLiteral("reflex")) {
    Label2.onMouseDown([this](int i, int b, int s, Single x, Single y) { Label2_MouseDown(i, b, s, x, y); });
    Label2.onMouseMove([this](int i, int b, int s, Single x, Single y) { Label2_MouseMove(i, b, s, x, y); });
    Label2.onMouseUp([this](int i, int b, int s, Single x, Single y) { Label2_MouseUp(i, b, s, x, y); });
    Label3.onClick([this](int i) { Label3_Click(i); });
    Label3.onMouseMove([this](int i, int b, int s, Single x, Single y) { Label3_MouseMove(i, b, s, x, y); });
}

void reflex::Design() {
    setClientSize(12000, 9000);
    setCaption(QStringLiteral("Reflex Action"));
    setBackColor(RGB(39, 63, 137));
    setManyPointers(true); // two pupils may sort cards at once

    // Creation order is stacking order: the picture at the back, the cards in front of everything.
    add<Image>("Image1", 240, 1320, 4800, 3600).setAccessibleName(QStringLiteral("Diagram of a reflex arc"));

    for (int i = 0; i < 6; ++i) {
        auto& slot = add<Label>("Label1", i, 7800, 1200 + 840 * i, kCardWidth, kCardHeight);
        slot.setCaption(QString::fromLatin1(kSentences[i]));
        slot.setBackColor(vbBlack);
        slot.setForeColor(vbYellow);
        slot.setFontDesc({QStringLiteral("Arial"), 12, true});
        slot.setAlignment(vbCenter);
        slot.setBorderStyle(vbFixedSingle);
    }
    for (int i = 0; i < 6; ++i) {
        auto& home = add<Label>("Label4", i, kHome[i][0], kHome[i][1], kCardWidth, kCardHeight);
        home.setBackStyle(vbTransparent);
        home.setBorderStyle(vbFixedSingle);
        home.setAccessibleName(QStringLiteral("start place %1").arg(i + 1));
    }

    const char* const buttons[3] = {"Exit", "Start Again", "Check Score"};
    const Single buttonPlace[3][2] = {{10560, 1245}, {3360, 2565}, {6000, 2565}};
    for (int i = 0; i < 3; ++i) {
        auto& b = add<Label>("Label3", i, buttonPlace[i][0], 7920, buttonPlace[i][1], 495);
        b.setCaption(QString::fromLatin1(buttons[i]));
        b.setBackColor(vbBlack);
        b.setForeColor(vbYellow);
        b.setFontDesc({QStringLiteral("Tahoma"), 15.75f, true});
        b.setAlignment(vbCenter);
        b.setBorderStyle(vbFixedSingle);
    }
    Label3(2).setVisible(false);

    auto& message = add<Label>("Label5", 4200, 5760, 3435, 555);
    message.setBackStyle(vbTransparent);
    message.setForeColor(vbYellow);
    message.setFontDesc({QStringLiteral("Times New Roman"), 24.75f});
    message.setAlignment(vbCenter);
    message.setVisible(false);

    auto& instruction = add<Label>("Label8", 6120, 120, 5640, 1035);
    instruction.setCaption(
        QStringLiteral("Use the diagram to help you put the sentences in the correct order."));
    instruction.setBackStyle(vbTransparent);
    instruction.setForeColor(vbYellow);
    instruction.setFontDesc({QStringLiteral("Times New Roman"), 20.25f});
    instruction.setAlignment(vbCenter);

    for (int i = 0; i < 5; ++i) {
        const Annotation& a = kAnnotations[i];
        auto& l = add<Label>("Label9", i, a.left, a.top, a.width, a.height);
        l.setCaption(QString::fromLatin1(a.caption));
        l.setBackStyle(vbTransparent);
        l.setForeColor(a.colour);
        l.setFontDesc({QStringLiteral("Arial"), 15.75f, true});
        l.setAlignment(a.alignment);
    }
    for (int i = 0; i < 4; ++i) {
        const Pointer& p = kPointers[i];
        auto& line = add<vb::Line>("Line1", i, 0, 0, 0, 0);
        line.setBorderWidth(2);
        line.setBorderColor(p.colour);
        line.setEnds(p.x1, p.y1, p.x2, p.y2);
        line.setAccessibleName(QStringLiteral("pointer from ") + QLatin1String(p.from));
    }

    for (int i = 0; i < 6; ++i) {
        auto& card = add<Label>("Label2", i, kHome[i][0], kHome[i][1], kCardWidth, kCardHeight);
        card.setBackColor(vbBlack);
        card.setForeColor(vbYellow);
        card.setFontDesc({QStringLiteral("Arial"), 12, true});
        card.setAlignment(vbCenter);
        card.setBorderStyle(vbFixedSingle);
    }
}

void reflex::Form_Load() {
    ApplyHouseStyle(*this);
    setBackColor(RGB(39, 63, 137));
    Image1->setPicture(LoadPicture(QStringLiteral("Images\\reflex.jpg")));
    SentenceCount = 6;
    pickedUpFrom.clear();
    for (int i = 0; i <= SentenceCount - 1; ++i) {
        Label4(i).setWidth(Label2(i).Width());
        Label4(i).setHeight(Label2(i).Height());
    }
    for (int i = 0; i <= SentenceCount - 1; ++i) {
        Label2(i).setCaption(Label1(i).Caption());
        Label1(i).setCaption(Str(i + 1) + QStringLiteral("."));
        Label1(i).setBackStyle(vbTransparent);
        Label4(i).setLeft(Label2(i).Left());
        Label4(i).setTop(Label2(i).Top());
    }
}

void reflex::Label2_MouseDown(int Index, int, int, Single, Single) {
    if (!pickedUpFrom.contains(Index)) pickedUpFrom.insert(Index, corner(Label2(Index)));
}

void reflex::Label2_MouseMove(int Index, int Button, int, Single X, Single Y) {
    if (Button != vbLeftButton) return;
    Label& card = Label2(Index);
    // The card being dragged lies over every other card, so it is seen all the way and where it lands.
    card.ZOrder(0);
    // The card's centre follows the pointer; the drop brings it back onto the screen.
    const Single left = Single(double(card.Left()) + X - double(card.Width()) / 2);
    const Single top = Single(double(card.Top()) + Y - double(card.Height()) / 2);
    moveTo(card, left, top);
}

void reflex::Label2_MouseUp(int Index, int, int, Single, Single) {
    Label& card = Label2(Index);
    Label5->setVisible(false);
    // A card let go past an edge would be lost until Start Again: it comes back wholly onto the screen.
    moveTo(card, std::clamp<Single>(card.Left(), 0, ScaleWidth() - card.Width()),
           std::clamp<Single>(card.Top(), 0, ScaleHeight() - card.Height()));
    // Slot 0, home 0, slot 1, home 1, ...: the first area holding the corner wins, because a card that has
    // snapped lies outside every later one.
    for (int i = 0; i <= SentenceCount - 1; ++i) {
        if (inCatchArea(Label1(i), card.Left(), card.Top())) moveTo(card, Label1(i).Left(), Label1(i).Top());
        if (inCatchArea(Label4(i), card.Left(), card.Top())) moveTo(card, Label4(i).Left(), Label4(i).Top());
    }
    // Dropped exactly onto a card that lies there, it would hide that card: the two change places instead,
    // so all six stay in sight. A card another finger holds is on its way elsewhere and stays with it.
    const auto from = pickedUpFrom.constFind(Index);
    if (from != pickedUpFrom.constEnd() && *from != corner(card)) {
        for (int c = 0; c <= SentenceCount - 1; ++c)
            if (c != Index && !pickedUpFrom.contains(c) && sameCorner(Label2(c), card)) {
                moveTo(Label2(c), Single(from->x()), Single(from->y()));
                break;
            }
    }
    pickedUpFrom.remove(Index);
    if (placements() == SentenceCount) Label3(2).setVisible(true);
}

// Cards lying on any slot, two on one slot counting twice.
int reflex::placements() const {
    int count = 0;
    for (int c = 0; c <= SentenceCount - 1; ++c)
        for (int s = 0; s <= SentenceCount - 1; ++s)
            if (sameCorner(Label2(c), Label1(s))) ++count;
    return count;
}

int reflex::score() const {
    int right = 0;
    for (int i = 0; i <= SentenceCount - 1; ++i)
        if (sameCorner(Label2(i), Label1(i))) ++right;
    return right;
}

void reflex::Label3_Click(int Index) {
    switch (Index) {
    case 0:
        Unload();
        break;
    case 1:
        Label5->setVisible(false);
        for (int i = 0; i <= SentenceCount - 1; ++i)
            moveTo(Label2(i), Label4(i).Left(), Label4(i).Top());
        Label3(2).setVisible(false);
        break;
    case 2:
        Label5->setCaption(LTrim(Str(score())) + QStringLiteral(" out of") + Str(SentenceCount) +
                           QStringLiteral(" correct"));
        Label5->setVisible(true);
        break;
    default:
        break;
    }
}

void reflex::Label3_MouseMove(int Index, int, int, Single, Single) {
    Label3(Index).setBackStyle(vbOpaque);
}

void reflex::Form_MouseMove(int, int, Single, Single) {
    for (int i = 0; i <= 2; ++i)
        Label3(i).setBackStyle(vbTransparent);
}
