#include "generate/LiveEntry.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>
#include <thread>

#include "GenerateTestSupport.h"
#include "generate/CompGenerate.h"
#include "generate/FacGenerate.h"

namespace vorlane {
namespace {

using namespace vorlane::testing;

TEST(LiveEntry, EachLevelAndCellIsTheEntryFullGenerationWrites) {
  vrlComponent c = Bare<vrlComponent>("Laser", "4");
  c.SetMinCost("{&complevel * 10}");
  c.SetNumAbils(1);
  c.SetAbilVal1(1, "{&mincost / 2}");
  RecordingSink sink;
  CompGenerate gen;
  // The entries of every level, one after the other, are the full text.
  std::string joined;
  for (int level = 1; level <= 4; ++level) {
    LiveEntry live = MakeEntry(c, {level, {}});
    ASSERT_EQ(live.status, GenerationStatus::Generated);
    joined += live.text;
  }
  EXPECT_EQ(joined, gen.Generate(c, sink).text);

  const vrlFacility f = FromDesign<vrlFacility>(R"("GridFac": true, "FacDesc": "Cell &faclevel at &techgridlevel1/&techgridlevel2",
      "TechReqs": [{"TechReqGridSize": "2"}, {"TechReqGridSize": "3"}])");
  FacGenerate fac;
  joined.clear();
  for (std::int32_t p1 = 1; p1 <= 2; ++p1) {
    for (std::int32_t p2 = 1; p2 <= 3; ++p2) joined += MakeEntry(f, {0, {p1, p2}}).text;
  }
  EXPECT_EQ(joined, fac.Generate(f, sink).text);
  EXPECT_EQ(MakeEntry(f, {0, {3, 1}}).status, GenerationStatus::Failed);
  EXPECT_TRUE(sink.messages.empty());
}

TEST(LiveEntry, SeriesFollowTheLevelsOrOneGridAxis) {
  vrlComponent c = Bare<vrlComponent>("Laser", "3");
  c.SetMinCost("{&complevel ^ 2}");
  const FieldPlace cost{"", 0, "MinCost"}, name{"", 0, "CompName"};
  const FieldPlace fields[] = {cost, name};
  SeriesResult series = MakeSeries(c, fields, {});
  ASSERT_EQ(series.status, GenerationStatus::Generated);
  EXPECT_EQ(series.points, (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(series.series[0].values, (std::vector<double>{1, 4, 9}));
  EXPECT_TRUE(std::isnan(series.series[1].values[0]));

  c.SetMinCost("{sqrt(&complevel)}");
  series = MakeSeries(c, fields, {});
  EXPECT_EQ(series.status, GenerationStatus::Failed);
  ASSERT_TRUE(series.fault);
  EXPECT_EQ(series.fault->Line(), "Minerals Cost, level 1: Function < sqrt > unknown; did you mean sqr? (character 2)");

  std::atomic<bool> cancel = true;
  EXPECT_EQ(MakeSeries(c, fields, {}, &cancel).status, GenerationStatus::Cancelled);
  EXPECT_EQ(MakeEntry(c, {1, {}}, &cancel).status, GenerationStatus::Cancelled);
}

// Broken designs: where each fault is located, by MakeEntry and by the full
// generation alike (the point is the first failing entry).
TEST(LiveEntry, FaultsNameTheFieldTheEntryTheReasonAndTheCharacter) {
  struct Case {
    std::string design;  // design-file keys over a bare laser of three levels
    EntryPoint point;
    FieldPlace field;
    std::string line;
    std::vector<std::string> waiting;
  };
  const Case cases[] = {
      // "0.5" at level 3 makes "{0.5.5}", which the evaluator refuses.
      {R"("Abilities": [{"AbilVal1": "{(&complevel>=3)/2}", "AbilVal2": "{&abil1val1.5}"}])", {3, {}},
       {"Abilities", 1, "AbilVal2"}, "Ability 1 \u2013 Value 2, level 3: Syntax error: 0.5.5 (character 2)", {}},
      {R"("MinCost": "Cost {&complevel*2+sqrt(4)}")", {1, {}}, {"", 0, "MinCost"},
       "Minerals Cost, level 1: Function < sqrt > unknown; did you mean sqr? (character 20)", {}},
      // Characters, not bytes; "&&" became one character before the fault.
      {R"("CompDesc": "Hits \u00fc && {&complvel*10}")", {1, {}}, {"", 0, "CompDesc"},
       "Component Description, level 1: Unknown variable &complvel; did you mean &complevel? (character 12)", {}},
      {R"("MinCost": "{&orgcost+1}", "OrgCost": "{&mincost*2}")", {1, {}}, {"", 0, "MinCost"},
       "Minerals Cost, level 1: Variables could not all be resolved in 50 iterations (character 2): "
       "Minerals Cost waits on &orgcost; Organics Cost waits on &mincost",
       {"Minerals Cost waits on &orgcost", "Organics Cost waits on &mincost"}},
      // A chain that ends in a field waiting on itself: "&techlevel01" is never found as "&techlevel1".
      {R"("TechReqs": [{"TechReqLevel": "&techlevel01"}], "MinCost": "{&techlevel1}")", {1, {}},
       {"TechReqs", 1, "TechReqLevel"},
       "Technology Requirement 1 \u2013 Tech Level, level 1: Variables could not all be resolved in 50 iterations "
       "(character 1): Minerals Cost waits on &techlevel1; Technology Requirement 1 \u2013 Tech Level waits on "
       "&techlevel01",
       {"Minerals Cost waits on &techlevel1", "Technology Requirement 1 \u2013 Tech Level waits on &techlevel01"}},
      {R"("Abilities": [{"AbilDesc": "Uses &abil3val1"}])", {1, {}}, {"Abilities", 1, "AbilDesc"},
       "Ability 1 \u2013 Description, level 1: Variable &abil3val1 contains an invalid ability number (character 6)",
       {}},
      {R"("GridComp": true, "Size": "{&techlevel2.5}", "TechReqs": [{"TechReqGridSize": "2"},
          {"TechReqGridSize": "3", "TechReqLevel": "{(&techgridlevel1=2)/2}"}])",
       {0, {2, 1}}, {"", 0, "Size"}, "Size, level 4, cell (2, 1): Syntax error: 0.5.5 (character 2)", {}},
      {R"("HP": "{1+1} {1.7976931348623157e308}")", {1, {}}, {"", 0, "HP"},
       "Hitpoints, level 1: {1.7976931348623157e308} does not give a finite number (character 7)", {}},
  };
  for (const Case& test : cases) {
    const vrlComponent c = FromDesign<vrlComponent>(R"("NumCompLevels": 3, )" + test.design);
    LiveEntry live = MakeEntry(c, test.point);
    ASSERT_TRUE(live.fault) << test.line;
    EXPECT_EQ(live.fault->field, test.field) << test.line;
    EXPECT_EQ(live.fault->Line(), test.line);
    EXPECT_EQ(live.fault->waiting, test.waiting) << test.line;
    RecordingSink sink;
    GenerationResult full = CompGenerate().Generate(c, sink);
    ASSERT_TRUE(full.fault) << test.line;
    EXPECT_EQ(full.fault->Line(), test.line);
  }
}

TEST(LiveEntry, EveryFieldHasThePagesLabel) {
  vrlComponent c = Bare<vrlComponent>("Laser");
  c.SetNumTechReqs(1);
  c.SetNumAbils(1);
  // Distinct words, never a design-file key ("Size" is both).
  std::set<std::string> labels;
  for (const FieldPlace& field : CurveFields(c)) {
    const std::string label = FieldLabel(c, field);
    EXPECT_TRUE(labels.insert(label).second) << label;
    EXPECT_TRUE(label.find(field.key) == std::string::npos ||
                field.key.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 1) == std::string::npos)
        << label;
  }
  vrlFacility f = Bare<vrlFacility>("Mine");
  EXPECT_EQ(FieldLabel(f, {"", 0, "FacFamily"}), "Facility Family");
  EXPECT_EQ(FieldLabel(f, {"", 0, "NumFacLevels"}), "Number of Levels");
  EXPECT_EQ(FieldLabel(f, {"TechReqs", 2, "TechReqNumStyle"}), "Technology Requirement 2 \u2013 Numbering Style");
  EXPECT_EQ(FieldLabel(c, {"WeaponDamageAtRange", 5, "WeaponDamageAtRange"}), "Damage at Range 5");
}

// Two workers, each on its own copy of the record, make the entries a
// single thread makes.
TEST(LiveEntry, WorkersOnRecordCopiesMakeTheSameEntries) {
  vrlComponent c = Bare<vrlComponent>("Laser", "40");
  c.SetMinCost("{&complevel*10+sqr(&complevel)}");
  c.SetCompDesc("{rnd(1)*0+&complevel} &mincost");
  std::vector<std::string> expected, got(40);
  for (int level = 1; level <= 40; ++level) expected.push_back(MakeEntry(c, {level, {}}).text);
  auto work = [&](int first) {
    const vrlComponent copy = c;
    for (int level = first; level <= 40; level += 2) {
      got[static_cast<std::size_t>(level - 1)] = MakeEntry(copy, {level, {}}).text;
    }
  };
  std::thread odd(work, 1), even(work, 2);
  odd.join();
  even.join();
  EXPECT_EQ(got, expected);
}

TEST(LiveEntry, GridCellNumbersCountWithTheLastRequirementFastest) {
  const double sizes[] = {0, 2, 3};
  const std::pair<std::array<std::int32_t, 2>, int> cases[] = {{{1, 1}, 1}, {{2, 1}, 4}, {{2, 3}, 6}, {{1, 4}, 0}};
  for (const auto& [cell, number] : cases) EXPECT_EQ(GridCellNumber(sizes, cell), number) << cell[0] << "," << cell[1];
}

}  // namespace
}  // namespace vorlane
