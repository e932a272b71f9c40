#include "format/engineering.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <utility>

namespace timer555 {

std::string FixedText(double v, int decimals) {
  if (!std::isfinite(v)) return "-";
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  return std::string(buf, r.ptr);
}

namespace {

// The value of a text FixedText wrote, whatever the locale.
double ValueOf(const std::string& text) {
  double v = 0;
  std::from_chars(text.data(), text.data() + text.size(), v);
  return v;
}

// `x` (|x| from 1 to 1000) with `significant` digits: the decimals follow
// the rounded value, so 99.999 with four digits is "100.0", not "100.00".
std::string Significant(double x, int significant) {
  for (int whole = 1; whole <= 4; ++whole) {
    const int decimals = std::max(0, significant - whole);
    std::string text = FixedText(x, decimals);
    const double rounded = std::fabs(ValueOf(text));
    if (rounded < std::pow(10.0, whole)) return text;
  }
  return FixedText(x, 0);
}

}  // namespace

std::string EngineeringText(double v, const std::string& unit, const std::string& micro,
                            int significant) {
  if (!std::isfinite(v)) return "never";
  if (v == 0) return "0 " + unit;
  static const std::pair<double, const char*> prefixes[] = {
      {1e12, "T"}, {1e9, "G"},      {1e6, "M"},  {1e3, "k"},   {1, ""},
      {1e-3, "m"}, {1e-6, nullptr}, {1e-9, "n"}, {1e-12, "p"}, {1e-15, "f"}};
  const double a = std::fabs(v);
  if (a < 1e-15 || a >= 1e15) {
    // Beyond the prefixes: the exponent, never eighty digits or "0.000 f".
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific,
                                 std::max(0, significant - 1));
    return std::string(buf, r.ptr) + " " + unit;
  }
  size_t k = 0;
  while (a < prefixes[k].first)
    ++k;
  std::string text = Significant(v / prefixes[k].first, significant);
  // Rounded up to 1000 (999.96 k): written with the next prefix up.
  if (std::fabs(ValueOf(text)) >= 1000 && k > 0) {
    --k;
    text = Significant(v / prefixes[k].first, significant);
  }
  const char* prefix = prefixes[k].second;
  return text + " " + (prefix ? prefix : micro) + unit;
}

std::string EngineeringBeside(double v, double limit, const std::string& unit,
                              const std::string& micro) {
  std::string text;
  for (int significant = 4; significant <= 15; ++significant) {
    text = EngineeringText(v, unit, micro, significant);
    if (v == limit || text != EngineeringText(limit, unit, micro, significant)) break;
  }
  return text;
}

}  // namespace timer555
