#include "wizard/frmFacBasicInfo.h"

namespace vorlane {

namespace {

BasicInfoPage::Words FacilityWords() {
  BasicInfoPage::Words w;
  w.pageName = "frmFacBasicInfo";
  w.title = kFacilityDesignTitle + QStringLiteral(" - Basic Information");
  w.noun = QStringLiteral("facility");
  w.numberStyleTip = QStringLiteral(
      "Determines the style used to denote progressive levels of the facility (not used for grid facilities).");
  w.numberLabelTip = w.numberStyleTip;
  w.romanStyleTip = QStringLiteral(
      "Determines the method of calculating the roman numeral which will be displayed in the facility's mini picture.");
  w.romanLabelTip = QStringLiteral(
      "Determines the method of calculating the roman numeral which will be displayed in the facility's mini picture "
      "(not used for grid facilities).");
  w.familyTip = QStringLiteral("Determines the facility's family number.");
  w.familyCaption = QStringLiteral("Facility Family:");
  w.groupTip = QStringLiteral("Determines the group to which the facility belongs");
  w.groupLabelTip = QStringLiteral("Determines the group to which the facility belongs.");
  w.groupCaption = QStringLiteral("Facility Group:");
  w.groupQuestion = QStringLiteral("Do you want to leave the facility group blank?");
  w.component = false;
  return w;
}

// Each value of the page and the record field it shows.
BasicInfoPageOf<vrlFacility>::Bindings Fields() {
  using R = vrlFacility;
  using Values = BasicInfoPage::Values;
  return {
      {&Values::numberStyle, &R::NumberStyle, &R::SetNumberStyle},
      {&Values::romanStyle, &R::RomanStyle, &R::SetRomanStyle},
      {&Values::family, &R::FacFamily, &R::SetFacFamily},
      {&Values::group, &R::FacGroup, &R::SetFacGroup},
      {&Values::minCost, &R::MinCost, &R::SetMinCost},
      {&Values::orgCost, &R::OrgCost, &R::SetOrgCost},
      {&Values::radCost, &R::RadCost, &R::SetRadCost},
  };
}

}  // namespace

frmFacBasicInfo::frmFacBasicInfo(Session& session, QWidget* parent)
    : BasicInfoPageOf(session, FacilityWords(), Fields(), parent) {
  LoadFields();
}

}  // namespace vorlane
