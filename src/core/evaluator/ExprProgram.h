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
// An end instruction closes the list; a value handed on in the register to
// an instruction that keeps it non-finite is checked there, not twice.
// Internal to the evaluator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <utility>

#include "evaluator/ExprTable.h"

namespace vorlane {
class clsExprEvaluator;
}

namespace vorlane::expr {

// A slot of the program's values. An expression has at most
// clsExprEvaluator::kMaxRows rows, so its values fit 16-bit indices.
using Slot = std::int16_t;
inline constexpr Slot kAcc = -1;

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
  kOpEnd = 317,         // the end of the program: its value is v[a], or the register for kAcc
  kOpEndRound = 318,    // the end, giving round(acc, v[b]) (the program's last round, taken in)
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
  Slot a, b;           // operand slots, or kAcc
  Slot c;              // third operand (fused kinds, kOpAddMulPowN)
  Slot dst;            // slot receiving the result
  std::int16_t code;   // function code of kOpCall, or a fourth operand slot
  // The result needs no finiteness check of its own: the next instruction,
  // its one reader, takes it from the register and gives a non-finite value
  // for a non-finite one (MarkChecks).
  bool unchecked = false;
};

// A condition's skip over the next n instructions (kOpSkip, kOpCmpSkip...).
inline bool IsSkip(const Ins& ins) { return ins.op == kOpSkip || (ins.op >= kOpCmpSkip && ins.op < kOpUFused); }

// What Eval calls once everything is checked: the loop over the instructions,
// or a lean function for a program of one frequent instruction. It leaves a
// fault's message and error number itself and then gives 0.
using Runner = double (*)(clsExprEvaluator& ev);

// A variable of a compiled expression. Its name lies in the characters of
// the program's block.
struct Variable {
  double value;
  std::int32_t slot;     // its slot in the program, sign +1 (-1: unused)
  std::int32_t negSlot;  // the same with sign -1
  std::uint32_t nameAt;  // the name: characters nameAt .. nameAt + nameSize - 1
  std::uint32_t nameSize;
  bool assigned;
};

// A compiled expression as the evaluator keeps it: one heap block holding
// the program's values (the array Eval runs over), its instructions, the
// variables 1..VarTop and the characters of the text and of the names.
// A compile allocates once; compiling again reuses a block large enough.
// A long program keeps its instructions in a block of their own: no block
// then reaches the allocator's large sizes, whose requests are slower.
class Program {
 public:
  Program() = default;
  Program(const Program& other) { *this = other; }
  Program& operator=(const Program& other);
  Program(Program&& other) noexcept { *this = std::move(other); }
  Program& operator=(Program&& other) noexcept;
  ~Program() {
    ::operator delete(block_);
    ::operator delete(codeBlock_);
  }

  // Lays the block out for the given counts, their contents unset; may
  // throw std::bad_alloc, leaving the program empty.
  void Layout(std::size_t valueCount, std::size_t codeCount, std::size_t varCount, std::size_t charCount);
  // The text first in the characters, then the table's variables with their
  // names: `varSlot` as BuildProgram fills it, or null (no slots).
  void StoreVariables(const Table& t, std::string_view text, const std::int32_t* varSlot);
  // No program: the table's variables and the text only.
  void StoreUncompiled(const Table& t, std::string_view text);
  void Clear();

  std::string_view Text() const { return {chars.data(), textSize}; }
  // Whether `s` lies in the block.
  bool Holds(std::string_view s) const {
    const auto* const begin = static_cast<const char*>(block_);
    return !s.empty() && std::less_equal<>()(begin, s.data()) && std::less<>()(s.data(), begin + capacity_);
  }
  std::string_view Name(const Variable& v) const { return {chars.data() + v.nameAt, v.nameSize}; }

  std::span<double> values;
  std::span<Ins> code;  // the instructions, then kOpEnd or kOpEndRound
  std::span<Variable> vars;
  std::span<char> chars;
  std::size_t textSize = 0;
  std::int32_t result = 0;     // slot of the expression's value
  bool resultInAcc = false;    // the last instruction delivers the value
  bool hasRandom = false;
  Runner run = nullptr;        // chosen by BuildProgram; none for a constant, which Eval reads itself
  // The instruction of a program of one: read beside the values' pointer,
  // one load less on the way to the operands.
  Ins one{};

 private:
  // The members after the blocks' contents: result .. one.
  void CopyFacts(const Program& other);

  void* block_ = nullptr;
  std::size_t capacity_ = 0;  // bytes of the block
  void* codeBlock_ = nullptr;  // the instructions of a long program
  std::size_t codeCapacity_ = 0;
};

// Builds the program of a compiled table into `p`, with the table's
// variables (value 0, unassigned) and `text`. A table that CompileTable
// left unscheduled is scheduled here; false with the reason in `error` when
// that fails.
bool BuildProgram(Table& t, std::string_view text, Program& p, std::string& error);

// Joins neighbouring instructions of the `count` instructions at `code`
// (ExprPeephole.cpp), `result` being the slot of the value; gives the count
// left.
std::size_t JoinInstructions(Ins* code, std::size_t count, Slot result);

// Marks the instructions whose finiteness check the instruction reading
// their value makes unnecessary (ExprChecks.cpp); `resultInAcc` tells
// whether the last instruction delivers the value, else it lies in slot
// `result`.
void MarkChecks(Ins* code, std::size_t count, Slot result, bool resultInAcc);

// Finishes a built program (ExprRunners.cpp): ends it, takes a last
// round into the end, keeps the first instruction in `one` and gives the
// runner Eval is to call.
Runner ChooseRunner(Program& p);

}  // namespace vorlane::expr
