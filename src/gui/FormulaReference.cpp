#include "gui/FormulaReference.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace vorlane {

namespace {

constexpr int kInsertRole = Qt::UserRole + 1;
constexpr int kFunctionRole = Qt::UserRole + 2;  // the name of a function entry

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void InsertAtCursor(QLineEdit* box, const QString& text) {
  const int at = box->hasSelectedText() ? box->selectionEnd() : box->cursorPosition();
  box->deselect();
  box->setCursorPosition(at);
  box->insert(text);
}

bool InsideBraces(const QString& text, int at) {
  int depth = 0;
  for (int i = 0; i < std::min(at, static_cast<int>(text.size())); ++i) {
    if (text[i] == '{') ++depth;
    if (text[i] == '}' && depth > 0) --depth;
  }
  return depth > 0;
}

void InsertFunctionAtCursor(QLineEdit* box, const QString& name) {
  const int at = box->hasSelectedText() ? box->selectionEnd() : box->cursorPosition();
  if (InsideBraces(box->text(), at)) {
    InsertAtCursor(box, name + u'(');
    return;
  }
  InsertAtCursor(box, u'{' + name + QStringLiteral("()}"));
  box->setCursorPosition(at + static_cast<int>(name.size()) + 2);
}

FormulaReference::FormulaReference(const FormulaCatalogue& catalogue, QLineEdit* target, QWidget* parent)
    : QDialog(parent), target_(target) {
  setObjectName(QStringLiteral("frmFormulaReference"));
  setWindowTitle(QStringLiteral("Formula Reference"));
  auto* layout = new QVBoxLayout(this);
  // The example uses the design's own level variable, which comes first.
  const QString example = catalogue.variables.empty() ? QStringLiteral("2") : Q(catalogue.variables.front().name);
  const QString usage = QStringLiteral("Functions work inside braces: {sqr(%1)}; one chosen outside them comes "
                                       "in a new pair.").arg(example);
  auto* hint = new QLabel(target ? QStringLiteral("Type to search. Enter or a double-click inserts the name into the "
                                                  "formula at its cursor. ") + usage
                                 : QStringLiteral("Type to search. ") + usage,
                          this);
  hint->setWordWrap(true);
  layout->addWidget(hint);
  search_ = new QLineEdit(this);
  search_->setObjectName(QStringLiteral("txtSearch"));
  search_->setPlaceholderText(QStringLiteral("Search variables and functions"));
  search_->setClearButtonEnabled(true);
  search_->installEventFilter(this);
  layout->addWidget(search_);
  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("lstReference"));
  list_->setColumnCount(2);
  list_->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Description")});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  layout->addWidget(list_, 1);

  QTreeWidgetItem* variables = AddGroup(QStringLiteral("Variables"));
  for (const FormulaVariable& v : catalogue.variables) {
    QString description = Q(v.description);
    if (!v.label.empty() && v.label != v.description) description += QStringLiteral(" (") + Q(v.label) + ")";
    auto* item = new QTreeWidgetItem(variables, {Q(v.name), description});
    item->setToolTip(1, description);
    item->setData(0, kInsertRole, Q(v.name));
  }
  QTreeWidgetItem* functions = AddGroup(QStringLiteral("Functions"));
  for (const FormulaFunction& f : catalogue.functions) {
    auto* item = new QTreeWidgetItem(functions, {Q(f.signature), Q(f.description)});
    item->setToolTip(1, Q(f.description));
    item->setData(0, kInsertRole, Q(f.name) + "(");
    item->setData(0, kFunctionRole, Q(f.name));
  }
  list_->expandAll();
  list_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

