#include "app/AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace sxf {

namespace {

QPixmap IconPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);
  // Sheet.
  p.setPen(QPen(QColor(120, 120, 120), 2));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(4, 4, 56, 56), 4, 4);
  // A user line type: dotted.
  p.setPen(QPen(QColor(0, 0, 0), 3, Qt::DotLine));
  p.drawLine(QPointF(10, 48), QPointF(54, 16));
  // The mark: white square, red circle.
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(21, 21, 22, 22));
  p.setPen(QPen(QColor(255, 0, 0), 4));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(32, 32), 13, 13);
  // Magnifier handle.
  p.setPen(QPen(QColor(40, 40, 40), 6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(42, 42), QPointF(56, 56));
  return pixmap;
}

}  // namespace

QIcon ApplicationIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(IconPixmap(size));
  return icon;
}

}  // namespace sxf
