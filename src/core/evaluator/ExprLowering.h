// The lowering of a compiled table into a program: ExprLowerPlan.cpp plans
// which rows join the instruction of the row they feed and the order of the
// rows, ExprLower.cpp emits the instructions. Internal to the evaluator.
#pragma once

#include <cstdint>
#include <string_view>

#include "evaluator/ExprFunctions.h"
#include "evaluator/ExprProgram.h"
#include "evaluator/ExprTable.h"
#include "evaluator/clsExprEvaluator.h"

namespace vorlane::expr {

inline constexpr int kLowerRowLimit = clsExprEvaluator::kMaxRows + 2;
inline constexpr int kLowerSlotLimit = kLowerRowLimit * kArgSlots + 2;

// What one row of the table becomes.
// No member initialisers: Build clears the rows of the table (RowPlan{}),
// and constructing the lowering stays free of the rows it never uses.
struct RowPlan {
  int inlineChild;  // the row computed inside this row's instruction
  int size;         // running rows in its subtree
  int exponent;     // a power's constant whole exponent 2..60, else 0
  bool runs;        // in the schedule (not computed at compile time)
  bool inlined;     // computed inside the instruction of the row it feeds
  bool leafOp;      // inlined as a leaf operation (else as k * x^n)
  bool isCond;      // a condition of other rows
  unsigned char state;  // of the ordering walk: 0 not met, 1 on the way, 2 ordered
};

class Lowering {
 public:
  Lowering(Table& t, Program& p) : t_(t), p_(p) {}
  // Schedules the compiled table on the way (ScheduleTable); false with the
  // reason in `error` when that fails.
  bool Build(std::string_view text, std::string& error);

 private:
  const Row& RowOf(int r) const { return t_.rows[r]; }
  // The running row delivering to table slot s, or 0.
  int Deliverer(int s) const { return deliverer_[s]; }
  Slot Leaf(int s);
  Slot Temp(int s);
  Slot Operand(int row, int arg);
  bool IsLeafOperand(int row, int arg) const { return Deliverer(row * kArgSlots + arg) == 0; }
  bool ConstantOperand(int row, int arg, double& value) const;
  int FindWholeExponent(int row) const;
  // A row of the schedule that runs, delivering to table slot `dest`.
  void AddRunning(int row, int dest);
  // A variable (sign -1 or +1) feeding table slot `slot`.
  void AddLoad(int slot, int var, double sign);
  // Of a running row: found once, when Build meets the row.
  int WholeExponent(int row) const { return plan_[row].exponent; }
  bool IsLeafOp(int q) const;
  bool IsPowTerm(int q) const;
  // Marks a running row as computed inside another row's instruction.
  void Inline(int q) {
    if (!plan_[q].inlined) ++inlinedCount_;
    plan_[q].inlined = true;
  }
  void PlanInlining();
  bool Visit(int r);
  void Order();
  void Emit(int r);
  void EmitFused(int r, int q);
  void FuseWithPrevious(int r);
  bool GuardedProduct(int r);

  Table& t_;  // scheduled here
  Program& p_;
  // The slots of variable v with sign +1 and -1 at 2 v and 2 v + 1 (-1: unused).
  std::int32_t varSlot_[2 * (clsExprEvaluator::kMaxVariables + 2)];
  // Filled for the slots and rows of the table only.
  Slot progSlot_[kLowerSlotLimit];   // table slot -> program slot
  std::int32_t deliverer_[kLowerSlotLimit];  // table slot -> running row delivering to it
  RowPlan plan_[kLowerRowLimit];
  std::int32_t insOf_[kLowerRowLimit];  // instruction index of each emitted row
  int order_[kLowerRowLimit];
  int running_[kLowerRowLimit];  // the running rows in schedule order
  int runningCount_ = 0;
  // The instructions while they are built: a row, a skip before it and the
  // rest of its arguments take at most three.
  FixedVector<Ins, 3 * kLowerRowLimit> code_;
  // The program's values while it is built: each table slot and each signed
  // variable at most once.
  static constexpr int kValueLimit = kLowerSlotLimit + 2 * (clsExprEvaluator::kMaxVariables + 2);
  static_assert(kValueLimit <= 32767, "a program's slots are 16-bit");
  double values_[kValueLimit];
  std::int32_t valueCount_ = 0;
  int orderCount_ = 0;
  int roots_ = 0;  // rows delivering to the result slot
  int root_ = 0;   // the last of them in the schedule
  int inlinedCount_ = 0;  // running rows marked inlined
  bool hasRight_ = false;  // "@Right" rows run
  int lastRow_ = 0;  // row of the last instruction: its value is in the register
  int skipAt_ = -1;  // index of the open skip instruction
  int skipCond_ = 0;
};

inline bool Lowering::ConstantOperand(int row, int arg, double& value) const {
  const int s = row * kArgSlots + arg;
  if (Deliverer(s) != 0 || RowOf(row).arg[arg].idx != 0) return false;
  value = t_.values[s];
  return true;
}

// n when row is a power with a constant whole exponent 2..60, else 0.
inline int Lowering::FindWholeExponent(int row) const {
  double y;
  if (RowOf(row).funCode != kPow || !ConstantOperand(row, 1, y)) return 0;
  return (y >= 2.0 && y <= 60.0 && y == static_cast<double>(static_cast<int>(y))) ? static_cast<int>(y) : 0;
}

inline bool Plain(const Row& row) { return row.sign != -1 && row.argTop == 2; }

}  // namespace vorlane::expr
