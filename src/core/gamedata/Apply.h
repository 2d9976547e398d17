// Apply: generated entries written back into a game data file. A design's
// entries replace the entries of the same names where they stand, new
// levels follow the family's last entry (a new family goes to the end of
// the body), and levels the design no longer makes are removed. A name held
// by an entry that the design did not write is refused unless the caller
// allows it. Every other byte of the file stays as it was: header, other
// entries, blank lines, encoding and line ends.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "gamedata/DataFile.h"
#include "generate/EntryDiff.h"
#include "generate/GameCheck.h"
#include "records/DesignRecord.h"

namespace vorlane {

// One design's part in an apply.
struct ApplySource {
  std::string label;                     // the design, for messages
  std::string entries;                   // its generated entries (UTF-8)
  std::vector<std::string> lastWritten;  // the names it last wrote into this file
};

struct ApplyChange {
  enum class Kind { Added, Replaced, Removed };
  Kind kind = Kind::Added;
  std::string name;
  std::string design;                // the source's label
  int line = 0;                      // where the entry stands in the file before; 0 for an added one
  std::vector<EntryChange> keys;     // Replaced: the keys that change, as --diff shows them
  // "replaced \"Laser 2\" (line 40): key \"Cost Minerals\": \"20\" -> \"30\"", one line per key.
  std::string Text() const;
};

struct ApplyConflict {
  std::string name;
  int line = 0;        // of the entry that holds the name
  std::string design;  // the source that would write it
  std::string owner;   // the other source that writes it in this apply; empty for an entry of the file
  std::string Text() const;
};

struct ApplyPlan {
  std::vector<ApplyChange> changes;      // in file order per design
  std::vector<ApplyConflict> conflicts;  // refused names; nothing is written while there are any
  std::string error;                     // a character the file cannot hold; nothing is written then
  std::string bytes;                     // the file as it will be
  FileStamp before;                      // the file the plan was made from
  std::vector<std::vector<std::string>> written;  // per source: the names it now has in the file
  std::vector<std::string> duplicates;   // names more than one entry of the result holds
  std::string appliedText;               // the sources' entries as written, UTF-8, for the game check

  bool Ready() const { return conflicts.empty() && error.empty(); }
  bool Changed() const { return !changes.empty(); }
  // Every change, conflict and duplicate, one per line.
  std::string Text() const;
};

// Plans the apply of `sources`, in order, to `file`. With `replaceOthers`
// names held by entries no source wrote are replaced instead of refused.
ApplyPlan PlanApply(const DataFile& file, const std::vector<ApplySource>& sources, bool replaceOthers);

// The game check of the entries the plan writes, and the duplicate names of
// the whole result.
CheckReport CheckApplied(const ApplyPlan& plan, const GameData& data);

// Writes the planned file: refuses when the file on disk is no longer the
// one the plan was made from; writes a temporary file beside it, keeps the
// previous file as FILE.bak and renames the temporary file into place. A
// failure at any point leaves the file as it was. `write` stands in for
// writing the bytes to the open temporary file (tests make it fail).
using WriteBytes = std::function<bool(std::FILE*, std::string_view)>;
bool WriteAppliedFile(const std::filesystem::path& path, const ApplyPlan& plan, std::string& error,
                      const WriteBytes& write = {});

// The key under which a design remembers a data file: its full path.
std::string DataFileKey(const std::filesystem::path& path);
// The names `written` holds for the file with key `fileKey` (paths compared
// without regard to letter case).
std::vector<std::string> WrittenNames(const std::vector<WrittenEntries>& written, std::string_view fileKey);
// Records `names` as what the design now holds in that file.
void SetWrittenNames(std::vector<WrittenEntries>& written, const std::string& fileKey, std::vector<std::string> names);

}  // namespace vorlane
