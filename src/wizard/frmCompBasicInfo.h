// The basic information page of the component wizard.
#pragma once

#include "wizard/BasicInfoPage.h"

namespace vorlane {

class frmCompBasicInfo : public BasicInfoPageOf<vrlComponent> {
  Q_OBJECT

 public:
  explicit frmCompBasicInfo(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::CompBasicInfo; }
};

}  // namespace vorlane
