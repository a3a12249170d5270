#include "platform/qt/QtCanvas.h"

#include <QFont>
#include <QPolygon>
#include <QTransform>
#include <cmath>
#include <algorithm>
#include <functional>
#include <limits>
#include <utility>

#include "platform/qt/QtRgb.h"
#include "platform/qt/ShiftJis.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {

int Clamp(int v) noexcept { return std::clamp(v, -TQtCanvas::kPixelLimit, TQtCanvas::kPixelLimit); }
QPoint Clamped(int x, int y) noexcept { return {Clamp(x), Clamp(y)}; }

Qt::PenStyle ToQt(TPenStyle s) noexcept {
  switch (s) {
    case TPenStyle::Dash: return Qt::DashLine;
    case TPenStyle::Dot: return Qt::DotLine;
    case TPenStyle::DashDot: return Qt::DashDotLine;
    case TPenStyle::DashDotDot: return Qt::DashDotDotLine;
    case TPenStyle::Clear: return Qt::NoPen;
    case TPenStyle::Solid: break;
  }
  return Qt::SolidLine;
}

Qt::BrushStyle ToQt(TBrushStyle s) noexcept {
  switch (s) {
    case TBrushStyle::Solid: return Qt::SolidPattern;
    case TBrushStyle::Horizontal: return Qt::HorPattern;
    case TBrushStyle::Vertical: return Qt::VerPattern;
    case TBrushStyle::FDiagonal: return Qt::BDiagPattern;  // "/" in y-down pixels
    case TBrushStyle::BDiagonal: return Qt::FDiagPattern;
    case TBrushStyle::Cross: return Qt::CrossPattern;
    case TBrushStyle::DiagCross: return Qt::DiagCrossPattern;
    case TBrushStyle::Clear: break;
  }
  return Qt::NoBrush;
}

}  // namespace

