#include "wizard/frmFacTech.h"

#include "app/HQ.h"
#include "wizard/frmFacAbility.h"
#include "wizard/frmFacPicture.h"

namespace vorlane {

frmFacTech::frmFacTech(HQ& hq, QWidget* parent)
    : TechPage(hq, "frmFacTech", kFacilityDesignTitle + QStringLiteral(" - Technology Requirements"), QStringLiteral("facility"),
               QStringLiteral("This is the style of numbering you want this tech area to add to the facility name (replaces the Numbering Style field under Basic Info)."),
               parent) {
  LoadTechFields();
}

std::int16_t frmFacTech::Count() const { return hq().Facility().NumTechReqs(); }

void frmFacTech::SetCount(std::int16_t n) { hq().Facility().SetNumTechReqs(n); }

EntryWalkPage::Entry frmFacTech::ReadEntry(std::int16_t n) const {
  const auto& r = hq().Facility();
  return {r.TechReqArea(n).value_or(""), r.TechReqLevel(n).value_or(""), r.TechReqGridSize(n).value_or(""),
          r.TechReqNumStyle(n).value_or("")};
}

void frmFacTech::WriteEntry(std::int16_t n, const Entry& entry) {
  auto& r = hq().Facility();
  r.SetTechReqArea(n, entry[0]);
  r.SetTechReqLevel(n, entry[1]);
  r.SetTechReqGridSize(n, entry[2]);
  r.SetTechReqNumStyle(n, entry[3]);
}

bool frmFacTech::Grid() const { return hq().Facility().GridFac(); }

HostedPage* frmFacTech::CreateNextPage() { return new frmFacAbility(hq()); }

HostedPage* frmFacTech::CreatePreviousPage() { return new frmFacPicture(hq()); }

}  // namespace vorlane
