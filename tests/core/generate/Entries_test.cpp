#include <gtest/gtest.h>

#include <sstream>

#include "generate/CompGenerate.h"
#include "generate/FacGenerate.h"
#include "GenerateTestSupport.h"

namespace vorlane {
namespace {

using testing::BareComponent;
using testing::BareFacility;
using testing::LaserComponent;
using testing::Line;
using testing::RecordingSink;

// The laser's entry at one level, written out in full so that every blank of
// the layout is checked.
std::string LaserEntry(int level) {
  const std::string n = std::to_string(level);
  const std::string ten = std::to_string(level * 10);
  const std::string five = std::to_string(level * 5);
  return "Name                                      := Laser " + n + "\r\n"
         "Description                               := A basic beam weapon for Laser's first steps.\r\n"
         "Pic Num                                   := 12\r\n"
         "Tonnage Space Taken                       := 10\r\n"
         "Tonnage Structure                         := 20\r\n"
         "Cost Minerals                             := " + ten + "\r\n"
         "Cost Organics                             := 0\r\n"
         "Cost Radioactives                         := " + five + "\r\n"
         "Vehicle Type                              := Ship\r\n"
         "Vehicle List Type Override                := Ship\r\n"
         "Vehicle List Type Description             := Ship\r\n"
         "Supply Amount Used                        := 0\r\n"
         "Restrictions                              := \r\n"
         "General Group                             := Weapons\r\n"
         "Family                                    := 100\r\n"
         "Roman Numeral                             := " + n + "\r\n"
         "Custom Group                              := \r\n"
         "Number of Tech Req                        := 1\r\n"
         "Tech Area Req 1                           := Lasers\r\n"
         "Tech Level Req 1                          := " + n + "\r\n"
         "Number of Abilities                       := 1\r\n"
         "Ability 1 Type                            := Armor\r\n"
         "Ability 1 Descr                           := Absorbs " + ten + " damage.\r\n"
         "Ability 1 Val 1                           := " + ten + "\r\n"
         "Ability 1 Val 2                           := 0\r\n"
         "Weapon Type                               := None\r\n"
         "\r\n"
         "\r\n";
}

TEST(Entries, TheLaserExampleByteForByte) {
  REQUIRE_EVALUATOR();
  RecordingSink sink;
  CompGenerate gen;
  std::vector<std::string> labels;
  auto result = gen.Generate(LaserComponent(), sink, [&](int position, int maximum, const std::string& text) {
    labels.push_back(std::to_string(position) + "/" + std::to_string(maximum) + " " + text);
    return true;
  });
  ASSERT_TRUE(result.Generated());
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(result.text, LaserEntry(1) + LaserEntry(2) + LaserEntry(3));
  EXPECT_EQ(result.entries, 3);
  EXPECT_EQ(result.windowTitle, "Component Generation Results - [Laser]");
  EXPECT_EQ(result.resultKind, "Component");
  EXPECT_EQ(labels, (std::vector<std::string>{"1/3 33% generated", "2/3 67% generated", "3/3 100% generated"}));
}

TEST(Entries, KeysArePaddedToFortyTwoCharactersWhateverTheirNumber) {
  vrlComponent c = BareComponent("Laser");
  c.SetNumTechReqs(10);
  c.SetNumAbils(1);
  RecordingSink sink;
  CompGenerate gen;
  auto result = gen.Generate(c, sink);
  ASSERT_TRUE(result.Generated());
  EXPECT_NE(result.text.find("\r\nTech Area Req 1" + std::string(27, ' ') + ":= \r\n"), std::string::npos);
  EXPECT_NE(result.text.find("\r\nTech Level Req 1" + std::string(26, ' ') + ":= \r\n"), std::string::npos);
  EXPECT_NE(result.text.find("\r\nTech Area Req 10" + std::string(26, ' ') + ":= \r\n"), std::string::npos);
  EXPECT_NE(result.text.find("\r\nTech Level Req 10" + std::string(25, ' ') + ":= \r\n"), std::string::npos);
  EXPECT_NE(result.text.find("\r\nAbility 1 Type" + std::string(28, ' ') + ":= \r\n"), std::string::npos);
  EXPECT_NE(result.text.find("\r\nAbility 1 Descr" + std::string(27, ' ') + ":= \r\n"), std::string::npos);
  // Every line is either empty or has ":= " in columns 43 to 45.
  std::istringstream lines(result.text);
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    ASSERT_FALSE(line.empty());
    ASSERT_EQ(line.back(), '\r');
    line.pop_back();
    if (line.empty()) continue;
    ++count;
    EXPECT_EQ(line.substr(42, 3), ":= ") << line;
  }
  EXPECT_EQ(count, 18 + 20 + 1 + 4 + 1);
}

// The lines of the single entry of `c`, without line ends.
std::vector<std::string> EntryLines(const vrlComponent& c) {
  RecordingSink sink;
  CompGenerate gen;
  auto result = gen.Generate(c, sink);
  EXPECT_TRUE(result.Generated());
  std::vector<std::string> lines;
  std::istringstream in(result.text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line.substr(0, line.size() - 1));
  return lines;
}

std::vector<std::string> Keys(const std::vector<std::string>& lines, std::size_t from) {
  std::vector<std::string> keys;
  for (std::size_t i = from; i < lines.size(); ++i) {
    const std::string& l = lines[i];
    keys.push_back(l.empty() ? "" : l.substr(0, l.find_last_not_of(' ', 41) + 1));
  }
  return keys;
}

TEST(Entries, NonWeaponDirectFireAndSeekingWeapons) {
  vrlComponent c = BareComponent("Torpedo");
  // A non-weapon ends with its weapon type.
  auto lines = EntryLines(c);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 3], Line("Weapon Type", "None").substr(0, 45 + 4));
  EXPECT_EQ(lines[lines.size() - 2], "");
  EXPECT_EQ(lines[lines.size() - 1], "");
  EXPECT_EQ(lines.size(), 17u + 2 + 1 + 2);

  c.SetWeaponType("Direct Fire");
  c.SetWeaponTarget("Ships, Planets");
  c.SetWeaponDamageType("Normal");
  c.SetWeaponReload("1");
  c.SetWeaponDisplayType("Beam");
  c.SetWeaponDisplayNum("3");
  c.SetWeaponToHitMod("5");
  c.SetWeaponSound("laser.wav");
  c.SetWeaponFamily("7");
  c.SetWeaponSeekerSpeed("9");
  c.SetWeaponSeekerHP("11");
  for (std::int16_t r = 1; r <= 21; ++r) c.SetWeaponDamageAtRange(r, r <= 3 ? std::to_string(40 - r) : "");
  lines = EntryLines(c);
  const std::size_t weapon = 19;  // after the requirement and ability counts
  const std::vector<std::string> directKeys = {
      "Weapon Type",    "Weapon Target",       "Weapon List Target Override", "Weapon List Target Description",
      "Weapon Damage At Rng", "Weapon Damage Type", "Weapon Reload Rate", "Weapon Display Type", "Weapon Display",
      "Weapon Modifier", "Weapon Sound",       "Weapon Family", "", ""};
  EXPECT_EQ(Keys(lines, weapon), directKeys);
  EXPECT_EQ(lines[weapon + 1], Line("Weapon Target", "Ships").substr(0, 50));
  EXPECT_EQ(lines[weapon + 2].substr(45), "Ships, Planets");
  EXPECT_EQ(lines[weapon + 3].substr(45), "Ships, Planets");
  EXPECT_EQ(lines[weapon + 4].substr(45), "39 38 37 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 ");
  EXPECT_EQ(lines[weapon + 11].substr(45), "7");

  for (const char* seeking : {"Seeking", "SEEKING"}) {
    c.SetWeaponType(seeking);
    lines = EntryLines(c);
    auto keys = Keys(lines, weapon);
    ASSERT_EQ(keys.size(), directKeys.size() + 2) << seeking;
    EXPECT_EQ(keys[12], "Weapon Seeker Speed");
    EXPECT_EQ(keys[13], "Weapon Seeker Dmg Res");
    EXPECT_EQ(lines[weapon + 12].substr(45), "9");
    EXPECT_EQ(lines[weapon + 13].substr(45), "11");
    EXPECT_EQ(lines[weapon].substr(45), seeking);
  }
}

