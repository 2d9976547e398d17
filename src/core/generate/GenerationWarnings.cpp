#include "generate/GenerationWarnings.h"

#include <charconv>
#include <map>

#include "generate/EntryText.h"

namespace vorlane {

void AddGenerationWarnings(CheckReport& report, std::span<const GenerationWarning> warnings, std::size_t count,
                           std::string_view text) {
  // The entry of a warning is its level text: the level, or in a grid the
  // cell's number, which is the entry's place in the text.
  std::map<int, std::string> names;
  for (const GenerationWarning& warning : warnings) {
    int entry = 0;
    std::from_chars(warning.level.data(), warning.level.data() + warning.level.size(), entry);
    names.try_emplace(entry);
  }
  EntryCursor cursor;
  for (std::size_t start = 0; start < text.size() && !names.empty();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    cursor.Next(line);
    if (cursor.Key() == "Name") {
      if (auto found = names.find(cursor.Entry()); found != names.end()) found->second = cursor.EntryName();
    }
    if (cursor.Entry() > names.rbegin()->first) break;
    start = end + 1;
  }
  for (const GenerationWarning& warning : warnings) {
    int entry = 0;
    std::from_chars(warning.level.data(), warning.level.data() + warning.level.size(), entry);
    report.findings.push_back({entry, names[entry], {}, warning.Line(), CheckLevel::Warning});
  }
  if (count > warnings.size()) {
    report.notes.push_back(std::to_string(count - warnings.size()) +
                           " more brace groups written as 0 are not listed.");
  }
}

}  // namespace vorlane
