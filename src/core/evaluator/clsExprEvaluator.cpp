// The evaluator's public members. Compiling goes through the expression
// table (ExprParser.cpp) into a program (ExprLower.cpp, which schedules the
// table on the way: ExprScheduleRows.h);
// Eval runs the program (ExprProgram.cpp) and, on a fault, the table again
// to name the failing row (ExprRun.cpp).
#include "evaluator/clsExprEvaluator.h"

#include <new>
#include <utility>

#include "evaluator/ExprFunctions.h"
#include "evaluator/ExprMessages.h"
#include "evaluator/ExprTable.h"

namespace vorlane {

using expr::Msg;

namespace {

std::string_view Trim(std::string_view expr) {
  const std::size_t first = expr.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  expr = expr.substr(first);
  return expr.substr(0, expr.find_last_not_of(' ') + 1);
}

}  // namespace

clsExprEvaluator::clsExprEvaluator() = default;
clsExprEvaluator::~clsExprEvaluator() = default;

clsExprEvaluator::clsExprEvaluator(clsExprEvaluator&& other) noexcept { *this = std::move(other); }

// Member by member, so that the source is no longer compiled or ready: it
// would otherwise run a program it no longer holds.
clsExprEvaluator& clsExprEvaluator::operator=(clsExprEvaluator&& other) noexcept {
  if (this == &other) return *this;
  errMsg_ = std::move(other.errMsg_);
  angleUnitName_ = other.angleUnitName_;
  angleFactor_ = other.angleFactor_;
  opAssignExplicit_ = other.opAssignExplicit_;
  compiled_ = std::exchange(other.compiled_, false);
  ready_ = std::exchange(other.ready_, false);
  slotsFresh_ = std::exchange(other.slotsFresh_, false);
  errNumber_ = other.errNumber_;
  assignedCount_ = std::exchange(other.assignedCount_, 0);
  program_ = std::move(other.program_);
  rndState_ = other.rndState_;
  rndBefore_ = other.rndBefore_;
  lastRun_ = std::exchange(other.lastRun_, LastRun::kNone);
  lastValue_ = other.lastValue_;
  return *this;
}

bool clsExprEvaluator::StoreExpression(std::string_view expr) {
  compiled_ = false;
  ready_ = false;
  slotsFresh_ = false;
  errNumber_ = 0;
  assignedCount_ = 0;
  lastRun_ = LastRun::kNone;
  std::string_view text = Trim(expr);
  // The text of this very evaluator (Expression()) lies in the block that
  // the compile is about to overwrite.
  std::string own;
  if (program_.Holds(text)) {
    own.assign(text);
    text = own;
  }
  // The table lives on the stack: the compiled expression keeps only its
  // program, its variables and its text, in one block.
  expr::Table table;
  try {
    compiled_ = expr::CompileTable(text, table, errMsg_, expr::Use::kForProgram) &&
                expr::BuildProgram(table, text, program_, errMsg_);
    if (compiled_) {
      LoadSlots();
      UpdateReady();
    }
  } catch (const std::bad_alloc&) {
    errMsg_ = expr::Message(Msg::kExpressionTooLong);
    compiled_ = false;
  }
  if (!compiled_) {
    try {
      program_.StoreUncompiled(table, text);
    } catch (const std::bad_alloc&) {
      program_.Clear();
    }
  }
  return compiled_;
}

void clsExprEvaluator::UpdateReady() {
  ready_ = compiled_ && slotsFresh_ && errNumber_ == 0 && errMsg_.empty() &&
           (!opAssignExplicit_ || assignedCount_ >= VarTop());
}

int clsExprEvaluator::VarTop() const { return static_cast<int>(program_.vars.size()); }

std::string clsExprEvaluator::VarName(int index) const {
  return index >= 1 && index <= VarTop() ? std::string(program_.Name(VarAt(index))) : std::string();
}

double clsExprEvaluator::VarValue(int index) const {
  return index >= 1 && index <= VarTop() ? VarAt(index).value : 0.0;
}

void clsExprEvaluator::AssignVar(int index, double value, bool markAssigned) {
  if (index < 1 || index > VarTop()) return;
  Var& v = VarAt(index);
  v.value = value;
  if (slotsFresh_) LoadSlot(v);
  if (markAssigned && !v.assigned) {
    v.assigned = true;
    ++assignedCount_;
  }
}

void clsExprEvaluator::LoadSlots() {
  if (!compiled_) return;
  for (const Var& v : program_.vars) LoadSlot(v);
  slotsFresh_ = true;
}

void clsExprEvaluator::SetVarValue(int index, double value) { AssignVar(index, value, true); }

// Exact name first, then the first name equal without regard to case.
int clsExprEvaluator::FindVar(std::string_view name) const {
  const int top = VarTop();
  for (int i = 1; i <= top; ++i) {
    if (program_.Name(VarAt(i)) == name) return i;
  }
  for (int i = 1; i <= top; ++i) {
    if (expr::EqualsNoCase(program_.Name(VarAt(i)), name)) return i;
  }
  return 0;
}

double clsExprEvaluator::VarSymb(std::string_view name) const { return VarValue(FindVar(name)); }

void clsExprEvaluator::SetVarSymb(std::string_view name, double value) { AssignVar(FindVar(name), value, true); }

double clsExprEvaluator::Variable(const VarSelector& selector) const {
  return VarValue(selector.ByName() ? FindVar(selector.Name()) : selector.Index());
}

void clsExprEvaluator::SetVariable(const VarSelector& selector, double value) {
  AssignVar(selector.ByName() ? FindVar(selector.Name()) : selector.Index(), value, opAssignExplicit_);
}

void clsExprEvaluator::SetAngleUnit(std::string_view unit) {
  if (expr::EqualsNoCase(unit, "DEG")) {
    angleUnitName_ = "DEG";
    angleFactor_ = expr::kPi / 180;
  } else if (expr::EqualsNoCase(unit, "GRAD")) {
    angleUnitName_ = "GRAD";
    angleFactor_ = expr::kPi / 200;
  } else if (expr::EqualsNoCase(unit, "RAD")) {
    angleUnitName_ = "RAD";
    angleFactor_ = 1.0;
  }
}

bool clsExprEvaluator::FirstUnassigned() {
  if (!opAssignExplicit_ || assignedCount_ >= VarTop()) return false;
  for (int i = 1; i <= VarTop(); ++i) {
    if (!VarAt(i).assigned) {
      try {
        errMsg_ = expr::Message(Msg::kNotAssigned, program_.Name(VarAt(i)));
      } catch (...) {
        errMsg_.clear();
      }
      return true;
    }
  }
  return false;
}

// A fault of the program: the table runs again from the same state to find
// the row that failed first in the schedule and to leave its message, and
// "rnd" ends where that run ends.
#if defined(__GNUC__)
__attribute__((noinline, cold))
#endif
void clsExprEvaluator::NameFault() {
  ready_ = false;
  rndState_ = rndBefore_;
  try {
    expr::Table table;
    std::string error;
    double result = 0.0;
    if (expr::CompileTable(program_.Text(), table, error)) {
      std::vector<double> values(VarTop() + 1, 0.0);
      for (int i = 1; i <= VarTop(); ++i) values[i] = VarAt(i).value;
      if (lastRun_ == LastRun::kOneValue) {
        expr::LoadTableAll(table, lastValue_);
      } else {
        expr::LoadTable(table, values.data());
      }
      if (expr::RunTable(table, angleFactor_, rndState_, result, error)) {
        error = expr::Message(Msg::kInternal, "evaluation");
      }
    }
    errMsg_ = std::move(error);
  } catch (...) {
    errMsg_.clear();
  }
}

double clsExprEvaluator::EvalChecked() {
  ready_ = false;
  if (!compiled_ || (opAssignExplicit_ && FirstUnassigned())) {
    errNumber_ = kErrEval;
    return 0.0;
  }
  if (!slotsFresh_) LoadSlots();
  lastRun_ = LastRun::kVariables;
  double result = 0.0;
  if (!Run(result)) {
    NameFault();
    errNumber_ = kErrEval;
    return 0.0;
  }
  if (!errMsg_.empty()) errMsg_.clear();
  errNumber_ = 0;
  UpdateReady();
  return result;
}

double clsExprEvaluator::Eval1(double x) {
  ready_ = false;
  if (!compiled_) {
    errNumber_ = kErrEval1;
    return 0.0;
  }
  if (VarTop() > 1) {
    errMsg_ = expr::Message(Msg::kTooManyVariables);
    errNumber_ = kErrEval1;
    return 0.0;
  }
  for (Var one : program_.vars) {
    one.value = x;
    LoadSlot(one);
  }
  slotsFresh_ = VarTop() == 0;
  lastRun_ = LastRun::kOneValue;
  lastValue_ = x;
  double result = 0.0;
  if (!Run(result)) {
    NameFault();
    errNumber_ = kErrEval1;
    return 0.0;
  }
  if (!errMsg_.empty()) errMsg_.clear();
  errNumber_ = 0;
  UpdateReady();
  return result;
}

std::vector<double> clsExprEvaluator::EvalMulti(std::span<const double> values, const VarSelector& selector) {
  std::vector<double> results;
  ready_ = false;
  errNumber_ = kErrEval;
  if (!compiled_) return results;
  try {
    if (VarTop() == 0) {
      errMsg_ = expr::Message(Msg::kNoVariables);
      return results;
    }
    const int index = selector.ByName() ? FindVar(selector.Name()) : selector.Index();
    if (index < 1 || index > VarTop()) {
      errMsg_ = expr::Message(Msg::kVariableNotFound);
      return results;
    }
    results.reserve(values.size());
    if (!slotsFresh_) LoadSlots();
    lastRun_ = LastRun::kVariables;
    for (double v : values) {
      VarAt(index).value = v;
      LoadSlot(VarAt(index));
      double r = 0.0;
      if (!Run(r)) {
        NameFault();
        return {};
      }
      results.push_back(r);
    }
  } catch (const std::bad_alloc&) {
    errMsg_ = expr::Message(Msg::kOutOfMemory);
    return {};
  }
  errMsg_.clear();
  errNumber_ = 0;
  UpdateReady();
  return results;
}

}  // namespace vorlane
