// The indexed variables of a design's formulas, "&techarea" N and the like:
// one row per family, and the one reader of such a name. The substitution,
// a fault's nearest name and field, and the formula catalogue all go
// through them, as the named variables go through the field table.
#pragma once

#include <cstdint>
#include <string_view>

namespace vorlane {

enum class IndexedId : unsigned char {
  kTechArea, kTechLevel, kTechGridLevel, kAbilType, kAbilDescr, kAbilVal1, kAbilVal2, kWeapDmg
};

// Whose entries N counts.
enum class IndexedList : unsigned char { kTechReqs, kAbilities, kDamage };

struct IndexedFamily {
  IndexedId id;
  std::string_view prefix;  // "&abil"
  std::string_view suffix;  // after N: "val1"; empty for a family without one
  IndexedList list;
  std::string_view column;  // the entry's field in the design file; empty: none (a grid position)
  bool gridOnly;            // offered in grid designs only
  bool weaponOnly;          // offered for weapons only
  // The substitution replaces the name rebuilt from the prefix and N
  // ("&techlevel2" for "&techlevel2x", whose "x" stays), not the name as read.
  bool rebuilt;
  std::string_view help;    // one line, N follows: "Area of technology requirement "
};

// The families in the order the formula reference lists them per entry.
inline constexpr IndexedFamily kIndexedFamilies[] = {
    {IndexedId::kTechArea, "&techarea", "", IndexedList::kTechReqs, "TechReqArea", false, false, true,
     "Area of technology requirement "},
    {IndexedId::kTechLevel, "&techlevel", "", IndexedList::kTechReqs, "TechReqLevel", false, false, true,
     "Level of technology requirement "},
    {IndexedId::kTechGridLevel, "&techgridlevel", "", IndexedList::kTechReqs, "", true, false, true,
     "Position of the grid cell along technology requirement "},
    {IndexedId::kAbilType, "&abil", "type", IndexedList::kAbilities, "AbilName", false, false, false,
     "Type of ability "},
    {IndexedId::kAbilDescr, "&abil", "descr", IndexedList::kAbilities, "AbilDesc", false, false, false,
     "Description of ability "},
    {IndexedId::kAbilVal1, "&abil", "val1", IndexedList::kAbilities, "AbilVal1", false, false, false,
     "Value 1 of ability "},
    {IndexedId::kAbilVal2, "&abil", "val2", IndexedList::kAbilities, "AbilVal2", false, false, false,
     "Value 2 of ability "},
    {IndexedId::kWeapDmg, "&weapdmg", "", IndexedList::kDamage, "WeaponDamageAtRange", false, true, false,
     "Weapon damage at range "},
};

// Row k is the family of id k, each list's families side by side.
constexpr bool IndexedFamiliesInOrder() {
  for (std::size_t k = 0; k < std::size(kIndexedFamilies); ++k) {
    const IndexedFamily& f = kIndexedFamilies[k];
    if (static_cast<std::size_t>(f.id) != k) return false;
    if (k > 0 && f.list < kIndexedFamilies[k - 1].list) return false;
    // A family with a suffix shares its prefix with the others of its list.
    if (k > 0 && !f.suffix.empty() && f.list == kIndexedFamilies[k - 1].list &&
        f.prefix != kIndexedFamilies[k - 1].prefix) {
      return false;
    }
  }
  return true;
}
static_assert(IndexedFamiliesInOrder());

// A name read as an indexed variable.
struct IndexedName {
  // The family the name starts with the prefix of (with, for a family with a
  // suffix, that suffix after the digits); nullptr when none.
  const IndexedFamily* family = nullptr;
  // The name starts with a family's prefix, whether or not its suffix
  // follows, and that family's list.
  bool prefixed = false;
  IndexedList list = IndexedList::kTechReqs;
  // N as written: the leading number after the prefix rounded to 16 bits or,
  // for families with a suffix, the run of digits; 0 when neither gives one
  // of at least 1 (out of range for every list).
  long index = 0;
};

// Reads `name` (lower case, "&techlevel2"); "&weapdmg" only with `damage`
// (a record kind with a damage list).
IndexedName ReadIndexed(std::string_view name, bool damage);

// Calls visit(family, n) for every indexed variable a design offers, in the
// order of its lists (requirements, abilities, damage ranges), entry by
// entry, each entry's families in table order.
template <typename Visit>
void ForEachIndexed(int techReqs, int abilities, int ranges, bool grid, Visit&& visit) {
  for (IndexedList list : {IndexedList::kTechReqs, IndexedList::kAbilities, IndexedList::kDamage}) {
    const int count = list == IndexedList::kTechReqs ? techReqs : list == IndexedList::kAbilities ? abilities : ranges;
    for (int n = 1; n <= count; ++n) {
      for (const IndexedFamily& f : kIndexedFamilies) {
        if (f.list == list && (grid || !f.gridOnly)) visit(f, n);
      }
    }
  }
}

}  // namespace vorlane
