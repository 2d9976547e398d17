#include "settings/PictureLookup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <tuple>

#include "../ScratchDir.h"
#include "settings/SoundLookup.h"

namespace vorlane {
namespace {

namespace fs = std::filesystem;

// The file expected: Windows, whose folders ignore letter case, finds it under
// the name as asked, where Linux finds the name as it is on disk.
bool SameFile(const std::optional<fs::path>& found, const fs::path& expected) {
  std::error_code ec;
  return found && fs::equivalent(*found, expected, ec);
}

using GameFolder = testing::ScratchDir;

TEST(PictureNames, PadsToThreeDigitsAndNamesEachKind) {
  EXPECT_EQ(PictureFileName(PictureKind::Component, 7), "Comp_007.bmp");
  EXPECT_EQ(PictureFileName(PictureKind::Component, 123), "Comp_123.bmp");
  EXPECT_EQ(PictureFileName(PictureKind::Component, 1234), "Comp_1234.bmp");
  EXPECT_EQ(PictureFileName(PictureKind::Facility, 7), "Facil_007.bmp");
  EXPECT_EQ(PictureNumberText(1), "001");
  EXPECT_EQ(PictureNumberText(100), "100");
  EXPECT_EQ(CombatPictureFileName("Beam"), "Beams.bmp");
  EXPECT_EQ(CombatPictureFileName("Torp"), "Torps.bmp");
}

TEST(PictureSliderRange, FollowsFileCountsWithHalfToEvenRounding) {
  // The mod and main directories' file counts, and the range; hundreds of files: 500 -> 2.5 -> 2, 700 -> 3.5 -> 4,
  // 900 -> 4.5 -> 4, 1100 -> 5.5 -> 6.
  const std::optional<int> none;
  const std::tuple<std::optional<int>, std::optional<int>, SliderRange> cases[] = {
      {none, none, {1, 800, 50}}, {none, 300, {1, 800, 50}}, {500, none, {1, 800, 50}}, {700, none, {1, 1200, 100}},
      {none, 900, {1, 1200, 100}}, {1000, none, {1, 1400, 100}}, {1100, none, {1, 1600, 100}},
      {100, 3000, {1, 3400, 100}}, {3000, 100, {1, 3400, 100}}, {0, 0, {1, 800, 50}}};
  for (const auto& [mod, seiv, range] : cases) {
    EXPECT_EQ(PictureSliderRange(mod, seiv), range) << mod.value_or(-1) << " " << seiv.value_or(-1);
  }
}

TEST(PictureSliderRange, WidensOnlyForNumbersAboveTheMaximum) {
  const SliderRange base{1, 800, 50};
  for (auto [n, range] : {std::pair{500, base}, {800, base}, {950, SliderRange{1, 950, 50}}, {5000, {1, 5000, 100}}}) {
    EXPECT_EQ(WidenedToHold(base, n), range) << n;
  }
}

TEST(WholeTextNumber, AcceptsOnlyTextThatIsANumberThroughout) {
  for (const auto& [text, value] : {std::pair<const char*, double>{"42", 42}, {"  42 ", 42}, {"12.5", 12.5}, {"-3", -3},
                                    {"1e3", 1000}}) {
    EXPECT_EQ(WholeTextNumber(text), value) << text;
  }
  for (const char* text : {"", "abc", "12abc", "{&complevel + 3}", "4 2", "1e", "1e999"}) {
    EXPECT_FALSE(WholeTextNumber(text)) << text;
  }
}

TEST(PictureSearch, ModDirectoryFirstThenGameDirectoryIgnoringLetterCase) {
  GameFolder game;
  const std::string mod = game.Dir("mod"), seiv = game.Dir("seiv");
  const auto modSeven = game.Write("mod/pictures/components/comp_007.BMP");
  game.Write("seiv/PICTURES/components/Comp_007.bmp");
  const auto seivFortyTwo = game.Write("seiv/PICTURES/components/Comp_042.bmp");

  PictureLookup both(PictureKind::Component, mod, seiv);
  auto seven = both.Find(7);
  EXPECT_EQ(seven.source, PictureSource::ModDir);
  EXPECT_TRUE(SameFile(seven.file, modSeven)) << seven.file;
  auto fortyTwo = both.Find(42);
  EXPECT_EQ(fortyTwo.source, PictureSource::SEIVDir);
  EXPECT_TRUE(SameFile(fortyTwo.file, seivFortyTwo)) << fortyTwo.file;
  auto missing = both.Find(99);
  EXPECT_FALSE(missing.Found());
  EXPECT_FALSE(missing.Failed());

  // With the mod directory not set it is never consulted.
  PictureLookup seivOnly(PictureKind::Component, "", seiv);
  EXPECT_EQ(seivOnly.Find(7).source, PictureSource::SEIVDir);
  EXPECT_TRUE(seivOnly.HasSEIVDir());
  EXPECT_FALSE(seivOnly.HasModDir());
  EXPECT_FALSE(seivOnly.NoDirs());

  // Facility pictures live in their own folder.
  game.Write("seiv/Pictures/facilities/FACIL_007.bmp");
  PictureLookup facilities(PictureKind::Facility, mod, seiv);
  EXPECT_EQ(facilities.Find(7).source, PictureSource::SEIVDir);
  EXPECT_FALSE(facilities.Find(42).Found());

  // A folder named like the picture is no picture; the exact spelling wins
  // over another letter case.
  fs::create_directories(fs::path(mod) / "Pictures/Components/Comp_005.bmp");
  game.Write("seiv/Pictures/Components/comp_005.bmp");
  EXPECT_EQ(both.Find(5).source, PictureSource::SEIVDir);
  game.Write("seiv/Pictures/components/Comp_003.bmp");
  const auto exact = game.Write("seiv/Pictures/Components/Comp_003.bmp");
  EXPECT_EQ(seivOnly.Find(3).file, exact);
}

TEST(PictureSearch, SkipsEmptyOrMissingDirectoriesAndTrailingSeparators) {
  GameFolder game;
  const std::string seiv = game.Dir("seiv");
  game.Write("seiv/Pictures/Components/Comp_001.bmp");
  const std::string bareMod = game.Dir("bare-mod");  // set, but without a pictures folder

  PictureLookup lookup(PictureKind::Component, bareMod, seiv + "/");
  EXPECT_EQ(lookup.Find(1).source, PictureSource::SEIVDir);
  PictureLookup nowhere(PictureKind::Component, game.Dir("x") + "/does-not-exist", "");
  EXPECT_FALSE(nowhere.Find(1).Found());
  EXPECT_FALSE(nowhere.Find(1).Failed());
  PictureLookup none(PictureKind::Component, "", "");
  EXPECT_TRUE(none.NoDirs());
  EXPECT_FALSE(none.Find(1).Found());
}

TEST(CombatPictureSearch, FindsStripsModFirst) {
  GameFolder game;
  const std::string mod = game.Dir("mod"), seiv = game.Dir("seiv");
  const auto beams = game.Write("seiv/pictures/combat/BEAMS.BMP");
  const auto torps = game.Write("mod/Pictures/Combat/Torps.bmp");
  game.Write("seiv/Pictures/Combat/Torps.bmp");

  auto b = FindCombatPicture(mod, seiv, "Beam");
  EXPECT_EQ(b.source, PictureSource::SEIVDir);
  EXPECT_TRUE(SameFile(b.file, beams)) << b.file;
  auto t = FindCombatPicture(mod, seiv, "Torp");
  EXPECT_EQ(t.source, PictureSource::ModDir);
  EXPECT_TRUE(SameFile(t.file, torps)) << t.file;
  EXPECT_FALSE(FindCombatPicture(mod, seiv, "Seeker").Found());
  EXPECT_FALSE(FindCombatPicture("", "", "Beam").Found());
}

TEST(PictureCounts, CountFilesOnlyAndDriveTheSliderRange) {
  GameFolder game;
  const std::string mod = game.Dir("mod"), seiv = game.Dir("seiv");
  for (int i = 0; i < 100; ++i) game.Write("mod/pictures/COMPONENTS/f" + std::to_string(i) + ".bmp");
  game.Write("mod/pictures/COMPONENTS/readme.txt");
  fs::create_directories(fs::path(mod) / "pictures/COMPONENTS/sub");
  for (int i = 0; i < 700; ++i) game.Write("seiv/Pictures/components/f" + std::to_string(i) + ".bmp");

  EXPECT_EQ(CountFilesBelow(mod, PictureFolder(PictureKind::Component)), 101);
  EXPECT_EQ(CountFilesBelow(seiv, PictureFolder(PictureKind::Component)), 700);
  EXPECT_EQ(CountFilesBelow(seiv, PictureFolder(PictureKind::Facility)), 0);
  EXPECT_EQ(CountFilesBelow(game.Dir("empty"), PictureFolder(PictureKind::Component)), 0);

  EXPECT_EQ(PictureLookup(PictureKind::Component, mod, seiv).SliderRangeOnOpening(), (SliderRange{1, 1200, 100}));
  EXPECT_EQ(PictureLookup(PictureKind::Component, mod, "").SliderRangeOnOpening(), (SliderRange{1, 800, 50}));
  EXPECT_EQ(PictureLookup(PictureKind::Facility, mod, seiv).SliderRangeOnOpening(), (SliderRange{1, 800, 50}));
  EXPECT_EQ(PictureLookup(PictureKind::Component, "", "").SliderRangeOnOpening(), (SliderRange{1, 800, 50}));
}

// Sounds go by the name the game looks up in its Sounds folder, found like
// the pictures: mod directory first, letter case ignored.
TEST(SoundLookup, NamesBelowASoundsFolderAndFindsThemModFirst) {
  GameFolder game;
  const std::string mod = game.Dir("mod"), seiv = game.Dir("seiv");
  const fs::path modZap = game.Write("mod/SOUNDS/Zap.wav");
  const fs::path seivZap = game.Write("seiv/Sounds/zap.wav");
  const fs::path seivBoom = game.Write("seiv/Sounds/Big/Boom.wav");
  const fs::path elsewhere = game.Write("seiv/Other/Zap.wav");

  EXPECT_EQ(SoundNameInSoundsFolder(modZap, mod, seiv), "Zap.wav");
  EXPECT_EQ(SoundNameInSoundsFolder(seivBoom, mod, seiv), "Big\\Boom.wav");
  EXPECT_EQ(SoundNameInSoundsFolder(fs::path(seiv) / "x/../Sounds/zap.wav", "", seiv), "zap.wav");
  EXPECT_EQ(SoundNameInSoundsFolder(elsewhere, mod, seiv), std::nullopt);
  EXPECT_EQ(SoundNameInSoundsFolder(seivZap, mod, ""), std::nullopt);

  EXPECT_TRUE(SameFile(FindSoundFile("zap.WAV", mod, seiv), modZap));
  EXPECT_TRUE(SameFile(FindSoundFile("zap.wav", "", seiv), seivZap));
  EXPECT_TRUE(SameFile(FindSoundFile("big\\boom.wav", mod, seiv), seivBoom));
  EXPECT_EQ(FindSoundFile(elsewhere.string(), mod, seiv), elsewhere);
  EXPECT_EQ(FindSoundFile("Boom.wav", mod, seiv), std::nullopt);
  EXPECT_EQ(FindSoundFile((fs::path(seiv) / "none.wav").string(), mod, seiv), std::nullopt);
  EXPECT_EQ(FindSoundFile("", mod, seiv), std::nullopt);

  for (std::string_view full : {"/a.wav", "\\a.wav", "C:\\a.wav", "c:a.wav"}) EXPECT_TRUE(IsFullPath(full)) << full;
  for (std::string_view bare : {"a.wav", "Sub\\a.wav", "1:2.wav", ""}) EXPECT_FALSE(IsFullPath(bare)) << bare;
}

}  // namespace
}  // namespace vorlane
