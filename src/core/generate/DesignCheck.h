// What a design may hold, checked in one place for every reader of designs.
//
// - Stored values: the design file reader (so both the program's Open Design
//   and vorlane-gen) refuses a design whose values the wizard's boxes could not
//   hold unchanged and generation could not use: a control character in any
//   text (it would break the game's data file), a negative level count, a grid
//   size that is not a whole number in digits.
// - Control characters are refused again when a generation starts, whatever
//   the record's source.
// - The wizard's own refusals: what Next refuses on a page (a missing name, no
//   vehicle type, a missing weapon field) vorlane-gen refuses in a design file,
//   with the page's words.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/vrlComponent.h"
#include "records/vrlFacility.h"

namespace vorlane {

// One refused value and where it is.
struct DesignFault {
  std::string list;     // "TechReqs", "Abilities", "WeaponDamageAtRange", or empty for a plain property
  int entry = 0;        // the list's entry, from 1
  std::string key;      // "CompDesc", "TechReqGridSize"
  std::string problem;  // "holds a line break (U+000A) at character 3; ..."

  // The place in a design file: "/TechReqs/0/TechReqGridSize".
  std::string FilePlace() const;
  // The field in words: "TechReqGridSize 1", "CompDesc".
  std::string FieldName() const;
};

// The first value, in field order, that a stored design may not hold.
std::optional<DesignFault> FindStoredValueFault(const vrlComponent& record);
std::optional<DesignFault> FindStoredValueFault(const vrlFacility& record);

// The problem with the first control character of `text`, if it has one.
std::optional<std::string> ControlCharacterProblem(std::string_view text);

// The first control character (U+0000 to U+001F, U+007F to U+009F) in any
// text of the record.
std::optional<DesignFault> FindControlCharacter(const vrlComponent& record);
std::optional<DesignFault> FindControlCharacter(const vrlFacility& record);

// The words of the wizard pages' refusals, shared with the pages.
namespace page_text {
inline constexpr std::string_view kFamilyMissing = "You must include a family number.";
inline constexpr std::string_view kCustomGroupMissing = "You must include a custom group number.";
inline constexpr std::string_view kRestrictionsMissing = "You must include a restrictions setting.";
inline constexpr std::string_view kVehicleTypeMissing = "You must select at least one vehicle type.";
inline constexpr std::string_view kHitpointsMissing = "You must enter a hitpoint start value.";
inline constexpr std::string_view kWeaponInfoMissing = "You must enter all information.";
inline constexpr std::string_view kGridSizeMissing = "You must include a tech grid size for this tech req.";
inline constexpr std::string_view kGridSizeTitle = "Error";
std::string NameMissing(std::string_view noun);  // "You must enter a name for your component."
std::string TechAreaMissing();                   // the first line of the page's Add message
std::string AbilityTypeMissing();                // likewise
}  // namespace page_text

// What Next would refuse on the wizard's pages, in page order; each with the
// message box title the page uses. Entries of a list are named as the page
// captions them: "Technology Requirement 2: ...".
struct PageRefusal {
  std::string title;
  std::string text;
  bool operator==(const PageRefusal&) const = default;
};
std::vector<PageRefusal> FindPageRefusals(const vrlComponent& record);
std::vector<PageRefusal> FindPageRefusals(const vrlFacility& record);

// The names the vehicle type page stores for its boxes, in box order; a
// stored list selects a box when the name occurs in it (letter case counts).
inline constexpr std::string_view kVehicleTypeNames[] = {"Ship", "Base",    "Satellite", "WeapPlatform",
                                                         "Fighter", "Mine", "Troop",     "Drone"};

}  // namespace vorlane
