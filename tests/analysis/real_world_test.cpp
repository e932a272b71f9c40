#include "analysis/real_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "analysis/check.h"
#include "support/designs.h"

namespace timer555 {
namespace {

const double kLn2 = std::log(2.0);

std::vector<std::string> Codes(const std::vector<Warning>& warnings) {
  std::vector<std::string> codes;
  for (const Warning& w : warnings) {
    EXPECT_FALSE(w.message.empty()) << CodeKey(w.code);
    codes.push_back(CodeKey(w.code));
  }
  return codes;
}

bool Has(const std::vector<std::string>& codes, const std::string& code) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

TEST(IdealTiming, FollowsTheWindowsRelations) {
  const Timing t = IdealTiming(Astable(1, 1000, 0.75));
  EXPECT_NEAR(*t.frequency, 1000, 1e-9);
  EXPECT_NEAR(*t.dutyCycle, 0.75, 1e-12);
  EXPECT_NEAR(t.firstTHigh / t.tHigh, std::log(3.0) / kLn2, 1e-12);  // 1.585
  const Timing square = IdealTiming(Astable(2, 1000, 0.5, 1e-8));
  EXPECT_NEAR(*square.dutyCycle, 0.5, 1e-12);
  const Timing pulse = IdealTiming(OneShot(0.01, 1e-6));
  EXPECT_NEAR(pulse.tHigh, 0.01, 1e-15);
  EXPECT_FALSE(pulse.frequency);
  EXPECT_FALSE(pulse.tLow);
}

// Transient simulations of the program's own circuits with 1N4148-class
// diodes: design 3 at 1 kHz, 25 %.
TEST(PredictTiming, DiodeDesignSlowsAsSimulated) {
  const std::pair<double, double> simulated[] = {{5, 772}, {9, 864}, {12, 894}, {15, 913}};
  for (const auto& [vcc, hz] : simulated) {
    const Timing t = PredictTiming(Astable(3, 1000, 0.25), At(vcc));
    EXPECT_NEAR(*t.frequency / hz, 1, 0.01) << vcc;
    EXPECT_NEAR(*t.dutyCycle, 0.25, 0.006) << "the duty cycle holds at " << vcc;
    // Against the closed form with a fixed drop: t = R C ln((2 Vcc − 3 Vd) / (Vcc − 3 Vd)).
    for (const double vd : {0.55, 0.6}) {
      const double ln = std::log((2 * vcc - 3 * vd) / (vcc - 3 * vd));
      const double closed = 1 / (ln * (3606.7 + 10820.2) * 1e-7);
      EXPECT_NEAR(*t.frequency / closed, 1, vcc == 5 ? 0.06 : 0.025) << vcc << " V, Vd " << vd;
    }
  }
}

TEST(PredictTiming, SquareWaveChargesThroughThePullUp) {
  // Bipolar: the pull-up carries the charging current, tH = ln 2 (R1 + R2) C.
  const DesignSnapshot s = Astable(2, 1000, 0.5, 1e-8);
  const Timing bipolar = PredictTiming(s, At(9));
  const double tH = kLn2 * (s.r1 + s.r2) * s.c1, tL = kLn2 * s.r1 * s.c1;
  EXPECT_NEAR(*bipolar.frequency * (tH + tL), 1, 0.01);    // 968 Hz
  EXPECT_NEAR(*bipolar.dutyCycle, tH / (tH + tL), 0.003);  // 51.6 %
  EXPECT_NEAR(*bipolar.frequency, 966, 966 * 0.01);        // simulated
  // A rail-to-rail output keeps 50 %.
  const Timing cmos = PredictTiming(s, At(9, TimerFamily::Cmos));
  EXPECT_NEAR(*cmos.dutyCycle, 0.5, 0.005);
  EXPECT_NEAR(*cmos.frequency, 1002, 1002 * 0.015);
}

// The bipolar high output's drop follows the current it sources, as the
// datasheets' curve and transistor-level runs of their equivalent schematic
// show; a CMOS output has only its resistance.
TEST(OutputHighDrop, FollowsTheSourcedCurrent) {
  const FamilyParameters& bipolar = Parameters(TimerFamily::Bipolar);
  const struct {
    double amperes, low, high;
  } points[] = {{1e-4, 1.0, 1.15}, {1e-3, 1.28, 1.5}, {1e-2, 1.4, 1.6}, {1e-1, 1.65, 1.8}};
  for (const auto& p : points) {
    const double drop = OutputHighDrop(bipolar, p.amperes, kNominalCelsius);
    EXPECT_GE(drop, p.low) << p.amperes;
    EXPECT_LE(drop, p.high) << p.amperes;
  }
  EXPECT_EQ(OutputHighDrop(bipolar, 0, kNominalCelsius), 0);
  EXPECT_DOUBLE_EQ(OutputHighDrop(Parameters(TimerFamily::Cmos), 1e-3, kNominalCelsius), 0.06);
  // The 50 % design at 20 kHz and 5 V, where a constant 1.7 V predicted
  // 12.1 kHz against transistor-level runs of 14.4 to 15.1 kHz.
  const Timing fast = PredictTiming(Astable(2, 20000, 0.5, 1e-9), At(5));
  EXPECT_GT(*fast.frequency, 13000);
}

TEST(PredictTiming, PlainRcDesignsStayCloseToIdeal) {
  for (const double vcc : {5.0, 9.0, 12.0, 15.0}) {
    const Timing t = PredictTiming(Astable(1, 1000, 0.75), At(vcc));
    EXPECT_NEAR(*t.frequency / 1000, 1, 0.005) << vcc;
    EXPECT_NEAR(*t.dutyCycle, 0.75, 0.003) << vcc;
    // The first high time runs from 0 V: ln 3 / ln 2 = 1.585 times the steady one.
    EXPECT_NEAR(t.firstTHigh / t.tHigh, 1.585, 0.01 * 1.585) << vcc;
    const Timing pulse = PredictTiming(OneShot(0.01, 1e-6), At(vcc));
    EXPECT_NEAR(pulse.tHigh / 0.01, 1, 0.005) << vcc;  // simulated 9.989 ms
  }
}

TEST(PredictTiming, PropagationDelayShowsAtHighFrequencies) {
  // 10k / 10k / 330 pF: 145.7 kHz ideal; a 100 ns delay takes it below 140 kHz.
  DesignSnapshot s;
  s.kind = DesignKind::AstableAbove;
  s.r1 = s.r2 = 10000;
  s.c1 = 330e-12;
  const Timing t = PredictTiming(s, At(9));
  EXPECT_LT(*t.frequency, 140e3);
  EXPECT_GT(*t.frequency, 130e3);
}

TEST(PredictTiming, ThresholdCurrentStopsAHugeResistance) {
  const DesignSnapshot s = Astable(1, 0.01, 0.6, 1e-6);  // R1 + R2 = 86.6 MΩ
  const Timing bipolar = PredictTiming(s, At(9));
  EXPECT_FALSE(std::isfinite(bipolar.tHigh));
  EXPECT_TRUE(Has(Codes(CheckLimits(s, At(9))), "threshold-never-reached"));
  // A CMOS input draws picoamperes: the same circuit runs.
  const Timing cmos = PredictTiming(s, At(9, TimerFamily::Cmos));
  EXPECT_NEAR(*cmos.frequency / 0.01, 1, 0.01);
}

TEST(CheckLimits, WarnsWhereTheAdvicePageForbids) {
  // 0.01 Hz at 60 %: R1 + R2 = 86.6 MΩ, above Vcc / 7.5e-7 = 12 MΩ at 9 V.
  EXPECT_TRUE(Has(Codes(CheckLimits(Astable(1, 0.01, 0.6, 1e-6), At(9))), "resistance-too-high"));
  EXPECT_NEAR(MaxTimingResistance(TimerFamily::Bipolar, 9), 12e6, 1);
  EXPECT_NEAR(MaxTimingResistance(TimerFamily::Bipolar, 15), 20e6, 1);
  // Design 3 at 2 %: R1 = 288 Ω sinks 31 mA through pin 7.
  const auto low = CheckLimits(Astable(3, 1000, 0.02), At(9));
  EXPECT_TRUE(Has(Codes(low), "resistance-too-low"));
  // 1.5 MHz: C1 = 100 pF and above the bipolar timer's 0.5 MHz.
  const DesignSnapshot fast = Astable(1, 1.5e6, 0.6, 1e-10);
  const auto bipolar = Codes(CheckLimits(fast, At(9)));
  EXPECT_TRUE(Has(bipolar, "frequency-too-high"));
  EXPECT_TRUE(Has(bipolar, "capacitance-too-low"));
  const auto cmos = Codes(CheckLimits(fast, At(9, TimerFamily::Cmos)));
  EXPECT_FALSE(Has(cmos, "frequency-too-high"));
  EXPECT_TRUE(Has(cmos, "capacitance-too-low"));
  // A sound design draws none.
  EXPECT_TRUE(CheckLimits(Astable(1, 1000, 0.75, 1e-8), At(9)).empty());
}

TEST(CheckLimits, SupplyRangeByFamily) {
  const DesignSnapshot s = Astable(1, 1000, 0.75, 1e-8);
  const struct {
    double vcc;
    bool bipolar, cmos;
  } rows[] = {{1.5, true, true},
              {3, true, false},
              {4.5, false, false},
              {18, false, false},
              {20, true, true}};
  for (const auto& r : rows) {
    EXPECT_EQ(Has(Codes(CheckLimits(s, At(r.vcc))), "vcc-out-of-range"), r.bipolar) << r.vcc;
    EXPECT_EQ(Has(Codes(CheckLimits(s, At(r.vcc, TimerFamily::Cmos))), "vcc-out-of-range"), r.cmos)
        << r.vcc;
  }
}

TEST(CheckLimits, WhatTheModelShows) {
  EXPECT_TRUE(Has(Codes(CheckLimits(Astable(3, 1000, 0.25), At(5))), "diode-drop"));
  EXPECT_TRUE(Has(Codes(CheckLimits(Astable(2, 1000, 0.5, 1e-8), At(9))), "output-drop-duty"));
  EXPECT_FALSE(Has(Codes(CheckLimits(Astable(2, 1000, 0.5, 1e-8), At(9, TimerFamily::Cmos))),
                   "output-drop-duty"));
  // 99 %: R2 = 144 Ω beside the discharge transistor.
  EXPECT_TRUE(Has(Codes(CheckLimits(Astable(1, 1000, 0.99), At(9))), "discharge-resistance"));
}

std::string MessageOf(const std::vector<Warning>& warnings, const std::string& code) {
  for (const Warning& w : warnings)
    if (CodeKey(w.code) == code) return w.message;
  return "(no " + code + ")";
}

DesignSnapshot WithParts(DesignSnapshot s, double r1, double r2) {
  s.r1 = r1;
  s.r2 = r2;
  return s;
}

// Each warning at its edge: just inside the limit it is silent, just past it
// it speaks.
TEST(CheckLimits, EachLimitAtItsEdge) {
  const DesignSnapshot base = Astable(1, 1000, 0.75, 1e-8);
  const struct {
    const char* code;
    DesignSnapshot inside, outside;
    Conditions at;
  } rows[] = {
      // Pin 7 sinks Vcc / R1: 15 mA for the bipolar timer, R1 = 600 Ω at 9 V.
      {"resistance-too-low", WithParts(base, 606, 1e5), WithParts(base, 594, 1e5), At(9)},
      {"resistance-too-low", WithParts(base, 1212, 1e5), WithParts(base, 1188, 1e5),
       At(12, TimerFamily::Cmos)},
      // The peak through R2: Vcc / R1 + (2/3 Vcc) / (R2 + 10 Ω) against 15 mA.
      {"discharge-current", WithParts(base, 1e5, 400), WithParts(base, 1e5, 385), At(9)},
      // R1 + R2 against Vcc / 7.5e-7: 12 MΩ at 9 V; CMOS: the 20 MΩ of leakage.
      {"resistance-too-high", WithParts(base, 11.9e6, 5e4), WithParts(base, 12e6, 5e4), At(9)},
      {"resistance-too-high", WithParts(base, 19.9e6, 5e4), WithParts(base, 20e6, 5e4),
       At(9, TimerFamily::Cmos)},
      // Electrolytic leakage: 0.01·C·V µA or 3 µA against a tenth of (Vcc/3) / R.
      {"electrolytic-leakage", WithParts(Astable(1, 1, 0.75, 1e-6), 95e3, 5e3),
       WithParts(Astable(1, 1, 0.75, 1e-6), 105e3, 5e3), At(9)},
      {"discharge-resistance", WithParts(base, 1e5, 1001), WithParts(base, 1e5, 999), At(9)},
  };
  for (const auto& row : rows) {
    EXPECT_FALSE(Has(Codes(CheckLimits(row.inside, row.at)), row.code))
        << row.code << " " << row.inside.r1 << " " << row.inside.r2;
    EXPECT_TRUE(Has(Codes(CheckLimits(row.outside, row.at)), row.code))
        << row.code << " " << row.outside.r1 << " " << row.outside.r2;
  }
  // The supply: 16 V is the bipolar timer's recommended maximum, 18 V its limit.
  EXPECT_FALSE(Has(Codes(CheckLimits(base, At(16))), "vcc-above-recommended"));
  EXPECT_TRUE(Has(Codes(CheckLimits(base, At(16.5))), "vcc-above-recommended"));
  EXPECT_FALSE(Has(Codes(CheckLimits(base, At(16.5))), "vcc-out-of-range"));
}

// The messages say what is true: a value beside its limit differs from it,
// the on-resistance is small beside R2 and not the other way round, a CMOS
// user is not told to use CMOS, the cause named is the one the model shows.
TEST(CheckLimits, MessagesSayWhatIsTrue) {
  const DesignSnapshot base = Astable(1, 1000, 0.75, 1e-8);
  const std::string floor =
      MessageOf(CheckLimits(WithParts(base, 599.99, 1e5), At(9)), "resistance-too-low");
  EXPECT_EQ(floor.rfind("R1 = 599.99 \u03a9 is below Vcc / 15.00 mA = 600.0 \u03a9", 0), 0u)
      << floor;
  const std::string rdis =
      MessageOf(CheckLimits(Astable(1, 1000, 0.95), At(9)), "discharge-resistance");
  EXPECT_EQ(rdis.rfind("The discharge transistor's on-resistance (about 10.00 \u03a9) is not "
                       "small beside R2 = 721.3 \u03a9",
                       0),
            0u)
      << rdis;
  for (const Warning& w : CheckLimits(Astable(2, 100000, 0.5, 1e-8), At(9, TimerFamily::Cmos)))
    EXPECT_EQ(w.message.find("A CMOS timer"), std::string::npos)
        << CodeKey(w.code) << ": " << w.message;
  // 6.56 Hz at 50 %: R1 = 11 MΩ; the trigger pin's current, not the output
  // stage, makes the duty cycle 47.9 %.
  const auto slow = Codes(CheckLimits(Astable(2, 6.56, 0.5, 1e-8), At(9)));
  EXPECT_TRUE(Has(slow, "threshold-current"));
  EXPECT_FALSE(Has(slow, "output-drop-duty"));
  // Far from the ideal in designs 1, 2 and 4: said, with its cause.
  const std::string off =
      MessageOf(CheckLimits(Astable(2, 100000, 0.5, 1e-9), At(4.5)), "timing-off");
  EXPECT_NE(off.find("slow"), std::string::npos) << off;
  EXPECT_NE(off.find("output stage"), std::string::npos) << off;
  EXPECT_FALSE(Has(Codes(CheckLimits(Astable(1, 1000, 0.75, 1e-8), At(9))), "timing-off"));
  // A resistor too large and an electrolytic too leaky give the same advice:
  // a larger C1, never "larger C1" beside "smaller C1".
  for (const Warning& w : CheckLimits(Astable(1, 0.1, 0.6, 1e-6), At(5)))
    EXPECT_EQ(w.message.find("smaller C1"), std::string::npos)
        << CodeKey(w.code) << ": " << w.message;
  // Units as the tables write them; no unit with a huge mantissa.
  const std::string huge =
      MessageOf(CheckLimits(Astable(2, 0.01, 0.5, 1e-8), At(9)), "resistance-too-high");
  EXPECT_EQ(huge.rfind("R1 = 7.213 G\u03a9 is above 12.00 M\u03a9", 0), 0u) << huge;
}

TEST(WorstCase, CornersThatStopAreNamedAndLeftOut) {
  // 6.11 Hz at 50 %: R1 = 11.8 MΩ; with R1 5 % high the trigger pin takes
  // what R1 gives at 1/3 Vcc, and the discharge never reaches it.
  const DesignSnapshot s = Astable(2, 6.11, 0.5, 1e-8);
  const ToleranceBand band = WorstCase(s, At(9), ToleranceSpec{});
  EXPECT_EQ(band.stopped, 16);
  EXPECT_EQ(band.stoppedAt, "R1 +5.0 %");
  ASSERT_TRUE(band.frequency);
  EXPECT_GT(band.frequency->min, 0);
  const std::string text = WorstCaseText(band, false);
  EXPECT_NE(text.find("16 of 32 corners do not oscillate (those with R1 +5.0 %)"),
            std::string::npos)
      << text;
  const ToleranceBand none = WorstCase(Astable(2, 0.1, 0.5, 1e-8), At(9), ToleranceSpec{});
  EXPECT_EQ(none.stopped, 32);
  EXPECT_FALSE(none.frequency);
  EXPECT_EQ(WorstCaseText(none, false), "none of the 32 corners oscillates");
}

TEST(WorstCase, CoversTheNominalAndGrowsWithTheTolerances) {
  const DesignSnapshot s = Astable(1, 1000, 0.75);
  const Timing nominal = PredictTiming(s, At(9));
  ToleranceSpec spec;
  const ToleranceBand band = WorstCase(s, At(9), spec);
  EXPECT_LT(band.frequency->min, *nominal.frequency);
  EXPECT_GT(band.frequency->max, *nominal.frequency);
  // 5 % resistors and 10 % capacitors move the frequency by about 15 %.
  EXPECT_NEAR(band.frequency->max / *nominal.frequency, 1.15 * 1.0225, 0.03);
  EXPECT_LE(band.dutyCycle->min, *nominal.dutyCycle);
  EXPECT_GE(band.dutyCycle->max, *nominal.dutyCycle);
  // Exact parts at 25 °C still leave the chip's own initial error.
  const ToleranceBand exact = WorstCase(s, At(9), {0, 0, 25, 25});
  EXPECT_NEAR(exact.frequency->max / exact.frequency->min, 1.0225 / 0.9775, 1e-3);
  const ToleranceBand pulse = WorstCase(OneShot(1, 1e-4), At(9), spec);
  EXPECT_FALSE(pulse.frequency);
  EXPECT_LT(pulse.tHigh->min, 1);
  EXPECT_GT(pulse.tHigh->max, 1);
}

TEST(SnapshotWithTargets, TargetsComeFromTheCalculatedParts) {
  const DesignSnapshot s =
      SnapshotWithTargets(DesignKind::AstableAbove, 8200, 3606.738, 1e-7, 7213.475, 3606.738, 1e-7);
  EXPECT_EQ(s.r1, 8200);
  EXPECT_NEAR(s.frequency, 1000, 1e-3);
  EXPECT_NEAR(s.dutyCycle, 0.75, 1e-6);
  EXPECT_NEAR(SnapshotWithTargets(DesignKind::OneShot, 1, 0, 1, 9102.392, 0, 1e-4).pulseLength, 1,
              1e-6);
}

}  // namespace
}  // namespace timer555
