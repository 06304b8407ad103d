#include "canvas.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace pictures {

void drawLogo(QPainter& p) {
    const QColor navy(22, 44, 96);
    const QColor teal(22, 150, 160);
    const QColor amber(244, 160, 32);
    // outside the rounded card is the menu screen's blue, so the corners vanish on it
    p.fillRect(QRectF(0, 0, 100, 139), QColor(49, 135, 215));
    p.setPen(QPen(navy, 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(2, 2, 96, 135), 8, 8);

    // the mark: a bold Q whose tail is a growing leaf
    const QPointF c(50, 50);
    QRadialGradient disc(c + QPointF(-8, -10), 38);
    disc.setColorAt(0, teal.lighter(125));
    disc.setColorAt(1, teal);
    p.setPen(Qt::NoPen);
    p.setBrush(disc);
    QPainterPath ring;
    ring.addEllipse(c, 31, 31);
    ring.addEllipse(c, 19, 19);
    p.drawPath(ring);
    p.save();
    p.translate(c + QPointF(13, 15));
    p.rotate(38);
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(9, -10, 26, -9, 34, 0);
    leaf.cubicTo(26, 9, 9, 10, 0, 0);
    p.setBrush(amber);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(leaf);
    p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3, 0), QPointF(28, 0));
    p.restore();
    // a small open book in the eye of the Q
    p.setPen(QPen(navy, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    QPainterPath book;
    book.moveTo(c + QPointF(0, -4));
    book.quadTo(c + QPointF(-6, -9), c + QPointF(-12, -6));
    book.lineTo(c + QPointF(-12, 7));
    book.quadTo(c + QPointF(-6, 4), c + QPointF(0, 8));
    book.quadTo(c + QPointF(6, 4), c + QPointF(12, 7));
    book.lineTo(c + QPointF(12, -6));
    book.quadTo(c + QPointF(6, -9), c + QPointF(0, -4));
    book.closeSubpath();
    p.drawPath(book);
    p.drawLine(c + QPointF(0, -4), c + QPointF(0, 8));

    // the name, fitted to the width
    QFont font = boldFont(19);
    QFontMetricsF metrics(font);
    const QString name = QStringLiteral("Quorvane");
    const qreal fit = 88.0 / metrics.horizontalAdvance(name);
    if (fit < 1) font.setPixelSize(qMax(8, int(19 * fit)));
    p.setFont(font);
    p.setPen(navy);
    p.drawText(QRectF(0, 90, 100, 24), Qt::AlignCenter, name);
    p.setPen(QPen(amber, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(26, 117), QPointF(74, 117));
    QFont small = boldFont(9);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    p.setFont(small);
    p.setPen(teal.darker(120));
    p.drawText(QRectF(0, 119, 100, 14), Qt::AlignCenter, QStringLiteral("LEARNING"));
}

void drawExit(QPainter& p) {
    QLinearGradient face(0, 0, 0, 33);
    face.setColorAt(0, QColor(255, 252, 238));
    face.setColorAt(1, QColor(236, 226, 196));
    p.fillRect(QRectF(0, 0, 119, 33), face);
    p.setPen(QPen(QColor(150, 130, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 118, 32));

    // door frame with the doorway showing daylight
    p.setPen(QPen(QColor(70, 44, 24), 1.4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(QColor(255, 238, 150));
    p.drawRect(QRectF(9, 4, 18, 25));
    // door swung open towards us
    QPainterPath door;
    door.moveTo(9, 4);
    door.lineTo(3, 7);
    door.lineTo(3, 31);
    door.lineTo(9, 29);
    door.closeSubpath();
    QLinearGradient wood(3, 0, 9, 0);
    wood.setColorAt(0, QColor(176, 104, 48));
    wood.setColorAt(1, QColor(132, 74, 32));
    p.setBrush(wood);
    p.drawPath(door);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 214, 90));
    p.drawEllipse(QPointF(4.9, 18.5), 0.9, 1.1);

    // arrow leaving through the door
    QPainterPath arrow;
    arrow.moveTo(14, 14);
    arrow.lineTo(30, 14);
    arrow.lineTo(30, 9);
    arrow.lineTo(40, 17.5);
    arrow.lineTo(30, 26);
    arrow.lineTo(30, 21);
    arrow.lineTo(14, 21);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(20, 90, 30), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(40, 170, 60));
    p.drawPath(arrow);

    p.setFont(boldFont(22));
    p.setPen(QColor(150, 24, 24));
    p.drawText(QRectF(44, 0, 72, 33), Qt::AlignCenter, QStringLiteral("Exit"));
}

} // namespace pictures
