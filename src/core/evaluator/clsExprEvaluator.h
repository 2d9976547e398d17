// The arithmetic expression evaluator. StoreExpression compiles one
// expression into a table of operations ordered by priority; Eval (Eval1,
// EvalMulti) runs that table as often as wanted with the current variable
// values, without parsing again and without allocating.
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

namespace vorlane {

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
  clsExprEvaluator(clsExprEvaluator&&) noexcept = default;
  clsExprEvaluator& operator=(clsExprEvaluator&&) noexcept = default;
  ~clsExprEvaluator();

  // Trims blanks, stores and compiles the expression. False on failure, with
  // the reason in ErrorDescription. Variables lose their values.
  bool StoreExpression(std::string_view expr);
  const std::string& Expression() const { return expr_; }

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
  void SetOpAssignExplicit(bool value) { opAssignExplicit_ = value; }

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
  class Compiler;  // the one-pass compiler, defined with the implementation

  struct Arg {
    std::int32_t idx = 0;   // variable feeding this argument, 0 if none
    std::int32_t sign = 0;  // +1 or -1 written in front of that variable
  };
  struct Row {
    std::string fun;  // name as written, or "Neg", "abs", "@Right"
    std::int32_t funCode = 0;
    Arg arg[6];
    std::int32_t argTop = 0;
    std::int32_t argOf = 0;
    std::int32_t argIdx = 0;
    std::int32_t sign = 0;
    std::int32_t posInExpr = 0;
    std::int32_t priLvl = 0;
    std::int32_t order = 0;  // scheduling key: 2 x priLvl, odd for a chain's product
    std::int32_t priIdx = 0;
    std::int32_t cond = 0;
  };
  // One row of the evaluation schedule.
  struct Step {
    std::int32_t op;    // what the loop dispatches on: the code, or "guarded"
    std::int32_t code;  // function code of the row
    std::int32_t args;  // its arguments: the slots row * 6 .. row * 6 + 5
    std::int32_t dest;  // slot receiving the result
    std::int32_t cond;  // slot of the condition's value (a slot holding 1 if none)
    std::int32_t row;
    bool negate;
  };
  // An argument fed by a variable.
  struct Load {
    std::int32_t slot;
    std::int32_t var;
    double sign;
  };

  bool Run(double& result);
  double Compute(int code, const double* args);
  double NextRandom();
  void LoadVariables();
  void LoadVariable(int index);
  void AssignVar(int index, double value, bool markAssigned);
  int FindVar(std::string_view name) const;
  void SetEvalError(int row);
  int DestSlot(int row) const;
  bool FirstUnassigned();

  std::string expr_;
  std::string errMsg_;
  std::string angleUnitName_ = "RAD";
  double angleFactor_ = 1.0;
  bool opAssignExplicit_ = false;
  bool compiled_ = false;
  int errNumber_ = 0;

  std::vector<Row> rows_;              // 0..ETTop, row 0 unused
  // 6 argument slots per row; then the root's result and a constant 1.
  // A row's value lives in the slot it delivers to.
  std::vector<double> argValues_;
  std::vector<std::string> varNames_;  // 0..VarTop, slot 0 unused
  std::vector<double> varValues_;
  std::vector<unsigned char> varAssigned_;
  int assignedCount_ = 0;
  std::vector<Step> steps_;  // evaluation schedule, constant rows left out
  std::vector<Load> loads_;         // grouped by variable
  std::vector<std::int32_t> varLoads_;  // loads of variable v: varLoads_[v] .. varLoads_[v+1]-1
  bool slotsFresh_ = false;         // variable slots hold the current values
  std::uint32_t rndState_ = 0x50000;
};

}  // namespace vorlane
