// Reflex Action: six sentence cards dragged into six numbered slots in the order of a reflex arc, with a
// labelled diagram to help and a score once every card lies on a slot.
#pragma once

#include "vb.h"

#include <QHash>

class reflex : public vb::Form {
public:
    reflex();

    vb::Ctl<vb::Image> Image1{this, "Image1"};
    vb::Arr<vb::Label> Label1{this, "Label1"}; // slot boxes
    vb::Arr<vb::Label> Label4{this, "Label4"}; // home outlines
    vb::Arr<vb::Label> Label3{this, "Label3"}; // Exit, Start Again, Check Score
    vb::Ctl<vb::Label> Label5{this, "Label5"}; // score message
    vb::Ctl<vb::Label> Label8{this, "Label8"}; // instruction
    vb::Arr<vb::Label> Label9{this, "Label9"}; // diagram annotations
    vb::Arr<vb::Line> Line1{this, "Line1"};    // diagram pointers
    vb::Arr<vb::Label> Label2{this, "Label2"}; // sentence cards

    int SentenceCount = 0;

    void Label2_MouseDown(int Index, int Button, int Shift, vb::Single X, vb::Single Y);
    void Label2_MouseMove(int Index, int Button, int Shift, vb::Single X, vb::Single Y);
    void Label2_MouseUp(int Index, int Button, int Shift, vb::Single X, vb::Single Y);
    void Label3_Click(int Index);
    void Label3_MouseMove(int Index, int Button, int Shift, vb::Single X, vb::Single Y);

protected:
    void Design() override;
    void Form_Load() override;
    void Form_MouseMove(int Button, int Shift, vb::Single X, vb::Single Y) override;

private:
    int placements() const;
    int score() const;

    // The cards held now, by the corner each was picked up from: a card dropped onto another sends it there.
    QHash<int, QPointF> pickedUpFrom;
};
