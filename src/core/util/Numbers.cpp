#include "util/Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace vorlane {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

double LeadingNumber(std::string_view text) {
  // Up to 15 digits that nothing could continue (no blank, period or
  // exponent follows) are an exact whole number.
  {
    std::size_t i = 0;
    std::uint64_t whole = 0;
    while (i < text.size() && i < 16 && text[i] >= '0' && text[i] <= '9') {
      whole = whole * 10 + static_cast<std::uint64_t>(text[i] - '0');
      ++i;
    }
    if (i > 0 && i <= 15) {
      const char next = i < text.size() ? text[i] : '\0';
      if (next != '.' && next != 'e' && next != 'E' && next != 'd' && next != 'D' && !IsBlank(next)) {
        return static_cast<double>(whole);
      }
    }
  }
  // Collect the characters of the number, blanks removed, then convert once.
  std::string digits;
  std::size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && IsBlank(text[i])) ++i;
  };
  auto takeDigits = [&] {
    std::size_t count = 0;
    for (;;) {
      skipBlanks();
      if (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        digits += text[i++];
        ++count;
      } else {
        return count;
      }
    }
  };

  skipBlanks();
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') digits += '-';
    ++i;
  }
  std::size_t mantissaDigits = takeDigits();
  skipBlanks();
  if (i < text.size() && text[i] == '.') {
    digits += '.';
    ++i;
    mantissaDigits += takeDigits();
  }
  if (mantissaDigits == 0) return 0.0;

  skipBlanks();
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    std::size_t save = i;
    std::string saveDigits = digits;
    ++i;
    skipBlanks();
    std::string exponent = "e";
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      exponent += text[i++];
    }
    digits += exponent;
    if (takeDigits() == 0) {  // "1E" or "1E+" without digits: the exponent part is no number
      i = save;
      digits = saveDigits;
    }
  }

  double value = 0.0;
  const char* first = digits.data();
  if (!digits.empty() && digits[0] == '-') ++first;
  auto [ptr, ec] = std::from_chars(first, digits.data() + digits.size(), value);
  (void)ptr;
  if (ec == std::errc::result_out_of_range) {
    // Too large gives infinity, too small gives zero: the decimal magnitude of
    // the mantissa plus the exponent tells which (strtod would follow the C
    // locale, which the GUI sets from the user's settings).
    std::string_view number(first, static_cast<std::size_t>(digits.data() + digits.size() - first));
    std::string_view mantissa = number.substr(0, number.find('e'));
    auto point = mantissa.find('.');
    std::string_view whole = mantissa.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? std::string_view() : mantissa.substr(point + 1);
    long magnitude = 0;
    auto firstWhole = whole.find_first_not_of('0');
    if (firstWhole != std::string_view::npos) {
      magnitude = static_cast<long>(whole.size() - firstWhole);
    } else {
      auto firstFraction = fraction.find_first_not_of('0');
      magnitude = firstFraction == std::string_view::npos ? -100000 : -static_cast<long>(firstFraction);
    }
    long exponent = 0;
    if (auto e = number.find('e'); e != std::string_view::npos) {
      std::string_view exp = number.substr(e + 1);
      bool negative = !exp.empty() && exp[0] == '-';
      if (!exp.empty() && (exp[0] == '+' || exp[0] == '-')) exp.remove_prefix(1);
      if (exp.size() > 9) exp = "999999999";  // far beyond any double either way
      std::from_chars(exp.data(), exp.data() + exp.size(), exponent);
      if (negative) exponent = -exponent;
    }
    value = magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return digits[0] == '-' ? -value : value;
}

std::optional<std::int16_t> RoundToInt16(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  double r = std::nearbyint(value);  // default rounding mode: halves to even
  if (r < -32768.0 || r > 32767.0) return std::nullopt;
  return static_cast<std::int16_t>(r);
}

