// Arbitrary formula texts in the fields of a design; one entry is generated.
// The first byte chooses the design's shape; the rest, split at line feeds,
// fills the fields in order. With the top bit of the first byte set, the rest
// is read as a design file instead and generated when it reads.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "generate/CompGenerate.h"
#include "generate/DesignFile.h"
#include "generate/FacGenerate.h"
#include "util/MessageSink.h"

namespace {

using namespace vorlane;

class QuietSink : public MessageSink {
 public:
  MessageAnswer Show(const std::string&, const std::string&, MessageButtons) override { return MessageAnswer::Ok; }
};

class Texts {
 public:
  explicit Texts(std::string_view data) {
    std::size_t start = 0;
    while (start <= data.size()) {
      std::size_t end = data.find('\n', start);
      if (end == std::string_view::npos) end = data.size();
      texts_.emplace_back(data.substr(start, end - start));
      start = end + 1;
    }
  }
  std::string Next() { return next_ < texts_.size() ? texts_[next_++] : std::string(); }

 private:
  std::vector<std::string> texts_;
  std::size_t next_ = 0;
};

// Keeps a design to one level or one grid cell.
template <typename Record>
void OneCell(Record& record) {
  for (std::int16_t i = 1; i <= record.NumTechReqs(); ++i) record.SetTechReqGridSize(i, "1");
}

void GenerateComponent(vrlComponent& c) {
  c.SetNumCompLevels("1");
  OneCell(c);
  QuietSink sink;
  static CompGenerate gen;  // one per run, as in the program
  gen.Generate(c, sink);
}

void GenerateFacility(vrlFacility& f) {
  f.SetNumFacLevels("1");
  OneCell(f);
  QuietSink sink;
  static FacGenerate gen;
  gen.Generate(f, sink);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);

  if (flags & 0x80) {
    std::string error;
    auto design = ParseDesign(rest, error);
    if (!design) return 0;
    // Lists far beyond what a formula can refer to only cost time.
    if (design->component.NumTechReqs() > 50 || design->component.NumAbils() > 50 ||
        design->facility.NumTechReqs() > 50 || design->facility.NumAbils() > 50) {
      return 0;
    }
    if (design->kind == DesignKind::Component) {
      GenerateComponent(design->component);
    } else {
      GenerateFacility(design->facility);
    }
    return 0;
  }

  Texts texts(rest);
  const bool facility = flags & 0x01;
  const bool grid = flags & 0x02;
  const bool weapon = flags & 0x04;
  const auto techReqs = static_cast<std::int16_t>((flags >> 3) & 0x03);
  const auto abilities = static_cast<std::int16_t>((flags >> 5) & 0x03);

  if (facility) {
    vrlFacility f;
    f.SetGridFac(grid);
    f.SetNumTechReqs(techReqs);
    f.SetNumAbils(abilities);
    for (auto set : {&vrlFacility::SetFacName, &vrlFacility::SetNumberStyle, &vrlFacility::SetRomanStyle,
                     &vrlFacility::SetFacDesc, &vrlFacility::SetFacGroup, &vrlFacility::SetFacFamily,
                     &vrlFacility::SetPicNum, &vrlFacility::SetMinCost, &vrlFacility::SetOrgCost,
                     &vrlFacility::SetRadCost}) {
      (f.*set)(texts.Next());
    }
    for (std::int16_t i = 1; i <= techReqs; ++i) {
      f.SetTechReqArea(i, texts.Next());
      f.SetTechReqLevel(i, texts.Next());
      f.SetTechReqNumStyle(i, texts.Next());
    }
    for (std::int16_t i = 1; i <= abilities; ++i) {
      f.SetAbilName(i, texts.Next());
      f.SetAbilDesc(i, texts.Next());
      f.SetAbilVal1(i, texts.Next());
      f.SetAbilVal2(i, texts.Next());
    }
    GenerateFacility(f);
    return 0;
  }

  vrlComponent c;
  c.SetGridComp(grid);
  c.SetNumTechReqs(techReqs);
  c.SetNumAbils(abilities);
  for (auto set : {&vrlComponent::SetCompName, &vrlComponent::SetNumberStyle, &vrlComponent::SetCompDesc,
                   &vrlComponent::SetPicNum, &vrlComponent::SetSize, &vrlComponent::SetHP,
                   &vrlComponent::SetMinCost, &vrlComponent::SetOrgCost, &vrlComponent::SetRadCost,
                   &vrlComponent::SetVehicleType, &vrlComponent::SetSupplyUse, &vrlComponent::SetRestrictions,
                   &vrlComponent::SetGeneralGroup, &vrlComponent::SetFamily, &vrlComponent::SetRomanStyle,
                   &vrlComponent::SetCustomGroup}) {
    (c.*set)(texts.Next());
  }
  for (std::int16_t i = 1; i <= techReqs; ++i) {
    c.SetTechReqArea(i, texts.Next());
    c.SetTechReqLevel(i, texts.Next());
    c.SetTechReqNumberStyle(i, texts.Next());
  }
  for (std::int16_t i = 1; i <= abilities; ++i) {
    c.SetAbilName(i, texts.Next());
    c.SetAbilDesc(i, texts.Next());
    c.SetAbilVal1(i, texts.Next());
    c.SetAbilVal2(i, texts.Next());
  }
  if (weapon) {
    std::string type = texts.Next();
    c.SetWeaponType(type.empty() ? "Seeking" : type);
    for (auto set : {&vrlComponent::SetWeaponTarget, &vrlComponent::SetWeaponDamageType,
                     &vrlComponent::SetWeaponReload, &vrlComponent::SetWeaponDisplayType,
                     &vrlComponent::SetWeaponDisplayNum, &vrlComponent::SetWeaponToHitMod,
                     &vrlComponent::SetWeaponSound, &vrlComponent::SetWeaponFamily,
                     &vrlComponent::SetWeaponSeekerSpeed, &vrlComponent::SetWeaponSeekerHP}) {
      (c.*set)(texts.Next());
    }
    for (std::int16_t r = 1; r <= 21; ++r) c.SetWeaponDamageAtRange(r, texts.Next());
  }
  GenerateComponent(c);
  return 0;
}
