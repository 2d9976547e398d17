#include "app/DesignFiles.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>
#include <type_traits>

#include "app/HQ.h"
#include "app/HostWindow.h"
#include "app/frmMain.h"
#include "app/frmSetup.h"
#include "generate_ui/GeneratePage.h"
#include "gui/HostedPage.h"
#include "gui/LongLineEdit.h"
#include "gui/Services.h"
#include "gui/WizardPage.h"
#include "sheet/DesignSheet.h"
#include "wizard/frmVehStart.h"

namespace vorlane {

const QString DesignFiles::kFilter = QStringLiteral("Vorlane designs (*.vorlane.json)");
const QString DesignFiles::kSuffix = QStringLiteral(".vorlane.json");

namespace {

// A design's name as plain text: brace groups and ampersand variables (an
// ampersand, the character after it, then letters and digits) are left out,
// "&&" stands for one ampersand, and runs of blanks become one.
QString PlainName(const QString& name) {
  QString plain;
  for (qsizetype i = 0; i < name.size(); ++i) {
    const QChar c = name[i];
    if (c == u'{') {
      int depth = 1;
      while (depth > 0 && ++i < name.size()) depth += name[i] == u'{' ? 1 : name[i] == u'}' ? -1 : 0;
    } else if (c == u'&' && i + 1 < name.size() && name[i + 1] == u'&') {
      plain += u'&';
      ++i;
    } else if (c == u'&') {
      ++i;
      while (i + 1 < name.size() && name[i + 1].unicode() < 128 && name[i + 1].isLetterOrNumber()) ++i;
    } else {
      plain += c;
    }
  }
  return plain.simplified();
}

// The file name the save dialog suggests for a design without a file: the
// design's plain name with the characters no file system takes replaced.
QString SuggestedFileName(const std::string& designName) {
  QString base = PlainName(QString::fromStdString(designName));
  for (QChar& c : base) {
    if (c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c)) c = u'_';
  }
  if (base.isEmpty() || base.startsWith(u'.')) base.prepend(QStringLiteral("design"));
  return base + DesignFiles::kSuffix;
}

}  // namespace

DesignFiles::DesignFiles(HQ& hq, HostWindow& host) : hq_(hq), host_(host) {
  refresh_.setSingleShot(true);
  refresh_.setInterval(0);
  connect(&refresh_, &QTimer::timeout, this, [this] { Refresh(); });
  CreateMenu();
  connect(&host_, &HostWindow::PageChanged, this, [this](HostedPage* page) { PageChanged(page); });
  host_.SetQuitGuard([this] { return ConfirmQuit(); });
}

DesignFiles::~DesignFiles() {
  host_.SetQuitGuard({});
  host_.SetTitleSuffix(QString());
}

