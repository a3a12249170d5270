#include "platform/win32/GdiCanvas.h"

#include <algorithm>
#include <cstring>

#include "platform/win32/ShiftJis.h"

namespace sxf {

namespace {

int Clamp(int v) noexcept {
  return std::clamp(v, -TGdiCanvas::kPixelLimit, TGdiCanvas::kPixelLimit);
}

COLORREF ToColorRef(TColor c) noexcept { return static_cast<COLORREF>(c & 0xFFFFFFu); }

int GdiPenStyle(TPenStyle s) noexcept {
  switch (s) {
    case TPenStyle::Dash: return PS_DASH;
    case TPenStyle::Dot: return PS_DOT;
    case TPenStyle::DashDot: return PS_DASHDOT;
    case TPenStyle::DashDotDot: return PS_DASHDOTDOT;
    case TPenStyle::Clear: return PS_NULL;
    case TPenStyle::Solid: break;
  }
  return PS_SOLID;
}

// The hatch of a brush style; -1 for the styles that are no hatch.
int GdiHatch(TBrushStyle s) noexcept {
  switch (s) {
    case TBrushStyle::Horizontal: return HS_HORIZONTAL;
    case TBrushStyle::Vertical: return HS_VERTICAL;
    case TBrushStyle::FDiagonal: return HS_FDIAGONAL;
    case TBrushStyle::BDiagonal: return HS_BDIAGONAL;
    case TBrushStyle::Cross: return HS_CROSS;
    case TBrushStyle::DiagCross: return HS_DIAGCROSS;
    case TBrushStyle::Solid:
    case TBrushStyle::Clear: break;
  }
  return -1;
}

template <typename Face>
void CopyFace(Face (&dst)[LF_FACESIZE], const std::basic_string<Face>& face) {
  const std::size_t n = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
  std::copy_n(face.data(), n, dst);
  dst[n] = 0;
}

template <typename LogFont>
void FillLogFont(LogFont& lf, const TLogFont& f) {
  lf.lfHeight = f.Height;
  lf.lfWidth = f.Width;
  lf.lfEscapement = f.Escapement;
  lf.lfOrientation = f.Orientation;
  lf.lfWeight = f.Weight;
  lf.lfItalic = f.Italic ? 1 : 0;
  lf.lfUnderline = f.Underline ? 1 : 0;
  lf.lfStrikeOut = f.StrikeOut ? 1 : 0;
  lf.lfCharSet = static_cast<BYTE>(f.CharSet);
  lf.lfOutPrecision = 0;
  lf.lfClipPrecision = 0;
  lf.lfQuality = f.NonAntialiased ? NONANTIALIASED_QUALITY : DEFAULT_QUALITY;
  lf.lfPitchAndFamily = 0;
}

}  // namespace

TGdiCanvas::TGdiCanvas(HDC dc) : dc_(dc), wideText_(!AnsiCodePageIsShiftJis()) {
  savedState_ = SaveDC(dc_);
  SetPolyFillMode(dc_, ALTERNATE);
  SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  SetBkMode(dc_, TRANSPARENT);
}

TGdiCanvas::~TGdiCanvas() {
  if (savedState_ != 0) RestoreDC(dc_, savedState_);
  if (pen_) DeleteObject(pen_);
  if (brush_) DeleteObject(brush_);
  if (font_) DeleteObject(font_);
}

void TGdiCanvas::ApplyPen() {
  if (penApplied_ && appliedPen_ == Pen) return;
  const int width = Pen.Width <= 1 ? 1 : Pen.Width;
  HPEN pen = CreatePen(GdiPenStyle(Pen.Style), width, ToColorRef(Pen.Color));
  if (!pen) return;
  SelectObject(dc_, pen);
  if (pen_) DeleteObject(pen_);
  pen_ = pen;
  SetROP2(dc_, Pen.Mode == TPenMode::Xor ? R2_XORPEN : R2_COPYPEN);
  appliedPen_ = Pen;
  penApplied_ = true;
}

void TGdiCanvas::ApplyBrush() {
  if (brushApplied_ && appliedBrush_ == Brush) return;
  HBRUSH brush = nullptr;
  const int hatch = GdiHatch(Brush.Style);
  if (Brush.Style == TBrushStyle::Solid)
    brush = CreateSolidBrush(ToColorRef(Brush.Color));
  else if (hatch >= 0)
    brush = CreateHatchBrush(hatch, ToColorRef(Brush.Color));
  else
    brush = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  if (!brush) return;
  SelectObject(dc_, brush);
  if (brush_) DeleteObject(brush_);  // deleting a stock object does nothing
  brush_ = brush;
  // As the platform's canvas does: a solid brush makes the background opaque in its own
  // colour (the gaps of styled pens), every other brush leaves it transparent.
  if (Brush.Style == TBrushStyle::Solid) {
    SetBkColor(dc_, ToColorRef(Brush.Color));
    SetBkMode(dc_, OPAQUE);
  } else {
    SetBkMode(dc_, TRANSPARENT);
  }
  appliedBrush_ = Brush;
  brushApplied_ = true;
}

void TGdiCanvas::ApplyFont() {
  if (fontApplied_) return;
  HFONT font = nullptr;
  if (wideText_) {
    LOGFONTW lf{};
    FillLogFont(lf, logFont_);
    // The texts are Shift-JIS whatever the system's code page: the default character set of
    // a system without code page 932 would pick a face without the Japanese characters.
    if (lf.lfCharSet == DEFAULT_CHARSET) lf.lfCharSet = SHIFTJIS_CHARSET;
    CopyFace(lf.lfFaceName, ShiftJisToWide(logFont_.FaceName));
    font = CreateFontIndirectW(&lf);
  } else {
    LOGFONTA lf{};
    FillLogFont(lf, logFont_);
    CopyFace(lf.lfFaceName, logFont_.FaceName);
    font = CreateFontIndirectA(&lf);
  }
  if (!font) return;
  SelectObject(dc_, font);
  if (font_) DeleteObject(font_);
  font_ = font;
  fontApplied_ = true;
}

const POINT* TGdiCanvas::ToPoints(std::span<const TPixelPoint> points) {
  points_.resize(points.size());
  for (std::size_t i = 0; i < points.size(); ++i)
    points_[i] = POINT{Clamp(points[i].X), Clamp(points[i].Y)};
  return points_.data();
}

void TGdiCanvas::MoveTo(int x, int y) { MoveToEx(dc_, Clamp(x), Clamp(y), nullptr); }

void TGdiCanvas::LineTo(int x, int y) {
  ApplyPen();
  ApplyBrush();  // the background mode of styled pens follows the brush
  ::LineTo(dc_, Clamp(x), Clamp(y));
}

void TGdiCanvas::SetPixel(int x, int y, TColor color) {
  // SetPixelV follows the raster operation: an XOR pen in force would flip the pixel.
  const bool xorInForce = penApplied_ && appliedPen_.Mode == TPenMode::Xor;
  if (xorInForce) SetROP2(dc_, R2_COPYPEN);
  SetPixelV(dc_, Clamp(x), Clamp(y), ToColorRef(color));
  if (xorInForce) SetROP2(dc_, R2_XORPEN);
}

void TGdiCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  ApplyPen();
  ApplyBrush();
  ::Rectangle(dc_, Clamp(x1), Clamp(y1), Clamp(x2), Clamp(y2));
}

