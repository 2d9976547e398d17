#include "generate_ui/ResultsApply.h"

#include <QStringList>
#include <filesystem>
#include <system_error>
#include <vector>

#include "gamedata/Apply.h"
#include "gui/Services.h"
#include "gui/Session.h"
#include "settings/GameData.h"
#include "settings/PictureLookup.h"
#include "util/Platform.h"

namespace vorlane {

namespace {

constexpr auto kTitle = "Apply to Mod";

// The file `name` in `dir`'s Data folder, letter case ignored; without one,
// the Data folder (as it is spelled, if it exists) and `name` as given.
std::filesystem::path DataFilePath(const std::string& dir, const std::string& name) {
  std::error_code ec;
  if (auto found = FindBelowIgnoringCase(dir, {"Data", name}, true, ec)) return *found;
  const auto data = FindBelowIgnoringCase(dir, {"Data"}, false, ec);
  return data.value_or(PathFromUtf8(dir) / "Data") / name;
}

QString Shortened(const std::string& text) {
  QStringList lines = QString::fromStdString(text).split(u'\n', Qt::SkipEmptyParts);
  if (lines.size() > kMaxApplyLinesShown) {
    const qsizetype rest = lines.size() - kMaxApplyLinesShown;
    lines = lines.mid(0, kMaxApplyLinesShown);
    lines << QStringLiteral("... and %1 more lines").arg(rest);
  }
  return lines.join(u'\n');
}

}  // namespace

bool ApplyResultsToMod(QWidget* parent, Session& session, const QString& resultKind, const QString& entries) {
  Services& services = session.services();
  const QString title = QString::fromLatin1(kTitle);
  const bool component = resultKind == QStringLiteral("Component");
  const std::string name = component ? "Components.txt" : "Facility.txt";
  if (session.ModDir().empty()) {
    services.Inform(parent, QStringLiteral("Set the mod directory first: the entries go into its Data folder."), title);
    return false;
  }
  const std::filesystem::path target = DataFilePath(session.ModDir(), name);
  std::error_code ec;
  if (!std::filesystem::exists(target, ec)) {
    const std::filesystem::path game = session.SEIVDir().empty() ? std::filesystem::path()
                                                                  : DataFilePath(session.SEIVDir(), name);
    if (game.empty() || !std::filesystem::exists(game, ec)) {
      services.Inform(parent, QStringLiteral("Neither the mod nor the game has a Data/%1.").arg(QString::fromStdString(name)),
                      title);
      return false;
    }
    if (!services.Ask(parent,
                      QStringLiteral("The mod has no Data/%1.\nDo you want to copy the game's file into the mod?")
                          .arg(QString::fromStdString(name)),
                      title)) {
      return false;
    }
    std::filesystem::create_directories(target.parent_path(), ec);
    if (ec || !std::filesystem::copy_file(game, target, ec) || ec) {
      services.Inform(parent, QStringLiteral("The game's file could not be copied.\n") + QString::fromStdString(ec.message()),
                      title);
      return false;
    }
  }
  std::string error;
  auto file = ReadDataFile(target, error);
  if (!file) {
    services.Inform(parent, QStringLiteral("The mod's file could not be read.\n") + QString::fromStdString(error), title);
    return false;
  }
  const std::string key = DataFileKey(target);
  auto& record = component ? static_cast<DesignRecord&>(session.Component()) : static_cast<DesignRecord&>(session.Facility());
  const std::vector<ApplySource> sources{{"this design", entries.toStdString(), WrittenNames(record.Written(), key)}};
  ApplyPlan plan = PlanApply(*file, sources, false);
  const QString where = QString::fromStdString(Utf8FromPath(target));
  if (!plan.conflicts.empty() && plan.error.empty()) {
    QStringList names;
    for (const ApplyConflict& conflict : plan.conflicts) names << QString::fromStdString(conflict.Text());
    if (!services.Ask(parent,
                      QStringLiteral("Entries this design did not write hold its names:\n") +
                          Shortened(names.join(u'\n').toStdString()) +
                          QStringLiteral("\n\nDo you want to replace them?"),
                      title)) {
      return false;
    }
    plan = PlanApply(*file, sources, true);
  }
  if (!plan.Ready()) {
    services.Inform(parent, QStringLiteral("Nothing was written to %1:\n").arg(where) + Shortened(plan.Text()), title);
    return false;
  }
  auto remember = [&] {
    auto written = record.Written();
    SetWrittenNames(written, key, plan.written.front());
    record.SetWritten(std::move(written));
  };
  if (!plan.Changed()) {
    remember();
    services.Inform(parent, QStringLiteral("%1 already holds these entries; nothing to change.").arg(where), title);
    return false;
  }
  const CheckReport report = CheckApplied(plan, ReadGameData(session.ModDir(), session.SEIVDir()));
  QString question = QStringLiteral("These changes will be written to %1:\n").arg(where) + Shortened(plan.Text());
  if (!report.Clean()) question += QStringLiteral("\n\nGame check:\n") + Shortened(report.Text(kMaxApplyLinesShown));
  if (!services.Ask(parent, question + QStringLiteral("\n\nDo you want to apply them?"), title)) return false;
  if (!WriteAppliedFile(target, plan, error)) {
    services.Inform(parent, QString::fromStdString(error), title);
    return false;
  }
  remember();
  services.Inform(parent, QStringLiteral("Written. The previous file is kept as %1.bak.").arg(where), title);
  return true;
}

}  // namespace vorlane
