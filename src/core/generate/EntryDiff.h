// What changed between two generated texts: entries matched by position,
// keys matched by name within an entry (a key written more than once matched
// in order), one change per key whose value differs and one per entry that
// only one side has. Used by `vorlane-gen --diff` and wherever a design is
// compared with an earlier one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorlane {

struct EntryChange {
  enum class Kind { Changed, Added, Removed };
  Kind kind = Kind::Changed;
  int entry = 0;         // 1-based position; 0 for lines before the first entry
  std::string oldName;   // the entry's "Name" on each side; empty on the side without it
  std::string newName;
  std::string key;       // Changed only
  std::string oldValue;  // empty when the old entry lacks the key
  std::string newValue;  // empty when the new entry lacks the key
  bool operator==(const EntryChange&) const = default;

  // One line, without line end:
  //   entry 2 "Laser 2", key "Cost Minerals": "20" -> "30"
  //   entry 2 "Laser 2" -> "Beam 2", key "Name": "Laser 2" -> "Beam 2"
  //   entry 4 "Laser 4": added          (or: removed)
  std::string Text() const;
};

// The changes from `oldText` to `newText` (CR LF or LF line ends), in entry
// order, within an entry in the order of the old entry's keys and then the
// keys only the new entry has. Empty lines are ignored; a key one side lacks
// counts as a change even when the other side's value is empty.
std::vector<EntryChange> DiffEntries(std::string_view oldText, std::string_view newText);

}  // namespace vorlane
