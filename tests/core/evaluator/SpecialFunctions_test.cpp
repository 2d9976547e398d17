// Special functions against reference values computed with mpmath at 30
// digits (tests/core/data/specfun_reference.py writes the table), plus the
// edge cases and failure texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "EvaluatorTestSupport.h"
#include "evaluator/ExprMath.h"
#include "evaluator/mSpecialFunctions.h"

namespace vorlane::mSpecialFunctions {
namespace {

using Args = std::vector<double>;
using Function = std::function<double(const Args&)>;

// The value `call` gives, or NaN when it gave a failure text.
template <typename Call>
double Checked(Call call) {
  const char* failure = nullptr;
  const double value = call(failure);
  return failure ? std::nan("") : value;
}

const std::map<std::string, Function>& Functions() {
  static const std::map<std::string, Function> functions = {
      {"erf", [](const Args& a) { return Erf(a[0]); }},
      {"gamma", [](const Args& a) { return Gamma(a[0]); }},
      {"gammaln", [](const Args& a) { return GammaLn(a[0]); }},
      {"digamma", [](const Args& a) { return Digamma(a[0]); }},
      {"beta", [](const Args& a) { return Beta(a[0], a[1]); }},
      {"zeta", [](const Args& a) { return Zeta(a[0]); }},
      {"ei", [](const Args& a) { return Ei(a[0]); }},
      {"ein", [](const Args& a) { return En(a[0], a[1]); }},
      {"si", [](const Args& a) { return Si(a[0]); }},
      {"ci", [](const Args& a) { return Ci(a[0]); }},
      {"fresnels", [](const Args& a) { return FresnelS(a[0]); }},
      {"fresnelc", [](const Args& a) { return FresnelC(a[0]); }},
      {"airya", [](const Args& a) { return AiryA(a[0]); }},
      {"airyb", [](const Args& a) { return AiryB(a[0]); }},
      {"j0", [](const Args& a) { return J0(a[0]); }},
      {"y0", [](const Args& a) { return Y0(a[0]); }},
      {"i0", [](const Args& a) { return I0(a[0]); }},
      {"k0", [](const Args& a) { return K0(a[0]); }},
      {"besselj", [](const Args& a) { return BesselJ(a[0], a[1]); }},
      {"bessely", [](const Args& a) { return BesselY(a[0], a[1]); }},
      {"besseli", [](const Args& a) { return BesselI(a[0], a[1]); }},
      {"besselk", [](const Args& a) { return BesselK(a[0], a[1]); }},
      {"gammai", [](const Args& a) { return Checked([&](const char*& f) { return GammaI(a[0], a[1], f); }); }},
      {"betai", [](const Args& a) { return BetaI(a[0], a[1], a[2]); }},
      {"hypgeom",
       [](const Args& a) { return Checked([&](const char*& f) { return HypGeom(a[0], a[1], a[2], a[3], f); }); }},
      {"elli1", [](const Args& a) { return Elli1(a[0], a[1]); }},
      {"elli2", [](const Args& a) { return Elli2(a[0], a[1]); }},
      {"polyle", [](const Args& a) { return PolyLe(a[0], a[1]); }},
      {"polyhe", [](const Args& a) { return PolyHe(a[0], a[1]); }},
      {"polyla", [](const Args& a) { return PolyLa(a[0], a[1]); }},
      {"polych", [](const Args& a) { return PolyCh(a[0], a[1]); }},
  };
  return functions;
}

// The evaluator's distributions and binomial coefficient, which the table
// checks too (dnorm through the evaluator, which computes it in place).
const std::map<std::string, Function>& Distributions() {
  static const std::map<std::string, Function> functions = {
      {"comb", [](const Args& a) { return expr::Comb(a[0], a[1]); }},
      {"dbinom", [](const Args& a) { return expr::Binomial(a[0], a[1], a[2]); }},
      {"cbinom", [](const Args& a) { return expr::CumulativeBinomial(a[0], a[1], a[2]); }},
      {"dpoisson", [](const Args& a) { return expr::Poisson(a[0], a[1]); }},
      {"dnorm",
       [](const Args& a) { return testing::Value("dnorm(xx,mu,sd)", {{"xx", a[0]}, {"mu", a[1]}, {"sd", a[2]}}); }},
  };
  return functions;
}

// The number of arguments each function takes.
int Arity(const std::string& name) {
  if (name == "hypgeom") return 4;
  if (name == "betai") return 3;
  const bool two = name == "beta" || name == "ein" || name == "gammai" || name.rfind("bessel", 0) == 0 ||
                   name.rfind("poly", 0) == 0 || name.rfind("elli", 0) == 0;
  return two ? 2 : 1;
}

// The evaluator hands every function its arguments in the order written (the
// amplitude of the elliptic integrals converted to degrees), under each name.
TEST(SpecialFunctionsThroughTheEvaluator, ArgumentsArriveInTheOrderWritten) {
  constexpr double kPi = 3.14159265358979;  // the evaluator's own pi
  for (const auto& [name, f] : Functions()) {
    const Args all = {0.3, 0.6, 5, 3};
    Args args(all.begin(), all.begin() + Arity(name));
    std::string expr = name;
    for (std::size_t i = 0; i < args.size(); ++i) expr += (i ? "," : "(") + std::to_string(args[i]);
    if (name.rfind("elli", 0) == 0) args[0] *= 180 / kPi;
    EXPECT_DOUBLE_EQ(testing::Value(expr + ")"), f(args)) << expr;
  }
  EXPECT_EQ(testing::Value("psi(2.5)"), Digamma(2.5));
  EXPECT_EQ(testing::Value("elli1(60,0.5)", {}, "DEG"), Elli1(60 * (kPi / 180) * 180 / kPi, 0.5));
}

// Where the true value fits in a double the row evaluates, however far its
// plain intermediate steps would leave the range; where it does not, it fails.
TEST(SpecialFunctionsThroughTheEvaluator, FailOnlyWhereTheValueDoesNotFit) {
  const std::pair<const char*, double> fits[] = {
      {"comb(1024,512)", 4.481254552098971e306}, {"dbinom(512,1024,0.5)", 0.0249278058929795},
      {"cbinom(512,1024,0.5)", 0.51246390294648977}, {"besselk(100,500)", 2.7313831719901785e279},
      {"beta(1e-300,1e-300)", 2e300},             {"gamma(1e-306)", 1e306},
      {"gammaln(5e-307)", 705.28418563673792},      {"fresnels(1e160)", 0.5},
      {"fresnelc(-1e200)", -0.5},                   {"polyhe(0,301)", 0.0},
      {"dnorm(0,0,1e-170)", 3.989422804014327e169}, {"beta(1e-300,1e300)", 1e300},
      {"dpoisson(1e306,1e306)", 3.989422804014327e-154},
  };
  for (const auto& [expr, value] : fits) EXPECT_NEAR(testing::Value(expr), value, 1e-13 * std::fabs(value)) << expr;
  for (const char* expr : {"comb(1030,515)", "besselk(100,800)", "gamma(5e-309)", "beta(1e-308,1e-308)", "polyhe(1,301)"}) {
    EXPECT_NE(testing::EvalError(expr), "no error") << expr;
  }
}

// Allowed error, relative to max(|reference|, sensitivity / 100): a relative
// error of 1e-13 wherever the condition number is at most 100, and beyond it
// an absolute error of 1e-15 x sensitivity, some five times what rounding the
// arguments alone causes. Every function meets it over the whole table.
constexpr double kTolerance = 1e-13;

struct Reference {
  std::string name;
  Args args;
  double value;
  double sensitivity;
  std::string text;  // the line, for messages
};

std::vector<Reference> LoadReferences() {
  std::vector<Reference> rows;
  std::ifstream in(std::string(VORLANE_TEST_DATA_DIR) + "/specfun_reference.tsv");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name, args, value, sensitivity;
    for (std::string* field : {&name, &args, &value, &sensitivity}) std::getline(fields, *field, '\t');
    Reference r{name, {}, std::strtod(value.c_str(), nullptr), std::strtod(sensitivity.c_str(), nullptr), line};
    std::istringstream list(args);
    std::string item;
    while (std::getline(list, item, ',')) r.args.push_back(std::strtod(item.c_str(), nullptr));
    rows.push_back(r);
  }
  return rows;
}

TEST(SpecialFunctionsReference, EveryFunctionMatchesTheTable) {
  std::vector<Reference> rows = LoadReferences();
  ASSERT_GT(rows.size(), 400u) << "reference table missing or short";
  std::map<std::string, int> counts;
  for (const Reference& r : rows) {
    auto f = Functions().find(r.name);
    if (f == Functions().end()) f = Distributions().find(r.name);
    ASSERT_NE(f, Distributions().end()) << r.text;
    double got = f->second(r.args);
    double scale = std::max({std::fabs(r.value), r.sensitivity / 100.0, std::numeric_limits<double>::min()});
    double error = std::fabs(got - r.value) / scale;
    if (!std::isfinite(got)) error = std::numeric_limits<double>::infinity();
    EXPECT_LE(error, kTolerance) << r.text << "  got " << got;
    ++counts[r.name];
  }
  for (const auto* table : {&Functions(), &Distributions()}) {
    for (const auto& [name, f] : *table) EXPECT_GT(counts[name], 0) << "no reference values for " << name;
  }
}

bool Fails(double value) { return !std::isfinite(value); }

TEST(SpecialFunctionsEdges, IncompleteGammaReportsTooLargeArguments) {
  const char* failure = "stale";
  EXPECT_TRUE(Fails(GammaI(200.0, 1.0, failure)));
  EXPECT_STREQ(failure, "a and/or x too large");
  failure = "stale";
  EXPECT_TRUE(Fails(GammaI(170.0, 200.0, failure)));  // a ln x - x just above 700
  EXPECT_STREQ(failure, kIncompleteGammaTooLarge);
  EXPECT_NEAR(GammaI(169.0, 200.0, failure), 0.988634857027394, 1e-14);
  EXPECT_EQ(failure, nullptr);  // a success clears the text
  EXPECT_EQ(GammaI(3.0, 0.0, failure), 0.0);
  EXPECT_EQ(GammaI(3.0, std::numeric_limits<double>::infinity(), failure), 1.0);
  EXPECT_TRUE(Fails(GammaI(0.0, 1.0, failure)));
  EXPECT_TRUE(Fails(GammaI(2.0, -1.0, failure)));
  EXPECT_EQ(failure, nullptr);
}

TEST(SpecialFunctionsEdges, HypergeometricDivergenceAndAccuracyTexts) {
  const char* failure = nullptr;
  EXPECT_TRUE(Fails(HypGeom(1.0, 1.0, 1.0, 1.0, failure)));
  EXPECT_STREQ(failure, "The hypergeometric series is divergent");
  EXPECT_TRUE(Fails(HypGeom(1.0 - 1e-16, 0.5, 0.5, 1.0, failure)));  // within 1e-15 of 1
  EXPECT_STREQ(failure, kHypergeometricDivergent);
  for (double c : {0.0, -1.0, -4.0}) {
    failure = nullptr;
    EXPECT_TRUE(Fails(HypGeom(0.3, 1.5, 2.0, c, failure))) << c;
    EXPECT_STREQ(failure, kHypergeometricDivergent) << c;
  }
  // c = -3 is no pole for a polynomial of degree 2, but is for degree 4.
  EXPECT_NEAR(HypGeom(0.5, -2.0, 1.0, -3.0, failure), 1.0 + 2.0 / 3.0 * 0.5 + 1.0 / 3.0 * 0.25, 1e-15);
  EXPECT_EQ(failure, nullptr);
  EXPECT_TRUE(Fails(HypGeom(0.5, -4.0, 1.0, -3.0, failure)));
  EXPECT_STREQ(failure, kHypergeometricDivergent);
  // A terminating series converges at x = 1 whatever c - a - b is (Chu-Vandermonde).
  EXPECT_NEAR(HypGeom(1.0, -3.0, 5.0, 1.5, failure), -1.0, 1e-15);
  EXPECT_EQ(failure, nullptr);
  // Gauss's sum at x = 1.
  EXPECT_NEAR(HypGeom(1.0, 1.0, 1.0, 3.0, failure), 2.0, 1e-14);
  EXPECT_EQ(failure, nullptr);
  HypGeom(-0.99, 200.0, 200.0, -150.5, failure);
  EXPECT_STREQ(failure, "Warning! You should check the accuracy");
  failure = nullptr;
  EXPECT_TRUE(Fails(HypGeom(1.5, 1.0, 1.0, 3.0, failure)));  // outside the domain, no text
  EXPECT_EQ(failure, nullptr);
}

TEST(SpecialFunctionsEdges, GammaFamilyPolesSignsAndSplit) {
  for (double pole : {0.0, -1.0, -7.0}) {
    EXPECT_TRUE(Fails(Gamma(pole))) << pole;
    EXPECT_TRUE(Fails(GammaLn(pole))) << pole;
    EXPECT_TRUE(Fails(Digamma(pole))) << pole;
  }
  EXPECT_NEAR(Gamma(-0.5), -2.0 * std::sqrt(std::acos(-1.0)), 4e-15);
  EXPECT_TRUE(Fails(Gamma(171.7)));
  EXPECT_TRUE(Fails(GammaLn(-0.5)));     // Gamma(-0.5) < 0: no real logarithm
  EXPECT_NEAR(GammaLn(-1.5), std::log(Gamma(-1.5)), 1e-15);
  EXPECT_TRUE(std::isfinite(GammaLn(1e300)));
  double mantissa = 0.0, exponent = 0.0;
  GammaSplit(5.0, mantissa, exponent);
  EXPECT_DOUBLE_EQ(mantissa, 2.4);
  EXPECT_EQ(exponent, 1.0);
  GammaSplit(200.0, mantissa, exponent);  // 199! = 3.943...E+372, beyond a double
  EXPECT_NEAR(mantissa, 3.94328933682395, 1e-12);
  EXPECT_EQ(exponent, 372.0);
  EXPECT_NEAR(std::log(mantissa) + std::log(10.0) * exponent, GammaLn(200.0), 1e-11);
  GammaSplit(-0.5, mantissa, exponent);
  EXPECT_NEAR(mantissa, -3.5449077018110318, 4e-15);
  EXPECT_EQ(exponent, 0.0);
  EXPECT_NEAR(Beta(-0.5, 1.0), -2.0, 1e-15);
  EXPECT_TRUE(Fails(Beta(-1.0, 2.5)));
  EXPECT_TRUE(Fails(Zeta(1.0)));
  EXPECT_EQ(Zeta(-2.0), 0.0);
  EXPECT_EQ(Zeta(0.0), -0.5);
}

TEST(SpecialFunctionsEdges, OrdersRoundHalfToEvenAndNegativeOrdersFollowTheSymmetries) {
  EXPECT_EQ(BesselJ(3.0, 2.5), BesselJ(3.0, 2.0));
  EXPECT_EQ(BesselJ(3.0, 3.5), BesselJ(3.0, 4.0));
  EXPECT_EQ(BesselK(3.0, 0.5), K0(3.0));
  EXPECT_EQ(PolyLe(0.3, 2.5), PolyLe(0.3, 2.0));
  EXPECT_EQ(En(0.7, 1.5), En(0.7, 2.0));
  for (double n : {0.0, 0.5, -4.0}) {
    for (auto poly : {PolyLe, PolyHe, PolyLa, PolyCh}) EXPECT_EQ(poly(0.3, n), 1.0) << n;
  }
  EXPECT_EQ(BesselJ(2.5, -3.0), -BesselJ(2.5, 3.0));
  EXPECT_EQ(BesselJ(-2.5, 3.0), -BesselJ(2.5, 3.0));
  EXPECT_EQ(BesselJ(-2.5, -3.0), BesselJ(2.5, 3.0));
  EXPECT_EQ(BesselJ(-2.5, 4.0), BesselJ(2.5, 4.0));
  EXPECT_EQ(BesselY(2.5, -3.0), -BesselY(2.5, 3.0));
  EXPECT_EQ(BesselI(2.5, -3.0), BesselI(2.5, 3.0));
  EXPECT_EQ(BesselI(-2.5, 3.0), -BesselI(2.5, 3.0));
  EXPECT_EQ(BesselK(2.5, -3.0), BesselK(2.5, 3.0));
  // Orders outside the 32-bit range, or too large to recur over, fail;
  // values below the smallest double come out as 0.
  for (double v : {BesselJ(1.0, 3e9), PolyLe(0.5, 3e9), PolyLe(0.5, 2e7), BesselJ(3e7, 2e7)}) EXPECT_TRUE(Fails(v));
  EXPECT_EQ(BesselJ(1.0, 2e9), 0.0);
  EXPECT_EQ(BesselI(1.0, 500.0), 0.0);
  EXPECT_GT(BesselI(188.418, 693.0), 1e-297);  // just above underflow, scaled on the way
  EXPECT_TRUE(Fails(BesselY(0.1, 400.0)));       // overflows
  EXPECT_TRUE(Fails(BesselK(0.1, 400.0)));
}

TEST(SpecialFunctionsEdges, SymmetriesAndDomainFaults) {
  for (double x : {0.3, 1.7, 2.5, 4.0}) {
    for (auto odd : {Erf, Si, FresnelS, FresnelC}) EXPECT_EQ(odd(-x), -odd(x)) << x;
    for (auto even : {J0, I0}) EXPECT_EQ(even(-x), even(x)) << x;
    EXPECT_EQ(BesselJ(x, 0.0), J0(x)) << x;
    EXPECT_EQ(BesselI(x, 0.0), I0(x)) << x;
    EXPECT_EQ(BesselK(x, 0.0), K0(x)) << x;
    EXPECT_EQ(BesselY(x, 0.0), Y0(x)) << x;
  }
  EXPECT_EQ(BesselJ(0.0, 3.0), 0.0);
  EXPECT_EQ(BesselI(0.0, 0.0), 1.0);
  EXPECT_EQ(Si(0.0), 0.0);
  for (double value : {Y0(0.0), Y0(-1.0), K0(0.0), K0(-1.0), BesselY(0.0, 2.0), BesselK(-1.0, 2.0), Ci(0.0),
                       Ci(-1.0), Ei(0.0), En(-1.0, 2.0), En(0.0, 1.0), En(0.0, 0.0), En(1.0, -1.0),
                       BetaI(-0.1, 2.0, 3.0), BetaI(1.1, 2.0, 3.0), BetaI(0.5, 0.0, 3.0), Elli1(30.0, 1.5),
                       Elli1(90.0, 1.0), Elli2(30.0, -1.01)}) {
    EXPECT_TRUE(Fails(value));
  }
  EXPECT_EQ(En(0.0, 3.0), 0.5);
  EXPECT_EQ(BetaI(0.0, 2.0, 3.0), 0.0);
  EXPECT_EQ(BetaI(1.0, 2.0, 3.0), 1.0);
  EXPECT_NEAR(Ei(-1.0), -En(1.0, 1.0), 1e-16);
}

TEST(SpecialFunctionsEdges, EllipticIntegralsCompleteCaseAndPeriodicity) {
  const double pi = std::acos(-1.0);
  EXPECT_NEAR(Elli1(90.0, 0.0), pi / 2.0, 1e-15);
  EXPECT_NEAR(Elli2(90.0, 0.0), pi / 2.0, 1e-15);
  EXPECT_NEAR(Elli1(57.0, 0.0), 57.0 * pi / 180.0, 1e-15);
  EXPECT_EQ(Elli2(90.0, 1.0), 1.0);
  // 90 degrees reached through another angle unit, off by a few ulps
  const double converted = (pi / 2.0) * 180.0 / pi * (1.0 + 4e-16);
  EXPECT_EQ(Elli1(converted, 0.7), Elli1(90.0, 0.7));
  EXPECT_TRUE(Fails(Elli1(converted, 1.0)));
  EXPECT_TRUE(Fails(Elli1(-converted, 1.0)));
  EXPECT_NEAR(Elli1(45.0, 1.0), std::atanh(std::sqrt(0.5)), 1e-15);
  EXPECT_EQ(Elli1(0.0, 0.6), 0.0);
  EXPECT_EQ(Elli1(-30.0, 0.6), -Elli1(30.0, 0.6));
  EXPECT_EQ(Elli1(30.0, -0.6), Elli1(30.0, 0.6));
  for (double k : {0.3, 0.9}) {
    EXPECT_NEAR(Elli1(210.0, k), 2.0 * Elli1(90.0, k) + Elli1(30.0, k), 1e-14) << k;
    EXPECT_NEAR(Elli2(-160.0, k), -2.0 * Elli2(90.0, k) + Elli2(20.0, k), 1e-14) << k;
  }
}

// Every function over every combination of awkward arguments: none may crash,
// hang or report a failure text other than its own (the sanitizer build also
// checks for undefined behaviour such as out-of-range conversions).
TEST(SpecialFunctionsRobustness, ExtremeArgumentsGiveAValueOrAFault) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<double> values = {std::nan(""), -inf, inf, 0.0, -0.0, 1.0, -1.0, 0.5, -2.5, 1e-308,
                                      -1e308, 1e308, 2147483647.0, -2147483648.0, 700.0};
  // A shorter list where three or four arguments multiply the combinations.
  const std::vector<double> fewer = {std::nan(""), -inf, inf, 0.0, 1.0, -1.0, 0.5, -2.5, 1e308, -2147483648.0, 700.0};
  int calls = 0;
  for (const auto& [name, f] : Functions()) {
    const int arity = Arity(name);
    const std::vector<double>& list = arity > 2 ? fewer : values;
    std::vector<std::size_t> index(arity, 0);
    for (;;) {
      Args args;
      for (std::size_t i : index) args.push_back(list[i]);
      (void)f(args);
      ++calls;
      std::size_t d = 0;
      while (d < index.size() && ++index[d] == list.size()) index[d++] = 0;
      if (d == index.size()) break;
    }
  }
  EXPECT_GT(calls, 15000);
  const char* failure = nullptr;
  EXPECT_TRUE(std::isfinite(En(0.5, 2147483647.0)));
  EXPECT_TRUE(Fails(HypGeom(0.5, -1e300, 1.0, 2.0, failure)));  // a polynomial of absurd degree
  EXPECT_EQ(failure, nullptr);
  HypGeom(-3.0, 0.5, 1e300, -1e300 + 1.5, failure);
  HypGeom(0.7, -1e300, 0.3, 2.5, failure);
}

}  // namespace
}  // namespace vorlane::mSpecialFunctions
