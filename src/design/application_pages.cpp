#include "design/application_pages.h"

#include <vector>

#include "render/circuits.h"
#include "render/draw555.h"
#include "state/global.h"

namespace timer555 {

namespace {

constexpr int kApplicationCount = 14;

// A note's top-left corner: x in grid columns, y in grid rows plus an optional
// half row, plus `line` line steps. Right-aligned notes end at x instead.
struct Note {
  int app;
  int columns;
  int rows;
  bool halfRow;
  int line;
  const char* text;
  bool rightAligned = false;
};

// Every application's notes in the order they are written.
constexpr Note kNotes[] = {
    {1, 5, 29, false, 0, "1.  Trigger pulse must be shorter than output pulse."},
    {1, 5, 29, false, 1, "2,3. AC coupling removes this restriction."},
    {2, 49, 6, false, 0, "Set monostable pulse length"},
    {2, 49, 6, false, 1, "to be slightly longer than"},
    {2, 49, 6, false, 2, "period of input pulse train."},
    {2, 49, 6, false, 8, "T1: 2N3906"},
    {3, 54, 6, false, 0, "Diode D1 prevents 0.6V"},
    {3, 54, 6, false, 1, "negative pulse from"},
    {3, 54, 6, false, 2, "reaching timer output"},
    {3, 54, 6, false, 3, "pin 3."},
    {4, 39, 8, false, 0, "Input pulse cannot retrigger"},
    {4, 39, 8, false, 1, "timer until output pulse has"},
    {4, 39, 8, false, 2, "returned to low state."},
    {4, 39, 8, false, 3, "Setting the monostable delay"},
    {4, 39, 8, false, 4, "to >n input pulse periods"},
    {4, 39, 8, false, 5, "will yield a divide by n+1"},
    {4, 39, 8, false, 6, "output pulse frequency."},
    {5, 59, 6, false, 0, "Astable sets"},
    {5, 59, 6, false, 1, "tone frequency."},
    {5, 59, 6, false, 3, "Monostable sets"},
    {5, 59, 6, false, 4, "length of tone"},
    {5, 59, 6, false, 5, "burst."},
    {6, 58, 6, false, 0, "First one-shot"},
    {6, 58, 6, false, 1, "times out,"},
    {6, 58, 6, false, 2, "triggering"},
    {6, 58, 6, false, 3, "second one-shot."},
    {7, 2, 32, false, 0,
     "Can cascade counter/dividers; 4020 can be configuered to divide by 4 to 14."},
    {8, 13, 7, false, 0, "Audio transformer"},
    {8, 48, 7, false, 0, "R1: 1k - 100k"},
    {8, 48, 7, false, 1, "C1: 0.1uF - 4.7uF"},
    {9, 50, 6, false, 0, "Control voltage (pin 5)"},
    {9, 50, 6, false, 1, "can be varied from about"},
    {9, 50, 6, false, 2, "1.5V to 90% of Vcc, with"},
    {9, 50, 6, false, 3, "about a doubling of the"},
    {9, 50, 6, false, 4, "astable output frequency."},
    {10, 18, 20, true, 0, "clock input", true},
    {10, 18, 24, true, 0, "modulation input", true},
    {10, 50, 6, false, 0, "One-shot is triggered"},
    {10, 50, 6, false, 1, "with continuous pulse"},
    {10, 50, 6, false, 2, "train (pin 2). Output"},
    {10, 50, 6, false, 3, "pulse width varies"},
    {10, 50, 6, false, 4, "inversely with modulating"},
    {10, 50, 6, false, 5, "voltage (pin 5)."},
    {11, 52, 6, false, 0, "Output frequency is"},
    {11, 52, 6, false, 1, "one-half of astable"},
    {11, 52, 6, false, 2, "frequency."},
    {11, 52, 22, false, 0, "J-K Flip-Flop example:"},
    {11, 54, 22, false, 1, "74LS73A"},
    {12, 30, 18, false, 0, "+"},
    {12, 40, 18, false, 0, "+"},
    {12, 52, 6, false, 0, "Limit load current"},
    {12, 52, 6, false, 1, "to approximately "},
    {12, 52, 6, false, 2, "20ma."},
    {12, 52, 6, false, 4, "D1,D2: 1N4001"},
    {14, 52, 10, false, 0, "+"},
    {14, 58, 15, false, 0, "+"},
    {14, 3, 32, true, 0, "Ex: T1 = 2N2222A; T2 = 2N2907A; R1 = 100; C3,C4 = 10uF; D1,D2 = 1N4001"},
};

// A numbered circle marking one of the alternative circuits on a page.
void VariantMarker(Canvas& canvas, int i, Int cx, Int cy, Int u) {
  const Int r = (14 * u) / 8;
  canvas.SetPenColor(kBlack);
  canvas.SetPenWidth(1);
  canvas.SetBrushColor(kWhite);
  canvas.Ellipse(cx - r, cy - r, cx + r, cy + r);
  const std::string number = std::to_string(i);
  const Int tw(canvas.TextWidth(number)), th(canvas.TextHeight(number));
  canvas.TextOut(cx - tw / 2, cy - th / 2, number);
}

// The parts an application draws its values with, and its variants'
// markers; whether the page shows values.
bool SetApplicationParts(Canvas& canvas, int k, Int u, Int v) {
  TimerDesignState& d = Global::TimerDesign();
  if (k == 1) {
    d.R1 = 10000;
    d.R2 = 10000;
    d.C1 = 1e-9;
    for (int i = 1; i <= 3; ++i)
      VariantMarker(canvas, i, 10 * u + 25 * u * (i - 1), 6 * v, u);
    return true;
  }
  if (k == 8) {
    for (int i = 1; i <= 2; ++i)
      VariantMarker(canvas, i, 10 * u + 35 * u * (i - 1), 8 * v, u);
  }
  if (k == 12) {
    d.R1 = 1000;
    d.R2 = 10000;
    d.C1 = 1.5e-9;
    d.C2 = 1e-8;
    d.C3 = 1e-4;
    d.C4 = 1e-4;
    return true;
  }
  return false;
}

// The page's notes, and the CMOS marks of application 13.
void DrawNotes(Canvas& canvas, int k, Int u, Int v, Int h) {
  for (const Note& note : kNotes) {
    if (note.app != k) continue;
    Int x = note.columns * u;
    const Int y = note.rows * v + (note.halfRow ? v / 2 : Int(0)) + note.line * h;
    if (note.rightAligned) x = x - canvas.TextWidth(note.text);
    canvas.TextOut(x, y, note.text);
  }
  if (k == 13) {
    // Two tall green asterisks mark the CMOS connection; the height is
    // doubled and halved back exactly.
    canvas.SetFontColor(kGreen);
    const int height = canvas.FontHeight();
    canvas.SetFontHeight(Int(height) * 2);
    canvas.TextOut(32 * u, 28 * v, "*");
    canvas.TextOut(35 * u, 31 * v, "*");
    canvas.SetFontHeight(canvas.FontHeight() / 2);
    canvas.TextOut(37 * u, 31 * v + v / 2, "for CMOS timer, connect to Vcc.");
    canvas.SetFontColor(kBlack);
  }
}

}  // namespace

void ShowApplicationPage(Canvas& canvas, StringHolders& holders) {
  const int k = Global::Page().ApplicationIndex;
  const int W = canvas.Width(), H = canvas.Height();
  DrawingState& st = Global::Drawing();
  st.GridUnitY = H / 35;
  st.GridUnitX = W / 75;
  const Int u(st.GridUnitX), v(st.GridUnitY);
  canvas.SetFontName(kFontName);
  canvas.SetFontSize(10);
  canvas.SetBrushColor(kWhite);
  canvas.FillRect({0, 0, W, H});
  if (k < 1 || k > kApplicationCount) return;
  const Int h(canvas.TextHeight("Ably"));
  LoadCircuitBlock(holders.SHCircuits, ApplicationBlock(k), holders.SHBuffer);
  canvas.SetFontName(kFontName);
  const bool showValues = SetApplicationParts(canvas, k, u, v);
  DrawNotes(canvas, k, u, v, h);
  canvas.SetFontUnderline(true);
  const int size = canvas.FontSize();
  canvas.SetFontSize(Int(size) * 13 / 10);  // 10 points × 1.3
  canvas.TextOut(2 * u, v, holders.SHApps.LineOrEmpty(k - 1));
  canvas.SetFontSize(size);

  Global::Page().SchematicRect = {0, 0, W, H};
  DrawCircuit(holders.SHBuffer, canvas, Global::Page().SchematicRect, showValues);
}

}  // namespace timer555
