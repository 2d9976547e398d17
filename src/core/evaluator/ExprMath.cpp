#include "evaluator/ExprMath.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "evaluator/ExprOperands.h"
#include "evaluator/mSpecialFunctions.h"

namespace vorlane::expr {

namespace sf = mSpecialFunctions;

// Rounds to the nearest integer; fails when x is farther than 5e-14 from it.
bool IntegerOf(double x, double& n) {
  if (!std::isfinite(x)) return false;
  n = std::nearbyint(x);
  return std::fabs(x - n) <= kSnap;
}

bool IntegerOf32(double x, std::int64_t& n) {
  double d;
  if (!IntegerOf(x, d) || d < -2147483648.0 || d > 2147483647.0) return false;
  n = static_cast<std::int64_t>(d);
  return true;
}

namespace {

// Small whole powers x^n in double-double arithmetic: each product keeps its
// exact rounding error, so the result is the correctly rounded power in all
// but vanishingly rare cases, and cheaper than the general pow. With hardware
// FMA the exact error is one instruction; without, Dekker's splitting gives
// the same exact error, so both paths give identical results.
struct DoubleDouble {
  double hi, lo;
};

inline DoubleDouble Renormalize(double hi, double lo) {
  const double s = hi + lo;
  return {s, lo - (s - hi)};
}

// a * b - p exactly, for p = fl(a * b), by splitting into 26-bit halves.
inline double ProductError(double a, double b, double p) {
  const double ta = 134217729.0 * a, tb = 134217729.0 * b;  // 2^27 + 1
  const double ah = ta - (ta - a), al = a - ah;
  const double bh = tb - (tb - b), bl = b - bh;
  return ((ah * bh - p) + ah * bl + al * bh) + al * bl;
}

constexpr int HighestBit(int n) {
  int bit = 0;
  while ((n >> (bit + 1)) != 0) ++bit;
  return bit;
}

double IntegerPowerPortable(double x, int n) {
  DoubleDouble r{x, 0.0};
  for (int bit = HighestBit(n) - 1; bit >= 0; --bit) {
    double p = r.hi * r.hi;
    r = Renormalize(p, ProductError(r.hi, r.hi, p) + 2 * r.hi * r.lo);
    if ((n >> bit) & 1) {
      p = r.hi * x;
      r = Renormalize(p, ProductError(r.hi, x, p) + r.lo * x);
    }
  }
  return r.hi + r.lo;
}

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
__attribute__((target("fma"))) double IntegerPowerFma(double x, int n) {
  DoubleDouble r{x, 0.0};
  for (int bit = HighestBit(n) - 1; bit >= 0; --bit) {
    double p = r.hi * r.hi;
    r = Renormalize(p, __builtin_fma(r.hi, r.hi, -p) + 2 * r.hi * r.lo);
    if ((n >> bit) & 1) {
      p = r.hi * x;
      r = Renormalize(p, __builtin_fma(r.hi, x, -p) + r.lo * x);
    }
  }
  return r.hi + r.lo;
}

// The same with the exponent fixed: the loop unrolls into a straight chain.
template <int N>
__attribute__((target("fma"))) double IntegerPowerFmaFixed(double x) {
  DoubleDouble r{x, 0.0};
#pragma GCC unroll 8
  for (int bit = HighestBit(N) - 1; bit >= 0; --bit) {
    double p = r.hi * r.hi;
    r = Renormalize(p, __builtin_fma(r.hi, r.hi, -p) + 2 * r.hi * r.lo);
    if ((N >> bit) & 1) {
      p = r.hi * x;
      r = Renormalize(p, __builtin_fma(r.hi, x, -p) + r.lo * x);
    }
  }
  return r.hi + r.lo;
}

bool CpuHasFma() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("fma");
}

const bool g_cpuHasFma = CpuHasFma();

}  // namespace

