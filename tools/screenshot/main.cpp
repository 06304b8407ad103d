// Renders screens to PNG files offscreen, for the README and for review.
// Usage: screenshot [--scale N] OUTDIR [SCREEN...]   (all screens when none is named)
#include "registry.h"
#include "shots.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryFile>

#include <cmath>

#include <cstdio>

int main(int argc, char** argv) {
    QByteArray scale = "1";
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a = argv[i];
        if (a == "--scale" && i + 1 < argc)
            scale = argv[++i];
        else
            args << QString::fromLocal8Bit(a);
    }
    if (args.isEmpty()) {
        std::fputs("usage: screenshot [--scale N] OUTDIR [SCREEN...]\n", stderr);
        return 2;
    }
    // A display the screens just fill at the scale, as on a board: titled windows keep to the display.
    QTemporaryFile displays;
    const double factor = std::max(1.0, scale.toDouble());
    if (!displays.open() ||
        displays.write(
            QStringLiteral(R"({"screens": [{"name": "board", "x": 0, "y": 0, "width": %1, "height": %2}]})")
                .arg(std::ceil(800 * factor))
                .arg(std::ceil(600 * factor))
                .toUtf8()) < 0)
        return 1;
    displays.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(displays.fileName()));
    qputenv("QT_SCALE_FACTOR", scale);
    QApplication app(argc, argv);
    shots::prepare();

    const QString out = args.takeFirst();
    QDir().mkpath(out);
    QStringList names = args;
    if (names.isEmpty())
        for (const ScreenInfo& s : allScreens())
            names << s.name;
    int failures = 0;
    for (const QString& name : names) {
        vb::Runtime::reset();
        vb::Form* f = shots::open(name);
        if (!f) {
            std::fprintf(stderr, "no screen called %s, or it did not come up\n", qPrintable(name));
            ++failures;
            continue;
        }
        const QString file = QDir(out).filePath(name + QStringLiteral(".png"));
        if (!shots::grab(*f).save(file)) ++failures;
        std::printf("%s\n", qPrintable(file));
    }
    return failures ? 1 : 0;
}
