// Error function, exponential integrals, sine and cosine integrals, Fresnel
// integrals and Airy functions.
#include <cmath>

#include "evaluator/mSpecialFunctions.h"
#include "evaluator/mSpecialInternal.h"
#include "util/Numbers.h"

namespace vorlane::mSpecialFunctions {

using namespace detail;

namespace {

constexpr double kTiny = 1e-300;

// Complex arithmetic for the continued fractions below: plain operations
// with Smith's division, cheaper than the library type's fully general ones.
struct Complex {
  double re = 0.0, im = 0.0;
  Complex() = default;
  Complex(double r, double i = 0.0) : re(r), im(i) {}
  double real() const { return re; }
  double imag() const { return im; }
  Complex& operator+=(double v) {
    re += v;
    return *this;
  }
  Complex& operator*=(const Complex& o) {
    double r = re * o.re - im * o.im;
    im = re * o.im + im * o.re;
    re = r;
    return *this;
  }
};

Complex operator+(const Complex& a, const Complex& b) { return {a.re + b.re, a.im + b.im}; }
Complex operator-(double a, const Complex& b) { return {a - b.re, -b.im}; }
Complex operator*(const Complex& a, const Complex& b) { return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re}; }
Complex operator*(double a, const Complex& b) { return {a * b.re, a * b.im}; }
Complex operator/(double a, const Complex& b) {
  if (std::fabs(b.re) >= std::fabs(b.im)) {
    double r = b.im / b.re, den = b.re + b.im * r;
    return {a / den, -a * r / den};
  }
  double r = b.re / b.im, den = b.re * r + b.im;
  return {a * r / den, -a / den};
}

bool LentzConverged(const Complex& delta) {
  return std::fabs(delta.real() - 1.0) + std::fabs(delta.imag()) < 1e-16;
}

}  // namespace

double Erf(double x) {
  if (std::isnan(x)) return kNaN;
  double ax = std::fabs(x);
  double result;
  if (ax <= 2.0) {
    // erf(x) = 2/sqrt(pi) x e^-x^2 sum (2x^2)^k / (1 3 5 ... (2k+1))
    double x2 = 2.0 * ax * ax;
    double term = 1.0, sum = 1.0;
    for (int m = 3; m <= 399; m += 2) {
      term *= x2 / m;
      sum += term;
      if (term < 1e-17 * sum) break;
    }
    result = 2.0 / kSqrtPi * ax * std::exp(-ax * ax) * sum;
  } else if (ax < 6.5) {
    // Continued fraction of the complement:
    // sqrt(pi) e^x^2 erfc(x) = 2 / (2x + 2/(2x + 4/(2x + 6/(2x + ...))))
    double b = 2.0 * ax;
    double f = b, c = b, d = 0.0;
    for (int k = 1; k <= 400; ++k) {
      double a = 2.0 * k;
      d = b + a * d;
      if (std::fabs(d) < kTiny) d = kTiny;
      c = b + a / c;
      if (std::fabs(c) < kTiny) c = kTiny;
      d = 1.0 / d;
      double delta = c * d;
      f *= delta;
      if (std::fabs(delta - 1.0) < 1e-16) break;
    }
    result = 1.0 - 2.0 * std::exp(-ax * ax) / (f * kSqrtPi);
  } else {
    result = 1.0;  // erfc(6.5) < 1e-19
  }
  return x < 0.0 ? -result : result;
}

