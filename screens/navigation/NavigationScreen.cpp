#include "NavigationScreen.h"

using namespace vb;

FontDesc tahomaBold(Single points) {
    return FontDesc{QStringLiteral("Tahoma"), points, true};
}
FontDesc arialBold(Single points) {
    return FontDesc{QStringLiteral("Arial"), points, true};
}

NavigationScreen::NavigationScreen(const QString& name) : Form(name) {
    Label1.onMouseMove(
        [this](int Button, int Shift, Single X, Single Y) { Label1_MouseMove(Button, Shift, X, Y); });
    Label2.onMouseMove([this](int Index, int Button, int Shift, Single X, Single Y) {
        Label2_MouseMove(Index, Button, Shift, X, Y);
    });
    Label2.onClick([this](int Index) { Label2_Click(Index); });
    Command1.onClick([this] { Command1_Click(); });
}

void NavigationScreen::Label1_MouseMove(int, int, Single, Single) {
    Label1->setBackStyle(vbOpaque);
}

void NavigationScreen::Label2_MouseMove(int Index, int, int, Single, Single) {
    Label2(Index).setBackStyle(vbOpaque);
}

Label& NavigationScreen::addTitle(Single left, Single top, Single width, Single height, Single points,
                                  const QString& caption) {
    auto& title = add<Label>(QStringLiteral("Label1"), left, top, width, height);
    // The caption is the publisher's on every one of these screens; a screen reader names them by their
    // title.
    hWnd()->setAccessibleName(caption);
    title.setCaption(caption);
    title.setFontDesc(tahomaBold(points));
    title.setForeColor(kTitlePink);
    title.setBackColor(kButtonBlack);
    title.setAlignment(vbCenter);
    title.setBorderStyle(vbFixedSingle);
    return title;
}

Label& NavigationScreen::addLabelButton(const QString& name, int index, Single left, Single top, Single width,
                                        Single height, const FontDesc& font, const QString& caption) {
    auto& button = add<Label>(name, index, left, top, width, height);
    button.setCaption(caption);
    button.setFontDesc(font);
    button.setForeColor(kButtonYellow);
    button.setBackColor(kButtonBlack);
    button.setAlignment(vbCenter);
    button.setBorderStyle(vbFixedSingle);
    button.setBackStyle(vbOpaque);
    return button;
}

void NavigationScreen::designMenuColumn() {
    addLabelButton(QStringLiteral("Label2"), 0, kMenuColumnLeft, kMenuColumnTop, 2235, 495, tahomaBold(18),
                   QStringLiteral("Menu 1"))
        .hide();
}

CommandButton& NavigationScreen::designExitButton() {
    auto& exit = add<CommandButton>(QStringLiteral("Command1"), 60, 7950, 1785, 495);
    exit.setStyle(1);
    exit.setAccessibleName(QStringLiteral("Exit"));
    return exit;
}

void NavigationScreen::loadMenuColumn() {
    for (int i = 1; i <= kWwwLinksIndex; ++i) {
        Label& element = Label2.Load(i);
        element.setLeft(Label2(0).Left());
        element.setTop(Label2(0).Top() +
                       (i == kWwwLinksIndex ? kWwwLinksOffset : kMenuColumnStep * Single(i)));
    }
    for (int i = 1; i <= 4; ++i)
        Label2(i).setCaption(QStringLiteral("Menu %1").arg(i + 1));
    // Created and placed, but there are no links to offer: it stays hidden.
    Label2(kWwwLinksIndex).setCaption(QStringLiteral("WWW Links"));
    for (int i = 0; i <= 4; ++i)
        Label2(i).show();
}

void NavigationScreen::loadExitButton() {
    Command1->setPicture(LoadPicture(QStringLiteral("Images\\exit.jpg")));
    Command1->setWidth(1785);
    Command1->setHeight(495);
    Command1->setLeft(60);
    Command1->setTop(7950);
}
