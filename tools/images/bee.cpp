#include "canvas.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace pictures {

namespace {

const QColor kInk(58, 36, 18);
const QColor kGold(250, 196, 48);
const QColor kBand(66, 42, 22);

QPainterPath ellipsePath(QPointF c, qreal rx, qreal ry) {
    QPainterPath path;
    path.addEllipse(c, rx, ry);
    return path;
}

void drawWing(QPainter& p, QPointF base, qreal length, qreal width, qreal angleDeg, qreal ink) {
    p.save();
    p.translate(base);
    p.rotate(angleDeg);
    QPainterPath wing;
    wing.moveTo(0, 0);
    wing.cubicTo(width, -length * 0.25, width * 0.9, -length, 0, -length);
    wing.cubicTo(-width * 0.9, -length, -width, -length * 0.25, 0, 0);
    QLinearGradient shine(0, 0, 0, -length);
    shine.setColorAt(0, QColor(235, 248, 255, 215));
    shine.setColorAt(1, QColor(200, 230, 255, 170));
    p.setBrush(shine);
    p.setPen(QPen(QColor(70, 90, 120), ink, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(wing);
    if (ink < 3) {
        // a couple of veins make it read as a wing rather than a balloon
        p.setPen(QPen(QColor(120, 150, 185), ink * 0.6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath vein;
        vein.moveTo(0, -length * 0.1);
        vein.quadTo(width * 0.15, -length * 0.5, 0, -length * 0.85);
        vein.moveTo(0, -length * 0.45);
        vein.quadTo(width * 0.45, -length * 0.6, width * 0.55, -length * 0.75);
        p.drawPath(vein);
    }
    p.restore();
}

} // namespace

void drawBee(QPainter& p, QPointF centre, qreal length, qreal angleDeg, bool simple) {
    p.save();
    p.translate(centre);
    p.rotate(angleDeg);
    p.scale(length / 100.0, length / 100.0);
    const qreal ink = simple ? 3.6 : 2.2;
    const QPen outline(kInk, ink, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    // back wing sits behind the body
    drawWing(p, QPointF(4, -12), 36, 15, -32, ink);

    // legs
    if (!simple) {
        p.setPen(QPen(kInk, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 3; ++i) {
            const qreal x = 4 + i * 8;
            QPainterPath leg;
            leg.moveTo(x, 10);
            leg.quadTo(x - 4 + i * 2, 20, x - 6 + i * 3, 27);
            leg.lineTo(x - 9 + i * 3, 28);
            p.drawPath(leg);
        }
    }

    // stinger
    p.setPen(outline);
    p.setBrush(kBand);
    QPainterPath sting;
    sting.moveTo(-45, 3);
    sting.lineTo(-55, 8);
    sting.lineTo(-44, 10);
    sting.closeSubpath();
    p.drawPath(sting);

    // abdomen with its bands
    const QPainterPath abdomen = ellipsePath(QPointF(-18, 4), 30, 22);
    QRadialGradient body(QPointF(-14, -6), 34);
    body.setColorAt(0, kGold.lighter(118));
    body.setColorAt(1, kGold.darker(112));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawPath(abdomen);
    p.save();
    p.setClipPath(abdomen);
    p.setBrush(kBand);
    const int bands = simple ? 2 : 3;
    for (int i = 0; i < bands; ++i) {
        const qreal x = -6 - i * (simple ? 17 : 13);
        QPainterPath band;
        band.moveTo(x - 3, -30);
        band.quadTo(x - 7, 4, x - 3, 30);
        band.lineTo(x + (simple ? 6 : 4), 30);
        band.quadTo(x + (simple ? 2 : 0), 4, x + (simple ? 6 : 4), -30);
        band.closeSubpath();
        p.drawPath(band);
    }
    p.drawEllipse(QPointF(-52, 6), 10, 16); // dark tip
    p.restore();
    p.setPen(outline);
    p.setBrush(Qt::NoBrush);
    p.drawPath(abdomen);

    // fuzzy thorax
    QRadialGradient fuzz(QPointF(8, -8), 18);
    fuzz.setColorAt(0, QColor(196, 138, 62));
    fuzz.setColorAt(1, QColor(138, 88, 38));
    p.setBrush(fuzz);
    p.drawEllipse(QPointF(11, -1), 15, 14);

    // head
    QRadialGradient face(QPointF(30, -4), 16);
    face.setColorAt(0, QColor(255, 214, 96));
    face.setColorAt(1, QColor(232, 170, 52));
    p.setBrush(face);
    p.drawEllipse(QPointF(32, 0), 14, 13.5);

    // antennae
    p.setBrush(Qt::NoBrush);
    QPainterPath feelers;
    feelers.moveTo(34, -12);
    feelers.quadTo(38, -24, 47, -29);
    feelers.moveTo(28, -12);
    feelers.quadTo(28, -26, 35, -33);
    p.drawPath(feelers);
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(47, -29), simple ? 3.4 : 2.8, simple ? 3.4 : 2.8);
    p.drawEllipse(QPointF(35, -33), simple ? 3.4 : 2.8, simple ? 3.4 : 2.8);

    // big friendly eye and a smile
    p.setPen(QPen(kInk, ink * 0.7));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(36.5, -3), simple ? 6.5 : 5.8, simple ? 7.2 : 6.6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 20, 12));
    p.drawEllipse(QPointF(38.3, -2.2), simple ? 3.9 : 3.4, simple ? 4.3 : 3.8);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(39.5, -4), 1.3, 1.3);
    if (!simple) {
        p.setBrush(QColor(240, 120, 100, 120));
        p.drawEllipse(QPointF(32, 6), 4, 2.6);
    }
    p.setPen(QPen(kInk, simple ? 2.6 : 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath smile;
    smile.moveTo(37.5, 6.5);
    smile.quadTo(42, 9.5, 45, 4.5);
    p.drawPath(smile);

    // front wing over the body
    drawWing(p, QPointF(10, -13), 38, 14, 14, ink);
    p.restore();
}

namespace {

// Flower head seen a little from the side: petals on a tilted disc.
void drawFlowerHead(QPainter& p, QPointF centre, qreal radius, int petals, QColor petal, QColor heart,
                    qreal tilt, qreal phase = 0) {
    p.save();
    p.translate(centre);
    p.scale(1, tilt);
    const QPen edge(petal.darker(135), 1.1 / tilt * 0.6);
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < petals; ++i) {
            const qreal a = phase + 360.0 * (i + pass * 0.5) / petals;
            p.save();
            p.rotate(a);
            QLinearGradient g(0, 0, radius, 0);
            g.setColorAt(0, pass == 0 ? petal.darker(110) : petal);
            g.setColorAt(1, pass == 0 ? petal : petal.lighter(112));
            p.setBrush(g);
            p.setPen(edge);
            QPainterPath leaf;
            leaf.moveTo(0, 0);
            leaf.cubicTo(radius * 0.35, -radius * 0.22, radius * 0.95, -radius * 0.2, radius, 0);
            leaf.cubicTo(radius * 0.95, radius * 0.2, radius * 0.35, radius * 0.22, 0, 0);
            p.drawPath(leaf);
            p.restore();
        }
    }
    const qreal r = radius * 0.32;
    QRadialGradient g(QPointF(-r * 0.3, -r * 0.3), r * 1.3);
    g.setColorAt(0, heart.lighter(125));
    g.setColorAt(1, heart.darker(118));
    p.setBrush(g);
    p.setPen(QPen(heart.darker(150), 0.8));
    p.drawEllipse(QPointF(0, 0), r, r);
    // florets laid out on the golden angle, as a real flower head grows them
    p.setPen(Qt::NoPen);
    p.setBrush(heart.darker(135));
    const int florets = static_cast<int>(r * r / 6);
    for (int i = 1; i < florets; ++i) {
        const qreal d = r * 0.9 * std::sqrt(i / qreal(florets));
        const qreal a = i * 2.39996323;
        p.drawEllipse(QPointF(d * std::cos(a), d * std::sin(a)), r * 0.05 + 0.35, r * 0.05 + 0.35);
    }
    p.restore();
}

void drawLeaf(QPainter& p, QPointF base, qreal length, qreal angleDeg, QColor colour) {
    p.save();
    p.translate(base);
    p.rotate(angleDeg);
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(length * 0.3, -length * 0.32, length * 0.8, -length * 0.28, length, 0);
    leaf.cubicTo(length * 0.75, length * 0.24, length * 0.3, length * 0.26, 0, 0);
    QLinearGradient g(0, -length * 0.3, 0, length * 0.3);
    g.setColorAt(0, colour.lighter(120));
    g.setColorAt(1, colour.darker(115));
    p.setBrush(g);
    p.setPen(QPen(colour.darker(150), 1.0));
    p.drawPath(leaf);
    p.setPen(QPen(colour.darker(140), 0.9, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath rib;
    rib.moveTo(length * 0.05, 0);
    rib.quadTo(length * 0.5, -length * 0.04, length * 0.9, 0);
    p.drawPath(rib);
    p.restore();
}

void drawStem(QPainter& p, QPointF from, QPointF control, QPointF to, qreal width, QColor colour) {
    QPainterPath stem;
    stem.moveTo(from);
    stem.quadTo(control, to);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour.darker(140), width + 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(stem);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(stem);
}

void drawCloud(QPainter& p, QPointF at, qreal size) {
    QPainterPath a, b, c;
    a.addEllipse(at + QPointF(-size * 0.55, 0), size * 0.45, size * 0.3);
    b.addEllipse(at + QPointF(0, -size * 0.15), size * 0.5, size * 0.42);
    c.addEllipse(at + QPointF(size * 0.55, size * 0.02), size * 0.42, size * 0.28);
    const QPainterPath cloud = a.united(b).united(c);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 215));
    p.drawPath(cloud);
}

QPainterPath hexagon(QPointF c, qreal r, qreal rotationDeg = 0) {
    QPainterPath path;
    for (int i = 0; i < 6; ++i) {
        const qreal a = (60.0 * i + rotationDeg) * M_PI / 180.0;
        const QPointF v = c + QPointF(r * std::cos(a), r * std::sin(a));
        if (i == 0)
            path.moveTo(v);
        else
            path.lineTo(v);
    }
    path.closeSubpath();
    return path;
}

} // namespace

void drawBeeOnFlower(QPainter& p) {
    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(108, 184, 240));
    sky.setColorAt(0.7, QColor(196, 230, 250));
    p.fillRect(QRectF(0, 0, 320, 240), sky);

    QRadialGradient sun(QPointF(42, 38), 40);
    sun.setColorAt(0, QColor(255, 248, 200));
    sun.setColorAt(0.45, QColor(255, 236, 150));
    sun.setColorAt(0.5, QColor(255, 236, 150, 120));
    sun.setColorAt(1, QColor(255, 236, 150, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(QPointF(42, 38), 40, 40);

    drawCloud(p, QPointF(250, 42), 34);
    drawCloud(p, QPointF(128, 26), 24);

    // two rolling hills
    QPainterPath far;
    far.moveTo(0, 170);
    far.cubicTo(80, 140, 170, 150, 320, 165);
    far.lineTo(320, 240);
    far.lineTo(0, 240);
    p.setBrush(QColor(142, 200, 104));
    p.drawPath(far);
    QPainterPath near;
    near.moveTo(0, 205);
    near.cubicTo(90, 185, 200, 196, 320, 188);
    near.lineTo(320, 240);
    near.lineTo(0, 240);
    QLinearGradient grass(0, 185, 0, 240);
    grass.setColorAt(0, QColor(104, 178, 78));
    grass.setColorAt(1, QColor(70, 146, 58));
    p.setBrush(grass);
    p.drawPath(near);

    // a few distant flowers dotted on the far hill
    const QPointF dots[] = {{22, 178}, {48, 172}, {70, 181}, {96, 168}, {262, 176}, {286, 183}, {305, 172}};
    const QColor tints[] = {QColor(255, 255, 255), QColor(255, 220, 80), QColor(240, 140, 190)};
    for (int i = 0; i < 7; ++i) {
        p.setBrush(tints[i % 3]);
        p.drawEllipse(dots[i], 2.2, 2.2);
    }

    // a smaller yellow flower to the left
    drawStem(p, QPointF(70, 240), QPointF(66, 205), QPointF(74, 172), 3.2, QColor(70, 150, 60));
    drawLeaf(p, QPointF(68, 214), 26, -150, QColor(80, 160, 70));
    drawFlowerHead(p, QPointF(74, 170), 26, 11, QColor(255, 208, 60), QColor(196, 110, 40), 0.62, 8);

    // the big flower the bee has landed on
    drawStem(p, QPointF(206, 240), QPointF(214, 196), QPointF(194, 160), 6, QColor(64, 146, 62));
    drawLeaf(p, QPointF(210, 212), 46, -28, QColor(76, 160, 70));
    drawLeaf(p, QPointF(208, 222), 40, -160, QColor(70, 152, 64));
    drawFlowerHead(p, QPointF(192, 156), 62, 13, QColor(238, 108, 164), QColor(250, 184, 46), 0.5);

    drawBee(p, QPointF(184, 112), 118, -6);
}

void drawMenuBackground(QPainter& p) {
    const QColor screen(49, 135, 215);
    QLinearGradient field(0, 0, 0, 600);
    field.setColorAt(0, screen.lighter(106));
    field.setColorAt(1, screen.darker(106));
    p.fillRect(QRectF(0, 0, 800, 600), field);

    // a faint honeycomb that fades out towards the controls
    const qreal r = 26;
    const qreal w = r * std::sqrt(3.0);
    auto weight = [](QPointF c) {
        const QPointF left(70, 250), low(340, 560);
        const qreal a = std::hypot(c.x() - left.x(), (c.y() - left.y()) * 0.8) / 210;
        const qreal b = std::hypot((c.x() - low.x()) * 0.55, c.y() - low.y()) / 150;
        return std::max(0.0, 1.0 - std::min(a, b));
    };
    for (int row = -1; row < 600 / (r * 1.5) + 2; ++row) {
        for (int col = -1; col < 800 / w + 2; ++col) {
            const QPointF c(col * w + (row % 2 ? w / 2 : 0), row * r * 1.5);
            const qreal k = weight(c);
            if (k <= 0) continue;
            p.setPen(QPen(QColor(255, 255, 255, int(46 * k)), 2.0));
            p.setBrush(QColor(255, 220, 120, int(14 * k)));
            p.drawPath(hexagon(c, r - 2, 30));
        }
    }

    // a few cells of honey low in the middle
    const QPointF cells[] = {{180, 560},
                             {180 + w, 560},
                             {180 + w / 2, 560 - r * 1.5},
                             {180 - w / 2, 560 + r * 1.5},
                             {180 + w / 2, 560 + r * 1.5}};
    for (const QPointF& c : cells) {
        QRadialGradient honey(c + QPointF(-6, -8), r);
        honey.setColorAt(0, QColor(255, 214, 96, 215));
        honey.setColorAt(1, QColor(226, 150, 30, 215));
        p.setBrush(honey);
        p.setPen(QPen(QColor(255, 236, 170, 220), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(hexagon(c, r - 3, 30));
    }

    // flowers along the bottom edge, clear of the exit button and the copyright line
    struct Bloom {
        QPointF head;
        qreal radius;
        QColor petal;
        QColor heart;
        int petals;
    };
    const Bloom blooms[] = {
        {{290, 500}, 30, QColor(255, 255, 255), QColor(250, 196, 46), 14},
        {{378, 470}, 36, QColor(238, 108, 164), QColor(250, 184, 46), 13},
        {{462, 515}, 28, QColor(255, 208, 60), QColor(196, 110, 40), 11},
        {{530, 478}, 22, QColor(186, 140, 236), QColor(250, 200, 70), 10},
    };
    for (const Bloom& b : blooms) {
        drawStem(p, QPointF(b.head.x() + 6, 600), QPointF(b.head.x() - 8, (b.head.y() + 600) / 2), b.head,
                 4.5, QColor(64, 150, 66));
    }
    drawLeaf(p, QPointF(384, 560), 44, -35, QColor(76, 160, 70));
    drawLeaf(p, QPointF(296, 570), 38, -150, QColor(70, 152, 64));
    drawLeaf(p, QPointF(468, 572), 34, -30, QColor(76, 160, 70));
    for (const Bloom& b : blooms)
        drawFlowerHead(p, b.head, b.radius, b.petals, b.petal, b.heart, 0.62, b.radius);

    drawBee(p, QPointF(372, 440), 64, -10);

    // a second bee looping through the empty left side, with its flight path
    QPainterPath trail;
    trail.moveTo(24, 330);
    trail.cubicTo(40, 250, 150, 300, 120, 230);
    trail.cubicTo(100, 185, 50, 215, 80, 175);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 150), 2.4, Qt::DashLine, Qt::RoundCap));
    p.drawPath(trail);
    drawBee(p, QPointF(104, 150), 74, -22);
}

void drawTitleIcon(QPainter& p) {
    drawBee(p, QPointF(16.6, 19), 29.5, -8, true);
}

void drawAppIcon(QPainter& p, qreal size) {
    const bool small = size < 100;
    p.save();
    p.scale(size / 256.0, size / 256.0);
    const QPointF c(128, 132);
    // honeycomb tile with softened corners
    QPainterPath tile = hexagon(c, 118, 30);
    QPainterPathStroker rounder;
    rounder.setWidth(small ? 18 : 14);
    rounder.setJoinStyle(Qt::RoundJoin);
    tile = tile.united(rounder.createStroke(tile)).simplified();
    QLinearGradient honey(0, 14, 0, 250);
    honey.setColorAt(0, QColor(255, 214, 84));
    honey.setColorAt(1, QColor(236, 150, 24));
    p.setPen(QPen(QColor(150, 86, 14), small ? 10 : 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(honey);
    p.drawPath(tile);
    if (!small) {
        p.setPen(QPen(QColor(255, 240, 190, 130), 4));
        p.setBrush(Qt::NoBrush);
        const qreal rr = 26;
        const qreal w = rr * std::sqrt(3.0);
        p.save();
        p.setClipPath(hexagon(c, 100, 30));
        for (int row = -3; row <= 3; ++row)
            for (int col = -3; col <= 3; ++col)
                p.drawPath(hexagon(c + QPointF(col * w + (row % 2 ? w / 2 : 0), row * rr * 1.5), rr - 3, 30));
        p.restore();
    }
    // a leaf for the biology
    drawLeaf(p, QPointF(64, 206), 150, -24, QColor(72, 168, 70));
    drawBee(p, QPointF(126, 126), 200, -12, small);
    p.restore();
}

} // namespace pictures
