// The design engine driven as the window drives it, from any sequence of
// entry texts, Calculate clicks, arrow steps on both radio buttons and
// adjustment texts. Checks: every step ends (the decade search included),
// C1 sits on the E12 grid after a page opens or an arrow step, and the
// adjustment accepts exactly the values inside its band.
#include <cmath>
#include <cstdint>
#include <string>

#include "app/shell.h"
#include "components/holders.h"
#include "design/adjustment.h"
#include "design/plain_view.h"
#include "design/timer_equations.h"
#include "format/pmisc.h"
#include "state/global.h"
#include "support/recording_canvas.h"

using namespace timer555;

namespace {

// C1 = mantissa / 10^DecadeCount, as far as doubles allow.
void CheckOnGrid() {
  const TimerDesignState& d = Global::TimerDesign();
  const double expected =
      ParseNumber(E12Mantissas()[static_cast<size_t>(d.E12Index)]) / Power10(d.DecadeCount);
  if (!std::isfinite(expected) || expected == 0 || !std::isnormal(d.C1)) return;
  if (std::fabs(d.C1 / expected - 1) > 1e-9) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static StringHolders holders = LoadBuiltinHolders();
  Global::Reset();
  RecordingCanvas page(650, 308), wave(203, 58), bar(650, 42);
  PlainView view(page, wave);
  MainShell shell(view, holders);
  shell.FormCreate(bar);
  shell.FormShow();
  shell.ShowDesignSelection();
  const int mode = data[0] % 4;
  shell.Image2MouseDown(mode % 2 ? 600 : 10, mode >= 2 ? 300 : 10);
  CheckOnGrid();
  bool adjusted = false;
  size_t i = 1;
  // A text of up to 15 bytes, kept to what a field admits.
  const auto text = [&]() {
    std::string s;
    if (i >= size) return s;
    const size_t n = data[i++] % 16;
    for (size_t k = 0; k < n && i < size; ++k, ++i) {
      const char c = static_cast<char>(data[i]);
      if ((c >= '0' && c <= '9') || c == '.') s += c;
    }
    return s;
  };
  int steps = 0;
  while (i < size && steps++ < 64) {
    switch (data[i++] % 7) {
      case 0:
        view.text[Control::NumEdit1] = text();
        break;
      case 1:
        if (mode == 0 || mode == 2) view.text[Control::NumEdit2] = text();
        break;
      case 2:
        shell.Image3Click();
        break;
      case 3:
      case 4: {
        view.checkedRadio = i < size && (data[i] & 1) ? Control::RB2 : Control::RB1;
        shell.Image4MouseDown(data[i - 1] % 7 == 3 ? 0 : 61, 0);
        if (!adjusted) CheckOnGrid();
        break;
      }
      case 5:
      case 6: {
        if (!Global::Page().Calculated) break;
        const std::string entry = text();
        const bool capacitor = data[i - 1] % 7 == 5;
        Global::Page().ResistorUnderCursor = capacitor ? 1 : 1 + (entry.size() & 1);
        Global::Adjust().AdjustIsCapacitor = capacitor;
        PrepareAdjustment();
        const double ref = Global::Adjust().AdjustReference;
        const double v = ParseNumber(entry);
        // Inside the band in binary is always accepted; what is accepted lies
        // inside it but for a few units in the last place.
        const bool inside = !(v > 1.2 * ref) && !(v < ref / 1.2);
        const bool nearly = !(v > 1.2 * ref * (1 + 1e-12)) && !(v < ref / 1.2 * (1 - 1e-12));
        const bool accepted = !ApplyAdjustment(entry).has_value();
        if ((inside && !accepted) || (accepted && !nearly)) __builtin_trap();
        RecalculateFromComponents(view, holders.SHBuffer);
        adjusted = adjusted || accepted;
        break;
      }
    }
  }
  return 0;
}
