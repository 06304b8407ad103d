#include "canvas.h"

#include "screens/activities/quadrat_squares.h"

#include <QPainterPath>
#include <QRadialGradient>

#include <array>
#include <cstdio>
#include <cstdlib>

namespace pictures {

namespace {

constexpr int kTotalDaisies = 248;
constexpr int kSamsDaisies = 5;
// Maddy's ten squares, 26 in all: her mean of 2.6 lands near the true 2.48.
constexpr std::array<int, 10> kMaddysDaisies{3, 2, 4, 1, 3, 2, 3, 3, 2, 3};
static_assert(kMaddysDaisies[0] + kMaddysDaisies[1] + kMaddysDaisies[2] + kMaddysDaisies[3] +
                  kMaddysDaisies[4] + kMaddysDaisies[5] + kMaddysDaisies[6] + kMaddysDaisies[7] +
                  kMaddysDaisies[8] + kMaddysDaisies[9] ==
              26);

// A square's outline is drawn inside its 40 px bounds, 3 px thick; a daisy
// centre this far from any edge stays clear of it on both sides.
constexpr double kEdgeClearance = 7.0;
constexpr double kBorderClearance = 4.0;
constexpr double kDaisySpacing = 8.5;

struct SquarePx {
    double left, top;
    bool sams;
};

std::array<SquarePx, 11> squaresInPicture() {
    std::array<SquarePx, 11> out{};
    for (int i = 0; i < 11; ++i) {
        out[i] = {(kQuadratSquares[i].Left - 210.0) / 15.0, (kQuadratSquares[i].Top - 1410.0) / 15.0,
                  kQuadratSquares[i].sams};
    }
    return out;
}

// -1 outside every square, -2 too close to an edge, else the square index.
int zoneOf(const std::array<SquarePx, 11>& squares, QPointF c) {
    if (c.x() < kBorderClearance || c.y() < kBorderClearance || c.x() > 401 - kBorderClearance ||
        c.y() > 401 - kBorderClearance)
        return -2;
    for (int i = 0; i < 11; ++i) {
        const SquarePx& s = squares[i];
        const double e = kEdgeClearance;
        const bool inside =
            c.x() >= s.left + e && c.x() <= s.left + 40 - e && c.y() >= s.top + e && c.y() <= s.top + 40 - e;
        if (inside) return i;
        const bool clear =
            c.x() <= s.left - e || c.x() >= s.left + 40 + e || c.y() <= s.top - e || c.y() >= s.top + 40 + e;
        if (!clear) return -2;
    }
    return -1;
}

[[noreturn]] void layoutFailed(const char* why) {
    std::fprintf(stderr, "drawimages: daisy layout failed: %s\n", why);
    std::abort();
}

} // namespace

std::vector<QPointF> daisyCentres() {
    const auto squares = squaresInPicture();
    Rng rng(0x0da15e5u);
    std::vector<QPointF> daisies;
    auto spaced = [&](QPointF c) {
        for (const QPointF& d : daisies)
            if (std::hypot(d.x() - c.x(), d.y() - c.y()) < kDaisySpacing) return false;
        return true;
    };
    // Centres sit on pixel centres so every dot rasterises to the same crisp shape.
    auto snap = [](double x, double y) { return QPointF(std::floor(x) + 0.5, std::floor(y) + 0.5); };

    // The quadrats first, so their counts are exact.
    int maddy = 0;
    for (int i = 0; i < 11; ++i) {
        const int want = squares[i].sams ? kSamsDaisies : kMaddysDaisies[maddy++];
        int placed = 0;
        for (int tries = 0; placed < want; ++tries) {
            if (tries > 20000) layoutFailed("a square is too crowded");
            const QPointF c =
                snap(rng.uniform(squares[i].left + kEdgeClearance, squares[i].left + 40 - kEdgeClearance),
                     rng.uniform(squares[i].top + kEdgeClearance, squares[i].top + 40 - kEdgeClearance));
            if (zoneOf(squares, c) == i && spaced(c)) {
                daisies.push_back(c);
                ++placed;
            }
        }
    }

    // The rest of the field grows in clumps with bare patches between, one clump
    // right where Sam's square landed so his single throw over-counts.
    struct Clump {
        QPointF at;
        double spread;
        double weight;
    };
    const std::vector<Clump> clumps = {
        {{220, 304}, 30, 1.9}, {{330, 90}, 26, 1.6},  {{60, 360}, 24, 1.2},
        {{250, 215}, 18, 0.9}, {{370, 300}, 20, 1.1}, {{130, 160}, 20, 0.8},
        {{30, 60}, 18, 0.8},   {{190, 40}, 16, 0.7},  {{350, 380}, 14, 0.6},
    };
    const QPointF bare[] = {{110, 215}, {260, 130}, {180, 365}};
    double totalWeight = 0;
    for (const Clump& k : clumps)
        totalWeight += k.weight;
    const int outside = kTotalDaisies - static_cast<int>(daisies.size());
    int placed = 0;
    for (int tries = 0; placed < outside; ++tries) {
        if (tries > 200000) layoutFailed("could not fit the daisies between the squares");
        QPointF c;
        if (rng.uniform() < 0.62) {
            double pick = rng.uniform() * totalWeight;
            const Clump* k = &clumps.back();
            for (const Clump& candidate : clumps) {
                if (pick < candidate.weight) {
                    k = &candidate;
                    break;
                }
                pick -= candidate.weight;
            }
            c = snap(k->at.x() + rng.normal() * k->spread, k->at.y() + rng.normal() * k->spread);
        } else {
            c = snap(rng.uniform(0, 401), rng.uniform(0, 401));
            bool inBare = false;
            for (const QPointF& b : bare)
                inBare = inBare || std::hypot(c.x() - b.x(), c.y() - b.y()) < 38;
            if (inBare) continue;
        }
        if (zoneOf(squares, c) == -1 && spaced(c)) {
            daisies.push_back(c);
            ++placed;
        }
    }

    // Check the finished layout independently of how it was built.
    int sams = 0, maddys = 0;
    for (const QPointF& d : daisies) {
        const int zone = zoneOf(squares, d);
        if (zone == -2) layoutFailed("a daisy touches a square's edge");
        if (zone >= 0) (squares[zone].sams ? sams : maddys)++;
    }
    if (static_cast<int>(daisies.size()) != kTotalDaisies || sams != kSamsDaisies || maddys != 26)
        layoutFailed("wrong counts");
    return daisies;
}

void drawField(QPainter& p) {
    Rng rng(0x6a55u);
    p.fillRect(QRectF(0, 0, 401, 401), QColor(44, 94, 36));

    // broad, soft changes of shade: the lie of the lawn
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 70; ++i) {
        const QPointF c(rng.uniform(-20, 421), rng.uniform(-20, 421));
        const double r = rng.uniform(25, 70);
        const double t = rng.uniform();
        QColor tone = mix(QColor(30, 76, 28), QColor(66, 118, 42), t);
        QRadialGradient g(c, r);
        tone.setAlpha(70);
        g.setColorAt(0, tone);
        tone.setAlpha(0);
        g.setColorAt(1, tone);
        p.setBrush(g);
        p.drawEllipse(c, r, r);
    }

