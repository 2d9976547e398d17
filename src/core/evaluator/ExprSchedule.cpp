// The scheduling stages of the road from the expression table to an
// evaluation order (ExprScheduleRows.h): the order by priority, the links
// that deliver each row's result, conditional evaluation, the rewriting of
// functions of more than two arguments and the check of the order.
#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "evaluator/ExprFunctions.h"
#include "evaluator/ExprMessages.h"
#include "evaluator/ExprScheduleRows.h"
#include "evaluator/ExprTable.h"
#include "evaluator/clsExprEvaluator.h"

namespace vorlane::expr {

namespace {

constexpr int kRowLimit = clsExprEvaluator::kMaxRows + 2;

bool Internal(std::string& error, std::string_view what) {
  error = Message(Msg::kInternal, what);
  return false;
}

}  // namespace

// PriIdx: rows by priority, highest first; equal priorities keep table order.
// A formula has few distinct priorities, usually close together: the rows
// are counted into one bucket per key of the range, or else per distinct
// key, in table order. Beyond kBuckets priorities, a merge sort on the
// stack, stable as well.
void Schedule(Table& t) {
  int lo = t.rows[1].order, hi = lo;
  for (int k = 2; k <= t.Top(); ++k) {
    lo = std::min(lo, t.rows[k].order);
    hi = std::max(hi, t.rows[k].order);
  }
  Schedule(t, lo, hi);
}

void Schedule(Table& t, int lo, int hi) {
  auto& rows = t.rows;
  const int top = t.Top();
  t.place[0] = 0;  // no row: before every row
  constexpr int kRange = 64;
  if (hi - lo < kRange) {
    int start[kRange + 1];
    std::fill(start, start + (hi - lo) + 2, 0);
    for (int k = 1; k <= top; ++k) ++start[hi - rows[k].order + 1];
    for (int b = 1; b <= hi - lo; ++b) start[b] += start[b - 1];
    for (int k = 1; k <= top; ++k) {
      const int p = 1 + start[hi - rows[k].order]++;
      rows[p].priIdx = k;
      t.place[k] = p;
    }
    return;
  }
  constexpr int kBuckets = 16;
  int keys[kBuckets];
  int count[kBuckets + 1] = {};
  int bucket[kRowLimit];
  int distinct = 0;
  for (int k = 1; k <= top && distinct <= kBuckets; ++k) {
    const int key = rows[k].order;
    int b = 0;
    while (b < distinct && keys[b] != key) ++b;
    if (b == distinct && distinct++ < kBuckets) keys[b] = key;
    bucket[k] = b;
  }
  if (distinct <= kBuckets) {
    // Bucket b goes after every bucket of a higher priority.
    int rank[kBuckets];
    for (int b = 0; b < distinct; ++b) {
      rank[b] = 0;
      for (int c = 0; c < distinct; ++c) rank[b] += keys[c] > keys[b];
    }
    for (int k = 1; k <= top; ++k) ++count[rank[bucket[k]] + 1];
    for (int b = 1; b < distinct; ++b) count[b] += count[b - 1];
    for (int k = 1; k <= top; ++k) {
      const int p = 1 + count[rank[bucket[k]]]++;
      rows[p].priIdx = k;
      t.place[k] = p;
    }
    return;
  }
  int a[kRowLimit], b[kRowLimit];
  for (int k = 1; k <= top; ++k) a[k - 1] = k;
  int* from = a;
  int* to = b;
  auto key = [&](int r) { return rows[r].order; };
  for (int width = 1; width < top; width *= 2) {
    for (int lo = 0; lo < top; lo += 2 * width) {
      const int mid = std::min(lo + width, top), hi = std::min(lo + 2 * width, top);
      int i = lo, j = mid, o = lo;
      while (i < mid && j < hi) to[o++] = key(from[j]) > key(from[i]) ? from[j++] : from[i++];
      while (i < mid) to[o++] = from[i++];
      while (j < hi) to[o++] = from[j++];
    }
    std::swap(from, to);
  }
  for (int k = 1; k <= top; ++k) {
    rows[k].priIdx = from[k - 1];
    t.place[from[k - 1]] = k;
  }
}

// Each row delivers its result to the nearer-binding of its neighbours
// still unlinked when its turn comes in the schedule: the right one when it
// binds more strongly, else the left one. Those neighbours are the nearest
// row to the left of a lower key and the nearest to the right of a key not
// higher (rows of equal keys go left to right), found for all rows in one
// pass with a stack of rows of rising keys.
bool Link(Table& t, std::string& error) {
  auto& rows = t.rows;
  const int top = t.Top();
  // The delivered argument holds no operand of its own; with functions of
  // more than two arguments still to be rewritten, the compiler clears
  // those arguments once the links are final. Without those functions and
  // without comparisons the links are final here, and the delivered
  // arguments are marked too (see CheckOrder).
  const bool clear = !t.hasLongFunction;
  const bool mark = FinalLinks(t);
  Given* const given = t.given.data();
  bool twice = false;
  auto deliver = [&](int j, int to, int idx) {
    rows[j].argOf = to;
    rows[j].argIdx = idx;
    if (clear) rows[to].arg[idx - 1] = Arg{};
    if (mark) {
      Given& g = given[to * 6 + idx - 1];
      twice |= g == Given::kDelivered;
      g = Given::kDelivered;
    }
  };
  auto toLeft = [&](int j, int left) { deliver(j, left, std::min(rows[left].argTop, 2)); };
  // Rows of rising keys, above a bottom entry of no row and the lowest key;
  // each row's left neighbour is the entry below it.
  int stack[kRowLimit + 1];
  int stackKey[kRowLimit + 1];
  stack[0] = 0;
  stackKey[0] = std::numeric_limits<int>::min();
  int height = 1;
  for (int j = 1; j <= top; ++j) {
    const int key = rows[j].order;
    // The rows of a key not lower than j's have j as their right neighbour.
    while (stackKey[height - 1] >= key) {
      const int r = stack[--height];
      if (stackKey[height - 1] < key) {  // also when r has no left neighbour
        deliver(r, j, 1);
      } else {
        toLeft(r, stack[height - 1]);
      }
    }
    stack[height] = j;
    stackKey[height] = key;
    ++height;
  }
  // The rest have no right neighbour; the first of them is the root.
  for (int h = 2; h < height; ++h) toLeft(stack[h], stack[h - 1]);
  return twice ? Internal(error, "argument delivered twice") : true;
}

// (x>0)*log(x): the rows under the other factor of a product with a
// comparison run only when the comparison holds.
void BuildConditions(Table& t) {
  auto& rows = t.rows;
  const int top = t.Top();
  struct Condition {
    int row;
    int target;
  };
  if (!t.hasComparison) return;
  std::vector<Condition> conditions;
  std::vector<unsigned char> isCondition(top + 1, 0);
  for (int i = 1; i <= top; ++i) {
    if (!IsComparison(rows[i].funCode)) continue;
    isCondition[i] = 1;
    auto same = std::find_if(conditions.begin(), conditions.end(),
                             [&](const Condition& c) { return c.target == rows[i].argOf; });
    if (same != conditions.end() && same->target > 0) {
      // A product of two comparisons is one condition.
      isCondition[same->target] = 1;
      same->row = same->target;
      same->target = rows[same->target].argOf;
    } else {
      conditions.push_back({i, rows[i].argOf});
    }
  }
  if (conditions.empty()) return;

  enum : unsigned char { kNone, kOutside, kConditional };
  std::vector<unsigned char> flag(top + 1);
  for (const Condition& c : conditions) {
    if (c.target <= 0 || rows[c.target].funCode != kMul || rows[c.target].fun != "*") continue;
    std::fill(flag.begin(), flag.end(), kNone);
    for (int i = 1; i <= top; ++i) {
      int cur = i;
      for (int steps = 0; steps <= top && cur > 0; ++steps) {
        if (flag[cur] == kOutside || rows[cur].argOf == 0) {
          flag[i] = kOutside;
          break;
        }
        if (isCondition[cur]) {
          rows[i].priLvl += 100;
          rows[i].order += 200;
          break;
        }
        if (flag[cur] == kConditional || rows[cur].argOf == c.target) {
          flag[i] = kConditional;
          rows[i].cond = c.row;
          break;
        }
        cur = rows[cur].argOf;
      }
    }
  }
  Schedule(t);
}

// f(a1, ..., an) was stored as n - 1 rows of f, each passing its result to
// the next; the later rows become "@Right" rows delivering a3 .. an to the
// first, which then runs last.
bool ChainExtraArguments(Table& t, std::string& error) {
  auto& rows = t.rows;
  const int top = t.Top();
  for (int i = 1; i <= top; ++i) {
    if (rows[i].argTop <= 2) continue;
    int c = i;
    for (int m = 3; m <= rows[i].argTop; ++m) {
      c = rows[i].argOf;
      if (c <= 0 || c > top) return Internal(error, "argument chain");
      rows[i].argOf = rows[c].argOf;
      rows[i].argIdx = rows[c].argIdx;
      rows[c].fun = "@Right";
      rows[c].funCode = kRight;
      rows[c].argTop = 2;
      rows[c].argOf = i;
      rows[c].argIdx = m;
    }
    std::swap(rows[t.place[i]].priIdx, rows[t.place[c]].priIdx);
    std::swap(t.place[i], t.place[c]);
  }
  // The links are final: the delivered arguments hold no operand of their own.
  for (int k = 1; k <= top; ++k) {
    if (rows[k].argOf > 0) rows[rows[k].argOf].arg[rows[k].argIdx - 1] = Arg{};
  }
  return true;
}

// Checks that every row runs after the rows feeding it and after its
// condition, repairing the schedule where chains of comparisons broke that.
// Links made by Link alone need no check: they are in range, deliver to each
// argument at most once (Link marked them) and point up the schedule. Range
// checks as unsigned comparisons: a negative link fails them too.
bool CheckOrder(Table& t, std::string& error) {
  auto& rows = t.rows;
  const int top = t.Top();
  const std::int32_t* const pos = t.place;
  Given* const given = t.given.data();
  const auto utop = static_cast<unsigned>(top);
  bool valid = true;
  for (int r = 1; r <= top; ++r) {
    const Row& row = rows[r];
    const int argOf = row.argOf;
    const int cond = row.cond;
    if ((static_cast<unsigned>(argOf) > utop) | (argOf == r) | (static_cast<unsigned>(cond) > utop) | (cond == r)) {
      return Internal(error, "evaluation order");
    }
    if (argOf > 0) {
      if (static_cast<unsigned>(row.argIdx - 1) >= static_cast<unsigned>(rows[argOf].argTop)) {
        return Internal(error, "evaluation order");
      }
      Given& delivered = given[argOf * 6 + row.argIdx - 1];
      if (delivered == Given::kDelivered) return Internal(error, "argument delivered twice");
      delivered = Given::kDelivered;
      valid &= pos[r] < pos[argOf];
    }
    valid &= pos[cond] < pos[r];  // pos[0] is 0: no condition
  }
  if (valid) return true;
  // The repair takes, at each step, the earliest scheduled row whose inputs
  // are all ready.
  int waiting[kRowLimit];  // inputs not yet evaluated
  unsigned char done[kRowLimit];
  std::fill(waiting, waiting + top + 1, 0);
  std::fill(done, done + top + 1, 0);
  for (int r = 1; r <= top; ++r) {
    if (rows[r].argOf > 0) ++waiting[rows[r].argOf];
    if (rows[r].cond > 0) ++waiting[r];
  }
  for (int k = 1; k <= top; ++k) {
    int next = 0;
    for (int r = 1; r <= top; ++r) {
      if (!done[r] && waiting[r] == 0 && (next == 0 || pos[r] < pos[next])) next = r;
    }
    if (next == 0) return Internal(error, "evaluation order");
    done[next] = 1;
    rows[k].priIdx = next;
    if (rows[next].argOf > 0) --waiting[rows[next].argOf];
    for (int r = 1; r <= top; ++r) {
      if (rows[r].cond == next) --waiting[r];
    }
  }
  return true;
}

bool ScheduleSteps(Table& t, std::string& error) {
  // After the six slots of each row, ScheduleRows adds the slot receiving
  // the root's value and a slot holding 1 that stands for "no condition".
  const int always = (t.Top() + 1) * kArgSlots + 1;
  return ScheduleTable(
      t, error,
      [&](int r, int dest) {
        const Row& row = t.rows[r];
        t.steps.emplace_back(Step{row.funCode, r * kArgSlots, dest, row.cond > 0 ? t.DestSlot(row.cond) : always, r,
                                  row.sign == -1});
      },
      [&](int slot, int var, double sign) { t.loads.emplace_back(Load{slot, var, sign}); });
}

}  // namespace vorlane::expr
