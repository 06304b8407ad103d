// A form's drawing surface: what Line draws, kept as pixels at the window's factor and shown under the
// controls. It keeps no strokes: when its pixels no longer suit the window (a display of another factor), it
// is emptied and the form is asked to draw its ink again from what the screen keeps.
#pragma once

#include "basics.h"

#include <QImage>

class QWidget;

namespace vb {

class Surface {
public:
    // A segment in the window's pixels with a round pen; returns the part of the window to repaint.
    QRect line(const QWidget& window, QPointF a, QPointF b, OleColor colour, int width);
    void clear() { m_ink = QImage(); }
    const QImage& image() const { return m_ink; }
    // Drawn at another factor than the window's (only its size may differ: it grows as it is drawn on).
    bool otherFactor(const QWidget& window) const;
    // Drawn, and not at the window's factor or size.
    bool stale(const QWidget& window) const;

private:
    QImage m_ink;
};

} // namespace vb
