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

#include "evaluator/ExprFunctions.h"
#include "evaluator/ExprTable.h"

namespace vorlane {
class clsExprEvaluator;
}

namespace vorlane::expr {

// A slot of the program's values. An expression has at most
// clsExprEvaluator::kMaxRows rows, so its values fit 16-bit indices.
using Slot = std::int16_t;
inline constexpr Slot kAcc = -1;

// The shapes that fused kinds combine. FuseInner follows the order of the
// binary kinds + - * / ^, FuseUnary that of the unary kinds sqrt .. cos.
enum FuseOuter { kCPlusT, kCMinusT, kTMinusC, kCTimesT, kTOverC };
enum FuseInner { kQAdd, kQSub, kQMul, kQDiv, kQPow };
enum FuseUnary { kUSqrt, kUExp, kULog, kUSin, kUCos };
inline constexpr int kOuterKinds = kTOverC + 1;
inline constexpr int kInnerKinds = kQPow + 1;
inline constexpr int kUnaryKinds = kUCos + 1;
inline constexpr int kCompareKinds = kNe - kGt + 1;  // > >= < <= = <>, in code order

// How many codes a kind takes for its operand placements: a binary kind
// three (slot/slot, acc/slot, slot/acc), a unary kind two (slot, acc), a
// fused kind c P (y Q z) four (no acc, acc in y, in z, in c).
inline constexpr int kBinaryWidth = 3;
inline constexpr int kUnaryWidth = 2;
inline constexpr int kFusedWidth = 4;

// Instruction kinds: each family starts where the one before it ends. Only
// the encoders and decoders below compute codes within a family.
enum Op : std::uint16_t {
  kOpAdd = 0,
  kOpSub = kOpAdd + kBinaryWidth,
  kOpMul = kOpSub + kBinaryWidth,
  kOpDiv = kOpMul + kBinaryWidth,
  kOpPow = kOpDiv + kBinaryWidth,
  kOpGt = kOpPow + kBinaryWidth,  // the comparisons in code order: CompareOp
  kOpGe = kOpGt + kBinaryWidth,
  kOpLt = kOpGe + kBinaryWidth,
  kOpLe = kOpLt + kBinaryWidth,
  kOpEq = kOpLe + kBinaryWidth,
  kOpNe = kOpEq + kBinaryWidth,
  kOpMin = kOpNe + kBinaryWidth,
  kOpMax = kOpMin + kBinaryWidth,
  kOpRound = kOpMax + kBinaryWidth,
  kOpSqrt = kOpRound + kBinaryWidth,  // the unary kinds that fuse, in FuseUnary order: FusableUnaryOp
  kOpExp = kOpSqrt + kUnaryWidth,
  kOpLog = kOpExp + kUnaryWidth,
  kOpSin = kOpLog + kUnaryWidth,
  kOpCos = kOpSin + kUnaryWidth,
  kOpTan = kOpCos + kUnaryWidth,
  kOpAbs = kOpTan + kUnaryWidth,
  kOpNeg = kOpAbs + kUnaryWidth,
  kOpInt = kOpNeg + kUnaryWidth,
  kOpFix = kOpInt + kUnaryWidth,
  kOpPowN = kOpFix + kUnaryWidth,         // x^n: a = x
  kOpMulPowN = kOpPowN + kUnaryWidth,     // v[b] * x^n: a = x
  kOpAddMulPowN = kOpMulPowN + kUnaryWidth,  // c + v[b] * x^n: a = x (a slot), c = acc or v[c] (two codes)
  kOpSubMulPowN = kOpAddMulPowN + kUnaryWidth,  // c - v[b] * x^n
  // c P (y Q z) and (y Q z) P c: FusedOp.
  kOpFused = kOpSubMulPowN + kUnaryWidth,
  kOpCall = kOpFused + kOuterKinds * kInnerKinds * kFusedWidth,  // Compute(code, arguments): a, b, then the next instruction
  kOpCallMore = kOpCall + 1,  // holds arguments 3..6 of the one before: a, b, c, dst
  kOpSkip = kOpCallMore + 1,  // when v[a] is 0: the next n instructions give 0
  kOpClip = kOpSkip + 1,      // clip(x, v[b], v[c]): a = x (two codes)
  kOpCmpSkip = kOpClip + kUnaryWidth,  // a comparison that skips the next n when it gives 0: CmpSkipOf
  kOpUFused = kOpCmpSkip + kCompareKinds * kBinaryWidth,  // c P f(y): UFusedOp
  kOpCondTimesU = kOpUFused + kOuterKinds * kUnaryKinds * kUnaryWidth,  // c * f(y), f only when c holds: CondTimesOp
  kOpCmpTimesU = kOpCondTimesU + kUnaryKinds * kUnaryWidth,  // (v[a] cmp v[b]) * f(v[code]), the condition in v[c]
  kOpUMulFused = kOpCmpTimesU + kCompareKinds * kUnaryKinds,  // f(v[c]) P (v[a] * v[b]): UMulOp
  kOpProdFused = kOpUMulFused + kOuterKinds * kUnaryKinds,  // (v[c] * v[code]) P (v[a] * v[b]), P up to c*t
  kOpPowSubFused = kOpProdFused + kCTimesT + 1,  // v[c] P v[a]^(v[b] - v[code])
  kOpEnd = kOpPowSubFused + kOuterKinds,  // the end of the program: its value is v[a], or the register for kAcc
  kOpEndRound = kOpEnd + 1,  // the end, giving round(acc, v[b]) (the program's last round, taken in)
};
inline constexpr int kOpCount = kOpEndRound + 1;

// The binary kinds + - * / ^ in FuseInner order, the comparisons in code
// order, the fusable unary kinds in FuseUnary order.
static_assert(kOpSub == kOpAdd + kQSub * kBinaryWidth && kOpDiv == kOpAdd + kQDiv * kBinaryWidth &&
              kOpPow == kOpAdd + kQPow * kBinaryWidth);
static_assert(kGe == kGt + 1 && kLt == kGt + 2 && kLe == kGt + 3 && kEq == kGt + 4 && kNe == kGt + 5 &&
              kOpMin == kOpGt + kCompareKinds * kBinaryWidth);
static_assert(kOpExp == kOpSqrt + kUExp * kUnaryWidth && kOpLog == kOpSqrt + kULog * kUnaryWidth &&
              kOpSin == kOpSqrt + kUSin * kUnaryWidth && kOpTan == kOpSqrt + kUnaryKinds * kUnaryWidth);
// Programs are stored with 16-bit kinds.
static_assert(kOpCount <= 65536);

// A binary kind with its operands a, b placed (either may be kAcc).
constexpr std::uint16_t BinaryOp(Op kind, Slot a, Slot b) {
  return static_cast<std::uint16_t>(kind + (a == kAcc ? 1 : b == kAcc ? 2 : 0));
}
// A unary kind with its operand in a slot or in the register.
constexpr std::uint16_t UnaryOp(Op kind, bool inAcc) { return static_cast<std::uint16_t>(kind + (inAcc ? 1 : 0)); }
constexpr bool IsBinary(int op, Op kind) { return op >= kind && op < kind + kBinaryWidth; }
constexpr bool IsUnary(int op, Op kind) { return op >= kind && op < kind + kUnaryWidth; }
// The operand placement of a binary kind (0 slots, 1 acc first, 2 acc second)
// or of a unary kind (1: in the register).
constexpr int Placement(int op, Op kind) { return op - kind; }

// The comparison of kind k (code - kGt).
constexpr Op CompareOp(int k) { return static_cast<Op>(kOpGt + k * kBinaryWidth); }
constexpr bool IsCompare(int op) { return op >= kOpGt && op < kOpMin; }

// A comparison that skips, from the comparison (its kind and placement kept),
// and back.
constexpr std::uint16_t CmpSkipOp(int k, int placement) {
  return static_cast<std::uint16_t>(kOpCmpSkip + k * kBinaryWidth + placement);
}
constexpr bool IsCmpSkip(int op) { return op >= kOpCmpSkip && op < kOpUFused; }
constexpr std::uint16_t CmpSkipOf(int compareOp) { return static_cast<std::uint16_t>(kOpCmpSkip + (compareOp - kOpGt)); }
constexpr std::uint16_t CompareOfCmpSkip(int op) { return static_cast<std::uint16_t>(kOpGt + (op - kOpCmpSkip)); }
constexpr int CmpSkipKind(int op) { return (op - kOpCmpSkip) / kBinaryWidth; }
constexpr int CmpSkipPlacement(int op) { return (op - kOpCmpSkip) % kBinaryWidth; }

// The unary kinds that fuse: sqrt exp log sin cos (FuseUnary u).
constexpr Op FusableUnaryOp(int u) { return static_cast<Op>(kOpSqrt + u * kUnaryWidth); }
constexpr bool IsFusableUnary(int op) { return op >= kOpSqrt && op < kOpTan; }
constexpr int FusableUnaryKind(int op) { return (op - kOpSqrt) / kUnaryWidth; }
constexpr bool FusableUnaryInAcc(int op) { return (op - kOpSqrt) % kUnaryWidth != 0; }

// c P (y Q z), the register in no operand (0), in y (1), z (2) or c (3).
constexpr std::uint16_t FusedOp(int outer, int inner, int accAt) {
  return static_cast<std::uint16_t>(kOpFused + (outer * kInnerKinds + inner) * kFusedWidth + accAt);
}
constexpr bool IsFused(int op) { return op >= kOpFused && op < kOpCall; }
constexpr int FusedOuter(int op) { return (op - kOpFused) / kFusedWidth / kInnerKinds; }
constexpr int FusedInner(int op) { return (op - kOpFused) / kFusedWidth % kInnerKinds; }

// c P f(y), y in a slot or in the register.
constexpr std::uint16_t UFusedOp(int outer, int u, bool inAcc) {
  return static_cast<std::uint16_t>(kOpUFused + (outer * kUnaryKinds + u) * kUnaryWidth + (inAcc ? 1 : 0));
}
constexpr int UFusedOuter(int op) { return (op - kOpUFused) / kUnaryWidth / kUnaryKinds; }
constexpr int UFusedUnary(int op) { return (op - kOpUFused) / kUnaryWidth % kUnaryKinds; }

// c * f(y), y in a slot or in the register.
constexpr std::uint16_t CondTimesOp(int u, bool inAcc) {
  return static_cast<std::uint16_t>(kOpCondTimesU + u * kUnaryWidth + (inAcc ? 1 : 0));
}
constexpr bool CondTimesInAcc(int op) { return (op - kOpCondTimesU) % kUnaryWidth != 0; }

// (v[a] cmp v[b]) * f(v[code]), comparison kind k.
constexpr std::uint16_t CmpTimesOp(int k, int u) { return static_cast<std::uint16_t>(kOpCmpTimesU + k * kUnaryKinds + u); }
constexpr bool IsCmpTimes(int op) { return op >= kOpCmpTimesU && op < kOpUMulFused; }
constexpr int CmpTimesKind(int index) { return index / kUnaryKinds; }   // index: op - kOpCmpTimesU
constexpr int CmpTimesUnary(int index) { return index % kUnaryKinds; }

// f(v[c]) P (v[a] * v[b]).
constexpr std::uint16_t UMulOp(int outer, int u) { return static_cast<std::uint16_t>(kOpUMulFused + outer * kUnaryKinds + u); }
constexpr bool IsUMul(int op) { return op >= kOpUMulFused && op < kOpProdFused; }
constexpr int UMulOuter(int index) { return index / kUnaryKinds; }  // index: op - kOpUMulFused
constexpr int UMulUnary(int index) { return index % kUnaryKinds; }

// (v[c] * v[code]) P (v[a] * v[b]) and v[c] P v[a]^(v[b] - v[code]).
constexpr std::uint16_t ProdOp(int outer) { return static_cast<std::uint16_t>(kOpProdFused + outer); }
constexpr std::uint16_t PowSubOp(int outer) { return static_cast<std::uint16_t>(kOpPowSubFused + outer); }

// Each family's codes end where the next family begins.
static_assert(CmpSkipOp(kCompareKinds - 1, kBinaryWidth - 1) + 1 == kOpUFused);
static_assert(FusedOp(kTOverC, kQPow, kFusedWidth - 1) + 1 == kOpCall);
static_assert(UFusedOp(kTOverC, kUCos, true) + 1 == kOpCondTimesU);
static_assert(CondTimesOp(kUCos, true) + 1 == kOpCmpTimesU);
static_assert(CmpTimesOp(kCompareKinds - 1, kUCos) + 1 == kOpUMulFused);
static_assert(UMulOp(kTOverC, kUCos) + 1 == kOpProdFused);
static_assert(ProdOp(kCTimesT) + 1 == kOpPowSubFused && PowSubOp(kTOverC) + 1 == kOpEnd);

// Flags in Ins::n of kOpCall.
inline constexpr std::int16_t kCallNegate = 1;
inline constexpr std::int16_t kCallHasMore = 2;

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
inline bool IsSkip(const Ins& ins) { return ins.op == kOpSkip || IsCmpSkip(ins.op); }

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

// Builds the program of a table compiled with Use::kForProgram into `p`,
// with the table's variables (value 0, unassigned) and `text`, scheduling
// the table on the way; false with the reason in `error` when that fails.
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
