// The generation module of one record kind: its slots, named variables and
// field names come from the record's field table (DesignLayout.h); it reads
// the record's shape, copies the record into the field table and runs the
// drivers. CompGenerate and FacGenerate add only their words and entry layouts.
#pragma once

#include <cstdint>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "generate/DesignCheck.h"
#include "generate/DesignLayout.h"
#include "generate/GenerationModule.h"
#include "generate/LiveEntry.h"

namespace vorlane {

// A kind's words that belong to no field; the rest of
// GenerationModule::Words comes from the field table.
struct KindWords {
  std::string_view levelVariable;        // "&complevel"
  std::string_view noun;                 // "component"
  std::string_view nounTitle;            // "Component"
  std::string_view nounPlural;           // "components"
  std::string_view crossReferenceTitle;  // title of the 50-pass message
};

template <typename Record>
class RecordGenerate : public GenerationModule {
 public:
  using Fields = Layout<Record>;
  static constexpr int kSlotCount = static_cast<int>(std::size(Fields::kTexts));

  // Generates every entry of the design: the grid driver for a grid design,
  // else the plain one. Messages go to `sink` in order; `progress` may cancel.
  GenerationResult Generate(const Record& record, MessageSink& sink, const ProgressCallback& progress = {}) {
    return record.IsGrid() ? GenerateGrid(record, sink, progress) : GeneratePlain(record, sink, progress);
  }
  // The two drivers on their own: one entry per level 1..levels, or one
  // entry per grid cell in odometer order.
  GenerationResult GeneratePlain(const Record& record, MessageSink& sink, const ProgressCallback& progress = {}) {
    return Run(record, sink, [&] { return RunPlain(progress); });
  }
  GenerationResult GenerateGrid(const Record& record, MessageSink& sink, const ProgressCallback& progress = {}) {
    return Run(record, sink, [&] { return RunGrid(progress); });
  }

  // The building blocks the drivers use, for callers that make single
  // entries. Prepare does what a driver does before its first entry; the
  // record and the sink must stay alive until Release.
  void Prepare(const Record& record, MessageSink& sink) {
    record_ = &record;
    Begin(sink);
  }
  void Release() {
    End();
    record_ = nullptr;
  }
  // One entry of the prepared design into `out`, as a driver makes it: level
  // `level` of a plain design, or the grid cell at `cell` (a position along
  // each requirement). False after its messages; a refused record leaves
  // its result in `refused`.
  bool WriteOneEntry(int level, std::span<const std::int32_t> cell, std::string& out, GenerationResult& refused) {
    if (RefuseControlCharacter(FindControlCharacter(*record_), refused)) return false;
    if (shape_.grid) {
      const int number = GridCellNumber(shape_.gridSizes, cell);
      if (number == 0) {
        NoteFault({"", 0, Record::kGridKey}, "The cell lies outside the grid");
        Show("Error", "The cell lies outside the grid.");
        return false;
      }
      for (std::size_t i = 0; i < cell.size(); ++i) SetGridPos(static_cast<std::int16_t>(i + 1), cell[i]);
      SetLevelText(std::to_string(number));
    } else {
      SetLevelText(std::to_string(level));
    }
    return WriteEntry(out, shape_.grid);
  }

  // With entries kept (KeepEntries): the entry of `record` at the place of
  // the one just kept for `before`, renewed from it when the records differ
  // only in a few field texts (see RenewFields).
  Renewal RenewOneEntry(const Record& before, const Record& record, MessageSink& sink, std::string& out) {
    std::vector<FieldChange> changes;
    if (!EntryKept() || !ChangesFrom(before, record, changes)) return Renewal::Impossible;
    record_ = &record;
    Resume(sink);
    const Renewal renewal = RenewFields(changes, out);
    Release();
    return renewal;
  }

 protected:
  explicit RecordGenerate(const KindWords& words) : GenerationModule(MakeWords(words)) {}

  Shape ReadShape() const override {
    Shape shape = CommonShape(*record_);
    if constexpr (Fields::kDamage) shape.weapon = !EqualsNoCase(record_->WeaponType(), "None");
    return shape;
  }

  void LoadFields() override {
    const Record& r = *record_;
    for (const auto& field : Fields::kTexts) slots_[static_cast<std::size_t>(field.slot)].text = (r.*field.get)();
    LoadListFields(r);
    if constexpr (Fields::kDamage) {
      if (shape_.weapon) {
        for (std::int16_t range = 1; range <= kNumRanges; ++range) {
          damage_[static_cast<std::size_t>(range - 1)].text = r.WeaponDamageAtRange(range).value_or("");
        }
      }
    }
  }

