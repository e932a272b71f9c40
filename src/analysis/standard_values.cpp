#include "analysis/standard_values.h"

#include "analysis/parts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace timer555 {

namespace {

// The mantissas of one decade. E6, E12 and E24 are the historical lists
// (3.3, 4.7 and 8.2 do not follow the formula); E48 and E96 are
// 10^(i/n) to three digits.
std::vector<double> Mantissas(Series series) {
  static const std::array<double, 24> e24 = {1.0, 1.1, 1.2, 1.3, 1.5, 1.6, 1.8, 2.0,
                                             2.2, 2.4, 2.7, 3.0, 3.3, 3.6, 3.9, 4.3,
                                             4.7, 5.1, 5.6, 6.2, 6.8, 7.5, 8.2, 9.1};
  switch (series) {
    case Series::E6:
    case Series::E12:
    case Series::E24: {
      const size_t step = series == Series::E6 ? 4 : series == Series::E12 ? 2 : 1;
      std::vector<double> m;
      m.reserve(e24.size() / step);
      for (size_t i = 0; i < e24.size(); i += step)
        m.push_back(e24[i]);
      return m;
    }
    default: {
      const int n = series == Series::E48 ? 48 : 96;
      std::vector<double> m;
      m.reserve(static_cast<size_t>(n));
      for (int i = 0; i < n; ++i)
        m.push_back(std::round(std::pow(10.0, static_cast<double>(i) / n) * 100) / 100);
      return m;
    }
  }
}

std::vector<double> BuildValues(Series series) {
  std::vector<double> values;
  const std::vector<double> mantissas = Mantissas(series);
  // To 100 MΩ: past every family's largest timing resistance (20 MΩ at
  // 15 V, 24 MΩ at 18 V), which the limits then apply.
  values.reserve(mantissas.size() * 8 + 1);
  double decade = 1;
  for (int d = 0; d < 8; ++d, decade *= 10)
    for (double m : mantissas)
      values.push_back(std::round(m * decade * 100) / 100);
  values.push_back(1e8);
  return values;
}

}  // namespace

std::optional<Series> SeriesNamed(const std::string& name) {
  for (Series s : {Series::E6, Series::E12, Series::E24, Series::E48, Series::E96})
    if (name == SeriesName(s)) return s;
  return std::nullopt;
}

const char* SeriesName(Series series) noexcept {
  switch (series) {
    case Series::E6:
      return "E6";
    case Series::E12:
      return "E12";
    case Series::E24:
      return "E24";
    case Series::E48:
      return "E48";
    default:
      return "E96";
  }
}

const std::vector<double>& SeriesValues(Series series) {
  static const std::array<std::vector<double>, 5> all = {
      BuildValues(Series::E6), BuildValues(Series::E12), BuildValues(Series::E24),
      BuildValues(Series::E48), BuildValues(Series::E96)};
  return all[static_cast<size_t>(series)];
}

std::vector<StandardChoice> StandardChoices(const DesignSnapshot& design,
                                            const Conditions& conditions, Series series,
                                            int count) {
  if (design.c1 <= 0) return {};
  // C1 is the design's: whatever kind comes in its value.
  std::vector<CapacitorType> kinds;
  for (const CapacitorTechnology& t : CapacitorTechnologies())
    kinds.push_back(t.type);
  const std::vector<Candidate> found =
      SearchParts(design, conditions, {design.c1}, kinds, SeriesValues(series), count);
  const BenchSpec window;
  std::vector<StandardChoice> choices;
  for (const Candidate& c : found) {
    StandardChoice choice;
    choice.r1 = c.r1;
    choice.r2 = c.r2;
    const Timing& t = c.timing.typical;
    choice.predicted = t;
    choice.error = c.error;
    choice.worst = c.worst;
    choice.onTarget = InsideWindow(t, design, window);
    choice.broken = c.broken;
    if (c.broken > 0)
      choice.warnings = LimitWarnings(WithParts(design, design.c1, c.r1, c.r2), conditions);
    choices.push_back(choice);
  }
  // In the one order of offered parts, which knows the window.
  const auto standing = [&design](const StandardChoice& c) {
    return Standing{c.broken, !c.onTarget, c.worst, c.r1 + c.r2.value_or(0), c.r1, design.c1};
  };
  std::stable_sort(choices.begin(), choices.end(),
                   [&](const StandardChoice& a, const StandardChoice& b) {
                     return Outranks(standing(a), standing(b));
                   });
  return choices;
}

}  // namespace timer555
