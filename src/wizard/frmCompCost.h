// The cost page of the component wizard: resource costs, size, hitpoints and
// supply use.
#pragma once

#include "wizard/WizardPage.h"

class QLineEdit;

namespace vorlane {

class frmCompCost : public WizardPage {
  Q_OBJECT

 public:
  explicit frmCompCost(HQ& hq, QWidget* parent = nullptr);

  void AboutToBeShown() override;

 protected:
  bool CheckFields() override;
  void SaveFields() override;
  HostedPage* CreateNextPage() override;
  HostedPage* CreatePreviousPage() override;

 private:
  QLineEdit* txtMinCost_;
  QLineEdit* txtOrgCost_;
  QLineEdit* txtRadCost_;
  QLineEdit* txtSize_;
  QLineEdit* txtHP_;
  QLineEdit* txtSupplyUse_;
};

}  // namespace vorlane
