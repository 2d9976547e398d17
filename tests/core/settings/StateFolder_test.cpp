#include <gtest/gtest.h>

#include "settings/StateFolder.h"

namespace vorlane {
namespace {

namespace fs = std::filesystem;

// The state folder on each platform, whatever this build runs on.
TEST(StateFolder, FollowsThePlatformsPlace) {
  struct Case {
    Platform platform;
    const char *xdg, *home, *localAppData, *expected;
  };
  const Case cases[] = {
      {Platform::Posix, "/st", "/home/ann", "C:\\x", "/st/Vorlane"},
      {Platform::Posix, nullptr, "/home/ann", nullptr, "/home/ann/.local/state/Vorlane"},
      {Platform::Posix, "", "/home/ann", nullptr, "/home/ann/.local/state/Vorlane"},
      {Platform::Posix, "relative/state", "/home/ann", nullptr, "/home/ann/.local/state/Vorlane"},
      {Platform::Posix, "/st\xC3\xA9", nullptr, nullptr, "/st\xC3\xA9/Vorlane"},
      {Platform::Posix, nullptr, "relative", nullptr, ""},
      {Platform::Posix, nullptr, nullptr, "/l", ""},
      {Platform::Windows, "/st", "/home/ann", "C:\\Users\\Ann\\AppData\\Local", "C:\\Users\\Ann\\AppData\\Local/Vorlane"},
      {Platform::Windows, "/st", "/home/ann", "", ""},
      {Platform::Windows, "/st", "/home/ann", nullptr, ""},
  };
  for (const Case& c : cases) {
#ifdef _WIN32
    if (c.platform == Platform::Posix) continue;  // "/st" is not absolute on Windows
#endif
    const fs::path expected = c.expected[0] ? fs::path(c.expected) : fs::path();
    EXPECT_EQ(ChooseStateFolder(c.platform, c.xdg, c.home, c.localAppData), expected)
        << (c.xdg ? c.xdg : "(unset)") << " " << (c.home ? c.home : "(unset)") << " "
        << (c.localAppData ? c.localAppData : "(unset)");
  }
}

}  // namespace
}  // namespace vorlane
