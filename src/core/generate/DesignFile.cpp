#include "generate/DesignFile.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include <nlohmann/json.hpp>

#include "util/Numbers.h"

namespace vorlane {

namespace {

using Json = nlohmann::ordered_json;

// How one record kind spells its properties.
template <typename Record>
struct TextProperty {
  const char* name;
  const std::string& (Record::*get)() const;
  void (Record::*set)(std::string);
};

template <typename Record>
struct ListProperty {
  const char* name;
  std::optional<std::string> (Record::*get)(std::int16_t) const;
  bool (Record::*set)(std::int16_t, std::string);
};

template <typename Record>
struct Layout;

template <>
struct Layout<vrlComponent> {
  using R = vrlComponent;
  static constexpr const char* kKind = "component";
  static constexpr const char* kLevels = "NumCompLevels";
  static constexpr const char* kGrid = "GridComp";
  static constexpr bool kDamage = true;
  static std::string Levels(const R& r) { return r.NumCompLevels(); }
  static bool SetLevels(R& r, const std::string& text) { return r.SetNumCompLevels(text); }
  static bool Grid(const R& r) { return r.GridComp(); }
  static void SetGrid(R& r, bool value) { r.SetGridComp(value); }
  static inline const std::vector<TextProperty<R>> kTexts = {
      {"CompName", &R::CompName, &R::SetCompName},
      {"CompDesc", &R::CompDesc, &R::SetCompDesc},
      {"VehicleType", &R::VehicleType, &R::SetVehicleType},
      {"Restrictions", &R::Restrictions, &R::SetRestrictions},
      {"GeneralGroup", &R::GeneralGroup, &R::SetGeneralGroup},
      {"Family", &R::Family, &R::SetFamily},
      {"CustomGroup", &R::CustomGroup, &R::SetCustomGroup},
      {"PicNum", &R::PicNum, &R::SetPicNum},
      {"NumberStyle", &R::NumberStyle, &R::SetNumberStyle},
      {"RomanStyle", &R::RomanStyle, &R::SetRomanStyle},
      {"MinCost", &R::MinCost, &R::SetMinCost},
      {"OrgCost", &R::OrgCost, &R::SetOrgCost},
      {"RadCost", &R::RadCost, &R::SetRadCost},
      {"Size", &R::Size, &R::SetSize},
      {"HP", &R::HP, &R::SetHP},
      {"SupplyUse", &R::SupplyUse, &R::SetSupplyUse},
      {"WeaponType", &R::WeaponType, &R::SetWeaponType},
      {"WeaponTarget", &R::WeaponTarget, &R::SetWeaponTarget},
      {"WeaponDamageType", &R::WeaponDamageType, &R::SetWeaponDamageType},
      {"WeaponSound", &R::WeaponSound, &R::SetWeaponSound},
      {"WeaponDisplayType", &R::WeaponDisplayType, &R::SetWeaponDisplayType},
      {"WeaponDisplayNum", &R::WeaponDisplayNum, &R::SetWeaponDisplayNum},
      {"WeaponFamily", &R::WeaponFamily, &R::SetWeaponFamily},
      {"WeaponReload", &R::WeaponReload, &R::SetWeaponReload},
      {"WeaponToHitMod", &R::WeaponToHitMod, &R::SetWeaponToHitMod},
      {"WeaponSeekerSpeed", &R::WeaponSeekerSpeed, &R::SetWeaponSeekerSpeed},
      {"WeaponSeekerHP", &R::WeaponSeekerHP, &R::SetWeaponSeekerHP},
  };
  static inline const std::array<ListProperty<R>, 4> kTech = {{
      {"TechReqArea", &R::TechReqArea, &R::SetTechReqArea},
      {"TechReqLevel", &R::TechReqLevel, &R::SetTechReqLevel},
      {"TechReqGridSize", &R::TechReqGridSize, &R::SetTechReqGridSize},
      {"TechReqNumberStyle", &R::TechReqNumberStyle, &R::SetTechReqNumberStyle},
  }};
  static inline const std::array<ListProperty<R>, 4> kAbilities = {{
      {"AbilName", &R::AbilName, &R::SetAbilName},
      {"AbilDesc", &R::AbilDesc, &R::SetAbilDesc},
      {"AbilVal1", &R::AbilVal1, &R::SetAbilVal1},
      {"AbilVal2", &R::AbilVal2, &R::SetAbilVal2},
  }};
};

template <>
struct Layout<vrlFacility> {
  using R = vrlFacility;
  static constexpr const char* kKind = "facility";
  static constexpr const char* kLevels = "NumFacLevels";
  static constexpr const char* kGrid = "GridFac";
  static constexpr bool kDamage = false;
  static std::string Levels(const R& r) { return r.NumFacLevels(); }
  static bool SetLevels(R& r, const std::string& text) { return r.SetNumFacLevels(text); }
  static bool Grid(const R& r) { return r.GridFac(); }
  static void SetGrid(R& r, bool value) { r.SetGridFac(value); }
  static inline const std::vector<TextProperty<R>> kTexts = {
      {"FacName", &R::FacName, &R::SetFacName},
      {"FacDesc", &R::FacDesc, &R::SetFacDesc},
      {"NumberStyle", &R::NumberStyle, &R::SetNumberStyle},
      {"RomanStyle", &R::RomanStyle, &R::SetRomanStyle},
      {"FacGroup", &R::FacGroup, &R::SetFacGroup},
      {"FacFamily", &R::FacFamily, &R::SetFacFamily},
      {"PicNum", &R::PicNum, &R::SetPicNum},
      {"MinCost", &R::MinCost, &R::SetMinCost},
      {"OrgCost", &R::OrgCost, &R::SetOrgCost},
      {"RadCost", &R::RadCost, &R::SetRadCost},
  };
  static inline const std::array<ListProperty<R>, 4> kTech = {{
      {"TechReqArea", &R::TechReqArea, &R::SetTechReqArea},
      {"TechReqLevel", &R::TechReqLevel, &R::SetTechReqLevel},
      {"TechReqGridSize", &R::TechReqGridSize, &R::SetTechReqGridSize},
      {"TechReqNumStyle", &R::TechReqNumStyle, &R::SetTechReqNumStyle},
  }};
  static inline const std::array<ListProperty<R>, 4> kAbilities = {{
      {"AbilName", &R::AbilName, &R::SetAbilName},
      {"AbilDesc", &R::AbilDesc, &R::SetAbilDesc},
      {"AbilVal1", &R::AbilVal1, &R::SetAbilVal1},
      {"AbilVal2", &R::AbilVal2, &R::SetAbilVal2},
  }};
};

// A JSON pointer to the place being read, for messages.
std::string Place(const std::string& parent, const std::string& key) {
  std::string escaped;
  for (char c : key) {
    if (c == '~') {
      escaped += "~0";
    } else if (c == '/') {
      escaped += "~1";
    } else {
      escaped += c;
    }
  }
  return parent + "/" + escaped;
}

bool Fail(std::string& error, const std::string& place, const std::string& problem) {
  error = place + ": " + problem;
  return false;
}

// Reads one array of list entries ("TechReqs" or "Abilities") into the record.
template <typename Record, typename SetCount>
bool ReadList(const Json& value, const std::string& place, const std::array<ListProperty<Record>, 4>& keys,
              Record& record, SetCount setCount, std::string& error) {
  if (!value.is_array()) return Fail(error, place, "must be an array of objects");
  if (value.size() > 32767) return Fail(error, place, "has more than 32767 entries");
  setCount(record, static_cast<std::int16_t>(value.size()));
  std::int16_t index = 0;
  for (const Json& entry : value) {
    const std::string entryPlace = place + "/" + std::to_string(index);
    ++index;
    if (!entry.is_object()) return Fail(error, entryPlace, "must be an object");
    for (const auto& [key, text] : entry.items()) {
      const std::string keyPlace = Place(entryPlace, key);
      const ListProperty<Record>* property = nullptr;
      for (const auto& candidate : keys) {
        if (key == candidate.name) property = &candidate;
      }
      if (!property) return Fail(error, keyPlace, "unknown key");
      if (!text.is_string()) return Fail(error, keyPlace, "must be a text");
      (record.*(property->set))(index, text.template get<std::string>());
    }
  }
  return true;
}

template <typename Record>
bool ReadRecord(const Json& root, Record& record, std::string& error) {
  using L = Layout<Record>;
  for (const auto& [key, value] : root.items()) {
    const std::string place = Place("", key);
    if (key == "kind") continue;
    if (key == L::kLevels) {
      std::string text;
      if (value.is_string()) {
        text = value.template get<std::string>();
      } else if (value.is_number_integer()) {
        text = value.dump();
      } else if (value.is_number_float()) {
        text = FormatNumber(value.template get<double>());
      } else {
        return Fail(error, place, "must be a text or a number");
      }
      if (!L::SetLevels(record, text)) return Fail(error, place, "level count out of range");
      continue;
    }
    if (key == L::kGrid) {
      if (!value.is_boolean()) return Fail(error, place, "must be true or false");
      L::SetGrid(record, value.template get<bool>());
      continue;
    }
    if (key == "TechReqs") {
      if (!ReadList(value, place, L::kTech, record,
                    [](Record& r, std::int16_t n) { r.SetNumTechReqs(n); }, error)) {
        return false;
      }
      continue;
    }
    if (key == "Abilities") {
      if (!ReadList(value, place, L::kAbilities, record, [](Record& r, std::int16_t n) { r.SetNumAbils(n); },
                    error)) {
        return false;
      }
      continue;
    }
    if constexpr (L::kDamage) {
      if (key == "WeaponDamageAtRange") {
        if (!value.is_array()) return Fail(error, place, "must be an array of texts");
        if (value.size() > static_cast<std::size_t>(Record::kNumRanges)) {
          return Fail(error, place, "has more than 21 entries");
        }
        std::int16_t range = 1;
        for (const Json& text : value) {
          if (!text.is_string()) return Fail(error, place + "/" + std::to_string(range - 1), "must be a text");
          record.SetWeaponDamageAtRange(range++, text.template get<std::string>());
        }
        continue;
      }
    }
    const TextProperty<Record>* property = nullptr;
    for (const auto& candidate : L::kTexts) {
      if (key == candidate.name) property = &candidate;
    }
    if (!property) return Fail(error, place, "unknown key");
    if (!value.is_string()) return Fail(error, place, "must be a text");
    (record.*(property->set))(value.template get<std::string>());
  }
  return true;
}

template <typename Record>
Json ListToJson(const Record& record, std::int16_t count, const std::array<ListProperty<Record>, 4>& keys) {
  Json list = Json::array();
  for (std::int16_t i = 1; i <= count; ++i) {
    Json entry = Json::object();
    for (const auto& key : keys) entry[key.name] = (record.*(key.get))(i).value_or("");
    list.push_back(std::move(entry));
  }
  return list;
}

template <typename Record>
std::string RecordToJson(const Record& record) {
  using L = Layout<Record>;
  Json root = Json::object();
  root["kind"] = L::kKind;
  root[L::kLevels] = ParseLevelCount(L::Levels(record)).value_or(0);
  root[L::kGrid] = L::Grid(record);
  for (const auto& property : L::kTexts) root[property.name] = (record.*(property.get))();
  root["TechReqs"] = ListToJson(record, record.NumTechReqs(), L::kTech);
  root["Abilities"] = ListToJson(record, record.NumAbils(), L::kAbilities);
  if constexpr (L::kDamage) {
    Json damage = Json::array();
    for (std::int16_t r = 1; r <= Record::kNumRanges; ++r) damage.push_back(record.WeaponDamageAtRange(r).value_or(""));
    root["WeaponDamageAtRange"] = std::move(damage);
  }
  // Texts that are not valid UTF-8 cannot be JSON; their bad bytes are
  // written as replacement characters rather than failing the save.
  return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

template <typename Record>
bool SaveRecord(const std::filesystem::path& path, const Record& record, std::string& error) {
  const std::string text = RecordToJson(record);
  std::filesystem::path directory = path.parent_path();
  std::random_device random;
  std::FILE* file = nullptr;
  std::filesystem::path temporary;
  for (int attempt = 0; attempt < 100 && !file; ++attempt) {
    temporary = directory / (path.filename().string() + ".tmp" + std::to_string(random() % 1000000000u));
    file = std::fopen(temporary.c_str(), "wbx");  // exclusive: never reuses an existing file
    if (!file && errno != EEXIST) break;
  }
  if (!file) {
    error = "cannot create a file in \"" + (directory.empty() ? std::string(".") : directory.string()) +
            "\": " + std::strerror(errno);
    return false;
  }
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  written = (std::fclose(file) == 0) && written;
  std::error_code ec;
  if (written) std::filesystem::rename(temporary, path, ec);
  if (!written || ec) {
    error = "cannot write \"" + path.string() + "\"" + (ec ? ": " + ec.message() : std::string());
    std::filesystem::remove(temporary, ec);
    return false;
  }
  return true;
}

}  // namespace

std::optional<Design> ParseDesign(std::string_view json, std::string& error) {
  Json root;
  try {
    root = Json::parse(json.begin(), json.end());
  } catch (const Json::exception& e) {
    std::string what = e.what();
    // Drop the library's "[json.exception.parse_error.101] " tag; the rest
    // names line and column.
    if (auto close = what.find("] "); what.starts_with("[") && close != std::string::npos) what.erase(0, close + 2);
    error = "malformed JSON: " + what;
    return std::nullopt;
  }
  if (!root.is_object()) {
    error = "/: a design must be a JSON object";
    return std::nullopt;
  }
  auto kind = root.find("kind");
  if (kind == root.end()) {
    error = "/kind: missing; it must be \"component\" or \"facility\"";
    return std::nullopt;
  }
  Design design;
  bool ok = false;
  if (kind->is_string() && *kind == "component") {
    design.kind = DesignKind::Component;
    ok = ReadRecord(root, design.component, error);
  } else if (kind->is_string() && *kind == "facility") {
    design.kind = DesignKind::Facility;
    ok = ReadRecord(root, design.facility, error);
  } else {
    error = "/kind: must be \"component\" or \"facility\"";
  }
  if (!ok) return std::nullopt;
  return design;
}

std::string DesignToJson(const vrlComponent& record) { return RecordToJson(record); }
std::string DesignToJson(const vrlFacility& record) { return RecordToJson(record); }

std::optional<Design> LoadDesignFile(const std::filesystem::path& path, std::string& error) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    error = "cannot open \"" + path.string() + "\": it is a directory";
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open \"" + path.string() + "\": " + std::strerror(errno);
    return std::nullopt;
  }
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) {
    error = "cannot read \"" + path.string() + "\"";
    return std::nullopt;
  }
  std::string reason;
  auto design = ParseDesign(buffer.str(), reason);
  if (!design) error = "\"" + path.string() + "\": " + reason;
  return design;
}

bool SaveDesignFile(const std::filesystem::path& path, const vrlComponent& record, std::string& error) {
  return SaveRecord(path, record, error);
}

bool SaveDesignFile(const std::filesystem::path& path, const vrlFacility& record, std::string& error) {
  return SaveRecord(path, record, error);
}

}  // namespace vorlane
