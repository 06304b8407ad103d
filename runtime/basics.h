// The small library of the forms runtime: twips, colours, numbers, random numbers and runtime errors.
#pragma once

#include <QColor>
#include <QString>

#include <cstdint>
#include <functional>
#include <stdexcept>

namespace vb {

using Single = float;
using OleColor = std::int32_t; // r + 256·g + 65536·b

inline constexpr int kTwipsPerPixel = 15;

constexpr OleColor RGB(int r, int g, int b) {
    return OleColor(r & 0xFF) | (OleColor(g & 0xFF) << 8) | (OleColor(b & 0xFF) << 16);
}
OleColor QBColor(int n); // raises error 5 outside 0..15
// The colour constants every form may use by name.
inline constexpr OleColor vbBlack = RGB(0, 0, 0);
inline constexpr OleColor vbWhite = RGB(255, 255, 255);
inline constexpr OleColor vbRed = RGB(255, 0, 0);
inline constexpr OleColor vbGreen = RGB(0, 255, 0);
inline constexpr OleColor vbBlue = RGB(0, 0, 255);
inline constexpr OleColor vbYellow = RGB(255, 255, 0);
inline constexpr OleColor vbMagenta = RGB(255, 0, 255);
inline constexpr OleColor vbCyan = RGB(0, 255, 255);
QColor toQColor(OleColor c);

// Twips to logical pixels, rounded the same way for every edge so neighbours never gap or overlap.
inline int twipsToPixels(double twips) {
    return int(twips >= 0 ? twips / kTwipsPerPixel + 0.5 : twips / kTwipsPerPixel - 0.5);
}
inline Single pixelsToTwips(double px) {
    return Single(px * kTwipsPerPixel);
}

// Numbers as the screens print them.
QString Str(double value); // leading blank for a number that is not negative
QString LTrim(const QString& s);
double Int(double value); // down to the whole number below

// Random numbers: the classic 24-bit generator, seedable and repeatable.
void Randomize(double seed);
Single Rnd();
double Timer(); // seconds since midnight
void setRndState(std::uint32_t state);
// Tests pin the clock that Timer reads; an empty function restores the real one.
void setTimerSource(std::function<double()> source);

// A failing runtime operation.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const QString& description);
    int number() const { return m_number; }
    QString description() const { return m_description; }
    QString report() const; // the text of the runtime's error report

private:
    int m_number;
    QString m_description;
};

namespace err {
inline constexpr int InvalidCall = 5;
inline constexpr int FileNotFound = 53;
inline constexpr int PathNotFound = 76;
inline constexpr int ControlArrayElementMissing = 340;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int CannotSizeWindow = 384;
inline constexpr int InvalidPicture = 481;
inline constexpr int ControlNotFound = 730;
} // namespace err

// "Skip the failing statement and go on": runs one statement and swallows a runtime error.
inline bool Try(const std::function<void()>& statement) {
    try {
        statement();
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

} // namespace vb
