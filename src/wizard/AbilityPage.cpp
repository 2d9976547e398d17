#include "wizard/AbilityPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/PageParts.h"

namespace vorlane {

namespace {

EntryWalkPage::Words WalkWords(const QString& captionNoun) {
  return {captionNoun + QStringLiteral(" Ability "),
          QStringLiteral("You must fill in a type for this ability\nbefore adding another ability."),
          QStringLiteral("This and all following abilities will be lost?\nContinue?"),
          QStringLiteral("Remove Abilities?")};
}

}  // namespace

AbilityPage::AbilityPage(Session& session, const Words& words, QWidget* parent)
    : EntryWalkPage(session, WalkWords(words.captionNoun), parent) {
  setObjectName(QString::fromLatin1(words.pageName));
  setWindowTitle(words.title);

  auto* layout = new QVBoxLayout(Body());
  layout->addWidget(MakeIntro(
      Body(), "lblTech", QStringLiteral("Now we need to select any abilities you wish to give your %1.").arg(words.noun)));
  auto* caption = MakeLabel(Body(), "lblAbilNum", QString());
  QFont bold = caption->font();
  bold.setBold(true);
  caption->setFont(bold);
  layout->addWidget(caption);

  const QString typeTip = QStringLiteral("This is the %1 ability type.").arg(words.noun);
  const QString descTip = QStringLiteral("This is the description for this %1 ability.").arg(words.noun);
  const QString val1Tip = QStringLiteral("This sets the starting value for ability value 1.");
  const QString val2Tip = QStringLiteral("This sets the starting value for ability value 2.");

  // Created in tab order.
  auto* form = new QGridLayout;
  layout->addLayout(form);
  auto* txtAbilType = MakeTextBox(Body(), "txtAbilType", typeTip);
  txtAbilType->setMinimumWidth(260);
  form->addWidget(MakeLabel(Body(), "lblAbilType", QStringLiteral("Abiility Type:"), typeTip), 0, 0);
  form->addWidget(txtAbilType, 0, 1);
  auto* txtAbilDesc = MakeTextBox(Body(), "txtAbilDesc", descTip);
  form->addWidget(MakeLabel(Body(), "lblAbilDesc", QStringLiteral("Ability Description"), descTip), 1, 0);
  form->addWidget(txtAbilDesc, 1, 1);
  auto* txtVal1 = MakeTextBox(Body(), "txtVal1", val1Tip);
  form->addWidget(MakeLabel(Body(), "lblVal1", QStringLiteral("Value 1"), val1Tip), 2, 0);
  form->addWidget(txtVal1, 2, 1);
  auto* txtVal2 = MakeTextBox(Body(), "txtVal2", val2Tip);
  form->addWidget(MakeLabel(Body(), "lblVal2", QStringLiteral("Value 2"), val2Tip), 3, 0);
  form->addWidget(txtVal2, 3, 1);

  auto* add = new QPushButton(QStringLiteral("&Add Ability"), Body());
  add->setObjectName(QStringLiteral("cmdAddAbility"));
  add->setToolTip(words.addTooltip);
  add->setAutoDefault(false);
  layout->addWidget(add, 0, Qt::AlignLeft);

  SetControls(caption, {txtAbilType, txtAbilDesc, txtVal1, txtVal2}, add);
}

}  // namespace vorlane
