// Helpers shared by the special-function sources. Not part of the module's
// interface: everything here is internal to evaluator/mSpecial*.cpp.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace vorlane::mSpecialFunctions::detail {

inline constexpr double kPi = 3.141592653589793238462643;
inline constexpr double kEuler = 0.5772156649015328606065121;
inline constexpr double kSqrtPi = 1.772453850905516027298167;
inline constexpr double kSqrt2Pi = 2.506628274631000502415765;
inline constexpr double kLn2 = 0.6931471805599453094172321;
inline constexpr double kLn10 = 2.302585092994045684017991;
inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double kInf = std::numeric_limits<double>::infinity();
inline constexpr double kEps = std::numeric_limits<double>::epsilon();
inline constexpr double kSmallestNormal = std::numeric_limits<double>::min();

// Upper bound on the steps of a recurrence in the order or degree. Beyond it
// the function reports a fault instead of running for seconds.
inline constexpr std::int64_t kMaxRecurrenceSteps = 1'000'000;

inline bool IsNonPositiveInteger(double x) { return x <= 0.0 && x == std::floor(x); }

// sin(pi x) and cos(pi x) with exact reduction of the argument, so that zeros
// at integers (and half-integers) come out exactly.
double SinPi(double x);
double CosPi(double x);

// Lanczos approximation, g = 607/128, in the form
// Gamma(x) = sqrt(2 pi) * LanczosSum(x) / x * t^(x + 1/2) * e^-t, t = x + kLanczosShift.
inline constexpr double kLanczosShift = 5.2421875;
double LanczosSum(double x);

double GammaPositive(double x);     // x > 0
double LnGammaPositive(double x);   // x > 0
double ReciprocalGamma(double x);   // 1/Gamma(x); 0 at the poles
// x^a e^-x / Gamma(a) for a > 0, x >= 0, without the loss of exponentiating
// large logarithms.
double GammaPowerPrefix(double a, double x);
// x^a (1-x)^b / B(a, b) for a, b > 0, 0 < x < 1; y is 1 - x.
double BetaPowerPrefix(double a, double b, double x, double y);

// Bessel functions of orders 0 and 1 for x > 0.
struct BesselPair {
  double order0;
  double order1;
};
BesselPair BesselJPair(double x);
BesselPair BesselYPair(double x);
// Exponentially scaled: I(x) e^-x and K(x) e^x.
BesselPair BesselIScaledPair(double x);
BesselPair BesselKScaledPair(double x);

}  // namespace vorlane::mSpecialFunctions::detail
