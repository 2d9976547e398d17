// The compiler's reading of the text: one left-to-right pass over the
// characters builds the rows of the expression table, one small reader for
// each kind of character; the road to an evaluation order starts where this
// pass ends (ExprScheduleRows.h).
#include <algorithm>
#include <cstdint>
#include <string>

#include "evaluator/ExprFunctions.h"
#include "evaluator/ExprMessages.h"
#include "evaluator/ExprOperands.h"
#include "evaluator/ExprScheduleRows.h"
#include "evaluator/ExprTable.h"
#include "evaluator/clsExprEvaluator.h"

namespace vorlane::expr {

namespace {

constexpr int kMaxRows = clsExprEvaluator::kMaxRows;
constexpr int kMaxVariables = clsExprEvaluator::kMaxVariables;
constexpr int kMaxOpenFunctions = clsExprEvaluator::kMaxOpenFunctions;
// Bracket depth beyond any real formula; keeps the priority levels in range.
constexpr int kMaxDepth = 10000;

class Compiler {
 public:
  Compiler(Table& t, std::string& error, Use use) : t_(t), error_(error), use_(use) {}
  bool Compile(std::string_view text);

 private:
  // Every member is set when an entry is pushed; the stack itself is left
  // uninitialised, so a compile does not clear all its entries.
  struct PendingFunction {
    const FunInfo* info;
    char text[8];  // the name as written: as long as its table name
    std::size_t length;
    std::string_view Name() const { return {text, length}; }
    int argCount;
    int argsLeft;
    int sign;
    int openDepth;
    int openPos;
    bool rowMade;
  };

  bool Fail(Msg msg, std::string_view part = {}) {
    error_ = Message(msg, part);
    return false;
  }
  bool FailAt(Msg msg, int pos) {
    error_ = Message(msg, pos);
    return false;
  }
  // Priority of an operator at the current bracket depth.
  int Pri(int op) const { return kPriBracket * depth_ + op; }
  int Top() const { return static_cast<int>(t_.rows.size()) - 1; }
  Row& Newest() { return t_.rows.back(); }
  // Inline: the scanner makes a row for nearly every operator.
  // A row for the operator at character `pos`.
  [[gnu::always_inline]] bool NewRow(std::string_view fun, int code, int argTop, int priLvl, int pos) {
    if (Top() >= kMaxRows) return FailAt(Msg::kTooComplex, pos);
    // Every member written once, straight into place.
    Row& row = t_.rows.push_uninitialized();
    row.fun.assign(fun);
    row.funCode = code;
    for (Arg& arg : row.arg) arg = Arg{};
    row.argTop = argTop;
    row.argOf = 0;
    row.argIdx = 0;
    row.sign = 1;
    row.posInExpr = pos;
    row.priLvl = priLvl;
    row.order = 2 * priLvl;
    row.priIdx = 0;
    row.cond = 0;
    if (code == kRnd) t_.hasRandom = true;
    t_.values.append(kArgSlots, 0.0);
    t_.given.append(kArgSlots, Given::kNone);
    return true;
  }
  [[gnu::always_inline]] bool StoreOperand(std::string_view text, int argument) {
    if (text.size() == 1) {
      // One digit, or a letter naming a variable met before: the commonest
      // operands.
      const char c = text[0];
      if (IsDigit(c)) return StoreConstant(Top(), argument, 1, c - '0');
      const int known = letterVar_[static_cast<unsigned char>(c) & 0x7F];
      if (known != 0 && IsNameLetter(c)) return SetVariable(Top(), argument, 1, known);
    }
    return StoreOperandText(text, argument);
  }
  bool StoreOperandText(std::string_view text, int argument);
  bool StoreVariable(std::string_view text, int row, int argument, int sign) {
    const int idx = VariableIndex(text);
    return idx != 0 && SetVariable(row, argument, sign, idx);
  }
  bool SetVariable(int row, int argument, int sign, int idx) {
    Arg& arg = t_.rows[row].arg[argument - 1];
    arg.idx = idx;
    arg.sign = sign;
    t_.values[row * 6 + argument - 1] = 0.0;
    t_.given[row * 6 + argument - 1] = Given::kVariable;
    return true;
  }
  // The index of the variable named `text`, a new one at its first
  // appearance; 0 with the message set when there are too many.
  int VariableIndex(std::string_view text);
  bool StoreConstant(int row, int argument, int sign, double value) {
    Arg& arg = t_.rows[row].arg[argument - 1];
    arg.idx = 0;
    arg.sign = sign;
    t_.values[row * 6 + argument - 1] = sign * value;
    t_.given[row * 6 + argument - 1] = Given::kConstant;
    return true;
  }
  [[gnu::always_inline]] bool StorePending(int argument) {
    if (!StoreOperand(pending_, argument)) return false;
    pending_.clear();
    return true;
  }
  void Append(std::string_view ch) {
    if (ch.size() == 1) {
      pending_.push_back(ch[0]);
    } else {
      pending_ += ch;
    }
  }
  // The state of one scan, handed to the reader of each kind of character;
  // the readers are inline, so that it stays in registers (the rows they
  // write could alias members).
  struct ScanState {
    int pos = 0;  // characters read
    bool rowMade = false;  // the character made a row
    // Nothing may extend the operand: after a closing bracket or bar, "!" or "%".
    bool checkAfterClose = false;
    char lastNonBlank = 0;
    // Characters of the comparison operator being read, the last of them
    // the current one.
    int cmpSize = 0;
  };
  bool Scan(std::string_view text);
  [[gnu::always_inline]] bool ReadSpecial(ScanState& s, std::string_view ch, char c);
  [[gnu::always_inline]] bool OpenBracket(ScanState& s);
  [[gnu::always_inline]] bool OpenFunction(int pos);
  [[gnu::always_inline]] bool CloseBracket(ScanState& s);
  [[gnu::always_inline]] bool PlusMinus(ScanState& s, std::string_view ch, char c);
  [[gnu::always_inline]] bool Binary(ScanState& s, std::string_view ch, int code, int pri);
  [[gnu::always_inline]] bool Postfix(ScanState& s, std::string_view ch, int code);
  [[gnu::always_inline]] bool Comma(ScanState& s);
  [[gnu::always_inline]] bool Bar(ScanState& s);
  [[gnu::always_inline]] bool Comparison(ScanState& s, std::string_view ch);
  [[gnu::always_inline]] bool Axis(ScanState& s, std::string_view ch);
  bool Finish();

