// The opening screen: the hub from which the five topic menus, the Teachers' Guide and the publisher's web
// site are reached, with the "Hide Desktop" switch for the blue backdrop behind the program.
#pragma once

#include "NavigationScreen.h"

inline constexpr const char* kWebAddressText = "www.quorvane.example";
inline constexpr const char* kWebAddressUrl = "https://www.quorvane.example/";

class intro0 : public NavigationScreen {
public:
    intro0();

    vb::Ctl<vb::CheckBox> Check1{this, "Check1"};
    vb::Ctl<vb::Image> Image2{this, "Image2"};
    vb::Ctl<vb::Label> Label3{this, "Label3"};

    void Label2_Click(int Index) override;
    void Command1_Click() override;
    void Check1_Click();

protected:
    void Design() override;
    void Form_Load() override;
    void Form_MouseMove(int Button, int Shift, vb::Single X, vb::Single Y) override;
};
