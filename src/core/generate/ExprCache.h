// The brace groups of one generation run, compiled once per distinct text.
// Entries hold compiled expressions, never values: every group is still
// evaluated where it stands. Texts that call "rnd" are compiled into the
// run's shared evaluator each time, so that the random sequence runs on as
// it does without the cache. The cache keeps at most twice its capacity:
// when the newer half fills, the older half is dropped.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vorlane {

class clsExprEvaluator;

class ExprCache {
 public:
  static constexpr std::size_t kDefaultCapacity = 1024;

  ExprCache();
  ~ExprCache();
  ExprCache(const ExprCache&) = delete;
  ExprCache& operator=(const ExprCache&) = delete;

  // The evaluator holding `text` compiled, or nullptr when the text does not
  // compile (the reason is then in shared.ErrorDescription()).
  clsExprEvaluator* Compile(std::string_view text, clsExprEvaluator& shared);
  void Clear();

  // Capacity of the caches made from now on; 0 turns caching off (every
  // group compiled into the shared evaluator). For benchmarks.
  static void SetDefaultCapacity(std::size_t capacity);

 private:
  using Map = std::unordered_map<std::string, std::unique_ptr<clsExprEvaluator>>;
  Map recent_;
  Map older_;
  std::size_t capacity_;
};

}  // namespace vorlane
