// The mechanism both generation modules share: the formula step, variable
// substitution, the field table with its pass loop, and the plain and grid
// drivers. RecordGenerate fills it from a record's field table; CompGenerate
// and FacGenerate add only their words and their entry layouts.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "generate/DesignCheck.h"
#include "generate/ExprCache.h"
#include "generate/FormulaText.h"
#include "generate/GenerationFault.h"
#include "generate/IndexedVariables.h"
#include "records/DesignRecord.h"
#include "util/MessageSink.h"
#include "util/Numbers.h"

namespace vorlane {

class clsExprEvaluator;

// Progress of a running generation: the bar's position and maximum and the
// label text ("40% generated"). Called after every level, and in a grid after
// every move of the enumeration, so that the caller can repaint. Returning
// false cancels the generation; nothing more is shown then.
using ProgressCallback = std::function<bool(int position, int maximum, const std::string& text)>;

enum class GenerationStatus { Generated, Failed, Cancelled };

// A brace group whose evaluation failed and was written as 0, or one that
// names something nobody assigns (it counts as 0): the entry is written as
// always, and the warning located like a fault, its reason ending in what
// the group was written as ("...; {sqr(1-2)} written as 0").
using GenerationWarning = GenerationFault;

struct GenerationResult {
  GenerationStatus status = GenerationStatus::Failed;
  std::string text;         // every entry, lines ending in CR LF; empty unless generated
  std::string windowTitle;  // "Component Generation Results - [Laser]"
  std::string resultKind;   // "Component" or "Facility"
  int entries = 0;          // entries written (also before a failure or cancel)
  std::optional<GenerationFault> fault;  // where and why, when it failed
  std::vector<GenerationWarning> warnings;  // the first GenerationModule::kMaxWarnings, in the order met
  std::size_t warningCount = 0;             // all of them

  bool Generated() const { return status == GenerationStatus::Generated; }
};

// One replacement in a field's text: `removed` bytes at byte `at` became
// `inserted` bytes. A field's edits lead from its stored text to its current
// text, so that a fault can point into the text as the user typed it.
struct FieldEdit {
  std::uint32_t at, removed, inserted;
};

struct FormulaField {
  std::string text;
  FieldState state;
  std::vector<FieldEdit> edits;  // since the text was loaded
  // While the field's first variable waits: the state of the field it waits
  // on. Its steps change nothing until that field is finished.
  const FieldState* awaited = nullptr;
  // For renewing a kept entry: the pass that finished the field, the fields
  // whose variables named it (some perhaps no longer), and whether it is
  // being renewed.
  std::uint8_t donePass = 0;
  std::vector<std::int32_t> readers;  // places in step order; kept entries only
  bool renewed = false;
};

class GenerationModule {
 public:
  static constexpr int kMaxPasses = 50;
  static constexpr int kMaxGridCells = 32767;
  // A field whose text would grow beyond this many characters by a variable
  // substitution is refused; fields that refer to each other over and over
  // could otherwise multiply their length with every pass.
  static constexpr std::size_t kMaxFieldCharacters = 65535;
  static constexpr std::int16_t kNumRanges = 21;
  // Warnings kept in full; beyond these only counted.
  static constexpr std::size_t kMaxWarnings = 1000;

  // What differs between the two sides besides the layout; the slot and
  // variable parts come from the record's field table (RecordGenerate).
  struct NamedVariable {
    std::string_view name;  // lower case, with the ampersand
    int slot;               // slot of the field table it stands for
  };
  struct Words {
    std::string_view levelVariable;       // "&complevel"
    std::vector<NamedVariable> named;     // every other named variable
    int slotCount;                        // slots 1..slotCount have states
    bool damageFamily;                    // "&weapdmg" exists
    std::string_view noun;                // "component"
    std::string_view nounTitle;           // "Component"
    std::string_view nounPlural;          // "components"
    std::string_view crossReferenceTitle; // title of the 50-pass message
    std::vector<std::string_view> slotNames;  // property of each slot 1..slotCount (index 0 unused)
    std::vector<Needs> slotNeeds;             // whether a design that is no weapon needs each slot
    std::string_view techNumberStyleName;     // "TechReqNumberStyle"
    std::string_view levelsName;              // "NumCompLevels"
    std::string_view gridName;                // "GridComp"
  };

  // A literal ampersand ("&&" in a formula) while an entry is made: never
  // read again as the start of a variable, written as "&" in the entry.
  // Stored values cannot hold it (control characters are refused).
  static constexpr char kLiteralAmpersand = '\x01';

