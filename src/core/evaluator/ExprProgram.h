// The form Eval runs: a straight list of instructions over one array of
// values (constants, variables, intermediate results). Each instruction is
// specialised at compile time on where its operands come from: a slot of the
// array, or the result of the instruction just before it, kept in a register
// (kAcc). Frequent shapes are single instructions: c op (y op z) as in
// Horner's scheme and sums of products, k * x^n with a fixed chain for the
// whole exponent, conditions as a skip over the rows that depend on them.
// Every instruction computes exactly the operations of the rows it stands
// for, so results are bit for bit those of the expression table; the order
// may differ, which is why a fault is named by running the table again.
// Internal to the evaluator.
#pragma once

#include <cstdint>
#include <vector>

#include "evaluator/ExprTable.h"

namespace vorlane {
class clsExprEvaluator;
}

namespace vorlane::expr {

inline constexpr std::int32_t kAcc = -1;

// Instruction kinds. Binary kinds take three consecutive codes (operands
// slot/slot, acc/slot, slot/acc), unary kinds two (slot, acc), fused kinds
// four (no acc, acc in y, in z, in c).
enum Op : std::uint16_t {
  kOpAdd = 0, kOpSub = 3, kOpMul = 6, kOpDiv = 9, kOpPow = 12, kOpGt = 15, kOpGe = 18, kOpLt = 21,
  kOpLe = 24, kOpEq = 27, kOpNe = 30, kOpMin = 33, kOpMax = 36, kOpRound = 39,
  kOpSqrt = 42, kOpExp = 44, kOpLog = 46, kOpSin = 48, kOpCos = 50, kOpTan = 52, kOpAbs = 54,
  kOpNeg = 56, kOpInt = 58, kOpFix = 60,
  kOpPowN = 62,       // x^n: a = x
  kOpMulPowN = 64,    // v[b] * x^n: a = x
  kOpAddMulPowN = 66, // c + v[b] * x^n: a = x (a slot), c = acc or v[c] (two codes)
  kOpSubMulPowN = 68, // c - v[b] * x^n
  // c P (y Q z) and (y Q z) P c: P in {c+t, c-t, t-c, c*t, t/c}, Q in {+ - * / ^}
  kOpFused = 70,      // kOpFused + (P * 5 + Q) * 4 + acc position: 70 .. 169
  kOpCall = 170,      // Compute(code, arguments): a, b, then the next instruction
  kOpCallMore = 171,  // holds arguments 3..6 of the one before: a, b, c, dst
  kOpSkip = 172,      // when v[a] is 0: the next n instructions give 0
  kOpClip = 173,      // clip(x, v[b], v[c]): a = x (two codes)
  kOpCmpSkip = 175,   // a comparison that skips the next n when it gives 0:
                      // kOpCmpSkip + (code - kGt) * 3 + operand placement
  kOpUFused = 193,    // c P f(y), f in {sqrt exp log sin cos}: + (P * 5 + f) * 2 + (y in acc)
  kOpCondTimesU = 243,  // c * f(y) with f computed only when the condition c holds: + f * 2 + (y in acc)
  kOpCmpTimesU = 253,   // (v[a] cmp v[b]) * f(v[code]), the condition kept in v[c]: + (cmp - kGt) * 5 + f
  kOpUMulFused = 283,   // f(v[c]) P (v[a] * v[b]): + P * 5 + f
  kOpProdFused = 308,   // (v[c] * v[code]) P (v[a] * v[b]): + P, P in {c+t, c-t, t-c, c*t}
  kOpPowSubFused = 312, // v[c] P v[a]^(v[b] - v[code]): + P
};

// Flags in Ins::n of kOpCall.
inline constexpr std::int16_t kCallNegate = 1;
inline constexpr std::int16_t kCallHasMore = 2;

enum FuseOuter { kCPlusT, kCMinusT, kTMinusC, kCTimesT, kTOverC };
enum FuseInner { kQAdd, kQSub, kQMul, kQDiv, kQPow };
enum FuseUnary { kUSqrt, kUExp, kULog, kUSin, kUCos };

struct Ins {
  std::uint16_t op;
  std::int16_t n;      // whole exponent, skip count, call flags, or argument count
  std::int32_t a, b;   // operand slots, or kAcc
  std::int32_t c;      // third operand (fused kinds, kOpAddMulPowN)
  std::int32_t dst;    // slot receiving the result
  std::int32_t code;   // function code of kOpCall
};

// What Eval calls once everything is checked: the loop over the instructions,
// or a lean function for a program of one frequent instruction. It leaves a
// fault's message and error number itself and then gives 0.
using Runner = double (*)(clsExprEvaluator& ev);

struct Program {
  std::vector<Ins> code;
  std::vector<double> values;
  std::int32_t result = 0;     // slot of the expression's value
  bool resultInAcc = false;    // the last instruction delivers the value
  bool hasRandom = false;
  bool roundLast = false;      // the last instruction, round(acc, digits), runs after the loop
  Runner run = nullptr;        // chosen by BuildProgram
  // The instruction of a program of one: read beside the values' pointer,
  // one load less on the way to the operands.
  Ins one{};
};

// Builds the program of a compiled table. `varSlot[2 v]` and `varSlot[2 v + 1]`
// receive the slots of variable v with sign +1 and -1 (-1 when unused).
void BuildProgram(const Table& t, Program& p, std::int32_t* varSlot);

// Joins neighbouring instructions of a built program (ExprPeephole.cpp).
void JoinInstructions(Program& p);

// Finishes a built program (ExprRunners.cpp): joins neighbouring
// instructions, keeps the first in `one`, marks a last round and gives the
// runner Eval is to call.
Runner ChooseRunner(Program& p);

// Runs the program; false on a fault (the row is not known here).
bool RunProgram(const Program& p, double* values, double angleFactor, std::uint32_t& rndState, double& result);

}  // namespace vorlane::expr
