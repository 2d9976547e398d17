#include "generate/DesignCheck.h"

#include <gtest/gtest.h>

#include "GenerateTestSupport.h"
#include "generate/CompGenerate.h"
#include "generate/FacGenerate.h"

namespace vorlane {
namespace {

using namespace vorlane::testing;

TEST(DesignCheck, GenerationRefusesControlCharactersWhateverTheRecordsSource) {
  const std::string rule = "; a value may hold no line breaks or other control characters.";
  vrlComponent c = Bare<vrlComponent>("Laser");
  c.SetCompDesc("Tab\there");
  RecordingSink sink;
  GenerationResult result = CompGenerate().Generate(c, sink);
  EXPECT_FALSE(result.Generated());
  EXPECT_EQ(result.text, "");
  EXPECT_EQ(sink.messages, (Messages{{"Error", "CompDesc holds a tab (U+0009) at character 4" + rule},
                                     {"Error", "Component not generated."}}));

  vrlFacility f = FromDesign<vrlFacility>(R"("GridFac": true, "TechReqs": [{"TechReqGridSize": "2"}])");
  f.SetTechReqArea(1, "x\r\nName := Ghost");
  sink.messages.clear();
  EXPECT_FALSE(FacGenerate().Generate(f, sink).Generated());
  EXPECT_EQ(sink.messages, (Messages{{"Error", "TechReqArea 1 holds a line break (U+000D) at character 2" + rule},
                                     {"Error", "Facility not generated."}}));
}

// Long texts are passed in blocks: a control character anywhere, a two-byte
// one split across blocks, and the character count before it.
TEST(DesignCheck, ControlCharactersAreFoundAnywhereInALongText) {
  const std::string e = "\xC3\xA9";  // é: two bytes, one character
  const struct {
    std::string text;
    std::string found;  // "" for none
  } cases[] = {
      {std::string(63, 'a') + "\t", "a tab (U+0009) at character 64"},
      {std::string(64, 'a') + "\x7F", "a control character (U+007F) at character 65"},
      {std::string(63, 'a') + "\xC2\x85", "a control character (U+0085) at character 64"},
      {std::string(63, 'a') + "\xC2\xA0" + std::string(100, 'b'), ""},
      {std::string(200, 'a') + "\xC2", ""},
      {"\xC2\xA0" + std::string(1000, 'b') + "\x01", "a control character (U+0001) at character 1002"},
      {[&] { std::string t; for (int i = 0; i < 100; ++i) t += e; return t; }() + "\n",
       "a line break (U+000A) at character 101"},
      {std::string(100000, 'x'), ""},
  };
  for (const auto& c : cases) {
    const auto problem = ControlCharacterProblem(c.text);
    if (c.found.empty()) {
      EXPECT_FALSE(problem) << *problem;
    } else {
      ASSERT_TRUE(problem) << c.found;
      EXPECT_EQ(problem->substr(0, problem->find(';')), "holds " + c.found);
    }
  }
}

TEST(DesignCheck, WhatTheWizardPagesRefuseInTheirWordsAndOrder) {
  EXPECT_EQ(FindPageRefusals(SampleDesign("laser.json").component), std::vector<PageRefusal>{});
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {R"("CompName": "", "Family": "", "CustomGroup": "", "Restrictions": "", "HP": "",
          "VehicleType": "ship, drone")",  // the page sets no box for either: letter case counts there
       {"You must enter a name for your component.", "You must include a family number.",
        "You must include a custom group number.", "You must include a restrictions setting.",
        "You must select at least one vehicle type.", "You must enter a hitpoint start value."}},
      {R"("TechReqs": [{"TechReqArea": "Lasers"}, {}], "Abilities": [{"AbilName": "Armor"}, {}, {"AbilName": "Armor"}])",
       {"Technology Requirement 2: You must provide a tech area for this tech requirement.",
        "Component Ability 2: You must fill in a type for this ability."}},
      {R"("WeaponType": "Seeking", "WeaponDamageType": "Normal", "WeaponReload": "1", "WeaponToHitMod": "0",
          "WeaponSeekerSpeed": "1")",
       {"You must enter all information."}},
      // Another weapon needs no seeker fields.
      {R"("WeaponType": "Direct Fire", "WeaponDamageType": "Normal", "WeaponReload": "1", "WeaponToHitMod": "0")", {}},
  };
  for (const auto& [edit, texts] : cases) {
    std::vector<std::string> found;
    for (const PageRefusal& refusal : FindPageRefusals(FromDesign<vrlComponent>(edit, "laser.json"))) {
      EXPECT_EQ(refusal.title, "Vorlane");
      found.push_back(refusal.text);
    }
    EXPECT_EQ(found, texts);
  }

  vrlFacility f;
  f.SetGridFac(true);
  f.SetTechReqArea(1, "Mining");
  f.SetAbilName(1, "Mine");
  EXPECT_EQ(FindPageRefusals(f),
            (std::vector<PageRefusal>{{"Vorlane", "You must enter a name for your facility."},
                                      {"Vorlane", "You must include a family number."},
                                      {"Error", "Technology Requirement 1: You must include a tech grid size for this "
                                                "tech req."}}));
}

}  // namespace
}  // namespace vorlane
