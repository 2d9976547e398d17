// Bessel functions J, Y, I, K of integer order.
#include <cmath>
#include <cstdint>

#include "evaluator/mSpecialFunctions.h"
#include "evaluator/mSpecialInternal.h"
#include "util/Numbers.h"

namespace vorlane::mSpecialFunctions {

using namespace detail;

namespace {

// Below this J and Y of orders 0 and 1 come from their power series; up to
// kHankel from a backward recurrence, beyond from the Hankel expansion.
constexpr double kBesselSeries = 1.0;
constexpr double kHankel = 20.0;
constexpr double kTiny = 1e-300;
// Rescaling of recurrences that would otherwise overflow.
constexpr int kScaleBits = 600;
constexpr double kScaleBig = 0x1p600;
constexpr double kScaleSmall = 0x1p-600;

// Hankel expansion of J and Y (or I and K) of order nu for large x:
// p = sum (-1)^k a_2k / x^2k, q = sum (-1)^k a_(2k+1) / x^(2k+1),
// a_k = (4nu^2 - 1)(4nu^2 - 9)...(4nu^2 - (2k-1)^2) / (k! 8^k).
void HankelSums(double nu, double x, double& p, double& q) {
  double mu = 4.0 * nu * nu;
  double a = 1.0;
  p = 1.0;
  q = 0.0;
  double last = kInf;
  for (int k = 1; k < 200; ++k) {
    double odd = 2.0 * k - 1.0;
    a *= (mu - odd * odd) / (8.0 * k * x);
    double size = std::fabs(a);
    if (size > last || a == 0.0) break;
    last = size;
    switch (k % 4) {
      case 1: q += a; break;
      case 2: p -= a; break;
      case 3: q -= a; break;
      default: p += a; break;
    }
    if (size < 1e-18) break;
  }
}

// sum a_k / x^k with all signs positive (sign = 1) or alternating (sign = -1).
double HankelSumAll(double nu, double x, double sign) {
  double mu = 4.0 * nu * nu;
  double a = 1.0, sum = 1.0, last = kInf;
  for (int k = 1; k < 200; ++k) {
    double odd = 2.0 * k - 1.0;
    a *= sign * (mu - odd * odd) / (8.0 * k * x);
    double size = std::fabs(a);
    if (size > last || a == 0.0) break;
    last = size;
    sum += a;
    if (size < 1e-18) break;
  }
  return sum;
}

// Starting order of the backward recurrence for J at x: the magnitude
// estimate 0.5 log10(6.28 m) - m log10(1.36 x / m) of -log10 |J_m(x)| must
// reach 18 digits.
int BackwardStart(double x) {
  int m = static_cast<int>(x) + 2;
  for (;; ++m) {
    double envelope = 0.5 * std::log10(6.28 * m) - m * std::log10(1.36 * x / m);
    if (envelope >= 18.0) break;
  }
  return m + (m % 2);
}

struct BesselJY {
  double j0, j1, y0, y1;
};

BesselJY BesselJYSmall(double x) {
  // J0 = sum (-x^2/4)^k / (k!)^2, J1 = x/2 sum (-x^2/4)^k / (k!(k+1)!)
  // Y0 = 2/pi [(ln(x/2) + gamma) J0 + sum (-1)^(k+1) H_k (x^2/4)^k / (k!)^2]
  // Y1 = -2/(pi x) + 2/pi ln(x/2) J1 - x/(2 pi) sum (psi(k+1) + psi(k+2)) (-x^2/4)^k / (k!(k+1)!)
  double q = -0.25 * x * x;
  double t0 = 1.0, t1 = 1.0;  // (-x^2/4)^k / (k!)^2 and / (k!(k+1)!)
  double j0 = 1.0, j1 = 1.0, ys0 = 0.0;
  double harmonic = 0.0;
  double psiSum = 1.0 - 2.0 * kEuler;  // psi(1) + psi(2)
  double ys1 = psiSum;
  for (int k = 1; k < 60; ++k) {
    t0 *= q / (static_cast<double>(k) * k);
    t1 *= q / (static_cast<double>(k) * (k + 1));
    harmonic += 1.0 / k;
    psiSum += 1.0 / k + 1.0 / (k + 1);
    j0 += t0;
    j1 += t1;
    ys0 -= harmonic * t0;
    ys1 += psiSum * t1;
    if (std::fabs(t0) < 1e-18) break;
  }
  j1 *= 0.5 * x;
  double l = std::log(0.5 * x);
  BesselJY r;
  r.j0 = j0;
  r.j1 = j1;
  r.y0 = 2.0 / kPi * ((l + kEuler) * j0 + ys0);
  r.y1 = -2.0 / (kPi * x) + 2.0 / kPi * l * j1 - x / (2.0 * kPi) * ys1;
  return r;
}

BesselJY BesselJYRecurrence(double x) {
  // Backward recurrence from a high order, normalised by
  // J0 + 2 (J2 + J4 + ...) = 1; Y0 and Y1 from the Neumann series
  // pi/2 Y0 = (ln(x/2) + gamma) J0 - 2 sum (-1)^k J_2k / k,
  // pi/2 Y1 = (ln(x/2) + gamma - 1) J1 - J0/x + sum (-1)^(k+1) (2k+1)/(k(k+1)) J_(2k+1).
  int m = BackwardStart(x);
  double next = 0.0, current = 1e-30;  // f(k+1), f(k), starting with k = m
  double norm = 0.0, sum0 = 0.0, sum1 = 0.0;
  for (int k = m; k >= 1; --k) {
    double previous = (2.0 * k / x) * current - next;  // f(k-1)
    int j = k;                                         // bookkeeping for f(k)
    if (j % 2 == 0) {
      norm += 2.0 * current;
      int half = j / 2;
      sum0 += (half % 2 == 0 ? current : -current) / half;
    } else if (j >= 3) {
      int half = (j - 1) / 2;
      double w = (2.0 * half + 1.0) / (static_cast<double>(half) * (half + 1));
      sum1 += (half % 2 == 1 ? w : -w) * current;
    }
    next = current;
    current = previous;
  }
  // now current = f(0), next = f(1)
  norm += current;
  double j0 = current / norm, j1 = next / norm;
  double l = std::log(0.5 * x) + kEuler;
  BesselJY r;
  r.j0 = j0;
  r.j1 = j1;
  r.y0 = 2.0 / kPi * (l * j0 - 2.0 * sum0 / norm);
  r.y1 = 2.0 / kPi * ((l - 1.0) * j1 - j0 / x + sum1 / norm);
  return r;
}

BesselJY BesselJYHankel(double x) {
  double p0, q0, p1, q1;
  HankelSums(0.0, x, p0, q0);
  HankelSums(1.0, x, p1, q1);
  double c = std::cos(x), s = std::sin(x);
  double scale = std::sqrt(2.0 / (kPi * x)) / std::sqrt(2.0);
  // chi0 = x - pi/4: cos = (c + s)/sqrt2, sin = (s - c)/sqrt2
  // chi1 = x - 3pi/4: cos = (s - c)/sqrt2, sin = -(s + c)/sqrt2
  BesselJY r;
  r.j0 = scale * (p0 * (c + s) - q0 * (s - c));
  r.y0 = scale * (p0 * (s - c) + q0 * (c + s));
  r.j1 = scale * (p1 * (s - c) + q1 * (s + c));
  r.y1 = scale * (-p1 * (s + c) + q1 * (s - c));
  return r;
}

BesselJY BesselJYBoth(double x) {
  if (x < kBesselSeries) return BesselJYSmall(x);
  if (x <= kHankel) return BesselJYRecurrence(x);
  return BesselJYHankel(x);
}

// Order n as a non-negative count plus the sign that J_-n = (-1)^n J_n gives.
bool SplitOrder(double n, std::int64_t& order, bool& odd) {
  auto rounded = RoundToInt32(n);
  if (!rounded) return false;
  order = *rounded < 0 ? -static_cast<std::int64_t>(*rounded) : *rounded;
  odd = order % 2 != 0;
  return true;
}

// value * f1 * f2 * 2^exponent without overflow or underflow on the way.
double ScaledProduct(double value, int exponent, double f1, double f2) {
  int e = 0;
  double m = std::frexp(value, &e);
  exponent += e;
  m = std::frexp(m * f1, &e);
  exponent += e;
  m = std::frexp(m * f2, &e);
  exponent += e;
  return std::ldexp(m, exponent);
}

// Leading term of ln I_n(x) (sign = 1) or ln K_n(x) (sign = -1) from the
// uniform expansion for large order: +-(sqrt(n^2 + x^2) - n asinh(n/x)), less
// the logarithm of the algebraic factor. Accurate enough to see that the value
// is far beyond the range of a double, so that no recurrence has to find out.
double LogMagnitudeIK(double x, double n, double sign) {
  double root = std::hypot(n, x);
  double power = root - n * std::asinh(n / x);
  return sign * power - 0.5 * (std::log(2.0 * kPi) + std::log(root)) + (sign < 0.0 ? std::log(kPi) : 0.0);
}

// Upper bound of ln((x/2)^n / n!) used to see that J_n(x) or I_n(x) e^-x underflows.
double LogPowerOverFactorial(double x, double n) {
  return n * std::log(0.5 * x) - (n * std::log(n) - n);
}

}  // namespace

namespace detail {

BesselPair BesselJPair(double x) {
  BesselJY r = BesselJYBoth(x);
  return {r.j0, r.j1};
}

BesselPair BesselYPair(double x) {
  BesselJY r = BesselJYBoth(x);
  return {r.y0, r.y1};
}

BesselPair BesselIScaledPair(double x) {
  if (x <= kHankel) {
    // I0 = sum (x^2/4)^k / (k!)^2, I1 = x/2 sum (x^2/4)^k / (k!(k+1)!)
    double q = 0.25 * x * x;
    double t0 = 1.0, t1 = 1.0, i0 = 1.0, i1 = 1.0;
    for (int k = 1; k < 500; ++k) {
      t0 *= q / (static_cast<double>(k) * k);
      t1 *= q / (static_cast<double>(k) * (k + 1));
      i0 += t0;
      i1 += t1;
      if (t1 < 1e-18 * i1) break;
    }
    double e = std::exp(-x);
    return {i0 * e, 0.5 * x * i1 * e};
  }
  double scale = 1.0 / std::sqrt(2.0 * kPi * x);
  return {scale * HankelSumAll(0.0, x, -1.0), scale * HankelSumAll(1.0, x, -1.0)};
}

BesselPair BesselKScaledPair(double x) {
  if (x <= kBesselSeries) {
    // K0 = -(ln(x/2) + gamma) I0 + sum H_k (x^2/4)^k / (k!)^2
    // K1 = 1/x + ln(x/2) I1 - x/4 sum (psi(k+1) + psi(k+2)) (x^2/4)^k / (k!(k+1)!)
    double q = 0.25 * x * x;
    double t0 = 1.0, t1 = 1.0, i0 = 1.0, i1 = 1.0, s0 = 0.0;
    double harmonic = 0.0;
    double psiSum = 1.0 - 2.0 * kEuler;
    double s1 = psiSum;
    for (int k = 1; k < 60; ++k) {
      t0 *= q / (static_cast<double>(k) * k);
      t1 *= q / (static_cast<double>(k) * (k + 1));
      harmonic += 1.0 / k;
      psiSum += 1.0 / k + 1.0 / (k + 1);
      i0 += t0;
      i1 += t1;
      s0 += harmonic * t0;
      s1 += psiSum * t1;
      if (t0 < 1e-18) break;
    }
    i1 *= 0.5 * x;
    double l = std::log(0.5 * x);
    double k0 = -(l + kEuler) * i0 + s0;
    double k1 = 1.0 / x + l * i1 - 0.25 * x * s1;
    double e = std::exp(x);
    return {k0 * e, k1 * e};
  }
  if (x <= kHankel) {
    // Trapezoidal rule on K_nu(x) e^x = int_0^inf e^(-2x sinh^2(t/2)) cosh(nu t) dt,
    // exponentially accurate for this analytic, rapidly decaying integrand.
    constexpr double h = 0.15;
    double k0 = 0.5, k1 = 0.5;
    for (int j = 1; j < 2000; ++j) {
      double t = j * h;
      double sh = std::sinh(0.5 * t);
      double f = std::exp(-2.0 * x * sh * sh);
      k0 += f;
      k1 += f * std::cosh(t);
      if (f * std::cosh(t) < 1e-18 * k1) break;
    }
    return {h * k0, h * k1};
  }
  double scale = std::sqrt(kPi / (2.0 * x));
  return {scale * HankelSumAll(0.0, x, 1.0), scale * HankelSumAll(1.0, x, 1.0)};
}

}  // namespace detail

double J0(double x) {
  if (std::isnan(x)) return kNaN;
  x = std::fabs(x);
  if (x == 0.0) return 1.0;
  if (std::isinf(x)) return 0.0;
  return BesselJYBoth(x).j0;
}

double Y0(double x) {
  if (std::isnan(x) || x <= 0.0) return kNaN;
  if (std::isinf(x)) return 0.0;
  return BesselJYBoth(x).y0;
}

double I0(double x) {
  if (std::isnan(x)) return kNaN;
  x = std::fabs(x);
  if (x > 720.0) return kInf;
  double half = std::exp(0.5 * x);
  return BesselIScaledPair(x).order0 * half * half;
}

double K0(double x) {
  if (std::isnan(x) || x <= 0.0) return kNaN;
  if (x > 750.0) return 0.0;
  double half = std::exp(-0.5 * x);
  return BesselKScaledPair(x).order0 * half * half;
}

double BesselJ(double x, double n) {
  std::int64_t order;
  bool odd;
  if (std::isnan(x) || !SplitOrder(n, order, odd)) return kNaN;
  bool negate = odd && (x < 0.0) != (n < 0.0);
  x = std::fabs(x);
  double result;
  if (x == 0.0) {
    result = order == 0 ? 1.0 : 0.0;
  } else if (std::isinf(x)) {
    result = 0.0;
  } else if (order <= 1) {
    BesselJY r = BesselJYBoth(x);
    result = order == 0 ? r.j0 : r.j1;
  } else if (static_cast<double>(order) <= x) {
    // Forward recurrence, stable while the order stays below x.
    if (order > kMaxRecurrenceSteps) return kNaN;
    BesselJY r = BesselJYBoth(x);
    double previous = r.j0, current = r.j1;
    for (std::int64_t k = 1; k < order; ++k) {
      double next = (2.0 * k / x) * current - previous;
      previous = current;
      current = next;
    }
    result = current;
  } else if (LogPowerOverFactorial(x, static_cast<double>(order)) < -760.0) {
    result = 0.0;  // below the smallest double
  } else {
    if (order > kMaxRecurrenceSteps) return kNaN;
    // Ratio J_n / J_(n-1) from its continued fraction (modified Lentz), then
    // backward recurrence down to orders 0 and 1, matched to their values.
    double nn = static_cast<double>(order);
    double f = 2.0 * nn / x, c = f, d = 0.0;
    for (int i = 1; i < 1000000; ++i) {
      double b = 2.0 * (nn + i) / x;
      d = b - d;
      if (std::fabs(d) < kTiny) d = kTiny;
      c = b - 1.0 / c;
      if (std::fabs(c) < kTiny) c = kTiny;
      d = 1.0 / d;
      double delta = c * d;
      f *= delta;
      if (std::fabs(delta - 1.0) < 1e-16) break;
    }
    double ratio = 1.0 / f;  // J_n / J_(n-1)
    double next = ratio, current = 1.0;  // f(n), f(n-1)
    int scale = 0;
    for (std::int64_t k = order - 1; k >= 1; --k) {
      double previous = (2.0 * k / x) * current - next;
      next = current;
      current = previous;
      if (std::fabs(current) > kScaleBig) {
        current *= kScaleSmall;
        next *= kScaleSmall;
        scale += kScaleBits;
      }
    }
    // current = f(0), next = f(1); J_n = ratio * J_k / f(k) (times the scale)
    BesselJY r = BesselJYBoth(x);
    double value = std::fabs(r.j0) >= std::fabs(r.j1) ? ratio * r.j0 / current : ratio * r.j1 / next;
    result = std::ldexp(value, -scale);
  }
  return negate ? -result : result;
}

double BesselY(double x, double n) {
  std::int64_t order;
  bool odd;
  if (std::isnan(x) || x <= 0.0 || !SplitOrder(n, order, odd)) return kNaN;
  if (std::isinf(x)) return 0.0;
  // Y grows once the order passes x; far beyond x the recurrence would only
  // confirm the overflow.
  if (order > 2.0 * x + 1000.0) return -kInf;
  if (order > kMaxRecurrenceSteps) return kNaN;
  BesselJY r = BesselJYBoth(x);
  double result;
  if (order == 0) {
    result = r.y0;
  } else {
    // Forward recurrence, stable for Y; it stops once the value overflows.
    double previous = r.y0, current = r.y1;
    for (std::int64_t k = 1; k < order; ++k) {
      if (k > kMaxRecurrenceSteps) return kNaN;
      double next = (2.0 * k / x) * current - previous;
      previous = current;
      current = next;
      if (std::isinf(current)) break;
    }
    result = current;
  }
  return odd && n < 0.0 ? -result : result;
}

double BesselI(double x, double n) {
  std::int64_t order;
  bool odd;
  if (std::isnan(x) || !SplitOrder(n, order, odd)) return kNaN;
  bool negate = odd && x < 0.0;
  x = std::fabs(x);
  double result;
  if (x == 0.0) {
    result = order == 0 ? 1.0 : 0.0;
  } else if (std::isinf(x)) {
    result = kInf;
  } else if (order <= 1) {
    BesselPair p = BesselIScaledPair(x);
    double half = std::exp(0.5 * x);
    result = (order == 0 ? p.order0 : p.order1) * half * half;
  } else if (LogPowerOverFactorial(x, static_cast<double>(order)) + x < -760.0) {
    result = 0.0;
  } else if (LogMagnitudeIK(x, static_cast<double>(order), 1.0) > 720.0) {
    result = kInf;
  } else {
    if (order > kMaxRecurrenceSteps) return kNaN;
    // Ratio I_n / I_(n-1) from its continued fraction, backward recurrence
    // (stable for I) down to order 0, matched to I0.
    double nn = static_cast<double>(order);
    double f = 2.0 * nn / x, c = f, d = 0.0;
    for (int i = 1; i < 1000000; ++i) {
      double b = 2.0 * (nn + i) / x;
      d = b + d;
      d = 1.0 / d;
      c = b + 1.0 / c;
      double delta = c * d;
      f *= delta;
      if (std::fabs(delta - 1.0) < 1e-16) break;
    }
    double ratio = 1.0 / f;  // I_n / I_(n-1)
    double next = ratio, current = 1.0;
    int scale = 0;
    for (std::int64_t k = order - 1; k >= 1; --k) {
      double previous = (2.0 * k / x) * current + next;
      next = current;
      current = previous;
      if (current > kScaleBig) {
        current *= kScaleSmall;
        next *= kScaleSmall;
        scale += kScaleBits;
      }
    }
    double scaled = ratio * BesselIScaledPair(x).order0 / current;  // I_n e^-x 2^scale
    double half = std::exp(0.5 * x);
    result = ScaledProduct(scaled, -scale, half, half);
  }
  return negate ? -result : result;
}

double BesselK(double x, double n) {
  std::int64_t order;
  bool odd;
  if (std::isnan(x) || x <= 0.0 || !SplitOrder(n, order, odd)) return kNaN;
  if (std::isinf(x)) return 0.0;
  double magnitude = LogMagnitudeIK(x, static_cast<double>(order), -1.0);
  if (magnitude < -760.0) return 0.0;
  if (magnitude > 720.0) return kInf;
  if (order > kMaxRecurrenceSteps) return kNaN;
  BesselPair p = BesselKScaledPair(x);
  double scaled;
  int scale = 0;
  if (order == 0) {
    scaled = p.order0;
  } else {
    // Forward recurrence, stable for K, on K_k e^x 2^-scale: the scaled value
    // can leave the double range where K_n itself does not, so it is brought
    // back by a power of two whenever it grows large.
    double previous = p.order0, current = p.order1;
    for (std::int64_t k = 1; k < order; ++k) {
      if (k > kMaxRecurrenceSteps) return kNaN;
      double next = (2.0 * k / x) * current + previous;
      previous = current;
      current = next;
      if (current > kScaleBig) {
        current *= kScaleSmall;
        previous *= kScaleSmall;
        scale += kScaleBits;
      }
    }
    scaled = current;
  }
  double half = std::exp(-0.5 * x);
  if (scale == 0) return scaled * half * half;
  return ScaledProduct(scaled, scale, half, half);
}

}  // namespace vorlane::mSpecialFunctions
