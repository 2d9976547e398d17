#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "generate/DesignFile.h"
#include "GenerateTestSupport.h"

namespace vorlane {
namespace {

namespace fs = std::filesystem;

vrlComponent EveryComponentField() {
  vrlComponent c;
  c.SetCompName("Name \"quoted\"");
  c.SetCompDesc("Desc with \\ and / and \xC3\xA9");
  c.SetNumCompLevels("12");
  c.SetGridComp(true);
  c.SetVehicleType("Ship, Base");
  c.SetRestrictions("One Per Vehicle");
  c.SetGeneralGroup("Weapons");
  c.SetFamily("7");
  c.SetCustomGroup("3");
  c.SetPicNum("{&complevel}");
  c.SetNumberStyle("&complevel");
  c.SetRomanStyle("&roman");
  c.SetMinCost("1");
  c.SetOrgCost("2");
  c.SetRadCost("3");
  c.SetSize("4");
  c.SetHP("5");
  c.SetSupplyUse("6");
  c.SetWeaponType("Seeking");
  c.SetWeaponTarget("Ships");
  c.SetWeaponDamageType("Normal");
  c.SetWeaponSound("boom.wav");
  c.SetWeaponDisplayType("Torpedo");
  c.SetWeaponDisplayNum("8");
  c.SetWeaponFamily("9");
  c.SetWeaponReload("10");
  c.SetWeaponToHitMod("11");
  c.SetWeaponSeekerSpeed("12");
  c.SetWeaponSeekerHP("13");
  c.SetNumTechReqs(3);
  for (std::int16_t i = 1; i <= 3; ++i) {
    const std::string n = std::to_string(i);
    c.SetTechReqArea(i, "Area " + n);
    c.SetTechReqLevel(i, "Level " + n);
    c.SetTechReqGridSize(i, n);
    c.SetTechReqNumberStyle(i, "-" + n);
  }
  c.SetNumAbils(2);
  c.SetAbilName(2, "Ability");
  c.SetAbilDesc(2, "Description");
  c.SetAbilVal1(2, "V1");
  c.SetAbilVal2(2, "V2");
  for (std::int16_t r = 1; r <= 21; ++r) c.SetWeaponDamageAtRange(r, std::to_string(100 - r));
  return c;
}

vrlFacility EveryFacilityField() {
  vrlFacility f;
  f.SetFacName("Mine");
  f.SetNumberStyle("&faclevel");
  f.SetRomanStyle("R");
  f.SetFacDesc("Digs.");
  f.SetNumFacLevels("4");
  f.SetGridFac(true);
  f.SetFacGroup("Group");
  f.SetFacFamily("Family");
  f.SetPicNum("5");
  f.SetMinCost("1");
  f.SetOrgCost("2");
  f.SetRadCost("3");
  f.SetNumTechReqs(2);
  f.SetTechReqArea(2, "Mining");
  f.SetTechReqNumStyle(2, ".&techgridlevel2");
  f.SetNumAbils(0);
  return f;
}

std::optional<Design> Parse(const std::string& json, std::string& error) { return ParseDesign(json, error); }

TEST(DesignFile, WritingAndReadingBackGivesTheSameRecord) {
  std::string error;
  const vrlComponent c = EveryComponentField();
  auto design = Parse(DesignToJson(c), error);
  ASSERT_TRUE(design) << error;
  EXPECT_EQ(design->kind, DesignKind::Component);
  EXPECT_EQ(design->component, c);

  const vrlFacility f = EveryFacilityField();
  design = Parse(DesignToJson(f), error);
  ASSERT_TRUE(design) << error;
  EXPECT_EQ(design->kind, DesignKind::Facility);
  EXPECT_EQ(design->facility, f);

  // New records and records without any list entry survive as well.
  EXPECT_EQ(Parse(DesignToJson(vrlComponent{}), error)->component, vrlComponent{});
  vrlComponent empty;
  empty.SetNumTechReqs(0);
  empty.SetNumAbils(0);
  EXPECT_EQ(Parse(DesignToJson(empty), error)->component, empty);
}

TEST(DesignFile, AbsentKeysKeepTheDefaultsAndAnEmptyArrayMeansNone) {
  std::string error;
  auto design = Parse(R"({"kind": "component"})", error);
  ASSERT_TRUE(design) << error;
  EXPECT_EQ(design->component, vrlComponent{});

  design = Parse(R"({"kind": "facility", "TechReqs": [], "Abilities": [{"AbilVal2": "x"}]})", error);
  ASSERT_TRUE(design) << error;
  EXPECT_EQ(design->facility.NumTechReqs(), 0);
  EXPECT_EQ(design->facility.NumAbils(), 1);
  EXPECT_EQ(design->facility.AbilName(1), "");
  EXPECT_EQ(design->facility.AbilVal2(1), "x");

  design = Parse(R"({"kind": "component", "WeaponDamageAtRange": ["5", "4"]})", error);
  ASSERT_TRUE(design) << error;
  EXPECT_EQ(design->component.WeaponDamageAtRange(2), "4");
  EXPECT_EQ(design->component.WeaponDamageAtRange(3), "");
}

TEST(DesignFile, LevelCountsAsTextOrNumber) {
  std::string error;
  struct Case {
    const char* json;
    const char* levels;
  } cases[] = {{"12", "12"}, {"\"12\"", "12"}, {"2.5", "2"}, {"3.5", "4"}, {"\"007\"", "7"}, {"\"abc\"", "0"},
               {"-4", "-4"}};
  for (const auto& k : cases) {
    auto design = Parse(std::string(R"({"kind": "component", "NumCompLevels": )") + k.json + "}", error);
    ASSERT_TRUE(design) << k.json << ": " << error;
    EXPECT_EQ(design->component.NumCompLevels(), k.levels) << k.json;
  }
}

TEST(DesignFile, RefusalsNameThePlace) {
  struct Case {
    const char* json;
    const char* error;
  } cases[] = {
      {R"([1, 2])", "/: a design must be a JSON object"},
      {R"({})", "/kind: missing; it must be \"component\" or \"facility\""},
      {R"({"kind": "vehicle"})", "/kind: must be \"component\" or \"facility\""},
      {R"({"kind": 1})", "/kind: must be \"component\" or \"facility\""},
      {R"({"kind": "component", "Foo": "x"})", "/Foo: unknown key"},
      {R"({"kind": "component", "FacName": "x"})", "/FacName: unknown key"},
      {R"({"kind": "facility", "WeaponType": "None"})", "/WeaponType: unknown key"},
      {R"({"kind": "facility", "WeaponDamageAtRange": []})", "/WeaponDamageAtRange: unknown key"},
      {R"({"kind": "component", "compname": "x"})", "/compname: unknown key"},
      {R"({"kind": "component", "a/b~c": 1})", "/a~1b~0c: unknown key"},
      {R"({"kind": "component", "CompName": 5})", "/CompName: must be a text"},
      {R"({"kind": "component", "MinCost": null})", "/MinCost: must be a text"},
      {R"({"kind": "component", "GridComp": "true"})", "/GridComp: must be true or false"},
      {R"({"kind": "facility", "GridFac": 1})", "/GridFac: must be true or false"},
      {R"({"kind": "component", "NumCompLevels": true})", "/NumCompLevels: must be a text or a number"},
      {R"({"kind": "component", "NumCompLevels": 40000})", "/NumCompLevels: level count out of range"},
      {R"({"kind": "facility", "NumFacLevels": "1e10"})", "/NumFacLevels: level count out of range"},
      {R"({"kind": "component", "TechReqs": {}})", "/TechReqs: must be an array of objects"},
      {R"({"kind": "component", "TechReqs": [{}, "x"]})", "/TechReqs/1: must be an object"},
      {R"({"kind": "component", "TechReqs": [{"TechReqNumStyle": "x"}]})", "/TechReqs/0/TechReqNumStyle: unknown key"},
      {R"({"kind": "facility", "TechReqs": [{"TechReqNumberStyle": "x"}]})",
       "/TechReqs/0/TechReqNumberStyle: unknown key"},
      {R"({"kind": "facility", "Abilities": [{"AbilVal1": 3}]})", "/Abilities/0/AbilVal1: must be a text"},
      {R"({"kind": "component", "WeaponDamageAtRange": "5"})", "/WeaponDamageAtRange: must be an array of texts"},
      {R"({"kind": "component", "WeaponDamageAtRange": ["1", 2]})", "/WeaponDamageAtRange/1: must be a text"},
  };
  for (const auto& k : cases) {
    std::string error;
    EXPECT_FALSE(Parse(k.json, error)) << k.json;
    EXPECT_EQ(error, k.error) << k.json;
  }

  std::string tooMany = R"({"kind": "component", "WeaponDamageAtRange": [)";
  for (int i = 0; i < 22; ++i) tooMany += std::string(i ? "," : "") + "\"1\"";
  std::string error;
  EXPECT_FALSE(Parse(tooMany + "]}", error));
  EXPECT_EQ(error, "/WeaponDamageAtRange: has more than 21 entries");
}

TEST(DesignFile, MalformedJsonNamesLineAndColumn) {
  std::string error;
  EXPECT_FALSE(Parse("{\n  \"kind\": \"component\",\n  \"CompName\": x\n}", error));
  EXPECT_TRUE(error.starts_with("malformed JSON: ")) << error;
  EXPECT_NE(error.find("line 3, column"), std::string::npos) << error;
  EXPECT_FALSE(Parse("", error));
  EXPECT_TRUE(error.starts_with("malformed JSON: ")) << error;
  EXPECT_FALSE(Parse("{\"kind\": \"component\", \"CompName\": \"\xFF\"}", error));
  EXPECT_TRUE(error.starts_with("malformed JSON: ")) << error;
}

class DesignFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    dir_ = fs::temp_directory_path() / ("vorlane-design-test-" + std::to_string(random()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(DesignFileOnDisk, SaveAndLoadReplaceOnlyWhenComplete) {
  std::string error;
  const fs::path file = dir_ / "design.json";
  ASSERT_TRUE(SaveDesignFile(file, EveryComponentField(), error)) << error;
  auto design = LoadDesignFile(file, error);
  ASSERT_TRUE(design) << error;
  EXPECT_EQ(design->component, EveryComponentField());

  // Saving over it replaces it; no temporary file stays behind.
  ASSERT_TRUE(SaveDesignFile(file, EveryFacilityField(), error)) << error;
  design = LoadDesignFile(file, error);
  ASSERT_TRUE(design);
  EXPECT_EQ(design->kind, DesignKind::Facility);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

  // A save into a missing directory fails and creates nothing.
  EXPECT_FALSE(SaveDesignFile(dir_ / "missing" / "design.json", EveryFacilityField(), error));
  EXPECT_NE(error.find("missing"), std::string::npos) << error;
  EXPECT_FALSE(LoadDesignFile(dir_ / "nothing.json", error));
  EXPECT_NE(error.find("nothing.json"), std::string::npos) << error;

  std::ofstream(dir_ / "bad.json") << R"({"kind": "component", "Bogus": 1})";
  EXPECT_FALSE(LoadDesignFile(dir_ / "bad.json", error));
  EXPECT_EQ(error, "\"" + (dir_ / "bad.json").string() + "\": /Bogus: unknown key");
}

TEST(DesignFile, TheSampleLaserIsTheWorkedExample) {
  std::string error;
  auto design = LoadDesignFile(fs::path(VORLANE_TEST_DATA_DIR) / "laser.json", error);
  ASSERT_TRUE(design) << error;
  EXPECT_EQ(design->component, testing::LaserComponent());
}

}  // namespace
}  // namespace vorlane
