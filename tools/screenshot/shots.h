// Screens rendered offscreen as the board would show them: shared by the screenshot tool and the tests that
// compare screens with their reference pictures.
#pragma once

#include "vb.h"

#include <QImage>

namespace shots {
// The look of every shot: Fusion style, the program's fonts, an 800 x 600 display. Call once, after the
// application object exists.
void prepare();
// The named screen shown on the 800 x 600 display; null when there is no such screen or it did not come up.
vb::Form* open(const QString& name);
// What the screen's window shows now, at the display's scale.
QImage grab(const vb::Form& f);
} // namespace shots
