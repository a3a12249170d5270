#pragma once
// A canvas that records every call with the pen, brush and font colour in force, so that
// tests can assert the exact pixel operations the drawing code asked for.

#include <ostream>
#include <variant>
#include <vector>

#include "graphics/Canvas.h"

namespace sxf::test {

struct TMoveTo {
  int X, Y;
  friend bool operator==(const TMoveTo&, const TMoveTo&) = default;
};
struct TLineTo {
  int X, Y;
  TPen Pen;
  friend bool operator==(const TLineTo&, const TLineTo&) = default;
};
struct TSetPixel {
  int X, Y;
  TColor Color;
  friend bool operator==(const TSetPixel&, const TSetPixel&) = default;
};
struct TRectangle {
  int X1, Y1, X2, Y2;
  TPen Pen;
  TBrush Brush;
  friend bool operator==(const TRectangle&, const TRectangle&) = default;
};
struct TPolyline {
  std::vector<TPixelPoint> Points;
  TPen Pen;
  friend bool operator==(const TPolyline&, const TPolyline&) = default;
};
struct TPolygon {
  std::vector<TPixelPoint> Points;
  TPen Pen;
  TBrush Brush;
  friend bool operator==(const TPolygon&, const TPolygon&) = default;
};
struct TSetFont {
  TLogFont Font;
  friend bool operator==(const TSetFont&, const TSetFont&) = default;
};
struct TTextOut {
  int X, Y;
  std::string Text;
  TColor Color;
  friend bool operator==(const TTextOut&, const TTextOut&) = default;
};

using TCommand =
    std::variant<TMoveTo, TLineTo, TSetPixel, TRectangle, TPolyline, TPolygon, TSetFont, TTextOut>;

std::ostream& operator<<(std::ostream& os, const TPen& p);
std::ostream& operator<<(std::ostream& os, const TBrush& b);
std::ostream& operator<<(std::ostream& os, const TPixelPoint& p);
std::ostream& operator<<(std::ostream& os, const TCommand& c);

class TRecordingCanvas final : public TCanvas {
 public:
  std::vector<TCommand> Commands;

  void MoveTo(int x, int y) override { Commands.emplace_back(TMoveTo{x, y}); }
  void LineTo(int x, int y) override { Commands.emplace_back(TLineTo{x, y, Pen}); }
  void SetPixel(int x, int y, TColor color) override {
    Commands.emplace_back(TSetPixel{x, y, color});
  }
  void Rectangle(int x1, int y1, int x2, int y2) override {
    Commands.emplace_back(TRectangle{x1, y1, x2, y2, Pen, Brush});
  }
  void Polyline(std::span<const TPixelPoint> points) override {
    Commands.emplace_back(TPolyline{{points.begin(), points.end()}, Pen});
  }
  void Polygon(std::span<const TPixelPoint> points) override {
    Commands.emplace_back(TPolygon{{points.begin(), points.end()}, Pen, Brush});
  }
  void SetFont(const TLogFont& font) override { Commands.emplace_back(TSetFont{font}); }
  void TextOut(int x, int y, std::string_view text) override {
    Commands.emplace_back(TTextOut{x, y, std::string(text), FontColor});
  }

  // The commands of one kind, in order.
  template <typename T>
  std::vector<T> Only() const {
    std::vector<T> out;
    for (const TCommand& c : Commands)
      if (const T* t = std::get_if<T>(&c)) out.push_back(*t);
    return out;
  }
};

}  // namespace sxf::test
