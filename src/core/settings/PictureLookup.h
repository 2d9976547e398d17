// Finding the game's picture files below the mod and main game directories.
//
// The game keeps component pictures as Pictures/Components/Comp_007.bmp,
// facility pictures as Pictures/Facilities/Facil_007.bmp and the shot strips
// as Pictures/Combat/Beams.bmp and Torps.bmp. Game folders are often copied
// from Windows, so the folder and file names appended to a directory are
// matched without regard to letter case; the directory itself is used exactly
// as the user stored it. The mod directory is searched first, an empty
// directory text is skipped, and the first existing file wins.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlane {

enum class PictureKind { Component, Facility };

enum class PictureSource { None, ModDir, SEIVDir };

// The number as it appears in a picture file name: zeros put before one or two
// digits ("7" -> "007", "42" -> "042"), three or more digits used as they are.
std::string PictureNumberText(std::int64_t number);

// "Comp_007.bmp" or "Facil_007.bmp".
std::string PictureFileName(PictureKind kind, std::int64_t number);

// The shot strip of a display type: "Beam" -> "Beams.bmp", "Torp" -> "Torps.bmp".
std::string CombatPictureFileName(std::string_view displayType);

// The folder names below a game or mod directory that hold the kind's pictures.
std::vector<std::string> PictureFolder(PictureKind kind);
std::vector<std::string> CombatPictureFolder();

// Outcome of one search. A file-system failure (other than a missing file or
// folder) stops the search; its text and number are kept for the caller's
// message.
struct PictureSearchResult {
  PictureSource source = PictureSource::None;
  std::filesystem::path file;
  std::string errorDescription;
  int errorNumber = 0;

  bool Found() const { return source != PictureSource::None; }
  bool Failed() const { return !errorDescription.empty(); }
};

// Follows `names` below `directory`, each name matched exactly first and
// otherwise without regard to ASCII letter case. Every name but the last must
// be a folder; the last must be a file when `wantFile` is set, else a folder.
// Nothing when the chain does not exist; `error` is set only for failures
// other than a missing entry (an unreadable folder, say).
std::optional<std::filesystem::path> FindBelowIgnoringCase(const std::string& directory,
                                                           const std::vector<std::string>& names,
                                                           bool wantFile, std::error_code& error);

// Files directly inside `folder` below `directory` (folders are not counted).
// A folder that cannot be found or read counts 0.
int CountFilesBelow(const std::string& directory, const std::vector<std::string>& folder);

// The range of a picture page's number slider.
struct SliderRange {
  int minimum = 1;
  int maximum = 800;
  int tickSpacing = 50;
  bool operator==(const SliderRange&) const = default;
};

// The range for the given file counts (nothing for a directory that is not
// set): the larger count, at least 400, rounded to a whole number of 200s
// (halves to even) plus 400; ticks every 50 below 1000, else every 100.
SliderRange PictureSliderRange(std::optional<int> modCount, std::optional<int> seivCount);

// Raises the maximum so that `value` fits, keeping the tick rule. A stored
// picture number past the usual range is kept this way instead of clipped.
SliderRange WidenedToHold(SliderRange range, std::int64_t value);

// The whole text read as a number (blanks around it allowed; sign, decimals and
// an E or D exponent accepted). Nothing for any other text, the empty one too.
std::optional<double> WholeTextNumber(std::string_view text);

// The mod directory first, then the main game directory, an empty one skipped:
// the first directory holding `names` as a file. Used for the shot strips.
PictureSearchResult FindInGameDirs(const std::string& modDir, const std::string& seivDir,
                                   const std::vector<std::string>& names);

// Beams.bmp or Torps.bmp below Pictures/Combat, mod directory first.
PictureSearchResult FindCombatPicture(const std::string& modDir, const std::string& seivDir,
                                      std::string_view displayType);

// The lookup of one picture page. The directory flags are taken once, when the
// page opens, and hold while it is open.
class PictureLookup {
 public:
  PictureLookup(PictureKind kind, std::string modDir, std::string seivDir);

  PictureKind Kind() const { return kind_; }
  bool HasModDir() const { return !modDir_.empty(); }
  bool HasSEIVDir() const { return !seivDir_.empty(); }
  bool NoDirs() const { return !HasModDir() && !HasSEIVDir(); }

  // Counts the kind's files below each set directory and derives the range.
  SliderRange SliderRangeOnOpening() const;

  // The picture file for `number`, mod directory first.
  PictureSearchResult Find(std::int64_t number) const;

 private:
  PictureKind kind_;
  std::string modDir_;
  std::string seivDir_;
};

}  // namespace vorlane
