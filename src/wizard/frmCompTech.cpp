#include "wizard/frmCompTech.h"


namespace vorlane {

frmCompTech::frmCompTech(Session& session, QWidget* parent)
    : TechPage(session, "frmCompTech", kComponentDesignTitle + QStringLiteral(" - Technology Requirements"), QStringLiteral("component"),
               QStringLiteral("This is the style of numbering you want this tech area to add to the component name (replaces the Numbering Style field under Basic Info)."),
               parent) {
  LoadTechFields();
}

std::int16_t frmCompTech::Count() const { return Component().NumTechReqs(); }

void frmCompTech::SetCount(std::int16_t n) { Component().SetNumTechReqs(n); }

EntryWalkPage::Entry frmCompTech::ReadEntry(std::int16_t n) const {
  const auto& r = Component();
  return {r.TechReqArea(n).value_or(""), r.TechReqLevel(n).value_or(""), r.TechReqGridSize(n).value_or(""),
          r.TechReqNumberStyle(n).value_or("")};
}

void frmCompTech::WriteEntry(std::int16_t n, const Entry& entry) {
  auto& r = Component();
  r.SetTechReqArea(n, entry[0]);
  r.SetTechReqLevel(n, entry[1]);
  r.SetTechReqGridSize(n, entry[2]);
  r.SetTechReqNumberStyle(n, entry[3]);
}

bool frmCompTech::Grid() const { return Component().GridComp(); }

}  // namespace vorlane
