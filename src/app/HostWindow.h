// The program's one top-level window. It hosts the current page (main menu,
// setup page, vehicle page or wizard page) and swaps it for the next, so the
// wizard is one window whose contents change and every page opens where the
// last one stood. Its title is the hosted page's title followed by a suffix
// (the design file part); its close box does what closing the hosted page
// does (HostedPage::OnCloseBox). Its Help menu opens the formula reference.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>

namespace vorlane {

class HostedPage;

class HostWindow : public QMainWindow {
  Q_OBJECT

 public:
  HostWindow();

  // Shows `page` in place of the current page, which is closed and deleted
  // once control returns to the event loop (so a page may call this from its
  // own button handlers). The host takes ownership.
  void ShowPage(HostedPage* page);

  HostedPage* CurrentPage() const { return page_; }

  // The size every page is shown at, so that the window and its buttons stay
  // put from page to page; a page that needs more (the results window) gets
  // more.
  void SetPageSize(QSize size) { pageSize_ = size; }

  // Closes the window for good: the program ends, unless the quit guard
  // declines.
  void EndProgram();

  // Asked before the program ends (EndProgram, or the close box of a page
  // that lets the window close); returning false keeps the program running.
  void SetQuitGuard(std::function<bool()> guard) { quitGuard_ = std::move(guard); }

  // Text appended to the hosted page's title.
  void SetTitleSuffix(const QString& suffix);

  // The Help menu's "Formula Reference…" (F1): for the focused formula box
  // when there is one, else for the design of the hosted page.
  void ShowFormulaReference();

 signals:
  // The hosted page changed (tests and later features listen).
  void PageChanged(vorlane::HostedPage* page);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void UpdateTitle();

  QPointer<HostedPage> page_;
  bool ending_ = false;
  std::function<bool()> quitGuard_;
  QString titleSuffix_;
  QSize pageSize_;
};

}  // namespace vorlane
