#include "evaluator/ExprFunctions.h"

#include <array>
#include <cstdint>
#include <iterator>

namespace vorlane::expr {

namespace {

constexpr Depends P = Depends::kPure;
constexpr Depends A = Depends::kAngleUnit;
constexpr Depends R = Depends::kRandom;

// One row per name. A new function is one row here and one computation in
// ExprCompute.cpp (with its code in ExprFunctions.h).
constexpr FunInfo kFunctions[] = {
    {"abs", kAbs, 1, P},         {"atn", kAtn, 1, A},           {"atan", kAtn, 1, A},
    {"cos", kCos, 1, A},         {"exp", kExp, 1, P},           {"fix", kFix, 1, P},
    {"int", kInt, 1, P},         {"ln", kLn, 1, P},             {"log", kLog, 1, P},
    {"rnd", kRnd, 1, R},         {"sgn", kSgn, 1, P},           {"sin", kSin, 1, A},
    {"sqr", kSqr, 1, P},         {"cbr", kCbr, 1, P},           {"tan", kTan, 1, A},
    {"acos", kAcos, 1, A},       {"asin", kAsin, 1, A},         {"cosh", kCosh, 1, P},
    {"sinh", kSinh, 1, P},       {"tanh", kTanh, 1, P},         {"acosh", kAcosh, 1, P},
    {"asinh", kAsinh, 1, P},     {"atanh", kAtanh, 1, P},       {"fact", kFact, 1, P},
    {"not", kNot, 1, P},         {"erf", kErf, 1, P},           {"gamma", kGamma, 1, P},
    {"gammaln", kGammaLn, 1, P}, {"digamma", kDigamma, 1, P},   {"zeta", kZeta, 1, P},
    {"ei", kEi, 1, P},           {"airya", kAiryA, 1, P},       {"airyb", kAiryB, 1, P},
    {"csc", kCsc, 1, A},         {"sec", kSec, 1, A},           {"cot", kCot, 1, A},
    {"acsc", kAcsc, 1, A},       {"asec", kAsec, 1, A},         {"acot", kAcot, 1, A},
    {"csch", kCsch, 1, P},       {"sech", kSech, 1, P},         {"coth", kCoth, 1, P},
    {"acsch", kAcsch, 1, P},     {"asech", kAsech, 1, P},       {"acoth", kAcoth, 1, P},
    {"dec", kDec, 1, P},         {"rad", kRad, 1, A},           {"deg", kDeg, 1, A},
    {"grad", kGrad, 1, A},       {"neg", kNeg, 1, P},           {"si", kSi, 1, P},
    {"ci", kCi, 1, P},           {"fresnels", kFresnelS, 1, P}, {"fresnelc", kFresnelC, 1, P},
    {"j0", kJ0, 1, P},           {"y0", kY0, 1, P},             {"i0", kI0, 1, P},
    {"k0", kK0, 1, P},           {"psi", kDigamma, 1, P},

    {"comb", kComb, 2, P},       {"max", kMax, 2, P},           {"min", kMin, 2, P},
    {"mcm", kLcm, 2, P},         {"mcd", kGcd, 2, P},           {"lcm", kLcm, 2, P},
    {"gcd", kGcd, 2, P},         {"mod", kMod, 2, P},           {"and", kAnd, 2, P},
    {"or", kOr, 2, P},           {"xor", kXor, 2, P},           {"beta", kBeta, 2, P},
    {"root", kRoot, 2, P},       {"round", kRound, 2, P},       {"nand", kNand, 2, P},
    {"nor", kNor, 2, P},         {"nxor", kNxor, 2, P},         {"perm", kPerm, 2, P},
    {"logn", kLogN, 2, P},       {"dpoisson", kDPoisson, 2, P}, {"cpoisson", kCPoisson, 2, P},
    {"ein", kEin, 2, P},         {"besseli", kBesselI, 2, P},   {"besselj", kBesselJ, 2, P},
    {"besselk", kBesselK, 2, P}, {"bessely", kBesselY, 2, P},   {"gammai", kGammaI, 2, P},
    {"polyle", kPolyLe, 2, P},   {"polyhe", kPolyHe, 2, P},     {"polych", kPolyCh, 2, P},
    {"polyla", kPolyLa, 2, P},   {"elli1", kElli1, 2, A},       {"elli2", kElli2, 2, A},
    {"wtri", kWTri, 2, P},       {"wsqr", kWSqr, 2, P},         {"wsaw", kWSaw, 2, P},
    {"wraise", kWRaise, 2, P},   {"wparab", kWParab, 2, P},

    {"dnorm", kDNorm, 3, P},     {"cnorm", kCNorm, 3, P},       {"dbinom", kDBinom, 3, P},
    {"cbinom", kCBinom, 3, P},   {"betai", kBetaI, 3, P},       {"clip", kClip, 3, P},
    {"wrect", kWRect, 3, P},     {"wtrapez", kWTrapez, 3, P},   {"wlin", kWLin, 3, P},
    {"wpulse", kWPulse, 3, P},   {"wsteps", kWSteps, 3, P},     {"wexp", kWExp, 3, P},
    {"wexpb", kWExpB, 3, P},     {"wpulsef", kWPulseF, 3, P},   {"wripple", kWRipple, 3, P},

    {"hypgeom", kHypGeom, 4, P}, {"wring", kWRing, 4, P},       {"wam", kWAm, 4, P},
    {"wfm", kWFm, 4, P},

    {"+", kAdd, 0, P},           {"-", kSub, 0, P},             {"*", kMul, 0, P},
    {"/", kDiv, 0, P},           {"%", kPercent, 0, P},         {"\\", kIntDiv, 0, P},
    {"^", kPow, 0, P},           {"!", kFact, 0, P},            {">", kGt, 0, P},
    {">=", kGe, 0, P},           {"=>", kGe, 0, P},             {"<", kLt, 0, P},
    {"<=", kLe, 0, P},           {"=<", kLe, 0, P},             {"=", kEq, 0, P},
    {"<>", kNe, 0, P},           {"@right", kRight, 0, P},
};

// The lookups rely on these: names in lower case and each once, the named
// functions before the operators, at most the six arguments a row holds.
constexpr bool TableIsWellFormed() {
  bool operators = false;
  for (std::size_t i = 0; i < std::size(kFunctions); ++i) {
    const FunInfo& f = kFunctions[i];
    if (f.name.empty() || f.args < 0 || f.args > 6 || (operators && f.args > 0)) return false;
    operators = f.args == 0;
    for (char c : f.name) {
      if (c >= 'A' && c <= 'Z') return false;
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (kFunctions[j].name == f.name) return false;
    }
  }
  return true;
}
static_assert(TableIsWellFormed());

}  // namespace

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

const FunInfo* FindFunction(std::string_view name) {
  if (name.empty()) return nullptr;
  // The rows grouped by their first character, each group in table order,
  // so the first row that matches is the one a walk through the table finds.
  constexpr std::size_t kCount = std::size(kFunctions);
  struct Index {
    std::array<std::uint16_t, 257> start{};
    std::array<std::uint16_t, kCount> row{};
  };
  static const Index kIndex = [] {
    Index index;
    for (const FunInfo& f : kFunctions) ++index.start[static_cast<unsigned char>(f.name[0]) + 1];
    for (std::size_t c = 1; c < index.start.size(); ++c) index.start[c] += index.start[c - 1];
    std::array<std::uint16_t, 256> next{};
    for (std::size_t c = 0; c < next.size(); ++c) next[c] = index.start[c];
    for (std::size_t i = 0; i < kCount; ++i) {
      index.row[next[static_cast<unsigned char>(kFunctions[i].name[0])]++] = static_cast<std::uint16_t>(i);
    }
    return index;
  }();
  const auto first = static_cast<unsigned char>(LowerAscii(name[0]));
  for (std::uint16_t k = kIndex.start[first]; k < kIndex.start[first + 1u]; ++k) {
    const FunInfo& f = kFunctions[kIndex.row[k]];
    if (EqualsNoCase(f.name, name)) return &f;
  }
  return nullptr;
}

std::span<const FunInfo> NamedFunctions() {
  // The named functions come first; the operators and internal names follow.
  std::size_t n = 0;
  while (n < std::size(kFunctions) && kFunctions[n].args > 0) ++n;
  return {kFunctions, n};
}

int ComparisonCode(std::string_view op) {
  if (op == ">") return kGt;
  if (op == ">=" || op == "=>") return kGe;
  if (op == "<") return kLt;
  if (op == "<=" || op == "=<") return kLe;
  if (op == "=") return kEq;
  if (op == "<>") return kNe;
  return kUnknown;
}

bool IsTwoArgumentFunction(std::string_view name) {
  const FunInfo* f = FindFunction(name);
  return f != nullptr && f->args == 2;
}

// The codes run from kRight to the highest code of the table.
constexpr int kLowestCode = kRight;
constexpr int kCodeLimit = [] {
  int limit = 0;
  for (const FunInfo& f : kFunctions) limit = f.code >= limit ? f.code + 1 : limit;
  return limit;
}();
static_assert(kLowestCode == -2 && kLowestCode < kUnknown && kUnknown < kAdd);

// Per code from kLowestCode: whether a row of it may be folded.
constexpr auto kFoldable = [] {
  std::array<bool, kCodeLimit - kLowestCode> foldable{};
  foldable.fill(true);
  for (const FunInfo& f : kFunctions) {
    foldable[static_cast<std::size_t>(f.code - kLowestCode)] = f.depends == Depends::kPure;
  }
  return foldable;
}();

int CodeLimit() { return kCodeLimit; }

bool IsFoldable(int code) {
  return code >= kLowestCode && code < kCodeLimit && kFoldable[static_cast<std::size_t>(code - kLowestCode)];
}

}  // namespace vorlane::expr
