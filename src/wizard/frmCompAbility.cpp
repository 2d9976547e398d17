#include "wizard/frmCompAbility.h"

namespace vorlane {

namespace {

AbilityPage::Words CompWords() {
  return {"frmCompAbility", kComponentDesignTitle + QStringLiteral(" - Component Abilities"), QStringLiteral("component"),
          QStringLiteral("Component"), QString()};
}

}  // namespace

frmCompAbility::frmCompAbility(Session& session, QWidget* parent) : AbilityPageOf(session, CompWords(), parent) { LoadFields(); }

}  // namespace vorlane
