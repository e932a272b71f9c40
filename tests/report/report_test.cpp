#include <gtest/gtest.h>

#include <QJsonObject>

#include "report/figures.h"
#include "report/json.h"
#include "support/designs.h"

namespace timer555 {
namespace {

TEST(DesignKinds, NamesNumbersAndTraitsAgree) {
  for (DesignKind kind : kDesignKinds) {
    const DesignTraits& t = TraitsOf(kind);
    EXPECT_EQ(DesignKindNamed(t.name), kind);
    EXPECT_EQ(DesignKindNamed(std::to_string(DesignNumber(kind))), kind);
    EXPECT_EQ(DesignKindOf(DesignNumber(kind)), kind);
    // A design with a resistor pair draws its R2; the pull-up is drawn as R2.
    EXPECT_TRUE(t.hasR2 || !(t.resistorPair || t.pullUp > 0)) << t.name;
    EXPECT_FALSE(t.oneShot && t.hasR2) << t.name;
    EXPECT_NE(t.usesDischarge, t.pullUp > 0) << t.name;
  }
  EXPECT_FALSE(DesignKindNamed("5"));
  EXPECT_FALSE(DesignKindNamed("Monostable"));
  EXPECT_FALSE(DesignKindOf(0));
}

TEST(FigureText, EachKindOfFigure) {
  using K = TimingRow::Kind;
  const struct {
    K kind;
    std::optional<double> value;
    const char* text;
  } cases[] = {
      {K::Frequency, 772.123, "772.1 Hz"},
      {K::Frequency, 1000, "1.000 kHz"},
      {K::DutyCycle, 0.2546, "25.5 %"},
      {K::DutyCycle, std::nullopt, "-"},
      {K::Time, 250e-6, "250.0 \u00b5s"},
      {K::Time, std::nullopt, "-"},
      {K::Frequency, NAN, "-"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FigureText(c.kind, c.value), c.text) << c.text;
}

TEST(TimingTable, AstablesShowFiveFiguresAndTheOneShotItsPulse) {
  const DesignSnapshot astable = Astable(3, 1000, 0.25);
  const std::string table = TimingTable(
      astable.kind,
      {{kIdealColumn, IdealTiming(astable)}, {kPredictedColumn, PredictTiming(astable, At(5))}},
      true);
  EXPECT_EQ(table.substr(0, table.find('\n')), std::string(16, ' ') + "ideal           predicted");
  EXPECT_NE(table.find("Frequency       1.000 kHz       771.7 Hz  (-22.8 %)\n"), std::string::npos)
      << table;
  EXPECT_NE(table.find("Duty cycle      25.0 %          25.4 %\n"), std::string::npos) << table;
  EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 6);

  const DesignSnapshot pulse = OneShot(0.01, 1e-6);
  const Timing ideal = IdealTiming(pulse);
  const std::string oneShot = TimingTable(pulse.kind, {{kIdealColumn, ideal}}, false);
  EXPECT_EQ(oneShot, std::string(16, ' ') + "ideal\nPulse           10.00 ms\n");
}

TEST(ChoiceText, NamesTheResistorsTheUserChooses) {
  StandardChoice c;
  c.r1 = 3600;
  c.r2 = 11000;
  c.predicted = IdealTiming(Astable(3, 1000, 0.25));
  EXPECT_EQ(ChoiceText(DesignKind::AstableBelow, c),
            "R1 3.600 k\u03a9, R2 11.00 k\u03a9: 1.000 kHz, 25.0 %, error 0.00 %");
  // The error at the band's worse end where it is larger; off target said.
  c.error = 0.0123;
  c.worst = 0.0311;
  c.onTarget = false;
  EXPECT_EQ(ChoiceText(DesignKind::AstableBelow, c),
            "R1 3.600 k\u03a9, R2 11.00 k\u03a9: 1.000 kHz, 25.0 %, error 1.23 % (3.11 % at "
            "worst), off target");
  // The 50 % design's pull-up is fixed, not a choice.
  c.r2 = kSquareWaveR2;
  EXPECT_EQ(ChoiceText(DesignKind::AstableSquare, c).find("R2"), std::string::npos);
}

TEST(TimingJson, EveryDesignHasTheSameKeys) {
  const QJsonObject astable = TimingJson(IdealTiming(Astable(1, 1000, 0.75)));
  const QJsonObject pulse = TimingJson(IdealTiming(OneShot(1, 1e-4)));
  EXPECT_EQ(astable.keys(), pulse.keys());
  for (const TimingRow& row : AllTimingRows())
    EXPECT_TRUE(pulse.contains(row.key)) << row.key;
  EXPECT_TRUE(pulse["frequency_hz"].isNull());
  EXPECT_DOUBLE_EQ(pulse["t_high_s"].toDouble(), pulse["first_t_high_s"].toDouble());
  EXPECT_TRUE(PartsJson(OneShot(1, 1e-4))["r2_ohm"].isNull());
}

}  // namespace
}  // namespace timer555
