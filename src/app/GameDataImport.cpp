// File > Import from Game Data (DesignFiles): the file, the family, the
// import's own check, and the design shown in the design sheet.
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include "app/DesignFiles.h"
#include "app/HQ.h"
#include "app/HostWindow.h"
#include "gamedata/Apply.h"
#include "gamedata/DataFile.h"
#include "gamedata/Families.h"
#include "gamedata/Import.h"
#include "gui/Services.h"
#include "gui/WizardPage.h"

namespace vorlane {

namespace {

// Lines of what the import does not reproduce shown at most.
constexpr int kMaxGapsShown = 25;

}  // namespace

bool DesignFiles::ImportFromGameData() {
  if (Busy()) return false;
  const DesignKind shown = currentKind_;
  if (HasUnsavedChanges(shown) && !SettleUnsaved(shown == DesignKind::Component, shown == DesignKind::Facility)) {
    return false;
  }
  if (!MayLeaveSetup()) return false;
  const QString title = QStringLiteral("Import from Game Data");
  QString start = QDir::homePath();
  for (const std::string& dir : {hq_.SEIVDir(), hq_.ModDir()}) {
    if (!dir.empty()) start = QDir(QString::fromStdString(dir)).filePath(QStringLiteral("Data"));
  }
  const QString path = hq_.services().OpenFileName(
      Parent(), title, QStringLiteral("Game data files (*.txt);;All files (*)"), start);
  if (path.isEmpty()) return false;
  const QFileInfo info(path);
  std::string error;
  auto file = ReadDataFile(info.filesystemAbsoluteFilePath(), error);
  if (!file) {
    hq_.services().Inform(Parent(), QStringLiteral("The file could not be read.\n") + QString::fromStdString(error), title);
    return false;
  }
  const std::vector<Family> families = FindFamilies(*file, IsFacilityFile(info.filesystemAbsoluteFilePath()));
  if (families.empty()) {
    hq_.services().Inform(Parent(), QStringLiteral("The file holds no entries."), title);
    return false;
  }
  QStringList items =
      QString::fromStdString(FamilyListText(*file, families)).split(u'\n', Qt::SkipEmptyParts);
  // The search finds a family by any of its entries' names.
  QStringList names;
  for (const Family& family : families) {
    QStringList members;
    for (std::size_t e : family.members) members << QString::fromStdString(file->entries[e].name);
    names << members.join(u'\n');
  }
  const std::optional<int> chosen = hq_.services().ChooseFromList(
      Parent(), title, QStringLiteral("Choose the entry or family to import:"), items, names);
  if (!chosen) return false;
  const Family& family = families[static_cast<std::size_t>(*chosen)];
  const ImportResult result = ImportFamily(*file, family, DataFileKey(info.filesystemAbsoluteFilePath()));
  if (!result.gaps.empty()) {
    hq_.services().Inform(Parent(),
                          QStringLiteral("The design does not give back everything the file holds:\n") +
                              QString::fromStdString(GapsText(result.gaps, kMaxGapsShown)).trimmed(),
                          title);
  }
  const DesignKind kind = result.design.kind;
  if (kind != shown && HasUnsavedChanges(kind) &&
      !SettleUnsaved(kind == DesignKind::Component, kind == DesignKind::Facility)) {
    return false;
  }
  if (auto* page = qobject_cast<WizardPage*>(host_.CurrentPage()); page && KindOfPage(page) != kind) {
    page->StoreFields();
  }
  // A new design without a file: its changes are unsaved until it is saved.
  if (kind == DesignKind::Component) {
    hq_.Component() = result.design.component;
    savedComponent_ = vrlComponent{};
  } else {
    hq_.Facility() = result.design.facility;
    savedFacility_ = vrlFacility{};
  }
  PathOf(kind).clear();
  currentKind_ = kind;
  hq_.ShowDesignSheet(kind);
  Refresh();
  return true;
}

}  // namespace vorlane