double IntegerPower(double x, int n) {
  if (!g_cpuHasFma) return IntegerPowerPortable(x, n);
  switch (n) {
    case 3: return IntegerPowerFmaFixed<3>(x);
    case 4: return IntegerPowerFmaFixed<4>(x);
    case 5: return IntegerPowerFmaFixed<5>(x);
    case 6: return IntegerPowerFmaFixed<6>(x);
    case 7: return IntegerPowerFmaFixed<7>(x);
    case 8: return IntegerPowerFmaFixed<8>(x);
    case 9: return IntegerPowerFmaFixed<9>(x);
    case 10: return IntegerPowerFmaFixed<10>(x);
    case 11: return IntegerPowerFmaFixed<11>(x);
    case 12: return IntegerPowerFmaFixed<12>(x);
    default: return IntegerPowerFma(x, n);
  }
}

namespace {

// x^N as "^" gives it for a whole N from 3 on (see Power), the exponent fixed.
template <int N>
__attribute__((target("fma"))) double WholePowerFma(double x) {
  const double ax = std::fabs(x);
  if (ax > 1e-4 && ax < 1e4) return IntegerPowerFmaFixed<N>(x);
  return std::pow(x, N);
}

#else
}  // namespace

double IntegerPower(double x, int n) { return IntegerPowerPortable(x, n); }

namespace {

const bool g_cpuHasFma = false;
#endif

template <int N>
double WholePowerPortable(double x) {
  const double ax = std::fabs(x);
  if (ax > 1e-4 && ax < 1e4) return IntegerPowerPortable(x, N);
  return std::pow(x, N);
}

template <int... N>
constexpr std::array<WholePowerFn, kWholePowerTop + 1> WholePowers(bool fma, std::integer_sequence<int, N...>) {
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
  if (fma) return {nullptr, nullptr, nullptr, &WholePowerFma<N + 3>...};
#else
  (void)fma;
#endif
  return {nullptr, nullptr, nullptr, &WholePowerPortable<N + 3>...};
}

}  // namespace

const std::array<WholePowerFn, kWholePowerTop + 1> g_wholePower =
    WholePowers(g_cpuHasFma, std::make_integer_sequence<int, kWholePowerTop - 2>());

double Asin(double x) {
  if (std::fabs(x) == 1.0) return Sgn(x) * kPi / 2;
  return std::atan(x / std::sqrt(1 - x * x));
}

double Acos(double x) {
  if (x == 1.0) return 0.0;
  if (x == -1.0) return kPi;
  return std::atan(-x / std::sqrt(1 - x * x)) + 2 * std::atan(1.0);
}

// Binomial coefficient and falling factorial of non-negative integral
// arguments; NaN when an argument is unfit or the result overflows.
double Comb(double a, double b) {
  std::int64_t n, k;
  if (a < 0 || b < 0 || !IntegerOf32(a, n) || !IntegerOf32(b, k)) return kNaN;
  if (k > n) return 0.0;
  if (k == 0) return 1.0;
  std::int64_t m = std::min(k, n - k);
  double r = 1.0;
  for (std::int64_t i = 1; i <= m; ++i) {
    const double product = r * static_cast<double>(n - i + 1);
    // Near the top of the range the product overflows before its division;
    // dividing first keeps every result that fits.
    r = std::isinf(product) ? r / static_cast<double>(i) * static_cast<double>(n - i + 1)
                            : product / static_cast<double>(i);
    if (!std::isfinite(r)) return kNaN;
  }
  return r;
}

double Perm(double a, double b) {
  std::int64_t n, k;
  if (a < 0 || b < 0 || !IntegerOf32(a, n) || !IntegerOf32(b, k)) return kNaN;
  if (k > n) return 0.0;
  double r = 1.0;
  for (std::int64_t i = n; i > n - k; --i) {
    r *= static_cast<double>(i);
    if (!std::isfinite(r)) return kNaN;
  }
  return r;
}

bool GcdArguments(double a, double b, std::int64_t& x, std::int64_t& y) {
  return a >= 0 && b >= 0 && IntegerOf32(a, x) && IntegerOf32(b, y);
}

std::int64_t Gcd(std::int64_t x, std::int64_t y) {
  while (y != 0) {
    std::int64_t t = x % y;
    x = y;
    y = t;
  }
  return x;
}

double Fact(double a) {
  double n;
  if (a < 0 || !IntegerOf(a, n)) return kNaN;
  if (n > 170) return kNaN;  // beyond the double range
  double r = 1.0;
  for (int i = 2; i <= static_cast<int>(n); ++i) r *= i;
  return r;
}

