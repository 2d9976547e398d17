// Import: a family of a data file's entries (or a single entry) as a design
// whose generation gives those entries back. Every value becomes the
// simplest formula that gives it at every level (FormulaFit.h). The import
// then generates the design and compares each entry key by key with the
// file; whatever differs is listed, by entry and key, never dropped.
#pragma once

#include <string>
#include <vector>

#include "gamedata/DataFile.h"
#include "gamedata/Families.h"
#include "generate/DesignFile.h"

namespace vorlane {

struct ImportGap {
  std::string entry;    // the entry's name in the file
  std::string key;      // the key as the file writes it; empty for the entry as a whole
  std::string problem;
  bool operator==(const ImportGap&) const = default;
  // "entry \"Laser 2\", key \"Weapon Extra\": a key Vorlane does not write (\"5\")"
  std::string Text() const;
};

struct ImportResult {
  Design design;
  std::vector<ImportGap> gaps;  // what the design does not reproduce
  std::string generated;        // the design's entries, as the self-check generated them
};

// Turns `family` of `file` into a design. `filePath` is the data file's full
// path; the design remembers that it holds the family's entries there.
ImportResult ImportFamily(const DataFile& file, const Family& family, const std::string& filePath);

// The gaps as lines: each difference on its own line (at most `maxLines`,
// then a count of the rest), then one line naming the keys the file lacks
// and the design writes, once for all entries.
std::string GapsText(const std::vector<ImportGap>& gaps, std::size_t maxLines = static_cast<std::size_t>(-1));

// Lists the families, one line each: "Laser Cannon I..XII (12 entries, line 40)".
std::string FamilyListText(const DataFile& file, const std::vector<Family>& families);

}  // namespace vorlane
