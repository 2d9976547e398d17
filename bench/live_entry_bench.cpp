// The live entry's speed: from a changed field to the new entry of one level
// of a 9- and a 999-level weapon, and of one cell of the largest grid (32767 cells),
// against the full generation of the same designs. A live entry costs one
// entry whatever the design's size.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <ctime>
#include <string>

#include "BenchDesigns.h"
#include "generate/CompGenerate.h"
#include "generate/LiveEntry.h"
#include "util/MessageSink.h"

namespace {

using namespace vorlane;
using namespace vorlane::bench;

// The live entry (the record copied with a changed field, then one entry),
// timed against one full generation of the changed design in the same run:
// "full_ms" is that generation's processor time, "times_faster" its ratio to
// one live entry.
void Run(benchmark::State& state, const vrlComponent& design, const EntryPoint& point, int entries) {
  auto changed = [&design](int edit) {
    vrlComponent copy = design;
    copy.SetMinCost("{&size*10+&complevel*" + std::to_string(3 + edit % 5) + "}");
    return copy;
  };
  NoMessages sink;
  const std::clock_t start = std::clock();
  GenerationResult full = CompGenerate().Generate(changed(0), sink);
  const double fullSeconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  if (!full.Generated() || full.entries != entries) {
    state.SkipWithError(full.fault ? full.fault->Line().c_str() : "generation failed");
    return;
  }
  int edit = 0;
  const std::clock_t loop = std::clock();
  for (auto _ : state) {
    LiveEntry entry = MakeEntry(changed(++edit), point);
    if (entry.status != GenerationStatus::Generated) {
      state.SkipWithError(entry.fault ? entry.fault->Line().c_str() : "live entry failed");
      break;
    }
    benchmark::DoNotOptimize(entry.text.data());
  }
  const double liveSeconds = static_cast<double>(std::clock() - loop) / CLOCKS_PER_SEC;
  state.counters["full_ms"] = fullSeconds * 1000;
  if (liveSeconds > 0) {
    state.counters["times_faster"] = fullSeconds * static_cast<double>(state.iterations()) / liveSeconds;
  }
}

// One level of a weapon of 9 and of 999 levels: the same time for either.
void BM_WeaponLevel(benchmark::State& state) {
  const int levels = static_cast<int>(state.range(0));
  Run(state, FormulaWeapon(levels), {(levels + 1) / 2, {}}, levels);
}
BENCHMARK(BM_WeaponLevel)->Arg(9)->Arg(999)->Unit(benchmark::kMicrosecond);

void BM_LargestGridCell(benchmark::State& state) { Run(state, LargestGrid(), {0, {4, 2000}}, 32767); }
BENCHMARK(BM_LargestGridCell)->Unit(benchmark::kMicrosecond);

// One level of the 9-level weapon with 10, 1,000 and 32,767 requirements and
// abilities: one changed ability value, then the entry.
void BM_ListRows(benchmark::State& state) {
  const vrlComponent design = ListWeapon(static_cast<int>(state.range(0)));
  int edit = 0;
  for (auto _ : state) {
    vrlComponent changed = design;
    changed.SetAbilVal2(1, std::to_string(++edit % 10));
    LiveEntry entry = MakeEntry(changed, {5, {}});
    if (entry.status != GenerationStatus::Generated) {
      state.SkipWithError(entry.fault ? entry.fault->Line().c_str() : "live entry failed");
      break;
    }
    benchmark::DoNotOptimize(entry.text.data());
  }
}
BENCHMARK(BM_ListRows)->Arg(10)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);

}  // namespace
