// The start page of the facility wizard.
#pragma once

#include "wizard/StartPage.h"

namespace vorlane {

class frmFacStart : public StartPage {
  Q_OBJECT

 public:
  explicit frmFacStart(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::FacStart; }

 protected:
  Values ReadRecord() const override;
  void WriteRecord(const Values& values) override;
};

}  // namespace vorlane
