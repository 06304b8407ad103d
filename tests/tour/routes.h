// The names the tours of the program know it by. Plain data, shared by the in-process tour and by the driver
// that works the installed program from outside; the ways between screens come from the program's own map.
#pragma once

#include <QString>

namespace tour {

inline constexpr const char* kFirstScreen = "Titlefrm";
inline constexpr const char* kTitleExit = "Command2"; // ends the program: tours and the monkey never press it
inline constexpr const char* kJotter = "notepad";
inline constexpr const char* kBackdrop = "Grey";
inline constexpr const char* kOpening = "intro0";

// A way to a screen and back, as the map of the screens gives it.
struct Route {
    QString screen;
    QString from;  // the screen that must be in front; none for the Jotter, which Ctrl+J opens anywhere
    QString open;  // the control of `from` to click (an array element as "Name(index)")
    QString close; // the control of `screen` that closes it; for the backdrop the same check box again
};

// The two things the program may ask the desktop to open.
inline constexpr const char* kPublisherAddress = "https://www.quorvane.example/";
inline constexpr const char* kGuideDocument = "Teacher Guide.doc";

// The pictures the screens read, and the screen that reads each first.
struct PictureUse {
    const char* file;   // as the screen names it
    const char* screen; // the first screen on the way from the title that reads it
};
inline constexpr PictureUse kPictures[] = {
    {"Images\\beesm.jpg", "Titlefrm"},   {"Images\\bee.jpg", "intro0"},    {"Images\\logo2.jpg", "intro0"},
    {"Images\\exit.jpg", "intro0"},      {"Images\\reflex.jpg", "reflex"}, {"Images\\field.jpg", "quadrat"},
    {"Images\\H_POINT.cur", "sentence"},
};

} // namespace tour
