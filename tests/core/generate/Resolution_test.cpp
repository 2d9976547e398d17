#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "GenerateTestSupport.h"
#include "generate/CompGenerate.h"
#include "generate/FacGenerate.h"

namespace vorlane {
namespace {

using namespace vorlane::testing;
using S = CompGenerate::Slot;

struct Resolution : ::testing::Test {
  // Makes one entry of `c`; the passes its resolution took, 0 on failure
  // (whose closing "Error during parsing." is taken off the messages).
  int Resolve(const vrlComponent& c, int level = 1) {
    sink.messages.clear();
    gen.Prepare(c, sink);
    std::string out;
    GenerationResult refused;
    const bool ok = gen.WriteOneEntry(level, {}, out, refused);
    gen.Release();
    if (ok) return gen.PassesUsed();
    const Message parsing{"Error", "Error during parsing."};
    EXPECT_EQ(sink.messages.empty() ? Message{} : sink.messages.back(), parsing);
    if (!sink.messages.empty()) sink.messages.pop_back();
    return 0;
  }
  const Messages tooMany{{"Too many cross-references", "Variables could not all be resolved in 50 iterations."}};
  RecordingSink sink;
  CompGenerate gen;
  vrlComponent c = Bare<vrlComponent>("Laser");
};

TEST_F(Resolution, PassCountsFollowTheSlotOrder) {
  EXPECT_EQ(Resolve(c), 1);
  c.SetCompDesc("&compname beam");
  EXPECT_EQ(Resolve(c), 2);
  EXPECT_EQ(gen.FieldText(S::kCompDesc), "Laser beam");
  // A reference to a later slot waits one pass longer.
  c.SetCompName("&compdesc");
  c.SetCompDesc("Long range");
  EXPECT_EQ(Resolve(c), 3);
  EXPECT_EQ(gen.FieldText(S::kCompName), "Long range");
  // A chain through the lists: each link waits for the pass after its field
  // was found finished.
  c = FromDesign<vrlComponent>(R"("CompName": "&mincost units", "MinCost": "&abil1val1",
      "TechReqs": [{"TechReqLevel": "&complevel"}], "Abilities": [{"AbilVal1": "&techlevel1"}])");
  EXPECT_EQ(Resolve(c, 7), 7);
  EXPECT_EQ(gen.FieldText(S::kCompName), "7 units");
  // 49 groups finish in pass 50; 50 do not.
  std::string groups;
  for (int i = 0; i < 49; ++i) groups += "{1}";
  c.SetCompDesc(groups);
  EXPECT_EQ(Resolve(c), 50);
  c.SetCompDesc(groups + "{1}");
  EXPECT_EQ(Resolve(c), 0);
  EXPECT_EQ(sink.messages, tooMany);
}

TEST_F(Resolution, FieldsThatNeverFinishEndInTheFiftyPassMessage) {
  for (auto [name, desc] : {std::pair{"&compdesc", "&compname"},  // waiting for each other
                            {"Laser", "&weapdmg3"},               // damage of a design that is no weapon
                            {"Laser", "&techlevel01"}}) {         // rebuilt without the zero, never found
    c = Bare<vrlComponent>(name);
    c.SetNumTechReqs(1);
    c.SetCompDesc(desc);
    EXPECT_EQ(Resolve(c), 0);
    EXPECT_EQ(sink.messages, tooMany) << desc;
  }
}

TEST_F(Resolution, AFailedStepShowsTheFieldAsFarAsItGot) {
  c.SetMinCost("&complevel &nosuch");
  EXPECT_EQ(Resolve(c, 3), 0);
  EXPECT_EQ(sink.messages, (Messages{{"Error", "Error parsing string: \r\n3 &nosuch"}}));
  // Weapon slots are stepped in every design.
  c = Bare<vrlComponent>("Laser");
  c.SetWeaponTarget("&nosuch");
  EXPECT_EQ(Resolve(c), 0);
  EXPECT_EQ(sink.messages, (Messages{{"Error", "Error parsing string: \r\n&nosuch"}}));
  // ... but a design that is no weapon does not wait for them.
  c = Bare<vrlComponent>("Laser");
  c.SetWeaponSeekerSpeed("&weapseekerhp");
  c.SetWeaponSeekerHP("&weapseekerspeed");
  EXPECT_EQ(Resolve(c), 1);
  c.SetWeaponType("SEEKING");
  EXPECT_EQ(Resolve(c), 0);
}

TEST_F(Resolution, DamageTextsAreCutToTheirLeadingNumberOnceFinished) {
  c.SetWeaponType("Direct Fire");
  c.SetWeaponDamageType("Normal");
  c.SetWeaponTarget("&weapdmgtype, &weapdmg2");
  const std::pair<const char*, const char*> cases[] = {
      {" 12 ", "12"}, {"7.50", "7.5"}, {"", "0"}, {"abc", "0"}, {"1 000", "1000"}, {"2.5E+3 range", "2500"},
      {"{&complevel*10}", "30"}, {"5+{1}", "5"}, {"{&weapdmg2/3}", "2.5"}, {"&weapdmg7", "30"}};
  for (std::int16_t r = 1; r <= 10; ++r) c.SetWeaponDamageAtRange(r, cases[r - 1].first);
  ASSERT_GT(Resolve(c, 3), 0);
  for (std::int16_t r = 1; r <= 10; ++r) EXPECT_EQ(gen.DamageText(r), cases[r - 1].second) << cases[r - 1].first;
  EXPECT_EQ(gen.FieldText(S::kWeaponTarget), "Normal, 7.5");
}

// Each named variable of the formula language and the field it stands for:
// the field holds "value", the description (the name, for the description's
// own variable) holds the variable, and the entry shows "value" there.
template <typename Generator, typename Record>
void ExpectNamedVariables(const std::vector<std::pair<std::string, void (Record::*)(std::string)>>& named,
                          const std::string& descriptionVariable, void (Record::*setDescription)(std::string)) {
  for (const auto& [variable, set] : named) {
    SCOPED_TRACE(variable);
    Record r = Bare<Record>("Name");
    (r.*set)("value");
    const bool inName = variable == descriptionVariable;
    if (!inName) {
      (r.*setDescription)(variable);
    } else if constexpr (requires { r.SetCompName(variable); }) {
      r.SetCompName(variable);
    } else {
      r.SetFacName(variable);
    }
    RecordingSink sink;
    const std::string text = Generator().Generate(r, sink).text;
    EXPECT_NE(text.find(Line(inName ? "Name" : "Description", "value")), std::string::npos) << text;
  }
}

TEST(NamedVariables, StandForTheirFields) {
  using C = vrlComponent;
  ExpectNamedVariables<CompGenerate, C>(
      {{"&compname", &C::SetCompName}, {"&compdesc", &C::SetCompDesc}, {"&picnum", &C::SetPicNum},
       {"&size", &C::SetSize}, {"&hp", &C::SetHP}, {"&mincost", &C::SetMinCost}, {"&orgcost", &C::SetOrgCost},
       {"&radcost", &C::SetRadCost}, {"&vehicletype", &C::SetVehicleType}, {"&supply", &C::SetSupplyUse},
       {"&restr", &C::SetRestrictions}, {"&gengroup", &C::SetGeneralGroup}, {"&family", &C::SetFamily},
       {"&roman", &C::SetRomanStyle}, {"&custgroup", &C::SetCustomGroup}, {"&weaptype", &C::SetWeaponType},
       {"&weaptarg", &C::SetWeaponTarget}, {"&weapdmgtype", &C::SetWeaponDamageType},
       {"&weapreload", &C::SetWeaponReload}, {"&weapdisptype", &C::SetWeaponDisplayType},
       {"&weapdispnum", &C::SetWeaponDisplayNum}, {"&weaptohit", &C::SetWeaponToHitMod},
       {"&weapsound", &C::SetWeaponSound}, {"&weapfamily", &C::SetWeaponFamily},
       {"&weapseekerspeed", &C::SetWeaponSeekerSpeed}, {"&weapseekerhp", &C::SetWeaponSeekerHP}},
      "&compdesc", &C::SetCompDesc);
  using F = vrlFacility;
  ExpectNamedVariables<FacGenerate, F>(
      {{"&facname", &F::SetFacName}, {"&facdesc", &F::SetFacDesc}, {"&picnum", &F::SetPicNum},
       {"&mincost", &F::SetMinCost}, {"&orgcost", &F::SetOrgCost}, {"&radcost", &F::SetRadCost},
       {"&facgroup", &F::SetFacGroup}, {"&family", &F::SetFacFamily}, {"&roman", &F::SetRomanStyle}},
      "&facdesc", &F::SetFacDesc);
}

}  // namespace
}  // namespace vorlane
