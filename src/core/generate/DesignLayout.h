// How each record kind spells its properties: one row per property, with the
// design-file key and the record's reader and writer. The design file reader
// and writer and the design checks walk the same rows.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/vrlComponent.h"
#include "records/vrlFacility.h"

namespace vorlane {

// How one record kind spells its properties.
template <typename Record>
struct TextProperty {
  const char* name;
  const std::string& (Record::*get)() const;
  void (Record::*set)(std::string);
};

template <typename Record>
struct ListProperty {
  const char* name;
  std::optional<std::string> (Record::*get)(std::int16_t) const;
  bool (Record::*set)(std::int16_t, std::string);
};

template <typename Record>
struct Layout;

template <>
struct Layout<vrlComponent> {
  using R = vrlComponent;
  static constexpr const char* kKind = "component";
  static constexpr const char* kLevels = "NumCompLevels";
  static constexpr const char* kGrid = "GridComp";
  static constexpr bool kDamage = true;
  static std::string Levels(const R& r) { return r.NumCompLevels(); }
  static bool SetLevels(R& r, const std::string& text) { return r.SetNumCompLevels(text); }
  static bool Grid(const R& r) { return r.GridComp(); }
  static void SetGrid(R& r, bool value) { r.SetGridComp(value); }
  static inline const std::vector<TextProperty<R>> kTexts = {
      {"CompName", &R::CompName, &R::SetCompName},
      {"CompDesc", &R::CompDesc, &R::SetCompDesc},
      {"VehicleType", &R::VehicleType, &R::SetVehicleType},
      {"Restrictions", &R::Restrictions, &R::SetRestrictions},
      {"GeneralGroup", &R::GeneralGroup, &R::SetGeneralGroup},
      {"Family", &R::Family, &R::SetFamily},
      {"CustomGroup", &R::CustomGroup, &R::SetCustomGroup},
      {"PicNum", &R::PicNum, &R::SetPicNum},
      {"NumberStyle", &R::NumberStyle, &R::SetNumberStyle},
      {"RomanStyle", &R::RomanStyle, &R::SetRomanStyle},
      {"MinCost", &R::MinCost, &R::SetMinCost},
      {"OrgCost", &R::OrgCost, &R::SetOrgCost},
      {"RadCost", &R::RadCost, &R::SetRadCost},
      {"Size", &R::Size, &R::SetSize},
      {"HP", &R::HP, &R::SetHP},
      {"SupplyUse", &R::SupplyUse, &R::SetSupplyUse},
      {"WeaponType", &R::WeaponType, &R::SetWeaponType},
      {"WeaponTarget", &R::WeaponTarget, &R::SetWeaponTarget},
      {"WeaponDamageType", &R::WeaponDamageType, &R::SetWeaponDamageType},
      {"WeaponSound", &R::WeaponSound, &R::SetWeaponSound},
      {"WeaponDisplayType", &R::WeaponDisplayType, &R::SetWeaponDisplayType},
      {"WeaponDisplayNum", &R::WeaponDisplayNum, &R::SetWeaponDisplayNum},
      {"WeaponFamily", &R::WeaponFamily, &R::SetWeaponFamily},
      {"WeaponReload", &R::WeaponReload, &R::SetWeaponReload},
      {"WeaponToHitMod", &R::WeaponToHitMod, &R::SetWeaponToHitMod},
      {"WeaponSeekerSpeed", &R::WeaponSeekerSpeed, &R::SetWeaponSeekerSpeed},
      {"WeaponSeekerHP", &R::WeaponSeekerHP, &R::SetWeaponSeekerHP},
  };
  static inline const std::array<ListProperty<R>, 4> kTech = {{
      {"TechReqArea", &R::TechReqArea, &R::SetTechReqArea},
      {"TechReqLevel", &R::TechReqLevel, &R::SetTechReqLevel},
      {"TechReqGridSize", &R::TechReqGridSize, &R::SetTechReqGridSize},
      {"TechReqNumberStyle", &R::TechReqNumberStyle, &R::SetTechReqNumberStyle},
  }};
  static inline const std::array<ListProperty<R>, 4> kAbilities = {{
      {"AbilName", &R::AbilName, &R::SetAbilName},
      {"AbilDesc", &R::AbilDesc, &R::SetAbilDesc},
      {"AbilVal1", &R::AbilVal1, &R::SetAbilVal1},
      {"AbilVal2", &R::AbilVal2, &R::SetAbilVal2},
  }};
};

template <>
struct Layout<vrlFacility> {
  using R = vrlFacility;
  static constexpr const char* kKind = "facility";
  static constexpr const char* kLevels = "NumFacLevels";
  static constexpr const char* kGrid = "GridFac";
  static constexpr bool kDamage = false;
  static std::string Levels(const R& r) { return r.NumFacLevels(); }
  static bool SetLevels(R& r, const std::string& text) { return r.SetNumFacLevels(text); }
  static bool Grid(const R& r) { return r.GridFac(); }
  static void SetGrid(R& r, bool value) { r.SetGridFac(value); }
  static inline const std::vector<TextProperty<R>> kTexts = {
      {"FacName", &R::FacName, &R::SetFacName},
      {"FacDesc", &R::FacDesc, &R::SetFacDesc},
      {"NumberStyle", &R::NumberStyle, &R::SetNumberStyle},
      {"RomanStyle", &R::RomanStyle, &R::SetRomanStyle},
      {"FacGroup", &R::FacGroup, &R::SetFacGroup},
      {"FacFamily", &R::FacFamily, &R::SetFacFamily},
      {"PicNum", &R::PicNum, &R::SetPicNum},
      {"MinCost", &R::MinCost, &R::SetMinCost},
      {"OrgCost", &R::OrgCost, &R::SetOrgCost},
      {"RadCost", &R::RadCost, &R::SetRadCost},
  };
  static inline const std::array<ListProperty<R>, 4> kTech = {{
      {"TechReqArea", &R::TechReqArea, &R::SetTechReqArea},
      {"TechReqLevel", &R::TechReqLevel, &R::SetTechReqLevel},
      {"TechReqGridSize", &R::TechReqGridSize, &R::SetTechReqGridSize},
      {"TechReqNumStyle", &R::TechReqNumStyle, &R::SetTechReqNumStyle},
  }};
  static inline const std::array<ListProperty<R>, 4> kAbilities = {{
      {"AbilName", &R::AbilName, &R::SetAbilName},
      {"AbilDesc", &R::AbilDesc, &R::SetAbilDesc},
      {"AbilVal1", &R::AbilVal1, &R::SetAbilVal1},
      {"AbilVal2", &R::AbilVal2, &R::SetAbilVal2},
  }};
};

}  // namespace vorlane
