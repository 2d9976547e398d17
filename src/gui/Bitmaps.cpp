#include "gui/Bitmaps.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>

namespace vorlane {

namespace {

const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);

QImage DrawPicNotFound() {
  const int side = 192;
  QImage image(side, side, QImage::Format_RGB32);
  image.fill(Qt::black);

  const QStringList lines{QStringLiteral("Picture not"), QStringLiteral("found or formula"),
                          QStringLiteral("entered in"), QStringLiteral("text box")};
  QFont font(QStringLiteral("Sans Serif"));
  font.setItalic(true);
  font.setBold(true);
  font.setStyleHint(QFont::SansSerif);
  // The largest size at which the longest line still fits with a margin.
  int pixelSize = 28;
  for (; pixelSize > 8; --pixelSize) {
    font.setPixelSize(pixelSize);
    QFontMetrics metrics(font);
    int widest = 0;
    for (const auto& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
    if (widest <= side - 16 && metrics.height() * lines.size() <= side - 24) break;
  }
  font.setPixelSize(pixelSize);

  QPainter painter(&image);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setFont(font);
  painter.setPen(kYellow);
  const QFontMetrics metrics(font);
  const int lineHeight = metrics.height() + 4;
  int top = (side - lineHeight * static_cast<int>(lines.size())) / 2;
  for (const auto& line : lines) {
    painter.drawText(QRect(0, top, side, lineHeight), Qt::AlignCenter, line);
    top += lineHeight;
  }
  painter.end();
  // A palette picture like the original resource: 256 colours at most.
  return image.convertToFormat(QImage::Format_Indexed8);
}

QImage DrawCircleSlash() {
  const int side = 40;
  QImage image(side, side, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QPen pen(kRed, 5);
  pen.setCapStyle(Qt::FlatCap);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  const QRectF ring(4.5, 4.5, 31, 31);
  painter.drawEllipse(ring);
  // The bar runs from upper left to lower right inside the ring.
  const qreal inset = 4.5 + 31 * (1 - 0.70710678) / 2;
  painter.drawLine(QPointF(inset, inset), QPointF(side - inset, side - inset));
  painter.end();
  return image;
}

QPixmap DrawIcon(int side) {
  QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(side / 64.0, side / 64.0);
  // A night-blue tile with a ringed planet and a yellow V.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(16, 24, 64));
  painter.drawRoundedRect(QRectF(1, 1, 62, 62), 10, 10);
  QRadialGradient planet(QPointF(40, 22), 14);
  planet.setColorAt(0, QColor(120, 170, 255));
  planet.setColorAt(1, QColor(30, 60, 150));
  painter.setBrush(planet);
  painter.drawEllipse(QPointF(44, 20), 11, 11);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(200, 220, 255), 2));
  painter.drawEllipse(QPointF(44, 20), 17, 5);
  QPainterPath v;
  v.moveTo(10, 18);
  v.lineTo(22, 18);
  v.lineTo(29, 42);
  v.lineTo(36, 18);
  v.lineTo(48, 18);
  v.lineTo(34, 56);
  v.lineTo(24, 56);
  v.closeSubpath();
  painter.setPen(QPen(QColor(90, 60, 0), 1.5));
  painter.setBrush(kYellow);
  painter.drawPath(v);
  painter.end();
  return QPixmap::fromImage(image);
}

}  // namespace

QImage PicNotFoundImage() {
  static const QImage image = DrawPicNotFound();
  return image;
}

QPixmap PicNotFoundBitmap() { return QPixmap::fromImage(PicNotFoundImage()); }

QImage CircleSlashImage() {
  static const QImage image = DrawCircleSlash();
  return image;
}

QPixmap CircleSlashBitmap() { return QPixmap::fromImage(CircleSlashImage()); }

QIcon ProgramIcon() {
  QIcon icon;
  for (int side : {16, 24, 32, 48, 64, 128}) icon.addPixmap(DrawIcon(side));
  return icon;
}

}  // namespace vorlane
