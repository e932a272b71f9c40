// The formatting chain on any double (non-finite included) and any text:
// never fails, never hangs, and the unit texts stay short.
#include <cstdint>
#include <cstring>
#include <string>

#include "format/pmisc.h"

using namespace timer555;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size < sizeof(double) + 2) return 0;
  double v = 0;
  std::memcpy(&v, data, sizeof v);
  const int width = static_cast<std::int8_t>(data[sizeof v]) % 40;
  const int decimals = static_cast<std::int8_t>(data[sizeof v + 1]) % 40;
  const std::string text(reinterpret_cast<const char*>(data) + sizeof v + 2, size - sizeof v - 2);
  const std::string r = FormatResistance(v);
  const std::string c = FormatCapacitance(v);
  if (r.empty() || c.empty() || r.size() > 16 || c.size() > 16) __builtin_trap();
  // Magnitudes beyond 1e60 would only spend time on thousands of digits.
  if (!(v > 1e60 || v < -1e60)) FloatToFixed(v, width, decimals);
  TrimLeadingBlanks(text);
  TrimTrailingZeros(text);
  KeepDigits(text, decimals);
  return 0;
}
