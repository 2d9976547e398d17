#include <gtest/gtest.h>

#include <cmath>

#include "generate/CompGenerate.h"
#include "generate/FacGenerate.h"
#include "generate/LiveEntry.h"
#include "GenerateTestSupport.h"

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

  vrlFacility f = Bare<vrlFacility>("Mine");
  f.SetGridFac(true);
  f.SetNumTechReqs(2);
  f.SetTechReqGridSize(1, "2");
  f.SetTechReqGridSize(2, "3");
  f.SetFacDesc("Cell &faclevel at &techgridlevel1/&techgridlevel2");
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
  EXPECT_EQ(series.fault->level, "1");

  std::atomic<bool> cancel = true;
  EXPECT_EQ(MakeSeries(c, fields, {}, &cancel).status, GenerationStatus::Cancelled);
  EXPECT_EQ(MakeEntry(c, {1, {}}, &cancel).status, GenerationStatus::Cancelled);
}

TEST(LiveEntry, GridCellNumbersCountWithTheLastRequirementFastest) {
  const double sizes[] = {0, 2, 3};
  const std::int32_t first[] = {1, 1}, last[] = {2, 3}, middle[] = {2, 1}, outside[] = {1, 4};
  EXPECT_EQ(GridCellNumber(sizes, first), 1);
  EXPECT_EQ(GridCellNumber(sizes, middle), 4);
  EXPECT_EQ(GridCellNumber(sizes, last), 6);
  EXPECT_EQ(GridCellNumber(sizes, outside), 0);
}

}  // namespace
}  // namespace vorlane
