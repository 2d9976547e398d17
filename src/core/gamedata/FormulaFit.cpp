#include "gamedata/FormulaFit.h"

#include <cmath>
#include <cstdlib>

#include "util/Numbers.h"

namespace vorlane {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A text split into unchanging parts and the numbers (or Roman numerals)
// between them: parts.size() == numbers.size() + 1.
struct Split {
  std::vector<std::string> parts;
  std::vector<std::string> numbers;
};

Split SplitNumbers(std::string_view text, bool roman) {
  Split split;
  std::string part;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    std::size_t j = i;
    if (!roman) {
      // A minus sign belongs to the number where it cannot be a separator.
      const bool sign = c == '-' && i + 1 < text.size() && IsDigit(text[i + 1]) &&
                        (i == 0 || text[i - 1] == ' ' || text[i - 1] == '(');
      if (IsDigit(c) || sign) {
        j = sign ? i + 1 : i;
        while (j < text.size() && IsDigit(text[j])) ++j;
        if (j + 1 < text.size() && text[j] == '.' && IsDigit(text[j + 1])) {
          ++j;
          while (j < text.size() && IsDigit(text[j])) ++j;
        }
      }
    } else if (IsLetter(c) && (i == 0 || !IsLetter(text[i - 1]))) {
      while (j < text.size() && IsLetter(text[j])) ++j;
      if (!RomanValue(text.substr(i, j - i))) j = i;
    }
    if (j == i) {
      part += c;
      ++i;
      continue;
    }
    split.parts.push_back(std::move(part));
    part.clear();
    split.numbers.emplace_back(text.substr(i, j - i));
    i = j;
  }
  split.parts.push_back(std::move(part));
  return split;
}

bool Canonical(const std::string& text, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && end == text.c_str() + text.size() && FormatNumber(value) == text;
}

// "+3*x", "-3*x", "+x"; empty for a zero factor.
std::string Term(double factor, const std::string& variable) {
  if (factor == 0) return {};
  std::string sign = factor < 0 ? "-" : "+";
  const double size = std::fabs(factor);
  return sign + (size == 1 ? variable : FormatNumber(size) + "*" + variable);
}

std::string Group(double constant, const std::string& terms) {
  std::string body = constant != 0 ? FormatNumber(constant) + terms : terms;
  if (body.starts_with('+')) body.erase(0, 1);
  if (body.empty()) body = "0";
  return "{" + body + "}";
}

}  // namespace

FormulaFitter::FormulaFitter(std::string levelVariable, std::vector<FitPoint> points)
    : level_(std::move(levelVariable)), points_(std::move(points)) {}

std::optional<std::string> FormulaFitter::Literal(std::string_view text) {
  if (text.find('{') != std::string_view::npos) return std::nullopt;
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

std::string FormulaFitter::Substituted(const std::string& formula, const FitPoint& point) const {
  std::string text = formula;
  const auto replace = [&](const std::string& name, int value) {
    for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at)) {
      text.replace(at, name.size(), std::to_string(value));
    }
  };
  // Longer indices first: "&techgridlevel12" before "&techgridlevel1".
  for (std::size_t k = point.grid.size(); k > 0; --k) replace("&techgridlevel" + std::to_string(k), point.grid[k - 1]);
  replace(level_, point.level);
  return text;
}

bool FormulaFitter::Gives(const std::string& formula, const std::vector<std::string>& values) {
  for (std::size_t i = 0; i < points_.size(); ++i) {
    const std::string text = Substituted(formula, points_[i]);
    if (!text.starts_with('{')) {
      if (text != values[i]) return false;
      continue;
    }
    if (!evaluator_.StoreExpression(text)) return false;
    const double value = evaluator_.Eval();
    if (!evaluator_.ErrorDescription().empty() || FormatNumber(value) != values[i]) return false;
  }
  return true;
}

