// What a page may use of the running program: the two design records, the
// game and mod directories, the services, and navigation. The program object
// (app/HQ.h) implements it; pages never see the program object itself.
#pragma once

#include <filesystem>
#include <string>

#include "gui/PageId.h"
#include "records/vrlComponent.h"
#include "records/vrlFacility.h"
#include "settings/SettingsFile.h"

namespace vorlane {

class HostedPage;
class Services;
class WizardPage;
struct GenerationFault;

class Session {
 public:
  virtual ~Session() = default;

  virtual vrlComponent& Component() = 0;
  virtual vrlFacility& Facility() = 0;
  virtual const std::string& SEIVDir() const = 0;
  virtual const std::string& ModDir() const = 0;
  // The directory that holds the program.
  virtual const std::filesystem::path& ProgramDir() const = 0;
  virtual Services& services() const = 0;
  // What the file dialogs offer first, kept in the settings file from one run
  // to the next. Remembering writes the file when they changed; a file that
  // cannot be written is not reported (the setup page's OK reports it), the
  // places then last until the program ends.
  virtual const RememberedPlaces& Places() const = 0;
  virtual void RememberPlaces(const RememberedPlaces& places) = 0;

  // Shows `page` in place of the current page; the host takes it. The old
  // page is deleted once control returns to the event loop.
  virtual void ShowPage(HostedPage* page) = 0;
  // Shows a fresh main menu in place of the current page.
  virtual void ShowMainMenu() = 0;

  // The page of `step`, made fresh from the records.
  virtual WizardPage* CreatePage(PageId step) = 0;
  // The page that Next or Back leads to from `step` for the design as the
  // records hold it now, made fresh; nullptr where the wizard ends.
  virtual WizardPage* NextPage(PageId step) = 0;
  virtual WizardPage* PreviousPage(PageId step) = 0;

  // Shows the design sheet of `kind` in place of the current page (a wizard
  // page on screen first writes its fields, as Back would); with `fault`, at
  // the entry and field where a generation failed.
  virtual void ShowDesignSheet(DesignKind kind, const GenerationFault* fault = nullptr) = 0;

 protected:
  Session() = default;
  Session(const Session&) = default;
  Session& operator=(const Session&) = default;
};

}  // namespace vorlane
