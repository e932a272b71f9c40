#include "simulation/wave_picture.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace timer555 {

namespace {

constexpr Color kOutputColor{0, 0, 192};
constexpr Color kCapacitorColor{192, 0, 0};
constexpr Color kGrey{128, 128, 128};
constexpr const char* kFace = "DejaVu Sans";

std::string Trimmed(double v, int significant) {
  char buf[64];
  const int whole = v >= 1 ? static_cast<int>(std::floor(std::log10(v))) + 1 : 1;
  const int decimals = std::max(0, significant - whole);
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  std::string s(buf, r.ptr);
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0')
      s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  return s;
}

// A round step for about `ticks` divisions of `span`: 1, 2 or 5 times a power of ten.
double NiceStep(double span, int ticks) {
  const double raw = span / ticks;
  const double decade = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * decade >= raw) return m * decade;
  return 10 * decade;
}

}  // namespace

std::string TimeText(double seconds, int significant, const char* micro) {
  if (!std::isfinite(seconds)) return "-";
  const double a = std::fabs(seconds);
  if (a == 0) return "0 s";
  if (a >= 1) return Trimmed(seconds, significant) + " s";
  if (a >= 1e-3) return Trimmed(seconds * 1e3, significant) + " ms";
  if (a >= 1e-6) return Trimmed(seconds * 1e6, significant) + " " + micro + "s";
  return Trimmed(seconds * 1e9, significant) + " ns";
}

namespace {

// The plot's frame: its edges in pixels, the time it spans and the supply,
// with the mappings from time and voltage to pixels. Every length is given at
// scale 1 and drawn at the canvas's scale, so a doubled screen gets twice the
// pixels, not an enlarged picture.
struct Plot {
  Canvas& c;
  double scale;
  int left = 0, right = 0, top = 0, bottom = 0;
  double end = 0, vcc = 0;

