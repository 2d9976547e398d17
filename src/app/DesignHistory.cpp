#include "app/DesignHistory.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <algorithm>

#include "app/DesignFiles.h"
#include "app/HQ.h"
#include "app/HostWindow.h"
#include "generate_ui/GeneratePage.h"
#include "gui/PageParts.h"
#include "gui/WizardPage.h"
#include "sheet/DesignSheet.h"
#include "wizard/AbilityPage.h"
#include "wizard/TechPage.h"

namespace vorlane {

namespace {

bool Same(const Design& a, const Design& b) {
  return a.kind == DesignKind::Component ? a.component == b.component : a.facility == b.facility;
}

DesignChange Find(const Design& a, const Design& b) {
  return a.kind == DesignKind::Component ? FindChange(a.component, b.component) : FindChange(a.facility, b.facility);
}

std::size_t Entries(const Design& design) {
  const DesignRecord& record = design.kind == DesignKind::Component ? static_cast<const DesignRecord&>(design.component)
                                                                     : design.facility;
  return 1 + static_cast<std::size_t>(std::max<int>(0, record.NumTechReqs())) +
         static_cast<std::size_t>(std::max<int>(0, record.NumAbils()));
}

// The undo and redo keys: Qt's for the system, and Ctrl+Y beside Ctrl+Shift+Z.
const QKeySequence kRedoKeys[] = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)};

bool IsRedoKey(QKeyEvent* key) {
  if (key->matches(QKeySequence::Redo)) return true;
  const QKeySequence pressed(key->keyCombination());
  return std::any_of(std::begin(kRedoKeys), std::end(kRedoKeys), [&](const QKeySequence& k) { return k == pressed; });
}

// What a focused text box can undo or redo of its own typing.
struct TextBox {
  QWidget* widget = nullptr;
  bool canUndo = false;
  bool canRedo = false;
};

TextBox FocusedTextBox() {
  QWidget* focus = QApplication::focusWidget();
  if (auto* edit = qobject_cast<QLineEdit*>(focus); edit && !edit->isReadOnly()) {
    return {edit, edit->isUndoAvailable(), edit->isRedoAvailable()};
  }
  if (auto* text = qobject_cast<QTextEdit*>(focus); text && !text->isReadOnly()) {
    return {text, text->document()->isUndoAvailable(), text->document()->isRedoAvailable()};
  }
  if (auto* plain = qobject_cast<QPlainTextEdit*>(focus); plain && !plain->isReadOnly()) {
    return {plain, plain->document()->isUndoAvailable(), plain->document()->isRedoAvailable()};
  }
  return {};
}

void UndoIn(QWidget* box, bool undo) {
  if (auto* edit = qobject_cast<QLineEdit*>(box)) {
    undo ? edit->undo() : edit->redo();
  } else if (auto* text = qobject_cast<QTextEdit*>(box)) {
    undo ? text->undo() : text->redo();
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(box)) {
    undo ? plain->undo() : plain->redo();
  }
}

}  // namespace

DesignHistory::DesignHistory(HQ& hq, HostWindow& host) : hq_(hq), host_(host) {
  observe_.setSingleShot(true);
  observe_.setInterval(0);
  connect(&observe_, &QTimer::timeout, this, [this] { Observe(); });
  CreateMenu();
  DesignFiles& designs = hq_.Designs();
  connect(&designs, &DesignFiles::ShownDesignEdited, this, [this] { Schedule(); });
  connect(&designs, &DesignFiles::DesignReplaced, this, [this](DesignKind kind) { Reset(kind); });
  connect(&designs, &DesignFiles::Saved, this, [this] { EndTyping(); });
  connect(&host_, &HostWindow::PageChanged, this, [this](HostedPage* page) { PageChanged(page); });
  // A move of the focus to another control of the page ends the typing,
  // after what was typed is taken; the menu bar, a menu or a message box
  // taking the focus meanwhile does not.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    HostedPage* page = host_.CurrentPage();
    if (now && page && page->isAncestorOf(now) && now != typingIn_) EndTyping();
  });
  qApp->installEventFilter(this);
  Reset(DesignKind::Component);
  Reset(DesignKind::Facility);
}

