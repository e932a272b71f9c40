#include "app/shell.h"

#include "analysis/check.h"
#include "app/layout.h"
#include "design/adjustment.h"
#include "design/application_pages.h"
#include "design/data_pages.h"
#include "design/design_pages.h"
#include "design/input_panel.h"
#include "design/timer_equations.h"
#include "format/pmisc.h"
#include "render/draw555.h"
#include "state/global.h"

namespace timer555 {

namespace {

// The two data pages, as the data list names them.
constexpr const char* kDataPageTitles[] = {"Selecting components", "Typical Timer specifications"};

}  // namespace

void MainShell::FormCreate(Canvas& menuBar) {
  Global::Page().PageMode = PageMode::Other;
  view_.SetCaption(kDefaultCaption);
  menu_ = DrawMenuBar(menuBar, menuBar.Height());
  DrawStartPage(view_.PageCanvas());
}

void MainShell::FormShow() {
  ShowInputPanel(view_, Panel::Hidden);
}

void MainShell::Image1MouseDown(int x, int) {
  view_.SetCaption(kDefaultCaption);
  PageState& page = Global::Page();
  page.DesignPageShown = false;
  page.Calculated = false;
  page.ClearHitRects();
  const MenuItem item = MenuItemAt(menu_, x);
  if (item == MenuItem::Design)
    pageTitle_ = "Design selection";
  else if (item != MenuItem::None && item != MenuItem::Quit)
    pageTitle_ = MenuCaptions()[static_cast<size_t>(item)];
  switch (item) {
    case MenuItem::Design:
      ShowDesignSelection();
      break;
    case MenuItem::Applications:
      ShowApplicationList();
      break;
    case MenuItem::Data:
      ShowDataList();
      break;
    case MenuItem::Quit:
      view_.CloseWindow();
      break;
    case MenuItem::Help:
      ShowHelpPage();
      break;
    case MenuItem::Companion:
      ShowQuellboxPage();
      break;
    case MenuItem::None:
      break;
  }
}

void MainShell::Image2MouseDown(int x, int y) {
  PageState& page = Global::Page();
  Canvas& canvas = view_.PageCanvas();
  const int w = canvas.Width();
  const int h = canvas.Height();
  if (page.DesignPageShown) {
    // The cursor the last mouse movement chose tells what the click adjusts.
    if (view_.PageCursor() == kCursorCapacitor) AdjustCapacitor();
    if (view_.PageCursor() == kCursorResistor) AdjustResistor();
    return;
  }
  switch (page.PageMode) {
    case PageMode::Designs: {
      TimerDesignState& design = Global::TimerDesign();
      view_.SetText(Control::NumEdit1, "");
      view_.SetText(Control::NumEdit2, "");
      Canvas& waveform = view_.WaveformCanvas();
      FillPageWhite(waveform);
      view_.DescribeWaveform("");
      design.DesignMode = DesignAt(x, y, w, h);
      OpenDesignPage(view_, holders_);
      page.DesignPageShown = true;
      pageTitle_ = view_.Caption();
      break;
    }
    case PageMode::Applications:
      page.ApplicationIndex = ApplicationAt(x, y, w, h);
      ShowApplicationPage(canvas, holders_);
      pageTitle_ = holders_.SHApps.LineOrEmpty(page.ApplicationIndex - 1);
      view_.SetCaption(kDefaultCaption);
      page.PageMode = PageMode::Other;
      break;
    case PageMode::DataList:
      if (DataPageAt(x, w) == DataPage::Components)
        ShowComponentPage(canvas, holders_);
      else
        ShowSpecificationPage(canvas, holders_);
      pageTitle_ = kDataPageTitles[DataPageAt(x, w) == DataPage::Components ? 0 : 1];
      view_.SetCaption(kDefaultCaption);
      page.PageMode = PageMode::Other;
      break;
    default:
      break;
  }
}

void MainShell::Image2MouseMove(int x, int y) {
  PageState& page = Global::Page();
  if (page.DesignPageShown && page.Calculated) {
    if (page.CapacitorHitRect.Contains(x, y)) {
      view_.SetPageCursor(kCursorCapacitor);
      return;
    }
    for (int i = 1; i <= 2; ++i) {
      if (page.ResistorHitRects[static_cast<size_t>(i)].Contains(x, y)) {
        view_.SetPageCursor(kCursorResistor);
        page.ResistorUnderCursor = i;
        return;
      }
    }
  }
  view_.SetPageCursor(kCursorDefault);
}

void MainShell::Calculate() {
  CalculateDesign(view_, holders_.SHBuffer);
  const TimerDesignState& d = Global::TimerDesign();
  calculated_ = {d.R1Ref, d.R2Ref, d.C1Ref};
}

void MainShell::Image3Click() {
  if (ValidateInput(view_)) Calculate();
}

void MainShell::Image4MouseDown(int x, int) {
  if (ValidateInput(view_)) {
    const int width = MainWindowLayout()[LayoutControl::Image4].scaled.width;
    const ArrowHit hit = ArrowAt(x, width);
    if (hit != ArrowHit::Gap) {
      const StepDirection step = hit == ArrowHit::Up ? StepDirection::Up : StepDirection::Down;
      if (view_.Checked(Control::RB1)) {
        StepCapacitor(step);
        Calculate();
      } else if (view_.Checked(Control::RB2)) {
        StepTimerVariant(step);
        DrawCircuit(holders_.SHBuffer, view_.PageCanvas(), Global::Page().SchematicRect, true);
      }
    }
  }
  // Stored even when the fields were refused or the timer arrows were used:
  // the adjustment band then follows whatever the parts are now.
  StoreReferenceValues(view_);
}

void MainShell::AdjustCapacitor() {
  Global::Adjust().AdjustIsCapacitor = true;
  view_.RunAdjustDialog();
  RecalculateFromComponents(view_, holders_.SHBuffer);
}

void MainShell::AdjustResistor() {
  Global::Adjust().AdjustIsCapacitor = false;
  view_.RunAdjustDialog();
  RecalculateFromComponents(view_, holders_.SHBuffer);
}

std::vector<DrawnItem> MainShell::MenuBarItems() const {
  std::vector<DrawnItem> items;
  items.reserve(kMenuItemCount);
  for (int i = 0; i < kMenuItemCount; ++i)
    items.push_back({MenuCaptions()[static_cast<size_t>(i)], menu_.items[static_cast<size_t>(i)]});
  return items;
}

std::string MainShell::ResultSentence() const {
  const PageState& page = Global::Page();
  if (!page.DesignPageShown || !page.Calculated) return "";
  const TimerDesignState& d = Global::TimerDesign();
  std::string sentence;
  for (int i = 1; i <= 2; ++i)
    if (!page.ResistorHitRects[static_cast<size_t>(i)].IsEmpty())
      sentence += "R" + std::to_string(i) + " " +
                  SpokenValue(FormatResistance(i == 1 ? d.R1 : d.R2), false) + ", ";
  sentence += "C1 " + SpokenValue(FormatCapacitance(d.C1), true) + ", ";
  if (d.DesignMode == 4) {
    sentence += "pulse " + view_.Text(Control::NumEdit1) + " seconds";
  } else {
    sentence +=
        view_.Text(Control::NumEdit1) + " hertz, " + view_.Text(Control::NumEdit2) + " percent";
  }
  switch (Global::Drawing().TimerVariant) {
    case TimerVariant::Timer556A:
      return sentence + ", 556 half A";
    case TimerVariant::Timer556B:
      return sentence + ", 556 half B";
    case TimerVariant::Timer555:
      break;
  }
  return sentence;
}

std::vector<DrawnItem> MainShell::PageItems() const {
  const PageState& page = Global::Page();
  Canvas& canvas = view_.PageCanvas();
  const int w = canvas.Width();
  const int h = canvas.Height();
  std::vector<DrawnItem> items;
  if (page.DesignPageShown) {
    if (!page.Calculated) return items;
    // Each part with the value the schematic prints beside it, in words.
    const TimerDesignState& d = Global::TimerDesign();
    items.push_back({"C1, " + SpokenValue(FormatCapacitance(d.C1), true), page.CapacitorHitRect});
    for (int i = 1; i <= 2; ++i) {
      const HitArea& r = page.ResistorHitRects[static_cast<size_t>(i)];
      const double ohms = i == 1 ? d.R1 : d.R2;
      if (!r.IsEmpty())
        items.push_back(
            {"R" + std::to_string(i) + ", " + SpokenValue(FormatResistance(ohms), false), r});
    }
    return items;
  }
  // The pixels each item takes are those the click handler maps to it.
  switch (page.PageMode) {
    case PageMode::Designs: {
      const auto areas = PickAreas(4, w, h, [&](int x, int y) { return DesignAt(x, y, w, h); });
      for (int i = 0; i < 4; ++i) {
        items.push_back(
            {holders_.SHDesign.LineOrEmpty(3 * i) + " " + holders_.SHDesign.LineOrEmpty(3 * i + 1),
             areas[static_cast<size_t>(i)]});
      }
      break;
    }
    case PageMode::Applications: {
      const auto areas =
          PickAreas(14, w, h, [&](int x, int y) { return ApplicationAt(x, y, w, h); });
      for (int i = 0; i < 14; ++i)
        items.push_back({holders_.SHApps.LineOrEmpty(i), areas[static_cast<size_t>(i)]});
      break;
    }
    case PageMode::DataList: {
      const auto areas = PickAreas(
          2, w, h, [&](int x, int) { return DataPageAt(x, w) == DataPage::Components ? 1 : 2; });
      items.push_back({kDataPageTitles[0], areas[0]});
      items.push_back({kDataPageTitles[1], areas[1]});
      break;
    }
    default:
      break;
  }
  return items;
}

std::vector<DrawnItem> MainShell::ArrowItems() {
  const int width = MainWindowLayout()[LayoutControl::Image4].scaled.width;
  const int height = MainWindowLayout()[LayoutControl::Image4].scaled.height;
  const auto areas = PickAreas(2, width, height, [&](int x, int) {
    const ArrowHit hit = ArrowAt(x, width);
    return hit == ArrowHit::Up ? 1 : hit == ArrowHit::Down ? 2 : 0;
  });
  return {{"Up", areas[0]}, {"Down", areas[1]}};
}

void MainShell::ShowDesignSelection() {
  ShowInputPanel(view_, Panel::Hidden);
  Global::Page().PageMode = PageMode::Designs;
  DrawDesignSelection(view_.PageCanvas(), holders_.SHDesign);
}

void MainShell::ShowApplicationList() {
  Global::Page().PageMode = PageMode::Applications;
  ShowInputPanel(view_, Panel::Hidden);
  DrawApplicationList(view_.PageCanvas(), holders_.SHApps);
}

void MainShell::ShowDataList() {
  Global::Page().PageMode = PageMode::DataList;
  ShowInputPanel(view_, Panel::Hidden);
  DrawDataList(view_.PageCanvas());
}

void MainShell::ShowHelpPage() {
  ShowInputPanel(view_, Panel::Hidden);
  Global::Page().PageMode = PageMode::TextPage;
  DrawTextPage(view_.PageCanvas(), holders_.SHHelp);
}

void MainShell::ShowQuellboxPage() {
  ShowInputPanel(view_, Panel::Hidden);
  Global::Page().PageMode = PageMode::TextPage;
  DrawTextPage(view_.PageCanvas(), holders_.SH_Quellbox);
}

std::optional<DesignSnapshot> MainShell::CheckedDesign() const {
  const PageState& page = Global::Page();
  if (!page.DesignPageShown || !page.Calculated) return std::nullopt;
  const TimerDesignState& d = Global::TimerDesign();
  const auto kind = DesignKindOf(d.DesignMode);
  if (!kind) return std::nullopt;
  const std::array<double, 3> refs = calculated_.value_or(std::array{d.R1Ref, d.R2Ref, d.C1Ref});
  return SnapshotWithTargets(*kind, d.R1, d.R2, d.C1, refs[0], refs[1], refs[2]);
}

void MainShell::AnnounceDesign() {
  const std::optional<DesignSnapshot> design = CheckedDesign();
  if (design == announced_) return;
  announced_ = design;
  if (observer_) observer_(announced_);
}

TimerDesignState MainShell::TypedDesign() const {
  return DesignAsTyped(Global::TimerDesign(), view_.Text(Control::NumEdit1),
                       view_.Text(Control::NumEdit2));
}

std::optional<std::string> MainShell::ApplyParts(double c1, double r1, std::optional<double> r2) {
  const PartsReach reach = ReachParts(TypedDesign(), c1, r1, r2);
  if (!reach.reachable) {
    view_.ShowError(reach.reason);
    return reach.reason;
  }
  // The C1 arrows, one click at a time as the user would make them: each
  // recalculates and takes the new parts as the adjustment's references.
  const StepDirection step = reach.steps > 0 ? StepDirection::Up : StepDirection::Down;
  for (int k = 0; k < std::abs(reach.steps); ++k) {
    if (!ValidateInput(view_)) return std::string("the entry fields do not hold a design");
    StepCapacitor(step);
    Calculate();
    StoreReferenceValues(view_);
  }
  return ApplyStandardResistors(r1, r2);
}

std::optional<std::string> MainShell::ApplyStandardResistors(double r1, std::optional<double> r2) {
  const TimerDesignState before = Global::TimerDesign();
  const int under = Global::Page().ResistorUnderCursor;
  std::vector<std::pair<int, double>> parts = {{1, r1}};
  if (r2) parts.emplace_back(2, *r2);
  for (const auto& [index, ohms] : parts) {
    if (auto refused = ApplyAdjustment(ResistorEntry(index, ohms))) {
      Global::TimerDesign() = before;
      Global::Page().ResistorUnderCursor = under;
      view_.ShowError(*refused);
      return refused;
    }
  }
  Global::Page().ResistorUnderCursor = under;
  RecalculateFromComponents(view_, holders_.SHBuffer);
  return std::nullopt;
}

void MainShell::DrawDesignPage(Canvas& canvas) const {
  const PageState& page = Global::Page();
  canvas.SetBrushColor(kWhite);
  canvas.FillRect({0, 0, canvas.Width(), canvas.Height()});
  DrawCircuit(holders_.SHBuffer, canvas, page.SchematicRect, page.Calculated);
}

}  // namespace timer555
