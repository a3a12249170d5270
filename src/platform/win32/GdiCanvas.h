#pragma once
// The drawing surface on a GDI device context: the platform's own pens, brushes, raster
// operations and fonts. Pen width 0 or 1 is GDI's one-pixel pen (LineTo leaves out the end
// pixel); wider pens are GDI's round-capped ones. XOR is SetROP2(R2_XORPEN). Polygons fill
// in ALTERNATE (odd-even) mode. Hatches and text are drawn on a transparent background.
// Fonts come from CreateFontIndirectA with the request as it stands and text goes out with
// TextOutA as Shift-JIS bytes; where the system's ANSI code page is not 932, the face and
// the text are converted from code page 932 and the wide calls are used instead.
// Pixel coordinates are clamped to +-kPixelLimit before they reach GDI.

#include "platform/win32/WindowsApi.h"

#include <vector>

#include "graphics/Canvas.h"

namespace sxf {

class TGdiCanvas final : public TCanvas {
 public:
  static constexpr int kPixelLimit = 1 << 20;

  // The device context stays the caller's; the canvas selects its own objects into it and
  // puts the previous ones back when it is destroyed.
  explicit TGdiCanvas(HDC dc);
  ~TGdiCanvas() override;
  TGdiCanvas(const TGdiCanvas&) = delete;
  TGdiCanvas& operator=(const TGdiCanvas&) = delete;

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void SetPixel(int x, int y, TColor color) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Polyline(std::span<const TPixelPoint> points) override;
  void Polygon(std::span<const TPixelPoint> points) override;
  void SetFont(const TLogFont& font) override;
  void TextOut(int x, int y, std::string_view text) override;

  // Forces the wide calls (tests of a system without code page 932 as its ANSI one).
  void UseWideText(bool wide) noexcept { wideText_ = wide; }
  bool WideText() const noexcept { return wideText_; }

 private:
  void ApplyPen();
  void ApplyBrush();
  void ApplyFont();
  const POINT* ToPoints(std::span<const TPixelPoint> points);

  HDC dc_;
  int savedState_ = 0;
  HPEN pen_ = nullptr;
  HBRUSH brush_ = nullptr;
  HFONT font_ = nullptr;
  TPen appliedPen_;
  TBrush appliedBrush_;
  bool penApplied_ = false;
  bool brushApplied_ = false;
  TLogFont logFont_;
  bool fontApplied_ = false;
  bool wideText_ = false;
  std::vector<POINT> points_;
};

}  // namespace sxf
