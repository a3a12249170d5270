#include "text/TextDrawing.h"

#include <cmath>

#include "globals/UnitGval.h"
#include "graphics/Primitives.h"
#include "graphics/clipping.h"
#include "text/SpecialCodes.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {

constexpr double kPiD = 3.14159265358979323846;  // pi as a double

bool IsTwoByte(std::string_view character) noexcept { return character.size() >= 2; }

// The sines and cosines a character's cell needs, the same for every character of a run.
struct TCellTurn {
  explicit TCellTurn(double angle) noexcept
      : CosA(std::cos(angle)),
        SinA(std::sin(angle)),
        DownX(std::cos(angle - kPiD / 2.0)),
        DownY(std::sin(angle - kPiD / 2.0)) {}
  double CosA, SinA;
  double DownX, DownY;  // down the cell: the direction angle - pi/2
};

void DrawCellChar(TCanvas& c, const TView& view, int alignment, double x, double y, double height,
                  double width, double angle, const TCellTurn& turn, std::string_view character);

}  // namespace

int RoundHalfEven(double x) noexcept {
  if (x != x) return 0;
  if (x >= 2147483647.0) return 2147483647;
  if (x <= -2147483648.0) return -2147483647 - 1;
  // Adding 2^52 leaves no bits below the units, so the addition rounds |x| to a whole number,
  // halves to even; MinGW's nearbyint saves and restores the floating-point environment
  // instead, which costs more than the rest of a character's placing.
  const double whole = (std::fabs(x) + 0x1p52) - 0x1p52;
  const long long rounded = static_cast<long long>(whole);
  return static_cast<int>(x < 0 ? -rounded : rounded);
}

bool IsImageText(std::string_view text) noexcept {
  return text.substr(0, 4) == "^@BM" && text.find(',') != std::string_view::npos;
}

void DrawTextEntity(TCanvas& c, const TView& view, int colorOverride, const TJwwEntTxt& e,
                    double s) {
  if (IsImageText(e.Text)) return;
  SetEntityPen(c, e.Hdr.Color, 1);
  if (colorOverride >= 0) {
    c.Pen.Color = static_cast<TColor>(colorOverride);
    c.FontColor = static_cast<TColor>(colorOverride);
  }
  const double x0 = e.X / s;
  const double y0 = e.Y / s;
  // The offsets come from the stored text, before any code in it is replaced.
  double length = TextRunLength(e.Text, e.W, e.D);
  double h = e.H;
  const bool vertical = e.TextCode == 1;
  if (vertical) ExchangeDoubles(length, h);
  double dx = 0.0;
  double dy = 0.0;
  if (e.BasePoint >= 1 && e.BasePoint <= 8) {
    const int column = e.BasePoint % 3;  // 0 left, 1 centre, 2 right
    const int row = e.BasePoint / 3;     // 0 bottom, 1 middle, 2 top
    dx = column == 1 ? -length / 2.0 : (column == 2 ? -length : 0.0);
    dy = row == 1 ? -h / 2.0 : (row == 2 ? -h : 0.0);
  }
  const double a = VectorAngle(e.DirX, e.DirY);
  const TDPoint offset = RotatePoint(dx, dy, 0.0, 0.0, a);  // RotatedX and RotatedY at once
  const double sx = x0 + offset.X;
  const double sy = y0 + offset.Y;
  const double ex = sx + e.DirX / s;
  const double ey = sy + e.DirY / s;
  const double height = vertical ? e.W : e.H;
  const double width = vertical ? e.H : e.W;
  if (vertical) {
    DrawTextString(c, view, 0, "@" + e.FontName, sx, sy, ex, ey, height, width, e.D, e.Text);
  } else {
    DrawTextString(c, view, 0, e.FontName, sx, sy, ex, ey, height, width, e.D, e.Text);
  }
}

void DrawTextString(TCanvas& c, const TView& view, int styleBits, const std::string& face,
                    double sx, double sy, double ex, double ey, double height, double width,
                    double spacing, std::string_view text) {
  if (text.empty()) return;
  const double hp = std::fabs(height) * view.ViewScale;
  const double wp = std::fabs(width) * view.ViewScale;
  // Negated tests so that a NaN size also takes the line.
  const bool asCharacters = std::fabs(height) >= 1e-10 && std::fabs(width) >= 1e-10 &&
                            hp >= kMinTextPixels && hp <= kMaxTextPixels && wp >= kMinTextPixels &&
                            wp <= kMaxTextPixels;
  if (!asCharacters) {
    c.Pen.Width = 3;
    DrawWorldSegment(c, view, sx, sy, ex, ey);
    return;
  }
  double a = VectorAngle(ex - sx, ey - sy);
  if (width < 0.0) {
    width = -width;
    spacing = -spacing;
    a += kPiD;
    ExchangeDoubles(sx, ex);
    ExchangeDoubles(sy, ey);
  }
  DrawSpecialText(c, view, styleBits, face, sx, sy, a, height, width, spacing, text);
}

