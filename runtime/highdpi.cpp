#include "highdpi.h"

#include <QScreen>
#include <QWindow>
#include <private/qhighdpiscaling_p.h>
#include <qpa/qwindowsysteminterface.h>

namespace vb::highdpi {

void setScreenFactor(QScreen* screen, double factor) {
    QHighDpiScaling::setScreenFactor(screen, factor);
}

void renewFactor(QWindow* window) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    if (window->handle())
        QWindowSystemInterface::handleWindowDevicePixelRatioChanged<
            QWindowSystemInterface::SynchronousDelivery>(window);
#else
    Q_UNUSED(window); // the factor is worked out afresh each time it is asked for
#endif
}

QPointF toNativeLocal(QPointF local, const QWindow* window) {
    return QHighDpi::toNativeLocalPosition(local, window);
}

QPointF toNativeGlobal(QPointF global, const QWindow* window) {
    return QHighDpi::toNativeGlobalPosition(global, window);
}

} // namespace vb::highdpi
