// The basic information page of the component wizard.
#pragma once

#include "wizard/BasicInfoPage.h"

namespace vorlane {

class frmCompBasicInfo : public BasicInfoPage {
  Q_OBJECT

 public:
  explicit frmCompBasicInfo(HQ& hq, QWidget* parent = nullptr);

 protected:
  Values ReadRecord() const override;
  void WriteRecord(const Values& values) override;
  bool Grid() const override;
  HostedPage* CreateNextPage() override;
  HostedPage* CreatePreviousPage() override;
};

}  // namespace vorlane
