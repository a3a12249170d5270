#include "platform/win32/DibCanvas.h"

#include <algorithm>

#include "platform/win32/DrawingCaches.h"
#include "platform/win32/PixelFill.h"

namespace sxf {

namespace {

int Clamp(int v) noexcept {
  return std::clamp(v, -TGdiCanvas::kPixelLimit, TGdiCanvas::kPixelLimit);
}

// 0x00BBGGRR to the DIB's 0x00RRGGBB.
std::uint32_t ToPixel(TColor c) noexcept {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

}  // namespace

TDibCanvas::TDibCanvas(TDibSurface& surface)
    : gdi_(surface.Dc()),
      buffer_{surface.Bits(), surface.Width(), surface.Height(), surface.Width()},
      raster_(buffer_),
      sprites_(BandDrawingCaches(0).Texts),
      widePens_(BandDrawingCaches(0).WidePens),
      polygons_(BandDrawingCaches(0).Polygons) {}

TDibCanvas::TDibCanvas(TDibSurface& surface, TBand band, int cacheSet)
    : band_(std::make_unique<TDibSurface>(surface, band.Top, band.Bottom)),
      valid_(band_->Valid()),
      gdi_(band_->Dc()),
      // The whole picture's buffer: the pixel rules see all of it, and only the band's rows
      // are written. Nothing at all when the band has no device context.
      buffer_{surface.Bits(),  surface.Width(),       surface.Height(),
              surface.Width(), valid_ ? band.Top : 0, valid_ ? band.Bottom : 0},
      raster_(buffer_),
      sprites_(BandDrawingCaches(cacheSet).Texts),
      widePens_(BandDrawingCaches(cacheSet).WidePens),
      polygons_(BandDrawingCaches(cacheSet).Polygons) {
  if (valid_) FirstRow = band.Top, EndRow = band.Bottom;
}

TGdiCanvas& TDibCanvas::Gdi() {
  gdi_.Pen = Pen;
  gdi_.Brush = Brush;
  gdi_.FontColor = FontColor;
  gdiDrew_ = true;
  return gdi_;
}

void TDibCanvas::MoveTo(int x, int y) { position_ = {Clamp(x), Clamp(y)}; }

void TDibCanvas::OnePixelLine(int x1, int y1, int x2, int y2) {
  if (Pen.Style == TPenStyle::Clear) return;
  BeforeDirectWrite();
  raster_.SetPen(ToPixel(Pen.Color), Pen.Style, Pen.Mode);
  raster_.SetBackground(Brush.Style == TBrushStyle::Solid, ToPixel(Brush.Color));
  raster_.Line(x1, y1, x2, y2);
}

void TDibCanvas::LineTo(int x, int y) {
  const TPixelPoint to{Clamp(x), Clamp(y)};
  if (OnePixelPen()) {
    OnePixelLine(position_.X, position_.Y, to.X, to.Y);
  } else {
    const TPixelPoint ends[] = {position_, to};
    if (!BesideRows(ends) && !WideLineFromSprites(to)) {
      TGdiCanvas& gdi = Gdi();
      gdi.MoveTo(position_.X, position_.Y);
      gdi.LineTo(to.X, to.Y);
      AfterGdi();
    }
  }
  position_ = to;
}

bool TDibCanvas::WideLineFromSprites(TPixelPoint to) {
  if (Pen.Style != TPenStyle::Solid || Pen.Mode != TPenMode::Copy) return false;
  BeforeDirectWrite();
  return widePens_.Draw(buffer_, Pen.Width, position_.X, position_.Y, to.X, to.Y,
                        ToPixel(Pen.Color));
}

void TDibCanvas::SetPixel(int x, int y, TColor color) {
  BeforeDirectWrite();
  raster_.Put(Clamp(x), Clamp(y), ToPixel(color));
}

void TDibCanvas::PixelLine(int x1, int y1, int x2, int y2) {
  if (!OnePixelPen()) {
    TCanvas::PixelLine(x1, y1, x2, y2);
    return;
  }
  const TPixelPoint from{Clamp(x1), Clamp(y1)};
  position_ = {Clamp(x2), Clamp(y2)};
  OnePixelLine(from.X, from.Y, position_.X, position_.Y);
  BeforeDirectWrite();
  raster_.Put(position_.X, position_.Y, ToPixel(Pen.Color));
}

void TDibCanvas::PixelLines(std::span<const TPixelPoint> points) {
  // A band's one-pixel lines whose points all lie above or all below its rows write nothing:
  // only the current position moves. (Over the whole picture the rasteriser's own test of
  // each segment is as quick.)
  if (band_ && points.size() >= 2 && OnePixelPen()) {
    const auto [low, high] = std::minmax_element(
        points.begin(), points.end(), [](TPixelPoint a, TPixelPoint b) { return a.Y < b.Y; });
    const long long rowBegin = buffer_.RowBegin(), rowEnd = rowBegin + buffer_.RowCount();
    if (high->Y < rowBegin || low->Y >= rowEnd) {
      position_ = {Clamp(points.back().X), Clamp(points.back().Y)};
      return;
    }
  }
  if (!OnePixelPen() && Pen.Style == TPenStyle::Solid && Pen.Mode == TPenMode::Copy &&
      points.size() >= 2) {
    // A wide pen's curve (the marks' rings) in one step where its shape recurs.
    BeforeDirectWrite();
    if (widePens_.DrawChain(buffer_, Pen.Width, points, ToPixel(Pen.Color))) {
      position_ = {Clamp(points.back().X), Clamp(points.back().Y)};
      return;
    }
  }
  if (!OnePixelPen() || Pen.Style == TPenStyle::Clear || points.size() < 2) {
    for (std::size_t i = 1; i < points.size(); ++i)
      PixelLine(points[i - 1].X, points[i - 1].Y, points[i].X, points[i].Y);
    return;
  }
  // What PixelLine does for each segment, with the pen set once.
  BeforeDirectWrite();
  const std::uint32_t colour = ToPixel(Pen.Color);
  raster_.SetPen(colour, Pen.Style, Pen.Mode);
  raster_.SetBackground(Brush.Style == TBrushStyle::Solid, ToPixel(Brush.Color));
  TPixelPoint from{Clamp(points[0].X), Clamp(points[0].Y)};
  for (std::size_t i = 1; i < points.size(); ++i) {
    // A line of no length after the first one-pixel line only writes the pixel the line
    // before ended on, in the same colour: nothing changes.
    if (i > 1 && points[i] == points[i - 1]) continue;
    const TPixelPoint to{Clamp(points[i].X), Clamp(points[i].Y)};
    raster_.Line(from.X, from.Y, to.X, to.Y);
    raster_.Put(to.X, to.Y, colour);
    from = to;
  }
  position_ = from;
}

bool TDibCanvas::BesideRows(std::span<const TPixelPoint> points) const noexcept {
  if (points.empty()) return true;
  const auto [low, high] = std::minmax_element(
      points.begin(), points.end(), [](TPixelPoint a, TPixelPoint b) { return a.Y < b.Y; });
  // A wide pen's round caps and joins reach half its width past the points; a pixel more for
  // GDI's rounding.
  const long long reach = std::max(1, Pen.Width) + 2;
  const long long rowBegin = buffer_.RowBegin(), rowEnd = rowBegin + buffer_.RowCount();
  return high->Y + reach < rowBegin || low->Y - reach >= rowEnd;
}

bool TDibCanvas::FilledBox(int x1, int y1, int x2, int y2) {
  if (Pen.Style != TPenStyle::Solid || !OnePixelPen() || Pen.Mode != TPenMode::Copy ||
      Brush.Style != TBrushStyle::Solid)
    return false;
  const int left = std::min(x1, x2), right = std::max(x1, x2);
  const int top = std::min(y1, y2), bottom = std::max(y1, y2);
  if (right - left < 3 || bottom - top < 3 || left < 0 || top < 0 || right > buffer_.Width ||
      bottom > buffer_.Height)
    return false;
  BeforeDirectWrite();
  const std::uint32_t pen = ToPixel(Pen.Color), fill = ToPixel(Brush.Color);
  const long long rowBegin = std::max(top, buffer_.RowBegin());
  const long long rowEnd =
      std::min<long long>(bottom, static_cast<long long>(buffer_.RowBegin()) + buffer_.RowCount());
  for (long long y = rowBegin; y < rowEnd; ++y) {
    std::uint32_t* row = buffer_.Bits + y * buffer_.Stride;
    if (y == top || y == bottom - 1) {
      FillPixels(row + left, row + right, pen);
    } else {
      row[left] = row[right - 1] = pen;
      FillPixels(row + left + 1, row + right - 1, fill);
    }
  }
  return true;
}

void TDibCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  const TPixelPoint corners[] = {{x1, y1}, {x2, y2}};
  if (BesideRows(corners) || FilledBox(x1, y1, x2, y2)) return;
  Gdi().Rectangle(x1, y1, x2, y2);
  AfterGdi();
}

void TDibCanvas::Polyline(std::span<const TPixelPoint> points) {
  if (BesideRows(points)) return;
  Gdi().Polyline(points);
  AfterGdi();
}

void TDibCanvas::Polygon(std::span<const TPixelPoint> points) {
  if (BesideRows(points)) return;
  BeforeDirectWrite();
  if (polygons_.Draw(buffer_, Pen, Brush, points)) return;
  Gdi().Polygon(points);
  AfterGdi();
}

void TDibCanvas::SetFont(const TLogFont& font) {
  font_ = font;
  gdi_.SetFont(font);
}

void TDibCanvas::TextOut(int x, int y, std::string_view text) {
  BeforeDirectWrite();
  if (sprites_.Draw(buffer_, Clamp(x), Clamp(y), font_, gdi_.WideText(), text, FontColor, Brush))
    return;
  Gdi().TextOut(x, y, text);
  AfterGdi();
}

std::vector<std::unique_ptr<TDibCanvas>> MakeBandCanvases(TDibSurface& surface,
                                                          std::span<const TBand> bands) {
  std::vector<std::unique_ptr<TDibCanvas>> canvases;
  if (bands.size() < 2 || bands.size() > static_cast<std::size_t>(kMaxBands)) return canvases;
  for (std::size_t k = 0; k < bands.size(); ++k) {
    canvases.push_back(std::make_unique<TDibCanvas>(surface, bands[k], static_cast<int>(k)));
    if (!canvases.back()->Valid()) return {};
  }
  return canvases;
}

}  // namespace sxf
