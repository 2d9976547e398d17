// The brace groups of one generation run, compiled once per distinct text.
// Entries hold compiled expressions, never values: every group is still
// evaluated where it stands. Texts that call "rnd" are compiled into the
// run's shared evaluator each time, so that the random sequence runs on as
// it does without the cache.
//
// The cache holds at most `capacity` expressions in a ring of evaluators that
// are compiled again in place (their storage reused), found through an open
// hash index; when the ring is full, the index starts afresh. A text seen
// once thus costs one compile, as it does without the cache.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vorlane {

class clsExprEvaluator;

class ExprCache {
 public:
  static constexpr std::size_t kDefaultCapacity = 2048;

  ExprCache();
  ~ExprCache();
  ExprCache(const ExprCache&) = delete;
  ExprCache& operator=(const ExprCache&) = delete;

  // The evaluator holding `text` compiled, or nullptr when the text does not
  // compile (the reason is then in shared.ErrorDescription()).
  clsExprEvaluator* Compile(std::string_view text, clsExprEvaluator& shared);
  // Forgets every text (the storage stays for the next run).
  void Clear();

  // Capacity of the caches made from now on; 0 turns caching off (every
  // group compiled into the shared evaluator). For benchmarks.
  static void SetDefaultCapacity(std::size_t capacity);

 private:
  struct Entry {
    std::string text;
    std::size_t hash = 0;
    std::unique_ptr<clsExprEvaluator> evaluator;
  };
  std::size_t capacity_;
  std::vector<Entry> entries_;       // the ring, grown up to capacity_
  std::size_t next_ = 0;             // the ring's next entry to fill
  std::vector<std::int32_t> index_;  // open hash index into entries_, -1 empty
};

}  // namespace vorlane
