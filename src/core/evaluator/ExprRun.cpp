// The reference evaluation of an expression table: every row of the schedule
// in turn, each through Compute. Eval runs the faster Program and comes here
// only to name the row of a fault; the diagnostic dump comes here to fill in
// the values.
#include <cmath>
#include <string>

#include "evaluator/ExprCompute.h"
#include "evaluator/ExprFunctions.h"
#include "evaluator/ExprMessages.h"
#include "evaluator/ExprTable.h"
#include "util/Numbers.h"

namespace vorlane::expr {

namespace {

std::string ToText(double v) { return FormatNumber(v, 15); }

// "Evaluation error < ... > at pos: n" for the row that failed.
std::string EvaluationError(const Table& t, int row) {
  const Row& r = t.rows[row];
  const double* a = &t.values[row * kArgSlots];
  std::string text;
  if (r.argTop == 2 && !IsTwoArgumentFunction(r.fun)) {
    text = ToText(a[0]) + " " + std::string(r.fun.view()) + " " + ToText(a[1]);
  } else {
    text = std::string(r.fun.view()) + "(";
    for (int i = 0; i < r.argTop; ++i) {
      if (i > 0) text += ";";
      text += ToText(a[i]);
    }
    text += ")";
  }
  return Message(Msg::kEvaluation, text, std::to_string(r.posInExpr));
}

}  // namespace

void LoadTable(Table& t, const double* varValues) {
  for (const Load& l : t.loads) t.values[l.slot] = l.sign * varValues[l.var];
}

void LoadTableAll(Table& t, double x) {
  for (const Load& l : t.loads) t.values[l.slot] = l.sign * x;
}

bool RunTable(Table& t, double angleFactor, std::uint32_t& rndState, double& result, std::string& error) {
  double* const values = t.values.data();
  for (const Step& s : t.steps) {
    if (values[s.cond] == 0.0) {  // a row whose condition does not hold
      values[s.dest] = 0.0;
      continue;
    }
    const double r = Compute(static_cast<Code>(s.code), values + s.args, angleFactor, rndState);
    if (!std::isfinite(r)) {
      try {
        error = EvaluationError(t, s.row);
      } catch (...) {
        error.clear();
      }
      return false;
    }
    values[s.dest] = s.negate ? -r : r;
  }
  result = values[t.ResultSlot()];
  return true;
}

}  // namespace vorlane::expr
