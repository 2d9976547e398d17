#include "evaluator/ExprMessages.h"

namespace vorlane::expr {

namespace {

struct MessageText {
  Msg msg;
  std::string_view text;
};

constexpr MessageText kMessages[] = {
    {Msg::kSyntaxAt, "Syntax error at pos: %1"},
    {Msg::kSyntaxOperand, "Syntax error: %1"},
    {Msg::kFunctionUnknown, "Function < %1 > unknown at pos: %2"},
    {Msg::kTooManyClosing, "Too many closing brackets at pos: %1"},
    {Msg::kNotEnoughClosing, "Not enough closing brackets"},
    {Msg::kTooManyArguments, "Too many arguments at pos: %1"},
    {Msg::kMissingArgument, "missing argument"},
    {Msg::kConstantUnknown, "Constant unknown: %1"},
    {Msg::kNumberOutOfRange, "Number out of range: %1"},
    {Msg::kWrongDms, "Wrong DMS format"},
    {Msg::kTooManyVariables, "too many variables"},
    {Msg::kAbsMismatch, "abs symbols |.| mismatch"},
    {Msg::kTooComplex, "Expression too complex at pos: %1"},
    {Msg::kNestedTooDeeply, "Brackets nested too deeply at pos: %1"},
    {Msg::kTooManyNested, "Too many nested functions at pos: %1"},
    {Msg::kInternal, "Internal error: %1"},
    {Msg::kExpressionTooLong, "Expression too long"},
    {Msg::kEvaluation, "Evaluation error < %1 > at pos: %2"},
    {Msg::kNotAssigned, "Variable < %1 > not assigned"},
    {Msg::kNoVariables, "No variables"},
    {Msg::kVariableNotFound, "Variable not found"},
    {Msg::kOutOfMemory, "Out of memory"},
};

}  // namespace

std::string Message(Msg msg, std::string_view first, std::string_view second) {
  std::string_view text;
  for (const MessageText& m : kMessages) {
    if (m.msg == msg) text = m.text;
  }
  std::string out;
  out.reserve(text.size() + first.size() + second.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
      out += text[i + 1] == '1' ? first : second;
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string Message(Msg msg, int position) { return Message(msg, std::to_string(position)); }

}  // namespace vorlane::expr
