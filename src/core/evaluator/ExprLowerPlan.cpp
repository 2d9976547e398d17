// Planning the program of a compiled table: the rows computed inside the
// instruction of the row they feed, and the order of the instructions.
#include <utility>

#include "evaluator/ExprLowering.h"

namespace vorlane::expr {

// A product, quotient, sum or difference of two leaves (x^2 being x * x).
inline bool Lowering::IsLeafOp(int q) const {
  const Row& row = RowOf(q);
  if (!plan_[q].runs || !Plain(row) || plan_[q].isCond) return false;
  // Powers of a constant whole exponent from 3 on keep their fixed chain.
  const int n = WholeExponent(q);
  const bool simple = (row.funCode >= kAdd && row.funCode <= kDiv) || (row.funCode == kPow && (n == 0 || n == 2));
  return simple && IsLeafOperand(q, 0) && IsLeafOperand(q, 1);
}

// k * x^n with k and x leaves.
inline bool Lowering::IsPowTerm(int q) const {
  const Row& row = RowOf(q);
  if (!plan_[q].runs || !Plain(row) || plan_[q].isCond || row.funCode != kMul) return false;
  for (int side = 0; side < 2; ++side) {
    const int w = Deliverer(q * kArgSlots + side);
    if (w == 0 || !IsLeafOperand(q, 1 - side) || plan_[w].isCond) continue;
    if (WholeExponent(w) != 0 && Plain(RowOf(w)) && IsLeafOperand(w, 0) && RowOf(w).cond == row.cond) return true;
  }
  return false;
}

// A row computed inside the instruction of the row it feeds: a leaf operation
// under + - * /, or k * x^n under + -.
void Lowering::PlanInlining() {
  // An "@Right" row delivering a constant: the function reads the constant.
  for (int q = 1; hasRight_ && q <= t_.Top(); ++q) {
    const Row& row = RowOf(q);
    double value;
    if (plan_[q].runs && row.funCode == kRight && row.argOf > 0 && plan_[row.argOf].runs &&
        row.cond == RowOf(row.argOf).cond && !plan_[q].isCond && ConstantOperand(q, 1, value)) {
      Inline(q);
    }
  }
  const int top = t_.Top();
  for (int q = 1; q <= top; ++q) {
    // Only a running row with nothing inside goes inside a running row
    // that has no other inside yet and is not inside another itself: one
    // inlined operand, the other is the register or a slot.
    if (!plan_[q].runs || plan_[q].inlined || plan_[q].inlineChild != 0) continue;
    const Row& row = RowOf(q);
    const int parent = row.argOf;
    if (parent <= 0) continue;
    const RowPlan& pp = plan_[parent];
    if (!pp.runs || pp.inlineChild != 0 || pp.inlined) continue;
    const Row& pr = RowOf(parent);
    const int code = pr.funCode;
    // Only + - * / take an operation inside.
    if (code < kAdd || code > kDiv || !Plain(pr) || pr.cond != row.cond) continue;
    const bool left = row.argIdx == 1;
    bool ok = false;
    const bool leafOp = IsLeafOp(q);
    if (leafOp) {
      ok = code != kDiv || left;
    } else {
      ok = (code == kAdd || (code == kSub && !left)) && IsPowTerm(q);
    }
    if (!ok) continue;
    plan_[parent].inlineChild = q;
    Inline(q);
    plan_[q].leafOp = leafOp;
    if (!leafOp) {
      for (int side = 0; side < 2; ++side) {
        const int w = Deliverer(q * kArgSlots + side);
        if (w != 0) Inline(w);
      }
    }
  }
}

// Depth first, conditions before the rows they guard, and of the operands
// the largest last, so that the longest chain stays in the register.
inline bool Lowering::Visit(int r) {
  if (plan_[r].state == 2) return true;
  if (plan_[r].state == 1) return false;
  plan_[r].state = 1;
  const Row& row = RowOf(r);
  if (row.cond > 0 && plan_[row.cond].runs && !Visit(row.cond)) return false;
  int children[kArgSlots];
  int count = 0;
  auto gather = [&](int a) {
    const int q = Deliverer(r * kArgSlots + a);
    if (q != 0 && !plan_[q].inlined) children[count++] = q;
  };
  if (row.argTop == 2) {  // the commonest row: no loops
    gather(0);
    gather(1);
    if (count == 2 && plan_[children[1]].size < plan_[children[0]].size) std::swap(children[0], children[1]);
  } else {
    for (int a = 0; a < row.argTop; ++a) gather(a);
    // A stable insertion sort: a row has at most six operands, and
    // std::stable_sort would allocate.
    for (int i = 1; i < count; ++i) {
      const int c = children[i];
      int j = i;
      for (; j > 0 && plan_[c].size < plan_[children[j - 1]].size; --j) children[j] = children[j - 1];
      children[j] = c;
    }
  }
  for (int i = 0; i < count; ++i) {
    if (!Visit(children[i])) return false;
  }
  plan_[r].state = 2;
  order_[orderCount_++] = r;
  return true;
}

void Lowering::Order() {
  const int running = runningCount_ - inlinedCount_;
  // "rnd" draws its numbers in the order of the schedule, and a table with
  // several roots keeps its last; both keep the schedule's order.
  if (!t_.hasRandom && roots_ == 1 && Visit(root_) && orderCount_ == running) return;
  orderCount_ = 0;
  for (int i = 0; i < runningCount_; ++i) {
    if (!plan_[running_[i]].inlined) order_[orderCount_++] = running_[i];
  }
}

}  // namespace vorlane::expr