  std::string StoredText(const FieldPlace& field) const override {
    const Record& r = *record_;
    const auto n = static_cast<std::int16_t>(field.entry);
    if (field.list.empty()) {
      for (const auto& row : Fields::kTexts) {
        if (field.key == row.name) return (r.*row.get)();
      }
    } else if (field.list == Fields::kTechList || field.list == Fields::kAbilityList) {
      for (const auto& column : field.list == Fields::kTechList ? Fields::kTech : Fields::kAbilities) {
        if (field.key == column.name) return (r.*column.get)(n).value_or("");
      }
    } else if constexpr (Fields::kDamage) {
      return r.WeaponDamageAtRange(n).value_or("");
    }
    return {};
  }

  const Record* record_ = nullptr;

 private:
  // The field texts in which `after` differs from `before`; false when the
  // records differ in more (the shape, many fields) or a changed text holds
  // a control character, which only a full generation reports.
  bool ChangesFrom(const Record& before, const Record& after, std::vector<FieldChange>& changes) const {
    if (before.LevelCount() != after.LevelCount() || before.IsGrid() != after.IsGrid() ||
        before.NumTechReqs() != after.NumTechReqs() || before.NumAbils() != after.NumAbils()) {
      return false;
    }
    if constexpr (Fields::kDamage) {
      if (EqualsNoCase(after.WeaponType(), "None") == shape_.weapon) return false;
    }
    using Part = FieldPart;
    auto changed = [&](Part part, int entry, int column, const std::string& text) {
      if (changes.size() >= kMaxRenewedFields || ControlCharacterProblem(text)) return false;
      changes.push_back({part, entry, column});
      return true;
    };
    for (const auto& field : Fields::kTexts) {
      const std::string& text = (after.*field.get)();
      if (text != (before.*field.get)() && !changed(Part::Slot, field.slot, 0, text)) return false;
    }
    auto rows = [&](Part part, const auto& columns, auto next) {
      for (int n = next(1); n != 0; n = next(n + 1)) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
          const auto i = static_cast<std::int16_t>(n);
          const std::string text = (after.*columns[c].get)(i).value_or("");
          if (text != (before.*columns[c].get)(i).value_or("") && !changed(part, n, static_cast<int>(c), text)) {
            return false;
          }
        }
      }
      return true;
    };
    if (!rows(Part::Tech, Fields::kTech, [&](int from) { return before.NextTechReqDifference(after, from); }) ||
        !rows(Part::Ability, Fields::kAbilities, [&](int from) { return before.NextAbilDifference(after, from); })) {
      return false;
    }
    if constexpr (Fields::kDamage) {
      for (std::int16_t range = 1; range <= kNumRanges; ++range) {
        const std::string text = after.WeaponDamageAtRange(range).value_or("");
        if (text != before.WeaponDamageAtRange(range).value_or("") && !changed(Part::Damage, range, 0, text)) {
          return false;
        }
      }
    }
    return true;
  }

  static Words MakeWords(const KindWords& kind) {
    Words words{.levelVariable = kind.levelVariable,
                .named = {},
                .slotCount = kSlotCount,
                .damageFamily = Fields::kDamage,
                .noun = kind.noun,
                .nounTitle = kind.nounTitle,
                .nounPlural = kind.nounPlural,
                .crossReferenceTitle = kind.crossReferenceTitle,
                .slotNames = std::vector<std::string_view>(static_cast<std::size_t>(kSlotCount) + 1),
                .slotNeeds = std::vector<Needs>(static_cast<std::size_t>(kSlotCount) + 1, Needs::Always),
                .techNumberStyleName = Record::kNumberStyleKey,
                .levelsName = Record::kLevelsKey,
                .gridName = Record::kGridKey};
    for (const auto& field : Fields::kTexts) {
      words.slotNames[static_cast<std::size_t>(field.slot)] = field.name;
      words.slotNeeds[static_cast<std::size_t>(field.slot)] = field.needs;
      if (!field.variable.empty()) words.named.push_back({field.variable, field.slot});
    }
    return words;
  }

  template <typename Driver>
  GenerationResult Run(const Record& record, MessageSink& sink, Driver driver) {
    Prepare(record, sink);
    GenerationResult result;
    if (!RefuseControlCharacter(FindControlCharacter(record), result)) result = driver();
    Release();
    return result;
  }
};

}  // namespace vorlane
