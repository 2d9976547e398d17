#include "gui/HostedPage.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

namespace vorlane {

namespace {

constexpr const char* kNoSelectAll = "vorlaneNoSelectAll";
constexpr const char* kWatched = "vorlaneWatched";

bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace

HostedPage::HostedPage(Session& session, QWidget* parent) : QWidget(parent), session_(session) {}

void HostedPage::SetSelectAllOnFocus(QWidget* field, bool enabled) {
  field->setProperty(kNoSelectAll, !enabled);
  if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit())
    combo->lineEdit()->setProperty(kNoSelectAll, !enabled);
}

void HostedPage::SetDefaultButton(QPushButton* button) {
  if (defaultButton_) defaultButton_->setDefault(false);
  defaultButton_ = button;
  if (button) button->setDefault(true);
}

void HostedPage::SetCancelButton(QPushButton* button) { cancelButton_ = button; }

bool HostedPage::HandleKey(int key) {
  if (IsEnterKey(key)) {
    if (auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
        focused && isAncestorOf(focused)) {
      focused->click();
      return true;
    }
    if (defaultButton_ && defaultButton_->isVisible()) {
      defaultButton_->click();
      return true;
    }
    return false;
  }
  if (key == Qt::Key_Escape && cancelButton_ && cancelButton_->isVisible()) {
    cancelButton_->click();
    return true;
  }
  return false;
}

void HostedPage::Retire() {
  for (QAbstractButton* button : findChildren<QAbstractButton*>()) button->blockSignals(true);
}

void HostedPage::AboutToBeShown() { WatchChildren(); }

void HostedPage::showEvent(QShowEvent* event) {
  WatchChildren();
  QWidget::showEvent(event);
}

void HostedPage::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
    if (HandleKey(event->key())) return;
  }
  QWidget::keyPressEvent(event);
}

// Every child is watched for Enter and Escape before it handles them itself
// (an editable combo box would swallow Enter), and entry fields for focus.
void HostedPage::WatchChildren() {
  for (QWidget* child : findChildren<QWidget*>()) {
    if (child->property(kWatched).toBool()) continue;
    child->setProperty(kWatched, true);
    child->installEventFilter(this);
  }
}

bool HostedPage::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    auto* target = qobject_cast<QWidget*>(watched);
    const bool plain = key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier;
    // Keys in a combo box's open list or a completer (windows of their own)
    // belong to them; Enter also belongs to lists and multi-line text.
    const bool onPage = target && target->window() == window();
    const bool usesEnter = qobject_cast<QAbstractItemView*>(watched) || qobject_cast<QTextEdit*>(watched) ||
                           qobject_cast<QPlainTextEdit*>(watched);
    if (plain && onPage && (key->key() == Qt::Key_Escape || (IsEnterKey(key->key()) && !usesEnter))) {
      if (HandleKey(key->key())) return true;
    }
  } else if (event->type() == QEvent::FocusIn) {
    // Focus that comes back from a popup (a completion list) or another
    // window (the formula reference, a message box) finds the field as the
    // user left it: selecting all would let the next key replace the formula.
    const Qt::FocusReason why = static_cast<QFocusEvent*>(event)->reason();
    if (why == Qt::PopupFocusReason || why == Qt::ActiveWindowFocusReason) return QWidget::eventFilter(watched, event);
    if (auto* edit = qobject_cast<QLineEdit*>(watched); edit && !edit->property(kNoSelectAll).toBool()) {
      // After the line edit's own focus handling and any mouse press that
      // placed the cursor.
      QTimer::singleShot(0, edit, [edit] {
        if (edit->hasFocus()) edit->selectAll();
      });
    } else if (edit) {
      // A line edit selects all by itself when reached by Tab or a shortcut;
      // a field that opted out keeps only the caret, at the end.
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason) {
        QTimer::singleShot(0, edit, [edit] {
          if (edit->hasFocus() && edit->selectedText() == edit->text()) edit->deselect();
        });
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace vorlane
