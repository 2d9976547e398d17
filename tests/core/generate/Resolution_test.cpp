#include <gtest/gtest.h>

#include "generate/CompGenerate.h"
#include "generate/FacGenerate.h"
#include "GenerateTestSupport.h"

namespace vorlane {
namespace {

using testing::BareComponent;
using testing::BareFacility;
using testing::Message;
using testing::RecordingSink;
using S = CompGenerate::Slot;

// Loads and resolves one entry of `c` at level `level`.
struct Resolved {
  bool ok = false;
  int passes = 0;
  std::vector<Message> messages;
};

Resolved Resolve(CompGenerate& gen, const vrlComponent& c, const std::string& level = "1") {
  RecordingSink sink;
  gen.Prepare(c, sink);
  gen.SetLevelText(level);
  gen.LoadComponentFields();
  Resolved r;
  r.ok = gen.ResolveComponentFields();
  r.passes = gen.PassesUsed();
  r.messages = sink.messages;
  gen.Release();
  return r;
}

TEST(Resolution, PassCountsFollowTheSlotOrder) {
  CompGenerate gen;
  vrlComponent c = BareComponent("Laser");
  auto r = Resolve(gen, c);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.passes, 1);  // all plain

  c.SetCompDesc("&compname beam");
  r = Resolve(gen, c);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.passes, 2);
  EXPECT_EQ(gen.FieldText(S::kCompDesc), "Laser beam");

  // A reference to a later slot costs one more pass than the reverse.
  c.SetCompName("&compdesc");
  c.SetCompDesc("Long range");
  r = Resolve(gen, c);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.passes, 3);
  EXPECT_EQ(gen.FieldText(S::kCompName), "Long range");

  // A chain through lists: the ability refers to the requirement, the cost to
  // the ability, and the name to the cost.
  c = BareComponent("&mincost units");
  c.SetNumTechReqs(1);
  c.SetTechReqLevel(1, "&complevel");
  c.SetNumAbils(1);
  c.SetAbilVal1(1, "&techlevel1");
  c.SetMinCost("&abil1val1");
  r = Resolve(gen, c, "7");
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(gen.FieldText(S::kCompName), "7 units");
  EXPECT_EQ(r.passes, 7);  // each link waits for the pass after its field finished
}

TEST(Resolution, FieldsThatNeverFinishEndInTheFiftyPassMessage) {
  const std::vector<Message> tooMany{{"Too many cross-references", "Variables could not all be resolved in 50 iterations."}};
  CompGenerate gen;
  vrlComponent c = BareComponent("&compdesc");
  c.SetCompDesc("&compname");
  auto r = Resolve(gen, c);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.passes, 50);
  EXPECT_EQ(r.messages, tooMany);

  // A damage variable in a design that is no weapon is never stepped.
  c = BareComponent("Laser");
  c.SetCompDesc("&weapdmg3");
  EXPECT_EQ(Resolve(gen, c).messages, tooMany);

  // An index with a leading zero is rebuilt without it and never found.
  c = BareComponent("Laser");
  c.SetNumTechReqs(1);
  c.SetTechReqLevel(1, "4");
  c.SetCompDesc("&techlevel01");
  EXPECT_EQ(Resolve(gen, c).messages, tooMany);

  vrlFacility f = BareFacility("&facdesc");
  f.SetFacDesc("&facname");
  RecordingSink sink;
  FacGenerate fac;
  fac.Prepare(f, sink);
  fac.LoadFacilityFields();
  EXPECT_FALSE(fac.ResolveFacilityFields());
  EXPECT_EQ(sink.messages, (std::vector<Message>{{"Too Many Cross-References",
                                                  "Variables could not all be resolved in 50 iterations."}}));
  fac.Release();
}

TEST(Resolution, FortyNineGroupsFitTheLimitAndFiftyDoNot) {
  REQUIRE_EVALUATOR();
  CompGenerate gen;
  std::string groups;
  for (int i = 0; i < 49; ++i) groups += "{1}";
  vrlComponent c = BareComponent("Laser");
  c.SetCompDesc(groups);
  auto r = Resolve(gen, c);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.passes, 50);
  EXPECT_EQ(gen.FieldText(S::kCompDesc), std::string(49, '1'));
  c.SetCompDesc(groups + "{1}");
  r = Resolve(gen, c);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.messages.at(0).title, "Too many cross-references");
}