void DrawTextRun(TCanvas& c, const TView& view, int styleBits, std::string_view face, double x,
                 double y, double angle, double height, double width, double spacing,
                 std::string_view text, bool nonAntialiased) {
  TLogFont font;
  font.NonAntialiased = nonAntialiased;
  font.Height = RoundHalfEven(std::fabs(height) * view.ViewScale);
  font.Width = RoundHalfEven(std::fabs(width) * view.ViewScale / 2.0);
  font.Escapement = RoundHalfEven(angle / kPiD * 1800.0);
  font.Orientation = 0;
  font.Weight = (styleBits & kStyleBold) != 0 ? 700 : 400;
  font.Italic = (styleBits & kStyleItalic) != 0;
  font.Underline = (styleBits & kStyleUnderline) != 0;
  font.StrikeOut = (styleBits & kStyleStrikeOut) != 0;
  font.CharSet = 1;
  if (face.substr(0, 2) == "@@") {
    font.FaceName = std::string(face.substr(2));
    font.Escapement += 1800;
    if (font.Escapement >= 3600) font.Escapement -= 3600;
    x += std::cos(angle) * std::fabs(width) + std::cos(angle - kPiD / 2.0) * std::fabs(height);
    y += std::sin(angle) * std::fabs(width) + std::sin(angle - kPiD / 2.0) * std::fabs(height);
  } else {
    font.FaceName = std::string(face);
  }
  c.SetFont(font);
  c.FontColor = c.Pen.Color;
  c.Brush.Style = TBrushStyle::Clear;

  const TCellTurn turn(angle);
  const double cosA = turn.CosA;
  const double sinA = turn.SinA;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t n = IsLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1;
    const std::string_view character = text.substr(i, n);
    DrawCellChar(c, view, 0, x, y, height, width, angle, turn, character);
    const double step = n == 1 ? (width + spacing) / 2.0 : width + spacing;
    x += cosA * step;
    y += sinA * step;
    i += n;
  }
}

void DrawTextChar(TCanvas& c, const TView& view, int alignment, double x, double y, double height,
                  double width, double angle, std::string_view /*face*/,
                  std::string_view character) {
  DrawCellChar(c, view, alignment, x, y, height, width, angle, TCellTurn(angle), character);
}

namespace {

void DrawCellChar(TCanvas& c, const TView& view, int alignment, double x, double y, double height,
                  double width, double angle, const TCellTurn& turn, std::string_view character) {
  if (character.empty()) return;
  if (height < 0.0) {
    height = -height;
    if (alignment >= 0 && alignment <= 2) {
      alignment += 6;
    } else if (alignment >= 6 && alignment <= 8) {
      alignment -= 6;
    }
  }
  const double r = IsTwoByte(character) ? std::fabs(width) : std::fabs(width) / 2.0;
  double dx = 0.0;
  double dy = height;
  if (alignment >= 1 && alignment <= 8) {
    const int column = alignment % 3;
    const int row = alignment / 3;
    dx = column == 1 ? -r / 2.0 : (column == 2 ? -r : 0.0);
    dy = row == 1 ? height / 2.0 : (row == 2 ? 0.0 : height);
  }
  const TDPoint offset = RotatePoint(dx, dy, 0.0, 0.0, angle);  // RotatedX and RotatedY at once
  const double p0x = x + offset.X;
  const double p0y = y + offset.Y;
  const double cosA = turn.CosA;
  const double sinA = turn.SinA;
  const double downX = turn.DownX;
  const double downY = turn.DownY;
  const double p1x = p0x + r * cosA;
  const double p1y = p0y + r * sinA;
  const double p2x = p0x + height * downX;
  const double p2y = p0y + height * downY;
  const double p3x = p1x + height * downX;
  const double p3y = p1y + height * downY;
  const auto inView = [&view](double px, double py) {
    return PointVisibility(px, py, view.ViewLeft, view.ViewBottom, view.ViewRight, view.ViewTop) ==
           ClipInside;
  };
  if (!inView(p0x, p0y) && !inView(p1x, p1y) && !inView(p2x, p2y) && !inView(p3x, p3y)) return;
  const int px = RoundHalfEven((p0x - view.ViewLeft) * view.ViewScale);
  const long long py = static_cast<long long>(view.ViewHeight) -
                       RoundHalfEven((p0y - view.ViewBottom) * view.ViewScale);
  c.TextOut(px,
            static_cast<int>(py < -2147483648LL ? -2147483648LL
                                                : (py > 2147483647LL ? 2147483647LL : py)),
            character);
}

}  // namespace

}  // namespace sxf
