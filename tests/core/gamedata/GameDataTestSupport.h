// Shared helpers of the data-file tests: files made of entries, and the
// entries a design generates.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "gamedata/DataFile.h"
#include "generate/CompGenerate.h"
#include "generate/DesignFile.h"
#include "generate/FacGenerate.h"
#include "util/MessageSink.h"

namespace vorlane::testing {

class SilentSink : public MessageSink {
 public:
  MessageAnswer Show(const std::string&, const std::string&, MessageButtons) override { return MessageAnswer::Ok; }
};

// A data file: a header line, "*BEGIN*", the body, "*END*", with `lineEnd`.
inline std::string DataFileText(std::string_view body, std::string_view lineEnd = "\r\n") {
  std::string text = "Header of the mod" + std::string(lineEnd) + "*BEGIN*" + std::string(lineEnd);
  for (char c : body) {
    if (c == '\n') {
      text += lineEnd;
    } else {
      text += c;
    }
  }
  return text + "*END*" + std::string(lineEnd);
}

inline DataFile Parse(std::string bytes) {
  std::string error;
  auto file = ParseDataFile(std::move(bytes), error);
  EXPECT_TRUE(file.has_value()) << error;
  return file ? std::move(*file) : DataFile{};
}

inline std::string Generated(const Design& design) {
  SilentSink sink;
  GenerationResult result;
  if (design.kind == DesignKind::Component) {
    CompGenerate generator;
    result = generator.Generate(design.component, sink);
  } else {
    FacGenerate generator;
    result = generator.Generate(design.facility, sink);
  }
  EXPECT_TRUE(result.Generated());
  return result.text;
}

inline Design DesignOf(std::string_view json) {
  std::string error;
  auto design = ParseDesign(json, error);
  EXPECT_TRUE(design.has_value()) << error;
  return design.value_or(Design{});
}

// Generated text (CR LF, two line ends after each entry) as a data file's body.
inline std::string AsBody(std::string_view generated) {
  std::string body;
  for (char c : generated) {
    if (c != '\r') body += c;
  }
  return body;
}

}  // namespace vorlane::testing
