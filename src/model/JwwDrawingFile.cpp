// The drawing file's sections in their order: the header, the entities, the block
// definitions, the pictures; each entity into the record the interchange text would give.

#include "model/JwwDrawingFile.h"

#include <cmath>
#include <new>
#include <string>
#include <unordered_map>

#include "model/JwwArchive.h"
#include "model/JwwEntityLists.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {

constexpr std::string_view kSignature = "JwwData.";
// The versions whose layout this reader knows: 300 (the host's 3.00) to the 7xx of the
// host's 7 and 8. Older files lack parts of the header in ways not told apart here.
constexpr std::uint32_t kOldestVersion = 300;
constexpr std::uint32_t kNewestVersion = 799;
// The fewest bytes one entity of a list takes: its tag and the smallest common part.
constexpr std::size_t kMinEntityBytes = 2 + 13;

// At most 255 bytes, as the interchange text's reader keeps texts; a two-byte character is
// never split.
std::string Cut255(std::string s) {
  if (s.size() <= 255) return s;
  std::size_t n = 0;
  while (n < 255) {
    const std::size_t step = CharLength(s, n);
    if (n + step > 255) break;
    n += step;
  }
  s.resize(n);
  return s;
}

double Degrees(double radians) noexcept { return radians * 180.0 / static_cast<double>(kPi); }

class TDrawingReader {
 public:
  TDrawingReader(TJwwArchive& ar, TJwwDrawingFile& out) : ar_(ar), out_(out) {}

  void Read() {
    if (!Signature()) return;
    Header();
    if (ar_.Failed()) return;
    ReadEntityList(out_.Top, out_.TopPlacements, "");
    if (ar_.Failed()) return;
    BlockDefinitions();
    if (ar_.Failed()) return;
    NameBlockReferences();
    if (version_ >= 700) Pictures();
  }

 private:
  bool Signature() {
    ar_.SetContext("the signature");
    if (ar_.Left() < kSignature.size()) {
      ar_.Fail(TJwwFileProblem::NotADrawing, "too short for a drawing file");
      return false;
    }
    char head[8];
    for (char& c : head) c = static_cast<char>(ar_.U8());
    if (std::string_view(head, 8) != kSignature) {
      ar_.Fail(TJwwFileProblem::NotADrawing, "no \"JwwData.\" signature");
      return false;
    }
    ar_.SetContext("the version");
    version_ = ar_.U32();
    if (ar_.Failed()) return false;
    if (version_ < kOldestVersion || version_ > kNewestVersion) {
      ar_.Fail(TJwwFileProblem::UnknownVersion,
               "version " + std::to_string(version_) + " is not one this reader knows (" +
                   std::to_string(kOldestVersion) + ".." + std::to_string(kNewestVersion) + ")");
      return false;
    }
    out_.Version = static_cast<int>(version_);
    return true;
  }

  void SkipU32(int n) {
    for (int i = 0; i < n; ++i) ar_.U32();
  }
  void SkipF64(int n) {
    for (int i = 0; i < n; ++i) ar_.F64();
  }

  void Header() {
    ar_.SetContext("the header");
    out_.Memo = ar_.String();
    out_.PaperSize = static_cast<int>(ar_.U32());
    out_.WriteGroup = ar_.Int(15, "write layer group");
    for (std::size_t g = 0; g < 16; ++g) {
      out_.GroupState[g] = static_cast<int>(ar_.U32());
      out_.GroupWriteLayer[g] = static_cast<int>(ar_.U32());
      out_.LayerGroupScale[g] = ar_.F64();
      out_.GroupProtect[g] = static_cast<int>(ar_.U32());
      for (std::size_t l = 0; l < 16; ++l) {
        out_.LayerState[g * 16 + l] = static_cast<int>(ar_.U32());
        out_.LayerProtect[g * 16 + l] = static_cast<int>(ar_.U32());
      }
    }
    SkipU32(14);     // unused
    SkipU32(5 + 1);  // dimension settings, unused
    SkipU32(1);      // widest line drawn
    SkipF64(3);      // printing origin and scale
    SkipU32(2);      // printing set-up, grid mode
    SkipF64(5);      // grid spacing and origin
    for (std::string& name : out_.LayerName) name = ar_.String();
    for (std::string& name : out_.GroupName) name = ar_.String();
    SkipF64(2);  // shadow study
    SkipU32(1);
    SkipF64(1);
    SkipF64(2);  // sky map
    SkipU32(1);  // 2.5D unit
    SkipF64(6);  // the view saved and the remembered range
    if (ar_.Failed()) return;
    // Mark jumps: scale, origin and layer group of eight; the drawing state of texts.
    for (int n = 0; n < 8; ++n) {
      SkipF64(3);
      SkipU32(1);
    }
    SkipF64(3);
    SkipU32(1);
    SkipF64(3);
    SkipU32(1);
    SkipF64(11);                    // parallel line spacings
    SkipU32(10 * 2);                // screen colours and widths
    for (int n = 0; n < 10; ++n) {  // printer colours, widths and dot radii
      SkipU32(2);
      SkipF64(1);
    }
    SkipU32(8 * 4 + 5 * 5 + 4 * 4);  // line types, random lines, double-length line types
    SkipU32(16);                     // drawing and printing switches, the time spent, 2.5D
    SkipF64(5 + 4);                  // 2.5D eye points, the last lengths given
    SkipU32(2);                      // solids in a colour of their own, and that colour
    if (ar_.Failed()) return;
    if (version_ >= 420) SxfTables();
    if (ar_.Failed()) return;
    for (std::size_t n = 1; n <= 10; ++n) {
      TJwwTextKind& kind = out_.TextKinds[n];
      kind.W = ar_.F64();
      kind.H = ar_.F64();
      kind.D = ar_.F64();
      kind.Color = static_cast<int>(ar_.U32());
    }
    SkipF64(3);  // the text being written: size, spacing, colour, kind
    SkipU32(2);
    SkipF64(2);  // text tidying
    SkipU32(1);  // text base point offsets
    SkipF64(6);
  }

