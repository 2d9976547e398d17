// The curves of a design: the user ticks one or several fields (and, for a
// grid, picks the requirement that varies and where the others are held), and
// the panel shows their values over the levels in a CurveView. The values are
// made by the generation module itself (MakeSeries) on a worker thread; a
// newer request cancels the older one and only the newest result is shown.
//
// The panel asks `snapshot` for a copy of the record whenever it is told the
// record changed (RecordChanged); it never touches the record itself.
#pragma once

#include <QWidget>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <variant>
#include <vector>

#include "generate/LiveEntry.h"
#include "gui/LatestJob.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QListView;
class QSpinBox;
class QTimer;

namespace vorlane {

class CurveView;
class CurveFieldModel;

using CurveDesign = std::variant<vrlComponent, vrlFacility>;

class CurvePanel : public QWidget {
  Q_OBJECT

 public:
  explicit CurvePanel(std::function<CurveDesign()> snapshot, QWidget* parent = nullptr);
  ~CurvePanel() override;

  // Ticks exactly these fields (those the design has) and recomputes.
  void SetChosenFields(const std::vector<FieldPlace>& fields);
  std::vector<FieldPlace> ChosenFields() const;
  // Grid designs: the requirement that varies (1..NumTechReqs) and the held
  // position of requirement i (1..NumTechReqs).
  void SetVaryingRequirement(int requirement);
  void SetHeldPosition(int requirement, int position);

  CurveView* View() const { return view_; }
  QListView* FieldList() const { return fields_; }
  // Requests made so far; the one whose result is showing.
  int Requests() const { return jobs_->Latest(); }
  int ShownRequest() const { return shown_; }

 public slots:
  // The record changed: take a new snapshot and recompute.
  void RecordChanged();

 signals:
  // The result of request `request` is showing.
  void CurvesShown(int request);

 private:
  void RebuildFields(const CurveDesign& design);
  void RebuildGrid(const CurveDesign& design);
  void Recompute();
  void Show(int request, const SeriesResult& result);
  SeriesAxis Axis() const;

  std::function<CurveDesign()> snapshot_;
  CurveDesign design_;
  CurveFieldModel* model_;
  std::array<int, 3> fieldsShape_{};  // grid, requirements, abilities of the listed fields
  std::vector<int> gridSizes_;      // 1..NumTechReqs (index 0 unused); empty outside a grid
  QListView* fields_;
  QWidget* gridBox_;
  QGridLayout* gridLayout_;
  QComboBox* varying_ = nullptr;
  std::vector<QSpinBox*> held_;  // one per requirement
  CurveView* view_;
  LatestJob<SeriesResult>* jobs_;
  int shown_ = 0;
  bool rebuilding_ = false;
  // While curves show and a newer request runs long, the chart gives way to
  // a note that it is computing.
  QTimer* computingNote_;
};

}  // namespace vorlane
