// The component design record: every field is free text (a value or a formula)
// except the level count, the grid flag and the two list counts.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "records/DesignRecord.h"

namespace vorlane {

// The component's text fields, one row each, in design-file order:
//   X(property and design-file key, generation slot, variable, default, needed,
//     caption as the pages show it)
// The row makes the record's reader, writer and member, the design file's key,
// the generator's slot (which orders the resolution passes), the variable that
// stands for the field in formulas, and whether an entry needs the field
// finished always or only for a weapon. The level count, grid flag and lists
// are the shared ones of DesignRecord.
#define VORLANE_COMPONENT_TEXTS(X)                                                       \
  X(CompName,           1, "&compname",        "",     Always, "Component Name")         \
  X(CompDesc,           3, "&compdesc",        "",     Always, "Component Description")  \
  X(VehicleType,       10, "&vehicletype",     "",     Always, "Vehicle Type")           \
  X(Restrictions,      12, "&restr",           "",     Always, "Restrictions")           \
  X(GeneralGroup,      13, "&gengroup",        "",     Always, "General Group")          \
  X(Family,            14, "&family",          "",     Always, "Component Family")       \
  X(CustomGroup,       16, "&custgroup",       "",     Always, "Custom Group")           \
  X(PicNum,             4, "&picnum",          "",     Always, "Picture Number")         \
  X(NumberStyle,        2, "",                 "",     Always, "Numbering Style")        \
  X(RomanStyle,        15, "&roman",           "",     Always, "Roman Numeral Style")    \
  X(MinCost,            7, "&mincost",         "",     Always, "Minerals Cost")          \
  X(OrgCost,            8, "&orgcost",         "",     Always, "Organics Cost")          \
  X(RadCost,            9, "&radcost",         "",     Always, "Radioactives Cost")      \
  X(Size,               5, "&size",            "",     Always, "Size")                   \
  X(HP,                 6, "&hp",              "",     Always, "Hitpoints")              \
  X(SupplyUse,         11, "&supply",          "",     Always, "Supply Use")             \
  X(WeaponType,        17, "&weaptype",        "None", Always, "Weapon Type")            \
  X(WeaponTarget,      18, "&weaptarg",        "",     Weapon, "Weapon Target")          \
  X(WeaponDamageType,  19, "&weapdmgtype",     "",     Weapon, "Damage Type")            \
  X(WeaponSound,       24, "&weapsound",       "",     Weapon, "Weapon Sound")           \
  X(WeaponDisplayType, 21, "&weapdisptype",    "Beam", Weapon, "Display Type")           \
  X(WeaponDisplayNum,  22, "&weapdispnum",     "",     Weapon, "Display Number")         \
  X(WeaponFamily,      25, "&weapfamily",      "",     Weapon, "Weapon Family")          \
  X(WeaponReload,      20, "&weapreload",      "",     Weapon, "Reload Time")            \
  X(WeaponToHitMod,    23, "&weaptohit",       "",     Weapon, "To Hit Modifier")        \
  X(WeaponSeekerSpeed, 26, "&weapseekerspeed", "",     Weapon, "Seeker Speed")           \
  X(WeaponSeekerHP,    27, "&weapseekerhp",    "",     Weapon, "Seeker Hitpoints")

class vrlComponent : public DesignRecord {
 public:
  VORLANE_COMPONENT_TEXTS(VORLANE_TEXT_ACCESSORS)
  VORLANE_RECORD_NAMES(NumCompLevels, GridComp, TechReqNumberStyle);
  static constexpr const char* kKind = "component";

  // Damage at ranges 1..21; any other range is refused.
  static constexpr std::int16_t kNumRanges = 21;
  std::optional<std::string> WeaponDamageAtRange(std::int16_t r) const {
    if (r < 1 || r > kNumRanges) return std::nullopt;
    return damageAtRange_[static_cast<std::size_t>(r - 1)];
  }
  bool SetWeaponDamageAtRange(std::int16_t r, std::string value) {
    if (r < 1 || r > kNumRanges) return false;
    damageAtRange_[static_cast<std::size_t>(r - 1)] = std::move(value);
    return true;
  }

  bool operator==(const vrlComponent&) const = default;

 private:
  VORLANE_COMPONENT_TEXTS(VORLANE_TEXT_MEMBER)
  std::array<std::string, kNumRanges> damageAtRange_;
};

}  // namespace vorlane
