// A kept live entry, renewed after each change, must be exactly the entry
// made in full: the text, the messages, the warnings in their order and the
// fault with its place.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "GenerateTestSupport.h"
#include "generate/DesignLayout.h"
#include "generate/LiveEntry.h"

namespace vorlane {
namespace {

using namespace vorlane::testing;

std::string Rendered(const LiveEntry& entry) {
  std::string out = "status " + std::to_string(static_cast<int>(entry.status)) + "\n" + entry.text;
  for (const ShownMessage& message : entry.messages) out += "message " + message.title + ": " + message.text + "\n";
  for (const GenerationWarning& warning : entry.warnings) {
    out += "warning " + warning.Line() + " @" + std::to_string(warning.position) + "\n";
  }
  if (entry.fault) out += "fault " + entry.fault->Line() + " @" + std::to_string(entry.fault->position) + "\n";
  return out;
}

template <typename Record>
void Set(Record& record, const FieldPlace& field, const std::string& text) {
  using L = Layout<Record>;
  const auto n = static_cast<std::int16_t>(field.entry);
  if (field.list.empty()) {
    for (const auto& row : L::kTexts) {
      if (field.key == row.name) (record.*row.set)(text);
    }
  } else if (field.list == L::kTechList || field.list == L::kAbilityList) {
    for (const auto& column : field.list == L::kTechList ? L::kTech : L::kAbilities) {
      if (field.key == column.name) (record.*column.set)(n, text);
    }
  } else if constexpr (L::kDamage) {
    record.SetWeaponDamageAtRange(n, text);
  }
}

// Changes fields of `record` step by step, comparing the memo's entry with
// the entry made in full after every step.
template <typename Record>
struct Walk {
  Record record;
  EntryPoint point;
  LiveEntryMemo memo;

