// The line rules: what each kind of line of the interchange text does to the model.

#include <climits>
#include <string>
#include <string_view>

#include "model/JwwEntityLists.h"
#include "model/JwwGaibu2.h"
#include "model/JwwKeys.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {

void SetBit(int& flags, int bit) noexcept {
  if ((flags & bit) == 0) flags += bit;
}

// ---- The interpreter of one split line ----

class TLineInterpreter {
 public:
  TLineInterpreter(const TJwwFields& f, TDrawing& d, TJwwReaderState& r,
                   const TReadProgress& progress)
      : f_(f), nf_(f.Count()), d_(d), r_(r), progress_(progress) {}

  void Run() {
    if (nf_ == 1 && f_[0].empty()) return;
    const std::string_view key = f_[0];
    if (key.find("file=") != std::string_view::npos) {
      d_.JwwFileName = std::string(From(key, 5));
      return;
    }
    if (KeyedRule(key)) return;
    if (nf_ == 4) LineSegment();
  }

 private:
  double Num(int k) const noexcept { return StrToFloatOr0(f_[k]); }
  int Int(int k) const noexcept { return StrToIntOr0(f_[k]); }

  void FillEntHdr(TJwwEntHdr& h) const noexcept {
    h.HpNo = r_.CurHp;
    h.Group = r_.CurGroup;
    h.Layer = r_.CurLayer;
    h.Color = r_.CurColor;
    h.LType = r_.CurLType;
    h.LWidth = r_.CurLWidth;
    h.ZFlags = r_.CurZFlags;
  }

  // Every entity but a line segment ends both modes; all of them consume CurHp/CurZFlags.
  void EntityDone() noexcept {
    r_.CurZFlags = 0;
    r_.CurHp = 0;
    r_.InPolyline = false;
    r_.InDimension = false;
  }

  // Rules 2 to 45, in their order. Returns false when none matched, so that a line of four
  // fields can still become a segment. Keys are grouped by their first byte; within a
  // group the rules keep their order, and no key of one group can match a rule of another.
  bool KeyedRule(std::string_view key) {
    if (key.empty()) return false;
    switch (key[0]) {
      case 'h': return HeaderRule(key);
      case 'b':
        if (key == "bz") {
          d_.NoGroupScale = true;
          return true;
        }
        return false;
      case 'l': return LayerAttributeRule(key);
      case 'c': return CRule(key);
      case 'z':
        if (key.size() == 2 && key[1] >= '1' && key[1] <= '5') {
          SetBit(r_.CurZFlags, 1 << (key[1] - '1'));
          return true;
        }
        return false;
      case 'p': return PRule(key);
      case 'm':
        if (key == "msg") {
          r_.InDimension = true;
          r_.InPolyline = false;
          return true;
        }
        return false;
      case '#':
        if (key == "#") {
          r_.InPolyline = false;
          r_.InDimension = false;
          return true;
        }
        return false;
      case 'B':
        if (key == "BL" && nf_ >= 4) {
          Block();
          return true;
        }
        return false;
      case 's': return SolidRule(key);
      default: return false;
    }
  }

