// The design sheet's lists (technology requirements, abilities) through Qt's
// model/view: a table model over the record's list, one row per entry, and
// the delegate that edits a cell in a formula box. Only the rows in view
// have boxes (ListTable keeps them open), so a list of 32,767 entries costs
// what a screenful costs.
#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/LiveEntry.h"
#include "gui/FormulaHelp.h"

namespace vorlane {

class SheetRecord;

class ListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // True on the cell the generation failed in.
  static constexpr int kFaultRole = Qt::UserRole + 1;

  // `captions`: the column headers, in the order of the record's columns.
  ListModel(SheetRecord& record, std::string_view list, std::vector<QString> captions, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  // Writes the cell only when the text differs from the stored one.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  const std::string& List() const { return list_; }
  FieldPlace Place(const QModelIndex& index) const;
  // The cell of `place`; invalid when it is none of this list's.
  QModelIndex IndexOf(const FieldPlace& place) const;

  // Adds an empty entry at the end; removes the entry of row `row`.
  void AddRow();
  void RemoveRow(int row);
  // The record was replaced or changed behind the model.
  void Reload();

  void SetColumnEnabled(std::size_t column, bool enabled);
  // Marks one cell (nothing: none).
  void SetFaultCell(const QModelIndex& index);

 signals:
  // The user changed a cell (written already).
  void Edited(const vorlane::FieldPlace& place);

 private:
  SheetRecord& record_;
  std::string list_;
  std::vector<std::string> columns_;
  std::vector<QString> captions_;
  std::vector<bool> enabled_;
  QPersistentModelIndex fault_;
};

// Edits a cell in a formula box named as the cell ("AbilVal1(2)") with the
// formula help; every keystroke is written into the record at once, as in
// the sheet's other boxes.
class FormulaDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  FormulaDelegate(CatalogueSource catalogue, QObject* parent = nullptr);

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  // Leaves a box alone that shows the stored text already (the cursor stays).
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  CatalogueSource catalogue_;
};

// The text a cell shows when no box covers it: its start, on one line.
QString CellPreview(const QString& text);

}  // namespace vorlane
