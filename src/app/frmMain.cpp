#include "app/frmMain.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/HQ.h"
#include "app/HostWindow.h"
#include "app/frmSetup.h"
#include "gui/AppTitles.h"
#include "gui/WizardPage.h"
#include "wizard/frmVehStart.h"

namespace vorlane {

frmMain::frmMain(HQ& hq, QWidget* parent) : HostedPage(hq, parent), hq_(hq) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(kProgramTitle);

  auto* layout = new QVBoxLayout(this);
  lblWelcome_ = new QLabel(QStringLiteral("Welcome to the Vorlane! Select one of the options below to begin."), this);
  lblWelcome_->setObjectName(QStringLiteral("lblWelcome"));
  lblWelcome_->setWordWrap(true);
  layout->addWidget(lblWelcome_);
  setMinimumWidth(440);

  options_ = new QButtonGroup(this);
  const QString captions[] = {QStringLiteral("Design a component."), QStringLiteral("Design a facility."),
                              QStringLiteral("Design a vehicle."), QStringLiteral("Setup the Vorlane")};
  auto* optionBox = new QVBoxLayout;
  optionBox->setContentsMargins(24, 8, 24, 8);
  for (int i = 0; i < 4; ++i) {
    auto* option = new QRadioButton(captions[i], this);
    option->setObjectName(QStringLiteral("optCreate(%1)").arg(i));
    options_->addButton(option, i);
    optionBox->addWidget(option);
    optCreate_[static_cast<std::size_t>(i)] = option;
  }
  optCreate_[0]->setChecked(true);
  layout->addLayout(optionBox);
  layout->addStretch(1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  cmdBack_ = new QPushButton(QStringLiteral("<<< &Back"), this);
  cmdBack_->setObjectName(QStringLiteral("cmdBack"));
  cmdBack_->setEnabled(false);
  cmdClose_ = new QPushButton(QStringLiteral("&Close"), this);
  cmdClose_->setObjectName(QStringLiteral("cmdClose"));
  cmdNext_ = new QPushButton(QStringLiteral("&Next >>>"), this);
  cmdNext_->setObjectName(QStringLiteral("cmdNext"));
  for (QPushButton* b : {cmdBack_, cmdClose_, cmdNext_}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  layout->addLayout(buttons);
  // Beside the menu's own buttons, and after them in tab order: the design
  // of the option chosen on the design sheet.
  cmdSheet_ = new QPushButton(QStringLiteral("Design &Sheet"), this);
  cmdSheet_->setObjectName(QStringLiteral("cmdSheet"));
  cmdSheet_->setAutoDefault(false);
  cmdSheet_->setToolTip(QStringLiteral("Shows every field of the design on one page, with its entry."));
  buttons->insertWidget(0, cmdSheet_);
  auto sheetFollows = [this] { cmdSheet_->setEnabled(SelectedOption() == 0 || SelectedOption() == 1); };
  connect(options_, &QButtonGroup::idToggled, this, sheetFollows);
  sheetFollows();
  connect(cmdSheet_, &QPushButton::clicked, this, [this] {
    if (SelectedOption() == 0 || SelectedOption() == 1) {
      this->hq().ShowDesignSheet(SelectedOption() == 0 ? DesignKind::Component : DesignKind::Facility);
    }
  });
  SetDefaultButton(cmdNext_);
  SetCancelButton(cmdClose_);

  connect(cmdNext_, &QPushButton::clicked, this, [this] { cmdNext_Click(); });
  connect(cmdClose_, &QPushButton::clicked, this, [this] { this->hq().Host().EndProgram(); });
}

int frmMain::SelectedOption() const { return options_->checkedId(); }

void frmMain::cmdNext_Click() {
  HostedPage* next = nullptr;
  switch (SelectedOption()) {
    case 0: next = hq().CreatePage(PageId::CompStart); break;
    case 1: next = hq().CreatePage(PageId::FacStart); break;
    case 2: next = new frmVehStart(hq()); break;
    case 3: next = new frmSetup(hq()); break;
    default: return;
  }
  hq().Host().ShowPage(next);
}

}  // namespace vorlane
