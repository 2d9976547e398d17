#include "gamedata/Import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "GameDataTestSupport.h"
#include "gamedata/Families.h"
#include "util/Numbers.h"

namespace vorlane {
namespace {

using testing::AsBody;
using testing::DataFileText;
using testing::DesignOf;
using testing::Generated;
using testing::Parse;

// Gaps other than keys the file lacks and the design writes anyway.
std::vector<std::string> Differences(const ImportResult& result) {
  std::vector<std::string> out;
  for (const ImportGap& gap : result.gaps) {
    if (!gap.problem.starts_with("not in the file")) out.push_back(gap.Text());
  }
  return out;
}

// Checked apart from the import's own check: every key of every entry of the
// family comes out of the design's generation with the file's value.
void ExpectReproduced(const DataFile& file, const Family& family, const ImportResult& result) {
  const std::vector<DataEntry> made = ParseEntries(Generated(result.design));
  ASSERT_EQ(made.size(), family.members.size());
  for (std::size_t index : family.members) {
    const DataEntry& original = file.entries[index];
    const DataEntry* twin = nullptr;
    for (const DataEntry& entry : made) {
      if (entry.name == original.name) twin = &entry;
    }
    ASSERT_NE(twin, nullptr) << original.name;
    for (const DataLine& line : original.lines) {
      const DataLine* other = twin->Find(line.key);
      ASSERT_NE(other, nullptr) << original.name << ": " << line.key;
      EXPECT_EQ(other->value, line.value) << original.name << ": " << line.key;
    }
  }
}

ImportResult ImportOf(const DataFile& file, std::string_view name, Family* chosen = nullptr) {
  const auto families = FindFamilies(file);
  const int f = FamilyOfName(file, families, name);
  EXPECT_GE(f, 0) << name;
  if (f < 0) return {};
  if (chosen) *chosen = families[static_cast<std::size_t>(f)];
  return ImportFamily(file, families[static_cast<std::size_t>(f)], "/mod/Data/Facility.txt");
}

// A facility family of `levels` entries; `line(level)` gives the lines that
// differ by level.
template <typename Names, typename Lines>
std::string FacilityFamily(Names name, int levels, Lines lines) {
  std::string body;
  for (int level = 1; level <= levels; ++level) {
    body += "Name := " + name(level) + "\nDescription := A mine.\nFacility Group := Resource Extraction\n"
            "Facility Family := 2010\n" + lines(level) + "\n";
  }
  return body;
}

std::string Formula(const Design& design, const std::string& field) {
  const vrlFacility& f = design.facility;
  if (field == "MinCost") return f.MinCost();
  if (field == "FacDesc") return f.FacDesc();
  if (field == "NumberStyle") return f.NumberStyle();
  if (field == "FacName") return f.FacName();
  if (field == "Level1") return f.TechReqLevel(1).value_or("");
  return "?";
}

TEST(Import, HandWrittenFamiliesComeBackFromTheirDesigns) {
  const auto numbered = [](int level) { return "Miner " + std::to_string(level); };
  const auto cost = [](std::vector<std::string> values) {
    return [values](int level) { return "Cost Minerals := " + values[static_cast<std::size_t>(level - 1)] + "\n"; };
  };
  struct Case {
    const char* label;
    std::string body;
    std::string field, formula;  // a field and the formula the import should give it
  };
  const Case cases[] = {
      {"linear", FacilityFamily(numbered, 4, cost({"100", "150", "200", "250"})), "MinCost", "{50+50*&faclevel}"},
      {"geometric", FacilityFamily(numbered, 4, cost({"100", "200", "400", "800"})), "MinCost",
       "{100*2^(&faclevel-1)}"},
      {"fractions", FacilityFamily(numbered, 3, cost({"0.1", "0.2", "0.3"})), "MinCost", "{0.1*&faclevel}"},
      {"irregular", FacilityFamily(numbered, 4, cost({"5", "-7", "12", "0"})), "MinCost",
       "{(&faclevel=1)*5+(&faclevel=2)*(-7)+(&faclevel=3)*12}"},
      {"level itself", FacilityFamily(numbered, 3, cost({"1", "2", "3"})), "MinCost", "&faclevel"},
      {"Roman numerals",
       FacilityFamily([](int level) { return "Shield Generator " + RomanNumeral(level); }, 12,
                      [](int) { return std::string("Cost Minerals := 5\n"); }),
       "NumberStyle", "&faclevelroman"},
      {"level inside texts",
       FacilityFamily(numbered, 3,
                      [](int level) {
                        return "Tech Level Req 1 := " + std::to_string(level * 2) + "\nNumber of Tech Req := 1\n"
                               "Tech Area Req 1 := Mining\nRoman Numeral := " + std::to_string(level) + "\n"
                               "Number of Abilities := 1\nAbility 1 Type := Supply\nAbility 1 Descr := Gives " +
                               std::to_string(level * 100) + " supply, " + std::to_string(level) + "x\n"
                               "Ability 1 Val 1 := 0\nAbility 1 Val 2 := 0\n";
                      }),
       "Level1", "{2*&faclevel}"},
      {"level glued to a word",
       FacilityFamily([](int level) { return "Mk" + std::to_string(level) + "b Miner"; }, 3,
                      [](int) { return std::string(); }),
       "FacName", "Mk{&faclevel}b Miner"},
      {"missing keys, other padding and key order",
       "  name:=Pump 1\nPIC  NUM   :=  7\n  cost minerals := 10\nfacility group:=Pumps\n\nName    :=Pump 2\nFacility  Group := Pumps\ncost minerals:=20\nPic Num := 7\n",
       "MinCost", "{10*&faclevel}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const DataFile file = Parse(DataFileText(c.body));
    Family family;
    const ImportResult result = ImportOf(file, file.entries.front().name, &family);
    EXPECT_EQ(family.members.size(), file.entries.size());
    EXPECT_EQ(Differences(result), std::vector<std::string>{});
    EXPECT_EQ(Formula(result.design, c.field), c.formula);
    ExpectReproduced(file, family, result);
    // The design remembers the entries it came from.
    ASSERT_EQ(result.design.facility.Written().size(), 1u);
    EXPECT_EQ(result.design.facility.Written()[0].names.size(), file.entries.size());
  }
}

TEST(Import, EveryExampleAndTestDesignComesBackExactly) {
  std::vector<std::filesystem::path> designs{std::filesystem::path(VORLANE_TEST_DATA_DIR) / "laser.json"};
  for (const auto& item : std::filesystem::directory_iterator(VORLANE_EXAMPLES_DIR)) designs.push_back(item.path());
  ASSERT_GE(designs.size(), 3u);
  for (const auto& path : designs) {
    SCOPED_TRACE(path.filename().string());
    std::string error;
    auto design = LoadDesignFile(path, error);
    ASSERT_TRUE(design) << error;
    const std::string generated = Generated(*design);
    const DataFile file = Parse(DataFileText(AsBody(generated)));
    Family family;
    const ImportResult result = ImportOf(file, file.entries.back().name, &family);
    EXPECT_EQ(family.members.size(), file.entries.size());
    EXPECT_EQ(result.gaps.size(), 0u) << (result.gaps.empty() ? "" : result.gaps.front().Text());
    EXPECT_EQ(Generated(result.design), generated);
  }
}

TEST(Import, ListsWhatItCannotReproduceByEntryAndKey) {
  const std::string body =
      "Name := Beam 1\nDescription := Alpha\nCost Minerals := 007\nSecret Key := 1\nPic Num := {3}\n\n"
      "Name := Beam 2\nDescription := Beta\nCost Minerals := 008\nSecret Key := 1\nPic Num := {3}\nstray\n";
  const DataFile file = Parse(DataFileText(body));
  const ImportResult result = ImportOf(file, "Beam 2");
  const auto differences = Differences(result);
  const auto has = [&](const std::string& text) {
    return std::find(differences.begin(), differences.end(), text) != differences.end();
  };
  EXPECT_TRUE(has("entry \"Beam 2\", key \"Description\": the file has \"Beta\", the design gives \"Alpha\""));
  EXPECT_TRUE(has("entry \"Beam 2\", key \"Cost Minerals\": the file has \"008\", the design gives \"007\""));
  EXPECT_TRUE(has("entry \"Beam 1\", key \"Secret Key\": a key Vorlane does not write (\"1\")"));
  EXPECT_TRUE(has("entry \"Beam 1\", key \"Pic Num\": the file has \"{3}\", the design gives \"\""));
  EXPECT_TRUE(has("entry \"Beam 2\": line 14 without \":=\" (\"stray\") is not written"));
  // As shown: the differences, at most as many as asked, then the keys the
  // file lacks once for all entries.
  const std::string text = GapsText(result.gaps, 2);
  EXPECT_TRUE(text.starts_with("entry \"Beam 1\", key \"Secret Key\": ")) << text;
  EXPECT_NE(text.find("\n... and " + std::to_string(differences.size() - 2) + " more\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\nkeys the file lacks, which the design writes: \"Tonnage Space Taken\", "), std::string::npos)
      << text;
}

TEST(Import, GroupsEntriesIntoFamilies) {
  const std::string body =
      "Name := Laser 2\n\nName := Armor\n\nName := Laser 1\n\nName := Shield II\n\nName := Laser 3\n\n"
      "Name := Shield I\n\nName := Laser 2\n\nName := Miner 1-1\nNumber of Tech Req := 2\n\n"
      "Name := Miner 2-1\nNumber of Tech Req := 2\n\nName := Miner 1-2\nNumber of Tech Req := 2\n\n"
      "Name := Miner 2-2\nNumber of Tech Req := 2\n\nName := Mk2 Gun 1\n\nName := Mk3 Gun 1\n\nName := Mk3 Gun 2\n\n"
      "Name := Works 1 1\nNumber of Tech Req := 1\n\nName := Works 1 2\nNumber of Tech Req := 1\n\n"
      "Name := Works 2 1\nNumber of Tech Req := 1\n\nName := Works 2 2\nNumber of Tech Req := 1\n";
  const DataFile file = Parse(DataFileText(body));
  const auto families = FindFamilies(file);
  std::vector<std::string> labels;
  for (const Family& family : families) labels.push_back(family.label + (family.grid ? " grid" : ""));
  // A grid needs a technology requirement per varying number.
  EXPECT_EQ(labels, (std::vector<std::string>{"Laser 1..3", "Armor", "Shield I..II", "Laser 2", "Miner 1..2-1..2 grid",
                                              "Mk2 Gun 1", "Mk3 Gun 1..2", "Works 1 1..2", "Works 2 1..2"}));
  EXPECT_EQ(families[4].gridSizes, (std::vector<int>{2, 2}));
  EXPECT_EQ(file.entries[families[4].members[1]].name, "Miner 1-2");  // odometer order
  EXPECT_EQ(FamilyOfName(file, families, "  shield i "), 2);
  EXPECT_EQ(FamilyOfName(file, families, "Shield III"), -1);
  // Entries of the game's facility file are facilities whatever keys they lack.
  EXPECT_FALSE(families[1].facility);
  EXPECT_TRUE(FindFamilies(file, IsFacilityFile("/mod/DATA/FACILITY.TXT"))[1].facility);
  EXPECT_FALSE(IsFacilityFile("/mod/Data/Components.txt"));
  // A control byte in a name is text, never a number's place.
  const DataFile odd = Parse(DataFileText("Name := Miner 4-1\n\nName := Miner \x01-2\n\nName := Miner \x03\x01-2\n"));
  EXPECT_EQ(FindFamilies(odd).size(), 3U);
}

}  // namespace
}  // namespace vorlane
