// The main menu: four choices and Next, or Close to end the program.
#pragma once

#include <array>

#include "gui/HostedPage.h"

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vorlane {

class HQ;

class frmMain : public HostedPage {
  Q_OBJECT

 public:
  explicit frmMain(HQ& hq, QWidget* parent = nullptr);

  HQ& hq() const { return hq_; }

  // The option buttons, 0 to 3: component, facility, vehicle, setup.
  QRadioButton* optCreate(int index) const { return optCreate_.at(static_cast<std::size_t>(index)); }
  // The selected option, or -1 when none is.
  int SelectedOption() const;

 private:
  HQ& hq_;
  void cmdNext_Click();

  QLabel* lblWelcome_;
  std::array<QRadioButton*, 4> optCreate_{};
  QButtonGroup* options_;
  QPushButton* cmdBack_;
  QPushButton* cmdClose_;
  QPushButton* cmdNext_;
  QPushButton* cmdSheet_;
};

}  // namespace vorlane
