#include "design/timer_equations.h"

#include <gtest/gtest.h>

#include <tuple>

#include <cmath>
#include <limits>

#include "app/fake_view.h"
#include "design/design_pages.h"
#include "format/pmisc.h"
#include "render/circuits.h"
#include "state/global.h"

namespace timer555 {
namespace {

struct ParseCase {
  const char* text;
  double value;
};

class ParseNumberTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberTest, ReadsTheWholeTextOrGivesZero) {
  EXPECT_EQ(ParseNumber(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseNumberTest,
    ::testing::Values(ParseCase{"", 0}, ParseCase{"1000", 1000}, ParseCase{"0.01", 0.01},
                      ParseCase{"2000000.1", 2000000.1}, ParseCase{"  12.5", 12.5},
                      ParseCase{"5.", 5}, ParseCase{".5", 0.5}, ParseCase{"+.5", 0.5},
                      ParseCase{"-3", -3}, ParseCase{"1e3", 1000}, ParseCase{"2.5E-3", 0.0025},
                      ParseCase{".", 0}, ParseCase{"1..2", 0}, ParseCase{"1.2.3", 0},
                      ParseCase{"12.5 ", 0}, ParseCase{"1e", 0}, ParseCase{"e5", 0},
                      ParseCase{"abc", 0}, ParseCase{"0x10", 0}, ParseCase{"inf", 0},
                      ParseCase{"1,5", 0}, ParseCase{"1e999", HUGE_VAL}));

TEST(TypedDecimals, CountsAfterTheFirstPoint) {
  EXPECT_EQ(TypedDecimals("1000"), 0);
  EXPECT_EQ(TypedDecimals("1000.5"), 1);
  EXPECT_EQ(TypedDecimals("2.25"), 2);
  EXPECT_EQ(TypedDecimals("."), 0);
  EXPECT_EQ(TypedDecimals("1.2.3"), 3);
}

struct DesignCase {
  const char* name;
  int mode;
  double frequency, duty, pulse;
  double c1;
  int decadeCount;
  double expectC1;
  int expectDecades;
  double expectR1, expectR2;
};

class CalculateTest : public ::testing::TestWithParam<DesignCase> {
 protected:
  void SetUp() override { Global::Reset(); }
};

TEST_P(CalculateTest, DecadeSearchAndResistors) {
  const DesignCase& c = GetParam();
  TimerDesignState& d = Global::TimerDesign();
  d.DesignMode = c.mode;
  d.Frequency = c.frequency;
  d.DutyCycle = c.duty;
  d.PulseLength = c.pulse;
  d.C1 = c.c1;
  d.DecadeCount = c.decadeCount;
  d.R2 = c.mode == 2 ? kSquareWaveR2 : 0;
  SolveComponents();
  EXPECT_DOUBLE_EQ(d.C1, c.expectC1);
  EXPECT_EQ(d.DecadeCount, c.expectDecades);
  EXPECT_NEAR(d.R1, c.expectR1, 0.01);
  EXPECT_NEAR(d.R2, c.expectR2, 0.01);
}

INSTANTIATE_TEST_SUITE_P(
    Designs, CalculateTest,
    ::testing::Values(
        DesignCase{"Above1000Hz75", 1, 1000, 0.75, 0, 1e-6, 8, 1e-7, 9, 7213.475, 3606.738},
        DesignCase{"Above1Hz60", 1, 1, 0.6, 0, 1e-6, 8, 1e-6, 8, 288539.01, 577078.02},
        DesignCase{"Square1000Hz", 2, 1000, 0.5, 0, 1e-8, 10, 1e-8, 10, 72134.75, 4700},
        DesignCase{"Below1000Hz25", 3, 1000, 0.25, 0, 1e-6, 8, 1e-7, 9, 3606.738, 10820.21},
        DesignCase{"OneShot1s", 4, 0, 0, 1, 1e-3, 5, 1e-4, 6, 9102.392, 0},
        DesignCase{"OneShot10s", 4, 0, 0, 10, 1e-3, 5, 1e-3, 5, 9102.392, 0},
        // An arrow step to 10 µF leaves too little resistance: back one decade.
        DesignCase{"SteppedTooHigh", 1, 1000, 0.75, 0, 1e-5, 7, 1e-7, 9, 7213.475, 3606.738},
        DesignCase{"KeepsTheMantissa", 1, 1000, 0.75, 0, 1.2e-6, 7, 1.2e-7, 8, 6011.229, 3005.615}),
    [](const auto& row) { return row.param.name; });

TEST(DecadeSearch, ASumOfExactly5000StopsIt) {
  // Find a frequency at which the two halves sum to exactly 5000 Ω.
  Global::Reset();
  TimerDesignState& d = Global::TimerDesign();
  d.DesignMode = 3;
  d.DutyCycle = 0.5;
  double f = 1 / (std::log(2.0) * 5000 * 1e-6);
  bool found = false;
  for (int i = 0; i < 64 && !found; ++i) {
    for (double candidate : {f, std::nextafter(f, 0.0), std::nextafter(f, 1e9)}) {
      d.Frequency = candidate;
      d.C1 = 1e-6;
      d.DecadeCount = 8;
      SolveComponents();
      if (static_cast<long double>(d.R1) + d.R2 == 5000) {
        found = true;
        break;
      }
    }
    f = std::nextafter(f, 0.0);
  }
  ASSERT_TRUE(found);
  EXPECT_EQ(d.C1, 1e-6);
  EXPECT_EQ(d.DecadeCount, 8);
}

// Extreme stepping can leave C1 infinite (100 / 10^-400), zero or subnormal;
// every search still ends.
TEST(DecadeSearch, EndsForEveryCapacitorTheArrowsCanReach) {
  for (const double c1 : {std::numeric_limits<double>::infinity(), 0.0, 4.9e-324, 1e308}) {
    for (int mode = 1; mode <= 4; ++mode) {
      Global::Reset();
      TimerDesignState& d = Global::TimerDesign();
      d.DesignMode = mode;
      d.Frequency = 1000;
      d.DutyCycle = 0.75;
      d.PulseLength = 1;
      d.R2 = kSquareWaveR2;
      d.C1 = c1;
      SolveComponents();
      const long double timing = mode == 4 ? d.R1 : static_cast<long double>(d.R1) + d.R2;
      if (std::isinf(c1)) {
        // Divided by ten it stays infinite: the search stops at once, with no resistance.
        EXPECT_TRUE(std::isinf(d.C1)) << mode;
        EXPECT_EQ(d.R1, 0) << mode;
      } else if (c1 == 1e308) {
        // Divided down until the resistance reaches 5 kΩ, and not a decade further.
        EXPECT_LT(d.C1, c1) << mode;
        EXPECT_GE(timing, 5000) << mode;
        EXPECT_LT(timing, 50000 + (mode == 2 ? kSquareWaveR2 : 0)) << mode;
      } else {
        // Zero or subnormal: already enough resistance, C1 stays as it was.
        EXPECT_EQ(d.C1, c1) << mode;
        EXPECT_GE(timing, 5000) << mode;
        if (c1 == 0) {
          EXPECT_TRUE(std::isinf(d.R1)) << mode;
        }
      }
    }
  }
  EXPECT_EQ(FormatResistance(std::numeric_limits<double>::infinity()), "INF");
}

class DesignPageTest : public ::testing::Test {
 protected:
  void SetUp() override { Global::Reset(); }
  void Open(int mode) {
    Global::TimerDesign().DesignMode = mode;
    Global::Page().PageMode = PageMode::Designs;
    OpenDesignPage(view, holders);
  }
  std::vector<std::string> TextsOf(const RecordingCanvas& c) const {
    std::vector<std::string> out;
    for (const DrawOp& op : c.OpsOf(DrawOp::Kind::Text))
      out.push_back(op.text);
    return out;
  }

  FakeView view;
  StringHolders holders = LoadBuiltinHolders();
};

TEST_F(DesignPageTest, OpensWithTheBlockDrawnWithoutValues) {
  for (int mode = 1; mode <= 4; ++mode) {
    view.page.Clear();
    Open(mode);
    ASSERT_EQ(holders.SHBuffer.Count(), 10);
    EXPECT_EQ(holders.SHBuffer.Line(0), holders.SHCircuits.Line(11 * (mode - 1) + 1));
    EXPECT_EQ(Global::Page().SchematicRect, (Rect{0, 0, 650, 308}));
    for (const DrawOp& t : view.page.OpsOf(DrawOp::Kind::Text)) {
      // Only the chip's type name is red before a calculation.
      if (t.text != "555") {
        EXPECT_NE(t.font.color, kRed) << t.text << " in mode " << mode;
      }
    }
    EXPECT_EQ(Global::TimerDesign().C2, 1e-8);
    EXPECT_EQ(Global::TimerDesign().E12Index, 0);
  }
  EXPECT_EQ(view.Caption(), "Monostable  (one-shot)");
}

TEST_F(DesignPageTest, CalculateDrawsValuesWaveformAndReferences) {
  Open(1);
  view.text[Control::NumEdit1] = "1000";
  view.text[Control::NumEdit2] = "75";
  TimerDesignState& d = Global::TimerDesign();
  d.Frequency = 1000;
  d.DutyCycle = 0.75;
  view.page.Clear();
  CalculateDesign(view, holders.SHBuffer);
  const auto texts = TextsOf(view.page);
  for (const char* shown : {"7.214K", "3.607K", "100nF", "10nF", "R1", "C2", "555"}) {
    EXPECT_NE(std::find(texts.begin(), texts.end(), shown), texts.end()) << shown;
  }
  EXPECT_EQ(TextsOf(view.waveform), (std::vector<std::string>{"tH = 750.0us", "tL = 250.0us"}));
  EXPECT_TRUE(Global::Page().Calculated);
  EXPECT_EQ(d.C1Ref, d.C1);
  EXPECT_EQ(d.R1Ref, d.R1);
  EXPECT_EQ(d.FreqDecimals, 0);
}

TEST_F(DesignPageTest, SquareWaveSetsTheDutyFieldAgain) {
  Open(2);
  view.text[Control::NumEdit2] = "";
  Global::TimerDesign().Frequency = 1000;
  CalculateDesign(view, holders.SHBuffer);
  EXPECT_EQ(view.Text(Control::NumEdit2), "50");
  EXPECT_EQ(Global::TimerDesign().R2, 4700);
}

TEST_F(DesignPageTest, RecalculationTextsCarryMoreDecimals) {
  Open(1);
  view.text[Control::NumEdit1] = "1000";
  view.text[Control::NumEdit2] = "75";
  TimerDesignState& d = Global::TimerDesign();
  d.Frequency = 1000;
  d.DutyCycle = 0.75;
  CalculateDesign(view, holders.SHBuffer);
  RecalculateFromComponents(view, holders.SHBuffer);
  EXPECT_EQ(view.Text(Control::NumEdit1), "1000.000");
  EXPECT_EQ(view.Text(Control::NumEdit2), "75.0");
  EXPECT_NEAR(d.THigh, 0.75e-3, 1e-12);
  EXPECT_NEAR(d.TLow, 0.25e-3, 1e-12);
  // The references and decimal counts stay those of the calculation.
  EXPECT_EQ(d.FreqDecimals, 0);
}

TEST_F(DesignPageTest, OneShotRecalculationLeavesTheSecondFieldEmpty) {
  Open(4);
  view.text[Control::NumEdit1] = "1";
  TimerDesignState& d = Global::TimerDesign();
  d.PulseLength = 1;
  CalculateDesign(view, holders.SHBuffer);
  d.R1 = 10000;
  RecalculateFromComponents(view, holders.SHBuffer);
  EXPECT_EQ(view.Text(Control::NumEdit1), "1.099");
  EXPECT_EQ(view.Text(Control::NumEdit2), "");
  EXPECT_EQ(d.PulseLength, 1);
  EXPECT_EQ(TextsOf(view.waveform).back(), "tH = " + view.Text(Control::NumEdit1) + " sec");
}

// The square wave charges and discharges C1 through R1 from the output: the
// parts the design chose give back its 1000 Hz at 50 %, and any R1 a defined
// frequency (R2 is the output's pull-up and takes no part in the timing).
TEST_F(DesignPageTest, SquareWaveRecalculationGivesBackItsDesign) {
  const std::tuple<double, const char*> rows[] = {
      {0, "1000.000"}, {4700.0, "15347.820"}, {9400.0, "7673.910"}, {1000.0, "72134.752"}};
  for (const auto& [r1, frequency] : rows) {
    Global::Reset();
    Open(2);
    view.text[Control::NumEdit1] = "1000";
    TimerDesignState& d = Global::TimerDesign();
    d.Frequency = 1000;
    CalculateDesign(view, holders.SHBuffer);
    if (r1 > 0) d.R1 = r1;
    view.waveform.Clear();
    EXPECT_NO_THROW(RecalculateFromComponents(view, holders.SHBuffer));
    EXPECT_EQ(view.Text(Control::NumEdit1), frequency) << r1;
    EXPECT_EQ(view.Text(Control::NumEdit2), "50.0") << r1;
    EXPECT_DOUBLE_EQ(d.THigh, d.TLow);
    EXPECT_FALSE(view.waveform.Ops().empty());
  }
}

struct WaveCase {
  double frequency, duty;
  const char* high;
  const char* low;
};

class WaveformLabelTest : public ::testing::TestWithParam<WaveCase> {};

TEST_P(WaveformLabelTest, UnitScaleAndDecimals) {
  Global::Reset();
  Global::TimerDesign().Frequency = GetParam().frequency;
  Global::TimerDesign().DutyCycle = GetParam().duty;
  FakeView view;
  EXPECT_EQ(WaveformLabels(view, WaveformKind::Astable),
            (std::vector<std::string>{GetParam().high, GetParam().low}));
}

INSTANTIATE_TEST_SUITE_P(Table, WaveformLabelTest,
                         ::testing::Values(WaveCase{1000, 0.75, "tH = 750.0us", "tL = 250.0us"},
                                           WaveCase{1, 0.6, "tH = 600.0ms", "tL = 400.0ms"},
                                           WaveCase{0.01, 0.6, "tH = 60000ms", "tL = 40000ms"},
                                           WaveCase{100, 0.5, "tH = 5.0000ms", "tL = 5.0000ms"},
                                           // 0.01 s as a double lies just above 10 ms.
                                           WaveCase{50, 0.5, "tH = 10.00ms", "tL = 10.00ms"},
                                           WaveCase{5, 0.5, "tH = 100.0ms", "tL = 100.0ms"},
                                           WaveCase{5000, 0.5, "tH = 100.0us", "tL = 100.0us"},
                                           WaveCase{50000, 0.5, "tH = 10.00us", "tL = 10.00us"},
                                           WaveCase{40, 0.5, "tH = 12.50ms", "tL = 12.50ms"},
                                           WaveCase{100000, 0.5, "tH = 5.000us", "tL = 5.000us"},
                                           WaveCase{20000, 0.5, "tH = 25.00us", "tL = 25.00us"},
                                           WaveCase{1000000, 0.5, "tH = 0.5000us", "tL = 0.5000us"},
                                           WaveCase{2, 0.75, "tH = 375.0ms", "tL = 125.0ms"}));

TEST(Waveform, SquareWaveTraceAndLabelPlaces) {
  Global::Reset();
  Global::TimerDesign().Frequency = 1000;
  Global::TimerDesign().DutyCycle = 0.75;
  FakeView view;
  DrawOutputWaveform(view, WaveformKind::Astable);
  // W 203, H 58: margin 10, low level 29, trace 183, half 91, x1 = 68.
  const auto lines = view.waveform.OpsOf(DrawOp::Kind::Line);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0].points, (std::vector<Point>{{10, 29}, {10, 0}}));
  EXPECT_EQ(lines[1].points[1], (Point{78, 0}));
  EXPECT_EQ(lines[3].points[1], (Point{101, 29}));
  EXPECT_EQ(lines[6].points[1], (Point{169, 29}));
  EXPECT_EQ(lines[7].points[1], (Point{193, 29}));
  const auto texts = view.waveform.OpsOf(DrawOp::Kind::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].points[0], (Point{0, 36}));
  EXPECT_EQ(texts[1].points[0], (Point{101, 36}));
  EXPECT_EQ(texts[0].font.height, -13) << "10 points, not scaled";
  EXPECT_EQ(view.waveform.Ops()[0].kind, DrawOp::Kind::FillRect);
}

TEST(Waveform, OneShotPulse) {
  Global::Reset();
  FakeView view;
  view.text[Control::NumEdit1] = "2.5";
  DrawOutputWaveform(view, WaveformKind::OneShot);
  const auto lines = view.waveform.OpsOf(DrawOp::Kind::Line);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1].points[1], (Point{10 + 137, 0}));
  EXPECT_EQ(lines[3].points[1], (Point{193, 29}));
  EXPECT_EQ(view.waveform.OpsOf(DrawOp::Kind::Text)[0].text, "tH = 2.5 sec");
}

}  // namespace
}  // namespace timer555
