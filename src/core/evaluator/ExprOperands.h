// The operand reader: numbers, numbers with units, angles in degrees,
// minutes and seconds, named constants and variable names, as the compiler
// meets them in an expression. Internal to the evaluator.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vorlane::expr {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsNameLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

// The characters the compiler treats apart; all others belong to operands.
inline bool IsSpecial(char c) {
  static constexpr auto kSpecial = [] {
    std::array<bool, 256> special{};
    for (unsigned char s : std::string_view(" ([{)]}+-*/\\^!%,|=<>xyzXYZ")) special[s] = true;
    return special;
  }();
  return kSpecial[static_cast<unsigned char>(c)];
}

// Length in bytes of a well-formed UTF-8 sequence at the start of `s`, or 0.
std::size_t Utf8SequenceLengthSlow(std::string_view s);
inline std::size_t Utf8SequenceLength(std::string_view s) {
  return static_cast<unsigned char>(s[0]) < 0x80 ? 1 : Utf8SequenceLengthSlow(s);
}
// Number of characters of well-formed UTF-8 text.
int CharCount(std::string_view s);
// 0 when `text` is well-formed UTF-8, else the position (in characters,
// from 1) of its first bad sequence. `bars` receives the count of '|', or
// one of the same parity.
int FirstBadCharacter(std::string_view text, std::size_t& bars);

// A decimal number: digits with at most one period (at least one digit),
// then optionally E or e, an optional sign and digits; with `allowSign`
// one leading sign too.
bool IsNumber(std::string_view t, bool allowSign);

// Digits with at most one period, at most 15 digits: the value, exactly as
// ReadNumber gives it. False for any other text, which the full readers take.
inline bool ReadPlainNumber(std::string_view t, double& value) {
  if (t.size() > 16) return false;
  std::uint64_t digits = 0;
  int count = 0, fraction = -1;
  for (char c : t) {
    if (IsDigit(c)) {
      digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
      ++count;
      if (fraction >= 0) ++fraction;
    } else if (c == '.' && fraction < 0) {
      fraction = 0;
    } else {
      return false;
    }
  }
  if (count == 0 || count > 15) return false;
  // The digits and the power of ten are exact doubles, so their quotient is
  // the correctly rounded value, as from_chars gives it.
  static constexpr double kTens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  value = fraction > 0 ? static_cast<double>(digits) / kTens[fraction] : static_cast<double>(digits);
  return true;
}

enum class NumberRead { kOk, kOutOfRange };
// Reads text that IsNumber(text, false) accepted. Values too small for a
// double become 0; too large ones are refused.
NumberRead ReadNumber(std::string_view t, double& value);

inline bool IsVariableName(std::string_view t) {
  if (t.empty() || !IsNameLetter(t[0])) return false;
  for (char c : t) {
    if (!IsNameLetter(c) && !IsDigit(c)) return false;
  }
  return true;
}
// 10^k, exact from a table where the double holds it.
double PowerOfTen(double k);
// Named constants, written as name + "#" (names compared with regard to case).
bool LookupConstant(std::string_view name, double& value);
// A number followed by a unit, optionally with a scale prefix: "4.7kOhm".
bool ReadUnitNumber(std::string_view t, double& value);

enum class Dms { kNotAngle, kBad, kOk };
// An angle in degrees, minutes and seconds: 30°15'20" or 30d15m20s.
Dms ReadDms(std::string_view t, double& value);

}  // namespace vorlane::expr
