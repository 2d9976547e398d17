#include "generate/DesignChange.h"

#include <algorithm>

#include "generate/DesignLayout.h"

namespace vorlane {

namespace {

// Collects the differences in walking order, stopping at the second.
class Walk {
 public:
  // Notes a field that differs; false once two are known (stop walking).
  bool Differs(FieldPlace place) {
    if (change_.kind == DesignChange::Kind::None) {
      change_.kind = DesignChange::Kind::Field;
      change_.field = std::move(place);
      return true;
    }
    change_.several = true;
    return false;
  }
  bool Done() const { return change_.several; }
  // A list whose count changed decides the change's kind, whatever else
  // differs; the first entry added or removed is named.
  void CountChanged(const std::string& list, int before, int after) {
    const bool first = change_.kind != DesignChange::Kind::Added && change_.kind != DesignChange::Kind::Removed;
    if (!first || change_.kind == DesignChange::Kind::Field) change_.several = true;
    if (!first) return;
    change_.kind = after > before ? DesignChange::Kind::Added : DesignChange::Kind::Removed;
    change_.field = {list, std::min(before, after) + 1, ""};
    change_.entries = std::max(before, after) - std::min(before, after);
    if (change_.entries > 1) change_.several = true;
  }
  DesignChange Result() const { return change_; }

 private:
  DesignChange change_;
};

// The entries of a list the two records share are walked only where they
// differ (`next` finds the next such entry).
template <typename Record, std::size_t N, typename Next>
void CompareList(const std::array<ListProperty<Record>, N>& columns, const char* list, int before, int after,
                 const Record& a, const Record& b, Next next, Walk& walk) {
  if (before != after) walk.CountChanged(list, before, after);
  for (int i = (a.*next)(b, 1); i > 0 && !walk.Done(); i = (a.*next)(b, i + 1)) {
    const auto entry = static_cast<std::int16_t>(i);
    for (const ListProperty<Record>& column : columns) {
      if ((a.*column.get)(entry) != (b.*column.get)(entry) && !walk.Differs({list, i, column.name})) return;
    }
  }
}

template <typename Record>
DesignChange Find(const Record& a, const Record& b) {
  using L = Layout<Record>;
  Walk walk;
  if (a == b) return walk.Result();
  if (L::Levels(a) != L::Levels(b)) walk.Differs({"", 0, L::kLevels});
  if (L::Grid(a) != L::Grid(b)) walk.Differs({"", 0, L::kGrid});
  for (const TextField<Record>& field : L::kTexts) {
    if (walk.Done()) break;
    if ((a.*field.get)() != (b.*field.get)()) walk.Differs({"", 0, field.name});
  }
  // The shared part (level count, grid flag, lists) compares in place; the
  // lists are walked entry by entry only when it differs.
  if (static_cast<const DesignRecord&>(a) != static_cast<const DesignRecord&>(b)) {
    CompareList(L::kTech, L::kTechList, a.NumTechReqs(), b.NumTechReqs(), a, b, &Record::NextTechReqDifference, walk);
    CompareList(L::kAbilities, L::kAbilityList, a.NumAbils(), b.NumAbils(), a, b, &Record::NextAbilDifference, walk);
  }
  if constexpr (L::kDamage) {
    for (std::int16_t r = 1; r <= Record::kNumRanges && !walk.Done(); ++r) {
      if (a.WeaponDamageAtRange(r) != b.WeaponDamageAtRange(r)) walk.Differs({L::kDamageList, r, L::kDamageList});
    }
  }
  return walk.Result();
}

}  // namespace

std::string DesignChange::Name() const {
  switch (kind) {
    case Kind::None:
      return {};
    case Kind::Field:
      return FieldLabelOf(field);
    case Kind::Added:
    case Kind::Removed:
      break;
  }
  std::string name = kind == Kind::Added ? "Add " : "Remove ";
  if (field.list == "TechReqs") return name + (entries > 1 ? "Technology Requirements" : "Technology Requirement");
  return name + (entries > 1 ? "Abilities" : "Ability");
}

bool DesignChange::ContinuedBy(const DesignChange& next) const {
  if (!next.SingleField()) return false;
  if (SingleField()) return field == next.field;
  return kind == Kind::Added && !several && field.list == next.field.list && field.entry == next.field.entry;
}

DesignChange FindChange(const vrlComponent& before, const vrlComponent& after) { return Find(before, after); }
DesignChange FindChange(const vrlFacility& before, const vrlFacility& after) { return Find(before, after); }

}  // namespace vorlane
