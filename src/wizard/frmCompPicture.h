// The picture page of the component wizard.
#pragma once

#include "wizard/PicturePage.h"

namespace vorlane {

class frmCompPicture : public PicturePage {
  Q_OBJECT

 public:
  explicit frmCompPicture(HQ& hq, QWidget* parent = nullptr);

 protected:
  std::string ReadPicNum() const override;
  void WritePicNum(const std::string& value) override;
  HostedPage* CreateNextPage() override;
  HostedPage* CreatePreviousPage() override;
};

}  // namespace vorlane
