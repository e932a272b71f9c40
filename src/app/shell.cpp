#include "app/shell.h"

#include "app/global.h"
#include "design/application_pages.h"
#include "design/data_pages.h"
#include "design/design_pages.h"

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
    // The component dialogs arrive with the adjustment dialog; the cursor
    // already tells which component a click would adjust.
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
