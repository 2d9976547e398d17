// Operands: numbers, named constants, unit suffixes, angles in degrees,
// minutes and seconds, and variable names.
#include <cmath>

#include "EvaluatorTestSupport.h"
#include "evaluator/ExprOperands.h"

namespace vorlane {
namespace {

using testing::CompileError;
using testing::ExpectCompileErrors;
using testing::ExpectValues;
using testing::Value;

TEST(OperandNumbers, DecimalNotationOnly) {
  ExpectValues({{".5", 0.5}, {"5.", 5}, {"2.5E3", 2500}, {"1e-400", 0}, {"   7   ", 7}});
  ExpectCompileErrors({{"1e400", "Number out of range: 1e400"}, {"1.2.3", "Syntax error: 1.2.3"},
                       {"1..2", "Syntax error: 1..2"}, {"1,5", "Too many arguments at pos: 2"},
                       {".", "Syntax error: ."}, {"&H10", "Syntax error: &H10"}});
}

// Whole powers of ten are the nearest doubles on every platform (the
// compiler's reading of the literal is the reference): round(x, -n), the
// constants and the scale prefixes rest on them.
TEST(OperandConstants, PowersOfTenAreTheNearestDoubles) {
  const std::pair<double, double> powers[] = {{0, 1},        {22, 1e22},    {23, 1e23},    {-1, 0.1},    {-2, 0.01},
                                              {-7, 1e-7},    {-22, 1e-22},  {-23, 1e-23},  {-34, 1e-34}, {-300, 1e-300},
                                              {-323, 1e-323}, {308, 1e308}, {-11, 1e-11}, {-19, 1e-19}, {-31, 1e-31}};
  for (const auto& [k, expected] : powers) EXPECT_EQ(expr::PowerOfTen(k), expected) << k;
  EXPECT_EQ(expr::PowerOfTen(309), HUGE_VAL);
}

TEST(OperandConstants, NamesFollowedByHashWithPiAlsoBare) {
  constexpr double pi = 3.14159265358979;
  ExpectValues({{"pi#", pi}, {"PI", pi}, {"pi", pi}, {"PI#", pi}, {"pi2#", pi / 2}, {"pi3#", pi / 3}, {"pi4#", pi / 4},
                {"e#", 2.71828182845905}, {"-e#", -2.71828182845905}, {"eu#", 0.577215664901533},
                {"phi#", 1.61803398874989}, {"g#", 9.80665}, {"R#", 8.31451}, {"2*pi*r", 2 * pi}},
               {{"r", 1}});
  for (const auto& [name, value] : {std::pair<const char*, double>{"G#", 6.672e-11}, {"eps#", 8.854187817e-12},
                                    {"mu#", 12.566370614e-7}, {"c#", 2.99792458e8}, {"q#", 1.60217733e-19},
                                    {"me#", 9.1093897e-31}, {"mp#", 1.6726231e-27}, {"mn#", 1.6749286e-27},
                                    {"K#", 1.380658e-23}, {"h#", 6.6260755e-34}, {"A#", 6.0221367e23}}) {
    EXPECT_DOUBLE_EQ(Value(name), value) << name;
  }
  // Letter case matters for constants; "e" alone is a variable.
  ExpectCompileErrors({{"Pi", "Constant unknown: Pi"}, {"pI#", "Constant unknown: pI"}, {"E#", "Constant unknown: E"},
                       {"k#", "Constant unknown: k"}, {"#", "Constant unknown: "}});
  EXPECT_EQ(Value("e", {{"e", 4}}), 4);
}

TEST(OperandUnits, ScalePrefixesAndUnits) {
  ExpectValues({{"4.7kOhm", 4700}, {"10uF", 0.00001}, {"10\xC2\xB5" "F", 0.00001}, {"5mm", 0.005}, {"3g", 0.003},
                {"2kg", 2}, {"5m", 5}, {"50Hz", 50}, {"2MHz", 2e6}, {"3GHz", 3e9}, {"1THz", 1e12}, {"100nF", 1e-7},
                {"22pF", 2.2e-11}, {"5cm", 0.05}, {"1.5e3ohm", 1500}, {"-2V", -2}, {"2rad+3Rad+4RAD", 9},
                {"1bar+1Pa+1Nm+1W+1A+1S+1s", 7}, {"2*5mm", 0.01}});
  ExpectCompileErrors({{"5k", "Syntax error: 5k"}, {"5kHZ", "Syntax error: 5kHZ"}, {"5hz", "Syntax error: 5hz"}});
}

TEST(OperandAngles, DegreesMinutesSeconds) {
  ExpectValues({{"30\xC2\xB0" "15'", 30.25}, {"30\xC2\xB0", 30}, {"-30\xC2\xB0" "30'", -30.5}, {"45d", 45},
                {"1d30m", 1.5}});
  EXPECT_DOUBLE_EQ(Value("30\xC2\xB0" "15'36\""), 30.26);
  EXPECT_DOUBLE_EQ(Value("10d30m36s"), 10.51);
  // A DMS angle is a number of degrees whatever the angle unit.
  EXPECT_EQ(Value("90d", {}, "GRAD"), 90);
  EXPECT_NEAR(Value("sin(90d)", {}, "DEG"), 1, 1e-15);
  for (const char* expr : {"30\xC2\xB0" "75'", "30\xC2\xB0" "15'60\"", "30\xC2\xB0" "x'", "30\xC2\xB0" "1\"5",
                           "30d75m"}) {
    EXPECT_EQ(CompileError(expr), "Wrong DMS format") << expr;
  }
  EXPECT_EQ(CompileError("30'15"), "Syntax error: 30'15");  // no degree mark: no angle
  // Names built of d, m and s stay variables.
  EXPECT_EQ(Value("d+rad+old+ms", {{"d", 1}, {"rad", 2}, {"old", 3}, {"ms", 4}}), 10);
}

TEST(OperandVariables, NamesOfLettersDigitsAndUnderscore) {
  EXPECT_EQ(Value("a_1+_b+Z9", {{"a_1", 1}, {"_b", 2}, {"Z9", 3}}), 6);
  EXPECT_EQ(CompileError("a$"), "Syntax error: a$");
  EXPECT_EQ(CompileError("2*\xC3\xA9t\xC3\xA9"), "Syntax error: \xC3\xA9t\xC3\xA9");
}

}  // namespace
}  // namespace vorlane
