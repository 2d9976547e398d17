#include "wizard/StartPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "generate/DesignCheck.h"
#include "gui/LongLineEdit.h"
#include "gui/MaskEdit.h"
#include "gui/Services.h"

namespace vorlane {

namespace {

// Typing is limited to 150 characters; a longer stored text widens the box.
constexpr int kMaxTextLength = 150;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, const QString& tooltip) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setToolTip(tooltip);
  return label;
}

}  // namespace

StartPage::StartPage(Session& session, const Words& words, QWidget* parent) : WizardPage(session, parent), words_(words) {
  setObjectName(QString::fromLatin1(words.pageName));
  setWindowTitle(words.title);

  const QString nameTip = QStringLiteral("Enter the name you would like to give your %1 in the box.").arg(words.noun);
  const QString descTip = QStringLiteral("Enter a description of your %1 in the box.").arg(words.noun);

  auto* layout = new QVBoxLayout(Body());
  lblGetStarted_ = new QLabel(
      QStringLiteral("Let's get started by filling out some basic information about your %1.").arg(words.noun), Body());
  lblGetStarted_->setObjectName(QStringLiteral("lblGetStarted"));
  lblGetStarted_->setWordWrap(true);
  layout->addWidget(lblGetStarted_);

  auto* form = new QGridLayout;
  lblName_ = MakeLabel(Body(), words.nameLabel, words.nameCaption, nameTip);
  txtName_ = new QLineEdit(Body());
  txtName_->setObjectName(QString::fromLatin1(words.nameBox));
  txtName_->setToolTip(nameTip);
  txtName_->setMaxLength(kMaxTextLength);
  txtName_->setMinimumWidth(320);

  lblDesc_ = MakeLabel(Body(), words.descLabel, words.descCaption, descTip);
  txtDesc_ = new QLineEdit(Body());
  txtDesc_->setObjectName(QString::fromLatin1(words.descBox));
  txtDesc_->setToolTip(descTip);
  txtDesc_->setMaxLength(kMaxTextLength);
  txtDescLong_ = new LongLineEdit(Body());
  txtDescLong_->setObjectName(QString::fromLatin1(words.descBox) + QStringLiteral("Long"));
  txtDescLong_->setToolTip(descTip);
  txtDescLong_->hide();

  lblLevels_ = MakeLabel(Body(), words.levelsLabel, QStringLiteral("Number of Levels"), words.levelsTooltip);
  txtLevels_ = new MaskEdit(QStringLiteral("999"), kMaxLevelCount, Body());
  txtLevels_->setObjectName(QString::fromLatin1(words.levelsBox));
  txtLevels_->setToolTip(words.levelsTooltip);

  chkGrid_ = new QCheckBox(QStringLiteral("&Check this if you would like to create a grid %1.").arg(words.noun), Body());
  chkGrid_->setObjectName(QString::fromLatin1(words.gridBox));
  chkGrid_->setToolTip(QStringLiteral(
      "See the Formula Reference (Help menu, or F1 in a formula box) for the variables of a grid design."));

  form->addWidget(lblName_, 0, 0);
  form->addWidget(txtName_, 0, 1);
  form->addWidget(lblDesc_, 1, 0);
  form->addWidget(txtDesc_, 1, 1);
  form->addWidget(txtDescLong_, 1, 1);
  form->addWidget(lblLevels_, 2, 0);
  form->addWidget(txtLevels_, 2, 1, Qt::AlignLeft);
  layout->addLayout(form);
  layout->addWidget(chkGrid_);

  if (!words.buttonTooltips) ClearButtonTooltips();
  // Nothing comes before a start page.
  BackButton()->setEnabled(words.backEnabled);
  if (!words.backEnabled) BackButton()->setToolTip(QString());

  connect(chkGrid_, &QCheckBox::clicked, this, [this] { GridClicked(); });
}

void StartPage::GridClicked() {
  const bool enabled = !chkGrid_->isChecked();
  txtLevels_->setEnabled(enabled);
  lblLevels_->setEnabled(enabled);
}

void StartPage::LoadFields() {
  const Values values = ReadRecord();
  const QString name = QString::fromStdString(values.name);
  txtName_->setMaxLength(std::max(kMaxTextLength, static_cast<int>(name.size())));
  txtName_->setText(name);
  const QString desc = QString::fromStdString(values.desc);
  const bool longDesc = desc.size() > LongLineEdit::kLongText;
  txtDesc_->setMaxLength(longDesc ? kMaxTextLength : std::max(kMaxTextLength, static_cast<int>(desc.size())));
  txtDesc_->setText(longDesc ? QString() : desc);
  txtDescLong_->setText(longDesc ? desc : QString());
  txtDesc_->setVisible(!longDesc);
  txtDescLong_->setVisible(longDesc);
  txtLevels_->SetMaskedText(QString::fromStdString(values.levels));
  if (txtLevels_->Number() == 0) txtLevels_->setText(QStringLiteral("1"));
  chkGrid_->setChecked(values.grid);
  GridClicked();
}

QString StartPage::DescText() const {
  return txtDescLong_->isVisibleTo(this) ? txtDescLong_->text() : txtDesc_->text();
}

bool StartPage::CheckFields() {
  Services& services = session().services();
  if (txtName_->text().isEmpty()) {
    services.Inform(this, QString::fromStdString(page_text::NameMissing(words_.noun.toStdString())));
    return false;
  }
  if (DescText().isEmpty() && !services.Ask(this, QStringLiteral("Do you want to leave the description blank?")))
    return false;
  if (txtLevels_->Digits().isEmpty() && chkGrid_->isChecked()) {
    services.Inform(this, QStringLiteral("You must enter a number of levels for your %1.").arg(words_.noun));
    return false;
  }
  if (txtLevels_->Number() < 1) {
    services.Inform(this, QStringLiteral("You must have at least one level for your %1.").arg(words_.noun));
    return false;
  }
  return true;
}

void StartPage::SaveFields() {
  Values values;
  values.name = txtName_->text().toStdString();
  values.desc = DescText().toStdString();
  values.levels = txtLevels_->Digits().toStdString();
  values.grid = chkGrid_->isChecked();
  WriteRecord(values);
}

}  // namespace vorlane
