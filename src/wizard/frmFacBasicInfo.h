// The basic information page of the facility wizard, with the facility's costs.
#pragma once

#include "wizard/BasicInfoPage.h"

namespace vorlane {

class frmFacBasicInfo : public BasicInfoPage {
  Q_OBJECT

 public:
  explicit frmFacBasicInfo(HQ& hq, QWidget* parent = nullptr);

 protected:
  Values ReadRecord() const override;
  void WriteRecord(const Values& values) override;
  bool Grid() const override;
  HostedPage* CreateNextPage() override;
  HostedPage* CreatePreviousPage() override;
};

}  // namespace vorlane
