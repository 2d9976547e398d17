#include "wizard/frmFacAbility.h"

#include "app/HQ.h"
#include "generate_ui/frmFacGenerate.h"
#include "wizard/frmFacTech.h"

namespace vorlane {

namespace {

AbilityPage::Words FacWords() {
  return {"frmFacAbility", kFacilityDesignTitle + QStringLiteral(" - Facility Abilities"), QStringLiteral("facility"),
          QStringLiteral("Facility"), QStringLiteral("This saves the current ability and adds a new, blank one.")};
}

}  // namespace

frmFacAbility::frmFacAbility(HQ& hq, QWidget* parent) : AbilityPage(hq, FacWords(), parent) { LoadFields(); }

std::int16_t frmFacAbility::Count() const { return hq().Facility().NumAbils(); }

void frmFacAbility::SetCount(std::int16_t n) { hq().Facility().SetNumAbils(n); }

EntryWalkPage::Entry frmFacAbility::ReadEntry(std::int16_t n) const {
  const auto& r = hq().Facility();
  return {r.AbilName(n).value_or(""), r.AbilDesc(n).value_or(""), r.AbilVal1(n).value_or(""),
          r.AbilVal2(n).value_or("")};
}

void frmFacAbility::WriteEntry(std::int16_t n, const Entry& entry) {
  auto& r = hq().Facility();
  r.SetAbilName(n, entry[0]);
  r.SetAbilDesc(n, entry[1]);
  r.SetAbilVal1(n, entry[2]);
  r.SetAbilVal2(n, entry[3]);
}

HostedPage* frmFacAbility::CreateNextPage() { return new frmFacGenerate(hq()); }

HostedPage* frmFacAbility::CreatePreviousPage() { return new frmFacTech(hq()); }

}  // namespace vorlane
