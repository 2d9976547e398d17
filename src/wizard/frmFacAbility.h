// The abilities page of the facility wizard.
#pragma once

#include "wizard/AbilityPage.h"

namespace vorlane {

class frmFacAbility : public AbilityPage {
  Q_OBJECT

 public:
  explicit frmFacAbility(HQ& hq, QWidget* parent = nullptr);

 protected:
  std::int16_t Count() const override;
  void SetCount(std::int16_t n) override;
  Entry ReadEntry(std::int16_t n) const override;
  void WriteEntry(std::int16_t n, const Entry& entry) override;
  HostedPage* CreateNextPage() override;
  HostedPage* CreatePreviousPage() override;
};

}  // namespace vorlane
