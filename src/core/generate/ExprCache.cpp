#include "generate/ExprCache.h"

#include <atomic>

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

}  // namespace

ExprCache::ExprCache() : capacity_(g_defaultCapacity.load()) {}
ExprCache::~ExprCache() = default;

void ExprCache::SetDefaultCapacity(std::size_t capacity) { g_defaultCapacity = capacity; }

void ExprCache::Clear() {
  recent_.clear();
  older_.clear();
}

clsExprEvaluator* ExprCache::Compile(std::string_view text, clsExprEvaluator& shared) {
  if (capacity_ == 0 || CallsRandom(text)) return shared.StoreExpression(text) ? &shared : nullptr;
  const std::string key(text);
  if (auto hit = recent_.find(key); hit != recent_.end()) return hit->second.get();
  std::unique_ptr<clsExprEvaluator> entry;
  if (auto old = older_.find(key); old != older_.end()) {
    entry = std::move(old->second);
    older_.erase(old);
  } else {
    entry = std::make_unique<clsExprEvaluator>();
    if (!entry->StoreExpression(text)) {
      // The shared evaluator carries the reason, as without the cache.
      shared.StoreExpression(text);
      return nullptr;
    }
  }
  if (recent_.size() >= capacity_) {
    older_ = std::move(recent_);
    recent_.clear();
  }
  return recent_.emplace(key, std::move(entry)).first->second.get();
}

}  // namespace vorlane
