// Each record kind's field table as rows the design file reader and writer,
// the design checks and the generator walk: the text fields (from the
// record's X-macro table), the list keys and the kind's own names. Checked at
// compile time: every generation slot used once, variables well formed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "records/vrlComponent.h"
#include "records/vrlFacility.h"

namespace vorlane {

template <typename Record>
using TextProperty = TextField<Record>;

// One list of the technology requirements or abilities; the lists are the
// shared ones of DesignRecord.
template <typename Record>
struct ListProperty {
  const char* name;
  std::optional<std::string> (Record::*get)(std::int16_t) const;
  bool (Record::*set)(std::int16_t, std::string);
};

// The parts both kinds spell alike, with the kind's own names.
template <typename Record>
struct SharedLayout {
  using R = Record;
  static constexpr const char* kKind = R::kKind;
  static constexpr const char* kLevels = R::kLevelsKey;
  static constexpr const char* kGrid = R::kGridKey;
  static std::string Levels(const R& r) { return r.LevelCount(); }
  static bool SetLevels(R& r, const std::string& text) { return r.SetLevelCount(text); }
  static bool Grid(const R& r) { return r.IsGrid(); }
  static void SetGrid(R& r, bool value) { r.SetGrid(value); }
  // The design file's lists: technology requirements and abilities.
  static constexpr const char* kTechList = "TechReqs";
  static constexpr const char* kAbilityList = "Abilities";
  // The entries last written to game data files: [{"File": ..., "Names": [...]}],
  // only written when there are any.
  static constexpr const char* kWrittenList = "WrittenTo";
  static constexpr std::size_t kGridSizeColumn = 2;  // kTech's grid size
  static constexpr std::array<ListProperty<R>, 4> kTech = {{
      {"TechReqArea", &R::TechReqArea, &R::SetTechReqArea},
      {"TechReqLevel", &R::TechReqLevel, &R::SetTechReqLevel},
      {"TechReqGridSize", &R::TechReqGridSize, &R::SetTechReqGridSize},
      {R::kNumberStyleKey, &R::TechReqStyle, &R::SetTechReqStyle},
  }};
  static constexpr std::array<ListProperty<R>, 4> kAbilities = {{
      {"AbilName", &R::AbilName, &R::SetAbilName},
      {"AbilDesc", &R::AbilDesc, &R::SetAbilDesc},
      {"AbilVal1", &R::AbilVal1, &R::SetAbilVal1},
      {"AbilVal2", &R::AbilVal2, &R::SetAbilVal2},
  }};
};

template <typename Record>
struct Layout;

template <typename Row, std::size_t N>
constexpr int SlotOf(const Row (&rows)[N], std::string_view name) {
  for (const Row& row : rows) {
    if (name == row.name) return row.slot;
  }
  return 0;
}

template <>
struct Layout<vrlComponent> : SharedLayout<vrlComponent> {
  static constexpr bool kDamage = true;  // weapon data: the damage list, weapon-only slots
  static constexpr const char* kDamageList = "WeaponDamageAtRange";
  static constexpr TextField<R> kTexts[] = {VORLANE_COMPONENT_TEXTS(VORLANE_TEXT_ROW)};
};

template <>
struct Layout<vrlFacility> : SharedLayout<vrlFacility> {
  static constexpr bool kDamage = false;
  static constexpr TextField<R> kTexts[] = {VORLANE_FACILITY_TEXTS(VORLANE_TEXT_ROW)};
};

static_assert(SlotsArePermutation(Layout<vrlComponent>::kTexts));
static_assert(SlotsArePermutation(Layout<vrlFacility>::kTexts));
static_assert(VariablesAreWellFormed(Layout<vrlComponent>::kTexts));
static_assert(VariablesAreWellFormed(Layout<vrlFacility>::kTexts));
static_assert(LabelsAreGiven(Layout<vrlComponent>::kTexts));
static_assert(LabelsAreGiven(Layout<vrlFacility>::kTexts));
// The entry's name line reads slot 1 and, outside a grid, slot 2.
static_assert(SlotOf(Layout<vrlComponent>::kTexts, "CompName") == 1);
static_assert(SlotOf(Layout<vrlFacility>::kTexts, "FacName") == 1);
static_assert(SlotOf(Layout<vrlComponent>::kTexts, "NumberStyle") == 2);
static_assert(SlotOf(Layout<vrlFacility>::kTexts, "NumberStyle") == 2);

}  // namespace vorlane
