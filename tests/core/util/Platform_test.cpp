// File names outside ASCII through the platform layer: on Windows these pass
// through UTF-16, and a name read in the ANSI code page would come out garbled
// (the Windows build runs these tests under Wine).
#include "util/Platform.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "../ScratchDir.h"
#include "generate/DesignFile.h"
#include "settings/PictureLookup.h"
#include "settings/SettingsFile.h"

namespace fs = std::filesystem;
using vorlane::PathFromUtf8;
using vorlane::Utf8FromPath;

namespace {

class PlatformTest : public ::testing::Test {
 protected:
  vorlane::testing::ScratchDir scratch_;
  const fs::path dir_ = scratch_.Path();
};

TEST_F(PlatformTest, NamesOutsideAsciiKeepTheirCharacters) {
  for (const std::string name : {"Jörg", "Läser Mk II.vorlane.json", "☢ Sounds", "日本"}) {
    EXPECT_EQ(Utf8FromPath(PathFromUtf8(name)), name);
    const fs::path folder = dir_ / PathFromUtf8(name);
    ASSERT_TRUE(fs::create_directory(folder)) << name;
    std::vector<std::string> listed;
    for (const auto& entry : fs::directory_iterator(dir_)) listed.push_back(Utf8FromPath(entry.path().filename()));
    EXPECT_EQ(listed, std::vector<std::string>{name});
    fs::remove(folder);
  }
}

TEST_F(PlatformTest, ExclusiveOpenNeverReusesAFile) {
  const fs::path file = dir_ / PathFromUtf8("Läser.tmp");
  std::FILE* first = vorlane::OpenFile(file, "wbx");
  ASSERT_NE(first, nullptr);
  EXPECT_GE(std::fputs("ä\r\n", first), 0);  // bytes pass unchanged: no LF to CR LF
  std::fclose(first);
  EXPECT_EQ(vorlane::OpenFile(file, "wbx"), nullptr);
  EXPECT_EQ(fs::file_size(file), 4u);
  std::FILE* again = vorlane::OpenFile(file, "wb");
  ASSERT_NE(again, nullptr);
  std::fclose(again);
  EXPECT_EQ(fs::file_size(file), 0u);
}

// Saving writes a new file beside the old one and moves it over: the old file is
// replaced whole, on Windows too; a failed move leaves both as they were.
TEST_F(PlatformTest, FilesAreWrittenBesideAndMovedOver) {
  const fs::path old = dir_ / PathFromUtf8("Läser.txt");
  std::FILE* out = vorlane::OpenFile(old, "wb");
  ASSERT_NE(out, nullptr);
  std::fputs("old", out);
  std::fclose(out);
  fs::path fresh, other;
  std::FILE* first = vorlane::CreateFileBeside(old, fresh);
  std::FILE* second = vorlane::CreateFileBeside(old, other);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  std::fclose(second);
  EXPECT_NE(fresh, other);
  EXPECT_EQ(fresh.parent_path(), old.parent_path());
  EXPECT_TRUE(Utf8FromPath(fresh.filename()).starts_with("Läser.txt.tmp"));
  std::fputs("new!", first);
  std::fclose(first);
  std::error_code error;
  vorlane::MoveFileOver(fresh, old, error);
  EXPECT_FALSE(error) << error.message();
  EXPECT_EQ(fs::file_size(old), 4u);
  EXPECT_FALSE(fs::exists(fresh));
  vorlane::MoveFileOver(fresh, old, error);  // nothing to move
  EXPECT_TRUE(error);
  EXPECT_EQ(fs::file_size(old), 4u);
}

// The settings, a design file and the game's folders in a user folder outside ASCII.
TEST_F(PlatformTest, SettingsDesignsAndGameFoldersOutsideAscii) {
  const fs::path user = dir_ / PathFromUtf8("Jörg");
  const std::string game = Utf8FromPath(user / "Space Empires IV Gold");
  const std::string mod = Utf8FromPath(user / PathFromUtf8("Mods") / PathFromUtf8("Läser Mod"));
  ASSERT_TRUE(vorlane::SaveSettings(user / "Vorlane" / "Vorlane.ini", {game, mod}).ok);
  EXPECT_EQ(vorlane::LoadSettings(user / "Vorlane" / "Vorlane.ini"), (vorlane::DirSettings{game, mod}));

  vorlane::vrlFacility facility;
  facility.SetFacName("Läser");
  std::string error;
  const fs::path design = user / PathFromUtf8("Läser Mk II.vorlane.json");
  ASSERT_TRUE(vorlane::SaveDesignFile(design, facility, error)) << error;
  const auto loaded = vorlane::LoadDesignFile(design, error);
  ASSERT_TRUE(loaded) << error;
  EXPECT_EQ(loaded->facility.FacName(), "Läser");
  EXPECT_FALSE(vorlane::LoadDesignFile(user / PathFromUtf8("Fehlt Ö.json"), error));
  EXPECT_NE(error.find("Fehlt Ö.json"), std::string::npos) << error;

  // Folders found without regard to letter case, below a folder outside ASCII.
  fs::create_directories(PathFromUtf8(mod) / "Pictures" / PathFromUtf8("Schiffe Ä"));
  std::error_code ec;
  const auto found = vorlane::FindBelowIgnoringCase(mod, {"PICTURES", "schiffe Ä"}, false, ec);
  ASSERT_TRUE(found) << ec.message();
  EXPECT_TRUE(fs::equivalent(*found, PathFromUtf8(mod) / "Pictures" / PathFromUtf8("Schiffe Ä")));
}

}  // namespace
