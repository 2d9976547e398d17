// The settings file "Vorlane.ini": line 1 the game's main directory, line 2
// (only when set, or when lines follow) the mod directory, then what the file
// dialogs offer first, one "Key=Value" line each:
//   DesignFolder=/home/ann/designs      the last design file's folder
//   ResultsFolder=/home/ann/mod/data    the last results file's folder
//   ResultsType=utf-8                   its file type: windows-1252 or utf-8
// Lines end in CR LF; files with bare LF line ends are read too. It lies beside the program when that place can be
// written, else in the user's configuration folder.
#pragma once

#include <filesystem>
#include <string>

namespace vorlane {

// What the file dialogs offer first, kept from one run to the next; empty
// until first chosen.
struct RememberedPlaces {
  std::string DesignFolder;   // of the design file last opened or saved
  std::string ResultsFolder;  // of the results file last saved
  std::string ResultsType;    // its encoding's name ("utf-8", "windows-1252")

  bool operator==(const RememberedPlaces&) const = default;
};

struct DirSettings {
  std::string SEIVDir;  // the game's main directory, empty when not set
  std::string ModDir;   // the optional mod directory, empty when not set
  RememberedPlaces places = {};

  bool operator==(const DirSettings&) const = default;
};

inline constexpr const char* kSettingsFileName = "Vorlane.ini";

// The settings file's full name for a program lying in `programDir`.
std::filesystem::path SettingsFilePath(const std::filesystem::path& programDir);

// Where the settings are kept: beside the program in `programDir` when
// `besideWritable` (a portable copy, a build folder), unless the program is an
// installed one (in a folder named bin or sbin, or below /usr: such folders
// hold programs, not settings, even where the user or the superuser could
// write them). Otherwise $XDG_CONFIG_HOME/Vorlane/Vorlane.ini, or
// $HOME/.config/Vorlane/Vorlane.ini when XDG_CONFIG_HOME is unset, empty or
// not absolute; without a usable home either, beside the program all the
// same. Null pointers count as unset.
std::filesystem::path ChooseSettingsFile(const std::filesystem::path& programDir, bool besideWritable,
                                         const char* xdgConfigHome, const char* home);

// Where the settings are kept on Windows: beside the program in `programDir`
// when `besideWritable` (the portable zip, a build folder), unless the program
// is an installed one (`installed`: its uninstaller lies beside it; the
// installer's folder holds programs, not settings, even where the user could
// write it). Otherwise %APPDATA%\Vorlane\Vorlane.ini, `appData` being the
// folder as UTF-8; without an absolute one, beside the program all the same.
std::filesystem::path ChooseWindowsSettingsFile(const std::filesystem::path& programDir, bool besideWritable,
                                                bool installed, const char* appData);

// Reads the two directories and the remembered places. A missing, empty or
// unreadable file gives empty ones; lines after the second that are not one
// of the keys above are ignored.
DirSettings LoadSettings(const std::filesystem::path& file);

struct SaveResult {
  bool ok = false;
  std::string reason;  // why the file could not be written, when !ok
};

// Creates the file anew, and its folder when missing: SEIVDir as line 1 (also
// when empty), ModDir as line 2 when it is not empty or places follow, then
// each place that is set (one holding a line break is left out).
SaveResult SaveSettings(const std::filesystem::path& file, const DirSettings& settings);

}  // namespace vorlane
