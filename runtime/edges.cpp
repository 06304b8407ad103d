#include "edges.h"

#include "runtime.h"

namespace vb {

// The sunken edge of a bordered label or a list: dark above and left, light below and right.
// One-pixel rows and columns are filled, not stroked: every label button has this edge, and stroking eight
// lines cost more than the rest of its paint but the text.
void drawSunkenEdge(QPainter& p, const QRect& r) {
    auto row = [&](int x1, int x2, int y, const QColor& c) { p.fillRect(QRect(x1, y, x2 - x1 + 1, 1), c); };
    auto column = [&](int x, int y1, int y2, const QColor& c) {
        p.fillRect(QRect(x, y1, 1, y2 - y1 + 1), c);
    };
    const QRect o = r.adjusted(0, 0, -1, -1);
    const QColor shadow(128, 128, 128), light(Qt::white), darkShadow(64, 64, 64), face(212, 208, 200);
    row(o.left(), o.right(), o.top(), shadow);
    column(o.left(), o.top(), o.bottom(), shadow);
    row(o.left(), o.right(), o.bottom(), light);
    column(o.right(), o.top(), o.bottom(), light);
    const QRect i = o.adjusted(1, 1, -1, -1);
    row(i.left(), i.right(), i.top(), darkShadow);
    column(i.left(), i.top(), i.bottom(), darkShadow);
    row(i.left(), i.right(), i.bottom(), face);
    column(i.right(), i.top(), i.bottom(), face);
}

void drawRaisedEdge(QPainter& p, const QRect& r, bool down) {
    const QRect o = r.adjusted(0, 0, -1, -1);
    const QRect i = o.adjusted(1, 1, -1, -1);
    if (down) {
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(o);
        p.setPen(QColor(128, 128, 128));
        p.drawRect(i);
        return;
    }
    p.setPen(Qt::white);
    p.drawLine(o.topLeft(), o.topRight());
    p.drawLine(o.topLeft(), o.bottomLeft());
    p.setPen(Qt::black);
    p.drawLine(o.bottomLeft(), o.bottomRight());
    p.drawLine(o.topRight(), o.bottomRight());
    p.setPen(QColor(128, 128, 128));
    p.drawLine(i.bottomLeft(), i.bottomRight());
    p.drawLine(i.topRight(), i.bottomRight());
}

Qt::Alignment horizontalAlignment(int a) {
    return a == vbCenter ? Qt::AlignHCenter : a == vbRightJustify ? Qt::AlignRight : Qt::AlignLeft;
}

} // namespace vb
