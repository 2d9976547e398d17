// Running a program: one pass over its instructions, the previous result in
// a register. The frequent kinds are computed right here; everything else
// goes through Compute, which is kept out of line.
#include "evaluator/ExprProgram.h"

#include <cmath>

#include "evaluator/ExprCompute.h"
#include "evaluator/ExprFunctions.h"
#include "evaluator/ExprMath.h"
#include "evaluator/ExprRunners.h"
#include "evaluator/clsExprEvaluator.h"

namespace vorlane::expr {

namespace {

// x^n for a whole 2 <= n <= 60, as Power gives it.
inline double PowN(double x, int n) {
  if (n == 2) return x * x;
  return g_wholePower[n](x);
}

}  // namespace

// Compute for instruction p, the register holding acc: the evaluator's
// values, angle factor and random state read here, out of the loop's way.
double Runners::Call(const Ins* p, double acc, clsExprEvaluator& ev) {
  const double* const v = ev.program_.values.data();
  double a[kArgSlots] = {0, 0, 0, 0, 0, 0};
  auto operand = [&](std::int32_t slot) { return slot == kAcc ? acc : v[slot]; };
  a[0] = operand(p->a);
  a[1] = operand(p->b);
  if (p->n & kCallHasMore) {
    const Ins& more = p[1];
    const std::int32_t slots[4] = {more.a, more.b, more.c, more.dst};
    for (int i = 0; i < more.n; ++i) a[2 + i] = operand(slots[i]);
  }
  const double r = Compute(static_cast<Code>(p->code), a, ev.angleFactor_, ev.rndState_);
  return (p->n & kCallNegate) ? -r : r;
}

#define VORLANE_BINARY(OP, EXPR)                   \
  case OP: {                                       \
    const double x = v[p->a], y = v[p->b];         \
    r = (EXPR);                                    \
    break;                                         \
  }                                                \
  case BinaryOp(OP, kAcc, 0): {                    \
    const double x = acc, y = v[p->b];             \
    r = (EXPR);                                    \
    break;                                         \
  }                                                \
  case BinaryOp(OP, 0, kAcc): {                    \
    const double x = v[p->a], y = acc;             \
    r = (EXPR);                                    \
    break;                                         \
  }

#define VORLANE_CMPSKIP(K, TEST)                       \
  case CmpSkipOp(K, 0): {                              \
    const double x = v[p->a], y = v[p->b];             \
    r = (TEST) ? 1.0 : 0.0;                            \
    goto compared;                                     \
  }                                                    \
  case CmpSkipOp(K, 1): {                              \
    const double x = acc, y = v[p->b];                 \
    r = (TEST) ? 1.0 : 0.0;                            \
    goto compared;                                     \
  }                                                    \
  case CmpSkipOp(K, 2): {                              \
    const double x = v[p->a], y = acc;                 \
    r = (TEST) ? 1.0 : 0.0;                            \
    goto compared;                                     \
  }

#define VORLANE_UNARY(OP, EXPR) \
  case OP: {                    \
    const double x = v[p->a];   \
    r = (EXPR);                 \
    break;                      \
  }                             \
  case UnaryOp(OP, true): {     \
    const double x = acc;       \
    r = (EXPR);                 \
    break;                      \
  }

// The four operand placements of one fused kind c P (y Q z).
#define VORLANE_FUSED(P, Q, EXPR)                                  \
  case FusedOp(P, Q, 0): {                                         \
    const double y = v[p->a], z = v[p->b], c = v[p->c];            \
    r = (EXPR);                                                    \
    break;                                                         \
  }                                                                \
  case FusedOp(P, Q, 1): {                                         \
    const double y = acc, z = v[p->b], c = v[p->c];                \
    r = (EXPR);                                                    \
    break;                                                         \
  }                                                                \
  case FusedOp(P, Q, 2): {                                         \
    const double y = v[p->a], z = acc, c = v[p->c];                \
    r = (EXPR);                                                    \
    break;                                                         \
  }                                                                \
  case FusedOp(P, Q, 3): {                                         \
    const double y = v[p->a], z = v[p->b], c = acc;                \
    r = (EXPR);                                                    \
    break;                                                         \
  }

// c P f(y) with y in a slot or in the register.
#define VORLANE_UFUSED(P, U, F, OUTER)                 \
  case UFusedOp(P, U, false): {                        \
    const double y = v[p->a], c = v[p->c];             \
    const double t = (F);                              \
    r = (OUTER);                                       \
    break;                                             \
  }                                                    \
  case UFusedOp(P, U, true): {                         \
    const double y = acc, c = v[p->c];                 \
    const double t = (F);                              \
    r = (OUTER);                                       \
    break;                                             \
  }

#define VORLANE_UFUSED_OUTER(U, F)            \
  VORLANE_UFUSED(kCPlusT, U, F, c + t)        \
  VORLANE_UFUSED(kCMinusT, U, F, c - t)       \
  VORLANE_UFUSED(kTMinusC, U, F, t - c)       \
  VORLANE_UFUSED(kCTimesT, U, F, c * t)       \
  VORLANE_UFUSED(kTOverC, U, F, t / c)

// (condition) * f(y): f runs only when the condition's value c is not 0.
#define VORLANE_CONDTIMES(U, F)                                       \
  case CondTimesOp(U, false):                                         \
  case CondTimesOp(U, true): {                                        \
    const double c = v[p->c];                                         \
    if (c == 0.0) {                                                   \
      r = c * 0.0;                                                    \
    } else {                                                          \
      const double y = CondTimesInAcc(p->op) ? acc : v[p->a];         \
      r = c * (F);                                                    \
    }                                                                 \
    break;                                                            \
  }

// (x cmp w) * f(y) in one: f runs only when the comparison holds.
#define VORLANE_CMPTIMES(K, TEST, U, F)                 \
  case CmpTimesOp(K, U): {                              \
    const double x = v[p->a], w = v[p->b];              \
    const bool holds = (TEST);                          \
    v[p->c] = holds ? 1.0 : 0.0;                        \
    if (holds) {                                        \
      const double y = v[p->code];                      \
      r = (F);                                          \
    } else {                                            \
      r = 0.0;                                          \
    }                                                   \
    break;                                              \
  }

#define VORLANE_CMPTIMES_ALL(K, TEST)                            \
  VORLANE_CMPTIMES(K, TEST, kUSqrt, std::sqrt(y))                \
  VORLANE_CMPTIMES(K, TEST, kUExp, std::exp(y))                  \
  VORLANE_CMPTIMES(K, TEST, kULog, y > 0 ? std::log(y) : kNaN)   \
  VORLANE_CMPTIMES(K, TEST, kUSin, std::sin(y * f))              \
  VORLANE_CMPTIMES(K, TEST, kUCos, std::cos(y * f))

// f(u) P (y * z) with all three operands in slots. A non-finite f(u) makes
// the result non-finite too, except in t / f(u), which checks it itself.
#define VORLANE_UMUL(P, U, F, OUTER)                                       \
  case UMulOp(P, U): {                                                     \
    const double y = v[p->c];                                              \
    const double c = (F);                                                  \
    if ((P) == kTOverC && !std::isfinite(c)) [[unlikely]] return false;    \
    const double t = v[p->a] * v[p->b];                                    \
    r = (OUTER);                                       \
    break;                                             \
  }

#define VORLANE_UMUL_OUTER(U, F)            \
  VORLANE_UMUL(kCPlusT, U, F, c + t)        \
  VORLANE_UMUL(kCMinusT, U, F, c - t)       \
  VORLANE_UMUL(kTMinusC, U, F, t - c)       \
  VORLANE_UMUL(kCTimesT, U, F, c * t)       \
  VORLANE_UMUL(kTOverC, U, F, t / c)

#define VORLANE_FUSED_OUTER(Q, T)                  \
  VORLANE_FUSED(kCPlusT, Q, c + (T))               \
  VORLANE_FUSED(kCMinusT, Q, c - (T))              \
  VORLANE_FUSED(kTMinusC, Q, (T) - c)              \
  VORLANE_FUSED(kCTimesT, Q, c * (T))              \
  VORLANE_FUSED(kTOverC, Q, (T) / c)

// c P y^(u - w): the difference is a row of its own and faults by itself.
#define VORLANE_POWSUB(P, OUTER)                                \
  case PowSubOp(P): {                                           \
    const double z = v[p->b] - v[p->code];                      \
    if (!std::isfinite(z)) [[unlikely]] return false;           \
    const double c = v[p->c], t = Power(v[p->a], z);            \
    r = (OUTER);                                                \
    break;                                                      \
  }

#if defined(__GNUC__)
#define VORLANE_ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define VORLANE_ALWAYS_INLINE inline
#endif

// The evaluator's state is read through `ev` only: one register for all of it.
VORLANE_ALWAYS_INLINE bool Runners::Execute(clsExprEvaluator& ev, double& result) {
  double* const v = ev.program_.values.data();
  const double& f = ev.angleFactor_;  // read where used: no copy kept on the stack
  const Ins* p = ev.program_.code.data();
  double acc = 0.0;
  for (;; ++p) {
    double r;
    switch (p->op) {
      VORLANE_BINARY(kOpAdd, x + y)
      VORLANE_BINARY(kOpSub, x - y)
      VORLANE_BINARY(kOpMul, x * y)
      VORLANE_BINARY(kOpDiv, x / y)
      VORLANE_BINARY(kOpPow, Power(x, y))
      VORLANE_BINARY(kOpGt, x > y ? 1.0 : 0.0)
      VORLANE_BINARY(kOpGe, x >= y ? 1.0 : 0.0)
      VORLANE_BINARY(kOpLt, x < y ? 1.0 : 0.0)
      VORLANE_BINARY(kOpLe, x <= y ? 1.0 : 0.0)
      VORLANE_BINARY(kOpEq, x == y ? 1.0 : 0.0)
      VORLANE_BINARY(kOpNe, x != y ? 1.0 : 0.0)
      VORLANE_BINARY(kOpMin, x >= y ? y : x)
      VORLANE_BINARY(kOpMax, x < y ? y : x)
      VORLANE_BINARY(kOpRound, y == 0.0 ? RoundHalfUp(x) : Call(p, acc, ev))
      VORLANE_UNARY(kOpSqrt, std::sqrt(x))
      VORLANE_UNARY(kOpExp, std::exp(x))
      VORLANE_UNARY(kOpLog, x > 0 ? std::log(x) : kNaN)
      VORLANE_UNARY(kOpSin, std::sin(x * f))
      VORLANE_UNARY(kOpCos, std::cos(x * f))
      VORLANE_UNARY(kOpTan, std::tan(x * f))
      VORLANE_UNARY(kOpAbs, std::fabs(x))
      VORLANE_UNARY(kOpNeg, -x)
      VORLANE_UNARY(kOpInt, Floor(x))
      VORLANE_UNARY(kOpFix, std::trunc(x))
      VORLANE_UNARY(kOpPowN, PowN(x, p->n))
      VORLANE_UNARY(kOpMulPowN, v[p->b] * PowN(x, p->n))
      case kOpAddMulPowN: r = v[p->c] + v[p->b] * PowN(v[p->a], p->n); break;
      case UnaryOp(kOpAddMulPowN, true): r = acc + v[p->b] * PowN(v[p->a], p->n); break;
      case kOpSubMulPowN: r = v[p->c] - v[p->b] * PowN(v[p->a], p->n); break;
      case UnaryOp(kOpSubMulPowN, true): r = acc - v[p->b] * PowN(v[p->a], p->n); break;
      VORLANE_FUSED_OUTER(kQAdd, y + z)
      VORLANE_FUSED_OUTER(kQSub, y - z)
      VORLANE_FUSED_OUTER(kQMul, y * z)
      VORLANE_FUSED_OUTER(kQDiv, y / z)
      VORLANE_FUSED_OUTER(kQPow, Power(y, z))
      VORLANE_UFUSED_OUTER(kUSqrt, std::sqrt(y))
      VORLANE_UFUSED_OUTER(kUExp, std::exp(y))
      VORLANE_UFUSED_OUTER(kULog, y > 0 ? std::log(y) : kNaN)
      VORLANE_UFUSED_OUTER(kUSin, std::sin(y * f))
      VORLANE_UFUSED_OUTER(kUCos, std::cos(y * f))
      VORLANE_CONDTIMES(kUSqrt, std::sqrt(y))
      VORLANE_CONDTIMES(kUExp, std::exp(y))
      VORLANE_CONDTIMES(kULog, y > 0 ? std::log(y) : kNaN)
      VORLANE_CONDTIMES(kUSin, std::sin(y * f))
      VORLANE_CONDTIMES(kUCos, std::cos(y * f))
      VORLANE_CMPTIMES_ALL(0, x > w)
      VORLANE_CMPTIMES_ALL(1, x >= w)
      VORLANE_CMPTIMES_ALL(2, x < w)
      VORLANE_CMPTIMES_ALL(3, x <= w)
      VORLANE_CMPTIMES_ALL(4, x == w)
      VORLANE_CMPTIMES_ALL(5, x != w)
      VORLANE_UMUL_OUTER(kUSqrt, std::sqrt(y))
      VORLANE_UMUL_OUTER(kUExp, std::exp(y))
      VORLANE_UMUL_OUTER(kULog, y > 0 ? std::log(y) : kNaN)
      VORLANE_UMUL_OUTER(kUSin, std::sin(y * f))
      VORLANE_UMUL_OUTER(kUCos, std::cos(y * f))
      // (u * w) P (y * z), P in the order of FuseOuter.
      case ProdOp(kCPlusT): r = v[p->c] * v[p->code] + v[p->a] * v[p->b]; break;
      case ProdOp(kCMinusT): r = v[p->c] * v[p->code] - v[p->a] * v[p->b]; break;
      case ProdOp(kTMinusC): r = v[p->a] * v[p->b] - v[p->c] * v[p->code]; break;
      case ProdOp(kCTimesT): r = (v[p->c] * v[p->code]) * (v[p->a] * v[p->b]); break;
      VORLANE_POWSUB(kCPlusT, c + t)
      VORLANE_POWSUB(kCMinusT, c - t)
      VORLANE_POWSUB(kTMinusC, t - c)
      VORLANE_POWSUB(kCTimesT, c * t)
      VORLANE_POWSUB(kTOverC, t / c)
      case kOpCall:
        r = Call(p, acc, ev);
        if (p->n & kCallHasMore) {
          if (!Finite(r)) [[unlikely]] return false;
          v[p->dst] = acc = r;
          ++p;
          continue;
        }
        break;
      VORLANE_UNARY(kOpClip, v[p->b] > v[p->c] ? kNaN : (x < v[p->b] ? v[p->b] : (x > v[p->c] ? v[p->c] : x)))
      VORLANE_CMPSKIP(0, x > y)
      VORLANE_CMPSKIP(1, x >= y)
      VORLANE_CMPSKIP(2, x < y)
      VORLANE_CMPSKIP(3, x <= y)
      VORLANE_CMPSKIP(4, x == y)
      VORLANE_CMPSKIP(5, x != y)
      case kOpSkip:
        if (v[p->a] == 0.0) {
          // The rows under a condition that does not hold give 0.
          for (int k = 1; k <= p->n; ++k) {
            if (p[k].op != kOpCallMore) v[p[k].dst] = 0.0;
          }
          acc = 0.0;
          p += p->n;
        }
        continue;
      case kOpEnd:
        result = p->a == kAcc ? acc : v[p->a];
        return true;
      case kOpEndRound: {
        // round(acc, digits) as the end: no slot written.
        const double r = v[p->b] == 0.0 ? RoundHalfUp(acc) : Call(p, acc, ev);
        if (!Finite(r)) [[unlikely]] return false;
        result = r;
        return true;
      }
      default:
        // The program holds only the kinds above: no range check needed.
#if defined(__GNUC__)
        __builtin_unreachable();
#else
        return false;
#endif
    }
    if (!p->unchecked && !Finite(r)) [[unlikely]] return false;
    v[p->dst] = acc = r;
    continue;
  compared:
    // A condition: when it does not hold, the rows under it give 0.
    v[p->dst] = acc = r;
    if (r == 0.0) {
      for (int k = 1; k <= p->n; ++k) {
        if (p[k].op != kOpCallMore) v[p[k].dst] = 0.0;
      }
      p += p->n;
    }
  }
}

// The loop over the instructions, for every program without a runner of
// its own.
double Runners::Loop(clsExprEvaluator& ev) {
  ev.rndBefore_ = ev.rndState_;
  double result;
  if (Execute(ev, result)) [[likely]] return result;
  return Fault(ev);
}

}  // namespace vorlane::expr

namespace vorlane {

bool clsExprEvaluator::Run(double& result) {
  rndBefore_ = rndState_;
  return expr::Runners::Execute(*this, result);
}

}  // namespace vorlane
