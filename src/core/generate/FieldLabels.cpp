// The wizard pages' captions for every field a design stores, so that a
// fault, a curve or a sheet row names a field as the user saw it. A text
// field's caption is in its field table row; captions that are terse on their
// page ("Min" beside the cost box) are written out there ("Minerals Cost", the
// facility page's caption for the same field).
#include <string_view>

#include "generate/DesignLayout.h"
#include "generate/GenerationFault.h"

namespace vorlane {

namespace {

struct Caption {
  std::string_view key;
  std::string_view label;
};

// The fields outside the text field tables, by design-file key; the text
// fields carry their captions in their table rows.
constexpr Caption kPlain[] = {
    {"NumCompLevels", "Number of Levels"},
    {"GridComp", "Grid Component"},
    {"NumFacLevels", "Number of Levels"},
    {"GridFac", "Grid Facility"},
};

template <typename Record>
std::string_view TextLabel(std::string_view key) {
  for (const TextField<Record>& field : Layout<Record>::kTexts) {
    if (field.name == key) return field.label;
  }
  return {};
}

// A key both kinds have is captioned alike in both tables.
constexpr bool SharedKeysAgree() {
  for (const auto& c : Layout<vrlComponent>::kTexts) {
    for (const auto& f : Layout<vrlFacility>::kTexts) {
      if (std::string_view(c.name) == f.name && c.label != f.label) return false;
    }
  }
  return true;
}
static_assert(SharedKeysAgree());

// Parts of a list entry: the page's caption of the entry, then the box.
struct ListCaption {
  std::string_view key;
  std::string_view list;
  std::string_view part;  // empty: the entry's caption alone
};
constexpr std::string_view kEnDash = " \u2013 ";
constexpr ListCaption kListParts[] = {
    {"TechReqArea", "TechReqs", "Tech Area"},
    {"TechReqLevel", "TechReqs", "Tech Level"},
    {"TechReqGridSize", "TechReqs", "Number of Levels"},
    {"TechReqNumberStyle", "TechReqs", "Numbering Style"},
    {"TechReqNumStyle", "TechReqs", "Numbering Style"},
    {"AbilName", "Abilities", "Type"},
    {"AbilDesc", "Abilities", "Description"},
    {"AbilVal1", "Abilities", "Value 1"},
    {"AbilVal2", "Abilities", "Value 2"},
    {"WeaponDamageAtRange", "WeaponDamageAtRange", ""},
};

std::string_view EntryCaption(std::string_view list) {
  if (list == "TechReqs") return "Technology Requirement ";
  if (list == "Abilities") return "Ability ";
  return "Damage at Range ";
}

}  // namespace

std::string_view ListOfKey(std::string_view key) {
  for (const ListCaption& part : kListParts) {
    if (part.key == key) return part.list;
  }
  return {};
}

std::string_view ListPartCaption(std::string_view key) {
  for (const ListCaption& part : kListParts) {
    if (part.key == key) return part.part;
  }
  return {};
}

std::string FieldLabelOf(const FieldPlace& field) {
  if (field.list.empty()) {
    // A key both kinds have (PicNum, MinCost ...) has one caption in both.
    for (std::string_view label : {TextLabel<vrlComponent>(field.key), TextLabel<vrlFacility>(field.key)}) {
      if (!label.empty()) return std::string(label);
    }
    for (const Caption& caption : kPlain) {
      if (caption.key == field.key) return std::string(caption.label);
    }
    return field.key;
  }
  for (const ListCaption& part : kListParts) {
    if (part.key != field.key || part.list != field.list) continue;
    std::string label = std::string(EntryCaption(part.list)) + std::to_string(field.entry);
    if (!part.part.empty()) label.append(kEnDash).append(part.part);
    return label;
  }
  return field.key + " " + std::to_string(field.entry);
}

std::string GenerationFault::Line() const {
  std::string line = label.empty() ? std::string("Design") : label;
  if (!level.empty()) line += ", level " + level;
  if (!cell.empty()) {
    line += ", cell (";
    for (std::size_t i = 0; i < cell.size(); ++i) line += (i ? ", " : "") + std::to_string(cell[i]);
    line += ")";
  }
  line += ": " + reason;
  if (position > 0) line += " (character " + std::to_string(position) + ")";
  for (std::size_t i = 0; i < waiting.size(); ++i) line += (i ? "; " : ": ") + waiting[i];
  return line;
}

}  // namespace vorlane
