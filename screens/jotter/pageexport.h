// The Jotter's page out of the program: saved as a PDF of vector strokes and a PNG at the display's
// resolution, and printed. Both are drawn from the page's steps, as the board draws them.
#pragma once

#include "pagesteps.h"

#include <QSizeF>
#include <QString>

class QPainter;
class QPrinter;

namespace pageexport {

struct Page {
    std::vector<const PageSteps::Step*> strokes; // oldest first
    QSizeF size;                                 // in the board's pixels
    qreal ratio = 1;                             // the display's device pixels per pixel
};

// The page's background and strokes, in its own pixels.
void paint(QPainter& p, const Page& page);

// Where saved pages go: the desktop's pictures folder, or the home folder where there is none.
QString folder();

// Writes "Jotter YYYY-MM-DD HH-MM.pdf" and ".png" into `into`, never over a file already there. Returns the
// name given (without its ending), or nothing when the folder cannot be written: then nothing is left.
QString save(const Page& page, const QString& into);

// Fitted to the paper, centred, as large as it goes.
void print(QPrinter& printer, const Page& page);

} // namespace pageexport
