#include "wizard/frmFacPicture.h"

#include "app/HQ.h"
#include "wizard/frmFacTech.h"
#include "wizard/frmFacBasicInfo.h"

namespace vorlane {

frmFacPicture::frmFacPicture(HQ& hq, QWidget* parent)
    : PicturePage(hq, "frmFacPicture", kFacilityDesignTitle + QStringLiteral(" - Picture Selection"), QStringLiteral("facility"),
                  PictureKind::Facility, parent) {
  LoadFields();
}

std::string frmFacPicture::ReadPicNum() const { return hq().Facility().PicNum(); }

void frmFacPicture::WritePicNum(const std::string& value) { hq().Facility().SetPicNum(value); }

HostedPage* frmFacPicture::CreateNextPage() { return new frmFacTech(hq()); }

HostedPage* frmFacPicture::CreatePreviousPage() { return new frmFacBasicInfo(hq()); }

}  // namespace vorlane
