// vorlane-gen DESIGN.json [-o FILE [--encoding windows-1252|utf-8]]
// vorlane-gen --check DESIGN.json [--game-dir DIR] [--mod-dir DIR]
//
// Generates every entry of a component or facility design file and writes the
// text the results window would show to standard output (UTF-8) or FILE (in
// the game's encoding, Windows-1252, unless --encoding says otherwise).
// Exit status: 0 generated; 1 the generation failed or a wizard page would
// refuse the design (its messages go to standard error, one "TITLE: TEXT"
// block each, after a failed formula's located fault in one line: field,
// level, cell, reason, character; no file is written) or FILE cannot hold a character in
// Windows-1252; 2 the design file cannot be
// read, the output cannot be written, or the command line is wrong.
//
// --check lists on standard output everything in the entries that the game
// would refuse or misread, technology areas and ability types looked up in the
// data files of the given directories. Exit status: 0 nothing found, 1 found
// something (or the generation failed), 2 the design cannot be read.
//
// --diff prints, one line per change, the keys whose generated value differs
// between two designs and the entries only one of them has (EntryChange::Text).
// Exit status, like diff(1): 0 the same entries, 1 they differ, 2 a design
// cannot be read or fails to generate (its messages on standard error).
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generate/CompGenerate.h"
#include "generate/DesignCheck.h"
#include "generate/DesignFile.h"
#include "generate/EntryDiff.h"
#include "generate/EntryText.h"
#include "generate/FacGenerate.h"
#include "generate/GameCheck.h"
#include "settings/GameData.h"
#include "util/MessageSink.h"
#include "util/Platform.h"

namespace {

constexpr const char* kUsage =
    "usage: vorlane-gen DESIGN.json [-o FILE [--encoding windows-1252|utf-8]]\n"
    "       vorlane-gen --check DESIGN.json [--game-dir DIR] [--mod-dir DIR]\n"
    "       vorlane-gen --diff OLD.json NEW.json\n";

// Keeps the messages of one design, line breaks made the terminal's own,
// until Print puts them on standard error after the located fault.
class StderrSink : public vorlane::MessageSink {
 public:
  vorlane::MessageAnswer Show(const std::string& title, const std::string& text,
                              vorlane::MessageButtons buttons) override {
    blocks_ += title + ": ";
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
      blocks_ += text[i];
    }
    blocks_ += '\n';
    return buttons == vorlane::MessageButtons::YesNo ? vorlane::MessageAnswer::No : vorlane::MessageAnswer::Ok;
  }
  void Print(const std::optional<vorlane::GenerationFault>& fault) {
    if (fault) std::cerr << fault->Line() << '\n';
    std::cerr << blocks_;
    blocks_.clear();
  }

 private:
  std::string blocks_;
};

bool WriteAll(std::FILE* file, const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), file) == text.size();
}

// Reads and generates the design at `path` into `result`; see GenerateDesign.
int Generate(const std::filesystem::path& path, vorlane::MessageSink& sink, vorlane::GenerationResult& result) {
  std::string error;
  auto loaded = vorlane::LoadDesignFile(path, error);
  if (!loaded) {
    std::cerr << "vorlane-gen: cannot read design file: " << error << '\n';
    return 2;
  }
  // What a wizard page's Next would refuse, the tool refuses too.
  const bool component = loaded->kind == vorlane::DesignKind::Component;
  const auto refusals = component ? vorlane::FindPageRefusals(loaded->component)
                                  : vorlane::FindPageRefusals(loaded->facility);
  if (!refusals.empty()) {
    for (const auto& refusal : refusals) sink.Show(refusal.title, refusal.text, vorlane::MessageButtons::Ok);
    sink.Show("Error", component ? "Component not generated." : "Facility not generated.", vorlane::MessageButtons::Ok);
    return 1;
  }
  if (component) {
    vorlane::CompGenerate generator;
    result = generator.Generate(loaded->component, sink);
  } else {
    vorlane::FacGenerate generator;
    result = generator.Generate(loaded->facility, sink);
  }
  return result.Generated() ? 0 : 1;
}