DesignHistory::~DesignHistory() { qApp->removeEventFilter(this); }

void DesignHistory::CreateMenu() {
  // File, Edit, View, Help.
  auto* edit = new QMenu(QStringLiteral("&Edit"), host_.menuBar());
  QAction* before = nullptr;
  const QList<QAction*> menus = host_.menuBar()->actions();
  for (qsizetype i = 0; i < menus.size(); ++i) {
    if (menus[i]->menu() && menus[i]->menu()->objectName() == QStringLiteral("mnuFile")) before = menus.value(i + 1);
  }
  host_.menuBar()->insertMenu(before, edit);
  edit->setObjectName(QStringLiteral("mnuEdit"));
  actUndo_ = edit->addAction(QStringLiteral("&Undo"));
  actUndo_->setObjectName(QStringLiteral("actUndo"));
  actUndo_->setShortcut(QKeySequence::Undo);
  actRedo_ = edit->addAction(QStringLiteral("&Redo"));
  actRedo_->setObjectName(QStringLiteral("actRedo"));
  actRedo_->setShortcuts(QList<QKeySequence>(std::begin(kRedoKeys), std::end(kRedoKeys)));
  connect(actUndo_, &QAction::triggered, this, [this] { Undo(); });
  connect(actRedo_, &QAction::triggered, this, [this] { Redo(); });
  connect(edit, &QMenu::aboutToShow, this, [this] {
    Observe();
    UpdateActions();
  });
  UpdateActions();
}

// A text box takes Ctrl+Z (and its redo keys) before any menu does; when it
// has nothing of its own to undo, the keys go to the Edit menu instead.
bool DesignHistory::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride) return QObject::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  const bool undo = key->matches(QKeySequence::Undo);
  const bool redo = !undo && IsRedoKey(key);
  if (!undo && !redo) return false;
  const TextBox box = FocusedTextBox();
  if (!box.widget || watched != box.widget) return false;
  if (undo ? box.canUndo : box.canRedo) {
    if (redo && !key->matches(QKeySequence::Redo)) {
      // A redo key the box does not know (Ctrl+Y here): it redoes all the same.
      UndoIn(box.widget, false);
      event->accept();
      return true;
    }
    return false;
  }
  Observe();
  UpdateActions();
  event->ignore();
  return true;
}

std::optional<DesignKind> DesignHistory::ShownKind() const {
  HostedPage* page = host_.CurrentPage();
  if (auto* generate = qobject_cast<GeneratePage*>(page); generate && generate->Generating()) return std::nullopt;
  return DesignFiles::KindOfPage(page);
}

Design DesignHistory::Record(DesignKind kind) const {
  Design design;
  design.kind = kind;
  if (kind == DesignKind::Component) {
    design.component = hq_.Component();
  } else {
    design.facility = hq_.Facility();
  }
  return design;
}

Design DesignHistory::Shown(DesignKind kind) const {
  auto* page = qobject_cast<WizardPage*>(host_.CurrentPage());
  if (!page || page->Kind() != kind || qobject_cast<DesignSheet*>(page)) return Record(kind);
  Design design;
  design.kind = kind;
  if (kind == DesignKind::Component) {
    design.component = page->ComponentSnapshot();
  } else {
    design.facility = page->FacilitySnapshot();
  }
  return design;
}

DesignHistory::Where DesignHistory::WhereNow() const {
  Where where;
  HostedPage* page = host_.CurrentPage();
  auto* wizard = qobject_cast<WizardPage*>(page);
  if (!wizard) return where;
  where.page = wizard->Step();
  if (auto* tech = qobject_cast<TechPage*>(page)) where.entry = tech->CurrentTechReq();
  if (auto* ability = qobject_cast<AbilityPage*>(page)) where.entry = ability->CurrentAbil();
  // The named control that holds the focus (an editable combo box's line).
  for (QWidget* w = QApplication::focusWidget(); w && w != page && page->isAncestorOf(w); w = w->parentWidget()) {
    if (!w->objectName().isEmpty() && !w->objectName().startsWith(QStringLiteral("qt_"))) {
      where.focus = w->objectName();
      break;
    }
  }
  return where;
}

