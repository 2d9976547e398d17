#include "wizard/frmCompStart.h"

#include "app/HQ.h"
#include "wizard/frmCompBasicInfo.h"

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

frmCompStart::frmCompStart(HQ& hq, QWidget* parent) : StartPage(hq, ComponentWords(), parent) { LoadFields(); }

StartPage::Values frmCompStart::ReadRecord() const {
  const vrlComponent& record = hq().Component();
  return {record.CompName(), record.CompDesc(), record.NumCompLevels(), record.GridComp()};
}

void frmCompStart::WriteRecord(const Values& values) {
  vrlComponent& record = hq().Component();
  record.SetCompName(values.name);
  record.SetCompDesc(values.desc);
  record.SetNumCompLevels(values.levels);
  record.SetGridComp(values.grid);
}

HostedPage* frmCompStart::CreateNextPage() { return new frmCompBasicInfo(hq()); }

}  // namespace vorlane
