#include "app/HQ.h"

#include "app/DesignFiles.h"
#include "app/HostWindow.h"
#include "app/frmMain.h"
#include "app/frmSetup.h"
#include "app/frmVehStart.h"
#include "generate_ui/frmCompGenerate.h"
#include "generate_ui/frmFacGenerate.h"
#include "wizard/frmCompAbility.h"
#include "wizard/frmCompBasicInfo.h"
#include "wizard/frmCompCost.h"
#include "wizard/frmCompPicture.h"
#include "wizard/frmCompStart.h"
#include "wizard/frmCompTech.h"
#include "wizard/frmCompVehicleType.h"
#include "wizard/frmCompWeaponDamage.h"
#include "wizard/frmCompWeaponInfo.h"
#include "wizard/frmCompWeaponInfo2.h"
#include "wizard/frmFacAbility.h"
#include "wizard/frmFacBasicInfo.h"
#include "wizard/frmFacPicture.h"
#include "wizard/frmFacStart.h"
#include "wizard/frmFacTech.h"

namespace vorlane {

namespace {

template <class Page>
HostedPage* Make(HQ& hq) {
  return new Page(hq);
}

// The size of every page but the results window: what the largest page needs.
QSize PageSize(HQ& hq) {
  QSize size;
  for (HQ::PageMaker make : HQ::kPageMakers) {
    std::unique_ptr<HostedPage> page(make(hq));
    page->ensurePolished();
    size = size.expandedTo(page->sizeHint());
  }
  return size;
}

}  // namespace

const std::array<HQ::PageMaker, 20> HQ::kPageMakers{
    Make<frmMain>,        Make<frmSetup>,           Make<frmVehStart>,         Make<frmCompStart>,
    Make<frmCompBasicInfo>, Make<frmCompVehicleType>, Make<frmCompPicture>,    Make<frmCompTech>,
    Make<frmCompCost>,    Make<frmCompAbility>,     Make<frmCompWeaponInfo>,   Make<frmCompWeaponInfo2>,
    Make<frmCompWeaponDamage>, Make<frmCompGenerate>, Make<frmFacStart>,       Make<frmFacBasicInfo>,
    Make<frmFacPicture>,  Make<frmFacTech>,         Make<frmFacAbility>,       Make<frmFacGenerate>};

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
  host_->SetPageSize(PageSize(*this));
  ShowMainMenu();
  host_->show();
}

SaveResult HQ::SaveSettingsFile() const { return SaveSettings(settingsFile_, dirs_); }

void HQ::ShowMainMenu() { host_->ShowPage(new frmMain(*this)); }

}  // namespace vorlane
