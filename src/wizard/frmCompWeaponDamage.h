// The last weapon page: the damage at each of the 21 ranges, one range at a
// time, stepped with up and down arrows. Each value is a formula.
#pragma once

#include <cstdint>

#include "gui/WizardPage.h"

class QLabel;
class QLineEdit;

namespace vorlane {

class UpDownArrows;

class frmCompWeaponDamage : public WizardPage {
  Q_OBJECT

 public:
  explicit frmCompWeaponDamage(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::CompWeaponDamage; }

  // The range whose damage txtRange shows, 1 to 21.
  std::int16_t CurRange() const { return curRange_; }
  UpDownArrows* updnRangeNum() const { return updnRangeNum_; }

 protected:
  void SaveFields() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RangeChanged(int value);

  QLabel* lblWeaponDamage_;
  QLabel* lblDmgAtRange_;
  QLineEdit* txtRange_;
  UpDownArrows* updnRangeNum_;
  std::int16_t curRange_ = 1;
};

}  // namespace vorlane
