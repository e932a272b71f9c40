#include "render/checked.h"

#include <gtest/gtest.h>

#include <limits>

namespace timer555 {
namespace {

template <typename F>
std::string ErrorOf(F&& f) {
  try {
    f();
  } catch (const TimerError& e) {
    return e.what();
  }
  return "no error";
}

TEST(Checked, ArithmeticRaisesIntegerOverflow) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(ErrorOf([] { CheckedAdd(kMax, 1); }), "Integer overflow");
  EXPECT_EQ(ErrorOf([] { CheckedSub(kMin, 1); }), "Integer overflow");
  EXPECT_EQ(ErrorOf([] { CheckedMul(65536, 32768); }), "Integer overflow");
  EXPECT_EQ(CheckedMul(-65536, 32768), kMin);
  EXPECT_EQ(CheckedAdd(kMax - 1, 1), kMax);
}

TEST(Checked, CharAtRaisesRangeCheckError) {
  const std::string s = "M1620";
  EXPECT_EQ(CharAt(s, 1), 'M');
  EXPECT_EQ(CharAt(s, 5), '0');
  EXPECT_EQ(ErrorOf([&] { CharAt(s, 6); }), "Range check error");
  EXPECT_EQ(ErrorOf([&] { CharAt(s, 0); }), "Range check error");
  EXPECT_EQ(ErrorOf([] { CharAt("", 1); }), "Range check error");
}

TEST(Checked, InvalidIntegerNamesTheText) {
  EXPECT_EQ(ErrorOf([] { RaiseInvalidInteger("1x"); }), "'1x' is not a valid integer value");
  EXPECT_EQ(ErrorOf([] { RaiseInvalidInteger(""); }), "'' is not a valid integer value");
}

}  // namespace
}  // namespace timer555

namespace timer555 {
namespace {

// A script byte such as NUL must not cut the error message short.
TEST(InvalidIntegerMessage, ShowsControlCharactersAsQuestionMarks) {
  try {
    StrToInt(std::string("\x05\0", 2));
    FAIL();
  } catch (const TimerError& e) {
    EXPECT_STREQ(e.what(), "'\?\?' is not a valid integer value");
  }
}

}  // namespace
}  // namespace timer555