void DesignFiles::CreateMenu() {
  // "&File" would take Alt+F from the "&Fighter" and "&Fighters" check boxes.
  // The File menu comes first, before the host's Help menu.
  QMenu* file = new QMenu(QStringLiteral("Fi&le"), host_.menuBar());
  host_.menuBar()->insertMenu(host_.menuBar()->actions().value(0), file);
  file->setObjectName(QStringLiteral("mnuFile"));
  QMenu* newDesign = file->addMenu(QStringLiteral("New Design"));
  newDesign->setObjectName(QStringLiteral("mnuNewDesign"));
  auto addNew = [&](const char* name, const QString& text, DesignKind kind) {
    QAction* action = newDesign->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [this, kind] { NewDesign(kind); });
  };
  addNew("actNewComponent", QStringLiteral("Component"), DesignKind::Component);
  addNew("actNewFacility", QStringLiteral("Facility"), DesignKind::Facility);
  auto add = [&](const char* name, const QString& text, QKeySequence keys, auto handler) {
    QAction* action = file->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  actOpen_ = add("actOpenDesign", QStringLiteral("Open Design…"), QKeySequence(Qt::CTRL | Qt::Key_O),
                 [this] { Open(); });
  add("actImportGameData", QStringLiteral("Import from Game Data…"), QKeySequence(), [this] { ImportFromGameData(); });
  actSaveAs_ = add("actSaveDesignAs", QStringLiteral("Save Design As…"),
                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { SaveAs(); });
  actSave_ = add("actSaveDesign", QStringLiteral("Save Design"), QKeySequence(Qt::CTRL | Qt::Key_S),
                 [this] { Save(); });
  file->addSeparator();
  actQuit_ = add("actQuit", QStringLiteral("Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { Quit(); });
  actSave_->setEnabled(false);
  // The commands refuse to work during a generation; the open menu shows it.
  // The state is not kept, as nothing reports the generation's end.
  connect(file, &QMenu::aboutToShow, this, [this] {
    Refresh();
    if (!Busy()) return;
    for (QAction* action : {actOpen_.data(), actSaveAs_.data(), actSave_.data(), actQuit_.data()}) {
      action->setEnabled(false);
    }
  });
  connect(file, &QMenu::aboutToHide, this, [this] {
    for (QAction* action : {actOpen_.data(), actQuit_.data()}) action->setEnabled(true);
    Refresh();
  });
}

// A generation runs inside its page's Next and reads the record meanwhile:
// nothing may replace the record or the page, or end the program, under it.
bool DesignFiles::Busy() const {
  auto* page = qobject_cast<GeneratePage*>(host_.CurrentPage());
  return page && page->Generating();
}

bool DesignFiles::DesignShown() const {
  return !qobject_cast<frmSetup*>(host_.CurrentPage()) && !qobject_cast<frmVehStart*>(host_.CurrentPage());
}

void DesignFiles::Reset() {
  componentPath_.clear();
  facilityPath_.clear();
  savedComponent_ = hq_.Component();
  savedFacility_ = hq_.Facility();
  currentKind_ = DesignKind::Component;
  TakeBaseline();
  emit DesignReplaced(DesignKind::Component);
  emit DesignReplaced(DesignKind::Facility);
  Refresh();
}

QString DesignFiles::FilePath(DesignKind kind) const {
  return kind == DesignKind::Component ? componentPath_ : facilityPath_;
}

std::optional<DesignKind> DesignFiles::KindOfPage(const QWidget* page) {
  auto* wizardPage = qobject_cast<const WizardPage*>(page);
  return wizardPage ? wizardPage->Kind() : std::nullopt;
}

WizardPage* DesignFiles::PageOf(DesignKind kind) const {
  auto* page = qobject_cast<WizardPage*>(host_.CurrentPage());
  return page && KindOfPage(page) == kind ? page : nullptr;
}

template <class Record>
Record DesignFiles::Shown(Record& record, DesignKind kind) {
  WizardPage* page = PageOf(kind);
  if (!page) return record;
  if constexpr (std::is_same_v<Record, vrlComponent>) {
    return page->ComponentSnapshot();
  } else {
    return page->FacilitySnapshot();
  }
}

template <class Record>
bool DesignFiles::Unsaved(Record& record, const Record& saved, const std::optional<Record>& baseline,
                          DesignKind kind) {
  if (record != saved) return true;
  // A page may show a record's value in its own form (a level count of 0 as
  // 1); only what the user changed on it counts.
  return baseline && PageOf(kind) && Shown(record, kind) != *baseline;
}

vrlComponent DesignFiles::ShownComponent() { return Shown(hq_.Component(), DesignKind::Component); }
vrlFacility DesignFiles::ShownFacility() { return Shown(hq_.Facility(), DesignKind::Facility); }

bool DesignFiles::HasUnsavedChanges(DesignKind kind) {
  if (kind == DesignKind::Component) return Unsaved(hq_.Component(), savedComponent_, componentBaseline_, kind);
  return Unsaved(hq_.Facility(), savedFacility_, facilityBaseline_, kind);
}

void DesignFiles::TakeBaseline() {
  componentBaseline_.reset();
  facilityBaseline_.reset();
  if (!PageOf(currentKind_)) return;
  if (currentKind_ == DesignKind::Component) {
    componentBaseline_ = Shown(hq_.Component(), currentKind_);
  } else {
    facilityBaseline_ = Shown(hq_.Facility(), currentKind_);
  }
}

void DesignFiles::PageChanged(HostedPage* page) {
  if (std::optional<DesignKind> kind = KindOfPage(page)) {
    currentKind_ = *kind;
  } else if (auto* menu = qobject_cast<frmMain*>(page)) {
    auto follow = [this, menu] {
      if (menu->optCreate(0)->isChecked()) {
        currentKind_ = DesignKind::Component;
      } else if (menu->optCreate(1)->isChecked()) {
        currentKind_ = DesignKind::Facility;
      }
      ScheduleRefresh();
    };
    follow();
    for (int i = 0; i < 2; ++i) connect(menu->optCreate(i), &QAbstractButton::toggled, this, follow);
  }
  TakeBaseline();
  // Every edit may make the design differ from its file.
  if (page) {
    auto changed = [this] {
      ScheduleRefresh();
      emit ShownDesignEdited();
    };
    if (auto* sheet = qobject_cast<DesignSheet*>(page)) connect(sheet, &DesignSheet::RecordEdited, this, changed);
    for (QWidget* w : page->findChildren<QWidget*>()) {
      if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        connect(edit, &QLineEdit::textChanged, this, changed);
      } else if (auto* longEdit = qobject_cast<LongLineEdit*>(w)) {
        connect(longEdit, &LongLineEdit::textEdited, this, changed);
      } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        connect(combo, &QComboBox::currentIndexChanged, this, changed);
      } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        connect(button, &QAbstractButton::toggled, this, changed);
        connect(button, &QAbstractButton::clicked, this, changed);
      } else if (auto* slider = qobject_cast<QAbstractSlider*>(w)) {
        connect(slider, &QAbstractSlider::valueChanged, this, changed);
      } else if (auto* text = qobject_cast<QTextEdit*>(w)) {
        connect(text, &QTextEdit::textChanged, this, changed);
      } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        connect(plain, &QPlainTextEdit::textChanged, this, changed);
      }
    }
  }
  Refresh();
}

