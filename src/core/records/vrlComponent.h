// The component design record: every field is free text (a value or a formula)
// except the level count, the grid flag and the two list counts.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "records/IndexedLists.h"

namespace vorlane {

class vrlComponent {
 public:
  const std::string& CompName() const { return compName_; }
  void SetCompName(std::string value) { compName_ = std::move(value); }
  const std::string& CompDesc() const { return compDesc_; }
  void SetCompDesc(std::string value) { compDesc_ = std::move(value); }
  const std::string& VehicleType() const { return vehicleType_; }
  void SetVehicleType(std::string value) { vehicleType_ = std::move(value); }
  const std::string& Restrictions() const { return restrictions_; }
  void SetRestrictions(std::string value) { restrictions_ = std::move(value); }
  const std::string& GeneralGroup() const { return generalGroup_; }
  void SetGeneralGroup(std::string value) { generalGroup_ = std::move(value); }
  const std::string& Family() const { return family_; }
  void SetFamily(std::string value) { family_ = std::move(value); }
  const std::string& CustomGroup() const { return customGroup_; }
  void SetCustomGroup(std::string value) { customGroup_ = std::move(value); }
  const std::string& PicNum() const { return picNum_; }
  void SetPicNum(std::string value) { picNum_ = std::move(value); }
  const std::string& NumberStyle() const { return numberStyle_; }
  void SetNumberStyle(std::string value) { numberStyle_ = std::move(value); }
  const std::string& RomanStyle() const { return romanStyle_; }
  void SetRomanStyle(std::string value) { romanStyle_ = std::move(value); }
  const std::string& MinCost() const { return minCost_; }
  void SetMinCost(std::string value) { minCost_ = std::move(value); }
  const std::string& OrgCost() const { return orgCost_; }
  void SetOrgCost(std::string value) { orgCost_ = std::move(value); }
  const std::string& RadCost() const { return radCost_; }
  void SetRadCost(std::string value) { radCost_ = std::move(value); }
  const std::string& Size() const { return size_; }
  void SetSize(std::string value) { size_ = std::move(value); }
  const std::string& HP() const { return hP_; }
  void SetHP(std::string value) { hP_ = std::move(value); }
  const std::string& SupplyUse() const { return supplyUse_; }
  void SetSupplyUse(std::string value) { supplyUse_ = std::move(value); }
  const std::string& WeaponType() const { return weaponType_; }
  void SetWeaponType(std::string value) { weaponType_ = std::move(value); }
  const std::string& WeaponTarget() const { return weaponTarget_; }
  void SetWeaponTarget(std::string value) { weaponTarget_ = std::move(value); }
  const std::string& WeaponDamageType() const { return weaponDamageType_; }
  void SetWeaponDamageType(std::string value) { weaponDamageType_ = std::move(value); }
  const std::string& WeaponSound() const { return weaponSound_; }
  void SetWeaponSound(std::string value) { weaponSound_ = std::move(value); }
  const std::string& WeaponDisplayType() const { return weaponDisplayType_; }
  void SetWeaponDisplayType(std::string value) { weaponDisplayType_ = std::move(value); }
  const std::string& WeaponDisplayNum() const { return weaponDisplayNum_; }
  void SetWeaponDisplayNum(std::string value) { weaponDisplayNum_ = std::move(value); }
  const std::string& WeaponFamily() const { return weaponFamily_; }
  void SetWeaponFamily(std::string value) { weaponFamily_ = std::move(value); }
  const std::string& WeaponReload() const { return weaponReload_; }
  void SetWeaponReload(std::string value) { weaponReload_ = std::move(value); }
  const std::string& WeaponToHitMod() const { return weaponToHitMod_; }
  void SetWeaponToHitMod(std::string value) { weaponToHitMod_ = std::move(value); }
  const std::string& WeaponSeekerSpeed() const { return weaponSeekerSpeed_; }
  void SetWeaponSeekerSpeed(std::string value) { weaponSeekerSpeed_ = std::move(value); }
  const std::string& WeaponSeekerHP() const { return weaponSeekerHP_; }
  void SetWeaponSeekerHP(std::string value) { weaponSeekerHP_ = std::move(value); }