namespace {

// E_n(x) for n >= 0, x >= 0 (not both small enough to diverge).
double ExpIntegralN(int n, double x) {
  if (n == 0) return std::exp(-x) / x;
  if (x == 0.0) return 1.0 / (n - 1);
  if (x > 1.0) {
    // Continued fraction, modified Lentz.
    double b = x + n;
    double c = 1.0 / kTiny;
    double d = 1.0 / b;
    double h = d;
    for (int i = 1; i < 100000; ++i) {
      double a = -static_cast<double>(i) * (n - 1.0 + i);
      b += 2.0;
      d = 1.0 / (a * d + b);
      c = b + a / c;
      double delta = c * d;
      h *= delta;
      if (std::fabs(delta - 1.0) < 1e-16) break;
    }
    return h * std::exp(-x);
  }
  // Power series; the term k = n-1 carries the digamma value psi(n).
  int nm1 = n - 1;
  double sum = nm1 != 0 ? 1.0 / nm1 : -std::log(x) - kEuler;
  double factor = 1.0;
  for (int i = 1; i < 1000; ++i) {
    factor *= -x / i;
    double delta;
    if (i != nm1) {
      delta = -factor / (i - nm1);
    } else {
      double psi = -kEuler;
      for (int ii = 1; ii <= nm1; ++ii) psi += 1.0 / ii;
      delta = factor * (-std::log(x) + psi);
    }
    sum += delta;
    if (std::fabs(delta) < std::fabs(sum) * 1e-17) break;
  }
  return sum;
}

}  // namespace

double En(double x, double n) {
  auto order = RoundToInt32(n);
  if (!order || std::isnan(x)) return kNaN;
  if (*order < 0 || x < 0.0 || (x == 0.0 && *order <= 1)) return kNaN;
  if (x > 746.0) return 0.0;  // E_n(x) < e^-x / x underflows
  return ExpIntegralN(*order, x);
}

double Ei(double x) {
  if (std::isnan(x) || x == 0.0) return kNaN;
  if (x < 0.0) return std::isinf(x) ? 0.0 : -ExpIntegralN(1, -x);
  if (x <= 50.0) {
    // gamma + ln x + sum x^k / (k k!)
    double term = 1.0, sum = 0.0;
    for (int k = 1; k < 1000; ++k) {
      term *= x / k;
      double delta = term / k;
      sum += delta;
      if (delta < 1e-17 * sum) break;
    }
    return kEuler + std::log(x) + sum;
  }
  // Asymptotic: e^x / x sum k! / x^k, stopped at the smallest term.
  double term = 1.0, sum = 1.0;
  for (int k = 1; k < 200; ++k) {
    double next = term * k / x;
    if (next > term) break;
    term = next;
    sum += term;
    if (term < 1e-17 * sum) break;
  }
  double half = std::exp(0.5 * x);
  return half * (half / x * sum);
}

namespace {

// Si(x) and Ci(x) for x > 0.
void SineCosineIntegrals(double x, double& si, double& ci) {
  if (x <= 2.0) {
    // Si = sum (-1)^k x^(2k+1) / ((2k+1)(2k+1)!), Ci = gamma + ln x + sum (-1)^k x^(2k) / (2k (2k)!)
    double x2 = x * x;
    double term = x;  // x^(2k+1) / (2k+1)!, signed
    double s = x;
    for (int k = 1; k < 100; ++k) {
      term *= -x2 / ((2.0 * k) * (2.0 * k + 1.0));
      double delta = term / (2.0 * k + 1.0);
      s += delta;
      if (std::fabs(delta) < 1e-17 * std::fabs(s)) break;
    }
    si = s;
    term = 1.0;  // x^(2k) / (2k)!, signed
    double c = 0.0;
    for (int k = 1; k < 100; ++k) {
      term *= -x2 / ((2.0 * k - 1.0) * (2.0 * k));
      double delta = term / (2.0 * k);
      c += delta;
      if (std::fabs(delta) < 1e-17 * std::fabs(c)) break;
    }
    ci = kEuler + std::log(x) + c;
    return;
  }
  // E1(ix) = e^-ix / (1 + ix - 1/(3 + ix - 4/(5 + ix - 9/(...)))) = -Ci(x) + i (Si(x) - pi/2)
  Complex b(1.0, x);
  Complex c(1.0 / kTiny, 0.0);
  Complex d = 1.0 / b;
  Complex h = d;
  for (int i = 2; i < 100000; ++i) {
    double a = -static_cast<double>(i - 1) * (i - 1);
    b += 2.0;
    d = 1.0 / (a * d + b);
    c = b + a / c;
    Complex delta = c * d;
    h *= delta;
    if (LentzConverged(delta)) break;
  }
  h *= Complex(std::cos(x), -std::sin(x));
  ci = -h.real();
  si = 0.5 * kPi + h.imag();
}

}  // namespace

