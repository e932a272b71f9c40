#pragma once

#include <array>

#include "analysis/real_world.h"
#include "app/pages.h"
#include "components/holders.h"
#include "design/shell_view.h"
#include "state/global.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace timer555 {

// Something drawn that a click operates: a menu caption, a design, an
// application, a part of the schematic. A click at the area's centre hits it.
struct DrawnItem {
  std::string name;
  HitArea area;  // in the picture's own pixels
};

// The main window's behaviour without its widgets: the menu bar, the page
// navigation and the page-area clicks. TfmMain forwards its events here.
class MainShell {
 public:
  MainShell(ShellView& view, StringHolders& holders) : view_(view), holders_(holders) {}

  // Creation: menu bar and start page, drawn into their canvases.
  void FormCreate(Canvas& menuBar);
  // The window is about to be shown: the panel is hidden and reset.
  void FormShow();

  void Image1MouseDown(int x, int y);
  void Image2MouseDown(int x, int y);
  void Image2MouseMove(int x, int y);
  // The Calculate button.
  void Image3Click();
  // The arrow image, `x` in its pixels.
  void Image4MouseDown(int x, int y);

  void ShowDesignSelection();
  void ShowApplicationList();
  void ShowDataList();
  void ShowHelpPage();
  void ShowQuellboxPage();

  // The adjustment dialog for C1 or for the resistor last under the mouse,
  // then the recalculation from the parts, whether or not the entry was taken.
  void AdjustCapacitor();
  void AdjustResistor();

  // What the menu bar, the page and the arrows offer to be clicked now, for
  // screen readers.
  std::vector<DrawnItem> MenuBarItems() const;
  std::vector<DrawnItem> PageItems() const;
  // The calculated design in one sentence, as a screen reader says it after
  // a change: "R1 3.607 kilohms, R2 10.82 kilohms, C1 100 nanofarads,
  // 1000 hertz, 25 percent" (the one-shot: its pulse in seconds), and the
  // chip where it is a 556 half; empty where nothing is calculated.
  std::string ResultSentence() const;
  static std::vector<DrawnItem> ArrowItems();
  // What the page on show is, in words: "Design selection", an application's
  // name, a design's title.
  const std::string& PageTitle() const noexcept { return pageTitle_; }

  // The design on show for the real-world check, when it has been calculated:
  // its parts and the targets it was solved for.
  std::optional<DesignSnapshot> CheckedDesign() const;
  // Who hears of a change of the checked design (a calculation, an arrow, an
  // adjustment, another page), and the call that tells them: after every
  // event, and only when the design differs from the one last announced.
  using DesignObserver = std::function<void(const std::optional<DesignSnapshot>&)>;
  void SetDesignObserver(DesignObserver observer) { observer_ = std::move(observer); }
  void AnnounceDesign();
  // Enters standard resistors as the adjustment dialog would (R2 only where
  // given), then recalculates. Outside the dialog's band nothing changes and
  // the refusal is shown; returns it.
  std::optional<std::string> ApplyStandardResistors(double r1, std::optional<double> r2);
  // Enters a set of parts through the window's own paths: the C1 arrows to
  // `c1`, then the adjustment dialog for R1 (and R2). Where they cannot
  // reach it nothing changes and the reason is shown; returns it.
  std::optional<std::string> ApplyParts(double c1, double r1, std::optional<double> r2);
  // The design with the targets as the entry fields hold them: what the next
  // arrow click solves for.
  TimerDesignState TypedDesign() const;
  // The page area drawn again onto another canvas: the design page's schematic.
  void DrawDesignPage(Canvas& canvas) const;

  const MenuLayout& Menu() const noexcept { return menu_; }
  StringHolders& Holders() noexcept { return holders_; }

 private:
  // Calculates and notes the parts it chose: the check's targets.
  void Calculate();

  ShellView& view_;
  StringHolders& holders_;
  MenuLayout menu_;
  // The parts of the last calculation (R1, R2, C1). The reference values
  // follow the adjusted parts after a click on the timer arrows; the targets
  // the check measures against do not, as on the command line.
  std::optional<std::array<double, 3>> calculated_;
  DesignObserver observer_;
  std::optional<DesignSnapshot> announced_;
  std::string pageTitle_ = "Start page";
};

}  // namespace timer555
