#include "wizard/frmFacAbility.h"


namespace vorlane {

namespace {

AbilityPage::Words FacWords() {
  return {"frmFacAbility", kFacilityDesignTitle + QStringLiteral(" - Facility Abilities"), QStringLiteral("facility"),
          QStringLiteral("Facility"), QStringLiteral("This saves the current ability and adds a new, blank one.")};
}

}  // namespace

frmFacAbility::frmFacAbility(Session& session, QWidget* parent) : AbilityPage(session, FacWords(), parent) { LoadFields(); }

std::int16_t frmFacAbility::Count() const { return Facility().NumAbils(); }

void frmFacAbility::SetCount(std::int16_t n) { Facility().SetNumAbils(n); }

EntryWalkPage::Entry frmFacAbility::ReadEntry(std::int16_t n) const {
  const auto& r = Facility();
  return {r.AbilName(n).value_or(""), r.AbilDesc(n).value_or(""), r.AbilVal1(n).value_or(""),
          r.AbilVal2(n).value_or("")};
}

void frmFacAbility::WriteEntry(std::int16_t n, const Entry& entry) {
  auto& r = Facility();
  r.SetAbilName(n, entry[0]);
  r.SetAbilDesc(n, entry[1]);
  r.SetAbilVal1(n, entry[2]);
  r.SetAbilVal2(n, entry[3]);
}

}  // namespace vorlane
