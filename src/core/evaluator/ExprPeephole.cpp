// Joining neighbouring instructions of a built program into one, where the
// lowering left two: a product delivered in the register and the fused
// c P (y * z) taking it as c becomes (u * w) P (y * z). The joined pair
// computes the same operations in the same order, so the bits stay; the
// product's own check for a non-finite value is left out only where P
// carries such a value through (+, -, *: an infinity or NaN stays one).
#include <algorithm>

#include "evaluator/ExprProgram.h"

namespace vorlane::expr {

namespace {

bool Skips(const Ins& ins) {
  return ins.op == kOpSkip || (ins.op >= kOpCmpSkip && ins.op < kOpCmpSkip + 18);
}

// The slot appears in no field of any instruction but `except`, nor as the
// result: the value written there is read through the register only.
bool ReadOnlyThroughRegister(const Program& p, std::int32_t slot, std::size_t except) {
  if (p.result == slot) return false;
  for (std::size_t j = 0; j < p.code.size(); ++j) {
    const Ins& ins = p.code[j];
    if (j != except && (ins.a == slot || ins.b == slot || ins.c == slot || ins.dst == slot || ins.code == slot)) {
      return false;
    }
  }
  return true;
}

// The product u * w of instruction k, from slots only.
bool SlotProduct(const Ins& ins, std::int32_t& u, std::int32_t& w) {
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

}  // namespace

void JoinInstructions(Program& p) {
  for (std::size_t k = 0; k + 1 < p.code.size(); ++k) {
    const Ins& first = p.code[k];
    const Ins& second = p.code[k + 1];
    std::int32_t u, w;
    if (!SlotProduct(first, u, w)) continue;
    // c P (y * z) with c in the register, y and z in slots, P carrying non-finite values.
    int outer = -1;
    for (int q = kCPlusT; q <= kCTimesT; ++q) {
      if (second.op == kOpFused + (q * 5 + kQMul) * 4 + 3) outer = q;
    }
    if (outer < 0 || !ReadOnlyThroughRegister(p, first.dst, k)) continue;
    // A skip must cover both or neither.
    bool straddles = false;
    for (std::size_t j = 0; j < k; ++j) {
      if (Skips(p.code[j]) && j + p.code[j].n == k) straddles = true;
    }
    if (straddles) continue;
    for (std::size_t j = 0; j < k; ++j) {
      if (Skips(p.code[j]) && j + p.code[j].n > k) --p.code[j].n;
    }
    const Ins joined{static_cast<std::uint16_t>(kOpProdFused + outer), 0, second.a, second.b, u, second.dst, w};
    p.code[k] = joined;
    p.code.erase(p.code.begin() + static_cast<std::ptrdiff_t>(k) + 1);
  }
}

}  // namespace vorlane::expr
