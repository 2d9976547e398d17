#include "wizard/frmFacAbility.h"

namespace vorlane {

namespace {

AbilityPage::Words FacWords() {
  return {"frmFacAbility", kFacilityDesignTitle + QStringLiteral(" - Facility Abilities"), QStringLiteral("facility"),
          QStringLiteral("Facility"), QStringLiteral("This saves the current ability and adds a new, blank one.")};
}

}  // namespace

frmFacAbility::frmFacAbility(Session& session, QWidget* parent) : AbilityPageOf(session, FacWords(), parent) { LoadFields(); }

}  // namespace vorlane
