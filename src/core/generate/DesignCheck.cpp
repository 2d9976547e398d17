#include "generate/DesignCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "generate/DesignLayout.h"
#include "generate/FormulaText.h"
#include "records/FieldChoices.h"

namespace vorlane {

namespace {

// "U+000A"
std::string CodePoint(unsigned value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "U+%04X", value);
  return buffer;
}

bool IsGridSize(const std::string& text) {
  if (text.empty()) return true;
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = std::min<long>(value * 10 + (c - '0'), kMaxStoredGridSize + 1L);
  }
  return value <= kMaxStoredGridSize;
}

// Calls `visit(list, entry, key, text)` for every text of the record, in
// field order, until it gives a fault.
template <typename Record, typename Visit>
std::optional<DesignFault> EveryText(const Record& record, Visit visit) {
  using L = Layout<Record>;
  for (const auto& property : L::kTexts) {
    if (auto fault = visit("", 0, property.name, (record.*(property.get))())) return fault;
  }
  auto list = [&](const char* name, std::int16_t count, const auto& keys) -> std::optional<DesignFault> {
    for (int i = 1; i <= count; ++i) {
      for (const auto& key : keys) {
        const std::string text = (record.*(key.get))(static_cast<std::int16_t>(i)).value_or("");
        if (auto fault = visit(name, i, key.name, text)) return fault;
      }
    }
    return std::nullopt;
  };
  if (auto fault = list(L::kTechList, record.NumTechReqs(), L::kTech)) return fault;
  if (auto fault = list(L::kAbilityList, record.NumAbils(), L::kAbilities)) return fault;
  if constexpr (L::kDamage) {
    for (int r = 1; r <= Record::kNumRanges; ++r) {
      const std::string text = record.WeaponDamageAtRange(static_cast<std::int16_t>(r)).value_or("");
      if (auto fault = visit(L::kDamageList, r, "", text)) return fault;
    }
  }
  return std::nullopt;
}

template <typename Record>
std::optional<DesignFault> ControlCharacterIn(const Record& record) {
  return EveryText(record, [](const char* list, int entry, const char* key,
                              const std::string& text) -> std::optional<DesignFault> {
    if (auto problem = ControlCharacterProblem(text)) return DesignFault{list, entry, key, *problem};
    return std::nullopt;
  });
}

// The problem with a field that the pages fill only from a fixed list: each
// item (one, or with `list` several joined by commas) must be a word of
// `words` in any letter case. Empty passes (a new record's value).
template <std::size_t N>
std::optional<std::string> ChoiceProblem(std::string_view value, const std::string_view (&words)[N], bool list) {
  if (value.empty()) return std::nullopt;
  std::string_view rest = value;
  while (true) {
    const std::size_t comma = list ? rest.find(',') : std::string_view::npos;
    std::string_view item = rest.substr(0, comma);
    if (list) {  // the pages join the items with ", "
      while (item.starts_with(' ')) item.remove_prefix(1);
      while (item.ends_with(' ')) item.remove_suffix(1);
    }
    const bool known = std::any_of(std::begin(words), std::end(words),
                                   [&](std::string_view word) { return EqualsNoCase(item, word); });
    if (!known) {
      std::string all;
      for (std::string_view word : words) all += (all.empty() ? "" : ", ") + std::string(word);
      std::string problem = "\"" + std::string(value) + "\" not allowed; ";
      if (list) problem += "\"" + std::string(item) + "\" is not";
      return problem + (list ? "" : "it must be") + " one of " + all;
    }
    if (comma == std::string_view::npos) return std::nullopt;
    rest.remove_prefix(comma + 1);
  }
}

