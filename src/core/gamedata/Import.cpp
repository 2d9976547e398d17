#include "gamedata/Import.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "gamedata/FormulaFit.h"
#include "generate/CompGenerate.h"
#include "generate/DesignLayout.h"
#include "generate/FacGenerate.h"
#include "util/MessageSink.h"
#include "util/Numbers.h"

namespace vorlane {

namespace {

// Game keys and the record fields that write them, beside the name, the
// counts and the lists.
struct KeyField {
  const char* key;
  const char* field;
};
constexpr KeyField kComponentKeys[] = {
    {"Description", "CompDesc"},
    {"Pic Num", "PicNum"},
    {"Tonnage Space Taken", "Size"},
    {"Tonnage Structure", "HP"},
    {"Cost Minerals", "MinCost"},
    {"Cost Organics", "OrgCost"},
    {"Cost Radioactives", "RadCost"},
    {"Vehicle List Type Override", "VehicleType"},
    {"Supply Amount Used", "SupplyUse"},
    {"Restrictions", "Restrictions"},
    {"General Group", "GeneralGroup"},
    {"Family", "Family"},
    {"Roman Numeral", "RomanStyle"},
    {"Custom Group", "CustomGroup"},
    {"Weapon Type", "WeaponType"},
    {"Weapon List Target Override", "WeaponTarget"},
    {"Weapon Damage Type", "WeaponDamageType"},
    {"Weapon Reload Rate", "WeaponReload"},
    {"Weapon Display Type", "WeaponDisplayType"},
    {"Weapon Display", "WeaponDisplayNum"},
    {"Weapon Modifier", "WeaponToHitMod"},
    {"Weapon Sound", "WeaponSound"},
    {"Weapon Family", "WeaponFamily"},
    {"Weapon Seeker Speed", "WeaponSeekerSpeed"},
    {"Weapon Seeker Dmg Res", "WeaponSeekerHP"},
};
constexpr KeyField kFacilityKeys[] = {
    {"Description", "FacDesc"},       {"Facility Group", "FacGroup"}, {"Facility Family", "FacFamily"},
    {"Roman Numeral", "RomanStyle"},  {"Pic Num", "PicNum"},          {"Cost Minerals", "MinCost"},
    {"Cost Organics", "OrgCost"},     {"Cost Radioactives", "RadCost"},
};
constexpr const char* kAbilityParts[] = {" Type", " Descr", " Val 1", " Val 2"};

class QuietSink : public MessageSink {
 public:
  MessageAnswer Show(const std::string&, const std::string& text, MessageButtons buttons) override {
    if (first.empty()) first = text;
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
  }
  std::string first;
};

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

template <typename Record>
void SetText(Record& record, std::string_view field, std::string value) {
  for (const auto& row : Layout<Record>::kTexts) {
    if (field == row.name) (record.*row.set)(std::move(value));
  }
}

template <typename Record>
class Importer {
 public:
  Importer(const DataFile& file, const Family& family, std::string levelVariable)
      : file_(file), family_(family), fitter_(levelVariable, Points()), level_(std::move(levelVariable)) {}

  Record Build() {
    Record record;
    const std::size_t n = family_.members.size();
    record.SetGrid(family_.grid);
    record.SetLevelCount(family_.grid ? "1" : std::to_string(n));
    SetName(record);
    const auto& keys = Fields();
    for (const KeyField& kf : keys) {
      if (family_.grid && std::string_view(kf.key) == "Roman Numeral") continue;  // the grid writes its own
      if (!AnyHas(kf.key)) continue;
      SetText(record, kf.field, Fit(Values(kf.key), false));
    }
    const int reqs = Count("Number of Tech Req");
    const int dims = static_cast<int>(family_.gridSizes.size());
    record.SetNumTechReqs(static_cast<std::int16_t>(std::max(reqs, dims)));
    for (int i = 1; i <= record.NumTechReqs(); ++i) {
      const auto n16 = static_cast<std::int16_t>(i);
      const std::string N = std::to_string(i);
      record.SetTechReqArea(n16, Fit(Values("Tech Area Req " + N), false));
      record.SetTechReqLevel(n16, Fit(Values("Tech Level Req " + N), false));
      if (family_.grid) {
        record.SetTechReqGridSize(n16, i <= dims ? std::to_string(family_.gridSizes[static_cast<std::size_t>(i - 1)]) : "1");
        record.SetTechReqStyle(n16, i <= dims ? styles_[static_cast<std::size_t>(i - 1)] : "");
      }
    }
    const int abilities = Count("Number of Abilities");
    record.SetNumAbils(static_cast<std::int16_t>(abilities));
    for (int i = 1; i <= abilities; ++i) {
      const auto n16 = static_cast<std::int16_t>(i);
      const std::string prefix = "Ability " + std::to_string(i);
      record.SetAbilName(n16, Fit(Values(prefix + kAbilityParts[0]), false));
      record.SetAbilDesc(n16, Fit(Values(prefix + kAbilityParts[1]), false));
      record.SetAbilVal1(n16, Fit(Values(prefix + kAbilityParts[2]), false));
      record.SetAbilVal2(n16, Fit(Values(prefix + kAbilityParts[3]), false));
    }
    if constexpr (Layout<Record>::kDamage) {
      if (AnyHas("Weapon Damage At Rng")) {
        const auto lists = Values("Weapon Damage At Rng");
        for (std::int16_t r = 1; r <= Record::kNumRanges; ++r) {
          std::vector<std::string> values;
          for (const std::string& list : lists) values.push_back(Word(list, static_cast<std::size_t>(r - 1)));
          record.SetWeaponDamageAtRange(r, Fit(values, true));
        }
      }
    }
    return record;
  }

