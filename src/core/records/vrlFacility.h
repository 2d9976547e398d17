// The facility design record, the component record's twin with fewer fields.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "records/IndexedLists.h"

namespace vorlane {

class vrlFacility {
 public:
  const std::string& FacName() const { return facName_; }
  void SetFacName(std::string value) { facName_ = std::move(value); }
  const std::string& NumberStyle() const { return numberStyle_; }
  void SetNumberStyle(std::string value) { numberStyle_ = std::move(value); }
  const std::string& RomanStyle() const { return romanStyle_; }
  void SetRomanStyle(std::string value) { romanStyle_ = std::move(value); }
  const std::string& FacDesc() const { return facDesc_; }
  void SetFacDesc(std::string value) { facDesc_ = std::move(value); }
  const std::string& FacGroup() const { return facGroup_; }
  void SetFacGroup(std::string value) { facGroup_ = std::move(value); }
  const std::string& FacFamily() const { return facFamily_; }
  void SetFacFamily(std::string value) { facFamily_ = std::move(value); }
  const std::string& PicNum() const { return picNum_; }
  void SetPicNum(std::string value) { picNum_ = std::move(value); }
  const std::string& MinCost() const { return minCost_; }
  void SetMinCost(std::string value) { minCost_ = std::move(value); }
  const std::string& OrgCost() const { return orgCost_; }
  void SetOrgCost(std::string value) { orgCost_ = std::move(value); }
  const std::string& RadCost() const { return radCost_; }
  void SetRadCost(std::string value) { radCost_ = std::move(value); }

  // Level count, exchanged as text. An overflowing value is refused (false) and
  // leaves the stored count unchanged.
  std::string NumFacLevels() const { return std::to_string(numLevels_); }
  bool SetNumFacLevels(const std::string& text) {
    auto n = ParseLevelCount(text);
    if (!n) return false;
    numLevels_ = *n;
    return true;
  }
  bool GridFac() const { return grid_; }
  void SetGridFac(bool value) { grid_ = value; }

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
  std::optional<std::string> TechReqNumStyle(std::int16_t i) const { return techReqs_.Get(3, i); }
  bool SetTechReqNumStyle(std::int16_t i, std::string value) { return techReqs_.Set(3, i, std::move(value)); }

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

  bool operator==(const vrlFacility&) const = default;

 private:
  std::string facName_;
  std::string numberStyle_;
  std::string romanStyle_;
  std::string facDesc_;
  std::string facGroup_;
  std::string facFamily_;
  std::string picNum_;
  std::string minCost_;
  std::string orgCost_;
  std::string radCost_;
  std::int16_t numLevels_ = 0;
  bool grid_ = false;
  IndexedLists<4> techReqs_;
  IndexedLists<4> abils_;

};

}  // namespace vorlane
