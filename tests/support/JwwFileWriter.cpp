#include "support/JwwFileWriter.h"

#include "util/MyFunc.h"

#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <algorithm>
#include <map>

namespace sxf::test {

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

class TWriter {
 public:
  explicit TWriter(const TJwwWriteOptions& options) : o_(options) {}

  std::string Write(const TJwwDrawingFile& f) {
    out_ = "JwwData.";
    U32(static_cast<std::uint32_t>(o_.Version));
    Header(f);
    List(f.Top, f.TopPlacements);
    Count(f.Blocks.size());
    for (const TJwwBlockDef& def : f.Blocks) {
      Tag("CDataList");
      Common(TJwwEntHdr{}, 1);
      U32(static_cast<std::uint32_t>(def.Number));
      U32(def.Referenced ? 1 : 0);
      U32(0);
      Str(def.Name);
      List(def.Contents, def.Placements);
    }
    if (o_.Version >= 700) U32(0);  // no pictures
    return out_;
  }

 private:
  void U8(std::uint8_t v) { out_ += static_cast<char>(v); }
  void U16(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v & 0xFF));
    U8(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    U16(static_cast<std::uint16_t>(v & 0xFFFF));
    U16(static_cast<std::uint16_t>(v >> 16));
  }
  void F64(double v) {
    char b[8];
    std::memcpy(b, &v, 8);
    out_.append(b, 8);
  }
  void Zeros(int dwords) { out_.append(static_cast<std::size_t>(dwords) * 4, '\0'); }
  void Length(std::size_t n) {
    if (n < 0xFF) {
      U8(static_cast<std::uint8_t>(n));
    } else if (n < 0xFFFE) {
      U8(0xFF);
      U16(static_cast<std::uint16_t>(n));
    } else {
      U8(0xFF);
      U16(0xFFFF);
      U32(static_cast<std::uint32_t>(n));
    }
  }
  void Str(const std::string& s) {
    if (!o_.Utf16) {
      Length(s.size());
      out_ += s;
      return;
    }
    U8(0xFF);
    U16(0xFFFE);
    Length(s.size());
    for (char c : s) {
      assert(static_cast<unsigned char>(c) < 0x80);
      U16(static_cast<std::uint16_t>(c));
    }
  }
  void Count(std::size_t n) {
    if (n < 0xFFFF) {
      U16(static_cast<std::uint16_t>(n));
    } else {
      U16(0xFFFF);
      U32(static_cast<std::uint32_t>(n));
    }
  }

  // One numbering of classes and objects for the whole file, as the host's archive keeps.
  void Tag(const std::string& name) {
    const auto found = classes_.find(name);
    if (found == classes_.end()) {
      U16(0xFFFF);
      U16(static_cast<std::uint16_t>(o_.Version));
      U16(static_cast<std::uint16_t>(name.size()));
      out_ += name;
      classes_[name] = next_++;
    } else if (found->second < 0x7FFF) {
      U16(static_cast<std::uint16_t>(0x8000 | found->second));
    } else {
      U16(0x7FFF);
      U32(0x80000000u | found->second);
    }
    ++next_;  // the object
  }

  void Header(const TJwwDrawingFile& f) {
    Str(f.Memo);
    U32(static_cast<std::uint32_t>(f.PaperSize));
    U32(static_cast<std::uint32_t>(f.WriteGroup));
    for (std::size_t g = 0; g < 16; ++g) {
      U32(static_cast<std::uint32_t>(f.GroupState[g]));
      U32(static_cast<std::uint32_t>(f.GroupWriteLayer[g]));
      F64(f.LayerGroupScale[g]);
      U32(static_cast<std::uint32_t>(f.GroupProtect[g]));
      for (std::size_t l = 0; l < 16; ++l) {
        U32(static_cast<std::uint32_t>(f.LayerState[g * 16 + l]));
        U32(static_cast<std::uint32_t>(f.LayerProtect[g * 16 + l]));
      }
    }
    Zeros(14 + 6 + 1 + 3 * 2 + 2 + 5 * 2);
    for (const std::string& name : f.LayerName) Str(name);
    for (const std::string& name : f.GroupName) Str(name);
    Zeros(2 * 2 + 1 + 2 + 2 * 2 + 1 + 6 * 2);
    Zeros(8 * 7 + 14);  // mark jumps, the text drawing state
    Zeros(11 * 2 + 20 + 10 * 4 + 8 * 4 + 5 * 5 + 4 * 4 + 16 + 9 * 2 + 2);
    if (o_.Version >= 420) {
      Zeros(257 * 2);
      for (int n = 0; n < 257; ++n) {
        Str("");
        Zeros(4);
      }
      for (int n = 0; n < kSxfLineTypeCount; ++n) {
        U32(n < static_cast<int>(f.LineTypes.size()) ? f.LineTypes[n].Pattern : 0);
        Zeros(3);
      }
      for (int n = 0; n < kSxfLineTypeCount; ++n) {
        const TSxfLineTypeDef none;
        const TSxfLineTypeDef& t = n < static_cast<int>(f.LineTypes.size()) ? f.LineTypes[n] : none;
        Str(t.Name);
        U32(static_cast<std::uint32_t>(t.Segments));
        for (std::size_t j = 0; j < 10; ++j) F64(j < t.Pitches.size() ? t.Pitches[j] : 0.0);
      }
    }
    for (std::size_t n = 1; n <= 10; ++n) {
      F64(f.TextKinds[n].W);
      F64(f.TextKinds[n].H);
      F64(f.TextKinds[n].D);
      U32(static_cast<std::uint32_t>(f.TextKinds[n].Color));
    }
    Zeros(3 * 2 + 2 + 2 * 2 + 1 + 6 * 2);
  }

