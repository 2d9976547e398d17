// The design sheet's one table: where each field of either record sits on the
// sheet and which kind of control edits it. The records' own field tables
// (generate/DesignLayout.h) name the fields; a row here only places one, and
// a row whose key a record lacks is skipped, so the component and facility
// sheets share the table. Their one difference of place (a facility enters
// its costs with its basic information) is the table's second group column.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "generate/DesignLayout.h"
#include "generate/LiveEntry.h"

namespace vorlane {

// The groups of the sheet, in the order of the wizard's pages.
enum class SheetGroup { BasicInfo, VehicleTypes, Picture, TechReqs, Costs, Abilities, Weapon, DamageAtRange };
inline constexpr std::size_t kSheetGroups = 8;
const char* SheetGroupTitle(SheetGroup group);

// The control a field gets: the wizard page's kind of control where the page
// offers a fixed choice, a line edit for everything free (formulas).
enum class SheetControl {
  Formula,        // line edit
  LevelCount,     // digits-only box, as on the start page
  GridFlag,       // check box
  VehicleTypes,   // eight check boxes, stored as one list
  WeaponTargets,  // six check boxes, stored as one list
  Restrictions,   // editable combo box
  DamageType,     // editable combo box
  WeaponType,     // drop-down list
  DisplayType,    // drop-down list
};

struct SheetPlace {
  std::string_view key;  // the design-file key
  SheetGroup component;  // the group on the component sheet
  SheetGroup facility;   // the group on the facility sheet
  SheetControl control;
};

namespace sheet_rows {
using G = SheetGroup;
using C = SheetControl;
// clang-format off
inline constexpr SheetPlace kPlaces[] = {
    {"CompName",          G::BasicInfo,    G::BasicInfo,  C::Formula},
    {"FacName",           G::BasicInfo,    G::BasicInfo,  C::Formula},
    {"CompDesc",          G::BasicInfo,    G::BasicInfo,  C::Formula},
    {"FacDesc",           G::BasicInfo,    G::BasicInfo,  C::Formula},
    {"NumCompLevels",     G::BasicInfo,    G::BasicInfo,  C::LevelCount},
    {"NumFacLevels",      G::BasicInfo,    G::BasicInfo,  C::LevelCount},
    {"GridComp",          G::BasicInfo,    G::BasicInfo,  C::GridFlag},
    {"GridFac",           G::BasicInfo,    G::BasicInfo,  C::GridFlag},
    {"NumberStyle",       G::BasicInfo,    G::BasicInfo,  C::Formula},
    {"RomanStyle",        G::BasicInfo,    G::BasicInfo,  C::Formula},
    {"Family",            G::BasicInfo,    G::BasicInfo,  C::Formula},
    {"FacFamily",         G::BasicInfo,    G::BasicInfo,  C::Formula},
    {"GeneralGroup",      G::BasicInfo,    G::BasicInfo,  C::Formula},
    {"FacGroup",          G::BasicInfo,    G::BasicInfo,  C::Formula},
    {"CustomGroup",       G::BasicInfo,    G::BasicInfo,  C::Formula},
    {"Restrictions",      G::BasicInfo,    G::BasicInfo,  C::Restrictions},
    {"VehicleType",       G::VehicleTypes, G::VehicleTypes, C::VehicleTypes},
    {"PicNum",            G::Picture,      G::Picture,    C::Formula},
    {"MinCost",           G::Costs,        G::BasicInfo,  C::Formula},
    {"OrgCost",           G::Costs,        G::BasicInfo,  C::Formula},
    {"RadCost",           G::Costs,        G::BasicInfo,  C::Formula},
    {"Size",              G::Costs,        G::Costs,      C::Formula},
    {"HP",                G::Costs,        G::Costs,      C::Formula},
    {"SupplyUse",         G::Costs,        G::Costs,      C::Formula},
    {"WeaponType",        G::Weapon,       G::Weapon,     C::WeaponType},
    {"WeaponFamily",      G::Weapon,       G::Weapon,     C::Formula},
    {"WeaponTarget",      G::Weapon,       G::Weapon,     C::WeaponTargets},
    {"WeaponDisplayType", G::Weapon,       G::Weapon,     C::DisplayType},
    {"WeaponDisplayNum",  G::Weapon,       G::Weapon,     C::Formula},
    {"WeaponSound",       G::Weapon,       G::Weapon,     C::Formula},
    {"WeaponDamageType",  G::Weapon,       G::Weapon,     C::DamageType},
    {"WeaponReload",      G::Weapon,       G::Weapon,     C::Formula},
    {"WeaponToHitMod",    G::Weapon,       G::Weapon,     C::Formula},
    {"WeaponSeekerSpeed", G::Weapon,       G::Weapon,     C::Formula},
    {"WeaponSeekerHP",    G::Weapon,       G::Weapon,     C::Formula},
};
// clang-format on
}  // namespace sheet_rows
inline constexpr const auto& kSheetPlaces = sheet_rows::kPlaces;

// Every text field of both records has its place.
template <typename Row, std::size_t N>
constexpr bool EveryFieldPlaced(const Row (&rows)[N]) {
  for (const Row& row : rows) {
    bool placed = false;
    for (const SheetPlace& place : kSheetPlaces) placed = placed || place.key == std::string_view(row.name);
    if (!placed) return false;
  }
  return true;
}
static_assert(EveryFieldPlaced(Layout<vrlComponent>::kTexts));
static_assert(EveryFieldPlaced(Layout<vrlFacility>::kTexts));

// The fixed choices of the wizard's pages: captions of the check boxes and
// the words they stand for in the stored list, and the combo boxes' items.
struct SheetChoice {
  std::string_view caption;
  std::string_view stored;
};
std::vector<SheetChoice> ChoicesOf(SheetControl control);

// A field's stored text by its place; empty for a place the record lacks.
template <typename Record>
std::string FieldValue(const Record& record, const FieldPlace& field) {
  using L = Layout<Record>;
  if (field.list.empty()) {
    for (const auto& row : L::kTexts) {
      if (field.key == row.name) return (record.*row.get)();
    }
    return {};
  }
  const auto entry = static_cast<std::int16_t>(field.entry);
  auto fromList = [&](const auto& columns) -> std::string {
    for (const auto& column : columns) {
      if (field.key == column.name) return (record.*column.get)(entry).value_or("");
    }
    return {};
  };
  if (field.list == L::kTechList) return fromList(L::kTech);
  if (field.list == L::kAbilityList) return fromList(L::kAbilities);
  if constexpr (L::kDamage) {
    if (field.list == L::kDamageList) return record.WeaponDamageAtRange(entry).value_or("");
  }
  return {};
}

// Stores a field's text by its place; false for a place the record lacks.
template <typename Record>
bool SetFieldValue(Record& record, const FieldPlace& field, std::string value) {
  using L = Layout<Record>;
  if (field.list.empty()) {
    for (const auto& row : L::kTexts) {
      if (field.key == row.name) {
        (record.*row.set)(std::move(value));
        return true;
      }
    }
    return false;
  }
  const auto entry = static_cast<std::int16_t>(field.entry);
  auto toList = [&](const auto& columns) {
    for (const auto& column : columns) {
      if (field.key == column.name) return (record.*column.set)(entry, std::move(value));
    }
    return false;
  };
  if (field.list == L::kTechList) return toList(L::kTech);
  if (field.list == L::kAbilityList) return toList(L::kAbilities);
  if constexpr (L::kDamage) {
    if (field.list == L::kDamageList) return record.SetWeaponDamageAtRange(entry, std::move(value));
  }
  return false;
}

}  // namespace vorlane
