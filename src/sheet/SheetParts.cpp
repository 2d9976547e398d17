#include "sheet/SheetParts.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/PageParts.h"
#include "sheet/SheetListModel.h"
#include "sheet/SheetRecord.h"

namespace vorlane {

QString ControlName(const FieldPlace& place) {
  return place.list.empty() ? Q(place.key) : QStringLiteral("%1(%2)").arg(Q(place.key)).arg(place.entry);
}

FaultLabel::FaultLabel(QWidget* parent) : QLabel(parent) {
  setObjectName(QStringLiteral("lblFault"));
  setCursor(Qt::PointingHandCursor);
  setToolTip(QStringLiteral("Click to go to the character."));
  hide();
}

void FaultLabel::SetReserved(bool reserved) {
  if (Reserved() == reserved) return;
  QSizePolicy policy = sizePolicy();
  policy.setRetainSizeWhenHidden(reserved);
  setSizePolicy(policy);
  if (parentWidget() && parentWidget()->layout()) parentWidget()->layout()->invalidate();
}

// One line, and no width of its own: the text never widens the sheet.
QSize FaultLabel::sizeHint() const {
  const QMargins m = contentsMargins();
  return {m.left() + m.right(), fontMetrics().height() + m.top() + m.bottom()};
}

QSize FaultLabel::minimumSizeHint() const { return sizeHint(); }

void FaultLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(foregroundRole()));
  painter.setFont(font());
  const QRect area = contentsRect();
  painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                   fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
}

void FaultLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
  QLabel::mouseReleaseEvent(event);
}

ListTable::ListTable(SheetRecord& record, std::string_view list, std::vector<QString> captions,
                     CatalogueSource catalogue, QWidget* parent)
    : QWidget(parent) {
  setObjectName(QString::fromUtf8(list.data(), static_cast<qsizetype>(list.size())));
  model_ = new ListModel(record, list, std::move(captions), this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  view_ = new QTableView(this);
  view_->setObjectName(QStringLiteral("tbl") + objectName());
  view_->setModel(model_);
  view_->setItemDelegate(new FormulaDelegate(std::move(catalogue), view_));
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setEditTriggers(QAbstractItemView::AllEditTriggers);
  view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  view_->setWordWrap(false);
  // Fixed row heights and stretched columns: nothing is measured per row.
  QHeaderView* rows = view_->verticalHeader();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(QLineEdit().sizeHint().height() + 2);
  view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  view_->horizontalHeader()->setHighlightSections(false);
  view_->viewport()->installEventFilter(this);
  layout->addWidget(view_);
  fault_ = new FaultLabel(this);
  layout->addWidget(fault_);

  add_ = new QPushButton(QStringLiteral("Add"), this);
  add_->setObjectName(QStringLiteral("cmdAdd") + objectName());
  add_->setAutoDefault(false);
  remove_ = new QPushButton(QStringLiteral("Remove"), this);
  remove_->setObjectName(QStringLiteral("cmdRemove") + objectName());
  remove_->setAutoDefault(false);
  remove_->setToolTip(QStringLiteral("Removes the current row."));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(add_);
  buttons->addWidget(remove_);
  buttons->addStretch(1);
  layout->addLayout(buttons);

  connect(model_, &ListModel::Edited, this, &ListTable::Edited);
  connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { UpdateEdits(); });
  for (auto changed : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
    connect(model_, changed, this, [this] {
      UpdateHeight();
      UpdateEdits();
    });
  }
  connect(model_, &QAbstractItemModel::modelReset, this, [this] {
    open_.clear();  // the view closed every box
    UpdateHeight();
    UpdateEdits();
  });
  UpdateHeight();
  auto enableRemove = [this] { remove_->setEnabled(view_->currentIndex().isValid()); };
  connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this, enableRemove);
  connect(model_, &QAbstractItemModel::modelReset, this, enableRemove);
  enableRemove();

  connect(add_, &QPushButton::clicked, this, [this] {
    model_->AddRow();
    FocusCell(model_->rowCount() - 1, 0);
    emit Resized();
  });
  connect(remove_, &QPushButton::clicked, this, [this] {
    const QModelIndex current = view_->currentIndex();
    if (!current.isValid()) return;
    const int row = current.row();
    model_->RemoveRow(row);
    emit Resized();
    if (model_->rowCount() > 0) {
      FocusCell(std::min(row, model_->rowCount() - 1), current.column());
    } else {
      view_->setFocus(Qt::OtherFocusReason);
    }
  });
}

