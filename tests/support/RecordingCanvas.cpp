#include "support/RecordingCanvas.h"

namespace sxf::test {

namespace {
const char* StyleName(TPenStyle s) {
  switch (s) {
    case TPenStyle::Solid: return "solid";
    case TPenStyle::Dash: return "dash";
    case TPenStyle::Dot: return "dot";
    case TPenStyle::DashDot: return "dashdot";
    case TPenStyle::DashDotDot: return "dashdotdot";
    case TPenStyle::Clear: return "clear";
  }
  return "?";
}
}  // namespace

std::ostream& operator<<(std::ostream& os, const TPen& p) {
  return os << "pen(#" << std::hex << p.Color << std::dec << " w" << p.Width << ' '
            << StyleName(p.Style) << (p.Mode == TPenMode::Xor ? " xor" : "") << ')';
}
std::ostream& operator<<(std::ostream& os, const TBrush& b) {
  return os << "brush(#" << std::hex << b.Color << std::dec << " style" << static_cast<int>(b.Style)
            << ')';
}
std::ostream& operator<<(std::ostream& os, const TPixelPoint& p) {
  return os << '(' << p.X << ',' << p.Y << ')';
}

std::ostream& operator<<(std::ostream& os, const TCommand& c) {
  struct Printer {
    std::ostream& os;
    void operator()(const TMoveTo& m) { os << "MoveTo" << TPixelPoint{m.X, m.Y}; }
    void operator()(const TLineTo& l) { os << "LineTo" << TPixelPoint{l.X, l.Y} << ' ' << l.Pen; }
    void operator()(const TSetPixel& p) {
      os << "SetPixel" << TPixelPoint{p.X, p.Y} << " #" << std::hex << p.Color << std::dec;
    }
    void operator()(const TRectangle& r) {
      os << "Rectangle" << TPixelPoint{r.X1, r.Y1} << TPixelPoint{r.X2, r.Y2} << ' ' << r.Pen << ' '
         << r.Brush;
    }
    void operator()(const TPolyline& p) {
      os << "Polyline[";
      for (const auto& q : p.Points) os << q;
      os << "] " << p.Pen;
    }
    void operator()(const TPolygon& p) {
      os << "Polygon[";
      for (const auto& q : p.Points) os << q;
      os << "] " << p.Pen << ' ' << p.Brush;
    }
    void operator()(const TSetFont& f) {
      os << "SetFont(h" << f.Font.Height << " w" << f.Font.Width << ')';
    }
    void operator()(const TTextOut& t) {
      os << "TextOut" << TPixelPoint{t.X, t.Y} << " \"" << t.Text << '"';
    }
  };
  std::visit(Printer{os}, c);
  return os;
}

}  // namespace sxf::test
