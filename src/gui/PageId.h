// The steps of the two design wizards. A page knows its own step; which step
// follows which is the program's flow table (app/WizardFlow.h), so no page
// names another.
#pragma once

#include <optional>

#include "generate/DesignFile.h"

namespace vorlane {

enum class PageId {
  CompStart,
  CompBasicInfo,
  CompVehicleType,
  CompPicture,
  CompTech,
  CompCost,
  CompAbility,
  CompWeaponInfo,
  CompWeaponInfo2,
  CompWeaponDamage,
  CompGenerate,
  FacStart,
  FacBasicInfo,
  FacPicture,
  FacTech,
  FacAbility,
  FacGenerate,
};

// The design a step belongs to.
constexpr DesignKind KindOf(PageId step) {
  return step < PageId::FacStart ? DesignKind::Component : DesignKind::Facility;
}

}  // namespace vorlane