std::optional<DesignFault> ChoiceFault(const vrlComponent& record) {
  struct Choice {
    const char* key;
    std::string value;
    std::optional<std::string> problem;
  };
  const Choice choices[] = {
      {"VehicleType", record.VehicleType(), ChoiceProblem(record.VehicleType(), kVehicleTypeNames, true)},
      {"WeaponType", record.WeaponType(), ChoiceProblem(record.WeaponType(), choices::kWeaponTypes, false)},
      {"WeaponTarget", record.WeaponTarget(), ChoiceProblem(record.WeaponTarget(), choices::kWeaponTargets, true)},
      {"WeaponDisplayType", record.WeaponDisplayType(),
       ChoiceProblem(record.WeaponDisplayType(), choices::kDisplayTypes, false)},
  };
  for (const Choice& choice : choices) {
    if (choice.problem) return DesignFault{"", 0, choice.key, *choice.problem};
  }
  return std::nullopt;
}

std::optional<DesignFault> ChoiceFault(const vrlFacility&) { return std::nullopt; }

template <typename Record>
std::optional<DesignFault> StoredValueFault(const Record& record) {
  using L = Layout<Record>;
  const std::string levels = L::Levels(record);
  if (levels.starts_with('-')) {
    return DesignFault{"", 0, L::kLevels,
                       "level count " + levels + " out of range; it must lie from 0 to " + std::to_string(kMaxLevelCount)};
  }
  if (auto fault = ControlCharacterIn(record)) return fault;
  for (int i = 1; i <= record.NumTechReqs(); ++i) {
    const std::string size = record.TechReqGridSize(static_cast<std::int16_t>(i)).value_or("");
    if (!IsGridSize(size)) {
      return DesignFault{L::kTechList, i, L::kTech[L::kGridSizeColumn].name,
                         "grid size \"" + size + "\" not allowed; it must be empty or a whole number from 0 to " +
                             std::to_string(kMaxStoredGridSize) + " written in digits"};
    }
  }
  return ChoiceFault(record);
}

const std::string kApp = "Vorlane";

// The technology requirements page's refusals, entry by entry.
template <typename Record>
void TechRefusals(const Record& record, bool grid, std::vector<PageRefusal>& out) {
  for (int i = 1; i <= record.NumTechReqs(); ++i) {
    const auto n = static_cast<std::int16_t>(i);
    const std::string caption = std::string("Technology Requirement ") + std::to_string(i) + ": ";
    if (record.TechReqArea(n).value_or("").empty()) {
      out.push_back({kApp, caption + page_text::TechAreaMissing() + "."});
    } else if (grid && record.TechReqGridSize(n).value_or("").find_first_of("0123456789") == std::string::npos) {
      out.push_back({std::string(page_text::kGridSizeTitle), caption + std::string(page_text::kGridSizeMissing)});
    }
  }
}

template <typename Record>
void AbilityRefusals(const Record& record, std::string_view captionNoun, std::vector<PageRefusal>& out) {
  for (int i = 1; i <= record.NumAbils(); ++i) {
    if (record.AbilName(static_cast<std::int16_t>(i)).value_or("").empty()) {
      out.push_back({kApp, std::string(captionNoun) + " Ability " + std::to_string(i) + ": " +
                               page_text::AbilityTypeMissing() + "."});
    }
  }
}

void Refuse(bool refused, std::string_view text, std::vector<PageRefusal>& out) {
  if (refused) out.push_back({kApp, std::string(text)});
}

}  // namespace

