// The setup page: the game's main directory and the optional mod directory,
// typed or chosen with the directory picker. OK saves them to the settings
// file; Cancel asks before throwing edits away.
#pragma once

#include "gui/HostedPage.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vorlane {

class HQ;

class frmSetup : public HostedPage {
  Q_OBJECT

 public:
  explicit frmSetup(HQ& hq, QWidget* parent = nullptr);

  HQ& hq() const { return hq_; }

  // True once either box has been edited since the page opened.
  bool DirsChanged = false;

 private:
  HQ& hq_;
  void Browse(QLineEdit* box);
  void cmdOK_Click();
  void cmdCancel_Click();

  QLabel* lblSetup_;
  QLabel* lblSEIVDir_;
  QLineEdit* txtSEIVDir_;
  QPushButton* cmdBrowseSEIV_;
  QLabel* lblModDir_;
  QLineEdit* txtModDir_;
  QPushButton* cmdBrowseMod_;
  QPushButton* cmdOK_;
  QPushButton* cmdCancel_;
};

}  // namespace vorlane
