#include "analysis/standard_values.h"

#include "analysis/parts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace timer555 {
namespace {

TEST(SeriesValues, DecadesFromOneOhmToAHundredMegohm) {
  const struct {
    Series series;
    size_t count;
    double some;
  } rows[] = {{Series::E6, 6 * 8 + 1, 4.7e3},
              {Series::E12, 12 * 8 + 1, 8.2e3},
              {Series::E24, 24 * 8 + 1, 2.2e7},
              {Series::E48, 48 * 8 + 1, 1.05e3},
              {Series::E96, 96 * 8 + 1, 1.02e3}};
  for (const auto& r : rows) {
    const auto& v = SeriesValues(r.series);
    EXPECT_EQ(v.size(), r.count) << SeriesName(r.series);
    EXPECT_EQ(v.front(), 1);
    EXPECT_EQ(v.back(), 1e8);
    EXPECT_TRUE(std::is_sorted(v.begin(), v.end()));
    EXPECT_NE(std::find(v.begin(), v.end(), r.some), v.end()) << SeriesName(r.series);
    EXPECT_EQ(SeriesNamed(SeriesName(r.series)), r.series);
  }
  EXPECT_FALSE(SeriesNamed("E7"));
}

// Written apart from the search: every pair (or every R1), scored by the
// built circuit's half-period error, the largest of the typical chip's and
// the model's fast and slow ends, those that break a limit left out, sorted
// by score, total and R1.
std::vector<std::tuple<double, double, double>> Exhaustive(const DesignSnapshot& d,
                                                           const Conditions& c, Series series) {
  const int mode = DesignNumber(d.kind);
  struct Row {
    double score;
    double r1, r2;
    bool inside;  // ±5 % of frequency (pulse), ±2 points of duty
  };
  std::vector<Row> rows;
  const auto& values = SeriesValues(series);
  const std::vector<double> seconds =
      mode == 1 || mode == 3 ? values : std::vector<double>{mode == 2 ? 4700.0 : 0.0};
  const double wantHigh = mode == 4   ? d.pulseLength
                          : mode == 2 ? 0.5 / d.frequency
                                      : d.dutyCycle / d.frequency;
  const double wantLow = mode == 2 ? 0.5 / d.frequency : (1 - d.dutyCycle) / d.frequency;
  for (double r1 : values) {
    for (double r2 : seconds) {
      DesignSnapshot s = d;
      s.r1 = r1;
      s.r2 = r2;
      s.capacitor = ChooseCapacitor(s, c, TimingCapacitorTypes());
      const Timing typical = PredictTiming(s, c);
      const bool inside =
          mode == 4
              ? std::fabs(typical.tHigh / d.pulseLength - 1) <= 0.05
              : std::fabs(typical.frequency.value_or(0) / d.frequency - 1) <= 0.05 &&
                    std::fabs(typical.dutyCycle.value_or(0) - (mode == 2 ? 0.5 : d.dutyCycle)) <=
                        0.02;
      double score = 0;
      for (Corner corner : {Corner::Typical, Corner::Fast, Corner::Slow}) {
        const Timing t = PredictTiming(s, c, corner);
        score = std::max(score, std::fabs(t.tHigh / wantHigh - 1));
        if (mode != 4) score = std::max(score, std::fabs(t.tLow.value_or(INFINITY) / wantLow - 1));
        if (!Switches(t)) score = INFINITY;
      }
      if (BrokenLimits(s, c, PredictTiming(s, c)) > 0 || !(score <= 1)) continue;
      rows.push_back({score, r1, r2, inside});
    }
  }
  std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
    if (a.score != b.score) return a.score < b.score;
    if (a.r1 + a.r2 != b.r1 + b.r2) return a.r1 + a.r2 > b.r1 + b.r2;
    return a.r1 > b.r1;
  });
  // The best five, those inside the window first.
  if (rows.size() > 5) rows.resize(5);
  std::stable_partition(rows.begin(), rows.end(), [](const Row& r) { return r.inside; });
  std::vector<std::tuple<double, double, double>> best;
  for (size_t i = 0; i < rows.size(); ++i)
    best.emplace_back(rows[i].r1, rows[i].r2, rows[i].score);
  return best;
}

