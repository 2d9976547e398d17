#include "generate/CompGenerate.h"

namespace vorlane {

namespace {

// The component's words; its slots and variables are its field table's.
constexpr KindWords kComponentWords = {
    .levelVariable = "&complevel",
    .noun = "component",
    .nounTitle = "Component",
    .nounPlural = "components",
    .crossReferenceTitle = "Too many cross-references",
};

}  // namespace

CompGenerate::CompGenerate() : RecordGenerate(kComponentWords) {}

void CompGenerate::AppendEntry(std::string& out, bool grid) const {
  auto slot = [this](Slot s) -> const std::string& { return slots_[s].text; };
  AppendLine(out, "Name", NameWithSuffix(grid));
  AppendLine(out, "Description", slot(kCompDesc));
  AppendLine(out, "Pic Num", slot(kPicNum));
  AppendLine(out, "Tonnage Space Taken", slot(kSize));
  AppendLine(out, "Tonnage Structure", slot(kHP));
  AppendLine(out, "Cost Minerals", slot(kMinCost));
  AppendLine(out, "Cost Organics", slot(kOrgCost));
  AppendLine(out, "Cost Radioactives", slot(kRadCost));
  AppendLine(out, "Vehicle Type", "Ship");
  AppendLine(out, "Vehicle List Type Override", slot(kVehicleType));
  AppendLine(out, "Vehicle List Type Description", slot(kVehicleType));
  AppendLine(out, "Supply Amount Used", slot(kSupplyUse));
  AppendLine(out, "Restrictions", slot(kRestrictions));
  AppendLine(out, "General Group", slot(kGeneralGroup));
  AppendLine(out, "Family", slot(kFamily));
  AppendLine(out, "Roman Numeral", grid ? GridRomanNumeral() : slot(kRomanStyle));
  AppendLine(out, "Custom Group", slot(kCustomGroup));
  AppendRequirementAndAbilityLines(out);
  const std::string& type = slot(kWeaponType);
  AppendLine(out, "Weapon Type", type);
  if (!EqualsNoCase(type, "None")) {
    AppendLine(out, "Weapon Target", "Ships");
    AppendLine(out, "Weapon List Target Override", slot(kWeaponTarget));
    AppendLine(out, "Weapon List Target Description", slot(kWeaponTarget));
    std::string damage;
    for (const FormulaField& field : damage_) {
      damage += field.text;
      damage += ' ';
    }
    AppendLine(out, "Weapon Damage At Rng", damage);
    AppendLine(out, "Weapon Damage Type", slot(kWeaponDamageType));
    AppendLine(out, "Weapon Reload Rate", slot(kWeaponReload));
    AppendLine(out, "Weapon Display Type", slot(kWeaponDisplayType));
    AppendLine(out, "Weapon Display", slot(kWeaponDisplayNum));
    AppendLine(out, "Weapon Modifier", slot(kWeaponToHitMod));
    AppendLine(out, "Weapon Sound", slot(kWeaponSound));
    AppendLine(out, "Weapon Family", slot(kWeaponFamily));
    if (EqualsNoCase(type, "Seeking")) {
      AppendLine(out, "Weapon Seeker Speed", slot(kWeaponSeekerSpeed));
      AppendLine(out, "Weapon Seeker Dmg Res", slot(kWeaponSeekerHP));
    }
  }
  out += "\r\n";
}

}  // namespace vorlane
