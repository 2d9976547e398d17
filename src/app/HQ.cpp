#include "app/HQ.h"

#include "app/HostWindow.h"
#include "app/frmMain.h"

namespace vorlane {

HQ::HQ(Services& services, std::filesystem::path settingsFile)
    : services_(services), settingsFile_(std::move(settingsFile)), host_(std::make_unique<HostWindow>()) {}

HQ::~HQ() = default;

void HQ::Main() {
  dirs_ = LoadSettings(settingsFile_);
  component_ = vrlComponent{};
  facility_ = vrlFacility{};
  ShowMainMenu();
  host_->show();
}

SaveResult HQ::SaveSettingsFile() const { return SaveSettings(settingsFile_, dirs_); }

void HQ::ShowMainMenu() { host_->ShowPage(new frmMain(*this)); }

}  // namespace vorlane