  bool HeaderRule(std::string_view key) {
    if (key == "hk" && nf_ >= 2) {
      d_.HkValue = Num(1);
      return true;
    }
    if (key == "hs" && nf_ >= 17) {
      for (int i = 0; i < 16; ++i) d_.LayerGroupScale[static_cast<std::size_t>(i)] = Num(i + 1);
      return true;
    }
    if (key == "hzs" && nf_ >= 3) {
      d_.PaperSizeX = Num(1);
      d_.PaperSizeY = Num(2);
      return true;
    }
    if (nf_ >= 11) {
      if (key == "hcw") {
        for (int i = 1; i <= 10; ++i) d_.TextKinds[static_cast<std::size_t>(i)].W = Num(i);
        return true;
      }
      if (key == "hch") {
        for (int i = 1; i <= 10; ++i) d_.TextKinds[static_cast<std::size_t>(i)].H = Num(i);
        return true;
      }
      if (key == "hcd") {
        for (int i = 1; i <= 10; ++i) d_.TextKinds[static_cast<std::size_t>(i)].D = Num(i);
        return true;
      }
      if (key == "hcc") {
        for (int i = 1; i <= 10; ++i) d_.TextKinds[static_cast<std::size_t>(i)].Color = Int(i);
        return true;
      }
    }
    if (key == "hn" && nf_ >= 5) {
      d_.HnX1 = Num(1);
      d_.HnY1 = Num(2);
      d_.HnX2 = Num(3);
      d_.HnY2 = Num(4);
      return true;
    }
    if (key == "hrgb" && nf_ >= 9) {
      // d_.HostRgb holds 356 values; further ones are dropped.
      for (int j = 0; j <= nf_ - 2 && j < static_cast<int>(d_.HostRgb.size()); ++j)
        d_.HostRgb[static_cast<std::size_t>(j)] = Int(j + 1);
      return true;
    }
    if (StartsWith(key, "hp") && nf_ >= 3) {
      DesignatedPoint(key);
      return true;
    }
    if (StartsWith(key, "hhp")) {
      r_.CurHp = HhpNumber(key);
      return true;
    }
    return false;
  }

  std::string JoinedName(std::string_view key) const {
    std::string name(From(key, 3));
    for (int k = 1; k < nf_; ++k) {
      name += ' ';
      name += f_[k];
    }
    return name;
  }

  bool LayerAttributeRule(std::string_view key) {
    if (StartsWith(key, "lgn")) {
      d_.GroupName[static_cast<std::size_t>(r_.CurGroup)] = JoinedName(key);
      return true;
    }
    if (StartsWith(key, "lyn")) {
      d_.LayerName[static_cast<std::size_t>(r_.CurGroup * 16 + r_.CurLayer)] = JoinedName(key);
      return true;
    }
    if (StartsWith(key, "lg")) {
      const int g = HexDigitAt(key, 2);
      TakeFirst(r_.AwaitGroup, r_.FirstGroup, g);
      r_.CurGroup = g;
      if (nf_ >= 2) d_.GroupState[static_cast<std::size_t>(g)] = Int(1);
      r_.InPolyline = false;
      return true;
    }
    if (StartsWith(key, "ly")) {
      const int l = HexDigitAt(key, 2);
      TakeFirst(r_.AwaitLayer, r_.FirstLayer, l);
      r_.CurLayer = l;
      if (nf_ >= 2) d_.LayerState[static_cast<std::size_t>(r_.CurGroup * 16 + l)] = Int(1);
      r_.InPolyline = false;
      return true;
    }
    if (StartsWith(key, "lc")) {
      const int color = StrToIntOr0(From(key, 2));
      TakeFirst(r_.AwaitColor, r_.FirstColor, color);
      r_.CurColor = color;
      if (color == 10 && nf_ >= 2) r_.CurRgb = Int(1);
      r_.InPolyline = false;
      return true;
    }
    if (StartsWith(key, "lt")) {
      r_.CurLType = StrToIntOr0(From(key, 2));
      TakeFirst(r_.AwaitLType, r_.FirstLType, r_.CurLType);
      r_.InPolyline = false;
      return true;
    }
    if (StartsWith(key, "lw")) {
      r_.CurLWidth = StrToIntOr0(From(key, 2));
      TakeFirst(r_.AwaitLWidth, r_.FirstLWidth, r_.CurLWidth);
      r_.WidthGiven = true;
      r_.InPolyline = false;
      return true;
    }
    return false;
  }

  static void TakeFirst(bool& awaited, int& first, int value) noexcept {
    if (awaited) {
      first = value;
      awaited = false;
    }
  }

