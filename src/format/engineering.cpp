#include "format/engineering.h"

#include <charconv>
#include <cmath>
#include <utility>

namespace timer555 {

std::string FixedText(double v, int decimals) {
  if (!std::isfinite(v)) return "-";
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  return std::string(buf, r.ptr);
}

std::string EngineeringText(double v, const std::string& unit, const std::string& micro) {
  if (!std::isfinite(v)) return "never";
  if (v == 0) return "0 " + unit;
  static const std::pair<double, const char*> prefixes[] = {
      {1e9, "G"},  {1e6, "M"},      {1e3, "k"},  {1, ""},
      {1e-3, "m"}, {1e-6, nullptr}, {1e-9, "n"}, {1e-12, "p"}};
  for (const auto& [scale, prefix] : prefixes) {
    if (std::fabs(v) >= scale || scale == 1e-12) {
      const double x = v / scale;
      const int decimals = std::fabs(x) >= 100 ? 1 : std::fabs(x) >= 10 ? 2 : 3;
      return FixedText(x, decimals) + " " + (prefix ? prefix : micro) + unit;
    }
  }
  return FixedText(v, 3) + " " + unit;
}

}  // namespace timer555
