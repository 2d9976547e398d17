// The arithmetic behind the evaluator's operators and functions. Power and
// the rounding helpers are inline: the evaluation calls them per row.
// Internal to the evaluator.
#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

#include "evaluator/ExprFunctions.h"

namespace vorlane::expr {

// Rounds to the nearest integer; fails when x is farther than 5e-14 from it.
bool IntegerOf(double x, double& n);
bool IntegerOf32(double x, std::int64_t& n);

// x^n for 3 <= n <= 60, correctly rounded in all but vanishingly rare cases
// (double-double products; identical results with and without hardware FMA).
double IntegerPower(double x, int n);

// x^n as "^" gives it for a whole 3 <= n <= 60 (IntegerPower near 1, else
// the library's pow), one function per n for this processor: the program
// calls the one of its exponent directly. Entries below 3 are empty.
inline constexpr int kWholePowerTop = 60;
using WholePowerFn = double (*)(double x);
extern const std::array<WholePowerFn, kWholePowerTop + 1> g_wholePower;

// x rounded to the nearest integer, halves to even, for |x| < 2^52: adding
// and taking away 2^52 (with x's sign) leaves no fraction. Shorter latency
// than a round trip through an integer register; the branch on the sign is
// shorter than copying the sign.
inline constexpr double kTwo52 = 4503599627370496.0;
inline double NearestBelow2To52(double x) { return x >= 0 ? (x + kTwo52) - kTwo52 : (x - kTwo52) + kTwo52; }

// floor(x) without the library call that baseline x86-64 needs for it; the
// same value, -0, NaN and infinities included.
inline double Floor(double x) {
  if (!(std::fabs(x) < kTwo52)) return x;  // already whole
  double t = NearestBelow2To52(x);
  if (t > x) t -= 1.0;
  return t == 0.0 ? std::copysign(0.0, x) : t;
}

// "^": 0^0 is refused; x^2 by one multiplication is exactly the rounded
// square, small whole powers go by IntegerPower.
inline double Power(double x, double y) {
  if (y == 2.0) return x * x;
  const double ax = std::fabs(x);
  if (y >= 3.0 && y <= 60.0 && ax > 1e-4 && ax < 1e4 && y == static_cast<double>(static_cast<int>(y))) {
    return IntegerPower(x, static_cast<int>(y));
  }
  if (x == 0.0 && y == 0.0) return kNaN;
  return std::pow(x, y);
}

// The nearest integer, halves up (the rounding of "round"): the nearest with
// halves to even, then a half that went down goes up. The same values as
// floor(y) + (y - floor(y) >= 0.5), -0 for -0 only.
inline double RoundHalfUp(double y) {
  if (!(std::fabs(y) < kTwo52)) return y;  // already whole, or not a number
  double n = NearestBelow2To52(y);
  if (y - n == 0.5) n += 1.0;
  return y == 0.0 ? y : n;
}

// Whether x is finite, from its bits: integer operations only, beside the
// floating-point units that the computation itself keeps busy.
inline bool Finite(double x) { return (std::bit_cast<std::uint64_t>(x) >> 52 & 0x7ff) != 0x7ff; }

inline double SnapZero(double x) { return std::fabs(x) < kSnap ? 0.0 : x; }
inline double Sgn(double x) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }
inline bool Truth(double x) { return x != 0.0; }

double Asin(double x);
double Acos(double x);
double Comb(double a, double b);
double Perm(double a, double b);
bool GcdArguments(double a, double b, std::int64_t& x, std::int64_t& y);
std::int64_t Gcd(std::int64_t x, std::int64_t y);
double Fact(double a);
double Dec(double x);
double Poisson(double k, double mean);
double CumulativePoisson(double a, double mean);
double Binomial(double a, double b, double p);
double CumulativeBinomial(double a, double b, double p);
double WaveDecay(double u, double a);
double WaveDecayHalf(double u, double a);
double WaveLin(double t, double p, double d);

}  // namespace vorlane::expr