double Dec(double x) {
  if (x == 0.0) return kNaN;
  double frac = x - std::trunc(x);
  int digits = static_cast<int>(std::floor(std::log10(std::fabs(x)))) + 1;
  int decimals = 15 - digits;
  if (decimals < 0) return 0.0 * frac;  // no decimals left to keep
  double p = PowerOfTen(decimals);
  double y = frac * p;
  if (!std::isfinite(p) || !std::isfinite(y) || std::fabs(y) >= 9007199254740992.0) return frac;
  return std::nearbyint(y) / p;
}

namespace {

constexpr double kPiExact = 3.141592653589793238462643;  // the program's pi has 15 digits
constexpr double kSmallestNormal = std::numeric_limits<double>::min();
// Beyond this mean or count the terms of the Poisson formula's exponent are
// so large that their cancellation costs digits (1e-13 of the value by 1e4).
constexpr double kLargePoisson = 100.0;

// Probabilities of the binomial and Poisson distributions in the saddle-point
// form (C. Loader, "Fast and accurate computation of binomial probabilities",
// 2000): every step stays in range and loses no digits to cancellation, where
// the products and logarithms of the plain formulas overflow or cancel.

// ln(n!) - ln(sqrt(2 pi n) (n/e)^n) for a whole n >= 1.
double StirlingError(double n) {
  constexpr double s0 = 1.0 / 12, s1 = 1.0 / 360, s2 = 1.0 / 1260, s3 = 1.0 / 1680, s4 = 1.0 / 1188;
  if (n <= 15.0) {
    double factorial = 1.0;  // exact up to 15!
    for (double i = 2.0; i <= n; i += 1.0) factorial *= i;
    return std::log(factorial) - (n + 0.5) * std::log(n) + n - 0.5 * std::log(2 * kPiExact);
  }
  const double nn = n * n;
  if (n > 500.0) return (s0 - s1 / nn) / n;
  if (n > 80.0) return (s0 - (s1 - s2 / nn) / nn) / n;
  if (n > 35.0) return (s0 - (s1 - (s2 - s3 / nn) / nn) / nn) / n;
  return (s0 - (s1 - (s2 - (s3 - s4 / nn) / nn) / nn) / nn) / n;
}

// x ln(x/m) + m - x, the deviance term, without cancellation for x near m.
double Deviance(double x, double m) {
  if (std::fabs(x - m) < 0.1 * (x + m)) {
    const double v = (x - m) / (x + m);
    double sum = (x - m) * v;
    double term = 2 * x * v;
    for (int j = 1; j < 1000; ++j) {
      term *= v * v;
      const double next = sum + term / (2 * j + 1);
      if (next == sum) break;
      sum = next;
    }
    return sum;
  }
  return x * std::log(x / m) + m - x;
}

// comb(n, k) p^k (1 - p)^(n - k) for whole 0 <= k <= n and 0 < p < 1.
double BinomialSaddle(double k, double n, double p) {
  const double q = 1 - p;
  if (k == 0) return n == 0 ? 1.0 : std::exp(p < 0.1 ? -Deviance(n, n * q) - n * p : n * std::log(q));
  if (k == n) return std::exp(q < 0.1 ? -Deviance(n, n * p) - n * q : n * std::log(p));
  const double lc = StirlingError(n) - StirlingError(k) - StirlingError(n - k) - Deviance(k, n * p) -
                    Deviance(n - k, n * q);
  const double lf = std::log(2 * kPiExact) + std::log(k) + std::log1p(-k / n);
  return std::exp(lc - 0.5 * lf);
}

// mean^k e^-mean / k! for a whole k >= 0 and a finite mean > 0.
double PoissonSaddle(double k, double mean) {
  if (k == 0) return std::exp(-mean);
  return std::exp(-StirlingError(k) - Deviance(k, mean)) / std::sqrt(2 * kPiExact * k);
}

}  // namespace

// ln(mean) is outside the logarithm's domain for a mean of 0 or below. Large
// arguments take the saddle-point form: there k ln(mean), mean and ln k!
// cancel to a few digits or overflow.
double Poisson(double k, double mean) {
  if (!(mean > 0)) return kNaN;
  if (k >= 0 && std::isfinite(mean) && (mean > kLargePoisson || k > kLargePoisson)) return PoissonSaddle(k, mean);
  return std::exp(k * std::log(mean) - mean - sf::GammaLn(k + 1));
}

