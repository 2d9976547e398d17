// Arbitrary bytes as a game data file: read, grouped into families, the first
// family imported, and a small design applied to it twice. Checks that every
// entry lies inside the body in order, and that a second apply of the same
// design changes nothing.
#include <cstddef>
#include <cstdint>
#include <string>

#include "gamedata/Apply.h"
#include "gamedata/DataFile.h"
#include "gamedata/Families.h"
#include "gamedata/Import.h"
#include "generate/FacGenerate.h"
#include "util/MessageSink.h"

namespace {

using namespace vorlane;

class QuietSink : public MessageSink {
 public:
  MessageAnswer Show(const std::string&, const std::string&, MessageButtons) override { return MessageAnswer::Ok; }
};

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

const std::string& PumpEntries() {
  static const std::string text = [] {
    vrlFacility record;
    record.SetFacName("Pump");
    record.SetNumberStyle("&faclevel");
    record.SetLevelCount("2");
    record.SetNumTechReqs(0);
    record.SetNumAbils(0);
    QuietSink sink;
    FacGenerate generator;
    return generator.Generate(record, sink).text;
  }();
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string error;
  auto file = ParseDataFile(std::string(reinterpret_cast<const char*>(data), size), error);
  if (!file) return 0;
  Require(file->bodyBegin <= file->bodyEnd && file->bodyEnd <= file->bytes.size());
  std::size_t at = file->bodyBegin;
  for (const DataEntry& entry : file->entries) {
    Require(entry.begin >= at && entry.begin < entry.end && entry.end <= file->bodyEnd);
    at = entry.end;
  }
  const auto families = FindFamilies(*file);
  if (!families.empty() && families.front().members.size() <= 16) ImportFamily(*file, families.front(), "/f");
  const std::vector<ApplySource> sources{{"pump", PumpEntries(), {"Pump 1", "Pump 3"}}};
  const ApplyPlan plan = PlanApply(*file, sources, size % 2 == 0);
  if (!plan.Ready()) return 0;
  auto again = ParseDataFile(plan.bytes, error);
  Require(again.has_value());
  const ApplyPlan second = PlanApply(*again, {{"pump", PumpEntries(), plan.written.front()}}, false);
  Require(second.Ready() && !second.Changed() && second.bytes == plan.bytes);
  return 0;
}
