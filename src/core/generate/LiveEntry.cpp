#include "generate/LiveEntry.h"

#include <cmath>
#include <limits>
#include <variant>

#include "generate/CompGenerate.h"
#include "generate/DesignLayout.h"
#include "generate/FacGenerate.h"
#include "util/Numbers.h"

namespace vorlane {

namespace {

// Keeps what a generation would show, answering every question with No.
class KeepingSink : public MessageSink {
 public:
  MessageAnswer Show(const std::string& title, const std::string& text, MessageButtons buttons) override {
    messages.push_back({title, text});
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
  }
  std::vector<ShownMessage> messages;
};

// The module's fault; one outside any entry (a refused cell) gets the
// entry's place.
std::optional<GenerationFault> LocatedFault(std::optional<GenerationFault> fault, const EntryPoint& point) {
  if (fault && fault->level.empty()) {
    if (point.cell.empty()) fault->level = std::to_string(point.level);
    fault->cell = point.cell;
  }
  return fault;
}

// What a module gave for one entry: written or not, with the sink's messages.
LiveEntry Outcome(const GenerationModule& module, bool written, std::string out, KeepingSink& sink,
                  const EntryPoint& point) {
  LiveEntry live;
  live.messages = std::move(sink.messages);
  live.warnings = module.Warnings();
  if (written) {
    live.status = GenerationStatus::Generated;
    live.text = std::move(out);
  } else {
    live.fault = LocatedFault(module.Fault(), point);
  }
  return live;
}

template <typename Generate, typename Record>
LiveEntry FullEntry(Generate& module, const Record& record, const EntryPoint& point) {
  KeepingSink sink;
  module.Prepare(record, sink);
  GenerationResult refused;
  std::string out;
  const bool written = module.WriteOneEntry(point.level, point.cell, out, refused);
  module.Release();
  return Outcome(module, written, std::move(out), sink, point);
}

LiveEntry CancelledEntry() {
  LiveEntry live;
  live.status = GenerationStatus::Cancelled;
  return live;
}

template <typename Generate, typename Record>
LiveEntry Entry(const Record& record, const EntryPoint& point, const std::atomic<bool>* cancel) {
  if (cancel && cancel->load()) return CancelledEntry();
  Generate module;
  return FullEntry(module, record, point);
}

double NumberOrNaN(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  if (i < text.size() && text[i] == '.') ++i;
  if (i >= text.size() || text[i] < '0' || text[i] > '9') return std::numeric_limits<double>::quiet_NaN();
  return LeadingNumber(text);
}

template <typename Generate, typename Record>
SeriesResult MakeSeriesOf(const Record& record, std::span<const FieldPlace> fields, const SeriesAxis& axis,
                          const std::atomic<bool>* cancel) {
  SeriesResult result;
  for (const FieldPlace& field : fields) result.series.push_back({field, FieldLabel(record, field), {}});

  Generate module;
  KeepingSink sink;
  module.Prepare(record, sink);
  const auto& shape = module.ShapeRead();
  std::vector<EntryPoint> points;
  if (shape.grid) {
    const auto r = static_cast<std::size_t>(axis.requirement);
    if (r >= 1 && r < shape.gridSizes.size() && axis.held.size() + 1 == shape.gridSizes.size()) {
      const int size = static_cast<int>(std::floor(shape.gridSizes[r]));
      for (int p = 1; p <= size; ++p) {
        EntryPoint point;
        point.cell = axis.held;
        point.cell[r - 1] = p;
        points.push_back(std::move(point));
      }
    }
  } else {
    for (int level = 1; level <= shape.levels; ++level) points.push_back({level, {}});
  }

  result.status = GenerationStatus::Generated;
  for (const EntryPoint& point : points) {
    if (cancel && cancel->load()) {
      result.status = GenerationStatus::Cancelled;
      break;
    }
    std::string out;
    GenerationResult refused;
    const bool written = module.WriteOneEntry(point.level, point.cell, out, refused);
    if (!written) {
      result.status = GenerationStatus::Failed;
      result.fault = LocatedFault(module.Fault(), point);
      break;
    }
    result.points.push_back(module.FieldText(0));
    for (Series& series : result.series) {
      const std::string* text = module.ResolvedText(series.field);
      series.values.push_back(text ? NumberOrNaN(*text) : std::numeric_limits<double>::quiet_NaN());
    }
  }
  module.Release();
  return result;
}

template <typename Record>
std::vector<FieldPlace> CurveFieldsOf(const Record& record) {
  using Fields = Layout<Record>;
  std::vector<FieldPlace> fields;
  for (const auto& row : Fields::kTexts) fields.push_back({"", 0, row.name});
  for (int n = 1; n <= record.NumTechReqs(); ++n) {
    for (const auto& column : Fields::kTech) fields.push_back({Fields::kTechList, n, column.name});
  }
  for (int n = 1; n <= record.NumAbils(); ++n) {
    for (const auto& column : Fields::kAbilities) fields.push_back({Fields::kAbilityList, n, column.name});
  }
  if constexpr (Fields::kDamage) {
    for (int range = 1; range <= vrlComponent::kNumRanges; ++range) {
      fields.push_back({Fields::kDamageList, range, Fields::kDamageList});
    }
  }
  return fields;
}

}  // namespace

struct LiveEntryMemo::Kept {
  std::unique_ptr<GenerationModule> module;
  std::variant<std::monostate, vrlComponent, vrlFacility> record;  // the kept entry's
  EntryPoint point;
};

LiveEntryMemo::LiveEntryMemo() : kept_(std::make_unique<Kept>()) {}
LiveEntryMemo::~LiveEntryMemo() = default;

template <typename Generate, typename Record>
LiveEntry KeptEntry(const Record& record, const EntryPoint& point, LiveEntryMemo& memo,
                    const std::atomic<bool>* cancel) {
  if (cancel && cancel->load()) return CancelledEntry();
  LiveEntryMemo::Kept& kept = *memo.kept_;
  auto* module = dynamic_cast<Generate*>(kept.module.get());
  const Record* before = std::get_if<Record>(&kept.record);
  if (module && before && kept.point.level == point.level && kept.point.cell == point.cell) {
    KeepingSink sink;
    std::string out;
    switch (module->RenewOneEntry(*before, record, sink, out)) {
      case GenerationModule::Renewal::Written:
        kept.record = record;
        ++memo.renewed_;
        return Outcome(*module, true, std::move(out), sink, point);
      case GenerationModule::Renewal::Failed:
        ++memo.renewed_;
        return Outcome(*module, false, {}, sink, point);
      case GenerationModule::Renewal::Impossible:
        break;
    }
  }
  if (!module) {
    kept.module = std::make_unique<Generate>();
    module = static_cast<Generate*>(kept.module.get());
    module->KeepEntries(true);
  }
  ++memo.madeInFull_;
  LiveEntry live = FullEntry(*module, record, point);
  kept.record = std::monostate{};
  if (module->EntryKept() && live.messages.empty()) {
    kept.record = record;
    kept.point = point;
  }
  return live;
}

const std::string* GenerationModule::ResolvedText(const FieldPlace& field) const {
  const std::string* text = nullptr;
  ForEachNeededField([&](const FormulaField& f, std::string_view key, int entry) {
    if (key == field.key && entry == field.entry) text = &f.text;
    return text == nullptr;
  });
  return text;
}

int GridCellNumber(std::span<const double> sizes, std::span<const std::int32_t> cell) {
  // sizes[0] is unused: requirement i has size sizes[i].
  if (sizes.size() != cell.size() + 1 || cell.empty()) return 0;
  long number = 0;
  for (std::size_t i = 0; i < cell.size(); ++i) {
    const long size = static_cast<long>(std::floor(sizes[i + 1]));
    if (cell[i] < 1 || cell[i] > size) return 0;
    number = number * size + (cell[i] - 1);
    if (number > GenerationModule::kMaxGridCells) return 0;
  }
  return static_cast<int>(number + 1);
}

LiveEntry MakeEntry(const vrlComponent& record, const EntryPoint& point, const std::atomic<bool>* cancel) {
  return Entry<CompGenerate>(record, point, cancel);
}
LiveEntry MakeEntry(const vrlFacility& record, const EntryPoint& point, const std::atomic<bool>* cancel) {
  return Entry<FacGenerate>(record, point, cancel);
}
LiveEntry MakeEntry(const vrlComponent& record, const EntryPoint& point, LiveEntryMemo& memo,
                    const std::atomic<bool>* cancel) {
  return KeptEntry<CompGenerate>(record, point, memo, cancel);
}
LiveEntry MakeEntry(const vrlFacility& record, const EntryPoint& point, LiveEntryMemo& memo,
                    const std::atomic<bool>* cancel) {
  return KeptEntry<FacGenerate>(record, point, memo, cancel);
}

SeriesResult MakeSeries(const vrlComponent& record, std::span<const FieldPlace> fields, const SeriesAxis& axis,
                        const std::atomic<bool>* cancel) {
  return MakeSeriesOf<CompGenerate>(record, fields, axis, cancel);
}
SeriesResult MakeSeries(const vrlFacility& record, std::span<const FieldPlace> fields, const SeriesAxis& axis,
                        const std::atomic<bool>* cancel) {
  return MakeSeriesOf<FacGenerate>(record, fields, axis, cancel);
}

std::vector<FieldPlace> CurveFields(const vrlComponent& record) { return CurveFieldsOf(record); }
std::vector<FieldPlace> CurveFields(const vrlFacility& record) { return CurveFieldsOf(record); }

std::string FieldLabel(const vrlComponent&, const FieldPlace& field) { return FieldLabelOf(field); }
std::string FieldLabel(const vrlFacility&, const FieldPlace& field) { return FieldLabelOf(field); }

}  // namespace vorlane
