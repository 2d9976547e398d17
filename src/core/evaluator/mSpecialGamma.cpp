// Gamma family: Gamma, its logarithm, digamma, beta, zeta, and the
// regularized incomplete gamma and beta functions.
#include <array>
#include <cmath>

#include "evaluator/mSpecialFunctions.h"
#include "evaluator/mSpecialInternal.h"

namespace vorlane::mSpecialFunctions {

using namespace detail;

namespace detail {

double SinPi(double x) {
  if (!std::isfinite(x)) return kNaN;
  double r = std::remainder(x, 2.0);  // exact, in [-1, 1]
  double sign = 1.0;
  if (r < 0.0) {
    r = -r;
    sign = -1.0;
  }
  if (r > 0.5) r = 1.0 - r;  // exact
  if (r > 0.25) return sign * std::cos(kPi * (0.5 - r));
  return sign * std::sin(kPi * r);
}

double CosPi(double x) {
  if (!std::isfinite(x)) return kNaN;
  double r = std::fabs(std::remainder(x, 2.0));  // exact, in [0, 1]
  double sign = 1.0;
  if (r > 0.5) {
    r = 1.0 - r;
    sign = -1.0;
  }
  if (r > 0.25) return sign * std::sin(kPi * (0.5 - r));
  return sign * std::cos(kPi * r);
}

namespace {

// Published Lanczos coefficients for g = 607/128 (15 terms).
constexpr double kLanczosLead = 0.999999999999997092;
constexpr std::array<double, 14> kLanczosCoefficients = {
    57.1562356658629235,     -59.5979603554754912,    14.1360979747417471,
    -0.491913816097620199,   0.339946499848118887e-4, 0.465236289270485756e-4,
    -0.983744753048795646e-4, 0.158088703224912494e-3, -0.210264441724104883e-3,
    0.217439618115212643e-3, -0.164318106536763890e-3, 0.844182239838527433e-4,
    -0.261908384015814087e-4, 0.368991826595316234e-5};

// Largest argument whose Gamma value is a finite double.
constexpr double kGammaOverflow = 171.62437695630271;

// Bernoulli numbers B2 .. B22 for the asymptotic series of digamma.
constexpr std::array<double, 11> kBernoulli = {
    1.0 / 6.0,          -1.0 / 30.0,     1.0 / 42.0,       -1.0 / 30.0,
    5.0 / 66.0,         -691.0 / 2730.0, 7.0 / 6.0,        -3617.0 / 510.0,
    43867.0 / 798.0,    -174611.0 / 330.0, 854513.0 / 138.0};

// zeta(k) - 1 for k = 0 .. kZetaTableSize-1 (entries below 2 unused), formed at
// compile time by summing n^-k up to n = 15 and the Euler-Maclaurin tail.
constexpr int kZetaTableSize = 40;

constexpr double IntegerPower(double base, int k) {
  double r = 1.0;
  for (int i = 0; i < k; ++i) r *= base;
  return r;
}

constexpr double ZetaMinusOne(int k) {
  constexpr int n = 16;
  double sum = 0.0;
  for (int i = n - 1; i >= 2; --i) sum += IntegerPower(1.0 / i, k);
  double inverse = 1.0 / n;
  double nk = IntegerPower(inverse, k);  // n^-k
  double tail = n * nk / (k - 1) + nk / 2.0;
  // + sum_j B_2j / (2j)! k (k+1) ... (k+2j-2) n^(-k-2j+1)
  constexpr double bernoulli[] = {1.0 / 6.0, -1.0 / 30.0, 1.0 / 42.0, -1.0 / 30.0, 5.0 / 66.0, -691.0 / 2730.0};
  double rising = k;
  double power = nk * inverse;
  double factorial = 2.0;
  for (int j = 1; j <= 6; ++j) {
    tail += bernoulli[j - 1] / factorial * rising * power;
    rising *= (k + 2.0 * j - 1.0) * (k + 2.0 * j);
    power *= inverse * inverse;
    factorial *= (2.0 * j + 1.0) * (2.0 * j + 2.0);
  }
  return sum + tail;
}

constexpr std::array<double, kZetaTableSize> MakeZetaTable() {
  std::array<double, kZetaTableSize> table{};
  for (int k = 2; k < kZetaTableSize; ++k) table[k] = ZetaMinusOne(k);
  return table;
}

constexpr std::array<double, kZetaTableSize> kZetaMinusOne = MakeZetaTable();

// sum_(k>=2) (-1)^k (zeta(k) - 1) z^k / k for |z| <= 1/2.
double LnGammaTaylorTail(double z) {
  double sum = 0.0;
  double power = z * z;
  for (int k = 2; k < kZetaTableSize; ++k) {
    double term = kZetaMinusOne[k] * power / k;
    sum += (k % 2 == 0) ? term : -term;
    if (std::fabs(term) < 1e-18 * std::fabs(sum)) break;
    power *= z;
  }
  return sum;
}

// sum_(k>=2) (-1)^k (zeta(k) - 1) z^(k-1) for |z| <= 1/2.
double DigammaTaylorTail(double z) {
  double sum = 0.0;
  double power = z;
  for (int k = 2; k < kZetaTableSize; ++k) {
    double term = kZetaMinusOne[k] * power;
    sum += (k % 2 == 0) ? term : -term;
    if (std::fabs(term) < 1e-18 * std::fabs(sum)) break;
    power *= z;
  }
  return sum;
}

bool IsSmallPositiveInteger(double x) { return x >= 1.0 && x <= 171.0 && x == std::floor(x); }

double Factorial(int n) {
  double f = 1.0;
  for (int k = 2; k <= n; ++k) f *= k;
  return f;
}

}  // namespace

double LanczosSum(double x) {
  double sum = kLanczosLead;
  for (std::size_t j = 0; j < kLanczosCoefficients.size(); ++j) {
    sum += kLanczosCoefficients[j] / (x + static_cast<double>(j + 1));
  }
  return sum;
}

double GammaPositive(double x) {
  if (IsSmallPositiveInteger(x)) return Factorial(static_cast<int>(x) - 1);
  if (x > kGammaOverflow) return kInf;
  double t = x + kLanczosShift;
  // t^(x + 1/2) e^-t as t^(x/2) e^-t t^(x/2) sqrt(t): no early overflow, and
  // no rounding of x + 1/2 in the exponent.
  double half = std::pow(t, 0.5 * x);
  double value = kSqrt2Pi * LanczosSum(x) / x * std::sqrt(t) * (half * std::exp(-t)) * half;
  // Below about 1e-306 the sum over x leaves the double range before the
  // small factors bring it back; Gamma(x) = Gamma(1 + x) / x there.
  if (std::isinf(value) && x < 1.0) return GammaPositive(1.0 + x) / x;
  return value;
}

double LnGammaPositive(double x) {
  if (x == 1.0 || x == 2.0) return 0.0;
  // Taylor series about 1 and 2, exact near the zeros of ln Gamma:
  // ln Gamma(2+z) = (1 - gamma) z + sum_(k>=2) (-1)^k (zeta(k) - 1) z^k / k,
  // ln Gamma(1+z) = ln Gamma(2+z) - ln(1+z).
  if (x >= 0.5 && x < 1.5) {
    double z = x - 1.0;
    return (1.0 - kEuler) * z + LnGammaTaylorTail(z) - std::log1p(z);
  }
  if (x >= 1.5 && x <= 2.5) {
    double z = x - 2.0;
    return (1.0 - kEuler) * z + LnGammaTaylorTail(z);
  }
  if (x < 100.0) {
    double g = GammaPositive(x);
    // Gamma overflows below about 5.6e-309; ln Gamma(x) = ln Gamma(1 + x) - ln x.
    if (std::isinf(g)) return LnGammaPositive(1.0 + x) - std::log(x);
    return std::log(g);
  }
  double t = x + kLanczosShift;
  double lt = std::log(t);
  return (x * lt - t) + (0.5 * lt + std::log(kSqrt2Pi * LanczosSum(x) / x));
}

double ReciprocalGamma(double x) {
  if (std::isnan(x)) return kNaN;
  if (IsNonPositiveInteger(x)) return 0.0;
  if (x > 0.0) {
    if (x > kGammaOverflow) return 0.0;
    return 1.0 / GammaPositive(x);
  }
  // 1/Gamma(x) = sin(pi x) Gamma(1 - x) / pi
  double g = GammaPositive(1.0 - x);
  if (std::isinf(g)) {
    double s = SinPi(x);
    double l = LnGammaPositive(1.0 - x) + std::log(std::fabs(s) / kPi);
    return std::copysign(std::exp(l), s);
  }
  return SinPi(x) * g / kPi;
}

double GammaPowerPrefix(double a, double x) {
  if (x == 0.0) return 0.0;
  if (a < 10.0) {
    double l = a * std::log(x) - x;
    if (l < 700.0 && l > -700.0) return std::exp(l) / GammaPositive(a);
    return std::exp(l - LnGammaPositive(a));
  }
  // x^a e^-x / Gamma(a) = a / (sqrt(2 pi) S(a) sqrt(t)) (x/t)^a e^(t - x)
  double t = a + kLanczosShift;
  double d = (x - a) - kLanczosShift;
  double exponent;
  if (std::fabs(d) < 0.5 * t) {
    exponent = a * std::log1p(d / t) - d;
  } else {
    exponent = a * std::log(x / t) - d;
  }
  return a / (kSqrt2Pi * LanczosSum(a) * std::sqrt(t)) * std::exp(exponent);
}

double LogRatio(double difference, double numerator, double denominator) {
  double u = difference / denominator;
  if (std::fabs(u) < 0.5) return std::log1p(u);
  return std::log(numerator / denominator);
}

double BetaPowerPrefix(double a, double b, double x, double y) {
  // With t_z = z + shift and c = a + b:
  // x^a y^b / B(a,b) = S(c)/(S(a)S(b)) * ab/c / sqrt(2 pi) * e^shift * sqrt(t_c/(t_a t_b))
  //                    * (x t_c/t_a)^a * (y t_c/t_b)^b
  const double g = kLanczosShift;
  double c = a + b;
  double ta = a + g, tb = b + g, tc = c + g;
  // x t_c/t_a = 1 + (xb - ya - g y)/t_a, y t_c/t_b = 1 + (ya - xb - g x)/t_b
  double exponent = a * LogRatio((x * b - y * a) - g * y, x * tc, ta) +
                    b * LogRatio((y * a - x * b) - g * x, y * tc, tb);
  if (exponent < -800.0) return 0.0;
  double factor = LanczosSum(c) / (LanczosSum(a) * LanczosSum(b)) * (a * (b / c)) / kSqrt2Pi *
                  std::exp(g) * std::sqrt(tc / ta) / std::sqrt(tb);
  return factor * std::exp(exponent);
}

}  // namespace detail

namespace {

// ln|Gamma(x)| and the sign of Gamma(x); x must not be a pole.
double LnGammaAbs(double x, double& sign) {
  sign = 1.0;
  if (x > 0.0) return LnGammaPositive(x);
  double s = SinPi(x);
  sign = s < 0.0 ? -1.0 : 1.0;
  return std::log(kPi / std::fabs(s)) - LnGammaPositive(1.0 - x);
}

}  // namespace

double Gamma(double x) {
  if (std::isnan(x) || IsNonPositiveInteger(x)) return kNaN;
  if (x > 0.0) return GammaPositive(x);
  // Reflection: Gamma(x) = pi / (sin(pi x) Gamma(1 - x))
  double s = SinPi(x);
  double g = GammaPositive(1.0 - x);
  if (std::isinf(g)) {
    double l = std::log(kPi / std::fabs(s)) - LnGammaPositive(1.0 - x);
    return std::copysign(std::exp(l), s);
  }
  return kPi / (s * g);
}

void GammaSplit(double x, double& mantissa, double& exponent) {
  mantissa = kNaN;
  exponent = 0.0;
  if (std::isnan(x) || IsNonPositiveInteger(x)) return;
  double value = Gamma(x);
  if (std::isfinite(value) && value != 0.0 && std::fabs(value) >= 1e-300) {
    double e = std::floor(std::log10(std::fabs(value)));
    double m = value / std::pow(10.0, e);
    if (std::fabs(m) >= 10.0) {
      m /= 10.0;
      e += 1.0;
    } else if (std::fabs(m) < 1.0) {
      m *= 10.0;
      e -= 1.0;
    }
    mantissa = m;
    exponent = e;
    return;
  }
  double sign = 1.0;
  double log10Value = LnGammaAbs(x, sign) / kLn10;
  double e = std::floor(log10Value);
  mantissa = sign * std::pow(10.0, log10Value - e);
  exponent = e;
}

double GammaLn(double x) {
  if (std::isnan(x) || IsNonPositiveInteger(x)) return kNaN;
  double sign = 1.0;
  double l = LnGammaAbs(x, sign);
  return sign < 0.0 ? kNaN : l;  // the logarithm of a negative value does not exist
}

double Digamma(double x) {
  if (std::isnan(x) || IsNonPositiveInteger(x)) return kNaN;
  if (std::isinf(x)) return x > 0.0 ? kInf : kNaN;
  if (x < 0.0) {
    // Reflection: psi(x) = psi(1 - x) - pi cot(pi x)
    return Digamma(1.0 - x) - kPi * CosPi(x) / SinPi(x);
  }
  // Taylor series about 1 and 2, exact near the zero at 1.4616:
  // psi(2+z) = 1 - gamma + sum_(k>=2) (-1)^k (zeta(k) - 1) z^(k-1), psi(1+z) = psi(2+z) - 1/(1+z).
  if (x >= 0.5 && x < 1.5) {
    double z = x - 1.0;
    return -kEuler + z / x + DigammaTaylorTail(z);
  }
  if (x >= 1.5 && x <= 2.5) return (1.0 - kEuler) + DigammaTaylorTail(x - 2.0);
  // Upward recurrence psi(x) = psi(x + 1) - 1/x, summed with compensation.
  double shift = 0.0, shiftError = 0.0;
  double y = x;
  for (int i = 0; y < 8.0; ++i) {
    double term = 1.0 / y;
    double s = shift + term;
    double bp = s - shift;
    shiftError += (shift - (s - bp)) + (term - bp);
    shift = s;
    y = x + (i + 1);
  }
  // Asymptotic series ln y - 1/(2y) - sum B_2k / (2k y^2k)
  double inv2 = 1.0 / (y * y);
  double power = inv2;
  double series = 0.0;
  for (std::size_t k = 0; k < kBernoulli.size(); ++k) {
    series += kBernoulli[k] / (2.0 * (k + 1)) * power;
    power *= inv2;
  }
  double asymptotic = std::log(y) - 0.5 / y - series;
  return (asymptotic - shift) - shiftError;
}

double Beta(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return kNaN;
  if (IsNonPositiveInteger(a) || IsNonPositiveInteger(b)) return kNaN;
  double c = a + b;
  // a + b = c + cError exactly; Gamma at the rounded sum is corrected by the
  // first-order term cError psi(c), otherwise a rounded c costs c psi(c) ulps.
  double bPart = c - a;
  double cError = (a - (c - bPart)) + (b - bPart);
  if (a > 0.0 && b > 0.0) {
    if (c < kGammaOverflow && a > 1e-300 && b > 1e-300) {
      double value = GammaPositive(a) * GammaPositive(b) / GammaPositive(c);
      // Gamma(a) Gamma(b) overflows for small a and b whose beta fits (below
      // about 1e-154 each); the Lanczos form below does not.
      if (std::isfinite(value)) return cError == 0.0 ? value : value * (1.0 - cError * Digamma(c));
    }
    // Lanczos sums combined, the powers taken as ratios close to 1:
    // B = sqrt(2 pi) e^-shift S(a)S(b)/S(c) c/(ab) sqrt(t_c) (t_a/t_c)^(a+1/2) (t_b/t_c)^(b+1/2)
    double tc = c + kLanczosShift;
    double exponent = (a + 0.5) * LogRatio(-b, a + kLanczosShift, tc) + (b + 0.5) * LogRatio(-a, b + kLanczosShift, tc);
    // c/(ab) in two divisions when ab leaves the normal range (a = b = 1e-300).
    double ab = a * b;
    double ratio = ab >= kSmallestNormal ? c / ab : c / a / b;
    double factor = kSqrt2Pi * std::exp(-kLanczosShift) * LanczosSum(a) * LanczosSum(b) /
                    LanczosSum(c) * ratio * std::sqrt(tc);
    double value = factor * std::exp(exponent);
    if (std::isinf(value)) {
      // c/(ab) sqrt(t_c) overflows while the power brings it back (beta(1e-300, 1e300)).
      value = kSqrt2Pi * std::exp(-kLanczosShift) * LanczosSum(a) * LanczosSum(b) / LanczosSum(c) * ratio *
              (std::sqrt(tc) * std::exp(exponent));
    }
    return value;
  }
  // Negative (non-integer) arguments: Gamma(a) Gamma(b) / Gamma(a + b), sign included.
  double ga = Gamma(a), gb = Gamma(b), rc = ReciprocalGamma(c);
  if (rc == 0.0) return 0.0;
  double value = ga * gb * rc;
  if (!std::isfinite(value)) value = ga * (gb * rc);  // Gamma(a) Gamma(b) alone may overflow
  if (std::isfinite(value) && value != 0.0) return cError == 0.0 ? value : value * (1.0 - cError * Digamma(c));
  double sa = 1.0, sb = 1.0, sc = 1.0;
  double l = LnGammaAbs(a, sa) + LnGammaAbs(b, sb) - LnGammaAbs(c, sc);
  return sa * sb * sc * std::exp(l);
}

namespace {

// Globally convergent alternating series
// zeta(s) = 1/(1 - 2^(1-s)) sum_n 2^-(n+1) sum_k (-1)^k C(n,k) (k+1)^-s, s >= 0;
// 1 - s is passed separately so that it is exact near the pole.
double ZetaSeries(double s, double oneMinusS) {
  constexpr int kMaxTerms = 100;
  std::array<double, kMaxTerms + 1> powers{};    // (-1)^k (k+1)^-s, filled as needed
  std::array<double, kMaxTerms + 1> binomials{};  // row n of Pascal's triangle
  double sum = 0.0;
  double scale = 0.5;
  for (int n = 0; n <= kMaxTerms; ++n) {
    powers[n] = (n % 2 == 0 ? 1.0 : -1.0) * std::pow(n + 1.0, -s);
    binomials[n] = 1.0;
    for (int k = n - 1; k >= 1; --k) binomials[k] += binomials[k - 1];
    double inner = 0.0;
    for (int k = 0; k <= n; ++k) inner += binomials[k] * powers[k];
    double term = inner * scale;
    sum += term;
    scale *= 0.5;
    if (n > 2 && std::fabs(term) < 1e-17 * std::fabs(sum)) break;
  }
  return sum / -std::expm1(oneMinusS * kLn2);
}

}  // namespace

double Zeta(double s) {
  if (std::isnan(s) || s == 1.0) return kNaN;
  if (std::isinf(s)) return s > 0.0 ? 1.0 : kNaN;
  if (s < 0.0) {
    // Functional equation: zeta(s) = 2 (2 pi)^(s-1) sin(pi s/2) Gamma(1-s) zeta(1-s)
    double sine = SinPi(0.5 * s);
    if (sine == 0.0) return 0.0;  // trivial zeros at the negative even integers
    double z = ZetaSeries(1.0 - s, s);
    double g = GammaPositive(1.0 - s);
    if (std::isfinite(g)) return 2.0 * std::pow(2.0 * kPi, s - 1.0) * sine * g * z;
    double l = kLn2 + (s - 1.0) * std::log(2.0 * kPi) + std::log(std::fabs(sine)) +
               LnGammaPositive(1.0 - s) + std::log(z);
    return std::copysign(std::exp(l), sine);
  }
  if (s > 60.0) {
    // 1 + 2^-s + 3^-s, the rest is below the last bit.
    return 1.0 + std::pow(2.0, -s) + std::pow(3.0, -s);
  }
  return ZetaSeries(s, 1.0 - s);
}

double GammaI(double a, double x, const char*& failure) {
  failure = nullptr;
  if (std::isnan(a) || std::isnan(x) || x < 0.0 || a <= 0.0) return kNaN;
  double xam = a * std::log(x) - x;
  if (xam > 700.0 || a > 170.0) {
    failure = kIncompleteGammaTooLarge;
    return kNaN;
  }
  if (x == 0.0) return 0.0;
  if (std::isinf(x)) return 1.0;
  double prefix = GammaPowerPrefix(a, x);
  if (x <= 1.0 + a) {
    // gamma(a, x) / Gamma(a) = x^a e^-x / Gamma(a) * sum x^k / (a (a+1) ... (a+k))
    double r = 1.0 / a;
    double s = r;
    for (int k = 1; k < 10000; ++k) {
      r *= x / (a + k);
      s += r;
      if (r < 1e-17 * s) break;
    }
    return prefix * s;
  }
  // Gamma(a, x) / Gamma(a) by the continued fraction, modified Lentz.
  constexpr double kTiny = 1e-300;
  double b = x + 1.0 - a;
  double c = 1.0 / kTiny;
  double d = 1.0 / b;
  double h = d;
  for (int i = 1; i < 10000; ++i) {
    double an = -i * (i - a);
    b += 2.0;
    d = an * d + b;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = b + an / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1.0 / d;
    double delta = d * c;
    h *= delta;
    if (std::fabs(delta - 1.0) < 1e-16) break;
  }
  return 1.0 - prefix * h;
}

namespace {

// Continued fraction of the incomplete beta function (modified Lentz).
double BetaContinuedFraction(double a, double b, double x) {
  constexpr double kTiny = 1e-300;
  double qab = a + b, qap = a + 1.0, qam = a - 1.0;
  double c = 1.0;
  double d = 1.0 - qab * x / qap;
  if (std::fabs(d) < kTiny) d = kTiny;
  d = 1.0 / d;
  double h = d;
  for (int m = 1; m < 100000; ++m) {
    double m2 = 2.0 * m;
    double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
    d = 1.0 + aa * d;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = 1.0 + aa / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1.0 / d;
    h *= d * c;
    aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
    d = 1.0 + aa * d;
    if (std::fabs(d) < kTiny) d = kTiny;
    c = 1.0 + aa / c;
    if (std::fabs(c) < kTiny) c = kTiny;
    d = 1.0 / d;
    double delta = d * c;
    h *= delta;
    if (std::fabs(delta - 1.0) < 1e-16 || !std::isfinite(h)) break;
  }
  return h;
}

}  // namespace

double BetaI(double x, double a, double b) {
  if (std::isnan(x) || std::isnan(a) || std::isnan(b)) return kNaN;
  if (a <= 0.0 || b <= 0.0 || x < 0.0 || x > 1.0 || !std::isfinite(a + b)) return kNaN;
  if (x == 0.0) return 0.0;
  if (x == 1.0) return 1.0;
  double y = 1.0 - x;
  if (x < (a + 1.0) / (a + b + 2.0)) {
    double prefix = BetaPowerPrefix(a, b, x, y);
    return prefix == 0.0 ? 0.0 : prefix * BetaContinuedFraction(a, b, x) / a;
  }
  double prefix = BetaPowerPrefix(b, a, y, x);
  return prefix == 0.0 ? 1.0 : 1.0 - prefix * BetaContinuedFraction(b, a, y) / b;
}

}  // namespace vorlane::mSpecialFunctions
