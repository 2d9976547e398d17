// Elliptic integrals and classical orthogonal polynomials. The other special
// functions live in mSpecialGamma.cpp, mSpecialIntegrals.cpp,
// mSpecialBessel.cpp and mSpecialHypergeometric.cpp.
#include "evaluator/mSpecialFunctions.h"

#include <cmath>
#include <cstdint>

#include "evaluator/mSpecialInternal.h"
#include "util/Numbers.h"

namespace vorlane::mSpecialFunctions {

using namespace detail;

namespace {

struct Elliptic {
  double first;   // F
  double second;  // E
};

// Complete integrals K(k), E(k) and, for 0 <= phi < pi/2, the incomplete
// ones by the arithmetic-geometric mean with descending Landen steps of the
// amplitude: F = phi_N / (2^N a_N), E = F (1 - S) + sum c_n sin phi_n,
// S = sum 2^(n-1) c_n^2.
void EllipticAgm(double k, double phi, bool incomplete, Elliptic& complete, Elliptic& partial) {
  double a = 1.0;
  double b = std::sqrt((1.0 - k) * (1.0 + k));
  double weight = 0.5;
  double s = weight * k * k;
  double sines = 0.0;
  double power = 1.0;  // 2^n
  for (int n = 1; n <= 40; ++n) {
    double c = 0.5 * (a - b);
    if (c <= 0.0) break;
    if (incomplete) {
      double turns = std::nearbyint(phi / kPi);
      double r = phi - turns * kPi;
      phi = phi + std::atan2(b * std::sin(r), a * std::cos(r)) + turns * kPi;
    }
    double an = 0.5 * (a + b);
    b = std::sqrt(a * b);
    a = an;
    weight *= 2.0;
    power *= 2.0;
    s += weight * c * c;
    if (incomplete) sines += c * std::sin(phi);
    if (c <= 1e-17 * a) break;
  }
  complete.first = kPi / (2.0 * a);
  complete.second = complete.first * (1.0 - s);
  if (incomplete) {
    partial.first = phi / (power * a);
    partial.second = partial.first * (1.0 - s) + sines;
  }
}

// F (second = false) or E (second = true) for an amplitude in degrees; when
// known, the same amplitude in radians, used unrounded where F is steep.
double EllipticIntegral(double phiDegrees, double k, bool second, double radians = kNaN) {
  if (std::isnan(phiDegrees) || std::isnan(k) || std::isinf(phiDegrees)) return kNaN;
  k = std::fabs(k);
  if (k > 1.0) return kNaN;
  // phi = 180 turns + r, r in [-90, 90]; each half turn adds twice the complete integral.
  double r = std::remainder(phiDegrees, 180.0);
  double turns = std::nearbyint((phiDegrees - r) / 180.0);
  double sign = r < 0.0 ? -1.0 : 1.0;
  r = std::fabs(r);
  // An amplitude converted from another angle unit misses 90 by a few ulps;
  // it still means the complete integral.
  if (std::fabs(r - 90.0) <= 90.0 * 8.0 * kEps) r = 90.0;
  if (k == 1.0) {
    // F(phi, 1) = arsinh(tan phi), E(phi, 1) = sin phi. The equal form
    // artanh(sin phi) loses every digit as phi nears 90 degrees.
    double angle = std::isnan(radians) ? r * (kPi / 180.0) : std::fabs(radians);
    if (second) return 2.0 * turns + sign * (r == 90.0 ? 1.0 : std::sin(angle));
    if (r == 90.0 || turns != 0.0) return kInf;
    return sign * std::asinh(std::tan(angle));
  }
  Elliptic complete{}, partial{};
  bool incomplete = r != 90.0 && r != 0.0;
  EllipticAgm(k, r * (kPi / 180.0), incomplete, complete, partial);
  double part = 0.0;
  if (r == 90.0) {
    part = second ? complete.second : complete.first;
  } else if (incomplete) {
    part = second ? partial.second : partial.first;
  }
  double whole = second ? complete.second : complete.first;
  return 2.0 * turns * whole + sign * part;
}

// Degree of an orthogonal polynomial, or -1 when it is not a usable number.
std::int64_t Degree(double n) {
  auto rounded = RoundToInt32(n);
  if (!rounded) return -1;
  if (*rounded < 1) return 0;
  if (*rounded > kMaxRecurrenceSteps) return -1;
  return *rounded;
}

// Hermite values of lower degree can leave the double range where the one
// asked for does not (H_n(0) is 0 for odd n, H_n(1e-200) is near it): the two
// last values are kept as value x 2^-scale, brought down by a power of two
// when they grow large.
void RescaleRecurrence(double& previous, double& current, int& scale) {
  constexpr int kBits = 600;
  if (!(std::fabs(current) > 0x1p600 || std::fabs(previous) > 0x1p600)) return;
  previous = std::ldexp(previous, -kBits);
  current = std::ldexp(current, -kBits);
  scale += kBits;
}

}  // namespace

double Elli1(double phiDegrees, double k) { return EllipticIntegral(phiDegrees, k, false); }

double Elli2(double phiDegrees, double k) { return EllipticIntegral(phiDegrees, k, true); }

double Elli1Radians(double phi, double k) {
  return EllipticIntegral(phi * 180.0 / kProgramPi, k, false, std::fabs(phi) < kProgramPi / 2 ? phi : kNaN);
}

double Elli2Radians(double phi, double k) {
  return EllipticIntegral(phi * 180.0 / kProgramPi, k, true, std::fabs(phi) < kProgramPi / 2 ? phi : kNaN);
}

double PolyLe(double x, double n) {
  std::int64_t degree = Degree(n);
  if (degree < 0 || std::isnan(x)) return kNaN;
  if (degree == 0) return 1.0;
  double previous = 1.0, current = x;
  for (std::int64_t k = 2; k <= degree && std::isfinite(current); ++k) {
    double next = ((2.0 * k - 1.0) * x * current - (k - 1.0) * previous) / k;
    previous = current;
    current = next;
  }
  return current;
}

double PolyHe(double x, double n) {
  std::int64_t degree = Degree(n);
  if (degree < 0 || std::isnan(x)) return kNaN;
  if (degree == 0) return 1.0;
  double previous = 1.0, current = 2.0 * x;
  int scale = 0;
  for (std::int64_t k = 2; k <= degree && std::isfinite(current); ++k) {
    double next = 2.0 * x * current - 2.0 * (k - 1.0) * previous;
    previous = current;
    current = next;
    RescaleRecurrence(previous, current, scale);
  }
  return scale == 0 ? current : std::ldexp(current, scale);
}

double PolyLa(double x, double n) {
  std::int64_t degree = Degree(n);
  if (degree < 0 || std::isnan(x)) return kNaN;
  if (degree == 0) return 1.0;
  double previous = 1.0, current = 1.0 - x;
  for (std::int64_t k = 2; k <= degree && std::isfinite(current); ++k) {
    double next = ((2.0 * k - 1.0 - x) * current - (k - 1.0) * previous) / k;
    previous = current;
    current = next;
  }
  return current;
}

double PolyCh(double x, double n) {
  std::int64_t degree = Degree(n);
  if (degree < 0 || std::isnan(x)) return kNaN;
  if (degree == 0) return 1.0;
  double previous = 1.0, current = x;
  for (std::int64_t k = 2; k <= degree && std::isfinite(current); ++k) {
    double next = 2.0 * x * current - previous;
    previous = current;
    current = next;
  }
  return current;
}

}  // namespace vorlane::mSpecialFunctions
