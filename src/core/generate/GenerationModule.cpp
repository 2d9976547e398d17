#include "generate/GenerationModule.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "evaluator/ExprQuick.h"
#include "evaluator/clsExprEvaluator.h"
#include "util/Numbers.h"

namespace vorlane {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kErrorTitle = "Error";
constexpr std::string_view kProgramTitle = "Vorlane";

// A text as the user wrote it, for messages: literal ampersands shown as "&".
std::string Shown(std::string text) {
  std::replace(text.begin(), text.end(), GenerationModule::kLiteralAmpersand, '&');
  return text;
}

}  // namespace

GenerationModule::GenerationModule(Words words) : words_(std::move(words)) {
  slots_.resize(static_cast<std::size_t>(words_.slotCount) + 1);
  tech_.resize(1);
  abil_.resize(1);
  // The named variables grouped by the length of their names.
  namedByLength_ = words_.named;
  std::stable_sort(namedByLength_.begin(), namedByLength_.end(),
                   [](const NamedVariable& a, const NamedVariable& b) { return a.name.size() < b.name.size(); });
  for (const NamedVariable& variable : namedByLength_) {
    const std::size_t length = std::min(variable.name.size(), kNamedLengths - 1);
    for (std::size_t l = length + 1; l < namedStart_.size(); ++l) ++namedStart_[l];
  }
}

GenerationModule::~GenerationModule() = default;

clsExprEvaluator& GenerationModule::Evaluator() {
  if (!evaluator_) evaluator_ = std::make_unique<clsExprEvaluator>();
  return *evaluator_;
}

void GenerationModule::Show(std::string_view title, const std::string& text) const {
  if (sink_) sink_->Show(std::string(title), text, MessageButtons::Ok);
}

void GenerationModule::SetGridPos(std::int16_t i, std::int32_t position) {
  if (i >= 1 && static_cast<std::size_t>(i) < gridPos_.size()) gridPos_[static_cast<std::size_t>(i)] = position;
}

std::int32_t GenerationModule::GridPos(std::int16_t i) const {
  if (i >= 1 && static_cast<std::size_t>(i) < gridPos_.size()) return gridPos_[static_cast<std::size_t>(i)];
  return 0;
}

void GenerationModule::Begin(MessageSink& sink) {
  sink_ = &sink;
  shape_ = ReadShape();
  tech_.assign(static_cast<std::size_t>(std::max<std::int16_t>(shape_.numTechReqs, 0)) + 1, TechFields{});
  abil_.assign(static_cast<std::size_t>(std::max<std::int16_t>(shape_.numAbils, 0)) + 1, AbilityFields{});
  gridPos_.assign(tech_.size(), 0);
  listTextsRead_ = false;
  ResetFieldStates();
  exprCache_.Clear();
  fault_.reset();
  warnings_.clear();
  warningStamps_.clear();
  warningCount_ = 0;
  stepReason_.clear();
  kept_ = {};
}

void GenerationModule::End() { sink_ = nullptr; }

// ---------------------------------------------------------------------------
// The step

bool GenerationModule::EvaluateFieldStep(std::string& text, FieldState& state) {
  if (!state.VarsDone) {
    std::size_t amp = text.find('&');
    if (amp != std::string::npos) {
      if (amp + 1 < text.size() && text[amp + 1] == '&') {
        // Two ampersands stand for one literal ampersand.
        text.replace(amp, 2, 1, kLiteralAmpersand);
        NoteEdit(amp, 2, 1);
        return true;
      }
      std::string name = ReadVariableName(text, amp);
      return SubstituteVariable(text, name, amp);
    }
    state.VarsDone = true;
  }
  if (!state.BracesDone) {
    std::size_t open = text.find('{');
    if (open == std::string::npos) {
      state.BracesDone = true;
      return true;
    }
    int depth = 1;
    std::size_t i = open;
    while (depth != 0) {
      ++i;
      if (i >= text.size()) {
        Show(kErrorTitle, "Error: Not enough closing braces");
        stepReason_ = "Not enough closing braces";
        return false;
      }
      if (text[i] == '{') {
        ++depth;
      } else if (text[i] == '}') {
        --depth;
      }
    }
    // The group is the first case-blind occurrence of its own text: no "{"
    // stands before it. It is replaced where it stands.
    const std::size_t length = i - open + 1;
    const std::string_view group = std::string_view(text).substr(open, length);
    // Constant arithmetic, the most common group once variables are
    // replaced, has its value without compiling; anything else is compiled.
    double result = 0.0;
    const clsExprEvaluator* evaluated = nullptr;
    if (!expr::QuickConstant(group, result)) {
      clsExprEvaluator* evaluator = exprCache_.Compile(group, Evaluator());
      if (!evaluator) {
        Show(kErrorTitle, "Error parsing string for evaluation:" + std::string(kCrLf) + Shown(std::string(group)));
        return false;
      }
      // A failed evaluation gives 0, and a name nobody assigns counts as 0;
      // the entry is written so all the same, with a warning.
      result = evaluator->Eval();
      evaluated = evaluator;
    }
    const std::string value = FormatNumber(result);
    if (!CheckFinite(result, value, group)) return false;
    if (evaluated && (evaluated->ErrorNumber() != 0 || evaluated->VarTop() > 0)) {
      NoteGroupWarning(text, open, group, *evaluated, value);
    }
    text.replace(open, length, value);
    NoteEdit(open, length, value.size());
  }
  return true;
}

