#pragma once

#include <string>

namespace timer555 {

// 10^x computed as e^(x · ln 10).
double Power10(double x) noexcept;

// `value` in fixed-point notation with exactly `decimals` decimals (rounded,
// exact ties to even), at least one digit before the point, right-aligned with
// blanks to `width`; a longer text is not cut. Infinities and NaN give "INF",
// "-INF" and "NAN".
std::string FloatToFixed(long double value, int width, int decimals);

std::string TrimLeadingBlanks(const std::string& text);
// Only a text with a point loses its trailing zeros (and then a bare point);
// every text loses its leading blanks.
std::string TrimTrailingZeros(const std::string& text);
// Cuts a number text to n + 1 characters with a round-up on the digit text.
// A carry that runs past the first digit adds a leading "1" (999.98 → 1000).
std::string KeepDigits(const std::string& text, int n);

// Component values as printed beside the symbols: 4.7K, 100nF. A value that
// is not finite prints as "INF", "-INF" or "NAN" without a unit; one with
// more than five whole digits in the largest unit prints with its exponent
// and without a unit (3.1E16, in ohms or farads).
std::string FormatCapacitance(double farads);
std::string FormatResistance(double ohms);

}  // namespace timer555
