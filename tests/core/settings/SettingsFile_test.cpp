#include "settings/SettingsFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include "../ScratchDir.h"
#include "util/Platform.h"

namespace fs = std::filesystem;
using vorlane::DirSettings;
using vorlane::LoadSettings;
using vorlane::SaveSettings;

namespace {

class SettingsFileTest : public ::testing::Test {
 protected:
  std::string ReadBytes() {
    std::ifstream in(file_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  vorlane::testing::ScratchDir scratch_;
  const fs::path dir_ = scratch_.Path();
  const fs::path file_ = vorlane::SettingsFilePath(dir_);
};

TEST_F(SettingsFileTest, KeptBesideTheProgramWhenWritableElseInUserConfiguration) {
#ifdef _WIN32
  GTEST_SKIP() << "the rule of POSIX systems, whose paths are not absolute on Windows";
#endif
  EXPECT_EQ(vorlane::SettingsFilePath("/opt/vorlane"), fs::path("/opt/vorlane/Vorlane.ini"));
  // Whether the program's folder is writable, XDG_CONFIG_HOME and HOME (nullptr: unset), and the file chosen.
  const std::tuple<bool, const char*, const char*, const char*> cases[] = {
      {true, "/xdg", "/home/ann", "/opt/vorlane/Vorlane.ini"},
      {false, "/xdg", "/home/ann", "/xdg/Vorlane/Vorlane.ini"},
      {false, nullptr, "/home/ann", "/home/ann/.config/Vorlane/Vorlane.ini"},
      {false, "", "/home/ann", "/home/ann/.config/Vorlane/Vorlane.ini"},
      {false, "relative/xdg", "/home/ann", "/home/ann/.config/Vorlane/Vorlane.ini"},
      {false, nullptr, nullptr, "/opt/vorlane/Vorlane.ini"},
      {false, nullptr, "", "/opt/vorlane/Vorlane.ini"},
  };
  for (const auto& [writable, xdg, home, expected] : cases) {
    EXPECT_EQ(vorlane::ChooseSettingsFile("/opt/vorlane", writable, xdg, home), fs::path(expected))
        << writable << " " << (xdg ? xdg : "(unset)") << " " << (home ? home : "(unset)");
  }
  // Installed programs keep their settings apart even when their folder could be written.
  for (const char* dir : {"/usr/bin", "/usr/local/bin", "/usr/games", "/bin", "/home/ann/.local/bin"}) {
    EXPECT_EQ(vorlane::ChooseSettingsFile(dir, true, nullptr, "/root"), fs::path("/root/.config/Vorlane/Vorlane.ini"))
        << dir;
  }
}

// The Windows rule, with folders that are absolute on every system: the
// scratch folder as the program's, and a folder in it as %APPDATA%.
TEST_F(SettingsFileTest, WindowsKeepsThemBesideAPortableProgramElseInAppData) {
  const fs::path program = dir_ / "Läser Mods" / "Vorlane";
  const std::string appData = vorlane::Utf8FromPath(dir_ / "Jörg" / "AppData" / "Roaming");
  const fs::path beside = program / "Vorlane.ini";
  const fs::path roaming = vorlane::PathFromUtf8(appData) / "Vorlane" / "Vorlane.ini";
  // Whether the folder is writable, whether an uninstaller lies beside the program, APPDATA, the file chosen.
  const std::tuple<bool, bool, const char*, fs::path> cases[] = {
      {true, false, appData.c_str(), beside},   {false, false, appData.c_str(), roaming},
      {true, true, appData.c_str(), roaming},   {false, false, nullptr, beside},
      {false, true, "", beside},                {false, false, "AppData\\Roaming", beside},
  };
  for (const auto& [writable, installed, appDataDir, expected] : cases) {
    EXPECT_EQ(vorlane::ChooseWindowsSettingsFile(program, writable, installed, appDataDir), expected)
        << writable << " " << installed << " " << (appDataDir ? appDataDir : "(unset)");
  }
}

TEST_F(SettingsFileTest, FirstSaveCreatesTheConfigurationFolder) {
  const fs::path file = dir_ / "config" / "Vorlane" / "Vorlane.ini";
  ASSERT_TRUE(SaveSettings(file, {"/seiv", "/mod"}).ok);
  EXPECT_EQ(LoadSettings(file), (DirSettings{"/seiv", "/mod"}));
}

// Each save replaces the whole file: one line without a mod directory, and a
// mod directory without a main directory keeps its place on line 2.
TEST_F(SettingsFileTest, SavedLinesReadBackWithSpacesAndCase) {
  const std::pair<DirSettings, std::string> cases[] = {
      {{"", ""}, "\r\n"},
      {{"/games/SE IV", ""}, "/games/SE IV\r\n"},
      {{"  /Games/Space Empires IV Gold ", "/home/Ann/Mods/Balance Mod 1.9/"},
       "  /Games/Space Empires IV Gold \r\n/home/Ann/Mods/Balance Mod 1.9/\r\n"},
      {{"", "/mods/x"}, "\r\n/mods/x\r\n"},
      {{"/a", ""}, "/a\r\n"},
      // The places the file dialogs offer first follow, the mod directory's line kept for them.
      {{"/a", "", {"/home/ann/designs", "", "utf-8"}}, "/a\r\n\r\nDesignFolder=/home/ann/designs\r\nResultsType=utf-8\r\n"},
      {{"", "/m", {"", "/r = x", ""}}, "\r\n/m\r\nResultsFolder=/r = x\r\n"},
  };
  for (const auto& [dirs, bytes] : cases) {
    ASSERT_TRUE(SaveSettings(file_, dirs).ok);
    EXPECT_EQ(ReadBytes(), bytes);
    EXPECT_EQ(LoadSettings(file_), dirs) << bytes;
  }
}

TEST_F(SettingsFileTest, ReadsLineEndsOfEveryKindAndNothingFromMissingEmptyOrUnreadableFiles) {
  EXPECT_EQ(LoadSettings(file_), DirSettings{});
  const std::pair<std::string, DirSettings> cases[] = {
      {"C:\\SEIV\nD:\\Mod\n", {"C:\\SEIV", "D:\\Mod"}},
      {"/seiv\r\n/mod", {"/seiv", "/mod"}},  // no line end after the last line
      {"/seiv", {"/seiv", ""}},
      {"/seiv\r\n/mod\r\nthird line\r\n", {"/seiv", "/mod"}},
      {"/s\n\nResultsType\nOther=1\nresultsfolder=/x\nResultsFolder=/y=z\nDesignFolder=", {"/s", "", {"", "/y=z", ""}}},
      {"/seiv/Ünïcode\r\n", {"/seiv/Ünïcode", ""}},
      {"", {}},
  };
  for (const auto& [bytes, dirs] : cases) {
    scratch_.Write(file_.filename().string(), bytes);
    EXPECT_EQ(LoadSettings(file_), dirs) << bytes;
  }
  fs::remove(file_);
  fs::create_directory(file_);  // a directory where the file should be
  EXPECT_EQ(LoadSettings(file_), DirSettings{});
}

TEST_F(SettingsFileTest, UnwritableFileReportsWhy) {
  // Failures that hold even for the superuser.
  fs::create_directory(file_);
  auto result = SaveSettings(file_, {"/seiv", ""});
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.reason.empty());

  // A write that fails only when the buffered text reaches the device.
  if (fs::exists("/dev/full")) {
    result = SaveSettings("/dev/full", {"/seiv", "/mod"});
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.reason.find("space"), std::string::npos) << result.reason;
  }

  std::ofstream(dir_ / "plain file") << "x";
  result = SaveSettings(dir_ / "plain file" / "Vorlane.ini", {"/seiv", ""});
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.reason.empty());
}

}  // namespace
