// What the component and facility records share: the level count, the grid
// flag, the technology requirements and the abilities, and the limits of what
// a design may hold. Each record adds its text fields from its field table
// (one row per field, see vrlComponent.h) and names the shared parts its own
// way through VORLANE_RECORD_NAMES.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/IndexedLists.h"

namespace vorlane {

// Limits of a stored design; the design file reader and the design checks
// refuse anything beyond them.
inline constexpr int kMaxLevelCount = 32767;      // level counts lie from 0 to this
inline constexpr int kMaxListEntries = 32767;     // requirements or abilities in a design file
inline constexpr int kMaxStoredGridSize = 32767;  // a grid cannot have more cells anyway

// The names of the entries a design last wrote into one game data file
// (by import or apply), so that the next apply replaces and removes exactly
// those entries and no other.
struct WrittenEntries {
  std::string file;  // the data file's full path
  std::vector<std::string> names;
  bool operator==(const WrittenEntries&) const = default;
};

class DesignRecord {
 public:
  // Level count, exchanged as text. An overflowing value is refused (false) and
  // leaves the stored count unchanged.
  std::string LevelCount() const { return std::to_string(numLevels_); }
  bool SetLevelCount(const std::string& text) {
    auto n = ParseLevelCount(text);
    if (!n) return false;
    numLevels_ = *n;
    return true;
  }
  bool IsGrid() const { return grid_; }
  void SetGrid(bool value) { grid_ = value; }

  // Technology requirements, entries 1..NumTechReqs. Readers give nothing and
  // writers refuse (false) an entry number outside 0..NumTechReqs.
  std::int16_t NumTechReqs() const { return techReqs_.Count(); }
  bool SetNumTechReqs(std::int16_t n) { return techReqs_.SetCount(n); }
  std::optional<std::string> TechReqArea(std::int16_t i) const { return techReqs_.Get(0, i); }
  bool SetTechReqArea(std::int16_t i, std::string value) { return techReqs_.Set(0, i, std::move(value)); }
  std::optional<std::string> TechReqLevel(std::int16_t i) const { return techReqs_.Get(1, i); }
  bool SetTechReqLevel(std::int16_t i, std::string value) { return techReqs_.Set(1, i, std::move(value)); }
  std::optional<std::string> TechReqGridSize(std::int16_t i) const { return techReqs_.Get(2, i); }
  bool SetTechReqGridSize(std::int16_t i, std::string value) { return techReqs_.Set(2, i, std::move(value)); }
  // The requirement's numbering style, which each record names its own way.
  std::optional<std::string> TechReqStyle(std::int16_t i) const { return techReqs_.Get(3, i); }
  bool SetTechReqStyle(std::int16_t i, std::string value) { return techReqs_.Set(3, i, std::move(value)); }

  // Abilities, entries 1..NumAbils, with the same range rules.
  std::int16_t NumAbils() const { return abils_.Count(); }
  bool SetNumAbils(std::int16_t n) { return abils_.SetCount(n); }
  std::optional<std::string> AbilName(std::int16_t i) const { return abils_.Get(0, i); }
  bool SetAbilName(std::int16_t i, std::string value) { return abils_.Set(0, i, std::move(value)); }
  std::optional<std::string> AbilDesc(std::int16_t i) const { return abils_.Get(1, i); }
  bool SetAbilDesc(std::int16_t i, std::string value) { return abils_.Set(1, i, std::move(value)); }
  std::optional<std::string> AbilVal1(std::int16_t i) const { return abils_.Get(2, i); }
  bool SetAbilVal1(std::int16_t i, std::string value) { return abils_.Set(2, i, std::move(value)); }
  std::optional<std::string> AbilVal2(std::int16_t i) const { return abils_.Get(3, i); }
  bool SetAbilVal2(std::int16_t i, std::string value) { return abils_.Set(3, i, std::move(value)); }

  // The first requirement (ability) from `from` on at which this record and
  // `other` differ, among the entries both have; 0 when there is none. Time
  // grows with the entries that differ, not with the list.
  int NextTechReqDifference(const DesignRecord& other, int from) const {
    return techReqs_.NextDifference(other.techReqs_, from);
  }
  int NextAbilDifference(const DesignRecord& other, int from) const {
    return abils_.NextDifference(other.abils_, from);
  }

