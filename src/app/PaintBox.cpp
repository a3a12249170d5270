#include "app/PaintBox.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

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

void TPaintBox::paintEvent(QPaintEvent*) {
  if (!ownPaintPending_ && OnPaint) {
    inPaint_ = true;
    OnPaint();
    inPaint_ = false;
  }
  ownPaintPending_ = false;
  QPainter painter(this);
  painter.drawImage(0, 0, surface_);
}

void TPaintBox::resizeEvent(QResizeEvent* event) {
  const QSize size = event->size().expandedTo(QSize(1, 1));
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
