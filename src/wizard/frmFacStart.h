// The start page of the facility wizard.
#pragma once

#include "wizard/StartPage.h"

namespace vorlane {

class frmFacStart : public StartPage {
  Q_OBJECT

 public:
  explicit frmFacStart(HQ& hq, QWidget* parent = nullptr);

 protected:
  Values ReadRecord() const override;
  void WriteRecord(const Values& values) override;
  HostedPage* CreateNextPage() override;
};

}  // namespace vorlane
