#include "sheet/DesignSheet.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

#include "gui/CurvePanel.h"
#include "gui/FormulaHelp.h"
#include "gui/LongLineEdit.h"
#include "gui/MaskEdit.h"
#include "gui/PageParts.h"
#include "sheet/LiveEntryPanel.h"
#include "sheet/SheetListModel.h"

namespace vorlane {

namespace {

// The field the generation failed in: a red frame and a pale red ground; a
// field with a warning (a group written as 0): an amber frame, its line amber.
const QString kFaultStyle = QStringLiteral(
    "QLineEdit[fault=\"true\"], QComboBox[fault=\"true\"] { border: 2px solid #c62828; background: #ffebee; }"
    "QLabel#lblFault { color: #c62828; text-decoration: underline; }"
    "QLineEdit[warning=\"true\"], QComboBox[warning=\"true\"] { border: 2px solid #e69500; background: #fff8e1; }"
    "QLabel#lblFault[warning=\"true\"] { color: #8a5a00; }");

void SetFaultMark(QWidget* widget, bool marked, const char* mark = "fault") {
  if (!widget || widget->property(mark).toBool() == marked) return;
  widget->setProperty(mark, marked);
  widget->style()->unpolish(widget);
  widget->style()->polish(widget);
  widget->update();
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

  // The fields and the entry take the page's height.
  if (auto* page = qobject_cast<QBoxLayout*>(this->layout())) {
    for (int i = 0; i < page->count(); ++i) {
      if (page->itemAt(i)->spacerItem()) page->setStretch(i, 0);
    }
    page->setStretchFactor(Body(), 1);
  }
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
  // The fields and the entry share the width (the entry's lines scroll
  // sideways where they do not fit); the fields scroll.
  splitter->setSizes({540, 640});

  computer_ = new LiveComputer(this);
  computer_->SetReceiver([this](int request, const LiveResult& result) { Show(request, result); });
  debounce_.setSingleShot(true);
  connect(&debounce_, &QTimer::timeout, this, [this] { Recompute(); });
  connect(live_, &LiveEntryPanel::RequestChanged, this, [this] { Recompute(); });

  // The curves of the design, made when their tab is first shown and
  // recomputed with the entry while it shows.
  auto* curvesTab = new QWidget(live_->Tabs());
  curvesTab->setObjectName(QStringLiteral("tabCurves"));
  auto* curvesLayout = new QVBoxLayout(curvesTab);
  curvesLayout->setContentsMargins(0, 0, 0, 0);
  live_->Tabs()->addTab(curvesTab, QStringLiteral("&Curves"));
  connect(live_->Tabs(), &QTabWidget::currentChanged, this, [this, curvesTab, curvesLayout] {
    if (live_->Tabs()->currentWidget() != curvesTab) return;
    if (curves_) {
      curves_->RecordChanged();
      return;
    }
    curves_ = new CurvePanel(
        [this]() -> CurveDesign {
          if (record_->Kind() == DesignKind::Facility) return this->session().Facility();
          return this->session().Component();
        },
        curvesTab);
    curves_->setObjectName(QStringLiteral("curvePanel"));
    curvesLayout->addWidget(curves_);
  });
  // Formula help (F1, completion) for the formula boxes, also for rows made later.
  AttachHelp();
  connect(this, &DesignSheet::FormulaEditsChanged, this, [this] { AttachHelp(); });

  // A field's fault line keeps its room while the field has the focus: a
  // fault that comes and goes as the user types moves nothing below it.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { ReserveFaultLines(now); });

  ApplyRules();
  UpdateShape();
  Recompute();
}

// The children die after this object's own part: the focus that leaves them
// and the tabs that go must no longer reach it.
DesignSheet::~DesignSheet() {
  QObject::disconnect(qApp, nullptr, this, nullptr);
  live_->Tabs()->disconnect(this);
  debounce_.stop();
}

// Most of the screen, whatever its size: the window takes the page's size,
// the fields and the entry share it.
QSize DesignSheet::sizeHint() const {
  const QScreen* shown = screen();
  const QRect room = shown ? shown->availableGeometry() : QRect(0, 0, 1024, 768);
  const QSize most(room.width() * 94 / 100, room.height() * 86 / 100);
  return most.expandedTo(minimumSizeHint());
}

void DesignSheet::ReserveFaultLines(QWidget* focus) {
  auto holds = [focus](QWidget* w) { return focus && w && (w == focus || w->isAncestorOf(focus)); };
  for (const Bound& b : bound_) b.fault->SetReserved(holds(b.control_widget));
  if (damageFault_) damageFault_->SetReserved(holds(damageFault_->parentWidget()));
  for (ListTable* table : {tech_, abilities_}) {
    if (table) table->Fault()->SetReserved(holds(table));
  }
}

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
      LoadValue(field.place, field.control, control);
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
      auto* table = new ListTable(*record_, tech ? record_->TechList() : record_->AbilityList(), captions,
                                  [this] { return PageFormulaCatalogue(this); }, box);
      form->addRow(table);
      (tech ? tech_ : abilities_) = table;
      connect(table, &ListTable::Edited, this, [this, tech](const FieldPlace& place) {
        Edited(ControlName(place), tech && place.key == "TechReqGridSize");
      });
      connect(table, &ListTable::Resized, this, [this, table] {
        ApplyRules();
        Edited(table->objectName(), true);
      });
      connect(table, &ListTable::EditsChanged, this, &DesignSheet::FormulaEditsChanged);
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

void DesignSheet::Edited(const QString& key, bool shapeChanged) {
  emit RecordEdited();
  emit DesignEdited(key);
  if (shapeChanged) UpdateShape();
  if (debounceMs_ <= 0) {
    Recompute();
  } else {
    debounce_.start(debounceMs_);
  }
}

// Shows the record's value of a field in its control, leaving alone a control
// that shows it already (its cursor stays).
void DesignSheet::LoadValue(const FieldPlace& place, SheetControl kind, QWidget* control) {
  switch (kind) {
    case SheetControl::Formula: {
      const QString stored = Q(record_->Get(place));
      if (auto* long_ = qobject_cast<LongLineEdit*>(control)) {
        if (long_->text() != stored) long_->setText(stored);
        return;
      }
      auto* edit = static_cast<QLineEdit*>(control);
      if (edit->text() == stored) return;
      edit->setText(stored);
      edit->setCursorPosition(0);
      return;
    }
    case SheetControl::LevelCount: {
      // As the wizard's start page: no count shows as 1 (stored once typed).
      auto* edit = static_cast<MaskEdit*>(control);
      edit->SetMaskedText(Q(record_->Levels()));
      if (edit->Number() == 0) edit->setText(QStringLiteral("1"));
      return;
    }
    case SheetControl::GridFlag: static_cast<QCheckBox*>(control)->setChecked(record_->Grid()); return;
    case SheetControl::VehicleTypes:
    case SheetControl::WeaponTargets: {
      const std::vector<SheetChoice> choices = ChoicesOf(kind);
      const QString stored = Q(record_->Get(place));
      for (std::size_t i = 0; i < choices.size(); ++i) {
        if (auto* box = control->findChild<QCheckBox*>(QStringLiteral("%1(%2)").arg(Q(place.key)).arg(i))) {
          box->setChecked(stored.contains(Q(choices[i].stored), Qt::CaseSensitive));
        }
      }
      return;
    }
    case SheetControl::Restrictions:
    case SheetControl::DamageType:
    case SheetControl::WeaponType:
    case SheetControl::DisplayType: {
      auto* combo = static_cast<QComboBox*>(control);
      const QString stored = Q(record_->Get(place));
      if (combo->isEditable()) {
        if (combo->currentText() == stored) return;
        combo->setCurrentIndex(-1);
        combo->setEditText(stored);
      } else {
        if (combo->findText(stored) < 0) combo->addItem(stored);
        combo->setCurrentIndex(combo->findText(stored));
      }
      return;
    }
  }
}

void DesignSheet::ReloadFromRecord() {
  ClearFault();
  for (const Bound& b : bound_) LoadValue(b.place, b.control, b.control_widget);
  for (const BoundEdit& e : damage_) LoadValue(e.place, SheetControl::Formula, e.edit);
  for (ListTable* table : {tech_, abilities_}) {
    if (!table) continue;
    QScrollBar* bar = table->View()->verticalScrollBar();
    const int top = bar->value();
    table->Rebuild();
    bar->setValue(top);
  }
  ApplyRules();
  UpdateShape();
  Recompute();
}

void DesignSheet::UpdateShape() { live_->SetShape(record_->Grid(), record_->LevelCount(), record_->GridSizes()); }

void DesignSheet::AttachHelp() {
  for (QLineEdit* box : FormulaEdits()) AttachFormulaHelp(box, [this] { return PageFormulaCatalogue(this); });
}

void DesignSheet::Recompute() {
  debounce_.stop();
  computer_->Start(record_->Job(live_->Point(), live_->ChangesShown()));
  if (curves_ && curves_->isVisible()) curves_->RecordChanged();
}

void DesignSheet::Show(int request, const LiveResult& result) {
  live_->ShowResult(result);
  if (result.entry.status == GenerationStatus::Cancelled) {
    emit EntryShown(request);
    return;
  }
  ClearWarnings();
  if (result.entry.fault) {
    ShowFault(*result.entry.fault);
  } else if (result.entry.status == GenerationStatus::Generated) {
    ClearFault();
  }
  ShowWarnings(result.entry.warnings);
  emit EntryShown(request);
}

void DesignSheet::ShowWarnings(const std::vector<GenerationWarning>& warnings) {
  warnings_ = warnings;
  for (const GenerationWarning& warning : warnings_) {
    if (fault_ && fault_->field == warning.field) continue;  // the fault's line stays
    SetFaultMark(ControlOf(warning.field), true, "warning");
    if (FaultLabel* label = FaultLabelOf(warning.field)) {
      const QString line = QStringLiteral("Warning: ") + Q(warning.Line());
      label->setText(label->isVisible() ? label->text() + QLatin1Char('\n') + line : line);
      // A table's one line may show the fault of another row: it stays red.
      if (!fault_ || FaultLabelOf(fault_->field) != label) SetFaultMark(label, true, "warning");
      label->show();
    }
  }
}

void DesignSheet::ClearWarnings() {
  for (const GenerationWarning& warning : warnings_) {
    SetFaultMark(ControlOf(warning.field), false, "warning");
    if (FaultLabel* label = FaultLabelOf(warning.field); label && label->property("warning").toBool()) {
      SetFaultMark(label, false, "warning");
      label->hide();
    }
  }
  warnings_.clear();
}

std::vector<BoundEdit> DesignSheet::ListEdits() const {
  std::vector<BoundEdit> edits = damage_;
  for (ListTable* table : {tech_, abilities_}) {
    if (!table) continue;
    const std::vector<BoundEdit> open = table->Edits();
    edits.insert(edits.end(), open.begin(), open.end());
  }
  return edits;
}

std::vector<QLineEdit*> DesignSheet::FormulaEdits() const {
  std::vector<QLineEdit*> edits;
  for (const Bound& b : bound_) {
    auto* edit = qobject_cast<QLineEdit*>(b.control_widget);
    if (b.control == SheetControl::Formula && edit) edits.push_back(edit);
  }
  for (const BoundEdit& e : ListEdits()) edits.push_back(e.edit);
  return edits;
}

QWidget* DesignSheet::ControlOf(const FieldPlace& field) const {
  for (const Bound& b : bound_) {
    if (b.place == field) return b.control_widget;
  }
  if (ListTable* table = TableOf(field)) return table->OpenEdit(field);
  return EditOf(field);
}

ListTable* DesignSheet::TableOf(const FieldPlace& field) const {
  if (tech_ && field.list == record_->TechList()) return tech_;
  if (abilities_ && field.list == record_->AbilityList()) return abilities_;
  return nullptr;
}

QLineEdit* DesignSheet::EditOf(const FieldPlace& field) const {
  for (const Bound& b : bound_) {
    if (b.place == field) {
      if (auto* edit = qobject_cast<QLineEdit*>(b.control_widget)) return edit;
      if (auto* combo = qobject_cast<QComboBox*>(b.control_widget)) return combo->lineEdit();
      return nullptr;
    }
  }
  if (ListTable* table = TableOf(field)) return table->OpenEdit(field);
  for (const BoundEdit& e : damage_) {
    if (e.place == field) return e.edit;
  }
  return nullptr;
}

FaultLabel* DesignSheet::FaultLabelOf(const FieldPlace& field) const {
  for (const Bound& b : bound_) {
    if (b.place == field) return b.fault;
  }
  if (field.list == "WeaponDamageAtRange") return damageFault_;
  if (ListTable* table = TableOf(field)) return table->Fault();
  return nullptr;
}

void DesignSheet::ShowFault(const GenerationFault& fault) {
  ClearFault();
  fault_ = fault;
  // A list cell is marked in its table (its box may be closed, or made later).
  if (ListTable* table = TableOf(fault.field)) {
    table->Model()->SetFaultCell(table->Model()->IndexOf(fault.field));
  } else {
    SetFaultMark(ControlOf(fault.field), true);
  }
  if (FaultLabel* label = FaultLabelOf(fault.field)) {
    // One line, whatever line breaks the reason brings.
    QString line = Q(fault.Line());
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    label->setText(line);
    QString waiting;
    for (const std::string& w : fault.waiting) waiting += QLatin1Char('\n') + Q(w);
    // The line may be cut to fit: its tooltip has it whole.
    label->setToolTip(line + QStringLiteral("\nClick to go to the character.") + waiting);
    label->show();
  }
}

void DesignSheet::ClearFault() {
  if (!fault_) return;
  if (ListTable* table = TableOf(fault_->field)) {
    table->Model()->SetFaultCell({});
  } else {
    SetFaultMark(ControlOf(fault_->field), false);
  }
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
  if (auto* long_ = qobject_cast<LongLineEdit*>(control)) {
    long_->setFocus(Qt::OtherFocusReason);
    long_->setCursorPosition(TextIndexOfCharacter(long_->text(), position));
    return;
  }
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
