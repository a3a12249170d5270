#include "search/Extents.h"

#include <cmath>
#include <optional>

#include "graphics/Curves.h"
#include "model/JwwGaibu2.h"
#include "text/ImageFrame.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {

// The box of an empty drawing.
constexpr TWorldBox kEmptyDrawingBox{-100.0, -100.0, 100.0, 100.0};

void HoldWithinBounds(TWorldBox& b) noexcept {
  if (b.Left < -kExtentLimit) b.Left = -kExtentLimit;
  if (b.Bottom < -kExtentLimit) b.Bottom = -kExtentLimit;
  if (b.Right > kExtentLimit) b.Right = kExtentLimit;
  if (b.Top > kExtentLimit) b.Top = kExtentLimit;
}

// The point a record's list starts the box with: its first point, or a curve's centre.
TDPoint StartPoint(const TJwwEntLin& e) noexcept { return {e.X1, e.Y1}; }
TDPoint StartPoint(const TJwwEntDim& e) noexcept { return StartPoint(e.Line); }
template <typename T>
requires requires(T e) { e.X1; }
TDPoint StartPoint(const T& e) noexcept { return {e.X1, e.Y1}; }
template <typename T>
requires requires(T e) { e.Cx; }
TDPoint StartPoint(const T& e) noexcept { return {e.Cx, e.Cy}; }
template <typename T>
requires requires(T e) { e.X; }
TDPoint StartPoint(const T& e) noexcept { return {e.X, e.Y}; }

// What each record adds to the box, in world units (s: its group scale's divisor).
void AddRecord(TWorldBox& b, double s, const TJwwEntLin& e) {
  ExtentAdd(b, e.X1, e.Y1, s);
  ExtentAdd(b, e.X2, e.Y2, s);
}
void AddRecord(TWorldBox& b, double s, const TJwwEntCir& e) {
  ExtentAddArc(b, e.Cx, e.Cy, e.R, 0, 0, 1, 0, s);
}
void AddRecord(TWorldBox& b, double s, const TJwwEntArc& e) {
  ExtentAddArc(b, e.Cx, e.Cy, e.R, e.StartAngle, e.EndAngle, e.Flatness, e.Tilt, s);
}
void AddRecord(TWorldBox& b, double s, const TJwwEntPnt& e) { ExtentAdd(b, e.X, e.Y, s); }
void AddRecord(TWorldBox& b, double s, const TJwwEntPntEx& e) { ExtentAdd(b, e.X, e.Y, s); }
void AddRecord(TWorldBox& b, double s, const TJwwEntTxt& e) {
  ExtentAdd(b, e.X, e.Y, s);
  double w = 0.0, h = 0.0;
  if (ImageTextSize(e.Text, w, h)) ExtentAdd(b, e.X + w, e.Y + h, s);
}
void AddRecord(TWorldBox& b, double s, const TJwwEntDim& e) {
  ExtentAdd(b, e.Line.X1, e.Line.Y1, s);
  ExtentAdd(b, e.Line.X2, e.Line.Y2, s);
  ExtentAdd(b, e.Text.X, e.Text.Y, s);
}
void AddRecord(TWorldBox&, double, const TJwwEntBlk&) {}  // not drawn
void AddRecord(TWorldBox& b, double s, const TJwwEntSl2& e) {
  ExtentAdd(b, e.X1, e.Y1, s);
  ExtentAdd(b, e.X2, e.Y2, s);
}
void AddRecord(TWorldBox& b, double s, const TJwwEntSl3& e) {
  AddRecord(b, s, TJwwEntSl2{e.Hdr, e.Rgb, e.X1, e.Y1, e.X2, e.Y2});
  ExtentAdd(b, e.X3, e.Y3, s);
}
void AddRecord(TWorldBox& b, double s, const TJwwEntSl4& e) {
  AddRecord(b, s, TJwwEntSl3{e.Hdr, e.Rgb, e.X1, e.Y1, e.X2, e.Y2, e.X3, e.Y3});
  ExtentAdd(b, e.X4, e.Y4, s);
}
template <typename T>
requires requires(T e) { e.SweepAngle; }
void AddRecord(TWorldBox& b, double s, const T& e) {
  double from = RadToDeg(e.StartAngle);
  double to = RadToDeg(e.StartAngle + e.SweepAngle);
  if (e.SweepAngle < 0.0) ExchangeDoubles(from, to);
  ExtentAddArc(b, e.Cx, e.Cy, e.R, from, to, e.Flatness, RadToDeg(e.Tilt), s);
}

}  // namespace

