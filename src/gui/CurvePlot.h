// The curve chart drawn with QPainter, for a Qt without Qt Charts (the Windows
// build: Debian's archive has no source of Qt Charts to build it from). It
// draws what CurveView hands it: the axes, one line per series with gaps where
// a value is no number, points and a legend; hovering near a point reports it.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

namespace vorlane {

struct CurveSeries;

class CurvePlot : public QWidget {
 public:
  explicit CurvePlot(QWidget* parent = nullptr);

  // Shows `text` instead of curves.
  void SetMessage(const QString& text);
  // The curves between `low` and `high` on the vertical axis.
  void SetCurves(const QStringList& points, const std::vector<CurveSeries>& series, const QString& axisTitle,
                 double low, double high);
  // Called with the series and point under the mouse; (-1, -1) when it leaves one.
  std::function<void(int series, int index)> onHover;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QRectF PlotArea() const;
  QPointF At(int index, double value) const;

  QString message_;
  QStringList points_;
  std::vector<CurveSeries> series_;
  QString axisTitle_;
  double low_ = 0, high_ = 1;
  int hovered_ = -1, hoveredIndex_ = -1;
};

}  // namespace vorlane
