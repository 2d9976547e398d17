#include "app/HostWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "gui/HostedPage.h"

namespace vorlane {

HostWindow::HostWindow() { setAttribute(Qt::WA_DeleteOnClose, false); }

void HostWindow::ShowPage(HostedPage* page) {
  HostedPage* old = page_;
  if (!page || old == page) return;
  if (old) {
    disconnect(old, nullptr, this, nullptr);
    takeCentralWidget();
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
