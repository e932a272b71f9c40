#include "export/sheet.h"

#include <gtest/gtest.h>

#include "analysis/parts.h"
#include "cli/cli_design.h"
#include "cli/output.h"
#include "render/qt_canvas.h"

namespace timer555 {
namespace {

// The sheet's schematic is the design page's own, pixel for pixel, with the
// chip as a 555 or either 556 half; drawing it for a file leaves the
// window's state as it was.
TEST(DesignSheet, SchematicIsTheDesignPagesOwn) {
  const struct {
    DesignKind kind;
    const char *f, *d, *t;
  } designs[] = {{DesignKind::AstableAbove, "1000", "75", nullptr},
                 {DesignKind::AstableSquare, "440", nullptr, nullptr},
                 {DesignKind::AstableBelow, "4888", "15", nullptr},
                 {DesignKind::OneShot, nullptr, nullptr, "0.01"}};
  for (const auto& design : designs) {
    for (const TimerVariant variant :
         {TimerVariant::Timer555, TimerVariant::Timer556A, TimerVariant::Timer556B}) {
      DesignRequest request;
      request.kind = design.kind;
      if (design.f) request.frequency = design.f;
      if (design.d) request.duty = design.d;
      if (design.t) request.pulse = design.t;
      request.timer = variant;
      QtCanvas page(PageWidth(), PageHeight());
      DesignReport report;
      ASSERT_FALSE(RunDesign(request, page, report));
      DesignSnapshot built;
      built.kind = design.kind;
      built.r1 = report.design.R1;
      built.r2 = report.design.R2;
      built.c1 = report.design.C1;
      const TimerDesignState window = Global::TimerDesign();
      QtCanvas sheet(PageWidth(), PageHeight());
      Global::TimerDesign().R1 = 1;  // the window's own value, not the sheet's
      DrawBuiltSchematic(sheet, built, variant);
      EXPECT_TRUE(sheet.Image() == page.Image())
          << DesignNumber(design.kind) << " as " << static_cast<int>(variant);
      EXPECT_EQ(Global::TimerDesign().R1, 1);
      EXPECT_EQ(Global::TimerDesign().DesignMode, window.DesignMode);
      EXPECT_EQ(Global::Drawing().TimerVariant, variant);
    }
  }
}

// The sheet says what the parts search says of the same parts, lists every
// part to buy once, and adds the simulated column only where a simulation
// gave figures.
TEST(DesignSheet, SaysWhatTheSearchSaysOfTheParts) {
  PartsQuestion q;
  q.target.kind = DesignKind::AstableBelow;
  q.target.frequency = 1000;
  q.target.dutyCycle = 0.25;
  q.bench.conditions.vcc = 5;
  q.bench.samples = 300;
  const PartsAnswer answer = FindParts(q.target, q.bench, q.resistors, q.capacitors, 3);
  ASSERT_FALSE(answer.choices.empty());
  for (const PartsChoice& choice : answer.choices) {
    SheetRequest r{
        q,           WithChoice(q.target, choice), TimerVariant::Timer556A, std::nullopt, "9.9",
        "2026-01-02"};
    const SheetContent s = ComposeSheet(r);
    EXPECT_EQ(s.figures.front(),
              "Built: " + PartsChoiceText(q.target.kind, q.bench.conditions.family, choice) + ".");
    EXPECT_EQ(s.title, "Astable, duty cycle below 50 %");
    EXPECT_EQ(s.target,
              "Target 1.000 kHz, 25.0 % at 5.0 V, bipolar timer, built with half A of a 556");
    // U1 (once for both halves), R1, R2, D1, D2, C1, C2, the header J1.
    ASSERT_EQ(s.parts.size(), 8u);
    EXPECT_EQ(s.parts.front().rfind("U1  NE556", 0), 0u) << s.parts.front();
    EXPECT_EQ(s.footer, "timer555 9.9, 2026-01-02");
    EXPECT_EQ(s.timing.find("simulated"), std::string::npos);
    EXPECT_FALSE(s.warnings.empty());  // the diodes' drop at 5 V is advice worth reading

    SimulationResult run;
    run.simulated = choice.predicted;
    r.simulation = run;
    EXPECT_NE(ComposeSheet(r).timing.find("simulated"), std::string::npos);
    run.error = "ngspice failed";
    r.simulation = run;
    EXPECT_EQ(ComposeSheet(r).timing.find("simulated"), std::string::npos);
  }
}

}  // namespace
}  // namespace timer555
