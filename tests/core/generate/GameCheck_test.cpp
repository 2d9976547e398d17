// The game check and the game's encoding, run on generated entries against a
// small fake game installation: what is refused, what is reported, and that a
// clean design reports nothing.
#include "generate/GameCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "../ScratchDir.h"
#include "GenerateTestSupport.h"
#include "generate/CompGenerate.h"
#include "generate/EntryText.h"
#include "generate/FacGenerate.h"
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
  std::string Game() const { return (Path() / "game").string(); }
  std::string Mod() const { return (Path() / "mod").string(); }
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
  const std::string areas = (fs::path(game.Mod()) / "data/TECHAREA.txt").string(),
                    types = (fs::path(game.Game()) / "Data/AbilityTypes.txt").string();
  EXPECT_EQ(report.notes, (std::vector<std::string>{"Technology areas read from " + areas + " (2 names).",
                                                    "Ability types read from " + types + " (2 names)."}));
  EXPECT_TRUE(report.Text().ends_with("2 entries checked: nothing the game would refuse or misread."));

  const nlohmann::json facility = {
      {"kind", "facility"}, {"FacName", "Miner"}, {"NumFacLevels", 3}, {"FacFamily", "2010"}, {"PicNum", "5"},
      {"RomanStyle", "&faclevel"}, {"MinCost", "{100*&faclevel}"}, {"OrgCost", "0"}, {"RadCost", "0"},
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
      {"OrgCost", "2147483648", "Cost Organics", "\"2147483648\" is out of range (-2147483648 to 2147483647)"},
      {"OrgCost", "2147483647", "Cost Organics", "", 0},  // the limit itself is in range
      {"PicNum", "12a", "Pic Num", "\"12a\" is not a whole number in plain digits"},
      {"VehicleType", "", "Vehicle List Type Override", "the value is empty"},
      {"WeaponReload", " ", "Weapon Reload Rate", "the value is empty; the game reads it as 0", 2, CheckLevel::Warning},
      {"MinCost", "", "Cost Minerals", "the value is empty; the game reads it as 0", 2, CheckLevel::Warning},
      {"WeaponDamageType", "", "Weapon Damage Type", "the value is empty"},
      {"Restrictions", "Only One", "Restrictions",
       "\"Only One\" is not one of None, One Per Vehicle, Two Per Vehicle, Three Per Vehicle, Four Per Vehicle, "
       "Five Per Vehicle, Six Per Vehicle, Seven Per Vehicle, Eight Per Vehicle, Nine Per Vehicle, Ten Per Vehicle"},
      {"WeaponType", "Beam", "Weapon Type", "\"Beam\" is not one of None, Direct Fire, Seeking, Point-Defense, Warhead"},
      {"WeaponDisplayType", "Torpedo", "Weapon Display Type", "\"Torpedo\" is not one of Beam, Torp, Seeker"},
      {"WeaponSound", "/home/me/seiv/Sounds/Laser_Zap.wav", "Weapon Sound",
       "\"/home/me/seiv/Sounds/Laser_Zap.wav\" is a full path; the game looks the sound up by name in its Sounds "
       "folder"},
      {"WeaponSound", "C:\\Sounds\\x.wav", "Weapon Sound",
       "\"C:\\Sounds\\x.wav\" is a full path; the game looks the sound up by name in its Sounds folder"},
      {"CompDesc", "Zap ☢", "Description", "\"☢\" (U+2622) cannot be written in Windows-1252"},
      {"WeaponFamily", "ⅳ", "Weapon Family", "\"ⅳ\" (U+2173) cannot be written in Windows-1252"},
      {"TechReqs", nlohmann::json::array({{{"TechReqArea", "Lazers"}, {"TechReqLevel", "1"}}}), "Tech Area Req 1",
       "\"Lazers\": no such technology area in DATA/TECHAREA"},
      {"TechReqs", nlohmann::json::array({{{"TechReqArea", "Mining"}, {"TechReqLevel", "{&complevel+0.5}"}}}), "Tech Level Req 1",
       "\"1.5\" is not a whole number in plain digits"},
      {"Abilities", nlohmann::json::array({{{"AbilName", "Armour"}, {"AbilVal1", "1"}}}), "Ability 1 Type",
       "\"Armour\": no such ability type in DATA/AbilityTypes.txt"},
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
    const std::string data = (fs::path(game.Mod()) / "data/TECHAREA.txt").string();
    if (auto at = expected.find("DATA/TECHAREA"); at != std::string::npos) expected.replace(at, 13, data);
    if (auto at = expected.find("DATA/"); at != std::string::npos) {
      expected.replace(at, 5, (fs::path(game.Game()) / "Data").string() + "/");
    }
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
