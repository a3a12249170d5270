#pragma once
// The bar between the preview and the side panel: dragging it changes the panel's width.

#include <QWidget>
#include <functional>

namespace sxf {

class TSplitterBar : public QWidget {
 public:
  explicit TSplitterBar(QWidget* parent);

  // Called while dragging with the horizontal distance moved since the press, in pixels.
  std::function<void(int dx)> OnDrag;
  std::function<void()> OnPress;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool dragging_ = false;
  int pressX_ = 0;  // global x of the press
};

}  // namespace sxf
