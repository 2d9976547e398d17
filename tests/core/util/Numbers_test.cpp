#include "util/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace vorlane {
namespace {

// Blanks and tabs are skipped anywhere; reading stops at the first character
// that cannot continue the number; no number reads as 0.
TEST(LeadingNumber, ReadsDecimalsAndExponentsWithEOrD) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<std::string, double> cases[] = {
      {"12", 12}, {"007", 7}, {"2.5", 2.5}, {".5", 0.5}, {"-3.25", -3.25}, {"+4", 4}, {"5.", 5},
      {"  1 2 3", 123}, {"\t- 1\t.5", -1.5}, {"1 e 3", 1000},
      {"30 damage", 30}, {"1.2.3", 1.2}, {"12abc", 12}, {"3,5", 3}, {"--5", 0},  // a comma is no decimal separator
      {"1E3", 1000}, {"1e-2", 0.01}, {"2D2", 200}, {"2d+1", 20}, {"7E", 7}, {"7E+x", 7},  // no exponent digits
      {"1E999", inf}, {"1E-999", 0}, {"-2.5E+400", -inf}, {"0.001E310", 1e307}, {"5E99999999999999999999", inf},
      {"5E-99999999999999999999", 0}, {std::string(400, '9'), inf}, {"0." + std::string(400, '0') + "1", 0},
      {"", 0}, {"abc", 0}, {"-", 0}, {".", 0}, {"E5", 0}, {"   ", 0}};
  for (const auto& [text, value] : cases) EXPECT_EQ(LeadingNumber(text), value) << text;
}

TEST(RoundToInt16, RoundsHalvesToEvenAndRefusesValuesOutsideTheRange) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  const std::optional<std::int16_t> none;
  const std::pair<double, std::optional<std::int16_t>> cases[] = {
      {2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.5, 0}, {1.5, 2}, {2.4999, 2}, {-0.4, 0}, {32767.0, 32767}, {32767.4, 32767},
      {32767.5, none}, {-32768.5, -32768}, {-32769.0, none}, {nan, none}, {inf, none}};  // -32768.5: to the even
  for (const auto& [value, rounded] : cases) EXPECT_EQ(RoundToInt16(value), rounded) << value;
}

// Whole values without a decimal point, fractions with a leading zero and no
// trailing zeros, the exponent form for large and small values; shortest
// digits in the general form, and the values that take the rounding
// conversion: more than 15 shortest digits, subnormal.
TEST(FormatNumber, FifteenSignificantDigitsOrSeventeenOnRequest) {
  const std::pair<double, const char*> cases[] = {
      {30.0, "30"}, {-7.0, "-7"}, {0.0, "0"}, {-0.0, "0"}, {123456789012345.0, "123456789012345"},
      {0.5, "0.5"}, {-0.25, "-0.25"}, {2.50, "2.5"}, {0.1 + 0.2, "0.3"}, {1.0 / 3.0, "0.333333333333333"},
      {0.0001, "0.0001"}, {1e16, "1E+16"}, {1e15, "1E+15"}, {1.5e-7, "1.5E-07"}, {-2.5e100, "-2.5E+100"},
      {1e-5, "1E-05"}, {0.000123, "0.000123"}, {123456.789, "123456.789"}, {1.5e15, "1.5E+15"},
      {-9.87654321e-5, "-9.87654321E-05"}, {99999999999999.95, "100000000000000"}, {2.5e-300, "2.5E-300"},
      {5e-324, "4.94065645841247E-324"}, {0.1, "0.1"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(FormatNumber(value), text) << value;
  EXPECT_EQ(FormatNumber(0.1, 17), "0.10000000000000001");
}

TEST(Numbers, RomanNumeralsBothWays) {
  const std::pair<int, const char*> cases[] = {{1, "I"},     {4, "IV"},       {9, "IX"},  {14, "XIV"},
                                               {40, "XL"},  {90, "XC"},       {400, "CD"}, {1994, "MCMXCIV"},
                                               {3999, "MMMCMXCIX"}};
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(RomanNumeral(value), text);
    EXPECT_EQ(RomanValue(text), value) << text;
  }
  EXPECT_EQ(RomanNumeral(0), "");
  EXPECT_EQ(RomanNumeral(4000), "");
  for (const char* text : {"", "IIII", "VX", "IL", "iv", "X I", "ABC", "MMMM"}) EXPECT_FALSE(RomanValue(text)) << text;
  // A level text: its number's Roman form, or the text itself.
  EXPECT_EQ(RomanLevel("12"), "XII");
  EXPECT_EQ(RomanLevel("0"), "0");
  EXPECT_EQ(RomanLevel("4000"), "4000");
  EXPECT_EQ(RomanLevel("2.5"), "2.5");
}

}  // namespace
}  // namespace vorlane
