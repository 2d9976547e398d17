// The road from the expression table to an evaluation order, the one place
// that runs the scheduling stages (ScheduleTable). The compiler
// (ExprParser.cpp) reads the text into rows, each with its operator, the
// operands written beside it and a key (Row::order) from its priority and
// bracket depth, and notes the range of the keys. The table then takes this
// road once: for its own steps and loads (CompileTable with Use::kTable,
// which RunTable and ET_Dump run), or for a program (BuildProgram, whose
// lowering takes each row as the road hands it on). The stages, in
// ExprSchedule.cpp unless named here:
//  1. Schedule: the rows by key, highest first, equal keys in table order
//     (Row::priIdx, and its inverse Table::place).
//  2. Link: each row delivers its result to the nearer-binding neighbour
//     still unlinked (Row::argOf, Row::argIdx). Without comparisons and
//     functions of more than two arguments these links are final
//     (FinalLinks) and the road goes on at 6; otherwise:
//  3. BuildConditions: the rows under the other factor of a product with a
//     comparison run only when the comparison holds (Row::cond); the rows
//     are scheduled again.
//  4. ChainExtraArguments: f(a1, ..., an), read as n - 1 rows of f, becomes
//     one row of f and "@Right" rows delivering a3 .. an; the delivered
//     arguments are cleared once the links are final.
//  5. CheckOrder: every row after the rows feeding it and after its
//     condition, the schedule repaired where chains of comparisons broke
//     that. The variables feeding the rows then go to `load`, in row order.
//  6. ScheduleRows: the rows in schedule order; a row whose arguments are
//     all constant is computed here, once, and every other row handed to
//     `run`, after its variables to `load` when the links were final.
// Internal to the evaluator.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "evaluator/ExprCompute.h"
#include "evaluator/ExprFunctions.h"
#include "evaluator/ExprMessages.h"
#include "evaluator/ExprTable.h"

namespace vorlane::expr {

// The stages of the road, in order.
void Schedule(Table& t);
// The same with the lowest and highest key of the rows already known.
void Schedule(Table& t, int lo, int hi);
bool Link(Table& t, std::string& error);
void BuildConditions(Table& t);
bool ChainExtraArguments(Table& t, std::string& error);
bool CheckOrder(Table& t, std::string& error);

// Calls `load(slot, var, sign)` for each variable feeding row `r`. Inline:
// the lowering calls it for nearly every row.
template <typename LoadVar>
[[gnu::always_inline]] inline void ForEachVariable(const Row& row, int r, LoadVar load) {
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
[[gnu::always_inline]] inline bool ScheduleRows(Table& t, bool loads, std::string& error, Run run, LoadVar load) {
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

// Stages 3 to 6 of the road, for links that are not final: out of line, so
// that the common road stays short.
template <typename Run, typename LoadVar>
[[gnu::noinline]] bool ScheduleFurther(Table& t, std::string& error, Run run, LoadVar load) {
  BuildConditions(t);
  if (t.hasLongFunction && !ChainExtraArguments(t, error)) return false;
  if (!CheckOrder(t, error)) return false;
  for (int r = 1; r <= t.Top(); ++r) ForEachVariable(t.rows[r], r, load);
  return ScheduleRows(t, false, error, run, load);
}

// The road: schedules the compiled table `t` and hands on its running rows
// and their variables (see the top of this file). False with the reason in
// `error` when a stage fails.
template <typename Run, typename LoadVar>
bool ScheduleTable(Table& t, std::string& error, Run run, LoadVar load) {
  Schedule(t, t.orderLo, t.orderHi);
  if (!Link(t, error)) return false;
  if (!FinalLinks(t)) return ScheduleFurther(t, error, run, load);
  return ScheduleRows(t, true, error, run, load);
}

// The road for the table itself: its steps and loads (RunTable).
bool ScheduleSteps(Table& t, std::string& error);

}  // namespace vorlane::expr
