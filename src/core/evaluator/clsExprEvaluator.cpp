#include "evaluator/clsExprEvaluator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "evaluator/mSpecialFunctions.h"
#include "util/Numbers.h"

namespace vorlane {

namespace {

namespace sf = mSpecialFunctions;

// The program's own decimals, not the full-precision doubles.
constexpr double kPi = 3.14159265358979;
constexpr double kTwoPi = 6.28318530717958;
constexpr double kSnap = 5e-14;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Bracket depth beyond any real formula; keeps the priority levels in range.
constexpr int kMaxDepth = 10000;

// Function codes used by name in the evaluation.
enum Code : int {
  kRight = -2,
  kAdd = 0, kSub = 1, kMul = 2, kDiv = 3, kPercent = 4, kIntDiv = 5, kPow = 6,
  kAbs = 7, kAtn = 8, kCos = 9, kSin = 11, kExp = 12, kFix = 13, kInt = 14, kLn = 15, kLog = 16,
  kRnd = 17, kSgn = 18, kSqr = 19, kTan = 20, kAcos = 21, kAsin = 22, kCosh = 23, kSinh = 24,
  kTanh = 25, kAcosh = 26, kAsinh = 27, kAtanh = 28, kMod = 29, kFact = 30, kComb = 31, kMin = 32,
  kMax = 33, kGcd = 34, kLcm = 35, kGt = 36, kGe = 37, kLt = 38, kLe = 39, kEq = 40, kNe = 41,
  kAnd = 42, kOr = 43, kNot = 44, kXor = 45, kErf = 46, kGamma = 47, kGammaLn = 48, kDigamma = 49,
  kBeta = 50, kZeta = 51, kEi = 52, kCsc = 53, kSec = 54, kCot = 55, kAcsc = 56, kAsec = 57,
  kAcot = 58, kCsch = 59, kSech = 60, kCoth = 61, kAcsch = 62, kAsech = 63, kAcoth = 64, kCbr = 65,
  kRoot = 66, kDec = 67, kRad = 68, kDeg = 69, kRound = 70, kGrad = 71, kNand = 72, kNor = 73,
  kNxor = 74, kNeg = 75, kPerm = 76, kLogN = 77, kDPoisson = 78, kCPoisson = 79, kEin = 80,
  kSi = 81, kCi = 82, kFresnelS = 83, kFresnelC = 84, kBesselJ = 85, kBesselY = 86, kBesselI = 87,
  kBesselK = 88, kJ0 = 89, kY0 = 90, kK0 = 91, kI0 = 92, kGammaI = 94, kPolyLe = 95, kPolyLa = 96,
  kPolyHe = 97, kPolyCh = 98, kAiryA = 99, kAiryB = 100, kElli1 = 101, kElli2 = 102, kWTri = 103,
  kWSqr = 104, kWSaw = 105, kWRaise = 106, kWParab = 107,
  kGuarded = 1000,  // internal: a conditional or negated row
  kDNorm = 201, kCNorm = 202, kDBinom = 203, kCBinom = 204, kHypGeom = 205, kBetaI = 206,
  kClip = 207, kWRect = 208, kWTrapez = 209, kWLin = 210, kWPulse = 211, kWSteps = 212,
  kWExp = 213, kWExpB = 214, kWPulseF = 215, kWRipple = 216, kWRing = 217, kWAm = 218, kWFm = 219,
};

// Every name of the vocabulary with its code and the number of arguments it
// takes when written as a function (0: operator or internal name).
struct FunInfo {
  std::string_view name;
  int code;
  int args;
};

constexpr FunInfo kFunctions[] = {
    {"abs", kAbs, 1}, {"atn", kAtn, 1}, {"atan", kAtn, 1}, {"cos", kCos, 1}, {"exp", kExp, 1},
    {"fix", kFix, 1}, {"int", kInt, 1}, {"ln", kLn, 1}, {"log", kLog, 1}, {"rnd", kRnd, 1},
    {"sgn", kSgn, 1}, {"sin", kSin, 1}, {"sqr", kSqr, 1}, {"cbr", kCbr, 1}, {"tan", kTan, 1},
    {"acos", kAcos, 1}, {"asin", kAsin, 1}, {"cosh", kCosh, 1}, {"sinh", kSinh, 1},
    {"tanh", kTanh, 1}, {"acosh", kAcosh, 1}, {"asinh", kAsinh, 1}, {"atanh", kAtanh, 1},
    {"fact", kFact, 1}, {"not", kNot, 1}, {"erf", kErf, 1}, {"gamma", kGamma, 1},
    {"gammaln", kGammaLn, 1}, {"digamma", kDigamma, 1}, {"zeta", kZeta, 1}, {"ei", kEi, 1},
    {"airya", kAiryA, 1}, {"airyb", kAiryB, 1}, {"csc", kCsc, 1}, {"sec", kSec, 1},
    {"cot", kCot, 1}, {"acsc", kAcsc, 1}, {"asec", kAsec, 1}, {"acot", kAcot, 1},
    {"csch", kCsch, 1}, {"sech", kSech, 1}, {"coth", kCoth, 1}, {"acsch", kAcsch, 1},
    {"asech", kAsech, 1}, {"acoth", kAcoth, 1}, {"dec", kDec, 1}, {"rad", kRad, 1},
    {"deg", kDeg, 1}, {"grad", kGrad, 1}, {"neg", kNeg, 1}, {"si", kSi, 1}, {"ci", kCi, 1},
    {"fresnels", kFresnelS, 1}, {"fresnelc", kFresnelC, 1}, {"j0", kJ0, 1}, {"y0", kY0, 1},
    {"i0", kI0, 1}, {"k0", kK0, 1}, {"psi", kDigamma, 1},

    {"comb", kComb, 2}, {"max", kMax, 2}, {"min", kMin, 2}, {"mcm", kLcm, 2}, {"mcd", kGcd, 2},
    {"lcm", kLcm, 2}, {"gcd", kGcd, 2}, {"mod", kMod, 2}, {"and", kAnd, 2}, {"or", kOr, 2},
    {"xor", kXor, 2}, {"beta", kBeta, 2}, {"root", kRoot, 2}, {"round", kRound, 2},
    {"nand", kNand, 2}, {"nor", kNor, 2}, {"nxor", kNxor, 2}, {"perm", kPerm, 2},
    {"logn", kLogN, 2}, {"dpoisson", kDPoisson, 2}, {"cpoisson", kCPoisson, 2},
    {"ein", kEin, 2}, {"besseli", kBesselI, 2}, {"besselj", kBesselJ, 2},
    {"besselk", kBesselK, 2}, {"bessely", kBesselY, 2}, {"gammai", kGammaI, 2},
    {"polyle", kPolyLe, 2}, {"polyhe", kPolyHe, 2}, {"polych", kPolyCh, 2},
    {"polyla", kPolyLa, 2}, {"elli1", kElli1, 2}, {"elli2", kElli2, 2}, {"wtri", kWTri, 2},
    {"wsqr", kWSqr, 2}, {"wsaw", kWSaw, 2}, {"wraise", kWRaise, 2}, {"wparab", kWParab, 2},

    {"dnorm", kDNorm, 3}, {"cnorm", kCNorm, 3}, {"dbinom", kDBinom, 3}, {"cbinom", kCBinom, 3},
    {"betai", kBetaI, 3}, {"clip", kClip, 3}, {"wrect", kWRect, 3}, {"wtrapez", kWTrapez, 3},
    {"wlin", kWLin, 3}, {"wpulse", kWPulse, 3}, {"wsteps", kWSteps, 3}, {"wexp", kWExp, 3},
    {"wexpb", kWExpB, 3}, {"wpulsef", kWPulseF, 3}, {"wripple", kWRipple, 3},

    {"hypgeom", kHypGeom, 4}, {"wring", kWRing, 4}, {"wam", kWAm, 4}, {"wfm", kWFm, 4},

    {"+", kAdd, 0}, {"-", kSub, 0}, {"*", kMul, 0}, {"/", kDiv, 0}, {"%", kPercent, 0},
    {"\\", kIntDiv, 0}, {"^", kPow, 0}, {"!", kFact, 0}, {">", kGt, 0}, {">=", kGe, 0},
    {"=>", kGe, 0}, {"<", kLt, 0}, {"<=", kLe, 0}, {"=<", kLe, 0}, {"=", kEq, 0}, {"<>", kNe, 0},
    {"@right", kRight, 0},
};

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

const FunInfo* FindFunction(std::string_view name) {
  for (const FunInfo& f : kFunctions) {
    if (EqualsNoCase(f.name, name)) return &f;
  }
  return nullptr;
}

int ComparisonCode(std::string_view op) {
  if (op == ">") return kGt;
  if (op == ">=" || op == "=>") return kGe;
  if (op == "<") return kLt;
  if (op == "<=" || op == "=<") return kLe;
  if (op == "=") return kEq;
  if (op == "<>") return kNe;
  return -1;
}

bool IsComparison(int code) { return code >= kGt && code <= kNe; }

bool IsTwoArgumentFunction(std::string_view name) {
  const FunInfo* f = FindFunction(name);
  return f != nullptr && f->args == 2;
}

// Results that depend on the angle unit or on the random sequence; all other
// rows with constant arguments can be computed once at compile time.
bool IsFoldable(int code) {
  switch (code) {
    case kRnd: case kAtn: case kCos: case kSin: case kTan: case kAcos: case kAsin: case kCsc:
    case kSec: case kCot: case kAcsc: case kAsec: case kAcot: case kRad: case kDeg: case kGrad:
    case kElli1: case kElli2:
      return false;
    default:
      return true;
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

// Length in bytes of a well-formed UTF-8 sequence at `s`, or 0.
std::size_t Utf8SequenceLength(std::string_view s) {
  auto cont = [&](std::size_t i, unsigned lo = 0x80, unsigned hi = 0xBF) {
    if (i >= s.size()) return false;
    unsigned b = static_cast<unsigned char>(s[i]);
    return b >= lo && b <= hi;
  };
  unsigned b0 = static_cast<unsigned char>(s[0]);
  if (b0 < 0x80) return 1;
  if (b0 >= 0xC2 && b0 <= 0xDF) return cont(1) ? 2 : 0;
  if (b0 == 0xE0) return cont(1, 0xA0) && cont(2) ? 3 : 0;
  if ((b0 >= 0xE1 && b0 <= 0xEC) || b0 == 0xEE || b0 == 0xEF) return cont(1) && cont(2) ? 3 : 0;
  if (b0 == 0xED) return cont(1, 0x80, 0x9F) && cont(2) ? 3 : 0;
  if (b0 == 0xF0) return cont(1, 0x90) && cont(2) && cont(3) ? 4 : 0;
  if (b0 >= 0xF1 && b0 <= 0xF3) return cont(1) && cont(2) && cont(3) ? 4 : 0;
  if (b0 == 0xF4) return cont(1, 0x80, 0x8F) && cont(2) && cont(3) ? 4 : 0;
  return 0;
}

// Number of characters of well-formed UTF-8 text.
int CharCount(std::string_view s) {
  int n = 0;
  for (char c : s) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

// A decimal number: digits with at most one period (at least one digit),
// then optionally E or e, an optional sign and digits. With `allowSign`, one
// leading sign is accepted too. Scans left to right and stops at the first
// character that cannot belong, so a long operand never costs more than one
// pass.
bool IsNumber(std::string_view t, bool allowSign) {
  std::size_t i = 0;
  const std::size_t n = t.size();
  if (allowSign && i < n && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < n && IsDigit(t[i])) ++i, ++digits;
  if (i < n && t[i] == '.') {
    ++i;
    while (i < n && IsDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (t[i] == 'E' || t[i] == 'e')) {
    ++i;
    if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < n && IsDigit(t[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == n;
}

enum class NumberRead { kOk, kOutOfRange };

// Reads text that IsNumber(text, false) accepted. Values too small for a
// double become 0; too large ones are refused.
NumberRead ReadNumber(std::string_view t, double& value) {
  value = 0.0;
  auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  (void)ptr;
  if (ec != std::errc::result_out_of_range) return NumberRead::kOk;
  // Decide between overflow and underflow from the decimal exponent.
  std::size_t e = t.find_first_of("Ee");
  std::string_view mantissa = t.substr(0, e);
  long long exponent = 0;
  if (e != std::string_view::npos) {
    std::string_view ex = t.substr(e + 1);
    bool negative = !ex.empty() && ex[0] == '-';
    if (!ex.empty() && (ex[0] == '+' || ex[0] == '-')) ex.remove_prefix(1);
    for (char c : ex) {
      exponent = std::min<long long>(exponent * 10 + (c - '0'), 1000000000LL);
    }
    if (negative) exponent = -exponent;
  }
  long long magnitude = 0;  // decimal position of the first significant digit
  std::size_t point = mantissa.find('.');
  std::string_view whole = mantissa.substr(0, point);
  std::size_t firstNonZero = whole.find_first_not_of('0');
  if (firstNonZero != std::string_view::npos) {
    magnitude = static_cast<long long>(whole.size() - firstNonZero);
  } else if (point != std::string_view::npos) {
    std::string_view fraction = mantissa.substr(point + 1);
    std::size_t nz = fraction.find_first_not_of('0');
    magnitude = nz == std::string_view::npos ? -1000000000LL : -static_cast<long long>(nz);
  }
  if (magnitude + exponent > 0) return NumberRead::kOutOfRange;
  value = 0.0;
  return NumberRead::kOk;
}

bool IsVariableName(std::string_view t) {
  if (t.empty() || !IsNameLetter(t[0])) return false;
  for (char c : t) {
    if (!IsNameLetter(c) && !IsDigit(c)) return false;
  }
  return true;
}

// 10^k; exact powers from a table where the double holds them exactly (the
// values pow gives too), pow beyond.
double PowerOfTen(double k) {
  static constexpr double kPositive[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (k >= 0 && k <= 22 && k == std::floor(k)) return kPositive[static_cast<int>(k)];
  return std::pow(10.0, k);
}

// Named constants, written as name + "#" (names compared with regard to case).
bool LookupConstant(std::string_view name, double& value) {
  struct Constant {
    std::string_view name;
    double mantissa;
    int exponent;
  };
  static const Constant kConstants[] = {
      {"pi", kPi, 0},        {"PI", kPi, 0},          {"e", 2.71828182845905, 0},
      {"eu", 0.577215664901533, 0}, {"phi", 1.61803398874989, 0}, {"g", 9.80665, 0},
      {"G", 6.672, -11},     {"R", 8.31451, 0},       {"eps", 8.854187817, -12},
      {"mu", 12.566370614, -7}, {"c", 2.99792458, 8}, {"q", 1.60217733, -19},
      {"me", 9.1093897, -31}, {"mp", 1.6726231, -27}, {"mn", 1.6749286, -27},
      {"K", 1.380658, -23},  {"h", 6.6260755, -34},   {"A", 6.0221367, 23},
  };
  if (name == "pi2") { value = kPi / 2; return true; }
  if (name == "pi3") { value = kPi / 3; return true; }
  if (name == "pi4") { value = kPi / 4; return true; }
  for (const Constant& c : kConstants) {
    if (c.name == name) {
      value = c.exponent == 0 ? c.mantissa : c.mantissa * PowerOfTen(c.exponent);
      return true;
    }
  }
  return false;
}

constexpr std::string_view kMicro = "\xC2\xB5";   // µ
constexpr std::string_view kDegree = "\xC2\xB0";  // °

// A number followed by a unit, optionally with a scale prefix: "4.7kOhm",
// "10uF", "3g". False when the text is not of that form.
bool ReadUnitNumber(std::string_view t, double& value) {
  std::size_t i = 0;
  while (i < t.size()) {
    char c = t[i];
    if (IsDigit(c) || c == '+' || c == '-' || c == '.') {
      ++i;
    } else if ((c == 'E' || c == 'e') && i + 1 < t.size() &&
               (IsDigit(t[i + 1]) || t[i + 1] == '+' || t[i + 1] == '-')) {
      ++i;
    } else {
      break;
    }
  }
  if (i == 0 || i == t.size()) return false;
  std::string_view number = t.substr(0, i);
  std::string_view suffix = t.substr(i);
  if (!(IsNameLetter(suffix[0]) || suffix.starts_with(kMicro))) return false;
  if (!IsNumber(number, false)) return false;

  int power = 0;
  std::string_view unit = suffix;
  if (CharCount(suffix) >= 2) {
    struct Prefix {
      std::string_view text;
      int power;
    };
    static constexpr Prefix kPrefixes[] = {{"p", -12}, {"n", -9}, {"u", -6}, {kMicro, -6},
                                           {"m", -3},  {"c", -2}, {"k", 3},  {"M", 6},
                                           {"G", 9},   {"T", 12}};
    for (const Prefix& p : kPrefixes) {
      if (suffix.starts_with(p.text)) {
        power = p.power;
        unit = suffix.substr(p.text.size());
        break;
      }
    }
  }
  static constexpr std::string_view kUnits[] = {"s", "Hz", "m", "rad", "Rad", "RAD", "S", "V",
                                                "A", "W", "F", "bar", "Pa", "Nm", "Ohm", "ohm"};
  double factor = 0.0;
  if (unit == "g") {
    factor = 0.001;
  } else if (std::find(std::begin(kUnits), std::end(kUnits), unit) != std::end(kUnits)) {
    factor = 1.0;
  } else {
    return false;
  }
  double n = 0.0;
  if (ReadNumber(number, n) != NumberRead::kOk) return false;
  // Dividing by an exact power of ten keeps 10uF at the double nearest 1E-05.
  value = power >= 0 ? PowerOfTen(power) * (n * factor) : (n * factor) / PowerOfTen(-power);
  return true;
}

enum class Dms { kNotAngle, kBad, kOk };

// An angle in degrees, minutes and seconds: 30°15'20" or 30d15m20s.
Dms ReadDms(std::string_view t, double& value) {
  const bool marks = t.find(kDegree) != std::string_view::npos ||
                     t.find_first_of("'\"") != std::string_view::npos;
  const bool letters = t.find_first_of("dms") != std::string_view::npos;
  if (marks == letters) return Dms::kNotAngle;  // neither kind, or both
  // A name such as "rad" or "d2" stays a variable name.
  if (letters && IsVariableName(t)) return Dms::kNotAngle;

  std::string_view degMark = marks ? kDegree : "d";
  std::string_view minMark = marks ? "'" : "m";
  std::string_view secMark = marks ? "\"" : "s";
  const std::size_t npos = std::string_view::npos;
  std::size_t pd = t.find(degMark);
  if (pd == npos) return Dms::kNotAngle;
  std::size_t pm = t.find(minMark);
  std::size_t ps = t.find(secMark);

  // Each part: its text, or "absent" (counts as 0), or "invalid" (no number).
  struct Part {
    std::string_view text;
    bool absent = false;
    bool invalid = false;
  };
  Part deg{t.substr(0, pd)};
  std::size_t afterDeg = pd + degMark.size();
  Part min;
  std::size_t secStart = afterDeg;
  if (pm == npos) {
    min.absent = true;
  } else if (pm < afterDeg) {
    min.invalid = true;
  } else {
    min.text = t.substr(afterDeg, pm - afterDeg);
    secStart = pm + minMark.size();
  }
  Part sec;
  if (ps == npos) {
    if (secStart >= t.size()) {
      sec.absent = true;
    } else {
      sec.text = t.substr(secStart);
    }
  } else if (ps < secStart) {
    sec.invalid = true;
  } else {
    sec.text = t.substr(secStart, ps - secStart);
  }

  double v[3] = {0, 0, 0};
  int notNumbers = 0;
  Part* parts[3] = {&deg, &min, &sec};
  for (int k = 0; k < 3; ++k) {
    Part& p = *parts[k];
    if (p.absent) continue;
    if (p.invalid || !IsNumber(p.text, false) || ReadNumber(p.text, v[k]) != NumberRead::kOk) {
      ++notNumbers;
    }
  }
  if (notNumbers >= 2) return Dms::kNotAngle;
  if (notNumbers == 1) return Dms::kBad;
  if (ps != npos && ps + secMark.size() != t.size()) return Dms::kBad;
  if (v[1] >= 60 || v[2] >= 60) return Dms::kBad;
  value = v[0] + (v[1] + v[2] / 60) / 60;
  return Dms::kOk;
}

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

inline int HighestBit(int n) {
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

bool CpuHasFma() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("fma");
}

const bool g_cpuHasFma = CpuHasFma();

inline double IntegerPower(double x, int n) {
  return g_cpuHasFma ? IntegerPowerFma(x, n) : IntegerPowerPortable(x, n);
}
#else
inline double IntegerPower(double x, int n) { return IntegerPowerPortable(x, n); }
#endif

// "^": 0^0 is refused; x^2 by one multiplication is exactly the rounded
// square, small whole powers go by IntegerPower.
inline double Power(double x, double y) {
  if (y == 2.0) return x * x;
  const double ax = std::fabs(x);
  if (y >= 3.0 && y <= 60.0 && ax > 1e-4 && ax < 1e4 && y == std::floor(y)) {
    return IntegerPower(x, static_cast<int>(y));
  }
  if (x == 0.0 && y == 0.0) return kNaN;
  return std::pow(x, y);
}

// The nearest integer, halves up (the rounding of "round").
inline double RoundHalfUp(double y) {
  const double whole = std::floor(y);
  return y - whole >= 0.5 ? whole + 1 : whole;
}

double SnapZero(double x) { return std::fabs(x) < kSnap ? 0.0 : x; }

double Sgn(double x) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }

bool Truth(double x) { return x != 0.0; }

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

double BinomialTerm(double k, double n, double p) {
  double c = Comb(n, k);
  return c * std::pow(p, k) * std::pow(1 - p, n - k);
}

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

std::string ToText(double v) { return FormatNumber(v, 15); }

}  // namespace

// ---------------------------------------------------------------------------
// The compiler: one left-to-right pass over the characters, then scheduling,
// linking, conditions and the rewriting of multi-argument functions.

class clsExprEvaluator::Compiler {
 public:
  explicit Compiler(clsExprEvaluator& ev) : ev_(ev) {}
  bool Compile(std::string_view text);

 private:
  struct PendingFunction {
    std::string name;
    int argCount = 0;
    int argsLeft = 0;
    int sign = 1;
    int openDepth = 0;
    int openPos = 0;
    bool rowMade = false;
  };

  bool Fail(std::string message) {
    ev_.errMsg_ = std::move(message);
    return false;
  }
  bool FailAt(std::string_view message, int pos) {
    return Fail(std::string(message) + std::to_string(pos));
  }
  int Top() const { return static_cast<int>(ev_.rows_.size()) - 1; }
  Row& Newest() { return ev_.rows_.back(); }
  bool NewRow(std::string_view fun, int code, int argTop, int priLvl);
  bool StoreOperand(std::string_view text, int argument);
  bool StorePending(int argument) {
    if (!StoreOperand(pending_, argument)) return false;
    pending_.clear();
    pendingChars_ = 0;
    return true;
  }
  void Append(std::string_view ch) {
    pending_ += ch;
    ++pendingChars_;
  }
  bool Scan(std::string_view text);
  bool Finish();
  void Schedule();
  void Link();
  void BuildConditions();
  bool ChainExtraArguments();
  bool BuildProgram();

  clsExprEvaluator& ev_;
  int pos_ = 0;
  int depth_ = 0;
  std::string pending_;
  int pendingChars_ = 0;
  std::string pendingCmp_;
  bool checkAfterClose_ = false;
  char lastNonBlank_ = 0;
  PendingFunction funStack_[kMaxOpenFunctions + 1];
  int funTop_ = 0;
  std::vector<unsigned char> given_ = std::vector<unsigned char>(6, 0);  // per argument slot
};

bool clsExprEvaluator::Compiler::NewRow(std::string_view fun, int code, int argTop, int priLvl) {
  if (Top() >= kMaxRows) return FailAt("Expression too complex at pos: ", pos_);
  Row& row = ev_.rows_.emplace_back();
  row.fun.assign(fun);
  row.funCode = code;
  row.argTop = argTop;
  row.priLvl = priLvl;
  row.order = 2 * priLvl;
  row.posInExpr = pos_;
  row.sign = 1;
  ev_.argValues_.insert(ev_.argValues_.end(), 6, 0.0);
  given_.insert(given_.end(), 6, 0);
  return true;
}

// Interprets operand text as a constant, a number (with or without unit), an
// angle or a variable, and stores it in `argument` (1-based) of the newest row.
bool clsExprEvaluator::Compiler::StoreOperand(std::string_view text, int argument) {
  if (text.empty()) return Fail("missing argument");
  int sign = 1;
  if (text[0] == '+' || text[0] == '-') {
    sign = text[0] == '-' ? -1 : 1;
    text.remove_prefix(1);
  }
  if (text.empty()) return Fail("missing argument");

  const int row = Top();
  Arg& arg = ev_.rows_[row].arg[argument - 1];
  double& slot = ev_.argValues_[row * 6 + argument - 1];
  double value = 0.0;

  std::string_view constant;
  bool isConstant = false;
  if (EqualsNoCase(text, "pi")) {
    constant = text;
    isConstant = true;
  } else if (text.back() == '#') {
    constant = text.substr(0, text.size() - 1);
    isConstant = true;
  }
  if (isConstant) {
    if (!LookupConstant(constant, value)) return Fail("Constant unknown: " + std::string(constant));
  } else if (ReadUnitNumber(text, value)) {
  } else if (IsNumber(text, false)) {
    if (ReadNumber(text, value) != NumberRead::kOk) {
      return Fail("Number out of range: " + std::string(text));
    }
  } else {
    switch (ReadDms(text, value)) {
      case Dms::kOk:
        break;
      case Dms::kBad:
        return Fail("Wrong DMS format");
      case Dms::kNotAngle: {
        if (!IsVariableName(text)) return Fail("Syntax error: " + std::string(text));
        int idx = 0;
        const int varTop = static_cast<int>(ev_.varNames_.size()) - 1;
        for (int i = 1; i <= varTop; ++i) {
          if (ev_.varNames_[i] == text) {
            idx = i;
            break;
          }
        }
        if (idx == 0) {
          if (varTop >= kMaxVariables) return Fail("too many variables");
          ev_.varNames_.emplace_back(text);
          ev_.varValues_.push_back(0.0);
          ev_.varAssigned_.push_back(0);
          idx = varTop + 1;
        }
        arg.idx = idx;
        arg.sign = sign;
        slot = 0.0;
        given_[row * 6 + argument - 1] = 1;
        return true;
      }
    }
  }
  arg.idx = 0;
  arg.sign = sign;
  slot = sign * value;
  given_[row * 6 + argument - 1] = 1;
  return true;
}

bool clsExprEvaluator::Compiler::Compile(std::string_view text) {
  ev_.rows_.clear();
  ev_.rows_.emplace_back();
  ev_.argValues_.assign(6, 0.0);
  ev_.varNames_.assign(1, std::string());
  ev_.varValues_.assign(1, 0.0);
  ev_.varAssigned_.assign(1, 0);
  ev_.assignedCount_ = 0;
  ev_.steps_.clear();
  ev_.loads_.clear();
  ev_.varLoads_.clear();
  ev_.slotsFresh_ = false;
  ev_.errMsg_.clear();

  // Text that is no well-formed UTF-8 is refused at the first bad byte.
  int chars = 0;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t len = Utf8SequenceLength(text.substr(i));
    ++chars;
    if (len == 0) return FailAt("Syntax error at pos: ", chars);
    i += len;
  }
  if (std::count(text.begin(), text.end(), '|') % 2 != 0) {
    return Fail("abs symbols |.| mismatch");
  }
  return Scan(text) && Finish();
}

bool clsExprEvaluator::Compiler::Scan(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t len = Utf8SequenceLength(text.substr(i));
    const std::string_view ch = text.substr(i, len);
    i += len;
    ++pos_;
    // Non-ASCII characters only ever join the pending operand.
    const char c = len == 1 ? ch[0] : '\x7F';
    bool rowMade = false;

    switch (c) {
      case ' ':
        break;

      case '(':
      case '[':
      case '{': {
        if (++depth_ > kMaxDepth) return FailAt("Brackets nested too deeply at pos: ", pos_);
        if (pending_.empty()) break;
        // After "5!" or "x%" the operand is taken; it cannot name a function.
        if (lastNonBlank_ == '!' || lastNonBlank_ == '%') return FailAt("Syntax error at pos: ", pos_);
        std::string name = pending_;
        int sign = 1;
        if (name[0] == '+' || name[0] == '-') {
          sign = name[0] == '-' ? -1 : 1;
          name.erase(0, 1);
        }
        if (name.empty()) {
          if (sign == 1) {  // "+(": a plain sign in front of a bracket
            pending_.clear();
            pendingChars_ = 0;
            break;
          }
          name = "Neg";
          sign = 1;
        }
        const FunInfo* f = FindFunction(name);
        if (f != nullptr && f->args == 1) {
          if (!NewRow(name, f->code, 1, 10 * depth_)) return false;
          Newest().sign = sign;
        } else if (f != nullptr && f->args >= 2) {
          if (funTop_ >= kMaxOpenFunctions) return FailAt("Too many nested functions at pos: ", pos_);
          PendingFunction& entry = funStack_[++funTop_];
          entry.name = name;
          entry.argCount = f->args;
          entry.argsLeft = f->args - 1;
          entry.sign = sign;
          entry.openDepth = depth_;
          entry.openPos = pos_;
          entry.rowMade = false;
        } else if (IsNumber(name, true)) {
          return FailAt("Syntax error at pos: ", pos_);
        } else {
          return Fail("Function < " + name + " > unknown at pos: " +
                      std::to_string(pos_ - CharCount(name)));
        }
        pending_.clear();
        pendingChars_ = 0;
        break;
      }

      case ')':
      case ']':
      case '}':
        if (depth_ - 1 < 0) return FailAt("Too many closing brackets at pos: ", pos_);
        // A function's own bracket closing before all its arguments came.
        if (funTop_ > 0 && funStack_[funTop_].openDepth == depth_) return Fail("missing argument");
        --depth_;
        checkAfterClose_ = true;
        break;

      case '+':
      case '-':
        if (!pending_.empty()) {
          const char last = pending_.back();
          if (pendingChars_ >= 2 && (last == 'E' || last == 'e') &&
              IsNumber(std::string_view(pending_).substr(0, pending_.size() - 1), true)) {
            Append(ch);  // the sign of an exponent
          } else {
            if (!NewRow(ch, c == '+' ? kAdd : kSub, 2, 10 * depth_ + 2) || !StorePending(1)) {
              return false;
            }
            rowMade = true;
          }
        } else {
          if (lastNonBlank_ == ')' || lastNonBlank_ == ']' || lastNonBlank_ == '}') {
            return Fail("missing argument");
          }
          Append(ch);
        }
        break;

      case '*':
      case '/':
      case '\\': {
        const int code = c == '*' ? kMul : (c == '/' ? kDiv : kIntDiv);
        if (!NewRow(ch, code, 2, 10 * depth_ + 3) || !StorePending(1)) return false;
        rowMade = true;
        break;
      }

      case '^':
        if (!NewRow(ch, kPow, 2, 10 * depth_ + 4) || !StorePending(1)) return false;
        rowMade = true;
        break;

      case '!':
      case '%': {
        // Postfix: the operand stays pending for the operator that follows.
        std::string keep = pending_;
        const int keepChars = pendingChars_;
        if (!NewRow(ch, c == '!' ? kFact : kPercent, 1, 10 * depth_ + 9) || !StorePending(1)) {
          return false;
        }
        pending_ = std::move(keep);
        pendingChars_ = keepChars;
        // Nothing may extend the operand after either postfix: "5%3" and
        // "x%y" would otherwise read as 0.53 and xy/100.
        checkAfterClose_ = true;
        break;
      }

      case ',': {
        if (funTop_ == 0 || funStack_[funTop_].openDepth != depth_) {
          return FailAt("Too many arguments at pos: ", pos_);
        }
        PendingFunction& entry = funStack_[funTop_];
        const FunInfo* f = FindFunction(entry.name);
        if (!NewRow(entry.name, f ? f->code : -1, entry.argCount, 10 * depth_)) return false;
        Newest().sign = entry.sign;
        if (entry.sign == -1) entry.sign = 1;  // only the first row negates
        if (!entry.rowMade) Newest().posInExpr = entry.openPos;
        entry.rowMade = true;
        if (!StorePending(1)) return false;
        if (--entry.argsLeft == 0) --funTop_;
        rowMade = true;
        break;
      }

      case '|':
        if (pending_.empty() || pending_ == "-" || pending_ == "+") {
          if (++depth_ > kMaxDepth) return FailAt("Brackets nested too deeply at pos: ", pos_);
          if (!NewRow("abs", kAbs, 1, 10 * depth_)) return false;
          Newest().sign = pending_ == "-" ? -1 : 1;
          pending_.clear();
          pendingChars_ = 0;
        } else {
          checkAfterClose_ = true;
          if (depth_ - 1 < 0) return FailAt("Syntax error at pos: ", pos_);
          if (funTop_ > 0 && funStack_[funTop_].openDepth == depth_) return Fail("missing argument");
          --depth_;
        }
        break;

      case '=':
      case '<':
      case '>':
        if (pendingCmp_.empty()) {
          if (Top() > 0 && IsComparison(Newest().funCode) && Newest().priLvl == 10 * depth_ + 1) {
            // a < b < c: the comparisons are multiplied, b goes to both. Only
            // a comparison at this bracket depth chains: (a<b)<c compares
            // the bracket's 0 or 1 with c.
            if (!NewRow("*", kMul, 2, 10 * (depth_ - 1) + 3) || !StoreOperand(pending_, 1)) {
              return false;
            }
            // The product binds looser than the comparisons but tighter than
            // a function whose bracket holds the chain: sin(1<2<3).
            Newest().order = 20 * depth_ + 1;
          }
          if (!NewRow(ch, -1, 2, 10 * depth_ + 1) || !StorePending(1)) return false;
          rowMade = true;
        }
        pendingCmp_ += c;
        {
          Row& row = Newest();
          row.fun = pendingCmp_;
          row.funCode = ComparisonCode(pendingCmp_);
          row.argTop = 2;
          row.priLvl = 10 * depth_ + 1;
          row.order = 2 * row.priLvl;
          row.posInExpr = pos_;
          if (row.funCode == -1) return FailAt("Syntax error at pos: ", pos_);
        }
        break;

      case 'x':
      case 'y':
      case 'z':
      case 'X':
      case 'Y':
      case 'Z':
        if (IsNumber(pending_, true)) {  // 2x: implicit multiplication
          if (!NewRow("*", kMul, 2, 10 * depth_ + 3) || !StorePending(1)) return false;
          rowMade = true;
        }
        Append(ch);
        break;

      default:
        Append(ch);
        break;
    }

    if (checkAfterClose_ && (IsNameLetter(c) || IsDigit(c) || c == '.')) {
      return FailAt("Syntax error at pos: ", pos_);
    }
    if (rowMade) {
      checkAfterClose_ = false;
    } else {
      pendingCmp_.clear();
    }
    if (c != ' ') lastNonBlank_ = c;
  }
  return true;
}

bool clsExprEvaluator::Compiler::Finish() {
  if (depth_ > 0) return Fail("Not enough closing brackets");
  if (Top() == 0) {
    pos_ = 1;
    if (!NewRow("+", kAdd, 2, 1)) return false;
    given_[6] = 1;  // 0 + operand
  }
  const int top = Top();
  auto& rows = ev_.rows_;
  auto& values = ev_.argValues_;
  // The operand written after an operator was stored as argument 1 of the
  // next row; it is also the last argument of the row before.
  for (int k = 1; k < top; ++k) {
    const int a = std::min(rows[k].argTop, 2) - 1;
    rows[k].arg[a] = rows[k + 1].arg[0];
    values[k * 6 + a] = values[(k + 1) * 6];
    given_[k * 6 + a] = given_[(k + 1) * 6];
  }
  if (pending_.empty()) return Fail("missing argument");
  if (!StorePending(std::min(rows[top].argTop, 2))) return false;
  if (funTop_ > 0) return Fail("missing argument");

  Schedule();
  Link();
  BuildConditions();
  if (!ChainExtraArguments()) return false;
  for (int k = 1; k <= top; ++k) {
    if (rows[k].argOf > 0) rows[rows[k].argOf].arg[rows[k].argIdx - 1] = Arg{};
  }
  return BuildProgram();
}

// PriIdx: rows by priority, highest first; equal priorities keep table order.
void clsExprEvaluator::Compiler::Schedule() {
  auto& rows = ev_.rows_;
  const int top = Top();
  for (int k = 1; k <= top; ++k) rows[k].priIdx = k;
  for (int k = 2; k <= top; ++k) {
    const int row = rows[k].priIdx;
    int j = k - 1;
    while (j >= 1 && rows[rows[j].priIdx].order < rows[row].order) {
      rows[j + 1].priIdx = rows[j].priIdx;
      --j;
    }
    rows[j + 1].priIdx = row;
  }
}

// Each row delivers its result to the nearer-binding of its unlinked
// neighbours: the right one when it binds more strongly, else the left one.
void clsExprEvaluator::Compiler::Link() {
  auto& rows = ev_.rows_;
  const int top = Top();
  for (int k = 1; k <= top; ++k) {
    const int j = rows[k].priIdx;
    int left = j - 1;
    while (left > 0 && rows[left].argOf != 0) --left;
    int right = j + 1;
    while (right <= top && rows[right].argOf != 0) ++right;
    const bool hasRight = right <= top;
    if (left == 0 && !hasRight) break;  // the root
    if (left == 0 || (hasRight && rows[left].order < rows[right].order)) {
      rows[j].argOf = right;
      rows[j].argIdx = 1;
    } else {
      rows[j].argOf = left;
      rows[j].argIdx = std::min(rows[left].argTop, 2);
    }
  }
}

// (x>0)*log(x): the rows under the other factor of a product with a
// comparison run only when the comparison holds.
void clsExprEvaluator::Compiler::BuildConditions() {
  auto& rows = ev_.rows_;
  const int top = Top();
  struct Condition {
    int row;
    int target;
  };
  std::vector<Condition> conditions;
  std::vector<unsigned char> isCondition(top + 1, 0);
  for (int i = 1; i <= top; ++i) {
    if (!IsComparison(rows[i].funCode)) continue;
    isCondition[i] = 1;
    auto same = std::find_if(conditions.begin(), conditions.end(),
                             [&](const Condition& c) { return c.target == rows[i].argOf; });
    if (same != conditions.end() && same->target > 0) {
      // A product of two comparisons is one condition.
      isCondition[same->target] = 1;
      same->row = same->target;
      same->target = rows[same->target].argOf;
    } else {
      conditions.push_back({i, rows[i].argOf});
    }
  }
  if (conditions.empty()) return;

  enum : unsigned char { kNone, kOutside, kConditional };
  std::vector<unsigned char> flag(top + 1);
  for (const Condition& c : conditions) {
    if (c.target <= 0 || rows[c.target].funCode != kMul || rows[c.target].fun != "*") continue;
    std::fill(flag.begin(), flag.end(), kNone);
    for (int i = 1; i <= top; ++i) {
      int cur = i;
      for (int steps = 0; steps <= top && cur > 0; ++steps) {
        if (flag[cur] == kOutside || rows[cur].argOf == 0) {
          flag[i] = kOutside;
          break;
        }
        if (isCondition[cur]) {
          rows[i].priLvl += 100;
          rows[i].order += 200;
          break;
        }
        if (flag[cur] == kConditional || rows[cur].argOf == c.target) {
          flag[i] = kConditional;
          rows[i].cond = c.row;
          break;
        }
        cur = rows[cur].argOf;
      }
    }
  }
  Schedule();
}

// f(a1, ..., an) was stored as n - 1 rows of f, each passing its result to
// the next; the later rows become "@Right" rows delivering a3 .. an to the
// first, which then runs last.
bool clsExprEvaluator::Compiler::ChainExtraArguments() {
  auto& rows = ev_.rows_;
  const int top = Top();
  for (int i = 1; i <= top; ++i) {
    if (rows[i].argTop <= 2) continue;
    int c = i;
    for (int m = 3; m <= rows[i].argTop; ++m) {
      c = rows[i].argOf;
      if (c <= 0 || c > top) return Fail("Internal error: argument chain");
      rows[i].argOf = rows[c].argOf;
      rows[i].argIdx = rows[c].argIdx;
      rows[c].fun = "@Right";
      rows[c].funCode = kRight;
      rows[c].argTop = 2;
      rows[c].argOf = i;
      rows[c].argIdx = m;
    }
    int pi = 0, pc = 0;
    for (int k = 1; k <= top; ++k) {
      if (rows[k].priIdx == i) pi = k;
      if (rows[k].priIdx == c) pc = k;
    }
    std::swap(rows[pi].priIdx, rows[pc].priIdx);
  }
  return true;
}

// The evaluation program: steps in schedule order and the variable loads.
// Checks that every row runs after the rows feeding it, and computes once
// the rows whose arguments are all constant.
bool clsExprEvaluator::Compiler::BuildProgram() {
  auto& rows = ev_.rows_;
  const int top = Top();
  // After the six slots of each row: the slot receiving the root's value,
  // and a slot holding 1 that stands for "no condition".
  const int scratch = (top + 1) * 6;
  const int always = scratch + 1;
  ev_.argValues_.resize(always + 1, 0.0);
  ev_.argValues_[always] = 1.0;

  // The schedule must run every row after the rows delivering to it and
  // after its condition. Chains of comparisons inside brackets can raise a
  // row above the row it feeds; the schedule is then repaired by taking,
  // at each step, the earliest scheduled row whose inputs are all ready.
  // A valid schedule passes through unchanged.
  std::vector<int> key(top + 1, -1);
  for (int k = 1; k <= top; ++k) {
    const int r = rows[k].priIdx;
    if (r < 1 || r > top || key[r] != -1) return Fail("Internal error: evaluation order");
    key[r] = k;
  }
  std::vector<int> waiting(top + 1, 0);  // inputs not yet evaluated
  for (int r = 1; r <= top; ++r) {
    const Row& row = rows[r];
    if (row.argOf < 0 || row.argOf > top || row.argOf == r || row.cond < 0 || row.cond > top ||
        row.cond == r || (row.argOf > 0 && (row.argIdx < 1 || row.argIdx > rows[row.argOf].argTop))) {
      return Fail("Internal error: evaluation order");
    }
    if (row.argOf > 0) ++waiting[row.argOf];
    if (row.cond > 0) ++waiting[r];
  }
  std::vector<unsigned char> done(top + 1, 0);
  for (int k = 1; k <= top; ++k) {
    int next = 0;
    for (int r = 1; r <= top; ++r) {
      if (!done[r] && waiting[r] == 0 && (next == 0 || key[r] < key[next])) next = r;
    }
    if (next == 0) return Fail("Internal error: evaluation order");
    done[next] = 1;
    rows[k].priIdx = next;
    if (rows[next].argOf > 0) --waiting[rows[next].argOf];
    for (int r = 1; r <= top; ++r) {
      if (rows[r].cond == next) --waiting[r];
    }
  }

  // Slots that receive a variable or another row's result at evaluation time.
  std::vector<unsigned char> variable(scratch + 1, 0);
  for (int r = 1; r <= top; ++r) {
    for (int a = 0; a < rows[r].argTop; ++a) {
      const Arg& arg = rows[r].arg[a];
      if (arg.idx != 0) {
        ev_.loads_.push_back({r * 6 + a, arg.idx, static_cast<double>(arg.sign)});
        variable[r * 6 + a] = 1;
      }
    }
    if (rows[r].argOf > 0) variable[rows[r].argOf * 6 + rows[r].argIdx - 1] = 1;
  }
  // Every argument of every row has its value: written in the expression,
  // or delivered by exactly one other row.
  for (int r = 1; r <= top; ++r) {
    if (rows[r].argOf > 0) {
      unsigned char& g = given_[rows[r].argOf * 6 + rows[r].argIdx - 1];
      if (g == 2) return Fail("Internal error: argument delivered twice");
      g = 2;
    }
  }
  for (int r = 1; r <= top; ++r) {
    for (int a = 0; a < rows[r].argTop; ++a) {
      if (given_[r * 6 + a] == 0) return Fail("Internal error: argument without value");
    }
  }

  // Loads grouped by variable, so that setting one touches only its slots.
  auto& loads = ev_.loads_;
  std::stable_sort(loads.begin(), loads.end(),
                   [](const Load& a, const Load& b) { return a.var < b.var; });
  const int varTop = static_cast<int>(ev_.varNames_.size()) - 1;
  ev_.varLoads_.assign(varTop + 2, 0);
  for (const Load& l : loads) ++ev_.varLoads_[l.var + 1];
  for (int v = 1; v <= varTop + 1; ++v) ev_.varLoads_[v] += ev_.varLoads_[v - 1];
  for (int k = 1; k <= top; ++k) {
    const int r = rows[k].priIdx;
    const Row& row = rows[r];
    const bool guarded = row.cond > 0 || row.sign == -1;
    Step step{guarded ? kGuarded : row.funCode, row.funCode, r * 6,
              ev_.DestSlot(r), row.cond > 0 ? ev_.DestSlot(row.cond) : always, r,
              row.sign == -1};
    bool constant = row.cond == 0 && IsFoldable(row.funCode);
    for (int a = 0; a < row.argTop && constant; ++a) constant = !variable[r * 6 + a];
    if (constant) {
      double value = ev_.Compute(step.code, &ev_.argValues_[r * 6]);
      if (std::isfinite(value)) {
        if (step.negate) value = -value;
        ev_.argValues_[step.dest] = value;
        variable[step.dest] = 0;
        continue;
      }
    }
    ev_.steps_.push_back(step);
  }
  return true;
}

// ---------------------------------------------------------------------------
// Evaluation.

double clsExprEvaluator::NextRandom() {
  // The classic 24-bit generator, single precision in [0, 1).
  rndState_ = (rndState_ * 1140671485u + 12820163u) & 0xFFFFFFu;
  return static_cast<double>(static_cast<float>(rndState_) / 16777216.0f);
}

// The result of one row from its arguments; NaN or an infinity is a fault.
#if defined(__GNUC__)
__attribute__((noinline))
#endif
double clsExprEvaluator::Compute(int code, const double* a) {
  const double f = angleFactor_;
  const double x = a[0];
  const double b = a[1];
  switch (code) {
    case kRight: return b;
    case kAdd: return x + b;
    case kSub: return x - b;
    case kMul: return x * b;
    case kDiv: return x / b;
    case kPercent: return x / 100;
    case kIntDiv: {
      auto n = RoundToInt32(x);
      auto d = RoundToInt32(b);
      if (!n || !d || *d == 0) return kNaN;
      const std::int64_t q = static_cast<std::int64_t>(*n) / *d;
      return q > 2147483647 ? kNaN : static_cast<double>(q);
    }
    case kPow: return Power(x, b);
    case kAbs: return std::fabs(x);
    case kAtn: return std::atan(x) / f;
    case kCos: return std::cos(x * f);
    case kSin: return std::sin(x * f);
    case kTan: return std::tan(x * f);
    case kExp: return std::exp(x);
    case kFix: return std::trunc(x);
    case kInt: return std::floor(x);
    case kLn:
    case kLog: return x > 0 ? std::log(x) : kNaN;
    case kRnd: return x * NextRandom();
    case kSgn: return Sgn(x);
    case kSqr: return std::sqrt(x);
    case kCbr: return Sgn(x) * std::pow(std::fabs(x), 1.0 / 3);
    case kDec: return Dec(x);
    case kCsc: return 1 / std::sin(x * f);
    case kSec: return 1 / std::cos(x * f);
    case kCot: return 1 / std::tan(x * f);
    case kAsin: return Asin(x) / f;
    case kAcos: return Acos(x) / f;
    case kAcsc: return Asin(1 / x) / f;
    case kAsec: return Acos(1 / x) / f;
    case kAcot: return (kPi / 2 - std::atan(x)) / f;
    case kCosh: return std::cosh(x);
    case kSinh: return std::sinh(x);
    case kTanh: return std::tanh(x);
    case kCsch: return 1 / std::sinh(x);
    case kSech: return 1 / std::cosh(x);
    case kCoth: return 1 / std::tanh(x);
    case kAcosh: return std::acosh(x);
    case kAsinh: return std::asinh(x);
    case kAtanh: return std::atanh(x);
    case kAcsch: return std::asinh(1 / x);
    case kAsech: return std::acosh(1 / x);
    case kAcoth: return std::atanh(1 / x);
    case kRad: return x / f;
    case kDeg: return x / f * kPi / 180;
    case kGrad: return x / f * kPi / 200;
    case kFact: return Fact(x);
    case kGt: return x > b ? 1.0 : 0.0;
    case kGe: return x >= b ? 1.0 : 0.0;
    case kLt: return x < b ? 1.0 : 0.0;
    case kLe: return x <= b ? 1.0 : 0.0;
    case kEq: return x == b ? 1.0 : 0.0;
    case kNe: return x != b ? 1.0 : 0.0;
    case kAnd: return Truth(x) && Truth(b) ? 1.0 : 0.0;
    case kOr: return Truth(x) || Truth(b) ? 1.0 : 0.0;
    case kXor: return Truth(x) != Truth(b) ? 1.0 : 0.0;
    case kNand: return Truth(x) && Truth(b) ? 0.0 : 1.0;
    case kNor: return Truth(x) || Truth(b) ? 0.0 : 1.0;
    case kNxor: return Truth(x) == Truth(b) ? 1.0 : 0.0;
    case kNot: return x == 0 ? 1.0 : 0.0;
    case kNeg: return -x;

    case kMod: return std::nearbyint(x - b * std::trunc(x / b));
    case kComb: return Comb(x, b);
    case kPerm: return Perm(x, b);
    case kMin: return x >= b ? b : x;
    case kMax: return x < b ? b : x;
    case kGcd: {
      std::int64_t m, n;
      if (!GcdArguments(x, b, m, n)) return kNaN;
      return static_cast<double>(Gcd(m, n));
    }
    case kLcm: {
      std::int64_t m, n;
      if (!GcdArguments(x, b, m, n)) return kNaN;
      const std::int64_t product = m * n;
      const std::int64_t g = Gcd(m, n);
      if (product > 2147483647 || g == 0) return kNaN;
      return static_cast<double>(product / g);
    }
    case kRoot: {
      const double n = std::floor(b);
      if (n == 0) return kNaN;
      if (std::fmod(n, 2.0) == 0) return x < 0 ? kNaN : std::pow(x, 1 / n);
      return Sgn(x) * std::pow(std::fabs(x), 1 / n);
    }
    case kRound: {
      double n;
      if (!IntegerOf(b, n)) return kNaN;
      const double p = PowerOfTen(n);
      return RoundHalfUp(x * p) / p;
    }
    case kLogN: return x > 0 && b > 0 ? std::log(x) / std::log(b) : kNaN;
    case kDPoisson: {
      double k;
      if (!IntegerOf(x, k)) return kNaN;
      return Poisson(k, b);
    }
    case kCPoisson: return CumulativePoisson(x, b);

    case kErf: return sf::Erf(x);
    case kGamma: return sf::Gamma(x);
    case kGammaLn: return sf::GammaLn(x);
    case kDigamma: return sf::Digamma(x);
    case kBeta: return sf::Beta(x, b);
    case kZeta: return sf::Zeta(x);
    case kEi: return sf::Ei(x);
    case kEin: return sf::En(x, b);
    case kSi: return sf::Si(x);
    case kCi: return sf::Ci(x);
    case kFresnelS: return sf::FresnelS(x);
    case kFresnelC: return sf::FresnelC(x);
    case kAiryA: return sf::AiryA(x);
    case kAiryB: return sf::AiryB(x);
    case kJ0: return sf::J0(x);
    case kY0: return sf::Y0(x);
    case kI0: return sf::I0(x);
    case kK0: return sf::K0(x);
    case kBesselJ: return sf::BesselJ(x, b);
    case kBesselY: return sf::BesselY(x, b);
    case kBesselI: return sf::BesselI(x, b);
    case kBesselK: return sf::BesselK(x, b);
    case kGammaI: {
      const char* failure = nullptr;
      const double v = sf::GammaI(x, b, failure);
      return failure ? kNaN : v;
    }
    case kPolyLe: return sf::PolyLe(x, b);
    case kPolyHe: return sf::PolyHe(x, b);
    case kPolyLa: return sf::PolyLa(x, b);
    case kPolyCh: return sf::PolyCh(x, b);
    case kElli1: return sf::Elli1Radians(x * f, b);
    case kElli2: return sf::Elli2Radians(x * f, b);

    case kDNorm: {
      const double s = a[2];
      return std::exp(-(x - b) * (x - b) / (2 * s * s)) / std::sqrt(kTwoPi) / s;
    }
    case kCNorm: {
      const double s = a[2];
      if (s == 0) return kNaN;
      return (1 + sf::Erf((x - b) / (std::sqrt(2.0) * s))) / 2;
    }
    case kDBinom: return Binomial(x, b, a[2]);
    case kCBinom: return CumulativeBinomial(x, b, a[2]);
    case kHypGeom: {
      if (x > 1) return kNaN;
      const char* failure = nullptr;
      const double v = sf::HypGeom(x, b, a[2], a[3], failure);
      return failure ? kNaN : v;
    }
    case kBetaI: return sf::BetaI(x, b, a[2]);
    case kClip: {
      const double lo = b, hi = a[2];
      if (lo > hi) return kNaN;
      return x < lo ? lo : (x > hi ? hi : x);
    }

    case kWTri: {
      const double u = x / b;
      return SnapZero(4 * std::fabs(std::floor(u + 0.5) - u) - 1);
    }
    case kWSqr: {
      const double u = x / b;
      return SnapZero(2 * std::floor(u) - 2 * std::floor(u + 0.5) + 1);
    }
    case kWSaw: {
      const double u = x / b;
      return SnapZero(2 * u - 2 * std::floor(u + 0.5));
    }
    case kWRaise: {
      const double u = x / b;
      return SnapZero(u - std::floor(u));
    }
    case kWParab: {
      const double u = x / b;
      const double v = 2 * std::fabs(std::floor(u + 0.5) - u);
      return SnapZero(v * v);
    }
    case kWRect: {
      const double u = x / b, d = a[2];
      return SnapZero(2 * std::floor(u) - 2 * std::floor(u - d) - 1);
    }
    case kWTrapez: {
      const double t = x, p = b, d = a[2], u = t / p;
      return SnapZero((2 * std::fabs(std::floor(u + 0.5) - u) -
                       std::fabs(2 * std::floor(u - d / (2 * p) + 0.5) + (d - 2 * t) / p)) /
                      d);
    }
    case kWLin: return SnapZero(WaveLin(x, b, a[2]));
    case kWPulse: {
      const double u = x / b, d = a[2];
      return SnapZero(std::floor(u) - std::floor(u - d));
    }
    case kWSteps: {
      const double u = x / b, n = a[2];
      return SnapZero((std::floor(u * n) - std::floor(u) * n) / (n - 1));
    }
    case kWExp: return SnapZero(WaveDecay(x / b, a[2]));
    case kWExpB: {
      const double u = x / b;
      return SnapZero(WaveDecay(u, a[2]) - WaveDecayHalf(u, a[2]));
    }
    case kWPulseF: {
      const double u = x / b;
      return std::floor(u) - std::floor(u + 0.5) + 1 - (WaveDecay(u, a[2]) - WaveDecayHalf(u, a[2]));
    }
    case kWRipple: {
      const double u = x / b;
      return SnapZero(std::max(WaveDecay(u, a[2]), std::fabs(std::cos(kPi * u))));
    }
    case kWRing: {
      const double u = x / b;
      return -WaveDecay(u, a[2]) * std::sin(kTwoPi * a[3] * (std::floor(u) - u));
    }
    case kWAm: {
      const double t = x, fc = b, fm = a[2], m = a[3];
      return (1 + m * std::sin(kTwoPi * fm * t)) * std::sin(kTwoPi * fc * t);
    }
    case kWFm: {
      const double t = x, fc = b, fm = a[2], m = a[3];
      return std::sin(kTwoPi * fc * t * (1 + m * std::sin(kTwoPi * fm * t)));
    }
    default:
      return kNaN;
  }
}

// Runs the schedule. The frequent operations are computed right here; the
// rest go through Compute, kept out of line so that this loop stays small.
#if defined(__GNUC__)
#define VORLANE_HOT_INLINE inline __attribute__((always_inline))
#else
#define VORLANE_HOT_INLINE inline
#endif
VORLANE_HOT_INLINE bool clsExprEvaluator::Run(double& result) {
  double* const args = argValues_.data();
  const double f = angleFactor_;
  for (const Step& s : steps_) {
    const double* a = args + s.args;
    double r;
    switch (s.op) {
      case kAdd: r = a[0] + a[1]; break;
      case kSub: r = a[0] - a[1]; break;
      case kMul: r = a[0] * a[1]; break;
      case kDiv: r = a[0] / a[1]; break;
      case kPow: r = Power(a[0], a[1]); break;
      case kRight: r = a[1]; break;
      case kGt: r = a[0] > a[1] ? 1.0 : 0.0; break;
      case kGe: r = a[0] >= a[1] ? 1.0 : 0.0; break;
      case kLt: r = a[0] < a[1] ? 1.0 : 0.0; break;
      case kLe: r = a[0] <= a[1] ? 1.0 : 0.0; break;
      case kEq: r = a[0] == a[1] ? 1.0 : 0.0; break;
      case kNe: r = a[0] != a[1] ? 1.0 : 0.0; break;
      case kMin: r = a[0] >= a[1] ? a[1] : a[0]; break;
      case kMax: r = a[0] < a[1] ? a[1] : a[0]; break;
      case kAbs: r = std::fabs(a[0]); break;
      case kNeg: r = -a[0]; break;
      case kSqr: r = std::sqrt(a[0]); break;
      case kExp: r = std::exp(a[0]); break;
      case kLn:
      case kLog: r = a[0] > 0 ? std::log(a[0]) : kNaN; break;
      case kSin: r = std::sin(a[0] * f); break;
      case kCos: r = std::cos(a[0] * f); break;
      case kTan: r = std::tan(a[0] * f); break;
      case kInt: r = std::floor(a[0]); break;
      case kFix: r = std::trunc(a[0]); break;
      case kClip:
        r = a[1] > a[2] ? kNaN : (a[0] < a[1] ? a[1] : (a[0] > a[2] ? a[2] : a[0]));
        break;
      case kRound:
        r = a[1] == 0.0 ? RoundHalfUp(a[0]) : Compute(kRound, a);
        break;
      case kGuarded:
        // A row that runs only when its condition holds, or whose result
        // is negated.
        if (args[s.cond] == 0.0) {
          args[s.dest] = 0.0;
          continue;
        }
        r = Compute(s.code, a);
        if (!std::isfinite(r)) [[unlikely]] {
          SetEvalError(s.row);
          return false;
        }
        args[s.dest] = s.negate ? -r : r;
        continue;
      default: r = Compute(s.op, a); break;
    }
    if (!std::isfinite(r)) [[unlikely]] {
      SetEvalError(s.row);
      return false;
    }
    args[s.dest] = r;
  }
  result = args[argValues_.size() - 2];
  return true;
}

#if defined(__GNUC__)
__attribute__((noinline, cold))
#endif
void clsExprEvaluator::SetEvalError(int row) {
  try {
    const Row& r = rows_[row];
    const double* a = &argValues_[row * 6];
    std::string text = "Evaluation error < ";
    if (r.argTop == 2 && !IsTwoArgumentFunction(r.fun)) {
      text += ToText(a[0]) + " " + r.fun + " " + ToText(a[1]);
    } else {
      text += r.fun + "(";
      for (int i = 0; i < r.argTop; ++i) {
        if (i > 0) text += ";";
        text += ToText(a[i]);
      }
      text += ")";
    }
    text += " > at pos: " + std::to_string(r.posInExpr);
    errMsg_ = std::move(text);
  } catch (...) {
    errMsg_.clear();
  }
}

// The slot that receives the result of a row: an argument of the row it
// feeds, or for the root the slot after all rows.
int clsExprEvaluator::DestSlot(int row) const {
  const Row& r = rows_[row];
  return r.argOf > 0 ? r.argOf * 6 + r.argIdx - 1 : static_cast<int>(rows_.size()) * 6;
}

// The slots fed by variables hold sign x value. They are brought up to date
// when a variable is set, so that Eval itself copies nothing; Eval1 writes
// its own value there and leaves them stale until the next full load.
void clsExprEvaluator::LoadVariables() {
  double* const args = argValues_.data();
  const double* const vars = varValues_.data();
  for (const Load& l : loads_) args[l.slot] = l.sign * vars[l.var];
  slotsFresh_ = true;
}

void clsExprEvaluator::LoadVariable(int index) {
  double* const args = argValues_.data();
  const double value = varValues_[index];
  for (int k = varLoads_[index]; k < varLoads_[index + 1]; ++k) {
    args[loads_[k].slot] = loads_[k].sign * value;
  }
}

// ---------------------------------------------------------------------------
// Public members.

clsExprEvaluator::clsExprEvaluator() = default;
clsExprEvaluator::~clsExprEvaluator() = default;

bool clsExprEvaluator::StoreExpression(std::string_view expr) {
  compiled_ = false;
  errNumber_ = 0;
  try {
    const std::size_t first = expr.find_first_not_of(' ');
    expr = first == std::string_view::npos ? std::string_view() : expr.substr(first);
    expr = expr.substr(0, expr.find_last_not_of(' ') + 1);
    expr_.assign(expr);
    Compiler compiler(*this);
    compiled_ = compiler.Compile(expr_);
  } catch (const std::bad_alloc&) {
    errMsg_ = "Expression too long";
    compiled_ = false;
  }
  if (!compiled_) {
    steps_.clear();
    loads_.clear();
    varLoads_.assign(VarTop() + 2, 0);
  }
  return compiled_;
}

int clsExprEvaluator::VarTop() const {
  return varNames_.empty() ? 0 : static_cast<int>(varNames_.size()) - 1;
}

std::string clsExprEvaluator::VarName(int index) const {
  return index >= 1 && index <= VarTop() ? varNames_[index] : std::string();
}

double clsExprEvaluator::VarValue(int index) const {
  return index >= 1 && index <= VarTop() ? varValues_[index] : 0.0;
}

void clsExprEvaluator::AssignVar(int index, double value, bool markAssigned) {
  if (index < 1 || index > VarTop()) return;
  varValues_[index] = value;
  if (slotsFresh_) LoadVariable(index);
  if (markAssigned && !varAssigned_[index]) {
    varAssigned_[index] = 1;
    ++assignedCount_;
  }
}

void clsExprEvaluator::SetVarValue(int index, double value) { AssignVar(index, value, true); }

// Exact name first, then the first name equal without regard to case.
int clsExprEvaluator::FindVar(std::string_view name) const {
  const int top = VarTop();
  for (int i = 1; i <= top; ++i) {
    if (varNames_[i] == name) return i;
  }
  for (int i = 1; i <= top; ++i) {
    if (EqualsNoCase(varNames_[i], name)) return i;
  }
  return 0;
}

double clsExprEvaluator::VarSymb(std::string_view name) const { return VarValue(FindVar(name)); }

void clsExprEvaluator::SetVarSymb(std::string_view name, double value) {
  AssignVar(FindVar(name), value, true);
}

double clsExprEvaluator::Variable(const VarSelector& selector) const {
  return VarValue(selector.ByName() ? FindVar(selector.Name()) : selector.Index());
}

void clsExprEvaluator::SetVariable(const VarSelector& selector, double value) {
  AssignVar(selector.ByName() ? FindVar(selector.Name()) : selector.Index(), value,
            opAssignExplicit_);
}

void clsExprEvaluator::SetAngleUnit(std::string_view unit) {
  if (EqualsNoCase(unit, "DEG")) {
    angleUnitName_ = "DEG";
    angleFactor_ = kPi / 180;
  } else if (EqualsNoCase(unit, "GRAD")) {
    angleUnitName_ = "GRAD";
    angleFactor_ = kPi / 200;
  } else if (EqualsNoCase(unit, "RAD")) {
    angleUnitName_ = "RAD";
    angleFactor_ = 1.0;
  }
}

bool clsExprEvaluator::FirstUnassigned() {
  if (!opAssignExplicit_ || assignedCount_ >= VarTop()) return false;
  for (int i = 1; i <= VarTop(); ++i) {
    if (!varAssigned_[i]) {
      try {
        errMsg_ = "Variable < " + varNames_[i] + " > not assigned";
      } catch (...) {
        errMsg_.clear();
      }
      return true;
    }
  }
  return false;
}

double clsExprEvaluator::Eval() {
  double result = 0.0;
  if (!compiled_ || (opAssignExplicit_ && FirstUnassigned())) {
    errNumber_ = kErrEval;
    return 0.0;
  }
  if (!slotsFresh_) LoadVariables();
  if (!Run(result)) {
    errNumber_ = kErrEval;
    return 0.0;
  }
  if (!errMsg_.empty()) errMsg_.clear();
  errNumber_ = 0;
  return result;
}

double clsExprEvaluator::Eval1(double x) {
  double result = 0.0;
  if (!compiled_) {
    errNumber_ = kErrEval1;
    return 0.0;
  }
  if (VarTop() > 1) {
    errMsg_ = "too many variables";
    errNumber_ = kErrEval1;
    return 0.0;
  }
  double* const args = argValues_.data();
  for (const Load& l : loads_) args[l.slot] = l.sign * x;
  slotsFresh_ = loads_.empty();
  if (!Run(result)) {
    errNumber_ = kErrEval1;
    return 0.0;
  }
  if (!errMsg_.empty()) errMsg_.clear();
  errNumber_ = 0;
  return result;
}

std::vector<double> clsExprEvaluator::EvalMulti(std::span<const double> values,
                                                const VarSelector& selector) {
  std::vector<double> results;
  errNumber_ = kErrEval;
  if (!compiled_) return results;
  try {
    if (VarTop() == 0) {
      errMsg_ = "No variables";
      return results;
    }
    const int index = selector.ByName() ? FindVar(selector.Name()) : selector.Index();
    if (index < 1 || index > VarTop()) {
      errMsg_ = "Variable not found";
      return results;
    }
    results.reserve(values.size());
    if (!slotsFresh_) LoadVariables();
    for (double v : values) {
      varValues_[index] = v;
      LoadVariable(index);
      double r = 0.0;
      if (!Run(r)) return {};
      results.push_back(r);
    }
  } catch (const std::bad_alloc&) {
    errMsg_ = "Out of memory";
    return {};
  }
  errMsg_.clear();
  errNumber_ = 0;
  return results;
}

void clsExprEvaluator::ET_Dump(DumpTable& table) const {
  static constexpr const char* kHeads[] = {"Fun",     "ArgTop",     "A1 Idx",    "Arg1 Name",
                                           "Arg1 Value", "A2 Idx",   "Arg2 Name", "Arg2 Value",
                                           "ArgOf",   "ArgIdx",     "Value",     "PriLvl",
                                           "PosInExpr", "PriIdx",   "Cond"};
  try {
    const int top = rows_.empty() ? 0 : static_cast<int>(rows_.size()) - 1;
    table.assign(top + 1, std::vector<DumpCell>(16));
    for (int c = 0; c < 15; ++c) table[0][c + 1] = std::string(kHeads[c]);
    auto argValue = [&](int r, int a) {
      const std::size_t i = static_cast<std::size_t>(r) * 6 + a;
      return i < argValues_.size() ? argValues_[i] : 0.0;
    };
    for (int k = 1; k <= top; ++k) {
      const Row& row = rows_[k];
      std::vector<DumpCell>& out = table[k];
      out[1] = row.fun;
      out[2] = row.argTop;
      for (int a = 0; a < 2; ++a) {
        out[3 + a * 3] = row.arg[a].idx;
        out[4 + a * 3] = VarName(row.arg[a].idx);
        out[5 + a * 3] = argValue(k, a);
      }
      out[9] = row.argOf;
      out[10] = row.argIdx;
      out[11] = compiled_ ? argValues_[DestSlot(k)] : 0.0;
      out[12] = row.priLvl;
      out[13] = row.posInExpr;
      out[14] = row.priIdx;
      out[15] = row.cond;
    }
  } catch (const std::bad_alloc&) {
    table.clear();
  }
}

std::string clsExprEvaluator::ET_Dump() const {
  DumpTable table;
  ET_Dump(table);
  std::string text;
  try {
    for (const auto& row : table) {
      for (std::size_t c = 1; c < row.size(); ++c) {
        if (c > 1) text += '\t';
        if (const auto* s = std::get_if<std::string>(&row[c])) {
          text += *s;
        } else if (const auto* i = std::get_if<std::int32_t>(&row[c])) {
          text += std::to_string(*i);
        } else if (const auto* d = std::get_if<double>(&row[c])) {
          text += ToText(*d);
        }
      }
      text += '\n';
    }
  } catch (const std::bad_alloc&) {
    text.clear();
  }
  return text;
}

}  // namespace vorlane
