#include "wizard/frmFacStart.h"

namespace vorlane {

namespace {

StartPage::Words FacilityWords() {
  return {"frmFacStart", kFacilityDesignTitle, QStringLiteral("facility"),
          "txtFacName", "txtFacDesc", "txtFacLevels", "chkGridFac",
          "lblFacName", "lblFacDesc", "lblFacLevels",
          QStringLiteral("Facility Name"), QStringLiteral("Facility Description"),
          QStringLiteral("Enter the number of levels you want of your facility in the box."), true, false};
}

}  // namespace

frmFacStart::frmFacStart(Session& session, QWidget* parent)
    : StartPageOf(session, FacilityWords(),
                  {&vrlFacility::FacName, &vrlFacility::SetFacName,
                   &vrlFacility::FacDesc, &vrlFacility::SetFacDesc},
                  parent) {
  LoadFields();
}

}  // namespace vorlane
