// Small helpers shared by the evaluator tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "evaluator/clsExprEvaluator.h"

namespace vorlane::testing {

using Vars = std::initializer_list<std::pair<std::string_view, double>>;

// Compiles, assigns the variables by name and evaluates; records a test
// failure (with the error text) when either step fails.
inline double Value(std::string_view expr, Vars vars = {}, std::string_view unit = "RAD") {
  clsExprEvaluator ev;
  ev.SetAngleUnit(unit);
  if (!ev.StoreExpression(expr)) {
    ADD_FAILURE() << expr << ": compile failed: " << ev.ErrorDescription();
    return -999999.0;
  }
  for (const auto& [name, value] : vars) ev.SetVarSymb(name, value);
  double v = ev.Eval();
  if (ev.ErrorNumber() != 0) ADD_FAILURE() << expr << ": " << ev.ErrorDescription();
  return v;
}

// The compile error text, or "compiled" when the expression compiles.
inline std::string CompileError(std::string_view expr) {
  clsExprEvaluator ev;
  return ev.StoreExpression(expr) ? std::string("compiled") : ev.ErrorDescription();
}

// The evaluation error text of an expression that compiles, or "no error".
inline std::string EvalError(std::string_view expr, Vars vars = {}, std::string_view unit = "RAD") {
  clsExprEvaluator ev;
  ev.SetAngleUnit(unit);
  if (!ev.StoreExpression(expr)) return "compile failed: " + ev.ErrorDescription();
  for (const auto& [name, value] : vars) ev.SetVarSymb(name, value);
  double v = ev.Eval();
  if (ev.ErrorNumber() == 0) return "no error";
  EXPECT_EQ(v, 0.0) << expr;
  EXPECT_EQ(ev.ErrorNumber(), clsExprEvaluator::kErrEval) << expr;
  return ev.ErrorDescription();
}

// Rows of expected outcomes, checked with the same variables and angle unit.
struct ValueRow { std::string_view expr; double value; };
struct TextRow { std::string_view expr, text; };
struct FaultRow { std::string_view expr, shown; int pos; };  // a fault: the row as its message shows it, and where

inline void ExpectValues(std::initializer_list<ValueRow> rows, Vars vars = {}, std::string_view unit = "RAD") {
  for (const auto& [expr, value] : rows) EXPECT_EQ(Value(expr, vars, unit), value) << expr;
}

// The compile error text of each expression, "compiled" when it compiles.
inline void ExpectCompileErrors(std::initializer_list<TextRow> rows) {
  for (const auto& [expr, text] : rows) EXPECT_EQ(CompileError(expr), text) << expr;
}

inline void ExpectEvalFaults(std::initializer_list<FaultRow> rows, Vars vars = {}) {
  for (const auto& [expr, shown, pos] : rows) {
    EXPECT_EQ(EvalError(expr, vars), "Evaluation error < " + std::string(shown) + " > at pos: " + std::to_string(pos))
        << expr;
  }
}

}  // namespace vorlane::testing
