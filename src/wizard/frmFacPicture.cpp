#include "wizard/frmFacPicture.h"

namespace vorlane {

frmFacPicture::frmFacPicture(Session& session, QWidget* parent)
    : PicturePageOf(session, "frmFacPicture", kFacilityDesignTitle + QStringLiteral(" - Picture Selection"), QStringLiteral("facility"),
                  PictureKind::Facility, parent) {
  LoadFields();
}

}  // namespace vorlane
