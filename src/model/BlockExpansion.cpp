// Placing block definitions: an affine map per reference, composed down the nesting, applied
// record by record.

#include "model/BlockExpansion.h"

#include <cmath>
#include <new>
#include <unordered_map>

#include "util/MyFunc.h"

namespace sxf {

namespace {

constexpr double kRadToDeg = 180.0 / static_cast<double>(kPi);

// (x, y) -> (A x + B y + E, C x + D y + F).
struct TPlacementMap {
  double A = 1, B = 0, C = 0, D = 1, E = 0, F = 0;

  TDPoint Apply(double x, double y) const noexcept {
    return {A * x + B * y + E, C * x + D * y + F};
  }
  TDPoint Linear(double x, double y) const noexcept { return {A * x + B * y, C * x + D * y}; }
  double Det() const noexcept { return A * D - B * C; }
  // This map after the reference's own: a point of the referenced definition lands where
  // this map takes the point the reference puts it at.
  TPlacementMap Then(const TJwwEntBlk& ref, const TBlockPlacement& p) const noexcept {
    const double c = std::cos(p.Angle), s = std::sin(p.Angle);
    const TPlacementMap local{c * p.ScaleX, -s * p.ScaleY, s * p.ScaleX,
                              c * p.ScaleY, ref.X,         ref.Y};
    TPlacementMap m;
    m.A = A * local.A + B * local.C;
    m.B = A * local.B + B * local.D;
    m.C = C * local.A + D * local.C;
    m.D = C * local.B + D * local.D;
    const TDPoint o = Apply(local.E, local.F);
    m.E = o.X;
    m.F = o.Y;
    return m;
  }
};

// An ellipse c + R(tilt) diag(r, r f) (cos u, sin u) after the map: the same form with new
// values, and how the parameter u changes: u' = Shift + (Mirrored ? -u : u).
struct TPlacedEllipse {
  double Cx = 0, Cy = 0, R = 0, Flatness = 0, Tilt = 0;  // Tilt in radians
  double Shift = 0;                                      // radians
  bool Mirrored = false;
};

TPlacedEllipse PlaceEllipse(const TPlacementMap& m, double cx, double cy, double r, double flatness,
                            double tilt) noexcept {
  const double ct = std::cos(tilt), st = std::sin(tilt);
  const double a = r, b = r * flatness;
  // M = L R(tilt) diag(a, b); with a mirror, M diag(1, -1) keeps the orientation.
  double m00 = (m.A * ct + m.B * st) * a, m01 = (-m.A * st + m.B * ct) * b;
  double m10 = (m.C * ct + m.D * st) * a, m11 = (-m.C * st + m.D * ct) * b;
  TPlacedEllipse e;
  e.Mirrored = m.Det() < 0.0;
  if (e.Mirrored) {
    m01 = -m01;
    m11 = -m11;
  }
  // M = R(phi) diag(s1, s2) R(theta), s1 >= s2 >= 0.
  const double E = (m00 + m11) / 2, F = (m00 - m11) / 2;
  const double G = (m10 + m01) / 2, H = (m10 - m01) / 2;
  const double q = std::hypot(E, H), w = std::hypot(F, G);
  const double a1 = std::atan2(G, F), a2 = std::atan2(H, E);
  const TDPoint c = m.Apply(cx, cy);
  e.Cx = c.X;
  e.Cy = c.Y;
  e.R = q + w;
  e.Flatness = e.R > 0.0 ? (q - w) / e.R : 1.0;
  e.Tilt = (a2 + a1) / 2;
  e.Shift = (a2 - a1) / 2;
  return e;
}

class TExpander {
 public:
  TExpander(const TJwwDrawingFile& file, TEntityLists& drawn, TBlockExpansion& info,
            const TBlockExpansionLimits& limits)
      : file_(file), drawn_(drawn), info_(info), limits_(limits) {
    for (std::size_t k = 0; k < file.Blocks.size(); ++k)
      byNumber_.emplace(file.Blocks[k].Number, k);
    info_.Uses.assign(file.Blocks.size(), {});
    onPath_.assign(file.Blocks.size(), false);
  }

  void Run() {
    const TPlacementMap identity;
    for (const TJwwEntRef& ref : file_.Top.EntOrder) {
      if (stopped_) return;
      if (!Emit(file_.Top, ref, identity, -1)) return;
      if (ref.Kind == kKindBlk) {
        const auto k = static_cast<std::size_t>(ref.Index);
        const TJwwEntBlk& blk = file_.Top.BlkList[k];
        Place(blk, file_.TopPlacements[k], identity, blk.Hdr.Group, 1);
      }
    }
  }

 private:
  void Problem(TBlockExpansionProblem problem, const std::string& message) {
    ++info_.Problems;
    if (info_.Problem != TBlockExpansionProblem::None) return;
    info_.Problem = problem;
    info_.Message = message;
  }

