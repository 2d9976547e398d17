#include "settings/SoundLookup.h"

#include <vector>

#include "settings/PictureLookup.h"
#include "util/Platform.h"
#include "util/Windows1252.h"

namespace vorlane {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSoundsFolder = "Sounds";

std::vector<std::string> Parts(const fs::path& path) {
  std::vector<std::string> parts;
  for (const fs::path& part : path.lexically_normal()) {
    if (!part.empty()) parts.push_back(Utf8FromPath(part));
  }
  return parts;
}

// The parts of `file` below `folder` when it lies inside it, letter case
// ignored.
std::optional<std::vector<std::string>> Below(const fs::path& file, const fs::path& folder) {
  const std::vector<std::string> outer = Parts(folder);
  std::vector<std::string> inner = Parts(file);
  if (inner.size() <= outer.size()) return std::nullopt;
  for (std::size_t i = 0; i < outer.size(); ++i) {
    if (FoldCase(outer[i]) != FoldCase(inner[i])) return std::nullopt;
  }
  inner.erase(inner.begin(), inner.begin() + static_cast<std::ptrdiff_t>(outer.size()));
  return inner;
}

}  // namespace

bool IsFullPath(std::string_view name) {
  if (name.starts_with('/') || name.starts_with('\\')) return true;
  return name.size() >= 2 && name[1] == ':' &&
         ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
}

std::optional<std::string> SoundNameInSoundsFolder(const fs::path& chosen, const std::string& modDir,
                                                   const std::string& seivDir) {
  std::error_code ignored;
  const fs::path absolute = fs::absolute(chosen, ignored);
  const fs::path canonical = fs::weakly_canonical(absolute, ignored);
  for (const std::string* dir : {&modDir, &seivDir}) {
    if (dir->empty()) continue;
    const fs::path folder = fs::absolute(PathFromUtf8(*dir), ignored) / kSoundsFolder;
    const fs::path canonicalFolder = fs::weakly_canonical(folder, ignored);
    for (const auto& [file, base] : {std::pair{absolute, folder}, std::pair{canonical, canonicalFolder}}) {
      if (auto parts = Below(file, base)) {
        std::string name;
        for (const std::string& part : *parts) name += (name.empty() ? "" : "\\") + part;
        return name;
      }
    }
  }
  return std::nullopt;
}

std::optional<fs::path> FindSoundFile(const std::string& stored, const std::string& modDir,
                                      const std::string& seivDir) {
  if (stored.empty()) return std::nullopt;
  std::error_code error;
  if (IsFullPath(stored)) {
    if (fs::is_regular_file(PathFromUtf8(stored), error)) return PathFromUtf8(stored);
    return std::nullopt;
  }
  std::vector<std::string> names = {kSoundsFolder};
  std::size_t start = 0;
  for (std::size_t i = 0; i <= stored.size(); ++i) {
    if (i == stored.size() || stored[i] == '/' || stored[i] == '\\') {
      if (i > start) names.push_back(stored.substr(start, i - start));
      start = i + 1;
    }
  }
  for (const std::string* dir : {&modDir, &seivDir}) {
    if (dir->empty()) continue;
    if (auto found = FindBelowIgnoringCase(*dir, names, true, error)) return found;
  }
  return std::nullopt;
}

}  // namespace vorlane
