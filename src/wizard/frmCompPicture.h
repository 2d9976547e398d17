// The picture page of the component wizard.
#pragma once

#include "wizard/PicturePage.h"

namespace vorlane {

class frmCompPicture : public PicturePageOf<vrlComponent> {
  Q_OBJECT

 public:
  explicit frmCompPicture(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::CompPicture; }
};

}  // namespace vorlane
