#include "components/string_holder.h"

#include <gtest/gtest.h>

#include "components/holders.h"

namespace timer555 {
namespace {

TEST(TStringHolder, SettingStringsCopiesTheLines) {
  std::vector<std::string> source = {"a", "b"};
  TStringHolder holder("SHTest");
  holder.SetStrings(source);
  source[0] = "changed";
  holder.Add("c");
  EXPECT_EQ(holder.Strings(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(source.size(), 2u);
}

TEST(TStringHolder, StartsEmptyAndClears) {
  TStringHolder holder;
  EXPECT_EQ(holder.Count(), 0);
  holder.Add("x");
  holder.Clear();
  EXPECT_EQ(holder.Count(), 0);
}

TEST(BuiltinHolders, HoldTheirTexts) {
  const StringHolders h = LoadBuiltinHolders();
  ASSERT_EQ(h.SHDesign.Count(), 12);
  EXPECT_EQ(h.SHDesign.Line(1), "(Duty cycle > 50%)");
  EXPECT_EQ(h.SHDesign.Line(11), "88");
  ASSERT_EQ(h.SHApps.Count(), 14);
  EXPECT_EQ(h.SHApps.Line(11), "Positive to negative DC converter");
  ASSERT_EQ(h.SHHelp.Count(), 13);
  EXPECT_EQ(h.SHHelp.Line(1), "");
  // Rows 7 to 9 keep their trailing blanks.
  EXPECT_EQ(h.SHHelp.Line(6), "     cursor over component (R1, R2, or C1). The cursor design   ");
  EXPECT_EQ(h.SHHelp.Line(8), "     that now the frequency (or delay) and duty cycle will be ");
  EXPECT_EQ(h.SHHelp.Line(12).rfind("     ", 0), 0u);
  ASSERT_EQ(h.SH_Quellbox.Count(), 11);
  EXPECT_EQ(h.SH_Quellbox.Line(1), "If you like this designer, then you'll love Quellbox.");
  for (int i = 3; i < 11; ++i)
    EXPECT_EQ(h.SH_Quellbox.Line(i).rfind("        ", 0), 0u) << i;
  EXPECT_EQ(h.SHBuffer.Count(), 0);
  EXPECT_EQ(E12Mantissas(), (std::vector<std::string>{"100", "120", "150", "180", "220", "270",
                                                      "330", "390", "470", "560", "680", "820"}));
}

}  // namespace
}  // namespace timer555
