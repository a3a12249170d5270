#include "app/SplitterBar.h"

#include <QMouseEvent>

namespace sxf {

TSplitterBar::TSplitterBar(QWidget* parent) : QWidget(parent) { setCursor(Qt::SplitHCursor); }

void TSplitterBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  pressX_ = static_cast<int>(event->globalPosition().x());
  if (OnPress) OnPress();
}

void TSplitterBar::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ && OnDrag) OnDrag(static_cast<int>(event->globalPosition().x()) - pressX_);
}

void TSplitterBar::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

}  // namespace sxf
