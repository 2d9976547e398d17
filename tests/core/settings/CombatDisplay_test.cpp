#include "settings/CombatDisplay.h"

#include <gtest/gtest.h>

namespace vorlane {
namespace {

TEST(CombatDisplay, StripLayoutsRoundHalfToEven) {
  // Mod strip: height 2 * round(200 * h / w); 200 / 16 = 12.5 rounds to 12.
  EXPECT_EQ(LayoutModStrip(16, 1, 500)->height, 24);
  // Taller than twice the slider: 25 * round(1225 / 50) + 50, 24.5 rounds to 24.
  auto mod = LayoutModStrip(200, 1225, 500);
  EXPECT_EQ(mod->sliderMax, 25 * 24 + 50);
  EXPECT_FALSE(mod->tickInterval);
  // Game strip: 1301 / 2 + 25 = 675.5 rounds to 676, ticks round(6.76) = 7.
  auto base = LayoutBaseStrip(200, 1301, 500);
  EXPECT_EQ(base->height, 2602);
  EXPECT_EQ(base->sliderMax, 676);
  EXPECT_EQ(base->tickInterval, 7);
  // The slider never shrinks.
  EXPECT_EQ(LayoutBaseStrip(200, 1000, 500)->sliderMax, 500);
  EXPECT_FALSE(LayoutModStrip(0, 10, 500));
  EXPECT_FALSE(LayoutBaseStrip(200, 0, 500));
}

TEST(CombatDisplay, DisplayNumbersRoundHalfToEvenAndRefuseWhatCannotBeShown) {
  for (auto [text, number] : {std::pair{" 12 ", 12}, {"2.5", 2}, {"3.5", 4}, {"-0.4", 0}, {"1e3", 1000}}) {
    EXPECT_EQ(DisplayNumberFromText(text), number) << text;
  }
  for (const char* kept : {"-1", "1e12", "{5}", "", "12a", "&complevel"}) {
    EXPECT_FALSE(DisplayNumberFromText(kept)) << kept;
  }
}

}  // namespace
}  // namespace vorlane
