#include "search/Extents.h"

#include <cmath>
#include <optional>

#include "globals/UnitGval.h"
#include "graphics/Curves.h"
#include "model/JwwGaibu2.h"
#include "text/ImageFrame.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {

// The box of an empty drawing.
void SetEmptyDrawingBox() noexcept {
  ExtentLeft = ExtentBottom = -100.0;
  ExtentRight = ExtentTop = 100.0;
}

void HoldWithinBounds() noexcept {
  if (ExtentLeft < -kExtentLimit) ExtentLeft = -kExtentLimit;
  if (ExtentBottom < -kExtentLimit) ExtentBottom = -kExtentLimit;
  if (ExtentRight > kExtentLimit) ExtentRight = kExtentLimit;
  if (ExtentTop > kExtentLimit) ExtentTop = kExtentLimit;
}

// The first record that gives a start point: false when every list of the order is empty.
bool InitFromFirstList() {
  const auto init = [](double x, double y, const TJwwEntHdr& h) {
    ExtentInit(x, y, GroupScaleDivisor(h));
    return true;
  };
  if (LinCount > 0) return init(LinList[0].X1, LinList[0].Y1, LinList[0].Hdr);
  if (CirCount > 0) return init(CirList[0].Cx, CirList[0].Cy, CirList[0].Hdr);
  if (ArcCount > 0) return init(ArcList[0].Cx, ArcList[0].Cy, ArcList[0].Hdr);
  if (PntCount > 0) return init(PntList[0].X, PntList[0].Y, PntList[0].Hdr);
  if (PntExCount > 0) return init(PntExList[0].X, PntExList[0].Y, PntExList[0].Hdr);
  if (TxtCount > 0) return init(TxtList[0].X, TxtList[0].Y, TxtList[0].Hdr);
  if (DimCount > 0) return init(DimList[0].Line.X1, DimList[0].Line.Y1, DimList[0].Line.Hdr);
  if (Sl2Count > 0) return init(Sl2List[0].X1, Sl2List[0].Y1, Sl2List[0].Hdr);
  if (Sl3Count > 0) return init(Sl3List[0].X1, Sl3List[0].Y1, Sl3List[0].Hdr);
  if (Sl4Count > 0) return init(Sl4List[0].X1, Sl4List[0].Y1, Sl4List[0].Hdr);
  if (ScCount > 0) return init(ScList[0].Cx, ScList[0].Cy, ScList[0].Hdr);
  if (SeCount > 0) return init(SeList[0].Cx, SeList[0].Cy, SeList[0].Hdr);
  if (SoCount > 0) return init(SoList[0].Cx, SoList[0].Cy, SoList[0].Hdr);
  if (SgCount > 0) return init(SgList[0].Cx, SgList[0].Cy, SgList[0].Hdr);
  return false;
}

template <typename T>
void AddSolidArc(const T& e) {
  double a = RadToDeg(e.StartAngle);
  double b = RadToDeg(e.StartAngle + e.SweepAngle);
  if (e.SweepAngle < 0.0) ExchangeDoubles(a, b);
  ExtentAddArc(e.Cx, e.Cy, e.R, a, b, e.Flatness, RadToDeg(e.Tilt), GroupScaleDivisor(e.Hdr));
}

}  // namespace

void ExtentInit(double X, double Y, double s) {
  ExtentLeft = ExtentRight = X / s;
  ExtentBottom = ExtentTop = Y / s;
  HoldWithinBounds();
}

void ExtentAdd(double X, double Y, double s) {
  const double x = X / s;
  const double y = Y / s;
  if (x < ExtentLeft) ExtentLeft = x;
  if (y < ExtentBottom) ExtentBottom = y;
  if (x > ExtentRight) ExtentRight = x;
  if (y > ExtentTop) ExtentTop = y;
  HoldWithinBounds();
}