  void SxfTables() {
    ar_.SetContext("the SXF colour table");
    SkipU32(257 * 2);
    for (int n = 0; n < 257 && !ar_.Failed(); ++n) {
      ar_.SkipString();
      SkipU32(2);
      SkipF64(1);
    }
    ar_.SetContext("the SXF line types");
    out_.LineTypes.resize(kSxfLineTypeCount);
    for (TSxfLineTypeDef& type : out_.LineTypes) {
      type.Pattern = ar_.U32();
      SkipU32(3);
    }
    for (TSxfLineTypeDef& type : out_.LineTypes) {
      type.Name = ar_.String();
      const std::uint32_t segments = ar_.U32();
      type.Segments = static_cast<int>(std::min<std::uint32_t>(segments, 0x7FFFFFFF));
      const int kept = std::min(type.Segments, 10);
      for (int j = 0; j < 10; ++j) {
        const double pitch = ar_.F64();
        if (j < kept) type.Pitches.push_back(pitch);
      }
      if (ar_.Failed()) return;
    }
  }

  // ---- Entities ----

  // The part every entity begins with.
  TJwwEntHdr Common(int& penStyle) {
    TJwwEntHdr h;
    ar_.U32();  // curve attribute number
    penStyle = ar_.U8();
    h.LType = penStyle;
    h.Color = ar_.U16();
    if (version_ >= 351) h.LWidth = ar_.U16();
    h.Layer = ar_.U16();
    h.Group = ar_.U16();
    ar_.U16();  // attribute flags
    if (!ar_.Failed() && (h.Layer > 15 || h.Group > 15))
      ar_.Fail(TJwwFileProblem::BadValue, "layer " + std::to_string(h.Layer) + " of group " +
                                              std::to_string(h.Group) + ": beyond 15");
    return h;
  }

  TJwwEntLin LineBody(const TJwwEntHdr& h) {
    TJwwEntLin l;
    l.Hdr = h;
    l.X1 = ar_.F64();
    l.Y1 = ar_.F64();
    l.X2 = ar_.F64();
    l.Y2 = ar_.F64();
    return l;
  }

  TJwwEntTxt TextBody(const TJwwEntHdr& h) {
    TJwwEntTxt t;
    t.Hdr = h;
    t.X = ar_.F64();
    t.Y = ar_.F64();
    const double endX = ar_.F64(), endY = ar_.F64();
    // The kind, plus 10000 for italic and 20000 for bold, which the records do not keep.
    const std::uint32_t kind = ar_.U32() % 10000;
    t.TextKind = kind <= 10 ? static_cast<int>(kind) : 0;
    t.W = ar_.F64();
    t.H = ar_.F64();
    t.D = ar_.F64();
    ar_.F64();  // the angle in degrees, which the end point gives as well
    std::string font = ar_.String();
    t.Text = Cut255(ar_.String());
    // The interchange text carries the line from the start to the end point.
    t.DirX = endX - t.X;
    t.DirY = endY - t.Y;
    // A font name beginning with '@' writes vertically: the text line's own code, "cv".
    if (!font.empty() && font[0] == '@') {
      t.TextCode = 1;
      font.erase(0, 1);
    }
    t.FontName = Cut255(std::move(font));
    return t;
  }

