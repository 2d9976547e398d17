// vorlane-gen DESIGN.json [-o FILE [--encoding windows-1252|utf-8]]
// vorlane-gen --check DESIGN.json [--game-dir DIR] [--mod-dir DIR]
//
// Generates every entry of a component or facility design file and writes the
// text the results window would show to standard output (UTF-8) or FILE (in
// the game's encoding, Windows-1252, unless --encoding says otherwise).
// Exit status: 0 generated; 1 the generation failed or a wizard page would
// refuse the design (its messages go to standard error, one "TITLE: TEXT"
// block each, and no file is written) or FILE cannot hold a character in
// Windows-1252; 2 the design file cannot be
// read, the output cannot be written, or the command line is wrong.
//
// --check lists on standard output everything in the entries that the game
// would refuse or misread, technology areas and ability types looked up in the
// data files of the given directories. Exit status: 0 nothing found, 1 found
// something (or the generation failed), 2 the design cannot be read.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "generate/CompGenerate.h"
#include "generate/DesignCheck.h"
#include "generate/DesignFile.h"
#include "generate/EntryText.h"
#include "generate/FacGenerate.h"
#include "generate/GameCheck.h"
#include "settings/GameData.h"
#include "util/MessageSink.h"

namespace {

constexpr const char* kUsage =
    "usage: vorlane-gen DESIGN.json [-o FILE [--encoding windows-1252|utf-8]]\n"
    "       vorlane-gen --check DESIGN.json [--game-dir DIR] [--mod-dir DIR]\n";

// Prints each message as it comes, line breaks made the terminal's own.
class StderrSink : public vorlane::MessageSink {
 public:
  vorlane::MessageAnswer Show(const std::string& title, const std::string& text,
                              vorlane::MessageButtons buttons) override {
    std::string block = title + ": ";
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
      block += text[i];
    }
    std::cerr << block << '\n';
    return buttons == vorlane::MessageButtons::YesNo ? vorlane::MessageAnswer::No : vorlane::MessageAnswer::Ok;
  }
};

bool WriteAll(std::FILE* file, const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), file) == text.size();
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<std::string> design;
  std::optional<std::string> output;
  std::optional<std::string> encodingName, gameDir, modDir;
  bool check = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    std::optional<std::string>* value = arg == "-o"           ? &output
                                        : arg == "--encoding" ? &encodingName
                                        : arg == "--game-dir" ? &gameDir
                                        : arg == "--mod-dir"  ? &modDir
                                                              : nullptr;
    if (value) {
      if (i + 1 >= argc || *value) {
        std::cerr << kUsage;
        return 2;
      }
      *value = argv[++i];
    } else if (arg == "--check" && !check) {
      check = true;
    } else if (arg == "-h" || arg == "--help") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--version") {
      std::cout << "vorlane-gen " VORLANE_VERSION "\n";
      return 0;
    } else if (!design && !(arg.size() > 1 && arg[0] == '-')) {
      design = std::string(arg);
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
  vorlane::TextEncoding encoding = vorlane::TextEncoding::Windows1252;
  if (!design || (check && (output || encodingName)) || (!check && (gameDir || modDir)) ||
      (encodingName && !vorlane::ParseTextEncoding(*encodingName, encoding))) {
    std::cerr << kUsage;
    return 2;
  }

  std::string error;
  auto loaded = vorlane::LoadDesignFile(*design, error);
  if (!loaded) {
    std::cerr << "vorlane-gen: cannot read design file: " << error << '\n';
    return 2;
  }

  StderrSink sink;
  // What a wizard page's Next would refuse, the tool refuses too.
  const bool component = loaded->kind == vorlane::DesignKind::Component;
  const auto refusals = component ? vorlane::FindPageRefusals(loaded->component)
                                  : vorlane::FindPageRefusals(loaded->facility);
  if (!refusals.empty()) {
    for (const auto& refusal : refusals) sink.Show(refusal.title, refusal.text, vorlane::MessageButtons::Ok);
    sink.Show("Error", component ? "Component not generated." : "Facility not generated.", vorlane::MessageButtons::Ok);
    return 1;
  }

  vorlane::GenerationResult result;
  if (component) {
    vorlane::CompGenerate generator;
    result = generator.Generate(loaded->component, sink);
  } else {
    vorlane::FacGenerate generator;
    result = generator.Generate(loaded->facility, sink);
  }
  if (!result.Generated()) return 1;

  if (check) {
    const vorlane::GameData data = vorlane::ReadGameData(modDir.value_or(""), gameDir.value_or(""));
    const vorlane::CheckReport report = vorlane::CheckEntries(result.text, data);
    std::cout << report.Text() << '\n' << std::flush;
    return report.Clean() ? 0 : 1;
  }

  if (!output) {
    if (!WriteAll(stdout, result.text) || std::fflush(stdout) != 0) {
      std::cerr << "vorlane-gen: cannot write to standard output\n";
      return 2;
    }
    return 0;
  }
  std::string encoded;
  if (!vorlane::EncodeEntries(result.text, encoding, encoded, error)) {
    std::cerr << "vorlane-gen: cannot write \"" << *output << "\": " << error
              << " (--encoding utf-8 keeps every character)\n";
    return 1;
  }
  std::FILE* file = std::fopen(output->c_str(), "wb");
  if (!file) {
    std::cerr << "vorlane-gen: cannot write \"" << *output << "\": " << std::strerror(errno) << '\n';
    return 2;
  }
  bool ok = WriteAll(file, encoded);
  ok = (std::fclose(file) == 0) && ok;
  if (!ok) {
    std::cerr << "vorlane-gen: cannot write \"" << *output << "\"\n";
    std::remove(output->c_str());
    return 2;
  }
  return 0;
}
