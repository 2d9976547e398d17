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

}  // namespace

frmFacBasicInfo::frmFacBasicInfo(Session& session, QWidget* parent) : BasicInfoPage(session, FacilityWords(), parent) {
  LoadFields();
}

BasicInfoPage::Values frmFacBasicInfo::ReadRecord() const {
  const vrlFacility& r = Facility();
  Values v;
  v.numberStyle = r.NumberStyle();
  v.romanStyle = r.RomanStyle();
  v.family = r.FacFamily();
  v.group = r.FacGroup();
  v.minCost = r.MinCost();
  v.orgCost = r.OrgCost();
  v.radCost = r.RadCost();
  return v;
}

void frmFacBasicInfo::WriteRecord(const Values& v) {
  vrlFacility& r = Facility();
  r.SetNumberStyle(v.numberStyle);
  r.SetRomanStyle(v.romanStyle);
  r.SetFacFamily(v.family);
  r.SetFacGroup(v.group);
  r.SetMinCost(v.minCost);
  r.SetOrgCost(v.orgCost);
  r.SetRadCost(v.radCost);
}

bool frmFacBasicInfo::Grid() const { return Facility().GridFac(); }

}  // namespace vorlane