  // A point: x, y, the temporary mark; with line type 100 a point mark's code, angle, scale.
  void PointBody(const TJwwEntHdr& h, int penStyle, TEntityLists& lists, bool add) {
    const double x = ar_.F64(), y = ar_.F64();
    const bool temporary = ar_.U32() != 0;
    if (penStyle == 100) {
      TJwwEntPntEx p;
      p.Hdr = h;
      p.X = x;
      p.Y = y;
      p.Code = static_cast<int>(std::min<std::uint32_t>(ar_.U32(), 0x7FFFFFFF));
      p.Angle = Degrees(ar_.F64());
      p.Scale = ar_.F64();
      if (add && !ar_.Failed()) Append(lists, lists.PntExList, kKindPntEx, std::move(p));
      return;
    }
    if (!add || ar_.Failed()) return;
    if (temporary) ++out_.TemporaryPoints;
    Append(lists, lists.PntList, kKindPnt, TJwwEntPnt{h, x, y});
  }

  template <typename T>
  void Append(TEntityLists& lists, std::vector<T>& list, int kind, T&& record) {
    // Each list is given room for its share of the list being read once a sample of it is
    // read, as the interchange reader does, rather than copied at every doubling.
    MakeRoom(list, progress_);
    lists.EntOrder.push_back({kind, static_cast<int>(list.size())});
    list.push_back(std::move(record));
  }

  void Circle(const TJwwEntHdr& h, TEntityLists& lists) {
    const double cx = ar_.F64(), cy = ar_.F64(), r = ar_.F64();
    const double start = ar_.F64(), sweep = ar_.F64(), tilt = ar_.F64();
    const double flatness = ar_.F64();
    const bool whole = ar_.U32() != 0;
    if (ar_.Failed()) return;
    // The interchange text writes a whole circle as "ci x y r"; anything else with its angles
    // in degrees, the end angle rather than the sweep.
    if (whole && flatness == 1.0) {
      Append(lists, lists.CirList, kKindCir, TJwwEntCir{h, cx, cy, r});
      return;
    }
    TJwwEntArc a;
    a.Hdr = h;
    a.Cx = cx;
    a.Cy = cy;
    a.R = r;
    a.StartAngle = whole ? 0.0 : Degrees(start);
    a.EndAngle = whole ? 360.0 : Degrees(start + sweep);
    a.Flatness = flatness;
    a.Tilt = Degrees(tilt);
    Append(lists, lists.ArcList, kKindArc, std::move(a));
  }

  // Four corners; with colour 10 a colour of its own. Line type 101 marks an arc-shaped
  // solid, whose corners hold centre, radius, flatness, tilt, start, sweep and mode.
  void Solid(const TJwwEntHdr& h, int penStyle, TEntityLists& lists) {
    double v[8];
    for (double& d : v) d = ar_.F64();
    const int rgb = h.Color == 10 ? static_cast<int>(ar_.U32() & 0x7FFFFFFF) : 0;
    if (ar_.Failed()) return;
    if (penStyle == 101) {
      TJwwEntSlArc s;
      s.Hdr = h;
      s.Rgb = rgb;
      s.Cx = v[0];
      s.Cy = v[1];
      s.R = v[2];
      s.Flatness = v[3];
      s.Tilt = v[4];
      s.StartAngle = v[5];
      s.SweepAngle = v[6];
      s.ArcMode = std::isfinite(v[7]) && std::fabs(v[7]) < 1e9 ? static_cast<int>(v[7]) : 0;
      Append(lists, lists.ScList, kKindSc, std::move(s));
      return;
    }
    const TDPoint p[4] = {{v[0], v[1]}, {v[2], v[3]}, {v[4], v[5]}, {v[6], v[7]}};
    AddPolygonSolid(h, rgb, p, lists);
  }

  static bool SameCorner(const TDPoint& a, const TDPoint& b) noexcept {
    return std::fabs(a.X - b.X) <= 1e-10 && std::fabs(a.Y - b.Y) <= 1e-10;
  }