std::optional<std::int32_t> RoundToInt32(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  double r = std::nearbyint(value);
  if (r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
  return static_cast<std::int32_t>(r);
}

std::string FormatNumber(double value, int significant) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  if (value == 0.0) return "0";
  char buffer[64];
  // A whole value of at most `significant` digits is written as it is.
  if (std::fabs(value) < 1e15 && significant >= 15 && value == std::trunc(value)) {
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::int64_t>(value));
    return std::string(buffer, end);
  }
  if (significant == 15 && std::isnormal(value)) {
    // The shortest text that reads back as the value: when it has at most 15
    // digits, rounding the value to 15 digits gives those digits (a normal
    // value lies within half a unit of the last place of either), so they are
    // laid out here in the general form, without the slower rounding
    // conversion. Subnormal values have fewer bits and take that conversion.
    auto [last, shortestEc] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    if (shortestEc == std::errc()) {
      const char* p = buffer;
      const bool negative = *p == '-';
      if (negative) ++p;
      char digits[24];
      int count = 0;
      for (; p != last && *p != 'e'; ++p) {
        if (*p != '.') digits[count++] = *p;
      }
      int exponent = 0;
      if (p != last) std::from_chars(p + (p[1] == '+' ? 2 : 1), last, exponent);
      if (count <= 15) {
        std::string text;
        if (negative) text += '-';
        if (exponent < -4 || exponent >= 15) {
          text += digits[0];
          if (count > 1) text.append(1, '.').append(digits + 1, static_cast<std::size_t>(count - 1));
          text += exponent < 0 ? "E-" : "E+";
          const int magnitude = exponent < 0 ? -exponent : exponent;
          if (magnitude < 10) text += '0';
          text += std::to_string(magnitude);
        } else if (exponent >= 0) {
          const int whole = exponent + 1;
          if (count <= whole) {
            text.append(digits, static_cast<std::size_t>(count)).append(static_cast<std::size_t>(whole - count), '0');
          } else {
            text.append(digits, static_cast<std::size_t>(whole)).append(1, '.');
            text.append(digits + whole, static_cast<std::size_t>(count - whole));
          }
        } else {
          text.append("0.").append(static_cast<std::size_t>(-exponent - 1), '0');
          text.append(digits, static_cast<std::size_t>(count));
        }
        return text;
      }
    }
  }
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, significant);
  if (ec != std::errc()) return "0";
  std::string text(buffer, end);
  // to_chars writes "1e+16"; the general number text spells the exponent "E".
  auto e = text.find('e');
  if (e != std::string::npos) text[e] = 'E';
  return text;
}

std::string RomanNumeral(int value) {
  if (value < 1 || value > 3999) return {};
  static constexpr struct {
    int value;
    const char* text;
  } kDigits[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
                 {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
  std::string out;
  for (const auto& digit : kDigits) {
    while (value >= digit.value) {
      out += digit.text;
      value -= digit.value;
    }
  }
  return out;
}

std::optional<int> RomanValue(std::string_view text) {
  if (text.empty() || text.size() > 15) return std::nullopt;
  int value = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto digit = [](char c) {
      switch (c) {
        case 'I': return 1;
        case 'V': return 5;
        case 'X': return 10;
        case 'L': return 50;
        case 'C': return 100;
        case 'D': return 500;
        case 'M': return 1000;
        default: return 0;
      }
    };
    const int here = digit(text[i]);
    if (here == 0) return std::nullopt;
    const int next = i + 1 < text.size() ? digit(text[i + 1]) : 0;
    value += next > here ? -here : here;
  }
  // Only the canonical form counts: "IIII" or "VX" are no numerals.
  if (RomanNumeral(value) != text) return std::nullopt;
  return value;
}

std::string RomanLevel(std::string_view levelText) {
  const double level = LeadingNumber(levelText);
  if (level >= 1 && level <= 3999 && level == static_cast<int>(level) && FormatNumber(level) == levelText) {
    return RomanNumeral(static_cast<int>(level));
  }
  return std::string(levelText);
}

}  // namespace vorlane