void TGdiCanvas::Polyline(std::span<const TPixelPoint> points) {
  if (points.size() < 2) return;
  ApplyPen();
  ApplyBrush();
  ::Polyline(dc_, ToPoints(points), static_cast<int>(points.size()));
}

void TGdiCanvas::Polygon(std::span<const TPixelPoint> points) {
  if (points.size() < 2) return;
  ApplyPen();
  ApplyBrush();
  ::Polygon(dc_, ToPoints(points), static_cast<int>(points.size()));
}

void TGdiCanvas::SetFont(const TLogFont& font) {
  if (fontApplied_ && font == logFont_) return;
  logFont_ = font;
  fontApplied_ = false;
}

void TGdiCanvas::TextOut(int x, int y, std::string_view text) {
  ApplyFont();
  ApplyBrush();
  SetTextColor(dc_, ToColorRef(FontColor));
  const int cx = Clamp(x);
  const int cy = Clamp(y);
  if (wideText_) {
    const std::wstring wide = ShiftJisToWide(text);
    ::TextOutW(dc_, cx, cy, wide.data(), static_cast<int>(wide.size()));
  } else {
    ::TextOutA(dc_, cx, cy, text.data(),
               static_cast<int>(std::min<std::size_t>(text.size(), 0x7FFFFFFF)));
  }
}

}  // namespace sxf