bool GenerationModule::ReplaceVariable(std::string& text, std::string_view what, std::string_view value,
                                       const std::string& name) {
  // The name the step has just read stands where it was read. Any other text
  // (one rebuilt from a prefix and an index) is searched for from there on:
  // no ampersand, so no occurrence, stands before that place.
  std::size_t at = nameAt_;
  if (!nameRead_ || what != name) {
    at = FindNoCase(std::string_view(text).substr(nameAt_), what);
    if (at == std::string::npos) return true;  // written differently: it waits until the pass limit
    at += nameAt_;
  }
  // Only growth past the limit is refused; a text already longer may shrink.
  // Characters never outnumber bytes, so a text within the limit in bytes
  // needs no counting.
  if (text.size() - what.size() + value.size() > kMaxFieldCharacters &&
      CharacterCount(value) > CharacterCount(what) &&
      CharacterCount(text) - CharacterCount(what) + CharacterCount(value) > kMaxFieldCharacters) {
    Show(kErrorTitle, "Error processing string " + name + ":" + std::string(kCrLf) + "The text would grow beyond " +
                          std::to_string(kMaxFieldCharacters) + " characters.");
    stepReason_ = "With " + name + " the text would grow beyond " + std::to_string(kMaxFieldCharacters) + " characters";
    return false;
  }
  text.replace(at, what.size(), value);
  NoteEdit(at, what.size(), value.size());
  return true;
}

bool GenerationModule::SubstituteVariable(std::string& text, std::string& name, std::size_t at) {
  LowerAscii(name);
  nameRead_ = at != kNameNotRead;
  nameAt_ = nameRead_ ? at : 0;

  if (name == words_.levelVariable) return ReplaceVariable(text, name, slots_[0].text, name);
  // The level variable with "roman" after it: the level as a Roman numeral.
  if (name.size() == words_.levelVariable.size() + 5 && name.starts_with(words_.levelVariable) &&
      name.ends_with("roman")) {
    return ReplaceVariable(text, name, RomanLevel(slots_[0].text), name);
  }
  const std::size_t group = std::min(name.size(), kNamedLengths - 1);
  for (std::size_t k = namedStart_[group]; k < namedStart_[group + 1]; ++k) {
    const NamedVariable& variable = namedByLength_[k];
    if (name != variable.name) continue;
    FormulaField& field = slots_[static_cast<std::size_t>(variable.slot)];
    NoteReader(field);
    if (!Finished(field, variable.slot)) return Wait(field);
    return ReplaceVariable(text, name, field.text, name);
  }

  const IndexedName indexed = ReadIndexed(name, words_.damageFamily);
  if (!indexed.prefixed) return false;
  if (indexed.index < 1 || indexed.index > EntryCount(indexed.list)) {
    switch (indexed.list) {
      case IndexedList::kDamage:
        Show(kErrorTitle, "Error processing string " + name + ":" + std::string(kCrLf) +
                              "Weapon range must be between 1 and 21.");
        stepReason_ = "Variable " + name + ": weapon range must be between 1 and 21";
        break;
      case IndexedList::kTechReqs:
        Show(kErrorTitle, "Variable " + name +
                              (indexed.family->id == IndexedId::kTechLevel ? "contains invalid tech req number."
                                                                          : "contains an invalid tech req number."));
        stepReason_ = "Variable " + name + " contains an invalid tech req number";
        break;
      case IndexedList::kAbilities:
        Show(kErrorTitle, "Variable " + name + "contains an invalid ability number.");
        stepReason_ = "Variable " + name + " contains an invalid ability number";
        break;
    }
    return false;
  }
  if (indexed.family == nullptr) return false;  // "&abil" N with no known suffix
  const IndexedFamily& family = *indexed.family;
  const std::string what = family.rebuilt ? std::string(family.prefix) + std::to_string(indexed.index) : name;
  if (family.id == IndexedId::kTechGridLevel) {
    if (!shape_.grid) {
      Show(kProgramTitle, "&TechGridLevel is not a valid variable" + std::string(kCrLf) + "for non-grid " +
                              std::string(words_.nounPlural) + ".");
      stepReason_ = "&TechGridLevel is not a valid variable for non-grid " + std::string(words_.nounPlural);
      return false;
    }
    return ReplaceVariable(text, what, std::to_string(GridPos(static_cast<std::int16_t>(indexed.index))), name);
  }
  FormulaField& field = *IndexedField(family.id, indexed.index);
  NoteReader(field);
  if (!Finished(field, IndexedOrder(family.id, indexed.index))) return Wait(field);
  return ReplaceVariable(text, what, field.text, name);
}