TEST(Entries, NameSuffixOfAPlainDesign) {
  REQUIRE_EVALUATOR();
  vrlComponent c = BareComponent("Laser", "3");
  c.SetNumberStyle("Mk {&complevel+1}");
  RecordingSink sink;
  CompGenerate gen;
  auto result = gen.Generate(c, sink);
  ASSERT_TRUE(result.Generated());
  EXPECT_NE(result.text.find(Line("Name", "Laser Mk 4")), std::string::npos);
  c.SetNumberStyle("");
  result = gen.Generate(c, sink);
  EXPECT_EQ(result.text.find(Line("Name", "Laser ")), std::string::npos);
  EXPECT_EQ(result.text.substr(0, 52), Line("Name", "Laser"));
}

std::string FacilityEntry(const std::string& name, const std::string& roman, const std::string& mineral) {
  return "Name                                      := " + name + "\r\n"
         "Description                               := Digs for minerals.\r\n"
         "Facility Group                            := Resource Extraction\r\n"
         "Facility Family                           := 2010\r\n"
         "Roman Numeral                             := " + roman + "\r\n"
         "Restrictions                              := None\r\n"
         "Pic Num                                   := 5\r\n"
         "Cost Minerals                             := " + mineral + "\r\n"
         "Cost Organics                             := 0\r\n"
         "Cost Radioactives                         := 0\r\n"
         "Number of Tech Req                        := 1\r\n"
         "Tech Area Req 1                           := Mining\r\n"
         "Tech Level Req 1                          := 2\r\n"
         "Number of Abilities                       := 2\r\n"
         "Ability 1 Type                            := Resource Generation - Minerals\r\n"
         "Ability 1 Descr                           := Mine\r\n"
         "Ability 1 Val 1                           := 500\r\n"
         "Ability 1 Val 2                           := 0\r\n"
         "Ability 2 Type                            := Resource Storage\r\n"
         "Ability 2 Descr                           := Mine Storage\r\n"
         "Ability 2 Val 1                           := 2010\r\n"
         "Ability 2 Val 2                           := \r\n"
         "\r\n"
         "\r\n";
}

