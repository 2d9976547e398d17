// Every text the evaluator leaves in ErrorDescription, in one table. "%1"
// and "%2" stand for the parts filled in: a position, a name, an operand.
// Internal to the evaluator.
#pragma once

#include <string>
#include <string_view>

namespace vorlane::expr {

enum class Msg {
  kSyntaxAt,            // position
  kSyntaxOperand,       // operand text
  kFunctionUnknown,     // name, position
  kTooManyClosing,      // position
  kNotEnoughClosing,
  kTooManyArguments,    // position
  kMissingArgument,
  kConstantUnknown,     // name
  kNumberOutOfRange,    // number text
  kWrongDms,
  kTooManyVariables,
  kAbsMismatch,
  kTooComplex,          // position
  kNestedTooDeeply,     // position
  kTooManyNested,       // position
  kInternal,            // what went wrong
  kExpressionTooLong,
  kEvaluation,          // the failing operation, position
  kNotAssigned,         // variable name
  kNoVariables,
  kVariableNotFound,
  kOutOfMemory,
};

// The text of `msg` with its placeholders filled in.
std::string Message(Msg msg, std::string_view first = {}, std::string_view second = {});
std::string Message(Msg msg, int position);

}  // namespace vorlane::expr