  void Expect(const std::string& step) {
    const LiveEntry kept = MakeEntry(record, point, memo);
    const LiveEntry full = MakeEntry(record, point);
    ASSERT_EQ(Rendered(kept), Rendered(full)) << step;
  }
  void Change(const std::vector<std::pair<FieldPlace, std::string>>& changes, const std::string& step) {
    for (const auto& [field, text] : changes) Set(record, field, text);
    Expect(step);
  }
};

const FieldPlace kMinCost{"", 0, "MinCost"}, kDesc{"", 0, "CompDesc"}, kReload{"", 0, "WeaponReload"};
FieldPlace Abil(int n, const char* key) { return {"Abilities", n, key}; }
FieldPlace Tech(int n, const char* key) { return {"TechReqs", n, key}; }
FieldPlace Damage(int range) { return {"WeaponDamageAtRange", range, "WeaponDamageAtRange"}; }

vrlComponent Weapon() {
  return FromDesign<vrlComponent>(R"("NumCompLevels": "3", "WeaponType": "Direct Fire", "WeaponReload": "{&complevel}",
      "HP": "20", "MinCost": "{&complevel * 10}", "OrgCost": "{&mincost / 2}", "CompDesc": "Costs &mincost",
      "WeaponDamageAtRange": ["{&complevel * 5}", "7", "{&weapdmg1 - 1}"],
      "TechReqs": [{"TechReqArea": "Weapons", "TechReqLevel": "&complevel"},
                   {"TechReqArea": "Armor", "TechReqLevel": "{&complevel + 1}"}],
      "Abilities": [{"AbilName": "Armor", "AbilVal1": "{&hp * 2}", "AbilVal2": "&abil3val1"},
                    {"AbilName": "Shields", "AbilVal1": "{unknown + 1}", "AbilVal2": "0"},
                    {"AbilName": "Speed", "AbilVal1": "{&orgcost + 1}", "AbilVal2": "&&x"},
                    {"AbilName": "Cloak", "AbilVal1": "4", "AbilVal2": "5"}])");
}

TEST(LiveEntryMemo, RenewsTheChangedFieldsAsAFullGenerationWould) {
  Walk<vrlComponent> walk{Weapon(), {2, {}}, {}};
  walk.Expect("first, in full");
  struct Step {
    std::vector<std::pair<FieldPlace, std::string>> changes;
    bool renewed;  // made by renewal rather than in full
    const char* what;
  };
  const Step steps[] = {
      {{{Abil(4, "AbilVal1"), "{&complevel * 7}"}}, true, "a value nobody names"},
      {{{Abil(4, "AbilVal1"), "{&complevel * "}}, true, "an unclosed group fails"},
      {{{Abil(4, "AbilVal1"), "{nothing + &abil2val2}"}}, true, "a warning, and a field named"},
      {{{Abil(4, "AbilDesc"), "waits on &abil4val2 {1+1}"}}, true, "a field of a later step"},
      // The damage's warning comes in pass 2; the description's in passes 3
      // and 4, as it waits a pass on the value 2 after it.
      {{{Damage(5), "&complevel {bogus}"}}, true, "a warning in a later field"},
      {{{Abil(4, "AbilDesc"), "{bogus} &abil4val2 {bogus2}"}}, true, "warnings in pass order"},
      {{{Abil(2, "AbilVal2"), "9"}}, true, "a field another names: both renewed"},
      {{{kDesc, "Now &orgcost and {&radcost + 1}"}}, true, "a slot"},
      {{{kMinCost, "{&complevel * 11}"}}, true, "a slot others name, and fields that name those"},
      {{{Damage(2), "{1e308 * 10}"}}, true, "an infinite damage"},
      {{{Damage(2), "12.5 and more"}}, true, "damage cut to its number"},
      {{{Tech(2, "TechReqLevel"), "{sqr(-1)}"}}, true, "a failing evaluation is a warning"},
      {{{Tech(1, "TechReqGridSize"), "4"}, {Tech(1, "TechReqNumberStyle"), "x"}}, true, "grid parts outside a grid"},
      {{{Abil(4, "AbilVal2"), "a\tb"}}, false, "a control character"},
      {{{Abil(4, "AbilVal2"), "ab"}}, false, "... removed, after an entry that failed"},
      {{{kReload, "{&weapdmg3 * 2}"}}, true, "a weapon slot"},
      {{{Abil(4, "AbilVal1"), "&abil4val1"}}, false, "a field naming itself"},
      {{{Abil(4, "AbilVal1"), "1"}}, false, "... is named now"},
      {{{Abil(1, "AbilDesc"), "&nosuch"}, {Abil(3, "AbilDesc"), "{2 * 2}"}}, true, "two fields, one failing"},
      {{{Abil(1, "AbilDesc"), "&abil5val1"}}, true, "an ability that is not there"},
      {{{Abil(1, "AbilDesc"), "fine"}, {Abil(3, "AbilDesc"), "also"}}, true, "back to an entry"},
  };
  for (const Step& step : steps) {
    const int renewedBefore = walk.memo.Renewed();
    walk.Change(step.changes, step.what);
    EXPECT_EQ(walk.memo.Renewed() - renewedBefore, step.renewed ? 1 : 0) << step.what;
  }
  // Another level, or another shape, is made in full.
  walk.point.level = 3;
  const int full = walk.memo.MadeInFull();
  walk.Expect("another level");
  walk.record.SetNumAbils(5);
  walk.Expect("another ability");
  walk.record.SetWeaponType("None");
  walk.Expect("no weapon");
  EXPECT_EQ(walk.memo.MadeInFull() - full, 3);
}

TEST(LiveEntryMemo, ManyChangesAndGridsAreMadeInFullOrRenewedAlike) {
  // More fields to step anew than a renewal takes: a field that 1,100
  // others name, or 1,100 changed fields.
  Walk<vrlComponent> walk{Weapon(), {1, {}}, {}};
  const int rows = 1100;
  walk.record.SetNumAbils(rows);
  for (int n = 5; n <= rows; ++n) Set(walk.record, Abil(n, "AbilVal1"), "{&weapreload + " + std::to_string(n) + "}");
  walk.Expect("first");
  int full = walk.memo.MadeInFull();
  walk.Change({{kReload, "{&complevel * 3}"}}, "a field many name");
  walk.Change({{Abil(rows, "AbilVal1"), "{&weapreload - 1}"}}, "one of them");
  EXPECT_EQ(walk.memo.MadeInFull() - full, 1);
  std::vector<std::pair<FieldPlace, std::string>> many;
  for (int n = 5; n <= rows; ++n) many.push_back({Abil(n, "AbilVal2"), std::to_string(n)});
  full = walk.memo.MadeInFull();
  walk.Change(many, "more changes than a renewal takes");
  EXPECT_EQ(walk.memo.MadeInFull() - full, 1);

  Walk<vrlFacility> grid{FromDesign<vrlFacility>(R"("GridFac": true, "FacDesc": "Cell &faclevel",
      "TechReqs": [{"TechReqArea": "A", "TechReqGridSize": "2", "TechReqNumStyle": "&techgridlevel1"},
                   {"TechReqArea": "B", "TechReqGridSize": "3", "TechReqNumStyle": "-{&techgridlevel2 * 2}"}],
      "Abilities": [{"AbilName": "Supply", "AbilVal1": "{&techgridlevel1 * &techgridlevel2}"}])"),
                         {0, {2, 3}}, {}};
  grid.Expect("first cell");
  grid.Change({{Tech(2, "TechReqNumStyle"), "+{&techgridlevel2}"}}, "a numbering style");
  grid.Change({{Abil(1, "AbilVal2"), "{&techgridlevel2 / 0}"}}, "a warning in a grid");
  grid.Change({{Tech(1, "TechReqGridSize"), "3"}}, "a grid size");
  EXPECT_GE(grid.memo.Renewed(), 2);
}

// Random changes, each compared with the full entry: the renewal must never
// differ, and must be the way most changes are made. A field names only
// fields drawn before it, which lie before or after it in step order, so
// that the design fails only where a failing formula was drawn.
TEST(LiveEntryMemo, RandomChangesGiveTheFullEntry) {
  struct Named {
    FieldPlace field;
    std::string variable;
    bool number;
  };
  std::vector<Named> fields = {{kMinCost, "&mincost", true},    {{"", 0, "OrgCost"}, "&orgcost", true},
                               {kDesc, "&compdesc", false},     {kReload, "&weapreload", true},
                               {{"", 0, "WeaponSeekerSpeed"}, "&weapseekerspeed", true}};
  for (int n = 1; n <= 2; ++n) {
    fields.push_back({Tech(n, "TechReqArea"), "&techarea" + std::to_string(n), false});
    fields.push_back({Tech(n, "TechReqLevel"), "&techlevel" + std::to_string(n), true});
  }
  for (int n = 1; n <= 6; ++n) {
    const std::string abil = "&abil" + std::to_string(n);
    fields.push_back({Abil(n, "AbilName"), abil + "type", false});
    fields.push_back({Abil(n, "AbilDesc"), abil + "descr", false});
    fields.push_back({Abil(n, "AbilVal1"), abil + "val1", true});
    fields.push_back({Abil(n, "AbilVal2"), abil + "val2", true});
  }
  for (int range = 1; range <= 21; range += 4) fields.push_back({Damage(range), "&weapdmg" + std::to_string(range), true});

  std::mt19937 random(20261208);
  std::shuffle(fields.begin(), fields.end(), random);
  auto draw = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
  // A formula for fields[i]: numbers for number fields, text for the others.
  bool drewFailing = false;
  auto formula = [&](std::size_t i, bool failing) -> std::string {
    drewFailing = false;
    std::string name = "&complevel";
    if (i > 0) {
      const Named& other = fields[draw(i)];
      if (other.number || !fields[i].number) name = other.variable;
    }
    const std::string n = std::to_string(draw(9) + 1);
    if (failing && draw(10) == 0) {
      drewFailing = true;
      const std::string failing[] = {"{1 +", "&nosuch", "{1e308 * 10}", "&abil9val1", "{" + name + " / }"};
      return failing[draw(std::size(failing))];
    }
    if (!fields[i].number) {
      const std::string texts[] = {"", "plain", "is " + name, "{" + n + " * 2} && " + name, "{bogus} " + name};
      return texts[draw(std::size(texts))];
    }
    const std::string numbers[] = {n, "{&complevel * " + n + "}", "{" + name + " + " + n + "}", name,
                                   "{bogus + " + n + "}", "{sqr(-" + n + ")}"};
    return numbers[draw(std::size(numbers))];
  };

  Walk<vrlComponent> walk{Weapon(), {2, {}}, {}};
  walk.record.SetNumAbils(6);
  walk.Expect("first");
  // A failing formula is mended in the next step, as typing goes on.
  std::vector<std::size_t> mend;
  for (int step = 0; step < 400; ++step) {
    std::vector<std::pair<FieldPlace, std::string>> changes;
    for (std::size_t i : mend) changes.push_back({fields[i].field, formula(i, false)});
    mend.clear();
    for (std::size_t c = 1 + draw(3); c > 0; --c) {
      const std::size_t i = draw(fields.size());
      changes.push_back({fields[i].field, formula(i, true)});
      if (drewFailing) mend.push_back(i);
    }
    walk.Change(changes, "step " + std::to_string(step));
    if (::testing::Test::HasFatalFailure()) return;
  }
  EXPECT_GT(walk.memo.Renewed(), 150);
}

}  // namespace
}  // namespace vorlane
