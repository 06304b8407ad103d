#include "highdpi.h"

#include <QScreen>
#include <QWindow>
#include <private/qhighdpiscaling_p.h>

namespace vb::highdpi {

void setScreenFactor(QScreen* screen, double factor) {
    QHighDpiScaling::setScreenFactor(screen, factor);
}

QPointF toNativeLocal(QPointF local, const QWindow* window) {
    return QHighDpi::toNativeLocalPosition(local, window);
}

QPointF toNativeGlobal(QPointF global, const QWindow* window) {
    return QHighDpi::toNativeGlobalPosition(global, window);
}

} // namespace vb::highdpi
