#include "gui/CurveView.h"

#include <QLabel>
#include <QToolTip>
#include <QVBoxLayout>
#ifdef VORLANE_QT_CHARTS
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>
#else
#include "gui/CurvePlot.h"
#endif
#include <algorithm>
#include <cmath>

#include "util/Numbers.h"

namespace vorlane {

namespace {

// At most this many level labels along the axis; more would overlap.
constexpr int kMaxAxisLabels = 20;
// Room between two labels along the axis, in pixels.
constexpr int kLabelGap = 12;

}  // namespace

int AxisLabelStep(qsizetype points, double width, int widest) {
  const int fit = std::clamp(static_cast<int>(width / (widest + kLabelGap)), 2, kMaxAxisLabels);
  return std::max<int>(1, static_cast<int>((points + fit - 1) / fit));
}

CurveView::CurveView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("curveView"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
#ifdef VORLANE_QT_CHARTS
  chart_ = new QChart;
  chart_->legend()->setAlignment(Qt::AlignBottom);
  chart_->legend()->setShowToolTips(true);  // a long label is elided: its tooltip shows it whole
  auto* view = new QChartView(chart_, this);
  view->setRenderHint(QPainter::Antialiasing);
  view_ = view;
#else
  chart_ = nullptr;
  auto* plot = new CurvePlot(this);
  plot->onHover = [this](int series, int index) { Hover(series, index, series >= 0); };
  view_ = plot;
#endif
  view_->setMinimumSize(240, 160);
  layout->addWidget(view_, 1);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("lblCurveValue"));
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(status_);
  SetMessage(QStringLiteral("Choose a field to see its values over the levels."));
}

void CurveView::SetMessage(const QString& text) {
  message_ = text;
  points_.clear();
  series_.clear();
#ifdef VORLANE_QT_CHARTS
  chart_->removeAllSeries();
  for (QAbstractAxis* axis : chart_->axes()) {
    chart_->removeAxis(axis);  // the chart gives the axis back to us
    delete axis;
  }
  chart_->setTitle(text);
#else
  static_cast<CurvePlot*>(view_)->SetMessage(text);
#endif
  status_->clear();
  xAxis_ = nullptr;
  axisStep_ = 0;
}

void CurveView::SetCurves(const QStringList& points, const std::vector<CurveSeries>& series, const QString& axisTitle) {
  SetMessage(QString());
  points_ = points;
  series_ = series;
  axisTitle_ = axisTitle;

  double low = INFINITY, high = -INFINITY;
  for (const CurveSeries& s : series) {
    for (double v : s.values) {
      if (!std::isfinite(v)) continue;
      low = std::min(low, v);
      high = std::max(high, v);
    }
  }
  if (points.isEmpty() || !std::isfinite(low)) {
    SetMessage(points.isEmpty() ? QStringLiteral("The design has no levels.")
                                : QStringLiteral("No value of the chosen fields is a number."));
    points_ = points;
    series_ = series;
    return;
  }

  if (low == high) {  // a flat curve: room above and below it, never past the largest number
    const double pad = std::max(1.0, std::abs(low) / 64);
    low -= pad;
    high += pad;
  }
#ifndef VORLANE_QT_CHARTS
  static_cast<CurvePlot*>(view_)->SetCurves(points, series, axisTitle, low, high);
#else
  auto* xAxis = new QCategoryAxis;
  xAxis->setTitleText(axisTitle);
  xAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  xAxis_ = xAxis;
  LabelAxis();
  xAxis->setRange(0, std::max<double>(1, static_cast<double>(points.size() - 1)));
  auto* yAxis = new QValueAxis;
  yAxis->setRange(low, high);
  // Rounding the range outwards overflows near the largest numbers.
  if (std::isfinite(high - low) && std::abs(low) < 1e300 && std::abs(high) < 1e300) yAxis->applyNiceNumbers();
  yAxis->setLabelFormat(QStringLiteral("%g"));
  chart_->addAxis(xAxis, Qt::AlignBottom);
  chart_->addAxis(yAxis, Qt::AlignLeft);

  // One line per run of numbers; a value that is no number leaves a gap. The
  // runs of one series share its colour and its one legend entry.
  for (int s = 0; s < static_cast<int>(series.size()); ++s) {
    QColor colour;
    bool first = true;
    const std::vector<double>& values = series[static_cast<std::size_t>(s)].values;
    for (std::size_t i = 0; i < values.size();) {
      if (!std::isfinite(values[i])) {
        ++i;
        continue;
      }
      auto* line = new QLineSeries;
      line->setName(series[static_cast<std::size_t>(s)].label);
      line->setPointsVisible(true);
      for (; i < values.size() && std::isfinite(values[i]); ++i) line->append(static_cast<double>(i), values[i]);
      chart_->addSeries(line);
      line->attachAxis(xAxis);
      line->attachAxis(yAxis);
      if (first) {
        colour = line->color();
        first = false;
      } else {
        line->setColor(colour);
        for (QLegendMarker* marker : chart_->legend()->markers(line)) marker->setVisible(false);
      }
      connect(line, &QLineSeries::hovered, this,
              [this, s](const QPointF& point, bool entered) { Hover(s, point.x(), entered); });
    }
  }
#endif
}

// As many level labels as fit the chart's width whole, evenly spaced.
void CurveView::LabelAxis() {
#ifdef VORLANE_QT_CHARTS
  if (!xAxis_ || points_.isEmpty()) return;
  const QFontMetrics metrics(xAxis_->labelsFont());
  int widest = 0;
  for (const QString& point : {points_.front(), points_.back()}) widest = std::max(widest, metrics.horizontalAdvance(point));
  const double width = chart_->plotArea().width() > 0 ? chart_->plotArea().width() : view_->width() * 0.8;
  const int step = AxisLabelStep(points_.size(), width, widest);
  if (step == axisStep_ && !xAxis_->categoriesLabels().isEmpty()) return;
  axisStep_ = step;
  for (const QString& label : xAxis_->categoriesLabels()) xAxis_->remove(label);
  for (int i = 0; i < points_.size(); i += step) xAxis_->append(points_[i], i);
#endif
}

void CurveView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LabelAxis();
}

QString CurveView::HoverText(int series, int index) const {
  if (series < 0 || series >= static_cast<int>(series_.size()) || index < 0 || index >= points_.size()) return {};
  const CurveSeries& s = series_[static_cast<std::size_t>(series)];
  if (index >= static_cast<int>(s.values.size())) return {};
  const double v = s.values[static_cast<std::size_t>(index)];
  const QString value =
      std::isfinite(v) ? QString::fromStdString(FormatNumber(v)) : QStringLiteral("(no number)");
  return axisTitle_ + " " + points_[index] + ": " + s.label + " = " + value;
}

void CurveView::Hover(int series, double x, bool entered) {
  if (!entered) {
    QToolTip::hideText();
    return;
  }
  const QString text = HoverText(series, static_cast<int>(std::lround(x)));
  status_->setText(text);
  if (!text.isEmpty()) QToolTip::showText(QCursor::pos(), text, view_);
}

}  // namespace vorlane
