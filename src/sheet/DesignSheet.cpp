#include "sheet/DesignSheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

#include "gui/CurvePanel.h"
#include "gui/FormulaHelp.h"
#include "gui/MaskEdit.h"
#include "gui/PageParts.h"
#include "sheet/LiveEntryPanel.h"

namespace vorlane {

namespace {

// The field the generation failed in: a red frame and a pale red ground.
const QString kFaultStyle = QStringLiteral(
    "QLineEdit[fault=\"true\"], QComboBox[fault=\"true\"] { border: 2px solid #c62828; background: #ffebee; }"
    "QLabel#lblFault { color: #c62828; text-decoration: underline; }");

void SetFaultMark(QWidget* widget, bool marked) {
  if (!widget || widget->property("fault").toBool() == marked) return;
  widget->setProperty("fault", marked);
  widget->style()->unpolish(widget);
  widget->style()->polish(widget);
  widget->update();
}

QString ObjectName(const FieldPlace& place) {
  return place.list.empty() ? Q(place.key) : QStringLiteral("%1(%2)").arg(Q(place.key)).arg(place.entry);
}

}  // namespace

DesignSheet::DesignSheet(Session& session, DesignKind kind, std::function<std::optional<vrlComponent>()> savedComponent,
                         std::function<std::optional<vrlFacility>()> savedFacility, QWidget* parent)
    : WizardPage(session, parent),
      record_(MakeSheetRecord(session, kind, std::move(savedComponent), std::move(savedFacility))) {
  setObjectName(QStringLiteral("DesignSheet"));
  setWindowTitle((kind == DesignKind::Component ? kComponentDesignTitle : kFacilityDesignTitle) +
                 QStringLiteral(" - Design Sheet"));
  setStyleSheet(kFaultStyle);
  // Enter in a field must not leave the sheet: Next is pressed only by itself.
  SetDefaultButton(nullptr);
  BackButton()->hide();
  NextButton()->setToolTip(QStringLiteral("Opens the generate page."));

  auto* layout = new QHBoxLayout(Body());
  layout->setContentsMargins(0, 0, 0, 0);
  auto* splitter = new QSplitter(Qt::Horizontal, Body());
  splitter->setObjectName(QStringLiteral("splitSheet"));
  splitter->setChildrenCollapsible(false);
  layout->addWidget(splitter);

  scroll_ = new QScrollArea(splitter);
  scroll_->setObjectName(QStringLiteral("scrollFields"));
  scroll_->setWidgetResizable(true);
  scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  BuildGroups();
  splitter->addWidget(scroll_);

  live_ = new LiveEntryPanel(splitter);
  splitter->addWidget(live_);
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 1);
  // Room for the fields and an entry's lines in full (42 columns of keys and
  // their values); the fields scroll.
  splitter->setSizes({540, 640});
  Body()->setMinimumSize(1180, 620);

  computer_ = new LiveComputer(this);
  computer_->SetReceiver([this](int request, const LiveResult& result) { Show(request, result); });
  debounce_.setSingleShot(true);
  connect(&debounce_, &QTimer::timeout, this, [this] { Recompute(); });
  connect(live_, &LiveEntryPanel::RequestChanged, this, [this] { Recompute(); });

  // The curves of the design, recomputed with the entry while their tab shows.
  curves_ = new CurvePanel(
      [this]() -> CurveDesign {
        if (record_->Kind() == DesignKind::Facility) return this->session().Facility();
        return this->session().Component();
      },
      live_->Tabs());
  curves_->setObjectName(QStringLiteral("curvePanel"));
  live_->Tabs()->addTab(curves_, QStringLiteral("&Curves"));
  connect(live_->Tabs(), &QTabWidget::currentChanged, this, [this] {
    if (live_->Tabs()->currentWidget() == curves_) curves_->RecordChanged();
  });
  // Formula help (F1, completion) for the formula boxes, also for rows made later.
  AttachHelp();
  connect(this, &DesignSheet::FormulaEditsChanged, this, [this] { AttachHelp(); });

  ApplyRules();
  UpdateShape();
  Recompute();
}

DesignSheet::~DesignSheet() = default;

