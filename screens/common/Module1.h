// The program's one code module: the house style every content screen puts on first, and the program-wide
// flag of the desktop backdrop.
#pragma once

#include "vb.h"

// 1 while the blue backdrop is wanted behind the screens.
extern int hidedesktop;

// Sizes, colours and centres a screen: 12000 x 9000 twips, house blue, no icon of its own, in the middle of
// the display. Failures of the first two steps reach the caller; from the third on a failing step is skipped.
void ApplyHouseStyle(vb::Form& frm);

inline constexpr vb::OleColor kHouseBlue = vb::RGB(49, 135, 214);