void DesignHistory::Schedule() {
  if (applying_) return;
  const std::optional<DesignKind> kind = ShownKind();
  if (!kind) return;
  pendingKind_ = kind;
  pendingWhere_ = WhereNow();
  typingIn_ = QApplication::focusWidget();
  observe_.start();
}

void DesignHistory::Observe() {
  observe_.stop();
  if (!pendingKind_) return;
  const DesignKind kind = *pendingKind_;
  pendingKind_.reset();
  if (ShownKind() != kind) return;
  Take(kind, Shown(kind), pendingWhere_);
}

void DesignHistory::EndTyping() {
  Observe();
  for (Track& track : tracks_) track.typing = false;
}

void DesignHistory::Reset(DesignKind kind) {
  observe_.stop();
  pendingKind_.reset();
  Track& track = TrackOf(kind);
  track = Track{};
  track.state = std::make_shared<const Design>(Record(kind));
  UpdateActions();
}

void DesignHistory::Take(DesignKind kind, Design now, const Where& where) {
  Track& t = TrackOf(kind);
  if (Same(now, *t.state)) {
    t.pageLast = t.state;
    return;
  }
  // What an untouched page shows of the record is no change of the user's.
  if (!t.pageTouched && t.pageBase && Same(now, *t.pageBase)) {
    t.state = t.pageBase;
    t.pageLast = t.pageBase;
    return;
  }
  // Named by what changed since the page last showed, so that a stored value
  // the page shows its own way does not name it.
  const DesignChange change = Find(t.pageLast ? *t.pageLast : *t.state, now);
  auto after = std::make_shared<const Design>(std::move(now));
  if (t.typing && t.done > 0 && t.done == t.steps.size() && t.steps.back().where.page == where.page &&
      t.steps.back().change.ContinuedBy(change)) {
    Step& top = t.steps.back();
    top.after = after;
    if (Same(*top.after, *top.before)) {
      // Typed back to what it was: no step at all.
      t.steps.pop_back();
      --t.done;
      t.typing = false;
    }
  } else {
    t.steps.resize(t.done);
    t.steps.push_back({change, t.state, after, where});
    ++t.done;
    t.typing = true;
    Trim(t);
  }
  t.state = after;
  t.pageLast = after;
  t.pageTouched = true;
  t.lastWhere = where;
  UpdateActions();
  emit Changed(kind);
}

void DesignHistory::Trim(Track& track) {
  std::size_t entries = 0;
  for (const Step& step : track.steps) entries += Entries(*step.after);
  std::size_t drop = 0;
  while (track.steps.size() - drop > 1 && (track.steps.size() - drop > kMaxSteps || entries > kMaxEntries)) {
    entries -= Entries(*track.steps[drop].after);
    ++drop;
  }
  if (drop == 0) return;
  track.steps.erase(track.steps.begin(), track.steps.begin() + static_cast<std::ptrdiff_t>(drop));
  track.done -= std::min(track.done, drop);
}

// A page left wrote its fields (Next, Back, the sheet's view): what it wrote
// that the history has not seen yet is a step of the page left.
void DesignHistory::PageChanged(HostedPage* page) {
  const bool pending = pendingKind_.has_value();
  observe_.stop();
  pendingKind_.reset();
  for (DesignKind kind : {DesignKind::Component, DesignKind::Facility}) {
    Track& t = TrackOf(kind);
    t.typing = false;
    if (!applying_) Take(kind, Record(kind), pending ? pendingWhere_ : t.lastWhere);
  }
  StartPage(page);
  UpdateActions();
}

void DesignHistory::StartPage(HostedPage* page) {
  const std::optional<DesignKind> kind = DesignFiles::KindOfPage(page);
  for (DesignKind k : {DesignKind::Component, DesignKind::Facility}) {
    Track& t = TrackOf(k);
    t.pageBase.reset();
    t.pageLast.reset();
    t.pageTouched = false;
    if (kind == k) {
      t.pageBase = std::make_shared<const Design>(Shown(k));
      if (Same(*t.pageBase, *t.state)) t.pageBase = t.state;
      t.pageLast = t.pageBase;
    }
  }
  if (auto* sheet = qobject_cast<DesignSheet*>(page)) {
    connect(sheet, &DesignSheet::DesignEdited, this, &DesignHistory::Schedule, Qt::UniqueConnection);
  }
}

