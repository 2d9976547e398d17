// The game check and the game's encoding, run on generated entries against a
// small fake game installation: what is refused, what is reported, and that a
// clean design reports nothing.
#include "generate/GameCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <nlohmann/json.hpp>

#include "../ScratchDir.h"
#include "GenerateTestSupport.h"
#include "generate/CompGenerate.h"
#include "generate/EntryText.h"
#include "generate/FacGenerate.h"
#include "util/Platform.h"
#include "util/Windows1252.h"

namespace vorlane {
namespace {

namespace fs = std::filesystem;
using testing::RecordingSink;

// A game directory and a mod directory with data files, removed at the end.
class FakeGame : public testing::ScratchDir {
 public:
  FakeGame() {
    Write("game/Data/TechArea.txt", "Name := Lasers\r\nDescription := x\r\n\r\nName := Mining\r\n");
    Write("game/Data/AbilityTypes.txt", "Name                 := Armor\r\nName := Resource Generation - Minerals\r\n");
    // The mod's file, in other letter cases and in Windows-1252, replaces the game's.
    Write("mod/data/TECHAREA.txt", "name:=  L\xC4SER Weapons \r\nName := Mining\n");
  }
  std::string Game() const { return Utf8FromPath(Path() / "game"); }
  std::string Mod() const { return Utf8FromPath(Path() / "mod"); }
  // The data files as the check names them. Windows, whose folders ignore
  // letter case, finds the mod's file under the name asked for; Linux under
  // its spelling on disk.
  std::string ModAreas() const {
#ifdef _WIN32
    return Utf8FromPath(Path() / "mod" / "Data" / "TechArea.txt");
#else
    return Utf8FromPath(Path() / "mod" / "data" / "TECHAREA.txt");
#endif
  }
  std::string GameTypes() const { return Utf8FromPath(Path() / "game" / "Data" / "AbilityTypes.txt"); }
};

// A seeking weapon in two levels that the game takes as it is.
nlohmann::json CleanComponent() {
  nlohmann::json damage = nlohmann::json::array();
  for (int i = 0; i < 21; ++i) damage.push_back(i < 10 ? "{30-&complevel}" : "0");
  return {
      {"kind", "component"}, {"CompName", "Läser"}, {"CompDesc", "Level &complevel – “fast”"},
      {"NumCompLevels", 2}, {"VehicleType", "Ship, Base"}, {"Restrictions", "one per vehicle"},
      {"NumberStyle", "&complevel"}, {"RomanStyle", "&complevel"}, {"GeneralGroup", "Weapons"},
      {"Family", "100"}, {"CustomGroup", "0"}, {"PicNum", "12"},
      {"TechReqs", nlohmann::json::array({{{"TechReqArea", "läser weapons"}, {"TechReqLevel", "&complevel"}}})},
      {"MinCost", "{&complevel*10}"}, {"OrgCost", "0"}, {"RadCost", "-5"}, {"Size", "10"},
      {"HP", "20"}, {"SupplyUse", "1"},
      {"Abilities", nlohmann::json::array({{{"AbilName", "ARMOR"}, {"AbilDesc", "x"}, {"AbilVal1", "{&complevel*10}"}, {"AbilVal2", ""}}})},
      {"WeaponType", "seeking"}, {"WeaponTarget", "Ships"}, {"WeaponDamageType", "Normal"},
      {"WeaponSound", "Laser_Zap.wav"}, {"WeaponDisplayType", "Torp"}, {"WeaponDisplayNum", "3"},
      {"WeaponFamily", "5"}, {"WeaponReload", "1"}, {"WeaponToHitMod", "-10"}, {"WeaponSeekerSpeed", "10"},
      {"WeaponSeekerHP", "5"}, {"WeaponDamageAtRange", damage},
  };
}

std::string Generate(const nlohmann::json& json) {
  std::string error;
  auto design = ParseDesign(json.dump(), error);
  EXPECT_TRUE(design) << error;
  if (!design) return {};
  RecordingSink sink;
  GenerationResult result = design->kind == DesignKind::Component
                                ? CompGenerate().Generate(design->component, sink)
                                : FacGenerate().Generate(design->facility, sink);
  EXPECT_TRUE(result.Generated()) << json.dump();
  return result.text;
}

TEST(GameCheck, CleanDesignsReportNothingAndSayWhichFilesWereRead) {
  FakeGame game;
  const std::string text = Generate(CleanComponent());
  const CheckReport report = CheckEntries(text, ReadGameData(game.Mod(), game.Game()));
  EXPECT_TRUE(report.Clean()) << report.Text();
  EXPECT_EQ(report.entries, 2);
  EXPECT_EQ(report.notes, (std::vector<std::string>{"Technology areas read from " + game.ModAreas() + " (2 names).",
                                                    "Ability types read from " + game.GameTypes() + " (2 names)."}));
  EXPECT_TRUE(report.Text().ends_with("2 entries checked: nothing the game would refuse or misread."));

  const nlohmann::json facility = {
      {"kind", "facility"}, {"FacName", "Miner"}, {"NumFacLevels", 3}, {"FacFamily", "2010"}, {"PicNum", "5"},
      {"NumberStyle", "&faclevel"}, {"RomanStyle", "&faclevel"}, {"MinCost", "{100*&faclevel}"}, {"OrgCost", "0"}, {"RadCost", "0"},
      {"TechReqs", nlohmann::json::array({{{"TechReqArea", "Mining"}, {"TechReqLevel", "&faclevel"}}})},
      {"Abilities", nlohmann::json::array({{{"AbilName", "Resource Generation - Minerals"}, {"AbilVal1", "10"}, {"AbilVal2", "0"}}})},
  };
  EXPECT_TRUE(CheckEntries(Generate(facility), ReadGameData("", game.Game())).Clean());
  // Without directories the names are not checked, and the note says so.
  const CheckReport bare = CheckEntries(text, GameData{});
  EXPECT_TRUE(bare.Clean());
  EXPECT_EQ(bare.notes, std::vector<std::string>{
                            "Technology areas and ability types not checked: no game directory is set."});
}

TEST(GameCheck, ReportsPerEntryAndKeyWhatTheGameRefusesOrMisreads) {
  FakeGame game;
  game.Write("empty/Data/x.txt", "");
  struct Case {
    std::string field;  // design key changed in the clean design
    nlohmann::json value;
    std::string key;      // key reported in every entry
    std::string problem;  // the first entry's text
    int entries = 2;      // entries that report it
    CheckLevel level = CheckLevel::Error;
  };
  nlohmann::json abilities = nlohmann::json::array();
  for (int i = 0; i < 21; ++i) abilities.push_back({{"AbilName", "Armor"}, {"AbilVal1", "1"}, {"AbilVal2", "1"}});
  const Case cases[] = {
      {"MinCost", "{&complevel/4}", "Cost Minerals", "\"0.25\" is not a whole number in plain digits"},
      {"MinCost", "{10^15*&complevel}", "Cost Minerals", "\"1E+15\" is in exponent form; the game reads only plain digits"},
      {"OrgCost", "2147483648", "Cost Organics", "\"2147483648\" is out of range (-2147483648 to 2147483647)", 2,
       CheckLevel::Warning},  // the game reads a cost above the range, probably not as meant
      {"RadCost", "-2147483649", "Cost Radioactives", "\"-2147483649\" is out of range (-2147483648 to 2147483647)"},
      {"WeaponFamily", "0.5", "Weapon Family", "\"0.5\" is not a whole number in plain digits"},
      {"OrgCost", "2147483647", "Cost Organics", "", 0},  // the limit itself is in range
      {"PicNum", "12a", "Pic Num", "\"12a\" is not a whole number in plain digits"},
      {"VehicleType", "", "Vehicle List Type Override", "the value is empty"},
      {"WeaponReload", " ", "Weapon Reload Rate", "the value is empty; the game reads it as 0", 2, CheckLevel::Warning},
      {"MinCost", "", "Cost Minerals", "the value is empty; the game reads it as 0", 2, CheckLevel::Warning},
      {"WeaponDamageType", "", "Weapon Damage Type", "the value is empty"},
      {"Restrictions", "Only One", "Restrictions",
       "\"Only One\" is not one of None, One Per Vehicle, Two Per Vehicle, Three Per Vehicle, Four Per Vehicle, "
       "Five Per Vehicle, Six Per Vehicle, Seven Per Vehicle, Eight Per Vehicle, Nine Per Vehicle, Ten Per Vehicle"},
      {"WeaponSound", "/home/me/seiv/Sounds/Laser_Zap.wav", "Weapon Sound",
       "\"/home/me/seiv/Sounds/Laser_Zap.wav\" is a full path; the game looks the sound up by name in its Sounds "
       "folder"},
      {"WeaponSound", "C:\\Sounds\\x.wav", "Weapon Sound",
       "\"C:\\Sounds\\x.wav\" is a full path; the game looks the sound up by name in its Sounds folder"},
      {"CompDesc", "Zap ☢", "Description", "\"☢\" (U+2622) cannot be written in Windows-1252"},
      {"WeaponDamageType", "ⅳ", "Weapon Damage Type", "\"ⅳ\" (U+2173) cannot be written in Windows-1252"},
      {"TechReqs", nlohmann::json::array({{{"TechReqArea", "Lazers"}, {"TechReqLevel", "1"}}}), "Tech Area Req 1",
       "\"Lazers\": no such technology area in AREAS"},
      {"TechReqs", nlohmann::json::array({{{"TechReqArea", "Mining"}, {"TechReqLevel", "{&complevel+0.5}"}}}), "Tech Level Req 1",
       "\"1.5\" is not a whole number in plain digits"},
      {"Abilities", nlohmann::json::array({{{"AbilName", "Armour"}, {"AbilVal1", "1"}}}), "Ability 1 Type",
       "\"Armour\": no such ability type in TYPES"},
      {"Abilities", nlohmann::json::array({{{"AbilName", "Armor"}, {"AbilVal1", "{&complevel/2}"}}}), "Ability 1 Val 1",
       "\"0.5\" is not a whole number in plain digits; the game reads it as 0", 1},
      {"Abilities", abilities, "Number of Abilities",
       "\"21\" is out of range (0 to 20); the game reads only the first 20 abilities"},
  };
  for (const Case& c : cases) {
    nlohmann::json design = CleanComponent();
    design[c.field] = c.value;
    const CheckReport report = CheckEntries(Generate(design), ReadGameData(game.Mod(), game.Game()));
    EXPECT_EQ(report.findings.size(), static_cast<std::size_t>(c.entries)) << c.field << "\n" << report.Text();
    for (const CheckFinding& f : report.findings) EXPECT_EQ(f.key, c.key) << c.field;
    for (const CheckFinding& f : report.findings) EXPECT_EQ(f.level, c.level) << c.field;
    if (report.findings.empty()) continue;
    std::string expected = c.problem;
    if (auto at = expected.find("AREAS"); at != std::string::npos) expected.replace(at, 5, game.ModAreas());
    if (auto at = expected.find("TYPES"); at != std::string::npos) expected.replace(at, 5, game.GameTypes());
    EXPECT_EQ(report.findings[0].problem, expected) << c.field;
    EXPECT_EQ(report.findings[0].entry, 1);
  }
}

TEST(GameCheck, ReadsDamageListsAndLinesThatAreNoEntryLines) {
  const std::string damage = "Weapon Damage At Rng                      := ";
  const std::string text = "Name := A\r\nWeapon Damage At Rng := 1 2 0.5\r\nbroken\r\n\r\nName := B\r\n" + damage +
                           "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 \r\n";
  const CheckReport report = CheckEntries(text, GameData{});
  EXPECT_EQ(report.findings, (std::vector<CheckFinding>{
                                 {1, "A", "Weapon Damage At Rng", "number 3: \"0.5\" is not a whole number in plain digits"},
                                 {1, "A", "Weapon Damage At Rng", "holds 3 numbers; the game reads 21"},
                                 {1, "A", "", "\"broken\" is no \"Key := value\" line (a line break inside a value?)"},
                             }));
  EXPECT_EQ(report.Text(1).substr(0, report.Text(1).find("Tech")),
            "error: entry 1 \"A\", key \"Weapon Damage At Rng\": number 3: \"0.5\" is not a whole number in plain digits\n"
            "... and 2 more.\n\n");

  // The same problem in the same key of several entries is one line.
  std::string many;
  for (int i = 1; i <= 6; ++i) many += "Name := E" + std::to_string(i) + "\r\nPic Num := " + (i == 4 ? "1" : "x") + "\r\n";
  EXPECT_EQ(CheckEntries(many, GameData{}).Text(),
            "error: entries 1 to 3, 5, 6, key \"Pic Num\": \"x\" is not a whole number in plain digits\n\n"
            "Technology areas and ability types not checked: no game directory is set.\n"
            "6 entries checked: 5 errors found.");
}

TEST(GameCheck, FixedWordsAndNamesAsTheGameComparesThem) {
  // Weapon types and display types (a design file cannot hold others, an entry text can).
  const CheckReport words =
      CheckEntries("Name := A\r\nWeapon Type := Beam\r\nWeapon Display Type := torp \r\n", GameData{});
  EXPECT_EQ(words.findings, (std::vector<CheckFinding>{
                                {1, "A", "Weapon Type", "\"Beam\" is not one of None, Direct Fire, Seeking, Point-Defense, Warhead"},
                            }));
  // Two entries of one name, surrounding blanks ignored: the game keeps one.
  const CheckReport twice = CheckEntries(
      "Name := Laser \r\n\r\nName := laser\r\n\r\nName :=  Laser\r\n\r\nName := Laser\r\n", GameData{});
  const std::string kept = "\"Laser\" is the name of entry 1 too; the game keeps only one of them";
  EXPECT_EQ(twice.findings, (std::vector<CheckFinding>{{3, " Laser", "Name", kept}, {4, "Laser", "Name", kept}}));
  // A grid design without numbering styles writes them.
  nlohmann::json grid = CleanComponent();
  grid["NumberStyle"] = "";
  const CheckReport generated = CheckEntries(Generate(grid), GameData{});
  ASSERT_EQ(generated.findings.size(), 1u) << generated.Text();
  EXPECT_EQ(generated.findings[0].problem, "\"Läser\" is the name of entry 1 too; the game keeps only one of them");
}

// Every key the entries hold is either one the game reads as text or one it
// reads as a number, and each of the latter has a whole-number rule: a new key
// must be placed in one of these lists, and a number key cannot go unchecked.
TEST(GameCheck, EveryNumberKeyOfTheEntriesHasAWholeNumberRule) {
  const std::set<std::string> text = {
      "Name", "Description", "Vehicle Type", "Vehicle List Type Override", "Vehicle List Type Description",
      "Restrictions", "General Group", "Facility Group", "Tech Area Req #", "Ability # Type", "Ability # Descr",
      "Weapon Type", "Weapon Target", "Weapon List Target Override", "Weapon List Target Description",
      "Weapon Damage Type", "Weapon Display Type", "Weapon Sound"};
  const std::set<std::string> numbers = {
      "Pic Num", "Tonnage Space Taken", "Tonnage Structure", "Cost Minerals", "Cost Organics", "Cost Radioactives",
      "Supply Amount Used", "Family", "Facility Family", "Roman Numeral", "Custom Group", "Number of Tech Req",
      "Tech Level Req #", "Number of Abilities", "Ability # Val 1", "Ability # Val 2", "Weapon Damage At Rng",
      "Weapon Reload Rate", "Weapon Display", "Weapon Modifier", "Weapon Family", "Weapon Seeker Speed",
      "Weapon Seeker Dmg Res"};
  const nlohmann::json facility = {
      {"kind", "facility"}, {"FacName", "Miner"}, {"NumFacLevels", 1},
      {"TechReqs", nlohmann::json::array({{{"TechReqArea", "Mining"}, {"TechReqLevel", "1"}}})},
      {"Abilities", nlohmann::json::array({{{"AbilName", "Armor"}, {"AbilVal1", "1"}, {"AbilVal2", "0"}}})}};
  std::set<std::string> seen;
  for (const nlohmann::json& design : {CleanComponent(), facility}) {
    const std::string entries = Generate(design);
    for (std::size_t at = 0, end; at < entries.size(); at = end + 1) {
      end = entries.find('\n', at);
      const std::string line = entries.substr(at, end - at - 1);  // without its CR LF
      const EntryLine parts = SplitEntryLine(line);
      if (parts.key.empty()) continue;
      std::string key(parts.key);  // the list index of numbered keys as "#": "Ability # Val 1"
      if (const std::size_t d = key.find_first_of("0123456789"); d != std::string::npos) {
        key.replace(d, key.find_first_not_of("0123456789", d) - d, "#");
      }
      seen.insert(key);
      const KeyRule* rule = FindKeyRule(parts.key);
      if (numbers.contains(key)) {
        ASSERT_NE(rule, nullptr) << key << " holds a number in the game but has no rule";
        EXPECT_TRUE(rule->kind == ValueKind::Whole || rule->kind == ValueKind::WholeList) << key;
      } else {
        EXPECT_TRUE(text.contains(key)) << key << ": a key the game reads as text or as a number?";
      }
    }
  }
  for (const std::string& key : numbers) EXPECT_TRUE(seen.contains(key)) << key << " not written by the test designs";
}

TEST(GameCheck, ReadsTheDataFilesAsTheGameDoesAndSaysWhenOneLooksLikeUtf8) {
  FakeGame game;
  // A technology area file saved as UTF-8: the game reads "PlÃ¤sma", not "Pläsma".
  game.Write("utf8/Data/TechArea.txt", "\xEF\xBB\xBFName := Pl\xC3\xA4sma\r\n\r\nName := Mining\r\n");
  const std::string mod = Utf8FromPath(game.Path() / "utf8");
  nlohmann::json design = CleanComponent();
  design["TechReqs"] = nlohmann::json::array({{{"TechReqArea", "Pläsma"}, {"TechReqLevel", "1"}}});
  const CheckReport report = CheckEntries(Generate(design), ReadGameData(mod, game.Game()));
  const std::string file = Utf8FromPath(fs::path(mod) / "Data" / "TechArea.txt");
  ASSERT_EQ(report.findings.size(), 2u) << report.Text();
  EXPECT_EQ(report.findings[0].problem, "\"Pläsma\": no such technology area in " + file);
  EXPECT_EQ(report.notes[1], file + " looks like UTF-8; the game reads it as Windows-1252, and so does this check: a "
                                    "name with letters beyond A to Z reads differently there.");
  design["TechReqs"] = nlohmann::json::array({{{"TechReqArea", "PlÃ¤sma"}, {"TechReqLevel", "1"}}});
  EXPECT_TRUE(CheckEntries(Generate(design), ReadGameData(mod, game.Game())).Clean());
}

TEST(GameCheck, ListsErrorsBeforeWarningsAndCountsEach) {
  const CheckReport report = CheckEntries(
      "Name := A\r\nCost Minerals := \r\n\r\nName := B\r\nCost Minerals :=\r\nPic Num := x\r\n", GameData{});
  EXPECT_EQ(report.Count(CheckLevel::Error), 1u);
  EXPECT_EQ(report.Count(CheckLevel::Warning), 2u);
  EXPECT_FALSE(report.Passes(false));
  EXPECT_EQ(report.Text(),
            "error: entry 2 \"B\", key \"Pic Num\": \"x\" is not a whole number in plain digits\n"
            "warning: entries 1, 2, key \"Cost Minerals\": the value is empty; the game reads it as 0\n\n"
            "Technology areas and ability types not checked: no game directory is set.\n"
            "2 entries checked: 1 error and 2 warnings found.");
  // Warnings alone pass unless the check is strict.
  const CheckReport warned = CheckEntries("Name := A\r\nCost Minerals := \r\n", GameData{});
  EXPECT_TRUE(warned.Passes(false));
  EXPECT_FALSE(warned.Passes(true));
  EXPECT_TRUE(warned.Text().ends_with("1 entry checked: 1 warning found."));
  EXPECT_TRUE(CheckEntries("Name := A\r\nCost Minerals := 1\r\n", GameData{}).Passes(true));
}

TEST(GameEncoding, WritesWindows1252OrUtf8AndNamesTheEntryAndKeyOfAnyOtherCharacter) {
  const std::string text = Generate(CleanComponent());
  std::string out, error;
  ASSERT_TRUE(EncodeEntries(text, TextEncoding::Windows1252, out, error)) << error;
  EXPECT_NE(out.find("Name                                      := L\xE4ser 2\r\n"), std::string::npos);
  EXPECT_NE(out.find("Level 1 \x96 \x93" "fast\x94\r\n"), std::string::npos);
  EXPECT_EQ(Windows1252ToUtf8(out), text);

  out.clear();
  ASSERT_TRUE(EncodeEntries(text, TextEncoding::Utf8, out, error));
  EXPECT_EQ(out, text);

  nlohmann::json design = CleanComponent();
  design["WeaponSound"] = "Zap☢.wav";
  out.clear();
  EXPECT_FALSE(EncodeEntries(Generate(design), TextEncoding::Windows1252, out, error));
  EXPECT_EQ(error, "entry 1 \"Läser 1\", key \"Weapon Sound\": \"☢\" (U+2622) cannot be written in Windows-1252");

  TextEncoding encoding = TextEncoding::Utf8;
  for (auto [name, expected] : {std::pair{"Windows-1252", TextEncoding::Windows1252}, {"UTF-8", TextEncoding::Utf8},
                                {"CP1252", TextEncoding::Windows1252}, {"utf8", TextEncoding::Utf8}}) {
    EXPECT_TRUE(ParseTextEncoding(name, encoding) && encoding == expected) << name;
  }
  EXPECT_FALSE(ParseTextEncoding("latin-1", encoding));
}

}  // namespace
}  // namespace vorlane