double Si(double x) {
  if (std::isnan(x)) return kNaN;
  if (x == 0.0) return 0.0;
  if (std::isinf(x)) return std::copysign(0.5 * kPi, x);
  double si, ci;
  SineCosineIntegrals(std::fabs(x), si, ci);
  return x < 0.0 ? -si : si;
}

double Ci(double x) {
  if (std::isnan(x) || x <= 0.0) return kNaN;
  if (std::isinf(x)) return 0.0;
  double si, ci;
  SineCosineIntegrals(x, si, ci);
  return ci;
}

namespace {

// C(x) and S(x) for x > 0 (normalisation sin(pi t^2 / 2)).
void FresnelIntegrals(double x, double& c, double& s) {
  if (x <= 1.5) {
    // C = sum (-1)^k (pi/2)^(2k) x^(4k+1) / ((4k+1)(2k)!),
    // S = sum (-1)^k (pi/2)^(2k+1) x^(4k+3) / ((4k+3)(2k+1)!)
    double t = 0.5 * kPi * x * x;
    double power = x;  // (pi/2 x^2)^j x / j!, signed every other step
    double sc = 0.0, ss = 0.0;
    for (int j = 0; j < 200; ++j) {
      if (j > 0) power *= t / j;
      double delta = power / (2.0 * j + 1.0);
      double signedDelta = (j / 2) % 2 == 0 ? delta : -delta;
      if (j % 2 == 0) {
        sc += signedDelta;
      } else {
        ss += signedDelta;
      }
      if (j > 4 && delta < 1e-17 * std::fabs(sc)) break;
    }
    c = sc;
    s = ss;
    return;
  }
  if (x > 0x1p60) {
    // C and S differ from 1/2 by less than 1/(pi x), under half a unit in the
    // last place; x^2 below would leave the double range from about 1e154 on.
    c = s = 0.5;
    return;
  }
  // C + iS = (1+i)/2 (1 - erfc(z)), z = sqrt(pi)/2 (1-i) x, with
  // sqrt(pi) e^z^2 erfc(z) = 2z / (2z^2 + 1 - 1*2/(2z^2 + 5 - 3*4/(2z^2 + 9 - ...))),
  // 2z^2 = -i pi x^2 and e^-z^2 = e^(i pi x^2 / 2).
  double pix2 = kPi * x * x;
  Complex b(1.0, -pix2);
  Complex cc(1.0 / kTiny, 0.0);
  Complex d = 1.0 / b;
  Complex h = d;
  double n = -1.0;
  for (int k = 2; k < 100000; ++k) {
    n += 2.0;
    double a = -n * (n + 1.0);
    b += 4.0;
    d = 1.0 / (a * d + b);
    cc = b + a / cc;
    Complex delta = cc * d;
    h *= delta;
    if (LentzConverged(delta)) break;
  }
  h *= Complex(x, -x);
  // Phase pi x^2 / 2 reduced exactly: x^2 = hi + lo, hi taken modulo 4.
  double hi = x * x;
  double lo = std::fma(x, x, -hi);
  double reduced = std::fmod(hi, 4.0) + lo;
  Complex phase(CosPi(0.5 * reduced), SinPi(0.5 * reduced));
  Complex cs = Complex(0.5, 0.5) * (1.0 - phase * h);
  c = cs.real();
  s = cs.imag();
}

}  // namespace

