#include "commandline.h"

#include <QCommandLineParser>

namespace commandline {

Options parse(const QStringList& arguments) {
    QCommandLineParser parser;
    // "-h" and Qt's own "-platform NAME" as well as "--scale 2" and "--scale=2".
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption scale(QStringLiteral("scale"), QString(), QStringLiteral("F"));
    const QCommandLineOption screen(QStringLiteral("screen"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption listScreens(QStringLiteral("list-screens"));
    const QCommandLineOption jotter(QStringLiteral("jotter"));
    const QCommandLineOption saveJotter(QStringLiteral("save-jotter"));
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOptions({scale, screen, listScreens, jotter, saveJotter, version, help});
    // The application object takes these for itself.
    for (const char* qtOption : {"platform", "display", "style", "qwindowgeometry", "qwindowtitle"})
        parser.addOption({QString::fromLatin1(qtOption), QString(), QStringLiteral("value")});
    parser.addOption(QCommandLineOption(QStringLiteral("reverse")));

    Options o;
    if (!parser.parse(arguments)) {
        o.error = parser.errorText();
        return o;
    }
    if (!parser.positionalArguments().isEmpty()) {
        o.error = QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().constFirst());
        return o;
    }
    if (parser.isSet(scale)) {
        bool ok = false;
        o.scale = parser.value(scale).toDouble(&ok);
        if (!ok || o.scale < 1 || o.scale > kLargestScale)
            o.error = QStringLiteral("--scale takes a factor from 1 to %1, not \"%2\"")
                          .arg(kLargestScale)
                          .arg(parser.value(scale));
    }
    o.screen = parser.value(screen);
    o.listScreens = parser.isSet(listScreens);
    o.jotter = parser.isSet(jotter);
    o.saveJotter = parser.isSet(saveJotter);
    o.version = parser.isSet(version);
    o.help = parser.isSet(help);
    return o;
}

Options parse(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return parse(arguments);
}

QString usageLine() {
    return QStringLiteral("Usage: zestora-biology [--scale F] [--screen NAME] [--list-screens] [--jotter]\n"
                          "                       [--save-jotter] [--version] [--help]\n");
}

QString usage() {
    return usageLine() +
           QStringLiteral(
               "\n"
               "The screens fill the display by themselves when it is at least 1200 x 900 pixels;\n"
               "on a smaller one they keep their design size, 800 x 600.\n"
               "\n"
               "  --scale F         show the screens F times their design size (1 to 6)\n"
               "  --screen NAME     run on the display of that name instead of the primary one\n"
               "  --list-screens    print each display's name, size and the factor used there\n"
               "  --jotter          open the Jotter, in the copy already running if there is one\n"
               "  --save-jotter     save the Jotter's page into the pictures folder, the same way\n"
               "  --version         print the program's name and version\n"
               "  -h, --help        print this help\n"
               "\n"
               "A QT_SCALE_FACTOR or QT_SCREEN_SCALE_FACTORS set in the environment is used as it\n"
               "is, unless --scale is given.\n");
}

QString versionText() {
    return QStringLiteral("zestora-biology (Biology Year 10 Zestora Demo) " ZB_VERSION "\n");
}

} // namespace commandline