std::optional<std::string> ControlCharacterProblem(std::string_view text) {
  // Eight bytes at a time, those without a byte below 0x20, 0x7F or 0xC2
  // (the lead byte of U+0080..U+00BF) are passed at memory speed: a long
  // description is typical. Any byte below n in a word: (w - n·ones) & ~w & highs.
  constexpr std::uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;
  auto below = [](std::uint64_t w, std::uint64_t n) { return (w - kOnes * n) & ~w & kHighs; };
  auto suspect = [&](std::uint64_t w) { return below(w, 0x20) | below(w ^ (kOnes * 0x7F), 1) | below(w ^ (kOnes * 0xC2), 1); };
  std::size_t i = 0;
  while (i < text.size()) {
    for (std::uint64_t word; i + 8 <= text.size(); i += 8) {
      std::memcpy(&word, text.data() + i, 8);
      if (suspect(word)) break;
    }
    for (const std::size_t end = std::min(i + 8, text.size()); i < end; ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      unsigned value = byte;
      if (byte == 0xC2 && i + 1 < text.size()) value = static_cast<unsigned char>(text[i + 1]);  // U+0080..U+00BF
      const bool control = byte < 0x20 || byte == 0x7F || (byte == 0xC2 && value >= 0x80 && value <= 0x9F);
      if (!control) continue;
      const char* what = (value == '\r' || value == '\n') ? "a line break"
                         : value == '\t'                   ? "a tab"
                                                           : "a control character";
      // Characters up to this one: every byte that does not continue one.
      const auto character = std::count_if(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                           [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
      return std::string("holds ") + what + " (" + CodePoint(value) + ") at character " + std::to_string(character) +
             "; a value may hold no line breaks or other control characters";
    }
  }
  return std::nullopt;
}


std::string DesignFault::FilePlace() const {
  std::string place = list.empty() ? std::string() : "/" + list + "/" + std::to_string(entry - 1);
  return key.empty() ? place : place + "/" + key;
}

std::string DesignFault::FieldName() const {
  const std::string name = key.empty() ? list : key;
  return entry > 0 ? name + " " + std::to_string(entry) : name;
}

std::optional<DesignFault> FindStoredValueFault(const vrlComponent& record) { return StoredValueFault(record); }
std::optional<DesignFault> FindStoredValueFault(const vrlFacility& record) { return StoredValueFault(record); }
std::optional<DesignFault> FindControlCharacter(const vrlComponent& record) { return ControlCharacterIn(record); }
std::optional<DesignFault> FindControlCharacter(const vrlFacility& record) { return ControlCharacterIn(record); }

namespace page_text {
std::string NameMissing(std::string_view noun) { return "You must enter a name for your " + std::string(noun) + "."; }
std::string TechAreaMissing() { return "You must provide a tech area for this tech requirement"; }
std::string AbilityTypeMissing() { return "You must fill in a type for this ability"; }
}  // namespace page_text

std::vector<PageRefusal> FindPageRefusals(const vrlComponent& record) {
  std::vector<PageRefusal> out;
  Refuse(record.CompName().empty(), page_text::NameMissing("component"), out);
  Refuse(record.Family().empty(), page_text::kFamilyMissing, out);
  Refuse(record.CustomGroup().empty(), page_text::kCustomGroupMissing, out);
  Refuse(record.Restrictions().empty(), page_text::kRestrictionsMissing, out);
  bool vehicle = false;
  for (std::string_view type : kVehicleTypeNames) {
    vehicle = vehicle || record.VehicleType().find(type) != std::string::npos;
  }
  Refuse(!vehicle, page_text::kVehicleTypeMissing, out);
  TechRefusals(record, record.GridComp(), out);
  Refuse(record.HP().empty(), page_text::kHitpointsMissing, out);
  AbilityRefusals(record, "Component", out);
  // The continued weapon page follows only for a weapon, as the wizard decides it.
  if (record.WeaponType() != "None") {
    const bool seeking = record.WeaponType() == "Seeking";
    Refuse(record.WeaponDamageType().empty() || record.WeaponReload().empty() || record.WeaponToHitMod().empty() ||
               (seeking && (record.WeaponSeekerSpeed().empty() || record.WeaponSeekerHP().empty())),
           page_text::kWeaponInfoMissing, out);
  }
  return out;
}

std::vector<PageRefusal> FindPageRefusals(const vrlFacility& record) {
  std::vector<PageRefusal> out;
  Refuse(record.FacName().empty(), page_text::NameMissing("facility"), out);
  Refuse(record.FacFamily().empty(), page_text::kFamilyMissing, out);
  TechRefusals(record, record.GridFac(), out);
  AbilityRefusals(record, "Facility", out);
  return out;
}

}  // namespace vorlane
