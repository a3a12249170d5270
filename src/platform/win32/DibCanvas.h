#pragma once
// The drawing surface on a DIB section, with the pixels of TGdiCanvas on the same surface
// but without a GDI call for the operations the tool makes by the hundred thousand:
// one-pixel pens are written by the core's rasteriser with GDI's pixel rules for cosmetic
// pens (graphics/GdiPixelRaster.h), single pixels directly, short segments of wide solid pens
// in copy mode, small solid polygons and characters on a one-coloured background from
// the shared sprites. Other wide pens, outlined and filled shapes and every other character go
// through a TGdiCanvas on the surface's device context; GDI's work is flushed before pixels are
// written directly after it.
//
// A one-pixel LineTo depends on nothing but the pen, the brush (a solid one makes the gaps
// of dotted styles opaque in its colour) and the two ends: GDI starts the dot pattern afresh
// at every LineTo, so no pattern position is carried from one call to the next.

#include <memory>
#include <span>
#include <thread>
#include <vector>

#include "graphics/Canvas.h"
#include "graphics/GdiPixelRaster.h"
#include "platform/win32/DibSurface.h"
#include "platform/win32/GdiCanvas.h"
#include "platform/win32/GdiPolygonSprites.h"
#include "platform/win32/GdiTextSprites.h"
#include "platform/win32/GdiWidePenSprites.h"
#include "render/Bands.h"

namespace sxf {

class TDibCanvas final : public TCanvas {
 public:
  // The surface stays the caller's; on one that is not Valid() nothing is drawn. The canvas selects
  // its own objects into its device context and puts the previous ones back when it is destroyed.
  // It uses the caches of set 0.
  explicit TDibCanvas(TDibSurface& surface);
  // A canvas for one band of a picture drawn on several threads: it writes rows band.Top ..
  // band.Bottom - 1 of surface only, every pixel there as the canvas over the whole surface
  // writes it, in the whole picture's coordinates, through a device context of its own and
  // with the caches of set cacheSet (0 .. kMaxBands - 1; no two bands drawing at once may
  // share one). Not Valid(), drawing nothing, when the band's device context cannot be had.
  TDibCanvas(TDibSurface& surface, TBand band, int cacheSet);

  bool Valid() const noexcept { return valid_; }

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void SetPixel(int x, int y, TColor color) override;
  void PixelLine(int x1, int y1, int x2, int y2) override;
  void PixelLines(std::span<const TPixelPoint> points) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Polyline(std::span<const TPixelPoint> points) override;
  void Polygon(std::span<const TPixelPoint> points) override;
  void SetFont(const TLogFont& font) override;
  void TextOut(int x, int y, std::string_view text) override;

  // As TGdiCanvas::UseWideText.
  void UseWideText(bool wide) noexcept { gdi_.UseWideText(wide); }

 private:
  bool OnePixelPen() const noexcept { return Pen.Width <= 1; }
  // The state GDI draws with: this canvas's pen, brush and font colour. Every call through it
  // ends with AfterGdi().
  TGdiCanvas& Gdi();
  // GDI queues calls per thread and only the thread that queued them can flush them: a band
  // drawn on another thread than its canvas's maker flushes its own at once, so that the
  // picture is complete when the threads are done.
  void AfterGdi() {
    if (std::this_thread::get_id() != maker_) GdiFlush();
  }
  // Waits for GDI's pending work before pixels are written directly.
  void BeforeDirectWrite() {
    if (gdiDrew_) GdiFlush();
    gdiDrew_ = false;
  }
  void OnePixelLine(int x1, int y1, int x2, int y2);
  // The pen's pixels along these points (filled between them or not) all lie above or all
  // below the rows written, so that GDI would write nothing there: its call can be left out.
  bool BesideRows(std::span<const TPixelPoint> points) const noexcept;
  // A rectangle of a solid one-pixel copy-mode pen around a solid brush, written as GDI
  // writes it (the box's pixels less its right column and bottom row, the outermost ones the
  // pen's); false where GDI must draw it (other pens and brushes, boxes thinner than three
  // pixels or not wholly on the surface).
  bool FilledBox(int x1, int y1, int x2, int y2);
  // A wide LineTo from the current position through the sprites; false where GDI must draw it.
  bool WideLineFromSprites(TPixelPoint to);

  // A band's own device context and bitmap over the surface's pixels; null for the whole.
  std::unique_ptr<TDibSurface> band_;
  bool valid_ = true;
  TGdiCanvas gdi_;
  TPixelBuffer buffer_;
  TGdiPixelRaster raster_;
  TGdiTextSprites& sprites_;
  TGdiWidePenSprites& widePens_;
  TGdiPolygonSprites& polygons_;
  std::thread::id maker_ = std::this_thread::get_id();
  TLogFont font_;
  TPixelPoint position_;
  bool gdiDrew_ = false;
};

// One canvas per band of surface, band k with the caches of set k; none when there are fewer
// than two bands or any band's device context cannot be had (the picture is then drawn on
// one thread).
std::vector<std::unique_ptr<TDibCanvas>> MakeBandCanvases(TDibSurface& surface,
                                                          std::span<const TBand> bands);

}  // namespace sxf
