#include "gui/CurvePlot.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "gui/CurveView.h"

namespace vorlane {

namespace {

constexpr int kYTicks = 5;
constexpr double kHoverDistance = 6;

QColor SeriesColour(int series) {
  static const QColor colours[] = {QColor(32, 159, 223), QColor(153, 202, 83), QColor(246, 166, 37),
                                   QColor(109, 95, 213), QColor(191, 89, 62)};
  return colours[series % 5];
}

}  // namespace

CurvePlot::CurvePlot(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
}

void CurvePlot::SetMessage(const QString& text) {
  message_ = text;
  points_.clear();
  series_.clear();
  update();
}

void CurvePlot::SetCurves(const QStringList& points, const std::vector<CurveSeries>& series, const QString& axisTitle,
                          double low, double high) {
  message_.clear();
  points_ = points;
  series_ = series;
  axisTitle_ = axisTitle;
  low_ = low;
  high_ = high;
  update();
}

QRectF CurvePlot::PlotArea() const {
  const int line = fontMetrics().height();
  const int legendLines = static_cast<int>(series_.size());
  return QRectF(QPointF(8 + fontMetrics().horizontalAdvance(QStringLiteral("-0.000000e+000")), line),
                QPointF(width() - 16, height() - 3 * line - legendLines * line));
}

QPointF CurvePlot::At(int index, double value) const {
  const QRectF area = PlotArea();
  const double span = std::max<double>(1, static_cast<double>(points_.size() - 1));
  const double x = area.left() + area.width() * index / span;
  const double y = area.bottom() - area.height() * (value - low_) / (high_ - low_);
  return {x, y};
}

void CurvePlot::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  if (!message_.isEmpty() || points_.isEmpty()) {
    painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, message_);
    return;
  }
  const QRectF area = PlotArea();
  if (area.width() < 10 || area.height() < 10) return;
  const int line = fontMetrics().height();
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(area);
  painter.setPen(palette().color(QPalette::Text));
  for (int i = 0; i <= kYTicks; ++i) {
    const double value = low_ + (high_ - low_) * i / kYTicks;
    const double y = area.bottom() - area.height() * i / kYTicks;
    painter.drawText(QRectF(0, y - line / 2.0, area.left() - 4, line), Qt::AlignRight | Qt::AlignVCenter,
                     QString::asprintf("%g", value));
  }
  const int widest = std::max(fontMetrics().horizontalAdvance(points_.front()), fontMetrics().horizontalAdvance(points_.back()));
  const int step = AxisLabelStep(points_.size(), area.width(), widest);
  for (int i = 0; i < points_.size(); i += step) {
    const double x = At(i, low_).x();
    painter.drawText(QRectF(x - widest, area.bottom() + 2, 2.0 * widest, line), Qt::AlignHCenter | Qt::AlignTop, points_[i]);
  }
  painter.drawText(QRectF(area.left(), area.bottom() + line + 2, area.width(), line), Qt::AlignHCenter, axisTitle_);

  for (int s = 0; s < static_cast<int>(series_.size()); ++s) {
    const std::vector<double>& values = series_[static_cast<std::size_t>(s)].values;
    const QColor colour = SeriesColour(s);
    painter.setPen(QPen(colour, 2));
    painter.setBrush(colour);
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (!std::isfinite(values[i])) continue;
      const QPointF here = At(static_cast<int>(i), values[i]);
      if (i + 1 < values.size() && std::isfinite(values[i + 1]))
        painter.drawLine(here, At(static_cast<int>(i + 1), values[i + 1]));
      const double radius = (s == hovered_ && static_cast<int>(i) == hoveredIndex_) ? 5 : 3;
      painter.drawEllipse(here, radius, radius);
    }
    const double y = area.bottom() + 2 * line + 4 + s * line;
    painter.fillRect(QRectF(area.left(), y + line / 4.0, line / 2.0, line / 2.0), colour);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRectF(area.left() + line, y, area.width() - line, line), Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(series_[static_cast<std::size_t>(s)].label, Qt::ElideRight,
                                              static_cast<int>(area.width()) - line));
  }
}

void CurvePlot::mouseMoveEvent(QMouseEvent* event) {
  int series = -1, index = -1;
  double best = kHoverDistance;
  for (int s = 0; s < static_cast<int>(series_.size()); ++s) {
    const std::vector<double>& values = series_[static_cast<std::size_t>(s)].values;
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (!std::isfinite(values[i])) continue;
      const QPointF d = At(static_cast<int>(i), values[i]) - event->position();
      if (const double distance = std::hypot(d.x(), d.y()); distance <= best) {
        best = distance;
        series = s;
        index = static_cast<int>(i);
      }
    }
  }
  if (series == hovered_ && index == hoveredIndex_) return;
  hovered_ = series;
  hoveredIndex_ = index;
  update();
  if (onHover) onHover(series, index);
}

}  // namespace vorlane
