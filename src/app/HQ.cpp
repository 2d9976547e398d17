#include "app/HQ.h"

#include "app/DesignFiles.h"
#include "app/DesignHistory.h"
#include "app/DesignRecovery.h"
#include "app/HostWindow.h"
#include "app/SheetMenu.h"
#include "app/WizardFlow.h"
#include "app/frmMain.h"
#include "app/frmSetup.h"
#include "gui/WizardPage.h"
#include "sheet/DesignSheet.h"
#include "wizard/frmVehStart.h"

namespace vorlane {

namespace {

template <class Page>
HostedPage* Make(HQ& hq) {
  return new Page(hq);
}

// The size of every page but the results window: what the largest page needs.
QSize PageSize(HQ& hq) {
  QSize size;
  for (const HQ::PageMaker& make : HQ::PageMakers()) {
    std::unique_ptr<HostedPage> page(make(hq));
    page->ensurePolished();
    size = size.expandedTo(page->sizeHint());
  }
  return size;
}

}  // namespace

std::vector<HQ::PageMaker> HQ::PageMakers() {
  std::vector<PageMaker> makers{Make<frmMain>, Make<frmSetup>, Make<frmVehStart>};
  for (PageId first : {PageId::CompStart, PageId::FacStart}) {
    for (const FlowStep& step : FlowOf(first)) {
      makers.push_back([id = step.step](HQ& hq) -> HostedPage* { return CreateWizardPage(id, hq); });
    }
  }
  return makers;
}

HQ::HQ(Services& services, std::filesystem::path settingsFile, std::filesystem::path programDir)
    : services_(services),
      settingsFile_(std::move(settingsFile)),
      programDir_(programDir.empty() ? settingsFile_.parent_path() : std::move(programDir)),
      host_(std::make_unique<HostWindow>()) {
  designs_ = std::make_unique<DesignFiles>(*this, *host_);
  sheetMenu_ = std::make_unique<SheetMenu>(*this, *host_);
  history_ = std::make_unique<DesignHistory>(*this, *host_);
  // Undo and redo change the design as edits do.
  QObject::connect(history_.get(), &DesignHistory::Changed, history_.get(), [this] {
    if (recovery_) recovery_->Changed();
  });
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
  recovery_.reset();
  if (!stateFolder_.empty()) {
    recovery_ = std::make_unique<DesignRecovery>(*this, stateFolder_);
    recovery_->OfferOrphans();
  }
}

SaveResult HQ::SaveSettingsFile() const { return SaveSettings(settingsFile_, dirs_); }

void HQ::RememberPlaces(const RememberedPlaces& places) {
  if (places == dirs_.places) return;
  dirs_.places = places;
  SaveSettingsFile();
}

void HQ::ShowMainMenu() { host_->ShowPage(new frmMain(*this)); }

void HQ::ShowPage(HostedPage* page) { host_->ShowPage(page); }

WizardPage* HQ::CreatePage(PageId step) { return CreateWizardPage(step, *this); }

WizardPage* HQ::NextPage(PageId step) {
  const std::optional<FlowStep> next = NextStep(step, *this);
  return next ? CreatePage(next->step) : nullptr;
}

WizardPage* HQ::PreviousPage(PageId step) {
  const std::optional<FlowStep> previous = PreviousStep(step, *this);
  if (!previous) return nullptr;
  WizardPage* page = CreatePage(previous->step);
  if (previous->backLandsOnLastEntry) page->ArriveAtLastEntry();
  return page;
}

void HQ::ShowDesignSheet(DesignKind kind, const GenerationFault* fault) {
  if (auto* page = qobject_cast<WizardPage*>(host_->CurrentPage())) page->StoreFields();
  // The design as its file holds it, for the sheet's comparison.
  auto savedComponent = [this]() -> std::optional<vrlComponent> {
    if (designs_->FilePath(DesignKind::Component).isEmpty()) return std::nullopt;
    return designs_->SavedComponent();
  };
  auto savedFacility = [this]() -> std::optional<vrlFacility> {
    if (designs_->FilePath(DesignKind::Facility).isEmpty()) return std::nullopt;
    return designs_->SavedFacility();
  };
  auto* sheet = new DesignSheet(*this, kind, savedComponent, savedFacility);
  host_->ShowPage(sheet);
  if (fault) sheet->OpenAtFault(*fault);
}

void HQ::ShowWizard(DesignKind kind) {
  host_->ShowPage(CreatePage(kind == DesignKind::Component ? PageId::CompStart : PageId::FacStart));
}

bool HQ::SheetShown() const { return qobject_cast<DesignSheet*>(host_->CurrentPage()) != nullptr; }

}  // namespace vorlane
