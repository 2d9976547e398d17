// Shared helpers of the generation tests: a sink that records every message,
// and small builders for design records.
#pragma once

#include <string>
#include <vector>

#include "evaluator/clsExprEvaluator.h"
#include "records/vrlComponent.h"
#include "records/vrlFacility.h"
#include "util/MessageSink.h"

namespace vorlane::testing {

struct Message {
  std::string title;
  std::string text;
  bool operator==(const Message&) const = default;
};

class RecordingSink : public MessageSink {
 public:
  MessageAnswer Show(const std::string& title, const std::string& text, MessageButtons buttons) override {
    messages.push_back({title, text});
    okOnly = okOnly && buttons == MessageButtons::Ok;
    return MessageAnswer::Ok;
  }
  std::vector<Message> messages;
  bool okOnly = true;
};

inline std::ostream& operator<<(std::ostream& out, const Message& m) {
  return out << "{\"" << m.title << "\", \"" << m.text << "\"}";
}

// True once the evaluator compiles and evaluates brace groups.
inline bool EvaluatorReady() {
  clsExprEvaluator e;
  return e.StoreExpression("{2*{3+1}}") && e.Eval() == 8;
}
#define REQUIRE_EVALUATOR() \
  if (!::vorlane::testing::EvaluatorReady()) GTEST_SKIP() << "evaluator not available"

// A component with every text empty, no requirement and no ability.
inline vrlComponent BareComponent(const std::string& name = "Laser", const std::string& levels = "1") {
  vrlComponent c;
  c.SetCompName(name);
  c.SetNumCompLevels(levels);
  c.SetNumTechReqs(0);
  c.SetNumAbils(0);
  return c;
}

inline vrlFacility BareFacility(const std::string& name = "Mine", const std::string& levels = "1") {
  vrlFacility f;
  f.SetFacName(name);
  f.SetNumFacLevels(levels);
  f.SetNumTechReqs(0);
  f.SetNumAbils(0);
  return f;
}

// The worked example: a three-level laser that is no weapon, as also stored
// in the data file laser.json.
inline vrlComponent LaserComponent() {
  vrlComponent c;
  c.SetCompName("Laser");
  c.SetCompDesc("A basic beam weapon for &compname's first steps.");
  c.SetNumCompLevels("3");
  c.SetVehicleType("Ship");
  c.SetNumberStyle("&complevel");
  c.SetRomanStyle("&complevel");
  c.SetGeneralGroup("Weapons");
  c.SetFamily("100");
  c.SetPicNum("12");
  c.SetTechReqArea(1, "Lasers");
  c.SetTechReqLevel(1, "&complevel");
  c.SetMinCost("{&complevel*10}");
  c.SetOrgCost("0");
  c.SetRadCost("{&complevel*5}");
  c.SetSize("10");
  c.SetHP("{&size*2}");
  c.SetSupplyUse("0");
  c.SetAbilName(1, "Armor");
  c.SetAbilDesc(1, "Absorbs &abil1val1 damage.");
  c.SetAbilVal1(1, "{&complevel*10}");
  c.SetAbilVal2(1, "0");
  return c;
}

// One line of an entry: the key padded to 42 characters, ":= ", the value.
inline std::string Line(const std::string& key, const std::string& value) {
  return key + std::string(42 - key.size(), ' ') + ":= " + value + "\r\n";
}

}  // namespace vorlane::testing
