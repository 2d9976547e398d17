// Every error text with its position, the limits, and inputs that must fail
// cleanly whatever they contain.
#include <string>

#include "EvaluatorTestSupport.h"

namespace vorlane {
namespace {

using testing::CompileError;
using testing::EvalError;
using testing::ExpectCompileErrors;
using testing::ExpectEvalFaults;

TEST(CompileErrors, TextsAndPositions) {
  // "1=<>2": a third comparison character starts anew; "x||y": a closing bar below depth 0. Long texts are checked
  // eight bytes at a time: the last two rows have bars in both parts.
  ExpectCompileErrors({{"2(3)", "Syntax error at pos: 2"}, {"1.5 (3)", "Syntax error at pos: 5"},
                       {"sin(1)2", "Syntax error at pos: 7"}, {"[1]x", "Syntax error at pos: 4"},
                       {"{1}.5", "Syntax error at pos: 4"}, {"3!1", "Syntax error at pos: 3"},
                       {"erf%(1)", "Syntax error at pos: 5"}, {"5%3", "Syntax error at pos: 3"},
                       {"x%y", "Syntax error at pos: 3"}, {"(2)%x", "Syntax error at pos: 5"},
                       {"sin! (1)", "Syntax error at pos: 6"}, {"1=<>2", "missing argument"},
                       {"x||y", "Syntax error at pos: 2"}, {"sinus(1)", "Function < sinus > unknown at pos: 1"},
                       {"1+-bar(2)", "Function < bar > unknown at pos: 4"},
                       {"1+@Right(2)", "Function < @Right > unknown at pos: 3"},
                       {"(1+2))", "Too many closing brackets at pos: 6"}, {"]", "Too many closing brackets at pos: 1"},
                       {"((1)", "Not enough closing brackets"}, {"max(1,2),3", "Too many arguments at pos: 9"},
                       {"2+$", "Syntax error: $"}, {"2*-3a", "Syntax error: 3a"}, {"x#", "Constant unknown: x"},
                       {"1d70m", "Wrong DMS format"}, {"|1|+|2", "abs symbols |.| mismatch"},
                       {"|x|+|y|+|a+b|*2+|c", "abs symbols |.| mismatch"}, {"|x|+|y|+|a+b|*2+|c|", "compiled"}});
  for (const char* expr : {"", "   ", "2+", "2*/3", "*2", "(1)+(-)", "!"}) {
    EXPECT_EQ(CompileError(expr), "missing argument") << expr;
  }
}

TEST(CompileErrors, PositionsCountCharactersNotBytes) {
  // "°" and "µ" are two bytes each in UTF-8 but one character; bytes that are no UTF-8 (the fourth row on) are
  // refused where they stand, a surrogate among them.
  ExpectCompileErrors({{"30\xC2\xB0+2(1)", "Syntax error at pos: 6"},
                       {"5\xC2\xB5" "F+foo(1)", "Function < foo > unknown at pos: 5"},
                       {"\xE2\x82\xAC" "1)", "Too many closing brackets at pos: 3"},
                       {"1+\xFF", "Syntax error at pos: 3"}, {"\xC2\xB5\xC2", "Syntax error at pos: 2"},
                       {"\xED\xA0\x80", "Syntax error at pos: 1"}, {"abcdefgh+\xFF", "Syntax error at pos: 10"},
                       {"1234567+\xC3\xA9+\xC3", "Syntax error at pos: 11"}});
}

TEST(CompileErrors, LimitsFailWithClearTexts) {
  // 100 variables compile, the 101st does not.
  std::string vars = "v1";
  for (int i = 2; i <= 100; ++i) vars += "+v" + std::to_string(i);
  EXPECT_EQ(CompileError(vars), "compiled");
  EXPECT_EQ(CompileError(vars + "+v101"), "too many variables");
  EXPECT_EQ(CompileError(vars + "+v1"), "compiled");  // a repeated name is no new variable

  // 199 rows compile, the 200th row does not.
  std::string sum = "1";
  for (int i = 0; i < 199; ++i) sum += "+1";
  EXPECT_EQ(CompileError(sum), "compiled");
  EXPECT_EQ(CompileError(sum + "+1"), "Expression too complex at pos: " + std::to_string(sum.size() + 1));

  // 20 multi-argument functions may be open at once, not 21.
  std::string open20, close20;
  for (int i = 0; i < 20; ++i) open20 += "max(", close20 += ",1)";
  EXPECT_EQ(CompileError(open20 + "1" + close20), "compiled");
  EXPECT_EQ(CompileError(open20 + "max(1,1)" + close20), "Too many nested functions at pos: 84");

  std::string deep(10001, '(');
  EXPECT_EQ(CompileError(deep), "Brackets nested too deeply at pos: 10001");
}

// Keeps failure output of huge inputs readable.
std::string Head(const std::string& text) { return text.substr(0, 60); }

TEST(CompileErrors, HugeAndHostileInputsFailCleanly) {
  const std::string zeros(200000, '0');
  EXPECT_EQ(Head(CompileError("0." + zeros + "1x")), "compiled");
  EXPECT_EQ(Head(CompileError("1" + zeros + "x")), "Number out of range: 100000000000000000000000000000000000000");
  EXPECT_EQ(Head(CompileError(std::string(200000, 'x'))), "compiled");
  EXPECT_EQ(CompileError(std::string(200000, '(')), "Brackets nested too deeply at pos: 10001");
  EXPECT_EQ(CompileError(std::string(200000, ')')), "Too many closing brackets at pos: 1");
  EXPECT_EQ(CompileError(std::string(200000, '|')), "Expression too complex at pos: 200");
  EXPECT_EQ(CompileError(std::string(200000, '-') + "1"), "missing argument");
  std::string exponents;
  for (int i = 0; i < 100000; ++i) exponents += "1E+";
  EXPECT_EQ(Head(CompileError(exponents)), "Syntax error: 1E+1E+1E");
  EXPECT_EQ(CompileError(std::string("1+\0+2", 5)), std::string("Syntax error: \0", 15));
}

TEST(EvaluationErrors, TextsShowTheRowAsWritten) {
  EXPECT_EQ(EvalError("1/0"), "Evaluation error < 1 / 0 > at pos: 2");
  ExpectEvalFaults({{"2+x/y", "1.5 / 0", 4}}, {{"x", 1.5}});
  ExpectEvalFaults({{"1+SQR(x-5)", "SQR(-4)", 6}}, {{"x", 1}});
  ExpectEvalFaults({{"x\\0", "7 \\ 0", 2}}, {{"x", 7}});
  ExpectEvalFaults({{"-|x|/0", "-2 / 0", 5}}, {{"x", 2}});
  ExpectEvalFaults({{"2*-Log(0)", "Log(0)", 7}, {"root(-8,2)", "root(-8;2)", 5}, {"1+clip(1,3,0)", "clip(1;3;0)", 7},
                    {"0^0", "0 ^ 0", 2}, {"(-8)^(1/3)", "-8 ^ 0.333333333333333", 5}, {"3.5!", "!(3.5)", 4},
                    {"exp(1000)", "exp(1000)", 4}, {"1e300*1e300", "1E+300 * 1E+300", 6},
                    {"hypgeom(1.5,1,1,1)", "hypgeom(1.5;1;1;1)", 8}, {"gammai(200,1)", "gammai(200;1)", 7},
                    {"asin(2)", "asin(2)", 5}, {"acosh(0.5)", "acosh(0.5)", 6}, {"atanh(1)", "atanh(1)", 6},
                    {"coth(0)", "coth(0)", 5}, {"dec(0)", "dec(0)", 4}, {"logn(5,1)", "logn(5;1)", 5},
                    {"cnorm(1,0,0)", "cnorm(1;0;0)", 6}, {"wsteps(1,1,1)", "wsteps(1;1;1)", 7}});
}

}  // namespace
}  // namespace vorlane
