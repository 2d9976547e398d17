#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "../ScratchDir.h"
#include "GenerateTestSupport.h"

namespace vorlane {
namespace {

namespace fs = std::filesystem;

// A design file that sets every property to a text of its own.
std::string EveryProperty(const std::string& kind, std::initializer_list<const char*> texts, const char* style) {
  std::string json = "{\"kind\": \"" + kind + "\", \"TechReqs\": [{}, {\"TechReqArea\": \"A\", \"TechReqLevel\": "
                     "\"L\", \"TechReqGridSize\": \"3\", \"" + style + "\": \"-\\\"\\u00e9\"}], \"Abilities\": [{}, "
                     "{\"AbilName\": \"N\", \"AbilDesc\": \"D\", \"AbilVal1\": \"1\", \"AbilVal2\": \"2\"}]";
  for (const char* key : texts) json += std::string(", \"") + key + "\": \"" + key + " {&x}\"";
  return json + "}";
}

TEST(DesignFile, EveryPropertyReadsAndWritesBackTheSame) {
  std::string error;
  auto component = ParseDesign(
      EveryProperty("component", {"CompName", "CompDesc", "Restrictions", "GeneralGroup", "Family",
                                  "CustomGroup", "PicNum", "NumberStyle", "RomanStyle", "MinCost", "OrgCost", "RadCost",
                                  "Size", "HP", "SupplyUse", "WeaponDamageType",
                                  "WeaponSound", "WeaponDisplayNum", "WeaponFamily",
                                  "WeaponReload", "WeaponToHitMod", "WeaponSeekerSpeed", "WeaponSeekerHP"},
                    "TechReqNumberStyle").insert(1, "\"NumCompLevels\": 12, \"GridComp\": true, "
                                                    "\"WeaponDamageAtRange\": [\"9\", \"8\"], "
                                                    // fixed choices, in any letter case
                                                    "\"VehicleType\": \"ship, WEAPPLATFORM\", \"WeaponType\": \"seeking\", "
                                                    "\"WeaponTarget\": \"Ships, drones\", \"WeaponDisplayType\": \"TORP\", "),
      error);
  ASSERT_TRUE(component) << error;
  const vrlComponent& c = component->component;
  EXPECT_EQ(c.WeaponSeekerHP(), "WeaponSeekerHP {&x}");
  EXPECT_EQ(c.VehicleType(), "ship, WEAPPLATFORM");
  EXPECT_EQ(c.TechReqNumberStyle(2), "-\"\xC3\xA9");
  EXPECT_EQ(c.NumCompLevels(), "12");
  EXPECT_EQ(c.WeaponDamageAtRange(2), "8");
  EXPECT_EQ(ParseDesign(DesignToJson(c), error)->component, c);

  auto facility = ParseDesign(
      EveryProperty("facility", {"FacName", "FacDesc", "NumberStyle", "RomanStyle", "FacGroup", "FacFamily", "PicNum",
                                 "MinCost", "OrgCost", "RadCost"},
                    "TechReqNumStyle").insert(1, "\"NumFacLevels\": \"7\", \"GridFac\": true, "),
      error);
  ASSERT_TRUE(facility) << error;
  EXPECT_EQ(facility->kind, DesignKind::Facility);
  EXPECT_EQ(facility->facility.AbilVal2(2), "2");
  EXPECT_EQ(ParseDesign(DesignToJson(facility->facility), error)->facility, facility->facility);

  // Absent keys keep the defaults of a new record; an empty array means none.
  EXPECT_EQ(ParseDesign(R"({"kind": "component"})", error)->component, vrlComponent{});
  auto empty = ParseDesign(R"({"kind": "facility", "TechReqs": [], "Abilities": []})", error);
  EXPECT_EQ(empty->facility.NumTechReqs() + empty->facility.NumAbils(), 0);
  EXPECT_EQ(ParseDesign(DesignToJson(empty->facility), error)->facility, empty->facility);
  for (auto [levels, read] : {std::pair{"2.5", "2"}, {"3.5", "4"}, {"\"007\"", "7"}, {"\"abc\"", "0"}, {"-0.4", "0"}}) {
    auto d = ParseDesign(std::string(R"({"kind": "component", "NumCompLevels": )") + levels + "}", error);
    EXPECT_EQ(d->component.NumCompLevels(), read) << levels;
  }
}

TEST(DesignFile, ValuesTheBoxesWidenForAndTheLargestListsReadAndWriteBack) {
  std::string error;
  auto wide = ParseDesign(
      R"({"kind": "facility", "NumFacLevels": 32767, "TechReqs": [{"TechReqGridSize": "00123"}, {}]})", error);
  ASSERT_TRUE(wide) << error;
  EXPECT_EQ(wide->facility.TechReqGridSize(1), "00123");

  vrlComponent c;  // both lists are written by the same loop
  c.SetNumTechReqs(32767);
  c.SetNumAbils(0);
  c.SetTechReqArea(32767, "Last");
  auto back = ParseDesign(DesignToJson(c), error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(back->component, c);
}

TEST(DesignFile, RefusalsNameThePlace) {
  const std::string range = "; it must lie from 0 to 32767",
                    grid = "; it must be empty or a whole number from 0 to 32767 written in digits",
                    control = "; a value may hold no line breaks or other control characters";
  const std::pair<const char*, std::string> cases[] = {
      {R"([1, 2])", "/: a design must be a JSON object"},
      {R"({})", "/kind: missing; it must be \"component\" or \"facility\""},
      {R"({"kind": "vehicle"})", "/kind: must be \"component\" or \"facility\""},
      {R"({"kind": "component", "FacName": "x"})", "/FacName: unknown key"},
      {R"({"kind": "facility", "WeaponDamageAtRange": []})", "/WeaponDamageAtRange: unknown key"},
      {R"({"kind": "component", "compname": "x"})", "/compname: unknown key"},
      {R"({"kind": "component", "a/b~c": 1})", "/a~1b~0c: unknown key"},
      {R"({"kind": "component", "MinCost": null})", "/MinCost: must be a text"},
      {R"({"kind": "component", "GridComp": "true"})", "/GridComp: must be true or false"},
      {R"({"kind": "component", "NumCompLevels": true})", "/NumCompLevels: must be a text or a number"},
      {R"({"kind": "component", "NumCompLevels": 40000})", "/NumCompLevels: level count 40000 out of range" + range},
      {R"({"kind": "facility", "NumFacLevels": "1e10"})", "/NumFacLevels: level count \"1e10\" out of range" + range},
      {R"({"kind": "component", "NumCompLevels": -5})", "/NumCompLevels: level count -5 out of range" + range},
      // Grid sizes in digits only: the page's box holds nothing else.
      {R"({"kind": "component", "TechReqs": [{"TechReqGridSize": "{2+1}"}]})",
       "/TechReqs/0/TechReqGridSize: grid size \"{2+1}\" not allowed" + grid},
      {R"({"kind": "facility", "TechReqs": [{}, {"TechReqGridSize": "32768"}]})",
       "/TechReqs/1/TechReqGridSize: grid size \"32768\" not allowed" + grid},
      {R"({"kind": "facility", "TechReqs": [{"TechReqGridSize": " 3"}]})",
       "/TechReqs/0/TechReqGridSize: grid size \" 3\" not allowed" + grid},
      // Fields the pages fill only from a fixed list hold only its words, in any letter case.
      {R"({"kind": "component", "WeaponType": "Seeking "})",
       "/WeaponType: \"Seeking \" not allowed; it must be one of None, Direct Fire, Seeking, Point-Defense, Warhead"},
      {R"({"kind": "component", "WeaponDisplayType": "Torpedo"})",
       "/WeaponDisplayType: \"Torpedo\" not allowed; it must be one of Beam, Torp, Seeker"},
      {R"({"kind": "component", "VehicleType": "Ship, Weapon Platform"})",
       "/VehicleType: \"Ship, Weapon Platform\" not allowed; \"Weapon Platform\" is not one of Ship, Base, Satellite, "
       "WeapPlatform, Fighter, Mine, Troop, Drone"},
      {R"({"kind": "component", "VehicleType": "Ship,"})",
       "/VehicleType: \"Ship,\" not allowed; \"\" is not one of Ship, Base, Satellite, WeapPlatform, Fighter, Mine, "
       "Troop, Drone"},
      {R"({"kind": "component", "WeaponTarget": "Ships, {&x}"})",
       "/WeaponTarget: \"Ships, {&x}\" not allowed; \"{&x}\" is not one of Ships, Planets, Seekers, Fighters, "
       "Satellites, Drones"},
      // No value may break a line of the game's file, nor hold another control character.
      {R"({"kind": "component", "CompDesc": "a\nName := Ghost"})",
       "/CompDesc: holds a line break (U+000A) at character 2" + control},
      {R"({"kind": "facility", "Abilities": [{"AbilDesc": "\u00e9\r"}]})",
       "/Abilities/0/AbilDesc: holds a line break (U+000D) at character 2" + control},
      {R"({"kind": "component", "WeaponDamageAtRange": ["1", "", "\t1"]})",
       "/WeaponDamageAtRange/2: holds a tab (U+0009) at character 1" + control},
      {R"({"kind": "component", "TechReqs": [{"TechReqNumberStyle": "x\u0085"}]})",
       "/TechReqs/0/TechReqNumberStyle: holds a control character (U+0085) at character 2" + control},
      {R"({"kind": "facility", "FacName": "\u007f"})",
       "/FacName: holds a control character (U+007F) at character 1" + control},
      // A key written twice is refused where it stands.
      {R"({"kind": "component", "CompName": "A", "CompName": "B"})", "/CompName: key written twice in the same object"},
      {R"({"kind": "component", "kind": "facility"})", "/kind: key written twice in the same object"},
      {R"({"kind": "facility", "Abilities": [{}, {"AbilName": "A", "AbilVal1": "1", "AbilName": "B"}]})",
       "/Abilities/1/AbilName: key written twice in the same object"},
      {R"({"kind": "facility", "a/b": [[1, {"x": 1}], {"k": 1, "k": 2}]})",
       "/a~1b/1/k: key written twice in the same object"},
      {R"({"kind": "component", "TechReqs": {}})", "/TechReqs: must be an array of objects"},
      {R"({"kind": "component", "TechReqs": [{}, "x"]})", "/TechReqs/1: must be an object"},
      {R"({"kind": "component", "TechReqs": [{"TechReqNumStyle": "x"}]})", "/TechReqs/0/TechReqNumStyle: unknown key"},
      {R"({"kind": "facility", "Abilities": [{"AbilVal1": 3}]})", "/Abilities/0/AbilVal1: must be a text"},
      {R"({"kind": "component", "WeaponDamageAtRange": ["1", 2]})", "/WeaponDamageAtRange/1: must be a text"},
      {R"({"kind": "component", "WeaponDamageAtRange": ["","","","","","","","","","","","","","","","","","","","","",""]})",
       "/WeaponDamageAtRange: has more than 21 entries"},
  };
  for (const auto& [json, message] : cases) {
    std::string error;
    EXPECT_FALSE(ParseDesign(json, error)) << json;
    EXPECT_EQ(error, message) << json;
  }
  std::string error;
  for (const char* bad : {"{\n  \"kind\": \"component\",\n  \"CompName\": x\n}", "", "{\"kind\": \"\xFF\"}"}) {
    EXPECT_FALSE(ParseDesign(bad, error));
    EXPECT_TRUE(error.starts_with("malformed JSON: parse error at line ")) << error;
  }
  EXPECT_NE(error.find("line 1, column"), std::string::npos) << error;
}

TEST(DesignFile, FilesAreReplacedOnlyWhenCompleteAndUnreadableOnesNamed) {
  const testing::ScratchDir scratch;
  const fs::path dir = scratch.Path();
  std::string error;
  const vrlComponent laser = testing::SampleDesign("laser.json").component;
  ASSERT_TRUE(SaveDesignFile(dir / "d.json", vrlFacility{}, error)) << error;
  ASSERT_TRUE(SaveDesignFile(dir / "d.json", laser, error)) << error;
  EXPECT_EQ(LoadDesignFile(dir / "d.json", error)->component, laser);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // nothing left beside it

  EXPECT_FALSE(SaveDesignFile(dir / "missing" / "d.json", laser, error));
  EXPECT_NE(error.find("missing"), std::string::npos) << error;
  EXPECT_FALSE(LoadDesignFile(dir / "none.json", error));
  EXPECT_NE(error.find("none.json"), std::string::npos) << error;
  EXPECT_FALSE(LoadDesignFile(dir, error));
  EXPECT_NE(error.find("directory"), std::string::npos) << error;
  std::ofstream(dir / "bad.json") << R"({"kind": "component", "Bogus": 1})";
  EXPECT_FALSE(LoadDesignFile(dir / "bad.json", error));
  EXPECT_EQ(error, "\"" + (dir / "bad.json").string() + "\": /Bogus: unknown key");
}

// What is not a regular file is refused before it is opened (a named pipe would
// block the reading until something writes to it), and so is a file larger than
// any design, without reading it.
TEST(DesignFile, OnlyRegularFilesOfADesignsSizeAreRead) {
  const testing::ScratchDir scratch;
  const fs::path dir = scratch.Path();
  std::ofstream(dir / "large.vorlane.json") << R"({"kind": "component"})";
  fs::resize_file(dir / "large.vorlane.json", kMaxDesignFileBytes + 1);
  std::vector<std::pair<const char*, const char*>> cases{
      {"large.vorlane.json", ": it is larger than 64 MiB, the most a design file may hold"}};
#ifndef _WIN32  // named pipes and devices as files are POSIX's
  ASSERT_EQ(::mkfifo((dir / "pipe.vorlane.json").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", dir / "zero.vorlane.json");
  cases.insert(cases.end(), {{"pipe.vorlane.json", ": it is not a regular file"},
                             {"zero.vorlane.json", ": it is not a regular file"}});
#endif
  for (auto [name, reason] : cases) {
    std::string error;
    EXPECT_FALSE(LoadDesignFile(dir / name, error));
    EXPECT_NE(error.find((dir / name).string()), std::string::npos) << error;
    EXPECT_NE(error.find(reason), std::string::npos) << name << ": " << error;
  }
  // A file of exactly the largest size is read (here, to its first character).
  std::ofstream(dir / "largest.vorlane.json") << "x";
  fs::resize_file(dir / "largest.vorlane.json", kMaxDesignFileBytes);
  std::string error;
  EXPECT_FALSE(LoadDesignFile(dir / "largest.vorlane.json", error));
  EXPECT_NE(error.find("line 1, column 1"), std::string::npos) << error;
}

}  // namespace
}  // namespace vorlane
