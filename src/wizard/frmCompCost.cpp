#include "wizard/frmCompCost.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "generate/DesignCheck.h"
#include "gui/PageParts.h"
#include "gui/Services.h"

namespace vorlane {

frmCompCost::frmCompCost(Session& session, QWidget* parent) : WizardPage(session, parent) {
  setObjectName(QStringLiteral("frmCompCost"));
  setWindowTitle(kComponentDesignTitle + QStringLiteral(" - Component Cost"));

  auto* layout = new QVBoxLayout(Body());
  layout->addWidget(MakeIntro(
      Body(), "lblCostSupply",
      QStringLiteral(
          "Now fill out the resource cost, size, hitpoint and supply use information for your component.")));
  auto* form = new QGridLayout;
  layout->addLayout(form);

  auto addField = [&](const char* boxName, const char* labelName, const QString& caption, const QString& tip,
                      int row, int column) {
    auto* box = MakeTextBox(Body(), boxName, tip);
    box->setMinimumWidth(160);
    form->addWidget(MakeLabel(Body(), labelName, caption, tip), row, column * 2);
    form->addWidget(box, row, column * 2 + 1);
    return box;
  };
  // Costs on the left, size, hitpoints and supply on the right.
  txtMinCost_ = addField("txtMinCost", "lblMin", QStringLiteral("Min"),
                         QStringLiteral("This determines the cost in minerals of your component."), 0, 0);
  txtOrgCost_ = addField("txtOrgCost", "lblOrg", QStringLiteral("Org"),
                         QStringLiteral("This determines the cost in organics of your component."), 1, 0);
  txtRadCost_ = addField("txtRadCost", "lblRad", QStringLiteral("Rad"),
                         QStringLiteral("This determines the cost in radioactives of your component."), 2, 0);
  txtSize_ = addField("txtSize", "lblSize", QStringLiteral("Size"),
                      QStringLiteral("This determines the size (space taken) of your component."), 0, 1);
  txtHP_ = addField("txtHP", "lblHP", QStringLiteral("HP"),
                    QStringLiteral("This determines the structure (hitpoints) of your component."), 1, 1);
  txtSupplyUse_ = addField("txtSupplyUse", "lblSupply", QStringLiteral("Supply"),
                           QStringLiteral("This determines the amount of supplies used by your component."), 2, 1);

  const vrlComponent& r = Component();
  txtMinCost_->setText(Q(r.MinCost()));
  txtOrgCost_->setText(Q(r.OrgCost()));
  txtRadCost_->setText(Q(r.RadCost()));
  txtSize_->setText(Q(r.Size()));
  txtHP_->setText(Q(r.HP()));
  txtSupplyUse_->setText(Q(r.SupplyUse()));
}

// This page's tab order runs through the costs, the buttons, then supply,
// hitpoints and size.
void frmCompCost::AboutToBeShown() {
  WizardPage::AboutToBeShown();
  const QWidget* order[] = {txtMinCost_, txtOrgCost_,   txtRadCost_, NextButton(), BackButton(),
                            CancelButton(), txtSupplyUse_, txtHP_,      txtSize_};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i)
    QWidget::setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
}

bool frmCompCost::CheckFields() {
  if (!txtHP_->text().isEmpty()) return true;
  session().services().Inform(this, Q(page_text::kHitpointsMissing));
  return false;
}

void frmCompCost::SaveFields() {
  vrlComponent& r = Component();
  r.SetMinCost(S(txtMinCost_->text()));
  r.SetOrgCost(S(txtOrgCost_->text()));
  r.SetRadCost(S(txtRadCost_->text()));
  r.SetSize(S(txtSize_->text()));
  r.SetHP(S(txtHP_->text()));
  r.SetSupplyUse(S(txtSupplyUse_->text()));
}

}  // namespace vorlane
