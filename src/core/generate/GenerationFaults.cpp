// Located faults: which field failed, where in the text the user typed, and
// why, with the nearest known name where a name was misspelt. Built only
// when an entry fails, from the field's current text, its edits since it was
// loaded, and the step's reason (or the evaluator's).
#include <algorithm>
#include <charconv>
#include <vector>

#include "evaluator/ExprFunctions.h"
#include "evaluator/clsExprEvaluator.h"
#include "generate/GenerationModule.h"
#include "util/Numbers.h"

namespace vorlane {

namespace {

// Edits between two lower-case names (insert, delete, replace, swap two
// neighbours).
std::size_t Distance(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

// The first of the closest candidates, when it is close enough to be a slip
// of the keyboard: at most one edit per four letters, one at least, three
// at most. Empty when none is.
std::string Nearest(std::string_view name, const std::vector<std::string>& candidates) {
  const std::size_t letters = name.starts_with('&') ? name.size() - 1 : name.size();
  std::size_t best = std::min<std::size_t>(3, 1 + letters / 4) + 1;
  std::string nearest;
  for (const std::string& candidate : candidates) {
    const std::size_t longer = std::max(name.size(), candidate.size());
    if (longer - std::min(name.size(), candidate.size()) >= best) continue;  // too far apart already
    const std::size_t d = Distance(name, candidate);
    if (d < best && d < letters) {
      best = d;
      nearest = candidate;
    }
  }
  return nearest;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  LowerAscii(lower);
  return lower;
}

// Byte offset of character `n` (from 1) of `text`, counting from `start`.
std::size_t ByteOfCharacter(std::string_view text, std::size_t start, int n) {
  std::size_t at = start;
  for (int c = 1; c < n && at < text.size(); ++c) {
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
  }
  return std::min(at, text.size());
}

// The brace group that starts at `open`: up to its closing brace.
std::string_view GroupAt(std::string_view text, std::size_t open) {
  int depth = 0;
  for (std::size_t i = open; i < text.size(); ++i) {
    if (text[i] == '{') ++depth;
    if (text[i] == '}' && --depth == 0) return text.substr(open, i - open + 1);
  }
  return text.substr(open);
}

// The evaluator's reason for refusing `group` at byte `open` of `text`:
// its words without their position in the group, a hint for an unknown
// function, and the byte of `text` it points at.
std::string EvaluatorReason(const std::string& error, std::string_view text, std::size_t open, std::size_t& at) {
  const std::string_view group = GroupAt(text, open);
  std::string reason = error;
  at = open;
  if (const std::size_t pos = reason.rfind(" at pos: "); pos != std::string::npos) {
    int n = 0;
    const char* digits = reason.data() + pos + 9;
    if (std::from_chars(digits, reason.data() + reason.size(), n).ec == std::errc() && n >= 1) {
      at = ByteOfCharacter(text, open, n);
    }
    reason.erase(pos);
  } else if (const std::size_t colon = reason.find(": "); colon != std::string::npos) {
    // "Syntax error: abc": the operand named, where it stands in the group.
    const std::size_t found = group.find(std::string_view(reason).substr(colon + 2));
    if (found != std::string_view::npos) at = open + found;
  }
  const std::size_t from = reason.find("Function < "), to = reason.find(" > unknown");
  if (from == 0 && to != std::string::npos) {
    std::vector<std::string> names;
    for (const auto& f : expr::NamedFunctions()) names.emplace_back(f.name);
    const std::string nearest = Nearest(Lower(std::string_view(reason).substr(11, to - 11)), names);
    if (!nearest.empty()) reason += "; did you mean " + nearest + "?";
  }
  return reason;
}

}  // namespace

FieldPlace GenerationModule::PlaceOf(std::string_view name, int entry) const {
  return {std::string(ListOfKey(name)), entry, std::string(name)};
}

int GenerationModule::StoredPosition(const FormulaField& field, const FieldPlace& place, std::size_t at) const {
  return StoredPosition(field.edits, place, at);
}

int GenerationModule::StoredPosition(const std::vector<FieldEdit>& edits, const FieldPlace& place,
                                     std::size_t at) const {
  for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
    if (at >= edit->at + edit->inserted) {
      at = at - edit->inserted + edit->removed;
    } else if (at >= edit->at) {
      at = edit->at;  // inside what a variable or group became: its start
    }
  }
  const std::string stored = StoredText(place);
  return static_cast<int>(CharacterCount(std::string_view(stored).substr(0, std::min(at, stored.size())))) + 1;
}

std::string GenerationModule::NearestVariable(std::string_view name) const {
  // An ampersand followed by no letter or digit was meant as itself.
  if (name.size() == 1 || !(IsLetter(name.substr(1)) || (name[1] >= '0' && name[1] <= '9'))) {
    return "; write && for an ampersand";
  }
  std::vector<std::string> names{std::string(words_.levelVariable), std::string(words_.levelVariable) + "roman"};
  for (const NamedVariable& variable : words_.named) names.emplace_back(variable.name);
  const int ranges = words_.damageFamily && shape_.weapon ? kNumRanges : 0;
  ForEachIndexed(shape_.numTechReqs, shape_.numAbils, ranges, shape_.grid, [&](const IndexedFamily& f, int n) {
    names.push_back(std::string(f.prefix) + std::to_string(n) + std::string(f.suffix));
  });
  const std::string nearest = Nearest(name, names);
  return nearest.empty() ? std::string() : "; did you mean " + nearest + "?";
}

void GenerationModule::NoteStepFault(const FormulaField& field) {
  GenerationFault fault;
  fault.field = PlaceOf(fieldName_, fieldEntry_);
  fault.label = FieldLabelOf(fault.field);
  fault.level = slots_[0].text;
  if (shape_.grid) fault.cell.assign(gridPos_.begin() + 1, gridPos_.end());
  fault.reason = std::move(stepReason_);
  stepReason_.clear();
  const std::string& text = field.text;
  std::size_t at = 0;  // a finished text refused as a whole: its start
  if (!field.state.VarsDone) {
    at = text.find('&');
    if (fault.reason.empty() && at != std::string::npos) {
      const std::string name = Lower(ReadVariableName(text, at));
      fault.reason = "Unknown variable " + name + NearestVariable(name);
    }
  } else if (!field.state.BracesDone) {
    at = text.find('{');
    if (fault.reason.empty() && at != std::string::npos) {
      fault.reason = EvaluatorReason(Evaluator().ErrorDescription(), text, at, at);
    }
  }
  if (at != std::string::npos) fault.position = StoredPosition(field, fault.field, at);
  fault_ = std::move(fault);
}

void GenerationModule::NoteGroupWarning(const std::string& text, std::size_t open, std::string_view group,
                                        const clsExprEvaluator& evaluator, const std::string& value) {
  ++warningCount_;
  // Only a field being stepped has a place; the first warnings are kept.
  if (fieldName_.empty() || warnings_.size() >= kMaxWarnings) return;
  GenerationWarning warning;
  warning.field = PlaceOf(fieldName_, fieldEntry_);
  warning.label = FieldLabelOf(warning.field);
  warning.level = slots_[0].text;
  if (shape_.grid) warning.cell.assign(gridPos_.begin() + 1, gridPos_.end());
  std::size_t at = open;
  if (evaluator.ErrorNumber() != 0) {
    warning.reason = EvaluatorReason(evaluator.ErrorDescription(), text, open, at);
  } else {
    // The evaluator's first variable: a name that stands for nothing here.
    const std::string name = evaluator.VarName(1);
    warning.reason = "Name < " + name + " > has no value and counts as 0" + NearestVariable("&" + Lower(name));
    if (const std::size_t found = group.find(name); !name.empty() && found != std::string_view::npos) {
      at = open + found;
    }
  }
  warning.reason += "; " + std::string(group) + " written as " + value;
  std::replace(warning.reason.begin(), warning.reason.end(), kLiteralAmpersand, '&');
  if (editing_) warning.position = StoredPosition(*editing_, warning.field, at);
  warnings_.push_back(std::move(warning));
  warningStamps_.push_back({passes_, stepOrder_});
}

const FormulaField* GenerationModule::FieldNamed(std::string_view name) const {
  for (const NamedVariable& variable : words_.named) {
    if (name == variable.name) return &slots_[static_cast<std::size_t>(variable.slot)];
  }
  const IndexedName indexed = ReadIndexed(name, words_.damageFamily);
  if (indexed.family == nullptr || indexed.index < 1 || indexed.index > EntryCount(indexed.list)) return nullptr;
  return IndexedField(indexed.family->id, indexed.index);
}

void GenerationModule::NoteUnresolved() {
  // Every unfinished field and the variable it waits on, in step order.
  struct Waiting {
    const FormulaField* field;
    FieldPlace place;
    std::string variable;  // empty: it has brace groups left
  };
  std::vector<Waiting> unresolved;
  ForEachNeededField([&](const FormulaField& field, std::string_view name, int entry) {
    if (field.state.BracesDone) return true;
    const std::size_t amp = field.state.VarsDone ? std::string::npos : field.text.find('&');
    std::string variable = amp != std::string::npos ? Lower(ReadVariableName(field.text, amp)) : "";
    unresolved.push_back({&field, PlaceOf(name, entry), std::move(variable)});
    return true;
  });

  GenerationFault fault;
  fault.level = slots_[0].text;
  if (shape_.grid) fault.cell.assign(gridPos_.begin() + 1, gridPos_.end());
  fault.reason = "Variables could not all be resolved in 50 iterations";
  for (const Waiting& w : unresolved) {
    fault.waiting.push_back(FieldLabelOf(w.place) +
                            (w.variable.empty() ? " has brace groups left" : " waits on " + w.variable));
  }
  if (unresolved.empty()) {
    fault_ = std::move(fault);
    return;
  }
  // The fault lies where the waiting ends: from the first unfinished field,
  // follow what each waits on to the first field met twice (a cycle) or to
  // one that waits on no unfinished field.
  std::size_t at = 0;
  std::vector<bool> met(unresolved.size(), false);
  while (!met[at]) {
    met[at] = true;
    const FormulaField* next = unresolved[at].variable.empty() ? nullptr : FieldNamed(unresolved[at].variable);
    auto found = std::find_if(unresolved.begin(), unresolved.end(), [&](const Waiting& w) { return w.field == next; });
    if (next == nullptr || found == unresolved.end()) break;
    at = static_cast<std::size_t>(found - unresolved.begin());
  }
  const Waiting& root = unresolved[at];
  const std::size_t where = root.field->text.find(root.variable.empty() ? '{' : '&');
  if (where != std::string::npos) fault.position = StoredPosition(*root.field, root.place, where);
  fault.label = FieldLabelOf(root.place);
  fault.field = root.place;
  fault_ = std::move(fault);
}

void GenerationModule::NoteFault(FieldPlace field, std::string reason, int position) {
  GenerationFault fault;
  fault.label = FieldLabelOf(field);
  fault.field = std::move(field);
  fault.reason = std::move(reason);
  fault.position = position;
  fault_ = std::move(fault);
}

}  // namespace vorlane
