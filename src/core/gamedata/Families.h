// Families of a data file's entries: entries whose names differ only in a
// level number or a Roman numeral ("Laser Cannon I" ... "Laser Cannon XII"),
// or, for a grid, in several numbers that together run over every cell
// ("Mineral Miner 1-1" ... "Mineral Miner 3-2"). Every other entry is a family
// of its own.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "gamedata/DataFile.h"

namespace vorlane {

// A number or Roman numeral in an entry's name.
struct NameToken {
  std::size_t pos = 0, length = 0;  // bytes within the trimmed name
  bool roman = false;
  int value = 0;
};

struct Family {
  std::string label;                 // "Laser Cannon I..XII", or the name of a single entry
  std::vector<std::size_t> members;  // indexes into DataFile::entries: level order, or grid cells in odometer order
  bool facility = false;             // facility entries ("Facility Group" key) rather than components
  bool grid = false;
  std::vector<int> gridSizes;        // grid: the cells along each varying number, in name order
  // The trimmed names split at the varying tokens: texts.size() == tokens + 1.
  std::vector<std::string> texts;
  // Per member, the varying tokens as written, in name order.
  std::vector<std::vector<std::string>> tokens;
  std::vector<bool> romanTokens;     // per varying token
};

// The trimmed name's numbers and Roman numerals, in order.
std::vector<NameToken> NameTokens(std::string_view name);

// Every family of the file, in the order of their first entries. In the
// game's facility file (`facilities`) every family is a facility, whatever
// keys its entries lack.
std::vector<Family> FindFamilies(const DataFile& file, bool facilities = false);

// Whether `path` names the game's facility data file ("Facility.txt", any
// letter case).
bool IsFacilityFile(const std::filesystem::path& path);

// The family that holds the entry named `name` (compared as the game's
// readers compare names); -1 when no entry has that name.
int FamilyOfName(const DataFile& file, const std::vector<Family>& families, std::string_view name);

}  // namespace vorlane
