#include "app/HostWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>

#include "gui/FormulaHelp.h"
#include "gui/FormulaReference.h"
#include "gui/HostedPage.h"

namespace vorlane {

HostWindow::HostWindow() {
  setAttribute(Qt::WA_DeleteOnClose, false);
  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("mnuHelp"));
  QAction* reference = help->addAction(QStringLiteral("Formula Reference…"));
  reference->setObjectName(QStringLiteral("actFormulaReference"));
  reference->setShortcut(QKeySequence(Qt::Key_F1));
  connect(reference, &QAction::triggered, this, [this] { ShowFormulaReference(); });
}

void HostWindow::ShowFormulaReference() {
  // From a formula box (the menu keeps the focus where it was) the reference
  // inserts there; elsewhere it only shows.
  if (auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
      box && page_ && page_->isAncestorOf(box) && OpenFormulaHelp(box)) {
    return;
  }
  vorlane::ShowFormulaReference(this, PageFormulaCatalogue(page_), nullptr);
}

void HostWindow::ShowPage(HostedPage* page) {
  HostedPage* old = page_;
  if (!page || old == page) return;
  if (old) {
    disconnect(old, nullptr, this, nullptr);
    takeCentralWidget();
    old->Retire();
    old->hide();
    old->setParent(nullptr);
    old->deleteLater();
  }
  page_ = page;
  page->AboutToBeShown();
  setCentralWidget(page);
  UpdateTitle();
  connect(page, &QWidget::windowTitleChanged, this, [this] { UpdateTitle(); });
  page->show();
  // Every page at the same size, unless it needs more; the top-left corner
  // stays where it is.
  const QSize size = pageSize_.expandedTo(page->sizeHint());
  const int menuHeight = menuWidget() ? menuWidget()->sizeHint().height() : 0;
  resize(size.width(), size.height() + menuHeight);
  // The focus starts on the page's first control in tab order.
  for (QWidget* w = page->nextInFocusChain(); w && w != page && page->isAncestorOf(w); w = w->nextInFocusChain()) {
    if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(page)) {
      w->setFocus(Qt::TabFocusReason);
      break;
    }
  }
  emit PageChanged(page);
}

void HostWindow::EndProgram() {
  if (quitGuard_ && !quitGuard_()) return;
  ending_ = true;
  close();
}

void HostWindow::SetTitleSuffix(const QString& suffix) {
  titleSuffix_ = suffix;
  UpdateTitle();
}

void HostWindow::UpdateTitle() { setWindowTitle((page_ ? page_->windowTitle() : QString()) + titleSuffix_); }

void HostWindow::closeEvent(QCloseEvent* event) {
  // While a sound plays the window is disabled and must stay open.
  if (!ending_ && (!isEnabled() || (page_ && !page_->OnCloseBox()))) {
    event->ignore();
    return;
  }
  if (!ending_ && quitGuard_ && !quitGuard_()) {
    event->ignore();
    return;
  }
  ending_ = true;
  event->accept();
}

void HostWindow::keyPressEvent(QKeyEvent* event) {
  if (page_ && (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) &&
      page_->HandleKey(event->key())) {
    return;
  }
  QMainWindow::keyPressEvent(event);
}

}  // namespace vorlane
