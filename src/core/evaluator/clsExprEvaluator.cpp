#include "evaluator/clsExprEvaluator.h"

namespace vorlane {

clsExprEvaluator::clsExprEvaluator() = default;
clsExprEvaluator::~clsExprEvaluator() = default;

bool clsExprEvaluator::StoreExpression(std::string_view expr) {
  expr_ = std::string(expr);
  compiled_ = false;
  errMsg_ = "not implemented yet";
  return false;
}
int clsExprEvaluator::VarTop() const { return 0; }
std::string clsExprEvaluator::VarName(int) const { return {}; }
double clsExprEvaluator::VarValue(int) const { return 0; }
void clsExprEvaluator::SetVarValue(int, double) {}
double clsExprEvaluator::VarSymb(std::string_view) const { return 0; }
void clsExprEvaluator::SetVarSymb(std::string_view, double) {}
double clsExprEvaluator::Variable(const VarSelector&) const { return 0; }
void clsExprEvaluator::SetVariable(const VarSelector&, double) {}
void clsExprEvaluator::SetAngleUnit(std::string_view) {}
double clsExprEvaluator::Eval() { errNumber_ = kErrEval; return 0; }
double clsExprEvaluator::Eval1(double) { errNumber_ = kErrEval1; return 0; }
std::vector<double> clsExprEvaluator::EvalMulti(std::span<const double>, const VarSelector&) { return {}; }
void clsExprEvaluator::ET_Dump(DumpTable& table) const { table.clear(); }
std::string clsExprEvaluator::ET_Dump() const { return {}; }

}  // namespace vorlane
