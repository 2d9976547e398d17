// Generation speed: a weapon component whose every field is a formula with
// brace groups and cross-references, at 99 and at 999 levels (the cost per
// entry must not grow with the number of entries), and the largest grid of
// 32767 cells. The "per_entry" counter is the time per generated entry.
// The second argument is the capacity of the run's cache of compiled brace
// groups: 0 compiles every group that is not a constant computed without
// compiling (the path without the cache). The speed-up against an earlier
// revision, measured side by side: bench/compare_generate.sh.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "BenchDesigns.h"
#include "generate/CompGenerate.h"
#include "generate/ExprCache.h"
#include "generate/FacGenerate.h"
#include "util/MessageSink.h"

namespace {

using namespace vorlane;
using namespace vorlane::bench;

// Sets the capacity of the caches made while it lives.
struct CacheCapacity {
  explicit CacheCapacity(std::int64_t capacity) { ExprCache::SetDefaultCapacity(static_cast<std::size_t>(capacity)); }
  ~CacheCapacity() { ExprCache::SetDefaultCapacity(ExprCache::kDefaultCapacity); }
};

void BM_WeaponLevels(benchmark::State& state) {
  const vrlComponent design = FormulaWeapon(static_cast<int>(state.range(0)));
  NoMessages sink;
  CacheCapacity capacity(state.range(1));
  CompGenerate gen;
  std::size_t bytes = 0;
  for (auto _ : state) {
    GenerationResult result = gen.Generate(design, sink);
    if (!result.Generated()) state.SkipWithError(sink.first.c_str());
    bytes = result.text.size();
    benchmark::DoNotOptimize(result.text.data());
  }
  state.counters["per_entry"] = benchmark::Counter(static_cast<double>(state.range(0)),
                                                   benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WeaponLevels)
    ->ArgsProduct({{99, 999}, {0, static_cast<std::int64_t>(ExprCache::kDefaultCapacity)}})
    ->Unit(benchmark::kMillisecond);

// 7 x 4681 = 32767 cells; the costs grow with the grid levels.
void BM_LargestGrid(benchmark::State& state) {
  const vrlComponent c = LargestGrid();
  NoMessages sink;
  CacheCapacity capacity(state.range(0));
  CompGenerate gen;
  for (auto _ : state) {
    GenerationResult result = gen.Generate(c, sink);
    if (!result.Generated() || result.entries != 32767) state.SkipWithError(sink.first.c_str());
    benchmark::DoNotOptimize(result.text.data());
  }
  state.counters["per_entry"] = benchmark::Counter(
      32767, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LargestGrid)
    ->Arg(0)
    ->Arg(static_cast<std::int64_t>(ExprCache::kDefaultCapacity))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