  // The corners as the interchange text's "sl" line with four corners gives them: repeated
  // corners make a triangle or a two-corner solid.
  void AddPolygonSolid(const TJwwEntHdr& h, int rgb, const TDPoint (&p)[4], TEntityLists& l) {
    const bool e12 = SameCorner(p[0], p[1]), e13 = SameCorner(p[0], p[2]);
    const bool e23 = SameCorner(p[1], p[2]), e14 = SameCorner(p[0], p[3]);
    const bool e24 = SameCorner(p[1], p[3]), e34 = SameCorner(p[2], p[3]);
    const auto two = [&](const TDPoint& a, const TDPoint& b) {
      Append(l, l.Sl2List, kKindSl2, TJwwEntSl2{h, rgb, a.X, a.Y, b.X, b.Y});
    };
    const auto three = [&](const TDPoint& a, const TDPoint& b, const TDPoint& c) {
      Append(l, l.Sl3List, kKindSl3, TJwwEntSl3{h, rgb, a.X, a.Y, b.X, b.Y, c.X, c.Y});
    };
    if (e12 && e13)
      two(p[0], p[3]);
    else if (e23 && e24)
      two(p[0], p[1]);
    else if (e12 && e34)
      two(p[0], p[2]);
    else if (e14 || e24 || e34)
      three(p[0], p[1], p[2]);
    else if (e13 || e23)
      three(p[0], p[1], p[3]);
    else if (e12)
      three(p[0], p[2], p[3]);
    else
      Append(l, l.Sl4List, kKindSl4,
             TJwwEntSl4{h, rgb, p[0].X, p[0].Y, p[1].X, p[1].Y, p[2].X, p[2].Y, p[3].X, p[3].Y});
  }

  void Dimension(const TJwwEntHdr& h, TEntityLists& lists) {
    int style = 0;
    TJwwEntDim d;
    d.Hdr = h;
    const TJwwEntHdr lineHdr = Common(style);
    d.Line = LineBody(lineHdr);
    const TJwwEntHdr textHdr = Common(style);
    d.Text = TextBody(textHdr);
    d.Text.TextCode = 2;
    if (version_ >= 420) {
      // The SXF form's extension lines and end points: read past, as the text carries none.
      ar_.U16();
      for (int k = 0; k < 2; ++k) { LineBody(Common(style)); }
      for (int k = 0; k < 4; ++k) {
        const TJwwEntHdr pointHdr = Common(style);
        PointBody(pointHdr, style, lists, false);
      }
    }
    if (!ar_.Failed()) Append(lists, lists.DimList, kKindDim, std::move(d));
  }

  void BlockReference(const TJwwEntHdr& h, TEntityLists& lists,
                      std::vector<TBlockPlacement>& placements) {
    TJwwEntBlk b;
    b.Hdr = h;
    b.X = ar_.F64();
    b.Y = ar_.F64();
    TBlockPlacement place;
    place.ScaleX = ar_.F64();
    place.ScaleY = ar_.F64();
    place.Angle = ar_.F64();
    place.DefNumber = ar_.Int(0x7FFFFFFF, "block number");
    if (ar_.Failed()) return;
    Append(lists, lists.BlkList, kKindBlk, std::move(b));
    placements.push_back(place);
  }

  void Entity(TJwwClass cls, TEntityLists& lists, std::vector<TBlockPlacement>& placements) {
    int penStyle = 0;
    const TJwwEntHdr h = Common(penStyle);
    switch (cls) {
      case TJwwClass::Line: {
        TJwwEntLin l = LineBody(h);
        if (!ar_.Failed()) Append(lists, lists.LinList, kKindLin, std::move(l));
        break;
      }
      case TJwwClass::Arc: Circle(h, lists); break;
      case TJwwClass::Point: PointBody(h, penStyle, lists, true); break;
      case TJwwClass::Text: {
        TJwwEntTxt t = TextBody(h);
        if (!ar_.Failed()) Append(lists, lists.TxtList, kKindTxt, std::move(t));
        break;
      }
      case TJwwClass::Dimension: Dimension(h, lists); break;
      case TJwwClass::Solid: Solid(h, penStyle, lists); break;
      case TJwwClass::BlockRef: BlockReference(h, lists, placements); break;
      case TJwwClass::BlockDef:
      case TJwwClass::None: break;  // ObjectClass lets neither through
    }
  }

  // where: "" for the drawing's own list, else the block definition's place.
  void ReadEntityList(TEntityLists& lists, std::vector<TBlockPlacement>& placements,
                      const std::string& where) {
    ar_.SetContext(where.empty() ? "the entity list" : "the entity list of " + where);
    const std::uint32_t n = ar_.Count(kMinEntityBytes);
    ar_.SetContext(where);
    lists.EntOrder.reserve(lists.EntOrder.size() + n);  // n is bounded by the bytes left
    for (std::uint32_t k = 0; k < n && !ar_.Failed(); ++k) {
      // The projection counts entities as lines of the shortest length it knows.
      progress_ = {std::uint64_t{n} * kShortestEntityLine, std::uint64_t{k} * kShortestEntityLine};
      ar_.SetEntity(k + 1, n);
      const TJwwClass cls = ar_.ObjectClass(false);
      if (!ar_.Failed()) Entity(cls, lists, placements);
    }
    progress_ = {};
  }

