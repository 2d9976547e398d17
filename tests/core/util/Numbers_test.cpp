#include "util/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

namespace vorlane {
namespace {

TEST(LeadingNumber, ReadsPlainIntegersAndDecimals) {
  EXPECT_EQ(LeadingNumber("12"), 12.0);
  EXPECT_EQ(LeadingNumber("007"), 7.0);
  EXPECT_EQ(LeadingNumber("2.5"), 2.5);
  EXPECT_EQ(LeadingNumber(".5"), 0.5);
  EXPECT_EQ(LeadingNumber("-3.25"), -3.25);
  EXPECT_EQ(LeadingNumber("+4"), 4.0);
  EXPECT_EQ(LeadingNumber("5."), 5.0);
}

TEST(LeadingNumber, SkipsBlanksAndTabsAnywhere) {
  EXPECT_EQ(LeadingNumber("  1 2 3"), 123.0);
  EXPECT_EQ(LeadingNumber("\t- 1\t.5"), -1.5);
  EXPECT_EQ(LeadingNumber("1 e 3"), 1000.0);
}

TEST(LeadingNumber, StopsAtFirstCharacterThatCannotContinue) {
  EXPECT_EQ(LeadingNumber("30 damage"), 30.0);
  EXPECT_EQ(LeadingNumber("1.2.3"), 1.2);
  EXPECT_EQ(LeadingNumber("12abc"), 12.0);
  EXPECT_EQ(LeadingNumber("3,5"), 3.0);  // a comma is never a decimal separator
  EXPECT_EQ(LeadingNumber("--5"), 0.0);
}

TEST(LeadingNumber, ReadsExponentsWithEOrD) {
  EXPECT_EQ(LeadingNumber("1E3"), 1000.0);
  EXPECT_EQ(LeadingNumber("1e-2"), 0.01);
  EXPECT_EQ(LeadingNumber("2D2"), 200.0);
  EXPECT_EQ(LeadingNumber("2d+1"), 20.0);
  EXPECT_EQ(LeadingNumber("7E"), 7.0);   // exponent without digits is ignored
  EXPECT_EQ(LeadingNumber("7E+x"), 7.0);
  EXPECT_TRUE(std::isinf(LeadingNumber("1E999")));
  EXPECT_EQ(LeadingNumber("1E-999"), 0.0);
  EXPECT_EQ(LeadingNumber("-2.5E+400"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(LeadingNumber("0.001E310"), 1e307);
  EXPECT_TRUE(std::isinf(LeadingNumber("5E99999999999999999999")));
  EXPECT_EQ(LeadingNumber("5E-99999999999999999999"), 0.0);
  EXPECT_TRUE(std::isinf(LeadingNumber(std::string(400, '9'))));
  EXPECT_EQ(LeadingNumber("0." + std::string(400, '0') + "1"), 0.0);
}

TEST(LeadingNumber, NoNumberGivesZero) {
  EXPECT_EQ(LeadingNumber(""), 0.0);
  EXPECT_EQ(LeadingNumber("abc"), 0.0);
  EXPECT_EQ(LeadingNumber("-"), 0.0);
  EXPECT_EQ(LeadingNumber("."), 0.0);
  EXPECT_EQ(LeadingNumber("E5"), 0.0);
  EXPECT_EQ(LeadingNumber("   "), 0.0);
}

TEST(RoundToInt16, RoundsHalvesToEven) {
  EXPECT_EQ(RoundToInt16(2.5), 2);
  EXPECT_EQ(RoundToInt16(3.5), 4);
  EXPECT_EQ(RoundToInt16(-2.5), -2);
  EXPECT_EQ(RoundToInt16(0.5), 0);
  EXPECT_EQ(RoundToInt16(1.5), 2);
  EXPECT_EQ(RoundToInt16(2.4999), 2);
  EXPECT_EQ(RoundToInt16(-0.4), 0);
}

TEST(RoundToInt16, RefusesValuesOutsideTheRange) {
  EXPECT_EQ(RoundToInt16(32767.0), 32767);
  EXPECT_EQ(RoundToInt16(32767.4), 32767);
  EXPECT_FALSE(RoundToInt16(32767.5).has_value());  // rounds to 32768
  EXPECT_EQ(RoundToInt16(-32768.5), -32768);        // rounds to the even -32768
  EXPECT_FALSE(RoundToInt16(-32769.0).has_value());
  EXPECT_FALSE(RoundToInt16(std::numeric_limits<double>::quiet_NaN()).has_value());
  EXPECT_FALSE(RoundToInt16(std::numeric_limits<double>::infinity()).has_value());
}

TEST(FormatNumber, WholeValuesHaveNoDecimalPoint) {
  EXPECT_EQ(FormatNumber(30.0), "30");
  EXPECT_EQ(FormatNumber(-7.0), "-7");
  EXPECT_EQ(FormatNumber(0.0), "0");
  EXPECT_EQ(FormatNumber(-0.0), "0");
  EXPECT_EQ(FormatNumber(123456789012345.0), "123456789012345");
}

TEST(FormatNumber, FractionsKeepLeadingZeroAndDropTrailingZeros) {
  EXPECT_EQ(FormatNumber(0.5), "0.5");
  EXPECT_EQ(FormatNumber(-0.25), "-0.25");
  EXPECT_EQ(FormatNumber(2.50), "2.5");
  EXPECT_EQ(FormatNumber(0.1 + 0.2), "0.3");
  EXPECT_EQ(FormatNumber(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(FormatNumber(0.0001), "0.0001");
}

TEST(FormatNumber, ExponentFormForLargeAndSmallValues) {
  EXPECT_EQ(FormatNumber(1e16), "1E+16");
  EXPECT_EQ(FormatNumber(1e15), "1E+15");
  EXPECT_EQ(FormatNumber(1.5e-7), "1.5E-07");
  EXPECT_EQ(FormatNumber(-2.5e100), "-2.5E+100");
  EXPECT_EQ(FormatNumber(1e-5), "1E-05");
  // Shortest digits laid out in the general form, and the values that take
  // the rounding conversion: more than 15 shortest digits, subnormal.
  const std::pair<double, const char*> cases[] = {
      {0.000123, "0.000123"}, {123456.789, "123456.789"}, {1.5e15, "1.5E+15"}, {-9.87654321e-5, "-9.87654321E-05"},
      {99999999999999.95, "100000000000000"}, {2.5e-300, "2.5E-300"}, {5e-324, "4.94065645841247E-324"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatNumber(value), text) << value;
}

TEST(FormatNumber, SeventeenDigitsOnRequest) {
  EXPECT_EQ(FormatNumber(0.1, 17), "0.10000000000000001");
  EXPECT_EQ(FormatNumber(0.1), "0.1");
}

}  // namespace
}  // namespace vorlane
