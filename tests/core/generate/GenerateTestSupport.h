// Shared helpers of the generation tests: a sink that records every message,
// bare records, and readers of generated text.
#pragma once

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "generate/DesignFile.h"
#include "util/MessageSink.h"

namespace vorlane::testing {

struct Message {
  std::string title, text;
  bool operator==(const Message&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const Message& m) {
    return out << "{\"" << m.title << "\", \"" << m.text << "\"}";
  }
};
using Messages = std::vector<Message>;

class RecordingSink : public MessageSink {
 public:
  MessageAnswer Show(const std::string& title, const std::string& text, MessageButtons buttons) override {
    messages.push_back({title, text});
    okOnly = okOnly && buttons == MessageButtons::Ok;
    return MessageAnswer::Ok;
  }
  Messages messages;
  bool okOnly = true;
};

// Records with every text empty, no requirement and no ability.
template <typename Record>
Record Bare(const std::string& name, const std::string& levels = "1") {
  Record r;
  if constexpr (requires { r.SetCompName(name); }) {
    r.SetCompName(name);
    r.SetNumCompLevels(levels);
  } else {
    r.SetFacName(name);
    r.SetNumFacLevels(levels);
  }
  r.SetNumTechReqs(0);
  r.SetNumAbils(0);
  return r;
}

// The design-file keys `members` (the inside of a JSON object) read over the
// sample design `base`, or over a bare record named "Laser" or "Mine".
template <typename Record>
Record FromDesign(const std::string& members, const std::string& base = "") {
  constexpr bool component = std::is_same_v<Record, vrlComponent>;
  nlohmann::json json = {{"kind", component ? "component" : "facility"},
                         {component ? "CompName" : "FacName", component ? "Laser" : "Mine"},
                         {component ? "NumCompLevels" : "NumFacLevels", "1"},
                         {"TechReqs", nlohmann::json::array()},
                         {"Abilities", nlohmann::json::array()}};
  if (!base.empty()) json = nlohmann::json::parse(std::ifstream(std::string(VORLANE_TEST_DATA_DIR) + "/" + base));
  json.update(nlohmann::json::parse("{" + members + "}"));
  std::string error;
  auto design = ParseDesign(json.dump(), error);
  if (!design) throw std::runtime_error(error);
  if constexpr (component) {
    return design->component;
  } else {
    return design->facility;
  }
}

inline Design SampleDesign(const std::string& file) {
  std::string error;
  auto design = LoadDesignFile(std::string(VORLANE_TEST_DATA_DIR) + "/" + file, error);
  if (!design) throw std::runtime_error(error);
  return *design;
}

// One line of an entry: the key padded to 42 characters, ":= ", the value.
inline std::string Line(const std::string& key, const std::string& value) {
  return key + std::string(42 - key.size(), ' ') + ":= " + value + "\r\n";
}

// The values of every line with `key` in generated text, in order.
inline std::vector<std::string> Values(const std::string& text, const std::string& key) {
  std::vector<std::string> values;
  std::istringstream in(text);
  const std::string prefix = Line(key, "").substr(0, 45);
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with(prefix)) values.push_back(line.substr(45, line.size() - 46));
  }
  return values;
}

}  // namespace vorlane::testing
