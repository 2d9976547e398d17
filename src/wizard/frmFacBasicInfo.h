// The basic information page of the facility wizard, with the facility's costs.
#pragma once

#include "wizard/BasicInfoPage.h"

namespace vorlane {

class frmFacBasicInfo : public BasicInfoPageOf<vrlFacility> {
  Q_OBJECT

 public:
  explicit frmFacBasicInfo(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::FacBasicInfo; }
};

}  // namespace vorlane
