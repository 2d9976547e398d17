// The live entry beside the design sheet's fields: which entry to show (a
// level, or a position along each requirement of a grid), the entry itself in
// a fixed-pitch font, where it failed, and on request what changed against
// the design as last saved. The entry and the changes are shown in line
// views, which lay out only the lines in view: an entry of 200,000 lines
// costs no more to show anew than one of 20. The work runs off the GUI thread (LiveComputer);
// only the newest request's result is ever shown.
#pragma once

#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "gui/LatestJob.h"
#include "sheet/SheetRecord.h"

class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QGridLayout;

namespace vorlane {

class LineTextView;

// The live jobs: only the newest request's result is shown.
class LiveComputer : public LatestJob<LiveResult> {
 public:
  using LatestJob::LatestJob;
};

class LiveEntryPanel : public QWidget {
  Q_OBJECT

 public:
  explicit LiveEntryPanel(QWidget* parent = nullptr);

  // The selectors for the design's shape: levels 1..`levels`, or one
  // position 1..size per requirement of a grid. Positions chosen before are
  // kept where they still fit.
  void SetShape(bool grid, int levels, const std::vector<int>& gridSizes);
  EntryPoint Point() const;
  void SetPoint(const EntryPoint& point);
  bool ChangesShown() const;

  void ShowResult(const LiveResult& result);

  // The tabs beside the fields: "Entry" first; more views (curves) go here.
  QTabWidget* Tabs() const { return tabs_; }
  LineTextView* EntryText() const { return txtEntry_; }
  LineTextView* ChangesText() const { return txtChanges_; }
  QLabel* Status() const { return lblStatus_; }
  QPushButton* ChangesButton() const { return cmdChanges_; }

 signals:
  // The user chose another entry or asked for the changes.
  void RequestChanged();

 private:
  QTabWidget* tabs_;
  QWidget* selectors_;
  QGridLayout* selectorGrid_;
  std::vector<QSpinBox*> positions_;
  bool grid_ = false;
  LineTextView* txtEntry_;
  QLabel* lblStatus_;
  QPushButton* cmdChanges_;
  LineTextView* txtChanges_;
};

}  // namespace vorlane
