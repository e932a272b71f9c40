#include "format/pmisc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>

#include "format/engineering.h"

namespace timer555 {
namespace {

struct FormatRow {
  const char* name;
  double value;
  const char* expected;
};

class FormatResistanceTest : public ::testing::TestWithParam<FormatRow> {};

TEST_P(FormatResistanceTest, Formats) {
  EXPECT_EQ(FormatResistance(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatResistanceTest,
    ::testing::Values(
        FormatRow{"R4700", 4700, "4.7K"}, FormatRow{"R7213_4752_rounds_twice", 7213.4752, "7.214K"},
        FormatRow{"R12345", 12345, "12.35K"},
        FormatRow{"R1999_63_carry_keeps_zeros", 1999.63, "2.000K"}, FormatRow{"R150", 150, "150"},
        FormatRow{"R2_2M", 2.2e6, "2.2M"}, FormatRow{"R1_5G", 1.5e9, "1.5G"},
        FormatRow{"R0", 0, "  N/A"}, FormatRow{"R999_98_carry_past_first", 999.98, "1000"},
        FormatRow{"R9999_6_carry_past_first", 9999.6, "10.00K"},
        FormatRow{"R999_999_carry_in_kilo", 999999, "1000K"},
        FormatRow{"R1000G_four_digits", 1e12, "1000G"},
        FormatRow{"R1234_5678G_cut_at_point", 1.2345678e12, "1234G"},
        FormatRow{"R1e3_exact_decade", 1000, "1K"}, FormatRow{"R999_99", 999.99, "1000"},
        FormatRow{"R3606_738", 3606.738, "3.607K"}, FormatRow{"Rnegative", -47, "-47"},
        FormatRow{"Rnegative_carry", -99.996, "-100"},
        FormatRow{"Rinf", std::numeric_limits<double>::infinity(), "INF"},
        FormatRow{"Rminus_inf", -std::numeric_limits<double>::infinity(), "-INF"},
        FormatRow{"Rnan", std::numeric_limits<double>::quiet_NaN(), "NAN"},
        // Past five whole digits of the largest unit the exponent is written.
        FormatRow{"R12345G_five_digits", 1.2345e13, "12345G"},
        FormatRow{"R3_07e16_exponent", 3.0696e16, "3.1E16"},
        FormatRow{"R1_5e14_exponent", 1.5e14, "1.5E14"},
        FormatRow{"Rnegative_exponent", -1.5e14, "-1.5E14"},
        FormatRow{"Rmax", std::numeric_limits<double>::max(), "1.8E308"}),
    [](const auto& row) { return std::string(row.param.name); });

class FormatCapacitanceTest : public ::testing::TestWithParam<FormatRow> {};

TEST_P(FormatCapacitanceTest, Formats) {
  EXPECT_EQ(FormatCapacitance(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatCapacitanceTest,
    ::testing::Values(FormatRow{"C56p", 5.6e-11, "56pF"}, FormatRow{"C1n", 1e-9, "1nF"},
                      FormatRow{"C0_999995n_above_limit", 9.99995e-10, "1nF"},
                      FormatRow{"C10n", 1e-8, "10nF"}, FormatRow{"C120n", 1.2e-7, "120nF"},
                      FormatRow{"C1m_in_farads", 1e-3, "0.001"},
                      FormatRow{"C0_0123", 0.0123, "0.012"}, FormatRow{"C0", 0, "0pF"},
                      FormatRow{"C100n", 1e-7, "100nF"}, FormatRow{"C1u", 1e-6, "1uF"},
                      FormatRow{"C999_985p_carry_past_first", 999.985e-12, "1000pF"},
                      FormatRow{"C820n", 8.2e-7, "820nF"},
                      FormatRow{"Cjust_below_nano_limit_carries", 9.9998e-10, "1000pF"},
                      FormatRow{"Cinf", std::numeric_limits<double>::infinity(), "INF"},
                      FormatRow{"Cnan", std::numeric_limits<double>::quiet_NaN(), "NAN"},
                      FormatRow{"Cdenormal", 4.9e-324, "0pF"},
                      FormatRow{"C12345F_five_digits", 12345, "12345"},
                      FormatRow{"C1e7F_exponent", 1.2e7, "1.2E7"}),
    [](const auto& row) { return std::string(row.param.name); });

struct FixedRow {
  const char* name;
  long double value;
  int width;
  int decimals;
  const char* expected;
};

class FloatToFixedTest : public ::testing::TestWithParam<FixedRow> {};

TEST_P(FloatToFixedTest, Formats) {
  const FixedRow& r = GetParam();
  EXPECT_EQ(FloatToFixed(r.value, r.width, r.decimals), r.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FloatToFixedTest,
    ::testing::Values(FixedRow{"v50_w2_d0", 50, 2, 0, "50"},
                      FixedRow{"v1003_456789_w6_d3", 1003.456789L, 6, 3, "1003.457"},
                      FixedRow{"v75_3_w6_d1_padded", 75.3L, 6, 1, "  75.3"},
                      FixedRow{"v0_75_leading_zero", 0.75L, 7, 4, " 0.7500"},
                      FixedRow{"tie_to_even_down", 0.125L, 1, 2, "0.12"},
                      FixedRow{"tie_to_even_up", 0.375L, 1, 2, "0.38"},
                      FixedRow{"tie_whole_even", 2.5L, 1, 0, "2"},
                      FixedRow{"negative", -1.5L, 1, 1, "-1.5"},
                      FixedRow{"tiny_negative_is_zero", -0.00001L, 1, 4, "0.0000"},
                      FixedRow{"huge", 1e20L, 1, 4, "100000000000000000000.0000"},
                      FixedRow{"inf_padded", std::numeric_limits<long double>::infinity(), 6, 1,
                               "   INF"},
                      FixedRow{"nan", std::numeric_limits<long double>::quiet_NaN(), 1, 4, "NAN"}),
    [](const auto& row) { return std::string(row.param.name); });

struct TextRow {
  const char* name;
  const char* input;
  const char* expected;
};

class TrimTrailingZerosTest : public ::testing::TestWithParam<TextRow> {};

TEST_P(TrimTrailingZerosTest, Trims) {
  EXPECT_EQ(TrimTrailingZeros(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, TrimTrailingZerosTest,
                         ::testing::Values(TextRow{"no_point_keeps_zeros", "4700", "4700"},
                                           TextRow{"point_and_zeros", " 4.7000", "4.7"},
                                           TextRow{"bare_point_goes", "10.0000", "10"},
                                           TextRow{"zero", "0.0000", "0"},
                                           TextRow{"blanks_only_trimmed", "  12", "12"},
                                           TextRow{"empty", "", ""}),
                         [](const auto& row) { return std::string(row.param.name); });

class KeepDigitsTest : public ::testing::TestWithParam<TextRow> {};

TEST_P(KeepDigitsTest, Cuts) {
  EXPECT_EQ(KeepDigits(GetParam().input, 4), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, KeepDigitsTest,
                         ::testing::Values(TextRow{"short_unchanged", "4.7", "4.7"},
                                           TextRow{"five_unchanged", "12.35", "12.35"},
                                           TextRow{"round_up", "7.2135", "7.214"},
                                           TextRow{"no_round_up", "7.2134", "7.213"},
                                           TextRow{"carry_over_point", "1.99963", "2.000"},
                                           TextRow{"point_at_cut_no_round", "1234.5678", "1234"},
                                           TextRow{"five_digit_integer", "12345.678", "12345"},
                                           TextRow{"carry_past_first", "999.98", "1000"},
                                           TextRow{"carry_past_first_with_point", "9.9996",
                                                   "10.00"},
                                           TextRow{"existing_colon_carries", "1:3456", "20346"},
                                           TextRow{"high_bytes_round_up", "1234\xff", "1234\xff"},
                                           TextRow{"letters_count_as_high", "abcdz", "abcdz"},
                                           TextRow{"letters_long", "abcdzq", "abcd{"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(KeepDigits, HighByteAtRoundUpPositionRoundsUp) {
  // Character order is that of unsigned bytes, so 0xff is above "5".
  EXPECT_EQ(KeepDigits("1.234\xff", 4), "1.235");
}

TEST(KeepDigits, NegativeCountReturnsText) {
  EXPECT_EQ(KeepDigits("12345678", -3), "12345678");
}

TEST(Power10, IsTenToThePower) {
  EXPECT_NEAR(Power10(8), 1e8, 1e8 * 1e-15);
  EXPECT_NEAR(Power10(-9), 1e-9, 1e-9 * 1e-15);
  EXPECT_DOUBLE_EQ(Power10(0), 1.0);
  EXPECT_TRUE(std::isinf(Power10(400)));
  EXPECT_EQ(Power10(-400), 0.0);
}

TEST(TrimLeadingBlanks, RemovesOnlyLeadingBlanks) {
  EXPECT_EQ(TrimLeadingBlanks("  75.3 "), "75.3 ");
  EXPECT_EQ(TrimLeadingBlanks("   "), "");
}

TEST(EngineeringText, PrefixAndDigits) {
  const std::tuple<double, const char*, const char*> rows[] = {
      {772.052, "Hz", "772.1 Hz"},
      {1000, "Hz", "1.000 kHz"},
      {3606.7, "\u03a9", "3.607 k\u03a9"},
      {2.5e-4, "s", "250.0 \u00b5s"},
      {1.2e-11, "F", "12.00 pF"},
      {0, "Hz", "0 Hz"},
      {-0.5, "V", "-500.0 mV"},
      {1e12, "\u03a9", "1.000 T\u03a9"},
      // The decimals follow the rounded value, and a value rounded up to
      // 1000 is written with the next prefix.
      {99.9999e-9, "F", "100.0 nF"},
      {9.99999, "V", "10.00 V"},
      {999.96e3, "\u03a9", "1.000 M\u03a9"},
      // Beyond the prefixes: an exponent, never eighty digits or 0.000 pF.
      {7.2e9, "\u03a9", "7.200 G\u03a9"},
      {3.1e16, "\u03a9", "3.100e+16 \u03a9"},
      {1e-17, "F", "1.000e-17 F"},
      {4.7e-14, "F", "47.00 fF"},
      {std::numeric_limits<double>::infinity(), "s", "never"}};
  for (const auto& [v, unit, text] : rows)
    EXPECT_EQ(EngineeringText(v, unit), text) << v;
  EXPECT_EQ(EngineeringText(2.5e-4, "s", "u"), "250.0 us");
  EXPECT_EQ(EngineeringText(7213.4752, "Ohm", "u", 6), "7.21348 kOhm");
  EXPECT_EQ(FixedText(0.125, 2), "0.12");  // ties to even, a point whatever the locale
  EXPECT_EQ(FixedText(std::nan(""), 1), "-");
}

// A value beside its limit gets the digits it takes to differ from it.
TEST(EngineeringText, BesideItsLimit) {
  const std::tuple<double, double, const char*> rows[] = {{4999, 5000, "4.999 k\u03a9"},
                                                          {4999.6, 5000, "4.9996 k\u03a9"},
                                                          {4999.99, 5000, "4.99999 k\u03a9"},
                                                          {12.05e6, 12e6, "12.05 M\u03a9"},
                                                          {5000, 5000, "5.000 k\u03a9"}};
  for (const auto& [v, limit, text] : rows)
    EXPECT_EQ(EngineeringBeside(v, limit, "\u03a9"), text) << v;
}

}  // namespace
}  // namespace timer555
