// The program's one code module: the house style every content screen puts on first, and the program-wide
// flag of the desktop backdrop.
#pragma once

#include "vb.h"

#include <functional>

// 1 while the blue backdrop is wanted behind the screens.
extern int hidedesktop;

// Sizes, colours and centres a screen: 12000 x 9000 twips, house blue, no icon of its own, in the middle of
// the display. Failures of the first two steps reach the caller; from the third on a failing step is skipped.
void ApplyHouseStyle(vb::Form& frm);

inline constexpr vb::OleColor kHouseBlue = vb::RGB(49, 135, 214);

// Which screen a control opens, or null: the program's map of the screens answers, from above the screen
// families, for the menus' entries and column and the guide's page links. It installs itself; with none
// installed every activity entry is dimmed and those controls lead nowhere.
using FormGetter = vb::Form& (*)();
using ScreenOpener = std::function<FormGetter(const QString& screen, const QString& control)>;
void setScreenOpener(ScreenOpener opener);
const ScreenOpener& screenOpener();
FormGetter screenOpenedBy(const vb::Form& from, const QString& control);
template <class F> vb::Form& screenOf() {
    return vb::form<F>();
}
