#include "app/AppIcon.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QtEndian>
#include <iterator>

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

namespace {

void Put16(QByteArray& out, int v) {
  const quint16 le = qToLittleEndian(static_cast<quint16>(v));
  out.append(reinterpret_cast<const char*>(&le), 2);
}
void Put32(QByteArray& out, qint64 v) {
  const quint32 le = qToLittleEndian(static_cast<quint32>(v));
  out.append(reinterpret_cast<const char*>(&le), 4);
}

// One icon image as the file holds it: a bitmap header of twice the height, the 32-bit pixels
// bottom-up with straight alpha, and the 1-bit mask (set where fully transparent), its rows
// padded to four bytes.
QByteArray IconImage(const QImage& picture) {
  const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
  const int size = image.width();
  QByteArray out;
  Put32(out, 40);
  Put32(out, size);
  Put32(out, size * 2);
  Put16(out, 1);
  Put16(out, 32);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (int y = size - 1; y >= 0; --y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < size; ++x) Put32(out, row[x]);  // 0xAARRGGBB: B, G, R, A in the file
  }
  const int maskStride = (size + 31) / 32 * 4;
  for (int y = size - 1; y >= 0; --y) {
    QByteArray mask(maskStride, '\0');
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < size; ++x)
      if (qAlpha(row[x]) == 0) mask[x / 8] = static_cast<char>(mask[x / 8] | (0x80 >> (x % 8)));
    out.append(mask);
  }
  return out;
}

}  // namespace

QByteArray ApplicationIconFile() {
  const int sizes[] = {16, 24, 32, 48};
  const int count = static_cast<int>(std::size(sizes));
  QByteArray images[std::size(sizes)];
  for (int i = 0; i < count; ++i) images[i] = IconImage(IconPixmap(sizes[i]).toImage());
  QByteArray out;
  Put16(out, 0);
  Put16(out, 1);  // an icon
  Put16(out, count);
  qint64 offset = 6 + 16 * count;
  for (int i = 0; i < count; ++i) {
    out.append(static_cast<char>(sizes[i]));
    out.append(static_cast<char>(sizes[i]));
    out.append('\0');  // no palette
    out.append('\0');
    Put16(out, 1);   // planes
    Put16(out, 32);  // bits per pixel
    Put32(out, images[i].size());
    Put32(out, offset);
    offset += images[i].size();
  }
  for (const QByteArray& image : images) out.append(image);
  return out;
}

}  // namespace sxf
