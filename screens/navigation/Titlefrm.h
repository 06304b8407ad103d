// The title screen: product title, picture, credit and copyright, "OK" and "Exit".
#pragma once

#include "vb.h"

class Titlefrm : public vb::Form {
public:
    Titlefrm();

    vb::Ctl<vb::Frame> Frame1{this, "Frame1"};
    vb::Ctl<vb::Label> Label4{this, "Label4"};
    vb::Ctl<vb::PictureBox> Picture1{this, "Picture1"};
    vb::Ctl<vb::Label> Label3{this, "Label3"};
    vb::Ctl<vb::CommandButton> Command1{this, "Command1"};
    vb::Ctl<vb::CommandButton> Command2{this, "Command2"};
    vb::Ctl<vb::Label> Label2{this, "Label2"};

    void Command1_Click();
    void Command2_Click();
    // Starts reading its photograph on a worker once the display's factor is known: it was a fifth of the
    // start at 3840 x 2160, where the program is still setting up.
    static void readAhead();

protected:
    void Design() override;
    void Form_Load() override;
    void closeRequested() override;
};
