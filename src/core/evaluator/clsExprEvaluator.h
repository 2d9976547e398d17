// The arithmetic expression evaluator. StoreExpression compiles one
// expression into a table of operations ordered by priority and that table
// into a program; Eval (Eval1, EvalMulti) runs the program as often as
// wanted with the current variable values, without parsing again and
// without allocating. The stages live in Expr*.cpp beside this file.
//
// Nothing here throws: a failed compile returns false, a failed evaluation
// returns 0 (EvalMulti an empty result); both leave the reason in
// ErrorDescription. Evaluation failures also leave an error number
// (1001 for Eval and EvalMulti, 1002 for Eval1) in ErrorNumber.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "evaluator/ExprProgram.h"

namespace vorlane {

namespace expr {
struct Runners;
}

// Names a variable either by its name or by its 1-based index.
class VarSelector {
 public:
  VarSelector(int index) : index_(index) {}  // NOLINT: implicit by design
  VarSelector(std::string_view name) : name_(name), byName_(true) {}  // NOLINT
  VarSelector(const char* name) : name_(name ? name : ""), byName_(true) {}  // NOLINT
  VarSelector(const std::string& name) : name_(name), byName_(true) {}  // NOLINT

  bool ByName() const { return byName_; }
  std::string_view Name() const { return name_; }
  int Index() const { return index_; }

 private:
  std::string_view name_;
  int index_ = 0;
  bool byName_ = false;
};

// One cell of the diagnostic table filled by ET_Dump.
using DumpCell = std::variant<std::monostate, std::string, std::int32_t, double>;
using DumpTable = std::vector<std::vector<DumpCell>>;

class clsExprEvaluator {
 public:
  // Error numbers left by a failed evaluation.
  static constexpr int kErrEval = 1001;   // Eval, EvalMulti
  static constexpr int kErrEval1 = 1002;  // Eval1

  static constexpr int kMaxVariables = 100;
  static constexpr int kMaxRows = 199;
  static constexpr int kMaxOpenFunctions = 20;

  clsExprEvaluator();
  clsExprEvaluator(const clsExprEvaluator&) = default;
  clsExprEvaluator& operator=(const clsExprEvaluator&) = default;
  // A move takes the program along; the evaluator moved from has none left
  // and its Eval fails.
  clsExprEvaluator(clsExprEvaluator&& other) noexcept;
  clsExprEvaluator& operator=(clsExprEvaluator&& other) noexcept;
  ~clsExprEvaluator();

  // Trims blanks, stores and compiles the expression. False on failure, with
  // the reason in ErrorDescription. Variables lose their values.
  bool StoreExpression(std::string_view expr);
  std::string_view Expression() const { return program_.Text(); }

  // Variables in order of first appearance, 1..VarTop.
  int VarTop() const;
  std::string VarName(int index) const;     // empty when out of range
  double VarValue(int index) const;         // 0 when out of range
  void SetVarValue(int index, double value);  // marks it assigned
  double VarSymb(std::string_view name) const;  // 0 for an unknown name
  void SetVarSymb(std::string_view name, double value);  // marks it assigned
  double Variable(const VarSelector& selector) const;
  // Marks the variable assigned only while OpAssignExplicit is on.
  void SetVariable(const VarSelector& selector, double value);

  // "RAD", "DEG" or "GRAD"; other texts leave the unit unchanged.
  const std::string& AngleUnit() const { return angleUnitName_; }
  void SetAngleUnit(std::string_view unit);

  // When on, Eval refuses to run while a variable is still unassigned.
  bool OpAssignExplicit() const { return opAssignExplicit_; }
  void SetOpAssignExplicit(bool value) {
    opAssignExplicit_ = value;
    ready_ = false;  // the next Eval checks the assignments again
  }

  // The last error text; empty after a successful compile or evaluation.
  const std::string& ErrorDescription() const { return errMsg_; }
  // 1001 or 1002 after a failed evaluation, else 0.
  int ErrorNumber() const { return errNumber_; }

  // Evaluates with the current variable values; 0 on failure.
  double Eval();
  // Evaluates an expression of at most one variable with that variable = x.
  double Eval1(double x);
  // Evaluates once per value, the selected variable taking each value in
  // turn; empty on failure.
  std::vector<double> EvalMulti(std::span<const double> values, const VarSelector& selector = 1);

  // Diagnostic copy of the expression table: rows 0..row count, columns
  // 0..15 (column 0 and row 0 hold the heads).
  void ET_Dump(DumpTable& table) const;
  // The same table as text, one line per row, cells separated by tabs.
  std::string ET_Dump() const;

 private:
  using Var = expr::Variable;
  enum class LastRun : unsigned char { kNone, kVariables, kOneValue };

  void AssignVar(int index, double value, bool markAssigned);
  Var& VarAt(int index) { return program_.vars[index - 1]; }  // 1..VarTop
  const Var& VarAt(int index) const { return program_.vars[index - 1]; }
  void LoadSlot(const Var& v) {
    double* const values = program_.values.data();
    if (v.slot >= 0) values[v.slot] = v.value;
    if (v.negSlot >= 0) values[v.negSlot] = -1.0 * v.value;
  }
  void LoadSlots();
  int FindVar(std::string_view name) const;
  bool FirstUnassigned();
  void UpdateReady();
  double EvalChecked();
  friend struct expr::Runners;  // the program's runners (ExprRunners.h)
  // Runs the program (ExprProgram.cpp); false on a fault, whose row is
  // not known there.
  bool Run(double& result);
  void NameFault();

  std::string errMsg_;
  std::string angleUnitName_ = "RAD";
  double angleFactor_ = 1.0;
  bool opAssignExplicit_ = false;
  bool compiled_ = false;
  // Eval may run the program at once: compiled, variables in their slots,
  // no error pending.
  bool ready_ = false;
  bool slotsFresh_ = false;  // variable slots hold the current values
  int errNumber_ = 0;
  int assignedCount_ = 0;
  // The program with the variables and the text.
  expr::Program program_;
  std::uint32_t rndState_ = 0x50000;
  std::uint32_t rndBefore_ = 0x50000;  // the state before the last evaluation
  LastRun lastRun_ = LastRun::kNone;
  double lastValue_ = 0.0;  // the value of the last Eval1
};

}  // namespace vorlane
