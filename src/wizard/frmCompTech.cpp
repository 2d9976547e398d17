#include "wizard/frmCompTech.h"

#include "app/HQ.h"
#include "wizard/frmCompCost.h"
#include "wizard/frmCompPicture.h"

namespace vorlane {

frmCompTech::frmCompTech(HQ& hq, QWidget* parent)
    : TechPage(hq, "frmCompTech", kComponentDesignTitle + QStringLiteral(" - Technology Requirements"), QStringLiteral("component"),
               QStringLiteral("This is the style of numbering you want this tech area to add to the component name (replaces the Numbering Style field under Basic Info)."),
               parent) {
  LoadTechFields();
}

std::int16_t frmCompTech::Count() const { return hq().Component().NumTechReqs(); }

void frmCompTech::SetCount(std::int16_t n) { hq().Component().SetNumTechReqs(n); }

EntryWalkPage::Entry frmCompTech::ReadEntry(std::int16_t n) const {
  const auto& r = hq().Component();
  return {r.TechReqArea(n).value_or(""), r.TechReqLevel(n).value_or(""), r.TechReqGridSize(n).value_or(""),
          r.TechReqNumberStyle(n).value_or("")};
}

void frmCompTech::WriteEntry(std::int16_t n, const Entry& entry) {
  auto& r = hq().Component();
  r.SetTechReqArea(n, entry[0]);
  r.SetTechReqLevel(n, entry[1]);
  r.SetTechReqGridSize(n, entry[2]);
  r.SetTechReqNumberStyle(n, entry[3]);
}

bool frmCompTech::Grid() const { return hq().Component().GridComp(); }

HostedPage* frmCompTech::CreateNextPage() { return new frmCompCost(hq()); }

HostedPage* frmCompTech::CreatePreviousPage() { return new frmCompPicture(hq()); }

}  // namespace vorlane