long GenerationModule::EntryCount(IndexedList list) const {
  switch (list) {
    case IndexedList::kTechReqs: return static_cast<long>(tech_.size()) - 1;
    case IndexedList::kAbilities: return static_cast<long>(abil_.size()) - 1;
    case IndexedList::kDamage: return kNumRanges;
  }
  return 0;
}

const FormulaField* GenerationModule::IndexedField(IndexedId id, long n) const {
  const auto i = static_cast<std::size_t>(n);
  switch (id) {
    case IndexedId::kTechArea: return &tech_[i].area;
    case IndexedId::kTechLevel: return &tech_[i].level;
    case IndexedId::kTechGridLevel: return nullptr;  // a position, no field
    case IndexedId::kAbilType: return &abil_[i].type;
    case IndexedId::kAbilDescr: return &abil_[i].descr;
    case IndexedId::kAbilVal1: return &abil_[i].val1;
    case IndexedId::kAbilVal2: return &abil_[i].val2;
    case IndexedId::kWeapDmg: return &damage_[i - 1];
  }
  return nullptr;
}

int GenerationModule::IndexedOrder(IndexedId id, long n) const {
  const auto i = static_cast<std::size_t>(n);
  switch (id) {
    case IndexedId::kTechArea: return TechOrder(i, 0);
    case IndexedId::kTechLevel: return TechOrder(i, 1);
    case IndexedId::kTechGridLevel: return 0;
    case IndexedId::kAbilType: return AbilityOrder(i, 0);
    case IndexedId::kAbilDescr: return AbilityOrder(i, 1);
    case IndexedId::kAbilVal1: return AbilityOrder(i, 2);
    case IndexedId::kAbilVal2: return AbilityOrder(i, 3);
    case IndexedId::kWeapDmg: return DamageOrder(i);
  }
  return 0;
}

// ---------------------------------------------------------------------------
// The field table

// A value that is or reads back as infinite (or is no number) cannot go
// into the game's data: the step fails, naming the field and the level.
bool GenerationModule::CheckFinite(double value, const std::string& number, std::string_view what) {
  // Below 1E+308 the number text, 15 digits at most, reads back as finite.
  if (std::fabs(value) < 1e308) return true;
  if (std::isfinite(value) && std::isfinite(LeadingNumber(number))) return true;
  std::string text = "Error";
  if (!fieldName_.empty()) text.append(" in ").append(fieldName_);
  if (fieldEntry_ > 0) text.append(" ").append(std::to_string(fieldEntry_));
  text.append(" at level ").append(slots_[0].text).append(":").append(kCrLf);
  Show(kErrorTitle, text + Shown(std::string(what)) + " does not give a finite number.");
  stepReason_ = Shown(std::string(what)) + " does not give a finite number";
  return false;
}

bool GenerationModule::StepField(FormulaField& field, std::string_view name, int entry) {
  // A finished field's step changes nothing; nor does the step of a field
  // whose first variable waits on a field that is still unfinished.
  if (field.state.BracesDone) return true;
  if (field.awaited && !field.awaited->BracesDone) return true;
  return StepFieldNow(field, name, entry);
}

bool GenerationModule::StepFieldNow(FormulaField& field, std::string_view name, int entry) {
  field.awaited = nullptr;
  awaited_ = nullptr;
  fieldName_ = name;
  fieldEntry_ = entry;
  editing_ = &field.edits;
  const bool stepped = EvaluateFieldStep(field.text, field.state);
  editing_ = nullptr;
  field.awaited = awaited_;
  if (field.state.BracesDone) field.donePass = static_cast<std::uint8_t>(passes_);
  if (!stepped) NoteStepFault(field);
  fieldName_ = {};
  fieldEntry_ = 0;
  if (stepped) return true;
  Show(kErrorTitle, "Error parsing string: " + std::string(kCrLf) + Shown(field.text));
  return false;
}

