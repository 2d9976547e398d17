// The program object: the one component record, the one facility record, the
// game and mod directories, the services, the host window and the design
// files for the whole run. Pages see it as their Session (gui/Session.h); it
// makes their neighbours from the flow tables (app/WizardFlow.h).
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/Session.h"
#include "settings/SettingsFile.h"

namespace vorlane {

class DesignFiles;
class DesignHistory;
class DesignRecovery;
class SheetMenu;
class HostedPage;
class HostWindow;
class Services;

class HQ : public Session {
 public:
  // `settingsFile` is the full name of the settings file; `programDir` the
  // directory that holds the program, by default the settings file's own.
  HQ(Services& services, std::filesystem::path settingsFile, std::filesystem::path programDir = {});
  ~HQ() override;
  HQ(const HQ&) = delete;
  HQ& operator=(const HQ&) = delete;

  // Where recovery copies of unsaved designs are kept (settings/
  // StateFolder.h); set before Main(). Without one, no copies are kept.
  void SetStateFolder(std::filesystem::path folder) { stateFolder_ = std::move(folder); }

  // Entry procedure: loads the settings, creates both records anew and shows
  // the main menu in the host window, then offers the recovery copies that
  // an instance gone left behind. The caller then runs the event loop.
  void Main();

  vrlComponent& Component() override { return component_; }
  vrlFacility& Facility() override { return facility_; }

  const std::string& SEIVDir() const override { return dirs_.SEIVDir; }
  const std::string& ModDir() const override { return dirs_.ModDir; }
  void SetSEIVDir(std::string dir) { dirs_.SEIVDir = std::move(dir); }
  void SetModDir(std::string dir) { dirs_.ModDir = std::move(dir); }

  const RememberedPlaces& Places() const override { return dirs_.places; }
  void RememberPlaces(const RememberedPlaces& places) override;

  // Writes both directories and the remembered places to the settings file.
  SaveResult SaveSettingsFile() const;
  const std::filesystem::path& SettingsFile() const { return settingsFile_; }
  // The directory that holds the program.
  const std::filesystem::path& ProgramDir() const override { return programDir_; }

  Services& services() const override { return services_; }
  HostWindow& Host() const { return *host_; }
  // The design files of both records and the host's File menu.
  DesignFiles& Designs() const { return *designs_; }
  // The undo history of both designs and the Edit menu.
  DesignHistory& History() const { return *history_; }
  // The recovery copies, once Main() has run with a state folder; else nullptr.
  DesignRecovery* Recovery() const { return recovery_.get(); }

  // Shows a fresh main menu in the host window in place of the current page.
  void ShowMainMenu() override;
  void ShowPage(HostedPage* page) override;

  WizardPage* CreatePage(PageId step) override;
  WizardPage* NextPage(PageId step) override;
  WizardPage* PreviousPage(PageId step) override;

  void ShowDesignSheet(DesignKind kind, const GenerationFault* fault = nullptr) override;
  // Shows the start page of the wizard of `kind`.
  void ShowWizard(DesignKind kind);
  // Whether the design sheet is the page shown.
  bool SheetShown() const;

  // Makers of every page the host shows but the results window, each page as
  // arriving on it makes it: for sizing the window once, and for tests.
  using PageMaker = std::function<HostedPage*(HQ&)>;
  static std::vector<PageMaker> PageMakers();

 private:
  Services& services_;
  std::filesystem::path settingsFile_;
  std::filesystem::path programDir_;
  DirSettings dirs_;
  vrlComponent component_;
  vrlFacility facility_;
  std::unique_ptr<HostWindow> host_;
  std::unique_ptr<DesignFiles> designs_;
  std::unique_ptr<SheetMenu> sheetMenu_;
  std::unique_ptr<DesignHistory> history_;
  std::filesystem::path stateFolder_;
  std::unique_ptr<DesignRecovery> recovery_;
};

}  // namespace vorlane
