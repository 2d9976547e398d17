#include "wizard/frmCompWeaponInfo2.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "generate/DesignCheck.h"
#include "gui/PageParts.h"
#include "gui/Services.h"
#include "records/FieldChoices.h"

namespace vorlane {

const QStringList& frmCompWeaponInfo2::DamageTypes() {
  static const QStringList types = [] {
    QStringList list;
    for (std::string_view type : choices::kDamageTypes) list << QString::fromUtf8(type.data(), static_cast<qsizetype>(type.size()));
    return list;
  }();
  return types;
}

frmCompWeaponInfo2::frmCompWeaponInfo2(Session& session, QWidget* parent) : WizardPage(session, parent) {
  setObjectName(QStringLiteral("frmCompWeaponInfo2"));
  setWindowTitle(kComponentDesignTitle + QStringLiteral(" - Weapon Information (cont.)"));

  auto* layout = new QVBoxLayout(Body());
  lblWeaponInfo_ = MakeLabel(
      Body(), "lblWeaponInfo",
      QStringLiteral("Enter the damage type, reload, modifier, and seeker information for your component."));
  lblWeaponInfo_->setWordWrap(true);
  layout->addWidget(lblWeaponInfo_);

  auto* form = new QGridLayout;
  lblDmgType_ = MakeLabel(Body(), "lblDmgType", QStringLiteral("Damage Type"));
  cboDmgType_ = new QComboBox(Body());
  cboDmgType_->setObjectName(QStringLiteral("cboDmgType"));
  cboDmgType_->setEditable(true);
  cboDmgType_->setInsertPolicy(QComboBox::NoInsert);
  cboDmgType_->setCompleter(nullptr);  // what is typed is stored as typed
  cboDmgType_->addItems(DamageTypes());
  HoldAnyLength(cboDmgType_->lineEdit());
  cboDmgType_->setMaxVisibleItems(16);
  cboDmgType_->setMinimumWidth(260);
  lblReload_ = MakeLabel(Body(), "lblReload", QStringLiteral("Reload Time"));
  txtReload_ = MakeTextBox(Body(), "txtReload");
  lblToHit_ = MakeLabel(Body(), "lblToHit", QStringLiteral("To Hit Modifier"));
  txtToHit_ = MakeTextBox(Body(), "txtToHit");
  lblSeekerSpeed_ = MakeLabel(Body(), "lblSeekerSpeed", QStringLiteral("Seeker Speed"));
  txtSeekerSpeed_ = MakeTextBox(Body(), "txtSeekerSpeed");
  lblSeekerHP_ = MakeLabel(Body(), "lblSeekerHP", QStringLiteral("Seeker Hitpoints"));
  txtSeekerHP_ = MakeTextBox(Body(), "txtSeekerHP");
  form->addWidget(lblDmgType_, 0, 0);
  form->addWidget(cboDmgType_, 0, 1);
  form->addWidget(lblReload_, 1, 0);
  form->addWidget(txtReload_, 1, 1);
  form->addWidget(lblToHit_, 2, 0);
  form->addWidget(txtToHit_, 2, 1);
  form->addWidget(lblSeekerSpeed_, 3, 0);
  form->addWidget(txtSeekerSpeed_, 3, 1);
  form->addWidget(lblSeekerHP_, 4, 0);
  form->addWidget(txtSeekerHP_, 4, 1);
  layout->addLayout(form);

  const vrlComponent& record = Component();
  if (record.WeaponType() != "Seeking") {
    for (QWidget* w : {static_cast<QWidget*>(lblSeekerSpeed_), static_cast<QWidget*>(txtSeekerSpeed_),
                       static_cast<QWidget*>(lblSeekerHP_), static_cast<QWidget*>(txtSeekerHP_)}) {
      w->setEnabled(false);
    }
  }
  // The damage type shows as stored, so a new design shows none.
  cboDmgType_->setCurrentIndex(-1);
  cboDmgType_->setEditText(QString::fromStdString(record.WeaponDamageType()));
  txtReload_->setText(QString::fromStdString(record.WeaponReload()));
  txtToHit_->setText(QString::fromStdString(record.WeaponToHitMod()));
  txtSeekerSpeed_->setText(QString::fromStdString(record.WeaponSeekerSpeed()));
  txtSeekerHP_->setText(QString::fromStdString(record.WeaponSeekerHP()));
}

bool frmCompWeaponInfo2::CheckFields() {
  const bool seeking = Component().WeaponType() == "Seeking";
  if (cboDmgType_->currentText().isEmpty() || txtReload_->text().isEmpty() || txtToHit_->text().isEmpty() ||
      (seeking && (txtSeekerSpeed_->text().isEmpty() || txtSeekerHP_->text().isEmpty()))) {
    session().services().Inform(this, QString::fromUtf8(page_text::kWeaponInfoMissing.data()));
    return false;
  }
  return true;
}

void frmCompWeaponInfo2::SaveFields() {
  vrlComponent& record = Component();
  record.SetWeaponDamageType(cboDmgType_->currentText().toStdString());
  record.SetWeaponReload(txtReload_->text().toStdString());
  record.SetWeaponToHitMod(txtToHit_->text().toStdString());
  record.SetWeaponSeekerSpeed(txtSeekerSpeed_->text().toStdString());
  record.SetWeaponSeekerHP(txtSeekerHP_->text().toStdString());
}

}  // namespace vorlane
