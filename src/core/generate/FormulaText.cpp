#include "generate/FormulaText.h"

#include <cmath>
#include <cstdint>

namespace vorlane {

namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length in bytes of the UTF-8 sequence that starts with `lead`; a byte that
// cannot start a sequence counts as one character of its own.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

}  // namespace

bool IsLetter(std::string_view text) { return !text.empty() && IsAsciiLetter(text.front()); }

std::string ReadVariableName(std::string_view text, std::size_t amp) {
  std::size_t i = amp + 1;
  if (i < text.size()) {
    std::size_t n = SequenceLength(static_cast<unsigned char>(text[i]));
    std::size_t end = i + 1;
    // Take the continuation bytes that really follow, no more.
    while (end < text.size() && end < i + n && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    i = end;
    while (i < text.size() && (IsDigit(text[i]) || IsAsciiLetter(text[i]))) ++i;
  }
  return std::string(text.substr(amp, i - amp));
}

void LowerAscii(std::string& text) {
  for (char& c : text) c = FoldAscii(c);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::size_t FindNoCase(std::string_view text, std::string_view what) {
  if (what.empty()) return 0;
  if (what.size() > text.size()) return std::string_view::npos;
  const char first = FoldAscii(what.front());
  for (std::size_t i = 0; i + what.size() <= text.size(); ++i) {
    if (FoldAscii(text[i]) == first && EqualsNoCase(text.substr(i, what.size()), what)) return i;
  }
  return std::string_view::npos;
}

bool ReplaceFirstNoCase(std::string& text, std::string_view what, std::string_view with) {
  std::size_t at = FindNoCase(text, what);
  if (at == std::string_view::npos) return false;
  text.replace(at, what.size(), with);
  return true;
}

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

namespace {

// A plain number at `i`: digits with at most one period, 1 to 15 digits, not
// followed by a letter, a digit after blanks, or anything else that would
// make it part of a longer operand. Its value is the correctly rounded one:
// the digits and the power of ten are exact doubles.
bool PlainNumber(std::string_view text, std::size_t& i, double& value) {
  static constexpr double kTens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  std::uint64_t digits = 0;
  int count = 0, fraction = -1;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      if (++count > 15) return false;
      digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
      if (fraction >= 0) ++fraction;
    } else if (c == '.' && fraction < 0) {
      fraction = 0;
    } else {
      break;
    }
  }
  if (count == 0) return false;
  while (i < text.size() && text[i] == ' ') ++i;
  // Blanks inside an operand are dropped ("1 2" reads 12): only an operator
  // or the closing brace may follow.
  if (i >= text.size()) return false;
  const char next = text[i];
  if (next != '+' && next != '-' && next != '*' && next != '/' && next != '}') return false;
  value = fraction > 0 ? static_cast<double>(digits) / kTens[fraction] : static_cast<double>(digits);
  return true;
}

}  // namespace

bool PlainArithmetic(std::string_view group, double& value) {
  if (group.size() < 3 || group.front() != '{' || group.back() != '}') return false;
  std::size_t i = 1;
  double sum = 0.0, term = 0.0, number = 0.0;
  char additive = 0;  // the + or - before the current term; 0 for the first
  char product = 0;   // the * or / before the next number; 0 at a term's start
  // Far below the evaluator's limit of rows, so that it would never refuse
  // a group taken here as too complex.
  for (int operators = 0; operators <= 64; ++operators) {
    while (i < group.size() && group[i] == ' ') ++i;
    if (!PlainNumber(group, i, number)) return false;
    if (product == 0) {
      term = number;
    } else if (product == '*') {
      term = term * number;
    } else {
      if (number == 0.0) return false;
      term = term / number;
    }
    const char op = group[i++];
    if (op == '*' || op == '/') {
      product = op;
    } else {
      sum = additive == 0 ? term : (additive == '+' ? sum + term : sum - term);
      if (!std::isfinite(sum) || !std::isfinite(term)) return false;
      if (op == '}') {
        if (i != group.size()) return false;
        value = sum;
        return true;
      }
      additive = op;
      product = 0;
    }
  }
  return false;
}

}  // namespace vorlane
