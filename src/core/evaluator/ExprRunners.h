// The runners of programs (ExprRunners.cpp, the loop in ExprProgram.cpp):
// friends of the evaluator, for its program, angle factor, random state and
// fault path. Internal to the evaluator.
#pragma once

#include "evaluator/ExprProgram.h"

namespace vorlane::expr {

struct Runners {
  // Names the fault (the table runs again), sets the error number, gives 0.
#if defined(__GNUC__)
  __attribute__((noinline, cold))
#endif
  static double Fault(clsExprEvaluator& ev);
  // The same for a runner that draws no random numbers: the state before
  // the run is the state now.
  static double FaultNoDraw(clsExprEvaluator& ev);

  static double Loop(clsExprEvaluator& ev);
  // A function through Compute (kOpCall, a round to digits).
#if defined(__GNUC__)
  __attribute__((noinline))
#endif
  static double Call(const Ins* p, double acc, clsExprEvaluator& ev);
  // The loop itself; false on a fault.
  static bool Execute(clsExprEvaluator& ev, double& result);
  // (x cmp w) * f(y), cmp K and f U.
  template <int K, int U>
  static double CmpTimes(clsExprEvaluator& ev);
  // f(u) P (y * z).
  template <int P, int U>
  static double UMul(clsExprEvaluator& ev);
};

}  // namespace vorlane::expr
