#include "evaluator/ExprMath.h"

#include <algorithm>
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
    r = r * static_cast<double>(n - i + 1) / static_cast<double>(i);
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

// ln(mean) is outside the logarithm's domain for a mean of 0 or below.
double Poisson(double k, double mean) {
  if (!(mean > 0)) return kNaN;
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

double BinomialTerm(double k, double n, double p) {
  double c = Comb(n, k);
  return c * std::pow(p, k) * std::pow(1 - p, n - k);
}

}  // namespace

double Binomial(double a, double b, double p) {
  double k, n;
  if (!IntegerOf(a, k) || !IntegerOf(b, n)) return kNaN;
  return BinomialTerm(k, n, p);
}

double CumulativeBinomial(double a, double b, double p) {
  double k, n;
  if (!IntegerOf(a, k) || !IntegerOf(b, n)) return kNaN;
  if (n < 0 || n > 2147483647.0) return kNaN;
  double last = std::min(k, n);  // terms beyond n are zero
  double sum = 0.0;
  for (double i = 0; i <= last; i += 1.0) {
    double term = BinomialTerm(i, n, p);
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
