#include "wizard/frmCompStart.h"


namespace vorlane {

namespace {

StartPage::Words ComponentWords() {
  return {"frmCompStart", kComponentDesignTitle, QStringLiteral("component"),
          "txtCompName", "txtCompDesc", "txtCompLevels", "chkGridComp",
          "lblCompName", "lblCompDesc", "lblCompLevels",
          QStringLiteral("Component Name"), QStringLiteral("Component Description"),
          QString(), false, false};
}

}  // namespace

frmCompStart::frmCompStart(Session& session, QWidget* parent) : StartPage(session, ComponentWords(), parent) { LoadFields(); }

StartPage::Values frmCompStart::ReadRecord() const {
  const vrlComponent& record = Component();
  return {record.CompName(), record.CompDesc(), record.NumCompLevels(), record.GridComp()};
}

void frmCompStart::WriteRecord(const Values& values) {
  vrlComponent& record = Component();
  record.SetCompName(values.name);
  record.SetCompDesc(values.desc);
  record.SetNumCompLevels(values.levels);
  record.SetGridComp(values.grid);
}

}  // namespace vorlane
