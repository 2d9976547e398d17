#include "sheet/SheetTable.h"

#include "generate/DesignCheck.h"
#include "records/FieldChoices.h"

namespace vorlane {

const char* SheetGroupTitle(SheetGroup group) {
  switch (group) {
    case SheetGroup::BasicInfo: return "Basic Information";
    case SheetGroup::VehicleTypes: return "Vehicle Types";
    case SheetGroup::Picture: return "Picture";
    case SheetGroup::TechReqs: return "Technology Requirements";
    case SheetGroup::Costs: return "Costs";
    case SheetGroup::Abilities: return "Abilities";
    case SheetGroup::Weapon: return "Weapon";
    case SheetGroup::DamageAtRange: return "Damage at Range";
  }
  return "";
}

std::vector<SheetChoice> ChoicesOf(SheetControl control) {
  // Combo box items are stored as shown.
  auto items = [](const auto& words) {
    std::vector<SheetChoice> choices;
    for (std::string_view word : words) choices.push_back({word, word});
    return choices;
  };
  switch (control) {
    case SheetControl::VehicleTypes: {
      static constexpr std::string_view kCaptions[] = {"Ship",    "Base", "Satellite", "Weapon Platform",
                                                       "Fighter", "Mine", "Troop",     "Drone"};
      static_assert(std::size(kCaptions) == std::size(kVehicleTypeNames));
      std::vector<SheetChoice> choices;
      for (std::size_t i = 0; i < std::size(kCaptions); ++i) choices.push_back({kCaptions[i], kVehicleTypeNames[i]});
      return choices;
    }
    case SheetControl::WeaponTargets: return items(choices::kWeaponTargets);
    case SheetControl::Restrictions: return items(choices::kRestrictions);
    case SheetControl::WeaponType: return items(choices::kWeaponTypes);
    case SheetControl::DisplayType: return items(choices::kDisplayTypes);
    case SheetControl::DamageType: return items(choices::kDamageTypes);
    case SheetControl::Formula:
    case SheetControl::LevelCount:
    case SheetControl::GridFlag:
      break;
  }
  return {};
}

}  // namespace vorlane
