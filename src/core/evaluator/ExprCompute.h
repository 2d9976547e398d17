// The computation of every function code from its arguments. Internal to
// the evaluator.
#pragma once

#include <cstdint>

#include "evaluator/ExprFunctions.h"

namespace vorlane::expr {

// The next value of "rnd"'s generator, in [0, 1).
double NextRandom(std::uint32_t& state);

// The result of one row with the given code from its arguments a[0..5]; `f`
// is the angle factor. NaN or an infinity is a fault. The switch has no
// default: a code without its case fails to compile (-Wswitch).
#if defined(__GNUC__)
__attribute__((noinline))
#endif
double Compute(Code code, const double* a, double f, std::uint32_t& rndState);

}  // namespace vorlane::expr
