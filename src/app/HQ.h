// Program-wide state for the whole run: the one component record, the one
// facility record, the game and mod directories, the services, and the host
// window. Every page reaches it through HostedPage::hq().
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include "records/vrlComponent.h"
#include "records/vrlFacility.h"
#include "settings/SettingsFile.h"

namespace vorlane {

class DesignFiles;
class HostedPage;
class HostWindow;
class Services;

class HQ {
 public:
  // `settingsFile` is the full name of the settings file; `programDir` the
  // directory that holds the program, by default the settings file's own.
  HQ(Services& services, std::filesystem::path settingsFile, std::filesystem::path programDir = {});
  ~HQ();
  HQ(const HQ&) = delete;
  HQ& operator=(const HQ&) = delete;

  // Entry procedure: loads the settings, creates both records anew and shows
  // the main menu in the host window. The caller then runs the event loop.
  void Main();

  vrlComponent& Component() { return component_; }
  vrlFacility& Facility() { return facility_; }

  const std::string& SEIVDir() const { return dirs_.SEIVDir; }
  const std::string& ModDir() const { return dirs_.ModDir; }
  void SetSEIVDir(std::string dir) { dirs_.SEIVDir = std::move(dir); }
  void SetModDir(std::string dir) { dirs_.ModDir = std::move(dir); }

  // Writes both directories to the settings file (only the setup page's OK).
  SaveResult SaveSettingsFile() const;
  const std::filesystem::path& SettingsFile() const { return settingsFile_; }
  // The directory that holds the program.
  const std::filesystem::path& ProgramDir() const { return programDir_; }

  Services& services() const { return services_; }
  HostWindow& Host() const { return *host_; }
  // The design files of both records and the host's File menu.
  DesignFiles& Designs() const { return *designs_; }

  // Shows a fresh main menu in the host window in place of the current page.
  void ShowMainMenu();

  // Makers of every page the host shows but the results window, each page as
  // arriving on it makes it: for sizing the window once, and for tests.
  using PageMaker = HostedPage* (*)(HQ&);
  static const std::array<PageMaker, 20> kPageMakers;

 private:
  Services& services_;
  std::filesystem::path settingsFile_;
  std::filesystem::path programDir_;
  DirSettings dirs_;
  vrlComponent component_;
  vrlFacility facility_;
  std::unique_ptr<HostWindow> host_;
  std::unique_ptr<DesignFiles> designs_;
};

}  // namespace vorlane
