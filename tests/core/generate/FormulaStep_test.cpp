#include <gtest/gtest.h>

#include "generate/CompGenerate.h"
#include "generate/FacGenerate.h"
#include "generate/FormulaText.h"
#include "GenerateTestSupport.h"

namespace vorlane {
namespace {

using testing::BareComponent;
using testing::BareFacility;
using testing::Message;
using testing::RecordingSink;

const std::string kCrLf = "\r\n";

TEST(FormulaText, VariableNamesEndAtTheFirstCharacterThatIsNoLetterOrDigit) {
  struct Case {
    const char* text;
    const char* name;
  } cases[] = {
      {"&CompName Mk2", "&CompName"}, {"&compname's", "&compname"}, {"&compname2", "&compname2"},
      {"x&", "&"},                    {"&& y", "&&"},               {"&&complevel", "&&complevel"},
      {"&abil1val1+1", "&abil1val1"}, {"&\xC3\xA9t\xC3\xA9", "&\xC3\xA9t"}, {"&_a", "&_a"},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(ReadVariableName(text, text.find('&')), c.name) << c.text;
  }
  EXPECT_TRUE(IsLetter("a"));
  EXPECT_TRUE(IsLetter("Z1"));
  EXPECT_FALSE(IsLetter("1"));
  EXPECT_FALSE(IsLetter(""));
  EXPECT_FALSE(IsLetter("\xC3\xA9"));
}

TEST(FormulaText, CaseBlindSearchFoldsOnlyAsciiLetters) {
  std::string text = "a &CompName and &compname";
  EXPECT_EQ(FindNoCase(text, "&COMPNAME"), 2u);
  EXPECT_TRUE(ReplaceFirstNoCase(text, "&compname", "Laser"));
  EXPECT_EQ(text, "a Laser and &compname");
  EXPECT_FALSE(ReplaceFirstNoCase(text, "&nosuch", "x"));
  EXPECT_EQ(FindNoCase("\xC3\x89", "\xC3\xA9"), std::string::npos);
  EXPECT_EQ(CharacterCount("a\xC3\xA9z"), 3u);
}

// Steps a formula of a prepared component until it is finished or fails,
// recording every intermediate text.
std::vector<std::string> Steps(CompGenerate& gen, std::string text, bool& ok) {
  std::vector<std::string> seen;
  FieldState state;
  ok = true;
  for (int i = 0; i < 20 && !state.BracesDone; ++i) {
    if (!gen.EvaluateFieldStep(text, state)) {
      ok = false;
      break;
    }
    seen.push_back(text);
  }
  return seen;
}

TEST(FormulaStep, OneStepDoesExactlyOneSubstitutionOrEvaluation) {
  REQUIRE_EVALUATOR();
  vrlComponent c = BareComponent();
  RecordingSink sink;
  CompGenerate gen;
  gen.Prepare(c, sink);
  gen.SetLevelText("3");
  bool ok = false;
  EXPECT_EQ(Steps(gen, "Cost {&complevel * 100}", ok),
            (std::vector<std::string>{"Cost {3 * 100}", "Cost 300", "Cost 300"}));
  EXPECT_EQ(Steps(gen, "{2*{3+1}}", ok), (std::vector<std::string>{"8", "8"}));
  EXPECT_EQ(Steps(gen, "{1}+{2}", ok), (std::vector<std::string>{"1+{2}", "1+2", "1+2"}));
  struct Case {
    const char* formula;
    const char* value;
  } values[] = {{"{10/4}", "2.5"}, {"{1/3}", "0.333333333333333"}, {"{2*3}", "6"},
                {"{1/0}", "0"},    {"{abc+1}", "1"},                {"x{-1/2}y", "x-0.5y"}};
  for (const auto& v : values) {
    auto seen = Steps(gen, v.formula, ok);
    ASSERT_TRUE(ok) << v.formula;
    EXPECT_EQ(seen.back(), v.value) << v.formula;
  }
  EXPECT_TRUE(sink.messages.empty());
  gen.Release();
}

TEST(FormulaStep, PlainTextIsFinishedInTwoStepsWithoutTouchingTheEvaluator) {
  vrlComponent c = BareComponent();
  RecordingSink sink;
  CompGenerate gen;
  gen.Prepare(c, sink);
  std::string text = "Plain text, 100% literal";
  FieldState state;
  ASSERT_TRUE(gen.EvaluateFieldStep(text, state));
  EXPECT_EQ(state, (FieldState{true, true}));
  EXPECT_EQ(text, "Plain text, 100% literal");
  // A finished field stays finished and unchanged.
  ASSERT_TRUE(gen.EvaluateFieldStep(text, state));
  EXPECT_EQ(text, "Plain text, 100% literal");
  gen.Release();
}

// Runs single steps on `formula` until one fails; gives the messages shown.
std::vector<Message> FailingStep(const vrlComponent& c, const std::string& formula) {
  RecordingSink sink;
  CompGenerate gen;
  gen.Prepare(c, sink);
  std::string text = formula;
  FieldState state;
  bool ok = true;
  for (int i = 0; i < 10 && ok && !state.BracesDone; ++i) ok = gen.EvaluateFieldStep(text, state);
  EXPECT_FALSE(ok) << formula;
  EXPECT_TRUE(sink.okOnly);
  gen.Release();
  return sink.messages;
}

TEST(FormulaStep, EveryMessageOfTheLanguageWithItsExactTextAndTitle) {
  vrlComponent c = BareComponent();
  c.SetNumTechReqs(2);
  c.SetNumAbils(1);
  const std::string techLevel = "contains invalid tech req number.";
  const std::string techOther = "contains an invalid tech req number.";
  struct Case {
    const char* formula;
    Message message;
  } cases[] = {
      {"{1+2", {"Error", "Error: Not enough closing braces"}},
      {"}1{", {"Error", "Error: Not enough closing braces"}},
      {"{{1}", {"Error", "Error: Not enough closing braces"}},
      {"&techlevel0", {"Error", "Variable &techlevel0" + techLevel}},
      {"&TechLevel3", {"Error", "Variable &techlevel3" + techLevel}},
      {"&techlevel99999", {"Error", "Variable &techlevel99999" + techLevel}},
      {"&techlevel1e10", {"Error", "Variable &techlevel1e10" + techLevel}},
      {"&techarea3", {"Error", "Variable &techarea3" + techOther}},
      {"&techgridlevel0", {"Error", "Variable &techgridlevel0" + techOther}},
      {"&techgridlevel1", {"Vorlane", "&TechGridLevel is not a valid variable\r\nfor non-grid components."}},
      {"&abil2val1", {"Error", "Variable &abil2val1contains an invalid ability number."}},
      {"&abiltype", {"Error", "Variable &abiltypecontains an invalid ability number."}},
      {"&abil99999999999999999999type", {"Error", "Variable &abil99999999999999999999typecontains an invalid ability number."}},
      {"&weapdmg22", {"Error", "Error processing string &weapdmg22:\r\nWeapon range must be between 1 and 21."}},
      {"&WeapDmg0", {"Error", "Error processing string &weapdmg0:\r\nWeapon range must be between 1 and 21."}},
      {"&weapdmg70000", {"Error", "Error processing string &weapdmg70000:\r\nWeapon range must be between 1 and 21."}},
  };
  for (const auto& k : cases) {
    EXPECT_EQ(FailingStep(c, k.formula), std::vector<Message>{k.message}) << k.formula;
  }
}

TEST(FormulaStep, AGroupTheEvaluatorRefusesIsShownWhole) {
  REQUIRE_EVALUATOR();
  EXPECT_EQ(FailingStep(BareComponent(), "a {(} b"),
            (std::vector<Message>{{"Error", "Error parsing string for evaluation:\r\n{(}"}}));
}

TEST(FormulaStep, UnrecognisedNamesFailWithoutAMessageOfTheirOwn) {
  vrlComponent c = BareComponent();
  c.SetNumAbils(1);
  for (const char* formula : {"&compname2", "&", "x & y", "&nosuch", "&abil1val3", "&techno1", "&&complevel",
                              "&\xC3\xA9t\xC3\xA9"}) {
    EXPECT_TRUE(FailingStep(c, formula).empty()) << formula;
  }
  // The escape turns "&&" into "&", which the next step reads as a name.
  RecordingSink sink;
  CompGenerate gen;
  gen.Prepare(c, sink);
  std::string text = "AT&& T &&";
  FieldState state;
  ASSERT_TRUE(gen.EvaluateFieldStep(text, state));
  EXPECT_EQ(text, "AT& T &");
  EXPECT_FALSE(gen.EvaluateFieldStep(text, state));
  EXPECT_TRUE(sink.messages.empty());
  gen.Release();
}

TEST(FormulaStep, FacilityWordsAndFamilies) {
  vrlFacility f = BareFacility();
  f.SetNumTechReqs(1);
  RecordingSink sink;
  FacGenerate gen;
  gen.Prepare(f, sink);
  gen.SetLevelText("4");
  std::string text = "Level &FACLEVEL";
  FieldState state;
  ASSERT_TRUE(gen.EvaluateFieldStep(text, state));
  EXPECT_EQ(text, "Level 4");
  // No damage family on this side, and the level variable of the other side
  // is unknown here.
  for (const char* formula : {"&weapdmg1", "&complevel"}) {
    text = formula;
    state = {};
    EXPECT_FALSE(gen.EvaluateFieldStep(text, state)) << formula;
  }
  EXPECT_TRUE(sink.messages.empty());
  text = "&techgridlevel1";
  state = {};
  EXPECT_FALSE(gen.EvaluateFieldStep(text, state));
  EXPECT_EQ(sink.messages,
            (std::vector<Message>{{"Vorlane", "&TechGridLevel is not a valid variable\r\nfor non-grid facilities."}}));
  gen.Release();
}

TEST(FormulaStep, VariablesWaitUntilTheirFieldIsFinished) {
  vrlComponent c = BareComponent();
  c.SetNumTechReqs(1);
  c.SetNumAbils(1);
  RecordingSink sink;
  CompGenerate gen;
  gen.Prepare(c, sink);
  for (const char* formula : {"&compdesc", "&techlevel1", "&techarea1", "&abil1descr", "&weapdmg21", "&weapdmgtype"}) {
    std::string text = formula;
    FieldState state;
    ASSERT_TRUE(gen.EvaluateFieldStep(text, state)) << formula;
    EXPECT_EQ(text, formula);
    EXPECT_FALSE(state.VarsDone);
  }
  EXPECT_TRUE(sink.messages.empty());
  gen.Release();
}

TEST(FormulaStep, AFieldThatWouldGrowWithoutBoundIsRefused) {
  // Every description doubles the text of the one before it; the growth is
  // stopped with a message before it eats the memory.
  vrlComponent c = BareComponent();
  c.SetCompName(std::string(40000, 'x'));
  c.SetCompDesc("&compname&compname");
  RecordingSink sink;
  CompGenerate gen;
  gen.Prepare(c, sink);
  gen.LoadComponentFields();
  EXPECT_FALSE(gen.ResolveComponentFields());
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[0], (Message{"Error", "Error processing string &compname:\r\nThe text would grow beyond "
                                                "65535 characters."}));
  EXPECT_EQ(sink.messages[1].text, "Error parsing string: \r\n" + std::string(40000, 'x') + "&compname");
  gen.Release();
}

}  // namespace
}  // namespace vorlane