  // Level count, exchanged as text. An overflowing value is refused (false) and
  // leaves the stored count unchanged.
  std::string NumCompLevels() const { return std::to_string(numLevels_); }
  bool SetNumCompLevels(const std::string& text) {
    auto n = ParseLevelCount(text);
    if (!n) return false;
    numLevels_ = *n;
    return true;
  }
  bool GridComp() const { return grid_; }
  void SetGridComp(bool value) { grid_ = value; }

  // Technology requirements, entries 1..NumTechReqs. Readers give nothing and
  // writers refuse (false) an entry number outside 0..NumTechReqs.
  std::int16_t NumTechReqs() const { return techReqs_.Count(); }
  bool SetNumTechReqs(std::int16_t n) { return techReqs_.SetCount(n); }
  std::optional<std::string> TechReqArea(std::int16_t i) const { return techReqs_.Get(0, i); }
  bool SetTechReqArea(std::int16_t i, std::string value) { return techReqs_.Set(0, i, std::move(value)); }
  std::optional<std::string> TechReqLevel(std::int16_t i) const { return techReqs_.Get(1, i); }
  bool SetTechReqLevel(std::int16_t i, std::string value) { return techReqs_.Set(1, i, std::move(value)); }
  std::optional<std::string> TechReqGridSize(std::int16_t i) const { return techReqs_.Get(2, i); }
  bool SetTechReqGridSize(std::int16_t i, std::string value) { return techReqs_.Set(2, i, std::move(value)); }
  std::optional<std::string> TechReqNumberStyle(std::int16_t i) const { return techReqs_.Get(3, i); }
  bool SetTechReqNumberStyle(std::int16_t i, std::string value) { return techReqs_.Set(3, i, std::move(value)); }

  // Abilities, entries 1..NumAbils, with the same range rules.
  std::int16_t NumAbils() const { return abils_.Count(); }
  bool SetNumAbils(std::int16_t n) { return abils_.SetCount(n); }
  std::optional<std::string> AbilName(std::int16_t i) const { return abils_.Get(0, i); }
  bool SetAbilName(std::int16_t i, std::string value) { return abils_.Set(0, i, std::move(value)); }
  std::optional<std::string> AbilDesc(std::int16_t i) const { return abils_.Get(1, i); }
  bool SetAbilDesc(std::int16_t i, std::string value) { return abils_.Set(1, i, std::move(value)); }
  std::optional<std::string> AbilVal1(std::int16_t i) const { return abils_.Get(2, i); }
  bool SetAbilVal1(std::int16_t i, std::string value) { return abils_.Set(2, i, std::move(value)); }
  std::optional<std::string> AbilVal2(std::int16_t i) const { return abils_.Get(3, i); }
  bool SetAbilVal2(std::int16_t i, std::string value) { return abils_.Set(3, i, std::move(value)); }

  // Damage at ranges 1..21; any other range is refused.
  static constexpr std::int16_t kNumRanges = 21;
  std::optional<std::string> WeaponDamageAtRange(std::int16_t r) const {
    if (r < 1 || r > kNumRanges) return std::nullopt;
    return damageAtRange_[static_cast<std::size_t>(r - 1)];
  }
  bool SetWeaponDamageAtRange(std::int16_t r, std::string value) {
    if (r < 1 || r > kNumRanges) return false;
    damageAtRange_[static_cast<std::size_t>(r - 1)] = std::move(value);
    return true;
  }

  bool operator==(const vrlComponent&) const = default;

 private:
  std::string compName_;
  std::string compDesc_;
  std::string vehicleType_;
  std::string restrictions_;
  std::string generalGroup_;
  std::string family_;
  std::string customGroup_;
  std::string picNum_;
  std::string numberStyle_;
  std::string romanStyle_;
  std::string minCost_;
  std::string orgCost_;
  std::string radCost_;
  std::string size_;
  std::string hP_;
  std::string supplyUse_;
  std::string weaponType_ = "None";
  std::string weaponTarget_;
  std::string weaponDamageType_;
  std::string weaponSound_;
  std::string weaponDisplayType_ = "Beam";
  std::string weaponDisplayNum_;
  std::string weaponFamily_;
  std::string weaponReload_;
  std::string weaponToHitMod_;
  std::string weaponSeekerSpeed_;
  std::string weaponSeekerHP_;
  std::int16_t numLevels_ = 0;
  bool grid_ = false;
  IndexedLists<4> techReqs_;
  IndexedLists<4> abils_;
  std::array<std::string, kNumRanges> damageAtRange_;
};

}  // namespace vorlane
