#include "generate/CompGenerate.h"

namespace vorlane {

namespace {

GenerationModule::Words ComponentWords() {
  using S = CompGenerate::Slot;
  return {
      .levelVariable = "&complevel",
      .named =
          {
              {"&compname", S::kCompName},
              {"&compdesc", S::kCompDesc},
              {"&picnum", S::kPicNum},
              {"&size", S::kSize},
              {"&hp", S::kHP},
              {"&mincost", S::kMinCost},
              {"&orgcost", S::kOrgCost},
              {"&radcost", S::kRadCost},
              {"&vehicletype", S::kVehicleType},
              {"&supply", S::kSupplyUse},
              {"&restr", S::kRestrictions},
              {"&gengroup", S::kGeneralGroup},
              {"&family", S::kFamily},
              {"&roman", S::kRomanStyle},
              {"&custgroup", S::kCustomGroup},
              {"&weaptype", S::kWeaponType},
              {"&weaptarg", S::kWeaponTarget},
              {"&weapdmgtype", S::kWeaponDamageType},
              {"&weapreload", S::kWeaponReload},
              {"&weapdisptype", S::kWeaponDisplayType},
              {"&weapdispnum", S::kWeaponDisplayNum},
              {"&weaptohit", S::kWeaponToHitMod},
              {"&weapsound", S::kWeaponSound},
              {"&weapfamily", S::kWeaponFamily},
              {"&weapseekerspeed", S::kWeaponSeekerSpeed},
              {"&weapseekerhp", S::kWeaponSeekerHP},
          },
      .slotCount = CompGenerate::kSlotCount,
      .slotsWithoutWeapon = S::kWeaponType,
      .damageFamily = true,
      .noun = "component",
      .nounTitle = "Component",
      .nounPlural = "components",
      .crossReferenceTitle = "Too many cross-references",
      .slotNames = {"", "CompName", "NumberStyle", "CompDesc", "PicNum", "Size", "HP", "MinCost", "OrgCost",
                    "RadCost", "VehicleType", "SupplyUse", "Restrictions", "GeneralGroup", "Family", "RomanStyle",
                    "CustomGroup", "WeaponType", "WeaponTarget", "WeaponDamageType", "WeaponReload",
                    "WeaponDisplayType", "WeaponDisplayNum", "WeaponToHitMod", "WeaponSound", "WeaponFamily",
                    "WeaponSeekerSpeed", "WeaponSeekerHP"},
      .techNumberStyleName = "TechReqNumberStyle",
  };
}

}  // namespace

CompGenerate::CompGenerate() : GenerationModule(ComponentWords()) {}

GenerationModule::Shape CompGenerate::ReadShape() const {
  Shape shape = CommonShape(*record_, record_->NumCompLevels(), record_->GridComp());
  shape.weapon = !EqualsNoCase(record_->WeaponType(), "None");
  return shape;
}

void CompGenerate::LoadFields() {
  const vrlComponent& r = *record_;
  const std::string* texts[] = {
      &r.CompName(),     &r.NumberStyle(),      &r.CompDesc(),        &r.PicNum(),
      &r.Size(),         &r.HP(),               &r.MinCost(),         &r.OrgCost(),
      &r.RadCost(),      &r.VehicleType(),      &r.SupplyUse(),       &r.Restrictions(),
      &r.GeneralGroup(), &r.Family(),           &r.RomanStyle(),      &r.CustomGroup(),
      &r.WeaponType(),   &r.WeaponTarget(),     &r.WeaponDamageType(), &r.WeaponReload(),
      &r.WeaponDisplayType(), &r.WeaponDisplayNum(), &r.WeaponToHitMod(), &r.WeaponSound(),
      &r.WeaponFamily(), &r.WeaponSeekerSpeed(), &r.WeaponSeekerHP(),
  };
  static_assert(std::size(texts) == kSlotCount);
  for (int s = 1; s <= kSlotCount; ++s) slots_[static_cast<std::size_t>(s)].text = *texts[s - 1];

  LoadListFields(r, [&r](std::int16_t n) { return r.TechReqNumberStyle(n); });
  if (shape_.weapon) {
    for (std::int16_t range = 1; range <= kNumRanges; ++range) {
      damage_[static_cast<std::size_t>(range - 1)].text = r.WeaponDamageAtRange(range).value_or("");
    }
  }
}

void CompGenerate::AppendEntry(std::string& out, bool grid) const {
  auto slot = [this](Slot s) -> const std::string& { return slots_[s].text; };
  AppendLine(out, "Name", NameWithSuffix(grid));
  AppendLine(out, "Description", slot(kCompDesc));
  AppendLine(out, "Pic Num", slot(kPicNum));
  AppendLine(out, "Tonnage Space Taken", slot(kSize));
  AppendLine(out, "Tonnage Structure", slot(kHP));
  AppendLine(out, "Cost Minerals", slot(kMinCost));
  AppendLine(out, "Cost Organics", slot(kOrgCost));
  AppendLine(out, "Cost Radioactives", slot(kRadCost));
  AppendLine(out, "Vehicle Type", "Ship");
  AppendLine(out, "Vehicle List Type Override", slot(kVehicleType));
  AppendLine(out, "Vehicle List Type Description", slot(kVehicleType));
  AppendLine(out, "Supply Amount Used", slot(kSupplyUse));
  AppendLine(out, "Restrictions", slot(kRestrictions));
  AppendLine(out, "General Group", slot(kGeneralGroup));
  AppendLine(out, "Family", slot(kFamily));
  AppendLine(out, "Roman Numeral", grid ? GridRomanNumeral() : slot(kRomanStyle));
  AppendLine(out, "Custom Group", slot(kCustomGroup));
  AppendRequirementAndAbilityLines(out);
  const std::string& type = slot(kWeaponType);
  AppendLine(out, "Weapon Type", type);
  if (!EqualsNoCase(type, "None")) {
    AppendLine(out, "Weapon Target", "Ships");
    AppendLine(out, "Weapon List Target Override", slot(kWeaponTarget));
    AppendLine(out, "Weapon List Target Description", slot(kWeaponTarget));
    std::string damage;
    for (const FormulaField& field : damage_) {
      damage += field.text;
      damage += ' ';
    }
    AppendLine(out, "Weapon Damage At Rng", damage);
    AppendLine(out, "Weapon Damage Type", slot(kWeaponDamageType));
    AppendLine(out, "Weapon Reload Rate", slot(kWeaponReload));
    AppendLine(out, "Weapon Display Type", slot(kWeaponDisplayType));
    AppendLine(out, "Weapon Display", slot(kWeaponDisplayNum));
    AppendLine(out, "Weapon Modifier", slot(kWeaponToHitMod));
    AppendLine(out, "Weapon Sound", slot(kWeaponSound));
    AppendLine(out, "Weapon Family", slot(kWeaponFamily));
    if (EqualsNoCase(type, "Seeking")) {
      AppendLine(out, "Weapon Seeker Speed", slot(kWeaponSeekerSpeed));
      AppendLine(out, "Weapon Seeker Dmg Res", slot(kWeaponSeekerHP));
    }
  }
  out += "\r\n";
}

void CompGenerate::Prepare(const vrlComponent& record, MessageSink& sink) {
  record_ = &record;
  Begin(sink);
}

void CompGenerate::Release() {
  End();
  record_ = nullptr;
}

template <typename Driver>
GenerationResult CompGenerate::Run(const vrlComponent& record, MessageSink& sink, Driver driver) {
  Prepare(record, sink);
  GenerationResult result;
  if (!RefuseControlCharacter(FindControlCharacter(record), result)) result = driver();
  Release();
  return result;
}

GenerationResult CompGenerate::Generate(const vrlComponent& record, MessageSink& sink,
                                        const ProgressCallback& progress) {
  return record.GridComp() ? GenerateGridComponents(record, sink, progress)
                           : GenerateComponents(record, sink, progress);
}

GenerationResult CompGenerate::GenerateComponents(const vrlComponent& record, MessageSink& sink,
                                                  const ProgressCallback& progress) {
  return Run(record, sink, [&] { return RunPlain(progress); });
}

GenerationResult CompGenerate::GenerateGridComponents(const vrlComponent& record, MessageSink& sink,
                                                      const ProgressCallback& progress) {
  return Run(record, sink, [&] { return RunGrid(progress); });
}

}  // namespace vorlane
