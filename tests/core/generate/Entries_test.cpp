#include <gtest/gtest.h>

#include <clocale>

#include "GenerateTestSupport.h"
#include "generate/CompGenerate.h"
#include "generate/FacGenerate.h"

namespace vorlane {
namespace {

using namespace vorlane::testing;

// Lines of an entry, ending with the blank lines after it.
std::string Entry(std::initializer_list<std::pair<const char*, std::string>> lines) {
  std::string entry;
  for (const auto& [key, value] : lines) entry += Line(key, value);
  return entry + "\r\n\r\n";
}

std::string LaserEntry(int level) {
  const std::string n = std::to_string(level), ten = std::to_string(level * 10), five = std::to_string(level * 5);
  return Entry({{"Name", "Laser " + n}, {"Description", "A basic beam weapon for Laser's first steps."},
                {"Pic Num", "12"}, {"Tonnage Space Taken", "10"}, {"Tonnage Structure", "20"}, {"Cost Minerals", ten},
                {"Cost Organics", "0"}, {"Cost Radioactives", five}, {"Vehicle Type", "Ship"},
                {"Vehicle List Type Override", "Ship"}, {"Vehicle List Type Description", "Ship"},
                {"Supply Amount Used", "0"}, {"Restrictions", "None"}, {"General Group", "Weapons"}, {"Family", "100"},
                {"Roman Numeral", n}, {"Custom Group", "0"}, {"Number of Tech Req", "1"}, {"Tech Area Req 1", "Lasers"},
                {"Tech Level Req 1", n}, {"Number of Abilities", "1"}, {"Ability 1 Type", "Armor"},
                {"Ability 1 Descr", "Absorbs " + ten + " damage."}, {"Ability 1 Val 1", ten}, {"Ability 1 Val 2", "0"},
                {"Weapon Type", "None"}});
}

TEST(Entries, TheLaserExampleByteForByte) {
  RecordingSink sink;
  CompGenerate gen;
  std::vector<std::string> labels;
  auto result = gen.Generate(SampleDesign("laser.json").component, sink, [&](int pos, int max, const std::string& t) {
    return labels.push_back(std::to_string(pos) + "/" + std::to_string(max) + " " + t), true;
  });
  ASSERT_TRUE(result.Generated());
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(result.text, LaserEntry(1) + LaserEntry(2) + LaserEntry(3));
  EXPECT_EQ(result.windowTitle, "Component Generation Results - [Laser]");
  EXPECT_EQ(result.resultKind, "Component");
  EXPECT_EQ(labels, (std::vector<std::string>{"1/3 33% generated", "2/3 67% generated", "3/3 100% generated"}));
}

TEST(Entries, NumberedKeysArePaddedToFortyTwoCharacters) {
  vrlComponent c = Bare<vrlComponent>("Laser");
  c.SetNumTechReqs(10);
  c.SetNumAbils(1);
  RecordingSink sink;
  const std::string text = CompGenerate().Generate(c, sink).text;
  for (auto [key, blanks] : {std::pair{"Tech Area Req 1", 27}, {"Tech Level Req 1", 26}, {"Tech Area Req 10", 26},
                             {"Tech Level Req 10", 25}, {"Ability 1 Type", 28}, {"Ability 1 Descr", 27}}) {
    EXPECT_NE(text.find("\n" + std::string(key) + std::string(blanks, ' ') + ":= \r\n"), std::string::npos) << key;
  }
}

// The keys of the weapon part of the single entry of `c`.
std::vector<std::string> WeaponKeys(const vrlComponent& c, std::string& text) {
  RecordingSink sink;
  text = CompGenerate().Generate(c, sink).text;
  std::vector<std::string> keys;
  for (std::size_t at = text.find("Weapon Type"); at < text.size();) {
    const std::string line = text.substr(at, text.find("\r\n", at) - at);
    keys.push_back(line.empty() ? "" : line.substr(0, line.find_last_not_of(' ', 41) + 1));
    at += line.size() + 2;
  }
  return keys;
}

TEST(Entries, NonWeaponDirectFireAndSeekingWeapons) {
  vrlComponent c = Bare<vrlComponent>("Torpedo");
  std::string text;
  EXPECT_EQ(WeaponKeys(c, text), (std::vector<std::string>{"Weapon Type", "", ""}));
  EXPECT_EQ(Values(text, "Weapon Type"), std::vector<std::string>{"None"});

  c = FromDesign<vrlComponent>(R"("CompName": "Torpedo", "WeaponType": "Direct Fire", "WeaponTarget": "Ships, Planets",
      "WeaponFamily": "7", "WeaponSeekerSpeed": "9", "WeaponSeekerHP": "11", "WeaponDamageAtRange": ["39", "38", "37"])");
  std::vector<std::string> direct = {
      "Weapon Type", "Weapon Target", "Weapon List Target Override", "Weapon List Target Description",
      "Weapon Damage At Rng", "Weapon Damage Type", "Weapon Reload Rate", "Weapon Display Type", "Weapon Display",
      "Weapon Modifier", "Weapon Sound", "Weapon Family", "", ""};
  EXPECT_EQ(WeaponKeys(c, text), direct);
  EXPECT_EQ(Values(text, "Weapon Target"), std::vector<std::string>{"Ships"});
  EXPECT_EQ(Values(text, "Weapon List Target Description"), std::vector<std::string>{"Ships, Planets"});
  EXPECT_EQ(Values(text, "Weapon Damage At Rng"),
            std::vector<std::string>{"39 38 37 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "});

  direct.insert(direct.end() - 2, {"Weapon Seeker Speed", "Weapon Seeker Dmg Res"});
  for (const char* seeking : {"Seeking", "sEEKING"}) {
    c.SetWeaponType(seeking);
    EXPECT_EQ(WeaponKeys(c, text), direct) << seeking;
    EXPECT_EQ(Values(text, "Weapon Seeker Dmg Res"), std::vector<std::string>{"11"});
  }
}

TEST(Entries, FacilityEntriesHaveTheirOwnLayout) {
  const vrlFacility f = FromDesign<vrlFacility>(
      R"("NumFacLevels": 2, "NumberStyle": "&faclevel", "RomanStyle": "{&FacLevel*2}", "FacDesc": "Digs.",
         "FacGroup": "Resource Extraction", "FacFamily": "2010", "TechReqs": [{"TechReqArea": "Mining"}],
         "Abilities": [{"AbilDesc": "Mine"}, {"AbilDesc": "&abil1descr Storage", "AbilVal1": "&family"}])");
  RecordingSink sink;
  auto result = FacGenerate().Generate(f, sink);
  ASSERT_TRUE(result.Generated());
  const std::string second = result.text.substr(result.text.size() / 2);
  EXPECT_EQ(second, Entry({{"Name", "Mine 2"}, {"Description", "Digs."}, {"Facility Group", "Resource Extraction"},
                           {"Facility Family", "2010"}, {"Roman Numeral", "4"}, {"Restrictions", "None"},
                           {"Pic Num", ""}, {"Cost Minerals", ""}, {"Cost Organics", ""}, {"Cost Radioactives", ""},
                           {"Number of Tech Req", "1"}, {"Tech Area Req 1", "Mining"}, {"Tech Level Req 1", ""},
                           {"Number of Abilities", "2"}, {"Ability 1 Type", ""}, {"Ability 1 Descr", "Mine"},
                           {"Ability 1 Val 1", ""}, {"Ability 1 Val 2", ""}, {"Ability 2 Type", ""},
                           {"Ability 2 Descr", "Mine Storage"}, {"Ability 2 Val 1", "2010"}, {"Ability 2 Val 2", ""}}));
  EXPECT_EQ(result.windowTitle, "Facility Generation Results - [Mine]");
  EXPECT_EQ(result.resultKind, "Facility");
}

TEST(Entries, NumbersUseAPeriodWhateverTheLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "nl_NL.UTF-8"}) {
    if (std::setlocale(LC_ALL, name)) break;  // a decimal-comma locale where one is installed
  }
  vrlComponent c = Bare<vrlComponent>("Laser");
  c.SetCompDesc("{10/4} {&complevel/8}");
  c.SetWeaponType("Direct Fire");
  c.SetWeaponDamageAtRange(1, "7.50");
  c.SetWeaponDamageAtRange(2, "{1.5*3}");
  RecordingSink sink;
  auto result = CompGenerate().Generate(c, sink);
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ(Values(result.text, "Description"), std::vector<std::string>{"2.5 0.125"});
  EXPECT_EQ(Values(result.text, "Weapon Damage At Rng").at(0).substr(0, 8), "7.5 4.5 ");
}

}  // namespace
}  // namespace vorlane
