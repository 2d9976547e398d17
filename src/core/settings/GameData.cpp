#include "settings/GameData.h"

#include <fstream>
#include <sstream>

#include "settings/PictureLookup.h"
#include "util/Windows1252.h"

namespace vorlane {

namespace {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

}  // namespace

const std::vector<GameDataFile>& GameDataFiles() {
  static const std::vector<GameDataFile> files = {
      {GameNameKind::TechArea, "technology area", {"TechArea.txt", "TechAreas.txt"}},
      {GameNameKind::AbilityType, "ability type", {"AbilityTypes.txt", "AbilityType.txt"}},
  };
  return files;
}

std::vector<std::string> ReadRecordNames(std::string_view fileText) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (fileText.starts_with(kBom)) fileText.remove_prefix(kBom.size());
  std::vector<std::string> names;
  while (!fileText.empty()) {
    const std::size_t end = fileText.find('\n');
    const std::string_view line = fileText.substr(0, end);
    fileText.remove_prefix(end == std::string_view::npos ? fileText.size() : end + 1);
    const std::size_t sep = line.find(":=");
    if (sep == std::string_view::npos) continue;
    const std::string_view key = TrimBlanks(line.substr(0, sep));
    if (FoldCase(key) != "name") continue;
    const std::string_view value = TrimBlanks(line.substr(sep + 2));
    names.push_back(Windows1252ToUtf8(value));
  }
  return names;
}

bool GameNames::Knows(std::string_view name) const { return folded.contains(FoldCase(name)); }

const GameNames* GameData::Find(GameNameKind kind) const {
  for (const GameNames& list : lists) {
    if (list.kind == kind) return &list;
  }
  return nullptr;
}

GameData ReadGameData(const std::string& modDir, const std::string& seivDir) {
  GameData data;
  if (modDir.empty() && seivDir.empty()) return data;
  for (const GameDataFile& file : GameDataFiles()) {
    GameNames& list = data.lists.emplace_back();
    list.kind = file.kind;
    list.what = file.what;
    for (const std::string* dir : {&modDir, &seivDir}) {
      if (dir->empty() || !list.file.empty()) continue;
      for (std::string_view name : file.fileNames) {
        std::error_code error;
        auto found = FindBelowIgnoringCase(*dir, {"Data", std::string(name)}, true, error);
        if (found) {
          list.file = *found;
          break;
        }
      }
    }
    if (list.file.empty()) continue;
    std::ifstream in(list.file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in.good() && !in.eof()) {
      list.error = "cannot be read";
      continue;
    }
    list.looksUtf8 = LooksLikeUtf8(text.str());
    for (const std::string& name : ReadRecordNames(text.str())) {
      list.folded.insert(FoldCase(name));
      ++list.count;
    }
  }
  return data;
}

}  // namespace vorlane
