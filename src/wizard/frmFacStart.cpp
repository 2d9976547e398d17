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

frmFacStart::frmFacStart(Session& session, QWidget* parent) : StartPage(session, FacilityWords(), parent) { LoadFields(); }

StartPage::Values frmFacStart::ReadRecord() const {
  const vrlFacility& record = Facility();
  return {record.FacName(), record.FacDesc(), record.NumFacLevels(), record.GridFac()};
}

void frmFacStart::WriteRecord(const Values& values) {
  vrlFacility& record = Facility();
  record.SetFacName(values.name);
  record.SetFacDesc(values.desc);
  record.SetNumFacLevels(values.levels);
  record.SetGridFac(values.grid);
}

}  // namespace vorlane
