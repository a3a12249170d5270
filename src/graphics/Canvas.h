#pragma once
// The drawing surface the primitives paint on, modelled on the desktop platform's canvas.
// Coordinates are pixels (32-bit, y down). The pen, brush and font colour are public state
// read by every operation, as the platform's canvas does; nothing saves or restores them.
//
// Conventions every implementation keeps: pen width 0 or 1 is a one-pixel pen; LineTo leaves
// out its end pixel and moves the current position there; Rectangle leaves out the right
// column and bottom row, outlines with the pen and fills with the brush; Polygon fills with
// the odd-even rule; SetPixel ignores the pen mode.

#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "attributes/UnitGraAtt.h"
#include "util/MyFunc.h"

namespace sxf {

enum class TPenStyle : std::uint8_t { Solid, Dash, Dot, DashDot, DashDotDot, Clear };
enum class TPenMode : std::uint8_t { Copy, Xor };
enum class TBrushStyle : std::uint8_t {
  Solid,
  Clear,
  Horizontal,
  Vertical,
  FDiagonal,
  BDiagonal,
  Cross,
  DiagCross
};

struct TPen {
  TColor Color = 0;
  int Width = 1;  // pixels
  TPenStyle Style = TPenStyle::Solid;
  TPenMode Mode = TPenMode::Copy;
  friend bool operator==(const TPen&, const TPen&) = default;
};

struct TBrush {
  TColor Color = 0xFFFFFF;
  TBrushStyle Style = TBrushStyle::Solid;
  friend bool operator==(const TBrush&, const TBrush&) = default;
};

// A font request in the platform's terms: cell height and average character width in
// pixels, escapement and orientation in tenths of a degree, face as Shift-JIS bytes.
struct TLogFont {
  int Height = 0;
  int Width = 0;
  int Escapement = 0;
  int Orientation = 0;
  int Weight = 400;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  int CharSet = 128;  // Shift-JIS
  std::string FaceName;
  // Solid pixels of the font colour only, no smoothing: for small text that must read at a
  // glance (the marks' numbers).
  bool NonAntialiased = false;
  friend bool operator==(const TLogFont&, const TLogFont&) = default;
};

struct TPixelPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPixelPoint&, const TPixelPoint&) = default;
};

// The point lists of the polyline and polygon operations. A caller fills WorldPoints (and
// WorldPointCount), calls DrawWorldPolyline or DrawWorldPolygon, then empties both.
struct TPointLists {
  std::vector<TDPoint> WorldPoints;
  int WorldPointCount = 0;
  std::vector<TPixelPoint> ScreenPoints;
  int ScreenPointCount = 0;
};

// Tables a drawing keeps between records (graphics/SolidArc.cpp), made on first use.
struct TArcAngleCache;

class TCanvas {
 public:
  virtual ~TCanvas() = default;

  TPen Pen;
  TBrush Brush;
  TColor FontColor = 0;
  // What a drawing writes on its way besides the pixels. Each canvas has its own, so that
  // canvases drawing on several threads at once share nothing they write.
  TPointLists Points;
  std::shared_ptr<TArcAngleCache> ArcAngles;
  // The rows this canvas writes: all of them, or a band's when several threads draw one
  // picture. Drawing code may leave out what lies wholly outside them where leaving it out
  // gives the same picture.
  int FirstRow = std::numeric_limits<int>::min();
  int EndRow = std::numeric_limits<int>::max();

  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  virtual void SetPixel(int x, int y, TColor color) = 0;
  // The line with its end pixel: MoveTo, LineTo and SetPixel of the end in the pen's colour.
  // A surface may do the same in one step; the pixels and the state afterwards must be those
  // of the three calls.
  virtual void PixelLine(int x1, int y1, int x2, int y2) {
    MoveTo(x1, y1);
    LineTo(x2, y2);
    SetPixel(x2, y2, Pen.Color);
  }
  // PixelLine from each point to the next, in order: a curve's segments in one call.
  virtual void PixelLines(std::span<const TPixelPoint> points) {
    for (std::size_t i = 1; i < points.size(); ++i)
      PixelLine(points[i - 1].X, points[i - 1].Y, points[i].X, points[i].Y);
  }
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  virtual void Polyline(std::span<const TPixelPoint> points) = 0;
  virtual void Polygon(std::span<const TPixelPoint> points) = 0;
  virtual void SetFont(const TLogFont& font) = 0;
  // Text bytes are Shift-JIS; (x, y) is the upper-left corner of the first character cell.
  virtual void TextOut(int x, int y, std::string_view text) = 0;
};

}  // namespace sxf
