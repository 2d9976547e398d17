// Special functions against reference values computed with mpmath at 30
// digits (tests/core/data/specfun_reference.py writes the table), plus the
// edge cases and failure texts.
#include "evaluator/mSpecialFunctions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace vorlane::mSpecialFunctions {
namespace {

using Args = std::vector<double>;
using Function = std::function<double(const Args&)>;

double Checked(double value, const char* failure) { return failure ? std::nan("") : value; }

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
      {"gammai",
       [](const Args& a) {
         const char* failure = nullptr;
         double v = GammaI(a[0], a[1], failure);
         return Checked(v, failure);
       }},
      {"betai", [](const Args& a) { return BetaI(a[0], a[1], a[2]); }},
      {"hypgeom",
       [](const Args& a) {
         const char* failure = nullptr;
         double v = HypGeom(a[0], a[1], a[2], a[3], failure);
         return Checked(v, failure);
       }},
      {"elli1", [](const Args& a) { return Elli1(a[0], a[1]); }},
      {"elli2", [](const Args& a) { return Elli2(a[0], a[1]); }},
      {"polyle", [](const Args& a) { return PolyLe(a[0], a[1]); }},
      {"polyhe", [](const Args& a) { return PolyHe(a[0], a[1]); }},
      {"polyla", [](const Args& a) { return PolyLa(a[0], a[1]); }},
      {"polych", [](const Args& a) { return PolyCh(a[0], a[1]); }},
  };
  return functions;
}

// Allowed error, relative to max(|reference|, sensitivity / 100).
double Tolerance(const std::string& name) {
  (void)name;
  return 1e-13;
}

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
    std::getline(fields, name, '\t');
    std::getline(fields, args, '\t');
    std::getline(fields, value, '\t');
    std::getline(fields, sensitivity, '\t');
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
  std::map<std::string, double> worstWellConditioned, worstScaled;
  std::map<std::string, int> counts;
  for (const Reference& r : rows) {
    auto f = Functions().find(r.name);
    ASSERT_NE(f, Functions().end()) << r.text;
    double got = f->second(r.args);
    double scale = std::max({std::fabs(r.value), r.sensitivity / 100.0, std::numeric_limits<double>::min()});
    double error = std::fabs(got - r.value) / scale;
    if (!std::isfinite(got)) error = std::numeric_limits<double>::infinity();
    EXPECT_LE(error, Tolerance(r.name)) << r.text << "  got " << got;
    ++counts[r.name];
    worstScaled[r.name] = std::max(worstScaled[r.name], error);
    if (r.value != 0.0 && r.sensitivity <= 100.0 * std::fabs(r.value)) {
      worstWellConditioned[r.name] = std::max(worstWellConditioned[r.name], std::fabs(got - r.value) / std::fabs(r.value));
    }
  }
  for (const auto& [name, f] : Functions()) EXPECT_GT(counts[name], 0) << "no reference values for " << name;
  if (std::getenv("VORLANE_SPECFUN_REPORT")) {
    std::printf("%-10s %5s %14s %14s\n", "function", "n", "rel(k<=100)", "scaled");
    for (const auto& [name, n] : counts) {
      std::printf("%-10s %5d %14.3g %14.3g\n", name.c_str(), n, worstWellConditioned[name], worstScaled[name]);
    }
  }
}

}  // namespace
}  // namespace vorlane::mSpecialFunctions
