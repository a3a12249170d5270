#include "app/PaintBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <cmath>

namespace sxf {

TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent) {
  // The surface covers every pixel: no background fill by Qt, no flicker.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);  // moves without a button reach the form too
  surface_ = QImage(1, 1, QImage::Format_RGB32);
  surface_.fill(Qt::white);
}

void TPaintBox::ShowSurface() {
  if (inPaint_) return;  // the paint under way shows the surface when OnPaint returns
  ownPaintPending_ = true;
  update();
}

void TPaintBox::ShowSurfaceNow() {
  if (inPaint_ || !isVisible()) return;
  ownPaintPending_ = true;
  repaint();
}

double TPaintBox::Ratio() const {
  const double ratio = devicePixelRatioF();
  return ratio > 0.0 && std::isfinite(ratio) ? ratio : 1.0;
}

int TPaintBox::DevicePixel(double logical) const {
  return static_cast<int>(std::floor(logical * Ratio() + 1e-9));
}

QSize TPaintBox::DeviceSize(const QSize& logical) const {
  const double ratio = Ratio();
  return QSize(static_cast<int>(std::ceil(logical.width() * ratio - 1e-9)),
               static_cast<int>(std::ceil(logical.height() * ratio - 1e-9)))
      .expandedTo(QSize(1, 1));
}

void TPaintBox::paintEvent(QPaintEvent*) {
  // A move to a screen of another scale changes the ratio without a resize.
  if (surface_.size() != DeviceSize(size())) {
    ResizeSurface();
    if (OnRatioChanged) OnRatioChanged();
  }
  if (!ownPaintPending_ && OnPaint) {
    inPaint_ = true;
    OnPaint();
    inPaint_ = false;
  }
  ownPaintPending_ = false;
  QPainter painter(this);
  // Pixel for pixel onto the screen: the image's ratio undoes the painter's scale.
  QImage shown = surface_;
  shown.setDevicePixelRatio(Ratio());
  painter.drawImage(QPointF(0, 0), shown);
}

void TPaintBox::resizeEvent(QResizeEvent*) { ResizeSurface(); }

void TPaintBox::ResizeSurface() {
  const QSize size = DeviceSize(this->size());
  if (size == surface_.size()) return;
  // The platform's own paint follows a size change and puts every pixel on the new surface.
  surface_ = QImage(size, QImage::Format_RGB32);
  surface_.fill(Qt::white);
  ownPaintPending_ = false;
}

}  // namespace sxf

namespace sxf {

void TPaintBox::mousePressEvent(QMouseEvent* event) {
  if (OnMouseDown) OnMouseDown(*event, false);
}

void TPaintBox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (OnMouseDown) OnMouseDown(*event, true);
}

void TPaintBox::mouseMoveEvent(QMouseEvent* event) {
  if (OnMouseMove) OnMouseMove(*event);
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event) {
  if (OnMouseUp) OnMouseUp(*event);
}

}  // namespace sxf
