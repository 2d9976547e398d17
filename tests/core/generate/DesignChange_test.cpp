#include "generate/DesignChange.h"

#include <gtest/gtest.h>

#include <functional>

namespace vorlane {
namespace {

vrlComponent Laser() {
  vrlComponent laser;
  laser.SetCompName("Laser");
  laser.SetNumTechReqs(2);
  laser.SetTechReqArea(1, "Lasers");
  laser.SetTechReqArea(2, "Optics");
  laser.SetNumAbils(1);
  return laser;
}

// Each edit of the laser and the step name it gives, and whether it is one field.
TEST(DesignChange, NamesTheFirstChangeByItsCaption) {
  struct Case {
    const char* what;
    std::function<void(vrlComponent&)> edit;
    std::string name;
    bool single;
  };
  const Case cases[] = {
      {"nothing", [](vrlComponent&) {}, "", false},
      {"a text field", [](vrlComponent& r) { r.SetMinCost("10"); }, "Minerals Cost", true},
      {"the level count", [](vrlComponent& r) { r.SetNumCompLevels("3"); }, "Number of Levels", true},
      {"the grid flag", [](vrlComponent& r) { r.SetGridComp(true); }, "Grid Component", true},
      {"a list cell", [](vrlComponent& r) { r.SetTechReqLevel(2, "4"); },
       "Technology Requirement 2 \u2013 Tech Level", true},
      {"a damage range", [](vrlComponent& r) { r.SetWeaponDamageAtRange(5, "7"); }, "Damage at Range 5", true},
      {"two fields, first named",
       [](vrlComponent& r) {
         r.SetSize("2");
         r.SetCompDesc("x");
       },
       "Component Description", false},
      {"an entry added", [](vrlComponent& r) { r.SetNumAbils(2); }, "Add Ability", false},
      {"entries added", [](vrlComponent& r) { r.SetNumAbils(4); }, "Add Abilities", false},
      {"an entry removed with a field", [](vrlComponent& r) {
         r.SetNumTechReqs(1);
         r.SetCompName("Maser");
       },
       "Remove Technology Requirement", false},
  };
  const vrlComponent before = Laser();
  for (const Case& c : cases) {
    vrlComponent after = before;
    c.edit(after);
    const DesignChange change = FindChange(before, after);
    EXPECT_EQ(change.Name(), c.name) << c.what;
    EXPECT_EQ(change.SingleField(), c.single) << c.what;
    // Going back is the same field.
    EXPECT_EQ(FindChange(after, before).field.key, change.field.key) << c.what;
  }
  vrlFacility mine;
  vrlFacility deeper = mine;
  deeper.SetGridFac(true);
  EXPECT_EQ(FindChange(mine, deeper).Name(), "Grid Facility");
}

// Typing goes on in the same step in the same field, or in the fields of the
// one entry that typing into a new entry added; nowhere else.
TEST(DesignChange, TypingContinuesInTheSameFieldOrNewEntry) {
  const vrlComponent base = Laser();
  auto change = [&](const std::function<void(vrlComponent&)>& edit, const vrlComponent& from) {
    vrlComponent after = from;
    edit(after);
    return FindChange(from, after);
  };
  const DesignChange cost = change([](vrlComponent& r) { r.SetMinCost("1"); }, base);
  EXPECT_TRUE(cost.ContinuedBy(change([](vrlComponent& r) { r.SetMinCost("12"); }, base)));
  EXPECT_FALSE(cost.ContinuedBy(change([](vrlComponent& r) { r.SetOrgCost("1"); }, base)));
  EXPECT_FALSE(cost.ContinuedBy(change([](vrlComponent& r) { r.SetNumAbils(2); }, base)));

  vrlComponent added = base;
  added.SetNumAbils(2);
  added.SetAbilName(2, "S");
  const DesignChange add = FindChange(base, added);
  EXPECT_EQ(add.Name(), "Add Ability");
  EXPECT_TRUE(add.ContinuedBy(change([](vrlComponent& r) { r.SetAbilName(2, "Sh"); }, added)));
  EXPECT_FALSE(add.ContinuedBy(change([](vrlComponent& r) { r.SetAbilName(1, "Sh"); }, added)));
  vrlComponent two = base;
  two.SetNumAbils(3);
  EXPECT_FALSE(FindChange(base, two).ContinuedBy(change([](vrlComponent& r) { r.SetAbilName(2, "x"); }, two)));
}

}  // namespace
}  // namespace vorlane
