#include "report/parts_report.h"

#include <algorithm>
#include <cmath>

#include "format/engineering.h"
#include "report/figures.h"
#include "simulation/wave_picture.h"

namespace timer555 {

namespace {

std::string Ohms(double r) {
  return EngineeringText(r, "\u03a9");
}

std::string Farads(double c) {
  return EngineeringText(c, "F");
}

// "C1 470.0 nF, R1 560.0 Ω, R2 1.600 kΩ" (R2 only where the user chooses it).
std::string PartsOf(DesignKind kind, double c1, double r1, const std::optional<double>& r2,
                    std::optional<CapacitorType> type = std::nullopt) {
  std::string text =
      "C1 " + Farads(c1) + (type ? " " + TechnologyText(*type) : "") + ", R1 " + Ohms(r1);
  if (TraitsOf(kind).resistorPair && r2) text += ", R2 " + Ohms(*r2);
  return text;
}

std::string Percent(double fraction, int decimals) {
  return FixedText(fraction * 100, decimals) + " %";
}

}  // namespace

std::string TimingText(DesignKind kind, const Timing& t) {
  if (TraitsOf(kind).oneShot) return FigureText(TimingRow::Kind::Time, t.tHigh);
  return FigureText(TimingRow::Kind::Frequency, t.frequency) + ", " +
         FigureText(TimingRow::Kind::DutyCycle, t.dutyCycle);
}

std::string TargetText(const DesignSnapshot& t) {
  if (TraitsOf(t.kind).oneShot) return FigureText(TimingRow::Kind::Time, t.pulseLength);
  const double duty = TraitsOf(t.kind).resistorPair ? t.dutyCycle : 0.5;
  return FigureText(TimingRow::Kind::Frequency, t.frequency) + ", " +
         FigureText(TimingRow::Kind::DutyCycle, duty);
}

std::string PartsChoiceText(DesignKind kind, TimerFamily family, const PartsChoice& c) {
  std::string text = ChoicePartsText(kind, c) + ": " + TimingText(kind, c.predicted);
  const std::string band = BandText(kind, family, {c.predicted, c.fast, c.slow});
  if (!band.empty()) text += " (" + band + ")";
  text += ", error " + Percent(c.error, 2);
  if (c.worst > c.error + 5e-5) text += " (" + Percent(c.worst, 2) + " at worst)";
  text += ", yield " + Percent(c.spread.yield, 1);
  const Spread& s = c.spread;
  if (TraitsOf(kind).oneShot) {
    text += " (98 % of boards " + FigureText(TimingRow::Kind::Time, s.tHigh.min) + " to " +
            FigureText(TimingRow::Kind::Time, s.tHigh.max) + ")";
  } else {
    text += " (98 % of boards " + FigureText(TimingRow::Kind::Frequency, s.frequency.min) + " to " +
            FigureText(TimingRow::Kind::Frequency, s.frequency.max) + ", " +
            FixedText(s.dutyCycle.min * 100, 1) + " to " + Percent(s.dutyCycle.max, 1) + ")";
  }
  return text + (c.onTarget ? "" : ", off target");
}

std::string ChoicePartsText(DesignKind kind, const PartsChoice& c) {
  return PartsOf(kind, c.c1, c.r1, c.r2, c.capacitor);
}

std::string ExactPartsText(DesignKind kind, const ExactParts& exact) {
  return PartsOf(kind, exact.c1, exact.r1, exact.r2, exact.capacitor) + ": " +
         TimingText(kind, exact.predicted);
}

std::string YieldAssumptionsText(DesignKind kind, const BenchSpec& b) {
  const FamilyParameters& f = Parameters(b.conditions.family);
  const bool oneShot = TraitsOf(kind).oneShot;
  std::string text =
      "Yield over " + std::to_string(b.samples) + " boards (seed " + std::to_string(b.seed) +
      "): resistors uniform within \u00b1" + Percent(b.tolerance.resistor, 1) +
      (b.technologyTolerance
           ? std::string(", C1 within its kind's tolerance and drift over temperature")
           : ", C1 within \u00b1" + Percent(b.tolerance.capacitor, 1)) +
      ", the chip's initial error within \u00b1" +
      Percent(oneShot ? f.monostableInitialError : f.astableInitialError, 2) + ", " +
      FixedText(b.tolerance.minCelsius, 0) + " to " + FixedText(b.tolerance.maxCelsius, 0) +
      " \u00b0C at " + FixedText((oneShot ? f.monostableDrift : f.drift) * 1e6, 0) +
      " ppm/\u00b0C, ";
  if (b.vccRange) {
    text += "Vcc uniform from " + FixedText(b.vccRange->first, 1) + " to " +
            FixedText(b.vccRange->second, 1) + " V at " +
            Percent(oneShot ? f.monostableSupplySensitivity : f.astableSupplySensitivity, 1) + "/V";
  } else {
    text += "Vcc " + FixedText(b.conditions.vcc, 1) + " V";
  }
  if (HasBand(b.conditions.family))
    text += "; the chip's pin currents, delays and output drop uniform over their ranges";
  text +=
      "; inside the window: " + std::string(oneShot ? "pulse" : "frequency") + " within \u00b1" +
      Percent(b.frequencyWindow, 1) +
      (oneShot ? "" : ", duty cycle within \u00b1" + FixedText(b.dutyWindow * 100, 1) + " points") +
      ".\n";
  return text;
}

std::string PartsAnswerText(const PartsQuestion& q, const PartsAnswer& answer) {
  const DesignKind kind = q.target.kind;
  const BenchSpec& b = q.bench;
  std::string text = "Parts for " + std::string(TraitsOf(kind).title) + ": " +
                     TargetText(q.target) + " at " + ConditionsText(b.conditions) + "\n";
  text += std::string(SeriesName(q.resistors)) + " resistors, " +
          CapacitorSeriesName(q.capacitors) + " capacitors, best first by the built circuit's " +
          "predicted timing at " + FixedText(b.conditions.vcc, 1) + " V and 25 \u00b0C" +
          (HasBand(b.conditions.family) ? ", at the worse end of its band" : "") + ":\n";
  for (const Warning& w : answer.supply)
    if (!IsLimit(w.code)) text += "  " + WarningText(w) + "\n";
  if (!answer.reachable) text += "  Cannot be met. " + answer.why + " " + answer.instead + "\n";
  if (answer.choices.empty()) {
    text += "  none within 100 % of the target.\n";
  } else if (!answer.clean) {
    text += "  No choice keeps every limit; the least bad, with what they break:\n";
  } else if (!answer.reachable) {
    text += "  The nearest, off target:\n";
  }
  for (const PartsChoice& c : answer.choices) {
    text += "  " + PartsChoiceText(kind, b.conditions.family, c) + "\n";
    for (const Warning& w : c.warnings)
      text += "      " + WarningText(w) + "\n";
  }
  if (!answer.choices.empty()) {
    const PartsChoice& first = answer.choices.front();
    if (const auto delay = DelayUncertainty(WithChoice(q.target, first), b.conditions))
      text += "  " + WarningText(*delay) + "\n";
  }
  if (answer.exact.found) {
    text += "\nExact parts (trimmers or E192): " + ExactPartsText(kind, answer.exact) + "\n";
  }
  return text + "\n" + YieldAssumptionsText(kind, b);
}

std::string PartsListText(DesignKind kind, const PartsChoice& c, const ToleranceSpec& t) {
  const std::string resistor = " \u00b1" + Percent(t.resistor, 1) + " resistor\n";
  std::string text = "R1\t" + Ohms(c.r1) + resistor;
  if (c.r2 && TraitsOf(kind).hasR2) text += "R2\t" + Ohms(*c.r2) + resistor;
  text += "C1\t" + Farads(c.c1) + " " + TechnologyText(c.capacitor) + " capacitor\n";
  return text;
}

DesignSnapshot WithChoice(const DesignSnapshot& target, const PartsChoice& c) {
  return WithParts(target, c.c1, c.r1, c.r2, c.capacitor);
}

namespace {

// Where the histogram's figures go across the plot.
struct HistogramAxis {
  double lo, hi;
  int left, right, top, bottom;
  int X(double v) const {
    return left + static_cast<int>(std::floor((right - left) * (v - lo) / (hi - lo)));
  }
};

// The boards in `bins` bars over the axis, tallest to the plot's top.
void DrawBars(Canvas& c, const HistogramAxis& a, const std::vector<double>& boards, int bins) {
  std::vector<int> counts(static_cast<size_t>(bins), 0);
  for (double v : boards) {
    if (!(v >= a.lo && v <= a.hi)) continue;
    const int k = std::min(bins - 1, static_cast<int>((v - a.lo) / (a.hi - a.lo) * bins));
    ++counts[static_cast<size_t>(k)];
  }
  const int most = std::max(1, *std::max_element(counts.begin(), counts.end()));
  c.SetBrushColor({0, 0, 160});
  for (int k = 0; k < bins; ++k) {
    const int height = static_cast<int>(std::lround(
        static_cast<double>(counts[static_cast<size_t>(k)]) / most * (a.bottom - a.top)));
    if (height == 0) continue;
    const int x0 = a.left + (a.right - a.left) * k / bins;
    const int x1 = a.left + (a.right - a.left) * (k + 1) / bins;
    c.FillRect({x0, a.bottom - height, std::max(x0 + 1, x1 - 1), a.bottom});
  }
}

}  // namespace

void DrawHistogram(Canvas& c, const PartsQuestion& q, const PartsChoice& choice, double scale) {
  const auto u = [scale](double v) { return static_cast<int>(std::lround(v * scale)); };
  const int w = c.Width(), h = c.Height();
  c.SetPenWidth(std::max(1, u(1)));
  c.SetBrushColor(kWhite);
  c.FillRect({0, 0, w, h});
  c.SetFontName("DejaVu Sans");
  c.SetFontHeight(-u(12));
  c.SetFontBold(false);
  c.SetFontUnderline(false);
  c.SetFontColor(kBlack);
  const bool oneShot = TraitsOf(q.target.kind).oneShot;
  const double goal = oneShot ? q.target.pulseLength : q.target.frequency;
  const double window = q.bench.frequencyWindow;
  // The axis spans the window twice over, or the boards where they spread wider.
  HistogramAxis a{
      goal * (1 - 2 * window), goal * (1 + 2 * window), u(48), w - u(24), u(40), h - u(40)};
  const Band& band = oneShot ? choice.spread.tHigh : choice.spread.frequency;
  if (std::isfinite(band.min) && band.min > 0) a.lo = std::min(a.lo, band.min);
  if (std::isfinite(band.max)) a.hi = std::max(a.hi, band.max);
  // The window a board must meet, shaded behind the bars.
  c.SetBrushColor({224, 240, 224});
  c.FillRect({a.X(goal * (1 - window)), a.top, a.X(goal * (1 + window)) + 1, a.bottom});
  DrawBars(c, a, choice.spread.boards, std::max(10, (a.right - a.left) / std::max(1, u(6))));
  c.SetBrushColor(kWhite);  // behind the labels
  c.SetPenColor(kBlack);
  c.MoveTo(a.left, a.bottom);
  c.LineTo(a.right + 1, a.bottom);
  const auto label = [&](double v) {
    return oneShot ? TimeText(v, 4, kLatin1Micro) : EngineeringText(v, "Hz", kLatin1Micro);
  };
  // The target's label always; the window's ends where they leave it room
  // (boards spread far beyond a narrow window squeeze the three together).
  const int goalLeft = a.X(goal) - c.TextWidth(label(goal)) / 2;
  const int goalRight = goalLeft + c.TextWidth(label(goal));
  for (double v : {goal * (1 - window), goal, goal * (1 + window)}) {
    const int px = a.X(v);
    c.MoveTo(px, a.bottom);
    c.LineTo(px, a.bottom + u(4));
    const std::string text = label(v);
    const int x = px - c.TextWidth(text) / 2;
    if (v != goal && x < goalRight + u(4) && x + c.TextWidth(text) + u(4) > goalLeft) continue;
    c.TextOut(x, a.bottom + u(6), text);
  }
  c.SetPenColor({0, 128, 0});
  c.MoveTo(a.X(goal), a.top);
  c.LineTo(a.X(goal), a.bottom);
  const std::string title = std::string(oneShot ? "Pulse" : "Frequency") + " of " +
                            std::to_string(choice.spread.boards.size()) + " boards, yield " +
                            FixedText(choice.spread.yield * 100, 1) + " % inside \xb1" +
                            FixedText(window * 100, 1) + " %";
  c.TextOut(a.left, u(8), title);
}

}  // namespace timer555
