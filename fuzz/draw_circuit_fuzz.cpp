// DrawCircuit on arbitrary script bytes over arbitrary page sizes: it either
// finishes or raises one of its three errors; nothing else may escape.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "components/string_holder.h"
#include "render/checked.h"
#include "render/draw555.h"
#include "state/global.h"
#include "support/recording_canvas.h"

using namespace timer555;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size < 10) return 0;
  std::int32_t rect[2];
  std::memcpy(rect, data, sizeof rect);
  Global::Reset();
  Global::Drawing().TimerVariant = static_cast<TimerVariant>(data[8] % 4);
  Global::Page().PageMode = static_cast<PageMode>(data[9] & 1);
  const std::string bytes(reinterpret_cast<const char*>(data) + 10, size - 10);
  TStringHolder holder;
  size_t start = 0;
  while (start <= bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    holder.Add(bytes.substr(start, end - start));
    start = end + 1;
  }
  // Small pages most of the time, any 32-bit size now and then.
  const bool huge = (data[9] & 2) != 0;
  const std::int32_t w = huge ? rect[0] : rect[0] % 2000;
  const std::int32_t h = huge ? rect[1] : rect[1] % 2000;
  RecordingCanvas canvas(650, 308);
  try {
    DrawCircuit(holder, canvas, {0, 0, w, h}, (data[9] & 4) != 0);
  } catch (const TimerError& e) {
    const std::string m = e.what();
    static const std::string invalid = "' is not a valid integer value";
    const bool known = m == "Range check error" || m == "Integer overflow" ||
                       (m.size() > invalid.size() && m.front() == '\'' &&
                        m.compare(m.size() - invalid.size(), invalid.size(), invalid) == 0);
    if (!known) {
      std::fprintf(stderr, "unexpected error text: %s\n", m.c_str());
      __builtin_trap();
    }
  }
  return 0;
}
