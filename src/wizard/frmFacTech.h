// The technology requirements page of the facility wizard.
#pragma once

#include "wizard/TechPage.h"

namespace vorlane {

class frmFacTech : public TechPage {
  Q_OBJECT

 public:
  explicit frmFacTech(HQ& hq, QWidget* parent = nullptr);

 protected:
  std::int16_t Count() const override;
  void SetCount(std::int16_t n) override;
  Entry ReadEntry(std::int16_t n) const override;
  void WriteEntry(std::int16_t n, const Entry& entry) override;
  bool Grid() const override;
  HostedPage* CreateNextPage() override;
  HostedPage* CreatePreviousPage() override;
};

}  // namespace vorlane
