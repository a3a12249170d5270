#pragma once
// The drawing surface on QPainter over a QImage (RGB32), antialiasing off. Pen width 0 or 1
// is a cosmetic one-pixel pen with flat caps, so LineTo leaves out the pixel of the end that
// lies further right (or further down, for a steep segment): its end pixel when it runs
// that way, its start pixel when it runs back (graphics/PixelRaster.h has the whole rule);
// wider pens have round caps and joins. Rectangle leaves out the right column and bottom row.
// Polygon fills odd-even. XOR is RasterOp_SourceXorDestination. SetPixel writes the pixel directly.
// Pixel coordinates are clamped to +-kPixelLimit before they reach QPainter.
//
// One-pixel pens are written by the core's rasteriser straight into the image, as QPainter
// would draw them: segments in copy mode form runs, as QPainter's batches did, that end at
// a pen change, every 8192 segments, at SetPixel in another colour and at every other
// operation; an XOR segment is a run of its own, and one of no length is a single pixel.
// Wide pens' segments are gathered and handed to QPainter in batches while the pen stays the
// same; every other operation, a pen change and Flush() draw what is gathered first.
//
// TextOut writes the text in the font record's cell: the cell height is ascent + descent, a
// one-byte character is the record's average width wide and a two-byte one twice that; the
// cell's upper-left corner is the given pixel and the escapement turns it counter-clockwise
// about that pixel. Platform fonts are made once per distinct record and kept.

#include <QImage>
#include <QLine>
#include <QPainter>
#include <QPen>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

#include "graphics/Canvas.h"
#include "graphics/PixelRaster.h"
#include "platform/qt/DrawingCaches.h"
#include "render/BandCanvases.h"
#include "render/Bands.h"
#include "platform/qt/Fonts.h"

namespace sxf {

class TQtCanvas final : public TCanvas {
 public:
  static constexpr int kPixelLimit = 1 << 20;

  explicit TQtCanvas(QImage& image);
  // A canvas over rows top .. bottom - 1 of the image, for drawing in bands on several
  // threads: it draws as the canvas over the whole image would, in the image's coordinates,
  // and writes only those rows, with the band's own caches. The image must be RGB32, with its
  // pixels detached (bits() called) on the calling thread first; every band paints through an
  // image of its own over the same pixels.
  TQtCanvas(QImage& image, int top, int bottom, TQtDrawingCaches& caches);
  ~TQtCanvas() override;

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void SetPixel(int x, int y, TColor color) override;
  // A one-pixel copy-mode pen goes to the rasteriser in one step; anything else takes the
  // three calls.
  void PixelLine(int x1, int y1, int x2, int y2) override;
  void PixelLines(std::span<const TPixelPoint> points) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Polyline(std::span<const TPixelPoint> points) override;
  void Polygon(std::span<const TPixelPoint> points) override;
  void SetFont(const TLogFont& font) override;
  void TextOut(int x, int y, std::string_view text) override;

  // Draws every gathered segment and ends the run of one-pixel segments. The image is
  // complete after Flush or destruction.
  void Flush();

  static QColor ToQColor(TColor c) noexcept;
  // The QPainter pen of a canvas pen: width 0 or 1 cosmetic with flat caps, wider ones round.
  static QPen ToQPen(const TPen& pen);

  // Characters on a one-coloured background come from the shared text sprites; off, every
  // character goes through QPainter (the tests compare the two).
  bool TextSpritesOn = true;
  // Small polygons in one colour from the shared shapes; off, every polygon goes through
  // QPainter (the tests compare the two).
  bool PolygonSpritesOn = true;
  // Characters through the shared glyphs instead of QPainter's text layout; off, every
  // character not kept as a sprite goes through QPainter::drawText (the tests compare the two).
  bool CharacterGlyphsOn = true;

  // One-pixel pens through QPainter's batches instead of the rasteriser: the plain path the
  // fast one is checked and timed against, and the one images wider or taller than the
  // rasteriser takes always use. Set before drawing.
  void SetOnePixelPensThroughQPainter(bool on) noexcept {
    onePixelThroughQPainter_ = on || !rasterFits_;
  }

  // Platform fonts made so far (one per distinct font record).
  int FontsCreated() const noexcept { return fontsCreated_; }

 private:
  void ApplyPen();
  void ThinLineTo(QPoint to);
  // True when PixelLine's pen (one pixel wide, copy mode) goes to the rasteriser.
  bool ThroughRasteriser() const noexcept {
    return Pen.Width <= 1 && !onePixelThroughQPainter_ && Pen.Mode == TPenMode::Copy;
  }
  // PixelLine with a one-pixel pen in copy mode through the rasteriser.
  void ThinPixelLine(int x1, int y1, int x2, int y2);
  void ApplyBrush();
  void PlotPixel(int x, int y, TColor color);
  // The pixels x .. x + w - 1, y .. y + h - 1 that lie in the image, in one colour.
  void FillPixels(int x, int y, int w, int h, TColor color);

  // True when nothing between rows top and bottom (inclusive), widened by margin, lies in
  // this canvas's rows: the drawing call that would write only there is left out.
  bool OutsideRows(int top, int bottom, int margin) const noexcept {
    return bottom + margin < rowTop_ || top - margin >= rowBottom_;
  }

  QImage bandImage_;  // a band's own image over the shared pixels
  QImage& image_;
  QPainter painter_;
  std::vector<QLine> pendingLines_;
  TWidePenSprites& sprites_;
  TPolygonSprites& polygonSprites_;
  TTextSprites& textSprites_;
  TCharacterGlyphs& characterGlyphs_;
  int rowTop_ = 0, rowBottom_ = 0;  // the rows written
  TPen pendingPen_;                 // the pen the gathered segments are drawn with
  TPen appliedPen_;
  TBrush appliedBrush_;
  bool penApplied_ = false;
  bool brushApplied_ = false;
  QPoint position_;
  TPixelRaster raster_;
  bool rasterFits_ = false;
  bool onePixelThroughQPainter_ = false;
  bool thinRun_ = false;  // raster_ holds thinRunPen_ and a run of its segments is open
  TPen thinRunPen_;
  int thinRunSegments_ = 0;
  struct TLogFontHash {
    std::size_t operator()(const TLogFont& f) const noexcept;
  };
  std::unordered_map<TLogFont, TQtFont, TLogFontHash> fonts_;
  const TQtFont* font_ = nullptr;  // the current record's font, made on first use
  TLogFont record_;
  bool fontApplied_ = false;     // the painter holds font_
  bool textPenApplied_ = false;  // the painter's pen is textPenColor_
  TColor textPenColor_ = 0;
  int fontsCreated_ = 0;
  uchar* bits_ = nullptr;
  qsizetype bytesPerLine_ = 0;
  int width_ = 0, height_ = 0;  // the image's, taken once
};

// One canvas per band of the image, band k with band k's caches; or, for one band, one canvas
// over the whole image with the shared caches.
std::vector<std::unique_ptr<TQtCanvas>> MakeBandCanvases(QImage& image,
                                                         std::span<const TBand> bands);

}  // namespace sxf
