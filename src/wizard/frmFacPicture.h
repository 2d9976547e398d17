// The picture page of the facility wizard.
#pragma once

#include "wizard/PicturePage.h"

namespace vorlane {

class frmFacPicture : public PicturePageOf<vrlFacility> {
  Q_OBJECT

 public:
  explicit frmFacPicture(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::FacPicture; }
};

}  // namespace vorlane
