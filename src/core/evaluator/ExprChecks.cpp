// Which instructions may leave out their own check for a non-finite result.
// Eval only has to learn that some row failed (the table, run again, names
// the row), so a value needs no check where every instruction reading it
// turns a non-finite value into a non-finite result and is checked itself,
// or passes the value on in the same way. An infinity or NaN survives
// x + y, x - y, x * y, x / y (as x), sqrt, log, sin and the roundings; it
// can vanish in y / x (as x), powers, exp, comparisons, min, max and clip.

#include <algorithm>
#include <initializer_list>

#include "evaluator/ExprProgram.h"

namespace vorlane::expr {

namespace {

// One operand an instruction reads: its field (a slot or kAcc) and whether
// a non-finite value there always gives a non-finite result or a failure of
// the instruction's own.
struct Read {
  Slot field;
  bool carries;
};

// The operands of instruction i, at most four, into out; gives their count.
// A field holding kAcc reads the register.
int ReadsOf(const Ins& i, Read* out) {
  const int op = i.op;
  auto reads = [&](std::initializer_list<Read> list) {
    std::copy(list.begin(), list.end(), out);
    return static_cast<int>(list.size());
  };
  if (op < kOpPow) return reads({{i.a, true}, {i.b, op < kOpDiv}});   // + - * /
  if (op < kOpRound) return reads({{i.a, false}, {i.b, false}});      // ^, comparisons, min, max
  if (op < kOpSqrt) return reads({{i.a, true}, {i.b, false}});        // round
  if (op < kOpPowN) return reads({{i.a, op - (op - kOpSqrt) % 2 != kOpExp}});
  if (op < kOpMulPowN) return reads({{i.a, true}});
  if (op < kOpAddMulPowN) return reads({{i.a, true}, {i.b, true}});
  if (op < kOpFused) return reads({{i.a, true}, {i.b, true}, {i.c, true}});
  if (op < kOpCall) {
    // c P (y Q z): y carries but into a power, z only into + - *, c unless divided by.
    const int k = (op - kOpFused) / 4, outer = k / 5, inner = k % 5;
    return reads({{i.a, inner != kQPow}, {i.b, inner <= kQMul}, {i.c, outer != kTOverC}});
  }
  if (op == kOpCall) return reads({{i.a, false}, {i.b, false}});
  if (op == kOpCallMore) {
    const Slot more[4] = {i.a, i.b, i.c, i.dst};
    for (int k = 0; k < i.n; ++k) out[k] = {more[k], false};
    return i.n;
  }
  if (op == kOpSkip) return reads({{i.a, false}});
  if (op < kOpCmpSkip) return reads({{i.a, false}, {i.b, false}, {i.c, false}});  // clip
  if (op < kOpUFused) return reads({{i.a, false}, {i.b, false}});
  if (op < kOpCondTimesU) {
    // c P f(y).
    const int k = (op - kOpUFused) / 2, outer = k / 5, unary = k % 5;
    return reads({{i.a, unary != kUExp}, {i.c, outer != kTOverC}});
  }
  // condition * f(y): f(y) is computed only when the condition holds.
  if (op < kOpCmpTimesU) return reads({{i.a, false}, {i.c, true}});
  if (op < kOpUMulFused) return reads({{i.a, false}, {i.b, false}, {i.code, false}});
  // f(v[c]) P (v[a] * v[b]); t / f(u) checks f(u) itself.
  if (op < kOpProdFused) return reads({{i.a, true}, {i.b, true}, {i.c, (op - kOpUMulFused) % 5 != kUExp}});
  if (op < kOpPowSubFused) return reads({{i.a, true}, {i.b, true}, {i.c, true}, {i.code, true}});
  // v[c] P v[a]^(v[b] - v[code]): the difference is checked inside.
  return reads({{i.a, false}, {i.b, true}, {i.code, true}, {i.c, op - kOpPowSubFused != kTOverC}});
}

bool WritesResult(const Ins& i) { return i.op != kOpCallMore && i.op != kOpSkip; }

}  // namespace

void MarkChecks(Ins* code, std::size_t count, std::size_t slotCount, Slot result, bool resultInAcc,
                std::int32_t* scratch) {
  // writer: the instruction that wrote each slot last; skipsAt: the skips
  // before each instruction; state: -1 while no instruction read its value,
  // 1 while every reader carries a non-finite value on, 0 for good once one
  // does not. A reader that a skip may leave out while its producer runs
  // (a skip lies between them) needs the producer checked.
  std::int32_t* const writer = scratch;
  std::int32_t* const skipsAt = writer + slotCount;
  std::int32_t* const state = skipsAt + count;
  std::fill(writer, writer + slotCount, -1);
  std::fill(state, state + count, -1);
  std::int32_t skips = 0;
  std::int32_t accFrom = -1;    // the instruction whose value the register holds, if known
  std::int32_t regionEnd = -1;  // the last instruction under the latest skip
  for (std::int32_t j = 0; j < static_cast<std::int32_t>(count); ++j) {
    const Ins& ins = code[j];
    // Past a skipped run the register holds 0 or the run's last value.
    if (j == regionEnd + 1) accFrom = -1;
    Read reads[4];
    const int n = ReadsOf(ins, reads);
    for (int k = 0; k < n; ++k) {
      const std::int32_t from = reads[k].field == kAcc ? accFrom : writer[reads[k].field];
      if (from < 0) continue;
      state[from] = state[from] != 0 && reads[k].carries && skipsAt[from] == skips ? 1 : 0;
    }
    skipsAt[j] = skips;
    if (IsSkip(ins)) {
      ++skips;
      regionEnd = std::max(regionEnd, j + ins.n);
    }
    if (ins.op == kOpCallMore || ins.op == kOpSkip) continue;  // the register keeps its value
    accFrom = j;
    writer[ins.dst] = j;
    if (ins.op >= kOpCmpTimesU && ins.op < kOpUMulFused) writer[ins.c] = -1;  // its condition's value
  }
  for (std::size_t j = 0; j < count; ++j) {
    Ins& ins = code[j];
    const bool isResult = resultInAcc ? j + 1 == count : ins.dst == result;
    ins.unchecked = state[j] == 1 && !isResult && ins.op != kOpCall && WritesResult(ins);
  }
}

}  // namespace vorlane::expr