vrlFacility Mine() {
  vrlFacility f;
  f.SetFacName("Mineral Miner");
  f.SetFacDesc("Digs for minerals.");
  f.SetNumFacLevels("2");
  f.SetNumberStyle("&faclevel");
  f.SetRomanStyle("&FacLevel");
  f.SetFacGroup("Resource Extraction");
  f.SetFacFamily("2010");
  f.SetPicNum("5");
  f.SetMinCost("&abil1val1");
  f.SetOrgCost("0");
  f.SetRadCost("0");
  f.SetTechReqArea(1, "Mining");
  f.SetTechReqLevel(1, "2");
  f.SetNumAbils(2);
  f.SetAbilName(1, "Resource Generation - Minerals");
  f.SetAbilDesc(1, "Mine");
  f.SetAbilVal1(1, "500");
  f.SetAbilVal2(1, "0");
  f.SetAbilName(2, "Resource Storage");
  f.SetAbilDesc(2, "&abil1descr Storage");
  f.SetAbilVal1(2, "&family");
  return f;
}

TEST(Entries, FacilityEntriesHaveTheirOwnLayout) {
  RecordingSink sink;
  FacGenerate gen;
  auto result = gen.Generate(Mine(), sink);
  ASSERT_TRUE(result.Generated());
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(result.text, FacilityEntry("Mineral Miner 1", "1", "500") + FacilityEntry("Mineral Miner 2", "2", "500"));
  EXPECT_EQ(result.windowTitle, "Facility Generation Results - [Mineral Miner]");
  EXPECT_EQ(result.resultKind, "Facility");
}

TEST(Entries, AFacilityIgnoresWhatItHasNoLineFor) {
  // Restrictions are always "None", and a facility has no weapon or vehicle
  // lines whatever its texts hold.
  vrlFacility f = BareFacility("Shipyard");
  f.SetFacDesc("Vehicle Type Weapon Type");
  RecordingSink sink;
  FacGenerate gen;
  auto result = gen.Generate(f, sink);
  ASSERT_TRUE(result.Generated());
  EXPECT_NE(result.text.find(Line("Restrictions", "None")), std::string::npos);
  EXPECT_EQ(result.text.find("\r\nVehicle Type "), std::string::npos);
  EXPECT_EQ(result.text.find("\r\nWeapon"), std::string::npos);
  EXPECT_NE(result.text.find(Line("Number of Tech Req", "0") + Line("Number of Abilities", "0") + "\r\n\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace vorlane
