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

// The design a step belongs to. No default: a new step without its kind
// fails to compile (-Wswitch).
constexpr DesignKind KindOf(PageId step) {
  switch (step) {
    case PageId::CompStart:
    case PageId::CompBasicInfo:
    case PageId::CompVehicleType:
    case PageId::CompPicture:
    case PageId::CompTech:
    case PageId::CompCost:
    case PageId::CompAbility:
    case PageId::CompWeaponInfo:
    case PageId::CompWeaponInfo2:
    case PageId::CompWeaponDamage:
    case PageId::CompGenerate:
      return DesignKind::Component;
    case PageId::FacStart:
    case PageId::FacBasicInfo:
    case PageId::FacPicture:
    case PageId::FacTech:
    case PageId::FacAbility:
    case PageId::FacGenerate:
      return DesignKind::Facility;
  }
  return DesignKind::Component;
}

}  // namespace vorlane
