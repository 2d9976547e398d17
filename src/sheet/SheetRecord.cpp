#include "sheet/SheetRecord.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <type_traits>

#include "generate/CompGenerate.h"
#include "generate/EntryDiff.h"
#include "generate/FacGenerate.h"
#include "gui/Session.h"
#include "util/Numbers.h"

namespace vorlane {

namespace {

// A generation that shows nothing and answers every question with No.
class QuietSink : public MessageSink {
 public:
  MessageAnswer Show(const std::string&, const std::string&, MessageButtons buttons) override {
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
  }
};

template <class Record>
struct GenerateOf;
template <>
struct GenerateOf<vrlComponent> {
  using Type = CompGenerate;
};
template <>
struct GenerateOf<vrlFacility> {
  using Type = FacGenerate;
};

// What changed from the saved design to the record: both generated in full,
// stopping early once a newer request has cancelled this one.
template <class Record>
void CompareWithSaved(const Record& record, const Record& saved, const std::atomic<bool>& cancel,
                      LiveResult& result) {
  result.changesAsked = true;
  typename GenerateOf<Record>::Type generate;
  QuietSink sink;
  const ProgressCallback progress = [&cancel](int, int, const std::string&) { return !cancel.load(); };
  const GenerationResult before = generate.Generate(saved, sink, progress);
  if (cancel.load()) return;
  if (!before.Generated()) {
    result.changesNote = "The design as last saved cannot be generated.";
    return;
  }
  const GenerationResult after = generate.Generate(record, sink, progress);
  if (cancel.load()) return;
  if (!after.Generated()) {
    result.changesNote = "The design cannot be generated.";
    return;
  }
  for (const EntryChange& change : DiffEntries(before.text, after.text)) result.changes.push_back(change.Text());
  if (result.changes.empty()) result.changesNote = "No changes since the design was last saved.";
}

template <class Record>
class SheetRecordOf : public SheetRecord {
 public:
  using L = Layout<Record>;

  SheetRecordOf(Record& record, std::function<std::optional<Record>()> saved) : record_(record), saved_(std::move(saved)) {}

  DesignKind Kind() const override {
    return std::is_same_v<Record, vrlComponent> ? DesignKind::Component : DesignKind::Facility;
  }

  std::vector<SheetField> Fields() const override {
    std::vector<SheetField> fields;
    for (const SheetPlace& place : kSheetPlaces) {
      const bool text = std::any_of(std::begin(L::kTexts), std::end(L::kTexts),
                                    [&](const auto& row) { return place.key == row.name; });
      if (!text && place.key != L::kLevels && place.key != L::kGrid) continue;
      const FieldPlace field{"", 0, std::string(place.key)};
      const SheetGroup group = Kind() == DesignKind::Component ? place.component : place.facility;
      fields.push_back({field, group, place.control, Label(field)});
    }
    return fields;
  }

  std::string Label(const FieldPlace& field) const override { return FieldLabel(record_, field); }

  std::string Get(const FieldPlace& field) const override { return FieldValue(record_, field); }
  void Set(const FieldPlace& field, std::string value) override { SetFieldValue(record_, field, std::move(value)); }
  std::string Levels() const override { return L::Levels(record_); }
  void SetLevels(const std::string& digits) override { L::SetLevels(record_, digits); }
  bool Grid() const override { return L::Grid(record_); }
  void SetGrid(bool grid) override { L::SetGrid(record_, grid); }

