#include "report/figures.h"

#include <algorithm>
#include <cmath>

#include "format/engineering.h"

namespace timer555 {

namespace {

std::optional<double> Frequency(const Timing& t) {
  return t.frequency;
}
std::optional<double> DutyCycle(const Timing& t) {
  return t.dutyCycle;
}
std::optional<double> HighTime(const Timing& t) {
  return t.tHigh;
}
std::optional<double> LowTime(const Timing& t) {
  return t.tLow;
}
std::optional<double> FirstHighTime(const Timing& t) {
  return t.firstTHigh;
}

// `text` and blanks to `width` characters (UTF-8 counted as characters), at
// least one blank after it.
std::string Padded(const std::string& text, size_t width) {
  const size_t shown = static_cast<size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
  return text + std::string(shown < width ? width - shown : 1, ' ');
}

constexpr size_t kCellWidth = 16;

}  // namespace

const std::vector<TimingRow>& AllTimingRows() {
  using K = TimingRow::Kind;
  static const std::vector<TimingRow> rows = {
      {"Frequency", "frequency_hz", K::Frequency, Frequency},
      {"Duty cycle", "duty_cycle_fraction", K::DutyCycle, DutyCycle},
      {"High time", "t_high_s", K::Time, HighTime},
      {"Low time", "t_low_s", K::Time, LowTime},
      {"First high time", "first_t_high_s", K::Time, FirstHighTime},
  };
  return rows;
}

const std::vector<TimingRow>& TimingRows(DesignKind kind) {
  static const std::vector<TimingRow> pulse = {
      {"Pulse", "t_high_s", TimingRow::Kind::Time, HighTime}};
  return TraitsOf(kind).oneShot ? pulse : AllTimingRows();
}

std::string FigureText(TimingRow::Kind kind, const std::optional<double>& value) {
  if (!value || std::isnan(*value)) return "-";
  switch (kind) {
    case TimingRow::Kind::Frequency:
      return EngineeringText(*value, "Hz");
    case TimingRow::Kind::DutyCycle:
      return std::isfinite(*value) ? FixedText(*value * 100, 1) + " %" : "-";
    case TimingRow::Kind::Time:
      break;
  }
  return EngineeringText(*value, "s");
}

std::string DeviationText(double value, double reference) {
  if (reference == 0 || value == 0 || !std::isfinite(value) || !std::isfinite(reference)) return "";
  return (value >= reference ? "+" : "") + FixedText((value / reference - 1) * 100, 1) + " %";
}

std::string TimingTable(DesignKind kind,
                        const std::vector<std::pair<TimingColumn, Timing>>& columns,
                        bool deviation) {
  std::string text = std::string(kCellWidth, ' ');
  for (size_t i = 0; i < columns.size(); ++i) {
    const std::string heading = columns[i].first.heading;
    text += i + 1 < columns.size() ? Padded(heading, kCellWidth) : heading;
  }
  text += "\n";
  for (const TimingRow& row : TimingRows(kind)) {
    text += Padded(row.label, kCellWidth);
    for (size_t i = 0; i < columns.size(); ++i) {
      const std::string cell = FigureText(row.kind, row.value(columns[i].second));
      text += i + 1 < columns.size() ? Padded(cell, kCellWidth) : cell;
    }
    if (deviation && row.kind != TimingRow::Kind::DutyCycle && columns.size() >= 2) {
      const auto last = row.value(columns.back().second), first = row.value(columns[0].second);
      const std::string off = last && first ? DeviationText(*last, *first) : "";
      if (!off.empty()) text += "  (" + off + ")";
    }
    text += "\n";
  }
  return text;
}

std::string PartsText(const DesignSnapshot& d) {
  std::string text = "R1 " + EngineeringText(d.r1, "\u03a9");
  if (TraitsOf(d.kind).hasR2) text += ", R2 " + EngineeringText(d.r2, "\u03a9");
  return text + ", C1 " + EngineeringText(d.c1, "F");
}

std::string ConditionsText(const Conditions& c) {
  return FixedText(c.vcc, 1) + " V, " + Parameters(c.family).name + " timer";
}

std::string ToleranceText(const ToleranceSpec& t) {
  return "R \u00b1" + FixedText(t.resistor * 100, 1) + " %, C \u00b1" +
         FixedText(t.capacitor * 100, 1) + " %, " + FixedText(t.minCelsius, 0) + " to " +
         FixedText(t.maxCelsius, 0) + " \u00b0C";
}

std::string ChoiceText(DesignKind kind, const StandardChoice& c) {
  const DesignTraits& traits = TraitsOf(kind);
  std::string text = "R1 " + EngineeringText(c.r1, "\u03a9");
  if (traits.resistorPair && c.r2) text += ", R2 " + EngineeringText(*c.r2, "\u03a9");
  if (traits.oneShot) {
    text += ": " + FigureText(TimingRow::Kind::Time, c.predicted.tHigh);
  } else {
    text += ": " + FigureText(TimingRow::Kind::Frequency, c.predicted.frequency) + ", " +
            FigureText(TimingRow::Kind::DutyCycle, c.predicted.dutyCycle);
  }
  text += ", error " + FixedText(c.error * 100, 2) + " %";
  if (c.worst > c.error + 5e-5) text += " (" + FixedText(c.worst * 100, 2) + " % at worst)";
  return text + (c.onTarget ? "" : ", off target");
}

std::string BandText(DesignKind kind, TimerFamily family, const BandedTiming& t) {
  if (!BandMatters(t, kind, family)) return "";
  if (TraitsOf(kind).oneShot)
    return FigureText(TimingRow::Kind::Time, t.fast.tHigh) + " to " +
           FigureText(TimingRow::Kind::Time, t.slow.tHigh) + " with the bipolar timer's delays";
  return FigureText(TimingRow::Kind::Frequency, t.slow.frequency) + " to " +
         FigureText(TimingRow::Kind::Frequency, t.fast.frequency) +
         " with the bipolar timer's delays";
}

std::string WarningText(const Warning& w) {
  return CodeKey(w.code) + (": " + w.message);
}

}  // namespace timer555
