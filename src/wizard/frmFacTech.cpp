#include "wizard/frmFacTech.h"

namespace vorlane {

frmFacTech::frmFacTech(Session& session, QWidget* parent)
    : TechPageOf(session, "frmFacTech", kFacilityDesignTitle + QStringLiteral(" - Technology Requirements"), QStringLiteral("facility"),
               QStringLiteral("This is the style of numbering you want this tech area to add to the facility name (replaces the Numbering Style field under Basic Info)."),
               parent) {
  LoadTechFields();
}

}  // namespace vorlane