void ExtentAddArc(double Cx, double Cy, double R, double Start, double End, double Flatness,
                  double Tilt, double s) {
  const double rawSweep = End - Start;
  if (!std::isfinite(Start) || !std::isfinite(End) || !std::isfinite(rawSweep)) return;
  const auto addAt = [&](double theta) {
    const TDPoint p = EllipsePoint(Cx, Cy, R, Flatness, DegToRad(Tilt), theta);
    ExtentAdd(p.X, p.Y, s);
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

void ComputeExtents() {
  if (!InitFromFirstList()) {
    // Nothing gives a start point (an empty drawing, or blocks only): the empty drawing's
    // box, every time, rather than whatever the previous call left.
    SetEmptyDrawingBox();
    return;
  }
  if (EntOrderCount == 0) {
    SetEmptyDrawingBox();
  } else if (EntOrderCount == 1) {
    ExtentLeft -= 100.0;
    ExtentBottom -= 100.0;
    ExtentRight += 100.0;
    ExtentTop += 100.0;
  }

  for (int i = 0; i < LinCount; ++i) {
    const TJwwEntLin& e = LinList[static_cast<std::size_t>(i)];
    const double s = GroupScaleDivisor(e.Hdr);
    ExtentAdd(e.X1, e.Y1, s);
    ExtentAdd(e.X2, e.Y2, s);
  }
  for (int i = 0; i < CirCount; ++i) {
    const TJwwEntCir& e = CirList[static_cast<std::size_t>(i)];
    ExtentAddArc(e.Cx, e.Cy, e.R, 0, 0, 1, 0, GroupScaleDivisor(e.Hdr));
  }
  for (int i = 0; i < ArcCount; ++i) {
    const TJwwEntArc& e = ArcList[static_cast<std::size_t>(i)];
    ExtentAddArc(e.Cx, e.Cy, e.R, e.StartAngle, e.EndAngle, e.Flatness, e.Tilt,
                 GroupScaleDivisor(e.Hdr));
  }
  for (int i = 0; i < PntCount; ++i) {
    const TJwwEntPnt& e = PntList[static_cast<std::size_t>(i)];
    ExtentAdd(e.X, e.Y, GroupScaleDivisor(e.Hdr));
  }
  for (int i = 0; i < PntExCount; ++i) {
    const TJwwEntPntEx& e = PntExList[static_cast<std::size_t>(i)];
    ExtentAdd(e.X, e.Y, GroupScaleDivisor(e.Hdr));
  }
  for (int i = 0; i < TxtCount; ++i) {
    const TJwwEntTxt& e = TxtList[static_cast<std::size_t>(i)];
    const double s = GroupScaleDivisor(e.Hdr);
    ExtentAdd(e.X, e.Y, s);
    double w = 0.0, h = 0.0;
    if (ImageTextSize(e.Text, w, h)) ExtentAdd(e.X + w, e.Y + h, s);
  }
  for (int i = 0; i < DimCount; ++i) {
    const TJwwEntDim& e = DimList[static_cast<std::size_t>(i)];
    const double s = GroupScaleDivisor(e.Hdr);
    ExtentAdd(e.Line.X1, e.Line.Y1, s);
    ExtentAdd(e.Line.X2, e.Line.Y2, s);
    ExtentAdd(e.Text.X, e.Text.Y, s);
  }
  for (int i = 0; i < Sl2Count; ++i) {
    const TJwwEntSl2& e = Sl2List[static_cast<std::size_t>(i)];
    const double s = GroupScaleDivisor(e.Hdr);
    ExtentAdd(e.X1, e.Y1, s);
    ExtentAdd(e.X2, e.Y2, s);
  }
  for (int i = 0; i < Sl3Count; ++i) {
    const TJwwEntSl3& e = Sl3List[static_cast<std::size_t>(i)];
    const double s = GroupScaleDivisor(e.Hdr);
    ExtentAdd(e.X1, e.Y1, s);
    ExtentAdd(e.X2, e.Y2, s);
    ExtentAdd(e.X3, e.Y3, s);
  }
  for (int i = 0; i < Sl4Count; ++i) {
    const TJwwEntSl4& e = Sl4List[static_cast<std::size_t>(i)];
    const double s = GroupScaleDivisor(e.Hdr);
    ExtentAdd(e.X1, e.Y1, s);
    ExtentAdd(e.X2, e.Y2, s);
    ExtentAdd(e.X3, e.Y3, s);
    ExtentAdd(e.X4, e.Y4, s);
  }
  for (int i = 0; i < ScCount; ++i) AddSolidArc(ScList[static_cast<std::size_t>(i)]);
  for (int i = 0; i < SeCount; ++i) AddSolidArc(SeList[static_cast<std::size_t>(i)]);
  for (int i = 0; i < SoCount; ++i) AddSolidArc(SoList[static_cast<std::size_t>(i)]);
  for (int i = 0; i < SgCount; ++i) AddSolidArc(SgList[static_cast<std::size_t>(i)]);
}

}  // namespace sxf
