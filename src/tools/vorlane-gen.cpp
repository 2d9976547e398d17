// vorlane-gen DESIGN.json [-o FILE [--encoding windows-1252|utf-8]]
// vorlane-gen --check DESIGN.json [--strict] [--game-dir DIR] [--mod-dir DIR]
//
// Generates every entry of a component or facility design file and writes the
// text the results window would show to standard output (UTF-8) or FILE (in
// the game's encoding, Windows-1252, unless --encoding says otherwise).
// A brace group written as 0 because its evaluation failed (or because it
// names something nobody assigns) is a warning on standard error:
// "Warning: Minerals Cost, level 2: Evaluation error < sqr(-1) >; {sqr(1-2)}
// written as 0 (character 5)"; it does not change the exit status.
// Exit status: 0 generated; 1 the generation failed or a wizard page would
// refuse the design (its messages go to standard error, one "TITLE: TEXT"
// block each, after a failed formula's located fault in one line: field,
// level, cell, reason, character; no file is written) or FILE cannot hold a character in
// Windows-1252; 2 the design file cannot be
// read (not a regular file, larger than 64 MiB, malformed), the output
// cannot be written, or the command line is wrong; 3 memory ran out.
//
// --check lists on standard output everything in the entries that the game
// would refuse or misread (errors) or read probably not as meant (warnings),
// technology areas and ability types looked up in the data files of the given
// directories, and the brace groups written as 0 as warnings. Exit status: 0
// no errors (with --strict: no warnings either),
// 1 errors found (or the generation failed), 2 the design cannot be read.
//
// --diff prints, one line per change, the keys whose generated value differs
// between two designs and the entries only one of them has (EntryChange::Text).
// Exit status, like diff(1): 0 the same entries, 1 they differ, 2 a design
// cannot be read or fails to generate (its messages on standard error).
//
// --import FILE lists the families of a game data file; with --entry NAME
// (any entry of the family, repeatable) it turns that family into a design,
// written to -o DESIGN or standard output (see GenGameData.h).
//
// DESIGN... --apply FILE writes the designs' entries into a game data file
// and shows what changes; --dry-run only shows it, --replace allows names
// that entries no design wrote hold.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "GenGameData.h"
#include "generate/CompGenerate.h"
#include "generate/DesignCheck.h"
#include "generate/DesignFile.h"
#include "generate/EntryDiff.h"
#include "generate/EntryText.h"
#include "generate/FacGenerate.h"
#include "generate/GameCheck.h"
#include "generate/GenerationWarnings.h"
#include "settings/GameData.h"
#include "util/MessageSink.h"
#include "util/Platform.h"

namespace {

constexpr const char* kUsage =
    "usage: vorlane-gen DESIGN.json [-o FILE [--encoding windows-1252|utf-8]]\n"
    "       vorlane-gen --check DESIGN.json [--strict] [--game-dir DIR] [--mod-dir DIR]\n"
    "       vorlane-gen --diff OLD.json NEW.json\n"
    "       vorlane-gen --import FILE [--entry NAME]... [-o DESIGN.json]\n"
    "       vorlane-gen DESIGN.json... --apply FILE [--dry-run] [--replace] [--game-dir DIR] [--mod-dir DIR]\n";

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
// messages on standard error), 2 the file cannot be read. Brace groups
// written as 0 (or with a name nobody assigns) are warned about on standard
// error, one "Warning: " line each, whatever the status.
int GenerateDesign(const std::filesystem::path& path, StderrSink& sink, vorlane::GenerationResult& result) {
  const int status = Generate(path, sink, result);
  sink.Print(result.fault);
  for (const auto& warning : result.warnings) std::cerr << "Warning: " << warning.Line() << '\n';
  if (result.warningCount > result.warnings.size()) {
    std::cerr << "Warning: " << result.warningCount - result.warnings.size() << " more not listed\n";
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) try {
  vorlane::PrepareStandardStreams();
  const std::vector<std::string> args = vorlane::Utf8Arguments(argc, argv);
  std::optional<std::string> design, newDesign;
  std::optional<std::string> output;
  std::optional<std::string> encodingName, gameDir, modDir, importFile, applyFile;
  std::vector<std::string> designs, entries;
  bool check = false, diff = false, strict = false, dryRun = false, replace = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    std::string_view arg = args[i];
    std::optional<std::string>* value = arg == "-o"           ? &output
                                        : arg == "--encoding" ? &encodingName
                                        : arg == "--game-dir" ? &gameDir
                                        : arg == "--mod-dir"  ? &modDir
                                        : arg == "--import"   ? &importFile
                                        : arg == "--apply"    ? &applyFile
                                                              : nullptr;
    if (value) {
      if (i + 1 >= args.size() || *value) {
        std::cerr << kUsage;
        return 2;
      }
      *value = args[++i];
    } else if (arg == "--entry" && i + 1 < args.size()) {
      entries.emplace_back(args[++i]);
    } else if (arg == "--check" && !check) {
      check = true;
    } else if (arg == "--strict" && !strict) {
      strict = true;
    } else if (arg == "--diff" && !diff) {
      diff = true;
    } else if (arg == "--dry-run" && !dryRun) {
      dryRun = true;
    } else if (arg == "--replace" && !replace) {
      replace = true;
    } else if (arg == "-h" || arg == "--help") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--version") {
      std::cout << "vorlane-gen " VORLANE_VERSION "\n";
      return 0;
    } else if (!(arg.size() > 1 && arg[0] == '-')) {
      designs.emplace_back(arg);
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
  if (importFile) {
    if (!designs.empty() || check || diff || strict || dryRun || replace || encodingName || gameDir || modDir || applyFile) {
      std::cerr << kUsage;
      return 2;
    }
    return vorlane_gen::RunImport(*importFile, entries, output);
  }
  if (applyFile) {
    if (designs.empty() || !entries.empty() || check || diff || strict || output || encodingName) {
      std::cerr << kUsage;
      return 2;
    }
    StderrSink sink;
    return vorlane_gen::RunApply({designs, *applyFile, dryRun, replace, gameDir.value_or(""), modDir.value_or("")},
                                 [&](const std::string& path, vorlane::GenerationResult& result) {
                                   return GenerateDesign(vorlane::PathFromUtf8(path), sink, result);
                                 });
  }
  if (designs.size() > 2 || !entries.empty() || dryRun || replace) {
    std::cerr << kUsage;
    return 2;
  }
  if (!designs.empty()) design = designs[0];
  if (designs.size() == 2) newDesign = designs[1];
  vorlane::TextEncoding encoding = vorlane::TextEncoding::Windows1252;
  if (!design || diff != newDesign.has_value() || (diff && (check || output || encodingName)) ||
      (check && (output || encodingName)) || (!check && (gameDir || modDir || strict)) ||
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
    vorlane::CheckReport report = vorlane::CheckEntries(result.text, data);
    vorlane::AddGenerationWarnings(report, result.warnings, result.warningCount, result.text);
    std::cout << report.Text() << '\n' << std::flush;
    return report.Passes(strict) ? 0 : 1;
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
// Memory that runs out (a design or an input too large for this machine) ends
// the program with a message and status 3 instead of an abort.
catch (const std::bad_alloc&) {
  std::cerr << "vorlane-gen: out of memory\n";
  return 3;
}
