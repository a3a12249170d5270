#pragma once
// The preview's paint box. It owns a surface image that stands for its pixels on screen: all
// drawing goes into that image, and paintEvent only shows it. A paint that the tool's own
// drawing asked for (ShowSurface) just shows the surface; any other paint the platform asks
// for (first show, a size change, uncovering) first runs OnPaint, so the window can decide
// what to put on the surface.
//
// The surface holds the screen's own pixels: on a screen scaled by 1.5 it is 1.5 times the
// widget's size, so that one-pixel lines stay one pixel of the screen. Positions the window
// hands the form are in those pixels too (DevicePixel).

#include <QImage>
#include <QWidget>
#include <functional>

namespace sxf {

class TPaintBox : public QWidget {
 public:
  explicit TPaintBox(QWidget* parent);

  // The pixels on screen, RGB32: the widget's size times the device pixel ratio, rounded up.
  QImage& Surface() {
    if (surface_.size() != SurfaceSize()) ResizeSurface();
    return surface_;
  }
  const QImage& Surface() const noexcept { return surface_; }
  // The surface's size for the widget's size now.
  QSize SurfaceSize() const { return DeviceSize(size()); }

  // The screen's pixels per pixel of the widget (1.5 on a screen scaled by 150 %).
  double Ratio() const;
  // A position in the widget, or on the screen, in the screen's pixels.
  int DevicePixel(double logical) const;

  // Shows the surface as it is now, without running OnPaint.
  void ShowSurface();
  // Puts the surface on the screen at once, this widget alone and without processing any
  // event: the progress of a long drawing. Nothing happens inside a paint of this widget.
  void ShowSurfaceNow();

  std::function<void()> OnPaint;
  // The surface took another size without the widget's size changing: the window moved to a
  // screen of another scale.
  std::function<void()> OnRatioChanged;
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
  QSize DeviceSize(const QSize& logical) const;
  void ResizeSurface();

  QImage surface_;
  bool ownPaintPending_ = false;
  bool inPaint_ = false;
};

}  // namespace sxf
