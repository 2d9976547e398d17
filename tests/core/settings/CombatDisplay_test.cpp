#include "settings/CombatDisplay.h"

#include <gtest/gtest.h>

namespace vorlane {
namespace {

TEST(CombatDisplay, CellOffsetsWalkTenCellsPerRow) {
  struct Case {
    int n, left, top;
  };
  for (Case c : {Case{0, 0, 0}, Case{9, -360, 0}, Case{10, 0, -40}, Case{16, -240, -40}, Case{123, -120, -480},
                 Case{499, -360, -1960}}) {
    auto offset = DisplayCellOffset(c.n);
    EXPECT_EQ(offset.left, c.left) << c.n;
    EXPECT_EQ(offset.top, c.top) << c.n;
  }
}

TEST(CombatDisplay, ModStripKeepsProportionsAndGrowsSlider) {
  // 200 wide: doubled both ways, slider untouched while the strip fits.
  auto a = LayoutModStrip(200, 1000, 500);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->width, 400);
  EXPECT_EQ(a->height, 2000);
  EXPECT_EQ(a->sliderMax, 500);
  EXPECT_FALSE(a->tickInterval);
  // 300 wide, 450 high: 200 * 450 / 300 = 300, shown 600 high.
  auto b = LayoutModStrip(300, 450, 500);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->height, 600);
  // Taller than twice the slider: 25 * round(1225 / 50) + 50, 24.5 rounds to 24.
  auto c = LayoutModStrip(200, 1225, 500);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->sliderMax, 25 * 24 + 50);
  EXPECT_FALSE(c->tickInterval);
  // A proportional height of x.5 rounds half to even: 200 * 5 / 8 = 125 exactly, 200 * 1 / 16 = 12.5 -> 12.
  auto d = LayoutModStrip(16, 1, 500);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->height, 24);
  EXPECT_FALSE(LayoutModStrip(0, 10, 500));
  EXPECT_FALSE(LayoutModStrip(10, 0, 500));
}

TEST(CombatDisplay, BaseStripDoublesHeightAndResetsTicks) {
  auto a = LayoutBaseStrip(200, 1000, 500);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->width, 400);
  EXPECT_EQ(a->height, 2000);
  EXPECT_EQ(a->sliderMax, 500);
  EXPECT_FALSE(a->tickInterval);
  // 1301 / 2 + 25 = 675.5 -> 676 (even), ticks round(6.76) = 7.
  auto b = LayoutBaseStrip(200, 1301, 500);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->sliderMax, 676);
  ASSERT_TRUE(b->tickInterval);
  EXPECT_EQ(*b->tickInterval, 7);
  // A strip that is not 200 wide is still doubled in height.
  auto c = LayoutBaseStrip(100, 300, 500);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->height, 600);
  EXPECT_FALSE(LayoutBaseStrip(200, -1, 500));
}

TEST(CombatDisplay, DisplayNumbersRoundHalfToEvenAndRefuseWhatCannotBeShown) {
  EXPECT_EQ(DisplayNumberFromText("12"), 12);
  EXPECT_EQ(DisplayNumberFromText("2.5"), 2);
  EXPECT_EQ(DisplayNumberFromText("3.5"), 4);
  EXPECT_EQ(DisplayNumberFromText("-0.4"), 0);
  EXPECT_EQ(DisplayNumberFromText("1e3"), 1000);
  EXPECT_EQ(DisplayNumberFromText(" 7 "), 7);
  EXPECT_FALSE(DisplayNumberFromText("-1"));
  EXPECT_FALSE(DisplayNumberFromText("1e12"));
  EXPECT_FALSE(DisplayNumberFromText("{5}"));
  EXPECT_FALSE(DisplayNumberFromText(""));
  EXPECT_FALSE(DisplayNumberFromText("12a"));
  EXPECT_FALSE(DisplayNumberFromText("&complevel"));
}

}  // namespace
}  // namespace vorlane
