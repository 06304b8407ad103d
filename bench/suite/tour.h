// The program's navigations as sequences of steps that come back to where they started, so each can be
// repeated; built from the screens this build has.
#pragma once

#include "drive.h"

namespace tour {

// A sequence starts from `from` shown on top, goes there with `enter`, repeats `cycle`, and comes back with
// `leave`. Only the cycle's steps are timed.
struct Sequence {
    QString from; // "Titlefrm" or "intro0"
    QList<drive::Step> enter, cycle, leave;
};

// Every navigation of the program whose screens are in this build.
QList<Sequence> navigations();

// Between the two places sequences start from: the title screen and the opening screen.
drive::Step titleToOpening();
drive::Step openingToTitle();

// Shows the title screen as the program's start does, and waits for its paint.
bool showTitle(QString* error);

// Runs steps untimed (still checked); false with `error` on the first that fails.
bool walk(const QList<drive::Step>& steps, QString* error);

// One visit to every screen of this build, from the title screen back to it, with a stroke on the Jotter.
bool visitEveryScreen(QString* error);

// The screens that can be shown, each with the steps that lead there from the title screen and back.
struct Place {
    QString label;
    QList<drive::Step> there, back;
};
QList<Place> places();

} // namespace tour
