#include "generate/FormulaCatalogue.h"

#include <algorithm>

#include "evaluator/ExprFunctions.h"
#include "generate/DesignLayout.h"
#include "generate/IndexedVariables.h"

namespace vorlane {

namespace {

// Generation evaluates brace groups with the evaluator's default angle unit,
// radians.
constexpr FunctionHelp kHelp[] = {
    // One argument.
    {"abs", "x", "Absolute value of x"},
    {"atn", "x", "Arc tangent of x, in radians"},
    {"atan", "x", "Arc tangent of x, in radians (same as atn)"},
    {"cos", "x", "Cosine of the angle x in radians"},
    {"exp", "x", "e raised to the power x"},
    {"fix", "x", "x with its fraction cut off (toward zero)"},
    {"int", "x", "Largest whole number not above x"},
    {"ln", "x", "Natural logarithm of x"},
    {"log", "x", "Natural logarithm of x (same as ln)"},
    {"rnd", "x", "x times a random number from 0 up to 1"},
    {"sgn", "x", "Sign of x: -1, 0 or 1"},
    {"sin", "x", "Sine of the angle x in radians"},
    {"sqr", "x", "Square root of x"},
    {"cbr", "x", "Cube root of x"},
    {"tan", "x", "Tangent of the angle x in radians"},
    {"acos", "x", "Arc cosine of x, in radians"},
    {"asin", "x", "Arc sine of x, in radians"},
    {"cosh", "x", "Hyperbolic cosine"},
    {"sinh", "x", "Hyperbolic sine"},
    {"tanh", "x", "Hyperbolic tangent"},
    {"acosh", "x", "Inverse hyperbolic cosine"},
    {"asinh", "x", "Inverse hyperbolic sine"},
    {"atanh", "x", "Inverse hyperbolic tangent"},
    {"fact", "n", "Factorial n! of a whole number n from 0"},
    {"not", "x", "1 when x is 0, else 0"},
    {"erf", "x", "Error function"},
    {"gamma", "x", "Gamma function"},
    {"gammaln", "x", "Natural logarithm of the gamma function"},
    {"digamma", "x", "Digamma function, the derivative of ln(gamma(x))"},
    {"psi", "x", "Digamma function (same as digamma)"},
    {"zeta", "s", "Riemann zeta function"},
    {"ei", "x", "Exponential integral Ei(x)"},
    {"airya", "x", "Airy function Ai(x)"},
    {"airyb", "x", "Airy function Bi(x)"},
    {"csc", "x", "Cosecant, 1/sin(x)"},
    {"sec", "x", "Secant, 1/cos(x)"},
    {"cot", "x", "Cotangent, 1/tan(x)"},
    {"acsc", "x", "Arc cosecant, asin(1/x)"},
    {"asec", "x", "Arc secant, acos(1/x)"},
    {"acot", "x", "Arc cotangent"},
    {"csch", "x", "Hyperbolic cosecant"},
    {"sech", "x", "Hyperbolic secant"},
    {"coth", "x", "Hyperbolic cotangent"},
    {"acsch", "x", "Inverse hyperbolic cosecant"},
    {"asech", "x", "Inverse hyperbolic secant"},
    {"acoth", "x", "Inverse hyperbolic cotangent"},
    {"dec", "x", "Fractional part of x (x must not be 0)"},
    {"rad", "x", "x radians, in the angle unit"},
    {"deg", "x", "x degrees, in the angle unit (radians)"},
    {"grad", "x", "x grads, in the angle unit (radians)"},
    {"neg", "x", "Negation, -x"},
    {"si", "x", "Sine integral Si(x)"},
    {"ci", "x", "Cosine integral Ci(x)"},
    {"fresnels", "x", "Fresnel integral S(x)"},
    {"fresnelc", "x", "Fresnel integral C(x)"},
    {"j0", "x", "Bessel function J0(x)"},
    {"y0", "x", "Bessel function Y0(x)"},
    {"i0", "x", "Modified Bessel function I0(x)"},
    {"k0", "x", "Modified Bessel function K0(x)"},
    // Two arguments.
    {"comb", "n, k", "Combinations: n over k"},
    {"max", "a, b", "The larger of a and b"},
    {"min", "a, b", "The smaller of a and b"},
    {"mcm", "a, b", "Least common multiple (same as lcm)"},
    {"mcd", "a, b", "Greatest common divisor (same as gcd)"},
    {"lcm", "a, b", "Least common multiple of whole numbers from 0"},
    {"gcd", "a, b", "Greatest common divisor of whole numbers from 0"},
    {"mod", "a, b", "Remainder of a divided by b, rounded to a whole number"},
    {"and", "a, b", "1 when both are not 0, else 0"},
    {"or", "a, b", "1 when either is not 0, else 0"},
    {"xor", "a, b", "1 when exactly one is not 0, else 0"},
    {"beta", "a, b", "Euler beta function B(a, b)"},
    {"root", "x, n", "n-th root of x"},
    {"round", "x, decimals", "x rounded to that many decimals (halves up)"},
    {"nand", "a, b", "1 minus and(a, b)"},
    {"nor", "a, b", "1 minus or(a, b)"},
    {"nxor", "a, b", "1 when both or neither are 0, else 0"},
    {"perm", "n, k", "Permutations: n (n-1) ... (n-k+1)"},
    {"logn", "x, base", "Logarithm of x to the base"},
    {"dpoisson", "k, mean", "Poisson probability of k events"},
    {"cpoisson", "k, mean", "Poisson probability of 0 to k events"},
    {"ein", "x, n", "Exponential integral E_n(x)"},
    {"besseli", "x, n", "Modified Bessel function I_n(x)"},
    {"besselj", "x, n", "Bessel function J_n(x)"},
    {"besselk", "x, n", "Modified Bessel function K_n(x)"},
    {"bessely", "x, n", "Bessel function Y_n(x)"},
    {"gammai", "a, x", "Regularized lower incomplete gamma function P(a, x)"},
    {"polyle", "x, n", "Legendre polynomial P_n(x)"},
    {"polyhe", "x, n", "Hermite polynomial H_n(x)"},
    {"polych", "x, n", "Chebyshev polynomial T_n(x)"},
    {"polyla", "x, n", "Laguerre polynomial L_n(x)"},
    {"elli1", "phi, k", "Elliptic integral of the first kind F(phi, k)"},
    {"elli2", "phi, k", "Elliptic integral of the second kind E(phi, k)"},
    {"wtri", "t, period", "Triangle wave from -1 to 1"},
    {"wsqr", "t, period", "Square wave, 1 then -1"},
    {"wsaw", "t, period", "Sawtooth wave from -1 to 1"},
    {"wraise", "t, period", "Rising ramp from 0 to 1"},
    {"wparab", "t, period", "Parabolic wave from 0 to 1"},
    // Three arguments.
    {"dnorm", "x, mu, sigma", "Normal probability density"},
    {"cnorm", "x, mu, sigma", "Normal cumulative distribution"},
    {"dbinom", "k, n, p", "Binomial probability of k successes in n tries"},
    {"cbinom", "k, n, p", "Binomial probability of 0 to k successes in n tries"},
    {"betai", "x, a, b", "Regularized incomplete beta function"},
    {"clip", "x, low, high", "x held between low and high"},
    {"wrect", "t, period, duty", "Rectangle wave with a duty cycle"},
    {"wtrapez", "t, period, duty", "Trapezoid wave"},
    {"wlin", "t, period, duty", "Linear rise and fall wave"},
    {"wpulse", "t, period, duty", "1 during the first fraction duty of each period, else 0"},
    {"wsteps", "t, period, steps", "Staircase of that many steps from 0 to 1"},
    {"wexp", "t, period, a", "Exponential decay restarting each period"},
    {"wexpb", "t, period, a", "Exponential decay, both polarities"},
    {"wpulsef", "t, period, a", "Square wave with exponential edges"},
    {"wripple", "t, period, a", "Rectified sine with exponential ripple"},
    // Four arguments.
    {"hypgeom", "x, a, b, c", "Gauss hypergeometric function 2F1(a, b; c; x)"},
    {"wring", "t, period, a, frequency", "Damped ringing each period"},
    {"wam", "t, carrier, modulation, depth", "Amplitude-modulated sine"},
    {"wfm", "t, carrier, modulation, depth", "Frequency-modulated sine"},
};

bool IsWeapon(const vrlComponent& record) { return !expr::EqualsNoCase(record.WeaponType(), "None"); }

// The indexed families name the design file's columns.
template <typename Fields>
constexpr bool ColumnsMatch() {
  const auto column = [](IndexedId id) { return kIndexedFamilies[static_cast<std::size_t>(id)].column; };
  return column(IndexedId::kTechArea) == Fields::kTech[0].name &&
         column(IndexedId::kTechLevel) == Fields::kTech[1].name &&
         column(IndexedId::kAbilType) == Fields::kAbilities[0].name &&
         column(IndexedId::kAbilDescr) == Fields::kAbilities[1].name &&
         column(IndexedId::kAbilVal1) == Fields::kAbilities[2].name &&
         column(IndexedId::kAbilVal2) == Fields::kAbilities[3].name;
}
static_assert(ColumnsMatch<Layout<vrlComponent>>() && ColumnsMatch<Layout<vrlFacility>>());
static_assert(kIndexedFamilies[static_cast<std::size_t>(IndexedId::kWeapDmg)].column ==
              Layout<vrlComponent>::kDamageList);

template <typename Fields>
std::string ListName(IndexedList list) {
  switch (list) {
    case IndexedList::kTechReqs: return Fields::kTechList;
    case IndexedList::kAbilities: return Fields::kAbilityList;
    case IndexedList::kDamage:
      if constexpr (Fields::kDamage) return Fields::kDamageList;
      break;
  }
  return {};
}

template <typename Record>
void AddNamed(const Record& record, FormulaCatalogue& out) {
  for (const auto& row : Layout<Record>::kTexts) {
    if (row.variable.empty()) continue;
    FieldPlace place{"", 0, row.name};
    std::string label = FieldLabel(record, place);
    out.variables.push_back({std::string(row.variable), label, place, label});
  }
}

template <typename Record>
void AddField(const Record& record, FormulaCatalogue& out, std::string name, std::string description,
              FieldPlace place) {
  std::string label = FieldLabel(record, place);
  out.variables.push_back({std::move(name), std::move(description), std::move(place), std::move(label)});
}

template <typename Record>
FormulaCatalogue Catalogue(const Record& record, std::string_view levelVariable, std::string_view noun) {
  using Fields = Layout<Record>;
  FormulaCatalogue out;
  out.variables.push_back({std::string(levelVariable),
                           "The level of the entry; in a grid " + std::string(noun) + ", the number of the cell",
                           std::nullopt,
                           {}});
  out.variables.push_back({std::string(levelVariable) + "roman",
                           "The level of the entry as a Roman numeral (I, II, ..., MMMCMXCIX)", std::nullopt, {}});
  AddNamed(record, out);
  int ranges = 0;
  if constexpr (Fields::kDamage) ranges = IsWeapon(record) ? vrlComponent::kNumRanges : 0;
  ForEachIndexed(record.NumTechReqs(), record.NumAbils(), ranges, record.IsGrid(), [&](const IndexedFamily& f, int n) {
    const std::string N = std::to_string(n);
    std::string name = std::string(f.prefix) + N + std::string(f.suffix);
    std::string description = std::string(f.help) + N;
    if (f.column.empty()) {
      out.variables.push_back({std::move(name), std::move(description), std::nullopt, {}});
      return;
    }
    AddField(record, out, std::move(name), std::move(description),
             {ListName<Fields>(f.list), n, std::string(f.column)});
  });
  out.functions = FormulaFunctions();
  return out;
}

}  // namespace

std::span<const FunctionHelp> FunctionHelpTable() { return kHelp; }

std::vector<FormulaFunction> FormulaFunctions() {
  std::vector<FormulaFunction> functions;
  for (const FunctionHelp& help : kHelp) {
    const expr::FunInfo* info = expr::FindFunction(help.name);
    if (info == nullptr || info->args == 0) continue;  // the table test keeps the two in step
    functions.push_back({std::string(help.name), info->args,
                         std::string(help.name) + "(" + std::string(help.arguments) + ")",
                         std::string(help.description)});
  }
  std::sort(functions.begin(), functions.end(),
            [](const FormulaFunction& a, const FormulaFunction& b) { return a.name < b.name; });
  return functions;
}

FormulaCatalogue MakeFormulaCatalogue(const vrlComponent& record) {
  return Catalogue(record, "&complevel", "component");
}
FormulaCatalogue MakeFormulaCatalogue(const vrlFacility& record) { return Catalogue(record, "&faclevel", "facility"); }

}  // namespace vorlane
