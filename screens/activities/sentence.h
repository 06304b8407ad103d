// Constructing a Biological Sentence: three rows, each a theme of the course with four key words to write a
// sentence around. Themes are drawn at random or chosen from each row's list.
#pragma once

#include "vb.h"

#include <array>
#include <cstdint>

class sentence : public vb::Form {
public:
    sentence();

    static constexpr int kThemes = 32;

    vb::Arr<vb::Label> Label6{this, "Label6"}; // 0-2 key words of rows 1-3, 3-10 titles and prompts
    vb::Arr<vb::Label> Label3{this, "Label3"}; // 0 "Exit", 1 "New Sentences"
    vb::Ctl<vb::ComboBox> Combo1{this, "Combo1"};
    vb::Ctl<vb::ComboBox> Combo2{this, "Combo2"};
    vb::Ctl<vb::ComboBox> Combo3{this, "Combo3"};
    vb::Ctl<vb::Shape> Shape1{this, "Shape1"};
    vb::Arr<vb::Line> Line1{this, "Line1"};

    // The screen's own variables outlive its window: the next opening still knows the last draw.
    std::array<QString, 41> sentences;
    std::array<std::int16_t, 11> picks{};     // themes of the last draw, rows 1-3 in slots 0-2
    std::array<std::int16_t, 11> lastpicks{}; // the draw before, which the next draw keeps clear of

    // The theme table: the names as the lists show them, and the entries the rows show.
    static const std::array<const char*, kThemes>& themeNames();
    static const std::array<const char*, kThemes>& themeEntries();

    void makecombos();
    void biologysentences();
    void calculate();

    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click();
    void Combo1_DropDown();
    void Combo2_DropDown();
    void Combo3_DropDown();
    void Label3_Click(int Index);
    void Label3_MouseMove(int Index, int Button, int Shift, vb::Single X, vb::Single Y);

protected:
    void Design() override;
    void Form_Load() override;
    void Form_MouseMove(int Button, int Shift, vb::Single X, vb::Single Y) override;

private:
    void showChosen(vb::ComboBox& list, int row);
};
