// The vehicle type page of the component wizard: which kinds of vehicle may
// carry the component, stored as one list such as "Ship, Base, WeapPlatform".
#pragma once

#include <QString>
#include <array>
#include <string>

#include "gui/WizardPage.h"

class QCheckBox;

namespace vorlane {

class frmCompVehicleType : public WizardPage {
  Q_OBJECT

 public:
  static constexpr int kTypes = 8;

  explicit frmCompVehicleType(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::CompVehicleType; }

  QCheckBox* chkVType(int index) const { return chkVType_.at(static_cast<std::size_t>(index)); }

  // The list of the selected boxes' names in box order, joined by ", ".
  QString BuildList() const;

 protected:
  bool CheckFields() override;
  void SaveFields() override;
  void OnBack() override;

 private:
  // The boxes that show the stored list, and that list as stored.
  std::array<bool, kTypes> Boxes() const;

  std::array<QCheckBox*, kTypes> chkVType_{};
  std::array<bool, kTypes> storedBoxes_{};
  std::string stored_;
};

}  // namespace vorlane
