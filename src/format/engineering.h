#pragma once

#include <string>

namespace timer555 {

// `v` with `decimals` decimals and a point, whatever the locale; "-" where it
// is not finite.
std::string FixedText(double v, int decimals);

// A value with an SI prefix (f to T) and `significant` digits: 772.1 Hz,
// 250.0 µs, 3.607 kΩ, 100.0 nF; an exponent beyond the prefixes (3.100e+16 Ω);
// "never" where it is not finite (a time that never ends). `micro` is the
// prefix written for 1e-6 ("u" in plain ASCII, "µ" in UTF-8).
std::string EngineeringText(double v, const std::string& unit, const std::string& micro = "\u00b5",
                            int significant = 4);

// `v` as EngineeringText writes it, with as many more digits as it takes
// to differ from `limit` written the same way: "4.999 kΩ is below 5.000 kΩ",
// never "5 kΩ is below 5 kΩ".
std::string EngineeringBeside(double v, double limit, const std::string& unit,
                              const std::string& micro = "\u00b5");

}  // namespace timer555