  GenerationModule(const GenerationModule&) = delete;
  GenerationModule& operator=(const GenerationModule&) = delete;
  virtual ~GenerationModule();

  // One step on one field: one variable substitution, one brace-group
  // evaluation, or the finding that the field is clean. False when the field
  // cannot be completed, after the step's own message if it has one.
  bool EvaluateFieldStep(std::string& text, FieldState& state);

  // Slot 0 of the field table: the level text of the entry being made.
  void SetLevelText(std::string text) { slots_[0].text = std::move(text); }
  // Grid position along requirement i (1..NumTechReqs) of the cell being made.
  void SetGridPos(std::int16_t i, std::int32_t position);
  std::int32_t GridPos(std::int16_t i) const;

  // Texts of the table as the last resolution left them (literal ampersands
  // as kLiteralAmpersand).
  const std::string& FieldText(int slot) const { return slots_.at(static_cast<std::size_t>(slot)).text; }
  const std::string& DamageText(std::int16_t range) const {
    return damage_.at(static_cast<std::size_t>(range - 1)).text;
  }
  // Passes the last resolution took (the failing pass when it failed).
  int PassesUsed() const { return passes_; }
  // Where and why the work on the record failed; empty until something
  // fails after the record was taken (a generation, or Prepare).
  const std::optional<GenerationFault>& Fault() const { return fault_; }
  // The warnings of the work on the record so far (see GenerationResult).
  const std::vector<GenerationWarning>& Warnings() const { return warnings_; }
  std::size_t WarningCount() const { return warningCount_; }

  // The record's figures the drivers and the table need, read once when a
  // generation starts.
  struct Shape {
    std::int16_t levels = 0;
    bool grid = false;
    bool weapon = false;  // the record's weapon type is not "None"
    std::int16_t numTechReqs = 0;
    std::int16_t numAbils = 0;
    std::vector<double> gridSizes;  // 1..numTechReqs, leading-number reading
  };
  // The shape of the record taken (Prepare).
  const Shape& ShapeRead() const { return shape_; }

  // The resolved text of a field after an entry was made; nullptr for a
  // field the entry does not need (a weapon field outside a weapon, a grid
  // part outside a grid).
  const std::string* ResolvedText(const FieldPlace& field) const;

  // Kept entries, for the live entry of a design being edited: with keeping
  // on, an entry written keeps its resolved table and its list lines, and
  // the next entry of the same shape at the same place can be renewed from
  // it, stepping only the fields whose text changed and those that name
  // them. A renewal gives what a full generation gives, or answers
  // Impossible where it cannot be sure (a changed shape, more fields to step
  // than kMaxRenewedFields, the pass limit...).
  enum class Renewal { Written, Failed, Impossible };
  void KeepEntries(bool keep) { keep_ = keep; }
  bool EntryKept() const { return kept_.renewable; }

 protected:

  struct TechFields {
    FormulaField area, level, gridSize, numberStyle;
  };
  struct AbilityFields {
    FormulaField type, descr, val1, val2;
  };

  explicit GenerationModule(Words words);

  // Per side: the record's figures, the copying of its formulas into the
  // table, and the finished entry's text.
  virtual Shape ReadShape() const = 0;
  virtual void LoadFields() = 0;
  virtual void AppendEntry(std::string& out, bool grid) const = 0;
  // A field's text as the record stores it (for fault positions).
  virtual std::string StoredText(const FieldPlace& field) const = 0;

  // Starts work on a record: takes the sink, reads the shape and re-creates
  // the table's lists, all states cleared.
  void Begin(MessageSink& sink);
  void End();

  // `at`: where the step read the name (no ampersand stands before it); by
  // default the first occurrence of the name in the text is replaced.
  static constexpr std::size_t kNameNotRead = std::string::npos;
  bool SubstituteVariable(std::string& text, std::string& name, std::size_t at = kNameNotRead);
  bool ResolveFields();
  bool FieldsResolved() const;
  // Every field an entry needs, in pass order, with its design-file key and
  // entry (0 for a slot): the slots (weapon-only ones for a weapon), the
  // requirements (grid parts in a grid), the abilities and, for a weapon,
  // the damage ranges. Stops, returning false, when `visit` returns false.
  template <typename Visit>
  bool ForEachNeededField(Visit&& visit) const;
  void ResetFieldStates();
  // Load, resolve and append one entry; false after the messages.
  bool WriteEntry(std::string& out, bool grid);

