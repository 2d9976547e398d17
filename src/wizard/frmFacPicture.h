// The picture page of the facility wizard.
#pragma once

#include "wizard/PicturePage.h"

namespace vorlane {

class frmFacPicture : public PicturePage {
  Q_OBJECT

 public:
  explicit frmFacPicture(HQ& hq, QWidget* parent = nullptr);

 protected:
  std::string ReadPicNum() const override;
  void WritePicNum(const std::string& value) override;
  HostedPage* CreateNextPage() override;
  HostedPage* CreatePreviousPage() override;
};

}  // namespace vorlane
