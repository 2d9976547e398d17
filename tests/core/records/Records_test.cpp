#include <gtest/gtest.h>

#include "records/vrlComponent.h"
#include "records/vrlFacility.h"

namespace vorlane {
namespace {

// Both records keep their level count, grid flag and lists in DesignRecord:
// the component's tests stand for both, the facility's check its own names.
TEST(vrlComponent, NewRecordDefaults) {
  vrlComponent c;
  EXPECT_EQ(c.NumTechReqs(), 1);
  EXPECT_EQ(c.TechReqArea(1), "");
  EXPECT_EQ(c.NumAbils(), 1);
  EXPECT_EQ(c.AbilName(1), "");
  EXPECT_EQ(c.WeaponType(), "None");
  EXPECT_EQ(c.WeaponDisplayType(), "Beam");
  EXPECT_EQ(c.NumCompLevels(), "0");
  EXPECT_FALSE(c.GridComp());
  for (std::int16_t r = 1; r <= 21; ++r) EXPECT_EQ(c.WeaponDamageAtRange(r), "") << r;
}

TEST(vrlComponent, ShrinkingDiscardsForGoodAndRegrowingGivesEmptyEntries) {
  vrlComponent c;
  ASSERT_TRUE(c.SetNumTechReqs(3));
  for (std::int16_t i = 1; i <= 3; ++i) c.SetTechReqArea(i, std::string(1, static_cast<char>('A' + i - 1)));
  c.SetTechReqLevel(3, "5");
  ASSERT_TRUE(c.SetNumTechReqs(1));
  EXPECT_EQ(c.TechReqArea(1), "A");
  EXPECT_FALSE(c.TechReqArea(2).has_value());
  ASSERT_TRUE(c.SetNumTechReqs(3));
  EXPECT_EQ(c.TechReqArea(2), "");
  EXPECT_EQ(c.TechReqArea(3), "");
  EXPECT_EQ(c.TechReqLevel(3), "");
  // Setting the current count keeps the entries.
  c.SetTechReqArea(3, "Shield");
  c.SetNumTechReqs(3);
  EXPECT_EQ(c.TechReqArea(3), "Shield");
}

// Copies share their list entries until one writes: every write, shrink and
// regrowth on either copy leaves the other as it was, across chunk edges.
TEST(vrlComponent, CopiesOfLongListsStayApart) {
  vrlComponent original;
  ASSERT_TRUE(original.SetNumAbils(32767));
  for (std::int16_t i : {1, 255, 256, 257, 32767}) original.SetAbilName(i, "A" + std::to_string(i));
  vrlComponent copy = original;
  EXPECT_EQ(copy, original);
  EXPECT_EQ(copy.NextAbilDifference(original, 1), 0);
  copy.SetAbilName(256, "changed");
  copy.SetAbilVal2(32767, "9");
  EXPECT_EQ(original.AbilName(256), "A256");
  EXPECT_EQ(original.AbilVal2(32767), "");
  EXPECT_NE(copy, original);
  EXPECT_EQ(copy.NextAbilDifference(original, 1), 256);
  EXPECT_EQ(copy.NextAbilDifference(original, 257), 32767);
  EXPECT_EQ(copy.NextAbilDifference(original, 32768), 0);
  EXPECT_EQ(copy.NextTechReqDifference(original, 1), 0);

  vrlComponent shrunk = original;
  ASSERT_TRUE(shrunk.SetNumAbils(255));
  ASSERT_TRUE(shrunk.SetNumAbils(300));
  EXPECT_EQ(shrunk.AbilName(255), "A255");
  EXPECT_EQ(shrunk.AbilName(256), "");
  EXPECT_EQ(original.AbilName(256), "A256");
  EXPECT_EQ(original.AbilName(32767), "A32767");
  // Equal contents in chunks of their own are equal too.
  vrlComponent rebuilt;
  ASSERT_TRUE(rebuilt.SetNumAbils(32767));
  for (std::int16_t i : {1, 255, 256, 257, 32767}) rebuilt.SetAbilName(i, "A" + std::to_string(i));
  EXPECT_EQ(rebuilt, original);
  EXPECT_EQ(rebuilt.NextAbilDifference(original, 1), 0);
}

TEST(vrlComponent, OutOfRangeIndexChangesNothing) {
  vrlComponent c;
  c.SetNumAbils(0);
  EXPECT_FALSE(c.AbilName(1).has_value());
  EXPECT_FALSE(c.SetAbilName(1, "x"));
  EXPECT_FALSE(c.SetNumAbils(-1));
  EXPECT_EQ(c.NumAbils(), 0);
  EXPECT_FALSE(c.WeaponDamageAtRange(0).has_value());
  EXPECT_FALSE(c.WeaponDamageAtRange(22).has_value());
  EXPECT_FALSE(c.SetWeaponDamageAtRange(22, "1"));
  EXPECT_TRUE(c.SetWeaponDamageAtRange(21, "9"));
  EXPECT_EQ(c.WeaponDamageAtRange(21), "9");
  EXPECT_FALSE(c.SetTechReqArea(-1, "x"));
}

TEST(vrlComponent, LevelCountIsExchangedAsText) {
  vrlComponent c;
  struct Case { const char* in; const char* out; } cases[] = {
      {"12", "12"}, {"", "0"}, {"2.5", "2"}, {"3.5", "4"}, {"abc", "0"}, {"007", "7"}, {" 1 2", "12"}, {"-4", "-4"}};
  for (auto [in, out] : cases) {
    ASSERT_TRUE(c.SetNumCompLevels(in)) << in;
    EXPECT_EQ(c.NumCompLevels(), out) << in;
  }
}

TEST(vrlComponent, OverflowingLevelCountLeavesTheOldValue) {
  vrlComponent c;
  ASSERT_TRUE(c.SetNumCompLevels("5"));
  EXPECT_FALSE(c.SetNumCompLevels("32768"));
  EXPECT_FALSE(c.SetNumCompLevels("-40000"));
  EXPECT_EQ(c.NumCompLevels(), "5");
  EXPECT_TRUE(c.SetNumCompLevels("32767"));
}

TEST(vrlFacility, NamesTheSharedPartsItsOwnWay) {
  vrlFacility f;
  EXPECT_EQ(f.NumFacLevels(), "0");
  EXPECT_FALSE(f.GridFac());
  f.SetNumTechReqs(2);
  EXPECT_EQ(f.TechReqNumStyle(2), "");
  EXPECT_TRUE(f.SetTechReqNumStyle(2, "-&techgridlevel2"));
  EXPECT_EQ(f.TechReqNumStyle(2), "-&techgridlevel2");
  EXPECT_TRUE(f.SetNumFacLevels("2.5"));
  EXPECT_EQ(f.NumFacLevels(), "2");
}

}  // namespace
}  // namespace vorlane
