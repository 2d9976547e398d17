// Where and why a generation stopped, for the user to find the field: the
// field, its label as the wizard page shows it, the entry, the reason and
// the character of the field's stored text where the work stopped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorlane {

// A field of a design, named as the design file names it.
struct FieldPlace {
  std::string list;  // "", "TechReqs", "Abilities" or "WeaponDamageAtRange"
  int entry = 0;     // the list's entry (the range for damage), from 1; 0 for a plain field
  std::string key;   // "MinCost", "AbilVal1", "WeaponDamageAtRange"

  bool operator==(const FieldPlace&) const = default;
};

struct GenerationFault {
  FieldPlace field;
  std::string label;                 // the field as the page shows it: "Ability 2 – Value 2"
  std::string level;                 // the level text of the entry being made; empty before any entry
  std::vector<std::int32_t> cell;    // grid positions 1..NumTechReqs; empty outside a grid
  std::string reason;                // the evaluator's own reason, or the module's, with a hint where one helps
  int position = 0;                  // 1-based character of the field's stored text; 0 when unknown
  std::vector<std::string> waiting;  // unresolved cross-references: "Minerals Cost waits on &orgcost"

  // The located message in one line:
  //   LABEL[, level L][, cell (a, b)]: REASON[ (character N)][: WAITING; WAITING...]
  std::string Line() const;
};

// A field's name as the wizard page shows it: "Component Name",
// "Technology Requirement 2 – Tech Level", "Ability 2 – Value 2",
// "Damage at Range 5". The same words for both kinds where they share a key.
std::string FieldLabelOf(const FieldPlace& field);

// The list a list field's key belongs to ("TechReqs" for "TechReqLevel"),
// or "" for a plain field.
std::string_view ListOfKey(std::string_view key);
// The caption of a list column's key within its entry ("Tech Level" for
// "TechReqLevel"), as field labels and the sheet's tables show it; empty for
// other keys.
std::string_view ListPartCaption(std::string_view key);

}  // namespace vorlane