QColor TQtCanvas::ToQColor(TColor c) noexcept {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

TQtCanvas::TQtCanvas(QImage& image)
    : TQtCanvas(image, 0, std::numeric_limits<int>::max(), BandDrawingCaches(0)) {}

TQtCanvas::TQtCanvas(QImage& image, int top, int bottom, TQtDrawingCaches& caches)
    : bandImage_(top > 0 || bottom < image.height()
                     ? QImage(image.bits(), image.width(), image.height(), image.bytesPerLine(),
                              image.format())
                     : QImage()),
      image_(bandImage_.isNull() ? image : bandImage_),
      sprites_(caches.WidePens),
      polygonSprites_(caches.Polygons),
      textSprites_(caches.Texts),
      characterGlyphs_(caches.Glyphs) {
  if (image_.format() != QImage::Format_RGB32)
    image_ = image_.convertToFormat(QImage::Format_RGB32);
  // Direct pixel access for SetPixel; taken before the painter so that no detach happens later.
  bits_ = image_.bits();
  bytesPerLine_ = image_.bytesPerLine();
  width_ = image_.width();
  height_ = image_.height();
  rowTop_ = std::clamp(top, 0, height_);
  rowBottom_ = std::clamp(bottom, rowTop_, height_);
  if (rowTop_ > 0 || rowBottom_ < height_) FirstRow = rowTop_, EndRow = rowBottom_;
  rasterFits_ =
      image_.width() <= TPixelRaster::kMaxSide && image_.height() <= TPixelRaster::kMaxSide;
  onePixelThroughQPainter_ = !rasterFits_;
  if (rasterFits_) {
    TPixelBuffer buffer{reinterpret_cast<std::uint32_t*>(bits_), image_.width(), image_.height(),
                        bytesPerLine_ / static_cast<qsizetype>(sizeof(std::uint32_t))};
    buffer.FirstRow = rowTop_;
    buffer.EndRow = rowBottom_;
    raster_ = TPixelRaster(buffer);
  }
  painter_.begin(&image_);
  painter_.setRenderHint(QPainter::Antialiasing, false);
  if (rowTop_ > 0 || rowBottom_ < height_)
    painter_.setClipRect(QRect(0, rowTop_, width_, rowBottom_ - rowTop_));
  pendingLines_.reserve(4096);
}

TQtCanvas::~TQtCanvas() {
  Flush();
  painter_.end();
}

QPen TQtCanvas::ToQPen(const TPen& p) {
  QPen pen(ToQColor(p.Color));
  pen.setStyle(ToQt(p.Style));
  if (p.Width <= 1) {
    pen.setWidth(0);  // cosmetic, one pixel
    pen.setCapStyle(Qt::FlatCap);
  } else {
    pen.setWidth(p.Width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
  }
  return pen;
}

void TQtCanvas::ApplyPen() {
  if (penApplied_ && appliedPen_ == Pen) return;
  textPenApplied_ = false;
  painter_.setPen(ToQPen(Pen));
  painter_.setCompositionMode(Pen.Mode == TPenMode::Xor ? QPainter::RasterOp_SourceXorDestination
                                                        : QPainter::CompositionMode_SourceOver);
  appliedPen_ = Pen;
  penApplied_ = true;
}

void TQtCanvas::ApplyBrush() {
  if (brushApplied_ && appliedBrush_ == Brush) return;
  painter_.setBrush(QBrush(ToQColor(Brush.Color), ToQt(Brush.Style)));
  appliedBrush_ = Brush;
  brushApplied_ = true;
}

void TQtCanvas::Flush() {
  thinRun_ = false;
  if (pendingLines_.empty()) return;
  const TPen current = Pen;
  Pen = pendingPen_;
  ApplyPen();
  Pen = current;
  if (pendingPen_.Width <= 1) {
    painter_.drawLines(pendingLines_.data(), static_cast<int>(pendingLines_.size()));
  } else {
    // Wide pens: chains of segments that continue one another go through the sprites.
    const std::span<const QLine> all(pendingLines_);
    std::size_t i = 0;
    while (i < all.size()) {
      std::size_t j = i + 1;
      while (j < all.size() && all[j].p1() == all[j - 1].p2()) ++j;
      const auto chain = all.subspan(i, j - i);
      if (!sprites_.Draw(image_, pendingPen_, chain, rowTop_, rowBottom_))
        painter_.drawLines(chain.data(), static_cast<int>(chain.size()));
      i = j;
    }
  }
  pendingLines_.clear();
}

void TQtCanvas::MoveTo(int x, int y) { position_ = Clamped(x, y); }

void TQtCanvas::ThinLineTo(QPoint to) {
  if (!pendingLines_.empty()) Flush();  // wide segments, gathered with another pen
  if (thinRun_ && !(thinRunPen_ == Pen)) thinRun_ = false;
  if (Pen.Mode == TPenMode::Xor) {
    // As one QPainter::drawLine: a run of its own, and a single pixel when it has no length.
    thinRun_ = false;
    raster_.SetPen(ToQColor(Pen.Color).rgb() & 0x00FFFFFFu, Pen.Style, TPenMode::Xor);
    if (to != position_)
      raster_.Line(position_.x(), position_.y(), to.x(), to.y());
    else if (Pen.Style != TPenStyle::Clear)
      raster_.Point(to.x(), to.y());
    return;
  }
  if (to == position_) return;  // a flat-capped line of no length paints nothing
  if (!thinRun_) {
    raster_.SetPen(ToQColor(Pen.Color).rgb(), Pen.Style, TPenMode::Copy);
    thinRunPen_ = Pen;
    thinRun_ = true;
    thinRunSegments_ = 0;
  }
  raster_.Line(position_.x(), position_.y(), to.x(), to.y());
  if (++thinRunSegments_ >= 8192) thinRun_ = false;  // where the painter's batches ended
}

void TQtCanvas::LineTo(int x, int y) {
  const QPoint to = Clamped(x, y);
  if (Pen.Width <= 1 && !onePixelThroughQPainter_) {
    ThinLineTo(to);
    position_ = to;
    return;
  }
  thinRun_ = false;  // another pen
  if (!pendingLines_.empty() && !(pendingPen_ == Pen)) Flush();
  if (Pen.Mode == TPenMode::Xor) {
    // XOR segments must reach the image in their own order; no gathering.
    ApplyPen();
    painter_.drawLine(position_, to);
  } else if (to != position_) {  // a flat-capped line of no length paints nothing
    pendingPen_ = Pen;
    pendingLines_.emplace_back(position_, to);
    if (pendingLines_.size() >= 8192) Flush();
  }
  position_ = to;
}

void TQtCanvas::PlotPixel(int x, int y, TColor color) {
  if (x < 0 || y < rowTop_ || x >= width_ || y >= rowBottom_) return;
  auto* line = reinterpret_cast<QRgb*>(bits_ + static_cast<qsizetype>(y) * bytesPerLine_);
  line[x] = ToQRgb(color);
}

void TQtCanvas::FillPixels(int x, int y, int w, int h, TColor color) {
  const int x0 = std::max(0, x);
  const int x1 = std::min(width_, x + w);
  const int y0 = std::max(rowTop_, y);
  const int y1 = std::min(rowBottom_, y + h);
  if (x0 >= x1) return;
  const QRgb rgb = ToQColor(color).rgb();
  for (int row = y0; row < y1; ++row) {
    auto* line = reinterpret_cast<QRgb*>(bits_ + static_cast<qsizetype>(row) * bytesPerLine_);
    std::fill(line + x0, line + x1, rgb);
  }
}

void TQtCanvas::SetPixel(int x, int y, TColor color) {
  // Gathered wide segments in the same colour may be drawn after this pixel: they only write
  // that colour, so the order does not matter. Any other colour must wait for them. A pixel
  // in another colour also ends the run of one-pixel segments, as it ended QPainter's batch.
  if (!pendingLines_.empty() && (pendingPen_.Color != color || pendingPen_.Mode != TPenMode::Copy))
    Flush();
  if (thinRun_ && thinRunPen_.Color != color) thinRun_ = false;
  PlotPixel(x, y, color);
}

void TQtCanvas::PixelLine(int x1, int y1, int x2, int y2) {
  if (!ThroughRasteriser()) {
    TCanvas::PixelLine(x1, y1, x2, y2);
    return;
  }
  ThinPixelLine(x1, y1, x2, y2);
}

void TQtCanvas::PixelLines(std::span<const TPixelPoint> points) {
  if (Pen.Width > 1 && Pen.Mode == TPenMode::Copy && points.size() >= 2) {
    // A wide pen's curve (the marks' rings): what MoveTo, LineTo and SetPixel do for each
    // segment, without the calls. The segments are gathered with this pen, and each end pixel
    // is in the gathered segments' colour, so it may go on before them.
    thinRun_ = false;
    if (!pendingLines_.empty() && !(pendingPen_ == Pen)) Flush();
    pendingPen_ = Pen;
    for (std::size_t i = 1; i < points.size(); ++i) {
      const QPoint from = Clamped(points[i - 1].X, points[i - 1].Y);
      const QPoint to = Clamped(points[i].X, points[i].Y);
      if (to != from) {  // a flat-capped line of no length paints nothing
        pendingLines_.emplace_back(from, to);
        if (pendingLines_.size() >= 8192) Flush();
      }
      PlotPixel(points[i].X, points[i].Y, Pen.Color);
    }
    position_ = Clamped(points.back().X, points.back().Y);
    return;
  }
  if (!ThroughRasteriser()) {
    TCanvas::PixelLines(points);
    return;
  }
  for (std::size_t i = 1; i < points.size(); ++i) {
    const TPixelPoint a = points[i - 1], b = points[i];
    // A line of no length after the first only writes the pixel the line before ended on,
    // in the same colour, and finds the run's pen as that line left it: nothing changes.
    if (i > 1 && a == b) continue;
    ThinPixelLine(a.X, a.Y, b.X, b.Y);
  }
}

void TQtCanvas::ThinPixelLine(int x1, int y1, int x2, int y2) {
  if (x1 == x2 && y1 == y2) {
    // What MoveTo, LineTo and SetPixel do for a line of no length, most of a small curve's
    // segments: the run's bookkeeping, then the one pixel.
    if (!pendingLines_.empty()) Flush();
    if (thinRun_ && !(thinRunPen_ == Pen)) thinRun_ = false;
    position_ = Clamped(x2, y2);
    PlotPixel(x2, y2, Pen.Color);
    return;
  }
  // MoveTo and LineTo as they are. SetPixel's end pixel then needs neither of its checks:
  // ThinLineTo drew every gathered wide segment, and a run it leaves open has this pen.
  position_ = Clamped(x1, y1);
  const QPoint to = Clamped(x2, y2);
  ThinLineTo(to);
  position_ = to;
  PlotPixel(x2, y2, Pen.Color);
}

void TQtCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Flush();
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const QPoint a = Clamped(x1, y1);
  const QPoint b = Clamped(x2, y2);
  const int w = b.x() - a.x();
  const int h = b.y() - a.y();
  if (w <= 0 || h <= 0) return;
  if (OutsideRows(a.y(), b.y(), Pen.Width + 2)) return;
  if (Brush.Style == TBrushStyle::Solid && Pen.Style == TPenStyle::Solid && Pen.Width <= 1 &&
      Pen.Mode == TPenMode::Copy && w >= 2 && h >= 2 && a.x() >= 0 && a.y() >= 0 &&
      b.x() <= image_.width() && b.y() <= image_.height()) {
    // Plain boxes inside the image (the marks' white squares, the background) are written
    // directly: the outline in the pen's colour, the inside in the brush's, as QPainter does.
    FillPixels(a.x(), a.y(), w, h, Pen.Color);
    if (w > 2 && h > 2 && Brush.Color != Pen.Color)
      FillPixels(a.x() + 1, a.y() + 1, w - 2, h - 2, Brush.Color);
    return;
  }
  ApplyPen();
  ApplyBrush();
  if (Pen.Style == TPenStyle::Clear) {
    // Without a pen the filled area loses its right column and bottom row once more.
    if (Brush.Style != TBrushStyle::Clear && w > 1 && h > 1)
      painter_.fillRect(QRect(a.x(), a.y(), w - 1, h - 1), painter_.brush());
    return;
  }
  // A one-pixel outline of QRect(x, y, w - 1, h - 1) covers x .. x + w - 1.
  painter_.drawRect(QRect(a.x(), a.y(), w - 1, h - 1));
}

namespace {

// The lowest and highest row of the points, clamped as the painter gets them.
std::pair<int, int> RowsOf(std::span<const TPixelPoint> points) noexcept {
  int top = std::numeric_limits<int>::max(), bottom = std::numeric_limits<int>::min();
  for (const TPixelPoint& p : points) {
    top = std::min(top, p.Y);
    bottom = std::max(bottom, p.Y);
  }
  return {Clamp(top), Clamp(bottom)};
}

}  // namespace

void TQtCanvas::Polyline(std::span<const TPixelPoint> points) {
  Flush();
  if (points.size() < 2) return;
  if (const auto [top, bottom] = RowsOf(points); OutsideRows(top, bottom, Pen.Width + 2)) return;
  ApplyPen();
  QPolygon polygon(static_cast<int>(points.size()));
  for (std::size_t i = 0; i < points.size(); ++i)
    polygon.setPoint(static_cast<int>(i), Clamped(points[i].X, points[i].Y));
  painter_.drawPolyline(polygon);
}

void TQtCanvas::Polygon(std::span<const TPixelPoint> points) {
  Flush();
  if (points.size() < 2) return;
  if (const auto [top, bottom] = RowsOf(points); OutsideRows(top, bottom, Pen.Width + 2)) return;
  ApplyPen();
  ApplyBrush();
  QPolygon polygon(static_cast<int>(points.size()));
  for (std::size_t i = 0; i < points.size(); ++i)
    polygon.setPoint(static_cast<int>(i), Clamped(points[i].X, points[i].Y));
  if (PolygonSpritesOn && polygonSprites_.Draw(image_, Pen, Brush, polygon, rowTop_, rowBottom_))
    return;
  painter_.drawPolygon(polygon, Qt::OddEvenFill);
}

std::size_t TQtCanvas::TLogFontHash::operator()(const TLogFont& f) const noexcept {
  std::size_t h = std::hash<std::string>()(f.FaceName);
  for (const int v : {f.Height, f.Width, f.Escapement, f.Orientation, f.Weight, f.CharSet,
                      (f.Italic ? 1 : 0) | (f.Underline ? 2 : 0) | (f.StrikeOut ? 4 : 0) |
                          (f.NonAntialiased ? 8 : 0)})
    h = h * 1000003u ^ static_cast<std::size_t>(static_cast<unsigned>(v));
  return h;
}

void TQtCanvas::SetFont(const TLogFont& font) {
  if (font_ != nullptr && font == record_) return;
  record_ = font;
  font_ = nullptr;
  fontApplied_ = false;
}

namespace {

// One character with its cell's upper-left corner at (ox, oy). The turn, scale and offset
// of the character are composed first and their offset is rounded to 1/64 pixel before the
// whole pixel (ox, oy) is added, so that the same character lands on the same pixels
// wherever it is written.
QTransform CharacterTransform(const TQtFont& f, int escapement, std::string_view text, int ox,
                              int oy) {
  QTransform t;
  t.rotate(-escapement / 10.0);  // escapement runs counter-clockwise, y is down
  if (f.Vertical && text.size() == 2 && IsLeadByte(text[0])) {
    // The vertical face: a two-byte character stands upright in a run turned by the
    // escapement, that is turned a quarter back about its cell's centre.
    const double cellWidth = f.CellFullWidth;
    const double cellHeight = f.CellHeight;
    t.translate(cellWidth / 2.0, cellHeight / 2.0);
    t.rotate(-90.0);
    t.scale(cellHeight / f.NaturalFullWidth, cellWidth / f.NaturalCell);
    t.translate(-f.NaturalFullWidth / 2.0, -f.NaturalCell / 2.0 + f.Ascent);
  } else {
    t.scale(f.ScaleX, f.ScaleY);
    t.translate(0.0, f.Ascent);
  }
  const auto snap = [](double v) { return std::nearbyint(v * 64.0) / 64.0; };
  t.setMatrix(t.m11(), t.m12(), t.m13(), t.m21(), t.m22(), t.m23(), snap(t.dx()) + ox,
              snap(t.dy()) + oy, t.m33());
  return t;
}

void DrawCharacter(QPainter& p, const TQtFont& f, int escapement, std::string_view text, int ox,
                   int oy) {
  p.setTransform(CharacterTransform(f, escapement, text, ox, oy));
  p.drawText(QPointF(0.0, 0.0), ShiftJisCharToQString(text));
}

}  // namespace

void TQtCanvas::TextOut(int x, int y, std::string_view text) {
  Flush();
  if (font_ == nullptr) {
    auto it = fonts_.find(record_);
    if (it == fonts_.end()) {
      // A long session of zooming meets many sizes; start afresh rather than grow for ever.
      if (fonts_.size() >= 512) fonts_.clear();
      it = fonts_.emplace(record_, MakeQtFont(record_)).first;
      ++fontsCreated_;
    }
    font_ = &it->second;
  }
  const TQtFont& f = *font_;
  const int px = Clamp(x);
  const int py = Clamp(y);
  if (TextSpritesOn) {
    // Anything the character draws lies within its cell's diagonal of the pixel, with room
    // for italics and smoothing.
    const int reach = static_cast<int>(std::ceil(std::hypot(f.CellFullWidth, f.CellHeight))) + 3;
    // The drawing is only asked for when a case is first met: its state is held by one
    // reference, which std::function keeps without allocating.
    const struct {
      const TQtFont& Font;
      int Escapement;
      std::string_view Text;
    } character{f, record_.Escapement, text};
    if (textSprites_.Draw(
            image_, px, py, record_, text, FontColor, reach,
            [&character](QPainter& p) {
              p.setFont(character.Font.Font);
              const QPoint origin = p.transform().map(QPoint(0, 0));
              DrawCharacter(p, character.Font, character.Escapement, character.Text, origin.x(),
                            origin.y());
            },
            rowTop_, rowBottom_))
      return;
  }
  // Another band's character: nothing it draws reaches further than twice its cell's diagonal.
  if (rowTop_ > 0 || rowBottom_ < height_) {
    const int margin =
        2 * static_cast<int>(std::ceil(std::hypot(f.CellFullWidth, f.CellHeight))) + 8;
    if (OutsideRows(py, py, margin)) return;
  }
  if (!fontApplied_) {
    painter_.setFont(f.Font);
    fontApplied_ = true;
  }
  if (!textPenApplied_ || textPenColor_ != FontColor) {
    painter_.setPen(ToQColor(FontColor));
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    textPenColor_ = FontColor;
    textPenApplied_ = true;
    penApplied_ = false;
  }
  const QTransform t = CharacterTransform(f, record_.Escapement, text, px, py);
  const QString& chars = ShiftJisCharToQString(text);
  if (!CharacterGlyphsOn ||
      !characterGlyphs_.Draw(painter_, f, record_, text, chars, t, rowTop_, rowBottom_)) {
    painter_.setTransform(t);
    painter_.drawText(QPointF(0.0, 0.0), chars);
  }
  painter_.resetTransform();
}

std::vector<std::unique_ptr<TQtCanvas>> MakeBandCanvases(QImage& image,
                                                         std::span<const TBand> bands) {
  std::vector<std::unique_ptr<TQtCanvas>> canvases;
  if (bands.size() <= 1) {
    canvases.push_back(std::make_unique<TQtCanvas>(image));
    return canvases;
  }
  if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
  image.bits();  // detached here, before the bands share its pixels
  for (std::size_t i = 0; i < bands.size(); ++i)
    canvases.push_back(std::make_unique<TQtCanvas>(image, bands[i].Top, bands[i].Bottom,
                                                   BandDrawingCaches(static_cast<int>(i))));
  return canvases;
}

}  // namespace sxf
