// The abilities page of the component wizard.
#pragma once

#include "wizard/AbilityPage.h"

namespace vorlane {

class frmCompAbility : public AbilityPageOf<vrlComponent> {
  Q_OBJECT

 public:
  explicit frmCompAbility(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::CompAbility; }
};

}  // namespace vorlane