  const std::vector<WrittenEntries>& Written() const { return written_; }
  void SetWritten(std::vector<WrittenEntries> written) { written_ = std::move(written); }

  bool operator==(const DesignRecord&) const = default;

 private:
  std::int16_t numLevels_ = 0;
  bool grid_ = false;
  IndexedLists<4> techReqs_;
  IndexedLists<4> abils_;
  std::vector<WrittenEntries> written_;
};

// When an entry needs a field finished: always, or only for a weapon (a
// component whose weapon type is not "None").
enum class Needs { Always, Weapon };

// One text field of a record, as its field table declares it.
template <typename Record>
struct TextField {
  const char* name;  // the property, which is also the design-file key
  const std::string& (Record::*get)() const;
  void (Record::*set)(std::string);
  int slot;                   // the generation slot, 1..slot count
  std::string_view variable;  // the formula variable that stands for it ("&compname"), or empty
  Needs needs;
  std::string_view label;  // the caption the pages show ("Component Name"), for messages and the sheet
};

// The record's own names for the shared parts, and their design-file keys:
// VORLANE_RECORD_NAMES(NumCompLevels, GridComp, TechReqNumberStyle).
#define VORLANE_RECORD_NAMES(Levels, Grid, NumberStyle)                                                  \
  std::string Levels() const { return LevelCount(); }                                                  \
  bool Set##Levels(const std::string& text) { return SetLevelCount(text); }                             \
  bool Grid() const { return IsGrid(); }                                                               \
  void Set##Grid(bool value) { SetGrid(value); }                                                       \
  std::optional<std::string> NumberStyle(std::int16_t i) const { return TechReqStyle(i); }              \
  bool Set##NumberStyle(std::int16_t i, std::string value) { return SetTechReqStyle(i, std::move(value)); } \
  static constexpr const char* kLevelsKey = #Levels;                                                   \
  static constexpr const char* kGridKey = #Grid;                                                       \
  static constexpr const char* kNumberStyleKey = #NumberStyle

// Declares a text field's reader, writer and member from its table row.
#define VORLANE_TEXT_ACCESSORS(Name, slot, variable, initial, needs, label) \
  const std::string& Name() const { return Name##_; }                        \
  void Set##Name(std::string value) { Name##_ = std::move(value); }
#define VORLANE_TEXT_MEMBER(Name, slot, variable, initial, needs, label) std::string Name##_ = initial;
#define VORLANE_TEXT_ROW(Name, slot, variable, initial, needs, label) \
  {#Name, &R::Name, &R::Set##Name, slot, variable, Needs::needs, label},
#define VORLANE_TEXT_SLOT(Name, slot, variable, initial, needs, label) k##Name = slot,

// Compile-time checks of a field table: slots 1..N each used once, variable
// names unique, lower case and starting with "&", every field captioned.
template <typename Row, std::size_t N>
constexpr bool SlotsArePermutation(const Row (&rows)[N]) {
  for (std::size_t s = 1; s <= N; ++s) {
    int uses = 0;
    for (const Row& row : rows) uses += row.slot == static_cast<int>(s) ? 1 : 0;
    if (uses != 1) return false;
  }
  return true;
}

template <typename Row, std::size_t N>
constexpr bool LabelsAreGiven(const Row (&rows)[N]) {
  for (const Row& row : rows) {
    if (row.label.empty()) return false;
  }
  return true;
}

template <typename Row, std::size_t N>
constexpr bool VariablesAreWellFormed(const Row (&rows)[N]) {
  for (std::size_t i = 0; i < N; ++i) {
    const std::string_view v = rows[i].variable;
    if (v.empty()) continue;
    if (v.front() != '&') return false;
    for (char c : v) {
      if (c >= 'A' && c <= 'Z') return false;
    }
    for (std::size_t j = i + 1; j < N; ++j) {
      if (rows[j].variable == v) return false;
    }
  }
  return true;
}

}  // namespace vorlane
