// The expression table: what the compiler builds from the text, one row per
// operation, with the schedule that evaluates it. The table is the reference
// form of a compiled expression: the diagnostic dump shows it, and the
// evaluation runs it (RunTable) to name the row of a fault. Eval itself runs
// the Program built from it. Internal to the evaluator.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace vorlane::expr {

// Priorities of the operations: each bracket level adds kPriBracket; the
// operators of one level bind in this order.
inline constexpr int kPriBracket = 10;
inline constexpr int kPriFunction = 0;    // a function's own row
inline constexpr int kPriComparison = 1;
inline constexpr int kPriSum = 2;         // + -
inline constexpr int kPriProduct = 3;     // * / \ and implicit products
inline constexpr int kPriPower = 4;       // ^
inline constexpr int kPriPostfix = 9;     // ! %
inline constexpr int kPriCondition = 100; // added to rows feeding a condition
inline constexpr int kArgSlots = 6;       // argument slots per row

struct Arg {
  std::int32_t idx = 0;   // variable feeding this argument, 0 if none
  std::int32_t sign = 0;  // +1 or -1 written in front of that variable
};

// A row's name, held in place: function names, operators and the internal
// names are short, and a row with no heap member costs nothing to make or
// drop. Longer texts (only ever a faulty comparison) are cut.
class RowName {
 public:
  static constexpr std::size_t kCapacity = 15;
  RowName& operator=(std::string_view text) {
    size_ = static_cast<unsigned char>(std::min(text.size(), kCapacity));
    if (size_ == 1) {
      text_[0] = text[0];  // operators: no call to copy one character
    } else {
      std::copy_n(text.data(), size_, text_);
    }
    return *this;
  }
  void assign(std::string_view text) { *this = text; }
  std::string_view view() const { return {text_, size_}; }
  operator std::string_view() const { return view(); }  // NOLINT: implicit by design
  friend bool operator==(const RowName& a, std::string_view b) { return a.view() == b; }

 private:
  char text_[kCapacity] = {};
  unsigned char size_ = 0;
};

struct Row {
  RowName fun;  // name as written, or "Neg", "abs", "@Right"
  std::int32_t funCode = 0;
  Arg arg[kArgSlots];
  std::int32_t argTop = 0;
  std::int32_t argOf = 0;
  std::int32_t argIdx = 0;
  std::int32_t sign = 0;
  std::int32_t posInExpr = 0;
  std::int32_t priLvl = 0;
  std::int32_t order = 0;  // scheduling key: 2 x priLvl, odd for a chain's product
  std::int32_t priIdx = 0;
  std::int32_t cond = 0;
};

// What gives an argument slot its value. Not a character type, so that
// the compiler knows its stores leave every other member alone.
enum class Given : unsigned char {
  kNone,
  kConstant,   // written in the expression, or computed once
  kDelivered,  // by a row running at evaluation time
  kVariable,   // a variable's value
};

// One row of the evaluation schedule.
struct Step {
  std::int32_t code;  // function code of the row
  std::int32_t args;  // its arguments: the slots row * 6 .. row * 6 + 5
  std::int32_t dest;  // slot receiving the result
  std::int32_t cond;  // slot of the condition's value (a slot holding 1 if none)
  std::int32_t row;
  bool negate;
};

// An argument fed by a variable.
struct Load {
  std::int32_t slot;
  std::int32_t var;
  double sign;
};

// A vector of at most N elements stored in place: the table lives on the
// stack while it is compiled and costs no allocation. Exceeding N throws
// std::bad_alloc, which StoreExpression reports as "Expression too long".
template <typename T, std::size_t N>
class FixedVector {
 public:
  FixedVector() = default;
  FixedVector(const FixedVector&) = delete;
  FixedVector& operator=(const FixedVector&) = delete;
  ~FixedVector() { clear(); }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T* data() { return reinterpret_cast<T*>(storage_); }
  const T* data() const { return reinterpret_cast<const T*>(storage_); }
  T& operator[](std::size_t i) { return data()[i]; }
  const T& operator[](std::size_t i) const { return data()[i]; }
  T* begin() { return data(); }
  T* end() { return data() + size_; }
  const T* begin() const { return data(); }
  const T* end() const { return data() + size_; }
  T& back() { return data()[size_ - 1]; }
  void pop_back() {
    --size_;
    data()[size_].~T();
  }

