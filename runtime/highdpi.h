// The few high-DPI operations that Qt's public API lacks, done through Qt's private high-DPI scaling and its
// window-system interface. They may change with any Qt release (and tie the package to the Qt it was built
// with): a new Qt is mended here alone.
#pragma once

#include <QPointF>

class QScreen;
class QWindow;

namespace vb::highdpi {

// Gives one display a factor of its own while the program runs. Public Qt takes a display's factor only
// from QT_SCREEN_SCALE_FACTORS, read once at start-up, and offers no way to change it after.
void setScreenFactor(QScreen* screen, double factor);

// Has Qt work out the window's factor again from its display. From Qt 6.6 a window keeps a copy of it, which
// Qt renews when the window system reports a change, not when the program gives a display a factor or moves
// the window to another display; public Qt has no way to ask for it.
void renewFactor(QWindow* window);

// A position in Qt's device-independent pixels, in the window system's own ones, as QWindowSystemInterface
// takes them. Public Qt maps only the other way, for events it has received.
QPointF toNativeLocal(QPointF local, const QWindow* window);
QPointF toNativeGlobal(QPointF global, const QWindow* window);

} // namespace vb::highdpi
