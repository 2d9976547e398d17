#include "gamedata/DataFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "../ScratchDir.h"
#include "GameDataTestSupport.h"
#include "util/Platform.h"

namespace vorlane {
namespace {

using testing::DataFileText;
using testing::Parse;

TEST(DataFile, KeepsHeaderBodyAndTrailerAndFindsEntriesWithTheirBytes) {
  const std::string text = "Mod header\r\nmore\r\n*BEGIN*\r\n\r\nName  := Laser 1\r\nCost Minerals := 10\r\n\r\n\r\n"
                           "Name:=Laser 2\r\n  COST   minerals:=  20 \r\n*END*\r\ntrailer\r\n";
  const DataFile file = Parse(text);
  EXPECT_FALSE(file.utf8);
  EXPECT_EQ(file.lineEnd, "\r\n");
  EXPECT_EQ(text.substr(0, file.bodyBegin), "Mod header\r\nmore\r\n*BEGIN*\r\n");
  EXPECT_EQ(text.substr(file.bodyEnd), "*END*\r\ntrailer\r\n");
  ASSERT_EQ(file.entries.size(), 2u);
  EXPECT_EQ(file.entries[0].name, "Laser 1");
  EXPECT_EQ(file.entries[1].name, "Laser 2");
  EXPECT_EQ(text.substr(file.entries[0].begin, file.entries[0].end - file.entries[0].begin),
            "Name  := Laser 1\r\nCost Minerals := 10\r\n");
  EXPECT_EQ(file.entries[1].FirstLine(), 9);
  const DataLine* cost = file.entries[1].Find("Cost Minerals");
  ASSERT_NE(cost, nullptr);
  EXPECT_EQ(cost->key, "COST   minerals");
  EXPECT_EQ(cost->value, "20");
  EXPECT_EQ(cost->number, 10);
  EXPECT_TRUE(file.problems.empty());
}

TEST(DataFile, ReadsTheEncodingAndLineEndsItFinds) {
  struct Case {
    std::string bytes;
    bool utf8;
    std::string lineEnd, name;
  };
  const Case cases[] = {
      {"*BEGIN*\r\nName := L\xE4ser\r\n*END*\r\n", false, "\r\n", "L\xC3\xA4ser"},
      {"\xEF\xBB\xBF*BEGIN*\nName := L\xC3\xA4ser \xE2\x98\xA2\n*END*\n", true, "\n", "L\xC3\xA4ser \xE2\x98\xA2"},
      {"h\n*begin*\nName := \x80 1\n*end*", false, "\n", "\xE2\x82\xAC 1"},
  };
  for (const Case& c : cases) {
    const DataFile file = Parse(c.bytes);
    EXPECT_EQ(file.utf8, c.utf8);
    EXPECT_EQ(file.lineEnd, c.lineEnd);
    ASSERT_EQ(file.entries.size(), 1u);
    EXPECT_EQ(file.entries[0].name, c.name);
    EXPECT_TRUE(file.problems.empty()) << file.problems[0].Text();
  }
}

TEST(DataFile, ReportsWhatItCannotReadWithLineNumbersAndKeepsIt) {
  std::string error;
  EXPECT_FALSE(ParseDataFile("Name := A\r\nno begin\r\n", error));
  EXPECT_EQ(error, "no \"*BEGIN*\" line in 2 lines; this is no game data file");

  const DataFile file = Parse("*BEGIN*\nName := A\nstray words\nCost := 1\n\nDescription := orphan\n");
  ASSERT_EQ(file.entries.size(), 2u);
  ASSERT_EQ(file.entries[0].lines.size(), 3u);
  EXPECT_FALSE(file.entries[0].lines[1].split);
  EXPECT_EQ(file.entries[0].lines[1].value, "stray words");
  EXPECT_EQ(file.bodyEnd, file.bytes.size());
  std::vector<std::string> problems;
  for (const auto& problem : file.problems) problems.push_back(problem.Text());
  EXPECT_EQ(problems, (std::vector<std::string>{"line 3: no \":=\" in \"stray words\"; the line is kept as it is",
                                                "line 6: entry without a \"Name\" line",
                                                "line 7: no \"*END*\" line; the entries run to the end of the file"}));
}

// Only a regular file of a data file's size is read: a folder, a named pipe
// (which would wait for a writer) and a huge file are refused at once.
TEST(DataFile, ReadsOnlyARegularFileOfADataFilesSize) {
  testing::ScratchDir scratch;
  const std::filesystem::path dir = scratch.Path();
  std::ofstream(dir / "Components.txt", std::ios::binary) << "*BEGIN*\r\nName := A\r\n*END*\r\n";
  std::string error;
  const auto read = ReadDataFile(dir / "Components.txt", error);
  ASSERT_TRUE(read) << error;
  EXPECT_EQ(read->entries.size(), 1u);
  std::ofstream(dir / "huge.txt", std::ios::binary) << "*BEGIN*";
  std::filesystem::resize_file(dir / "huge.txt", kMaxDataFileBytes + 1);  // sparse: nothing is written
  const std::string shown = "cannot open \"" + Utf8FromPath(dir);
  const std::pair<std::string, std::string> refused[] = {
      {"", "\": it is a directory"},
      {"huge.txt", "huge.txt\": it is larger than 256 MiB, more than any game data file"},
      {"missing.txt", "missing.txt\": "}};
  for (const auto& [name, reason] : refused) {
    const std::filesystem::path path = name.empty() ? dir : dir / name;
    EXPECT_FALSE(ReadDataFile(path, error)) << name;
    EXPECT_EQ(error.substr(0, shown.size()), shown) << error;
    EXPECT_NE(error.find(reason), std::string::npos) << error;
  }
#ifndef _WIN32
  const std::filesystem::path pipe = dir / "pipe.txt";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_FALSE(ReadDataFile(pipe, error));
  EXPECT_NE(error.find("it is not a regular file"), std::string::npos) << error;
#endif
}

TEST(DataFile, MatchesKeysAndNamesAsTheGameDoes) {
  EXPECT_EQ(GameKey("  Tech  Area\tReq 1 "), "tech area req 1");
  EXPECT_EQ(GameName("  LASER 1\t"), "laser 1");
  EXPECT_NE(GameName("Laser 1"), GameName("Laser  1"));
  const std::vector<DataEntry> entries = ParseEntries("Name := A\r\nCost := 1\r\n\r\n\r\nName := B\r\n");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].name, "B");
  // A stray carriage return makes no line of an entry.
  EXPECT_EQ(Parse("*BEGIN*\r\nName := A\r\n\r\r\n \rName := B\r\n*END*\r\n").entries.size(), 2u);
  EXPECT_TRUE(IsBlankLine(" \t\r"));
  EXPECT_EQ(StampOf("abc"), StampOf(std::string("abc")));
  EXPECT_NE(StampOf("abc"), StampOf("abd"));
}

}  // namespace
}  // namespace vorlane
