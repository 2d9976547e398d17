// A mod's data file of 20,000 entries (2,000 families of 10 levels): the
// family listing of an import, the import of one family, and an apply of one
// changed family (plan, game check and the safe write), each reported as a
// ratio to reading the file once ("x_read": that many reads of the file
// take as long), both timed in the same run in processor time, which the
// other work on a shared machine disturbs less than the wall clock.
#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "gamedata/Apply.h"
#include "gamedata/DataFile.h"
#include "gamedata/Families.h"
#include "gamedata/Import.h"
#include "generate/FacGenerate.h"
#include "util/MessageSink.h"

namespace {

using namespace vorlane;

class NoMessages : public MessageSink {
 public:
  MessageAnswer Show(const std::string&, const std::string&, MessageButtons) override { return MessageAnswer::Ok; }
};

constexpr int kFamilies = 2000;
constexpr int kLevels = 10;

std::string FamilyEntries(int family, const std::string& cost) {
  vrlFacility record;
  record.SetFacName("Works " + std::to_string(family));
  record.SetNumberStyle("&faclevel");
  record.SetLevelCount(std::to_string(kLevels));
  record.SetFacDesc("Level &faclevel of works " + std::to_string(family) + ".");
  record.SetFacGroup("Production");
  record.SetFacFamily(std::to_string(family));
  record.SetRomanStyle("&faclevel");
  record.SetMinCost(cost);
  record.SetTechReqArea(1, "Industry");
  record.SetTechReqLevel(1, "&faclevel");
  record.SetNumAbils(0);
  NoMessages sink;
  return FacGenerate().Generate(record, sink).text;
}

// The file on disk, made once.
const std::filesystem::path& BigFile() {
  static const std::filesystem::path path = [] {
    std::string body = "A mod's facilities\r\n*BEGIN*\r\n";
    const std::string sample = FamilyEntries(0, "{100*&faclevel}");
    for (int f = 0; f < kFamilies; ++f) {
      std::string family = sample;
      for (std::size_t at = family.find("orks 0"); at != std::string::npos; at = family.find("orks 0", at + 1)) {
        family.replace(at, 6, "orks " + std::to_string(f));
      }
      body += family;
    }
    body += "*END*\r\n";
    auto file = std::filesystem::temp_directory_path() / "vorlane-bench-Facility.txt";
    std::ofstream(file, std::ios::binary) << body;
    return file;
  }();
  return path;
}

double ReadSeconds() {
  static const double seconds = [] {
    std::string error;
    const std::clock_t start = std::clock();
    constexpr int kReads = 5;
    for (int i = 0; i < kReads; ++i) benchmark::DoNotOptimize(ReadDataFile(BigFile(), error));
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC / kReads;
  }();
  return seconds;
}

// Runs `work` (which gives back the seconds of its timed part) and reports
// its time per run as a ratio to reading the file once.
template <typename Work>
void Measure(benchmark::State& state, Work work) {
  const double read = ReadSeconds();
  double total = 0;
  for (auto _ : state) total += work();
  state.counters["x_read"] = total / static_cast<double>(state.iterations()) / read;
  state.counters["read_ms"] = read * 1000;
}

template <typename Work>
double Timed(Work work) {
  const std::clock_t start = std::clock();
  work();
  return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

void BM_ReadFile(benchmark::State& state) {
  Measure(state, [] {
    return Timed([] {
      std::string error;
      benchmark::DoNotOptimize(ReadDataFile(BigFile(), error));
    });
  });
}
BENCHMARK(BM_ReadFile)->Unit(benchmark::kMillisecond);

void BM_ImportListing(benchmark::State& state) {
  Measure(state, [] {
    return Timed([] {
      std::string error;
      auto file = ReadDataFile(BigFile(), error);
      const auto families = FindFamilies(*file);
      benchmark::DoNotOptimize(FamilyListText(*file, families));
    });
  });
}
BENCHMARK(BM_ImportListing)->Unit(benchmark::kMillisecond);

void BM_ImportFamily(benchmark::State& state) {
  Measure(state, [] {
    return Timed([] {
      std::string error;
      auto file = ReadDataFile(BigFile(), error);
      const auto families = FindFamilies(*file);
      const int f = FamilyOfName(*file, families, "Works 1234 7");
      benchmark::DoNotOptimize(ImportFamily(*file, families[static_cast<std::size_t>(f)], BigFile().string()));
    });
  });
}
BENCHMARK(BM_ImportFamily)->Unit(benchmark::kMillisecond);

void BM_Apply(benchmark::State& state) {
  const auto target = std::filesystem::temp_directory_path() / "vorlane-bench-apply-Facility.txt";
  std::vector<std::string> names;
  for (int level = 1; level <= kLevels; ++level) names.push_back("Works 1234 " + std::to_string(level));
  int edit = 0;
  Measure(state, [&] {
    std::filesystem::copy_file(BigFile(), target, std::filesystem::copy_options::overwrite_existing);
    const std::string entries = FamilyEntries(1234, "{" + std::to_string(101 + edit++) + "*&faclevel}");
    return Timed([&] {
      std::string error;
      auto file = ReadDataFile(target, error);
      const ApplyPlan plan = PlanApply(*file, {{"works", entries, names}}, false);
      benchmark::DoNotOptimize(CheckApplied(plan, GameData{}));
      if (!plan.Changed() || !WriteAppliedFile(target, plan, error)) state.SkipWithError("apply failed");
    });
  });
  std::filesystem::remove(target);
  std::filesystem::remove(target.string() + ".bak");
}
BENCHMARK(BM_Apply)->Unit(benchmark::kMillisecond);

}  // namespace
