#include "sheet/SheetListModel.h"

#include <QColor>
#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QStyle>

#include "gui/PageParts.h"
#include "sheet/SheetParts.h"
#include "sheet/SheetRecord.h"

namespace vorlane {

namespace {

// A cell shows at most this many characters of its text; the box shows all.
constexpr qsizetype kPreviewLength = 256;

}  // namespace

QString CellPreview(const QString& text) {
  QString shown = text.left(kPreviewLength);
  shown.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
  return shown;
}

ListModel::ListModel(SheetRecord& record, std::string_view list, std::vector<QString> captions, QObject* parent)
    : QAbstractTableModel(parent),
      record_(record),
      list_(list),
      columns_(record.Columns(list)),
      captions_(std::move(captions)) {
  enabled_.assign(columns_.size(), true);
}

int ListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : record_.Count(list_); }

int ListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

FieldPlace ListModel::Place(const QModelIndex& index) const {
  if (!index.isValid() || index.column() >= columnCount()) return {};
  return {list_, index.row() + 1, columns_[static_cast<std::size_t>(index.column())]};
}

QModelIndex ListModel::IndexOf(const FieldPlace& place) const {
  if (place.list != list_) return {};
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    if (columns_[c] == place.key) return index(place.entry - 1, static_cast<int>(c));
  }
  return {};
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  switch (role) {
    case Qt::DisplayRole: return CellPreview(Q(record_.Get(Place(index))));
    case Qt::EditRole: return Q(record_.Get(Place(index)));
    case Qt::ToolTipRole: return Q(record_.Label(Place(index)));
    case kFaultRole: return index == fault_;
    case Qt::BackgroundRole:
      if (index == fault_) return QColor(0xff, 0xeb, 0xee);
      return {};
    default: return {};
  }
}

bool ListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  const FieldPlace place = Place(index);
  std::string text = S(value.toString());
  if (text == record_.Get(place)) return false;
  record_.Set(place, std::move(text));
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  emit Edited(place);
  return true;
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEditable;
  if (enabled_[static_cast<std::size_t>(index.column())]) flags |= Qt::ItemIsEnabled;
  return flags;
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  if (orientation == Qt::Vertical) return section + 1;
  if (section >= 0 && section < static_cast<int>(captions_.size())) return captions_[static_cast<std::size_t>(section)];
  return {};
}

void ListModel::AddRow() {
  const int count = rowCount();
  beginInsertRows({}, count, count);
  record_.AddEntry(list_);
  endInsertRows();
}

void ListModel::RemoveRow(int row) {
  if (row < 0 || row >= rowCount()) return;
  beginRemoveRows({}, row, row);
  record_.RemoveEntry(list_, row + 1);
  endRemoveRows();
}

void ListModel::Reload() {
  beginResetModel();
  fault_ = QPersistentModelIndex();
  endResetModel();
}

void ListModel::SetColumnEnabled(std::size_t column, bool enabled) {
  if (column >= enabled_.size() || enabled_[column] == enabled) return;
  enabled_[column] = enabled;
  emit headerDataChanged(Qt::Horizontal, static_cast<int>(column), static_cast<int>(column));
  if (rowCount() > 0) {
    emit dataChanged(index(0, static_cast<int>(column)), index(rowCount() - 1, static_cast<int>(column)));
  }
}

void ListModel::SetFaultCell(const QModelIndex& cell) {
  if (QModelIndex(fault_) == cell) return;
  const QModelIndex before = fault_;
  fault_ = cell;
  for (const QModelIndex& changed : {before, cell}) {
    if (changed.isValid()) emit dataChanged(changed, changed, {kFaultRole, Qt::BackgroundRole});
  }
}

FormulaDelegate::FormulaDelegate(CatalogueSource catalogue, QObject* parent)
    : QStyledItemDelegate(parent), catalogue_(std::move(catalogue)) {}

QWidget* FormulaDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
  auto* model = qobject_cast<const ListModel*>(index.model());
  QLineEdit* box = MakeTextBox(parent, "", index.data(Qt::ToolTipRole).toString());
  if (model) {
    const FieldPlace place = model->Place(index);
    box->setObjectName(ControlName(place));
  }
  box->setEnabled(index.flags().testFlag(Qt::ItemIsEnabled));
  // Every keystroke goes into the record, as in the sheet's other boxes.
  connect(box, &QLineEdit::textEdited, this, [cell = QPersistentModelIndex(index)](const QString& text) {
    if (cell.isValid()) const_cast<QAbstractItemModel*>(cell.model())->setData(cell, text, Qt::EditRole);
  });
  AttachFormulaHelp(box, catalogue_);
  return box;
}

void FormulaDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  auto* box = qobject_cast<QLineEdit*>(editor);
  if (!box) return;
  box->setEnabled(index.flags().testFlag(Qt::ItemIsEnabled));
  const bool fault = index.data(ListModel::kFaultRole).toBool();
  if (box->property("fault").toBool() != fault) {
    box->setProperty("fault", fault);
    box->style()->unpolish(box);
    box->style()->polish(box);
  }
  const QString text = index.data(Qt::EditRole).toString();
  if (box->text() == text) return;
  box->setText(text);
  box->setCursorPosition(0);
}

void FormulaDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
  if (auto* box = qobject_cast<QLineEdit*>(editor)) model->setData(index, box->text(), Qt::EditRole);
}

void FormulaDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                           const QModelIndex&) const {
  editor->setGeometry(option.rect);
}

void FormulaDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  option->textElideMode = Qt::ElideRight;
}

}  // namespace vorlane
