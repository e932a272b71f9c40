// A design made the way a screen reader makes it: through the accessible
// names, roles and press actions alone.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QTest>

#include "app/image_control.h"
#include "app/main_window.h"
#include "app/window_fixture.h"
#include "components/num_edit.h"
#include "state/global.h"

namespace timer555 {
namespace {

class AccessibilityTest : public WindowTest {
 protected:
  static QAccessibleInterface* Of(QWidget* w) { return QAccessible::queryAccessibleInterface(w); }
  static QString Name(QAccessibleInterface* i) { return i->text(QAccessible::Name); }
  static std::vector<QString> ChildNames(QAccessibleInterface* i) {
    std::vector<QString> names;
    for (int k = 0; k < i->childCount(); ++k)
      names.push_back(Name(i->child(k)));
    return names;
  }
  static void Press(QAccessibleInterface* i) {
    QAccessibleActionInterface* action = i->actionInterface();
    ASSERT_NE(action, nullptr);
    ASSERT_TRUE(action->actionNames().contains(QAccessibleActionInterface::pressAction()));
    action->doAction(QAccessibleActionInterface::pressAction());
  }
  // The child of `parent` named `name`.
  static QAccessibleInterface* Child(QAccessibleInterface* parent, const QString& name) {
    for (int k = 0; k < parent->childCount(); ++k)
      if (Name(parent->child(k)) == name) return parent->child(k);
    ADD_FAILURE() << "no item " << name.toStdString();
    return nullptr;
  }
};

TEST_F(AccessibilityTest, ControlsHaveNamesAndRoles) {
  EXPECT_EQ(Name(Of(window->NumEdit1)), "Frequency");
  EXPECT_EQ(Name(Of(window->NumEdit2)), "Duty Cycle");
  EXPECT_EQ(Of(window->NumEdit1)->role(), QAccessible::EditableText);
  EXPECT_EQ(Name(Of(window->RB1)), "C1");
  EXPECT_EQ(Name(Of(window->RB2)), "Timer");
  EXPECT_EQ(Of(window->RB1)->role(), QAccessible::RadioButton);
  EXPECT_EQ(Name(Of(window->GB1)), "Enter:");
  EXPECT_EQ(Name(Of(window->Image3)), "Calculate");
  EXPECT_EQ(Of(window->Image3)->role(), QAccessible::Button);
  EXPECT_EQ(Of(window->Image3)->childCount(), 0);
  EXPECT_EQ(Name(Of(window->Image5)), "Output waveform");
  EXPECT_EQ(Name(Of(window->ListBox1)), "E12 values");

  QAccessibleInterface* bar = Of(window->Image1);
  EXPECT_EQ(bar->role(), QAccessible::MenuBar);
  const auto captions = ChildNames(bar);
  ASSERT_EQ(captions.size(), 6u);
  for (size_t k = 0; k < captions.size(); ++k) {
    EXPECT_EQ(captions[k], ToQString(MenuCaptions()[k]));
    EXPECT_EQ(bar->child(static_cast<int>(k))->role(), QAccessible::MenuItem);
    EXPECT_EQ(bar->indexOfChild(bar->child(static_cast<int>(k))), static_cast<int>(k));
    EXPECT_EQ(bar->child(static_cast<int>(k))->parent(), bar);
  }
  // The start page offers nothing to click.
  EXPECT_EQ(Of(window->Image2)->childCount(), 0);
}

TEST_F(AccessibilityTest, DesignMadeThroughTheAccessibleInterface) {
  QAccessibleInterface* bar = Of(window->Image1);
  QAccessibleInterface* page = Of(window->Image2);
  Press(Child(bar, "Design"));
  EXPECT_EQ(ChildNames(page),
            (std::vector<QString>{"Astable (Duty cycle > 50%)", "Astable (Duty cycle = 50%)",
                                  "Astable (Duty cycle < 50%)", "Monostable (One-shot)"}));
  Press(Child(page, "Astable (Duty cycle > 50%)"));
  ASSERT_TRUE(Global::Page().DesignPageShown);
  EXPECT_EQ(Global::TimerDesign().DesignMode, 1);
  EXPECT_TRUE(window->NumEdit1->isVisible());

  window->NumEdit1->setFocus();
  QTest::keyClicks(window->NumEdit1, "1000");
  QTest::keyClicks(window->NumEdit2, "60");
  Press(Of(window->Image3));
  ASSERT_TRUE(Global::Page().Calculated);
  // Each part says the value the schematic prints beside it, in words.
  EXPECT_EQ(ChildNames(page),
            (std::vector<QString>{"C1, 100 nanofarads", "R1, 2.885 kilohms", "R2, 5.771 kilohms"}));
  // The waveform says its times.
  EXPECT_EQ(Of(window->Image5)->text(QAccessible::Description),
            "output high for 600.0 microseconds, low for 400.0 microseconds");
  // Each part's item lies where the schematic puts it.
  const QRect c1 = Child(page, "C1, 100 nanofarads")->rect();
  const HitArea& hit = Global::Page().CapacitorHitRect;
  EXPECT_EQ(c1.topLeft(), window->Image2->mapToGlobal(QPoint(hit.left, hit.top)));

  // The arrows step C1 through the E12 values.
  QAccessibleInterface* arrows = Of(window->Image4);
  EXPECT_EQ(ChildNames(arrows), (std::vector<QString>{"Up", "Down"}));
  const int before = Global::TimerDesign().E12Index;
  Press(Child(arrows, "Up"));
  EXPECT_NE(Global::TimerDesign().E12Index, before);
}

TEST_F(AccessibilityTest, ListsOfferTheirEntries) {
  QAccessibleInterface* bar = Of(window->Image1);
  QAccessibleInterface* page = Of(window->Image2);
  Press(Child(bar, "Applications"));
  const auto apps = ChildNames(page);
  ASSERT_EQ(apps.size(), 14u);
  EXPECT_EQ(apps[0], "Triggering in monostable mode");
  EXPECT_EQ(apps[13], "DC voltage doubler");
  Press(Child(page, "Voltage-controlled oscillator"));
  EXPECT_EQ(Global::Page().ApplicationIndex, 9);
  // An application page is not a list: nothing is left to press.
  EXPECT_EQ(page->childCount(), 0);

  Press(Child(bar, "Data"));
  EXPECT_EQ(ChildNames(page),
            (std::vector<QString>{"Selecting components", "Typical Timer specifications"}));
}

// Without a mouse: Tab walks the design panel's fields and then the radio
// buttons, as Enter does from the first field.
// Tab goes round every control that acts, in the order they are read:
// the menu bar, the page, the fields, Calculate, C1 or Timer, the arrows.
TEST_F(AccessibilityTest, TabWalksTheWindow) {
  window->activateWindow();
  QApplication::processEvents();
  const auto walk = [&](Qt::Key key) {
    QStringList names;
    for (int i = 0; i < 7; ++i) {
      QTest::keyClick(QApplication::focusWidget(), key);
      names << QApplication::focusWidget()->objectName();
    }
    return names;
  };
  // The start page: the menu bar and the page alone.
  window->Image1->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(walk(Qt::Key_Tab).mid(0, 2), (QStringList{"Image2", "Image1"}));
  Press(Child(Of(window->Image1), "Design"));
  Press(Child(Of(window->Image2), "Astable (Duty cycle > 50%)"));
  window->Image1->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(walk(Qt::Key_Tab),
            (QStringList{"Image2", "NumEdit1", "NumEdit2", "Image3", "RB1", "Image4", "Image1"}));
  EXPECT_EQ(walk(Qt::Key_Backtab),
            (QStringList{"Image4", "RB1", "Image3", "NumEdit2", "NumEdit1", "Image2", "Image1"}));
}

// A reader reads what each page writes: the help, the data pages, the
// values beside the parts.
TEST_F(AccessibilityTest, ThePagesTextIsReadable) {
  Press(Child(Of(window->Image1), "Help"));
  EXPECT_TRUE(window->Image2->accessibleDescription().contains(
      "[3] Change capacitor values with up/down arrow keys."))
      << window->Image2->accessibleDescription().toStdString();
  Press(Child(Of(window->Image1), "Data"));
  Press(Child(Of(window->Image2), "Typical Timer specifications"));
  const QString table = window->Image2->accessibleDescription();
  EXPECT_GT(table.count('\n'), 5) << table.toStdString();
  Press(Child(Of(window->Image1), "Design"));
  Press(Child(Of(window->Image2), "Astable (Duty cycle > 50%)"));
  window->NumEdit1->SetProgramText("1000");
  window->NumEdit2->SetProgramText("75");
  Press(Of(window->Image3));
  const QString page = window->Image2->accessibleDescription();
  EXPECT_TRUE(page.contains("7.214K")) << page.toStdString();
  EXPECT_TRUE(page.contains("100nF")) << page.toStdString();
}

// A reader opens the page's menu with its "show menu" action.
TEST_F(AccessibilityTest, ThePagesMenuIsAnAction) {
  QAccessibleActionInterface* actions = Of(window->Image2)->actionInterface();
  ASSERT_NE(actions, nullptr);
  ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::showMenuAction()));
  EXPECT_FALSE(Of(window->Image1)
                   ->actionInterface()
                   ->actionNames()
                   .contains(QAccessibleActionInterface::showMenuAction()))
      << "the menu bar has no menu of its own";
  actions->doAction(QAccessibleActionInterface::showMenuAction());
  QTRY_VERIFY(window->PageMenu()->isVisible());
  window->PageMenu()->close();
}

