// Gauss hypergeometric function 2F1(a, b; c; x) for x <= 1.
//
// Several representations of the same value are evaluated (the direct series,
// Euler's and Pfaff's transformations, the transformations to 1 - x and to
// 1/x), each with an estimate of its rounding error, and the one with the
// smallest estimate is returned. This keeps the result accurate where one
// form cancels badly (large parameters, a pole of the series' c parameter
// close to an index, negative arguments).
#include <cmath>

#include "evaluator/mSpecialFunctions.h"
#include "evaluator/mSpecialInternal.h"

namespace vorlane::mSpecialFunctions {

using namespace detail;

namespace {

constexpr int kMaxTerms = 250;
constexpr double kTolerance = 1e-15;  // a sum that ends above this is reported
// c - a - b within this distance of an integer is taken as that integer
// (0.7 + 1.9 against 2.6): the general form cancels catastrophically there.
constexpr double kIntegerDistance = 1e-9;
// Nearer than this, the connection formula around x = 1 is summed in its limit
// form, which does not cancel.
constexpr double kNearInteger = 0.05;

struct Estimate {
  double value = kNaN;
  double error = kInf;     // estimated absolute error
  bool converged = false;  // the sums reached the tolerance
};

// A series sum with the sum of the magnitudes of its terms.
struct Sum {
  double value = 0.0;
  double magnitude = 0.0;
  bool converged = false;
};

// sum (a)_k (b)_k / ((c)_k k!) z^k, for |z| < 1 and c not a pole.
Sum DirectSum(double a, double b, double c, double z) {
  Sum s;
  double term = 1.0;
  s.value = 1.0;
  s.magnitude = 1.0;
  for (int k = 0; k < kMaxTerms; ++k) {
    term *= (a + k) * (b + k) / ((c + k) * (k + 1.0)) * z;
    s.value += term;
    s.magnitude += std::fabs(term);
    if (term == 0.0 || std::fabs(term) <= 1e-17 * std::fabs(s.value)) {
      s.converged = true;
      return s;
    }
  }
  s.converged = std::fabs(term) <= kTolerance * std::fabs(s.value);
  return s;
}

// Rounding error of a value formed from a sum with the given magnitude.
double SumError(double prefactor, const Sum& s) {
  double error = 8.0 * kEps * std::fabs(prefactor) * s.magnitude;
  if (!s.converged) error += std::fabs(prefactor * s.value) * 1e-3;
  return error;
}

Estimate Direct(double prefactor, double a, double b, double c, double z) {
  Estimate e;
  if (IsNonPositiveInteger(c) || !(std::fabs(z) < 1.0) || !std::isfinite(prefactor)) return e;
  Sum s = DirectSum(a, b, c, z);
  e.value = prefactor * s.value;
  e.error = SumError(prefactor, s) + 4.0 * kEps * std::fabs(e.value);
  e.converged = s.converged;
  return e;
}

// Terminating series when a is a non-positive integer (of bounded size).
double Polynomial(double a, double b, double c, double x) {
  double term = 1.0, sum = 1.0;
  for (double k = 0.0; k < -a; k += 1.0) {
    term *= (a + k) * (b + k) / ((c + k) * (k + 1.0)) * x;
    sum += term;
  }
  return sum;
}

// (ln Gamma(x + e) - ln Gamma(x)) / e for small e, without the cancellation of
// the difference: the argument is shifted up to at least 10, where Stirling's
// series is differenced term by term. False when x + e and x lie on different
// sides of a pole.
bool LnGammaSlope(double x, double e, double& slope) {
  double shift = 0.0;  // sum of ln(1 + e / (x + j)) over the shifted steps
  for (int j = 0; x < 10.0; ++j, x += 1.0) {
    if (j > 400 || !(x * (x + e) > 0.0) || !(std::fabs(e) < std::fabs(x))) return false;
    shift += std::log1p(e / x);
  }
  static constexpr double kStirling[] = {1.0 / 12, -1.0 / 360, 1.0 / 1260, -1.0 / 1680, 1.0 / 1188,
                                         -691.0 / 360360, 1.0 / 156, -3617.0 / 122400};
  const double t = std::log1p(e / x);
  double s = (x - 0.5) * t / e + std::log(x + e) - 1.0;
  double power = 1.0 / x;  // x^(1 - 2j)
  for (int j = 1; j <= 8; ++j) {
    const double q = 1.0 - 2.0 * j;
    s += kStirling[j - 1] * power * std::expm1(q * t) / e;
    power /= x * x;
  }
  slope = s - shift / e;
  return std::isfinite(slope);
}

// prefactor * 2F1(a, b; c; 1 - z) for c - a - b = m + e, m = 0, 1, 2, ..., e small
// and not 0. The two terms of the connection formula each grow like 1/e and
// cancel; here they are combined before summing. With u_k, v_k the k-th terms
// of the two series taken at 0 and at e, the second series minus the tail of
// the first is a sum of (u_k - v_k) / e, carried by its own recurrence:
// d_(k+1) = r_k d_k + v_k (r_k - s_k) / e, where r_k, s_k are the term ratios
// and (r_k - s_k) / e is expanded exactly.
Estimate AroundOneNearInteger(double prefactor, double a, double b, double c, double z, int m, double e) {
  Estimate est;
  if (m > 170) return est;
  const double lz = std::log(z);
  double sa, sb, sm, s1;
  if (!LnGammaSlope(a + m, e, sa) || !LnGammaSlope(b + m, e, sb) || !LnGammaSlope(m + 1.0, e, sm) ||
      !LnGammaSlope(1.0, -e, s1)) {
    return est;
  }
  const double gc = Gamma(c);
  // The terms n < m of the first series, where nothing cancels.
  double finite = 0.0, finiteMagnitude = 0.0;
  if (m > 0) {
    double term = 1.0, sum = 1.0, magnitude = 1.0;
    for (int n = 0; n + 1 < m; ++n) {
      term *= (a + n) * (b + n) / ((1.0 - m - e + n) * (n + 1.0)) * z;
      sum += term;
      magnitude += std::fabs(term);
    }
    const double f = prefactor * gc * Gamma(m + e) * ReciprocalGamma(a + m + e) * ReciprocalGamma(b + m + e);
    finite = f * sum;
    finiteMagnitude = std::fabs(f) * magnitude;
  }
  // Scale of the combined series, u_0 = 1.
  double scale = prefactor * gc * ReciprocalGamma(a) * ReciprocalGamma(b) * std::pow(z, m) * Gamma(1.0 + e) /
                 Gamma(m + 1.0) * std::exp(-e * (sa + sb));
  if (m % 2 != 0) scale = -scale;
  const double deltaOverE = lz + sa + sb - sm - s1;  // ln(v_0 / u_0) / e
  const double delta = e * deltaOverE;
  double d = -deltaOverE * (delta == 0.0 ? 1.0 : std::expm1(delta) / delta);
  double u = 1.0, v = 1.0 - e * d;
  double sum = d, magnitude = std::fabs(d) + std::fabs(u) * (std::fabs(lz) + std::fabs(sa) + std::fabs(sb) +
                                                           std::fabs(sm) + std::fabs(s1));
  bool converged = false;
  for (int k = 0; k < kMaxTerms; ++k) {
    const double A = a + m + k, B = b + m + k, M = m + k + 1.0, J = k + 1.0, K = J - e;
    const double r = z * A * B / (M * K);
    const double s = z * (A + e) * (B + e) / ((M + e) * J);
    const double q = z * (A * B * J + A * B * M - (A + B) * M * J + e * (A + B) * M - e * M * J + e * e * M) /
                     (M * K * (M + e) * J);
    d = r * d + v * q;
    u *= r;
    v *= s;
    sum += d;
    magnitude += std::fabs(r * d) + std::fabs(v * q);
    if (std::fabs(d) + std::fabs(u) <= 1e-17 * std::fabs(sum)) {
      converged = true;
      break;
    }
  }
  est.value = finite + scale * sum;
  est.error = 8.0 * kEps * (finiteMagnitude + std::fabs(scale) * magnitude) +
              16.0 * kEps * (std::fabs(finite) + std::fabs(scale * sum));
  if (!converged) est.error += std::fabs(scale * sum) * 1e-3;
  est.converged = converged;
  if (!std::isfinite(est.value) || !std::isfinite(est.error)) est = Estimate{};
  return est;
}

// The connection formula around x = 1 for c - a - b = m not an integer:
// F = G(c)G(m)/(G(c-a)G(c-b)) F(a, b; 1-m; z) + z^m G(c)G(-m)/(G(a)G(b)) F(c-a, c-b; 1+m; z)
Estimate AroundOneGeneral(double prefactor, double a, double b, double c, double z) {
  Estimate e;
  const double m = c - a - b;
  double gc = Gamma(c);
  double first = prefactor * gc * Gamma(m) * ReciprocalGamma(c - a) * ReciprocalGamma(c - b);
  double second = prefactor * gc * Gamma(-m) * ReciprocalGamma(a) * ReciprocalGamma(b) * std::pow(z, m);
  Sum s1, s2;
  if (first != 0.0) s1 = DirectSum(a, b, 1.0 - m, z);
  if (second != 0.0) s2 = DirectSum(c - a, c - b, 1.0 + m, z);
  if (first == 0.0) s1.converged = true;
  if (second == 0.0) s2.converged = true;
  double v1 = first * s1.value, v2 = second * s2.value;
  e.value = v1 + v2;
  e.error = SumError(first, s1) + SumError(second, s2) + 16.0 * kEps * (std::fabs(v1) + std::fabs(v2));
  e.converged = s1.converged && s2.converged;
  if (!std::isfinite(e.value)) e = Estimate{};
  return e;
}

// prefactor * 2F1(a, b; c; 1 - z), 0 < z < 1, by the linear transformation to z.
Estimate AroundOne(double prefactor, double a, double b, double c, double z) {
  Estimate e;
  if (!(z > 0.0 && z < 1.0) || !std::isfinite(prefactor)) return e;
  double m = c - a - b;
  double mr = std::nearbyint(m);
  if (std::fabs(m - mr) > kNearInteger) return AroundOneGeneral(prefactor, a, b, c, z);
  if (mr < 0.0) {
    // Euler's transformation F(a,b;c;x) = (1-x)^(c-a-b) F(c-a, c-b; c; x) makes m positive.
    double ca = c - a, cb = c - b;
    double scale = prefactor * std::pow(z, m);
    if (IsNonPositiveInteger(ca) || IsNonPositiveInteger(cb)) {
      double first = IsNonPositiveInteger(ca) ? ca : cb;
      if (-first > kMaxRecurrenceSteps) return e;
      double p = Polynomial(first, first == ca ? cb : ca, c, 1.0 - z);
      e.value = scale * p;
      e.error = 64.0 * kEps * std::fabs(e.value);
      e.converged = true;
      return e;
    }
    return AroundOne(scale, ca, cb, c, z);
  }
  if (m != mr) {
    e = AroundOneNearInteger(prefactor, a, b, c, z, static_cast<int>(mr), m - mr);
    if (std::isfinite(e.value)) return e;
    // Where the limit form cannot be used, the nearer cases are taken as the
    // integer and the others go by the general form.
    if (std::fabs(m - mr) > kIntegerDistance) return AroundOneGeneral(prefactor, a, b, c, z);
    e = Estimate{};
  }
  // c = a + b + m, m = 0, 1, 2, ... (the logarithmic case):
  // F = G(m)G(c)/(G(a+m)G(b+m)) sum_(n<m) (a)_n (b)_n / (n! (1-m)_n) z^n
  //   - (-z)^m G(c)/(G(a)G(b)) sum_n (a+m)_n (b+m)_n / (n! (n+m)!) z^n
  //       [ln z - psi(n+1) - psi(n+m+1) + psi(a+n+m) + psi(b+n+m)]
  if (mr > kMaxTerms) return e;
  int mi = static_cast<int>(mr);
  double gc = Gamma(c);
  double finite = 0.0, finiteMagnitude = 0.0;
  if (mi > 0) {
    double term = 1.0, sum = 1.0, magnitude = 1.0;
    for (int n = 0; n + 1 < mi; ++n) {
      term *= (a + n) * (b + n) / ((n + 1.0) * (1.0 - mi + n)) * z;
      sum += term;
      magnitude += std::fabs(term);
    }
    double f = prefactor * Gamma(static_cast<double>(mi)) * gc * ReciprocalGamma(a + mi) * ReciprocalGamma(b + mi);
    finite = f * sum;
    finiteMagnitude = std::fabs(f) * magnitude;
  }
  double factor = prefactor * gc * ReciprocalGamma(a) * ReciprocalGamma(b) * std::pow(z, mr);
  if (mi % 2 != 0) factor = -factor;  // (-z)^m
  double sum = 0.0, magnitude = 0.0;
  bool converged = true;
  if (factor != 0.0) {
    double lz = std::log(z);
    double psiN1 = -kEuler;   // psi(n + 1)
    double psiNm1 = -kEuler;  // psi(n + m + 1)
    double factorialM = 1.0;
    for (int k = 1; k <= mi; ++k) {
      psiNm1 += 1.0 / k;
      factorialM *= k;
    }
    double psiA = Digamma(a + mi), psiB = Digamma(b + mi);
    double term = 1.0 / factorialM;
    double bracketMagnitude = std::fabs(lz) + std::fabs(psiN1) + std::fabs(psiNm1) + std::fabs(psiA) + std::fabs(psiB);
    sum = term * (lz - psiN1 - psiNm1 + psiA + psiB);
    magnitude = std::fabs(term) * bracketMagnitude;
    converged = false;
    for (int n = 0; n < kMaxTerms; ++n) {
      term *= (a + mi + n) * (b + mi + n) / ((n + 1.0) * (n + mi + 1.0)) * z;
      psiN1 += 1.0 / (n + 1.0);
      psiNm1 += 1.0 / (n + mi + 1.0);
      psiA += 1.0 / (a + mi + n);
      psiB += 1.0 / (b + mi + n);
      double delta = term * (lz - psiN1 - psiNm1 + psiA + psiB);
      sum += delta;
      bracketMagnitude = std::fabs(lz) + std::fabs(psiN1) + std::fabs(psiNm1) + std::fabs(psiA) + std::fabs(psiB);
      magnitude += std::fabs(term) * bracketMagnitude;
      if (delta == 0.0 || std::fabs(delta) <= 1e-17 * std::fabs(sum)) {
        converged = true;
        break;
      }
      if (n + 1 == kMaxTerms) converged = std::fabs(delta) <= kTolerance * std::fabs(sum);
    }
  }
  e.value = finite - factor * sum;
  e.error = 8.0 * kEps * (finiteMagnitude + std::fabs(factor) * magnitude) +
            16.0 * kEps * (std::fabs(finite) + std::fabs(factor * sum));
  if (!converged) e.error += std::fabs(factor * sum) * 1e-3;
  e.converged = converged;
  if (!std::isfinite(e.value)) e = Estimate{};
  return e;
}

// prefactor * 2F1(a, b; c; x) for x < -1 by the transformation to 1/x:
// F = G(c)G(b-a)/(G(b)G(c-a)) (-x)^-a F(a, a-c+1; a-b+1; 1/x)
//   + G(c)G(a-b)/(G(a)G(c-b)) (-x)^-b F(b, b-c+1; b-a+1; 1/x)
Estimate Inverse(double prefactor, double a, double b, double c, double x) {
  Estimate e;
  double d = b - a;
  if (std::fabs(d - std::nearbyint(d)) <= kIntegerDistance) return e;
  double gc = Gamma(c);
  double first = prefactor * gc * Gamma(d) * ReciprocalGamma(b) * ReciprocalGamma(c - a) * std::pow(-x, -a);
  double second = prefactor * gc * Gamma(-d) * ReciprocalGamma(a) * ReciprocalGamma(c - b) * std::pow(-x, -b);
  Estimate e1 = first == 0.0 ? Estimate{0.0, 0.0, true} : Direct(first, a, a - c + 1.0, 1.0 - d, 1.0 / x);
  Estimate e2 = second == 0.0 ? Estimate{0.0, 0.0, true} : Direct(second, b, b - c + 1.0, 1.0 + d, 1.0 / x);
  e.value = e1.value + e2.value;
  e.error = e1.error + e2.error + 16.0 * kEps * (std::fabs(e1.value) + std::fabs(e2.value));
  e.converged = e1.converged && e2.converged;
  if (!std::isfinite(e.value)) e = Estimate{};
  return e;
}

void Consider(Estimate& best, const Estimate& candidate) {
  if (!std::isfinite(candidate.value) || !std::isfinite(candidate.error)) return;
  if (!std::isfinite(best.error) || candidate.error < best.error) best = candidate;
}

// 2F1 for x < 1 with no polynomial or divergent case left.
Estimate General(double a, double b, double c, double x) {
  Estimate best;
  double euler = c - a - b;
  if (std::fabs(x) < 1.0) {
    Consider(best, Direct(1.0, a, b, c, x));
    Consider(best, Direct(std::pow(1.0 - x, euler), c - a, c - b, c, x));
  }
  if (x > 0.5) Consider(best, AroundOne(1.0, a, b, c, 1.0 - x));
  if (x < 0.5) {
    // Pfaff: F(a,b;c;x) = (1-x)^-a F(a, c-b; c; w) = (1-x)^-b F(b, c-a; c; w),
    // w = x/(x-1), 1 - w = 1/(1-x).
    double w = x / (x - 1.0);
    double pa = std::pow(1.0 - x, -a), pb = std::pow(1.0 - x, -b);
    Consider(best, Direct(pa, a, c - b, c, w));
    Consider(best, Direct(pb, b, c - a, c, w));
    if (w > 0.5) {
      Consider(best, AroundOne(pa, a, c - b, c, 1.0 / (1.0 - x)));
      Consider(best, AroundOne(pb, b, c - a, c, 1.0 / (1.0 - x)));
    }
  }
  if (x < -1.0) Consider(best, Inverse(1.0, a, b, c, x));
  return best;
}

}  // namespace

double HypGeom(double x, double a, double b, double c, const char*& failure) {
  failure = nullptr;
  if (std::isnan(x) || std::isnan(a) || std::isnan(b) || std::isnan(c) || x > 1.0) return kNaN;
  if (std::isinf(x) || std::isinf(a) || std::isinf(b) || std::isinf(c)) return kNaN;
  // A non-positive integer a or b ends the series: a polynomial of that degree.
  double degree = -1.0;
  if (IsNonPositiveInteger(a)) degree = -a;
  if (IsNonPositiveInteger(b) && (degree < 0.0 || -b < degree)) degree = -b;
  bool cPole = IsNonPositiveInteger(c);
  if (cPole && (degree < 0.0 || degree > -c)) {
    failure = kHypergeometricDivergent;
    return kNaN;
  }
  if (degree >= 0.0) {
    if (degree > kMaxRecurrenceSteps) return kNaN;
    double first = -degree == a ? a : b;
    return Polynomial(first, first == a ? b : a, c, x);
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
  Estimate best = General(a, b, c, x);
  if (!std::isfinite(best.value)) return kNaN;
  if (!best.converged) failure = kHypergeometricAccuracy;
  return best.value;
}

}  // namespace vorlane::mSpecialFunctions
