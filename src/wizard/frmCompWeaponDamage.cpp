#include "wizard/frmCompWeaponDamage.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <limits>

#include "gui/FormulaHelp.h"
#include "gui/UpDownArrows.h"

namespace vorlane {

namespace {

const QString kDamageAtRange = QStringLiteral("Damage at Range ");

}  // namespace

frmCompWeaponDamage::frmCompWeaponDamage(Session& session, QWidget* parent) : WizardPage(session, parent) {
  setObjectName(QStringLiteral("frmCompWeaponDamage"));
  setWindowTitle(kComponentDesignTitle + QStringLiteral(" - Weapon Damage"));

  auto* layout = new QVBoxLayout(Body());
  lblWeaponDamage_ =
      new QLabel(QStringLiteral("Finally, enter the damage you want your component to deal at each range."), Body());
  lblWeaponDamage_->setObjectName(QStringLiteral("lblWeaponDamage"));
  lblWeaponDamage_->setWordWrap(true);
  layout->addWidget(lblWeaponDamage_);

  auto* row = new QHBoxLayout;
  lblDmgAtRange_ = new QLabel(kDamageAtRange + QStringLiteral("1"), Body());
  lblDmgAtRange_->setObjectName(QStringLiteral("lblDmgAtRange"));
  lblDmgAtRange_->setMinimumWidth(lblDmgAtRange_->fontMetrics().horizontalAdvance(kDamageAtRange + "88") + 8);
  txtRange_ = new QLineEdit(Body());
  txtRange_->setObjectName(QStringLiteral("txtRange"));
  txtRange_->setMaxLength(std::numeric_limits<int>::max());  // holds a stored value of any length
  txtRange_->setMinimumWidth(220);
  updnRangeNum_ = new UpDownArrows(Body());
  updnRangeNum_->setObjectName(QStringLiteral("updnRangeNum"));
  updnRangeNum_->setRange(1, vrlComponent::kNumRanges);
  updnRangeNum_->setValue(1);
  row->addWidget(lblDmgAtRange_);
  row->addWidget(txtRange_, 1);
  row->addWidget(updnRangeNum_);
  layout->addLayout(row);

  // The box keeps the caret where the user clicks; only a change of range
  // selects its text.
  HostedPage::SetSelectAllOnFocus(txtRange_, false);
  // The arrow keys in the box step the range too, also while the formula
  // completion offers names.
  txtRange_->installEventFilter(this);
  LeaveArrowsToPage(txtRange_);
  connect(updnRangeNum_, &UpDownArrows::valueChanged, this, &frmCompWeaponDamage::RangeChanged);

  curRange_ = 1;
  txtRange_->setText(QString::fromStdString(Component().WeaponDamageAtRange(1).value_or("")));
}

void frmCompWeaponDamage::RangeChanged(int value) {
  vrlComponent& record = Component();
  record.SetWeaponDamageAtRange(curRange_, txtRange_->text().toStdString());
  if (value == curRange_) return;
  curRange_ = static_cast<std::int16_t>(value);
  txtRange_->setText(QString::fromStdString(record.WeaponDamageAtRange(curRange_).value_or("")));
  txtRange_->setFocus();
  txtRange_->selectAll();
  lblDmgAtRange_->setText(kDamageAtRange + QString::number(curRange_));
}

bool frmCompWeaponDamage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtRange_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
      if (key->key() == Qt::Key_Up) {
        updnRangeNum_->stepUp();
        return true;
      }
      if (key->key() == Qt::Key_Down) {
        updnRangeNum_->stepDown();
        return true;
      }
    }
  }
  return WizardPage::eventFilter(watched, event);
}

void frmCompWeaponDamage::SaveFields() {
  Component().SetWeaponDamageAtRange(curRange_, txtRange_->text().toStdString());
}

}  // namespace vorlane
