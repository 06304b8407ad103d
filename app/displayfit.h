// Which display the program runs on and how large it shows its 800 x 600 screens there.
#pragma once

#include "commandline.h"

#include <QSize>
#include <QString>

class QScreen;

namespace displayfit {

// Below this factor the gain is too small to be worth fractional pixels: the screens keep their design size.
inline constexpr double kLeastFit = 1.5;

// The factor that makes the screens fill a display of `device` pixels: the smaller of width / 800 and
// height / 600, or 1 where that is below kLeastFit.
double fitFactor(QSize device);

// Before the application is made: a factor given on the command line replaces any the environment sets.
void prepare(const commandline::Options& options);

// Once the application is made: finds the display, gives it the factor that fits it unless the user set one,
// and makes it the display the screens are shown on. Returns an error message, or an empty string.
QString apply(const commandline::Options& options);

// While the program runs: when its display changes size or factor, is removed (the program moves to one that
// remains) or, named with --screen, comes back, the screens are fitted again by the same rule as at start-up.
void follow(const commandline::Options& options);
// A factor handed over by a later start: the screens are refitted to it, and keep it from then on.
void setScale(double scale);

// One line per display: name, size in its device pixels, the factor the program would use there.
QString screenList();

} // namespace displayfit
