// The design sheet's controls: one per field, of the kind the sheet's table
// gives it, named after the field's key so that tests and helpers find it.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/LongLineEdit.h"
#include "gui/MaskEdit.h"
#include "gui/PageParts.h"
#include "sheet/DesignSheet.h"
#include "sheet/SheetListModel.h"

namespace vorlane {

QWidget* DesignSheet::MakeControl(const SheetField& field) {
  switch (field.control) {
    case SheetControl::Formula: {
      if (Q(record_->Get(field.place)).size() > LongLineEdit::kLongText) {
        // A text of megabytes: a box that lays out only what shows, without
        // the formula help.
        auto* edit = new LongLineEdit(this);
        edit->setObjectName(ControlName(field.place));
        connect(edit, &LongLineEdit::textEdited, this, [this, place = field.place](const QString& text) {
          record_->Set(place, S(text));
          Edited(ControlName(place));
        });
        return edit;
      }
      QLineEdit* edit = MakeTextBox(this, "");
      edit->setObjectName(ControlName(field.place));
      connect(edit, &QLineEdit::textEdited, this, [this, place = field.place](const QString& text) {
        record_->Set(place, S(text));
        Edited(ControlName(place));
      });
      return edit;
    }
    case SheetControl::LevelCount: {
      auto* edit = new MaskEdit(QStringLiteral("999"), kMaxLevelCount, this);
      edit->setObjectName(ControlName(field.place));
      connect(edit, &QLineEdit::textEdited, this, [this, edit, place = field.place] {
        record_->SetLevels(S(edit->Digits()));
        Edited(ControlName(place), true);
      });
      return edit;
    }
    case SheetControl::GridFlag: {
      auto* box = new QCheckBox(QStringLiteral("Grid design"), this);
      box->setObjectName(ControlName(field.place));
      connect(box, &QCheckBox::clicked, this, [this, place = field.place](bool checked) {
        record_->SetGrid(checked);
        ApplyRules();
        Edited(ControlName(place), true);
      });
      return box;
    }
    case SheetControl::VehicleTypes:
    case SheetControl::WeaponTargets:
      return MakeChoiceBoxes(field);
    case SheetControl::Restrictions:
    case SheetControl::DamageType:
      return MakeCombo(field, true);
    case SheetControl::WeaponType:
    case SheetControl::DisplayType:
      return MakeCombo(field, false);
  }
  return new QWidget(this);
}

// Check boxes for a stored list: a box is set when its word occurs in the
// list (letter case counts); a click stores the words of the set boxes in box
// order, joined by ", ", as the wizard's page does.
QWidget* DesignSheet::MakeChoiceBoxes(const SheetField& field) {
  auto* holder = new QWidget(this);
  holder->setObjectName(ControlName(field.place));
  auto* grid = new QGridLayout(holder);
  grid->setContentsMargins(0, 0, 0, 0);
  const std::vector<SheetChoice> choices = ChoicesOf(field.control);
  const int rows = field.control == SheetControl::VehicleTypes ? 4 : 3;
  auto boxes = std::make_shared<std::vector<std::pair<QCheckBox*, QString>>>();
  for (std::size_t i = 0; i < choices.size(); ++i) {
    auto* box = new QCheckBox(Q(choices[i].caption), holder);
    const QString word = Q(choices[i].stored);
    box->setObjectName(QStringLiteral("%1(%2)").arg(Q(field.place.key)).arg(i));
    grid->addWidget(box, static_cast<int>(i) % rows, static_cast<int>(i) / rows);
    boxes->push_back({box, word});
    connect(box, &QCheckBox::clicked, this, [this, boxes, place = field.place] {
      QStringList words;
      for (const auto& [b, w] : *boxes) {
        if (b->isChecked()) words << w;
      }
      record_->Set(place, S(words.join(QStringLiteral(", "))));
      Edited(ControlName(place));
    });
  }
  return holder;
}

// A combo box with the page's items. An editable one stores whatever it
// shows; a list shows a stored value that is none of its items as an extra
// item, so that it is shown as it is.
QWidget* DesignSheet::MakeCombo(const SheetField& field, bool editable) {
  auto* combo = new QComboBox(this);
  combo->setObjectName(ControlName(field.place));
  // The wheel scrolls the sheet, and picks an item only once clicked into.
  combo->setFocusPolicy(Qt::StrongFocus);
  combo->setEditable(editable);
  for (const SheetChoice& choice : ChoicesOf(field.control)) combo->addItem(Q(choice.caption));
  if (editable) {
    HoldAnyLength(combo->lineEdit());
    connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, place = field.place](const QString& text) {
      record_->Set(place, S(text));
      Edited(ControlName(place));
    });
  }
  connect(combo, &QComboBox::activated, this, [this, combo, place = field.place] {
    record_->Set(place, S(combo->currentText()));
    ApplyRules();
    Edited(ControlName(place));
  });
  return combo;
}

QWidget* DesignSheet::MakeDamageRanges(QGroupBox* box) {
  auto* holder = new QWidget(box);
  auto* layout = new QVBoxLayout(holder);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  const std::string list(record_->Columns("WeaponDamageAtRange").front());
  for (int range = 1; range <= record_->Count(list); ++range) {
    const FieldPlace place{list, range, list};
    const int row = (range - 1) % 7;
    const int column = 2 * ((range - 1) / 7);
    grid->addWidget(new QLabel(QString::number(range), holder), row, column, Qt::AlignRight);
    QLineEdit* edit = MakeTextBox(holder, "", Q(record_->Label(place)));
    edit->setObjectName(ControlName(place));
    LoadValue(place, SheetControl::Formula, edit);
    connect(edit, &QLineEdit::textEdited, this, [this, place](const QString& text) {
      record_->Set(place, S(text));
      Edited(ControlName(place));
    });
    grid->addWidget(edit, row, column + 1);
    damage_.push_back({place, edit});
  }
  damageFault_ = new FaultLabel(holder);
  layout->addWidget(damageFault_);
  connect(damageFault_, &FaultLabel::clicked, this, [this] { GoToFault(); });
  return holder;
}

}  // namespace vorlane
