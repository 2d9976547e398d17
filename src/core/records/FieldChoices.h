// The fixed choices that the wizard's pages and the design sheet offer for
// some fields, in the pages' order: the items of their lists and combo boxes,
// and the words their check boxes store. (The vehicle type words are
// kVehicleTypeNames in generate/DesignCheck.h.)
#pragma once

#include <string_view>

namespace vorlane::choices {

inline constexpr std::string_view kRestrictions[] = {
    "None",             "One Per Vehicle",   "Two Per Vehicle",   "Three Per Vehicle",
    "Four Per Vehicle", "Five Per Vehicle",  "Six Per Vehicle",   "Seven Per Vehicle",
    "Eight Per Vehicle", "Nine Per Vehicle", "Ten Per Vehicle"};

inline constexpr std::string_view kWeaponTypes[] = {"None", "Direct Fire", "Seeking", "Point-Defense", "Warhead"};

inline constexpr std::string_view kDisplayTypes[] = {"Beam", "Torp", "Seeker"};

inline constexpr std::string_view kWeaponTargets[] = {"Ships", "Planets", "Seekers", "Fighters", "Satellites", "Drones"};

inline constexpr std::string_view kDamageTypes[] = {
    "Normal", "Shields Only", "Skips Normal Shields", "Only Engines", "Only Weapons", "Plague Level 1",
    "Plague Level 2", "Plague Level 3", "Plague Level 4", "Plague Level 5", "Only Planet Population",
    "Only Planet Conditions", "Only Resupply Depots", "Only Spaceports", "Pushes Target", "Pulls Target",
    "Random Target Movement", "Only Shield Generators", "Only Boarding Parties", "Only Security Stations",
    "Only Planet Destroyers", "Skips Armor", "Skips Shields And Armor", "Quad Damage To Shields",
    "Increase Reload Time", "Disrupt Reload Time", "Crew Conversion", "Only Master Computers",
    "Skips All Shields", "Double Damage To Shields", "Half Damage To Shields", "Quarter Damage To Shields"};

}  // namespace vorlane::choices
