// How a person at the board reaches each screen and leaves it again: which control of which screen to click.
// Plain data, shared by the in-process tour and by the driver that works the installed program from outside.
#pragma once

namespace tour {

inline constexpr const char* kFirstScreen = "Titlefrm";
inline constexpr const char* kTitleExit = "Command2"; // ends the program: tours and the monkey never press it
inline constexpr const char* kJotter = "notepad";
inline constexpr const char* kBackdrop = "Grey";
inline constexpr const char* kOpening = "intro0";

struct Route {
    const char* screen;
    const char* from;  // the screen that must be in front; none for the Jotter, which Ctrl+J opens anywhere
    const char* open;  // the control of `from` to click (an array element as "Name(index)")
    const char* close; // the control of `screen` that closes it; for the backdrop the same check box again
};

inline constexpr Route kRoutes[] = {
    {"intro0", "Titlefrm", "Command1", "Command1"},
    {"Grey", "intro0", "Check1", "Check1"},
    {"menu1", "intro0", "Label2(0)", "Command1"},
    {"menu2", "intro0", "Label2(1)", "Command1"},
    {"menu3", "intro0", "Label2(2)", "Command1"},
    {"menu4", "intro0", "Label2(3)", "Command1"},
    {"menu5", "intro0", "Label2(4)", "Command1"},
    {"TeacherGuide0", "intro0", "Label2(7)", "Label3(0)"},
    {"TeacherGuide1", "TeacherGuide0", "Label3(1)", "Label3(0)"},
    {"TeacherGuide2", "TeacherGuide1", "Label3(1)", "Label3(0)"},
    {"TeacherGuide3", "TeacherGuide2", "Label3(1)", "Label3(0)"},
    {"TeacherGuide4", "TeacherGuide3", "Label3(1)", "Label3(0)"},
    {"TeacherGuide5", "TeacherGuide4", "Label3(1)", "Label3(0)"},
    {"quadrat", "menu1", "Label3(0)", "Label3(0)"},
    {"reflex", "menu2", "Label3(1)", "Label3(0)"},
    {"sentence", "menu5", "Label3(4)", "Label3(0)"},
    {"notepad", nullptr, nullptr, "Command1"},
};

// The two things the program may ask the desktop to open.
inline constexpr const char* kPublisherAddress = "https://www.quorvane.example/";
inline constexpr const char* kGuideDocument = "Teacher Guide.doc";
// The controls that ask for them: the web-address label of the opening screen and the Word label of page 1.
inline constexpr const char* kAddressLabel = "Label2(6)";
inline constexpr const char* kDocumentLabel = "Label2";

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
