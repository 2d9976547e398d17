#include "wizard/TechPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "generate/DesignCheck.h"
#include "gui/MaskEdit.h"
#include "gui/PageParts.h"
#include "gui/Services.h"

namespace vorlane {

namespace {

EntryWalkPage::Words TechWords() {
  return {QStringLiteral("Technology Requirement "),
          Q(page_text::TechAreaMissing()) + QStringLiteral("\nbefore adding a new requirement."),
          QStringLiteral("This and all following tech requirements will be deleted.\nContinue?"),
          QStringLiteral("Delete Tech Reqs?")};
}

}  // namespace

TechPage::TechPage(Session& session, const char* pageName, const QString& title, const QString& noun,
                   const QString& numberStyleTip, QWidget* parent)
    : EntryWalkPage(session, TechWords(), parent) {
  setObjectName(QString::fromLatin1(pageName));
  setWindowTitle(title);

  auto* layout = new QVBoxLayout(Body());
  layout->addWidget(MakeIntro(
      Body(), "lblTech",
      QStringLiteral("Now we need to enter any technology requirements your %1 will have.").arg(noun)));
  auto* caption = MakeLabel(Body(), "lblTechReqNum", QString());
  QFont bold = caption->font();
  bold.setBold(true);
  caption->setFont(bold);
  layout->addWidget(caption);

  const QString areaTip = QStringLiteral("This is the name of the technology area you want to require.");
  const QString levelTip = QStringLiteral("This determines the required level of the current tech area.");
  const QString gridTip =
      QStringLiteral("This is the number of grid levels you want this tech area to have (the size of this dimension).");

  // Created in tab order.
  auto* form = new QGridLayout;
  layout->addLayout(form);
  auto* txtTechArea = MakeTextBox(Body(), "txtTechArea", areaTip);
  txtTechArea->setMinimumWidth(260);
  form->addWidget(MakeLabel(Body(), "lblTechArea", QStringLiteral("Tech Area:"), areaTip), 0, 0);
  form->addWidget(txtTechArea, 0, 1);
  auto* txtTechLevel = MakeTextBox(Body(), "txtTechLevel", levelTip);
  form->addWidget(MakeLabel(Body(), "lblTechLevel", QStringLiteral("Tech Level:"), levelTip), 1, 0);
  form->addWidget(txtTechLevel, 1, 1);
  lblTechGridSize_ =
      MakeLabel(Body(), "lblTechGridSize", QStringLiteral("Number of levels (grid components only):"), gridTip);
  txtTechGridSize_ = new MaskEdit(QStringLiteral("99"), kMaxStoredGridSize, Body());
  txtTechGridSize_->setObjectName(QStringLiteral("txtTechGridSize"));
  txtTechGridSize_->setToolTip(gridTip);
  form->addWidget(lblTechGridSize_, 2, 0);
  form->addWidget(txtTechGridSize_, 2, 1, Qt::AlignLeft);
  lblTechNumberStyle_ = MakeLabel(Body(), "lblTechNumberStyle", QStringLiteral("Numbering style (grid components only):"),
                                  numberStyleTip);
  txtTechNumberStyle_ = MakeTextBox(Body(), "txtTechNumberStyle", numberStyleTip);
  form->addWidget(lblTechNumberStyle_, 3, 0);
  form->addWidget(txtTechNumberStyle_, 3, 1);

  auto* add = new QPushButton(QStringLiteral("&Add Tech Req"), Body());
  add->setObjectName(QStringLiteral("cmdAddTechReq"));
  add->setToolTip(QStringLiteral("Saves the current tech requirement and starts a new, blank one."));
  add->setAutoDefault(false);
  layout->addWidget(add, 0, Qt::AlignLeft);

  SetControls(caption, {txtTechArea, txtTechLevel, txtTechGridSize_, txtTechNumberStyle_}, add);
}

void TechPage::LoadTechFields() {
  LoadFields();
  const bool grid = Grid();
  for (QWidget* w : {static_cast<QWidget*>(txtTechGridSize_), static_cast<QWidget*>(lblTechGridSize_),
                     static_cast<QWidget*>(txtTechNumberStyle_), static_cast<QWidget*>(lblTechNumberStyle_)})
    w->setEnabled(grid);
}

bool TechPage::CheckEntry() {
  if (Grid() && txtTechGridSize_->Digits().isEmpty()) {
    session().services().Inform(this, Q(page_text::kGridSizeMissing), Q(page_text::kGridSizeTitle));
    return false;
  }
  return true;
}

}  // namespace vorlane
