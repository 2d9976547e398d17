// The diagnostic copy of the expression table. A compiled expression keeps
// only its program; the table is built again here, from the same text, and
// run again with the values of the last evaluation.
#include <new>
#include <string>

#include "evaluator/ExprTable.h"
#include "evaluator/clsExprEvaluator.h"
#include "util/Numbers.h"

namespace vorlane {

void clsExprEvaluator::ET_Dump(DumpTable& table) const {
  static constexpr const char* kHeads[] = {"Fun",       "ArgTop", "A1 Idx",    "Arg1 Name", "Arg1 Value",
                                           "A2 Idx",    "Arg2 Name", "Arg2 Value", "ArgOf", "ArgIdx",
                                           "Value",     "PriLvl", "PosInExpr", "PriIdx",    "Cond"};
  try {
    expr::Table t;
    std::string error;
    const bool built = expr::CompileTable(program_.Text(), t, error);
    if (built && compiled_ && lastRun_ != LastRun::kNone) {
      if (lastRun_ == LastRun::kOneValue) {
        expr::LoadTableAll(t, lastValue_);
      } else {
        std::vector<double> values(VarTop() + 1, 0.0);
        for (int i = 1; i <= VarTop(); ++i) values[i] = VarAt(i).value;
        expr::LoadTable(t, values.data());
      }
      std::uint32_t rnd = rndBefore_;
      double result = 0.0;
      expr::RunTable(t, angleFactor_, rnd, result, error);
    }
    const int top = t.Top() < 0 ? 0 : t.Top();
    table.assign(top + 1, std::vector<DumpCell>(16));
    for (int c = 0; c < 15; ++c) table[0][c + 1] = std::string(kHeads[c]);
    auto argValue = [&](int r, int a) {
      const std::size_t i = static_cast<std::size_t>(r) * expr::kArgSlots + a;
      return i < t.values.size() ? t.values[i] : 0.0;
    };
    auto varName = [&](int idx) { return idx >= 1 && idx <= t.VarTop() ? t.varNames[idx] : std::string(); };
    for (int k = 1; k <= top; ++k) {
      const expr::Row& row = t.rows[k];
      std::vector<DumpCell>& out = table[k];
      out[1] = std::string(row.fun.view());
      out[2] = row.argTop;
      for (int a = 0; a < 2; ++a) {
        out[3 + a * 3] = row.arg[a].idx;
        out[4 + a * 3] = varName(row.arg[a].idx);
        out[5 + a * 3] = argValue(k, a);
      }
      out[9] = row.argOf;
      out[10] = row.argIdx;
      out[11] = built && compiled_ ? t.values[t.DestSlot(k)] : 0.0;
      out[12] = row.priLvl;
      out[13] = row.posInExpr;
      out[14] = row.priIdx;
      out[15] = row.cond;
    }
  } catch (const std::bad_alloc&) {
    table.clear();
  }
}

std::string clsExprEvaluator::ET_Dump() const {
  DumpTable table;
  ET_Dump(table);
  std::string text;
  try {
    for (const auto& row : table) {
      for (std::size_t c = 1; c < row.size(); ++c) {
        if (c > 1) text += '\t';
        if (const auto* s = std::get_if<std::string>(&row[c])) {
          text += *s;
        } else if (const auto* i = std::get_if<std::int32_t>(&row[c])) {
          text += std::to_string(*i);
        } else if (const auto* d = std::get_if<double>(&row[c])) {
          text += FormatNumber(*d, 15);
        }
      }
      text += '\n';
    }
  } catch (const std::bad_alloc&) {
    text.clear();
  }
  return text;
}

}  // namespace vorlane
