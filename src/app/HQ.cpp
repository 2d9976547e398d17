#include "app/HQ.h"

#include "app/DesignFiles.h"
#include "app/HostWindow.h"
#include "app/frmMain.h"

namespace vorlane {

HQ::HQ(Services& services, std::filesystem::path settingsFile, std::filesystem::path programDir)
    : services_(services),
      settingsFile_(std::move(settingsFile)),
      programDir_(programDir.empty() ? settingsFile_.parent_path() : std::move(programDir)),
      host_(std::make_unique<HostWindow>()) {
  designs_ = std::make_unique<DesignFiles>(*this, *host_);
}

HQ::~HQ() = default;

void HQ::Main() {
  dirs_ = LoadSettings(settingsFile_);
  component_ = vrlComponent{};
  facility_ = vrlFacility{};
  designs_->Reset();
  ShowMainMenu();
  host_->show();
}

SaveResult HQ::SaveSettingsFile() const { return SaveSettings(settingsFile_, dirs_); }

void HQ::ShowMainMenu() { host_->ShowPage(new frmMain(*this)); }

}  // namespace vorlane
