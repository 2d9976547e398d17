#include "sheet/SheetTable.h"

#include "generate/DesignCheck.h"

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
  auto items = [](std::initializer_list<std::string_view> words) {
    std::vector<SheetChoice> choices;
    for (std::string_view word : words) choices.push_back({word, word});
    return choices;
  };
  switch (control) {
    case SheetControl::VehicleTypes: {
      static constexpr std::string_view kCaptions[] = {"Ship",    "Base", "Satellite", "Weapon Platform",
                                                       "Fighter", "Mine", "Troop",     "Drone"};
      std::vector<SheetChoice> choices;
      for (std::size_t i = 0; i < std::size(kCaptions); ++i) choices.push_back({kCaptions[i], kVehicleTypeNames[i]});
      return choices;
    }
    case SheetControl::WeaponTargets:
      return items({"Ships", "Planets", "Seekers", "Fighters", "Satellites", "Drones"});
    case SheetControl::Restrictions:
      return items({"None", "One Per Vehicle", "Two Per Vehicle", "Three Per Vehicle", "Four Per Vehicle",
                    "Five Per Vehicle", "Six Per Vehicle", "Seven Per Vehicle", "Eight Per Vehicle",
                    "Nine Per Vehicle", "Ten Per Vehicle"});
    case SheetControl::WeaponType:
      return items({"None", "Direct Fire", "Seeking", "Point-Defense", "Warhead"});
    case SheetControl::DisplayType:
      return items({"Beam", "Torp", "Seeker"});
    case SheetControl::DamageType:
      return items({"Normal", "Shields Only", "Skips Normal Shields", "Only Engines", "Only Weapons",
                    "Plague Level 1", "Plague Level 2", "Plague Level 3", "Plague Level 4", "Plague Level 5",
                    "Only Planet Population", "Only Planet Conditions", "Only Resupply Depots", "Only Spaceports",
                    "Pushes Target", "Pulls Target", "Random Target Movement", "Only Shield Generators",
                    "Only Boarding Parties", "Only Security Stations", "Only Planet Destroyers", "Skips Armor",
                    "Skips Shields And Armor", "Quad Damage To Shields", "Increase Reload Time",
                    "Disrupt Reload Time", "Crew Conversion", "Only Master Computers", "Skips All Shields",
                    "Double Damage To Shields", "Half Damage To Shields", "Quarter Damage To Shields"});
    case SheetControl::Formula:
    case SheetControl::LevelCount:
    case SheetControl::GridFlag:
      break;
  }
  return {};
}

}  // namespace vorlane
