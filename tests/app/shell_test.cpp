#include "app/shell.h"

#include <gtest/gtest.h>

#include "app/fake_view.h"
#include "state/global.h"

namespace timer555 {
namespace {

using Kind = DrawOp::Kind;

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Global::Reset();
    shell.FormCreate(menuBar);
    shell.FormShow();
    view.page.Clear();
  }

  // The middle of a menu item's rectangle.
  int MenuX(MenuItem item) const {
    const HitArea& r = shell.Menu().items[static_cast<size_t>(item)];
    return (r.left + r.right) / 2;
  }
  void ClickMenu(MenuItem item) { shell.Image1MouseDown(MenuX(item), 20); }

  FakeView view;
  StringHolders holders = LoadBuiltinHolders();
  RecordingCanvas menuBar{650, 42};
  MainShell shell{view, holders};
};

TEST_F(ShellTest, StartsOnTheStartPageWithThePanelHidden) {
  EXPECT_EQ(view.caption, "Version 1.4");
  EXPECT_EQ(Global::Page().PageMode, PageMode::Other);
  EXPECT_FALSE(view.visible[Control::GB1]);
  EXPECT_FALSE(view.visible[Control::GB2]);
  EXPECT_FALSE(view.visible[Control::GB3]);
  EXPECT_EQ(view.text[Control::Label1], "Frequency");
  EXPECT_EQ(view.text[Control::Label4], "Hz");
  EXPECT_TRUE(view.enabled[Control::NumEdit2]);
}

TEST_F(ShellTest, MenuItemsSetThePageMode) {
  const std::pair<MenuItem, PageMode> rows[] = {{MenuItem::Design, PageMode::Designs},
                                                {MenuItem::Applications, PageMode::Applications},
                                                {MenuItem::Data, PageMode::DataList},
                                                {MenuItem::Help, PageMode::TextPage},
                                                {MenuItem::Companion, PageMode::TextPage}};
  for (auto [item, mode] : rows) {
    ClickMenu(item);
    EXPECT_EQ(Global::Page().PageMode, mode);
    EXPECT_FALSE(view.closed);
  }
  ClickMenu(MenuItem::Quit);
  EXPECT_TRUE(view.closed);
}

TEST_F(ShellTest, ClickBetweenItemsOnlyRestoresCaptionAndFlags) {
  ClickMenu(MenuItem::Design);
  shell.Image2MouseDown(10, 10);
  ASSERT_TRUE(Global::Page().DesignPageShown);
  ASSERT_EQ(view.caption, "Astable, Duty Cycle > 50%");
  Global::Page().Calculated = true;
  view.page.Clear();
  const HitArea design = shell.Menu().items[0];
  const HitArea apps = shell.Menu().items[1];
  ASSERT_LT(design.right + 1, apps.left);
  shell.Image1MouseDown(design.right + 1, 20);
  EXPECT_EQ(view.caption, "Version 1.4");
  EXPECT_FALSE(Global::Page().DesignPageShown);
  EXPECT_FALSE(Global::Page().Calculated);
  EXPECT_EQ(Global::Page().PageMode, PageMode::Designs);
  EXPECT_TRUE(view.page.Ops().empty());  // the drawing stays
  // The next page click picks the quadrant under it, as on the selection page.
  shell.Image2MouseDown(600, 300);
  EXPECT_EQ(Global::TimerDesign().DesignMode, 4);
}

TEST_F(ShellTest, DesignQuadrantsWithTheMiddleCountingLeftAndUp) {
  const struct {
    int x, y, mode;
  } rows[] = {{0, 0, 1}, {325, 154, 1}, {326, 154, 2}, {325, 155, 3}, {326, 155, 4}, {649, 307, 4}};
  for (const auto& r : rows) {
    ClickMenu(MenuItem::Design);
    view.text[Control::NumEdit1] = "12";
    shell.Image2MouseDown(r.x, r.y);
    EXPECT_EQ(Global::TimerDesign().DesignMode, r.mode) << r.x << "," << r.y;
    EXPECT_TRUE(Global::Page().DesignPageShown);
    EXPECT_EQ(Global::Page().PageMode, PageMode::Designs);
    EXPECT_EQ(view.text[Control::NumEdit1], "");
    EXPECT_TRUE(view.visible[Control::GB1]);
  }
}

TEST_F(ShellTest, DesignPagesSetUpThePanelAndCapacitor) {
  ClickMenu(MenuItem::Design);
  shell.Image2MouseDown(600, 10);
  EXPECT_EQ(view.caption, "Astable, Duty Cycle = 50%");
  EXPECT_EQ(view.text[Control::NumEdit2], "50");
  EXPECT_FALSE(view.enabled[Control::NumEdit2]);
  EXPECT_EQ(Global::TimerDesign().DutyCycle, 0.5);
  EXPECT_EQ(Global::TimerDesign().DecadeCount, 10);
  ClickMenu(MenuItem::Design);
  shell.Image2MouseDown(600, 300);
  EXPECT_EQ(view.caption, "Monostable  (one-shot)");
  EXPECT_EQ(view.text[Control::Label1], "Pulse length");
  EXPECT_EQ(view.text[Control::Label4], "sec");
  EXPECT_EQ(view.text[Control::NumEdit2], "");
  EXPECT_FALSE(view.enabled[Control::Label2]);
  EXPECT_FALSE(view.enabled[Control::NumEdit2]);
  EXPECT_EQ(Global::TimerDesign().C1, 1e-3);
  EXPECT_EQ(Global::TimerDesign().DecadeCount, 5);
  EXPECT_EQ(Global::TimerDesign().C2, 1e-8);
  EXPECT_EQ(Global::Page().SchematicRect, (Rect{0, 0, 650, 308}));
  // Back to the selection page: the panel is hidden and reset.
  ClickMenu(MenuItem::Design);
  EXPECT_FALSE(view.visible[Control::GB1]);
  EXPECT_EQ(view.text[Control::Label1], "Frequency");
  EXPECT_TRUE(view.enabled[Control::NumEdit2]);
}

