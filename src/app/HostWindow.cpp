#include "app/HostWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "app/HostedPage.h"

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
  setWindowTitle(page->windowTitle());
  connect(page, &QWidget::windowTitleChanged, this, &QWidget::setWindowTitle);
  page->show();
  // Fit the window to the new page; its top-left corner stays where it is.
  adjustSize();
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
  ending_ = true;
  close();
}

void HostWindow::closeEvent(QCloseEvent* event) {
  // While a sound plays the window is disabled and must stay open.
  if (!ending_ && (!isEnabled() || (page_ && !page_->OnCloseBox()))) {
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