bool GenerationModule::RefuseControlCharacter(const std::optional<DesignFault>& fault, GenerationResult& result) {
  if (!fault) return false;
  NoteFault({fault->list, fault->entry, fault->key}, fault->problem);
  Show(kErrorTitle, fault->FieldName() + " " + fault->problem + ".");
  Show(kErrorTitle, std::string(words_.nounTitle) + " not generated.");
  result = Finish(GenerationStatus::Failed, {}, 0);
  return true;
}

bool GenerationModule::ResolveFields() {
  const std::size_t techCount = tech_.size() - 1;
  const std::size_t abilCount = abil_.size() - 1;
  for (int pass = 1; pass <= kMaxPasses; ++pass) {
    passes_ = pass;
    // stepOrder_ counts the steps of the pass, for the warnings' places.
    stepOrder_ = 0;
    for (std::size_t s = 1; s < slots_.size(); ++s) {
      stepOrder_ = static_cast<int>(s);
      if (!StepField(slots_[s], words_.slotNames[s])) return false;
    }
    for (std::size_t n = 1; n <= techCount; ++n) {
      TechFields& req = tech_[n];
      const int i = static_cast<int>(n);
      stepOrder_ = TechOrder(n, 0);
      if (!StepField(req.area, "TechReqArea", i)) return false;
      ++stepOrder_;
      if (!StepField(req.level, "TechReqLevel", i)) return false;
      if (shape_.grid) {
        ++stepOrder_;
        if (!StepField(req.gridSize, "TechReqGridSize", i)) return false;
        ++stepOrder_;
        if (!StepField(req.numberStyle, words_.techNumberStyleName, i)) return false;
      }
    }
    for (std::size_t n = 1; n <= abilCount; ++n) {
      AbilityFields& ability = abil_[n];
      const int i = static_cast<int>(n);
      stepOrder_ = AbilityOrder(n, 0);
      if (!StepField(ability.type, "AbilName", i)) return false;
      ++stepOrder_;
      if (!StepField(ability.descr, "AbilDesc", i)) return false;
      ++stepOrder_;
      if (!StepField(ability.val1, "AbilVal1", i)) return false;
      ++stepOrder_;
      if (!StepField(ability.val2, "AbilVal2", i)) return false;
    }
    if (words_.damageFamily && shape_.weapon) {
      for (std::size_t r = 0; r < damage_.size(); ++r) {
        FormulaField& damage = damage_[r];
        const int range = static_cast<int>(r) + 1;
        const bool wasFinished = damage.state.BracesDone;
        stepOrder_ = DamageOrder(r + 1);
        if (!StepField(damage, "WeaponDamageAtRange", range)) return false;
        if (damage.state.BracesDone && !wasFinished && !FinishDamage(damage, range)) return false;
      }
    }
    if (FieldsResolved()) return true;
  }
  NoteUnresolved();
  Show(words_.crossReferenceTitle, "Variables could not all be resolved in 50 iterations.");
  return false;
}

bool GenerationModule::FinishDamage(FormulaField& damage, int range) {
  const double value = LeadingNumber(damage.text);
  const std::string number = FormatNumber(value);
  fieldName_ = "WeaponDamageAtRange";
  fieldEntry_ = range;
  const bool finite = CheckFinite(value, number, damage.text);
  if (!finite) NoteStepFault(damage);
  fieldName_ = {};
  fieldEntry_ = 0;
  if (finite) damage.text = number;
  return finite;
}

bool GenerationModule::FieldsResolved() const {
  return ForEachNeededField([](const FormulaField& field, std::string_view, int) { return field.state.BracesDone; });
}

void GenerationModule::ResetFieldStates() {
  auto reset = [](FormulaField& field) {
    field.state = {};
    field.edits.clear();
    field.awaited = nullptr;
    field.donePass = 0;
    field.readers.clear();
    field.renewed = false;
  };
  for (FormulaField& slot : slots_) reset(slot);
  for (TechFields& req : tech_) {
    reset(req.area);
    reset(req.level);
    reset(req.gridSize);
    reset(req.numberStyle);
  }
  for (AbilityFields& ability : abil_) {
    reset(ability.type);
    reset(ability.descr);
    reset(ability.val1);
    reset(ability.val2);
  }
  for (FormulaField& damage : damage_) reset(damage);
}

bool GenerationModule::WriteEntry(std::string& out, bool grid) {
  if (!HasRecord()) return false;
  kept_.renewable = false;
  LoadFields();
  if (!ResolveFields()) {
    Show(kErrorTitle, "Error during parsing.");
    ResetFieldStates();
    return false;
  }
  if (keep_) KeepResolved();
  AppendEntry(out, grid);
  out += kCrLf;
  if (!keep_) ResetFieldStates();
  return true;
}

}  // namespace vorlane