  int u(double v) const { return static_cast<int>(std::lround(v * scale)); }
  int x(double time) const {
    return left + static_cast<int>(std::floor((right - left) * std::clamp(time / end, 0.0, 1.0)));
  }
  int y(double v) const {
    return bottom - static_cast<int>(std::floor((bottom - top) * std::clamp(v / vcc, -0.05, 1.05)));
  }
};

// Axes, the time grid and its labels, the supply's ticks.
void DrawAxes(const Plot& p) {
  Canvas& c = p.c;
  c.SetPenColor(kBlack);
  c.MoveTo(p.left, p.top);
  c.LineTo(p.left, p.bottom);
  c.LineTo(p.right + 1, p.bottom);
  const double step = NiceStep(p.end, 6);
  for (double tick = 0; tick <= p.end * 1.0001; tick += step) {
    const int px = p.x(tick);
    c.MoveTo(px, p.bottom);
    c.LineTo(px, p.bottom + p.u(4));
    const std::string label = TimeText(tick, 3, kLatin1Micro);
    c.TextOut(px - c.TextWidth(label) / 2, p.bottom + p.u(6), label);
  }
  for (const auto& [v, name] : {std::pair<double, const char*>{0, "0 V"}, {p.vcc, "Vcc"}}) {
    c.MoveTo(p.left - p.u(4), p.y(v));
    c.LineTo(p.left, p.y(v));
    c.TextOut(p.left - p.u(8) - c.TextWidth(name), p.y(v) - c.TextHeight(name) / 2, name);
  }
}

// The comparator levels, dotted, named in the right margin; the one-shot's
// trigger, where it pulls pin 2 low, dotted down the plot.
void DrawLevels(const Plot& p, const DesignSnapshot& design, const SimulationResult& result) {
  Canvas& c = p.c;
  c.SetFontColor(kGrey);
  for (const double level : {p.vcc / 3, 2 * p.vcc / 3}) {
    const int py = p.y(level);
    for (int px = p.left + 1; px < p.right; px += 2 * std::max(1, p.u(1)))
      c.SetPixel(px | 1, py, kGrey);
    const std::string name = level < p.vcc / 2 ? "1/3 Vcc" : "2/3 Vcc";
    c.TextOut(p.right + p.u(4), py - c.TextHeight(name) / 2, name);
  }
  if (TraitsOf(design.kind).oneShot && result.triggerAt > 0 && result.triggerAt < p.end) {
    const int px = p.x(result.triggerAt);
    for (int py = p.top; py < p.bottom; py += 2 * std::max(1, p.u(1)))
      c.SetPixel(px, py, kGrey);
    c.TextOut(px - p.u(4) - c.TextWidth("trigger"), p.bottom - p.u(4) - c.TextHeight("trigger"),
              "trigger");
  }
}

// The traces, one point per pixel column change, and their legend.
void DrawTraces(const Plot& p, const SimulationResult& result) {
  Canvas& c = p.c;
  const auto trace = [&](double WavePoint::*member, Color color) {
    c.SetPenColor(color);
    bool first = true;
    int lastX = 0, lastY = 0;
    for (const WavePoint& point : result.wave) {
      if (point.t > p.end) break;
      const int px = p.x(point.t), py = p.y(point.*member);
      if (first) {
        c.MoveTo(px, py);
        first = false;
      } else if (px != lastX || py != lastY) {
        c.LineTo(px, py);
      }
      lastX = px;
      lastY = py;
    }
  };
  trace(&WavePoint::cap, kCapacitorColor);
  trace(&WavePoint::out, kOutputColor);
  c.SetFontColor(kOutputColor);
  c.TextOut(p.left + p.u(8), p.u(4), "output (pin 3)");
  c.SetFontColor(kCapacitorColor);
  c.TextOut(p.left + p.u(8) + c.TextWidth("output (pin 3)") + p.u(16), p.u(4), "C1");
  c.SetFontColor(kBlack);
  const std::string supply = "Vcc = " + Trimmed(p.vcc, 3) + " V, simulated by ngspice";
  c.TextOut(c.Width() - p.u(16) - c.TextWidth(supply), p.u(4), supply);
}

// The measured times, marked above the trace of one steady cycle. A label
// wider than its span stands outside it: the high time's to the left, the
// low time's to the right, so the two never meet.
void DrawTimes(const Plot& p, const DesignSnapshot& design, const SimulationResult& result) {
  Canvas& c = p.c;
  const Timing& t = result.simulated;
  c.SetPenColor(kBlack);
  enum class Side { Centre, Left, Right };
  const auto mark = [&](double from, double to, const std::string& label, Side outside) {
    const int a = p.x(from), b = p.x(to), py = p.y(p.vcc) - p.u(10);
    if (b < a) return;
    c.MoveTo(a, py - p.u(3));
    c.LineTo(a, py + p.u(4));
    c.MoveTo(b, py - p.u(3));
    c.LineTo(b, py + p.u(4));
    c.MoveTo(a, py);
    c.LineTo(b + 1, py);
    const int width = c.TextWidth(label), ty = py - p.u(2) - c.TextHeight(label);
    int tx = (a + b) / 2 - width / 2;
    if (width + p.u(4) > b - a) {
      if (outside == Side::Left && a - p.u(4) - width >= 0) tx = a - p.u(4) - width;
      if (outside == Side::Right || (outside == Side::Left && a - p.u(4) - width < 0))
        tx = std::min(b + p.u(4), c.Width() - width);
    }
    c.TextOut(tx, ty, label);
  };
  if (TraitsOf(design.kind).oneShot) {
    // The triggered pulse starts where the output rises after the trigger.
    double rise = result.triggerAt;
    for (const WavePoint& point : result.wave)
      if (point.t >= result.triggerAt && point.out > p.vcc / 2) {
        rise = point.t;
        break;
      }
    mark(rise, rise + t.tHigh, "tH = " + TimeText(t.tHigh, 3, kLatin1Micro), Side::Right);
  } else if (t.frequency && t.tLow) {
    const double periodStart = t.firstTHigh + *t.tLow;  // the second rise
    mark(periodStart, periodStart + t.tHigh, "tH = " + TimeText(t.tHigh, 3, kLatin1Micro),
         Side::Left);
    mark(periodStart + t.tHigh, periodStart + t.tHigh + *t.tLow,
         "tL = " + TimeText(*t.tLow, 3, kLatin1Micro), Side::Right);
  }
}

}  // namespace

void DrawSimulatedWave(Canvas& c, const DesignSnapshot& design, const Conditions& conditions,
                       const SimulationResult& result, double scale) {
  Plot p{c, scale};
  const int w = c.Width(), h = c.Height();
  c.SetPenWidth(std::max(1, p.u(1)));
  c.SetBrushColor(kWhite);
  c.FillRect({0, 0, w, h});
  c.SetFontName(kFace);
  c.SetFontHeight(-p.u(12));
  c.SetFontBold(false);
  c.SetFontUnderline(false);
  c.SetFontColor(kBlack);
  // The levels' names stand in a margin of their own, right of the traces.
  p.left = p.u(48);
  p.right = w - p.u(16) - c.TextWidth("2/3 Vcc");
  p.top = p.u(48);
  p.bottom = h - p.u(40);
  if (result.error || result.wave.empty()) {
    c.TextOut(p.left, p.top, result.error.value_or("no simulated waveform"));
    return;
  }
  const Timing& t = result.simulated;
  // The first cycles: power-up and two steady periods, or the trigger and the pulse.
  p.end = result.wave.back().t;
  if (t.frequency) p.end = std::min(p.end, t.firstTHigh + 2.5 / *t.frequency);
  if (!(p.end > 0)) p.end = result.wave.back().t;
  p.vcc = conditions.vcc;
  DrawAxes(p);
  DrawLevels(p, design, result);
  DrawTraces(p, result);
  DrawTimes(p, design, result);
}

}  // namespace timer555
