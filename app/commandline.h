// The program's command line: its options, the help and the version.
#pragma once

#include <QString>
#include <QStringList>

namespace commandline {

inline constexpr double kLargestScale = 6; // --scale goes no higher

struct Options {
    double scale = 0; // from --scale; 0 when not given
    QString screen;   // from --screen; empty for the primary display
    bool listScreens = false;
    bool help = false;
    bool version = false;
    bool jotter = false;     // from --jotter: the Jotter, in this copy or the one already running
    bool saveJotter = false; // from --save-jotter: its page saved, the same way
    QString error;           // what was wrong with the command line
};

// Reads the whole command line before the application object exists: the program's options and the few of
// Qt's own that the application takes; anything else is an error.
Options parse(const QStringList& arguments);
Options parse(int argc, char** argv);
QString usageLine(); // the usage line alone, after a mistake
QString usage();
QString versionText();

} // namespace commandline