// The items of an earlier page are gone when the page changes: their
// identities answer nothing (a reader that kept one cannot press it or hear
// an old name), and the new page's items come under new identities.
TEST_F(AccessibilityTest, ItemsOfAnEarlierPageAreGone) {
  QAccessibleInterface* page = Of(window->Image2);
  Press(Child(Of(window->Image1), "Applications"));
  const int before = page->childCount();
  const QAccessible::Id first = QAccessible::uniqueId(page->child(0));
  const QAccessible::Id last = QAccessible::uniqueId(page->child(before - 1));
  const QString firstName = Name(page->child(0));
  Press(Child(Of(window->Image1), "Data"));
  EXPECT_EQ(Global::Page().PageMode, PageMode::DataList);
  EXPECT_EQ(QAccessible::accessibleInterface(first), nullptr);
  EXPECT_EQ(QAccessible::accessibleInterface(last), nullptr);
  ASSERT_GT(page->childCount(), 0);
  EXPECT_NE(QAccessible::uniqueId(page->child(0)), first);
  EXPECT_NE(Name(page->child(0)), firstName);
}

// Up and Down keep to the column of the 2 x 2 design grid; with nothing
// further that way they step on, as Right does.
TEST_F(AccessibilityTest, UpAndDownKeepToTheColumnOfTheGrid) {
  Press(Child(Of(window->Image1), "Design"));
  window->Image2->setFocus(Qt::TabFocusReason);
  window->Image2->SetCurrentItem(0);
  const auto marked = [this] {
    return window->Image2->AccessibleItems()[static_cast<size_t>(window->Image2->CurrentItem())]
        .name;
  };
  QTest::keyClick(window->Image2, Qt::Key_Down);
  EXPECT_EQ(marked(), "Astable (Duty cycle < 50%)");
  QTest::keyClick(window->Image2, Qt::Key_Up);
  EXPECT_EQ(marked(), "Astable (Duty cycle > 50%)");
  QTest::keyClick(window->Image2, Qt::Key_Right);
  QTest::keyClick(window->Image2, Qt::Key_Down);
  EXPECT_EQ(marked(), "Monostable (One-shot)");
  QTest::keyClick(window->Image2, Qt::Key_Down);
  EXPECT_EQ(marked(), "Astable (Duty cycle > 50%)") << "on past the last";
}

// Another page puts the keyboard's mark on its first part.
TEST_F(AccessibilityTest, TheMarkStartsAtTheFirstPartOfANewPage) {
  Press(Child(Of(window->Image1), "Applications"));
  window->Image2->setFocus(Qt::TabFocusReason);
  window->Image2->SetCurrentItem(5);
  Press(Child(Of(window->Image1), "Data"));
  EXPECT_EQ(window->Image2->CurrentItem(), 0);
}

}  // namespace
}  // namespace timer555
