// The program's own start-up, unchanged, with a watch added as the application is created: it reports the
// title screen's first completed paint and ends the run there.
#include "firstpaint.h"
#include "vb.h"

int zbProgramMain(int argc, char** argv); // the program's main, compiled in twin_program.cpp

namespace {
void watchTitle() {
    firstpaint::watchFirstPaint(
        [](QWidget* window) { return window->objectName() == QLatin1String("Titlefrm"); }, [] { vb::End(); });
}
} // namespace
Q_COREAPP_STARTUP_FUNCTION(watchTitle)

int main(int argc, char** argv) {
    return zbProgramMain(argc, argv);
}
