// The second weapon page: damage type, reload time, to-hit modifier and, for
// seeking weapons, the seeker's speed and hitpoints. Every field is a formula.
#pragma once

#include "gui/WizardPage.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace vorlane {

class frmCompWeaponInfo2 : public WizardPage {
  Q_OBJECT

 public:
  explicit frmCompWeaponInfo2(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::CompWeaponInfo2; }

  // The damage types the game knows, in list order.
  static const QStringList& DamageTypes();

 protected:
  bool CheckFields() override;
  void SaveFields() override;

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
