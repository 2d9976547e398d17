// The abilities page of the component wizard.
#pragma once

#include "wizard/AbilityPage.h"

namespace vorlane {

class frmCompAbility : public AbilityPage {
  Q_OBJECT

 public:
  explicit frmCompAbility(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::CompAbility; }

 protected:
  std::int16_t Count() const override;
  void SetCount(std::int16_t n) override;
  Entry ReadEntry(std::int16_t n) const override;
  void WriteEntry(std::int16_t n, const Entry& entry) override;
};

}  // namespace vorlane
