#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QSize>
#include <QString>

#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace pictures {

// Fixed-seed randomness. The engine's output is pinned down by the C++ standard
// but the standard distributions are not, so the numbers are shaped here.
class Rng {
public:
    explicit Rng(std::uint32_t seed) : m_engine(seed) {}
    double uniform() { return m_engine() / 4294967296.0; }
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int below(int n) { return static_cast<int>(uniform() * n); }
    double normal() {
        const double u = 1.0 - uniform();
        const double v = uniform();
        return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * v);
    }

private:
    std::mt19937 m_engine;
};

using DrawFn = std::function<void(QPainter&)>;

// Draws at `scale` times the logical size; the drawing code always works in
// logical (1x) pixels so the 2x picture is the same vector art, not an upscale.
QImage render(QSize logical, int scale, const DrawFn& draw, bool transparent = false);

QFont boldFont(qreal pixelSize);
QColor mix(const QColor& a, const QColor& b, qreal t);

// A friendly cartoon honey bee facing +x, centred on the origin, `length` long.
// `simple` drops the small details that turn to mush at icon sizes.
void drawBee(QPainter& p, QPointF centre, qreal length, qreal angleDeg, bool simple = false);

void drawBeeOnFlower(QPainter& p);    // 320 x 240
void drawMenuBackground(QPainter& p); // 800 x 600
void drawTitleIcon(QPainter& p);      // 32 x 32
void drawAppIcon(QPainter& p, qreal size);
void drawLogo(QPainter& p);      // 100 x 139
void drawExit(QPainter& p);      // 119 x 33
void drawReflexArc(QPainter& p); // 480 x 330
void drawField(QPainter& p);     // 401 x 401

inline constexpr QSize kReflexSize{480, 330};
inline constexpr QSize kFieldSize{401, 401};

// Daisy centres in field-picture pixels; aborts if the layout breaks the
// counts the quadrat lesson relies on.
std::vector<QPointF> daisyCentres();

QImage pointerCursorImage();
QPoint pointerCursorHotSpot();
QByteArray encodeCursor(const QImage& image, QPoint hotSpot);

bool writePreviews(const QString& dir);

} // namespace pictures