void ExtentInit(TWorldBox& b, double X, double Y, double s) {
  b.Left = b.Right = X / s;
  b.Bottom = b.Top = Y / s;
  HoldWithinBounds(b);
}

void ExtentAdd(TWorldBox& b, double X, double Y, double s) {
  const double x = X / s;
  const double y = Y / s;
  if (x < b.Left) b.Left = x;
  if (y < b.Bottom) b.Bottom = y;
  if (x > b.Right) b.Right = x;
  if (y > b.Top) b.Top = y;
  HoldWithinBounds(b);
}

void ExtentAddArc(TWorldBox& b, double Cx, double Cy, double R, double Start, double End,
                  double Flatness, double Tilt, double s) {
  const double rawSweep = End - Start;
  if (!std::isfinite(Start) || !std::isfinite(End) || !std::isfinite(rawSweep)) return;
  const auto addAt = [&](double theta) {
    const TDPoint p = EllipsePoint(Cx, Cy, R, Flatness, DegToRad(Tilt), theta);
    ExtentAdd(b, p.X, p.Y, s);
  };
  const double sweep = NormalizeDegrees(rawSweep);
  const double halfPi = static_cast<double>(kPi / 2.0L);
  if (std::fabs(sweep) <= 1e-8) {
    addAt(0.0);
    addAt(halfPi);
    addAt(static_cast<double>(kPi));
    addAt(static_cast<double>(kPi * 3.0L / 2.0L));
    return;
  }
  addAt(DegToRad(Start));
  addAt(DegToRad(End));
  const double F = NormalizeDegrees(Start);
  const double G = sweep;
  if (G >= 360.0 - F) addAt(0.0);
  for (const double q : {90.0, 180.0, 270.0}) {
    double d = q - F;
    if (d < 0.0) d += 360.0;
    if (G >= d) addAt(DegToRad(q));
  }
}

bool ImageTextSize(std::string_view text, double& w, double& h) {
  const std::optional<TImageText> image = ParseImageText(text);
  if (!image) return false;
  w = image->Fields[0];
  h = image->Fields[1];
  return true;
}

TWorldBox ComputeExtents(const TDrawing& d) {
  // The box starts at the first record of the first list that has one (block references give
  // none); the lists' order only matters for a start point that is not added again (a curve's
  // centre), and every such list comes before or after all the others in kind order.
  std::optional<TWorldBox> box;
  ForEachEntityList(d, [&](const char*, int kind, const auto& list) {
    if (box || list.empty() || kind == kKindBlk) return;
    const TDPoint p = StartPoint(list.front());
    ExtentInit(box.emplace(), p.X, p.Y, d.GroupScaleDivisor(list.front().Hdr));
  });
  // Nothing gives a start point (an empty drawing, or blocks only): the empty drawing's box.
  if (!box) return kEmptyDrawingBox;
  TWorldBox b = *box;
  if (d.EntOrderCount() == 0)
    b = kEmptyDrawingBox;
  else if (d.EntOrderCount() == 1)
    b = {b.Left - 100.0, b.Bottom - 100.0, b.Right + 100.0, b.Top + 100.0};
  ForEachEntityList(d, [&](const char*, int, const auto& list) {
    for (const auto& e : list) AddRecord(b, d.GroupScaleDivisor(e.Hdr), e);
  });
  return b;
}

}  // namespace sxf