double FresnelS(double x) {
  if (std::isnan(x)) return kNaN;
  if (x == 0.0) return 0.0;
  if (std::isinf(x)) return std::copysign(0.5, x);
  double c, s;
  FresnelIntegrals(std::fabs(x), c, s);
  return x < 0.0 ? -s : s;
}

double FresnelC(double x) {
  if (std::isnan(x)) return kNaN;
  if (x == 0.0) return 0.0;
  if (std::isinf(x)) return std::copysign(0.5, x);
  double c, s;
  FresnelIntegrals(std::fabs(x), c, s);
  return x < 0.0 ? -c : c;
}

namespace {

// Values at 0: Ai(0), Ai'(0), Bi(0) = sqrt(3) Ai(0), Bi'(0) = -sqrt(3) Ai'(0).
constexpr double kAi0 = 0.355028053887817239260;
constexpr double kAiPrime0 = -0.258819403792806798405;
constexpr double kBi0 = 0.614926627446000735151;
constexpr double kBiPrime0 = 0.448288357353826357915;
// Beyond this distance from 0 the asymptotic expansions are used.
constexpr double kAiryAsymptotic = 10.0;

struct AiryValue {
  double value;
  double slope;
};

// Taylor step of y'' = x y from x0 to x0 + h; the series of a solution of
// this equation converges everywhere.
AiryValue AiryTaylorStep(double x0, AiryValue start, double h) {
  double am3 = 0.0, am2 = start.value, am1 = start.slope;  // a(k-3), a(k-2), a(k-1)
  double y = am2 + am1 * h;
  double dy = am1;
  double hk1 = h;  // h^(k-1)
  int quiet = 0;
  for (int k = 2; k < 400; ++k) {
    double ak = (x0 * am2 + am3) / (k * (k - 1.0));
    double termDerivative = k * ak * hk1;
    hk1 *= h;
    double term = ak * hk1;
    y += term;
    dy += termDerivative;
    am3 = am2;
    am2 = am1;
    am1 = ak;
    bool small = std::fabs(term) <= 1e-18 * std::fabs(y) && std::fabs(termDerivative) <= 1e-18 * std::fabs(dy);
    quiet = small ? quiet + 1 : 0;
    if (quiet >= 3) break;
  }
  return {y, dy};
}

// Steps from (x0, start) to x in pieces of at most one unit.
AiryValue AiryWalk(double x0, AiryValue start, double x) {
  double distance = x - x0;
  int steps = static_cast<int>(std::ceil(std::fabs(distance)));
  if (steps < 1) steps = 1;
  double h = distance / steps;
  AiryValue v = start;
  for (int i = 0; i < steps; ++i) {
    double from = x0 + i * h;
    double to = (i + 1 == steps) ? x : x0 + (i + 1) * h;
    v = AiryTaylorStep(from, v, to - from);
  }
  return v;
}

// Sums of u_k / zeta^k (and v_k / zeta^k) with sign (+1 or -1)^k, stopped at
// the smallest term.
void AirySums(double zeta, double sign, double& su, double& sv) {
  double u = 1.0, power = 1.0;
  su = 1.0;
  sv = 1.0;
  double last = kInf;
  for (int k = 1; k < 200; ++k) {
    u *= (6.0 * k - 5.0) * (6.0 * k - 3.0) * (6.0 * k - 1.0) / ((2.0 * k - 1.0) * 216.0 * k);
    double v = -(6.0 * k + 1.0) / (6.0 * k - 1.0) * u;
    power *= sign / zeta;
    double tu = u * power;
    if (std::fabs(tu) > last) break;
    last = std::fabs(tu);
    su += tu;
    sv += v * power;
    if (last < 1e-18) break;
  }
}

// Ai, Ai', Bi, Bi' for x >= kAiryAsymptotic.
void AiryPositiveAsymptotic(double x, AiryValue& ai, AiryValue& bi) {
  double root = std::sqrt(x);
  double zeta = 2.0 / 3.0 * x * root;
  double quarter = std::sqrt(root);
  double su, sv;
  AirySums(zeta, -1.0, su, sv);
  double decay = std::exp(-zeta);
  ai.value = decay / (2.0 * kSqrtPi * quarter) * su;
  ai.slope = -quarter * decay / (2.0 * kSqrtPi) * sv;
  AirySums(zeta, 1.0, su, sv);
  double growth = std::exp(zeta);
  bi.value = growth / (kSqrtPi * quarter) * su;
  bi.slope = quarter * growth / kSqrtPi * sv;
}

// Ai(-x), Bi(-x) for x >= kAiryAsymptotic.
void AiryNegativeAsymptotic(double x, double& ai, double& bi) {
  double root = std::sqrt(x);
  double zeta = 2.0 / 3.0 * x * root;
  double quarter = std::sqrt(root);
  // P = sum (-1)^k u_2k / zeta^2k, Q = sum (-1)^k u_(2k+1) / zeta^(2k+1)
  double u = 1.0, power = 1.0;
  double p = 1.0, q = 0.0;
  double last = kInf;
  for (int k = 1; k < 200; ++k) {
    u *= (6.0 * k - 5.0) * (6.0 * k - 3.0) * (6.0 * k - 1.0) / ((2.0 * k - 1.0) * 216.0 * k);
    power /= zeta;
    double term = u * power;
    if (term > last) break;
    last = term;
    int phase = k % 4;  // signs: k = 1 -> +Q, 2 -> -P, 3 -> -Q, 4 -> +P
    if (phase == 1) q += term;
    if (phase == 2) p -= term;
    if (phase == 3) q -= term;
    if (phase == 0) p += term;
    if (term < 1e-18) break;
  }
  double c = std::cos(zeta), s = std::sin(zeta);
  // cos(zeta - pi/4) = (c + s)/sqrt 2, sin(zeta - pi/4) = (s - c)/sqrt 2
  double scale = 1.0 / (kSqrtPi * quarter * std::sqrt(2.0));
  ai = scale * ((c + s) * p + (s - c) * q);
  bi = scale * (-(s - c) * p + (c + s) * q);
}

}  // namespace