  bool CRule(std::string_view key) {
    if (StartsWith(key, "cn$")) {
      const std::string_view name = From(key, 3);
      if (r_.FirstFontName.empty()) r_.FirstFontName = std::string(name);
      r_.CurFontName = std::string(name);
      r_.InPolyline = false;
      return true;
    }
    if (StartsWith(key, "cn")) {
      const int t = StrToIntOr0(From(key, 2));
      const bool freeValues = t == 0 && nf_ >= 5;
      if (r_.AwaitTextKind) {
        r_.FirstTextKind = t;
        if (freeValues) {
          r_.FirstFreeTextW = Num(1);
          r_.FirstFreeTextH = Num(2);
          r_.FirstFreeTextD = Num(3);
          r_.FirstFreeTextColor = Int(4);
        }
        r_.AwaitTextKind = false;
      }
      r_.CurTextKind = t;
      if (freeValues) {
        r_.FreeTextW = Num(1);
        r_.FreeTextH = Num(2);
        r_.FreeTextD = Num(3);
        r_.FreeTextColor = Int(4);
      }
      r_.InPolyline = false;
      return true;
    }
    if (StartsWith(key, "cc")) {
      const int b = key.size() > 2 ? StrToIntOr0(key.substr(2, 1)) : 0;
      r_.CurBasePoint = (b >= 0 && b <= 8) ? b : 0;
      r_.InPolyline = false;
      return true;
    }
    if (key == "ci") {
      if (nf_ == 4) {
        TJwwEntCir& c = AppendEntity(d_, d_.CirList, kKindCir, progress_);
        FillEntHdr(c.Hdr);
        c.Cx = Num(1);
        c.Cy = Num(2);
        c.R = Num(3);
        EntityDone();
        return true;
      }
      if (nf_ >= 8) {
        TJwwEntArc& a = AppendEntity(d_, d_.ArcList, kKindArc, progress_);
        FillEntHdr(a.Hdr);
        a.Cx = Num(1);
        a.Cy = Num(2);
        a.R = Num(3);
        a.StartAngle = Num(4);
        a.EndAngle = Num(5);
        a.Flatness = Num(6);
        a.Tilt = Num(7);
        EntityDone();
        return true;
      }
      return false;
    }
    const int code = TextCodeOf(key);
    if (code >= 0 && nf_ >= 6) {
      if (code == 2 && r_.InDimension) {
        TJwwEntDim& d = AppendEntity(d_, d_.DimList, kKindDim, progress_);
        FillEntHdr(d.Hdr);
        d.Line = r_.DimLine;
        FillText(d.Text, 2);
      } else {
        TJwwEntTxt& t = AppendEntity(d_, d_.TxtList, kKindTxt, progress_);
        FillText(t, code);
      }
      EntityDone();
      return true;
    }
    return false;
  }

  void FillText(TJwwEntTxt& t, int code) const {
    FillEntHdr(t.Hdr);
    t.TextCode = code;
    t.BasePoint = r_.CurBasePoint;
    t.TextKind = r_.CurTextKind;
    if (r_.CurTextKind >= 1 && r_.CurTextKind <= 10) {
      const TJwwTextKind& k = d_.TextKinds[static_cast<std::size_t>(r_.CurTextKind)];
      t.W = k.W;
      t.H = k.H;
      t.D = k.D;
      t.Hdr.Color = k.Color;
    } else {
      t.W = r_.FreeTextW;
      t.H = r_.FreeTextH;
      t.D = r_.FreeTextD;
      t.Hdr.Color = r_.FreeTextColor;
    }
    t.X = Num(1);
    t.Y = Num(2);
    t.DirX = Num(3);
    t.DirY = Num(4);
    t.FontName = Cut255(r_.CurFontName);
    t.Text = Cut255(f_[5]);
  }

