// The value of a constant expression without compiling it: plain numbers,
// + - * /, round brackets and calls of pure functions of one or two
// arguments, which the compiler would compute entirely at compile time.
// Internal to the evaluator; the generation uses it for its brace groups.
#pragma once

#include <string_view>

namespace vorlane::expr {

// `text` is a brace group, "{100+Mod(37, 50)}". True with the value that
// StoreExpression and Eval give, bit for bit: every operation is the one the
// compiler folds (Compute), in the same order. False for anything else (any
// name but a pure function called with brackets, a sign, a unit, blanks
// inside a number, ...), for a division by zero and for a result that is no
// finite number; the evaluator then takes the text, with its own messages.
bool QuickConstant(std::string_view text, double& value);

}  // namespace vorlane::expr
