#pragma once
// The preview's paint box. It owns a surface image that stands for its pixels on screen: all
// drawing goes into that image, and paintEvent only shows it. A paint that the tool's own
// drawing asked for (ShowSurface) just shows the surface; any other paint the platform asks
// for (first show, a size change, uncovering) first runs OnPaint, so the window can decide
// what to put on the surface.

#include <QImage>
#include <QWidget>
#include <functional>

namespace sxf {

class TPaintBox : public QWidget {
 public:
  explicit TPaintBox(QWidget* parent);

  // The pixels on screen; always the widget's size, RGB32.
  QImage& Surface() noexcept { return surface_; }
  const QImage& Surface() const noexcept { return surface_; }

  // Shows the surface as it is now, without running OnPaint.
  void ShowSurface();
  // Puts the surface on the screen at once, this widget alone and without processing any
  // event: the progress of a long drawing. Nothing happens inside a paint of this widget.
  void ShowSurfaceNow();

  std::function<void()> OnPaint;
  // Mouse buttons and moves over the preview, in its pixels. A double click counts as a press.
  std::function<void(const QMouseEvent&, bool doubleClick)> OnMouseDown;
  std::function<void(const QMouseEvent&)> OnMouseMove;
  std::function<void(const QMouseEvent&)> OnMouseUp;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QImage surface_;
  bool ownPaintPending_ = false;
  bool inPaint_ = false;
};

}  // namespace sxf
