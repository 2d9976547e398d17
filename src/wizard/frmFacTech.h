// The technology requirements page of the facility wizard.
#pragma once

#include "wizard/TechPage.h"

namespace vorlane {

class frmFacTech : public TechPage {
  Q_OBJECT

 public:
  explicit frmFacTech(Session& session, QWidget* parent = nullptr);

  std::optional<PageId> Step() const override { return PageId::FacTech; }

 protected:
  std::int16_t Count() const override;
  void SetCount(std::int16_t n) override;
  Entry ReadEntry(std::int16_t n) const override;
  void WriteEntry(std::int16_t n, const Entry& entry) override;
  bool Grid() const override;
};

}  // namespace vorlane
