// Gauss hypergeometric function 2F1(a, b; c; x) for x <= 1.
#include "evaluator/mSpecialFunctions.h"
#include "evaluator/mSpecialInternal.h"

#include <cmath>

namespace vorlane::mSpecialFunctions {

using namespace detail;

namespace {

constexpr int kMaxTerms = 250;
constexpr double kTolerance = 1e-15;  // a series that ends above this is reported
constexpr double kIntegerDistance = 1e-9;

// Summation state: whether every series reached the tolerance.
struct Outcome {
  bool accurate = true;
};

// Direct series sum (a)_k (b)_k / ((c)_k k!) z^k for |z| <= 1/2.
double DirectSeries(double a, double b, double c, double z, Outcome& outcome) {
  double term = 1.0, sum = 1.0;
  for (int k = 0; k < kMaxTerms; ++k) {
    term *= (a + k) * (b + k) / ((c + k) * (k + 1.0)) * z;
    sum += term;
    if (term == 0.0 || std::fabs(term) <= 1e-17 * std::fabs(sum)) return sum;
  }
  if (std::fabs(term) > kTolerance * std::fabs(sum)) outcome.accurate = false;
  return sum;
}

// Terminating series when a is the non-positive integer -degree.
double Polynomial(double a, double b, double c, double x, long degree) {
  double term = 1.0, sum = 1.0;
  for (long k = 0; k < degree; ++k) {
    term *= (a + k) * (b + k) / ((c + k) * (k + 1.0)) * x;
    sum += term;
  }
  return sum;
}

// 2F1(a, b; c; 1 - z) for 0 < z <= 1/2 by the linear transformation to z.
double AroundOne(double a, double b, double c, double z, Outcome& outcome) {
  double m = c - a - b;
  double mr = std::nearbyint(m);
  // c - a - b within rounding of an integer (0.1 + 0.2 against 0.3) is taken
  // as that integer: the general form below cancels catastrophically there.
  if (std::fabs(m - mr) > kIntegerDistance) {
    // F = G(c)G(m)/(G(c-a)G(c-b)) F(a, b; 1-m; z) + z^m G(c)G(-m)/(G(a)G(b)) F(c-a, c-b; 1+m; z)
    double gc = Gamma(c);
    double first = gc * Gamma(m) * ReciprocalGamma(c - a) * ReciprocalGamma(c - b);
    double second = gc * Gamma(-m) * ReciprocalGamma(a) * ReciprocalGamma(b);
    double f1 = first == 0.0 ? 0.0 : DirectSeries(a, b, 1.0 - m, z, outcome);
    double f2 = second == 0.0 ? 0.0 : DirectSeries(c - a, c - b, 1.0 + m, z, outcome);
    return first * f1 + second * std::pow(z, m) * f2;
  }
  if (mr < 0.0) {
    // Euler's transformation F(a,b;c;x) = (1-x)^(c-a-b) F(c-a, c-b; c; x) turns m positive.
    double ca = c - a, cb = c - b;
    double scale = std::pow(z, m);
    if (IsNonPositiveInteger(ca)) return scale * Polynomial(ca, cb, c, 1.0 - z, static_cast<long>(-ca));
    if (IsNonPositiveInteger(cb)) return scale * Polynomial(cb, ca, c, 1.0 - z, static_cast<long>(-cb));
    return scale * AroundOne(ca, cb, c, z, outcome);
  }
  // c = a + b + m, m = 0, 1, 2, ... (the logarithmic case):
  // F = G(m)G(c)/(G(a+m)G(b+m)) sum_(n<m) (a)_n (b)_n / (n! (1-m)_n) z^n
  //   - (-z)^m G(c)/(G(a)G(b)) sum_n (a+m)_n (b+m)_n / (n! (n+m)!) z^n
  //       [ln z - psi(n+1) - psi(n+m+1) + psi(a+n+m) + psi(b+n+m)]
  int mi = static_cast<int>(mr);
  double gc = Gamma(c);
  double finite = 0.0;
  if (mi > 0) {
    double term = 1.0, sum = 1.0;
    for (int n = 0; n + 1 < mi; ++n) {
      term *= (a + n) * (b + n) / ((n + 1.0) * (1.0 - mi + n)) * z;
      sum += term;
    }
    finite = Gamma(static_cast<double>(mi)) * gc * ReciprocalGamma(a + mi) * ReciprocalGamma(b + mi) * sum;
  }
  double factor = gc * ReciprocalGamma(a) * ReciprocalGamma(b);
  if (factor == 0.0) return finite;
  double lz = std::log(z);
  double psiN1 = -kEuler;  // psi(n + 1)
  double psiNm1 = -kEuler;  // psi(n + m + 1)
  double factorialM = 1.0;
  for (int k = 1; k <= mi; ++k) {
    psiNm1 += 1.0 / k;
    factorialM *= k;
  }
  double psiA = Digamma(a + mi), psiB = Digamma(b + mi);
  double term = 1.0 / factorialM;
  double sum = term * (lz - psiN1 - psiNm1 + psiA + psiB);
  bool converged = false;
  for (int n = 0; n < kMaxTerms; ++n) {
    term *= (a + mi + n) * (b + mi + n) / ((n + 1.0) * (n + mi + 1.0)) * z;
    psiN1 += 1.0 / (n + 1.0);
    psiNm1 += 1.0 / (n + mi + 1.0);
    psiA += 1.0 / (a + mi + n);
    psiB += 1.0 / (b + mi + n);
    double delta = term * (lz - psiN1 - psiNm1 + psiA + psiB);
    sum += delta;
    if (delta == 0.0 || std::fabs(delta) <= 1e-17 * std::fabs(sum)) {
      converged = true;
      break;
    }
    if (n + 1 == kMaxTerms && std::fabs(delta) <= kTolerance * std::fabs(sum)) converged = true;
  }
  if (!converged) outcome.accurate = false;
  double sign = mi % 2 == 0 ? 1.0 : -1.0;  // (-z)^m = sign z^m
  return finite - sign * std::pow(z, mr) * factor * sum;
}

// 2F1 for x <= 1 with no polynomial or divergent case left.
double General(double a, double b, double c, double x, Outcome& outcome) {
  if (x >= -0.5 && x <= 0.5) return DirectSeries(a, b, c, x, outcome);
  if (x > 0.5) return AroundOne(a, b, c, 1.0 - x, outcome);
  // Pfaff: F(a,b;c;x) = (1-x)^-a F(a, c-b; c; x/(x-1)); the new argument
  // lies in (0, 1), its distance from 1 is 1/(1-x).
  double cb = c - b;
  double scale = std::pow(1.0 - x, -a);
  double w = x / (x - 1.0);
  if (IsNonPositiveInteger(cb)) return scale * Polynomial(cb, a, c, w, static_cast<long>(-cb));
  if (w <= 0.5) return scale * DirectSeries(a, cb, c, w, outcome);
  return scale * AroundOne(a, cb, c, 1.0 / (1.0 - x), outcome);
}

}  // namespace

double HypGeom(double x, double a, double b, double c, const char*& failure) {
  failure = nullptr;
  if (std::isnan(x) || std::isnan(a) || std::isnan(b) || std::isnan(c) || x > 1.0) return kNaN;
  if (std::isinf(x) || std::isinf(a) || std::isinf(b) || std::isinf(c)) return kNaN;
  // A non-positive integer a or b ends the series: a polynomial of that degree.
  long degree = -1;
  if (IsNonPositiveInteger(a)) degree = static_cast<long>(-a);
  if (IsNonPositiveInteger(b) && (degree < 0 || -b < degree)) degree = static_cast<long>(-b);
  if (degree > 10'000'000) return kNaN;
  bool cPole = IsNonPositiveInteger(c);
  if (cPole && (degree < 0 || degree > -c)) {
    failure = kHypergeometricDivergent;
    return kNaN;
  }
  if (degree >= 0) {
    double first = IsNonPositiveInteger(a) && -a == degree ? a : b;
    double other = first == a ? b : a;
    return Polynomial(first, other, c, x, degree);
  }
  if (1.0 - x < 1e-15) {
    // Gauss: F(a,b;c;1) = G(c)G(c-a-b) / (G(c-a)G(c-b)), convergent only for c-a-b > 0.
    if (c - a - b <= 0.0) {
      failure = kHypergeometricDivergent;
      return kNaN;
    }
    return Gamma(c) * Gamma(c - a - b) * ReciprocalGamma(c - a) * ReciprocalGamma(c - b);
  }
  if (x == 0.0) return 1.0;
  Outcome outcome;
  double value = General(a, b, c, x, outcome);
  if (!outcome.accurate) failure = kHypergeometricAccuracy;
  return value;
}

}  // namespace vorlane::mSpecialFunctions
