// What the opening screen and the five topic menus have in common: the pink title with its hover highlight,
// the column of "Menu 1" to "Menu 5" buttons (control array Label2) and the exit picture button.
#pragma once

#include "vb.h"

// The blue of the opening screen and the menus, one step off the house blue so the bee picture's edge blends.
inline constexpr vb::OleColor kNavigationBlue = vb::RGB(49, 135, 215);
inline constexpr vb::OleColor kTitlePink = vb::RGB(255, 128, 255);
inline constexpr vb::OleColor kButtonYellow = vb::RGB(255, 255, 0);
inline constexpr vb::OleColor kButtonBlack = vb::RGB(0, 0, 0);

// The menu column: "Menu 1" at this place, the others 750 twips apart below it, "WWW Links" further down.
inline constexpr vb::Single kMenuColumnLeft = 9600;
inline constexpr vb::Single kMenuColumnTop = 2400;
inline constexpr vb::Single kMenuColumnStep = 750;
inline constexpr vb::Single kWwwLinksOffset = 4500;
inline constexpr int kWwwLinksIndex = 5;

class NavigationScreen : public vb::Form {
public:
    vb::Ctl<vb::Label> Label1{this, "Label1"};
    vb::Arr<vb::Label> Label2{this, "Label2"};
    vb::Ctl<vb::CommandButton> Command1{this, "Command1"};

    virtual void Label2_Click(int Index) = 0;
    virtual void Command1_Click() = 0;
    void Label1_MouseMove(int Button, int Shift, vb::Single X, vb::Single Y);
    void Label2_MouseMove(int Index, int Button, int Shift, vb::Single X, vb::Single Y);

protected:
    explicit NavigationScreen(const QString& name);

    // For Design.
    vb::Label& addTitle(vb::Single left, vb::Single top, vb::Single width, vb::Single height,
                        vb::Single points, const QString& caption);
    vb::Label& addLabelButton(const QString& name, int index, vb::Single left, vb::Single top,
                              vb::Single width, vb::Single height, const vb::FontDesc& font,
                              const QString& caption);
    void designMenuColumn();               // Label2(0), hidden until Load has built the rest of the column
    vb::CommandButton& designExitButton(); // Command1, placed and pictured at Load

    // For Form_Load.
    void loadMenuColumn(); // Label2(1) to Label2(5) as copies of element 0; shows "Menu 1" to "Menu 5"
    void loadExitButton(); // reads Images\exit.jpg; a missing file stops the program
};

// Label buttons are opaque black boxes with a bold yellow centred caption and a single border.
vb::FontDesc tahomaBold(vb::Single points);
vb::FontDesc arialBold(vb::Single points);