  // The contents of the definition ref places, after map m (which places ref itself).
  void Place(const TJwwEntBlk& ref, const TBlockPlacement& place, const TPlacementMap& m, int group,
             int depth) {
    const auto found = byNumber_.find(place.DefNumber);
    const std::string which = "reference to block " + std::to_string(place.DefNumber);
    if (found == byNumber_.end()) {
      Problem(TBlockExpansionProblem::MissingDefinition, which + ": no definition has it");
      return;
    }
    const std::size_t def = found->second;
    TBlockUse& use = info_.Uses[def];
    if (depth == 1) {
      ++use.Direct;
    } else {
      ++use.Nested;
    }
    if (onPath_[def]) {
      Problem(TBlockExpansionProblem::Cycle, which + ": the definition contains itself");
      return;
    }
    if (depth > limits_.MaxDepth) {
      Problem(TBlockExpansionProblem::TooDeep,
              which + ": nested deeper than " + std::to_string(limits_.MaxDepth));
      return;
    }
    onPath_[def] = true;
    const TPlacementMap inner = m.Then(ref, place);
    const TJwwBlockDef& d = file_.Blocks[def];
    for (const TJwwEntRef& r : d.Contents.EntOrder) {
      if (!Emit(d.Contents, r, inner, group)) break;
      ++info_.FromBlocks;
      if (r.Kind == kKindBlk) {
        const auto k = static_cast<std::size_t>(r.Index);
        Place(d.Contents.BlkList[k], d.Placements[k], inner, group, depth + 1);
      }
      if (stopped_) break;
    }
    onPath_[def] = false;
  }

  template <typename T>
  void Append(std::vector<T>& list, int kind, T&& record) {
    drawn_.EntOrder.push_back({kind, static_cast<int>(list.size())});
    list.push_back(std::move(record));
  }

  // Appends the record ref names; group >= 0: a record inside a block, which takes that layer
  // group and is placed by m. The drawing's own records are copied as they are.
  bool Emit(const TEntityLists& from, const TJwwEntRef& ref, const TPlacementMap& m, int group) {
    if (drawn_.EntOrder.size() >= limits_.MaxRecords) {
      Problem(TBlockExpansionProblem::TooManyRecords,
              "more than " + std::to_string(limits_.MaxRecords) + " records drawn: stopped");
      stopped_ = true;
      return false;
    }
    const auto i = static_cast<std::size_t>(ref.Index);
    const auto placed = [&](const auto& record) {
      auto r = record;
      if (group >= 0) {
        r.Hdr.Group = group;
        PlaceRecord(r, m);
      }
      return r;
    };
    switch (ref.Kind) {
      case kKindLin: Append(drawn_.LinList, kKindLin, placed(from.LinList[i])); break;
      case kKindCir: Circle(from.CirList[i], m, group); break;
      case kKindArc: Append(drawn_.ArcList, kKindArc, placed(from.ArcList[i])); break;
      case kKindTxt: Append(drawn_.TxtList, kKindTxt, placed(from.TxtList[i])); break;
      case kKindPnt: Append(drawn_.PntList, kKindPnt, placed(from.PntList[i])); break;
      case kKindPntEx: Append(drawn_.PntExList, kKindPntEx, placed(from.PntExList[i])); break;
      case kKindDim: Append(drawn_.DimList, kKindDim, placed(from.DimList[i])); break;
      case kKindBlk: Append(drawn_.BlkList, kKindBlk, placed(from.BlkList[i])); break;
      case kKindSl2: Append(drawn_.Sl2List, kKindSl2, placed(from.Sl2List[i])); break;
      case kKindSl3: Append(drawn_.Sl3List, kKindSl3, placed(from.Sl3List[i])); break;
      case kKindSl4: Append(drawn_.Sl4List, kKindSl4, placed(from.Sl4List[i])); break;
      case kKindSc: Append(drawn_.ScList, kKindSc, placed(from.ScList[i])); break;
      case kKindSe: Append(drawn_.SeList, kKindSe, placed(from.SeList[i])); break;
      case kKindSo: Append(drawn_.SoList, kKindSo, placed(from.SoList[i])); break;
      case kKindSg: Append(drawn_.SgList, kKindSg, placed(from.SgList[i])); break;
      default: break;
    }
    return true;
  }

  // A circle stays one under equal scales; unequal scales make it an ellipse of the arc list.
  void Circle(const TJwwEntCir& circle, const TPlacementMap& m, int group) {
    TJwwEntCir c = circle;
    if (group < 0) {
      Append(drawn_.CirList, kKindCir, std::move(c));
      return;
    }
    c.Hdr.Group = group;
    const TPlacedEllipse e = PlaceEllipse(m, c.Cx, c.Cy, c.R, 1.0, 0.0);
    if (std::fabs(e.Flatness - 1.0) <= 1e-12) {
      c.Cx = e.Cx;
      c.Cy = e.Cy;
      c.R = e.R;
      Append(drawn_.CirList, kKindCir, std::move(c));
      return;
    }
    Append(drawn_.ArcList, kKindArc,
           TJwwEntArc{c.Hdr, e.Cx, e.Cy, e.R, 0.0, 360.0, e.Flatness, e.Tilt * kRadToDeg});
  }

