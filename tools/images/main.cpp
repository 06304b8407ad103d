// drawimages: draws every picture the program shows, from code, so the artwork
// can be regenerated and reviewed like any other source.
//
//   drawimages OUTDIR            write the pictures (and their @2x, @3x and @4x twins)
//   drawimages --preview DIR     write screen composites for reviewing them

#include "canvas.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>

#include <cstdio>

using namespace pictures;

namespace {

// A board of 3840 x 2160 shows the screens at 3.6 times their size; every factor up to 4 gets a picture drawn
// at or above it.
constexpr int kLargestScale = 4;

struct Picture {
    const char* name; // without extension
    const char* format;
    QSize size;
    DrawFn draw;
    int largest; // also drawn at each whole scale up to this one, as NAME@2x, NAME@3x...
};

bool save(const QImage& image, const QString& path, const char* format) {
    const bool jpeg = qstrcmp(format, "jpg") == 0;
    const bool ok = jpeg ? image.convertToFormat(QImage::Format_RGB32).save(path, "JPEG", 92)
                         : image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG");
    if (!ok) std::fprintf(stderr, "drawimages: cannot write %s\n", qPrintable(path));
    return ok;
}

bool writePictures(const QString& dir) {
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "drawimages: cannot create %s\n", qPrintable(dir));
        return false;
    }
    const Picture pictures[] = {
        {"beesm", "jpg", {320, 240}, drawBeeOnFlower, kLargestScale},
        {"bee", "jpg", {800, 600}, drawMenuBackground, kLargestScale},
        {"logo2", "jpg", {100, 139}, drawLogo, kLargestScale},
        {"exit", "jpg", {119, 33}, drawExit, kLargestScale},
        {"reflex", "jpg", kReflexSize, drawReflexArc, kLargestScale},
        {"field", "jpg", kFieldSize, drawField, kLargestScale},
        {"titleicon", "png", {32, 32}, drawTitleIcon, 2}, // the window manager sizes it
        {"zestora-biology", "png", {256, 256}, [](QPainter& p) { drawAppIcon(p, 256); }, 1},
        {"zestora-biology-64", "png", {64, 64}, [](QPainter& p) { drawAppIcon(p, 64); }, 1},
    };
    for (const Picture& pic : pictures) {
        const bool transparent = qstrcmp(pic.format, "png") == 0;
        for (int scale = 1; scale <= pic.largest; ++scale) {
            const QString file = QStringLiteral("%1%2.%3").arg(
                QLatin1String(pic.name), scale > 1 ? QStringLiteral("@%1x").arg(scale) : QString(),
                QLatin1String(pic.format));
            if (!save(render(pic.size, scale, pic.draw, transparent), QDir(dir).filePath(file), pic.format))
                return false;
        }
    }

    QFile cursor(QDir(dir).filePath(QStringLiteral("H_POINT.cur")));
    if (!cursor.open(QIODevice::WriteOnly) ||
        cursor.write(encodeCursor(pointerCursorImage(), pointerCursorHotSpot())) < 0) {
        std::fprintf(stderr, "drawimages: cannot write %s\n", qPrintable(cursor.fileName()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    // Nothing is shown on screen; drawing works the same with or without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QString outDir;
    QString previewDir;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--preview") && i + 1 < args.size())
            previewDir = args[++i];
        else if (!args[i].startsWith(QLatin1Char('-')) && outDir.isEmpty())
            outDir = args[i];
        else {
            outDir.clear();
            previewDir.clear();
            break;
        }
    }
    if (outDir.isEmpty() && previewDir.isEmpty()) {
        std::fprintf(stderr, "usage: drawimages OUTDIR | drawimages --preview DIR\n");
        return 2;
    }

    // Text in the pictures is set in Liberation Sans; a stand-in font would
    // quietly change the committed artwork, so refuse instead.
    const QFontInfo font(boldFont(21));
    if (font.family() != QLatin1String("Liberation Sans")) {
        std::fprintf(stderr, "drawimages: Liberation Sans not found (got %s); install fonts-liberation2\n",
                     qPrintable(font.family()));
        return 1;
    }

    if (!outDir.isEmpty() && !writePictures(outDir)) return 1;
    if (!previewDir.isEmpty() && !writePreviews(previewDir)) return 1;
    return 0;
}
