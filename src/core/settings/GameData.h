// Names the game's own data files define, for the game check: the technology
// areas and ability types an entry may name. Each list comes from one file in
// the Data folder of the mod directory or, when the mod has none, of the main
// game directory (a mod's data file replaces the game's). Folder and file
// names are matched without regard to letter case, like the pictures.
//
// The files are records of "Key := value" lines in Windows-1252; each record's
// "Name" line gives one name. Which file holds which list is the table
// kGameDataFiles below, the one place to correct when an installation names
// its files differently.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace vorlane {

enum class GameNameKind { TechArea, AbilityType };

struct GameDataFile {
  GameNameKind kind;
  std::string_view what;                     // "technology area", for messages
  std::vector<std::string_view> fileNames;   // below Data, tried in order
};

// The data files read, in the order their lists are reported.
const std::vector<GameDataFile>& GameDataFiles();

// The record names of a data file's text: the value of every line whose key is
// "Name" (letter case ignored), blanks around it removed. The text is read as
// the game reads it, as Windows-1252, even when it looks like UTF-8 (a UTF-8
// byte order mark is passed over); line ends may be CR LF or LF.
std::vector<std::string> ReadRecordNames(std::string_view fileText);

// One list of names and where it came from.
struct GameNames {
  GameNameKind kind = GameNameKind::TechArea;
  std::string what;
  std::filesystem::path file;  // the file read; empty when none was found
  std::string error;           // why the file could not be read
  std::size_t count = 0;       // names read
  bool looksUtf8 = false;      // the file looks like UTF-8 (LooksLikeUtf8)
  std::unordered_set<std::string> folded;  // the names, letter case folded

  bool Usable() const { return !file.empty() && error.empty(); }
  bool Knows(std::string_view name) const;
};

struct GameData {
  std::vector<GameNames> lists;
  const GameNames* Find(GameNameKind kind) const;
};

// Reads every list of kGameDataFiles, mod directory first; an empty directory
// text is skipped. With neither directory set the result has no lists.
GameData ReadGameData(const std::string& modDir, const std::string& seivDir);

}  // namespace vorlane
