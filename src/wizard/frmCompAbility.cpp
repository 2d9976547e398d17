#include "wizard/frmCompAbility.h"

#include "app/HQ.h"
#include "wizard/frmCompCost.h"
#include "wizard/frmCompWeaponInfo.h"

namespace vorlane {

namespace {

AbilityPage::Words CompWords() {
  return {"frmCompAbility", kComponentDesignTitle + QStringLiteral(" - Component Abilities"), QStringLiteral("component"),
          QStringLiteral("Component"), QString()};
}

}  // namespace

frmCompAbility::frmCompAbility(HQ& hq, QWidget* parent) : AbilityPage(hq, CompWords(), parent) { LoadFields(); }

std::int16_t frmCompAbility::Count() const { return hq().Component().NumAbils(); }

void frmCompAbility::SetCount(std::int16_t n) { hq().Component().SetNumAbils(n); }

EntryWalkPage::Entry frmCompAbility::ReadEntry(std::int16_t n) const {
  const auto& r = hq().Component();
  return {r.AbilName(n).value_or(""), r.AbilDesc(n).value_or(""), r.AbilVal1(n).value_or(""),
          r.AbilVal2(n).value_or("")};
}

void frmCompAbility::WriteEntry(std::int16_t n, const Entry& entry) {
  auto& r = hq().Component();
  r.SetAbilName(n, entry[0]);
  r.SetAbilDesc(n, entry[1]);
  r.SetAbilVal1(n, entry[2]);
  r.SetAbilVal2(n, entry[3]);
}

HostedPage* frmCompAbility::CreateNextPage() { return new frmCompWeaponInfo(hq()); }

HostedPage* frmCompAbility::CreatePreviousPage() { return new frmCompCost(hq()); }

}  // namespace vorlane