 private:
  static const auto& Fields() {
    if constexpr (Layout<Record>::kDamage) {
      return kComponentKeys;
    } else {
      return kFacilityKeys;
    }
  }

  std::vector<FitPoint> Points() const {
    std::vector<FitPoint> points;
    std::vector<std::vector<std::string>> distinct(family_.gridSizes.size());
    for (std::size_t i = 0; i < family_.members.size(); ++i) {
      FitPoint point;
      point.level = static_cast<int>(i) + 1;
      if (family_.grid) {
        // Members come in odometer order: the position along each number is
        // the count of its distinct values so far.
        for (std::size_t k = 0; k < family_.gridSizes.size(); ++k) {
          auto& seen = distinct[k];
          const std::string& token = family_.tokens[i][k];
          auto at = std::find(seen.begin(), seen.end(), token);
          if (at == seen.end()) at = seen.insert(seen.end(), token);
          point.grid.push_back(static_cast<int>(at - seen.begin()) + 1);
        }
      }
      points.push_back(std::move(point));
    }
    return points;
  }

  const DataEntry& Member(std::size_t i) const { return file_.entries[family_.members[i]]; }

  bool AnyHas(const std::string& key) const {
    for (std::size_t i = 0; i < family_.members.size(); ++i) {
      if (Member(i).Find(key)) return true;
    }
    return false;
  }

  std::vector<std::string> Values(const std::string& key) const {
    std::vector<std::string> values;
    for (std::size_t i = 0; i < family_.members.size(); ++i) {
      const DataLine* line = Member(i).Find(key);
      values.push_back(line ? line->value : std::string());
    }
    return values;
  }

  int Count(const std::string& key) const {
    int most = 0;
    for (const std::string& value : Values(key)) {
      const int count = RoundToInt16(LeadingNumber(value)).value_or(0);
      most = std::max(most, std::clamp(count, 0, kMaxListEntries));
    }
    return most;
  }

  static std::string Word(std::string_view list, std::size_t index) {
    std::size_t at = 0;
    for (std::size_t i = 0;; ++i) {
      at = list.find_first_not_of(' ', at);
      if (at == std::string_view::npos) return {};
      const std::size_t end = std::min(list.find(' ', at), list.size());
      if (i == index) return std::string(list.substr(at, end - at));
      at = end;
    }
  }

  // The fitted formula, or the first level's text where none fits (the
  // self-check then lists the levels it does not reproduce).
  std::string Fit(const std::vector<std::string>& values, bool number) {
    auto formula = number ? fitter_.FitNumber(values) : fitter_.FitText(values);
    if (formula) return *formula;
    return FormulaFitter::Literal(values.front()).value_or("");
  }

  std::string Piece(std::size_t k) {
    std::vector<std::string> tokens;
    for (const auto& member : family_.tokens) tokens.push_back(member[k]);
    auto piece = family_.romanTokens[k] ? fitter_.FitText(tokens) : fitter_.FitNumber(tokens);
    const std::string& next = family_.texts[k + 1];
    const bool glued = !next.empty() && std::isalnum(static_cast<unsigned char>(next.front()));
    if (piece && glued && piece->starts_with('&')) {
      piece = family_.romanTokens[k] ? std::nullopt : std::optional<std::string>("{" + *piece + "}");
    }
    return piece.value_or(tokens.front());
  }

  void SetName(Record& record) {
    const auto lit = [](const std::string& text) { return FormulaFitter::Literal(text).value_or(text); };
    const std::string& prefix = family_.texts.front();
    if (family_.tokens.front().empty()) {
      SetText(record, Layout<Record>::kTexts[0].name, lit(family_.texts.front()));
      return;
    }
    std::vector<std::string> pieces;
    for (std::size_t k = 0; k < family_.tokens.front().size(); ++k) pieces.push_back(lit(family_.texts[k]) + Piece(k));
    pieces.back() += lit(family_.texts.back());
    const std::size_t blank = prefix.rfind(' ');
    std::string name, style;
    if (blank == std::string::npos) {
      // No blank before the number: the name itself carries it.
      for (const std::string& piece : pieces) name += piece;
    } else {
      name = lit(prefix.substr(0, blank));
      pieces.front() = lit(prefix.substr(blank + 1)) + pieces.front().substr(lit(prefix).size());
      for (const std::string& piece : pieces) style += piece;
    }
    SetText(record, Layout<Record>::kTexts[0].name, name);
    if (family_.grid) {
      styles_ = pieces;
    } else {
      record.SetNumberStyle(style);
    }
  }

