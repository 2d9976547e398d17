#include "wizard/frmCompBasicInfo.h"


namespace vorlane {

namespace {

BasicInfoPage::Words ComponentWords() {
  BasicInfoPage::Words w;
  w.pageName = "frmCompBasicInfo";
  w.title = kComponentDesignTitle + QStringLiteral(" - Basic Information");
  w.noun = QStringLiteral("component");
  w.numberStyleTip = QStringLiteral("Determines the style of the numbers added after the component's name.");
  w.numberLabelTip = QStringLiteral(
      "Determines the style used to denote progressive levels of the component (not used for grid components).");
  w.romanStyleTip = QStringLiteral(
      "Determines the method of calculating the roman numeral which will be displayed in the component's mini picture.");
  w.romanLabelTip = w.romanStyleTip;
  w.familyTip = QStringLiteral("Determines the component's family number.");
  w.familyCaption = QStringLiteral("Component Family:");
  w.groupTip = QStringLiteral("Determines the general group of the component.");
  w.groupLabelTip = w.groupTip;
  w.groupCaption = QStringLiteral("General Group:");
  w.groupQuestion = QStringLiteral("Do you want to leave the general group blank?");
  w.component = true;
  return w;
}

}  // namespace

frmCompBasicInfo::frmCompBasicInfo(Session& session, QWidget* parent) : BasicInfoPage(session, ComponentWords(), parent) {
  LoadFields();
}

BasicInfoPage::Values frmCompBasicInfo::ReadRecord() const {
  const vrlComponent& r = Component();
  Values v;
  v.numberStyle = r.NumberStyle();
  v.romanStyle = r.RomanStyle();
  v.family = r.Family();
  v.group = r.GeneralGroup();
  v.customGroup = r.CustomGroup();
  v.restrictions = r.Restrictions();
  return v;
}

void frmCompBasicInfo::WriteRecord(const Values& v) {
  vrlComponent& r = Component();
  r.SetNumberStyle(v.numberStyle);
  r.SetRomanStyle(v.romanStyle);
  r.SetFamily(v.family);
  r.SetGeneralGroup(v.group);
  r.SetCustomGroup(v.customGroup);
  r.SetRestrictions(v.restrictions);
}

bool frmCompBasicInfo::Grid() const { return Component().GridComp(); }

}  // namespace vorlane
