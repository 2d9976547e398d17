// Starts the program headless for a GUI test: scripted services, a settings
// file in a fresh temporary directory, and the host window showing the main
// menu. Controls are found on the current page by their names.
#pragma once

#include <QtTest>
#include <QtWidgets>
#include <initializer_list>
#include <memory>
#include <optional>

#include "app/HQ.h"
#include "app/HostWindow.h"
#include "generate_ui/frmDisplayResults.h"
#include "gui/HostedPage.h"
#include "support/ScriptedServices.h"

namespace vorlane::test {

class TestApp {
 public:
  // `iniContent`: the settings file's bytes, or nothing for no file.
  // `stateFolder`: where recovery copies are kept; by default a folder in
  // the test's temporary directory.
  explicit TestApp(std::optional<QByteArray> iniContent = std::nullopt, const QString& stateFolder = {});
  ~TestApp();

  ScriptedServices services;

  HQ& hq() { return *hq_; }
  HostWindow* host() { return &hq_->Host(); }
  HostedPage* page() { return hq_->Host().CurrentPage(); }
  // The current page's name ("frmMain", "frmCompStart", ...).
  QString PageName() { return page() ? page()->objectName() : QString(); }
  template <class T>
  T* PageAs() { return qobject_cast<T*>(page()); }

  // A control of the current page by name, or nullptr.
  template <class T = QWidget>
  T* Find(const QString& name) { return page() ? page()->findChild<T*>(name) : nullptr; }

  // Shows a new page of type Page in the host window.
  template <class Page>
  Page* Show() {
    host()->ShowPage(new Page(hq()));
    Settle();
    return PageAs<Page>();
  }
  // Shows Mine's results window with `text`, returning to the facility's generate page.
  frmDisplayResults* ShowResults(const QByteArray& text);
  // The text of the named line edit (or of a combo box's), "<missing>" when
  // the page has no such control.
  QString Text(const QString& name);
  // The named check boxes pattern.arg(0..count-1) as "1" and "0" in turn,
  // "<missing>" for a box not found.
  QString Checks(const QString& pattern, int count);
  // Checks a table of "control.property=expected" rows (booleans as
  // true/false) on the current page; returns the rows that differ, with what
  // was found instead, so an empty text means all hold.
  QString Props(const QStringList& rows);
  // The first `count` controls Tab reaches from `first`, by name.
  QStringList TabOrder(const QString& first, int count);

  // Clicks the named button with the mouse; false when there is none.
  bool Click(const QString& button);
  // Forgets the recorded messages, queues `answers` (true Yes, false No),
  // clicks `button` and returns the texts of the messages shown.
  QStringList Press(const QString& button, std::initializer_list<bool> answers = {});
  // Picks option `index` of the main menu with the mouse (0 component,
  // 1 facility, 2 vehicle, 3 setup); false when the menu is not shown.
  bool ChooseMenuOption(int index);
  // Picks the option (showing the menu first) and presses Next.
  bool OpenFromMenu(int index);
  // Presses a key in the host window, where the focus is.
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  // Puts the focus into the named field, selects its text and types `text`
  // over it; false when there is no such field.
  bool Type(const QString& field, const QString& text);
  // Types into each (field, text) in turn; false when a field is missing.
  bool Type(std::initializer_list<std::pair<QString, QString>> fields);
  // Closes the host window by its close box.
  void CloseBox();
  // Runs pending events, deferred deletions included.
  void Settle();

  QString Dir() const { return dir_.path(); }
  QString SettingsPath() const;
  // The settings file's bytes, or nothing when it does not exist.
  std::optional<QByteArray> SettingsBytes() const;

 private:
  QTemporaryDir dir_;
  std::unique_ptr<HQ> hq_;
};

}  // namespace vorlane::test
