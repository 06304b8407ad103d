// The graphical controls: shapes and lines drawn on a form, with no text and no input of their own.
#include "controls.h"

#include "form.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vb {

Shape::Shape(Form& form, QWidget* container, const QString& name, int index)
    : Control(form, container, name, index) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::setShape(int shape) {
    m_shape = shape;
    update();
}
void Shape::setBorderColor(OleColor c) {
    m_borderColor = c;
    update();
}
void Shape::setBorderWidth(int w) {
    m_borderWidth = std::max(1, w);
    update();
}
void Shape::setFillStyle(int s) {
    m_fillStyle = s;
    update();
}
void Shape::setFillColor(OleColor c) {
    m_fillColor = c;
    update();
}

void Shape::copyFrom(const Control& src) {
    const auto& s = static_cast<const Shape&>(src);
    m_shape = s.m_shape;
    m_borderColor = s.m_borderColor;
    m_borderWidth = s.m_borderWidth;
    m_fillStyle = s.m_fillStyle;
    m_fillColor = s.m_fillColor;
    Control::copyFrom(src);
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool round = m_shape == vbShapeOval || m_shape == vbShapeCircle;
    if (round) p.setRenderHint(QPainter::Antialiasing);
    QRectF box = rect();
    if (m_shape == vbShapeSquare || m_shape == vbShapeCircle) {
        const qreal side = std::min(box.width(), box.height());
        box = QRectF(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
    }
    // The outline lies wholly inside the control's bounds.
    const qreal half = m_borderWidth / 2.0;
    const QRectF path = box.adjusted(half, half, -half, -half);
    p.setBrush(m_fillStyle == vbFSSolid ? QBrush(toQColor(m_fillColor)) : Qt::NoBrush);
    QPen pen(toQColor(m_borderColor), m_borderWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    if (round)
        p.drawEllipse(path);
    else
        p.drawRect(path);
}

Line::Line(Form& form, QWidget* container, const QString& name, int index)
    : Control(form, container, name, index) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Line::setEnds(Single x1, Single y1, Single x2, Single y2) {
    m_x1 = x1;
    m_y1 = y1;
    m_x2 = x2;
    m_y2 = y2;
    place();
}

void Line::setBorderColor(OleColor c) {
    m_borderColor = c;
    update();
}

void Line::setBorderWidth(int w) {
    m_borderWidth = std::max(1, w);
    place();
}

void Line::place() {
    // The widget is the line's bounding box, grown by the pen so wide lines are not clipped.
    const Single pad = Single(m_borderWidth * kTwipsPerPixel);
    Move(std::min(m_x1, m_x2) - pad, std::min(m_y1, m_y2) - pad, std::fabs(m_x2 - m_x1) + 2 * pad,
         std::fabs(m_y2 - m_y1) + 2 * pad);
    update();
}

void Line::copyFrom(const Control& src) {
    const auto& s = static_cast<const Line&>(src);
    m_x1 = s.m_x1;
    m_y1 = s.m_y1;
    m_x2 = s.m_x2;
    m_y2 = s.m_y2;
    m_borderColor = s.m_borderColor;
    m_borderWidth = s.m_borderWidth;
    Control::copyFrom(src);
    place();
}

void Line::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QPen pen(toQColor(m_borderColor), m_borderWidth);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    const QPointF origin(twipsToPixels(Left()), twipsToPixels(Top()));
    // Odd widths sit on pixel centres so a 1- or 3-pixel line is crisp.
    const qreal offset = (m_borderWidth % 2) ? 0.5 : 0.0;
    const QPointF a(twipsToPixels(m_x1) - origin.x() + offset, twipsToPixels(m_y1) - origin.y() + offset);
    const QPointF b(twipsToPixels(m_x2) - origin.x() + offset, twipsToPixels(m_y2) - origin.y() + offset);
    p.drawLine(a, b);
}

} // namespace vb
