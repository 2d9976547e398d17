// The technology requirements page of the component wizard.
#pragma once

#include "wizard/TechPage.h"

namespace vorlane {

class frmCompTech : public TechPageOf<vrlComponent> {
  Q_OBJECT

 public:
  explicit frmCompTech(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::CompTech; }
};

}  // namespace vorlane
