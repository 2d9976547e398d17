// A page that the host window shows: the main menu, the setup page, the
// vehicle page and every wizard page. The host shows one page at a time and
// takes its window title from it. See gui/WizardPage.h for the wizard pages.
#pragma once

#include <QPointer>
#include <QPushButton>
#include <QWidget>

namespace vorlane {

class Session;

class HostedPage : public QWidget {
  Q_OBJECT

 public:
  explicit HostedPage(Session& session, QWidget* parent = nullptr);

  // The records, directories, services and navigation the page may use.
  Session& session() const { return session_; }

  // The user closed the host window by its close box while this page was
  // shown. Return true to let the window close, which ends the program (the
  // default: main menu, setup page, vehicle page); wizard pages return to the
  // main menu instead and return false.
  virtual bool OnCloseBox() { return true; }

  // Entry fields (line edits, mask edits, editable combo boxes) select their
  // whole text when they receive the focus. A field can opt out.
  static void SetSelectAllOnFocus(QWidget* field, bool enabled);

  // The buttons that Enter and Escape press. Enter on a focused push button
  // presses that button instead.
  void SetDefaultButton(QPushButton* button);
  void SetCancelButton(QPushButton* button);
  QPushButton* DefaultButton() const { return defaultButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }

  // Handles Enter and Escape for the page; true when the key was used.
  bool HandleKey(int key);

  // Called by the host right before it shows the page, after construction.
  virtual void AboutToBeShown();

  // Called by the host when another page replaces this one; the page is
  // deleted later. A click already under way (a mnemonic's delayed click, a
  // key held down) no longer reaches the page's buttons: it would act on a
  // page that is no longer shown, and could run while the page is deleted.
  void Retire();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void WatchChildren();

  Session& session_;
  QPointer<QPushButton> defaultButton_;
  QPointer<QPushButton> cancelButton_;
};

}  // namespace vorlane
