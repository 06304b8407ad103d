#include "basics.h"

#include <QTime>

#include <cmath>
#include <cstring>

namespace vb {

namespace {
constexpr OleColor kQBColors[16] = {
    RGB(0, 0, 0),       RGB(0, 0, 128),   RGB(0, 128, 0),   RGB(0, 128, 128),
    RGB(128, 0, 0),     RGB(128, 0, 128), RGB(128, 128, 0), RGB(192, 192, 192),
    RGB(128, 128, 128), RGB(0, 0, 255),   RGB(0, 255, 0),   RGB(0, 255, 255),
    RGB(255, 0, 0),     RGB(255, 0, 255), RGB(255, 255, 0), RGB(255, 255, 255),
};

std::uint32_t g_seed = 0x50000; // the generator's state at program start
std::function<double()> g_timerSource;
} // namespace

OleColor QBColor(int n) {
    if (n < 0 || n > 15)
        throw RuntimeError(err::InvalidCall, QStringLiteral("Invalid procedure call or argument"));
    return kQBColors[n];
}

QColor toQColor(OleColor c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QString Str(double value) {
    QString digits;
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        digits = QString::number(static_cast<long long>(value));
    else
        digits = QString::number(value, 'g', 7);
    return value < 0 ? digits : QLatin1Char(' ') + digits;
}

QString LTrim(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && s.at(i) == QLatin1Char(' '))
        ++i;
    return s.mid(i);
}

double Int(double value) {
    return std::floor(value);
}

void Randomize(double seed) {
    // Mix the bits of the double into the middle of the state, keeping its outer bytes.
    std::uint64_t bits;
    std::memcpy(&bits, &seed, sizeof bits);
    std::uint32_t mixed = std::uint32_t(bits >> 32) ^ std::uint32_t(bits);
    mixed = ((mixed & 0xFFFF) ^ (mixed >> 16)) << 8;
    g_seed = (g_seed & 0xFF0000FF) | (mixed & 0x00FFFF00);
}

Single Rnd() {
    g_seed = (g_seed * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    return Single(g_seed) / Single(16777216.0);
}

void setRndState(std::uint32_t state) {
    g_seed = state & 0xFFFFFFu;
}

double Timer() {
    if (g_timerSource) return g_timerSource();
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void setTimerSource(std::function<double()> source) {
    g_timerSource = std::move(source);
}

RuntimeError::RuntimeError(int number, const QString& description)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description) {}

QString RuntimeError::report() const {
    return QStringLiteral("Run-time error '%1':\n\n%2").arg(m_number).arg(m_description);
}

} // namespace vb