  void Common(const TJwwEntHdr& h, int penStyle) {
    U32(0);
    U8(static_cast<std::uint8_t>(penStyle));
    U16(static_cast<std::uint16_t>(h.Color));
    if (o_.Version >= 351) U16(static_cast<std::uint16_t>(h.LWidth));
    U16(static_cast<std::uint16_t>(h.Layer));
    U16(static_cast<std::uint16_t>(h.Group));
    U16(0);
  }

  void Line(const TJwwEntLin& l) {
    Common(l.Hdr, l.Hdr.LType);
    for (double v : {l.X1, l.Y1, l.X2, l.Y2}) F64(v);
  }
  void Text(const TJwwEntTxt& t) {
    Common(t.Hdr, t.Hdr.LType);
    for (double v : {t.X, t.Y, t.X + t.DirX, t.Y + t.DirY}) F64(v);
    U32(static_cast<std::uint32_t>(t.TextKind));
    for (double v : {t.W, t.H, t.D, std::atan2(t.DirY, t.DirX) / kDegToRad}) F64(v);
    Str(t.TextCode == 1 ? "@" + t.FontName : t.FontName);
    Str(t.Text);
  }
  void Point(const TJwwEntHdr& h, int penStyle, double x, double y) {
    Common(h, penStyle);
    F64(x);
    F64(y);
    U32(0);
  }
  // Radians r that the reader turns back into exactly these degrees as (from + r) in degrees,
  // where some value a few units in the last place from the plain product does: the
  // interchange text and the file then hold the same drawing.
  static double Radians(double degrees, double from = 0.0) {
    const auto back = [from](double r) { return (from + r) * 180.0 / static_cast<double>(kPi); };
    const double guess = degrees * kDegToRad - from;
    if (back(guess) == degrees) return guess;
    double up = guess, down = guess;
    for (int n = 0; n < 64; ++n) {
      up = std::nextafter(up, INFINITY);
      down = std::nextafter(down, -INFINITY);
      if (back(up) == degrees) return up;
      if (back(down) == degrees) return down;
    }
    return guess;
  }
  void Arc(const TJwwEntHdr& h, double cx, double cy, double r, double startDeg, double endDeg,
           double flatness, double tiltDeg, bool whole) {
    Common(h, h.LType);
    const double start = Radians(startDeg);
    const double sweep = Radians(endDeg, start);  // the reader's end is start + sweep
    for (double v : {cx, cy, r, start, sweep, Radians(tiltDeg), flatness}) F64(v);
    U32(whole ? 1 : 0);
  }
  void Solid(const TJwwEntHdr& h, int penStyle, int rgb, std::initializer_list<double> v) {
    Common(h, penStyle);
    for (double d : v) F64(d);
    if (h.Color == 10) U32(static_cast<std::uint32_t>(rgb));
  }

