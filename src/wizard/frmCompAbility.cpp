#include "wizard/frmCompAbility.h"


namespace vorlane {

namespace {

AbilityPage::Words CompWords() {
  return {"frmCompAbility", kComponentDesignTitle + QStringLiteral(" - Component Abilities"), QStringLiteral("component"),
          QStringLiteral("Component"), QString()};
}

}  // namespace

frmCompAbility::frmCompAbility(Session& session, QWidget* parent) : AbilityPage(session, CompWords(), parent) { LoadFields(); }

std::int16_t frmCompAbility::Count() const { return Component().NumAbils(); }

void frmCompAbility::SetCount(std::int16_t n) { Component().SetNumAbils(n); }

EntryWalkPage::Entry frmCompAbility::ReadEntry(std::int16_t n) const {
  const auto& r = Component();
  return {r.AbilName(n).value_or(""), r.AbilDesc(n).value_or(""), r.AbilVal1(n).value_or(""),
          r.AbilVal2(n).value_or("")};
}

void frmCompAbility::WriteEntry(std::int16_t n, const Entry& entry) {
  auto& r = Component();
  r.SetAbilName(n, entry[0]);
  r.SetAbilDesc(n, entry[1]);
  r.SetAbilVal1(n, entry[2]);
  r.SetAbilVal2(n, entry[3]);
}

}  // namespace vorlane