  // Where a field of the table lies.
  enum class FieldPart { Slot, Tech, Ability, Damage };
  // One changed field of a kept entry: a slot (entry = slot), a requirement's
  // or ability's column (entry 1.., column 0..3 in field table order) or a
  // damage range (entry 1..21). Its new text is the record's.
  struct FieldChange {
    FieldPart part;
    int entry;
    int column;
  };
  static constexpr std::size_t kMaxRenewedFields = 1024;
  // Renews the kept entry with `changes` (the record the messages name must
  // be taken already): Written into `out`, Failed after the messages a
  // generation shows (the kept entry stays as it was), or Impossible with
  // nothing shown and nothing changed.
  Renewal RenewFields(const std::vector<FieldChange>& changes, std::string& out);
  // Takes `sink` for a renewal, without clearing anything.
  void Resume(MessageSink& sink) { sink_ = &sink; }

  GenerationResult RunPlain(const ProgressCallback& progress);
  GenerationResult RunGrid(const ProgressCallback& progress);

  void Show(std::string_view title, const std::string& text) const;

  // Shared pieces of the two entry layouts.
  static void AppendLine(std::string& out, std::string_view key, std::string_view value);
  std::string NameWithSuffix(bool grid) const;
  std::string GridRomanNumeral() const;
  void AppendRequirementAndAbilityLines(std::string& out) const;
  void AppendTechLines(std::string& out, std::size_t n) const;
  void AppendAbilityLines(std::string& out, std::size_t n) const;

  bool HasRecord() const { return sink_ != nullptr; }

  // Records a fault that lies outside the formula step and outside any entry
  // (a refused record, a wrong level count or grid): no level, no cell.
  void NoteFault(FieldPlace field, std::string reason, int position = 0);

  // Refuses a record that holds a control character: its message and the
  // "not generated" one, then a failed result. False when there is none.
  bool RefuseControlCharacter(const std::optional<DesignFault>& fault, GenerationResult& result);

  // The parts of the shape and the loading that both records share.
  static Shape CommonShape(const DesignRecord& record);
  void LoadListFields(const DesignRecord& record);

  Words words_;
  Shape shape_;
  std::vector<FormulaField> slots_;   // 0..slotCount
  std::vector<TechFields> tech_;      // 1..numTechReqs, entry 0 unused
  std::vector<AbilityFields> abil_;   // 1..numAbils, entry 0 unused
  std::array<FormulaField, kNumRanges> damage_;
  // The record's list texts for the current generation (LoadListFields).
  std::vector<TechFields> techTexts_;
  std::vector<AbilityFields> abilTexts_;
  bool listTextsRead_ = false;

 private:
  bool StepField(FormulaField& field, std::string_view name, int entry = 0);
  bool StepFieldNow(FormulaField& field, std::string_view name, int entry);
  // A damage range just finished is cut to the number it starts with; false
  // when that is no finite number.
  bool FinishDamage(FormulaField& damage, int range);
  // Whether `field`, at place `order` of the step order, is finished for the
  // step being made. While renewing, a field that is not renewed counts as
  // finished from where it finished in the kept entry.
  bool Finished(const FormulaField& field, int order) const {
    if (!renewing_ || field.renewed || !field.state.BracesDone) return field.state.BracesDone;
    return field.donePass < passes_ || (field.donePass == passes_ && order < stepOrder_);
  }
  // Places in the step order: slots 1.., then each requirement's four
  // columns, each ability's four, the damage ranges.
  int TechOrder(std::size_t n, int column) const {
    return static_cast<int>(slots_.size() + 4 * (n - 1)) + column;
  }
  int AbilityOrder(std::size_t n, int column) const {
    return static_cast<int>(slots_.size() + 4 * (tech_.size() - 1) + 4 * (n - 1)) + column;
  }
  int DamageOrder(std::size_t range) const {
    return static_cast<int>(slots_.size() + 4 * (tech_.size() - 1) + 4 * (abil_.size() - 1) + range - 1);
  }
  int IndexedOrder(IndexedId id, long n) const;
  // The field at place `order` of the step order, as the step names it.
  struct StepPlace {
    FormulaField* field;
    std::string_view name;
    int entry;
    bool needed;  // the entry needs it finished
    FieldPart part;
  };
  StepPlace PlaceAt(int order);
  // While keeping: notes that the field being stepped named `field`.
  void NoteReader(FormulaField& field) {
    if (keep_ && (field.readers.empty() || field.readers.back() != stepOrder_)) field.readers.push_back(stepOrder_);
  }
  // After a kept entry is resolved: its list lines, its finishing passes,
  // and whether it can be renewed.
  void KeepResolved();
  void KeepListLines();
  void RenewListLines(const std::vector<std::size_t>& techRows, const std::vector<std::size_t>& abilRows);
  bool CheckFinite(double value, const std::string& number, std::string_view what);
  bool Wait(const FormulaField& field) {
    awaited_ = &field.state;
    return true;
  }
  bool ReplaceVariable(std::string& text, std::string_view what, std::string_view value, const std::string& name);
  bool Report(int position, int maximum, const ProgressCallback& progress) const;
  GenerationResult Finish(GenerationStatus status, std::string text, int entries) const;
  clsExprEvaluator& Evaluator();