TEST(Resolution, AFailedStepShowsTheFieldAsFarAsItGot) {
  CompGenerate gen;
  vrlComponent c = BareComponent("Laser");
  c.SetMinCost("&complevel &nosuch");
  auto r = Resolve(gen, c, "3");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.messages, (std::vector<Message>{{"Error", "Error parsing string: \r\n3 &nosuch"}}));

  // The weapon slots are stepped in every design.
  c = BareComponent("Laser");
  c.SetWeaponTarget("&nosuch");
  r = Resolve(gen, c);
  EXPECT_EQ(r.messages, (std::vector<Message>{{"Error", "Error parsing string: \r\n&nosuch"}}));

  // The step's own message comes first.
  c = BareComponent("Laser");
  c.SetNumAbils(1);
  c.SetAbilVal2(1, "x&abil5val1");
  r = Resolve(gen, c);
  EXPECT_EQ(r.messages, (std::vector<Message>{{"Error", "Variable &abil5val1contains an invalid ability number."},
                                              {"Error", "Error parsing string: \r\nx&abil5val1"}}));
}

TEST(Resolution, DamageTextsAreCutToTheirLeadingNumberOnceFinished) {
  CompGenerate gen;
  vrlComponent c = BareComponent("Laser");
  c.SetWeaponType("Direct Fire");
  const char* texts[] = {" 12 ", "7.50", "", "abc", "1 000", "-3", "2.5E+3 range", "0.250"};
  const char* cut[] = {"12", "7.5", "0", "0", "1000", "-3", "2500", "0.25"};
  for (std::int16_t r = 1; r <= 8; ++r) c.SetWeaponDamageAtRange(r, texts[r - 1]);
  c.SetCompDesc("&weapdmg2 at range 2");
  auto r = Resolve(gen, c);
  ASSERT_TRUE(r.ok);
  for (std::int16_t i = 1; i <= 8; ++i) EXPECT_EQ(gen.DamageText(i), cut[i - 1]) << texts[i - 1];
  EXPECT_EQ(gen.DamageText(21), "0");
  EXPECT_EQ(gen.FieldText(S::kCompDesc), "7.5 at range 2");
}

TEST(Resolution, AMultiStepDamageFormulaKeepsItsValue) {
  REQUIRE_EVALUATOR();
  CompGenerate gen;
  vrlComponent c = BareComponent("Laser");
  c.SetWeaponType("Direct Fire");
  c.SetWeaponDamageAtRange(1, "{&complevel*10}");
  c.SetWeaponDamageAtRange(2, "5+{1}");
  c.SetWeaponDamageAtRange(3, "{&weapdmg1/4}");
  auto r = Resolve(gen, c, "3");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(gen.DamageText(1), "30");
  EXPECT_EQ(gen.DamageText(2), "5");
  EXPECT_EQ(gen.DamageText(3), "7.5");
}

TEST(Resolution, ANonWeaponNeedsOnlyItsFirstSeventeenSlots) {
  CompGenerate gen;
  vrlComponent c = BareComponent("Laser");
  // Waits forever, but slot 26 is not needed by a design that is no weapon.
  c.SetWeaponSeekerSpeed("&compdesc");
  c.SetCompDesc("&weapseekerspeed");
  auto r = Resolve(gen, c);
  EXPECT_FALSE(r.ok);  // the description itself waits
  c.SetCompDesc("plain");
  c.SetWeaponSeekerSpeed("&weapseekerhp");
  c.SetWeaponSeekerHP("&weapseekerspeed");
  r = Resolve(gen, c);
  EXPECT_TRUE(r.ok);
  c.SetWeaponType("none");  // compared without regard to case
  EXPECT_TRUE(Resolve(gen, c).ok);
  c.SetWeaponType("Seeking");
  EXPECT_FALSE(Resolve(gen, c).ok);
}

}  // namespace
}  // namespace vorlane
