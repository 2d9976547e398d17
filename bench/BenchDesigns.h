// The designs the generation benchmarks share: a weapon component whose
// every field is a formula with brace groups and cross-references, and the
// largest grid made from it.
#pragma once

#include <cstdint>
#include <string>

#include "records/vrlComponent.h"
#include "util/MessageSink.h"

namespace vorlane::bench {

// Keeps the first message, so that a broken design reports why.
class NoMessages : public MessageSink {
 public:
  MessageAnswer Show(const std::string& title, const std::string& text, MessageButtons) override {
    if (first.empty()) first = title + ": " + text;
    return MessageAnswer::Ok;
  }
  std::string first;
};

inline vrlComponent FormulaWeapon(int levels) {
  vrlComponent c;
  c.SetCompName("Phased Beam {&complevel*0+1}");
  c.SetNumCompLevels(std::to_string(levels));
  c.SetNumberStyle("Mk {&complevel}");
  c.SetCompDesc("&compname of level {&complevel}: &weapdmg1 damage at range 1, {&weapdmg21} at 21");
  c.SetVehicleType("Ship{&complevel*0}, &weaptarg");
  c.SetRestrictions("{(&complevel > 500)*1} per &weaptype");
  c.SetGeneralGroup("Weapons {&picnum-100}");
  c.SetFamily("{&weapfamily+100}");
  c.SetCustomGroup("{Mod(&family, 7)}");
  c.SetPicNum("{100+Mod(&complevel, 50)}");
  c.SetRomanStyle("{&complevel}&custgroup");
  c.SetMinCost("{&size*10+&complevel*3}");
  c.SetOrgCost("{Round(&mincost/10, 0)}");
  c.SetRadCost("{Max(&mincost/5, &orgcost)}");
  c.SetSize("{10+Mod(&complevel, 20)}");
  c.SetHP("{&size*2+&abil1val1}");
  c.SetSupplyUse("{&hp/4}");
  c.SetWeaponType("Direct Fire{&complevel*0}");
  c.SetWeaponTarget("Ships{&complevel*0}");
  c.SetWeaponDamageType("Normal{&complevel*0}");
  c.SetWeaponSound("beam{Mod(&complevel, 3)}.wav");
  c.SetWeaponDisplayType("Beam{&complevel*0}");
  c.SetWeaponDisplayNum("{Mod(&complevel, 10)}");
  c.SetWeaponFamily("{7+&complevel*0}");
  c.SetWeaponReload("{Max(1, 5-&complevel/100)}");
  c.SetWeaponToHitMod("{&complevel/10+&weapreload}");
  c.SetWeaponSeekerSpeed("{&weapreload*2}");
  c.SetWeaponSeekerHP("{&hp/2}");
  c.SetNumTechReqs(2);
  c.SetTechReqArea(1, "Beam Weapons{&complevel*0}");
  c.SetTechReqLevel(1, "{&complevel}");
  c.SetTechReqArea(2, "&techarea1 Refinement");
  c.SetTechReqLevel(2, "{&techlevel1*2}");
  c.SetNumAbils(2);
  c.SetAbilName(1, "Armor{&complevel*0}");
  c.SetAbilDesc(1, "Absorbs &abil1val1 damage, &techlevel2 levels");
  c.SetAbilVal1(1, "{&complevel*10}");
  c.SetAbilVal2(1, "{&abil1val1/2}");
  c.SetAbilName(2, "Sensor{&complevel*0}");
  c.SetAbilDesc(2, "&abil1descr and sees");
  c.SetAbilVal1(2, "{&abil1val2+1}");
  c.SetAbilVal2(2, "{Mod(&complevel, 4)}");
  for (std::int16_t r = 1; r <= 21; ++r) {
    c.SetWeaponDamageAtRange(r, "{&complevel*10-" + std::to_string(r * 2) + "+&size}");
  }
  return c;
}


// 7 x 4681 = 32767 cells.
inline vrlComponent LargestGrid() {
  vrlComponent c = FormulaWeapon(1);
  c.SetWeaponType("None");
  c.SetGridComp(true);
  c.SetTechReqGridSize(1, "7");
  c.SetTechReqGridSize(2, "4681");
  c.SetTechReqLevel(1, "{&techgridlevel1*2}");
  c.SetTechReqLevel(2, "{&techgridlevel2+&techlevel1}");
  c.SetTechReqNumberStyle(1, "-&techgridlevel1");
  c.SetTechReqNumberStyle(2, ".&techgridlevel2");
  c.SetCompDesc("&compname, cell &complevel");
  return c;
}

// A plain text of `bytes` bytes, in words.
inline std::string LongText(std::size_t bytes) {
  std::string text;
  text.reserve(bytes + 16);
  while (text.size() < bytes) text += "A long description of the weapon, " + std::to_string(text.size()) + ". ";
  text.resize(bytes);
  return text;
}

// The benchmarks' weapon with `rows` requirements and abilities of formulas,
// and a plain description of `descriptionBytes` where that is not 0.
inline vrlComponent ListWeapon(int rows, std::size_t descriptionBytes = 0) {
  vrlComponent c = FormulaWeapon(9);
  // A design file holds the fixed choices as they are offered.
  c.SetVehicleType("Ship"), c.SetWeaponType("Direct Fire"), c.SetWeaponTarget("Ships");
  c.SetWeaponDamageType("Normal"), c.SetWeaponDisplayType("Beam");
  c.SetNumTechReqs(static_cast<std::int16_t>(rows));
  c.SetNumAbils(static_cast<std::int16_t>(rows));
  for (int i = 3; i <= rows; ++i) {
    const auto n = static_cast<std::int16_t>(i);
    c.SetTechReqArea(n, "Area " + std::to_string(i));
    c.SetTechReqLevel(n, "{&complevel+" + std::to_string(i % 7) + "}");
    c.SetAbilName(n, "Ability " + std::to_string(i));
    c.SetAbilDesc(n, "Adds &abil" + std::to_string(i) + "val1");
    c.SetAbilVal1(n, "{&complevel*" + std::to_string(i % 9) + "}");
    c.SetAbilVal2(n, "0");
  }
  if (descriptionBytes > 0) c.SetCompDesc(LongText(descriptionBytes));
  return c;
}

}  // namespace vorlane::bench
