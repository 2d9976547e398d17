// The start page of the component wizard.
#pragma once

#include "wizard/StartPage.h"

namespace vorlane {

class frmCompStart : public StartPageOf<vrlComponent> {
  Q_OBJECT

 public:
  explicit frmCompStart(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::CompStart; }
};

}  // namespace vorlane
