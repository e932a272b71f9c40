#include "analysis/standard_values.h"

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
  values.reserve(mantissas.size() * 7 + 1);
  double decade = 1;
  for (int d = 0; d < 7; ++d, decade *= 10)
    for (double m : mantissas)
      values.push_back(std::round(m * decade * 100) / 100);
  values.push_back(1e7);
  return values;
}

// The ideal timing of the design with these resistors, as the window's
// recalculation gives it, and the errors against the targets.
StandardChoice Evaluate(const DesignSnapshot& design, double r1, std::optional<double> r2) {
  DesignSnapshot d = design;
  d.r1 = r1;
  d.r2 = r2.value_or(design.r2);
  StandardChoice c;
  c.r1 = r1;
  c.r2 = r2;
  c.ideal = IdealTiming(d);
  if (TraitsOf(design.kind).oneShot) {
    c.frequencyError = std::fabs(c.ideal.tHigh / design.pulseLength - 1);
  } else {
    c.frequencyError = std::fabs(*c.ideal.frequency / design.frequency - 1);
    c.dutyError = std::fabs(*c.ideal.dutyCycle - design.dutyCycle);
  }
  return c;
}

bool Better(const StandardChoice& a, const StandardChoice& b) {
  if (a.Score() != b.Score()) return a.Score() < b.Score();
  if (a.warnings != b.warnings) return a.warnings < b.warnings;
  const double sa = a.r1 + a.r2.value_or(0), sb = b.r1 + b.r2.value_or(0);
  if (sa != sb) return sa > sb;
  return a.r1 > b.r1;
}

}  // namespace

double StandardChoice::Score() const noexcept {
  return std::max(frequencyError, dutyError);
}

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
  const std::vector<double>& values = SeriesValues(series);
  std::vector<StandardChoice> best;  // kept sorted, at most `count`
  const auto offer = [&](StandardChoice c) {
    if (static_cast<int>(best.size()) == count && !(c.Score() <= best.back().Score())) return;
    DesignSnapshot d = design;
    d.r1 = c.r1;
    d.r2 = c.r2.value_or(design.r2);
    c.warnings = PartLimitCount(d, conditions);
    best.insert(std::upper_bound(best.begin(), best.end(), c, Better), c);
    if (static_cast<int>(best.size()) > count) best.pop_back();
  };
  const auto threshold = [&] {
    return static_cast<int>(best.size()) < count ? std::numeric_limits<double>::infinity()
                                                 : best.back().Score();
  };
  if (count <= 0 || design.c1 <= 0) return best;
  const DesignTraits& traits = TraitsOf(design.kind);
  if (!traits.resistorPair) {
    const std::optional<double> r2 =
        traits.pullUp > 0 ? std::optional<double>(traits.pullUp) : std::nullopt;
    for (double r1 : values)
      offer(Evaluate(design, r1, r2));
    return best;
  }
  // For each R2 the frequency error alone bounds the score: only the R1 whose
  // period lies within the bar of the target can enter, and with the period
  // linear in R1 they form one run of the series. A first pass at the exact
  // R1 for each R2 sets the bar (an upper bound of the fifth-best score); the
  // second walks every R1 that can still meet it: exhaustive, and quick.
  const double k = std::log(2.0) * design.c1;
  const double period = 1 / design.frequency;
  const auto otherOf = [&](double r2) {
    return design.kind == DesignKind::AstableAbove ? 2 * r2 : r2;
  };
  for (double r2 : values) {
    const double exact = period / k - otherOf(r2);
    auto it = std::lower_bound(values.begin(), values.end(), exact);
    if (it != values.end()) offer(Evaluate(design, *it, r2));
    if (it != values.begin()) offer(Evaluate(design, *(it - 1), r2));
  }
  const double firstBar = threshold();
  best.clear();
  for (double r2 : values) {
    const double bar = std::min(firstBar, threshold()) * (1 + 1e-9) + 1e-15;
    // |f / f0 − 1| ≤ bar  ⇔  period / (1 + bar) ≤ k (R1 + other) ≤ period / (1 − bar).
    const double lowR1 = period / (1 + bar) / k - otherOf(r2);
    const double highR1 =
        bar < 1 ? period / (1 - bar) / k - otherOf(r2) : std::numeric_limits<double>::infinity();
    const auto from = std::lower_bound(values.begin(), values.end(), lowR1);
    const auto to = std::upper_bound(values.begin(), values.end(), highR1);
    for (auto it = from; it < to; ++it)
      offer(Evaluate(design, *it, r2));
  }
  return best;
}

}  // namespace timer555