  Table& t_;
  std::string& error_;
  Use use_;
  int depth_ = 0;
  std::string pending_;
  PendingFunction funStack_[kMaxOpenFunctions + 1];
  int funTop_ = 0;
  // The index of each variable named by one letter, 0 if none yet.
  static_assert(kMaxVariables < 256);
  unsigned char letterVar_[128] = {};
};

// Interprets operand text as a constant, a number (with or without unit), an
// angle or a variable, and stores it in `argument` (1-based) of the newest row.
bool Compiler::StoreOperandText(std::string_view text, int argument) {
  if (text.empty()) return Fail(Msg::kMissingArgument);
  int sign = 1;
  if (text[0] == '+' || text[0] == '-') {
    sign = text[0] == '-' ? -1 : 1;
    text.remove_prefix(1);
  }
  if (text.empty()) return Fail(Msg::kMissingArgument);

  const int row = Top();
  // A plain name is a variable: no constant, number, unit or angle starts
  // with a letter and has only letters, digits and underscores.
  const bool isPi = text.size() == 2 && EqualsNoCase(text, "pi");
  if (!isPi && IsNameLetter(text[0]) && IsVariableName(text)) return StoreVariable(text, row, argument, sign);

  double value = 0.0;
  if (ReadPlainNumber(text, value)) {
  } else if (isPi || text.back() == '#') {
    const std::string_view constant = isPi ? text : text.substr(0, text.size() - 1);
    if (!LookupConstant(constant, value)) return Fail(Msg::kConstantUnknown, constant);
  } else if (ReadUnitNumber(text, value)) {
  } else if (IsNumber(text, false)) {
    if (ReadNumber(text, value) != NumberRead::kOk) {
      return Fail(Msg::kNumberOutOfRange, text);
    }
  } else {
    switch (ReadDms(text, value)) {
      case Dms::kOk:
        break;
      case Dms::kBad:
        return Fail(Msg::kWrongDms);
      case Dms::kNotAngle:
        if (!IsVariableName(text)) return Fail(Msg::kSyntaxOperand, text);
        return StoreVariable(text, row, argument, sign);
    }
  }
  return StoreConstant(row, argument, sign, value);
}

int Compiler::VariableIndex(std::string_view text) {
  const int varTop = static_cast<int>(t_.varNames.size()) - 1;
  // Names of one letter, the commonest, are found by that letter; the
  // others by comparing the names.
  const bool oneLetter = text.size() == 1;
  unsigned char* const byLetter = &letterVar_[static_cast<unsigned char>(text[0]) & 0x7F];
  if (oneLetter && *byLetter != 0) return *byLetter;
  for (int i = oneLetter ? varTop + 1 : 1; i <= varTop; ++i) {
    const std::string& known = t_.varNames[i];
    if (known.size() == text.size() && known[0] == text[0] && std::string_view(known) == text) return i;
  }
  if (varTop >= kMaxVariables) {
    Fail(Msg::kTooManyVariables);
    return 0;
  }
  t_.varNames.emplace_back(text);
  if (oneLetter) *byLetter = static_cast<unsigned char>(varTop + 1);
  return varTop + 1;
}

bool Compiler::Compile(std::string_view text) {
  t_.rows.clear();
  t_.rows.emplace_back();
  t_.values.assign(6, 0.0);
  t_.given.assign(6, Given::kNone);
  t_.varNames.assign(1, std::string());
  t_.steps.clear();
  t_.loads.clear();
  t_.hasRandom = false;
  t_.hasComparison = false;
  t_.hasLongFunction = false;
  error_.clear();

  // Text that is no well-formed UTF-8 is refused at the first bad byte.
  std::size_t bars = 0;
  if (const int bad = FirstBadCharacter(text, bars); bad != 0) return FailAt(Msg::kSyntaxAt, bad);
  if (bars % 2 != 0) return Fail(Msg::kAbsMismatch);
  return Scan(text) && Finish();
}

// Characters of an operand, the commonest kind, join the pending operand
// text without a dispatch; StoreOperandText reads it (number, constant,
// angle or variable) at the operator that ends it.
bool Compiler::Scan(std::string_view text) {
  ScanState s;
  for (std::size_t i = 0; i < text.size();) {
    const char first = text[i];
    const std::size_t len = static_cast<unsigned char>(first) < 0x80 ? 1 : Utf8SequenceLengthSlow(text.substr(i));
    const std::string_view ch(text.data() + i, len);
    i += len;
    ++s.pos;
    // Non-ASCII characters only ever join the pending operand.
    const char c = len == 1 ? first : '\x7F';
    s.rowMade = false;
    if (!IsSpecial(c)) {
      Append(ch);
    } else if (!ReadSpecial(s, ch, c)) {
      return false;
    }
    if (s.checkAfterClose && (IsNameLetter(c) || IsDigit(c) || c == '.')) return FailAt(Msg::kSyntaxAt, s.pos);
    if (s.rowMade) {
      s.checkAfterClose = false;
    } else {
      s.cmpSize = 0;
    }
    if (c != ' ') s.lastNonBlank = c;
  }
  return true;
}

inline bool Compiler::ReadSpecial(ScanState& s, std::string_view ch, char c) {
  switch (c) {
    case ' ':
      return true;
    case '(':
    case '[':
    case '{':
      return OpenBracket(s);
    case ')':
    case ']':
    case '}':
      return CloseBracket(s);
    case '+':
    case '-':
      return PlusMinus(s, ch, c);
    case '*':
      return Binary(s, ch, kMul, kPriProduct);
    case '/':
      return Binary(s, ch, kDiv, kPriProduct);
    case '\\':
      return Binary(s, ch, kIntDiv, kPriProduct);
    case '^':
      return Binary(s, ch, kPow, kPriPower);
    case '!':
      return Postfix(s, ch, kFact);
    case '%':
      return Postfix(s, ch, kPercent);
    case ',':
      return Comma(s);
    case '|':
      return Bar(s);
    case '=':
    case '<':
    case '>':
      return Comparison(s, ch);
    case 'x':
    case 'y':
    case 'z':
    case 'X':
    case 'Y':
    case 'Z':
      return Axis(s, ch);
    default:
      Append(ch);
      return true;
  }
}

// An opening bracket: after an operand text, the bracket of the function it
// names.
inline bool Compiler::OpenBracket(ScanState& s) {
  if (++depth_ > kMaxDepth) return FailAt(Msg::kNestedTooDeeply, s.pos);
  if (pending_.empty()) return true;
  // After "5!" or "x%" the operand is taken; it cannot name a function.
  if (s.lastNonBlank == '!' || s.lastNonBlank == '%') return FailAt(Msg::kSyntaxAt, s.pos);
  return OpenFunction(s.pos);
}

// The pending text, with its sign, names the function whose bracket opens at
// `pos`: a row for a function of one argument, an entry waiting for its
// commas for one of more.
inline bool Compiler::OpenFunction(int pos) {
  std::string name = pending_;
  int sign = 1;
  if (name[0] == '+' || name[0] == '-') {
    sign = name[0] == '-' ? -1 : 1;
    name.erase(0, 1);
  }
  if (name.empty()) {
    if (sign == 1) {  // "+(": a plain sign in front of a bracket
      pending_.clear();
      return true;
    }
    name = "Neg";
    sign = 1;
  }
  const FunInfo* f = FindFunction(name);
  if (f != nullptr && f->args == 1) {
    if (!NewRow(name, f->code, 1, Pri(kPriFunction), pos)) return false;
    Newest().sign = sign;
  } else if (f != nullptr && f->args >= 2) {
    if (funTop_ >= kMaxOpenFunctions) return FailAt(Msg::kTooManyNested, pos);
    PendingFunction& entry = funStack_[++funTop_];
    entry.info = f;
    entry.length = std::min(name.size(), sizeof entry.text);
    std::copy_n(name.data(), entry.length, entry.text);
    entry.argCount = f->args;
    entry.argsLeft = f->args - 1;
    entry.sign = sign;
    entry.openDepth = depth_;
    entry.openPos = pos;
    entry.rowMade = false;
  } else if (IsNumber(name, true)) {
    return FailAt(Msg::kSyntaxAt, pos);
  } else {
    error_ = Message(Msg::kFunctionUnknown, name, std::to_string(pos - CharCount(name)));
    return false;
  }
  pending_.clear();
  return true;
}

inline bool Compiler::CloseBracket(ScanState& s) {
  if (depth_ - 1 < 0) return FailAt(Msg::kTooManyClosing, s.pos);
  // A function's own bracket closing before all its arguments came.
  if (funTop_ > 0 && funStack_[funTop_].openDepth == depth_) return Fail(Msg::kMissingArgument);
  --depth_;
  s.checkAfterClose = true;
  return true;
}

// A sum or difference after an operand; else the sign of an exponent or of
// the operand to come.
inline bool Compiler::PlusMinus(ScanState& s, std::string_view ch, char c) {
  if (!pending_.empty()) {
    const char last = pending_.back();
    // At least one character before the E: the E is one byte.
    if (pending_.size() >= 2 && (last == 'E' || last == 'e') &&
        IsNumber(std::string_view(pending_).substr(0, pending_.size() - 1), true)) {
      Append(ch);  // the sign of an exponent
      return true;
    }
    return Binary(s, ch, c == '+' ? kAdd : kSub, kPriSum);
  }
  if (s.lastNonBlank == ')' || s.lastNonBlank == ']' || s.lastNonBlank == '}') return Fail(Msg::kMissingArgument);
  Append(ch);
  return true;
}

// An operator of two operands: its row takes the pending operand.
inline bool Compiler::Binary(ScanState& s, std::string_view ch, int code, int pri) {
  if (!NewRow(ch, code, 2, Pri(pri), s.pos) || !StorePending(1)) return false;
  s.rowMade = true;
  return true;
}

inline bool Compiler::Postfix(ScanState& s, std::string_view ch, int code) {
  // The operand stays pending for the operator that follows.
  std::string keep = pending_;
  if (!NewRow(ch, code, 1, Pri(kPriPostfix), s.pos) || !StorePending(1)) return false;
  pending_ = std::move(keep);
  // Nothing may extend the operand after either postfix: "5%3" and "x%y"
  // would otherwise read as 0.53 and xy/100.
  s.checkAfterClose = true;
  return true;
}

// A comma ends an argument of the innermost open function: one row of the
// function per comma.
inline bool Compiler::Comma(ScanState& s) {
  if (funTop_ == 0 || funStack_[funTop_].openDepth != depth_) return FailAt(Msg::kTooManyArguments, s.pos);
  PendingFunction& entry = funStack_[funTop_];
  if (!NewRow(entry.Name(), entry.info->code, entry.argCount, Pri(kPriFunction), s.pos)) return false;
  if (entry.argCount > 2) t_.hasLongFunction = true;
  Newest().sign = entry.sign;
  if (entry.sign == -1) entry.sign = 1;  // only the first row negates
  if (!entry.rowMade) Newest().posInExpr = entry.openPos;
  entry.rowMade = true;
  if (!StorePending(1)) return false;
  if (--entry.argsLeft == 0) --funTop_;
  s.rowMade = true;
  return true;
}

// A bar opens an absolute value where an operand is to come, else closes one.
inline bool Compiler::Bar(ScanState& s) {
  if (pending_.empty() || pending_ == "-" || pending_ == "+") {
    if (++depth_ > kMaxDepth) return FailAt(Msg::kNestedTooDeeply, s.pos);
    if (!NewRow("abs", kAbs, 1, Pri(kPriFunction), s.pos)) return false;
    Newest().sign = pending_ == "-" ? -1 : 1;
    pending_.clear();
    return true;
  }
  s.checkAfterClose = true;
  if (depth_ - 1 < 0) return FailAt(Msg::kSyntaxAt, s.pos);
  if (funTop_ > 0 && funStack_[funTop_].openDepth == depth_) return Fail(Msg::kMissingArgument);
  --depth_;
  return true;
}

// The first character of a comparison makes its row, the next one, if any,
// ends it (a third starts another row).
inline bool Compiler::Comparison(ScanState& s, std::string_view ch) {
  if (s.cmpSize == 0) {
    if (Top() > 0 && IsComparison(Newest().funCode) && Newest().priLvl == Pri(kPriComparison)) {
      // a < b < c: the comparisons are multiplied, b goes to both. Only a
      // comparison at this bracket depth chains: (a<b)<c compares the
      // bracket's 0 or 1 with c.
      if (!NewRow("*", kMul, 2, Pri(kPriProduct) - kPriBracket, s.pos) || !StoreOperand(pending_, 1)) {
        return false;
      }
      // The product binds looser than the comparisons but tighter than a
      // function whose bracket holds the chain: sin(1<2<3).
      Newest().order = 2 * Pri(kPriFunction) + 1;
    }
    if (!NewRow(ch, -1, 2, Pri(kPriComparison), s.pos) || !StorePending(1)) return false;
    s.rowMade = true;
  }
  ++s.cmpSize;
  const std::string_view op(ch.data() + 1 - s.cmpSize, static_cast<std::size_t>(s.cmpSize));
  Row& row = Newest();
  row.fun = op;
  row.funCode = ComparisonCode(op);
  t_.hasComparison = true;
  row.argTop = 2;
  row.priLvl = Pri(kPriComparison);
  row.order = 2 * row.priLvl;
  row.posInExpr = s.pos;
  if (row.funCode == -1) return FailAt(Msg::kSyntaxAt, s.pos);
  return true;
}

// x, y, z after a number: 2x is 2*x.
inline bool Compiler::Axis(ScanState& s, std::string_view ch) {
  if (!pending_.empty() && IsNumber(pending_, true) && !Binary(s, "*", kMul, kPriProduct)) return false;
  Append(ch);
  return true;
}

// The end of the text: the last operand, and the range of keys that the road
// to an evaluation order starts from.
bool Compiler::Finish() {
  if (depth_ > 0) return Fail(Msg::kNotEnoughClosing);
  if (Top() == 0) {
    if (!NewRow("+", kAdd, 2, Pri(kPriComparison), 1)) return false;
    t_.given[6] = Given::kConstant;  // 0 + operand
  }
  const int top = Top();
  auto& rows = t_.rows;
  auto& values = t_.values;
  // The operand written after an operator was stored as argument 1 of the
  // next row; it is also the last argument of the row before. The same
  // pass finds the range of the scheduling keys.
  int lo = rows[top].order, hi = lo;
  for (int k = 1; k < top; ++k) {
    const int a = std::min(rows[k].argTop, 2) - 1;
    rows[k].arg[a] = rows[k + 1].arg[0];
    values[k * 6 + a] = values[(k + 1) * 6];
    t_.given[k * 6 + a] = t_.given[(k + 1) * 6];
    lo = std::min(lo, rows[k].order);
    hi = std::max(hi, rows[k].order);
  }
  if (pending_.empty()) return Fail(Msg::kMissingArgument);
  if (!StorePending(std::min(rows[top].argTop, 2))) return false;
  if (funTop_ > 0) return Fail(Msg::kMissingArgument);

  t_.orderLo = lo;
  t_.orderHi = hi;
  // A program takes the rows straight from the schedule (BuildProgram).
  return use_ == Use::kForProgram || ScheduleSteps(t_, error_);
}

}  // namespace

bool CompileTable(std::string_view text, Table& table, std::string& error, Use use) {
  Compiler compiler(table, error, use);
  return compiler.Compile(text);
}

}  // namespace vorlane::expr