void DesignFiles::Refresh() {
  refresh_.stop();
  const DesignKind kind = currentKind_;
  const QString& path = PathOf(kind);
  const bool shown = DesignShown();
  const bool unsaved = shown && HasUnsavedChanges(kind);
  // A design without a file keeps the page's own title; the quit question
  // still guards its changes. The setup and vehicle pages show no design.
  QString suffix;
  if (shown && !path.isEmpty()) {
    suffix = QStringLiteral(" - ") + QFileInfo(path).fileName();
    if (unsaved) suffix += QStringLiteral(" *");
  }
  host_.SetTitleSuffix(suffix);
  if (actSave_) actSave_->setEnabled(shown);
  if (actSaveAs_) actSaveAs_->setEnabled(shown);
}

QWidget* DesignFiles::Parent() const {
  if (HostedPage* page = host_.CurrentPage()) return page;
  return &host_;
}

// The folder a design file was last opened from or saved to; before that the
// folder of the kind's file, else the home folder.
QString DesignFiles::StartDir(DesignKind kind) const {
  if (const std::string& last = hq_.Places().DesignFolder; !last.empty()) return QString::fromStdString(last);
  const QString& path = kind == DesignKind::Component ? componentPath_ : facilityPath_;
  if (!path.isEmpty()) return QFileInfo(path).absolutePath();
  return QDir::homePath();
}

// Offered first by the next Open or Save, also in the next run.
void DesignFiles::RememberFolder(const QFileInfo& file) {
  RememberedPlaces places = hq_.Places();
  places.DesignFolder = file.absolutePath().toStdString();
  hq_.RememberPlaces(places);
}

bool DesignFiles::SettleUnsaved(bool component, bool facility) {
  QString which;
  if (component && facility) {
    which = QStringLiteral("The component and facility designs have unsaved changes.");
  } else {
    which = QStringLiteral("The %1 design has unsaved changes.")
                .arg(component ? QStringLiteral("component") : QStringLiteral("facility"));
  }
  switch (hq_.services().AskToSave(Parent(), which + QStringLiteral("\nDo you want to save your changes?"))) {
    case SaveAnswer::Discard:
      return true;
    case SaveAnswer::Cancel:
      return false;
    case SaveAnswer::Save:
      break;
  }
  return (!component || SaveKind(DesignKind::Component)) && (!facility || SaveKind(DesignKind::Facility));
}

