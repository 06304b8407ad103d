#include "quadrat.h"

#include "Module1.h"
#include "quadrat_squares.h"

using namespace vb;

namespace {
constexpr OleColor kOrange = RGB(255, 128, 0);
constexpr Single kQuadratSide = 600;

// Which element of Label3 does what.
enum : int { kExit = 0, kAnswer = 1, kThrowSam = 2, kThrowMaddy = 3 };
} // namespace

quadrat::quadrat() : Form(QStringLiteral("quadrat")) {
    Label3.onClick([this](int Index) { Label3_Click(Index); });
    Label3.onMouseMove([this](int Index, int Button, int Shift, Single X, Single Y) {
        Label3_MouseMove(Index, Button, Shift, X, Y);
    });
}

void quadrat::Design() {
    setClientSize(12000, 9000);
    setCaption(QStringLiteral("Sampling Methods - The Quadrat"));

    const FontDesc times18{QStringLiteral("Times New Roman"), 18};
    const FontDesc arial18{QStringLiteral("Arial"), 18};
    const FontDesc tahomaBold{QStringLiteral("Tahoma"), 15.75f, true};

    auto text = [this](int index, Single left, Single top, Single width, Single height,
                       const QString& caption, const FontDesc& font, OleColor colour, int alignment,
                       bool visible) -> Label& {
        auto& l = add<Label>("Label6", index, left, top, width, height);
        l.setCaption(caption);
        l.setFontDesc(font);
        l.setForeColor(colour);
        l.setAlignment(alignment);
        l.setBackStyle(vbTransparent);
        l.setVisible(visible);
        return l;
    };
    auto button = [this](int index, Single left, Single top, Single width, const QString& caption,
                         OleColor colour, const FontDesc& font, bool visible) {
        auto& b = add<Label>("Label3", index, left, top, width, 495);
        b.setCaption(caption);
        b.setFontDesc(font);
        b.setForeColor(colour);
        b.setBackColor(vbBlack);
        b.setBackStyle(vbOpaque);
        b.setBorderStyle(vbFixedSingle);
        b.setAlignment(vbCenter);
        b.setVisible(visible);
    };

    // Added in reading order: what comes later lies in front, so the squares cover the picture and the
    // legend's dot covers its caption.
    text(3, 480, 120, 5280, 1425,
         QStringLiteral(
             "Sam and Maddy are trying to estimate how many daisies are in the field using a 1m\u00B2 "
             "quadrat."),
         times18, vbYellow, vbCenter, true);
    text(1, 6360, 120, 5400, 465, QStringLiteral("Sam throws 1 quadrat onto the field."), times18, vbYellow,
         vbCenter, true);
    button(kThrowSam, 7080, 720, 4245, QStringLiteral("Throw Sam's quadrat"), kOrange, tahomaBold, true);

    add<Image>("Image1", 210, 1410, 6015, 6015).setAccessibleName(QStringLiteral("A field with daisies"));

    for (int i = 0; i < 11; ++i) {
        const QuadratSquare& q = kQuadratSquares[i];
        auto& s = add<Shape>("Shape2", i, q.Left, q.Top, kQuadratSide, kQuadratSide);
        s.setShape(vbShapeRectangle);
        s.setBorderWidth(3);
        s.setFillStyle(vbFSTransparent);
        s.setBorderColor(q.sams ? vbBlack : vbYellow);
        s.setVisible(false);
        s.setAccessibleName(q.sams ? QStringLiteral("Sam's quadrat")
                                   : QStringLiteral("one of Maddy's quadrats"));
    }

    text(4, 6480, 1440, 5160, 465, QStringLiteral("Maddy throws 10 quadrats."), times18, vbYellow, vbCenter,
         false);
    button(kThrowMaddy, 7080, 2040, 4245, QStringLiteral("Throw Maddy's quadrats"), vbYellow, tahomaBold,
           false);
    text(2, 6600, 2760, 5160, 1185,
         QStringLiteral("Calculate their estimates of the number of daisies in the field."), times18,
         vbYellow, vbCenter, false);

    FontDesc underlined = arial18;
    underlined.underline = true;
    text(5, 6600, 3720, 2880, 585, QStringLiteral("Sam's estimate"), underlined, kOrange, vbLeftJustify,
         false);
    text(7, 6600, 4200, 5040, 585, QStringLiteral("Average number in quadrat = 5"), arial18, kOrange,
         vbLeftJustify, false);
    text(6, 6600, 4680, 5040, 585, QStringLiteral("Total in field = 5 x 100 = 500"), arial18, kOrange,
         vbLeftJustify, false);
    text(8, 6600, 5400, 4440, 585, QStringLiteral("Maddy's estimate"), underlined, vbYellow, vbLeftJustify,
         false);
    // The eight spaces leave the room where the fraction 26 over 10 stands.
    text(10, 6600, 5880, 5040, 585, QStringLiteral("Average in quadrat =        = 2.6"), arial18, vbYellow,
         vbLeftJustify, false);
    text(11, 10140, 5640, 480, 465, QStringLiteral("26"), arial18, vbYellow, vbCenter, false);
    auto& bar = add<vb::Line>("Line1", 0, 0, 0, 0);
    bar.setEnds(10080, 6060, 10680, 6060);
    bar.setBorderColor(vbYellow);
    bar.setBorderWidth(2);
    bar.setVisible(false);
    text(12, 10080, 6120, 600, 405, QStringLiteral("10"), arial18, vbYellow, vbCenter, false);
    text(9, 6600, 6600, 5040, 585, QStringLiteral("Total in field = 2.6 x 100 = 260"), arial18, vbYellow,
         vbLeftJustify, false);
    text(13, 6600, 7320, 5040, 435, QStringLiteral("Actual number in field = 248"), arial18, vbWhite,
         vbLeftJustify, false);

    // The four spaces leave the room for the dot drawn over them.
    text(14, 240, 7500, 6000, 435, QStringLiteral("Each    represents a daisy"),
         {QStringLiteral("Arial"), 15.75f}, vbWhite, vbCenter, true);
    auto& dot = add<Shape>("Shape3", 2280, 7650, 75, 75);
    dot.setShape(vbShapeCircle);
    dot.setFillStyle(vbFSSolid);
    dot.setFillColor(vbWhite);
    dot.setBorderColor(vbWhite);
    dot.setAccessibleName(QStringLiteral("a daisy"));

    button(kAnswer, 120, 7920, 2565, QStringLiteral("Answer"), vbYellow, tahomaBold, false);
    text(0, 2880, 7920, 7320, 465, QStringLiteral("Whose results are closest and why?"),
         {QStringLiteral("Times New Roman"), 20.25f}, vbYellow, vbCenter, false);
    button(kExit, 10560, 7920, 1245, QStringLiteral("Exit"), vbYellow, tahomaBold, true);
}

void quadrat::Form_Load() {
    ApplyHouseStyle(*this);
    setBackColor(RGB(39, 63, 137));
    Image1->setPicture(LoadPicture(QStringLiteral("Images\\field.jpg")));
}

void quadrat::samthrow() {
    Shape2(10).setVisible(true);
}

void quadrat::maddythrow() {
    for (int i = 0; i <= 9; ++i)
        Shape2(i).setVisible(true);
}

void quadrat::Label3_Click(int Index) {
    switch (Index) {
    case kExit:
        Unload();
        break;
    case kAnswer:
        for (int i = 5; i <= 13; ++i)
            Label6(i).setVisible(true);
        Line1->setVisible(true);
        break;
    case kThrowSam:
        samthrow();
        Label6(4).setVisible(true);
        Label3(kThrowMaddy).setVisible(true);
        break;
    case kThrowMaddy:
        maddythrow();
        Label6(2).setVisible(true);
        Label6(0).setVisible(true);
        Label3(kAnswer).setVisible(true);
        break;
    default:
        break;
    }
}

void quadrat::Label3_MouseMove(int Index, int, int, Single, Single) {
    Label3(Index).setBackStyle(vbOpaque);
}
