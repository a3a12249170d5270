#include "app/SplitterBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

namespace sxf {

TSplitterBar::TSplitterBar(QWidget* parent) : QWidget(parent) { setCursor(Qt::SplitHCursor); }

// The platform style's own splitter handle: a bar with its grip, so that it shows it can be
// dragged.
void TSplitterBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOption option;
  option.initFrom(this);
  option.state |= QStyle::State_Horizontal;
  if (dragging_) option.state |= QStyle::State_Sunken;
  painter.fillRect(rect(), palette().color(QPalette::Button));
  style()->drawControl(QStyle::CE_Splitter, &option, &painter, this);
}

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