TEST(StandardChoices, AgreeWithAnExhaustiveSearch) {
  const double ln2 = std::log(2.0);
  const struct {
    int mode;
    double frequency, duty, pulse, c1;
  } designs[] = {{1, 1000, 0.75, 0, 1e-7}, {3, 1000, 0.25, 0, 1e-7}, {1, 4321, 0.6, 0, 1e-8},
                 {3, 50, 0.02, 0, 1e-6},   {2, 1000, 0.5, 0, 1e-8},  {4, 0, 0, 1, 1e-4},
                 {1, 0.01, 0.6, 0, 1e-6},  {3, 2e6, 0.5, 0, 1e-10},  {1, 4888, 0.51, 0, 1e-8},
                 {1, 1000, 0.95, 0, 1e-7}, {3, 4888, 0.05, 0, 1e-8}};
  for (TimerFamily family : {TimerFamily::Bipolar, TimerFamily::Cmos}) {
    Conditions c;
    c.family = family;
    for (const auto& d : designs) {
      DesignSnapshot s;
      s.kind = static_cast<DesignKind>(d.mode);
      s.c1 = d.c1;
      s.frequency = d.frequency;
      s.dutyCycle = d.duty;
      s.pulseLength = d.pulse;
      s.r2 = d.mode == 2 ? 4700 : 1 / (ln2 * std::max(d.frequency, 1.0) * d.c1);
      for (Series series : {Series::E6, Series::E12, Series::E24}) {
        const auto expected = Exhaustive(s, c, series);
        const auto found = StandardChoices(s, c, series);
        if (expected.empty()) continue;  // nothing clean: the least bad are offered
        ASSERT_EQ(found.size(), expected.size())
            << d.mode << " " << d.frequency << " " << SeriesName(series) << " "
            << Parameters(family).name;
        for (size_t i = 0; i < found.size(); ++i) {
          EXPECT_EQ(found[i].r1, std::get<0>(expected[i])) << d.mode << SeriesName(series) << i;
          if (d.mode == 1 || d.mode == 3) {
            EXPECT_EQ(*found[i].r2, std::get<1>(expected[i]));
          }
          EXPECT_NEAR(found[i].worst, std::get<2>(expected[i]), 1e-12);
          EXPECT_EQ(found[i].broken, 0);
        }
      }
    }
  }
}

// Design 1 with C1 given and its targets, the parts left to the search.
DesignSnapshot AboveHalf(double c1, double frequency, double duty) {
  DesignSnapshot s;
  s.kind = DesignKind::AstableAbove;
  s.c1 = c1;
  s.frequency = frequency;
  s.dutyCycle = duty;
  return s;
}

// Parts that break a limit are never offered while any choice keeps them
// all: no 1 ohm beside a 10 nF capacitor at 4.9 kHz.
TEST(StandardChoices, NoChoiceBreaksALimit) {
  DesignSnapshot s = AboveHalf(1e-8, 4888, 0.51);
  for (Series series : {Series::E6, Series::E24, Series::E96}) {
    for (const StandardChoice& c : StandardChoices(s, {}, series)) {
      EXPECT_GE(c.r1, 9 / 15e-3) << SeriesName(series);
      EXPECT_EQ(c.broken, 0);
    }
  }
}

TEST(StandardChoices, FiguresAreTheBuiltCircuits) {
  DesignSnapshot s = AboveHalf(1e-7, 1000, 0.75);
  const auto choices = StandardChoices(s, {}, Series::E12);
  ASSERT_EQ(choices.size(), 5u);
  const StandardChoice& c = choices.front();
  DesignSnapshot built = s;
  built.r1 = c.r1;
  built.r2 = *c.r2;
  const Timing t = PredictTiming(built, {});
  EXPECT_DOUBLE_EQ(*c.predicted.frequency, *t.frequency);
  EXPECT_DOUBLE_EQ(*c.predicted.dutyCycle, *t.dutyCycle);
  for (size_t i = 1; i < choices.size(); ++i) {
    if (choices[i - 1].onTarget == choices[i].onTarget) {
      EXPECT_LE(choices[i - 1].worst, choices[i].worst);
    }
  }
}

// A design whose C1 no standard resistors can bring near its target: the
// choices say they are off target rather than pass as answers.
TEST(StandardChoices, OffTargetChoicesSaySo) {
  DesignSnapshot s = AboveHalf(1e-6, 1, 0.9);
  Conditions c;
  c.vcc = 12;
  const auto choices = StandardChoices(s, c, Series::E24);
  ASSERT_FALSE(choices.empty());
  EXPECT_TRUE(choices.front().onTarget);
  EXPECT_LT(choices.front().worst, 0.05);
  s.c1 = 1e-4;  // 100 µF: the resistors a leaky electrolytic allows are far too small
  for (const StandardChoice& ch : StandardChoices(s, c, Series::E24))
    EXPECT_TRUE(!ch.onTarget || ch.broken == 0) << ch.r1;
}

}  // namespace
}  // namespace timer555