  // Located faults (GenerationFaults.cpp). The step notes its replacements
  // in the field being stepped, and the reason where it gives one.
  void NoteEdit(std::size_t at, std::size_t removed, std::size_t inserted) {
    if (editing_) {
      editing_->push_back({static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(removed),
                           static_cast<std::uint32_t>(inserted)});
    }
  }
  FieldPlace PlaceOf(std::string_view name, int entry) const;
  // The character of the stored text that byte `at` of the current text
  // came from (the start of a replaced variable or group for inserted text).
  int StoredPosition(const FormulaField& field, const FieldPlace& place, std::size_t at) const;
  int StoredPosition(const std::vector<FieldEdit>& edits, const FieldPlace& place, std::size_t at) const;
  // A warning for the group at byte `open` of `text`, before it is replaced,
  // which `evaluator` evaluated: the evaluation failed, or else the group
  // names something nobody assigns. `value` is what the group is written as.
  void NoteGroupWarning(const std::string& text, std::size_t open, std::string_view group,
                        const clsExprEvaluator& evaluator, const std::string& value);
  void NoteStepFault(const FormulaField& field);
  void NoteUnresolved();
  // The field a variable name (lower case) stands for; nullptr for none.
  const FormulaField* FieldNamed(std::string_view name) const;
  // The entries of a list of indexed variables, and the field of family `id`
  // in entry n (1..EntryCount); none for a grid position.
  long EntryCount(IndexedList list) const;
  const FormulaField* IndexedField(IndexedId id, long n) const;
  FormulaField* IndexedField(IndexedId id, long n) {
    return const_cast<FormulaField*>(std::as_const(*this).IndexedField(id, n));
  }
  std::string NearestVariable(std::string_view name) const;
  std::vector<FieldEdit>* editing_ = nullptr;
  std::string stepReason_;  // why the failing step failed, where it says so
  std::optional<GenerationFault> fault_;
  std::vector<GenerationWarning> warnings_;
  std::size_t warningCount_ = 0;
  // Where each kept warning was met: its pass and its place in step order.
  struct Stamp {
    int pass, order;
    auto operator<=>(const Stamp&) const = default;
  };
  std::vector<Stamp> warningStamps_;
  // The kept entry (KeepEntries).
  struct Kept {
    bool renewable = false;
    std::vector<GenerationWarning> warnings;
    std::vector<Stamp> stamps;
    std::array<int, kMaxPasses + 1> finishedIn{};  // needed fields finished in each pass
    std::string lines;                            // the requirement and ability lines
    std::vector<std::size_t> techAt, abilAt;      // where each row's lines start, and the end
  };
  bool keep_ = false;
  bool renewing_ = false;
  int stepOrder_ = 0;
  Kept kept_;
  // words_.named by the length of their names: those of length l are
  // namedByLength_[namedStart_[l] .. namedStart_[l + 1]); names of
  // kNamedLengths - 1 characters or more share the last group.
  static constexpr std::size_t kNamedLengths = 33;
  std::vector<NamedVariable> namedByLength_;
  std::array<std::uint8_t, kNamedLengths + 1> namedStart_{};

