#include "generate/ExprCache.h"

#include <algorithm>
#include <atomic>
#include <functional>

#include "evaluator/clsExprEvaluator.h"

namespace vorlane {

namespace {

std::atomic<std::size_t> g_defaultCapacity{ExprCache::kDefaultCapacity};

bool CallsRandom(std::string_view text) {
  for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
    if ((text[i] | 0x20) == 'r' && (text[i + 1] | 0x20) == 'n' && (text[i + 2] | 0x20) == 'd') return true;
  }
  return false;
}

std::size_t IndexSize(std::size_t capacity) {
  std::size_t size = 1;
  while (size < 2 * capacity) size *= 2;
  return size;
}

}  // namespace

ExprCache::ExprCache() : capacity_(g_defaultCapacity.load()) {
  if (capacity_ > 0) index_.assign(IndexSize(capacity_), -1);
}

ExprCache::~ExprCache() = default;

void ExprCache::SetDefaultCapacity(std::size_t capacity) { g_defaultCapacity = capacity; }

void ExprCache::Clear() {
  std::fill(index_.begin(), index_.end(), -1);
  next_ = 0;
}

clsExprEvaluator* ExprCache::Compile(std::string_view text, clsExprEvaluator& shared) {
  if (capacity_ == 0 || CallsRandom(text)) return shared.StoreExpression(text) ? &shared : nullptr;
  const std::size_t hash = std::hash<std::string_view>{}(text);
  const std::size_t mask = index_.size() - 1;
  std::size_t at = hash & mask;
  for (; index_[at] >= 0; at = (at + 1) & mask) {
    const Entry& e = entries_[static_cast<std::size_t>(index_[at])];
    if (e.hash == hash && e.text == text) return e.evaluator.get();
  }
  if (next_ == capacity_) {
    // The ring is full: start afresh, reusing the evaluators in turn.
    Clear();
    at = hash & mask;
  }
  if (next_ == entries_.size()) entries_.emplace_back();
  Entry& entry = entries_[next_];
  if (!entry.evaluator) entry.evaluator = std::make_unique<clsExprEvaluator>();
  if (!entry.evaluator->StoreExpression(text)) {
    // The shared evaluator carries the reason, as without the cache.
    shared.StoreExpression(text);
    return nullptr;
  }
  entry.text.assign(text);
  entry.hash = hash;
  index_[at] = static_cast<std::int32_t>(next_++);
  return entry.evaluator.get();
}

}  // namespace vorlane
