// The technology requirements page of the facility wizard.
#pragma once

#include "wizard/TechPage.h"

namespace vorlane {

class frmFacTech : public TechPageOf<vrlFacility> {
  Q_OBJECT

 public:
  explicit frmFacTech(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::FacTech; }
};

}  // namespace vorlane
