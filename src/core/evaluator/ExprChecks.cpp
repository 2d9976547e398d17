// Which instructions may leave out their own check for a non-finite result.
// Eval only has to learn that some row failed (the table, run again, names
// the row), so a value needs no check where the instruction reading it
// turns a non-finite value into a non-finite result and is checked itself,
// or passes the value on in the same way. An infinity or NaN survives
// x + y, x - y, x * y, x / y (as x), sqrt, log, sin and the roundings; it
// can vanish in y / x (as x), powers, exp, comparisons, min, max and clip.
// Only values handed on in the register are left unchecked: a chain such as
// round(10 * 1.15^(x - 1) + y / 2, 0) then checks its last value only.

#include <array>
#include <cassert>

#include "evaluator/ExprProgram.h"

namespace vorlane::expr {

namespace {

// The operand fields an instruction kind reads, as bits (a, b, c, code),
// and of those the ones where a non-finite value always gives a non-finite
// result or a failure of the instruction's own. A field holding kAcc reads
// the register. kOpCallMore is left to the caller: it reads n fields.
struct Operands {
  unsigned read;
  unsigned carried;
};
inline constexpr unsigned kA = 1, kB = 2, kC = 4, kCode = 8;

constexpr Operands OperandsOf(int op) {
  if (op < kOpPow) return {kA | kB, op < kOpDiv ? kA | kB : kA};  // + - * /
  if (op < kOpRound) return {kA | kB, 0};                         // ^, comparisons, min, max
  if (op < kOpSqrt) return {kA | kB, kA};                         // round
  if (op < kOpPowN) return {kA, !IsUnary(op, kOpExp) ? kA : 0};
  if (op < kOpMulPowN) return {kA, kA};
  if (op < kOpAddMulPowN) return {kA | kB, kA | kB};
  if (op < kOpFused) return {kA | kB | kC, kA | kB | kC};
  if (op < kOpCall) {
    // c P (y Q z): y carries but into a power, z only into + - *, c unless divided by.
    const int outer = FusedOuter(op), inner = FusedInner(op);
    return {kA | kB | kC, (inner != kQPow ? kA : 0) | (inner <= kQMul ? kB : 0) | (outer != kTOverC ? kC : 0)};
  }
  if (op == kOpCall) return {kA | kB, 0};
  if (op == kOpSkip) return {kA, 0};
  if (IsUnary(op, kOpClip)) return {kA | kB | kC, 0};
  if (op < kOpUFused) return {kA | kB, 0};  // comparisons that skip, kOpCallMore
  if (op < kOpCondTimesU) {
    // c P f(y).
    const int outer = UFusedOuter(op), unary = UFusedUnary(op);
    return {kA | kC, (unary != kUExp ? kA : 0) | (outer != kTOverC ? kC : 0)};
  }
  // condition * f(y): f(y) is computed only when the condition holds.
  if (op < kOpCmpTimesU) return {kA | kC, kC};
  if (op < kOpUMulFused) return {kA | kB | kCode, 0};
  // f(v[c]) P (v[a] * v[b]); t / f(u) checks f(u) itself.
  if (op < kOpProdFused) return {kA | kB | kC, kA | kB | (UMulUnary(op - kOpUMulFused) != kUExp ? kC : 0)};
  if (op < kOpPowSubFused) return {kA | kB | kC | kCode, kA | kB | kC | kCode};
  // v[c] P v[a]^(v[b] - v[code]): the difference is checked inside.
  if (op < kOpEnd) return {kA | kB | kC | kCode, kB | kCode | (op != PowSubOp(kTOverC) ? kC : 0)};
  return {0, 0};
}

// Per kind, for the pass below: the fields a, b, c that carry a non-finite
// value on (kA | kB | kC of read & carried), and kMayGoUnchecked for the
// kinds whose result check may be left out (not calls nor skips).
inline constexpr unsigned kMayGoUnchecked = 16;
inline constexpr auto kTraits = [] {
  std::array<unsigned char, kOpCount> table{};
  for (int op = 0; op < kOpCount; ++op) {
    const Operands o = OperandsOf(op);
    const bool skip = op == kOpSkip || IsCmpSkip(op);
    const bool may = op != kOpCall && op != kOpCallMore && !skip && op < kOpEnd;
    table[op] = static_cast<unsigned char>((o.read & o.carried & (kA | kB | kC)) | (may ? kMayGoUnchecked : 0));
  }
  table[kOpCallMore] = 0;
  return table;
}();

#ifndef NDEBUG
// Whether some field after instruction j reads its slot: never, as every
// row of the table feeds one row, and a comparison that also guards rows
// (read again by the skip) needs no check anyway.
bool ReadAgain(const Ins* code, std::size_t count, std::size_t j) {
  if (IsCompare(code[j].op)) return false;
  for (std::size_t k = j + 1; k < count; ++k) {
    const Ins& ins = code[k];
    const unsigned read = ins.op == kOpCallMore ? (1u << ins.n) - 1 : OperandsOf(ins.op).read;
    const Slot fields[4] = {ins.a, ins.b, ins.c, ins.op == kOpCallMore ? ins.dst : ins.code};
    for (int f = 0; f < 4; ++f) {
      // A call of one argument leaves b unset.
      const bool unset = f == 1 && ins.op == kOpCall && (ins.n & kCallHasMore) == 0;
      if ((read >> f & 1) != 0 && !unset && fields[f] == code[j].dst) return true;
    }
  }
  return false;
}
#endif

}  // namespace

void MarkChecks(Ins* code, std::size_t count, Slot result, bool resultInAcc) {
  // Only a value handed on in the register goes unchecked: the next
  // instruction always runs after this one (a skip before it would be an
  // instruction between them), and it is the value's one reader.
  for (std::size_t j = 0; j + 1 < count; ++j) {
    Ins& ins = code[j];
    const Ins& next = code[j + 1];
    ins.unchecked = false;
    if ((kTraits[ins.op] & kMayGoUnchecked) == 0 || (!resultInAcc && ins.dst == result)) continue;
    const unsigned inRegister = (next.a == kAcc ? kA : 0) | (next.b == kAcc ? kB : 0) | (next.c == kAcc ? kC : 0);
    ins.unchecked = inRegister != 0 && (inRegister & ~kTraits[next.op]) == 0;
    assert(!ins.unchecked || !ReadAgain(code, count, j));
  }
  if (count > 0) code[count - 1].unchecked = false;
}

}  // namespace vorlane::expr
