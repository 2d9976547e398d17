// Where the program keeps what is neither settings nor designs: recovery
// copies of unsaved designs (generate/RecoveryFolder.h). The one place that
// names each system's folder for it.
#pragma once

#include <filesystem>

namespace vorlane {

// The systems whose folders differ; kHostPlatform is the one built for.
enum class Platform { Posix, Windows };
#ifdef _WIN32
inline constexpr Platform kHostPlatform = Platform::Windows;
#else
inline constexpr Platform kHostPlatform = Platform::Posix;
#endif

// On Windows %LOCALAPPDATA%\Vorlane; elsewhere $XDG_STATE_HOME/Vorlane, or
// $HOME/.local/state/Vorlane when XDG_STATE_HOME is unset, empty or not
// absolute. Empty when there is no such place. The variables' values are
// UTF-8; null pointers count as unset.
std::filesystem::path ChooseStateFolder(Platform platform, const char* xdgStateHome, const char* home,
                                        const char* localAppData);

}  // namespace vorlane
