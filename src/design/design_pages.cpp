#include "design/design_pages.h"

#include "app/global.h"
#include "design/pmisc.h"

namespace timer555 {

namespace {

struct CapacitorStart {
  double c1;
  int decadeCount;
};

// C1 = E12 mantissa 100 / 10^DecadeCount: 1 µF, 10 nF, 1 µF, 1 mF.
constexpr CapacitorStart kCapacitorStart[] = {{1e-6, 8}, {1e-8, 10}, {1e-6, 8}, {1e-3, 5}};

}  // namespace

const char* DesignTitle(int designMode) noexcept {
  switch (designMode) {
    case 1:
      return "Astable, Duty Cycle > 50%";
    case 2:
      return "Astable, Duty Cycle = 50%";
    case 3:
      return "Astable, Duty Cycle < 50%";
    case 4:
      return "Monostable  (one-shot)";
    default:
      return "";
  }
}

void OpenDesignPage(ShellView& view, StringHolders& holders) {
  TimerDesignState& design = Global::TimerDesign();
  const int mode = design.DesignMode;
  if (mode < 1 || mode > 4) return;
  ShowInputPanel(view, true);
  view.SetCaption(DesignTitle(mode));
  switch (mode) {
    case 1:
      view.SetEnabled(Control::NumEdit2, true);
      break;
    case 2:
      design.DutyCycle = 0.5;
      view.SetText(Control::NumEdit2, FloatToFixed(50, 2, 0));
      view.SetEnabled(Control::NumEdit2, false);
      break;
    case 4:
      view.SetText(Control::Label1, "Pulse length");
      view.SetText(Control::Label4, "sec");
      view.SetEnabled(Control::Label2, false);
      view.SetEnabled(Control::Label3, false);
      view.SetEnabled(Control::NumEdit2, false);
      break;
    default:
      break;
  }
  Canvas& page = view.PageCanvas();
  page.SetBrushColor(kWhite);
  page.FillRect({0, 0, page.Width(), page.Height()});
  holders.SHBuffer.Clear();
  Global::Page().SchematicRect = {0, 0, page.Width(), page.Height()};
  const CapacitorStart start = kCapacitorStart[mode - 1];
  design.C1 = start.c1;
  design.E12Index = 0;
  design.DecadeCount = start.decadeCount;
  design.C2 = 1e-8;
}

}  // namespace timer555
