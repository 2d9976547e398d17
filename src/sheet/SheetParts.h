// Pieces of the design sheet: the one-line fault message that takes the user
// to the field, and the editable tables of the technology requirements and
// abilities (one row per entry, Add and Remove below).
#pragma once

#include <QLabel>
#include <QPersistentModelIndex>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "generate/LiveEntry.h"
#include "gui/FormulaHelp.h"

class QLineEdit;
class QPushButton;
class QTableView;

namespace vorlane {

class SheetRecord;
class ListModel;

// The name of a field's control: its key, a list cell's with its entry
// ("AbilVal1(2)"). Tests, the fault marks and the history find controls by it.
QString ControlName(const FieldPlace& place);

// Where a generation failed, in one line under the field; a click goes there.
// The line is one line high whatever its text (a long one is cut with "…",
// its tooltip shows it whole), and while reserved it keeps its room when
// hidden, so that the fields below stay where they are while the user types.
class FaultLabel : public QLabel {
  Q_OBJECT

 public:
  explicit FaultLabel(QWidget* parent = nullptr);

  void SetReserved(bool reserved);
  bool Reserved() const { return sizePolicy().retainSizeWhenHidden(); }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

// A line edit bound to one field of the record.
struct BoundEdit {
  FieldPlace place;
  QLineEdit* edit;
};

// A list of the record (technology requirements, abilities) as a table: one
// row per entry, a formula box in each cell of the rows in view (only those:
// the boxes of rows scrolled away are closed), Add and Remove below. Remove
// takes the current row and leaves the focus in the row that takes its place.
class ListTable : public QWidget {
  Q_OBJECT

 public:
  // The most rows the table shows at once.
  static constexpr int kRowsInView = 12;

  // `captions`: the column headers, in the order of the record's columns.
  ListTable(SheetRecord& record, std::string_view list, std::vector<QString> captions, CatalogueSource catalogue,
            QWidget* parent = nullptr);

  // Shows the record's list anew (after it was replaced).
  void Rebuild();
  // The boxes open now: those of the rows in view.
  std::vector<BoundEdit> Edits() const;
  // The box of a cell, scrolled into view and opened; nullptr for none.
  QLineEdit* OpenEdit(const FieldPlace& place);
  FaultLabel* Fault() const { return fault_; }
  QPushButton* AddButton() const { return add_; }
  QPushButton* RemoveButton() const { return remove_; }
  QTableView* View() const { return view_; }
  ListModel* Model() const { return model_; }
  // Columns only grid designs use are enabled with the grid.
  void SetColumnEnabled(std::size_t column, bool enabled);

 signals:
  // The user changed a cell.
  void Edited(const vorlane::FieldPlace& place);
  // Rows were added or removed.
  void Resized();
  // Boxes were opened or closed (scrolling, rows added or removed).
  void EditsChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Opens the boxes of the rows in view and closes the others.
  void UpdateEdits();
  void UpdateHeight();
  void OpenBox(const QModelIndex& cell);
  // Makes `row` current and puts the focus in its box of `column`.
  void FocusCell(int row, int column);

  ListModel* model_;
  QTableView* view_;
  FaultLabel* fault_;
  QPushButton* add_;
  QPushButton* remove_;
  std::vector<QPersistentModelIndex> open_;
  bool updating_ = false;
};

// The text index in `text` before its 1-based character `position` (a
// character may take two UTF-16 units); the end for 0 or a position past it.
int TextIndexOfCharacter(const QString& text, int position);

}  // namespace vorlane