std::optional<std::string> FormulaFitter::FitNumber(const std::vector<std::string>& values) {
  const std::size_t n = values.size();
  if (n == 0 || n != points_.size()) return std::nullopt;
  bool same = true;
  for (const std::string& v : values) same = same && v == values.front();
  if (same) return Literal(values.front());
  std::vector<double> v(n);
  for (std::size_t i = 0; i < n; ++i) {
    if (!Canonical(values[i], v[i])) return std::nullopt;
  }
  std::vector<std::string> candidates{level_};
  const std::size_t dims = points_.front().grid.size();
  for (std::size_t k = 1; k <= dims; ++k) candidates.push_back("&techgridlevel" + std::to_string(k));
  if (dims == 0) {
    // a + b * level through the first and last levels; a * r ^ (level - 1).
    const double b = (v[n - 1] - v[0]) / (points_[n - 1].level - points_[0].level);
    const double a = v[0] - std::strtod(FormatNumber(b).c_str(), nullptr) * points_[0].level;
    candidates.push_back(Group(a, Term(b, level_)));
    if (v[0] != 0 && points_[0].level == 1) {
      candidates.push_back("{" + FormatNumber(v[0]) + "*" + FormatNumber(v[1] / v[0]) + "^(" + level_ + "-1)}");
    }
  } else {
    // a + sum of b_k * position_k, read off the first cell and its neighbours.
    std::string terms;
    double a = v[0];
    for (std::size_t k = 0; k < dims; ++k) {
      for (std::size_t i = 0; i < n; ++i) {
        bool neighbour = true;
        for (std::size_t d = 0; d < dims; ++d) neighbour = neighbour && points_[i].grid[d] == (d == k ? 2 : 1);
        if (!neighbour) continue;
        const double b = std::strtod(FormatNumber(v[i] - v[0]).c_str(), nullptr);
        terms += Term(b, "&techgridlevel" + std::to_string(k + 1));
        a -= b;
      }
    }
    candidates.push_back(Group(a, terms));
  }
  for (const std::string& candidate : candidates) {
    if (Gives(candidate, values)) return candidate;
  }
  // Each level's value picked by the level text.
  std::string terms;
  for (std::size_t i = 0; i < n; ++i) {
    if (v[i] == 0) continue;
    const std::string value = v[i] < 0 ? "(" + values[i] + ")" : values[i];
    terms += "+(" + level_ + "=" + std::to_string(points_[i].level) + ")*" + value;
  }
  const std::string pick = Group(0, terms);
  if (Gives(pick, values)) return pick;
  return std::nullopt;
}

std::optional<std::string> FormulaFitter::FitText(const std::vector<std::string>& values) {
  if (values.empty() || values.size() != points_.size()) return std::nullopt;
  bool same = true;
  for (const std::string& v : values) same = same && v == values.front();
  if (same) return Literal(values.front());
  for (bool roman : {false, true}) {
    std::vector<Split> splits;
    for (const std::string& v : values) splits.push_back(SplitNumbers(v, roman));
    bool alike = true;
    for (const Split& s : splits) alike = alike && s.parts == splits.front().parts;
    if (!alike) continue;
    std::string formula;
    bool ok = true;
    const Split& first = splits.front();
    for (std::size_t k = 0; ok && k < first.numbers.size(); ++k) {
      auto literal = Literal(first.parts[k]);
      if (!literal) return std::nullopt;
      formula += *literal;
      std::vector<std::string> numbers;
      for (const Split& s : splits) numbers.push_back(s.numbers[k]);
      const char next = first.parts[k + 1].empty() ? '\0' : first.parts[k + 1].front();
      const bool glued = IsLetter(next) || IsDigit(next);
      std::optional<std::string> piece;
      bool levels = roman;
      for (std::size_t i = 0; roman && i < numbers.size(); ++i) {
        levels = levels && RomanValue(numbers[i]) == points_[i].level;
      }
      bool fixed = true;
      for (const std::string& number : numbers) fixed = fixed && number == numbers.front();
      if (fixed) {
        piece = numbers.front();
      } else if (roman) {
        // Only the level itself has a Roman form, and a letter after it would
        // lengthen the variable's name.
        if (levels && !glued) piece = level_ + "roman";
      } else {
        piece = FitNumber(numbers);
        if (piece && piece->starts_with('&') && glued) piece = "{" + *piece + "}";
      }
      if (!piece) ok = false;
      if (ok) formula += *piece;
    }
    if (!ok) continue;
    auto tail = Literal(first.parts.back());
    if (!tail) return std::nullopt;
    return formula + *tail;
  }
  return std::nullopt;
}

}  // namespace vorlane
