// The start page of the facility wizard.
#pragma once

#include "wizard/StartPage.h"

namespace vorlane {

class frmFacStart : public StartPageOf<vrlFacility> {
  Q_OBJECT

 public:
  explicit frmFacStart(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::FacStart; }
};

}  // namespace vorlane