void DesignSheet::BuildGroups() {
  auto* content = new QWidget(scroll_);
  content->setObjectName(QStringLiteral("sheetFields"));
  auto* column = new QVBoxLayout(content);
  const std::vector<SheetField> fields = record_->Fields();
  for (std::size_t g = 0; g < kSheetGroups; ++g) {
    const auto group = static_cast<SheetGroup>(g);
    auto* box = new QGroupBox(QString::fromLatin1(SheetGroupTitle(group)), content);
    box->setObjectName(QStringLiteral("grp%1").arg(g));
    auto* form = new QFormLayout(box);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    bool filled = false;
    for (const SheetField& field : fields) {
      if (field.group != group) continue;
      // The control, with the fault line under it.
      auto* cell = new QWidget(box);
      auto* cellLayout = new QVBoxLayout(cell);
      cellLayout->setContentsMargins(0, 0, 0, 0);
      cellLayout->setSpacing(2);
      QWidget* control = MakeControl(field);
      control->setParent(cell);
      cellLayout->addWidget(control);
      auto* fault = new FaultLabel(cell);
      cellLayout->addWidget(fault);
      connect(fault, &FaultLabel::clicked, this, [this] { GoToFault(); });
      auto* label = new QLabel(Q(field.label), box);
      label->setBuddy(control);
      form->addRow(label, cell);
      bound_.push_back({field.place, field.control, control, fault});
      filled = true;
    }
    if (group == SheetGroup::TechReqs || group == SheetGroup::Abilities) {
      const bool tech = group == SheetGroup::TechReqs;
      std::vector<QString> captions;
      // The columns as the field labels name them (both kinds alike).
      using Columns = Layout<vrlComponent>;
      for (const auto& column : tech ? Columns::kTech : Columns::kAbilities) {
        captions.push_back(Q(ListPartCaption(column.name)));
      }
      auto* table = new ListTable(*record_, tech ? record_->TechList() : record_->AbilityList(), captions, box);
      form->addRow(table);
      (tech ? tech_ : abilities_) = table;
      connect(table, &ListTable::Edited, this, [this, tech](const FieldPlace& place) {
        Edited(tech && place.key == "TechReqGridSize");
      });
      connect(table, &ListTable::Resized, this, [this] {
        ApplyRules();
        emit FormulaEditsChanged();
        Edited(true);
      });
      connect(table->Fault(), &FaultLabel::clicked, this, [this] { GoToFault(); });
      filled = true;
    } else if (group == SheetGroup::DamageAtRange && record_->Count("WeaponDamageAtRange") > 0) {
      form->addRow(MakeDamageRanges(box));
      damageGroup_ = box;
      filled = true;
    }
    if (filled) {
      column->addWidget(box);
    } else {
      delete box;
    }
  }
  column->addStretch(1);
  scroll_->setWidget(content);
}

