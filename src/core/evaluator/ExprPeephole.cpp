// Joining neighbouring instructions of a built program into one, where the
// lowering left two: a product delivered in the register and the fused
// c P (y * z) taking it as c becomes (u * w) P (y * z); a difference
// delivered in the register and c P y^z taking it as z becomes
// c P y^(u - w), as in a growth per level. The joined pair computes the same
// operations in the same order, so the bits stay. The product's own check
// for a non-finite value is left out only where P carries such a value
// through (+, -, *: an infinity or NaN stays one); the difference keeps it.

#include <algorithm>

#include "evaluator/ExprProgram.h"

namespace vorlane::expr {

namespace {

// The slot appears in no field of any instruction but `except`, nor as the
// result: the value written there is read through the register only.
bool ReadOnlyThroughRegister(const Ins* code, std::size_t count, Slot result, Slot slot,
                             std::size_t except) {
  if (result == slot) return false;
  for (std::size_t j = 0; j < count; ++j) {
    const Ins& ins = code[j];
    if (j != except && (ins.a == slot || ins.b == slot || ins.c == slot || ins.dst == slot || ins.code == slot)) {
      return false;
    }
  }
  return true;
}

// The product u * w of instruction k, from slots only.
bool SlotProduct(const Ins& ins, Slot& u, Slot& w) {
  if (ins.op == kOpMul) {
    u = ins.a;
    w = ins.b;
    return true;
  }
  if (ins.op == kOpPowN && ins.n == 2) {
    u = w = ins.a;
    return true;
  }
  return false;
}

// The joined instruction of first and second, or false.
bool Joined(const Ins& first, const Ins& second, Ins& joined) {
  Slot u, w;
  if (SlotProduct(first, u, w)) {
    // c P (y * z) with c in the register, y and z in slots, P carrying non-finite values.
    for (int q = kCPlusT; q <= kCTimesT; ++q) {
      if (second.op == FusedOp(q, kQMul, 3)) {
        joined = Ins{ProdOp(q), 0, second.a, second.b, u, second.dst, w, false};
        return true;
      }
    }
  }
  if (first.op == kOpSub) {
    // c P y^z with z in the register, y and c in slots.
    for (int q = kCPlusT; q <= kTOverC; ++q) {
      if (second.op == FusedOp(q, kQPow, 2)) {
        joined = Ins{PowSubOp(q), 0, second.a, first.a, second.c, second.dst, first.b, false};
        return true;
      }
    }
  }
  return false;
}

}  // namespace

std::size_t JoinInstructions(Ins* code, std::size_t count, Slot result) {
  for (std::size_t k = 0; k + 1 < count; ++k) {
    const Ins& first = code[k];
    Ins joined;
    if (!Joined(first, code[k + 1], joined) || !ReadOnlyThroughRegister(code, count, result, first.dst, k)) continue;
    // A skip must cover both or neither.
    bool straddles = false;
    for (std::size_t j = 0; j < k; ++j) {
      if (IsSkip(code[j]) && j + code[j].n == k) straddles = true;
    }
    if (straddles) continue;
    for (std::size_t j = 0; j < k; ++j) {
      if (IsSkip(code[j]) && j + code[j].n > k) --code[j].n;
    }
    code[k] = joined;
    std::copy(code + k + 2, code + count, code + k + 1);
    --count;
  }
  return count;
}

}  // namespace vorlane::expr
