#include "format/pmisc.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace timer555 {

namespace {

constexpr long double kLn10 = 2.302585092994045684017991454684364208L;

std::string NonFiniteText(long double v) {
  if (std::isnan(v)) return "NAN";
  return v < 0 ? "-INF" : "INF";
}

std::string PadLeft(std::string text, int width) {
  if (width > 0 && static_cast<int>(text.size()) < width)
    text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
  return text;
}

// The digits of a whole number held in a long double (exact for any size).
std::string WholeDigits(long double whole) {
  // The largest long double has 4933 digits.
  std::vector<char> buf(5000);
  const auto result =
      std::to_chars(buf.data(), buf.data() + buf.size(), whole, std::chars_format::fixed, 0);
  return std::string(buf.data(), result.ptr);
}

bool IsDigit(char c) noexcept {
  return c >= '0' && c <= '9';
}

// Adds one to the character at `index`; where there is no digit to take the
// carry (before the first character or on a sign) a leading "1" is inserted.
void Increment(std::string& text, std::ptrdiff_t index) {
  if (index < 0 || !IsDigit(text[static_cast<size_t>(index)])) {
    text.insert(static_cast<size_t>(index + 1), 1, '1');
    return;
  }
  text[static_cast<size_t>(index)] = static_cast<char>(text[static_cast<size_t>(index)] + 1);
}

// Two significant digits and a decimal exponent, without unit: 3.1E16.
std::string ScientificText(long double value) {
  char buf[64];
  const auto result = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                                    std::chars_format::scientific, 1);
  std::string text(buf, result.ptr);  // "3.1e+16"
  const size_t e = text.find('e');
  std::string exponent = text.substr(e + 1);
  if (!exponent.empty() && exponent.front() == '+') exponent.erase(0, 1);
  const size_t digit = exponent.find_first_not_of('-');
  while (exponent.size() > digit + 1 && exponent[digit] == '0')
    exponent.erase(digit, 1);
  return text.substr(0, e) + "E" + exponent;
}

std::string Format(long double value, long double divisor, const char* suffix) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  const std::string fixed = TrimTrailingZeros(FloatToFixed(value / divisor, 7, 4));
  // The cut to five characters keeps every whole digit up to five; past that
  // the value is written with its exponent, since a cut would misstate it
  // (3.07e16 Ω is not "30696G").
  const size_t point = fixed.find('.');
  const size_t whole = (point == std::string::npos ? fixed.size() : point) - (fixed[0] == '-');
  if (whole > 5) return ScientificText(value);
  return KeepDigits(fixed, 4) + suffix;
}

}  // namespace

double Power10(double x) noexcept {
  return static_cast<double>(std::exp(x * kLn10));
}

std::string FloatToFixed(long double value, int width, int decimals) {
  if (!std::isfinite(value)) return PadLeft(NonFiniteText(value), width);
  if (decimals < 0) decimals = 0;
  if (decimals > 18) decimals = 18;
  long double scaled = value * std::pow(10.0L, decimals);
  bool negative = false;
  std::string digits;
  if (!std::isfinite(scaled)) {
    // Too large to scale: such a value has no fractional digits to round.
    negative = value < 0;
    digits = WholeDigits(std::fabs(value)) + std::string(static_cast<size_t>(decimals), '0');
  } else {
    const long double rounded = std::nearbyint(scaled);  // ties to even
    negative = rounded < 0;
    digits = WholeDigits(std::fabs(rounded));
  }
  if (static_cast<int>(digits.size()) <= decimals)
    digits.insert(0, static_cast<size_t>(decimals) + 1 - digits.size(), '0');
  if (decimals > 0) digits.insert(digits.size() - static_cast<size_t>(decimals), 1, '.');
  if (negative) digits.insert(0, 1, '-');
  return PadLeft(std::move(digits), width);
}

std::string TrimLeadingBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

std::string TrimTrailingZeros(const std::string& text) {
  std::string s = text;
  if (s.find('.') != std::string::npos) {
    while (!s.empty() && s.back() == '0')
      s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
  }
  return TrimLeadingBlanks(s);
}

std::string KeepDigits(const std::string& text, int n) {
  if (n < 0 || text.size() <= static_cast<size_t>(n) + 1) return text;
  std::string s = text;
  const size_t last = static_cast<size_t>(n);  // 0-based index of position n + 1
  // Character order is that of unsigned bytes.
  if (static_cast<unsigned char>(s[last + 1]) >= '5' && s[last] != '.')
    s[last] = static_cast<char>(s[last] + 1);
  for (size_t p = s.find(':'); p != std::string::npos; p = s.find(':')) {
    s[p] = '0';
    const auto before = static_cast<std::ptrdiff_t>(p) - 1;
    if (before >= 0 && s[static_cast<size_t>(before)] == '.')
      Increment(s, before - 1);
    else
      Increment(s, before);
  }
  return s[last] == '.' ? s.substr(0, last) : s.substr(0, last + 1);
}

std::string FormatCapacitance(double farads) {
  const long double v = farads;
  if (v < 9.9999e-10L) return Format(v, 1e-12L, "pF");
  if (v < 9.9999e-7L) return Format(v, 1e-9L, "nF");
  if (v < 9.9999e-4L) return Format(v, 1e-6L, "uF");
  return Format(v, 1.0L, "");
}

std::string FormatResistance(double ohms) {
  const long double v = ohms;
  if (v == 0) return "  N/A";
  if (v >= 1e9L) return Format(v, 1e9L, "G");
  if (v >= 1e6L) return Format(v, 1e6L, "M");
  if (v >= 1000.0L) return Format(v, 1000.0L, "K");
  return Format(v, 1.0L, "");
}

}  // namespace timer555