  const DataFile& file_;
  const Family& family_;
  FormulaFitter fitter_;
  std::string level_;
  std::vector<std::string> styles_;
};

// Compares the generated entries with the family's entries, key by key.
void SelfCheck(const DataFile& file, const Family& family, const std::string& generated,
               std::vector<ImportGap>& gaps) {
  const std::vector<DataEntry> made = ParseEntries(generated);
  std::map<std::string, const DataEntry*> byName;
  for (const DataEntry& entry : made) byName.emplace(GameName(entry.name), &entry);
  std::set<const DataEntry*> matched;
  for (std::size_t index : family.members) {
    const DataEntry& original = file.entries[index];
    auto it = byName.find(GameName(original.name));
    if (it == byName.end()) {
      gaps.push_back({original.name, "Name", "the design makes no entry of this name"});
      continue;
    }
    const DataEntry& twin = *it->second;
    matched.insert(&twin);
    std::set<std::string> seen;
    for (const DataLine& line : original.lines) {
      if (!line.split) {
        gaps.push_back({original.name, "", "line " + std::to_string(line.number) + " without \":=\" (" +
                                               Quoted(line.value) + ") is not written"});
        continue;
      }
      const std::string key = GameKey(line.key);
      if (!seen.insert(key).second) {
        gaps.push_back({original.name, line.key, "a second line of this key is not written"});
        continue;
      }
      const DataLine* other = twin.Find(line.key);
      if (!other) {
        gaps.push_back({original.name, line.key, "a key Vorlane does not write (" + Quoted(line.value) + ")"});
      } else if (other->value != line.value) {
        gaps.push_back({original.name, line.key,
                        "the file has " + Quoted(line.value) + ", the design gives " + Quoted(other->value)});
      }
    }
    for (const DataLine& line : twin.lines) {
      if (!original.Find(line.key)) {
        gaps.push_back({original.name, line.key, "not in the file; the design writes " + Quoted(line.value)});
      }
    }
  }
  for (const DataEntry& entry : made) {
    if (!matched.contains(&entry)) gaps.push_back({entry.name, "", "the design makes this entry, the file has none"});
  }
}

template <typename Record, typename Generator>
ImportResult Import(const DataFile& file, const Family& family, const std::string& filePath, const char* level) {
  ImportResult result;
  Importer<Record> importer(file, family, level);
  Record record = importer.Build();
  std::vector<std::string> names;
  for (std::size_t index : family.members) names.push_back(file.entries[index].name);
  record.SetWritten({{filePath, names}});
  Generator generator;
  QuietSink sink;
  const GenerationResult made = generator.Generate(record, sink);
  if (made.Generated()) {
    result.generated = made.text;
    SelfCheck(file, family, made.text, result.gaps);
  } else {
    result.gaps.push_back({family.label, "", "the design does not generate: " +
                                                 (made.fault ? made.fault->Line() : sink.first)});
  }
  if constexpr (Layout<Record>::kDamage) {
    result.design.kind = DesignKind::Component;
    result.design.component = std::move(record);
  } else {
    result.design.kind = DesignKind::Facility;
    result.design.facility = std::move(record);
  }
  return result;
}

}  // namespace

std::string ImportGap::Text() const {
  std::string text = "entry " + Quoted(entry);
  if (!key.empty()) text += ", key " + Quoted(key);
  return text + ": " + problem;
}

ImportResult ImportFamily(const DataFile& file, const Family& family, const std::string& filePath) {
  if (family.facility) return Import<vrlFacility, FacGenerate>(file, family, filePath, "&faclevel");
  return Import<vrlComponent, CompGenerate>(file, family, filePath, "&complevel");
}

std::string GapsText(const std::vector<ImportGap>& gaps, std::size_t maxLines) {
  std::string text;
  std::size_t shown = 0, rest = 0;
  std::vector<std::string> lacking;
  for (const ImportGap& gap : gaps) {
    if (gap.problem.starts_with("not in the file")) {
      if (std::find(lacking.begin(), lacking.end(), gap.key) == lacking.end()) lacking.push_back(gap.key);
    } else if (shown < maxLines) {
      text += gap.Text() + "\n";
      ++shown;
    } else {
      ++rest;
    }
  }
  if (rest > 0) text += "... and " + std::to_string(rest) + " more\n";
  if (!lacking.empty()) {
    text += "keys the file lacks, which the design writes:";
    for (std::size_t i = 0; i < lacking.size(); ++i) text += (i == 0 ? " " : ", ") + Quoted(lacking[i]);
    text += "\n";
  }
  return text;
}

std::string FamilyListText(const DataFile& file, const std::vector<Family>& families) {
  std::string text;
  for (const Family& family : families) {
    const std::size_t n = family.members.size();
    const DataEntry& first = file.entries[*std::min_element(family.members.begin(), family.members.end())];
    text += family.label + " (" + (family.grid ? "grid, " : "") + std::to_string(n) + (n == 1 ? " entry" : " entries") +
            ", line " + std::to_string(first.FirstLine()) + ")\n";
  }
  return text;
}

}  // namespace vorlane
