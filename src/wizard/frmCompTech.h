// The technology requirements page of the component wizard.
#pragma once

#include "wizard/TechPage.h"

namespace vorlane {

class frmCompTech : public TechPage {
  Q_OBJECT

 public:
  explicit frmCompTech(HQ& hq, QWidget* parent = nullptr);

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
