// Design files in the program: the host window's File menu (Open Design,
// Save Design As, Save Design, Quit), the file each of the two records was
// opened from or saved to, and what has changed since. Once the design has a
// file, the window title ends in " - " and its name, and " *" while there are
// unsaved changes.
//
// The design the commands act on follows the page shown: the record of the
// wizard a page belongs to (the page tells its kind); on
// the main menu the record of the option selected ("Design a component." or
// "Design a facility."); elsewhere (other menu options, setup, vehicle page)
// the record last acted on. Unsaved changes count what is on screen: a
// record differs from its file, or the user has changed a wizard page's
// fields since the page opened (judged by what Back would write).
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <optional>

#include "generate/DesignFile.h"
#include "records/vrlComponent.h"
#include "records/vrlFacility.h"

class QAction;
class QFileInfo;
class QWidget;

namespace vorlane {

class HQ;
class HostedPage;
class HostWindow;
class WizardPage;

class DesignFiles : public QObject {
  Q_OBJECT

 public:
  // Filter of the file dialogs.
  static const QString kFilter;
  // The ending given to a chosen name that has no ".json" ending.
  static const QString kSuffix;

  DesignFiles(HQ& hq, HostWindow& host);
  ~DesignFiles() override;

  // Both records are new and belong to no file: nothing is unsaved.
  void Reset();

  DesignKind CurrentKind() const { return currentKind_; }
  // The full path of the kind's file, or an empty text when it has none.
  QString FilePath(DesignKind kind) const;
  bool HasUnsavedChanges(DesignKind kind);
  // Each record as it would be saved now: as the page shown would store it.
  vrlComponent ShownComponent();
  vrlFacility ShownFacility();
  // Each record as its file holds it (a new record while it has none).
  const vrlComponent& SavedComponent() const { return savedComponent_; }
  const vrlFacility& SavedFacility() const { return savedFacility_; }

  // File > New Design: after the question about unsaved changes, a new
  // record of `kind` without a file, shown where the design was shown (the
  // design sheet, else the wizard's start page).
  bool NewDesign(DesignKind kind);

  // The File menu's commands. Each returns true when it did its work.
  bool Open();
  bool OpenFile(const QString& path);
  // File > Import from Game Data: a family of a game data file, chosen from
  // a searchable list, as a new design without a file, shown in the design
  // sheet; what the design does not reproduce is shown first.
  bool ImportFromGameData();
  // Save on a design without a file is Save As. The file dialogs open in the
  // folder last used; Save As suggests the design's name without formulas.
  bool Save();
  bool SaveAs();
  bool SaveTo(const QString& path);
  // Ends the program after asking about unsaved changes.
  void Quit();

  // Puts a recovered copy of a design in place of the record of its kind,
  // as unsaved changes to `origin`, the file it came from, when that can
  // still be read (else to no file), and shows it as Open does.
  void Restore(const Design& design, const QString& origin);

  // Updates the title's file part and whether Save is offered (after the
  // record was replaced outside these commands, as undo does).
  void Refresh();

  // The question about unsaved changes before the program ends; true when it
  // may end.
  bool ConfirmQuit();

  // The design a page belongs to, as the page tells it; nothing for the main
  // menu, setup, vehicle and results pages.
  static std::optional<DesignKind> KindOfPage(const QWidget* page);

  QAction* OpenAction() const { return actOpen_; }
  QAction* SaveAsAction() const { return actSaveAs_; }
  QAction* SaveAction() const { return actSave_; }
  QAction* QuitAction() const { return actQuit_; }

 signals:
  // A control of the page shown, or the design sheet, changed (the design
  // shown may differ now).
  void ShownDesignEdited();
  // The record of `kind` was replaced by another design (opened, made new,
  // restored), before it is shown.
  void DesignReplaced(vorlane::DesignKind kind);
  // The design of `kind` was saved to its file.
  void Saved(vorlane::DesignKind kind);
  // The program may end: no design has unsaved changes, or the user
  // discarded them.
  void QuitConfirmed();

 private:
  QString& PathOf(DesignKind kind) { return kind == DesignKind::Component ? componentPath_ : facilityPath_; }

  void CreateMenu();
  // True while a generation runs: every command then does nothing.
  bool Busy() const;
  void PageChanged(HostedPage* page);
  void ScheduleRefresh() { refresh_.start(); }
  // The wizard page on screen when it belongs to `kind`.
  WizardPage* PageOf(DesignKind kind) const;
  // The record of `kind` as it would be saved now: the page's snapshot when
  // a page of `kind` is shown, else the record.
  template <class Record>
  Record Shown(Record& record, DesignKind kind);
  template <class Record>
  bool Unsaved(Record& record, const Record& saved, const std::optional<Record>& baseline, DesignKind kind);
  // Takes what the page of the current kind shows as its unchanged state.
  void TakeBaseline();
  // False on the setup and vehicle pages: no design to save is on screen.
  bool DesignShown() const;
  // "The component design has unsaved changes. ..." for the kinds given,
  // with Save, Discard and Cancel; true unless cancelled or a save failed.
  bool SettleUnsaved(bool component, bool facility);
  // `settled`: the kind already asked about before the file dialog;
  // `setupAsked`: the setup page's question too.
  bool OpenFile(const QString& path, std::optional<DesignKind> settled, bool setupAsked);
  // True unless the setup page shows changed directories and the user
  // declines to lose them.
  bool MayLeaveSetup();
  // Saves to the kind's file, or as Save As when it has none.
  bool SaveKind(DesignKind kind);
  bool SaveAs(DesignKind kind);
  bool SaveTo(DesignKind kind, const QString& path);
  QString StartDir(DesignKind kind) const;
  void RememberFolder(const QFileInfo& file);
  // Shows the design of `kind`: on the design sheet when it is shown, else
  // on the wizard's start page.
  void ShowDesign(DesignKind kind);
  QWidget* Parent() const;

  HQ& hq_;
  HostWindow& host_;
  // The file of each record and the record as that file holds it (a new
  // record while there is no file).
  QString componentPath_;
  QString facilityPath_;
  vrlComponent savedComponent_;
  vrlFacility savedFacility_;
  // What the wizard page on screen would write, as it opened or was last
  // saved; edits count once the page differs from it.
  std::optional<vrlComponent> componentBaseline_;
  std::optional<vrlFacility> facilityBaseline_;
  DesignKind currentKind_ = DesignKind::Component;
  QTimer refresh_;
  QPointer<QAction> actOpen_;
  QPointer<QAction> actSaveAs_;
  QPointer<QAction> actSave_;
  QPointer<QAction> actQuit_;
};

}  // namespace vorlane