  void BlockDefinitions() {
    ar_.SetContext("the block definitions");
    const std::uint32_t n = ar_.Count(kMinEntityBytes + 4 + 4 + 4 + 1 + 2);
    const std::string total = " of " + std::to_string(n);
    for (std::uint32_t k = 0; k < n && !ar_.Failed(); ++k) {
      const std::string where = "block definition " + std::to_string(k + 1) + total;
      ar_.SetContext(where);
      ar_.ObjectClass(true);
      int penStyle = 0;
      Common(penStyle);
      TJwwBlockDef def;
      def.Number = ar_.Int(0x7FFFFFFF, "block number");
      def.Referenced = ar_.U32() != 0;
      ar_.U32();  // when it was made
      def.Name = ar_.String();
      if (ar_.Failed()) return;
      out_.Blocks.push_back(std::move(def));
      TJwwBlockDef& added = out_.Blocks.back();
      ReadEntityList(added.Contents, added.Placements, where);
    }
  }

  // Each reference gets the name of the definition it places, as the interchange text's "BL"
  // line carries it. A number no definition has leaves the name empty.
  void NameBlockReferences() {
    std::unordered_map<int, const std::string*> names;
    for (const TJwwBlockDef& def : out_.Blocks) names.emplace(def.Number, &def.Name);
    const auto name = [&](TEntityLists& lists, const std::vector<TBlockPlacement>& places) {
      for (std::size_t k = 0; k < lists.BlkList.size(); ++k) {
        const auto found = names.find(places[k].DefNumber);
        if (found != names.end()) lists.BlkList[k].Name = *found->second;
      }
    };
    name(out_.Top, out_.TopPlacements);
    for (TJwwBlockDef& def : out_.Blocks) name(def.Contents, def.Placements);
  }

  // Pictures kept in the file: a count, then each one's name, size and bytes. Read past.
  void Pictures() {
    ar_.SetContext("the pictures");
    const std::uint32_t n = ar_.U32();
    if (!ar_.Failed() && n > ar_.Left() / 5) {
      ar_.Fail(TJwwFileProblem::BadValue,
               std::to_string(n) + " pictures in " + std::to_string(ar_.Left()) + " bytes");
      return;
    }
    for (std::uint32_t k = 0; k < n && !ar_.Failed(); ++k) {
      ar_.SetContext("picture " + std::to_string(k + 1) + " of " + std::to_string(n));
      ar_.SkipString();
      const std::uint32_t size = ar_.U32();
      ar_.Skip(size);
      if (!ar_.Failed()) ++out_.ImageCount;
    }
  }

  TJwwArchive& ar_;
  TReadProgress progress_;  // through the entity list being read, for the lists' room
  TJwwDrawingFile& out_;
  std::uint32_t version_ = 0;
};

TJwwFileLoad Finish(const TJwwArchive& ar) {
  TJwwFileLoad load;
  load.BytesRead = ar.FailureOffset();
  load.Problem = ar.Problem();
  load.ReadToEnd = !ar.Failed();
  if (ar.Failed()) load.Message = ar.Message();
  return load;
}

TJwwFileLoad OutOfMemory(std::size_t at) noexcept {
  TJwwFileLoad load;
  load.BytesRead = at;
  load.Problem = TJwwFileProblem::OutOfMemory;
  try {
    load.Message = "out of memory; reading stopped";
  } catch (...) {}
  return load;
}

}  // namespace

bool LooksLikeJwwFile(std::string_view firstBytes) noexcept {
  return firstBytes.substr(0, kSignature.size()) == kSignature;
}

TJwwFileLoad ReadJwwDrawingBytes(std::string_view bytes, TJwwDrawingFile& out) noexcept {
  std::size_t at = 0;
  try {
    out = TJwwDrawingFile{};
    TJwwArchive ar(bytes);
    TDrawingReader reader(ar, out);
    try {
      reader.Read();
    } catch (const std::bad_alloc&) {
      return OutOfMemory(ar.Offset());
    } catch (const std::length_error&) { return OutOfMemory(ar.Offset()); }
    at = ar.Offset();
    return Finish(ar);
  } catch (...) { return OutOfMemory(at); }
}

}  // namespace sxf
