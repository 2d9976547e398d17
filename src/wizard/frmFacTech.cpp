#include "wizard/frmFacTech.h"


namespace vorlane {

frmFacTech::frmFacTech(Session& session, QWidget* parent)
    : TechPage(session, "frmFacTech", kFacilityDesignTitle + QStringLiteral(" - Technology Requirements"), QStringLiteral("facility"),
               QStringLiteral("This is the style of numbering you want this tech area to add to the facility name (replaces the Numbering Style field under Basic Info)."),
               parent) {
  LoadTechFields();
}

std::int16_t frmFacTech::Count() const { return Facility().NumTechReqs(); }

void frmFacTech::SetCount(std::int16_t n) { Facility().SetNumTechReqs(n); }

EntryWalkPage::Entry frmFacTech::ReadEntry(std::int16_t n) const {
  const auto& r = Facility();
  return {r.TechReqArea(n).value_or(""), r.TechReqLevel(n).value_or(""), r.TechReqGridSize(n).value_or(""),
          r.TechReqNumStyle(n).value_or("")};
}

void frmFacTech::WriteEntry(std::int16_t n, const Entry& entry) {
  auto& r = Facility();
  r.SetTechReqArea(n, entry[0]);
  r.SetTechReqLevel(n, entry[1]);
  r.SetTechReqGridSize(n, entry[2]);
  r.SetTechReqNumStyle(n, entry[3]);
}

bool frmFacTech::Grid() const { return Facility().GridFac(); }

}  // namespace vorlane
