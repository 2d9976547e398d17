#include "settings/StateFolder.h"

#include <string_view>

namespace vorlane {

namespace {

bool Usable(const char* dir) { return dir != nullptr && *dir != '\0'; }

std::filesystem::path FromUtf8(const char* text) {
  const std::string_view view(text);
  return std::filesystem::path(std::u8string(view.begin(), view.end()));
}

}  // namespace

std::filesystem::path ChooseStateFolder(Platform platform, const char* xdgStateHome, const char* home,
                                        const char* localAppData) {
  if (platform == Platform::Windows) {
    // Drive letters and back slashes mean nothing to another system's paths:
    // any text given is taken.
    return Usable(localAppData) ? FromUtf8(localAppData) / "Vorlane" : std::filesystem::path();
  }
  if (Usable(xdgStateHome) && FromUtf8(xdgStateHome).is_absolute()) return FromUtf8(xdgStateHome) / "Vorlane";
  if (Usable(home) && FromUtf8(home).is_absolute()) return FromUtf8(home) / ".local" / "state" / "Vorlane";
  return {};
}

}  // namespace vorlane
