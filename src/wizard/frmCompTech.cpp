#include "wizard/frmCompTech.h"

namespace vorlane {

frmCompTech::frmCompTech(Session& session, QWidget* parent)
    : TechPageOf(session, "frmCompTech", kComponentDesignTitle + QStringLiteral(" - Technology Requirements"), QStringLiteral("component"),
               QStringLiteral("This is the style of numbering you want this tech area to add to the component name (replaces the Numbering Style field under Basic Info)."),
               parent) {
  LoadTechFields();
}

}  // namespace vorlane