double CumulativePoisson(double a, double mean) {
  double k;
  if (!IntegerOf(a, k)) return kNaN;
  if (!(mean > 0) || !std::isfinite(mean)) return Poisson(0, mean);  // the fault of the first term
  if (k < 0) return 0.0;
  // Terms more than 40 standard deviations below the mean are zero in
  // doubles, and past the mean they shrink steadily, so only a window around
  // the mean contributes.
  double first = mean > 1e4 ? std::floor(mean - 40 * std::sqrt(mean)) : 0.0;
  if (k < first) return 0.0;
  double sum = 0.0;
  long long count = 0;
  for (double i = first; i <= k; i += 1.0) {
    double term = Poisson(i, mean);
    if (!std::isfinite(term)) return kNaN;
    sum += term;
    if (i > mean && term <= sum * 1e-17) break;
    if (++count > 10000000) return kNaN;
  }
  return sum;
}

namespace {

// comb(n, k) p^k (1 - p)^(n - k); `plain` is cleared when a factor left the
// normal double range and the saddle-point form gave the value instead.
double BinomialTerm(double k, double n, double p, bool& plain) {
  double c = Comb(n, k);
  double pk = std::pow(p, k), qk = std::pow(1 - p, n - k);
  plain = !(p > 0 && p < 1 && k >= 0 && k <= n && n <= 2147483647.0) ||
          (std::isfinite(c) && pk >= kSmallestNormal && qk >= kSmallestNormal);
  return plain ? c * pk * qk : BinomialSaddle(k, n, p);
}

// The sum of the terms 0 .. k, for 0 < p < 1 and 0 <= k <= n: the terms rise
// to the mode and fall after it, so the sum walks out from the mode (or down
// from k) until the terms no longer count, compensated (Neumaier) since it
// starts with the largest terms.
double BinomialSaddleSum(double k, double n, double p) {
  constexpr double kNegligible = 1e-20;
  const double mode = std::min(k, std::floor((n + 1) * p));
  double sum = 0.0, compensation = 0.0;
  auto add = [&](double term) {
    const double next = sum + term;
    compensation += std::fabs(sum) >= std::fabs(term) ? (sum - next) + term : (term - next) + sum;
    sum = next;
    return term <= sum * kNegligible;
  };
  for (double i = mode; i >= 0; i -= 1.0) {
    if (add(BinomialSaddle(i, n, p))) break;
  }
  for (double i = mode + 1; i <= k; i += 1.0) {
    if (add(BinomialSaddle(i, n, p))) break;
  }
  return sum + compensation;
}

}  // namespace

double Binomial(double a, double b, double p) {
  double k, n;
  if (!IntegerOf(a, k) || !IntegerOf(b, n)) return kNaN;
  bool plain;
  return BinomialTerm(k, n, p, plain);
}

double CumulativeBinomial(double a, double b, double p) {
  double k, n;
  if (!IntegerOf(a, k) || !IntegerOf(b, n)) return kNaN;
  if (n < 0 || n > 2147483647.0) return kNaN;
  double last = std::min(k, n);  // terms beyond n are zero
  double sum = 0.0;
  for (double i = 0; i <= last; i += 1.0) {
    bool plain;
    double term = BinomialTerm(i, n, p, plain);
    if (!plain) return BinomialSaddleSum(last, n, p);  // large n: only the terms near the mode count
    if (!std::isfinite(term)) return kNaN;
    sum += term;
  }
  return sum;
}

double WaveDecay(double u, double a) { return std::exp(a * (std::floor(u) - u)); }
double WaveDecayHalf(double u, double a) {
  return std::exp(a * (std::floor(u + 0.5) - u - 0.5));
}

double WaveLin(double t, double p, double d) {
  double u = t / p;
  double i = std::floor(u - d), j = std::floor(-d), k = std::floor(u);
  return (i * i * p + i * (2 * d * p + p - 2 * t) - j * j * p - j * (2 * d + 1) * p - k * k * p +
          k * (2 * t - p) + (d * p - p - 2 * t) * d) /
         (d * p * (1 - d));
}

}  // namespace vorlane::expr
