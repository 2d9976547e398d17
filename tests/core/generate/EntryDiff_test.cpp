// Comparing two generated texts: entries by position, keys by name (repeated
// keys in order), entries only one side has, and the line each change prints.
#include "generate/EntryDiff.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace vorlane {
namespace {

std::vector<std::string> Lines(std::string_view oldText, std::string_view newText) {
  std::vector<std::string> lines;
  for (const EntryChange& change : DiffEntries(oldText, newText)) lines.push_back(change.Text());
  return lines;
}

TEST(EntryDiff, ReportsEachDifferingKeyAndEntry) {
  const std::string laser =
      "Name                := Laser 1\r\nCost Minerals       := 10\r\nAbility 1 Type      := Armor\r\n\r\n"
      "Name                := Laser 2\r\nCost Minerals       := 20\r\nAbility 1 Type      := Armor\r\n\r\n";
  // What the case shows, the old and the new text, and the lines printed.
  const std::vector<std::tuple<const char*, std::string, std::string, std::vector<std::string>>> cases = {
      {"same text", laser, laser, {}},
      {"LF line ends, other padding", laser, "Name := Laser 1\nCost Minerals := 10\nAbility 1 Type := Armor\n"
                                             "Name := Laser 2\nCost Minerals := 20\nAbility 1 Type := Armor", {}},
      {"one value", laser, "Name := Laser 1\nCost Minerals := 10\nAbility 1 Type := Armor\n"
                           "Name := Laser 2\nCost Minerals := 30\nAbility 1 Type := Armor\n",
       {"entry 2 \"Laser 2\", key \"Cost Minerals\": \"20\" -> \"30\""}},
      {"renamed entry names both", "Name := A\nX := 1\n", "Name := B\nX := 2\n",
       {"entry 1 \"A\" -> \"B\", key \"Name\": \"A\" -> \"B\"", "entry 1 \"A\" -> \"B\", key \"X\": \"1\" -> \"2\""}},
      {"key on one side only, old order then new keys", "Name := A\nGone := 1\nKept := \nSame := s\n",
       "Name := A\nSame := s\nNew := 2\n",
       {"entry 1 \"A\", key \"Gone\": \"1\" -> \"\"", "entry 1 \"A\", key \"Kept\": \"\" -> \"\"",
        "entry 1 \"A\", key \"New\": \"\" -> \"2\""}},
      {"repeated keys matched in order", "Name := A\nR := 1\nR := 2\n", "Name := A\nR := 1\nR := 3\nR := 4\n",
       {"entry 1 \"A\", key \"R\": \"2\" -> \"3\"", "entry 1 \"A\", key \"R\": \"\" -> \"4\""}},
      {"entries added", "Name := A\n", "Name := A\nName := B\nX := 1\nName := C\n",
       {"entry 2 \"B\": added", "entry 3 \"C\": added"}},
      {"entries removed", laser, "Name := Laser 1\nCost Minerals := 10\nAbility 1 Type := Armor\n",
       {"entry 2 \"Laser 2\": removed"}},
      {"lines before the first entry", "Stray := 1\nName := A\n", "Name := A\n",
       {"before the first entry, key \"Stray\": \"1\" -> \"\""}},
      {"values kept exactly", "Name := A\nD := a  b \n", "Name := A\nD := a b\n",
       {"entry 1 \"A\", key \"D\": \"a  b \" -> \"a b\""}},
  };
  for (const auto& [what, oldText, newText, expected] : cases) EXPECT_EQ(Lines(oldText, newText), expected) << what;
}

}  // namespace
}  // namespace vorlane