  template <typename... Args>
  T& emplace_back(Args&&... args) {
    if (size_ >= N) throw std::bad_alloc();
    T* item = new (data() + size_) T(std::forward<Args>(args)...);
    ++size_;
    return *item;
  }
  // Copied member by member into place: a block copy of a value just built
  // on the stack would wait for its stores to retire.
  void push_back(const T& value) { emplace_back(value); }
  // One more element left as its storage holds it: the caller writes every
  // member that is ever read.
  T& push_uninitialized() {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);
    if (size_ >= N) throw std::bad_alloc();
    return data()[size_++];
  }
  void clear() {
    if constexpr (!std::is_trivially_destructible_v<T>) {
      for (std::size_t i = 0; i < size_; ++i) data()[i].~T();
    }
    size_ = 0;
  }
  void resize(std::size_t n, const T& value) {
    while (size_ > n) {
      --size_;
      data()[size_].~T();
    }
    if (n > N) throw std::bad_alloc();
    if constexpr (std::is_trivially_copyable_v<T>) {
      std::fill(data() + size_, data() + n, value);
      size_ = n;
    } else {
      for (T* p = data() + size_; size_ < n; ++p, ++size_) new (p) T(value);
    }
  }
  // n more copies of value. Inline: the compiler appends the slots of each
  // row it makes.
  [[gnu::always_inline]] void append(std::size_t n, const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    if (n > N - size_) throw std::bad_alloc();
    std::fill_n(data() + size_, n, value);
    size_ += n;
  }
  void assign(std::size_t n, const T& value) {
    clear();
    resize(n, value);
  }

 private:
  alignas(T) unsigned char storage_[N * sizeof(T)];
  std::size_t size_ = 0;
};

inline constexpr std::size_t kTableRows = 201;  // rows 0..199 and one to spare
inline constexpr std::size_t kTableSlots = kTableRows * kArgSlots + 2;

struct Table {
  FixedVector<Row, kTableRows> rows;  // 0..top, row 0 unused
  // 6 argument slots per row; then the root's result and a constant 1.
  // A row's value lives in the slot it delivers to.
  FixedVector<double, kTableSlots> values;
  FixedVector<Given, kTableSlots> given;  // what gives each slot its value
  FixedVector<std::string, 102> varNames;  // 0..VarTop, slot 0 unused
  FixedVector<Step, kTableRows> steps;      // evaluation schedule, constant rows left out
  FixedVector<Load, kTableSlots> loads;
  // Each row's position in the schedule, the inverse of priIdx; 0 for row 0.
  std::int32_t place[kTableRows];
  // The lowest and highest key (Row::order) of the rows, set by the
  // compiler once the text is read.
  int orderLo, orderHi;
  bool hasRandom = false;
  bool hasComparison = false;
  bool hasLongFunction = false;  // a function of more than two arguments

  int Top() const { return static_cast<int>(rows.size()) - 1; }
  int VarTop() const { return static_cast<int>(varNames.size()) - 1; }
  int ResultSlot() const { return static_cast<int>(rows.size()) * kArgSlots; }
  // The slot that receives the result of a row: an argument of the row it
  // feeds, or for the root the slot after all rows.
  int DestSlot(int row) const {
    const Row& r = rows[row];
    return r.argOf > 0 ? r.argOf * kArgSlots + r.argIdx - 1 : ResultSlot();
  }
};

// Compiles `text` (already trimmed) into `table`, reusing its storage. False
// with the reason in `error` on failure; the table then holds what was built.
// With kTable the table is scheduled and holds its steps and loads; with
// kForProgram it is left for BuildProgram, which schedules it on its way
// and may still fail (ExprScheduleRows.h).
enum class Use { kTable, kForProgram };
bool CompileTable(std::string_view text, Table& table, std::string& error, Use use = Use::kTable);

// Without comparisons (conditions, chains of them) and without functions
// of more than two arguments, nothing changes the links after Link.
inline bool FinalLinks(const Table& t) { return !t.hasComparison && !t.hasLongFunction; }

// Copies variable values (index 1..) into the slots of the table, or one
// value into every variable slot.
void LoadTable(Table& t, const double* varValues);
void LoadTableAll(Table& t, double x);
// Runs the schedule; on a fault false, with the evaluation error of the row.
bool RunTable(Table& t, double angleFactor, std::uint32_t& rndState, double& result, std::string& error);

}  // namespace vorlane::expr
