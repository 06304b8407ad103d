// Start-up: the runtime shows the title screen, and the program runs until a screen ends it.
#include "Titlefrm.h"
#include "displayfit.h"
#include "jotteraccess.h"
#include "singleinstance.h"
#include "vb.h"

#include <QApplication>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>

namespace {
bool haveDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform) return true;
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}
} // namespace

int main(int argc, char** argv) {
    const displayfit::Options options = displayfit::parse(argc, argv);
    if (options.help || !options.error.isEmpty()) {
        std::fputs(qPrintable(options.error.isEmpty()
                                  ? displayfit::usage()
                                  : QStringLiteral("zestora-biology: %1\n").arg(options.error)),
                   options.help ? stdout : stderr);
        return options.help ? 0 : 2;
    }
    if (!haveDisplay()) {
        std::fputs("zestora-biology: no display found. Start it from a desktop session, or without one run:\n"
                   "  xvfb-run -a -s '-screen 0 1024x768x24' zestora-biology\n",
                   stderr);
        return 2;
    }
    // Wayland ignores "stay on top", which the Jotter needs; XWayland honours it.
    if (!std::getenv("QT_QPA_PLATFORM") && std::getenv("WAYLAND_DISPLAY") && std::getenv("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    displayfit::prepare(options);
    QApplication app(argc, argv);
    if (options.listScreens) {
        std::fputs(qPrintable(displayfit::screenList()), stdout);
        return 0;
    }
    if (const QString error = displayfit::apply(options); !error.isEmpty()) {
        std::fprintf(stderr, "zestora-biology: %s", qPrintable(error));
        return 2;
    }
    // "--jotter" (the desktop entry's "Open the Jotter"): the pen's way to the Jotter, running or not.
    const bool jotterWanted = app.arguments().contains(QStringLiteral("--jotter"));
    SingleInstance instance(bringProgramForward);
    instance.setJotterOpener(jotter::openJotter);
    instance.setScaleTaker(displayfit::setScale);
    if (instance.handedOver(jotterWanted, options.scale)) return 0;
    QApplication::setApplicationName(QStringLiteral("Biology Year 10 Zestora Demo"));
    QApplication::setOrganizationName(QStringLiteral("Quorvane"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    vb::installFonts();
    const jotter::JotterAccess jotterAccess;
    displayfit::follow(options);
    if (jotterWanted) QMetaObject::invokeMethod(&app, &jotter::openJotter, Qt::QueuedConnection);
    return vb::Runtime::run<Titlefrm>();
}