  bool PRule(std::string_view key) {
    if (StartsWith(key, "pn")) {
      r_.CurPointColor = StrToIntOr0(From(key, 2));
      r_.InPolyline = false;
      return true;
    }
    if (key == "pl") {
      if (r_.PlCount < INT_MAX) ++r_.PlCount;  // saturates: every later run shares the last number
      r_.InPolyline = true;
      r_.InDimension = false;
      return true;
    }
    if (key == "pt") {
      if (nf_ == 3) {
        TJwwEntPnt& p = AppendEntity(d_, d_.PntList, kKindPnt, progress_);
        FillEntHdr(p.Hdr);
        p.Hdr.Color = r_.CurPointColor;
        p.X = Num(1);
        p.Y = Num(2);
        EntityDone();
        return true;
      }
      if (nf_ >= 6) {
        TJwwEntPntEx& p = AppendEntity(d_, d_.PntExList, kKindPntEx, progress_);
        FillEntHdr(p.Hdr);
        p.Hdr.Color = r_.CurPointColor;
        p.X = Num(1);
        p.Y = Num(2);
        p.Scale = Num(3);
        p.Angle = Num(4);
        p.Code = Int(5);
        EntityDone();
        return true;
      }
    }
    return false;
  }

  void Block() {
    TJwwEntBlk& b = AppendEntity(d_, d_.BlkList, kKindBlk, progress_);
    FillEntHdr(b.Hdr);
    b.X = Num(1);
    b.Y = Num(2);
    b.Name = std::string(f_[3]);
    EntityDone();
  }

  bool SolidRule(std::string_view key) {
    if (key == "sl") {
      if (nf_ == 5 || nf_ == 7 || nf_ >= 9) {
        PolygonSolid();
        EntityDone();
        return true;
      }
      return false;
    }
    if (nf_ < 9 || key.size() != 2) return false;
    switch (key[1]) {
      case 'c': ArcSolid(AppendEntity(d_, d_.ScList, kKindSc, progress_)); break;
      case 'e': ArcSolid(AppendEntity(d_, d_.SeList, kKindSe, progress_)); break;
      case 'o': RingSolid(AppendEntity(d_, d_.SoList, kKindSo, progress_)); break;
      case 'g': RingSolid(AppendEntity(d_, d_.SgList, kKindSg, progress_)); break;
      default: return false;
    }
    EntityDone();
    return true;
  }

  template <typename T>
  void ArcSolidCommon(T& s) const {
    FillEntHdr(s.Hdr);
    s.Rgb = r_.CurRgb;
    s.Cx = Num(1);
    s.Cy = Num(2);
    s.R = Num(3);
    s.Flatness = Num(4);
    s.Tilt = Num(5);
    s.StartAngle = Num(6);
    s.SweepAngle = Num(7);
  }
  void ArcSolid(TJwwEntSlArc& s) const {
    ArcSolidCommon(s);
    s.ArcMode = Int(8);
  }
  void RingSolid(TJwwEntSlArc2& s) const {
    ArcSolidCommon(s);
    s.R2 = Num(8);
  }

  static bool SameCorner(const TDPoint& a, const TDPoint& b) noexcept {
    return std::fabs(a.X - b.X) <= 1e-10 && std::fabs(a.Y - b.Y) <= 1e-10;
  }

  void AddSl2(const TDPoint& a, const TDPoint& b) {
    TJwwEntSl2& s = AppendEntity(d_, d_.Sl2List, kKindSl2, progress_);
    FillEntHdr(s.Hdr);
    s.Rgb = r_.CurRgb;
    s.X1 = a.X;
    s.Y1 = a.Y;
    s.X2 = b.X;
    s.Y2 = b.Y;
  }
  void AddSl3(const TDPoint& a, const TDPoint& b, const TDPoint& c) {
    TJwwEntSl3& s = AppendEntity(d_, d_.Sl3List, kKindSl3, progress_);
    FillEntHdr(s.Hdr);
    s.Rgb = r_.CurRgb;
    s.X1 = a.X;
    s.Y1 = a.Y;
    s.X2 = b.X;
    s.Y2 = b.Y;
    s.X3 = c.X;
    s.Y3 = c.Y;
  }
  void AddSl4(const TDPoint& a, const TDPoint& b, const TDPoint& c, const TDPoint& d) {
    TJwwEntSl4& s = AppendEntity(d_, d_.Sl4List, kKindSl4, progress_);
    FillEntHdr(s.Hdr);
    s.Rgb = r_.CurRgb;
    s.X1 = a.X;
    s.Y1 = a.Y;
    s.X2 = b.X;
    s.Y2 = b.Y;
    s.X3 = c.X;
    s.Y3 = c.Y;
    s.X4 = d.X;
    s.Y4 = d.Y;
  }

