// Pieces of the design sheet: the one-line fault message that takes the user
// to the field, and the editable tables of the technology requirements and
// abilities (one row per entry, a Remove button per row, Add below).
#pragma once

#include <QLabel>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "generate/LiveEntry.h"

class QGridLayout;
class QLineEdit;
class QPushButton;

namespace vorlane {

class SheetRecord;

// Where a generation failed, in one line under the field; a click goes there.
class FaultLabel : public QLabel {
  Q_OBJECT

 public:
  explicit FaultLabel(QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// A line edit bound to one field of the record.
struct BoundEdit {
  FieldPlace place;
  QLineEdit* edit;
};

class ListTable : public QWidget {
  Q_OBJECT

 public:
  // `captions`: the column headers, in the order of the record's columns.
  ListTable(SheetRecord& record, std::string_view list, std::vector<QString> captions, QWidget* parent = nullptr);

  // Makes the rows anew from the record.
  void Rebuild();
  const std::vector<BoundEdit>& Edits() const { return edits_; }
  FaultLabel* Fault() const { return fault_; }
  QPushButton* AddButton() const { return add_; }
  // Columns only grid designs use are enabled with the grid.
  void SetColumnEnabled(std::size_t column, bool enabled);

 signals:
  // The user changed a cell.
  void Edited(const vorlane::FieldPlace& place);
  // Rows were added or removed (the edits are new).
  void Resized();

 private:
  SheetRecord& record_;
  std::string list_;
  std::vector<std::string> columns_;
  std::vector<QString> captions_;
  std::vector<bool> enabled_;
  QGridLayout* grid_;
  QWidget* rows_;
  FaultLabel* fault_;
  QPushButton* add_;
  std::vector<BoundEdit> edits_;
};

// The text index in `text` before its 1-based character `position` (a
// character may take two UTF-16 units); the end for 0 or a position past it.
int TextIndexOfCharacter(const QString& text, int position);

}  // namespace vorlane
