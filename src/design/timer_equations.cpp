#include "design/timer_equations.h"

#include <locale.h>
#include <clocale>
#include <cmath>
#include <cstdlib>

#include "design/design_pages.h"
#include "format/pmisc.h"
#include "render/draw555.h"
#include "state/global.h"
#include "state/ideal_timing.h"

namespace timer555 {

namespace {

const long double kLn2 = std::log(2.0L);
const long double kLn3 = std::log(3.0L);

bool IsDigit(char c) noexcept {
  return c >= '0' && c <= '9';
}

// Whether text[from..] is exactly: sign? digits? (. digits?)? with at least one
// digit, then an optional exponent e sign? digits.
bool IsDecimalReal(const std::string& text, size_t from) {
  size_t i = from;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i]))
    ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i]))
      ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exponent = 0;
    while (i < text.size() && IsDigit(text[i]))
      ++i, ++exponent;
    if (exponent == 0) return false;
  }
  return i == text.size();
}

locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

void DrawResults(ShellView& view, const TStringHolder& shBuffer) {
  DrawCircuit(shBuffer, view.PageCanvas(), Global::Page().SchematicRect, true);
  DrawOutputWaveform(
      view, Global::TimerDesign().DesignMode == 4 ? WaveformKind::OneShot : WaveformKind::Astable);
}

}  // namespace

double ParseNumber(const std::string& text) {
  size_t start = 0;
  while (start < text.size() && text[start] == ' ')
    ++start;
  if (!IsDecimalReal(text, start)) return 0;
  // The grammar is checked above, so strtod reads exactly this decimal; the C
  // locale keeps the point the decimal separator whatever the desktop's language.
  return strtod_l(text.c_str() + start, nullptr, CLocale());
}

int TypedDecimals(const std::string& text) noexcept {
  const size_t point = text.find('.');
  return point == std::string::npos ? 0 : static_cast<int>(text.size() - (point + 1));
}

void SolveComponents() {
  SolveComponents(Global::TimerDesign());
}

void SolveComponents(TimerDesignState& d) {
  const long double f = d.Frequency;
  const long double duty = d.DutyCycle;
  // Each pass divides C1 by ten and so multiplies the resistances by ten. A C1
  // that stepping has made infinite stays so when divided; the search stops
  // there instead of going round for ever, with the resistances it gives.
  for (;;) {
    const long double c1 = d.C1;
    bool done = false;
    switch (d.DesignMode) {
      case 1: {
        const long double k = 1 / (kLn2 * f * c1);
        d.R1 = static_cast<double>((2 * duty - 1) * k);
        d.R2 = static_cast<double>((1 - duty) * k);
        done = static_cast<long double>(d.R1) + d.R2 >= kMinTimingResistance;
        break;
      }
      case 2:
        d.R1 = static_cast<double>(duty / f / c1 / kLn2);
        done = static_cast<long double>(d.R1) + d.R2 >= kMinTimingResistance;
        break;
      case 3: {
        const long double k = 1 / (kLn2 * f * c1);
        d.R1 = static_cast<double>(duty * k);
        d.R2 = static_cast<double>((1 - duty) * k);
        done = static_cast<long double>(d.R1) + d.R2 >= kMinTimingResistance;
        break;
      }
      case 4:
        d.R1 = static_cast<double>(d.PulseLength / (kLn3 * c1));
        done = d.R1 >= kMinTimingResistance;
        break;
      default:
        return;
    }
    if (done || !std::isfinite(d.C1)) return;
    d.C1 = d.C1 / 10;
    d.DecadeCount += 1;
  }
}

void CalculateDesign(ShellView& view, const TStringHolder& shBuffer) {
  TimerDesignState& d = Global::TimerDesign();
  if (d.DesignMode < 1 || d.DesignMode > 4) return;
  if (d.DesignMode == 2) {
    d.DutyCycle = 0.5;
    view.SetText(Control::NumEdit2, "50");
    d.R2 = kSquareWaveR2;
  }
  SolveComponents();
  DrawResults(view, shBuffer);
  Global::Page().Calculated = true;
  StoreReferenceValues(view);
}

void StoreReferenceValues(const ShellView& view) {
  TimerDesignState& d = Global::TimerDesign();
  d.C1Ref = d.C1;
  d.R1Ref = d.R1;
  d.R2Ref = d.R2;
  d.FreqDecimals = TypedDecimals(view.Text(Control::NumEdit1));
  d.DutyDecimals = TypedDecimals(view.Text(Control::NumEdit2));
}

void RecalculateFromComponents(ShellView& view, const TStringHolder& shBuffer) {
  TimerDesignState& d = Global::TimerDesign();
  const std::optional<DesignKind> kind = DesignKindOf(d.DesignMode);
  if (!kind) return;
  const IdealHalves<long double> halves = IdealHalvesOf<long double>(*kind, d.R1, d.R2, d.C1);
  if (*kind == DesignKind::OneShot) {
    d.THigh = static_cast<double>(halves.high);
    view.SetText(Control::NumEdit1,
                 TrimLeadingBlanks(FloatToFixed(d.THigh, 6, d.FreqDecimals + 3)));
    view.SetText(Control::NumEdit2, "");
    DrawResults(view, shBuffer);
    return;
  }
  const long double tH = halves.high, tL = halves.low;
  // Parts stepped to zero or infinity give no period: the fields keep the
  // last frequency and duty cycle and only the schematic shows the new part.
  if (!(tL > 0) || !std::isfinite(tL) || !std::isfinite(tH)) {
    DrawCircuit(shBuffer, view.PageCanvas(), Global::Page().SchematicRect, true);
    return;
  }
  d.THigh = static_cast<double>(tH);
  d.TLow = static_cast<double>(tL);
  d.Frequency = static_cast<double>(1 / (tH + tL));
  d.DutyCycle = static_cast<double>(tH / (tH + tL));
  view.SetText(Control::NumEdit1,
               TrimLeadingBlanks(FloatToFixed(d.Frequency, 6, d.FreqDecimals + 3)));
  view.SetText(Control::NumEdit2,
               TrimLeadingBlanks(FloatToFixed(d.DutyCycle * 100.0L, 6, d.DutyDecimals + 1)));
  DrawResults(view, shBuffer);
}

}  // namespace timer555