    // blades of grass seen from above: short tapering strokes leaning with the wind,
    // all kept dark so nothing but a daisy shows up as a bright spot
    for (int i = 0; i < 15000; ++i) {
        const QPointF base(rng.uniform(-6, 407), rng.uniform(-6, 407));
        const double angle = 0.6 + rng.normal() * 0.55;
        const double length = rng.uniform(3.5, 8.5);
        const double bend = rng.uniform(-1.2, 1.2);
        const QPointF tip = base + QPointF(std::cos(angle) * length, -std::sin(angle) * length);
        const QPointF mid = (base + tip) / 2 + QPointF(bend, bend * 0.5);
        const double t = rng.uniform();
        const QColor shade = t < 0.5 ? mix(QColor(24, 62, 22), QColor(48, 102, 36), t * 2)
                                     : mix(QColor(48, 102, 36), QColor(82, 134, 50), (t - 0.5) * 2);
        QPainterPath blade;
        blade.moveTo(base);
        blade.quadTo(mid, tip);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(shade, rng.uniform(0.7, 1.3), Qt::SolidLine, Qt::RoundCap));
        p.drawPath(blade);
    }

    // the daisies: plain white dots, like the dot in the key
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (const QPointF& d : daisyCentres())
        p.drawEllipse(d, 2.6, 2.6);
}

} // namespace pictures