  std::string_view TechList() const override { return L::kTechList; }
  std::string_view AbilityList() const override { return L::kAbilityList; }
  std::vector<std::string> Columns(std::string_view list) const override {
    std::vector<std::string> columns;
    if (list == L::kTechList) {
      for (const auto& column : L::kTech) columns.emplace_back(column.name);
    } else if (list == L::kAbilityList) {
      for (const auto& column : L::kAbilities) columns.emplace_back(column.name);
    } else if constexpr (L::kDamage) {
      if (list == L::kDamageList) columns.emplace_back(L::kDamageList);
    }
    return columns;
  }
  int Count(std::string_view list) const override {
    if (list == L::kTechList) return record_.NumTechReqs();
    if (list == L::kAbilityList) return record_.NumAbils();
    if constexpr (L::kDamage) {
      if (list == L::kDamageList) return vrlComponent::kNumRanges;
    }
    return 0;
  }
  void AddEntry(std::string_view list) override { SetCount(list, Count(list) + 1); }
  void RemoveEntry(std::string_view list, int entry) override {
    const int count = Count(list);
    if (entry < 1 || entry > count) return;
    for (const std::string& column : Columns(list)) {
      for (int i = entry; i < count; ++i) {
        Set({std::string(list), i, column}, Get({std::string(list), i + 1, column}));
      }
    }
    SetCount(list, count - 1);
  }

  std::vector<int> GridSizes() const override {
    std::vector<int> sizes;
    for (int i = 1; i <= record_.NumTechReqs(); ++i) {
      const double size = LeadingNumber(record_.TechReqGridSize(static_cast<std::int16_t>(i)).value_or(""));
      sizes.push_back(size >= 1 && size <= GenerationModule::kMaxGridCells ? static_cast<int>(std::floor(size)) : 0);
    }
    return sizes;
  }
  int LevelCount() const override { return ParseLevelCount(L::Levels(record_)).value_or(0); }

  LiveJob Job(const EntryPoint& point, bool changes) const override {
    std::optional<Record> saved;
    if (changes && saved_) saved = saved_();
    // A plain design shows only the levels it has (none while its count is
    // not a number from 1 on).
    const int levels = LevelCount();
    const bool noSuchLevel = !Grid() && (point.level < 1 || point.level > levels);
    return [record = record_, saved = std::move(saved), point, changes, levels, noSuchLevel,
            kept = kept_](const std::atomic<bool>& cancel) {
      LiveResult result;
      if (noSuchLevel) {
        result.noSuchLevel = true;
        result.entry.messages.push_back(
            {"", levels < 1 ? "The design has no levels." : "The design has no level " + std::to_string(point.level) + "."});
      } else {
        const std::lock_guard<std::mutex> lock(kept->mutex);
        result.entry = MakeEntry(record, point, kept->memo, &cancel);
        result.entryText = QByteArray(result.entry.text.data(), static_cast<qsizetype>(result.entry.text.size()));
        std::string().swap(result.entry.text);
      }
      if (changes && !saved) {
        result.changesAsked = true;
        result.changesNote = "The design has not been saved yet.";
      } else if (saved && !cancel.load()) {
        CompareWithSaved(record, *saved, cancel, result);
      }
      return result;
    };
  }

 private:
  void SetCount(std::string_view list, int count) {
    const auto n = static_cast<std::int16_t>(std::clamp(count, 0, kMaxListEntries));
    if (list == L::kTechList) record_.SetNumTechReqs(n);
    if (list == L::kAbilityList) record_.SetNumAbils(n);
  }

  Record& record_;
  std::function<std::optional<Record>()> saved_;
  // The live entry last made, which the next job renews; jobs that overlap
  // (a cancelled one still running) take it in turn.
  struct KeptEntry {
    std::mutex mutex;
    LiveEntryMemo memo;
  };
  std::shared_ptr<KeptEntry> kept_ = std::make_shared<KeptEntry>();
};

}  // namespace

std::unique_ptr<SheetRecord> MakeSheetRecord(Session& session, DesignKind kind,
                                             std::function<std::optional<vrlComponent>()> savedComponent,
                                             std::function<std::optional<vrlFacility>()> savedFacility) {
  if (kind == DesignKind::Component) {
    return std::make_unique<SheetRecordOf<vrlComponent>>(session.Component(), std::move(savedComponent));
  }
  return std::make_unique<SheetRecordOf<vrlFacility>>(session.Facility(), std::move(savedFacility));
}

}  // namespace vorlane
