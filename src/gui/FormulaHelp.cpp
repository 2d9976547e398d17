#include "gui/FormulaHelp.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QStandardItemModel>

#include "gui/FormulaReference.h"
#include "gui/MaskEdit.h"
#include "gui/WizardPage.h"

namespace vorlane {

namespace {

constexpr int kNameRole = Qt::UserRole + 1;    // what the completion matches
constexpr int kInsertRole = Qt::UserRole + 2;  // what it puts in the box
// A property of a box whose page uses Up and Down (LeaveArrowsToPage).
constexpr const char* kPageArrows = "formulaHelpLeavesArrows";

bool IsNameCharacter(QChar c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
bool IsLetter(QChar c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The help of one formula box: a child of the box, so it goes with it.
class FormulaHelp : public QObject {
 public:
  FormulaHelp(QLineEdit* box, CatalogueSource catalogue)
      : QObject(box), box_(box), catalogue_(std::move(catalogue)) {
    setObjectName(QStringLiteral("formulaHelp"));
    completer_ = new QCompleter(this);
    completer_->setWidget(box);
    completer_->setModel(&model_);
    completer_->setCompletionRole(kNameRole);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    completer_->setCompletionMode(QCompleter::PopupCompletion);
    completer_->setMaxVisibleItems(10);
    // The list never takes the focus or grabs the mouse: the box keeps both,
    // its filter below walks the list, and a click elsewhere simply lands.
    QAbstractItemView* popup = completer_->popup();
    popup->setObjectName(QStringLiteral("lstFormulaCompletion"));
    popup->setWindowFlags(Qt::ToolTip);
    popup->setAttribute(Qt::WA_ShowWithoutActivating);
    connect(completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) { Choose(index); });
    connect(box, &QLineEdit::textEdited, this, [this] {
      if (!inserting_) Offer(false);
    });
    box->installEventFilter(this);
  }

  void OpenReference() {
    completer_->popup()->hide();
    ShowFormulaReference(box_->window(), catalogue_(), box_);
  }

  // Offers the completions for the text before the cursor; `forced` (Ctrl+Space)
  // offers everything where no prefix stands.
  void Offer(bool forced) {
    const CompletionPrefix found = FindCompletionPrefix(box_->text(), box_->cursorPosition());
    if (found.prefix.isEmpty() && !forced) {
      completer_->popup()->hide();
      return;
    }
    const FormulaCatalogue catalogue = catalogue_();
    model_.clear();
    const bool variables = found.prefix.isEmpty() || found.variables;
    const bool functions = found.prefix.isEmpty() || !found.variables;
    if (variables) {
      for (const FormulaVariable& v : catalogue.variables) {
        const QString name = QString::fromStdString(v.name);
        Add(name + QStringLiteral("   ") + QString::fromStdString(v.description), name, name);
      }
    }
    if (functions) {
      for (const FormulaFunction& f : catalogue.functions) {
        const QString name = QString::fromStdString(f.name);
        Add(QString::fromStdString(f.signature + "   " + f.description), name, name + "(");
      }
    }
    prefixLength_ = static_cast<int>(found.prefix.size());
    completer_->setCompletionPrefix(found.prefix);
    // Nothing to offer, or a name typed in full ("&weapdmg1", though
    // "&weapdmg10" begins with it too), unless asked for.
    const int count = completer_->completionCount();
    if (count == 0 || (!forced && TypedInFull(found.prefix))) {
      completer_->popup()->hide();
      return;
    }
    QAbstractItemView* popup = completer_->popup();
    openedByUser_ = forced || (openedByUser_ && popup->isVisible());
    popup->setCurrentIndex(completer_->completionModel()->index(0, 0));
    QRect rect = box_->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    rect.setWidth(popup->sizeHintForColumn(0) + popup->verticalScrollBar()->sizeHint().width());
    completer_->complete(rect);
    // This filter before any other of the box (the page's Enter and Escape).
    box_->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != box_) return false;
    QAbstractItemView* popup = completer_->popup();
    switch (event->type()) {
      case QEvent::Hide:  // the box goes (its page is left): its list too
        popup->hide();
        return false;
      case QEvent::FocusOut: {
        const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
        if (why != Qt::ActiveWindowFocusReason && why != Qt::PopupFocusReason) popup->hide();
        return false;
      }
      case QEvent::ShortcutOverride:
      case QEvent::KeyPress:
        break;
      default:
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const bool press = event->type() == QEvent::KeyPress;
    if (popup->isVisible() && PageArrow(key) && !openedByUser_) {
      popup->hide();  // the page steps with the key, and the text goes with it
      return false;
    }
    if (popup->isVisible() && key->modifiers() == Qt::NoModifier && ListKey(key->key())) {
      event->accept();
      if (press) WalkList(key->key());
      return true;
    }
    const bool f1 = key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier;
    const bool space = key->key() == Qt::Key_Space && key->modifiers() == Qt::ControlModifier;
    if (!f1 && !space) return false;
    // The box takes these keys before any window shortcut (the Help menu's F1).
    event->accept();
    if (press) {
      if (f1) {
        OpenReference();
      } else {
        Offer(true);
      }
    }
    return true;
  }

 private:
  static bool ListKey(int key) {
    switch (key) {
      case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_PageUp: case Qt::Key_PageDown:
      case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Tab: case Qt::Key_Escape:
        return true;
      default:
        return false;
    }
  }

  bool PageArrow(const QKeyEvent* key) const {
    const bool plain = key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier;
    return plain && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) && box_->property(kPageArrows).toBool();
  }

  // Whether an entry's name is `prefix` itself.
  bool TypedInFull(const QString& prefix) const {
    for (int row = 0; row < model_.rowCount(); ++row) {
      if (model_.item(row)->data(kNameRole).toString().compare(prefix, Qt::CaseInsensitive) == 0) return true;
    }
    return false;
  }

  // The keys of an open list: the arrows walk it, Enter or Tab chooses,
  // Escape closes it. Enter and Escape do not reach the page's buttons then.
  void WalkList(int key) {
    QAbstractItemView* popup = completer_->popup();
    const int rows = completer_->completionModel()->rowCount();
    const int page = std::max(1, completer_->maxVisibleItems() - 1);
    int row = popup->currentIndex().isValid() ? popup->currentIndex().row() : 0;
    switch (key) {
      case Qt::Key_Up: row -= 1; break;
      case Qt::Key_Down: row += 1; break;
      case Qt::Key_PageUp: row -= page; break;
      case Qt::Key_PageDown: row += page; break;
      case Qt::Key_Escape: popup->hide(); return;
      default: {  // Enter, Tab
        const QModelIndex current = popup->currentIndex();
        popup->hide();
        if (current.isValid()) Choose(current);
        return;
      }
    }
    popup->setCurrentIndex(completer_->completionModel()->index(std::clamp(row, 0, rows - 1), 0));
  }

  void Add(const QString& shown, const QString& name, const QString& insert) {
    auto* item = new QStandardItem(shown);
    item->setData(name, kNameRole);
    item->setData(insert, kInsertRole);
    item->setEditable(false);
    model_.appendRow(item);
  }

  // Replaces the prefix before the cursor by the chosen entry.
  void Choose(const QModelIndex& index) {
    const QString insert = index.data(kInsertRole).toString();
    if (insert.isEmpty()) return;
    inserting_ = true;
    const int cursor = box_->cursorPosition();
    box_->setSelection(cursor - prefixLength_, prefixLength_);
    if (prefixLength_ == 0) box_->deselect();
    if (insert.endsWith(u'(')) {  // a function, in a new brace group outside one (Ctrl+Space)
      if (prefixLength_ > 0) box_->del();
      InsertFunctionAtCursor(box_, insert.chopped(1));
    } else {
      box_->insert(insert);
    }
    inserting_ = false;
  }

  QLineEdit* box_;
  CatalogueSource catalogue_;
  QCompleter* completer_;
  QStandardItemModel model_;
  int prefixLength_ = 0;
  bool inserting_ = false;
  bool openedByUser_ = false;  // the open list was asked for with Ctrl+Space
};

FormulaHelp* HelpOf(const QLineEdit* box) {
  return box ? box->findChild<FormulaHelp*>(QStringLiteral("formulaHelp"), Qt::FindDirectChildrenOnly) : nullptr;
}

}  // namespace

void AttachFormulaHelp(QLineEdit* box, CatalogueSource catalogue) {
  if (!box || HelpOf(box)) return;
  new FormulaHelp(box, std::move(catalogue));
}

bool HasFormulaHelp(const QLineEdit* box) { return HelpOf(box) != nullptr; }

void LeaveArrowsToPage(QLineEdit* box) { box->setProperty(kPageArrows, true); }

bool OpenFormulaHelp(QLineEdit* box) {
  FormulaHelp* help = HelpOf(box);
  if (!help) return false;
  help->OpenReference();
  return true;
}

CompletionPrefix FindCompletionPrefix(const QString& text, int cursor) {
  cursor = std::clamp(cursor, 0, static_cast<int>(text.size()));
  // Only at the end of a name: inside one the rest would be left behind.
  if (cursor < text.size() && IsNameCharacter(text[cursor])) return {};
  int start = cursor;
  while (start > 0 && IsNameCharacter(text[start - 1])) --start;
  if (start > 0 && text[start - 1] == '&') return {text.mid(start - 1, cursor - start + 1), true};
  if (start == cursor || !IsLetter(text[start])) return {};
  // Letters right after a number are a unit ("5mm"), after "#" nothing.
  if (start > 0 && (text[start - 1] == '.' || text[start - 1] == '#')) return {};
  int depth = 0;
  for (int i = 0; i < start; ++i) {
    if (text[i] == '{') ++depth;
    if (text[i] == '}' && depth > 0) --depth;
  }
  if (depth == 0) return {};
  return {text.mid(start, cursor - start), false};
}

FormulaCatalogue PageFormulaCatalogue(HostedPage* page) {
  if (auto* wizard = qobject_cast<WizardPage*>(page); wizard && wizard->Kind()) {
    if (*wizard->Kind() == DesignKind::Facility) return MakeFormulaCatalogue(wizard->FacilitySnapshot());
    return MakeFormulaCatalogue(wizard->ComponentSnapshot());
  }
  if (page) return MakeFormulaCatalogue(page->session().Component());
  return {{}, FormulaFunctions()};
}

void AttachFormulaHelpToBoxes(QWidget* root, const CatalogueSource& catalogue) {
  for (QLineEdit* box : root->findChildren<QLineEdit*>()) {
    if (qobject_cast<MaskEdit*>(box) || box->isReadOnly()) continue;
    QWidget* parent = box->parentWidget();
    if (qobject_cast<QComboBox*>(parent) || qobject_cast<QAbstractSpinBox*>(parent)) continue;
    AttachFormulaHelp(box, catalogue);
  }
}

}  // namespace vorlane
