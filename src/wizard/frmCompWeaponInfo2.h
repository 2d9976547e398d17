// The second weapon page: damage type, reload time, to-hit modifier and, for
// seeking weapons, the seeker's speed and hitpoints. Every field is a formula.
#pragma once

#include "wizard/WizardPage.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace vorlane {

class frmCompWeaponInfo2 : public WizardPage {
  Q_OBJECT

 public:
  explicit frmCompWeaponInfo2(HQ& hq, QWidget* parent = nullptr);

  // The damage types the game knows, in list order.
  static const QStringList& DamageTypes();

 protected:
  bool CheckFields() override;
  void SaveFields() override;
  HostedPage* CreateNextPage() override;
  HostedPage* CreatePreviousPage() override;

 private:
  QLabel* lblWeaponInfo_;
  QLabel* lblDmgType_;
  QComboBox* cboDmgType_;
  QLabel* lblReload_;
  QLineEdit* txtReload_;
  QLabel* lblToHit_;
  QLineEdit* txtToHit_;
  QLabel* lblSeekerSpeed_;
  QLineEdit* txtSeekerSpeed_;
  QLabel* lblSeekerHP_;
  QLineEdit* txtSeekerHP_;
};

}  // namespace vorlane
