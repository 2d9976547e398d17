// The start page of the component wizard.
#pragma once

#include "wizard/StartPage.h"

namespace vorlane {

class frmCompStart : public StartPage {
  Q_OBJECT

 public:
  explicit frmCompStart(HQ& hq, QWidget* parent = nullptr);

 protected:
  Values ReadRecord() const override;
  void WriteRecord(const Values& values) override;
  HostedPage* CreateNextPage() override;
};

}  // namespace vorlane
