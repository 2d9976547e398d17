#include <gtest/gtest.h>

#include <tuple>

#include "GenerateTestSupport.h"
#include "generate/CompGenerate.h"
#include "generate/FacGenerate.h"

namespace vorlane {
namespace {

using namespace vorlane::testing;
using Texts = std::vector<std::string>;

vrlComponent Grid(const Texts& sizes) {
  vrlComponent c = Bare<vrlComponent>("Laser");
  c.SetGridComp(true);
  c.SetNumTechReqs(static_cast<std::int16_t>(sizes.size()));
  for (std::int16_t i = 1; i <= c.NumTechReqs(); ++i) {
    c.SetTechReqLevel(i, "&techgridlevel" + std::to_string(i));
    c.SetTechReqGridSize(i, sizes[static_cast<std::size_t>(i - 1)]);
  }
  return c;
}

// Generates, recording the progress as "position/maximum text".
template <typename Generator, typename Record>
GenerationResult Generated(const Record& r, RecordingSink& sink, Texts* progress = nullptr, int stopAfter = 1 << 30) {
  Generator gen;
  return gen.Generate(r, sink, [&](int position, int maximum, const std::string& text) {
    if (progress) progress->push_back(std::to_string(position) + "/" + std::to_string(maximum) + " " + text);
    return position < stopAfter;
  });
}

TEST(GridDriver, CellsComeInOdometerOrderWithRomanNumeralsAndSuffixes) {
  vrlComponent c = Grid({"2", "3"});
  c.SetTechReqNumberStyle(1, "-&techgridlevel1");
  c.SetTechReqNumberStyle(2, ".&techgridlevel2");
  c.SetNumberStyle("unused in a grid");
  c.SetRomanStyle("unused in a grid");
  c.SetCompDesc("Cell &complevel");
  RecordingSink sink;
  Texts progress;
  auto result = Generated<CompGenerate>(c, sink, &progress);
  ASSERT_TRUE(result.Generated());
  EXPECT_EQ(Values(result.text, "Name"),
            (Texts{"Laser -1.1", "Laser -1.2", "Laser -1.3", "Laser -2.1", "Laser -2.2", "Laser -2.3"}));
  EXPECT_EQ(Values(result.text, "Roman Numeral"), (Texts{"1", "2", "3", "2", "3", "4"}));
  EXPECT_EQ(Values(result.text, "Description"), (Texts{"Cell 1", "Cell 2", "Cell 3", "Cell 4", "Cell 5", "Cell 6"}));
  EXPECT_EQ(Values(result.text, "Tech Level Req 1"), (Texts{"1", "1", "1", "2", "2", "2"}));
  // Progress after every move of the enumeration, whether it wrote or not.
  EXPECT_EQ(progress, (Texts{"0/6 0% generated", "1/6 17% generated", "2/6 33% generated", "3/6 50% generated",
                             "3/6 50% generated", "3/6 50% generated", "4/6 67% generated", "5/6 83% generated",
                             "6/6 100% generated", "6/6 100% generated", "6/6 100% generated"}));

  // One requirement without style: the name ends in the blank.
  result = Generated<CompGenerate>(Grid({"4"}), sink);
  EXPECT_EQ(Values(result.text, "Name"), Texts(4, "Laser "));
  EXPECT_EQ(Values(result.text, "Roman Numeral"), (Texts{"1", "2", "3", "4"}));
  // Fractional sizes give their whole positions.
  EXPECT_EQ(Generated<CompGenerate>(Grid({"2.5", "3"}), sink, &progress).entries, 6);
  EXPECT_EQ(progress.back(), "6/6 100% generated");

  // The largest grid.
  result = Generated<FacGenerate>(FromDesign<vrlFacility>(
      R"("GridFac": true, "TechReqs": [{"TechReqGridSize": "32767", "TechReqNumStyle": "&techgridlevel1"}])"), sink);
  ASSERT_TRUE(result.Generated());
  EXPECT_EQ(result.entries, 32767);
  EXPECT_EQ(Values(result.text, "Name").back(), "Mine 32767");
  EXPECT_EQ(Values(result.text, "Roman Numeral").back(), "32767");
  EXPECT_TRUE(sink.messages.empty());
}

TEST(GridDriver, GridsWithoutRequirementsOrCellsOrWithTooManyCellsAreRefusedFirst) {
  const std::string tail = "\r\nComponent not generated", noCell =
      "Grid components must have a grid size of at least 1 for every tech requirement." + tail;
  // The design, the message and the located fault.
  const std::string size1 = "Technology Requirement 1 \u2013 Number of Levels: The grid size must be at least 1";
  const std::string tooMany = "Grid Component: Grid components can have at most 32767 grid cells; this grid has ";
  std::vector<std::tuple<vrlComponent, std::string, std::string>> cases = {
      {Grid({}), "Grid components must have tech requirements." + tail,
       "Grid Component: Grid components must have tech requirements"},
      {Grid({"2", "0"}), noCell, "Technology Requirement 2 \u2013 Number of Levels: The grid size must be at least 1"},
      {Grid({""}), noCell, size1}, {Grid({"{3}"}), noCell, size1}, {Grid({"-2", "-2"}), noCell, size1},
      {Grid({"99", "99", "99"}), "Grid components can have at most 32767 grid cells; this grid has 970299." + tail,
       tooMany + "970299"},
      {Grid({"40000"}), "Grid components can have at most 32767 grid cells; this grid has 40000." + tail,
       tooMany + "40000"},
  };
  std::get<0>(cases[0]).SetCompDesc("&nosuch");  // the requirement check comes before any formula
  for (const auto& [design, text, fault] : cases) {
    RecordingSink sink;
    Texts progress;
    const GenerationResult result = Generated<CompGenerate>(design, sink, &progress);
    EXPECT_EQ(result.status, GenerationStatus::Failed);
    EXPECT_EQ(sink.messages, (Messages{{"Error", text}}));
    ASSERT_TRUE(result.fault);
    EXPECT_EQ(result.fault->Line(), fault);
    EXPECT_TRUE(progress.empty());
  }
  vrlFacility f = Bare<vrlFacility>("Mine");
  f.SetGridFac(true);
  RecordingSink sink;
  Generated<FacGenerate>(f, sink);
  EXPECT_EQ(sink.messages, (Messages{{"Error", "Grid facilities must have tech requirements.\r\nFacility not generated"}}));
}

TEST(PlainDriver, AFailingEntryGivesTheWholeChainAndNothingElse) {
  vrlComponent c = Bare<vrlComponent>("Laser", "3");
  c.SetCompDesc("{elli&complevel(90, 0.5)}");  // elli1 and elli2 exist, elli3 does not
  RecordingSink sink;
  Texts progress;
  auto result = Generated<CompGenerate>(c, sink, &progress);
  EXPECT_EQ(result.status, GenerationStatus::Failed);
  EXPECT_EQ(progress.size(), 2u);
  EXPECT_TRUE(result.text.empty() && result.windowTitle.empty());
  EXPECT_EQ(sink.messages, (Messages{{"Error", "Error parsing string for evaluation:\r\n{elli3(90, 0.5)}"},
                                     {"Error", "Error parsing string: \r\n{elli3(90, 0.5)}"},
                                     {"Error", "Error during parsing."},
                                     {"Error", "Component not generated."}}));
  vrlFacility f = Bare<vrlFacility>("&facdesc", "2");
  f.SetFacDesc("&facname");
  sink.messages.clear();
  EXPECT_FALSE(Generated<FacGenerate>(f, sink).Generated());
  EXPECT_EQ(sink.messages, (Messages{{"Too Many Cross-References", "Variables could not all be resolved in 50 iterations."},
                                     {"Error", "Error during parsing."},
                                     {"Error", "Facility not generated."}}));
}

TEST(PlainDriver, ProgressRoundsHalvesToEvenCancelStopsQuietlyAndNoLevelIsRefused) {
  RecordingSink sink;
  Texts progress;
  Generated<CompGenerate>(Bare<vrlComponent>("Laser", "8"), sink, &progress);
  EXPECT_EQ(progress, (Texts{"1/8 12% generated", "2/8 25% generated", "3/8 38% generated", "4/8 50% generated",
                             "5/8 62% generated", "6/8 75% generated", "7/8 88% generated", "8/8 100% generated"}));
  auto cancelled = Generated<CompGenerate>(Bare<vrlComponent>("Laser", "10"), sink, &progress, 4);
  EXPECT_EQ(cancelled.status, GenerationStatus::Cancelled);
  EXPECT_EQ(cancelled.entries, 4);
  EXPECT_EQ(Generated<CompGenerate>(Grid({"3", "3"}), sink, nullptr, 2).status, GenerationStatus::Cancelled);
  EXPECT_TRUE(sink.messages.empty());
  for (const char* levels : {"0", "-3"}) {
    const GenerationResult result = Generated<CompGenerate>(Bare<vrlComponent>("Laser", levels), sink);
    ASSERT_TRUE(result.fault);
    EXPECT_EQ(result.fault->Line(), "Number of Levels: You must have at least one level");
  }
  EXPECT_EQ(sink.messages, Messages(2, {"Error", "You must have at least one level for your component.\r\n"
                                                 "Component not generated"}));
}

TEST(PlainDriver, OneGeneratorGivesTheSameTextAgainAndLeavesTheRecordAlone) {
  const vrlComponent c = FromDesign<vrlComponent>(
      R"("CompName": "Laser &complevel", "NumCompLevels": 2, "NumberStyle": "Mk", "CompDesc": "&techlevel2 &techarea1",
         "TechReqs": [{"TechReqArea": "Lasers", "TechReqLevel": "&complevel"}, {"TechReqLevel": "&techlevel1"}])");
  const vrlComponent before = c;
  RecordingSink sink;
  CompGenerate gen;
  auto first = gen.Generate(c, sink);
  EXPECT_EQ(Values(first.text, "Description"), (Texts{"1 Lasers", "2 Lasers"}));
  EXPECT_EQ(Values(first.text, "Name").back(), "Laser 2 Mk");
  EXPECT_EQ(first.windowTitle, "Component Generation Results - [Laser 2]");  // the last name, without suffix
  EXPECT_TRUE(gen.Generate(Bare<vrlComponent>("Small"), sink).Generated());  // smaller lists in between
  EXPECT_EQ(gen.Generate(c, sink).text, first.text);
  EXPECT_EQ(c, before);
  EXPECT_TRUE(sink.messages.empty());
}

// The largest requirement count a record holds: every driver reaches the
// last entry and stops there.
TEST(Drivers, TheLargestRequirementAndAbilityCountsGenerate) {
  for (bool grid : {false, true}) {
    vrlFacility f = Bare<vrlFacility>("Mine");
    f.SetGridFac(grid);
    f.SetNumTechReqs(32767);
    for (int i = 1; i <= 32767; ++i) f.SetTechReqGridSize(static_cast<std::int16_t>(i), "1");
    f.SetTechReqArea(32767, "Last");
    RecordingSink sink;
    const GenerationResult result = Generated<FacGenerate>(f, sink);
    ASSERT_TRUE(result.Generated()) << grid;
    EXPECT_EQ(Values(result.text, "Number of Tech Req"), Texts{"32767"});
    EXPECT_EQ(Values(result.text, "Tech Area Req 32767"), Texts{"Last"});
  }
  vrlComponent c = Bare<vrlComponent>("Laser");
  c.SetNumAbils(32767);
  c.SetAbilName(32767, "Last");
  RecordingSink sink;
  const GenerationResult result = Generated<CompGenerate>(c, sink);
  ASSERT_TRUE(result.Generated());
  EXPECT_EQ(Values(result.text, "Ability 32767 Type"), Texts{"Last"});
}

// A group that fails to evaluate is written as 0, and a name nobody assigns
// counts as 0, as always; each is a warning naming the field, the level, the
// evaluator's reason and what was written, the text unchanged.
TEST(PlainDriver, GroupsWrittenAsZeroAreWarnings) {
  vrlFacility f = Bare<vrlFacility>("Mine", "3");
  f.SetMinCost("{1/(&faclevel-2)}");
  f.SetOrgCost("{sqr(1-&faclevel)}");
  f.SetRadCost("{ln(&faclevel-1)} and {abc+1}");
  f.SetFacDesc("{faclevel*2}");
  RecordingSink sink;
  const GenerationResult result = Generated<FacGenerate>(f, sink);
  ASSERT_TRUE(result.Generated());
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(Values(result.text, "Cost Minerals"), (Texts{"-1", "0", "1"}));
  EXPECT_EQ(Values(result.text, "Cost Organics"), (Texts{"0", "0", "0"}));
  Texts lines;
  for (const GenerationWarning& w : result.warnings) lines.push_back(w.Line());
  const std::string faclevel =
      ": Name < faclevel > has no value and counts as 0; did you mean &faclevel?; {faclevel*2} written as 0 (character 2)";
  const std::string abc = ": Name < abc > has no value and counts as 0; {abc+1} written as 1 (character 24)";
  EXPECT_EQ(lines, (Texts{
      "Facility Description, level 1" + faclevel,
      "Radioactives Cost, level 1: Evaluation error < ln(0) >; {ln(1-1)} written as 0 (character 4)",
      "Radioactives Cost, level 1" + abc,
      "Facility Description, level 2" + faclevel,
      "Minerals Cost, level 2: Evaluation error < 1 / 0 >; {1/(2-2)} written as 0 (character 3)",
      "Organics Cost, level 2: Evaluation error < sqr(-1) >; {sqr(1-2)} written as 0 (character 5)",
      "Radioactives Cost, level 2" + abc,
      "Facility Description, level 3" + faclevel,
      "Organics Cost, level 3: Evaluation error < sqr(-2) >; {sqr(1-3)} written as 0 (character 5)",
      "Radioactives Cost, level 3" + abc}));
  EXPECT_EQ(result.warningCount, result.warnings.size());
  ASSERT_EQ(result.warnings.size(), 10u);
  EXPECT_EQ(result.warnings[5].field, (FieldPlace{"", 0, "OrgCost"}));

  // Without failures, no warnings; beyond the kept ones, only counted.
  EXPECT_TRUE(Generated<FacGenerate>(Bare<vrlFacility>("Mine", "3"), sink).warnings.empty());
  vrlFacility many = Bare<vrlFacility>("Mine", "1100");
  many.SetMinCost("{1/0}");
  const GenerationResult counted = Generated<FacGenerate>(many, sink);
  EXPECT_EQ(counted.warnings.size(), GenerationModule::kMaxWarnings);
  EXPECT_EQ(counted.warningCount, 1100u);
}

}  // namespace
}  // namespace vorlane
