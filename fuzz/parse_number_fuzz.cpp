// ParseNumber on any bytes: never fails, and a text it accepts reads back the
// same as the C library reads it.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "design/timer_equations.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const double v = timer555::ParseNumber(text);
  if (std::isnan(v)) __builtin_trap();
  // Digits and one point only (what the entry fields admit) always parse.
  bool plain = !text.empty() && text.find_first_not_of("0123456789.") == std::string::npos &&
               text.find('.') == text.rfind('.') && text != ".";
  if (plain && text.size() < 300) {
    const double expected = std::strtod(text.c_str(), nullptr);
    if (v != expected) __builtin_trap();
  }
  return 0;
}
