#include "app/shell.h"

#include "app/global.h"
#include "app/layout.h"
#include "design/adjustment.h"
#include "design/application_pages.h"
#include "design/data_pages.h"
#include "design/design_pages.h"
#include "design/input_panel.h"
#include "design/timer_equations.h"
#include "render/draw555.h"

namespace timer555 {

void MainShell::FormCreate(Canvas& menuBar) {
  Global::Page().PageMode = 0;
  view_.SetCaption(kDefaultCaption);
  menu_ = DrawMenuBar(menuBar, menuBar.Height());
  DrawStartPage(view_.PageCanvas());
}

void MainShell::FormShow() {
  ShowInputPanel(view_, false);
}

void MainShell::Image1MouseDown(int x, int) {
  view_.SetCaption(kDefaultCaption);
  PageState& page = Global::Page();
  page.DesignPageShown = false;
  page.Calculated = false;
  page.ClearHitRects();
  switch (MenuItemAt(menu_, x)) {
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
    case 1: {
      TimerDesignState& design = Global::TimerDesign();
      design.DesignMode = 1;
      view_.SetText(Control::NumEdit1, "");
      view_.SetText(Control::NumEdit2, "");
      Canvas& waveform = view_.WaveformCanvas();
      FillPageWhite(waveform);
      if (x > w / 2) design.DesignMode += 1;
      if (y > h / 2) design.DesignMode += 2;
      OpenDesignPage(view_, holders_);
      page.DesignPageShown = true;
      break;
    }
    case 2:
      page.ApplicationIndex = (7 * y) / h + (x > w / 2 ? 7 : 0) + 1;
      ShowApplicationPage(canvas, holders_);
      view_.SetCaption(kDefaultCaption);
      page.PageMode = 0;
      break;
    case 3:
      if (x < w / 2)
        ShowComponentPage(canvas, holders_);
      else
        ShowSpecificationPage(canvas, holders_);
      view_.SetCaption(kDefaultCaption);
      page.PageMode = 0;
      break;
    default:
      break;
  }
}

namespace {

bool Inside(const Rect& r, int x, int y) noexcept {
  return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

}  // namespace

void MainShell::Image2MouseMove(int x, int y) {
  PageState& page = Global::Page();
  if (page.DesignPageShown && page.Calculated) {
    if (Inside(page.CapacitorHitRect, x, y)) {
      view_.SetPageCursor(kCursorCapacitor);
      return;
    }
    for (int i = 1; i <= 2; ++i) {
      if (Inside(page.ResistorHitRects[static_cast<size_t>(i)], x, y)) {
        view_.SetPageCursor(kCursorResistor);
        page.ResistorUnderCursor = i;
        return;
      }
    }
  }
  view_.SetPageCursor(kCursorDefault);
}

void MainShell::Image3Click() {
  if (ValidateInput(view_)) CalculateDesign(view_, holders_.SHBuffer);
}

void MainShell::Image4MouseDown(int x, int) {
  if (ValidateInput(view_)) {
    const int width = MainWindowLayout()[LayoutControl::Image4].scaled.width;
    const ArrowHit hit = ArrowAt(x, width);
    if (hit != ArrowHit::Gap) {
      const bool up = hit == ArrowHit::Up;
      if (view_.Checked(Control::RB1)) {
        StepCapacitor(up);
        CalculateDesign(view_, holders_.SHBuffer);
      } else if (view_.Checked(Control::RB2)) {
        StepTimerVariant(up);
        DrawCircuit(holders_.SHBuffer, view_.PageCanvas(), Global::Page().SchematicRect, true);
      }
    }
  }
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

std::vector<DrawnItem> MainShell::PageItems() const {
  const PageState& page = Global::Page();
  Canvas& canvas = view_.PageCanvas();
  const int w = canvas.Width();
  const int h = canvas.Height();
  std::vector<DrawnItem> items;
  if (page.DesignPageShown) {
    if (!page.Calculated) return items;
    items.push_back({"C1", page.CapacitorHitRect});
    for (int i = 1; i <= 2; ++i) {
      const Rect& r = page.ResistorHitRects[static_cast<size_t>(i)];
      if (r.right > r.left) items.push_back({"R" + std::to_string(i), r});
    }
    return items;
  }
  switch (page.PageMode) {
    case 1:
      // The four quadrants, in the order the clicks number the designs.
      for (int i = 0; i < 4; ++i) {
        const int left = i % 2 == 0 ? 0 : w / 2 + 1;
        const int top = i < 2 ? 0 : h / 2 + 1;
        items.push_back(
            {holders_.SHDesign.LineOrEmpty(3 * i) + " " + holders_.SHDesign.LineOrEmpty(3 * i + 1),
             {left, top, i % 2 == 0 ? w / 2 : w - 1, i < 2 ? h / 2 : h - 1}});
      }
      break;
    case 2:
      // Seven rows in two columns; a row holds the y whose (7 * y) / h is its index.
      for (int i = 0; i < 14; ++i) {
        const int row = i % 7;
        const int left = i < 7 ? 0 : w / 2 + 1;
        const int right = i < 7 ? w / 2 : w - 1;
        const int top = (row * h + 6) / 7;
        const int bottom = ((row + 1) * h + 6) / 7 - 1;
        items.push_back({holders_.SHApps.LineOrEmpty(i), {left, top, right, bottom}});
      }
      break;
    case 3:
      items.push_back({"Selecting components", {0, 0, w / 2 - 1, h - 1}});
      items.push_back({"Typical Timer specifications", {w / 2, 0, w - 1, h - 1}});
      break;
    default:
      break;
  }
  return items;
}

std::vector<DrawnItem> MainShell::ArrowItems() {
  const int width = MainWindowLayout()[LayoutControl::Image4].scaled.width;
  const int height = MainWindowLayout()[LayoutControl::Image4].scaled.height;
  int upRight = -1;
  int downLeft = width;
  for (int x = 0; x < width; ++x) {
    const ArrowHit hit = ArrowAt(x, width);
    if (hit == ArrowHit::Up) upRight = x;
    if (hit == ArrowHit::Down && downLeft == width) downLeft = x;
  }
  return {{"Up", {0, 0, upRight, height - 1}}, {"Down", {downLeft, 0, width - 1, height - 1}}};
}

void MainShell::ShowDesignSelection() {
  ShowInputPanel(view_, false);
  Global::Page().PageMode = 1;
  DrawDesignSelection(view_.PageCanvas(), holders_.SHDesign);
}

void MainShell::ShowApplicationList() {
  Global::Page().PageMode = 2;
  ShowInputPanel(view_, false);
  DrawApplicationList(view_.PageCanvas(), holders_.SHApps);
}

void MainShell::ShowDataList() {
  Global::Page().PageMode = 3;
  ShowInputPanel(view_, false);
  DrawDataList(view_.PageCanvas());
}

void MainShell::ShowHelpPage() {
  ShowInputPanel(view_, false);
  Global::Page().PageMode = 4;
  DrawTextPage(view_.PageCanvas(), holders_.SHHelp);
}

void MainShell::ShowQuellboxPage() {
  ShowInputPanel(view_, false);
  Global::Page().PageMode = 4;
  DrawTextPage(view_.PageCanvas(), holders_.SH_Quellbox);
}

}  // namespace timer555
