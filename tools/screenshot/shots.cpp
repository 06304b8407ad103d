#include "shots.h"

#include "registry.h"

#include <QApplication>
#include <QStyleFactory>

namespace shots {

void prepare() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    vb::installFonts();
}

vb::Form* open(const QString& name) {
    vb::Screen.setSizeOverride(QSizeF(12000, 9000));
    vb::Form* f = screenByName(name);
    if (!f) return nullptr;
    vb::Runtime::dispatch([f] { f->Show(); });
    return f->hWnd() ? f : nullptr;
}

QImage grab(const vb::Form& f) {
    return f.hWnd()->grab().toImage();
}

} // namespace shots
