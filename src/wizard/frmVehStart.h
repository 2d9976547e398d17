// The vehicle design page: nothing but the way back to the main menu.
#pragma once

#include "gui/WizardPage.h"

namespace vorlane {

class frmVehStart : public WizardPage {
  Q_OBJECT

 public:
  explicit frmVehStart(Session& session, QWidget* parent = nullptr);

  // Its close box ends the program, as the main menu's does.
  bool OnCloseBox() override { return true; }

 protected:
  void OnNext() override {}
  void OnBack() override {}
};

}  // namespace vorlane
