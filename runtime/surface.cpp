#include "surface.h"

#include <QPainter>
#include <QWidget>

namespace vb {

bool Surface::otherFactor(const QWidget& window) const {
    return !m_ink.isNull() && m_ink.devicePixelRatio() != window.devicePixelRatioF();
}

bool Surface::stale(const QWidget& window) const {
    return otherFactor(window) ||
           (!m_ink.isNull() && m_ink.size() != window.size() * window.devicePixelRatioF());
}

QRect Surface::line(const QWidget& window, QPointF a, QPointF b, OleColor colour, int width) {
    const qreal ratio = window.devicePixelRatioF();
    const QSize size = window.size() * ratio;
    if (m_ink.size() != size || m_ink.devicePixelRatio() != ratio) {
        QImage grown(size, QImage::Format_ARGB32_Premultiplied);
        grown.setDevicePixelRatio(ratio);
        grown.fill(Qt::transparent);
        if (!m_ink.isNull() && m_ink.devicePixelRatio() == ratio) {
            QPainter copy(&grown);
            copy.drawImage(0, 0, m_ink);
        }
        m_ink = std::move(grown);
    }
    QPainter p(&m_ink);
    p.setRenderHint(QPainter::Antialiasing, width > 1);
    p.setPen(QPen(toQColor(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (a == b)
        p.drawPoint(a);
    else
        p.drawLine(a, b);
    const qreal pad = width / 2.0 + 2;
    return QRectF(a, b).normalized().adjusted(-pad, -pad, pad, pad).toAlignedRect();
}

} // namespace vb
