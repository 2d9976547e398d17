#include <gtest/gtest.h>

#include <sstream>

#include "generate/CompGenerate.h"
#include "generate/FacGenerate.h"
#include "GenerateTestSupport.h"

namespace vorlane {
namespace {

using testing::BareComponent;
using testing::BareFacility;
using testing::Line;
using testing::Message;
using testing::RecordingSink;

// Values of every line with `key` in the generated text, in order.
std::vector<std::string> Values(const std::string& text, const std::string& key) {
  std::vector<std::string> values;
  std::istringstream in(text);
  std::string line;
  const std::string prefix = key + std::string(42 - key.size(), ' ') + ":= ";
  while (std::getline(in, line)) {
    if (line.starts_with(prefix)) values.push_back(line.substr(prefix.size(), line.size() - prefix.size() - 1));
  }
  return values;
}

vrlComponent Grid(const std::vector<std::string>& sizes) {
  vrlComponent c = BareComponent("Laser");
  c.SetGridComp(true);
  c.SetNumTechReqs(static_cast<std::int16_t>(sizes.size()));
  for (std::int16_t i = 1; i <= static_cast<std::int16_t>(sizes.size()); ++i) {
    c.SetTechReqArea(i, "Area " + std::to_string(i));
    c.SetTechReqLevel(i, "&techgridlevel" + std::to_string(i));
    c.SetTechReqGridSize(i, sizes[static_cast<std::size_t>(i - 1)]);
  }
  return c;
}

TEST(GridDriver, CellsComeInOdometerOrderWithRomanNumeralsAndSuffixes) {
  vrlComponent c = Grid({"2", "3"});
  c.SetTechReqNumberStyle(1, "-&techgridlevel1");
  c.SetTechReqNumberStyle(2, ".&techgridlevel2");
  c.SetNumberStyle("ignored in a grid");
  c.SetRomanStyle("ignored in a grid");
  c.SetCompDesc("Cell &complevel");
  RecordingSink sink;
  CompGenerate gen;
  std::vector<int> positions;
  std::vector<std::string> labels;
  auto result = gen.Generate(c, sink, [&](int position, int maximum, const std::string& text) {
    EXPECT_EQ(maximum, 6);
    positions.push_back(position);
    labels.push_back(text);
    return true;
  });
  ASSERT_TRUE(result.Generated());
  EXPECT_EQ(result.entries, 6);
  EXPECT_EQ(Values(result.text, "Name"), (std::vector<std::string>{"Laser -1.1", "Laser -1.2", "Laser -1.3",
                                                                  "Laser -2.1", "Laser -2.2", "Laser -2.3"}));
  EXPECT_EQ(Values(result.text, "Roman Numeral"), (std::vector<std::string>{"1", "2", "3", "2", "3", "4"}));
  EXPECT_EQ(Values(result.text, "Description"),
            (std::vector<std::string>{"Cell 1", "Cell 2", "Cell 3", "Cell 4", "Cell 5", "Cell 6"}));
  EXPECT_EQ(Values(result.text, "Tech Level Req 1"), (std::vector<std::string>{"1", "1", "1", "2", "2", "2"}));
  EXPECT_EQ(Values(result.text, "Tech Level Req 2"), (std::vector<std::string>{"1", "2", "3", "1", "2", "3"}));
  // Progress after every move of the enumeration, entry or not.
  EXPECT_EQ(positions, (std::vector<int>{0, 1, 2, 3, 3, 3, 4, 5, 6, 6, 6}));
  EXPECT_EQ(labels.front(), "0% generated");
  EXPECT_EQ(labels[1], "17% generated");
  EXPECT_EQ(labels.back(), "100% generated");
  EXPECT_EQ(result.windowTitle, "Component Generation Results - [Laser]");
}

TEST(GridDriver, OneRequirementAndNoStyles) {
  vrlComponent c = Grid({"4"});
  RecordingSink sink;
  CompGenerate gen;
  auto result = gen.Generate(c, sink);
  ASSERT_TRUE(result.Generated());
  EXPECT_EQ(Values(result.text, "Tech Level Req 1"), (std::vector<std::string>{"1", "2", "3", "4"}));
  EXPECT_EQ(Values(result.text, "Roman Numeral"), (std::vector<std::string>{"1", "2", "3", "4"}));
  // Without style texts the name ends in the blank.
  EXPECT_EQ(Values(result.text, "Name"), std::vector<std::string>(4, "Laser "));
}

TEST(GridDriver, FacilityGridsEnumerateAlike) {
  vrlFacility f = BareFacility("Mine");
  f.SetGridFac(true);
  f.SetNumTechReqs(2);
  f.SetTechReqGridSize(1, "3");
  f.SetTechReqGridSize(2, "2");
  f.SetTechReqNumStyle(1, "&techgridlevel1");
  f.SetTechReqNumStyle(2, "/&techgridlevel2");
  RecordingSink sink;
  FacGenerate gen;
  auto result = gen.Generate(f, sink);
  ASSERT_TRUE(result.Generated());
  EXPECT_EQ(Values(result.text, "Name"),
            (std::vector<std::string>{"Mine 1/1", "Mine 1/2", "Mine 2/1", "Mine 2/2", "Mine 3/1", "Mine 3/2"}));
  EXPECT_EQ(Values(result.text, "Roman Numeral"), (std::vector<std::string>{"1", "2", "2", "3", "3", "4"}));
}

TEST(GridDriver, GridsWithoutRequirementsOrCellsOrWithTooManyCellsAreRefused) {
  struct Case {
    vrlComponent design;
    std::string text;
  };
  vrlComponent none = BareComponent("Laser");
  none.SetGridComp(true);
  const std::string tail = "\r\nComponent not generated";
  Case cases[] = {
      {none, "Grid components must have tech requirements." + tail},
      {Grid({"2", "0"}), "Grid components must have a grid size of at least 1 for every tech requirement." + tail},
      {Grid({""}), "Grid components must have a grid size of at least 1 for every tech requirement." + tail},
      {Grid({"{3}"}), "Grid components must have a grid size of at least 1 for every tech requirement." + tail},
      {Grid({"-2", "-2"}), "Grid components must have a grid size of at least 1 for every tech requirement." + tail},
      {Grid({"99", "99", "99"}),
       "Grid components can have at most 32767 grid cells; this grid has 970299." + tail},
      {Grid({"40000"}), "Grid components can have at most 32767 grid cells; this grid has 40000." + tail},
  };
  for (const auto& k : cases) {
    RecordingSink sink;
    CompGenerate gen;
    int calls = 0;
    auto result = gen.Generate(k.design, sink, [&](int, int, const std::string&) { return ++calls, true; });
    EXPECT_EQ(result.status, GenerationStatus::Failed);
    EXPECT_EQ(sink.messages, (std::vector<Message>{{"Error", k.text}}));
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(result.text.empty());
  }

  vrlFacility f = BareFacility("Mine");
  f.SetGridFac(true);
  RecordingSink sink;
  FacGenerate gen;
  EXPECT_FALSE(gen.Generate(f, sink).Generated());
  EXPECT_EQ(sink.messages, (std::vector<Message>{{"Error", "Grid facilities must have tech requirements.\r\n"
                                                           "Facility not generated"}}));
}

TEST(GridDriver, TheLargestGridFitsAndFractionalSizesCountWholePositions) {
  vrlComponent c = Grid({"2.5", "3"});
  RecordingSink sink;
  CompGenerate gen;
  int lastMaximum = 0;
  auto result = gen.Generate(c, sink, [&](int, int maximum, const std::string&) {
    lastMaximum = maximum;
    return true;
  });
  ASSERT_TRUE(result.Generated());
  EXPECT_EQ(result.entries, 6);
  EXPECT_EQ(lastMaximum, 6);

  vrlFacility f = BareFacility("Mine");
  f.SetGridFac(true);
  f.SetNumTechReqs(1);
  f.SetTechReqGridSize(1, "32767");
  FacGenerate fac;
  auto big = fac.Generate(f, sink);
  ASSERT_TRUE(big.Generated());
  EXPECT_EQ(big.entries, 32767);
  EXPECT_EQ(Values(big.text, "Roman Numeral").back(), "32767");
  EXPECT_TRUE(sink.messages.empty());
}

TEST(PlainDriver, AFailingEntryGivesTheWholeChainAndStops) {
  vrlComponent c = BareComponent("Laser", "5");
  c.SetNumTechReqs(2);
  c.SetCompDesc("Level &complevel of &techlevel{&complevel}");
  RecordingSink sink;
  CompGenerate gen;
  int calls = 0;
  auto result = gen.Generate(c, sink, [&](int, int, const std::string&) { return ++calls, true; });
  EXPECT_EQ(result.status, GenerationStatus::Failed);
  EXPECT_EQ(result.entries, 0);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(sink.messages, (std::vector<Message>{
                               {"Error", "Variable &techlevelcontains invalid tech req number."},
                               {"Error", "Error parsing string: \r\nLevel 1 of &techlevel{&complevel}"},
                               {"Error", "Error during parsing."},
                               {"Error", "Component not generated."},
                           }));
  EXPECT_TRUE(result.text.empty());
  EXPECT_TRUE(result.windowTitle.empty());
}

TEST(PlainDriver, TheFiftyPassChainOfAFacility) {
  vrlFacility f = BareFacility("&facdesc", "2");
  f.SetFacDesc("&facname");
  RecordingSink sink;
  FacGenerate gen;
  auto result = gen.Generate(f, sink);
  EXPECT_EQ(result.status, GenerationStatus::Failed);
  EXPECT_EQ(sink.messages, (std::vector<Message>{
                               {"Too Many Cross-References", "Variables could not all be resolved in 50 iterations."},
                               {"Error", "Error during parsing."},
                               {"Error", "Facility not generated."},
                           }));
}

TEST(PlainDriver, AFailureAtALaterLevelDropsTheEarlierEntries) {
  REQUIRE_EVALUATOR();
  // elli1 and elli2 are functions, elli3 is not.
  vrlComponent c = BareComponent("Laser", "3");
  c.SetCompDesc("{elli&complevel(90, 0.5)}");
  RecordingSink sink;
  CompGenerate gen;
  int calls = 0;
  auto result = gen.Generate(c, sink, [&](int, int, const std::string&) { return ++calls, true; });
  EXPECT_EQ(result.status, GenerationStatus::Failed);
  EXPECT_EQ(result.entries, 2);
  EXPECT_EQ(calls, 2);
  EXPECT_TRUE(result.text.empty());
  ASSERT_EQ(sink.messages.size(), 4u);
  EXPECT_EQ(sink.messages[0], (Message{"Error", "Error parsing string for evaluation:\r\n{elli3(90, 0.5)}"}));
}

TEST(PlainDriver, CancellingStopsQuietly) {
  vrlComponent c = BareComponent("Laser", "10");
  RecordingSink sink;
  CompGenerate gen;
  auto result = gen.Generate(c, sink, [](int position, int, const std::string&) { return position < 4; });
  EXPECT_EQ(result.status, GenerationStatus::Cancelled);
  EXPECT_EQ(result.entries, 4);
  EXPECT_TRUE(result.text.empty());
  EXPECT_TRUE(sink.messages.empty());

  vrlComponent grid = Grid({"3", "3"});
  result = gen.Generate(grid, sink, [](int position, int, const std::string&) { return position < 2; });
  EXPECT_EQ(result.status, GenerationStatus::Cancelled);
  EXPECT_EQ(result.entries, 2);
  EXPECT_TRUE(sink.messages.empty());
}

TEST(PlainDriver, PercentagesRoundHalvesToEvenAndALevelCountBelowOneIsRefused) {
  vrlComponent c = BareComponent("Laser", "8");
  RecordingSink sink;
  CompGenerate gen;
  std::vector<std::string> labels;
  gen.Generate(c, sink, [&](int, int, const std::string& text) { return labels.push_back(text), true; });
  EXPECT_EQ(labels, (std::vector<std::string>{"12% generated", "25% generated", "38% generated", "50% generated",
                                              "62% generated", "75% generated", "88% generated", "100% generated"}));

  for (const char* levels : {"0", "-3"}) {
    c.SetNumCompLevels(levels);
    sink.messages.clear();
    EXPECT_FALSE(gen.Generate(c, sink).Generated());
    EXPECT_EQ(sink.messages, (std::vector<Message>{{"Error", "You must have at least one level for your component."
                                                             "\r\nComponent not generated"}}));
  }
}

TEST(PlainDriver, GeneratingAgainGivesTheSameTextAndTheRecordIsUntouched) {
  vrlComponent c = BareComponent("Laser", "2");
  c.SetNumTechReqs(2);
  c.SetTechReqLevel(1, "&complevel");
  c.SetTechReqLevel(2, "&techlevel1");
  c.SetCompDesc("&techlevel2 &techarea1");
  c.SetTechReqArea(1, "Lasers");
  const vrlComponent before = c;
  RecordingSink sink;
  CompGenerate gen;
  auto first = gen.Generate(c, sink);
  ASSERT_TRUE(first.Generated());
  EXPECT_EQ(Values(first.text, "Description"), (std::vector<std::string>{"1 Lasers", "2 Lasers"}));
  // A smaller design after a bigger one: the lists follow the record.
  vrlComponent smaller = BareComponent("Laser", "1");
  EXPECT_TRUE(gen.Generate(smaller, sink).Generated());
  auto again = gen.Generate(c, sink);
  EXPECT_EQ(again.text, first.text);
  EXPECT_EQ(c, before);
  EXPECT_TRUE(sink.messages.empty());
}

TEST(PlainDriver, TheResultsTitleHoldsTheFinishedNameOfTheLastEntry) {
  vrlComponent c = BareComponent("Laser &complevel", "2");
  c.SetNumberStyle("Mk");
  RecordingSink sink;
  CompGenerate gen;
  auto result = gen.Generate(c, sink);
  EXPECT_EQ(result.windowTitle, "Component Generation Results - [Laser 2]");
  EXPECT_EQ(Values(result.text, "Name").back(), "Laser 2 Mk");
}

}  // namespace
}  // namespace vorlane
