#include "canvas.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace pictures {

namespace {

// The screen lays its labels over this picture, so a few structures have to be
// exactly where the label lines end (picture pixels):
//   motor neurone passes (72, 48), the biceps is at (152, 96),
//   the spinal cord is at (16, 184) and its label sits on it,
//   the sensory neurone passes (184, 168).
const QColor kBackground(39, 63, 137);
const QColor kSkin(250, 218, 190);
const QColor kSkinEdge(176, 116, 86);
const QColor kCasing(14, 18, 44);
const QColor kSensory(64, 214, 104);
const QColor kMotor(255, 124, 52);
const QColor kRelay(186, 120, 255);

// A smooth curve through every knot (Catmull-Rom), so the label anchors can be
// made knots and the nerve is sure to pass through them.
QPainterPath through(const std::vector<QPointF>& k) {
    QPainterPath path(k.front());
    for (size_t i = 0; i + 1 < k.size(); ++i) {
        const QPointF p0 = k[i == 0 ? 0 : i - 1];
        const QPointF p1 = k[i];
        const QPointF p2 = k[i + 1];
        const QPointF p3 = k[i + 2 < k.size() ? i + 2 : i + 1];
        path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
    }
    return path;
}

QPainterPath closedThrough(const std::vector<QPointF>& k) {
    const size_t n = k.size();
    QPainterPath path(k.front());
    for (size_t i = 0; i < n; ++i) {
        const QPointF p0 = k[(i + n - 1) % n];
        const QPointF p1 = k[i];
        const QPointF p2 = k[(i + 1) % n];
        const QPointF p3 = k[(i + 2) % n];
        path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
    }
    path.closeSubpath();
    return path;
}

void strokeNerve(QPainter& p, const QPainterPath& path, const QColor& colour, qreal width = 3.4) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kCasing, width + 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

// Arrowhead showing which way the impulse travels.
void impulseArrow(QPainter& p, const QPainterPath& path, qreal at, const QColor& colour) {
    const QPointF tip = path.pointAtPercent(at);
    const qreal angle = path.angleAtPercent(at);
    p.save();
    p.translate(tip);
    p.rotate(-angle);
    QPainterPath head;
    head.moveTo(6, 0);
    head.lineTo(-4, -5.5);
    head.lineTo(-1.5, 0);
    head.lineTo(-4, 5.5);
    head.closeSubpath();
    p.setPen(QPen(kCasing, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(colour.lighter(115));
    p.drawPath(head);
    p.restore();
}

void cellBody(QPainter& p, QPointF c, qreal r, const QColor& colour, int dendrites, qreal turn) {
    p.save();
    p.translate(c);
    p.setPen(QPen(kCasing, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(colour);
    QPainterPath body;
    body.addEllipse(QPointF(0, 0), r, r);
    for (int i = 0; i < dendrites; ++i) {
        const qreal a = (turn + 360.0 * i / dendrites) * M_PI / 180.0;
        const QPointF dir(std::cos(a), std::sin(a));
        const QPointF side(-dir.y(), dir.x());
        QPainterPath spike;
        spike.moveTo(dir * r * 0.6 + side * r * 0.55);
        spike.lineTo(dir * r * 1.9);
        spike.lineTo(dir * r * 0.6 - side * r * 0.55);
        spike.closeSubpath();
        body = body.united(spike);
    }
    p.drawPath(body.simplified());
    p.setPen(Qt::NoPen);
    p.setBrush(kCasing);
    p.drawEllipse(QPointF(0, 0), r * 0.38, r * 0.38);
    p.restore();
}

void drawCooker(QPainter& p) {
    // a warm glow spilling from the ring the hand is on
    QRadialGradient glow(QPointF(296, 191), 50);
    glow.setColorAt(0, QColor(255, 120, 40, 160));
    glow.setColorAt(1, QColor(255, 80, 20, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.save();
    p.translate(296, 191);
    p.scale(1, 0.32);
    p.drawEllipse(QPointF(0, 0), 50, 50);
    p.restore();

    // A compact cooker: the screen's score message is laid over the picture
    // below it, and yellow letters need the dark background there.
    const QPen edge(QColor(110, 118, 134), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QLinearGradient enamel(0, 196, 0, 282);
    enamel.setColorAt(0, QColor(236, 238, 244));
    enamel.setColorAt(1, QColor(198, 204, 216));
    p.setPen(edge);
    p.setBrush(enamel);
    p.drawRect(QRectF(254, 196, 220, 86));
    // dark glass control panel along the front
    p.setBrush(QColor(30, 33, 44));
    p.drawRect(QRectF(254, 199, 220, 31));
    for (const qreal x : {270.0, 298.0, 458.0}) {
        const QPointF k(x, 214.5);
        p.setPen(QPen(QColor(150, 156, 170), 1.2));
        p.setBrush(QColor(96, 100, 114));
        p.drawEllipse(k, 6, 6);
        p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(k, k + QPointF(0, -4.5));
    }
    // hob top
    p.setPen(edge);
    p.setBrush(QColor(176, 184, 198));
    p.drawRoundedRect(QRectF(248, 193.5, 232, 6), 2, 2);
    // the ring under the hand is red hot; the other is off
    QLinearGradient hot(0, 188, 0, 195);
    hot.setColorAt(0, QColor(255, 196, 90));
    hot.setColorAt(0.5, QColor(244, 66, 28));
    hot.setColorAt(1, QColor(168, 24, 16));
    p.setPen(QPen(QColor(120, 20, 10), 1));
    p.setBrush(hot);
    p.drawRoundedRect(QRectF(258, 189.5, 76, 5), 2, 2);
    p.setBrush(QColor(84, 88, 100));
    p.setPen(QPen(QColor(50, 54, 64), 1));
    p.drawRoundedRect(QRectF(392, 190, 62, 4.5), 2, 2);
    // oven door
    p.setPen(edge);
    p.setBrush(QColor(222, 226, 234));
    p.drawRoundedRect(QRectF(264, 235, 200, 42), 4, 4);
    p.setBrush(QColor(58, 62, 78));
    p.drawRoundedRect(QRectF(288, 249, 152, 23), 3, 3);
    p.setBrush(QColor(70, 74, 88));
    p.drawRect(QRectF(262, 282, 14, 5));
    p.drawRect(QRectF(452, 282, 14, 5));
    p.setPen(QPen(QColor(150, 156, 170), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(300, 242), QPointF(428, 242));
}

QPainterPath armOutline() {
    // shoulder off the top-left corner, elbow bent, hand flat on the ring
    return closedThrough({
        {-14, -14}, {30, 18},   {72, 43},   {110, 66},  {140, 83},  {162, 90},  {182, 103},
        {192, 122}, {212, 134}, {240, 144}, {262, 153}, {282, 162}, {304, 173}, {318, 180},
        {327, 186}, {323, 191}, {300, 191}, {276, 191}, {260, 190}, {236, 187}, {214, 184},
        {198, 182}, {182, 170}, {150, 144}, {100, 108}, {40, 68},   {-14, 34},
    });
}

void drawArm(QPainter& p) {
    const QPainterPath arm = armOutline();
    QLinearGradient skin(0, 0, 120, -160);
    skin.setColorAt(0, kSkin.darker(104));
    skin.setColorAt(1, kSkin.lighter(104));
    p.setPen(QPen(kSkinEdge, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(skin);
    p.drawPath(arm);

    p.save();
    p.setClipPath(arm);
    // the biceps, seen through the skin, with tendons to shoulder and forearm
    p.setPen(QPen(QColor(238, 230, 206), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(108, 78), QPointF(60, 48));
    QPainterPath tendon;
    tendon.moveTo(180, 118);
    tendon.quadTo(194, 134, 214, 146);
    p.drawPath(tendon);
    p.save();
    p.translate(146, 101);
    p.rotate(33);
    QRadialGradient flesh(QPointF(-6, -5), 40);
    flesh.setColorAt(0, QColor(246, 136, 132));
    flesh.setColorAt(1, QColor(214, 84, 88));
    p.setBrush(flesh);
    p.setPen(QPen(QColor(160, 50, 60), 1.4));
    p.drawEllipse(QPointF(0, 0), 42, 14);
    p.setPen(QPen(QColor(190, 64, 74, 200), 1.0, Qt::SolidLine, Qt::RoundCap));
    for (int i = -2; i <= 2; ++i) {
        QPainterPath fibre;
        fibre.moveTo(-34, i * 4.2);
        fibre.quadTo(0, i * 5.6, 34, i * 4.2);
        p.drawPath(fibre);
    }
    p.restore();
    p.restore();

    // thumb lying along the near side of the hand, and a nail on the fingertip
    p.setPen(QPen(kSkinEdge, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kSkin.lighter(103));
    p.drawPath(closedThrough(
        {{264, 169}, {284, 171}, {300, 175}, {307, 179}, {301, 182.5}, {282, 181}, {266, 177}}));
    p.setBrush(QColor(255, 226, 220));
    p.drawPath(closedThrough({{299.5, 176}, {305, 178.5}, {302, 180.5}}));
    p.drawPath(closedThrough({{318, 182}, {324, 185}, {325, 188}, {320, 187}}));
    p.setBrush(Qt::NoBrush);
    QPainterPath creases;
    creases.moveTo(311, 178);
    creases.quadTo(316, 183, 314, 189);
    creases.moveTo(260, 160);
    creases.quadTo(258, 172, 262, 182);
    p.drawPath(creases);

    // the shoulder fades into the body beyond the picture
    QRadialGradient fade(QPointF(-30, -30), 70);
    QColor bg = kBackground;
    fade.setColorAt(0.35, bg);
    bg.setAlpha(0);
    fade.setColorAt(1, bg);
    p.setPen(Qt::NoPen);
    p.setBrush(fade);
    p.drawRect(QRectF(0, 0, 60, 60));
}

void drawSpinalCord(QPainter& p) {
    const QPointF c(66, 184);
    QRadialGradient white(c + QPointF(-14, -14), 70);
    white.setColorAt(0, QColor(255, 253, 244));
    white.setColorAt(1, QColor(240, 234, 220));
    p.setPen(QPen(QColor(150, 136, 160), 1.8));
    p.setBrush(white);
    p.drawEllipse(c, 60, 48);

    // butterfly of grey matter: broad horns up (towards the motor root),
    // narrow horns down (where the sensory root comes in)
    std::vector<QPointF> right = {{0, -7}, {9, -13}, {16, -27}, {27, -31}, {35, -23}, {32, -10}, {24, -2},
                                  {28, 8}, {38, 24}, {38, 34},  {30, 31},  {18, 15},  {8, 9},    {0, 8}};
    std::vector<QPointF> knots;
    for (const QPointF& k : right)
        knots.push_back(c + k);
    for (auto it = right.rbegin() + 1; it + 1 != right.rend(); ++it)
        knots.push_back(c + QPointF(-it->x(), it->y()));
    p.setPen(QPen(QColor(206, 160, 186), 1.3));
    p.setBrush(QColor(238, 208, 224));
    p.drawPath(closedThrough(knots));
}

} // namespace

void drawReflexArc(QPainter& p) {
    p.fillRect(QRectF(0, 0, kReflexSize.width(), kReflexSize.height()), kBackground);

    drawCooker(p);
    drawSpinalCord(p);
    drawArm(p);

    // sensory neurone: from the skin of the palm on the hot ring, along the
    // underside of the forearm, out at the elbow and into the back of the cord
    const QPainterPath sensory = through({{314, 189},
                                          {290, 188.5},
                                          {262, 186.5},
                                          {232, 182},
                                          {206, 177},
                                          {184, 168},
                                          {166, 174},
                                          {150, 192},
                                          {138, 205},
                                          {122, 213},
                                          {104, 216}});
    // dorsal root ganglion, where the sensory cell body sits
    p.setPen(QPen(QColor(176, 150, 110), 1.3));
    p.setBrush(QColor(252, 236, 190));
    p.drawEllipse(QPointF(141, 203), 11, 8);
    strokeNerve(p, sensory, kSensory);
    // receptor endings in the skin
    p.setPen(QPen(kSensory.darker(140), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(314, 189), QPointF(321, 186.5));
    p.drawLine(QPointF(314, 189), QPointF(321, 190));
    p.drawLine(QPointF(314, 189), QPointF(319, 183.5));
    cellBody(p, QPointF(141, 197.5), 4.2, kSensory, 0, 0);
    impulseArrow(p, sensory, 0.22, kSensory);
    impulseArrow(p, sensory, 0.5, kSensory);

    // relay neurone inside the cord, round the end of the label
    const QPainterPath relay = through({{100, 211}, {110, 202}, {113, 186}, {110, 170}, {100, 161}});
    strokeNerve(p, relay, kRelay, 3.0);
    cellBody(p, QPointF(113, 188), 4.0, kRelay, 0, 0);

    // motor neurone: out of the front of the cord, up into the arm and along it to the biceps
    const QPainterPath motor = through(
        {{92, 156}, {86, 137}, {72, 108}, {60, 80}, {60, 58}, {72, 48}, {96, 61}, {114, 74}, {126, 90}});
    strokeNerve(p, motor, kMotor);
    // motor end plates in the muscle
    p.setPen(QPen(kCasing, 4.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF ends[] = {{138, 92}, {134, 101}, {126, 102}};
    for (const QPointF& e : ends)
        p.drawLine(QPointF(126, 90), e);
    p.setPen(QPen(kMotor, 2.2, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF& e : ends)
        p.drawLine(QPointF(126, 90), e);
    p.setPen(QPen(kCasing, 1.0));
    p.setBrush(kMotor);
    for (const QPointF& e : ends)
        p.drawEllipse(e, 2.4, 2.4);
    cellBody(p, QPointF(92, 156), 5.0, kMotor, 4, 20);
    impulseArrow(p, motor, 0.4, kMotor);
    impulseArrow(p, motor, 0.84, kMotor);
}

} // namespace pictures