QString DesignHistory::UndoName() const {
  const std::optional<DesignKind> kind = ShownKind();
  if (!kind) return {};
  const Track& t = TrackOf(*kind);
  return t.done > 0 ? Q(t.steps[t.done - 1].change.Name()) : QString();
}

QString DesignHistory::RedoName() const {
  const std::optional<DesignKind> kind = ShownKind();
  if (!kind) return {};
  const Track& t = TrackOf(*kind);
  return t.done < t.steps.size() ? Q(t.steps[t.done].change.Name()) : QString();
}

void DesignHistory::Undo() { Walk(true); }

void DesignHistory::Redo() { Walk(false); }

// One step back (undo) or forward: in the focused text box while it has
// typing of its own to take back, else in the design's history.
void DesignHistory::Walk(bool undo) {
  if (const TextBox box = FocusedTextBox(); box.widget && (undo ? box.canUndo : box.canRedo)) {
    UndoIn(box.widget, undo);
    return;
  }
  Observe();
  const std::optional<DesignKind> kind = ShownKind();
  if (!kind) return;
  Track& t = TrackOf(*kind);
  if (undo ? t.done == 0 : t.done >= t.steps.size()) return;
  const Step& step = undo ? t.steps[--t.done] : t.steps[t.done++];
  Apply(*kind, undo ? step.before : step.after, step.where);
}

// Puts `state` in the record of `kind` and shows it: the sheet reloads; a
// wizard page of the design opens anew where the change was made.
void DesignHistory::Apply(DesignKind kind, const State& state, const Where& where) {
  const State keep = state;  // the step may go while pages change
  const Where at = where;
  Track& t = TrackOf(kind);
  t.typing = false;
  t.state = keep;
  t.lastWhere = at;
  if (kind == DesignKind::Component) {
    hq_.Component() = keep->component;
  } else {
    hq_.Facility() = keep->facility;
  }
  applying_ = true;
  HostedPage* page = host_.CurrentPage();
  QWidget* focusIn = nullptr;
  if (auto* sheet = qobject_cast<DesignSheet*>(page)) {
    sheet->ReloadFromRecord();
    StartPage(sheet);
    focusIn = sheet;
  } else if (auto* wizard = qobject_cast<WizardPage*>(page)) {
    const std::optional<PageId> step = at.page ? at.page : wizard->Step();
    if (WizardPage* fresh = step ? hq_.CreatePage(*step) : nullptr) {
      if (auto* tech = qobject_cast<TechPage*>(fresh); tech && at.entry > 0) {
        tech->SetCurrentTechReq(static_cast<std::int16_t>(at.entry));
        tech->RefreshForm();
      } else if (auto* ability = qobject_cast<AbilityPage*>(fresh); ability && at.entry > 0) {
        ability->SetCurrentAbil(static_cast<std::int16_t>(at.entry));
        ability->RefreshForm();
      }
      hq_.ShowPage(fresh);
      focusIn = fresh;
    }
  }
  applying_ = false;
  if (focusIn && !at.focus.isEmpty()) {
    if (auto* control = focusIn->findChild<QWidget*>(at.focus); control && control->isEnabled()) {
      control->setFocus(Qt::OtherFocusReason);
    }
  }
  // The focus moved before the next edit: that starts a new step.
  TrackOf(kind).typing = false;
  hq_.Designs().Refresh();
  UpdateActions();
  emit Changed(kind);
}

void DesignHistory::UpdateActions() {
  if (!actUndo_ || !actRedo_) return;
  const QString undo = UndoName();
  const QString redo = RedoName();
  actUndo_->setText(undo.isEmpty() ? QStringLiteral("&Undo") : QStringLiteral("&Undo ") + undo);
  actRedo_->setText(redo.isEmpty() ? QStringLiteral("&Redo") : QStringLiteral("&Redo ") + redo);
  actUndo_->setEnabled(!undo.isEmpty());
  actRedo_->setEnabled(!redo.isEmpty());
}

}  // namespace vorlane
