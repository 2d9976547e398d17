// Weapon sounds as the game names them. The game looks a weapon's sound up by
// its name in the Sounds folder of the mod or of the game, so a sound chosen
// inside one of those folders is stored by its name relative to the folder
// ("Laser_Zap.wav"; a subfolder joined with a backslash, as on the game's own
// system). A sound chosen elsewhere keeps its full path, which only the
// modder's machine has.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vorlane {

// A path that names its file from a root: "/...", "\...", or a drive letter
// and colon ("C:...").
bool IsFullPath(std::string_view name);

// The name of `chosen` relative to the Sounds folder of the mod directory or,
// failing that, of the game directory (folder names matched without regard to
// letter case). Nothing when the file lies in neither.
std::optional<std::string> SoundNameInSoundsFolder(const std::filesystem::path& chosen, const std::string& modDir,
                                                   const std::string& seivDir);

// The file a stored sound stands for: a full path as it is, when that file
// exists; a name below the Sounds folder of the mod directory first, then of
// the game directory, letter case ignored. Nothing when no such file exists.
std::optional<std::filesystem::path> FindSoundFile(const std::string& stored, const std::string& modDir,
                                                   const std::string& seivDir);

}  // namespace vorlane
