// The map of the program: every screen, and the ways between them. A screen is reached by one control of
// the screen in front and left by one control of its own; the menus take their live entries from here, and
// the tools and tours that render or walk the program take the screens and their ways from here.
#pragma once

#include "vb.h"

#include <QList>

struct ScreenInfo {
    QString name;
    vb::Form& (*get)();
    QString from;  // the screen in front when it is opened; none for the title and the Jotter (Ctrl+J)
    QString open;  // the control of `from` that opens it, an array element as "Label3(1)"
    QString close; // its own control that leaves it; the backdrop goes with the check box that brought it
    bool replacesOpener; // opening it unloads `from`; otherwise `from` stays loaded beneath
};

// A way between two screens besides the ones in and out: the menu column on every menu, the guide's previous
// page. Taking it unloads the screen it starts from. The screens take these from here too.
struct Way {
    QString from, control, to;
};

const QList<ScreenInfo>& allScreens();
const QList<Way>& otherWays();
const ScreenInfo* screenInfo(const QString& name);
vb::Form* screenByName(const QString& name);

// Once the title is up: the screens' photographs are read on a worker thread, and every screen not yet shown
// is rehearsed, one at a time when the program is idle, so that its first visit is as quick as the next.
void prepareScreensAhead();
