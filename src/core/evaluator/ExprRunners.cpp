// The runners Eval calls (see Runner in ExprProgram.h): lean ones for the
// programs of one frequent instruction, the choice of the runner when a
// program is built, and Eval's own fast path. The loop runner lives beside
// the loop in ExprProgram.cpp.
#include "evaluator/ExprRunners.h"

#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "evaluator/ExprFunctions.h"
#include "evaluator/ExprProgram.h"
#include "evaluator/clsExprEvaluator.h"

namespace vorlane::expr {

namespace {

inline constexpr double kLargest = std::numeric_limits<double>::max();

template <int K>
inline bool Compare(double x, double w) {
  if constexpr (K == 0) return x > w;
  if constexpr (K == 1) return x >= w;
  if constexpr (K == 2) return x < w;
  if constexpr (K == 3) return x <= w;
  if constexpr (K == 4) return x == w;
  return x != w;
}

// The angle in radians: y * f, and y itself for radians (the same value,
// one multiplication less on the way to the library).
inline double Radians(double y, double f) { return f == 1.0 ? y : y * f; }

// f(y) as the loop computes it (kUSqrt .. kUCos).
template <int U>
inline double Unary(double y, double f) {
  if constexpr (U == kUSqrt) return std::sqrt(y);
  if constexpr (U == kUExp) return std::exp(y);
  if constexpr (U == kULog) return y > 0 ? std::log(y) : kNaN;
  if constexpr (U == kUSin) return std::sin(Radians(y, f));
  return std::cos(Radians(y, f));
}

// f(y) where the argument alone tells that the result is finite: the library
// call ends the runner. exp checks its result instead.
template <int U>
inline bool FiniteFor(double y, double f) {
  if constexpr (U == kUSqrt) return y >= 0 && y <= kLargest;
  if constexpr (U == kULog) return y > 0 && y <= kLargest;
  if constexpr (U == kUSin || U == kUCos) return std::fabs(Radians(y, f)) <= kLargest;
  return false;
}

template <int P>
inline double Outer(double c, double t) {
  if constexpr (P == kCPlusT) return c + t;
  if constexpr (P == kCMinusT) return c - t;
  if constexpr (P == kTMinusC) return t - c;
  if constexpr (P == kCTimesT) return c * t;
  return t / c;
}

}  // namespace

double Runners::Fault(clsExprEvaluator& ev) {
  ev.NameFault();
  ev.errNumber_ = clsExprEvaluator::kErrEval;
  return 0.0;
}

double Runners::FaultNoDraw(clsExprEvaluator& ev) {
  ev.rndBefore_ = ev.rndState_;
  return Fault(ev);
}

// A program of one instruction delivering its value in the register leaves
// no slot that anything reads afterwards: its runner computes the value only.
template <int K, int U>
double Runners::CmpTimes(clsExprEvaluator& ev) {
  const Ins& i = ev.program_.one;
  const double* const v = ev.program_.values.data();
  if (!Compare<K>(v[i.a], v[i.b])) return 0.0;
  const double y = v[i.code];
  if constexpr (U == kUExp) {
    const double r = std::exp(y);
    return std::isfinite(r) ? r : FaultNoDraw(ev);
  } else {
    if (FiniteFor<U>(y, ev.angleFactor_)) [[likely]] return Unary<U>(y, ev.angleFactor_);
    return FaultNoDraw(ev);
  }
}

template <int P, int U>
double Runners::UMul(clsExprEvaluator& ev) {
  const Ins& i = ev.program_.one;
  const double* const v = ev.program_.values.data();
  const double c = Unary<U>(v[i.c], ev.angleFactor_);
  if (P == kTOverC && !std::isfinite(c)) [[unlikely]] return FaultNoDraw(ev);
  const double r = Outer<P>(c, v[i.a] * v[i.b]);
  return std::isfinite(r) ? r : FaultNoDraw(ev);
}

namespace {

template <int... N>
constexpr std::array<Runner, sizeof...(N)> CmpTimesRunners(std::integer_sequence<int, N...>) {
  return {&Runners::CmpTimes<CmpTimesKind(N), CmpTimesUnary(N)>...};
}

template <int... N>
constexpr std::array<Runner, sizeof...(N)> UMulRunners(std::integer_sequence<int, N...>) {
  return {&Runners::UMul<UMulOuter(N), UMulUnary(N)>...};
}

constexpr auto kCmpTimesRunners = CmpTimesRunners(std::make_integer_sequence<int, kOpUMulFused - kOpCmpTimesU>());
constexpr auto kUMulRunners = UMulRunners(std::make_integer_sequence<int, kOpProdFused - kOpUMulFused>());

}  // namespace

Runner ChooseRunner(Program& p) {
  const int count = static_cast<int>(p.code.size()) - 1;  // without the end
  if (count == 0) return nullptr;  // a constant: Eval reads its value
  p.one = p.code[0];
  // A last round(acc, digits) delivering the value, reached by no skip,
  // becomes the end.
  const int last = count - 1;
  bool roundLast = last > 0 && p.resultInAcc && p.code[last].op == BinaryOp(kOpRound, kAcc, 0);
  for (int j = 0; roundLast && j < last; ++j) {
    if (IsSkip(p.code[j]) && j + p.code[j].n >= last) roundLast = false;
  }
  if (roundLast) p.code[last].op = kOpEndRound;
  if (count == 1 && p.resultInAcc) {
    const int op = p.code[0].op;
    if (IsCmpTimes(op)) return kCmpTimesRunners[op - kOpCmpTimesU];
    if (IsUMul(op)) return kUMulRunners[op - kOpUMulFused];
  }
  return &Runners::Loop;
}

}  // namespace vorlane::expr

namespace vorlane {

// The fast path of Eval: everything checked before, the program's runner
// at once; a constant without a call. The runners that draw random numbers
// keep the state before the run (rndBefore_).
double clsExprEvaluator::Eval() {
  if (!ready_) [[unlikely]] return EvalChecked();
  lastRun_ = LastRun::kVariables;
  if (program_.code.size() <= 1) return program_.values[program_.result];
  return program_.run(*this);
}

}  // namespace vorlane
