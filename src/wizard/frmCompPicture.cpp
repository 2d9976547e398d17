#include "wizard/frmCompPicture.h"

#include "app/HQ.h"
#include "wizard/frmCompTech.h"
#include "wizard/frmCompVehicleType.h"

namespace vorlane {

frmCompPicture::frmCompPicture(HQ& hq, QWidget* parent)
    : PicturePage(hq, "frmCompPicture", kComponentDesignTitle + QStringLiteral(" - Picture Selection"), QStringLiteral("component"),
                  PictureKind::Component, parent) {
  LoadFields();
}

std::string frmCompPicture::ReadPicNum() const { return hq().Component().PicNum(); }

void frmCompPicture::WritePicNum(const std::string& value) { hq().Component().SetPicNum(value); }

HostedPage* frmCompPicture::CreateNextPage() { return new frmCompTech(hq()); }

HostedPage* frmCompPicture::CreatePreviousPage() { return new frmCompVehicleType(hq()); }

}  // namespace vorlane