TEST_F(ShellTest, ApplicationListRowsFromTheClick) {
  const struct {
    int x, y, index;
  } rows[] = {{10, 0, 1},  {325, 0, 1},  {326, 0, 8},   {10, 43, 1},
              {10, 44, 2}, {10, 307, 7}, {649, 307, 14}};
  for (const auto& r : rows) {
    ClickMenu(MenuItem::Applications);
    shell.Image2MouseDown(r.x, r.y);
    EXPECT_EQ(Global::Page().ApplicationIndex, r.index) << r.x << "," << r.y;
    EXPECT_EQ(Global::Page().PageMode, PageMode::Other);
    EXPECT_EQ(view.caption, "Version 1.4");
  }
}

TEST_F(ShellTest, DataListHalvesWithTheMiddleOpeningSpecifications) {
  ClickMenu(MenuItem::Data);
  shell.Image2MouseDown(324, 100);
  EXPECT_EQ(Global::Page().PageMode, PageMode::Other);
  // A second click on the page that was opened does nothing.
  view.page.Clear();
  shell.Image2MouseDown(324, 100);
  EXPECT_TRUE(view.page.Ops().empty());
  ClickMenu(MenuItem::Data);
  shell.Image2MouseDown(325, 100);
  EXPECT_EQ(Global::Page().PageMode, PageMode::Other);
}

TEST_F(ShellTest, PagesWithoutChoicesIgnoreClicks) {
  for (MenuItem item : {MenuItem::Help, MenuItem::Companion}) {
    ClickMenu(item);
    view.page.Clear();
    shell.Image2MouseDown(300, 150);
    EXPECT_TRUE(view.page.Ops().empty());
    EXPECT_EQ(Global::Page().PageMode, PageMode::TextPage);
  }
  ClickMenu(MenuItem::Design);
  shell.Image2MouseDown(10, 10);
  view.page.Clear();
  // On a design page a click under the default arrow does nothing.
  shell.Image2MouseDown(10, 10);
  EXPECT_TRUE(view.page.Ops().empty());
  EXPECT_EQ(Global::TimerDesign().DesignMode, 1);
}

TEST_F(ShellTest, DesignPickClearsTheWaveform) {
  ClickMenu(MenuItem::Design);
  shell.Image2MouseDown(10, 10);
  const auto fills = view.waveform.OpsOf(Kind::FillRect);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].points[1], (Point{203, 58}));
  EXPECT_EQ(fills[0].brush, kWhite);
}

// Every corner of every offered item is a click on that item: the areas
// follow the click rules exactly, with nothing left between them.
TEST_F(ShellTest, OfferedItemsAreWhereTheClicksGo) {
  const auto corners = [](const HitArea& r) {
    return std::vector<Point>{
        {r.left, r.top}, {r.right, r.top}, {r.left, r.bottom}, {r.right, r.bottom}};
  };
  for (int i = 0; i < 14; ++i) {
    ClickMenu(MenuItem::Applications);
    const auto items = shell.PageItems();
    ASSERT_EQ(items.size(), 14u);
    EXPECT_EQ(items[static_cast<size_t>(i)].name, holders.SHApps.Line(i));
    for (const Point p : corners(items[static_cast<size_t>(i)].area)) {
      ClickMenu(MenuItem::Applications);
      shell.Image2MouseDown(p.x, p.y);
      EXPECT_EQ(Global::Page().ApplicationIndex, i + 1) << p.x << "," << p.y;
    }
  }
  for (int mode = 1; mode <= 4; ++mode) {
    ClickMenu(MenuItem::Design);
    const HitArea area = shell.PageItems()[static_cast<size_t>(mode - 1)].area;
    for (const Point p : corners(area)) {
      ClickMenu(MenuItem::Design);
      shell.Image2MouseDown(p.x, p.y);
      EXPECT_EQ(Global::TimerDesign().DesignMode, mode) << p.x << "," << p.y;
    }
  }
  ClickMenu(MenuItem::Design);
  const auto designs = shell.PageItems();
  EXPECT_EQ(designs[0].area, (HitArea{0, 0, 325, 154}));
  EXPECT_EQ(designs[3].area, (HitArea{326, 155, 649, 307}));
  EXPECT_EQ(designs[3].name, "Monostable (One-shot)");

  const auto menu = shell.MenuBarItems();
  ASSERT_EQ(menu.size(), 6u);
  for (size_t k = 0; k < menu.size(); ++k) {
    EXPECT_EQ(menu[k].name, MenuCaptions()[k]);
    EXPECT_EQ(MenuItemAt(shell.Menu(), menu[k].area.left), static_cast<MenuItem>(k));
    EXPECT_EQ(MenuItemAt(shell.Menu(), menu[k].area.right), static_cast<MenuItem>(k));
  }
  const auto arrows = MainShell::ArrowItems();
  EXPECT_EQ(arrows[0].area, (HitArea{0, 0, 27, 21}));
  EXPECT_EQ(arrows[1].area, (HitArea{34, 0, 61, 21}));
}

}  // namespace
}  // namespace timer555
