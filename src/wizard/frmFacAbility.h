// The abilities page of the facility wizard.
#pragma once

#include "wizard/AbilityPage.h"

namespace vorlane {

class frmFacAbility : public AbilityPageOf<vrlFacility> {
  Q_OBJECT

 public:
  explicit frmFacAbility(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::FacAbility; }
};

}  // namespace vorlane
