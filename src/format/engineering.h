#pragma once

#include <string>

namespace timer555 {

// `v` with `decimals` decimals and a point, whatever the locale; "-" where it
// is not finite.
std::string FixedText(double v, int decimals);

// A value with an SI prefix and three or four digits: 772.1 Hz, 250.0 us,
// 3.607 kOhm; "never" where it is not finite (a time that never ends).
// `micro` is the prefix written for 1e-6 ("u" in plain text, "µ" in UTF-8).
std::string EngineeringText(double v, const std::string& unit, const std::string& micro = "u");

}  // namespace timer555
