// A chart of field values over the levels of a design: one line per series,
// the points along the horizontal axis, gaps where a value is no number.
// Hovering over a line shows the value under the chart ("Level 3: Cost
// Minerals = 30") and as a tooltip. Drawn with Qt Charts: axes, legend,
// colours and hit-testing of the lines come with it; a Qt without Charts gets
// the plain CurvePlot instead (Chart() is null then).
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

class QCategoryAxis;
class QChart;
class QLabel;

namespace vorlane {

struct CurveSeries {
  QString label;
  std::vector<double> values;  // one per point; NaN where there is no number
};

// Every how many points the level axis is labelled: as many labels as fit
// `width` pixels whole when the widest is `widest` pixels, at most 20.
int AxisLabelStep(qsizetype points, double width, int widest);

class CurveView : public QWidget {
  Q_OBJECT

 public:
  explicit CurveView(QWidget* parent = nullptr);

  // `points` are the level texts along the axis; `axisTitle` names them
  // ("Level", "Tech Level 2").
  void SetCurves(const QStringList& points, const std::vector<CurveSeries>& series,
                 const QString& axisTitle = QStringLiteral("Level"));
  // Shows `text` instead of a chart (nothing to draw, or why not).
  void SetMessage(const QString& text);

  // The hover text of series `series` at point `index`, as shown.
  QString HoverText(int series, int index) const;
  const QString& Message() const { return message_; }
  const QStringList& Points() const { return points_; }
  const std::vector<CurveSeries>& Series() const { return series_; }
  QChart* Chart() const { return chart_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Hover(int series, double x, bool entered);
  void LabelAxis();

  QWidget* view_;  // the QChartView, or the CurvePlot
  QChart* chart_;
  QCategoryAxis* xAxis_ = nullptr;
  int axisStep_ = 0;
  QLabel* status_;
  QStringList points_;
  std::vector<CurveSeries> series_;
  QString axisTitle_;
  QString message_;
};

}  // namespace vorlane
