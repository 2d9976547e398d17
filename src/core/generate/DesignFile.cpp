#include "generate/DesignFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>
#include <set>
#include <vector>

#include "generate/DesignCheck.h"
#include "generate/DesignLayout.h"
#include "util/FileText.h"
#include "util/Numbers.h"
#include "util/Platform.h"

namespace vorlane {

namespace {

using Json = nlohmann::ordered_json;

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
  if (value.size() > static_cast<std::size_t>(kMaxListEntries)) {
    return Fail(error, place, "has more than " + std::to_string(kMaxListEntries) + " entries");
  }
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

// Reads "WrittenTo": the entries a design last wrote, per data file.
bool ReadWritten(const Json& value, const std::string& place, std::vector<WrittenEntries>& written,
                 std::string& error) {
  if (!value.is_array()) return Fail(error, place, "must be an array of objects");
  for (std::size_t i = 0; i < value.size(); ++i) {
    const Json& item = value[i];
    const std::string itemPlace = place + "/" + std::to_string(i);
    if (!item.is_object()) return Fail(error, itemPlace, "must be an object");
    WrittenEntries entries;
    for (const auto& [key, part] : item.items()) {
      if (key == "File" && part.is_string()) {
        entries.file = part.get<std::string>();
      } else if (key == "Names" && part.is_array()) {
        for (const Json& name : part) {
          if (!name.is_string()) return Fail(error, Place(itemPlace, key), "must be an array of texts");
          entries.names.push_back(name.get<std::string>());
        }
      } else {
        return Fail(error, Place(itemPlace, key),
                    key == "File" || key == "Names" ? "must be a text, or an array of texts" : "unknown key");
      }
    }
    if (entries.file.empty()) return Fail(error, itemPlace + "/File", "missing");
    written.push_back(std::move(entries));
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
      if (!L::SetLevels(record, text)) {
        return Fail(error, place,
                    "level count " + value.dump(-1, ' ', false, Json::error_handler_t::replace) +
                        " out of range; it must lie from 0 to " + std::to_string(kMaxLevelCount));
      }
      continue;
    }
    if (key == L::kGrid) {
      if (!value.is_boolean()) return Fail(error, place, "must be true or false");
      L::SetGrid(record, value.template get<bool>());
      continue;
    }
    if (key == L::kWrittenList) {
      std::vector<WrittenEntries> written;
      if (!ReadWritten(value, place, written, error)) return false;
      record.SetWritten(std::move(written));
      continue;
    }
    if (key == L::kTechList) {
      if (!ReadList(value, place, L::kTech, record,
                    [](Record& r, std::int16_t n) { r.SetNumTechReqs(n); }, error)) {
        return false;
      }
      continue;
    }
    if (key == L::kAbilityList) {
      if (!ReadList(value, place, L::kAbilities, record, [](Record& r, std::int16_t n) { r.SetNumAbils(n); },
                    error)) {
        return false;
      }
      continue;
    }
    if constexpr (L::kDamage) {
      if (key == L::kDamageList) {
        if (!value.is_array()) return Fail(error, place, "must be an array of texts");
        if (value.size() > static_cast<std::size_t>(Record::kNumRanges)) {
          return Fail(error, place, "has more than " + std::to_string(Record::kNumRanges) + " entries");
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
  for (int i = 1; i <= count; ++i) {
    Json entry = Json::object();
    for (const auto& key : keys) entry[key.name] = (record.*(key.get))(static_cast<std::int16_t>(i)).value_or("");
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
  root[L::kTechList] = ListToJson(record, record.NumTechReqs(), L::kTech);
  root[L::kAbilityList] = ListToJson(record, record.NumAbils(), L::kAbilities);
  if constexpr (L::kDamage) {
    Json damage = Json::array();
    for (std::int16_t r = 1; r <= Record::kNumRanges; ++r) damage.push_back(record.WeaponDamageAtRange(r).value_or(""));
    root[L::kDamageList] = std::move(damage);
  }
  if (!record.Written().empty()) {
    Json written = Json::array();
    for (const WrittenEntries& entries : record.Written()) {
      written.push_back(Json{{"File", entries.file}, {"Names", entries.names}});
    }
    root[L::kWrittenList] = std::move(written);
  }
  // Texts that are not valid UTF-8 cannot be JSON; their bad bytes are
  // written as replacement characters rather than failing the save.
  return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

template <typename Record>
bool SaveRecord(const std::filesystem::path& path, const Record& record, std::string& error) {
  const std::string text = RecordToJson(record);
  std::filesystem::path directory = path.parent_path();
  std::filesystem::path temporary;
  std::FILE* file = CreateFileBeside(path, temporary);
  if (!file) {
    error = "cannot create a file in \"" + (directory.empty() ? std::string(".") : Utf8FromPath(directory)) +
            "\": " + std::strerror(errno);
    return false;
  }
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  written = (std::fclose(file) == 0) && written;
  std::error_code ec;
  if (written) MoveFileOver(temporary, path, ec);
  if (!written || ec) {
    error = "cannot write \"" + Utf8FromPath(path) + "\"" + (ec ? ": " + ec.message() : std::string());
    std::filesystem::remove(temporary, ec);
    return false;
  }
  return true;
}

// A reading pass over the document that finds the first key written twice in
// one object, so that it is refused with its place instead of silently
// replacing the first value. It builds nothing; it stops at the duplicate or
// at the first syntax error (which the full reading then reports).
class DuplicateKeyWatch {
 public:
  // The place of the duplicate key, or empty.
  const std::string& Duplicate() const { return duplicate_; }

  bool null() { return Value(); }
  bool boolean(bool) { return Value(); }
  bool number_integer(Json::number_integer_t) { return Value(); }
  bool number_unsigned(Json::number_unsigned_t) { return Value(); }
  bool number_float(Json::number_float_t, const Json::string_t&) { return Value(); }
  bool string(Json::string_t&) { return Value(); }
  bool binary(Json::binary_t&) { return Value(); }
  bool start_object(std::size_t) { return Start(false); }
  bool start_array(std::size_t) { return Start(true); }
  bool end_object() { return End(); }
  bool end_array() { return End(); }
  bool key(Json::string_t& key) {
    Frame& frame = frames_.back();
    frame.key = key;
    if (frame.keys.insert(key).second) return true;
    for (std::size_t i = 1; i < frames_.size(); ++i) duplicate_ += "/" + frames_[i].segment;
    duplicate_ = Place(duplicate_, key);
    return false;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

 private:
  struct Frame {
    std::string segment;  // this container's place in its parent
    bool array;
    std::size_t next;     // arrays: the index of the next element
    std::string key;      // objects: the key being read
    std::set<std::string> keys;
  };

  // The place of the value starting now within its container; counts the
  // element when the container is an array.
  std::string Segment() {
    if (frames_.empty()) return {};
    Frame& parent = frames_.back();
    return parent.array ? std::to_string(parent.next++) : Place("", parent.key).substr(1);
  }
  bool Value() {
    if (!frames_.empty() && frames_.back().array) ++frames_.back().next;
    return true;
  }
  bool Start(bool array) {
    frames_.push_back({Segment(), array, 0, {}, {}});
    return true;
  }
  bool End() {
    frames_.pop_back();
    return true;
  }

  std::vector<Frame> frames_;
  std::string duplicate_;
};

}  // namespace

std::optional<Design> ParseDesign(std::string_view json, std::string& error) {
  DuplicateKeyWatch watch;
  Json::sax_parse(json.begin(), json.end(), &watch);
  if (!watch.Duplicate().empty()) {
    error = watch.Duplicate() + ": key written twice in the same object";
    return std::nullopt;
  }
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
  std::optional<DesignFault> fault;
  if (kind->is_string() && *kind == "component") {
    design.kind = DesignKind::Component;
    ok = ReadRecord(root, design.component, error);
    if (ok) fault = FindStoredValueFault(design.component);
  } else if (kind->is_string() && *kind == "facility") {
    design.kind = DesignKind::Facility;
    ok = ReadRecord(root, design.facility, error);
    if (ok) fault = FindStoredValueFault(design.facility);
  } else {
    error = "/kind: must be \"component\" or \"facility\"";
  }
  if (fault) {
    error = fault->FilePlace() + ": " + fault->problem;
    return std::nullopt;
  }
  if (!ok) return std::nullopt;
  return design;
}

std::string DesignToJson(const vrlComponent& record) { return RecordToJson(record); }
std::string DesignToJson(const vrlFacility& record) { return RecordToJson(record); }

std::optional<Design> LoadDesignFile(const std::filesystem::path& path, std::string& error) {
  std::string text;
  if (!ReadWholeFile(path, kMaxDesignFileBytes, "it is larger than 64 MiB, the most a design file may hold", text,
                     error)) {
    return std::nullopt;
  }
  std::string reason;
  auto design = ParseDesign(text, reason);
  if (!design) error = "\"" + Utf8FromPath(path) + "\": " + reason;
  return design;
}

bool SaveDesignFile(const std::filesystem::path& path, const vrlComponent& record, std::string& error) {
  return SaveRecord(path, record, error);
}

bool SaveDesignFile(const std::filesystem::path& path, const vrlFacility& record, std::string& error) {
  return SaveRecord(path, record, error);
}

}  // namespace vorlane
