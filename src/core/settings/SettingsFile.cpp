#include "settings/SettingsFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>
#include <utility>

#include "util/Platform.h"

namespace vorlane {

namespace {

// One line without its end: LF ends a line and a CR right before it goes too.
bool ReadLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

// The keyed lines after the mod directory, with the member each fills.
constexpr std::pair<const char*, std::string RememberedPlaces::*> kPlaceKeys[] = {
    {"DesignFolder", &RememberedPlaces::DesignFolder},
    {"ResultsFolder", &RememberedPlaces::ResultsFolder},
    {"ResultsType", &RememberedPlaces::ResultsType},
};

std::string ErrnoText(int err) {
  return std::error_code(err, std::generic_category()).message();
}

}  // namespace

std::filesystem::path SettingsFilePath(const std::filesystem::path& programDir) {
  return programDir / kSettingsFileName;
}

std::filesystem::path ChooseSettingsFile(const std::filesystem::path& programDir, bool besideWritable,
                                         const char* xdgConfigHome, const char* home) {
  const std::filesystem::path beside = SettingsFilePath(programDir);
  // The first name after the root: "usr" for /usr/games.
  std::filesystem::path top;
  if (programDir.is_absolute()) {
    auto part = programDir.begin();
    if (++part != programDir.end()) top = *part;
  }
  const std::filesystem::path name = programDir.filename();
  const bool installed = top == "usr" || name == "bin" || name == "sbin";
  if (besideWritable && !installed) return beside;
  std::filesystem::path config;
  if (xdgConfigHome != nullptr && std::filesystem::path(xdgConfigHome).is_absolute()) {
    config = xdgConfigHome;
  } else if (home != nullptr && std::filesystem::path(home).is_absolute()) {
    config = std::filesystem::path(home) / ".config";
  } else {
    return beside;
  }
  return config / "Vorlane" / kSettingsFileName;
}

std::filesystem::path ChooseWindowsSettingsFile(const std::filesystem::path& programDir, bool besideWritable,
                                                bool installed, const char* appData) {
  const std::filesystem::path beside = SettingsFilePath(programDir);
  if (besideWritable && !installed) return beside;
  if (appData == nullptr || !PathFromUtf8(appData).is_absolute()) return beside;
  return PathFromUtf8(appData) / "Vorlane" / kSettingsFileName;
}

DirSettings LoadSettings(const std::filesystem::path& file) {
  DirSettings settings;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return settings;
  std::ifstream in(file, std::ios::binary);
  if (!in) return settings;
  std::string line;
  if (!ReadLine(in, line)) return settings;
  settings.SEIVDir = line;
  if (ReadLine(in, line)) settings.ModDir = line;
  while (ReadLine(in, line)) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    for (const auto& [key, member] : kPlaceKeys) {
      if (line.compare(0, equals, key) == 0) settings.places.*member = line.substr(equals + 1);
    }
  }
  if (in.bad()) return DirSettings{};
  return settings;
}

SaveResult SaveSettings(const std::filesystem::path& file, const DirSettings& settings) {
  std::string places;
  for (const auto& [key, member] : kPlaceKeys) {
    const std::string& value = settings.places.*member;
    if (!value.empty() && value.find_first_of("\r\n") == std::string::npos) places += key + ("=" + value) + "\r\n";
  }
  std::string content = settings.SEIVDir + "\r\n";
  if (!settings.ModDir.empty() || !places.empty()) content += settings.ModDir + "\r\n";
  content += places;

  if (const std::filesystem::path folder = file.parent_path(); !folder.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return {false, ec.message()};
  }
  errno = 0;
  std::FILE* f = OpenFile(file, "wb");
  if (f == nullptr) return {false, ErrnoText(errno ? errno : EIO)};
  errno = 0;
  bool written = std::fwrite(content.data(), 1, content.size(), f) == content.size();
  int writeErr = errno;
  errno = 0;
  bool closed = std::fclose(f) == 0;
  if (!written) return {false, ErrnoText(writeErr ? writeErr : EIO)};
  if (!closed) return {false, ErrnoText(errno ? errno : EIO)};
  return {true, {}};
}

}  // namespace vorlane
