// What the operators and functions compute: rounding and integer functions,
// logic, trigonometry under each angle unit, statistics, waveforms, and the
// hand-over to the special functions.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "EvaluatorTestSupport.h"
#include "evaluator/ExprCompute.h"
#include "evaluator/ExprFunctions.h"
#include "evaluator/ExprMath.h"
#include "evaluator/ExprQuick.h"

namespace vorlane {
namespace {

using testing::EvalError;
using testing::ExpectEvalFaults;
using testing::ExpectValues;
using testing::Value;

constexpr double kPi = 3.14159265358979;  // the evaluator's own pi

TEST(FunctionsRounding, IntegerDivisionModAndRound) {
  // "\" rounds its operands half to even (7.5 to 8, 6.5 to 6), mod rounds its remainder (1.5 to 2, 0.5 to 0);
  // dec is cleaned to the digits the number has.
  ExpectValues({{"7\\2", 3}, {"7.5\\2", 4}, {"6.5\\2", 3}, {"-7\\2", -3}, {"mod(7,3)", 1}, {"mod(-7,3)", -1},
                {"mod(5.5,2)", 2}, {"mod(4.5,2)", 0}, {"round(2.25,1)", 2.3}, {"round(-2.5,0)", -2},
                {"round(2.5,0)", 3}, {"round(1234.5,-2)", 1200}, {"int(-2.5)", -3}, {"fix(-2.5)", -2},
                {"int(2.5)+fix(2.5)", 4}, {"dec(3.25)", 0.25}, {"dec(-3.25)", -0.25}, {"dec(1.1)", 0.1},
                {"dec(0.3)", 0.3}, {"dec(12345678901234.5)", 0.5}, {"sgn(-3)+sgn(0)+sgn(2)", 0}, {"abs(-3)", 3}});
  ExpectEvalFaults({{"1\\0.4", "1 \\ 0.4", 2}, {"3e9\\2", "3000000000 \\ 2", 4}, {"round(1,0.5)", "round(1;0.5)", 6}});
}

// Floor and RoundHalfUp avoid the library's floor; the library's floor is the
// reference, bit for bit (the sign of zero included).
TEST(FunctionsRounding, FloorAndHalfUpMatchTheLibrarysFloor) {
  const double big = 4503599627370496.0;  // 2^52
  const double inf = std::numeric_limits<double>::infinity();
  for (const double x : {0.0, -0.0, 0.3, -0.3, 0.5, -0.5, 0.49999999999999994, -0.49999999999999994, 1.5, -1.5,
                         2.5, -2.5, -1.0, 1e-310, -1e-310, big - 0.5, -(big - 0.5), big / 2 + 0.5, -(big / 2 + 0.5),
                         big, -big, 1e300, -1e300, inf, -inf}) {
    const double w = std::floor(x);
    const double up = x - w >= 0.5 ? w + 1 : w;
    EXPECT_EQ(std::signbit(expr::Floor(x)), std::signbit(w)) << x;
    EXPECT_EQ(expr::Floor(x), w) << x;
    EXPECT_EQ(std::signbit(expr::RoundHalfUp(x)), std::signbit(up)) << x;
    EXPECT_EQ(expr::RoundHalfUp(x), up) << x;
  }
  EXPECT_TRUE(std::isnan(expr::RoundHalfUp(std::nan(""))));
}

TEST(FunctionsIntegers, FactorialsCombinationsDivisors) {
  // fact takes arguments within 5e-14 of an integer.
  ExpectValues({{"fact(0)", 1}, {"fact(5)", 120}, {"4!", 24}, {"fact(3.00000000000001)", 6}, {"comb(5,2)", 10},
                {"comb(5,0)", 1}, {"comb(2,5)", 0}, {"comb(50,25)", 126410606437752.0}, {"perm(5,2)", 20},
                {"perm(5,0)", 1}, {"perm(2,5)", 0}, {"gcd(12,18)", 6}, {"mcd(7,0)", 7}, {"lcm(4,6)", 12},
                {"mcm(0,6)", 0}});
  EXPECT_TRUE(std::isfinite(Value("fact(170)")));
  ExpectEvalFaults({{"fact(171)", "fact(171)", 5}, {"fact(3.5)", "fact(3.5)", 5}, {"fact(-1)", "fact(-1)", 5},
                    {"1e300!", "!(1E+300)", 6}, {"comb(-5,2)", "comb(-5;2)", 5},
                    {"comb(2000000000,1000000000)", "comb(2000000000;1000000000)", 5},
                    {"perm(2000000000,1000000000)", "perm(2000000000;1000000000)", 5}, {"gcd(-4,6)", "gcd(-4;6)", 4},
                    {"gcd(1e10,6)", "gcd(10000000000;6)", 4}, {"lcm(65536,65537)", "lcm(65536;65537)", 4},
                    {"lcm(0,0)", "lcm(0;0)", 4}});
}

TEST(FunctionsPowers, PowersRootsLogarithms) {
  // Whole powers are the correctly rounded values (computed here with 400-bit arithmetic), also where the library
  // pow is one unit off; root takes the integer part of its order.
  ExpectValues({{"0^1", 0}, {"(-2)^3", -8}, {"1.1^3", 1.3310000000000004}, {"0.7^7", 0.08235429999999996},
                {"3^34", 16677181699666568.0}, {"(-2.8291339413885197)^7", -1450.6898186509027},
                {"1.0001^60", 1.0060177342688175}, {"2^-3", 0.125}, {"1e5^3", 1e15}, {"cbr(-8)", -2}, {"cbr(27)", 3},
                {"root(-8,3)", -2}, {"root(16,4)", 2}, {"root(8,-3)", 0.5}, {"root(9,2.7)", 3}, {"logn(100,10)", 2},
                {"exp(0)", 1}, {"sqr(16)", 4}, {"50%+1", 1.5}});
  ExpectEvalFaults({{"0^-1", "0 ^ -1", 2}, {"root(8,0.5)", "root(8;0.5)", 5}});
  EXPECT_NEAR(Value("ln(e#)"), 1, 2e-15);  // e# has 15 significant digits
  EXPECT_EQ(Value("log(e#)"), Value("ln(e#)"));  // log is the natural logarithm
}

TEST(FunctionsLogic, TruthOfNonZero) {
  ExpectValues({{"and(2,-1)", 1}, {"and(2,0)", 0}, {"or(0,0)+or(0,3)", 1}, {"xor(1,1)+xor(0,5)", 1},
                {"nand(1,1)+nand(1,0)", 1}, {"nor(0,0)+nor(1,0)", 1}, {"nxor(0,0)+nxor(7,1)+nxor(1,0)", 2},
                {"not(0)+not(3)", 1}, {"neg(4)", -4}, {"min(2,5)+max(2,5)", 7},
                {"clip(5,0,3)+clip(-1,0,3)+clip(2,0,3)", 5}});
  ExpectEvalFaults({{"clip(1,3,0)", "clip(1;3;0)", 5}});
}

TEST(FunctionsAngles, DirectAndInverseTrigonometryFollowTheUnit) {
  EXPECT_DOUBLE_EQ(Value("sin(90)", {}, "DEG"), 1);
  EXPECT_DOUBLE_EQ(Value("asin(1)", {}, "DEG"), 90);
  EXPECT_NEAR(Value("acot(1)", {}, "DEG"), 45, 1e-12);
  EXPECT_NEAR(Value("acos(0.5)", {}, "DEG"), 60, 1e-12);
  EXPECT_NEAR(Value("atn(1)", {}, "DEG"), 45, 1e-12);
  EXPECT_NEAR(Value("atan(1)", {}, "GRAD"), 50, 1e-12);
  EXPECT_DOUBLE_EQ(Value("sin(100)", {}, "GRAD"), 1);
  EXPECT_NEAR(Value("tan(45)+cot(45)+sec(60)+csc(30)", {}, "DEG"), 6, 1e-13);
  EXPECT_NEAR(Value("asec(2)+acsc(2)", {}, "DEG"), 90, 1e-12);
  EXPECT_EQ(Value("deg(30)", {}, "DEG"), 30);
  EXPECT_NEAR(Value("rad(1)", {}, "DEG"), 180 / kPi, 1e-12);
  EXPECT_NEAR(Value("grad(100)", {}, "DEG"), 90, 1e-12);
  ExpectValues({{"deg(180)", kPi}, {"grad(200)", kPi}, {"acos(1)", 0}, {"acos(-1)", kPi}, {"asin(-1)", -kPi / 2}});
  EXPECT_NEAR(Value("acos(0)"), std::acos(0.0), 1e-14);
  EXPECT_NEAR(Value("asin(0.5)"), std::asin(0.5), 1e-15);
  EXPECT_NEAR(Value("acot(0)"), kPi / 2, 1e-15);
  ExpectEvalFaults({{"acos(1.5)", "acos(1.5)", 5}, {"csc(0)", "csc(0)", 4}, {"acsc(0)", "acsc(0)", 5}});
}

TEST(FunctionsHyperbolic, AccurateOverTheWholeRange) {
  EXPECT_NEAR(Value("cosh(1)"), std::cosh(1.0), 1e-15);
  EXPECT_NEAR(Value("sech(1)*cosh(1)"), 1, 1e-15);
  // Accurate near zero and for large arguments, where the textbook
  // exponential formulas cancel or overflow.
  for (const char* tiny : {"sinh(1e-10)", "tanh(1e-10)", "atanh(1e-10)"}) EXPECT_DOUBLE_EQ(Value(tiny), 1e-10) << tiny;
  ExpectValues({{"tanh(1000)", 1}, {"coth(-1000)", -1}});
  EXPECT_DOUBLE_EQ(Value("asinh(-1e10)"), std::asinh(-1e10));
  EXPECT_DOUBLE_EQ(Value("acosh(1e200)"), std::acosh(1e200));
  EXPECT_DOUBLE_EQ(Value("acsch(2)+asech(0.5)+acoth(2)"),
                   std::asinh(0.5) + std::acosh(2.0) + std::atanh(0.5));
  ExpectEvalFaults({{"cosh(1000)", "cosh(1000)", 5}, {"csch(0)", "csch(0)", 5}, {"acoth(0.5)", "acoth(0.5)", 6}});
}

TEST(FunctionsStatistics, BinomialAndNormalDensities) {
  EXPECT_DOUBLE_EQ(Value("dnorm(0,0,1)"), 1 / std::sqrt(6.28318530717958));
  EXPECT_DOUBLE_EQ(Value("dnorm(3,1,2)"), std::exp(-0.5) / std::sqrt(6.28318530717958) / 2);
  // cbinom's terms past n are zero.
  ExpectValues({{"dbinom(2,4,0.5)", 0.375}, {"dbinom(0,3,0)", 1}, {"cbinom(2,4,0.5)", 11.0 / 16},
                {"cbinom(2000000000,4,0.5)", 1}, {"cbinom(-1,4,0.5)", 0}});
  // Terms beyond the double range in the middle of the sum do not make it fail.
  EXPECT_NEAR(Value("cbinom(5000,5000,0.5)"), 1.0, 1e-13);
  ExpectEvalFaults({{"dnorm(1,1,0)", "dnorm(1;1;0)", 6}, {"dbinom(1.5,4,0.5)", "dbinom(1.5;4;0.5)", 7},
                    {"cbinom(2,4.5,0.5)", "cbinom(2;4.5;0.5)", 7}});
}

TEST(FunctionsWaveforms, OnePeriodOfEachShape) {
  ExpectValues({{"wtri(0,1)", -1}, {"wtri(0.5,1)", 1}, {"wtri(0.25,1)", 0}, {"wtri(2.25,2)", -0.5}, {"wsqr(0.25,1)", 1},
                {"wsqr(0.75,1)", -1}, {"wsaw(0.25,1)", 0.5}, {"wsaw(0.75,1)", -0.5}, {"wraise(2.5,1)", 0.5},
                {"wraise(3,2)", 0.5}, {"wparab(0.25,1)", 0.25}, {"wrect(0.1,1,0.25)", 1}, {"wrect(0.5,1,0.25)", -1},
                {"wpulse(1.1,1,0.25)", 1}, {"wpulse(1.5,1,0.25)", 0}, {"wsteps(0.5,1,4)", 2.0 / 3},
                {"wsteps(0.99,1,4)", 1}, {"wsteps(0.1,1,4)", 0}, {"wtrapez(0.5,1,0.5)", 1}, {"wtrapez(0,1,0.5)", -1},
                {"wlin(0,1,0.5)", -1}, {"wlin(0.25,1,0.5)", 0}, {"wlin(0.5,1,0.5)", 1}});
  EXPECT_DOUBLE_EQ(Value("wexp(0.5,1,2)"), std::exp(-1.0));
  EXPECT_DOUBLE_EQ(Value("wexpb(0.25,1,2)"), std::exp(-0.5) - std::exp(-1.5));
  EXPECT_DOUBLE_EQ(Value("wpulsef(0.25,1,2)"), 1 - (std::exp(-0.5) - std::exp(-1.5)));
  EXPECT_NEAR(Value("wripple(0.25,1,2)"), std::sqrt(0.5), 1e-14);
  EXPECT_NEAR(Value("wring(0.25,1,2,1)"), std::exp(-0.5), 1e-14);
  EXPECT_NEAR(Value("wam(0.25,1,1,1)"), 2, 1e-13);
  EXPECT_NEAR(Value("wfm(0.25,1,1,0)"), 1, 1e-13);
  // Tiny results are snapped to zero, except for the four noted shapes.
  EXPECT_EQ(Value("wsaw(1e-15,1)"), 0);
  EXPECT_NE(Value("wam(0.5,1,1,0)"), 0);
  ExpectEvalFaults({{"wtri(1,0)", "wtri(1;0)", 5}});
}

TEST(FunctionsRandom, ScalesARepeatableSequence) {
  clsExprEvaluator ev;
  ASSERT_TRUE(ev.StoreExpression("rnd(10)"));
  double a = ev.Eval(), b = ev.Eval();
  EXPECT_GE(a, 0);
  EXPECT_LT(a, 10);
  EXPECT_NE(a, b);  // evaluated anew each time, never folded to a constant
  clsExprEvaluator other;
  ASSERT_TRUE(other.StoreExpression("rnd(10)"));
  EXPECT_EQ(other.Eval(), a);
}

TEST(FunctionsSpecial, KnownValuesThroughTheEvaluator) {
  EXPECT_NEAR(Value("cnorm(1.96,0,1)"), 0.9750021048517795, 1e-13);
  EXPECT_NEAR(Value("dpoisson(2,3)"), 4.5 * std::exp(-3.0), 1e-14);
  EXPECT_NEAR(Value("cpoisson(2,3)"), 8.5 * std::exp(-3.0), 1e-14);
  EXPECT_NEAR(Value("cpoisson(1e9,3)"), 1, 1e-14);  // stops once the terms vanish
  ExpectEvalFaults({{"hypgeom(1,1,1,1)", "hypgeom(1;1;1;1)", 8}});
  // ln(0) is outside the logarithm's domain, also inside logn and the
  // Poisson probabilities (whose formula takes ln of the mean).
  for (const char* expr : {"logn(3,0)", "logn(1,0)", "logn(0,2)", "dpoisson(0,0)", "dpoisson(2,0)", "cpoisson(2,0)"}) {
    EXPECT_NE(EvalError(expr), "no error") << expr;
  }
  // 12 significant digits where the value is steep or the connection formula
  // cancels (references from 40-digit arithmetic on the same doubles).
  const std::pair<const char*, double> accurate[] = {
      {"elli1(1.57079,1)", 12.6638639660286235}, {"elli1(1.5707963,1)", 18.1282015740546325},
      {"elli1(-1.5707963267948,1)", -30.6608207947489671},
      {"hypgeom(0.9,0.5,0.5,1.000000002)", 1.641264412061812869624818},
      {"hypgeom(0.9,0.5,0.5,0.9995)", 1.641834957019947647146349}};
  for (const auto& [expr, reference] : accurate) {
    EXPECT_NEAR(Value(expr), reference, 1e-12 * std::fabs(reference)) << expr;
  }
}

// Every row of the function table, once, by each road a value takes: folded
// at compile time, through the program with variables, through QuickConstant,
// and Compute itself. A row whose code lacks its computation, whose fast
// instruction computes something else, or whose dependence on the angle unit
// or the random state is marked wrongly gives different results here.
TEST(FunctionTable, EveryRowGivesOneResultByEveryRoad) {
  static constexpr const char* kTexts[] = {"0.5", "2", "3", "0.25"};
  static constexpr const char* kNames[] = {"a", "b", "c", "d"};
  const auto same = [](double x, double y) { return std::memcmp(&x, &y, sizeof x) == 0; };
  int finite = 0;
  for (const expr::FunInfo& f : expr::NamedFunctions()) {
    std::string constants = std::string(f.name) + "(", variables = constants;
    for (int i = 0; i < f.args; ++i) {
      constants += std::string(i ? "," : "") + kTexts[i];
      variables += std::string(i ? "," : "") + kNames[i];
    }
    constants += ")";
    variables += ")";
    clsExprEvaluator folded, run;
    ASSERT_TRUE(folded.StoreExpression(constants)) << constants;
    ASSERT_TRUE(run.StoreExpression(variables)) << variables;
    // Compiled in radians, evaluated in degrees: a folded angle would keep radians.
    folded.SetAngleUnit("DEG");
    run.SetAngleUnit("DEG");
    for (int i = 0; i < f.args; ++i) run.SetVarSymb(kNames[i], std::stod(kTexts[i]));
    const double v = folded.Eval();
    EXPECT_TRUE(same(v, run.Eval())) << constants;
    EXPECT_EQ(folded.ErrorDescription(), run.ErrorDescription()) << constants;
    // A random row draws again on each evaluation (folded, it would not); any other gives the same.
    EXPECT_EQ(!same(folded.Eval(), v), f.depends == expr::Depends::kRandom) << constants;

    double a[expr::kArgSlots] = {0.5, 2, 3, 0.25, 0, 0};
    std::uint32_t state = 0x50000;  // the evaluator's first random state
    const double computed = expr::Compute(f.code, a, expr::kPi / 180, state);
    finite += std::isfinite(computed);
    EXPECT_TRUE(same(v, std::isfinite(computed) ? computed : 0.0)) << constants << ": " << v << ", " << computed;
    EXPECT_EQ(folded.ErrorNumber(), std::isfinite(computed) ? 0 : clsExprEvaluator::kErrEval) << constants;

    const double radians = expr::Compute(f.code, a, 1.0, state);
    const bool pure = f.depends == expr::Depends::kPure;
    double quick = 0;
    const bool quickly = expr::QuickConstant("{" + constants + "}", quick);
    EXPECT_EQ(quickly, pure && f.args <= 2 && std::isfinite(radians)) << constants;
    EXPECT_TRUE(!quickly || same(quick, radians)) << constants;
    EXPECT_EQ(expr::IsFoldable(f.code), pure) << constants;
  }
  // The arguments lie in the domain of most functions.
  EXPECT_GT(finite * 4, static_cast<int>(expr::NamedFunctions().size()) * 3);
}

// The code count follows the table: a row with the next code moves the limit,
// and a code past it is never folded (nor read past the fold table's end).
TEST(FunctionTable, TheCodeCountFollowsTheTable) {
  int highest = expr::kRight;
  for (const expr::FunInfo& f : expr::NamedFunctions()) highest = std::max<int>(highest, f.code);
  EXPECT_EQ(expr::CodeLimit(), highest + 1);
  EXPECT_FALSE(expr::IsFoldable(expr::CodeLimit()));
  EXPECT_FALSE(expr::IsFoldable(expr::kRight - 1));
}

}  // namespace
}  // namespace vorlane
