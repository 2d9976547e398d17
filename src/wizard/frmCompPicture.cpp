#include "wizard/frmCompPicture.h"


namespace vorlane {

frmCompPicture::frmCompPicture(Session& session, QWidget* parent)
    : PicturePage(session, "frmCompPicture", kComponentDesignTitle + QStringLiteral(" - Picture Selection"), QStringLiteral("component"),
                  PictureKind::Component, parent) {
  LoadFields();
}

std::string frmCompPicture::ReadPicNum() const { return Component().PicNum(); }

void frmCompPicture::WritePicNum(const std::string& value) { Component().SetPicNum(value); }

}  // namespace vorlane
