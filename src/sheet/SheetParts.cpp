#include "sheet/SheetParts.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/PageParts.h"
#include "sheet/SheetRecord.h"

namespace vorlane {

FaultLabel::FaultLabel(QWidget* parent) : QLabel(parent) {
  setObjectName(QStringLiteral("lblFault"));
  // A long reason wraps under its field instead of widening the sheet.
  setWordWrap(true);
  setCursor(Qt::PointingHandCursor);
  setToolTip(QStringLiteral("Click to go to the character."));
  hide();
}

void FaultLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
  QLabel::mouseReleaseEvent(event);
}

ListTable::ListTable(SheetRecord& record, std::string_view list, std::vector<QString> captions, QWidget* parent)
    : QWidget(parent), record_(record), list_(list), columns_(record.Columns(list)), captions_(std::move(captions)) {
  setObjectName(QString::fromUtf8(list.data(), static_cast<qsizetype>(list.size())));
  enabled_.assign(columns_.size(), true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  rows_ = new QWidget(this);
  grid_ = new QGridLayout(rows_);
  grid_->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(rows_);
  fault_ = new FaultLabel(this);
  layout->addWidget(fault_);
  add_ = new QPushButton(QStringLiteral("Add"), this);
  add_->setObjectName(QStringLiteral("cmdAdd") + objectName());
  add_->setAutoDefault(false);
  auto* addRow = new QHBoxLayout;
  addRow->addWidget(add_);
  addRow->addStretch(1);
  layout->addLayout(addRow);
  connect(add_, &QPushButton::clicked, this, [this] {
    record_.AddEntry(list_);
    Rebuild();
    if (!edits_.empty()) edits_[edits_.size() - columns_.size()].edit->setFocus();
    emit Resized();
  });
  Rebuild();
}

void ListTable::Rebuild() {
  // The rows are made anew in a fresh widget: the old one goes with its
  // edits once control returns to the event loop.
  auto* old = rows_;
  rows_ = new QWidget(this);
  grid_ = new QGridLayout(rows_);
  grid_->setContentsMargins(0, 0, 0, 0);
  delete static_cast<QVBoxLayout*>(layout())->replaceWidget(old, rows_);  // the old layout item is ours
  old->hide();
  old->deleteLater();
  edits_.clear();

  for (std::size_t c = 0; c < captions_.size(); ++c) {
    auto* header = new QLabel(captions_[c], rows_);
    header->setEnabled(enabled_[c]);
    grid_->addWidget(header, 0, static_cast<int>(c) + 1);
  }
  const int count = record_.Count(list_);
  for (int entry = 1; entry <= count; ++entry) {
    grid_->addWidget(new QLabel(QString::number(entry), rows_), entry, 0);
    for (std::size_t c = 0; c < columns_.size(); ++c) {
      const FieldPlace place{list_, entry, columns_[c]};
      QLineEdit* edit = MakeTextBox(rows_, "", Q(record_.Label(place)));
      edit->setObjectName(QStringLiteral("%1(%2)").arg(Q(columns_[c])).arg(entry));
      edit->setText(Q(record_.Get(place)));
      edit->setCursorPosition(0);
      edit->setEnabled(enabled_[c]);
      connect(edit, &QLineEdit::textEdited, this, [this, place](const QString& text) {
        record_.Set(place, S(text));
        emit Edited(place);
      });
      grid_->addWidget(edit, entry, static_cast<int>(c) + 1);
      edits_.push_back({place, edit});
    }
    auto* remove = new QPushButton(QStringLiteral("Remove"), rows_);
    remove->setObjectName(QStringLiteral("cmdRemove%1(%2)").arg(objectName()).arg(entry));
    remove->setAutoDefault(false);
    remove->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(remove, &QPushButton::clicked, this, [this, entry] {
      record_.RemoveEntry(list_, entry);
      Rebuild();
      emit Resized();
    });
    grid_->addWidget(remove, entry, static_cast<int>(columns_.size()) + 1);
  }
  for (std::size_t c = 0; c < columns_.size(); ++c) grid_->setColumnStretch(static_cast<int>(c) + 1, 1);
}

void ListTable::SetColumnEnabled(std::size_t column, bool enabled) {
  if (column >= enabled_.size() || enabled_[column] == enabled) return;
  enabled_[column] = enabled;
  if (auto* header = grid_->itemAtPosition(0, static_cast<int>(column) + 1)) header->widget()->setEnabled(enabled);
  for (std::size_t i = column; i < edits_.size(); i += columns_.size()) edits_[i].edit->setEnabled(enabled);
}

int TextIndexOfCharacter(const QString& text, int position) {
  if (position < 1) return static_cast<int>(text.size());
  qsizetype index = 0;
  for (int c = 1; c < position && index < text.size(); ++c) {
    index += text[index].isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
  }
  return static_cast<int>(std::min(index, text.size()));
}

}  // namespace vorlane
