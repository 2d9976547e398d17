#include "app/WizardFlow.h"

#include <algorithm>

#include "generate_ui/frmCompGenerate.h"
#include "generate_ui/frmFacGenerate.h"
#include "gui/Session.h"
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

// A weapon type other than "None" (compared with its case) makes the
// component a weapon, and its walk takes the two further weapon pages.
bool IsWeapon(Session& session) { return session.Component().WeaponType() != "None"; }

constexpr bool kLastEntry = true;

constexpr FlowStep kComponentFlow[] = {
    {PageId::CompStart},
    {PageId::CompBasicInfo},
    {PageId::CompVehicleType},
    {PageId::CompPicture},
    {PageId::CompTech, nullptr, kLastEntry},
    {PageId::CompCost},
    {PageId::CompAbility, nullptr, kLastEntry},
    {PageId::CompWeaponInfo},
    {PageId::CompWeaponInfo2, IsWeapon},
    {PageId::CompWeaponDamage, IsWeapon},
    {PageId::CompGenerate},
};

constexpr FlowStep kFacilityFlow[] = {
    {PageId::FacStart},
    {PageId::FacBasicInfo},
    {PageId::FacPicture},
    {PageId::FacTech},
    {PageId::FacAbility},
    {PageId::FacGenerate},
};

// Each flow holds the steps of its own kind only.
template <std::size_t N>
constexpr bool AllOfKind(const FlowStep (&flow)[N], DesignKind kind) {
  for (const FlowStep& s : flow) {
    if (KindOf(s.step) != kind) return false;
  }
  return true;
}
static_assert(AllOfKind(kComponentFlow, DesignKind::Component) && AllOfKind(kFacilityFlow, DesignKind::Facility));

// Walks the table from `step` by `direction` to the first step the design takes.
std::optional<FlowStep> Neighbour(PageId step, Session& session, int direction) {
  const std::span<const FlowStep> flow = FlowOf(step);
  const auto here = std::find_if(flow.begin(), flow.end(), [step](const FlowStep& s) { return s.step == step; });
  if (here == flow.end()) return std::nullopt;
  for (auto i = here - flow.begin() + direction; i >= 0 && i < static_cast<std::ptrdiff_t>(flow.size());
       i += direction) {
    const FlowStep& candidate = flow[static_cast<std::size_t>(i)];
    if (!candidate.taken || candidate.taken(session)) return candidate;
  }
  return std::nullopt;
}

}  // namespace

std::span<const FlowStep> FlowOf(PageId step) {
  if (KindOf(step) == DesignKind::Component) return kComponentFlow;
  return kFacilityFlow;
}

std::optional<FlowStep> NextStep(PageId step, Session& session) { return Neighbour(step, session, +1); }

std::optional<FlowStep> PreviousStep(PageId step, Session& session) { return Neighbour(step, session, -1); }

WizardPage* CreateWizardPage(PageId step, Session& session) {
  switch (step) {
    case PageId::CompStart: return new frmCompStart(session);
    case PageId::CompBasicInfo: return new frmCompBasicInfo(session);
    case PageId::CompVehicleType: return new frmCompVehicleType(session);
    case PageId::CompPicture: return new frmCompPicture(session);
    case PageId::CompTech: return new frmCompTech(session);
    case PageId::CompCost: return new frmCompCost(session);
    case PageId::CompAbility: return new frmCompAbility(session);
    case PageId::CompWeaponInfo: return new frmCompWeaponInfo(session);
    case PageId::CompWeaponInfo2: return new frmCompWeaponInfo2(session);
    case PageId::CompWeaponDamage: return new frmCompWeaponDamage(session);
    case PageId::CompGenerate: return new frmCompGenerate(session);
    case PageId::FacStart: return new frmFacStart(session);
    case PageId::FacBasicInfo: return new frmFacBasicInfo(session);
    case PageId::FacPicture: return new frmFacPicture(session);
    case PageId::FacTech: return new frmFacTech(session);
    case PageId::FacAbility: return new frmFacAbility(session);
    case PageId::FacGenerate: return new frmFacGenerate(session);
  }
  return nullptr;
}

}  // namespace vorlane
