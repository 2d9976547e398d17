#include "wizard/frmFacPicture.h"


namespace vorlane {

frmFacPicture::frmFacPicture(Session& session, QWidget* parent)
    : PicturePage(session, "frmFacPicture", kFacilityDesignTitle + QStringLiteral(" - Picture Selection"), QStringLiteral("facility"),
                  PictureKind::Facility, parent) {
  LoadFields();
}

std::string frmFacPicture::ReadPicNum() const { return Facility().PicNum(); }

void frmFacPicture::WritePicNum(const std::string& value) { Facility().SetPicNum(value); }

}  // namespace vorlane
