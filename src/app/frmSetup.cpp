#include "app/frmSetup.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/HQ.h"
#include "gui/AppTitles.h"
#include "gui/Services.h"
#include "util/Platform.h"

namespace vorlane {

namespace {

QPushButton* MakeFolderButton(QWidget* parent, const char* name) {
  auto* button = new QPushButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setIcon(parent->style()->standardIcon(QStyle::SP_DirIcon));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

frmSetup::frmSetup(HQ& hq, QWidget* parent) : HostedPage(hq, parent), hq_(hq) {
  setObjectName(QStringLiteral("frmSetup"));
  setWindowTitle(kComponentDesignTitle);

  auto* layout = new QVBoxLayout(this);
  lblSetup_ = new QLabel(
      QStringLiteral(
          "Select your SEIV main directory. This allows the Vorlane to find and display component, facility, and "
          "combat pictures when available. You may also set an optional mod directory, which will be searched first "
          "for pictures, allowing mod-specific changes. It is best to install the Image Mod to the SEIV main "
          "directory, as this prevents overlapping of numbers and makes the largest amount of original art available "
          "to the community."),
      this);
  lblSetup_->setObjectName(QStringLiteral("lblSetup"));
  lblSetup_->setWordWrap(true);
  layout->addWidget(lblSetup_);

  auto* form = new QGridLayout;
  lblSEIVDir_ = new QLabel(QStringLiteral("Main SEIV Directory:"), this);
  lblSEIVDir_->setObjectName(QStringLiteral("lblSEIVDir"));
  txtSEIVDir_ = new QLineEdit(this);
  txtSEIVDir_->setObjectName(QStringLiteral("txtSEIVDir"));
  txtSEIVDir_->setMinimumWidth(360);
  cmdBrowseSEIV_ = MakeFolderButton(this, "cmdBrowseSEIV");
  lblModDir_ = new QLabel(QStringLiteral("Mod Directory (optional):"), this);
  lblModDir_->setObjectName(QStringLiteral("lblModDir"));
  txtModDir_ = new QLineEdit(this);
  txtModDir_->setObjectName(QStringLiteral("txtModDir"));
  cmdBrowseMod_ = MakeFolderButton(this, "cmdBrowseMod");
  form->addWidget(lblSEIVDir_, 0, 0, 1, 2);
  form->addWidget(txtSEIVDir_, 1, 0);
  form->addWidget(cmdBrowseSEIV_, 1, 1);
  form->addWidget(lblModDir_, 2, 0, 1, 2);
  form->addWidget(txtModDir_, 3, 0);
  form->addWidget(cmdBrowseMod_, 3, 1);
  layout->addLayout(form);
  layout->addStretch(1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
  cmdOK_->setObjectName(QStringLiteral("cmdOK"));
  cmdOK_->setToolTip(QStringLiteral("Advances to the next screen."));
  cmdCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
  cmdCancel_->setToolTip(QStringLiteral("Returns to the main menu."));
  for (QPushButton* b : {cmdOK_, cmdCancel_}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  layout->addLayout(buttons);
  SetDefaultButton(cmdOK_);
  SetCancelButton(cmdCancel_);

  txtSEIVDir_->setText(QString::fromStdString(hq.SEIVDir()));
  txtModDir_->setText(QString::fromStdString(hq.ModDir()));
  DirsChanged = false;

  for (QLineEdit* box : {txtSEIVDir_, txtModDir_})
    connect(box, &QLineEdit::textChanged, this, [this] { DirsChanged = true; });
  connect(cmdBrowseSEIV_, &QPushButton::clicked, this, [this] { Browse(txtSEIVDir_); });
  connect(cmdBrowseMod_, &QPushButton::clicked, this, [this] { Browse(txtModDir_); });
  connect(cmdOK_, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  connect(cmdCancel_, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmSetup::Browse(QLineEdit* box) {
  const QString start = box->text().isEmpty() ? QDir::currentPath() : box->text();
  if (std::optional<QString> chosen = hq().services().ChooseDirectory(this, start)) box->setText(*chosen);
}

void frmSetup::cmdOK_Click() {
  hq().SetSEIVDir(txtSEIVDir_->text().toStdString());
  hq().SetModDir(txtModDir_->text().toStdString());
  const SaveResult saved = hq().SaveSettingsFile();
  if (!saved.ok) {
    hq().services().Inform(
        this, QStringLiteral("The settings could not be saved to the file \"%1\": %2.\n"
                             "The directories you chose apply until Vorlane is closed.")
                  .arg(QString::fromStdString(Utf8FromPath(hq().SettingsFile())), QString::fromStdString(saved.reason)));
  }
  hq().ShowMainMenu();
}

void frmSetup::cmdCancel_Click() {
  if (DirsChanged && !hq().services().Ask(this, QStringLiteral("Do you want to lose your changes?"))) return;
  hq().ShowMainMenu();
}

}  // namespace vorlane