// Reads and generates the design at `path` into `result`: 0 generated, 1 a
// wizard page would refuse it or a formula failed (the fault and the
// messages on standard error), 2 the file cannot be read.
int GenerateDesign(const std::filesystem::path& path, StderrSink& sink, vorlane::GenerationResult& result) {
  const int status = Generate(path, sink, result);
  sink.Print(result.fault);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  vorlane::PrepareStandardStreams();
  const std::vector<std::string> args = vorlane::Utf8Arguments(argc, argv);
  std::optional<std::string> design, newDesign;
  std::optional<std::string> output;
  std::optional<std::string> encodingName, gameDir, modDir;
  bool check = false, diff = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    std::string_view arg = args[i];
    std::optional<std::string>* value = arg == "-o"           ? &output
                                        : arg == "--encoding" ? &encodingName
                                        : arg == "--game-dir" ? &gameDir
                                        : arg == "--mod-dir"  ? &modDir
                                                              : nullptr;
    if (value) {
      if (i + 1 >= args.size() || *value) {
        std::cerr << kUsage;
        return 2;
      }
      *value = args[++i];
    } else if (arg == "--check" && !check) {
      check = true;
    } else if (arg == "--diff" && !diff) {
      diff = true;
    } else if (arg == "-h" || arg == "--help") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--version") {
      std::cout << "vorlane-gen " VORLANE_VERSION "\n";
      return 0;
    } else if (!newDesign && !(arg.size() > 1 && arg[0] == '-')) {
      (design ? newDesign : design) = std::string(arg);
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
  vorlane::TextEncoding encoding = vorlane::TextEncoding::Windows1252;
  if (!design || diff != newDesign.has_value() || (diff && (check || output || encodingName)) ||
      (check && (output || encodingName)) || (!check && (gameDir || modDir)) ||
      (encodingName && !vorlane::ParseTextEncoding(*encodingName, encoding))) {
    std::cerr << kUsage;
    return 2;
  }

  StderrSink sink;
  vorlane::GenerationResult result;
  if (const int status = GenerateDesign(vorlane::PathFromUtf8(*design), sink, result); status != 0) {
    if (diff && status == 1) std::cerr << "vorlane-gen: cannot generate \"" << *design << "\"\n";
    return diff ? 2 : status;
  }

  if (diff) {
    vorlane::GenerationResult newResult;
    if (const int status = GenerateDesign(vorlane::PathFromUtf8(*newDesign), sink, newResult); status != 0) {
      if (status == 1) std::cerr << "vorlane-gen: cannot generate \"" << *newDesign << "\"\n";
      return 2;
    }
    const auto changes = vorlane::DiffEntries(result.text, newResult.text);
    for (const auto& change : changes) std::cout << change.Text() << '\n';
    std::cout << std::flush;
    if (!std::cout) {
      std::cerr << "vorlane-gen: cannot write to standard output\n";
      return 2;
    }
    return changes.empty() ? 0 : 1;
  }

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
  std::string encoded, error;
  if (!vorlane::EncodeEntries(result.text, encoding, encoded, error)) {
    std::cerr << "vorlane-gen: cannot write \"" << *output << "\": " << error
              << " (--encoding utf-8 keeps every character)\n";
    return 1;
  }
  std::FILE* file = vorlane::OpenFile(vorlane::PathFromUtf8(*output), "wb");
  if (!file) {
    std::cerr << "vorlane-gen: cannot write \"" << *output << "\": " << std::strerror(errno) << '\n';
    return 2;
  }
  bool ok = WriteAll(file, encoded);
  ok = (std::fclose(file) == 0) && ok;
  if (!ok) {
    std::cerr << "vorlane-gen: cannot write \"" << *output << "\"\n";
    std::error_code ignored;
    std::filesystem::remove(vorlane::PathFromUtf8(*output), ignored);
    return 2;
  }
  return 0;
}
