// Geometry of the weapon page's combat-picture preview. The game draws shots
// from one strip per display type (Beams.bmp, Torps.bmp): cells of 20 by 20
// pixels, ten per row. The page shows the strip doubled to 400 pixels wide and
// looks at one 40 by 40 cell through a viewport of that size.
#pragma once

#include <optional>
#include <string_view>

namespace vorlane {

inline constexpr int kCombatCellSize = 40;
inline constexpr int kCombatCellsPerRow = 10;
inline constexpr int kCombatShownWidth = 400;

// Where the shown strip goes inside the viewport so that cell n fills it:
// column n mod 10, row n div 10, both from 0.
struct CombatCellOffset {
  int left = 0;
  int top = 0;
};
CombatCellOffset DisplayCellOffset(int n);

// Size of the shown strip and how the display-number slider has to grow so
// that every cell of a tall strip can be reached. The slider never shrinks.
struct CombatStripLayout {
  int width = 0;
  int height = 0;
  int sliderMax = 0;
  std::optional<int> tickInterval;  // set when the tick spacing changes too
};

// A strip found in the mod directory keeps its proportions at 400 wide.
std::optional<CombatStripLayout> LayoutModStrip(int pictureWidth, int pictureHeight, int sliderMax);
// A strip found in the game directory is doubled in height.
std::optional<CombatStripLayout> LayoutBaseStrip(int pictureWidth, int pictureHeight, int sliderMax);

// The display number that a number text stands for: its leading number
// rounded half to even. Empty when the whole text is not one number (see
// WholeTextNumber) or when the value cannot be a display number (negative or
// too large); such a text is then kept as typed, like a formula.
std::optional<int> DisplayNumberFromText(std::string_view text);

}  // namespace vorlane