double AiryA(double x) {
  if (std::isnan(x)) return kNaN;
  if (x >= kAiryAsymptotic) {
    if (std::isinf(x)) return 0.0;
    AiryValue ai, bi;
    AiryPositiveAsymptotic(x, ai, bi);
    return ai.value;
  }
  if (x <= -kAiryAsymptotic) {
    if (std::isinf(x)) return kNaN;
    double ai, bi;
    AiryNegativeAsymptotic(-x, ai, bi);
    return ai;
  }
  if (x > 1.0) {
    // Walk back from the asymptotic region: Ai grows towards smaller x, so
    // the walk is stable.
    AiryValue ai, bi;
    AiryPositiveAsymptotic(kAiryAsymptotic, ai, bi);
    return AiryWalk(kAiryAsymptotic, ai, x).value;
  }
  return AiryWalk(0.0, {kAi0, kAiPrime0}, x).value;
}

double AiryB(double x) {
  if (std::isnan(x)) return kNaN;
  if (x >= kAiryAsymptotic) {
    if (std::isinf(x)) return kInf;
    AiryValue ai, bi;
    AiryPositiveAsymptotic(x, ai, bi);
    return bi.value;
  }
  if (x <= -kAiryAsymptotic) {
    if (std::isinf(x)) return kNaN;
    double ai, bi;
    AiryNegativeAsymptotic(-x, ai, bi);
    return bi;
  }
  if (x > 0.0) return AiryTaylorStep(0.0, {kBi0, kBiPrime0}, x).value;  // all terms positive
  return AiryWalk(0.0, {kBi0, kBiPrime0}, x).value;
}

}  // namespace vorlane::mSpecialFunctions
