// The storage of a compiled expression (Program in ExprProgram.h): one
// block for the values, instructions, variables and characters, copied and
// moved with the evaluator.
#include <algorithm>
#include <new>
#include <string>
#include <utility>

#include "evaluator/ExprProgram.h"

namespace vorlane::expr {

void Program::CopyFacts(const Program& other) {
  result = other.result;
  resultInAcc = other.resultInAcc;
  hasRandom = other.hasRandom;
  run = other.run;
  one = other.one;
}

Program& Program::operator=(const Program& other) {
  if (this == &other) return *this;
  Layout(other.values.size(), other.code.size(), other.vars.size(), other.chars.size());
  std::copy(other.values.begin(), other.values.end(), values.data());
  std::copy(other.code.begin(), other.code.end(), code.data());
  std::copy(other.vars.begin(), other.vars.end(), vars.data());
  std::copy(other.chars.begin(), other.chars.end(), chars.data());
  textSize = other.textSize;
  CopyFacts(other);
  return *this;
}

Program& Program::operator=(Program&& other) noexcept {
  if (this == &other) return *this;
  ::operator delete(block_);
  ::operator delete(codeBlock_);
  // The members, spans included: they point into the blocks, which stay.
  block_ = std::exchange(other.block_, nullptr);
  capacity_ = std::exchange(other.capacity_, 0);
  codeBlock_ = std::exchange(other.codeBlock_, nullptr);
  codeCapacity_ = std::exchange(other.codeCapacity_, 0);
  values = std::exchange(other.values, {});
  code = std::exchange(other.code, {});
  vars = std::exchange(other.vars, {});
  chars = std::exchange(other.chars, {});
  textSize = std::exchange(other.textSize, 0);
  CopyFacts(other);
  return *this;
}

namespace {

// Blocks up to this size stay below the allocator's large requests.
inline constexpr std::size_t kSmallBlock = 1000;

// A block of at least `bytes`, the one held when it is large enough.
unsigned char* Reserve(void*& block, std::size_t& capacity, std::size_t bytes) {
  if (bytes > capacity) {
    ::operator delete(block);
    block = nullptr;
    capacity = 0;
    block = ::operator new(bytes);
    capacity = bytes;
  }
  return static_cast<unsigned char*>(block);
}

}  // namespace

void Program::Layout(std::size_t valueCount, std::size_t codeCount, std::size_t varCount, std::size_t charCount) {
  static_assert(sizeof(Ins) % alignof(Variable) == 0 && alignof(Variable) <= alignof(double));
  Clear();
  const std::size_t codeBytes = codeCount * sizeof(Ins);
  const std::size_t otherBytes = valueCount * sizeof(double) + varCount * sizeof(Variable) + charCount;
  const bool apart = codeBytes + otherBytes > kSmallBlock;
  // The values first, then the instructions (unless apart), the variables
  // and the characters.
  unsigned char* at = Reserve(block_, capacity_, otherBytes + (apart ? 0 : codeBytes));
  values = {reinterpret_cast<double*>(at), valueCount};
  at += valueCount * sizeof(double);
  if (apart) {
    code = {reinterpret_cast<Ins*>(Reserve(codeBlock_, codeCapacity_, codeBytes)), codeCount};
  } else {
    code = {reinterpret_cast<Ins*>(at), codeCount};
    at += codeBytes;
  }
  vars = {reinterpret_cast<Variable*>(at), varCount};
  chars = {reinterpret_cast<char*>(at + varCount * sizeof(Variable)), charCount};
}

void Program::StoreVariables(const Table& t, std::string_view text, const std::int32_t* varSlot) {
  std::copy(text.begin(), text.end(), chars.data());
  textSize = text.size();
  std::size_t at = text.size();
  for (int i = 1; i <= t.VarTop(); ++i) {
    const std::string& name = t.varNames[i];
    std::copy(name.begin(), name.end(), chars.data() + at);
    Variable& v = vars[i - 1];
    v.value = 0.0;
    v.slot = varSlot != nullptr ? varSlot[2 * i] : -1;
    v.negSlot = varSlot != nullptr ? varSlot[2 * i + 1] : -1;
    v.nameAt = static_cast<std::uint32_t>(at);
    v.nameSize = static_cast<std::uint32_t>(name.size());
    v.assigned = false;
    at += name.size();
  }
}

void Program::StoreUncompiled(const Table& t, std::string_view text) {
  std::size_t chars = text.size();
  for (int v = 1; v <= t.VarTop(); ++v) chars += t.varNames[v].size();
  Layout(0, 0, static_cast<std::size_t>(std::max(t.VarTop(), 0)), chars);
  StoreVariables(t, text, nullptr);
  result = 0;
  run = nullptr;
}

void Program::Clear() {
  textSize = 0;
  values = {};
  code = {};
  vars = {};
  chars = {};
}

}  // namespace vorlane::expr
