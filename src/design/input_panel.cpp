#include "design/input_panel.h"

#include "components/holders.h"
#include "design/timer_equations.h"
#include "format/pmisc.h"
#include "state/global.h"

namespace timer555 {

namespace {

bool Fail(ShellView& view, const char* message) {
  view.ShowError(message);
  return false;
}

}  // namespace

TimerDesignState DesignAsTyped(TimerDesignState design, const std::string& first,
                               const std::string& second) {
  if (design.DesignMode == 4) {
    design.PulseLength = ParseNumber(first);
  } else {
    design.Frequency = ParseNumber(first);
    design.DutyCycle = ParseNumber(second) / 100;
  }
  return design;
}

bool ValidateInput(ShellView& view) {
  TimerDesignState& d = Global::TimerDesign();
  const std::string first = view.Text(Control::NumEdit1);
  const std::string second = view.Text(Control::NumEdit2);
  if (first.empty()) {
    return Fail(view, d.DesignMode == 4 ? "Pulse length not entered." : "Frequency not entered.");
  }
  if (second.empty() && d.DesignMode != 4) return Fail(view, "Duty cycle not entered.");
  d = DesignAsTyped(d, first, second);
  if (d.DesignMode == 4) return d.PulseLength == 0 ? Fail(view, "Invalid pulse length.") : true;
  if (d.Frequency < 0.01 || d.Frequency > 2000000) return Fail(view, "Frequency not realistic.");
  if (d.DesignMode == 1) {
    if (d.DutyCycle <= 0.5) return Fail(view, "Duty cycle not realistic for this mode.");
    if (d.DutyCycle >= 1) return Fail(view, "Duty cycle invalid.");
  }
  if (d.DesignMode == 3 && (d.DutyCycle <= 0 || d.DutyCycle >= 1)) {
    return Fail(view, "Duty cycle invalid.");
  }
  return true;
}

ArrowHit ArrowAt(int x, int imageWidth) noexcept {
  const double r = static_cast<double>(x) / imageWidth;
  if (r <= 0.44) return ArrowHit::Up;
  if (r >= 0.54) return ArrowHit::Down;
  return ArrowHit::Gap;
}

void StepCapacitor(StepDirection step) {
  TimerDesignState& d = Global::TimerDesign();
  const std::vector<std::string>& mantissas = E12Mantissas();
  const int last = static_cast<int>(mantissas.size()) - 1;
  if (step == StepDirection::Up) {
    d.E12Index += 1;
    if (d.E12Index > last) {
      d.E12Index = 0;
      d.DecadeCount -= 1;
    }
  } else {
    d.E12Index -= 1;
    if (d.E12Index < 0) {
      d.E12Index = last;
      d.DecadeCount += 1;
    }
  }
  // Recomputed from the list text and e^(n · ln 10), not stepped by factors:
  // the value lands within an ulp of the decimal, as the window always had it.
  d.C1 = ParseNumber(mantissas[static_cast<size_t>(d.E12Index)]) / Power10(d.DecadeCount);
}

void StepTimerVariant(StepDirection step) {
  using enum TimerVariant;
  TimerVariant& v = Global::Drawing().TimerVariant;
  if (step == StepDirection::Up) {
    v = v == Timer555 ? Timer556A : v == Timer556A ? Timer556B : Timer555;
  } else {
    v = v == Timer555 ? Timer556B : v == Timer556B ? Timer556A : Timer555;
  }
}

}  // namespace timer555