bool DesignFiles::Open() {
  if (Busy()) return false;
  // Asked before the dialog about the design on screen; a file of the other
  // kind is asked about once it is read.
  const DesignKind shown = currentKind_;
  if (HasUnsavedChanges(shown) &&
      !SettleUnsaved(shown == DesignKind::Component, shown == DesignKind::Facility)) {
    return false;
  }
  if (!MayLeaveSetup()) return false;
  const QString path = hq_.services().OpenFileName(Parent(), QStringLiteral("Open Design"),
                                                    kFilter + QStringLiteral(";;All files (*)"),
                                                    StartDir(currentKind_));
  if (path.isEmpty()) return false;
  return OpenFile(path, shown, true);
}

bool DesignFiles::OpenFile(const QString& path) { return OpenFile(path, std::nullopt, false); }

// Directories typed on the setup page are asked about as its Cancel does.
bool DesignFiles::MayLeaveSetup() {
  auto* setup = qobject_cast<frmSetup*>(host_.CurrentPage());
  return !setup || !setup->DirsChanged ||
         hq_.services().Ask(Parent(), QStringLiteral("Do you want to lose your changes?"));
}

bool DesignFiles::OpenFile(const QString& path, std::optional<DesignKind> settled, bool setupAsked) {
  if (Busy()) return false;
  const QFileInfo file(path);
  std::string error;
  std::optional<Design> design = LoadDesignFile(file.filesystemAbsoluteFilePath(), error);
  if (!design) {
    hq_.services().Inform(Parent(),
                          QStringLiteral("The design could not be opened.\n") + QString::fromStdString(error));
    return false;
  }
  const DesignKind kind = design->kind;
  if (kind != settled && HasUnsavedChanges(kind) &&
      !SettleUnsaved(kind == DesignKind::Component, kind == DesignKind::Facility)) {
    return false;
  }
  if (!setupAsked && !MayLeaveSetup()) return false;
  HostedPage* current = host_.CurrentPage();
  // A page of the other design keeps what it shows, as Back would.
  if (auto* page = qobject_cast<WizardPage*>(current)) {
    std::optional<DesignKind> pageKind = KindOfPage(page);
    if (pageKind && *pageKind != kind) page->StoreFields();
  }

  if (kind == DesignKind::Component) {
    hq_.Component() = design->component;
    savedComponent_ = design->component;
  } else {
    hq_.Facility() = design->facility;
    savedFacility_ = design->facility;
  }
  PathOf(kind) = file.absoluteFilePath();
  RememberFolder(file);
  currentKind_ = kind;
  emit DesignReplaced(kind);
  ShowDesign(kind);
  Refresh();
  return true;
}

bool DesignFiles::NewDesign(DesignKind kind) {
  if (Busy()) return false;
  if (HasUnsavedChanges(kind) &&
      !SettleUnsaved(kind == DesignKind::Component, kind == DesignKind::Facility)) {
    return false;
  }
  if (!MayLeaveSetup()) return false;
  // A page of the other design keeps what it shows, as Back would.
  if (auto* page = qobject_cast<WizardPage*>(host_.CurrentPage()); page && KindOfPage(page) != kind) {
    page->StoreFields();
  }
  if (kind == DesignKind::Component) {
    hq_.Component() = vrlComponent{};
    savedComponent_ = hq_.Component();
  } else {
    hq_.Facility() = vrlFacility{};
    savedFacility_ = hq_.Facility();
  }
  PathOf(kind).clear();
  currentKind_ = kind;
  emit DesignReplaced(kind);
  ShowDesign(kind);
  Refresh();
  return true;
}

void DesignFiles::ShowDesign(DesignKind kind) {
  if (hq_.SheetShown()) {
    hq_.ShowDesignSheet(kind);
  } else {
    hq_.ShowWizard(kind);
  }
}