  auto* buttons = new QDialogButtonBox(this);
  insert_ = buttons->addButton(QStringLiteral("&Insert"), QDialogButtonBox::AcceptRole);
  insert_->setObjectName(QStringLiteral("cmdInsert"));
  insert_->setVisible(target != nullptr);
  QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
  close->setObjectName(QStringLiteral("cmdClose"));
  layout->addWidget(buttons);
  connect(insert_, &QPushButton::clicked, this, [this] { InsertCurrent(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(search_, &QLineEdit::textChanged, this, &FormulaReference::Filter);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { InsertCurrent(); });
  connect(list_, &QTreeWidget::currentItemChanged, this,
          [this] { insert_->setEnabled(target_ && !CurrentInsertText().isEmpty()); });
  SelectFirstVisible();
  resize(760, 520);
}

QTreeWidgetItem* FormulaReference::AddGroup(const QString& title) {
  auto* group = new QTreeWidgetItem(list_, {title});
  group->setFlags(Qt::ItemIsEnabled);
  QFont bold = group->font(0);
  bold.setBold(true);
  group->setFont(0, bold);
  group->setFirstColumnSpanned(true);
  return group;
}

void FormulaReference::Filter(const QString& text) {
  const QString needle = text.trimmed();
  for (int g = 0; g < list_->topLevelItemCount(); ++g) {
    QTreeWidgetItem* group = list_->topLevelItem(g);
    int shown = 0;
    for (int i = 0; i < group->childCount(); ++i) {
      QTreeWidgetItem* item = group->child(i);
      const bool match = needle.isEmpty() || item->text(0).contains(needle, Qt::CaseInsensitive) ||
                         item->text(1).contains(needle, Qt::CaseInsensitive);
      item->setHidden(!match);
      shown += match ? 1 : 0;
    }
    group->setHidden(shown == 0);
  }
  SelectFirstVisible();
}

void FormulaReference::SelectFirstVisible() {
  // A name that starts with the search text comes before one that only holds it.
  const QString needle = search_->text().trimmed();
  QTreeWidgetItem* first = nullptr;
  for (QTreeWidgetItemIterator it(list_, QTreeWidgetItemIterator::NotHidden); *it; ++it) {
    if ((*it)->data(0, kInsertRole).isNull()) continue;
    if (!first) first = *it;
    if (!needle.isEmpty() && (*it)->data(0, kInsertRole).toString().startsWith(needle, Qt::CaseInsensitive)) {
      first = *it;
      break;
    }
  }
  list_->setCurrentItem(first);
  if (needle.isEmpty()) {
    list_->scrollToTop();
  } else if (first) {
    list_->scrollToItem(first);
  }
}

QString FormulaReference::CurrentInsertText() const {
  QTreeWidgetItem* item = list_->currentItem();
  return item && !item->isHidden() ? item->data(0, kInsertRole).toString() : QString();
}

bool FormulaReference::InsertCurrent() {
  const QString text = CurrentInsertText();
  if (!target_ || text.isEmpty()) return false;
  if (const QString function = list_->currentItem()->data(0, kFunctionRole).toString(); !function.isEmpty()) {
    InsertFunctionAtCursor(target_, function);
  } else {
    InsertAtCursor(target_, text);
  }
  accept();
  return true;
}

bool FormulaReference::eventFilter(QObject* watched, QEvent* event) {
  // The search box keeps the focus: Enter inserts, the arrows walk the list.
  if (watched == search_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (!InsertCurrent() && !target_) accept();
        return true;
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown: {
        QKeyEvent copy(key->type(), key->key(), key->modifiers());
        QCoreApplication::sendEvent(list_, &copy);
        // Skip the group rows.
        if (QTreeWidgetItem* item = list_->currentItem(); item && item->data(0, kInsertRole).isNull()) {
          QCoreApplication::sendEvent(list_, &copy);
        }
        return true;
      }
      default:
        break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

FormulaReference* ShowFormulaReference(QWidget* parent, const FormulaCatalogue& catalogue, QLineEdit* target) {
  auto* dialog = new FormulaReference(catalogue, target, parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowModality(Qt::WindowModal);
  dialog->show();
  dialog->SearchBox()->setFocus();
  return dialog;
}

}  // namespace vorlane
