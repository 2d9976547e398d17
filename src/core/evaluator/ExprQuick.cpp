#include "evaluator/ExprQuick.h"

#include <cmath>
#include <cstdint>

#include "evaluator/ExprCompute.h"
#include "evaluator/ExprFunctions.h"
#include "evaluator/ExprOperands.h"

namespace vorlane::expr {

namespace {

bool IsLetterAscii(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Up to 15 digits with at most one period, from t[i] on: the digits and the
// power of ten are exact doubles, so the quotient is the correctly rounded
// value the compiler reads. False when no digit stands there or there are
// more than 15.
bool PlainNumber(std::string_view t, std::size_t& i, double& value) {
  std::uint64_t digits = 0;
  int count = 0, fraction = -1;
  for (; i < t.size(); ++i) {
    const char c = t[i];
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
  value = fraction > 0 ? static_cast<double>(digits) / PowerOfTen(fraction) : static_cast<double>(digits);
  return true;
}

// Recursive descent over the grammar
//   sum := product (('+' | '-') product)*     product := factor (('*' | '/') factor)*
//   factor := number | '(' sum ')' | name '(' sum [',' sum] ')'
// with blanks between the parts. Operators of one level apply from left to
// right, products before sums, arguments before their function: the order
// in which the compiler schedules and folds the rows.
class Quick {
 public:
  explicit Quick(std::string_view text) : t_(text) {}

  bool Group(double& value) {
    if (t_.size() < 3 || t_.front() != '{' || t_.back() != '}') return false;
    i_ = 1;
    if (!Sum(value)) return false;
    Blanks();
    return i_ + 1 == t_.size() && std::isfinite(value);
  }

 private:
  static constexpr int kMaxParts = 64;  // far below the compiler's row limit

  void Blanks() {
    while (i_ < t_.size() && t_[i_] == ' ') ++i_;
  }
  char Next() {
    Blanks();
    return i_ < t_.size() ? t_[i_] : '\0';
  }
  // What may follow an operand: an operator, a comma or a closing bracket.
  bool Ends() {
    const char c = Next();
    return c == '+' || c == '-' || c == '*' || c == '/' || c == ',' || c == ')' || c == '}';
  }
  bool Count() { return ++parts_ <= kMaxParts; }

  bool Sum(double& value) {
    if (!Product(value)) return false;
    for (;;) {
      const char op = Next();
      if (op != '+' && op != '-') return true;
      ++i_;
      double term = 0.0;
      if (!Count() || !Product(term)) return false;
      value = op == '+' ? value + term : value - term;
      if (!std::isfinite(value)) return false;  // a fault of that row
    }
  }

  bool Product(double& value) {
    if (!Factor(value)) return false;
    for (;;) {
      const char op = Next();
      if (op != '*' && op != '/') return true;
      ++i_;
      double factor = 0.0;
      if (!Count() || !Factor(factor)) return false;
      if (op == '/' && factor == 0.0) return false;
      value = op == '*' ? value * factor : value / factor;
      if (!std::isfinite(value)) return false;
    }
  }

  bool Factor(double& value) {
    const char c = Next();
    if (IsDigit(c) || c == '.') return Number(value) && Ends();
    if (c == '(') {
      ++i_;
      if (!Count() || !Sum(value) || Next() != ')') return false;
      ++i_;
      return Ends();
    }
    if (IsLetterAscii(c)) return Call(value) && Ends();
    return false;
  }

  // Blanks join the digits around them into one number, so a digit or
  // period after blanks declines.
  bool Number(double& value) { return PlainNumber(t_, i_, value); }

  bool Call(double& value) {
    const std::size_t start = i_;
    while (i_ < t_.size() && (IsLetterAscii(t_[i_]) || IsDigit(t_[i_]))) ++i_;
    const FunInfo* f = FindFunction(t_.substr(start, i_ - start));
    if (f == nullptr || f->depends != Depends::kPure || (f->args != 1 && f->args != 2)) return false;
    if (Next() != '(') return false;
    ++i_;
    double args[6] = {0, 0, 0, 0, 0, 0};
    if (!Count() || !Sum(args[0])) return false;
    if (f->args == 2) {
      if (Next() != ',') return false;
      ++i_;
      if (!Sum(args[1])) return false;
    }
    if (Next() != ')') return false;
    ++i_;
    std::uint32_t noRandom = 0;
    value = Compute(f->code, args, 1.0, noRandom);
    return std::isfinite(value);
  }

  std::string_view t_;
  std::size_t i_ = 0;
  int parts_ = 0;
};

// The common case in one loop: numbers joined by + - * / without brackets
// or names, in the same order of operations as Quick. False whenever the
// text is anything else; Quick then decides.
bool Flat(std::string_view t, double& value) {
  if (t.size() < 3 || t.front() != '{' || t.back() != '}') return false;
  std::size_t i = 1;
  double sum = 0.0, term = 0.0;
  char additive = 0;  // the + or - before the current product; 0 for the first
  char product = 0;   // the * or / before the next number; 0 at a product's start
  for (int operators = 0; operators <= 64; ++operators) {
    while (i < t.size() && t[i] == ' ') ++i;
    double number = 0.0;
    if (!PlainNumber(t, i, number)) return false;
    while (i < t.size() && t[i] == ' ') ++i;
    if (i >= t.size()) return false;
    if (product == 0) {
      term = number;
    } else if (product == '*') {
      term = term * number;
    } else {
      if (number == 0.0) return false;
      term = term / number;
    }
    if (!std::isfinite(term)) return false;
    const char op = t[i++];
    if (op == '*' || op == '/') {
      product = op;
      continue;
    }
    if (op != '+' && op != '-' && op != '}') return false;
    sum = additive == 0 ? term : (additive == '+' ? sum + term : sum - term);
    if (!std::isfinite(sum)) return false;
    if (op == '}') {
      if (i != t.size()) return false;
      value = sum;
      return true;
    }
    additive = op;
    product = 0;
  }
  return false;
}

}  // namespace

bool QuickConstant(std::string_view text, double& value) {
  double result = 0.0;
  if (!Flat(text, result) && !Quick(text).Group(result)) return false;
  value = result;
  return true;
}

}  // namespace vorlane::expr
