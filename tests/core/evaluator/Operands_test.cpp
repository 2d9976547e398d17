// Operands: numbers, named constants, unit suffixes, angles in degrees,
// minutes and seconds, and variable names.
#include "EvaluatorTestSupport.h"

namespace vorlane {
namespace {

using testing::CompileError;
using testing::Value;

TEST(OperandNumbers, DecimalNotationOnly) {
  EXPECT_EQ(Value(".5"), 0.5);
  EXPECT_EQ(Value("5."), 5);
  EXPECT_EQ(Value("2.5E3"), 2500);
  EXPECT_EQ(Value("1e-400"), 0);
  EXPECT_EQ(Value("   7   "), 7);
  EXPECT_EQ(CompileError("1e400"), "Number out of range: 1e400");
  EXPECT_EQ(CompileError("1.2.3"), "Syntax error: 1.2.3");
  EXPECT_EQ(CompileError("1..2"), "Syntax error: 1..2");
  EXPECT_EQ(CompileError("1,5"), "Too many arguments at pos: 2");
  EXPECT_EQ(CompileError("."), "Syntax error: .");
  EXPECT_EQ(CompileError("&H10"), "Syntax error: &H10");
}

TEST(OperandConstants, NamesFollowedByHashWithPiAlsoBare) {
  EXPECT_EQ(Value("pi#"), 3.14159265358979);
  EXPECT_EQ(Value("PI"), 3.14159265358979);
  EXPECT_EQ(Value("pi"), 3.14159265358979);
  EXPECT_EQ(Value("PI#"), 3.14159265358979);
  EXPECT_EQ(Value("pi2#"), 3.14159265358979 / 2);
  EXPECT_EQ(Value("pi3#"), 3.14159265358979 / 3);
  EXPECT_EQ(Value("pi4#"), 3.14159265358979 / 4);
  EXPECT_EQ(Value("e#"), 2.71828182845905);
  EXPECT_EQ(Value("-e#"), -2.71828182845905);
  EXPECT_EQ(Value("eu#"), 0.577215664901533);
  EXPECT_EQ(Value("phi#"), 1.61803398874989);
  EXPECT_EQ(Value("g#"), 9.80665);
  EXPECT_EQ(Value("R#"), 8.31451);
  EXPECT_DOUBLE_EQ(Value("G#"), 6.672e-11);
  EXPECT_DOUBLE_EQ(Value("eps#"), 8.854187817e-12);
  EXPECT_DOUBLE_EQ(Value("mu#"), 12.566370614e-7);
  EXPECT_DOUBLE_EQ(Value("c#"), 2.99792458e8);
  EXPECT_DOUBLE_EQ(Value("q#"), 1.60217733e-19);
  EXPECT_DOUBLE_EQ(Value("me#"), 9.1093897e-31);
  EXPECT_DOUBLE_EQ(Value("mp#"), 1.6726231e-27);
  EXPECT_DOUBLE_EQ(Value("mn#"), 1.6749286e-27);
  EXPECT_DOUBLE_EQ(Value("K#"), 1.380658e-23);
  EXPECT_DOUBLE_EQ(Value("h#"), 6.6260755e-34);
  EXPECT_DOUBLE_EQ(Value("A#"), 6.0221367e23);
  // Letter case matters for constants; "e" alone is a variable.
  EXPECT_EQ(CompileError("Pi"), "Constant unknown: Pi");
  EXPECT_EQ(CompileError("pI#"), "Constant unknown: pI");
  EXPECT_EQ(CompileError("E#"), "Constant unknown: E");
  EXPECT_EQ(CompileError("k#"), "Constant unknown: k");
  EXPECT_EQ(CompileError("#"), "Constant unknown: ");
  EXPECT_EQ(Value("e", {{"e", 4}}), 4);
  EXPECT_EQ(Value("2*pi*r", {{"r", 1}}), 2 * 3.14159265358979);
}

TEST(OperandUnits, ScalePrefixesAndUnits) {
  EXPECT_EQ(Value("4.7kOhm"), 4700);
  EXPECT_EQ(Value("10uF"), 0.00001);
  EXPECT_EQ(Value("10\xC2\xB5" "F"), 0.00001);  // µ
  EXPECT_EQ(Value("5mm"), 0.005);
  EXPECT_EQ(Value("3g"), 0.003);
  EXPECT_EQ(Value("2kg"), 2);
  EXPECT_EQ(Value("5m"), 5);
  EXPECT_EQ(Value("50Hz"), 50);
  EXPECT_EQ(Value("2MHz"), 2e6);
  EXPECT_EQ(Value("3GHz"), 3e9);
  EXPECT_EQ(Value("1THz"), 1e12);
  EXPECT_EQ(Value("100nF"), 1e-7);
  EXPECT_EQ(Value("22pF"), 2.2e-11);
  EXPECT_EQ(Value("5cm"), 0.05);
  EXPECT_EQ(Value("1.5e3ohm"), 1500);
  EXPECT_EQ(Value("-2V"), -2);
  EXPECT_EQ(Value("2rad+3Rad+4RAD"), 9);
  EXPECT_EQ(Value("1bar+1Pa+1Nm+1W+1A+1S+1s"), 7);
  EXPECT_EQ(Value("2*5mm"), 0.01);
  EXPECT_EQ(CompileError("5k"), "Syntax error: 5k");
  EXPECT_EQ(CompileError("5kHZ"), "Syntax error: 5kHZ");
  EXPECT_EQ(CompileError("5hz"), "Syntax error: 5hz");
}

TEST(OperandAngles, DegreesMinutesSeconds) {
  EXPECT_EQ(Value("30\xC2\xB0" "15'"), 30.25);
  EXPECT_DOUBLE_EQ(Value("30\xC2\xB0" "15'36\""), 30.26);
  EXPECT_EQ(Value("30\xC2\xB0"), 30);
  EXPECT_EQ(Value("-30\xC2\xB0" "30'"), -30.5);
  EXPECT_DOUBLE_EQ(Value("10d30m36s"), 10.51);
  EXPECT_EQ(Value("45d"), 45);
  EXPECT_EQ(Value("1d30m"), 1.5);
  // A DMS angle is a number of degrees whatever the angle unit.
  EXPECT_EQ(Value("90d", {}, "GRAD"), 90);
  EXPECT_NEAR(Value("sin(90d)", {}, "DEG"), 1, 1e-15);
  EXPECT_EQ(CompileError("30\xC2\xB0" "75'"), "Wrong DMS format");
  EXPECT_EQ(CompileError("30\xC2\xB0" "15'60\""), "Wrong DMS format");
  EXPECT_EQ(CompileError("30\xC2\xB0" "x'"), "Wrong DMS format");
  EXPECT_EQ(CompileError("30\xC2\xB0" "1\"5"), "Wrong DMS format");
  EXPECT_EQ(CompileError("30d75m"), "Wrong DMS format");
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
