#include "GenGameData.h"

#include <cstdio>
#include <iostream>

#include "gamedata/Apply.h"
#include "gamedata/DataFile.h"
#include "gamedata/Families.h"
#include "gamedata/Import.h"
#include "generate/DesignFile.h"
#include "settings/GameData.h"

namespace vorlane_gen {

namespace {

std::optional<vorlane::DataFile> Read(const std::string& path) {
  std::string error;
  auto file = vorlane::ReadDataFile(path, error);
  if (!file) {
    std::cerr << "vorlane-gen: cannot read data file: " << error << '\n';
    return std::nullopt;
  }
  for (const auto& problem : file->problems) std::cerr << "vorlane-gen: " << path << ": " << problem.Text() << '\n';
  return file;
}

}  // namespace

int RunImport(const std::string& path, const std::vector<std::string>& entries, const std::optional<std::string>& output) {
  auto file = Read(path);
  if (!file) return 2;
  const auto families = vorlane::FindFamilies(*file, vorlane::IsFacilityFile(path));
  if (entries.empty()) {
    std::cout << vorlane::FamilyListText(*file, families) << std::flush;
    return std::cout ? 0 : 2;
  }
  int chosen = -1;
  for (const std::string& name : entries) {
    const int family = vorlane::FamilyOfName(*file, families, name);
    if (family < 0) {
      std::cerr << "vorlane-gen: no entry named \"" << name << "\" in \"" << path << "\"\n";
      return 2;
    }
    if (chosen >= 0 && family != chosen) {
      std::cerr << "vorlane-gen: \"" << name << "\" belongs to another family; import one family at a time\n";
      return 2;
    }
    chosen = family;
  }
  const vorlane::Family& family = families[static_cast<std::size_t>(chosen)];
  const vorlane::ImportResult result = vorlane::ImportFamily(*file, family, vorlane::DataFileKey(path));
  const bool component = result.design.kind == vorlane::DesignKind::Component;
  if (output) {
    std::string error;
    const bool saved = component ? vorlane::SaveDesignFile(*output, result.design.component, error)
                                 : vorlane::SaveDesignFile(*output, result.design.facility, error);
    if (!saved) {
      std::cerr << "vorlane-gen: " << error << '\n';
      return 2;
    }
  } else {
    std::cout << (component ? vorlane::DesignToJson(result.design.component)
                            : vorlane::DesignToJson(result.design.facility))
              << std::flush;
    if (!std::cout) return 2;
  }
  std::cerr << vorlane::GapsText(result.gaps);
  std::cerr << "imported \"" << family.label << "\": " << family.members.size()
            << (family.members.size() == 1 ? " entry" : " entries")
            << (result.gaps.empty() ? ", every key reproduced\n" : ", " + std::to_string(result.gaps.size()) +
                                                                        " difference(s) listed above\n");
  return result.gaps.empty() ? 0 : 1;
}

int RunApply(const ApplyOptions& options, const GenerateFn& generate) {
  auto file = Read(options.file);
  if (!file) return 2;
  const std::string key = vorlane::DataFileKey(options.file);
  std::vector<vorlane::Design> designs;
  std::vector<vorlane::ApplySource> sources;
  for (const std::string& path : options.designs) {
    vorlane::GenerationResult result;
    if (const int status = generate(path, result); status != 0) return status == 2 ? 2 : 1;
    std::string error;
    auto design = vorlane::LoadDesignFile(path, error);
    if (!design) {
      std::cerr << "vorlane-gen: cannot read design file: " << error << '\n';
      return 2;
    }
    const auto& written = design->kind == vorlane::DesignKind::Component ? design->component.Written()
                                                                          : design->facility.Written();
    sources.push_back({path, result.text, vorlane::WrittenNames(written, key)});
    designs.push_back(std::move(*design));
  }
  const vorlane::ApplyPlan plan = vorlane::PlanApply(*file, sources, options.replaceOthers);
  std::cout << plan.Text();
  if (!plan.Ready()) {
    std::cout << "nothing written" << (plan.conflicts.empty() ? "" : " (--replace replaces entries other designs wrote)")
              << '\n' << std::flush;
    return 1;
  }
  const vorlane::GameData data = vorlane::ReadGameData(options.modDir, options.gameDir);
  const vorlane::CheckReport report = vorlane::CheckApplied(plan, data);
  if (!report.Clean()) std::cout << report.Text() << '\n';
  if (options.dryRun) {
    std::cout << (plan.Changed() ? "dry run: nothing written\n" : "nothing to change\n") << std::flush;
    return 0;
  }
  if (plan.Changed()) {
    std::string error;
    if (!vorlane::WriteAppliedFile(options.file, plan, error)) {
      std::cerr << "vorlane-gen: " << error << '\n';
      return error.find("changed on disk") != std::string::npos ? 1 : 2;
    }
    std::cout << "written \"" << options.file << "\" (the previous file is \"" << options.file << ".bak\")\n";
  } else {
    std::cout << "nothing to change\n";
  }
  std::cout << std::flush;
  // Each design remembers the names it now holds in the file.
  int status = 0;
  for (std::size_t i = 0; i < designs.size(); ++i) {
    vorlane::Design& design = designs[i];
    const bool component = design.kind == vorlane::DesignKind::Component;
    auto written = component ? design.component.Written() : design.facility.Written();
    if (vorlane::WrittenNames(written, key) == plan.written[i]) continue;
    vorlane::SetWrittenNames(written, key, plan.written[i]);
    std::string error;
    bool saved = false;
    if (component) {
      design.component.SetWritten(std::move(written));
      saved = vorlane::SaveDesignFile(options.designs[i], design.component, error);
    } else {
      design.facility.SetWritten(std::move(written));
      saved = vorlane::SaveDesignFile(options.designs[i], design.facility, error);
    }
    if (!saved) {
      std::cerr << "vorlane-gen: cannot record the written names in the design: " << error << '\n';
      status = 2;
    }
  }
  return status;
}

}  // namespace vorlane_gen