  // "sl" with two, three or four corners; degenerate ones are reduced to fewer corners.
  void PolygonSolid() {
    const TDPoint p1{Num(1), Num(2)}, p2{Num(3), Num(4)};
    if (nf_ == 5) {
      AddSl2(p1, p2);
      return;
    }
    const TDPoint p3{Num(5), Num(6)};
    if (nf_ == 7) {
      if (SameCorner(p1, p2))
        AddSl2(p1, p3);
      else if (SameCorner(p2, p3))
        AddSl2(p1, p2);
      else
        AddSl3(p1, p2, p3);
      return;
    }
    const TDPoint p4{Num(7), Num(8)};
    const bool e12 = SameCorner(p1, p2), e13 = SameCorner(p1, p3), e23 = SameCorner(p2, p3);
    const bool e14 = SameCorner(p1, p4), e24 = SameCorner(p2, p4), e34 = SameCorner(p3, p4);
    if (e12 && e13)
      AddSl2(p1, p4);
    else if (e23 && e24)
      AddSl2(p1, p2);
    else if (e12 && e34)
      AddSl2(p1, p3);
    else if (e14 || e24 || e34)
      AddSl3(p1, p2, p3);
    else if (e13 || e23)
      AddSl3(p1, p2, p4);
    else if (e12)
      AddSl3(p1, p3, p4);
    else
      AddSl4(p1, p2, p3, p4);
  }

  // "hp<n>[suffix]" x y: designated point n (1..99) and the kind its suffix gives.
  void DesignatedPoint(std::string_view key) {
    int kind = 0;
    const int number = DesignatedPointNumber(key, kind);
    if (number < 1 || number > 99) return;
    TJwwHp& hp = d_.HpList[static_cast<std::size_t>(number)];
    hp.Used = true;
    hp.X = Num(1);
    hp.Y = Num(2);
    hp.Kind = kind;
    if (d_.HpCount < INT_MAX) ++d_.HpCount;
  }

  // Rule 46: a line of four fields. In dimension mode it only becomes the held dimension line.
  void LineSegment() {
    TJwwEntLin* l = &r_.DimLine;
    if (!r_.InDimension) l = &AppendEntity(d_, d_.LinList, kKindLin, progress_);
    FillEntHdr(l->Hdr);
    l->PlNo = !r_.InDimension && r_.InPolyline ? r_.PlCount : 0;
    const double v[4] = {Num(0), Num(1), Num(2), Num(3)};
    l->X1 = v[0];
    l->Y1 = v[1];
    l->X2 = v[2];
    l->Y2 = v[3];
    if (v[0] == 0.0 || v[1] == 0.0 || v[2] == 0.0 || v[3] == 0.0) CountIfLoose(v);
    r_.CurZFlags = 0;
    r_.CurHp = 0;
  }

  // Rare: a field that reads as 0. The segment is loose when one of them is no number; only
  // fields that read as 0 are looked at, so good files pay next to nothing.
  void CountIfLoose(const double (&v)[4]) noexcept {
    for (int k = 0; k < 4; ++k)
      if (v[k] == 0.0 && !IsZeroNumber(f_[k])) {
        ++d_.LooseSegments;
        return;
      }
  }

  const TJwwFields& f_;
  const int nf_;
  TDrawing& d_;
  TJwwReaderState& r_;
  const TReadProgress& progress_;
};

}  // namespace

void TJwcReader::ParseFields(const TJwwFields& fields) {
  TLineInterpreter(fields, drawing_, state_, progress_).Run();
}

void TJwcReader::ParseLine(std::string_view line, TJwwFields& fields) {
  fields.Split(line);
  ParseFields(fields);
}

void TJwcReader::ParseLine(std::string_view line) {
  TJwwFields fields;
  ParseLine(line, fields);
}

}  // namespace sxf
