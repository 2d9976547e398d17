// The cost page of the component wizard: resource costs, size, hitpoints and
// supply use.
#pragma once

#include "gui/WizardPage.h"

class QLineEdit;

namespace vorlane {

class frmCompCost : public WizardPage {
  Q_OBJECT

 public:
  explicit frmCompCost(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::CompCost; }

  void AboutToBeShown() override;

 protected:
  bool CheckFields() override;
  void SaveFields() override;

 private:
  QLineEdit* txtMinCost_;
  QLineEdit* txtOrgCost_;
  QLineEdit* txtRadCost_;
  QLineEdit* txtSize_;
  QLineEdit* txtHP_;
  QLineEdit* txtSupplyUse_;
};

}  // namespace vorlane
