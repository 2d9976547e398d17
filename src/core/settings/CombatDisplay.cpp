#include "settings/CombatDisplay.h"

#include "settings/PictureLookup.h"
#include "util/Numbers.h"

namespace vorlane {

namespace {

// Display numbers stay well inside the int range so that slider arithmetic
// (maximum + slack, offsets of -40 * row) cannot overflow.
constexpr int kLargestDisplayNumber = 1'000'000;

}  // namespace

CombatCellOffset DisplayCellOffset(int n) {
  return {-kCombatCellSize * (n % kCombatCellsPerRow), -kCombatCellSize * (n / kCombatCellsPerRow)};
}

std::optional<CombatStripLayout> LayoutModStrip(int pictureWidth, int pictureHeight, int sliderMax) {
  if (pictureWidth <= 0 || pictureHeight <= 0) return std::nullopt;
  auto half = RoundToInt32(200.0 * pictureHeight / pictureWidth);
  if (!half || *half > 1'000'000) return std::nullopt;
  CombatStripLayout layout{kCombatShownWidth, 2 * *half, sliderMax, std::nullopt};
  if (pictureHeight > 2 * sliderMax) {
    auto steps = RoundToInt32(pictureHeight / 50.0);
    if (!steps) return std::nullopt;
    layout.sliderMax = 25 * *steps + 50;
  }
  return layout;
}

std::optional<CombatStripLayout> LayoutBaseStrip(int pictureWidth, int pictureHeight, int sliderMax) {
  if (pictureWidth <= 0 || pictureHeight <= 0 || pictureHeight > 1'000'000) return std::nullopt;
  CombatStripLayout layout{kCombatShownWidth, 2 * pictureHeight, sliderMax, std::nullopt};
  if (pictureHeight > 2 * sliderMax) {
    auto newMax = RoundToInt32(pictureHeight / 2.0 + 25.0);
    if (!newMax) return std::nullopt;
    layout.sliderMax = *newMax;
    layout.tickInterval = RoundToInt32(*newMax / 100.0).value_or(1);
  }
  return layout;
}

std::optional<int> DisplayNumberFromText(std::string_view text) {
  auto value = WholeTextNumber(text);
  if (!value) return std::nullopt;
  auto n = RoundToInt32(*value);
  if (!n || *n < 0 || *n > kLargestDisplayNumber) return std::nullopt;
  return *n;
}

}  // namespace vorlane
