#include <gtest/gtest.h>

#include <functional>

#include "GenerateTestSupport.h"
#include "generate/CompGenerate.h"
#include "generate/FacGenerate.h"

namespace vorlane {
namespace {

using namespace vorlane::testing;

TEST(FormulaStep, VariableNamesEndAtTheFirstCharacterThatIsNoLetterOrDigit) {
  const std::pair<std::string, std::string> cases[] = {
      {"&CompName Mk2", "&CompName"}, {"&compname's", "&compname"}, {"&compname2", "&compname2"},
      {"x&", "&"}, {"&& y", "&&"}, {"&&complevel", "&&complevel"}, {"&\xC3\xA9t\xC3\xA9", "&\xC3\xA9t"}};
  for (const auto& [text, name] : cases) EXPECT_EQ(ReadVariableName(text, text.find('&')), name) << text;
  EXPECT_TRUE(IsLetter("Z1"));
  EXPECT_FALSE(IsLetter("1"));
  EXPECT_FALSE(IsLetter("\xC3\xA9"));
}

// Steps `text` on a prepared generator until it is finished or fails; gives
// every intermediate text, "FAILED" last for a failure.
std::vector<std::string> Steps(GenerationModule& gen, std::string text) {
  std::vector<std::string> seen;
  FieldState state;
  for (int i = 0; i < 20 && !state.BracesDone; ++i) {
    if (!gen.EvaluateFieldStep(text, state)) return seen.push_back("FAILED"), seen;
    seen.push_back(text);
  }
  return seen;
}

struct StepTest : ::testing::Test {
  StepTest() {
    component.SetNumTechReqs(2);
    component.SetNumAbils(1);
    gen.Prepare(component, sink);
    gen.SetLevelText("3");
  }
  ~StepTest() override { gen.Release(); }
  vrlComponent component = Bare<vrlComponent>("Laser");
  RecordingSink sink;
  CompGenerate gen;
};

TEST_F(StepTest, OneStepDoesOneSubstitutionOrOneGroupOrFindsTheFieldClean) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Steps(gen, "Cost {&complevel * 100}"), (V{"Cost {3 * 100}", "Cost 300", "Cost 300"}));
  EXPECT_EQ(Steps(gen, "{2*{3+1}}"), (V{"8", "8"}));
  EXPECT_EQ(Steps(gen, "{1}+{2}"), (V{"1+{2}", "1+2", "1+2"}));
  EXPECT_EQ(Steps(gen, "100% literal"), (V{"100% literal"}));
  for (auto [formula, value] : {std::pair{"{10/4}", "2.5"}, {"{1/3}", "0.333333333333333"}, {"{1/0}", "0"},
                                {"{abc+1}", "1"}, {"x{-1/2}y", "x-0.5y"}, {"&Complevel{&COMPLEVEL}", "33"}}) {
    EXPECT_EQ(Steps(gen, formula).back(), value) << formula;
  }
  // Variables of fields not finished yet wait, unchanged.
  for (const char* waiting : {"&compdesc", "&techlevel1", "&techarea2", "&abil1descr", "&weapdmg21", "&weapdmgtype"}) {
    std::string text = waiting;
    FieldState state;
    EXPECT_TRUE(gen.EvaluateFieldStep(text, state) && text == waiting && !state.VarsDone) << waiting;
  }
  EXPECT_TRUE(sink.messages.empty());
}

TEST_F(StepTest, EveryMessageOfTheLanguageWithItsExactTextAndTitle) {
  const std::string level = "contains invalid tech req number.", other = "contains an invalid tech req number.",
                    range = ":\r\nWeapon range must be between 1 and 21.";
  const std::pair<std::string, Message> cases[] = {
      {"{1+2", {"Error", "Error: Not enough closing braces"}},
      {"}1{", {"Error", "Error: Not enough closing braces"}},
      {"a {(} b", {"Error", "Error parsing string for evaluation:\r\n{(}"}},
      {"&techlevel0", {"Error", "Variable &techlevel0" + level}},
      {"&TechLevel3", {"Error", "Variable &techlevel3" + level}},
      {"&techlevel99999", {"Error", "Variable &techlevel99999" + level}},  // beyond 16 bits
      {"&techarea3", {"Error", "Variable &techarea3" + other}},
      {"&techgridlevel0", {"Error", "Variable &techgridlevel0" + other}},
      {"&techgridlevel1", {"Vorlane", "&TechGridLevel is not a valid variable\r\nfor non-grid components."}},
      {"&abil2val1", {"Error", "Variable &abil2val1contains an invalid ability number."}},
      {"&abil99999999999999999999type", {"Error", "Variable &abil99999999999999999999typecontains an invalid ability number."}},
      {"&weapdmg22", {"Error", "Error processing string &weapdmg22" + range}},
      {"&WeapDmg0", {"Error", "Error processing string &weapdmg0" + range}},
      {"&weapdmg70000", {"Error", "Error processing string &weapdmg70000" + range}},
  };
  for (const auto& [formula, message] : cases) {
    sink.messages.clear();
    EXPECT_EQ(Steps(gen, formula).back(), "FAILED") << formula;
    EXPECT_EQ(sink.messages, Messages{message}) << formula;
  }
  EXPECT_TRUE(sink.okOnly);
}

TEST_F(StepTest, UnrecognisedNamesFailWithoutAMessageOfTheirOwn) {
  for (const char* formula : {"&compname2", "&", "&nosuch", "&abil1val3", "&techno1", "&\xC3\xA9"}) {
    EXPECT_EQ(Steps(gen, formula), std::vector<std::string>{"FAILED"}) << formula;
  }
  EXPECT_TRUE(sink.messages.empty());
}

