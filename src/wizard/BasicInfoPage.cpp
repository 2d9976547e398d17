#include "wizard/BasicInfoPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QVBoxLayout>

#include "generate/DesignCheck.h"
#include "gui/PageParts.h"
#include "gui/Services.h"
#include "records/FieldChoices.h"

namespace vorlane {

const QStringList& BasicInfoPage::RestrictionItems() {
  static const QStringList items = [] {
    QStringList list;
    for (std::string_view item : choices::kRestrictions) list << Q(item);
    return list;
  }();
  return items;
}

BasicInfoPage::BasicInfoPage(Session& session, const Words& words, QWidget* parent) : WizardPage(session, parent), words_(words) {
  setObjectName(QString::fromLatin1(words.pageName));
  setWindowTitle(words.title);

  auto* layout = new QVBoxLayout(Body());
  layout->addWidget(MakeIntro(
      Body(), "lblBasicInfo", QStringLiteral("Now we'll fill out some more basic information about your %1.").arg(words.noun)));
  auto* form = new QGridLayout;
  layout->addLayout(form);
  int row = 0;
  auto addRow = [&](QLabel* label, QWidget* field) {
    form->addWidget(label, row, 0);
    form->addWidget(field, row, 1);
    ++row;
  };

  // Created in tab order.
  lblNumberStyle_ = MakeLabel(Body(), "lblNumberStyle", QStringLiteral("Numbering Style:"), words.numberLabelTip);
  txtNumberStyle_ = MakeTextBox(Body(), "txtNumberStyle", words.numberStyleTip);
  txtNumberStyle_->setMinimumWidth(300);
  addRow(lblNumberStyle_, txtNumberStyle_);
  lblRomanStyle_ = MakeLabel(Body(), "lblRomanStyle", QStringLiteral("Roman Numeral Style:"), words.romanLabelTip);
  txtRomanStyle_ = MakeTextBox(Body(), "txtRomanStyle", words.romanStyleTip);
  addRow(lblRomanStyle_, txtRomanStyle_);
  txtFamily_ = MakeTextBox(Body(), "txtFamily", words.familyTip);
  addRow(MakeLabel(Body(), "lblFamily", words.familyCaption, words.familyTip), txtFamily_);
  txtGeneralGroup_ = MakeTextBox(Body(), "txtGeneralGroup", words.groupTip);
  addRow(MakeLabel(Body(), "lblGenGroup", words.groupCaption, words.groupLabelTip), txtGeneralGroup_);

  if (words.component) {
    const QString customTip = QStringLiteral("Determines the custom group of the component.");
    txtCustomGroup_ = MakeTextBox(Body(), "txtCustomGroup", customTip);
    addRow(MakeLabel(Body(), "lblCustomGrp", QStringLiteral("Custom Group:"), customTip), txtCustomGroup_);

    const QString restrictionsTip = QStringLiteral("Sets any restrictions for the component.");
    cboRestrictions_ = new QComboBox(Body());
    cboRestrictions_->setObjectName(QStringLiteral("cboRestrictions"));
    cboRestrictions_->setToolTip(restrictionsTip);
    cboRestrictions_->setEditable(true);
    cboRestrictions_->setInsertPolicy(QComboBox::NoInsert);
    cboRestrictions_->setCompleter(nullptr);  // what is typed is stored as typed
    cboRestrictions_->addItems(RestrictionItems());
    HoldAnyLength(cboRestrictions_->lineEdit());
    addRow(MakeLabel(Body(), "lblRestrictions", QStringLiteral("Restrictions:"), restrictionsTip), cboRestrictions_);
  } else {
    const QString minTip = QStringLiteral("This determines the cost in minerals of your facility.");
    const QString orgTip = QStringLiteral("This determines the cost in organics of your facility.");
    const QString radTip = QStringLiteral("This determines the cost in radioactives of your facility.");
    txtMinCost_ = MakeTextBox(Body(), "txtMinCost", minTip);
    addRow(MakeLabel(Body(), "lblMin", QStringLiteral("Minerals Cost:"), minTip), txtMinCost_);
    txtOrgCost_ = MakeTextBox(Body(), "txtOrgCost", orgTip);
    addRow(MakeLabel(Body(), "lblOrg", QStringLiteral("Organics Cost:"), orgTip), txtOrgCost_);
    txtRadCost_ = MakeTextBox(Body(), "txtRadCost", radTip);
    addRow(MakeLabel(Body(), "lblRad", QStringLiteral("Radioactives Cost:"), radTip), txtRadCost_);
  }
}

void BasicInfoPage::LoadFields() {
  // Grid designs take their numbering from the technology requirements.
  const bool styles = !Grid();
  for (QWidget* w : {static_cast<QWidget*>(txtNumberStyle_), static_cast<QWidget*>(lblNumberStyle_),
                     static_cast<QWidget*>(txtRomanStyle_), static_cast<QWidget*>(lblRomanStyle_)})
    w->setEnabled(styles);

  const Values v = ReadRecord();
  txtNumberStyle_->setText(Q(v.numberStyle));
  txtRomanStyle_->setText(Q(v.romanStyle));
  txtFamily_->setText(Q(v.family));
  txtGeneralGroup_->setText(Q(v.group));
  if (words_.component) {
    txtCustomGroup_->setText(Q(v.customGroup));
    cboRestrictions_->setCurrentIndex(-1);
    cboRestrictions_->setEditText(Q(v.restrictions));
  } else {
    txtMinCost_->setText(Q(v.minCost));
    txtOrgCost_->setText(Q(v.orgCost));
    txtRadCost_->setText(Q(v.radCost));
  }
}

bool BasicInfoPage::CheckFields() {
  Services& services = session().services();
  const bool grid = Grid();
  if (txtNumberStyle_->text().isEmpty() && !grid &&
      !services.Ask(this, QStringLiteral("Do you want to leave the numbering style blank?")))
    return false;
  if (txtRomanStyle_->text().isEmpty() && !grid &&
      !services.Ask(this, QStringLiteral("Do you want to leave the Roman numeral style blank?")))
    return false;
  if (txtFamily_->text().isEmpty()) {
    services.Inform(this, Q(page_text::kFamilyMissing));
    return false;
  }
  if (txtGeneralGroup_->text().isEmpty() && !services.Ask(this, words_.groupQuestion)) return false;
  if (!words_.component) return true;
  if (txtCustomGroup_->text().isEmpty()) {
    services.Inform(this, Q(page_text::kCustomGroupMissing));
    return false;
  }
  if (cboRestrictions_->currentText().isEmpty()) {
    services.Inform(this, Q(page_text::kRestrictionsMissing));
    return false;
  }
  return true;
}

void BasicInfoPage::SaveFields() {
  Values v;
  v.numberStyle = S(txtNumberStyle_->text());
  v.romanStyle = S(txtRomanStyle_->text());
  v.family = S(txtFamily_->text());
  v.group = S(txtGeneralGroup_->text());
  if (words_.component) {
    v.customGroup = S(txtCustomGroup_->text());
    v.restrictions = S(cboRestrictions_->currentText());
  } else {
    v.minCost = S(txtMinCost_->text());
    v.orgCost = S(txtOrgCost_->text());
    v.radCost = S(txtRadCost_->text());
  }
  WriteRecord(v);
}

}  // namespace vorlane
