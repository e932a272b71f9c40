#include "design/adjustment.h"

#include <gtest/gtest.h>

#include <limits>

#include "design/input_panel.h"
#include "design/timer_equations.h"
#include "state/global.h"

namespace timer555 {
namespace {

struct BandCase {
  const char* name;
  bool capacitor;
  int resistor;      // 1 or 2 for a resistor
  double reference;  // C1Ref, R1Ref or R2Ref
  const char* shownNumber;
  const char* shownUnit;
  const char* entry;
  bool accepted;
  double stored;  // the new C1, R1 or R2 when accepted
};

class AdjustmentTest : public ::testing::TestWithParam<BandCase> {};

TEST_P(AdjustmentTest, ShowsTheReferenceAndKeepsTheBand) {
  const BandCase& c = GetParam();
  Global::Reset();
  TimerDesignState& d = Global::TimerDesign();
  d.C1 = d.C1Ref = c.capacitor ? c.reference : 1e-7;
  d.R1 = d.R1Ref = c.capacitor || c.resistor == 2 ? 1000 : c.reference;
  d.R2 = d.R2Ref = c.resistor == 2 ? c.reference : 2000;
  Global::Adjust().AdjustIsCapacitor = c.capacitor;
  Global::Page().ResistorUnderCursor = c.resistor;
  const std::string name = PrepareAdjustment();
  EXPECT_EQ(name, c.capacitor ? "C1" : c.resistor == 1 ? "R1" : "R2");
  EXPECT_EQ(Global::Adjust().AdjustNumber, c.shownNumber);
  EXPECT_EQ(Global::Adjust().AdjustUnit, c.shownUnit);
  const TimerDesignState before = d;
  // The pure answer agrees with the dialog's and reads nothing else.
  const AdjustmentField field = AdjustmentFieldOf(d, c.capacitor ? 0 : c.resistor);
  EXPECT_EQ(field.name, name);
  EXPECT_EQ(AcceptedValue(field, c.entry).has_value(), c.accepted);
  const auto refused = ApplyAdjustment(c.entry);
  EXPECT_EQ(!refused, c.accepted);
  if (refused) {
    EXPECT_EQ(*refused, "Maximum adjustment is +/- 20%.");
  }
  const double& target = c.capacitor ? d.C1 : c.resistor == 1 ? d.R1 : d.R2;
  EXPECT_DOUBLE_EQ(target, c.accepted ? c.stored : c.reference);
  // The other parts are never touched.
  if (!c.capacitor) {
    EXPECT_EQ(d.C1, before.C1);
  }
  if (c.capacitor || c.resistor == 2) {
    EXPECT_EQ(d.R1, before.R1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Edges, AdjustmentTest,
    ::testing::Values(BandCase{"C100nFTop", true, 1, 1e-7, "100", "nF", "120", true, 1.2e-7},
                      BandCase{"C100nFAbove", true, 1, 1e-7, "100", "nF", "121", false, 0},
                      BandCase{"C100nFBottom", true, 1, 1e-7, "100", "nF", "83.34", true, 83.34e-9},
                      BandCase{"C100nFBelow", true, 1, 1e-7, "100", "nF", "83.33", false, 0},
                      BandCase{"C100nFEmpty", true, 1, 1e-7, "100", "nF", "", false, 0},
                      BandCase{"C100nFTwoPoints", true, 1, 1e-7, "100", "nF", "9..5", false, 0},
                      BandCase{"C1000uFInFarads", true, 1, 1e-3, "0.001", "F", "0.0012", true,
                               0.0012},
                      BandCase{"C470pF", true, 1, 4.7e-10, "470", "pF", "500", true, 5e-10},
                      BandCase{"C2u2F", true, 1, 2.2e-6, "2.2", "uF", "2", true, 2e-6},
                      BandCase{"R1Kilo", false, 1, 7213.475, "7.214", "K", "8.2", true, 8200},
                      BandCase{"R1KiloTooFar", false, 1, 7213.475, "7.214", "K", "8.7", false, 0},
                      BandCase{"R2Kilo", false, 2, 3606.738, "3.607", "K", "3.3", true, 3300},
                      BandCase{"R1Ohms", false, 1, 910.24, "910.2", "", "1000", true, 1000},
                      BandCase{"R1Mega", false, 1, 1.5e6, "1.5", "M", "1.6", true, 1.6e6}),
    [](const auto& row) { return row.param.name; });

// Both ends of the band are accepted for every four-digit number shown, as
// the user reads them: 1.2 × 4.427 is 5.3124 and 6.612 / 1.2 is 5.51.
TEST(AdjustmentBand, ExactDecimalEndsAreIncludedForEveryShownNumber) {
  Global::Reset();
  AdjustState& a = Global::Adjust();
  a.AdjustIsCapacitor = false;
  a.AdjustUnit = "K";
  Global::Page().ResistorUnderCursor = 1;
  const auto text = [](long long units, int decimals) {
    std::string digits = std::to_string(units);
    digits.insert(
        0, static_cast<size_t>(std::max(0, decimals + 1 - static_cast<int>(digits.size()))), '0');
    return digits.insert(digits.size() - static_cast<size_t>(decimals), ".");
  };
  int refusedEnds = 0;
  for (long long shown = 1000; shown <= 9999; ++shown) {
    a.AdjustReference = ParseNumber(text(shown, 3));
    // The top end, 1.2 × shown, has four decimals; one unit more is outside.
    if (ApplyAdjustment(text(shown * 12, 4))) ++refusedEnds;
    EXPECT_TRUE(ApplyAdjustment(text(shown * 12 + 1, 4))) << shown;
    // The bottom end where shown / 1.2 is a decimal of four places.
    if ((shown * 100000) % 12 == 0) {
      if (ApplyAdjustment(text(shown * 100000 / 12, 7))) ++refusedEnds;
      EXPECT_TRUE(ApplyAdjustment(text(shown * 100000 / 12 - 1, 7))) << shown;
    }
  }
  EXPECT_EQ(refusedEnds, 0);
}

// The range a reader hears is the band the dialog takes: both ends typed
// are accepted.
TEST(AdjustmentRange, NamesTheEndsTheDialogAccepts) {
  const struct {
    AdjustmentField field;
    const char* range;
  } cases[] = {
      {{"R1", "100", "", 100, false}, "from 83.34 to 120"},
      {{"R1", "3.607", "K", 3.60675, false}, "from 3.006 to 4.328"},
      {{"R2", "10.82", "K", 10.8203, false}, "from 9.017 to 12.98"},
      {{"C1", "100", "nF", 100, true}, "from 83.34 to 120"},
      {{"C1", "2.7", "nF", 2.7, true}, "from 2.25 to 3.24"},
  };
  for (const auto& c : cases) {
    const std::string range = AdjustmentRange(c.field.reference);
    EXPECT_EQ(range, c.range) << c.field.number;
    const auto to = range.find(" to ");
    ASSERT_NE(to, std::string::npos);
    EXPECT_TRUE(AcceptedValue(c.field, range.substr(5, to - 5))) << range;
    EXPECT_TRUE(AcceptedValue(c.field, range.substr(to + 4))) << range;
  }
  for (double nothing : {0.0, -5.0, std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN()})
    EXPECT_EQ(AdjustmentRange(nothing), "") << nothing;
}

TEST(SpokenValue, SaysTheSchematicsValueInWords) {
  const struct {
    const char* shown;
    bool capacitor;
    const char* spoken;
  } cases[] = {{"7.214K", false, "7.214 kilohms"}, {"910.2", false, "910.2 ohms"},
               {"1.5M", false, "1.5 megohms"},     {"100nF", true, "100 nanofarads"},
               {"4.7uF", true, "4.7 microfarads"}, {"470pF", true, "470 picofarads"},
               {"0.001", true, "0.001 farads"},    {"1uF", true, "1 microfarad"},
               {"1K", false, "1 kilohm"}};
  for (const auto& c : cases)
    EXPECT_EQ(SpokenValue(c.shown, c.capacitor), c.spoken) << c.shown;
}

// The check window asks whether a standard resistor fits the band without
// touching the design, the dialog's state or the resistor under the mouse.
TEST(AcceptsResistor, AnswersWithoutChangingAnything) {
  Global::Reset();
  TimerDesignState& d = Global::TimerDesign();
  d.R1 = d.R1Ref = 7213.475;  // shown 7.214 K: 6.012 K to 8.657 K
  d.R2 = d.R2Ref = 3606.738;
  Global::Page().ResistorUnderCursor = 2;
  Global::Adjust().AdjustUnit = "nF";
  const TimerDesignState design = d;
  struct {
    int index;
    double ohms;
    bool accepted;
  } const cases[] = {{1, 8200, true}, {1, 8700, false}, {1, 6020, true}, {1, 6000, false},
                     {2, 3300, true}, {2, 4320, true},  {2, 4330, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(AcceptsResistor(d, c.index, c.ohms), c.accepted) << c.index << " " << c.ohms;
  }
  EXPECT_EQ(Global::TimerDesign().R1, design.R1);
  EXPECT_EQ(Global::Page().ResistorUnderCursor, 2);
  EXPECT_EQ(Global::Adjust().AdjustUnit, "nF");
}

// Whether the window can enter a set of parts: the arrows solve for the
// targets as the fields hold them ("26.8" %, not the 26.7926 % the last
// adjustment computed), and without a click the band is around the
// references as they stand.
TEST(ReachParts, JudgesOnTheTargetsAsTyped) {
  Global::Reset();
  TimerDesignState d = Global::TimerDesign();
  d.DesignMode = 3;
  d.Frequency = 976.0989;
  d.DutyCycle = 0.267926;
  d.E12Index = 1;  // 120 nF
  d.DecadeCount = 9;
  d.C1 = d.C1Ref = 1.2e-7;
  d.R1 = 3300;  // adjusted from 3.006 K
  d.R1Ref = 3005.61;
  d.R2 = d.R2Ref = 9016.84;
  const TimerDesignState typed = DesignAsTyped(d, "976.099", "26.8");
  EXPECT_DOUBLE_EQ(typed.DutyCycle, 0.268);
  // 23 clicks down to 1.5 nF, where R1 is 264.07 K as typed: 220 K is
  // 16.7 % low, just outside the band (220.06 K), though inside it for the
  // unrounded duty cycle.
  const PartsReach far = ReachParts(typed, 1.5e-9, 220e3, 680e3);
  EXPECT_FALSE(far.reachable);
  EXPECT_EQ(far.reason.rfind("R1 = 220K is outside", 0), 0u) << far.reason;
  EXPECT_TRUE(ReachParts(d, 1.5e-9, 220e3, 680e3).reachable) << "unrounded, it would be";
  // No click: the band is around the references of the last calculation.
  const PartsReach here = ReachParts(typed, 1.2e-7, 2400, 9100);
  EXPECT_FALSE(here.reachable);
  EXPECT_NE(here.reason.find("around 3.006K"), std::string::npos) << here.reason;
  const PartsReach near = ReachParts(typed, 1.2e-7, 3300, 9100);
  EXPECT_TRUE(near.reachable) << near.reason;
  EXPECT_EQ(near.steps, 0);
}

}  // namespace
}  // namespace timer555
