// Arbitrary formula texts in the fields of a design; one entry is generated.
// The first byte chooses the design's shape; the rest, split at line feeds,
// fills the fields in order. With the top bit of the first byte set, the rest
// is read as a design file instead and generated when it reads. The entry
// is also renewed from one of a design that differs in a few fields, and
// must be what the full generation gives.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "generate/CompGenerate.h"
#include "generate/DesignFile.h"
#include "generate/FacGenerate.h"
#include "generate/LiveEntry.h"
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

// Everything a live entry gives, to compare two of them whole.
std::string Rendered(const LiveEntry& entry) {
  std::string out = std::to_string(static_cast<int>(entry.status)) + entry.text;
  for (const ShownMessage& message : entry.messages) out += "\n" + message.title + ": " + message.text;
  for (const GenerationWarning& warning : entry.warnings) out += "\n" + warning.Line() + std::to_string(warning.position);
  if (entry.fault) out += "\n" + entry.fault->Line() + std::to_string(entry.fault->position);
  return out;
}

// The entry of `r` renewed from that of a design with other costs and first
// ability value must be the entry made in full.
template <typename Record>
void CheckRenewal(const Record& r) {
  Record before = r;
  before.SetMinCost("{&orgcost + 1}");
  before.SetRadCost("7");
  if (before.NumAbils() > 0) before.SetAbilVal1(1, "{&mincost * 2}");
  EntryPoint point{1, {}};
  if (r.IsGrid()) point.cell.assign(static_cast<std::size_t>(r.NumTechReqs()), 1);
  LiveEntryMemo memo;
  MakeEntry(before, point, memo);
  if (Rendered(MakeEntry(r, point, memo)) != Rendered(MakeEntry(r, point))) __builtin_trap();
}

// Generates one level or one grid cell of `r`.
template <typename Record>
void Generate(Record& r) {
  for (std::int16_t i = 1; i <= r.NumTechReqs(); ++i) r.SetTechReqGridSize(i, "1");
  QuietSink sink;
  if constexpr (std::is_same_v<Record, vrlComponent>) {
    r.SetNumCompLevels("1");
    static CompGenerate gen;  // one per run, as in the program
    gen.Generate(r, sink);
    CheckRenewal(r);
  } else {
    r.SetNumFacLevels("1");
    static FacGenerate gen;
    gen.Generate(r, sink);
    CheckRenewal(r);
  }
}

// A record of the given shape with the texts in order: `setters`, then per
// requirement area, level and numbering style, per ability name, description
// and two values.
template <typename Record, typename Setter>
Record Filled(Texts& texts, bool grid, std::int16_t techReqs, std::int16_t abilities,
              std::initializer_list<Setter> setters) {
  constexpr bool component = std::is_same_v<Record, vrlComponent>;
  Record r;
  if constexpr (component) {
    r.SetGridComp(grid);
  } else {
    r.SetGridFac(grid);
  }
  r.SetNumTechReqs(techReqs);
  r.SetNumAbils(abilities);
  for (auto set : setters) (r.*set)(texts.Next());
  for (std::int16_t i = 1; i <= techReqs; ++i) {
    r.SetTechReqArea(i, texts.Next());
    r.SetTechReqLevel(i, texts.Next());
    if constexpr (component) {
      r.SetTechReqNumberStyle(i, texts.Next());
    } else {
      r.SetTechReqNumStyle(i, texts.Next());
    }
  }
  for (std::int16_t i = 1; i <= abilities; ++i) {
    r.SetAbilName(i, texts.Next());
    r.SetAbilDesc(i, texts.Next());
    r.SetAbilVal1(i, texts.Next());
    r.SetAbilVal2(i, texts.Next());
  }
  return r;
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
      Generate(design->component);
    } else {
      Generate(design->facility);
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
    vrlFacility f = Filled<vrlFacility>(
        texts, grid, techReqs, abilities,
        {&vrlFacility::SetFacName, &vrlFacility::SetNumberStyle, &vrlFacility::SetRomanStyle, &vrlFacility::SetFacDesc,
         &vrlFacility::SetFacGroup, &vrlFacility::SetFacFamily, &vrlFacility::SetPicNum, &vrlFacility::SetMinCost,
         &vrlFacility::SetOrgCost, &vrlFacility::SetRadCost});
    Generate(f);
    return 0;
  }

  vrlComponent c = Filled<vrlComponent>(
      texts, grid, techReqs, abilities,
      {&vrlComponent::SetCompName, &vrlComponent::SetNumberStyle, &vrlComponent::SetCompDesc, &vrlComponent::SetPicNum,
       &vrlComponent::SetSize, &vrlComponent::SetHP, &vrlComponent::SetMinCost, &vrlComponent::SetOrgCost,
       &vrlComponent::SetRadCost, &vrlComponent::SetVehicleType, &vrlComponent::SetSupplyUse,
       &vrlComponent::SetRestrictions, &vrlComponent::SetGeneralGroup, &vrlComponent::SetFamily,
       &vrlComponent::SetRomanStyle, &vrlComponent::SetCustomGroup});
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
  Generate(c);
  return 0;
}
