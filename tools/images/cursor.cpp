#include "canvas.h"

#include <QBuffer>
#include <QDataStream>
#include <QPainterPath>

namespace pictures {

namespace {

// Outline coordinates sit on half pixels so the 1 px black edge lands on whole pixels.
QPainterPath handShape() {
    QPainterPath hand;
    // three curled fingers as knuckles stepping down to the right
    hand.addRoundedRect(QRectF(13.5, 10.5, 4, 8), 2, 2);
    hand.addRoundedRect(QRectF(17.5, 11.5, 4, 8), 2, 2);
    hand.addRoundedRect(QRectF(21.5, 13.0, 4, 8), 2, 2);
    // palm and wrist
    QPainterPath palm;
    palm.moveTo(9.5, 14.5);
    palm.lineTo(25.5, 16.5);
    palm.lineTo(25.5, 23.5);
    palm.quadTo(25.5, 27.5, 22.5, 29.5);
    palm.lineTo(22.5, 31.5);
    palm.lineTo(11.5, 31.5);
    palm.lineTo(11.5, 29.5);
    palm.quadTo(8.5, 27.0, 6.5, 24.5);
    palm.closeSubpath();
    // thumb folded in against the palm
    QPainterPath thumb;
    thumb.moveTo(10.5, 21.5);
    thumb.lineTo(6.0, 16.5);
    thumb.cubicTo(4.0, 14.5, 1.5, 17.0, 3.5, 19.5);
    thumb.lineTo(7.5, 25.5);
    thumb.closeSubpath();
    QPainterPath fingerBody;
    fingerBody.moveTo(9.5, 16.5);
    fingerBody.lineTo(9.5, 3.5);
    fingerBody.arcTo(QRectF(9.5, 1.5, 4, 4), 180, -180);
    fingerBody.lineTo(13.5, 16.5);
    fingerBody.closeSubpath();
    return fingerBody.united(hand).united(palm).united(thumb).simplified();
}

void putLe16(QByteArray& out, quint16 v) {
    out.append(char(v & 0xff));
    out.append(char(v >> 8));
}

void putLe32(QByteArray& out, quint32 v) {
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xff));
}

} // namespace

QImage pointerCursorImage() {
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath hand = handShape();
    p.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    // creases between the curled fingers
    p.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(13.5, 14.5), QPointF(13.5, 18.0));
    p.drawLine(QPointF(17.5, 15.0), QPointF(17.5, 19.0));
    p.drawLine(QPointF(21.5, 16.0), QPointF(21.5, 20.0));
    p.end();
    // The mask beside the colour rows is one bit deep, so the silhouette is made
    // all-or-nothing; the smoothing inside the outline stays.
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            row[x] = qAlpha(row[x]) >= 96 ? (row[x] | 0xff000000u) : 0u;
    }
    return out;
}

QPoint pointerCursorHotSpot() {
    return QPoint(11, 1);
}

QByteArray encodeCursor(const QImage& source, QPoint hotSpot) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const int maskStride = ((w + 31) / 32) * 4;
    const quint32 pixelBytes = quint32(w * h * 4);
    const quint32 maskBytes = quint32(maskStride * h);
    const quint32 dibBytes = 40 + pixelBytes + maskBytes;

    QByteArray out;
    // ICONDIR: a cursor resource holding one image
    putLe16(out, 0);
    putLe16(out, 2);
    putLe16(out, 1);
    // ICONDIRENTRY: for cursors the planes and bit-count fields carry the hot spot
    out.append(char(w));
    out.append(char(h));
    out.append(char(0));
    out.append(char(0));
    putLe16(out, quint16(hotSpot.x()));
    putLe16(out, quint16(hotSpot.y()));
    putLe32(out, dibBytes);
    putLe32(out, 22);
    // BITMAPINFOHEADER; the height counts the colour rows and the mask rows
    putLe32(out, 40);
    putLe32(out, quint32(w));
    putLe32(out, quint32(h * 2));
    putLe16(out, 1);
    putLe16(out, 32);
    putLe32(out, 0);
    putLe32(out, pixelBytes + maskBytes);
    putLe32(out, 0);
    putLe32(out, 0);
    putLe32(out, 0);
    putLe32(out, 0);
    // straight-alpha BGRA, bottom row first
    for (int y = h - 1; y >= 0; --y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.append(char(qBlue(row[x])));
            out.append(char(qGreen(row[x])));
            out.append(char(qRed(row[x])));
            out.append(char(qAlpha(row[x])));
        }
    }
    // AND mask: a set bit lets the screen show through
    for (int y = h - 1; y >= 0; --y) {
        QByteArray bits(maskStride, '\0');
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            if (qAlpha(row[x]) == 0) bits[x / 8] = char(bits[x / 8] | (0x80 >> (x % 8)));
        out.append(bits);
    }
    return out;
}

} // namespace pictures
