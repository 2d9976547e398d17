#include "generate/FacGenerate.h"

namespace vorlane {

namespace {

GenerationModule::Words FacilityWords() {
  using S = FacGenerate::Slot;
  return {
      .levelVariable = "&faclevel",
      .named =
          {
              {"&facname", S::kFacName},
              {"&facdesc", S::kFacDesc},
              {"&picnum", S::kPicNum},
              {"&mincost", S::kMinCost},
              {"&orgcost", S::kOrgCost},
              {"&radcost", S::kRadCost},
              {"&facgroup", S::kFacGroup},
              {"&family", S::kFacFamily},
              {"&roman", S::kRomanStyle},
          },
      .slotCount = FacGenerate::kSlotCount,
      .slotsWithoutWeapon = FacGenerate::kSlotCount,
      .damageFamily = false,
      .noun = "facility",
      .nounTitle = "Facility",
      .nounPlural = "facilities",
      .crossReferenceTitle = "Too Many Cross-References",
      .slotNames = {"", "FacName", "NumberStyle", "FacDesc", "PicNum", "MinCost", "OrgCost", "RadCost", "FacGroup",
                    "FacFamily", "RomanStyle"},
      .techNumberStyleName = "TechReqNumStyle",
  };
}

}  // namespace

FacGenerate::FacGenerate() : GenerationModule(FacilityWords()) {}

GenerationModule::Shape FacGenerate::ReadShape() const {
  return CommonShape(*record_, record_->NumFacLevels(), record_->GridFac());
}

void FacGenerate::LoadFields() {
  const vrlFacility& r = *record_;
  const std::string* texts[] = {
      &r.FacName(), &r.NumberStyle(), &r.FacDesc(),  &r.PicNum(),    &r.MinCost(),
      &r.OrgCost(), &r.RadCost(),     &r.FacGroup(), &r.FacFamily(), &r.RomanStyle(),
  };
  static_assert(std::size(texts) == kSlotCount);
  for (int s = 1; s <= kSlotCount; ++s) slots_[static_cast<std::size_t>(s)].text = *texts[s - 1];

  LoadListFields(r, [&r](std::int16_t n) { return r.TechReqNumStyle(n); });
}

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

void FacGenerate::Prepare(const vrlFacility& record, MessageSink& sink) {
  record_ = &record;
  Begin(sink);
}

void FacGenerate::Release() {
  End();
  record_ = nullptr;
}

template <typename Driver>
GenerationResult FacGenerate::Run(const vrlFacility& record, MessageSink& sink, Driver driver) {
  Prepare(record, sink);
  GenerationResult result;
  if (!RefuseControlCharacter(FindControlCharacter(record), result)) result = driver();
  Release();
  return result;
}

GenerationResult FacGenerate::Generate(const vrlFacility& record, MessageSink& sink,
                                       const ProgressCallback& progress) {
  return record.GridFac() ? GenerateGridFacilities(record, sink, progress)
                          : GenerateFacilities(record, sink, progress);
}

GenerationResult FacGenerate::GenerateFacilities(const vrlFacility& record, MessageSink& sink,
                                                 const ProgressCallback& progress) {
  return Run(record, sink, [&] { return RunPlain(progress); });
}

GenerationResult FacGenerate::GenerateGridFacilities(const vrlFacility& record, MessageSink& sink,
                                                     const ProgressCallback& progress) {
  return Run(record, sink, [&] { return RunGrid(progress); });
}

}  // namespace vorlane
