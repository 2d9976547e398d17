#include "settings/CombatDisplay.h"

#include <string>

#include "util/Numbers.h"

namespace vorlane {

namespace {

// Display numbers stay well inside the int range so that slider arithmetic
// (maximum + slack, offsets of -40 * row) cannot overflow.
constexpr int kLargestDisplayNumber = 1'000'000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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

std::string CombatStripFileName(std::string_view displayType) {
  if (displayType == "Seeker") return {};
  return std::string(displayType) + "s.bmp";
}

bool IsNumberText(std::string_view text) {
  std::size_t i = 0;
  std::size_t end = text.size();
  while (i < end && (text[i] == ' ' || text[i] == '\t')) ++i;
  while (end > i && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < end && IsDigit(text[i])) ++i, ++digits;
  if (i < end && text[i] == '.') {
    ++i;
    while (i < end && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < end && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < end && IsDigit(text[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == end;
}

std::optional<int> DisplayNumberFromText(std::string_view text) {
  if (!IsNumberText(text)) return std::nullopt;
  auto n = RoundToInt32(LeadingNumber(text));
  if (!n || *n < 0 || *n > kLargestDisplayNumber) return std::nullopt;
  return *n;
}

}  // namespace vorlane
