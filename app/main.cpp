// Start-up: the runtime shows the title screen, and the program runs until a screen ends it.
#include "Titlefrm.h"
#include "commandline.h"
#include "displayfit.h"
#include "jotteraccess.h"
#include "registry.h"
#include "singleinstance.h"
#include "vb.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>

namespace {
constexpr const char* kNoDisplay =
    "zestora-biology: no display found. Start it from a desktop session, or without one run:\n"
    "  xvfb-run -a -s '-screen 0 1024x768x24' zestora-biology\n";
// Qt would look for its Wayland plugin, and abort advising to reinstall the program.
constexpr const char* kNoXWayland =
    "This program needs an X11 display. On a Wayland desktop that is XWayland,\n"
    "which this session does not offer (DISPLAY is not set): turn XWayland on,\n"
    "or choose an X11 (Xorg) session at the login screen.\n";

bool haveDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform) return true;
    if (std::getenv("DISPLAY")) return true;
    if (!std::getenv("WAYLAND_DISPLAY")) {
        std::fputs(kNoDisplay, stderr);
        return false;
    }
    std::fprintf(stderr, "zestora-biology: %s", kNoXWayland);
    // The desktop still hears of it where Qt can reach Wayland itself.
    if (QFile::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                      QStringLiteral("/platforms/libqwayland-generic.so"))) {
        qputenv("QT_QPA_PLATFORM", "wayland");
        int argc = 1;
        char name[] = "zestora-biology";
        char* argv[] = {name, nullptr};
        QApplication app(argc, argv);
        QMessageBox::critical(nullptr, QStringLiteral("Biology Year 10 Zestora Demo"),
                              QString::fromLatin1(kNoXWayland));
    }
    return false;
}
} // namespace

int main(int argc, char** argv) {
    const commandline::Options options = commandline::parse(argc, argv);
    if (!options.error.isEmpty()) {
        std::fputs(
            qPrintable(QStringLiteral("zestora-biology: %1\n").arg(options.error) + commandline::usageLine()),
            stderr);
        return 2;
    }
    if (options.help || options.version) {
        std::fputs(qPrintable(options.help ? commandline::usage() : commandline::versionText()), stdout);
        return 0;
    }
    if (!haveDisplay()) return 2;
    // Wayland ignores "stay on top", which the Jotter needs; XWayland honours it.
    if (!std::getenv("QT_QPA_PLATFORM") && std::getenv("WAYLAND_DISPLAY") && std::getenv("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    vb::mapLargeBlocks();
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
    // "--jotter" and "--save-jotter" (the desktop entry's "Open the Jotter", "Save the Jotter page"): the
    // pen's way to the Jotter, running or not.
    QString jotterWanted = options.saveJotter ? QStringLiteral("save")
                           : options.jotter   ? QStringLiteral("open")
                                              : QString();
    SingleInstance instance(bringProgramForward);
    instance.setJotterTaker(jotter::act);
    instance.setScaleTaker(displayfit::setScale);
    if (instance.handedOver(jotterWanted, options.scale)) return 0;
    Titlefrm::readAhead();
    // A page the last run lost by accident comes back in the Jotter.
    if (jotterWanted.isEmpty() && jotter::pageLeft()) jotterWanted = QStringLiteral("open");
    QApplication::setApplicationName(QStringLiteral("Biology Year 10 Zestora Demo"));
    QApplication::setApplicationVersion(QStringLiteral(ZB_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(ZB_APP_ID));
    QApplication::setOrganizationName(QStringLiteral("Quorvane"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    vb::installFonts();
    vb::Runtime::whenFirstPainted(prepareScreensAhead);
    const jotter::JotterAccess jotterAccess;
    displayfit::follow(options);
    if (!jotterWanted.isEmpty()) {
        const auto act = [jotterWanted] { jotter::act(jotterWanted); };
        QMetaObject::invokeMethod(&app, act, Qt::QueuedConnection);
    }
    return vb::Runtime::run<Titlefrm>();
}
