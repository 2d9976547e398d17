#include "evaluator/ExprOperands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <system_error>

#include "evaluator/ExprFunctions.h"

namespace vorlane::expr {

// Length in bytes of a well-formed UTF-8 sequence at `s`, or 0.
std::size_t Utf8SequenceLengthSlow(std::string_view s) {
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

// ASCII goes eight bytes at a time; of the bars only the parity counts.
int FirstBadCharacter(std::string_view text, std::size_t& bars) {
  int chars = 0;
  std::size_t i = 0;
  std::uint64_t barBits = 0;  // bit 7 of each byte: parity of the bars seen there
  for (; i + 8 <= text.size(); i += 8, chars += 8) {
    std::uint64_t w;
    std::memcpy(&w, text.data() + i, 8);
    if (w & 0x8080808080808080ULL) break;
    // A byte of x is 0 exactly where w holds '|'; t gets bit 7 set there.
    const std::uint64_t x = w ^ 0x7C7C7C7C7C7C7C7CULL;
    const std::uint64_t t = ~(((x & 0x7F7F7F7F7F7F7F7FULL) + 0x7F7F7F7F7F7F7F7FULL) | x | 0x7F7F7F7F7F7F7F7FULL);
    barBits ^= t;
  }
  bars = 0;
  for (std::uint64_t b = barBits; b != 0; b &= b - 1) ++bars;
  while (i < text.size()) {
    const auto b = static_cast<unsigned char>(text[i]);
    ++chars;
    if (b < 0x80) {
      bars += b == '|';
      ++i;
      continue;
    }
    const std::size_t len = Utf8SequenceLengthSlow(text.substr(i));
    if (len == 0) return chars;
    i += len;
  }
  return 0;
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

// Reads text that IsNumber(text, false) accepted. Values too small for a
// double become 0; too large ones are refused.
NumberRead ReadNumber(std::string_view t, double& value) {
  // Up to 15 digits without exponent: exact, see ReadPlainNumber.
  if (ReadPlainNumber(t, value)) return NumberRead::kOk;
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

// 10^k. Whole powers are the double nearest to 10^k on every platform: from a
// table where the double holds them exactly, else read as the text "1e<k>"
// (glibc's pow gives the same values; MinGW's pow can miss by an ulp).
double PowerOfTen(double k) {
  static constexpr double kPositive[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (k == std::floor(k) && std::fabs(k) < 400) {
    if (k >= 0 && k <= 22) return kPositive[static_cast<int>(k)];
    char text[8] = "1e";
    const auto [end, error] = std::to_chars(text + 2, text + sizeof text, static_cast<int>(k));
    double value = 0;
    if (error == std::errc() && std::from_chars(text, end, value).ec == std::errc()) return value;
  }
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
  // Every unit ends in a letter.
  if (t.empty() || IsDigit(t.back()) || t.back() == '.') return false;
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

}  // namespace vorlane::expr