  std::unique_ptr<clsExprEvaluator> evaluator_;
  ExprCache exprCache_;  // the run's compiled brace groups
  std::vector<std::int32_t> gridPos_;  // 1..numTechReqs
  MessageSink* sink_ = nullptr;
  int passes_ = 0;
  std::size_t nameAt_ = 0;               // where the variable being substituted was read
  bool nameRead_ = false;                // ... by the step itself (else nameAt_ is 0)
  const FieldState* awaited_ = nullptr;  // set by a step that waits
  // The field being stepped, for messages: "MinCost", or "TechReqLevel" and
  // its entry.
  std::string_view fieldName_;
  int fieldEntry_ = 0;
};

template <typename Visit>
bool GenerationModule::ForEachNeededField(Visit&& visit) const {
  for (std::size_t s = 1; s < slots_.size(); ++s) {
    if (words_.slotNeeds[s] == Needs::Weapon && !shape_.weapon) continue;
    if (!visit(slots_[s], words_.slotNames[s], 0)) return false;
  }
  for (std::size_t n = 1; n < tech_.size(); ++n) {
    const TechFields& req = tech_[n];
    const int i = static_cast<int>(n);
    if (!visit(req.area, std::string_view("TechReqArea"), i) || !visit(req.level, std::string_view("TechReqLevel"), i)) {
      return false;
    }
    if (shape_.grid && (!visit(req.gridSize, std::string_view("TechReqGridSize"), i) ||
                        !visit(req.numberStyle, words_.techNumberStyleName, i))) {
      return false;
    }
  }
  for (std::size_t n = 1; n < abil_.size(); ++n) {
    const AbilityFields& ability = abil_[n];
    const int i = static_cast<int>(n);
    if (!visit(ability.type, std::string_view("AbilName"), i) || !visit(ability.descr, std::string_view("AbilDesc"), i) ||
        !visit(ability.val1, std::string_view("AbilVal1"), i) || !visit(ability.val2, std::string_view("AbilVal2"), i)) {
      return false;
    }
  }
  if (words_.damageFamily && shape_.weapon) {
    for (std::size_t r = 0; r < damage_.size(); ++r) {
      if (!visit(damage_[r], std::string_view("WeaponDamageAtRange"), static_cast<int>(r) + 1)) return false;
    }
  }
  return true;
}

inline GenerationModule::Shape GenerationModule::CommonShape(const DesignRecord& record) {
  Shape shape;
  shape.levels = ParseLevelCount(record.LevelCount()).value_or(0);
  shape.grid = record.IsGrid();
  shape.numTechReqs = record.NumTechReqs();
  shape.numAbils = record.NumAbils();
  shape.gridSizes.assign(static_cast<std::size_t>(std::max<std::int16_t>(shape.numTechReqs, 0)) + 1, 0.0);
  for (int i = 1; i <= shape.numTechReqs; ++i) {
    shape.gridSizes[static_cast<std::size_t>(i)] =
        LeadingNumber(record.TechReqGridSize(static_cast<std::int16_t>(i)).value_or(""));
  }
  return shape;
}

inline void GenerationModule::LoadListFields(const DesignRecord& record) {
  // The record's list texts are read once per generation (the record does
  // not change while it runs) and copied into the table for every entry,
  // into the storage the texts already have.
  if (!listTextsRead_) {
    techTexts_.assign(tech_.size(), TechFields{});
    abilTexts_.assign(abil_.size(), AbilityFields{});
    // Entry numbers run up to 32767: counted in int, handed on in 16 bits.
    for (std::size_t i = 1; i < tech_.size(); ++i) {
      const auto n = static_cast<std::int16_t>(i);
      TechFields& req = techTexts_[i];
      req.area.text = record.TechReqArea(n).value_or("");
      req.level.text = record.TechReqLevel(n).value_or("");
      if (shape_.grid) {
        req.gridSize.text = record.TechReqGridSize(n).value_or("");
        req.numberStyle.text = record.TechReqStyle(n).value_or("");
      }
    }
    for (std::size_t i = 1; i < abil_.size(); ++i) {
      const auto n = static_cast<std::int16_t>(i);
      AbilityFields& ability = abilTexts_[i];
      ability.type.text = record.AbilName(n).value_or("");
      ability.descr.text = record.AbilDesc(n).value_or("");
      ability.val1.text = record.AbilVal1(n).value_or("");
      ability.val2.text = record.AbilVal2(n).value_or("");
    }
    listTextsRead_ = true;
  }
  for (std::size_t i = 1; i < tech_.size(); ++i) {
    TechFields& req = tech_[i];
    const TechFields& source = techTexts_[i];
    req.area.text = source.area.text;
    req.level.text = source.level.text;
    if (shape_.grid) {
      req.gridSize.text = source.gridSize.text;
      req.numberStyle.text = source.numberStyle.text;
    }
  }
  for (std::size_t i = 1; i < abil_.size(); ++i) {
    AbilityFields& ability = abil_[i];
    const AbilityFields& source = abilTexts_[i];
    ability.type.text = source.type.text;
    ability.descr.text = source.descr.text;
    ability.val1.text = source.val1.text;
    ability.val2.text = source.val2.text;
  }
}

}  // namespace vorlane
