// The program's navigations as sequences of steps that come back to where they started, so each can be
// repeated; built from the program's map of the screens.
#pragma once

#include "drive.h"

namespace tour {

// A sequence starts from the title screen shown on top, goes there with `enter`, repeats `cycle`, and comes
// back with `leave`. Only the cycle's steps are timed.
struct Sequence {
    QList<drive::Step> enter, cycle, leave;
};

// Every way into a screen and out of it again.
QList<Sequence> navigations();

// Shows the title screen as the program's start does, and waits for its paint.
bool showTitle(QString* error);

// Runs steps untimed (still checked); false with `error` on the first that fails.
bool walk(const QList<drive::Step>& steps, QString* error);

// One visit to every screen, from the title screen back to it, with a stroke on the Jotter.
bool visitEveryScreen(QString* error);

// The screens that can be shown, each with the steps that lead there from the title screen and back.
struct Place {
    QString label;
    QList<drive::Step> there, back;
};
QList<Place> places();

} // namespace tour