QWidget* DesignSheet::MakeControl(const SheetField& field) {
  switch (field.control) {
    case SheetControl::Formula: {
      QLineEdit* edit = MakeTextBox(this, "");
      edit->setObjectName(ObjectName(field.place));
      edit->setText(Q(record_->Get(field.place)));
      edit->setCursorPosition(0);
      connect(edit, &QLineEdit::textEdited, this, [this, place = field.place](const QString& text) {
        record_->Set(place, S(text));
        Edited();
      });
      return edit;
    }
    case SheetControl::LevelCount: {
      auto* edit = new MaskEdit(QStringLiteral("999"), kMaxLevelCount, this);
      edit->setObjectName(ObjectName(field.place));
      edit->SetMaskedText(Q(record_->Levels()));
      connect(edit, &QLineEdit::textEdited, this, [this, edit] {
        record_->SetLevels(S(edit->Digits()));
        Edited(true);
      });
      return edit;
    }
    case SheetControl::GridFlag: {
      auto* box = new QCheckBox(QStringLiteral("Grid design"), this);
      box->setObjectName(ObjectName(field.place));
      box->setChecked(record_->Grid());
      connect(box, &QCheckBox::clicked, this, [this](bool checked) {
        record_->SetGrid(checked);
        ApplyRules();
        Edited(true);
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
  holder->setObjectName(ObjectName(field.place));
  auto* grid = new QGridLayout(holder);
  grid->setContentsMargins(0, 0, 0, 0);
  const std::vector<SheetChoice> choices = ChoicesOf(field.control);
  const QString stored = Q(record_->Get(field.place));
  const int rows = field.control == SheetControl::VehicleTypes ? 4 : 3;
  auto boxes = std::make_shared<std::vector<std::pair<QCheckBox*, QString>>>();
  for (std::size_t i = 0; i < choices.size(); ++i) {
    auto* box = new QCheckBox(Q(choices[i].caption), holder);
    const QString word = Q(choices[i].stored);
    box->setObjectName(QStringLiteral("%1(%2)").arg(Q(field.place.key)).arg(i));
    box->setChecked(stored.contains(word, Qt::CaseSensitive));
    grid->addWidget(box, static_cast<int>(i) % rows, static_cast<int>(i) / rows);
    boxes->push_back({box, word});
    connect(box, &QCheckBox::clicked, this, [this, boxes, place = field.place] {
      QStringList words;
      for (const auto& [b, w] : *boxes) {
        if (b->isChecked()) words << w;
      }
      record_->Set(place, S(words.join(QStringLiteral(", "))));
      Edited();
    });
  }
  return holder;
}

// A combo box with the page's items. An editable one stores whatever it
// shows; a list shows a stored value that is none of its items as an extra
// item, so that it is shown as it is.
QWidget* DesignSheet::MakeCombo(const SheetField& field, bool editable) {
  auto* combo = new QComboBox(this);
  combo->setObjectName(ObjectName(field.place));
  // The wheel scrolls the sheet, and picks an item only once clicked into.
  combo->setFocusPolicy(Qt::StrongFocus);
  combo->setEditable(editable);
  for (const SheetChoice& choice : ChoicesOf(field.control)) combo->addItem(Q(choice.caption));
  const QString stored = Q(record_->Get(field.place));
  if (editable) {
    HoldAnyLength(combo->lineEdit());
    combo->setCurrentIndex(-1);
    combo->setEditText(stored);
    connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, place = field.place](const QString& text) {
      record_->Set(place, S(text));
      Edited();
    });
  } else {
    if (combo->findText(stored) < 0) combo->addItem(stored);
    combo->setCurrentIndex(combo->findText(stored));
  }
  connect(combo, &QComboBox::activated, this, [this, combo, place = field.place] {
    record_->Set(place, S(combo->currentText()));
    ApplyRules();
    Edited();
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
    edit->setObjectName(ObjectName(place));
    edit->setText(Q(record_->Get(place)));
    edit->setCursorPosition(0);
    connect(edit, &QLineEdit::textEdited, this, [this, place](const QString& text) {
      record_->Set(place, S(text));
      Edited();
    });
    grid->addWidget(edit, row, column + 1);
    damage_.push_back({place, edit});
  }
  damageFault_ = new FaultLabel(holder);
  layout->addWidget(damageFault_);
  connect(damageFault_, &FaultLabel::clicked, this, [this] { GoToFault(); });
  return holder;
}

// The wizard's rules: a grid design takes its numbering from the
// requirements (no level count, numbering or Roman numeral style of its own,
// but grid sizes and numbering styles per requirement); weapon fields are for
// weapons, seeker fields for seeking weapons.
void DesignSheet::ApplyRules() {
  const bool grid = record_->Grid();
  const std::string weaponType = record_->Get({"", 0, "WeaponType"});
  const bool weapon = weaponType != "None";
  for (const Bound& b : bound_) {
    const std::string& key = b.place.key;
    bool enabled = true;
    if (b.control == SheetControl::LevelCount || key == "NumberStyle" || key == "RomanStyle") enabled = !grid;
    const bool weaponField = std::any_of(std::begin(kSheetPlaces), std::end(kSheetPlaces), [&](const SheetPlace& p) {
                               return p.key == key && p.component == SheetGroup::Weapon;
                             });
    if (weaponField && key != "WeaponType") enabled = weapon;
    if (key == "WeaponSeekerSpeed" || key == "WeaponSeekerHP") enabled = weaponType == "Seeking";
    b.control_widget->setEnabled(enabled);
  }
  if (tech_) {
    tech_->SetColumnEnabled(2, grid);
    tech_->SetColumnEnabled(3, grid);
  }
  if (damageGroup_) damageGroup_->setVisible(weapon);
}

void DesignSheet::Edited(bool shapeChanged) {
  emit RecordEdited();
  if (shapeChanged) UpdateShape();
  if (debounceMs_ <= 0) {
    Recompute();
  } else {
    debounce_.start(debounceMs_);
  }
}

void DesignSheet::UpdateShape() { live_->SetShape(record_->Grid(), record_->LevelCount(), record_->GridSizes()); }

void DesignSheet::AttachHelp() {
  for (QLineEdit* box : FormulaEdits()) AttachFormulaHelp(box, [this] { return PageFormulaCatalogue(this); });
}

void DesignSheet::Recompute() {
  debounce_.stop();
  computer_->Start(record_->Job(live_->Point(), live_->ChangesShown()));
  if (live_->Tabs()->currentWidget() == curves_) curves_->RecordChanged();
}

void DesignSheet::Show(int request, const LiveResult& result) {
  live_->ShowResult(result);
  if (result.entry.fault) {
    ShowFault(*result.entry.fault);
  } else if (result.entry.status == GenerationStatus::Generated) {
    ClearFault();
  }
  emit EntryShown(request);
}

std::vector<BoundEdit> DesignSheet::ListEdits() const {
  std::vector<BoundEdit> edits = damage_;
  for (ListTable* table : {tech_, abilities_}) {
    if (table) edits.insert(edits.end(), table->Edits().begin(), table->Edits().end());
  }
  return edits;
}

std::vector<QLineEdit*> DesignSheet::FormulaEdits() const {
  std::vector<QLineEdit*> edits;
  for (const Bound& b : bound_) {
    if (b.control == SheetControl::Formula) edits.push_back(static_cast<QLineEdit*>(b.control_widget));
  }
  for (const BoundEdit& e : ListEdits()) edits.push_back(e.edit);
  return edits;
}

QWidget* DesignSheet::ControlOf(const FieldPlace& field) const {
  for (const Bound& b : bound_) {
    if (b.place == field) return b.control_widget;
  }
  return EditOf(field);
}

QLineEdit* DesignSheet::EditOf(const FieldPlace& field) const {
  for (const Bound& b : bound_) {
    if (b.place == field) {
      if (auto* edit = qobject_cast<QLineEdit*>(b.control_widget)) return edit;
      if (auto* combo = qobject_cast<QComboBox*>(b.control_widget)) return combo->lineEdit();
      return nullptr;
    }
  }
  for (const BoundEdit& e : ListEdits()) {
    if (e.place == field) return e.edit;
  }
  return nullptr;
}

FaultLabel* DesignSheet::FaultLabelOf(const FieldPlace& field) const {
  for (const Bound& b : bound_) {
    if (b.place == field) return b.fault;
  }
  if (field.list == "WeaponDamageAtRange") return damageFault_;
  if (tech_ && field.list == record_->TechList()) return tech_->Fault();
  if (abilities_ && field.list == record_->AbilityList()) return abilities_->Fault();
  return nullptr;
}

void DesignSheet::ShowFault(const GenerationFault& fault) {
  ClearFault();
  fault_ = fault;
  SetFaultMark(ControlOf(fault.field), true);
  if (FaultLabel* label = FaultLabelOf(fault.field)) {
    // One line, whatever line breaks the reason brings.
    QString line = Q(fault.Line());
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    label->setText(line);
    QString waiting;
    for (const std::string& w : fault.waiting) waiting += QLatin1Char('\n') + Q(w);
    label->setToolTip(QStringLiteral("Click to go to the character.") + waiting);
    label->show();
  }
}

void DesignSheet::ClearFault() {
  if (!fault_) return;
  SetFaultMark(ControlOf(fault_->field), false);
  if (FaultLabel* label = FaultLabelOf(fault_->field)) label->hide();
  fault_.reset();
}

void DesignSheet::GoToFault() {
  if (!fault_) return;
  QWidget* control = ControlOf(fault_->field);
  if (!control) return;
  scroll_->ensureWidgetVisible(control);
  QLineEdit* edit = EditOf(fault_->field);
  const int position = fault_->position;
  auto placeCursor = [edit, position] {
    if (!edit) return;
    edit->deselect();
    edit->setCursorPosition(TextIndexOfCharacter(edit->text(), position));
  };
  (edit ? static_cast<QWidget*>(edit) : control)->setFocus(Qt::OtherFocusReason);
  placeCursor();
  // After the select-all that receiving the focus may queue.
  if (edit) QTimer::singleShot(0, edit, placeCursor);
}

void DesignSheet::OpenAtFault(const GenerationFault& fault) {
  EntryPoint point;
  point.level = std::max(1, std::atoi(fault.level.c_str()));
  point.cell = fault.cell;
  live_->SetPoint(point);
  ShowFault(fault);
  GoToFault();
  Recompute();
}

// The wheel over a combo box that has not been clicked into scrolls the
// fields instead of changing the choice in passing.
bool DesignSheet::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) {
    auto* combo = qobject_cast<QComboBox*>(watched);
    if (combo && !combo->hasFocus() && scroll_->isAncestorOf(combo)) {
      QCoreApplication::sendEvent(scroll_->verticalScrollBar(), event);
      return true;
    }
  }
  return WizardPage::eventFilter(watched, event);
}

HostedPage* DesignSheet::CreateNextPage() {
  return session().CreatePage(record_->Kind() == DesignKind::Component ? PageId::CompGenerate
                                                                       : PageId::FacGenerate);
}

}  // namespace vorlane
