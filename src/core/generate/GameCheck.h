// The game check: everything in generated entries that the game would refuse
// or misread, listed per entry and key. The rules are one table of keys, each
// with the kind of value the game reads there and its limits; technology
// areas and ability types are looked up in the names the game's own data
// files define, when the game directory is set. The check only reports;
// generation never depends on it.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "settings/GameData.h"

namespace vorlane {

enum class ValueKind {
  Text,         // any text
  Whole,        // a 32-bit whole number in plain digits
  WholeList,    // `count` whole numbers separated by blanks
  OneOf,        // one of `words`, letter case ignored
  TechArea,     // a technology area the game's data files define
  AbilityType,  // an ability type the game's data files define
  SoundName,    // a name in the game's Sounds folder, not a full path
};

struct KeyRule {
  std::string_view key;  // "#" stands for a number: "Tech Area Req #"
  ValueKind kind = ValueKind::Text;
  bool required = false;  // an empty value is reported (a number's as a warning)
  std::int64_t min = std::numeric_limits<std::int32_t>::min();
  std::int64_t max = std::numeric_limits<std::int32_t>::max();
  std::vector<std::string_view> words = {};  // OneOf
  int count = 0;                             // WholeList
  std::string_view note = {};                // what the game does with a value out of rule
};

// The rules, one row per key of the component and facility entries.
const std::vector<KeyRule>& GameKeyRules();

// The row for a key ("Tech Area Req 3" finds "Tech Area Req #"), or nothing.
const KeyRule* FindKeyRule(std::string_view key);

// How much a finding matters: an error is something the game refuses or
// misreads; a warning is something the game reads, probably not as meant (a
// blank number read as 0).
enum class CheckLevel { Error, Warning };

// "error" or "warning".
std::string_view CheckLevelName(CheckLevel level);

struct CheckFinding {
  int entry = 0;          // 1-based
  std::string entryName;  // the entry's "Name" value
  std::string key;        // empty for a line that is no "Key := value" line
  std::string problem;
  CheckLevel level = CheckLevel::Error;
  bool operator==(const CheckFinding&) const = default;
};

struct CheckReport {
  int entries = 0;
  std::vector<CheckFinding> findings;
  std::vector<std::string> notes;  // which data files were read, or why none

  bool Clean() const { return findings.empty(); }
  std::size_t Count(CheckLevel level) const;
  // No errors; with `strict` no warnings either.
  bool Passes(bool strict) const { return Count(CheckLevel::Error) == 0 && (!strict || Clean()); }
  // One line per level, key and problem with the entries that have it, errors
  // first ("error: entry 2 \"Laser 2\", key \"Pic Num\": ..." or "warning:
  // entries 1 to 3, 5, key ..."), at most `maxLines` of them and a count of
  // the rest, then the notes and a closing summary line.
  std::string Text(std::size_t maxLines = std::numeric_limits<std::size_t>::max()) const;
};

// Checks generated text (CR LF or LF line ends) against the rules and the
// game's names in `data`.
CheckReport CheckEntries(std::string_view text, const GameData& data);

}  // namespace vorlane
