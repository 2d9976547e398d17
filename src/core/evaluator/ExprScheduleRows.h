// The last scheduling stage, shared by the table and the program: the rows
// in schedule order, with the rows whose arguments are all constant
// computed once. Internal to the evaluator.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "evaluator/ExprCompute.h"
#include "evaluator/ExprFunctions.h"
#include "evaluator/ExprMessages.h"
#include "evaluator/ExprTable.h"

namespace vorlane::expr {

// Calls `load(slot, var, sign)` for each variable feeding row `r`.
template <typename LoadVar>
void ForEachVariable(const Row& row, int r, LoadVar load) {
  auto loadArg = [&](int a) {
    if (row.arg[a].idx != 0) load(r * kArgSlots + a, row.arg[a].idx, static_cast<double>(row.arg[a].sign));
  };
  if (row.argTop == 2) {  // the commonest row: no loop
    loadArg(0);
    loadArg(1);
  } else {
    for (int a = 0; a < row.argTop; ++a) loadArg(a);
  }
}

// Calls `run(row, dest)` for each row that runs at evaluation time, in
// schedule order (rows[k].priIdx), and before it `load(slot, var, sign)`
// for each variable feeding it when `loads`. A row whose arguments are all
// constant (neither a variable nor delivered at evaluation time) is
// computed here, once, and its result slot then counts as constant. Adds the
// slots after the rows: the root's result and a constant 1 (no condition).
template <typename Run, typename LoadVar>
bool ScheduleRows(Table& t, bool loads, std::string& error, Run run, LoadVar load) {
  auto& rows = t.rows;
  const int top = t.Top();
  const int always = (top + 1) * kArgSlots + 1;
  t.values.resize(always + 1, 0.0);
  t.values[always] = 1.0;
  t.given.resize(always + 1, Given::kConstant);
  Given* const given = t.given.data();
  auto noValue = [&] {
    error = Message(Msg::kInternal, "argument without value");
    return false;
  };
  for (int k = 1; k <= top; ++k) {
    const int r = rows[k].priIdx;
    const Row& row = rows[r];
    const int dest = t.DestSlot(r);
    if (loads) ForEachVariable(row, r, load);
    // Every argument has its value: written in the expression, or
    // delivered by another row.
    const Given* const g = given + r * kArgSlots;
    bool constant = row.cond == 0;
    if (row.argTop == 2) {  // the commonest row
      if (g[0] == Given::kNone || g[1] == Given::kNone) return noValue();
      constant &= (g[0] == Given::kConstant) & (g[1] == Given::kConstant);
    } else {
      for (int a = 0; a < row.argTop; ++a) {
        if (g[a] == Given::kNone) return noValue();
        constant &= g[a] == Given::kConstant;
      }
    }
    if (constant && IsFoldable(row.funCode)) {
      std::uint32_t noRandom = 0;  // only pure functions are folded
      double value = Compute(static_cast<Code>(row.funCode), &t.values[r * kArgSlots], 1.0, noRandom);
      if (std::isfinite(value)) {
        if (row.sign == -1) value = -value;
        t.values[dest] = value;
        given[dest] = Given::kConstant;
        continue;
      }
    }
    run(r, dest);
  }
  return true;
}

}  // namespace vorlane::expr