// Generates a one-level component whose description is `formula`; gives the
// description line's value, or the first message when it failed.
std::string Description(const std::string& formula, vrlComponent c = Bare<vrlComponent>("AT&&T")) {
  c.SetCompDesc(formula);
  RecordingSink sink;
  const GenerationResult result = CompGenerate().Generate(c, sink);
  if (!result.Generated()) return "FAILED " + sink.messages.at(0).text;
  return Values(result.text, "Description").at(0);
}

TEST(FormulaStepAmpersand, TwoAmpersandsWriteOneThatIsNeverReadAgain) {
  const std::pair<const char*, const char*> cases[] = {
      {"A && B", "A & B"}, {"AT&&T", "AT&T"}, {"&&&&", "&&"}, {"&&complevel", "&complevel"},
      {"&&&complevel", "&1"}, {"x &&&compname's", "x &AT&T's"}, {"{1+2} && {3}", "3 & 3"},
      // A single ampersand still starts a variable.
      {"Ships & Bases", "FAILED Error parsing string: \r\nShips & Bases"},
      {"A && B &x", "FAILED Error parsing string: \r\nA & B &x"},
  };
  for (const auto& [formula, expected] : cases) EXPECT_EQ(Description(formula), expected) << formula;
  RecordingSink sink;
  const GenerationResult result = CompGenerate().Generate(Bare<vrlComponent>("AT&&T"), sink);
  EXPECT_EQ(Values(result.text, "Name"), std::vector<std::string>{"AT&T"});
  EXPECT_EQ(result.windowTitle, "Component Generation Results - [AT&T]");
}

TEST(FormulaStepFinite, ValuesThatAreOrReadBackAsInfiniteAreRefusedWithFieldAndLevel) {
  const std::string finite = " does not give a finite number.";
  const std::pair<std::function<void(vrlComponent&)>, std::string> cases[] = {
      {[](vrlComponent& c) { c.SetMinCost("{1.7976931348623157e308}"); },
       "Error in MinCost at level 1:\r\n{1.7976931348623157e308}" + finite},
      // The largest numbers round up to a text beyond the largest double.
      {[](vrlComponent& c) { c.SetSize("{&complevel*8.988465674311576e307}"); },
       "Error in Size at level 2:\r\n{2*8.988465674311576e307}" + finite},
      {[](vrlComponent& c) { c.SetTechReqLevel(1, "{-1.7976931348623157e308}"); },
       "Error in TechReqLevel 1 at level 1:\r\n{-1.7976931348623157e308}" + finite},
      {[](vrlComponent& c) { c.SetWeaponDamageAtRange(1, "1e400"); },
       "Error in WeaponDamageAtRange 1 at level 1:\r\n1e400" + finite},
      {[](vrlComponent& c) { c.SetWeaponDamageAtRange(21, "-1e400 x"); },
       "Error in WeaponDamageAtRange 21 at level 1:\r\n-1e400 x" + finite},
  };
  for (const auto& [set, message] : cases) {
    vrlComponent c = Bare<vrlComponent>("Laser", "2");
    c.SetNumTechReqs(1);
    c.SetWeaponType("Direct Fire");
    set(c);
    RecordingSink sink;
    const GenerationResult result = CompGenerate().Generate(c, sink);
    EXPECT_FALSE(result.Generated()) << message;
    EXPECT_TRUE(result.text.empty());
    ASSERT_FALSE(sink.messages.empty());
    EXPECT_EQ(sink.messages[0], (Message{"Error", message}));
    EXPECT_EQ(sink.messages.back(), (Message{"Error", "Component not generated."}));
  }
}

TEST(FormulaStepFacility, FacilityWordsAndFamilies) {
  vrlFacility f = Bare<vrlFacility>("Mine");
  f.SetNumTechReqs(1);
  RecordingSink sink;
  FacGenerate gen;
  gen.Prepare(f, sink);
  gen.SetLevelText("4");
  EXPECT_EQ(Steps(gen, "Level &FACLEVEL").front(), "Level 4");
  EXPECT_EQ(Steps(gen, "&weapdmg1").back(), "FAILED");  // no damage family here
  EXPECT_EQ(Steps(gen, "&complevel").back(), "FAILED");
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(Steps(gen, "&techgridlevel1").back(), "FAILED");
  EXPECT_EQ(sink.messages, (Messages{{"Vorlane", "&TechGridLevel is not a valid variable\r\nfor non-grid facilities."}}));
  gen.Release();
}

TEST(FormulaStepGrowth, AFieldThatWouldGrowWithoutBoundIsRefused) {
  vrlComponent c = Bare<vrlComponent>(std::string(40000, 'x'));
  c.SetCompDesc("&compname&compname");
  RecordingSink sink;
  CompGenerate gen;
  EXPECT_FALSE(gen.Generate(c, sink).Generated());
  ASSERT_EQ(sink.messages.size(), 4u);
  EXPECT_EQ(sink.messages[0],
            (Message{"Error", "Error processing string &compname:\r\nThe text would grow beyond 65535 characters."}));
  EXPECT_EQ(sink.messages[1].text, "Error parsing string: \r\n" + std::string(40000, 'x') + "&compname");

  // A text already past the limit may shrink.
  const std::string long_text(70000, 'x');
  EXPECT_EQ(Description(long_text + "&compname", Bare<vrlComponent>("")), long_text);
}

}  // namespace
}  // namespace vorlane
