// The live entry's speed: from a changed field to the new entry of one level
// of a 9- and a 999-level weapon, and of one cell of the largest grid (32767 cells),
// against the full generation of the same designs. A live entry costs one
// entry whatever the design's size.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <ctime>
#include <string>

#include "generate/CompGenerate.h"
#include "generate/LiveEntry.h"
#include "util/MessageSink.h"

namespace {

using namespace vorlane;

class NoMessages : public MessageSink {
 public:
  MessageAnswer Show(const std::string&, const std::string&, MessageButtons) override { return MessageAnswer::Ok; }
};

// A weapon whose fields are formulas with brace groups and cross-references.
vrlComponent Weapon(int levels) {
  vrlComponent c;
  c.SetCompName("Phased Beam");
  c.SetNumCompLevels(std::to_string(levels));
  c.SetNumberStyle("Mk {&complevel}");
  c.SetCompDesc("&compname of level {&complevel}: &weapdmg1 damage at range 1, {&weapdmg21} at 21");
  c.SetVehicleType("Ship, Base");
  c.SetRestrictions("None");
  c.SetFamily("{&weapfamily+100}");
  c.SetCustomGroup("{Mod(&family, 7)}");
  c.SetPicNum("{100+Mod(&complevel, 50)}");
  c.SetMinCost("{&size*10+&complevel*3}");
  c.SetOrgCost("{Round(&mincost/10, 0)}");
  c.SetRadCost("{Max(&mincost/5, &orgcost)}");
  c.SetSize("{10+Mod(&complevel, 20)}");
  c.SetHP("{&size*2+&abil1val1}");
  c.SetSupplyUse("{&hp/4}");
  c.SetWeaponType("Direct Fire");
  c.SetWeaponTarget("Ships");
  c.SetWeaponDamageType("Normal");
  c.SetWeaponDisplayNum("{Mod(&complevel, 10)}");
  c.SetWeaponFamily("{7+&complevel*0}");
  c.SetWeaponReload("{Max(1, 5-&complevel/100)}");
  c.SetWeaponToHitMod("{&complevel/10+&weapreload}");
  c.SetNumTechReqs(2);
  c.SetTechReqArea(1, "Beam Weapons");
  c.SetTechReqLevel(1, "{&complevel}");
  c.SetTechReqArea(2, "&techarea1 Refinement");
  c.SetTechReqLevel(2, "{&techlevel1*2}");
  c.SetNumAbils(1);
  c.SetAbilName(1, "Armor");
  c.SetAbilDesc(1, "Absorbs &abil1val1 damage, &techlevel2 levels");
  c.SetAbilVal1(1, "{&complevel*10}");
  c.SetAbilVal2(1, "{&abil1val1/2}");
  for (std::int16_t r = 1; r <= 21; ++r) {
    c.SetWeaponDamageAtRange(r, "{&complevel*10-" + std::to_string(r * 2) + "+&size}");
  }
  return c;
}

// 7 x 4681 = 32767 cells.
vrlComponent LargestGrid() {
  vrlComponent c = Weapon(1);
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

// The live entry (the record copied with a changed field, then one entry),
// timed against one full generation of the changed design in the same run:
// "full_ms" is that generation's processor time, "times_faster" its ratio to
// one live entry.
void Run(benchmark::State& state, const vrlComponent& design, const EntryPoint& point, int entries) {
  auto changed = [&design](int edit) {
    vrlComponent copy = design;
    copy.SetMinCost("{&size*10+&complevel*" + std::to_string(3 + edit % 5) + "}");
    return copy;
  };
  NoMessages sink;
  const std::clock_t start = std::clock();
  GenerationResult full = CompGenerate().Generate(changed(0), sink);
  const double fullSeconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  if (!full.Generated() || full.entries != entries) {
    state.SkipWithError(full.fault ? full.fault->Line().c_str() : "generation failed");
    return;
  }
  int edit = 0;
  const std::clock_t loop = std::clock();
  for (auto _ : state) {
    LiveEntry entry = MakeEntry(changed(++edit), point);
    if (entry.status != GenerationStatus::Generated) {
      state.SkipWithError(entry.fault ? entry.fault->Line().c_str() : "live entry failed");
      break;
    }
    benchmark::DoNotOptimize(entry.text.data());
  }
  const double liveSeconds = static_cast<double>(std::clock() - loop) / CLOCKS_PER_SEC;
  state.counters["full_ms"] = fullSeconds * 1000;
  if (liveSeconds > 0) {
    state.counters["times_faster"] = fullSeconds * static_cast<double>(state.iterations()) / liveSeconds;
  }
}

// One level of a weapon of 9 and of 999 levels: the same time for either.
void BM_WeaponLevel(benchmark::State& state) {
  const int levels = static_cast<int>(state.range(0));
  Run(state, Weapon(levels), {(levels + 1) / 2, {}}, levels);
}
BENCHMARK(BM_WeaponLevel)->Arg(9)->Arg(999)->Unit(benchmark::kMicrosecond);

void BM_LargestGridCell(benchmark::State& state) { Run(state, LargestGrid(), {0, {4, 2000}}, 32767); }
BENCHMARK(BM_LargestGridCell)->Unit(benchmark::kMicrosecond);

}  // namespace