  static void Move(double& x, double& y, const TPlacementMap& m) noexcept {
    const TDPoint p = m.Apply(x, y);
    x = p.X;
    y = p.Y;
  }

  void PlaceRecord(TJwwEntLin& l, const TPlacementMap& m) const noexcept {
    Move(l.X1, l.Y1, m);
    Move(l.X2, l.Y2, m);
  }
  void PlaceRecord(TJwwEntArc& a, const TPlacementMap& m) const noexcept {
    const TPlacedEllipse e = PlaceEllipse(m, a.Cx, a.Cy, a.R, a.Flatness, a.Tilt / kRadToDeg);
    const double shift = e.Shift * kRadToDeg;
    const double start = a.StartAngle, end = a.EndAngle;
    a.StartAngle = e.Mirrored ? shift - end : shift + start;
    a.EndAngle = e.Mirrored ? shift - start : shift + end;
    a.Cx = e.Cx;
    a.Cy = e.Cy;
    a.R = e.R;
    a.Flatness = e.Flatness;
    a.Tilt = e.Tilt * kRadToDeg;
  }
  void PlaceRecord(TJwwEntTxt& t, const TPlacementMap& m) const noexcept {
    Move(t.X, t.Y, m);
    const TDPoint dir = m.Linear(t.DirX, t.DirY);
    t.DirX = dir.X;
    t.DirY = dir.Y;
    const double sx = std::hypot(m.A, m.C), sy = std::hypot(m.B, m.D);
    t.W *= sx;
    t.D *= sx;
    t.H *= sy;
  }
  void PlaceRecord(TJwwEntPnt& p, const TPlacementMap& m) const noexcept { Move(p.X, p.Y, m); }
  void PlaceRecord(TJwwEntPntEx& p, const TPlacementMap& m) const noexcept {
    Move(p.X, p.Y, m);
    p.Angle += std::atan2(m.C, m.A) * kRadToDeg;
  }
  void PlaceRecord(TJwwEntDim& d, const TPlacementMap& m) const noexcept {
    PlaceRecord(d.Line, m);
    PlaceRecord(d.Text, m);
  }
  void PlaceRecord(TJwwEntBlk& b, const TPlacementMap& m) const noexcept { Move(b.X, b.Y, m); }
  void PlaceRecord(TJwwEntSl2& s, const TPlacementMap& m) const noexcept {
    Move(s.X1, s.Y1, m);
    Move(s.X2, s.Y2, m);
  }
  void PlaceRecord(TJwwEntSl3& s, const TPlacementMap& m) const noexcept {
    Move(s.X1, s.Y1, m);
    Move(s.X2, s.Y2, m);
    Move(s.X3, s.Y3, m);
  }
  void PlaceRecord(TJwwEntSl4& s, const TPlacementMap& m) const noexcept {
    Move(s.X1, s.Y1, m);
    Move(s.X2, s.Y2, m);
    Move(s.X3, s.Y3, m);
    Move(s.X4, s.Y4, m);
  }
  template <typename T>
  static void PlaceArcSolid(T& s, const TPlacementMap& m) noexcept {
    const TPlacedEllipse e = PlaceEllipse(m, s.Cx, s.Cy, s.R, s.Flatness, s.Tilt);
    s.StartAngle = e.Mirrored ? e.Shift - s.StartAngle - s.SweepAngle : e.Shift + s.StartAngle;
    s.Cx = e.Cx;
    s.Cy = e.Cy;
    s.Flatness = e.Flatness;
    s.Tilt = e.Tilt;
    s.R = e.R;
  }
  void PlaceRecord(TJwwEntSlArc& s, const TPlacementMap& m) const noexcept { PlaceArcSolid(s, m); }
  void PlaceRecord(TJwwEntSlArc2& s, const TPlacementMap& m) const noexcept {
    const double r = s.R;
    PlaceArcSolid(s, m);
    if (r != 0.0) s.R2 *= s.R / r;
  }

  const TJwwDrawingFile& file_;
  TEntityLists& drawn_;
  TBlockExpansion& info_;
  const TBlockExpansionLimits& limits_;
  std::unordered_map<int, std::size_t> byNumber_;  // the first definition of each number
  std::vector<bool> onPath_;                       // definitions being placed, outer to inner
  bool stopped_ = false;
};

}  // namespace

bool ExpandBlocks(const TJwwDrawingFile& file, TEntityLists& drawn, TBlockExpansion& info,
                  const TBlockExpansionLimits& limits) noexcept {
  try {
    drawn = TEntityLists{};
    info = TBlockExpansion{};
    TExpander(file, drawn, info, limits).Run();
  } catch (...) {
    info.Problem = TBlockExpansionProblem::OutOfMemory;
    ++info.Problems;
    return false;
  }
  return info.Problem == TBlockExpansionProblem::None;
}

}  // namespace sxf