  void List(const TEntityLists& l, const std::vector<TBlockPlacement>& placements) {
    Count(l.EntOrder.size());
    for (const TJwwEntRef& ref : l.EntOrder) {
      const auto i = static_cast<std::size_t>(ref.Index);
      switch (ref.Kind) {
        case kKindLin:
          Tag("CDataSen");
          Line(l.LinList[i]);
          break;
        case kKindCir: {
          const TJwwEntCir& c = l.CirList[i];
          Tag("CDataEnko");
          Arc(c.Hdr, c.Cx, c.Cy, c.R, 0, 360, 1, 0, true);
          break;
        }
        case kKindArc: {
          const TJwwEntArc& a = l.ArcList[i];
          Tag("CDataEnko");
          Arc(a.Hdr, a.Cx, a.Cy, a.R, a.StartAngle, a.EndAngle, a.Flatness, a.Tilt, false);
          break;
        }
        case kKindTxt:
          Tag("CDataMoji");
          Text(l.TxtList[i]);
          break;
        case kKindPnt:
          Tag("CDataTen");
          Point(l.PntList[i].Hdr, l.PntList[i].Hdr.LType, l.PntList[i].X, l.PntList[i].Y);
          break;
        case kKindPntEx: {
          const TJwwEntPntEx& p = l.PntExList[i];
          Tag("CDataTen");
          Point(p.Hdr, 100, p.X, p.Y);
          U32(static_cast<std::uint32_t>(p.Code));
          F64(p.Angle * kDegToRad);
          F64(p.Scale);
          break;
        }
        case kKindDim: {
          const TJwwEntDim& d = l.DimList[i];
          Tag("CDataSunpou");
          Common(d.Hdr, d.Hdr.LType);
          Line(d.Line);
          Text(d.Text);
          if (o_.Version >= 420) {
            U16(0);
            Line(d.Line);
            Line(d.Line);
            Point(d.Hdr, 100, 0, 0);  // a point mark: its code, angle and scale follow
            U32(3);
            F64(0);
            F64(1);
            for (int k = 0; k < 3; ++k) Point(d.Hdr, 1, 0, 0);
          }
          break;
        }
        case kKindBlk: {
          const TJwwEntBlk& b = l.BlkList[i];
          const TBlockPlacement& p = placements[i];
          Tag("CDataBlock");
          Common(b.Hdr, b.Hdr.LType);
          for (double v : {b.X, b.Y, p.ScaleX, p.ScaleY, p.Angle}) F64(v);
          U32(static_cast<std::uint32_t>(p.DefNumber));
          break;
        }
        case kKindSl2: {
          const TJwwEntSl2& s = l.Sl2List[i];
          Tag("CDataSolid");
          Solid(s.Hdr, s.Hdr.LType, s.Rgb, {s.X1, s.Y1, s.X2, s.Y2, s.X2, s.Y2, s.X2, s.Y2});
          break;
        }
        case kKindSl3: {
          const TJwwEntSl3& s = l.Sl3List[i];
          Tag("CDataSolid");
          Solid(s.Hdr, s.Hdr.LType, s.Rgb, {s.X1, s.Y1, s.X2, s.Y2, s.X3, s.Y3, s.X3, s.Y3});
          break;
        }
        case kKindSl4: {
          const TJwwEntSl4& s = l.Sl4List[i];
          Tag("CDataSolid");
          Solid(s.Hdr, s.Hdr.LType, s.Rgb, {s.X1, s.Y1, s.X2, s.Y2, s.X3, s.Y3, s.X4, s.Y4});
          break;
        }
        case kKindSc: {
          const TJwwEntSlArc& s = l.ScList[i];
          Tag("CDataSolid");
          Solid(s.Hdr, 101, s.Rgb,
                {s.Cx, s.Cy, s.R, s.Flatness, s.Tilt, s.StartAngle, s.SweepAngle,
                 static_cast<double>(s.ArcMode)});
          break;
        }
        default: assert(false && "the reader makes no such record");
      }
    }
  }

  const TJwwWriteOptions& o_;
  std::string out_;
  std::map<std::string, std::uint32_t> classes_;
  std::uint32_t next_ = 1;
};

}  // namespace

std::string WriteJwwFile(const TJwwDrawingFile& file, const TJwwWriteOptions& options) {
  return TWriter(options).Write(file);
}

TJwwDrawingFile DrawingFileOf(const TDrawing& drawing) {
  TJwwDrawingFile file;
  file.Version = 700;
  CopyLayerTables(drawing, file);
  file.Top = drawing;  // the lists and the order they were read in
  // The arc- and ring-shaped solids other than "sc" have no record of their own in the file.
  std::erase_if(file.Top.EntOrder, [](const TJwwEntRef& ref) {
    return ref.Kind == kKindSe || ref.Kind == kKindSo || ref.Kind == kKindSg;
  });
  file.Top.SeList.clear(), file.Top.SoList.clear(), file.Top.SgList.clear();
  // A reference names its definition by number: an empty definition per name referred to.
  for (const TJwwEntBlk& b : drawing.BlkList) {
    auto def = std::find_if(file.Blocks.begin(), file.Blocks.end(),
                            [&b](const TJwwBlockDef& d) { return d.Name == b.Name; });
    if (def == file.Blocks.end()) {
      def = file.Blocks.insert(file.Blocks.end(), TJwwBlockDef{});
      def->Number = static_cast<int>(file.Blocks.size());
      def->Name = b.Name;
      def->Referenced = true;
    }
    file.TopPlacements.push_back({1, 1, 0, def->Number});
  }
  return file;
}

}  // namespace sxf::test
