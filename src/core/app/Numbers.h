#pragma once
// Locale-independent number reading and writing shared by every part of the editor.
// Settings, the command line, tags and input boxes all hold numbers as text; they
// must read the same way whatever the user's locale says about separators.

#include <QString>
#include <cstdint>

namespace kelbrin {

// The leading number of a text: leading blanks skipped, an optional sign, then
// digits with at most one decimal point, up to the first other character.
// A text without leading digits gives 0.
double Val(const QString& text);

// Nearest whole number, halves to the even one (2.5 -> 2, 3.5 -> 4).
std::int64_t RoundHalfEven(double value);

// Val followed by RoundHalfEven, clamped to the 32-bit range.
std::int32_t ValLong(const QString& text);

// A number typed into a comma-decimal input box ("12,5" -> 12.5). A point is
// accepted too, so pasted values from elsewhere still read.
double CommaVal(const QString& text);

// The general number text: shortest form with up to 15 significant digits,
// no exponent for ordinary magnitudes, "." as the separator, no trailing zeros.
QString NumberText(double value);

// The same with "," as the separator, for comma-decimal input boxes.
QString CommaNumberText(double value);

// Clamp a setting's value to the range of the control that shows it.
template <typename T> T ClampTo(T value, T low, T high) {
    return value < low ? low : (value > high ? high : value);
}

} // namespace kelbrin
