#include "wizard/frmCompPicture.h"

namespace vorlane {

frmCompPicture::frmCompPicture(Session& session, QWidget* parent)
    : PicturePageOf(session, "frmCompPicture", kComponentDesignTitle + QStringLiteral(" - Picture Selection"), QStringLiteral("component"),
                  PictureKind::Component, parent) {
  LoadFields();
}

}  // namespace vorlane