bool DesignFiles::Save() {
  if (Busy() || !DesignShown()) return false;
  return SaveKind(currentKind_);
}

bool DesignFiles::SaveKind(DesignKind kind) {
  const QString path = PathOf(kind);
  if (path.isEmpty()) return SaveAs(kind);
  return SaveTo(kind, path);
}

bool DesignFiles::SaveAs() {
  if (Busy() || !DesignShown()) return false;
  return SaveAs(currentKind_);
}

bool DesignFiles::SaveAs(DesignKind kind) {
  QString name = QFileInfo(PathOf(kind)).fileName();
  if (name.isEmpty()) {
    name = SuggestedFileName(kind == DesignKind::Component ? Shown(hq_.Component(), kind).CompName()
                                                           : Shown(hq_.Facility(), kind).FacName());
  }
  const QString start = QDir(StartDir(kind)).filePath(name);
  QString path = hq_.services().SaveFileName(Parent(), QStringLiteral("Save Design As"), kFilter, start);
  if (path.isEmpty()) return false;
  // The dialog has asked about replacing the name chosen, but not about the
  // name with the ending added.
  if (!path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)) {
    path += kSuffix;
    if (QFileInfo::exists(path) &&
        !hq_.services().Ask(Parent(), QStringLiteral("\"%1\" already exists.\nDo you want to replace it?")
                                          .arg(QFileInfo(path).fileName()))) {
      return false;
    }
  }
  return SaveTo(kind, path);
}

bool DesignFiles::SaveTo(const QString& path) {
  if (Busy()) return false;
  return SaveTo(currentKind_, path);
}

bool DesignFiles::SaveTo(DesignKind kind, const QString& path) {
  if (WizardPage* page = PageOf(kind)) page->StoreFields();
  const QFileInfo file(path);
  std::string error;
  const bool saved = kind == DesignKind::Component
                         ? SaveDesignFile(file.filesystemAbsoluteFilePath(), hq_.Component(), error)
                         : SaveDesignFile(file.filesystemAbsoluteFilePath(), hq_.Facility(), error);
  if (!saved) {
    hq_.services().Inform(Parent(), QStringLiteral("The design could not be saved.\n") + QString::fromStdString(error));
    Refresh();
    return false;
  }
  if (kind == DesignKind::Component) {
    savedComponent_ = hq_.Component();
  } else {
    savedFacility_ = hq_.Facility();
  }
  TakeBaseline();
  PathOf(kind) = file.absoluteFilePath();
  RememberFolder(file);
  Refresh();
  emit Saved(kind);
  return true;
}

void DesignFiles::Quit() {
  if (!Busy()) host_.EndProgram();
}

bool DesignFiles::ConfirmQuit() {
  const bool component = HasUnsavedChanges(DesignKind::Component);
  const bool facility = HasUnsavedChanges(DesignKind::Facility);
  if ((component || facility) && !SettleUnsaved(component, facility)) return false;
  emit QuitConfirmed();
  return true;
}

void DesignFiles::Restore(const Design& design, const QString& origin) {
  const DesignKind kind = design.kind;
  // A page of the other design keeps what it shows, as Back would.
  if (auto* page = qobject_cast<WizardPage*>(host_.CurrentPage()); page && KindOfPage(page) != kind) {
    page->StoreFields();
  }
  std::optional<Design> file;
  if (!origin.isEmpty()) {
    std::string error;
    file = LoadDesignFile(QFileInfo(origin).filesystemAbsoluteFilePath(), error);
    if (file && file->kind != kind) file.reset();
  }
  if (kind == DesignKind::Component) {
    hq_.Component() = design.component;
    savedComponent_ = file ? file->component : vrlComponent{};
  } else {
    hq_.Facility() = design.facility;
    savedFacility_ = file ? file->facility : vrlFacility{};
  }
  PathOf(kind) = file ? QFileInfo(origin).absoluteFilePath() : QString();
  currentKind_ = kind;
  emit DesignReplaced(kind);
  ShowDesign(kind);
  Refresh();
}

}  // namespace vorlane
