// Sampling Methods - The Quadrat: Sam throws one quadrat onto a field of daisies, Maddy ten, and the class
// compares their estimates with the real number. A staged reveal: each button only shows what comes next.
#pragma once

#include "vb.h"

class quadrat : public vb::Form {
public:
    quadrat();

    vb::Arr<vb::Label> Label6{this, "Label6"};
    vb::Arr<vb::Label> Label3{this, "Label3"};
    vb::Ctl<vb::Image> Image1{this, "Image1"};
    vb::Arr<vb::Shape> Shape2{this, "Shape2"};
    vb::Ctl<vb::Line> Line1{this, "Line1"};
    vb::Ctl<vb::Shape> Shape3{this, "Shape3"};

    void Label3_Click(int Index);
    void Label3_MouseMove(int Index, int Button, int Shift, vb::Single X, vb::Single Y);
    void samthrow();
    void maddythrow();

protected:
    void Design() override;
    void Form_Load() override;
};
