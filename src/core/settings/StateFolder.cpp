#include "settings/StateFolder.h"

#include <string_view>

#include "util/Platform.h"

namespace vorlane {

namespace {

bool Usable(const char* dir) { return dir != nullptr && *dir != '\0'; }

}  // namespace

std::filesystem::path ChooseStateFolder(Platform platform, const char* xdgStateHome, const char* home,
                                        const char* localAppData) {
  if (platform == Platform::Windows) {
    // Drive letters and back slashes mean nothing to another system's paths:
    // any text given is taken.
    return Usable(localAppData) ? PathFromUtf8(localAppData) / "Vorlane" : std::filesystem::path();
  }
  if (Usable(xdgStateHome) && PathFromUtf8(xdgStateHome).is_absolute()) return PathFromUtf8(xdgStateHome) / "Vorlane";
  if (Usable(home) && PathFromUtf8(home).is_absolute()) return PathFromUtf8(home) / ".local" / "state" / "Vorlane";
  return {};
}

}  // namespace vorlane
