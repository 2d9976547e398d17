// vorlane-gen's work on a mod's data files: --import and --apply.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "generate/GenerationModule.h"

namespace vorlane_gen {

// Lists the families of FILE, or imports the family of the named entries as
// a design (to OUTPUT, else standard output). 0 reproduced exactly, 1 the
// design is written and what it does not reproduce is listed on standard
// error, 2 the file cannot be read or an entry is not there.
int RunImport(const std::string& file, const std::vector<std::string>& entries, const std::optional<std::string>& output);

// Generates a design into `result`: 0 generated, 1 refused or failed (the
// messages already on standard error), 2 unreadable.
using GenerateFn = std::function<int(const std::string& design, vorlane::GenerationResult& result)>;

struct ApplyOptions {
  std::vector<std::string> designs;
  std::string file;
  bool dryRun = false;
  bool replaceOthers = false;
  std::string gameDir, modDir;
};

// Applies the designs to FILE. 0 applied (or nothing to change, or shown with
// --dry-run), 1 refused (a name another entry holds, a character the file
// cannot hold, the file changed on disk, a design that does not generate),
// 2 a file cannot be read or written.
int RunApply(const ApplyOptions& options, const GenerateFn& generate);

}  // namespace vorlane_gen
