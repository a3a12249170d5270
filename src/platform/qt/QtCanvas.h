#pragma once
// The drawing surface on QPainter over a QImage (RGB32), antialiasing off. Pen width 0 or 1
// is a cosmetic one-pixel pen with flat caps, so LineTo leaves out its end pixel; wider pens
// have round caps and joins. Rectangle leaves out the right column and bottom row. Polygon
// fills odd-even. XOR is RasterOp_SourceXorDestination. SetPixel writes the pixel directly.
// Pixel coordinates are clamped to +-kPixelLimit before they reach QPainter.
//
// Segments are gathered and handed to QPainter in batches while the pen stays the same;
// every other operation, a pen change and Flush() draw what is gathered first.

#include <QImage>
#include <QLine>
#include <QPainter>
#include <vector>

#include "graphics/Canvas.h"

namespace sxf {

class TQtCanvas final : public TCanvas {
 public:
  static constexpr int kPixelLimit = 1 << 20;

  explicit TQtCanvas(QImage& image);
  ~TQtCanvas() override;

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void SetPixel(int x, int y, TColor color) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Polyline(std::span<const TPixelPoint> points) override;
  void Polygon(std::span<const TPixelPoint> points) override;
  void SetFont(const TLogFont& font) override;
  void TextOut(int x, int y, std::string_view text) override;

  // Draws every gathered segment. The image is complete after Flush or destruction.
  void Flush();

  static QColor ToQColor(TColor c) noexcept;

 private:
  void ApplyPen();
  void ApplyBrush();
  void PlotPixel(int x, int y, TColor color);

  QImage& image_;
  QPainter painter_;
  std::vector<QLine> pendingLines_;
  TPen pendingPen_;  // the pen the gathered segments are drawn with
  TPen appliedPen_;
  TBrush appliedBrush_;
  bool penApplied_ = false;
  bool brushApplied_ = false;
  QPoint position_;
  TLogFont font_;
  bool fontApplied_ = false;
  uchar* bits_ = nullptr;
  qsizetype bytesPerLine_ = 0;
};

}  // namespace sxf
