// Works the program as a person at the board does, by real mouse clicks and keys through its windows:
// reaching any screen from wherever the program stands, leaving it again, and touching every control on the
// way.
#pragma once

#include "routes.h"
#include "vb.h"

#include <QPoint>
#include <QStringList>

class QWindow;

namespace tour {

// Shows the first screen as the program does at start.
void start();
// Starts the Ctrl+J watcher where the program has one (once per process).
void enableJotterKey();
bool haveJotterKey();

// The screen a click lands on: the last shown, leaving the Jotter and the backdrop aside.
vb::Form* frontScreen();
vb::Form* loadedScreen(const QString& name); // null unless registered and loaded

// A control by its design name ("Label2(3)" or "Command1").
vb::Control* control(const vb::Form& f, const QString& objectName);
// A left click in the middle of a shown, enabled control; false when there is none to click.
bool clickControl(const vb::Form& f, const QString& objectName);
void pressCtrlJ();

// Registered screens that the board can reach.
QStringList reachableScreens();
const Route* routeTo(const QString& screen);
// Brings `screen` up by clicks from wherever the program stands; false when it cannot be reached.
bool open(const QString& screen);
// Closes `screen` by its own control; false when it is not open.
bool close(const QString& screen);
// Clicks every shown control of `screen` once (the title's Exit excepted), reopening the screen whenever a
// click led away; for the Jotter also draws a stroke. Returns the number of clicks.
int exercise(const QString& screen);
// Opens every reachable screen, exercises it and closes it again; returns the screens that were shown.
QStringList fullTour();

// Carries out deletions of unloaded windows that the runtime has deferred.
void settle();

} // namespace tour
