// How expressions are read: priorities, signs, brackets, bars, comparisons
// and functions of several arguments.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "EvaluatorTestSupport.h"
#include "evaluator/ExprQuick.h"
#include "evaluator/ExprTable.h"

namespace vorlane {
namespace {

using testing::EvalError;
using testing::ExpectCompileErrors;
using testing::ExpectValues;
using testing::Value;

// Constant groups are computed without compiling, to the same bits as
// StoreExpression and Eval; everything else is declined and left to them.
TEST(CompilerQuickConstant, GivesTheCompiledValueOrDeclines) {
  clsExprEvaluator ev;
  for (const char* group : {"{5*0+1}", "{27*10+37*3}", "{1-2-3}", "{8/4/2}", "{1 + 2*3 - 4/5}", "{0.1+0.2}",
                            "{1/3*3}", "{.5-5.}", "{007*1.50}", "{999999999999999*999999999999999}",
                            "{100+Mod(37, 50)}", "{Round(381/10, 0)}", "{Max(1, 5-37/100)}", "{(2+3)*4}",
                            "{sqr (2)/gamma(0.5)}", "{LogN(2, (8))+fact(5)}"}) {
    double quick = 0;
    ASSERT_TRUE(expr::QuickConstant(group, quick)) << group;
    ASSERT_TRUE(ev.StoreExpression(group)) << group;
    const double compiled = ev.Eval();
    EXPECT_EQ(std::memcmp(&quick, &compiled, sizeof quick), 0) << group << " " << quick << " " << compiled;
  }
  std::string overflow = "1";
  for (int i = 0; i < 21; ++i) overflow += "*999999999999999";
  std::vector<std::string> declined = {"{1/0}", "{1 2}", "{-1}", "{2*-3}", "{2x}", "{1e5}", "{5k}", "{1+}", "{}",
                                       "{1234567890123456}", "{1\t+2}", "{2^3}", "{1+1}x", "{pi}", "{sin(1)}",
                                       "{rnd(1)}", "{ln(0)}", "{Mod(1)}", "{abs(1,2)}", "{clip(1,2,3)}", "{(1]}",
                                       "{Mod(1,2)3}", "{1+1/(1e300*1e300)}", "{" + overflow + "}",
                                       "{1+1/(" + overflow + ")}"};
  double value = 0;
  for (const std::string& group : declined) EXPECT_FALSE(expr::QuickConstant(group, value)) << group;
}

TEST(CompilerPriority, OperatorsBindByLevelAndGroupFromTheLeft) {
  // "^" groups from the left as well, "\" shares the level of "*", postfix binds tightest, comparisons bind below "+".
  ExpectValues({{"2+3*4", 14}, {"(2+3)*4", 20}, {"2*3+4*5", 26}, {"10-4-3", 3}, {"64/4/2", 8}, {"2^3^2", 64},
                {"2*3^2", 18}, {"1+2^3*2", 17}, {"12\\5*2", 4}, {"2^3!", 64}, {"3!^2", 36}, {"2*50%", 1}, {"1+2<4", 1},
                {"2*(3+4)*5", 70}, {"((((1+2))))*3", 9}});
}

TEST(CompilerSigns, SignsBelongToTheOperand) {
  // "Neg" of a bracket is squared; a plus sign before a bracket is a plain sign.
  ExpectValues({{"-2^2", 4}, {"-(1+1)^2", 4}, {"2--3", 5}, {"2*-3", -6}, {"2^-1", 0.5}, {"-x*2", -6}, {"2*-x", -6},
                {"-sin(0)+-cos(0)", -1}, {"-max(2,5)", -5}, {"+(3)", 3}, {"1E-3*2", 0.002}, {"1.5e+2-50", 100}},
               {{"x", 3}});
  ExpectCompileErrors({{"--3", "missing argument"}, {"(2)-+3", "compiled"}, {"()-3", "missing argument"}});
}

TEST(CompilerImplicitMultiplication, NumberBeforeXYZMultiplies) {
  // Blanks do not end an operand.
  ExpectValues({{"2x", 6}, {"-2x", -6}, {"2x^2", 18}, {"1.5Y+1", 4}, {"2 3", 23}, {"x y", 4}},
               {{"x", 3}, {"Y", 2}, {"xy", 4}});
  ExpectCompileErrors({{"2a", "Syntax error: 2a"}, {"(2)x", "Syntax error at pos: 4"}});
}

TEST(CompilerBrackets, KindsMixFreelyAndCountMustMatch) {
  ExpectValues({{"[2+3}*4", 20}, {"{2*[3+(4-1)]}", 12}});
  ExpectCompileErrors({{"(2", "Not enough closing brackets"}, {"2)", "Too many closing brackets at pos: 2"},
                       {"(1))+((2)", "Too many closing brackets at pos: 4"}, {"(2)a", "Syntax error at pos: 4"},
                       {"(2) 5", "Syntax error at pos: 5"}, {"(2)_", "Syntax error at pos: 4"},
                       {"(2).", "Syntax error at pos: 4"}, {"sin()", "missing argument"}});
}

TEST(CompilerBars, PairsOfBarsTakeTheAbsoluteValue) {
  ExpectValues({{"|x-3|", 2}, {"-|x|", -1}, {"2*+|x-3|", 4}}, {{"x", 1}});
  ExpectValues({{"|x|*|y|", 6}, {"||x|-5|", 3}, {"|2-5|^2", 9}}, {{"x", -2}, {"y", -3}});
  ExpectCompileErrors({{"|x", "abs symbols |.| mismatch"}, {"|x|2", "Syntax error at pos: 4"},
                       {"2|x|", "Syntax error at pos: 2"}});
}

TEST(CompilerComparisons, ChainsMultiplyAndConditionsGuardTheirFactor) {
  // A bracketed comparison is an operand like any other, not part of a chain;
  // a chain inside brackets stays inside them.
  for (const char* truth : {"1<2<3", "1<=1<2", "(3<2)<1", "1<(2)<3", "2^(3<2<1)", "max(1<2<3,0)", "2>=2", "2=<3",
                            "2<>3", "2=2"}) {
    EXPECT_EQ(Value(truth), 1) << truth;
  }
  // 1<x+1<3 is not chained: (1 < x+1) < 3.
  ExpectValues({{"3<2<1", 0}, {"1<x+1<3", 1}, {"1<2<(3<2<2<1)", 0}, {"sin(1<2<3)", std::sin(1.0)}, {"2=>3", 0}},
               {{"x", 5}});
  ExpectValues({{"clip(0,x<2<3,1)", 1}, {"hypgeom(0,1,x<2<1,1)", 1}, {"log(x)*(x>0)", 0}, {"(x<>0)*(1/x)", 0}},
               {{"x", 0}});
  EXPECT_EQ(Value("(x>0)=(y>0)", {{"x", 1}, {"y", 2}}), 1);
  EXPECT_EQ(Value("(x>0)=(y>0)", {{"x", 1}, {"y", -2}}), 0);
  EXPECT_EQ(Value("(x>0)=(y>0)", {{"x", -1}, {"y", -2}}), 1);
  // The guarded factor is skipped, so its fault never happens.
  ExpectValues({{"(x>0)*log(x)", 0}, {"(x>0)*(y>0)*log(x*y)", 0}}, {{"x", -1}, {"y", -2}});
  ExpectValues({{"2+((x>0)*log(x))", 2}, {"((x>0)*log(x))>1", 0}}, {{"x", -3}});
  EXPECT_NEAR(Value("(x>0)*log(x)", {{"x", std::exp(2.0)}}), 2, 1e-15);
  EXPECT_EQ(Value("(x<>0)*(1/x)", {{"x", 4}}), 0.25);
  EXPECT_EQ(Value("(x+1>0)*sqr(x+1)", {{"x", -5}}), 0);
  EXPECT_EQ(Value("(x>0)*log(x)+(x<0)*log(-x)", {{"x", -std::exp(1.0)}}), 1);
  // Without a product the faulty operand still runs.
  EXPECT_EQ(EvalError("(x>0)+log(x)", {{"x", -1}}), "Evaluation error < log(-1) > at pos: 10");
  ExpectCompileErrors({{"1==2", "Syntax error at pos: 3"}, {"1><2", "Syntax error at pos: 3"},
                       {"1<<2", "Syntax error at pos: 3"}, {"1< =2", "missing argument"}});
}

TEST(CompilerFunctions, MultiArgumentFunctionsNestInExpressions) {
  // Names ignore letter case.
  ExpectValues({{"max(2,5)", 5}, {"2*clip(5,0,3)", 6}, {"clip(5,0,3)*2+1", 7}, {"max(min(4,9),clip(7,0,5))", 5},
                {"max(sin(0),2)", 2}, {"-clip(5,0,3)+10", 7}, {"clip(clip(9,0,8),clip(-1,2,3),clip(7,0,6))", 6},
                {"MAX(1,2)+Max(3,1)", 5}});
  ExpectValues({{"clip(x+1,0,3)", 2}, {"clip(5,0,x+1)", 2}}, {{"x", 1}});
  EXPECT_EQ(Value("clip(5,x+1,9)", {{"x", 6}}), 7);
  EXPECT_EQ(Value("1+max(|x|,2)*3", {{"x", -4}}), 13);
  // A comma inside an inner bracket does not count for the outer function,
  // and a function's bracket may not close before its last argument.
  ExpectCompileErrors({{"max(2)", "missing argument"}, {"clip(1,2)", "missing argument"},
                       {"sin(1,2)", "Too many arguments at pos: 6"}, {"max(1,2,3)", "Too many arguments at pos: 8"},
                       {"1,2", "Too many arguments at pos: 2"}, {"max(sin(1,2))", "Too many arguments at pos: 10"},
                       {"max(1)+(2,3)", "missing argument"}, {"foo(1)", "Function < foo > unknown at pos: 1"},
                       {"2*-foo(1)", "Function < foo > unknown at pos: 4"}});
}

TEST(CompilerSchedule, DeepAndWideExpressionsEvaluateCorrectly) {
  // A long sum and a deep nesting, checked against values computed here.
  std::string sum = "1";
  for (int i = 2; i <= 150; ++i) sum += (i % 2 ? "+" : "-") + std::to_string(i);
  double expected = 1;
  for (int i = 2; i <= 150; ++i) expected += (i % 2 ? i : -i);
  EXPECT_EQ(Value(sum), expected);

  std::string nested = "x";
  for (int i = 0; i < 40; ++i) nested = "(" + nested + "+1)*2";
  double v = 0.5;
  for (int i = 0; i < 40; ++i) v = (v + 1) * 2;
  EXPECT_EQ(Value(nested, {{"x", 0.5}}), v);

  EXPECT_EQ(Value("1+2*x+3*x^2+4*x^3+5*x^4+6*x^5+7*x^6+8*x^7+9*x^8", {{"x", 2}}),
            1 + 2 * 2 + 3 * 4 + 4 * 8 + 5 * 16 + 6 * 32 + 7 * 64 + 8 * 128 + 9 * 256);
}

// Eval runs a program of fused and reordered instructions; the expression
// table run row by row is the reference. Every shape the program fuses, with
// values that make rows fail, must give the same bits and the same message.
TEST(CompilerProgram, EveryShapeGivesTheTablesBitsAndMessages) {
  const char* const exprs[] = {
      "2+3*4", "x*y+sin(x)", "(x>0)*log(x)", "log(x)*(x>0)", "(x>0)*(y>0)*ln(x*y)",
      "1+2*x+3*x^2+4*x^3+5*x^4+6*x^5+7*x^6+8*x^7+9*x^8", "1+x*(2+x*(3+x*(4+x*9)))",
      "x-2*x^3", "2-x^5*3", "x*x^3-2", "max(x,y)*clip(z,0,1)", "clip(x,y,z)*2", "clip(x,0,y)",
      "round(10*1.15^(x-1)+y/2,0)", "sqr(x^2+y^2)/(1+exp(-z))", "x/2/y", "(x*y)/2+z", "x/(y*z)",
      "y-(x-z)", "(x-z)-y*2", "-sin(x)*2+3", "(x<>0)*(1/x)", "(x>1)*(1/(x-1))+(x<=1)*5",
      "((x>0)*((y>0)*log(y)+1))*2", "1<x+1<3", "x<y<z", "hypgeom(x,1,2,3)+wam(x,y,z,2)",
      "rnd(1)+rnd(x)*2", "(x>0)*rnd(1)", "x^y+y^2.5", "-x^2-(-y)^3", "|x-y|*-|z|", "x!+y%",
      "sin(x)-x*y", "x*y/cos(z)", "x*y/exp(z)", "x*y-exp(z)", "exp(z)*(x*y)", "(x<=y)*sqr(z)", "(x<>y)*exp(z)", "round(x*2.5,0)-int(y*1e15)",
      "(x<y)*sin(z)", "(x>=y)*cos(z)", "(x=y)*log(z)", "log(z)*(x*y)", "x*y/sqr(z)", "round(x*y,z)", "(x>y)*round(x+z,0)",
      "x*y-z*z", "x^2*(y*z)", "(x>0)*(x*y+z^2)+1", "0.5^(x-y)*z", "z-2^(y-x)",
      // A row that overflows, read by one that can make the infinity vanish or
      // that carries it on: the program may leave the first check to the reader.
      "1/(x*x)", "2/(1+x*x)+z", "exp(-(x*x))", "0.5^(x*x)", "(x*x)^0", "(x*x>1)*2", "min(x*x,1)", "max(z,x*x)",
      "clip(x*x,0,1)", "x*x-x*x", "(x*x)*0", "atn(x*x)", "(z>0)*sqr(x*x)", "(z>0)*(1/(x*x))",
      "round(x*x/2,0)", "round(x*x,z)", "sqr(x*x)/(1+exp(x*x*z))", "sin(x*x)*z+1", "int(x*x)-fix(y*y)",
      "-(x*x)+|y*y|", "log(x*x)/log(z*2)", "(x*x+1)*(y*y-1)/(z*x)", "(x*x)*(y*y)/(z*z)",
      "round(z,x*x)", "2*(x*x)^(y-1)", "(x*x)^(y-z)+1", "1+(x*x)^y", "(y*z)/(x*x)", "1+exp(y-x*x)", "exp(x*x)*(y*z)", "exp(-x*x)*(y*z)+1"};
  const double values[] = {0.75, -1.5, 0.0, 2.5, 1e300, -0.0, 3.0, std::numeric_limits<double>::infinity()};
  for (const char* text : exprs) {
    for (int k = 0; k < 8; ++k) {
      clsExprEvaluator ev;
      ASSERT_TRUE(ev.StoreExpression(text)) << text;
      std::vector<double> vars(ev.VarTop() + 1, 0.0);
      for (int i = 1; i <= ev.VarTop(); ++i) ev.SetVarValue(i, vars[i] = values[(k + i) % 8]);
      const double got = ev.Eval();
      expr::Table table;
      std::string error;
      ASSERT_TRUE(expr::CompileTable(text, table, error)) << text;
      expr::LoadTable(table, vars.data());
      std::uint32_t rnd = 0x50000;
      double want = 0.0;
      const bool ok = expr::RunTable(table, 1.0, rnd, want, error);
      EXPECT_EQ(ev.ErrorNumber() == 0, ok) << text << " k=" << k;
      EXPECT_EQ(ev.ErrorDescription(), ok ? std::string() : error) << text << " k=" << k;
      if (ok) {
        EXPECT_EQ(std::signbit(got), std::signbit(want)) << text << " k=" << k;
        EXPECT_EQ(got, want) << text << " k=" << k;
      }
    }
  }
}

}  // namespace
}  // namespace vorlane
