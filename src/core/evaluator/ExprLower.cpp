// Building the program of a compiled table: each row's instruction, where
// its operands come from, and the rows that become one instruction. The
// plan (ExprLowerPlan.cpp) decides the order and the inlined rows.
#include <algorithm>
#include <cstring>

#include "evaluator/ExprLowering.h"
#include "evaluator/ExprScheduleRows.h"

namespace vorlane::expr {

inline Slot Lowering::Leaf(int s) {
  if (progSlot_[s] < 0) {
    progSlot_[s] = static_cast<Slot>(valueCount_);
    values_[valueCount_++] = t_.values[s];
  }
  return progSlot_[s];
}

inline Slot Lowering::Temp(int s) { return Leaf(s); }

inline Slot Lowering::Operand(int row, int arg) {
  const int s = row * kArgSlots + arg;
  const int q = Deliverer(s);
  if (hasRight_ && q != 0 && plan_[q].inlined && RowOf(q).funCode == kRight) return Leaf(q * kArgSlots + 1);
  if (q != 0 && q == lastRow_) return kAcc;
  return q != 0 ? Temp(s) : Leaf(s);
}

inline void Lowering::AddRunning(int row, int dest) {
  running_[runningCount_++] = row;
  RowPlan& plan = plan_[row];
  plan.runs = true;
  // The row's operands are delivered by now: children run first.
  plan.exponent = FindWholeExponent(row);
  deliverer_[dest] = row;
  plan.size += 1;
  const int parent = RowOf(row).argOf;
  if (parent > 0) {
    plan_[parent].size += plan.size;
  } else {
    ++roots_;
    root_ = row;
  }
  // "@Right" rows come only from functions of more than two arguments.
  if (t_.hasLongFunction && RowOf(row).funCode == kRight) hasRight_ = true;
}

inline void Lowering::AddLoad(int slot, int var, double sign) {
  std::int32_t& s = varSlot_[2 * var + (sign < 0 ? 1 : 0)];
  if (s < 0) {
    s = valueCount_;
    values_[valueCount_++] = 0.0;
  }
  progSlot_[slot] = static_cast<Slot>(s);
}

bool Lowering::Build(std::string_view text, std::string& error) {
  // The slots of the rows, then the result's and the constant 1 (which the
  // schedule has yet to add). The arrays of -1 are filled
  // bytewise: -1 has every bit set in any width.
  const int slots = t_.ResultSlot() + 2;
  std::memset(progSlot_, 0xFF, slots * sizeof(Slot));
  std::memset(deliverer_, 0, slots * sizeof(deliverer_[0]));
  const int rows = t_.Top() + 1;
  std::memset(static_cast<void*>(plan_), 0, rows * sizeof(RowPlan));  // RowPlan{} for each row
  std::memset(insOf_, 0xFF, rows * sizeof(insOf_[0]));
  std::memset(varSlot_, 0xFF, 2 * (t_.VarTop() + 1) * sizeof(varSlot_[0]));
  // The running rows, children before parents, with their sizes.
  if (!ScheduleTable(
          t_, error, [this](int row, int dest) { AddRunning(row, dest); },
          [this](int slot, int var, double sign) { AddLoad(slot, var, sign); })) {
    return false;
  }
  // A root writes the result slot; that slot has no single deliverer.
  deliverer_[t_.ResultSlot()] = 0;
  // Only comparisons make conditions.
  for (int r = 1; t_.hasComparison && r <= t_.Top(); ++r) {
    if (RowOf(r).cond > 0) plan_[RowOf(r).cond].isCond = true;
  }
  PlanInlining();
  Order();
  for (int i = 0; i < orderCount_; ++i) Emit(order_[i]);
  if (skipAt_ >= 0) code_[skipAt_].n = static_cast<std::int16_t>(code_.size() - skipAt_ - 1);
  const Slot result = Leaf(t_.ResultSlot());
  code_.resize(JoinInstructions(code_.data(), code_.size(), result), Ins{});
  p_.resultInAcc = orderCount_ > 0 && lastRow_ != 0 && RowOf(lastRow_).argOf == 0 &&
                   t_.DestSlot(lastRow_) == t_.ResultSlot();
  if (p_.resultInAcc && roots_ > 1) {
    // Several roots: the schedule's last one gives the value; keep the slot.
    for (int i = 0; i < runningCount_; ++i) {
      if (RowOf(running_[i]).argOf == 0 && running_[i] != lastRow_) p_.resultInAcc = false;
    }
  }
  MarkChecks(code_.data(), code_.size(), result, p_.resultInAcc);
  // Exactly the instructions, values, variables and characters the
  // compiled expression keeps, in one block.
  std::size_t chars = text.size();
  for (int v = 1; v <= t_.VarTop(); ++v) chars += t_.varNames[v].size();
  p_.Layout(valueCount_, code_.size() + 1, t_.VarTop(), chars);
  std::copy(code_.begin(), code_.end(), p_.code.data());
  p_.code.back() = Ins{kOpEnd, 0, p_.resultInAcc ? kAcc : result, 0, 0, 0, 0, false};
  std::copy(values_, values_ + valueCount_, p_.values.data());
  p_.StoreVariables(t_, text, varSlot_);
  p_.result = result;
  p_.hasRandom = t_.hasRandom;
  return true;
}

[[gnu::always_inline]] inline void Lowering::Emit(int r) {
  const Row& row = RowOf(r);
  // Rows under a condition: one skip instruction before each run of them.
  if (row.cond != skipCond_) {
    if (skipAt_ >= 0) code_[skipAt_].n = static_cast<std::int16_t>(code_.size() - skipAt_ - 1);
    skipAt_ = -1;
    skipCond_ = row.cond;
    if (row.cond > 0) {
      const int n = static_cast<int>(code_.size());
      if (n > 0 && lastRow_ == row.cond && RowOf(row.cond).cond == 0 && insOf_[lastRow_] == n - 1 &&
          IsCompare(code_[n - 1].op)) {
        // The condition itself skips: one instruction less.
        code_[n - 1].op = CmpSkipOf(code_[n - 1].op);
        skipAt_ = n - 1;
      } else {
        skipAt_ = n;
        code_.push_back(Ins{kOpSkip, 0, Leaf(t_.DestSlot(row.cond)), 0, 0, 0, 0});
      }
    }
  }
  // Only comparisons make conditions to guard a product with.
  if (t_.hasComparison && GuardedProduct(r)) {
    lastRow_ = r;
    return;
  }
  const Slot dst = Temp(t_.DestSlot(r));
  const int code = row.funCode;
  const bool plain = row.sign != -1;
  if (plan_[r].inlineChild != 0) {
    EmitFused(r, plan_[r].inlineChild);
  } else {
    Ins ins{kOpCall, 0, 0, 0, 0, dst, static_cast<std::int16_t>(code)};
    auto binary = [&](Op op) {
      ins.a = Operand(r, 0);
      ins.b = Operand(r, 1);
      ins.op = BinaryOp(op, ins.a, ins.b);
    };
    auto unary = [&](Op op, int n = 0) {
      ins.a = Operand(r, 0);
      ins.n = static_cast<std::int16_t>(n);
      ins.op = UnaryOp(op, ins.a == kAcc);
    };
    static constexpr Op kBinary[] = {kOpAdd, kOpSub, kOpMul, kOpDiv};
    if (plain && row.argTop == 2 && code >= kAdd && code <= kDiv) {
      binary(kBinary[code]);
    } else if (plain && row.argTop == 2 && IsComparison(code)) {
      binary(CompareOp(code - kGt));
    } else if (plain && row.argTop == 2 && (code == kMin || code == kMax || code == kRound)) {
      binary(code == kMin ? kOpMin : code == kMax ? kOpMax : kOpRound);
    } else if (plain && row.argTop == 2 && code == kPow) {
      if (const int n = WholeExponent(r); n != 0) {
        unary(kOpPowN, n);
      } else {
        binary(kOpPow);
      }
    } else if (plain && row.argTop == 1 && (code == kSqr || code == kExp || code == kLn || code == kLog ||
                                            code == kSin || code == kCos || code == kTan || code == kAbs ||
                                            code == kNeg || code == kInt || code == kFix)) {
      const Op op = code == kSqr ? kOpSqrt : code == kExp ? kOpExp : (code == kLn || code == kLog) ? kOpLog
                  : code == kSin ? kOpSin : code == kCos ? kOpCos : code == kTan ? kOpTan
                  : code == kAbs ? kOpAbs : code == kNeg ? kOpNeg : code == kInt ? kOpInt : kOpFix;
      unary(op);
    } else if (plain && row.argTop == 3 && code == kClip && Operand(r, 1) != kAcc && Operand(r, 2) != kAcc) {
      unary(kOpClip);
      ins.b = Operand(r, 1);
      ins.c = Operand(r, 2);
    } else {
      // Any other row: Compute with its arguments gathered.
      Slot slots[kArgSlots] = {0, 0, 0, 0, 0, 0};
      for (int a = 0; a < row.argTop; ++a) slots[a] = Operand(r, a);
      ins.a = slots[0];
      ins.b = slots[1];
      ins.n = row.sign == -1 ? kCallNegate : 0;
      if (row.argTop > 2) {
        ins.n = static_cast<std::int16_t>(ins.n | kCallHasMore);
        code_.push_back(ins);
        code_.push_back(Ins{kOpCallMore, static_cast<std::int16_t>(row.argTop - 2), slots[2], slots[3], slots[4],
                              slots[5], 0});
        insOf_[r] = static_cast<std::int32_t>(code_.size()) - 2;
        lastRow_ = r;
        return;
      }
    }
    code_.push_back(ins);
    insOf_[r] = static_cast<std::int32_t>(code_.size()) - 1;
    FuseWithPrevious(r);
  }
  lastRow_ = r;
}

// r computes c P t with t the row q inlined into it.
[[gnu::always_inline]] inline void Lowering::EmitFused(int r, int q) {
  const Row& row = RowOf(r);
  const bool left = RowOf(q).argIdx == 1;
  const Slot c = Operand(r, left ? 1 : 0);
  Ins ins{0, 0, 0, 0, c, Temp(t_.DestSlot(r)), static_cast<std::int16_t>(row.funCode)};
  if (!plan_[q].leafOp) {
    // k * x^n: the power's row and the leaf k.
    const int side = Deliverer(q * kArgSlots) != 0 ? 0 : 1;
    const int w = Deliverer(q * kArgSlots + side);
    ins.a = Leaf(w * kArgSlots);
    ins.b = Leaf(q * kArgSlots + 1 - side);
    ins.n = static_cast<std::int16_t>(WholeExponent(w));
    ins.op = UnaryOp(row.funCode == kAdd ? kOpAddMulPowN : kOpSubMulPowN, c == kAcc);
    code_.push_back(ins);
    insOf_[r] = static_cast<std::int32_t>(code_.size()) - 1;
    return;
  }
  const Row& inner = RowOf(q);
  ins.a = Leaf(q * kArgSlots);
  ins.b = WholeExponent(q) == 2 ? ins.a : Leaf(q * kArgSlots + 1);
  const int innerKind = inner.funCode != kPow ? inner.funCode - kAdd : WholeExponent(q) == 2 ? kQMul : kQPow;
  int outer = kCPlusT;
  switch (row.funCode) {
    case kAdd: outer = kCPlusT; break;
    case kSub: outer = left ? kTMinusC : kCMinusT; break;
    case kMul: outer = kCTimesT; break;
    default: outer = kTOverC; break;
  }
  ins.op = FusedOp(outer, innerKind, c == kAcc ? 3 : 0);
  // f(u) P (y * z): the function of one slot just before joins in.
  const int f = lastRow_;
  const int n = static_cast<int>(code_.size());
  if (c == kAcc && innerKind == kQMul && f != 0 && n > 0 && insOf_[f] == n - 1 && RowOf(f).argOf == r &&
      RowOf(f).cond == row.cond && !plan_[f].isCond && RowOf(f).sign != -1 && IsFusableUnary(code_[n - 1].op) &&
      !FusableUnaryInAcc(code_[n - 1].op)) {
    Ins& first = code_[n - 1];
    first.op = UMulOp(outer, FusableUnaryKind(first.op));
    first.c = first.a;
    first.a = ins.a;
    first.b = ins.b;
    first.dst = ins.dst;
    insOf_[r] = n - 1;
    return;
  }
  code_.push_back(ins);
  insOf_[r] = static_cast<std::int32_t>(code_.size()) - 1;
}

// (condition) * f(y) where f(y) is the one row under the condition: the
// comparison no longer skips, and f runs inside the product when it holds.
inline bool Lowering::GuardedProduct(int r) {
  const Row& row = RowOf(r);
  const int n = static_cast<int>(code_.size());
  const int q = lastRow_;
  if (row.funCode != kMul || !Plain(row) || row.cond != 0 || n < 2 || q == 0) return false;
  Ins& compare = code_[n - 2];
  Ins& unary = code_[n - 1];
  const int condRow = RowOf(q).cond;
  if (!IsCmpSkip(compare.op) || compare.n != 1 || !IsFusableUnary(unary.op) || condRow == 0 || RowOf(q).argOf != r || insOf_[condRow] != n - 2 ||
      insOf_[q] != n - 1 || Deliverer(r * kArgSlots + (RowOf(q).argIdx == 1 ? 1 : 0)) != condRow) {
    return false;
  }
  if (CmpSkipPlacement(compare.op) == 0 && !FusableUnaryInAcc(unary.op)) {
    // Every operand in a slot: comparison, product and function in one.
    compare.op = CmpTimesOp(CmpSkipKind(compare.op), FusableUnaryKind(unary.op));
    compare.n = 0;
    compare.code = unary.a;
    compare.c = Temp(t_.DestSlot(condRow));
    compare.dst = Temp(t_.DestSlot(r));
    code_.pop_back();
    insOf_[q] = insOf_[r] = n - 2;
    return true;
  }
  compare.op = CompareOfCmpSkip(compare.op);
  compare.n = 0;
  unary.op = CondTimesOp(FusableUnaryKind(unary.op), FusableUnaryInAcc(unary.op));
  unary.c = Temp(t_.DestSlot(condRow));
  unary.dst = Temp(t_.DestSlot(r));
  insOf_[r] = n - 1;
  return true;
}

namespace {

// The fused shape of an outer + - * / around the value in the register, or -1
// when there is none (a constant divided by it).
int OuterKind(int funCode, bool left) {
  switch (funCode) {
    case kAdd: return kCPlusT;
    case kSub: return left ? kTMinusC : kCMinusT;
    case kMul: return kCTimesT;
    case kDiv: return left ? kTOverC : -1;
    default: return -1;
  }
}

}  // namespace

// The instruction just emitted for r takes the one before it (row q, whose
// value it reads from the register) into itself: c P (y Q z), or k * x^n.
inline void Lowering::FuseWithPrevious(int r) {
  const int q = lastRow_;
  if (q == 0 || code_.size() < 2 || insOf_[q] != static_cast<int>(code_.size()) - 2) return;
  const Row& row = RowOf(r);
  const Row& inner = RowOf(q);
  if (inner.argOf != r || inner.cond != row.cond || plan_[q].isCond || !Plain(row) || inner.sign == -1) return;
  Ins& first = code_[code_.size() - 2];
  Ins& second = code_.back();
  const bool left = inner.argIdx == 1;
  const Slot c = left ? second.b : second.a;
  if (c == kAcc) return;
  if (IsFusableUnary(first.op)) {
    // c P f(y): a function of one argument under + - * /.
    const int outer = OuterKind(row.funCode, left);
    if (outer < 0) return;
    first.op = UFusedOp(outer, FusableUnaryKind(first.op), FusableUnaryInAcc(first.op));
    first.c = c;
  } else if (IsUnary(first.op, kOpPowN)) {
    if (row.funCode != kMul) return;
    first.op = UnaryOp(kOpMulPowN, Placement(first.op, kOpPowN) == 1);
    first.b = c;
  } else if (first.op < kOpPow + kBinaryWidth) {
    // c P (y Q z), Q in + - * / ^ (the first binary kinds, in FuseInner order).
    const int outer = OuterKind(row.funCode, left);
    if (outer < 0) return;
    const int innerKind = (first.op - kOpAdd) / kBinaryWidth;
    const int accAt = first.a == kAcc ? 1 : first.b == kAcc ? 2 : 0;
    first.op = FusedOp(outer, innerKind, accAt);
    first.c = c;
  } else {
    return;
  }
  first.dst = second.dst;
  code_.pop_back();
  insOf_[r] = static_cast<std::int32_t>(code_.size()) - 1;
}

bool BuildProgram(Table& t, std::string_view text, Program& p, std::string& error) {
  Lowering lowering(t, p);
  if (!lowering.Build(text, error)) return false;
  p.run = ChooseRunner(p);
  return true;
}

}  // namespace vorlane::expr