void ListTable::Rebuild() { model_->Reload(); }

// As high as its rows up to a screenful of them; more rows scroll.
void ListTable::UpdateHeight() {
  const int rows = std::clamp(model_->rowCount(), 1, kRowsInView);
  const int frame = 2 * view_->frameWidth();
  view_->setFixedHeight(frame + view_->horizontalHeader()->sizeHint().height() +
                        rows * view_->verticalHeader()->defaultSectionSize());
}

bool ListTable::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_->viewport() && event->type() == QEvent::Resize) {
    UpdateEdits();
  } else if (event->type() == QEvent::FocusIn) {
    // A box taking the focus makes its row the current one (Remove's row).
    if (auto* box = qobject_cast<QLineEdit*>(watched)) {
      for (const QPersistentModelIndex& cell : open_) {
        if (cell.isValid() && view_->indexWidget(cell) == box && view_->currentIndex() != cell) {
          view_->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
        }
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void ListTable::UpdateEdits() {
  if (updating_) return;
  updating_ = true;
  const int count = model_->rowCount();
  int first = view_->rowAt(0);
  int last = view_->rowAt(view_->viewport()->height() - 1);
  if (first < 0) first = count > 0 && view_->viewport()->height() > 0 ? 0 : count;
  if (last < 0) last = count - 1;
  bool changed = false;
  // Boxes of rows out of view close, except the one being typed in.
  std::vector<QPersistentModelIndex> kept;
  for (const QPersistentModelIndex& cell : open_) {
    if (!cell.isValid()) {
      changed = true;
      continue;
    }
    QWidget* box = view_->indexWidget(cell);
    if ((cell.row() < first || cell.row() > last) && !(box && box->hasFocus())) {
      view_->closePersistentEditor(cell);
      changed = true;
    } else {
      // Rows removed above move a box up: its name follows its entry.
      const FieldPlace place = model_->Place(cell);
      const QString name = ControlName(place);
      if (box && box->objectName() != name) box->setObjectName(name);
      kept.push_back(cell);
    }
  }
  open_ = std::move(kept);
  for (int row = first; row <= last && row < count; ++row) {
    for (int column = 0; column < model_->columnCount(); ++column) {
      const QModelIndex cell = model_->index(row, column);
      if (view_->isPersistentEditorOpen(cell)) continue;
      OpenBox(cell);
      changed = true;
    }
  }
  updating_ = false;
  if (changed) emit EditsChanged();
}

std::vector<BoundEdit> ListTable::Edits() const {
  std::vector<BoundEdit> edits;
  for (const QPersistentModelIndex& cell : open_) {
    if (auto* box = cell.isValid() ? qobject_cast<QLineEdit*>(view_->indexWidget(cell)) : nullptr) {
      edits.push_back({model_->Place(cell), box});
    }
  }
  return edits;
}

QLineEdit* ListTable::OpenEdit(const FieldPlace& place) {
  const QModelIndex cell = model_->IndexOf(place);
  if (!cell.isValid()) return nullptr;
  view_->scrollTo(cell);
  UpdateEdits();
  if (!view_->isPersistentEditorOpen(cell)) {
    OpenBox(cell);
    emit EditsChanged();
  }
  return qobject_cast<QLineEdit*>(view_->indexWidget(cell));
}

void ListTable::OpenBox(const QModelIndex& cell) {
  view_->openPersistentEditor(cell);
  if (auto* box = qobject_cast<QLineEdit*>(view_->indexWidget(cell))) {
    box->installEventFilter(this);
    // The view selects a new box's text; the box shows its start instead.
    box->deselect();
    box->setCursorPosition(0);
  }
  open_.emplace_back(cell);
}

void ListTable::FocusCell(int row, int column) {
  const QModelIndex cell = model_->index(row, column);
  if (!cell.isValid()) return;
  view_->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  if (QLineEdit* box = OpenEdit(model_->Place(cell))) box->setFocus(Qt::OtherFocusReason);
}

void ListTable::SetColumnEnabled(std::size_t column, bool enabled) { model_->SetColumnEnabled(column, enabled); }

int TextIndexOfCharacter(const QString& text, int position) {
  if (position < 1) return static_cast<int>(text.size());
  qsizetype index = 0;
  for (int c = 1; c < position && index < text.size(); ++c) {
    index += text[index].isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
  }
  return static_cast<int>(std::min(index, text.size()));
}

}  // namespace vorlane
