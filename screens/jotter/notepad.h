// The Jotter: a free-hand writing pad that stays in front of every other window. The teacher writes on its
// blue page in sixteen colours, rubs out, clears, and flips the pad between a wide and a tall shape; each
// shape has its own toolbar with the same buttons and swatches.
#pragma once

#include "journal.h"
#include "pageexport.h"
#include "pagesteps.h"
#include "vb.h"

#include <QHash>

#include <optional>

class notepad : public vb::Form {
public:
    notepad();

    vb::Ctl<vb::Frame> Frame_landscape{this, "Frame_landscape"};
    vb::Ctl<vb::CommandButton> Command1{this, "Command1"}; // Exit
    vb::Ctl<vb::CommandButton> Command2{this, "Command2"}; // Write
    vb::Ctl<vb::CommandButton> Command5{this, "Command5"}; // Erase
    vb::Ctl<vb::CommandButton> Command6{this, "Command6"}; // Clear
    vb::Ctl<vb::CommandButton> Command3{this, "Command3"}; // Flip to portrait
    vb::Arr<vb::Label> Label1{this, "Label1"};             // swatches

    vb::Ctl<vb::Frame> Frame_portrait{this, "Frame_portrait"};
    vb::Ctl<vb::CommandButton> Command9{this, "Command9"};   // Exit
    vb::Ctl<vb::CommandButton> Command10{this, "Command10"}; // Write
    vb::Ctl<vb::CommandButton> Command8{this, "Command8"};   // Erase
    vb::Ctl<vb::CommandButton> Command7{this, "Command7"};   // Clear
    vb::Ctl<vb::CommandButton> Command4{this, "Command4"};   // Flip to landscape
    vb::Arr<vb::Label> Label11{this, "Label11"};             // swatches

    // The pen colour to go back to after erasing.
    vb::OleColor SavedPenColour = vb::RGB(255, 255, 0);
    // Where the teacher last put the pad in this run (outer corner, pixels); none before its first Exit.
    std::optional<QPoint> LastPlace;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Label1_Click(int Index);
    void Label11_Click(int Index);

    // Taking ink back: Ctrl+Z or a two-finger tap, and giving it again: Ctrl+Shift+Z, Ctrl+Y or three. While
    // a stroke is under way they wait for it to end, so the page and its history agree.
    void undo();
    void redo();
    // Ctrl+S: a PDF and a PNG of the page in the pictures folder. Ctrl+P: the print dialog.
    void savePage();
    void printPage();
    size_t stepBytes() const { return m_steps.bytes(); }

protected:
    void Design() override;
    void Form_Load() override;
    void Form_MouseDown(int Button, int Shift, vb::Single X, vb::Single Y) override;
    void Form_MouseMove(int Button, int Shift, vb::Single X, vb::Single Y) override;
    void Form_MouseUp(int Button, int Shift, vb::Single X, vb::Single Y) override;
    void Form_Paint() override;
    void Form_Unload() override;
    void closeRequested() override;

private:
    void putAway(); // Exit: the place is kept for the next opening
    void pickSwatch(const vb::Label& swatch);
    void write();
    void erase();
    void clear();
    void emptied(PageSteps::Kind kind); // Clear and Flip
    void turn(bool tall);
    void redrawPage();
    void fingersLifted();
    void record(PageSteps::Step step);
    void takeBack(bool redo);
    void recover();
    template <class F> void forPage(F draw) const;
    pageexport::Page page() const;

    PageSteps m_steps;
    Journal m_journal;
    std::vector<bool> m_pending; // undos (false) and redos (true) waiting for the strokes under way
    struct Stroke {
        PageSteps::Step step;
        quint64 down = 0; // ms
        bool finger = false;
        bool still = true; // barely moved since it was pressed
    };
    QHash<int, Stroke> m_strokes; // by pointer, while it is down on the page
    // The fingers of one touch, from the first down to the last up: a short tap of two or three of them is
    // a gesture, not ink, so their strokes wait here until the last lifts.
    struct Lifted {
        quint64 down, up;
        bool still;
    };
    std::vector<Lifted> m_lifted;
    std::vector<PageSteps::Step> m_waiting;
};
