#include "generate/FacGenerate.h"

namespace vorlane {

namespace {

// The facility's words; its slots and variables are its field table's.
constexpr KindWords kFacilityWords = {
    .levelVariable = "&faclevel",
    .noun = "facility",
    .nounTitle = "Facility",
    .nounPlural = "facilities",
    .crossReferenceTitle = "Too Many Cross-References",
};

}  // namespace

FacGenerate::FacGenerate() : RecordGenerate(kFacilityWords) {}

void FacGenerate::AppendEntry(std::string& out, bool grid) const {
  auto slot = [this](Slot s) -> const std::string& { return slots_[s].text; };
  AppendLine(out, "Name", NameWithSuffix(grid));
  AppendLine(out, "Description", slot(kFacDesc));
  AppendLine(out, "Facility Group", slot(kFacGroup));
  AppendLine(out, "Facility Family", slot(kFacFamily));
  AppendLine(out, "Roman Numeral", grid ? GridRomanNumeral() : slot(kRomanStyle));
  AppendLine(out, "Restrictions", "None");
  AppendLine(out, "Pic Num", slot(kPicNum));
  AppendLine(out, "Cost Minerals", slot(kMinCost));
  AppendLine(out, "Cost Organics", slot(kOrgCost));
  AppendLine(out, "Cost Radioactives", slot(kRadCost));
  AppendRequirementAndAbilityLines(out);
  out += "\r\n";
}

}  // namespace vorlane
