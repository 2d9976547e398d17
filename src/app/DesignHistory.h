// Undo and redo of every change to the two designs, and the host window's
// Edit menu (Undo, Redo) that offers them.
//
// Every change is a step of the design it changed, whichever view made it:
// the design sheet writes into the record and says so (DesignEdited); a
// wizard page writes its fields only when left, so the history takes what the
// page shows (as Save does) whenever one of its controls changes, and what
// leaving it wrote. A step holds the design before and after it and is named
// by the field it changed ("Undo Minerals Cost", generate/DesignChange.h);
// typing on in the same field stays in the same step until the focus moves,
// the design is saved, or a step is undone.
//
// Undo and Redo act on the design of the page shown and show the design as
// the step left it: the sheet reloads its fields; in the wizard, the page
// where the change was made opens anew from the record, at its entry, with
// the focus in the field. The window's modified mark follows, as it compares
// the design with its file. A focused text box undoes its own typing first,
// as Qt's boxes do; once it has nothing left to undo, the keys reach the
// design's history.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "generate/DesignChange.h"
#include "generate/DesignFile.h"
#include "gui/PageId.h"

class QAction;

namespace vorlane {

class HQ;
class HostedPage;
class HostWindow;

class DesignHistory : public QObject {
  Q_OBJECT

 public:
  DesignHistory(HQ& hq, HostWindow& host);
  ~DesignHistory() override;

  QAction* UndoAction() const { return actUndo_; }
  QAction* RedoAction() const { return actRedo_; }

  // The names of the steps Undo and Redo would take back or do again for
  // the design shown ("Minerals Cost"); empty when there is none.
  QString UndoName() const;
  QString RedoName() const;
  // The menu's commands: a focused text box that can undo (redo) its own
  // typing does that; else the design's step.
  void Undo();
  void Redo();

  // Takes a change that is waiting to be taken now (the history takes the
  // changes of a page once the events of an edit are done).
  void Observe();
  // Ends the step being typed: the next change starts a new one.
  void EndTyping();
  // The design of `kind` was replaced (opened, made new, restored): its
  // history starts anew from the record.
  void Reset(DesignKind kind);

  // Steps kept for each design at most; the oldest go first. Large designs
  // keep fewer (about kMaxEntries list entries over all steps).
  static constexpr std::size_t kMaxSteps = 1000;
  static constexpr std::size_t kMaxEntries = 1'000'000;

 signals:
  // The design of `kind` changed by a step, an undo or a redo.
  void Changed(vorlane::DesignKind kind);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Where a change was made: the wizard page and its entry, or the sheet;
  // the control that had the focus.
  struct Where {
    std::optional<PageId> page;
    int entry = 0;
    QString focus;
  };
  using State = std::shared_ptr<const Design>;
  struct Step {
    DesignChange change;
    State before;
    State after;
    Where where;
  };
  struct Track {
    std::vector<Step> steps;
    std::size_t done = 0;  // steps[0, done) are in the design
    State state;           // the design as the history knows it
    bool typing = false;   // the last step may take more typing
    // What the page shown showed when it opened and at the last change
    // taken; a page may show a stored value its own way (0 levels as 1).
    State pageBase;
    State pageLast;
    bool pageTouched = false;
    Where lastWhere;
  };

  void CreateMenu();
  Track& TrackOf(DesignKind kind) { return tracks_[kind == DesignKind::Component ? 0 : 1]; }
  const Track& TrackOf(DesignKind kind) const { return tracks_[kind == DesignKind::Component ? 0 : 1]; }
  // The design of the page shown, when it may be changed now.
  std::optional<DesignKind> ShownKind() const;
  // The record of `kind` as a design; as the page shown would save it.
  Design Record(DesignKind kind) const;
  Design Shown(DesignKind kind) const;
  Where WhereNow() const;
  void Walk(bool undo);
  void Schedule();
  // Takes `now` as the design of `kind`: a new step, more typing in the
  // last one, or nothing.
  void Take(DesignKind kind, Design now, const Where& where);
  void Trim(Track& track);
  void PageChanged(HostedPage* page);
  // Opens the page's base for the history (the page shown now).
  void StartPage(HostedPage* page);
  void Apply(DesignKind kind, const State& state, const Where& where);
  void UpdateActions();

  HQ& hq_;
  HostWindow& host_;
  std::array<Track, 2> tracks_;
  QTimer observe_;
  std::optional<DesignKind> pendingKind_;
  Where pendingWhere_;
  bool applying_ = false;
  // The control that had the focus at the last change.
  QPointer<QWidget> typingIn_;
  QPointer<QAction> actUndo_;
  QPointer<QAction> actRedo_;
};

}  // namespace vorlane
