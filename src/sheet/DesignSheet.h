// The design sheet: every field of a component or facility design on one
// scrollable page, grouped as the wizard's pages group them, with the live
// entry beside it. It edits the session's record itself, as the wizard does,
// and writes a field only when the user changes it, so switching between the
// sheet and the wizard, or saving, keeps every value the user did not touch
// exactly as stored.
//
// The fields come from the sheet's table (sheet/SheetTable.h) and the
// record's field table; the controls carry the field's key as objectName
// ("MinCost", list cells "AbilVal1(2)", "WeaponDamageAtRange(5)").
//
// Each change recomputes the entry shown (after a short pause in typing) off
// the GUI thread; a failing entry marks its field and shows the located
// message under it, and a click on the message puts the cursor there.
//
// Next opens the wizard's generate page; Cancel and the close box return to
// the main menu. What the user typed is in the record already.
#pragma once

#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "gui/WizardPage.h"
#include "sheet/SheetParts.h"
#include "sheet/SheetRecord.h"

class QGroupBox;
class QScrollArea;

namespace vorlane {

class LiveComputer;
class CurvePanel;
class LiveEntryPanel;

class DesignSheet : public WizardPage {
  Q_OBJECT

 public:
  // `savedComponent` / `savedFacility` give the design as last saved, for
  // the comparison (nothing: the design has no file).
  DesignSheet(Session& session, DesignKind kind, std::function<std::optional<vrlComponent>()> savedComponent = {},
              std::function<std::optional<vrlFacility>()> savedFacility = {}, QWidget* parent = nullptr);
  ~DesignSheet() override;

  std::optional<DesignKind> Kind() const override { return record_->Kind(); }
  QSize sizeHint() const override;

  // Every line edit that holds a formula (text fields, list cells, damage
  // ranges), for helpers such as a completer. List rows are made anew when
  // rows are added or removed; FormulaEditsChanged() tells.
  std::vector<QLineEdit*> FormulaEdits() const;
  // The control of a field, or nullptr.
  QWidget* ControlOf(const FieldPlace& field) const;

  // The live entry beside the fields. Its tab widget (Live()->Tabs()) holds
  // the "Entry" tab and is the place for further views of the design, such
  // as a "Curves" tab.
  LiveEntryPanel* Live() const { return live_; }
  LiveComputer* Computer() const { return computer_; }

  // Marks the field `fault` names and shows its line; GoToFault() puts the
  // focus in the field with the cursor at the fault's character (what a
  // click on the line does).
  void ShowFault(const GenerationFault& fault);
  void ClearFault();
  void GoToFault();
  const std::optional<GenerationFault>& Fault() const { return fault_; }
  // Marks the fields of `warnings` (groups written as 0) apart from a fault,
  // each with its line under it; the fault's field keeps its own line.
  void ShowWarnings(const std::vector<GenerationWarning>& warnings);
  void ClearWarnings();
  const std::vector<GenerationWarning>& Warnings() const { return warnings_; }

  // Opens the sheet on the entry of `fault` with its field marked and
  // focused (after a failed generation).
  void OpenAtFault(const GenerationFault& fault);

  // The pause after the last change before the entry is recomputed; 0
  // recomputes at once.
  void SetDebounce(int milliseconds) { debounceMs_ = milliseconds; }

  // Recomputes now.
  void Recompute();

  // Shows every field anew from the record, after the record was replaced
  // as a whole (undo); the fields' scroll position stays where it can.
  void ReloadFromRecord();

 signals:
  void FormulaEditsChanged();
  // The user changed the record (also through rows made since the sheet
  // was shown).
  void RecordEdited();
  // The user changed one field, written into the record already: `key` is
  // its design-file key, a list cell's with its entry ("AbilVal1(2)"), a
  // list's own key ("TechReqs", "Abilities") for an added or removed row.
  void DesignEdited(const QString& key);
  // A result was shown (its request number).
  void EntryShown(int request);

 protected:
  HostedPage* CreateNextPage() override;
  HostedPage* CreatePreviousPage() override { return nullptr; }
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Bound {
    FieldPlace place;
    SheetControl control;
    QWidget* control_widget;
    FaultLabel* fault;
  };

  void BuildGroups();
  QWidget* MakeControl(const SheetField& field);
  QWidget* MakeChoiceBoxes(const SheetField& field);
  QWidget* MakeCombo(const SheetField& field, bool editable);
  QWidget* MakeDamageRanges(QGroupBox* box);
  void LoadValue(const FieldPlace& place, SheetControl kind, QWidget* control);
  void Edited(const QString& key, bool shapeChanged = false);
  void AttachHelp();
  void ApplyRules();
  void UpdateShape();
  void Show(int request, const LiveResult& result);
  FaultLabel* FaultLabelOf(const FieldPlace& field) const;
  ListTable* TableOf(const FieldPlace& field) const;
  void ReserveFaultLines(QWidget* focus);
  QLineEdit* EditOf(const FieldPlace& field) const;
  std::vector<BoundEdit> ListEdits() const;

  std::unique_ptr<SheetRecord> record_;
  QScrollArea* scroll_;
  LiveEntryPanel* live_;
  CurvePanel* curves_ = nullptr;
  LiveComputer* computer_;
  std::vector<Bound> bound_;
  std::vector<BoundEdit> damage_;
  FaultLabel* damageFault_ = nullptr;
  ListTable* tech_ = nullptr;
  ListTable* abilities_ = nullptr;
  QGroupBox* damageGroup_ = nullptr;
  QTimer debounce_;
  int debounceMs_ = 150;
  std::optional<GenerationFault> fault_;
  std::vector<GenerationWarning> warnings_;
};

}  // namespace vorlane
