// Every error text with its position, the limits, and inputs that must fail
// cleanly whatever they contain.
#include <string>

#include "EvaluatorTestSupport.h"

namespace vorlane {
namespace {

using testing::CompileError;
using testing::EvalError;

TEST(CompileErrors, TextsAndPositions) {
  EXPECT_EQ(CompileError("2(3)"), "Syntax error at pos: 2");
  EXPECT_EQ(CompileError("1.5 (3)"), "Syntax error at pos: 5");
  EXPECT_EQ(CompileError("sin(1)2"), "Syntax error at pos: 7");
  EXPECT_EQ(CompileError("[1]x"), "Syntax error at pos: 4");
  EXPECT_EQ(CompileError("{1}.5"), "Syntax error at pos: 4");
  EXPECT_EQ(CompileError("3!1"), "Syntax error at pos: 3");
  EXPECT_EQ(CompileError("erf%(1)"), "Syntax error at pos: 5");
  EXPECT_EQ(CompileError("5%3"), "Syntax error at pos: 3");
  EXPECT_EQ(CompileError("x%y"), "Syntax error at pos: 3");
  EXPECT_EQ(CompileError("(2)%x"), "Syntax error at pos: 5");
  EXPECT_EQ(CompileError("sin! (1)"), "Syntax error at pos: 6");
  EXPECT_EQ(CompileError("1=<>2"), "missing argument");  // a third character starts anew
  EXPECT_EQ(CompileError("x||y"), "Syntax error at pos: 2");  // closing bar below depth 0
  EXPECT_EQ(CompileError("sinus(1)"), "Function < sinus > unknown at pos: 1");
  EXPECT_EQ(CompileError("1+-bar(2)"), "Function < bar > unknown at pos: 4");
  EXPECT_EQ(CompileError("1+@Right(2)"), "Function < @Right > unknown at pos: 3");
  EXPECT_EQ(CompileError("(1+2))"), "Too many closing brackets at pos: 6");
  EXPECT_EQ(CompileError("]"), "Too many closing brackets at pos: 1");
  EXPECT_EQ(CompileError("((1)"), "Not enough closing brackets");
  EXPECT_EQ(CompileError("max(1,2),3"), "Too many arguments at pos: 9");
  for (const char* expr : {"", "   ", "2+", "2*/3", "*2", "(1)+(-)", "!"}) {
    EXPECT_EQ(CompileError(expr), "missing argument") << expr;
  }
  EXPECT_EQ(CompileError("2+$"), "Syntax error: $");
  EXPECT_EQ(CompileError("2*-3a"), "Syntax error: 3a");
  EXPECT_EQ(CompileError("x#"), "Constant unknown: x");
  EXPECT_EQ(CompileError("1d70m"), "Wrong DMS format");
  EXPECT_EQ(CompileError("|1|+|2"), "abs symbols |.| mismatch");
  // Long texts are checked eight bytes at a time: bars in both parts.
  EXPECT_EQ(CompileError("|x|+|y|+|a+b|*2+|c"), "abs symbols |.| mismatch");
  EXPECT_EQ(CompileError("|x|+|y|+|a+b|*2+|c|"), "compiled");
}

TEST(CompileErrors, PositionsCountCharactersNotBytes) {
  // "°" and "µ" are two bytes each in UTF-8 but one character.
  EXPECT_EQ(CompileError("30\xC2\xB0+2(1)"), "Syntax error at pos: 6");
  EXPECT_EQ(CompileError("5\xC2\xB5" "F+foo(1)"), "Function < foo > unknown at pos: 5");
  EXPECT_EQ(CompileError("\xE2\x82\xAC" "1)"), "Too many closing brackets at pos: 3");
  // Bytes that are no UTF-8 are refused where they stand.
  EXPECT_EQ(CompileError("1+\xFF"), "Syntax error at pos: 3");
  EXPECT_EQ(CompileError("\xC2\xB5\xC2"), "Syntax error at pos: 2");
  EXPECT_EQ(CompileError("\xED\xA0\x80"), "Syntax error at pos: 1");  // a surrogate
  EXPECT_EQ(CompileError("abcdefgh+\xFF"), "Syntax error at pos: 10");
  EXPECT_EQ(CompileError("1234567+\xC3\xA9+\xC3"), "Syntax error at pos: 11");
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
  EXPECT_EQ(EvalError("2+x/y", {{"x", 1.5}}), "Evaluation error < 1.5 / 0 > at pos: 4");
  EXPECT_EQ(EvalError("1+SQR(x-5)", {{"x", 1}}), "Evaluation error < SQR(-4) > at pos: 6");
  EXPECT_EQ(EvalError("2*-Log(0)"), "Evaluation error < Log(0) > at pos: 7");
  EXPECT_EQ(EvalError("root(-8,2)"), "Evaluation error < root(-8;2) > at pos: 5");
  EXPECT_EQ(EvalError("1+clip(1,3,0)"), "Evaluation error < clip(1;3;0) > at pos: 7");
  EXPECT_EQ(EvalError("0^0"), "Evaluation error < 0 ^ 0 > at pos: 2");
  EXPECT_EQ(EvalError("(-8)^(1/3)"), "Evaluation error < -8 ^ 0.333333333333333 > at pos: 5");
  EXPECT_EQ(EvalError("3.5!"), "Evaluation error < !(3.5) > at pos: 4");
  EXPECT_EQ(EvalError("x\\0", {{"x", 7}}), "Evaluation error < 7 \\ 0 > at pos: 2");
  EXPECT_EQ(EvalError("exp(1000)"), "Evaluation error < exp(1000) > at pos: 4");
  EXPECT_EQ(EvalError("1e300*1e300"), "Evaluation error < 1E+300 * 1E+300 > at pos: 6");
  EXPECT_EQ(EvalError("-|x|/0", {{"x", 2}}), "Evaluation error < -2 / 0 > at pos: 5");
  EXPECT_EQ(EvalError("hypgeom(1.5,1,1,1)"), "Evaluation error < hypgeom(1.5;1;1;1) > at pos: 8");
  EXPECT_EQ(EvalError("gammai(200,1)"), "Evaluation error < gammai(200;1) > at pos: 7");
  EXPECT_EQ(EvalError("asin(2)"), "Evaluation error < asin(2) > at pos: 5");
  EXPECT_EQ(EvalError("acosh(0.5)"), "Evaluation error < acosh(0.5) > at pos: 6");
  EXPECT_EQ(EvalError("atanh(1)"), "Evaluation error < atanh(1) > at pos: 6");
  EXPECT_EQ(EvalError("coth(0)"), "Evaluation error < coth(0) > at pos: 5");
  EXPECT_EQ(EvalError("dec(0)"), "Evaluation error < dec(0) > at pos: 4");
  EXPECT_EQ(EvalError("logn(5,1)"), "Evaluation error < logn(5;1) > at pos: 5");
  EXPECT_EQ(EvalError("cnorm(1,0,0)"), "Evaluation error < cnorm(1;0;0) > at pos: 6");
  EXPECT_EQ(EvalError("wsteps(1,1,1)"), "Evaluation error < wsteps(1;1;1) > at pos: 7");
}

}  // namespace
}  // namespace vorlane
