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

// Each value of the page and the record field it shows.
BasicInfoPageOf<vrlComponent>::Bindings Fields() {
  using R = vrlComponent;
  using Values = BasicInfoPage::Values;
  return {
      {&Values::numberStyle, &R::NumberStyle, &R::SetNumberStyle},
      {&Values::romanStyle, &R::RomanStyle, &R::SetRomanStyle},
      {&Values::family, &R::Family, &R::SetFamily},
      {&Values::group, &R::GeneralGroup, &R::SetGeneralGroup},
      {&Values::customGroup, &R::CustomGroup, &R::SetCustomGroup},
      {&Values::restrictions, &R::Restrictions, &R::SetRestrictions},
  };
}

}  // namespace

frmCompBasicInfo::frmCompBasicInfo(Session& session, QWidget* parent)
    : BasicInfoPageOf(session, ComponentWords(), Fields(), parent) {
  LoadFields();
}

}  // namespace vorlane
