#include "model/JwwGaibu2.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#if defined(_WIN32)
#include <filesystem>
#endif
#include <memory>
#include <new>
#include <stdexcept>

#include <sys/stat.h>
#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#endif
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "util/MyFunc.h"
#include "util/VectorState.h"

namespace sxf {

std::vector<TJwwEntLin> LinList;
int LinCount = 0;
std::vector<TJwwEntCir> CirList;
int CirCount = 0;
std::vector<TJwwEntArc> ArcList;
int ArcCount = 0;
std::vector<TJwwEntTxt> TxtList;
int TxtCount = 0;
std::vector<TJwwEntPnt> PntList;
int PntCount = 0;
std::vector<TJwwEntPntEx> PntExList;
int PntExCount = 0;
std::vector<TJwwEntDim> DimList;
int DimCount = 0;
std::vector<TJwwEntBlk> BlkList;
int BlkCount = 0;
std::vector<TJwwEntSl2> Sl2List;
int Sl2Count = 0;
std::vector<TJwwEntSl3> Sl3List;
int Sl3Count = 0;
std::vector<TJwwEntSl4> Sl4List;
int Sl4Count = 0;
std::vector<TJwwEntSlArc> ScList;
int ScCount = 0;
std::vector<TJwwEntSlArc> SeList;
int SeCount = 0;
std::vector<TJwwEntSlArc2> SoList;
int SoCount = 0;
std::vector<TJwwEntSlArc2> SgList;
int SgCount = 0;
std::vector<TJwwEntRef> EntOrder;
int EntOrderCount = 0;

std::string JwwFileName;
std::array<double, 16> LayerGroupScale{};
bool NoGroupScale = false;
std::array<TJwwTextKind, 11> TextKinds{};
double PaperSizeX = 0, PaperSizeY = 0;
double HkValue = 0;
double HnX1 = 0, HnY1 = 0, HnX2 = 0, HnY2 = 0;
std::array<int, 356> HostRgb{};
std::vector<int> GroupState;
std::vector<std::string> GroupName;
std::vector<int> LayerState;
std::vector<std::string> LayerName;
std::vector<TJwwHp> HpList;
int HpCount = 0;

TJwwReaderState JwwReader;

const std::string kDefaultFontName = "<\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E>";

namespace {


template <typename T>
void ClearList(std::vector<T>& list, int& count) {
  list.clear();
  count = 0;
}

template <typename T>
void ReleaseList(std::vector<T>& list) {
  std::vector<T>().swap(list);
}

std::string Cut255(std::string_view s) { return std::string(s.substr(0, 255)); }

// How far the reader has come through the text it reads; Total is 0 when no text is read.
struct TReadProgress {
  std::uint64_t Total = 0;     // bytes of the whole text
  std::uint64_t Consumed = 0;  // bytes before the line being interpreted
};
TReadProgress ReadProgress;

// A list gets its room the first time it is full after this much of a text has been read:
// enough lines for its share of the text to be known within a few per cent.
constexpr std::uint64_t kProjectionSample = std::uint64_t{1} << 20;
// The shortest line that makes an entity ("0 0 0 0" and its line end).
constexpr std::uint64_t kShortestEntityLine = 8;

// Asks the system to back a large, still untouched buffer with large pages where it can:
// the records of a big drawing then cost a few hundred page faults instead of a few
// ten thousand. Only a hint; nothing changes where it is not taken.
void AdviseLargePages(void* data, std::size_t bytes) noexcept {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
  if (bytes < 2 * kLargePage) return;
  const auto from = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (from + kLargePage - 1) & ~(kLargePage - 1);
  const std::uintptr_t last = (from + bytes) & ~(kLargePage - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)data;
  (void)bytes;
#endif
}

// Makes room for one more record. Regrowing a list a doubling at a time copies it again and
// again and, at the last doubling, holds the old and the new buffer at once; so once enough
// of the text has been read, a full list is given room for its share of the whole text
// (with a margin for chance), and usually never grows again. Room that is reserved but
// never written costs address space only.
template <typename T>
void MakeRoom(std::vector<T>& list) {
  const std::size_t n = list.size();
  if (n < list.capacity()) return;
  const TReadProgress& r = ReadProgress;
  if (r.Consumed < kProjectionSample || r.Consumed >= r.Total) return;  // the usual doubling
  const double count = static_cast<double>(n);
  const double share = count * static_cast<double>(r.Total) / static_cast<double>(r.Consumed);
  const double margin = 1.08 + 3.0 / std::sqrt(count + 1.0);
  const double most = count + static_cast<double>((r.Total - r.Consumed) / kShortestEntityLine) + 1.0;
  // At least a quarter more, so that a kind that crowds into the end of the text still
  // grows geometrically.
  const double want = std::max(count * 1.25 + 16.0, std::min(share * margin, most));
  if (!(want < static_cast<double>(list.max_size()))) return;
  try {
    list.reserve(static_cast<std::size_t>(want));
    AdviseLargePages(list.data(), list.capacity() * sizeof(T));
  } catch (const std::bad_alloc&) {
    // Without the room projected, the list still grows as far as memory allows.
  } catch (const std::length_error&) {
  }
}

// Appends a value-initialised record and its order entry; returns the new record.
template <typename T>
T& AppendEntity(std::vector<T>& list, int& count, int kind) {
  assert(list.size() == static_cast<std::size_t>(count));
  assert(EntOrder.size() == static_cast<std::size_t>(EntOrderCount));
  // The record first: when memory runs out, neither the list nor the order list changes.
  MakeRoom(list);
  list.emplace_back();
  try {
    AddEntRef(kind, count);
  } catch (...) {
    list.pop_back();
    throw;
  }
  ++count;
  return list.back();
}

bool StartsWith(std::string_view s, std::string_view prefix) noexcept {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

std::string_view From(std::string_view s, std::size_t pos) noexcept {
  return pos < s.size() ? s.substr(pos) : std::string_view();
}

void SetBit(int& flags, int bit) noexcept {
  if ((flags & bit) == 0) flags += bit;
}

// ---- The interpreter of one split line ----

class TLineInterpreter {
 public:
  explicit TLineInterpreter(const TJwwFields& f) : f_(f), nf_(f.Count()), r_(JwwReader) {}

  void Run() {
    if (nf_ == 1 && f_[0].empty()) return;
    const std::string_view key = f_[0];
    if (key.find("file=") != std::string_view::npos) {
      JwwFileName = std::string(From(key, 5));
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
        if (key == "bz") { NoGroupScale = true; return true; }
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
    if (key == "hk" && nf_ >= 2) { HkValue = Num(1); return true; }
    if (key == "hs" && nf_ >= 17) {
      for (int i = 0; i < 16; ++i) LayerGroupScale[static_cast<std::size_t>(i)] = Num(i + 1);
      return true;
    }
    if (key == "hzs" && nf_ >= 3) {
      PaperSizeX = Num(1);
      PaperSizeY = Num(2);
      return true;
    }
    if (nf_ >= 11) {
      if (key == "hcw") { for (int i = 1; i <= 10; ++i) TextKinds[static_cast<std::size_t>(i)].W = Num(i); return true; }
      if (key == "hch") { for (int i = 1; i <= 10; ++i) TextKinds[static_cast<std::size_t>(i)].H = Num(i); return true; }
      if (key == "hcd") { for (int i = 1; i <= 10; ++i) TextKinds[static_cast<std::size_t>(i)].D = Num(i); return true; }
      if (key == "hcc") { for (int i = 1; i <= 10; ++i) TextKinds[static_cast<std::size_t>(i)].Color = Int(i); return true; }
    }
    if (key == "hn" && nf_ >= 5) {
      HnX1 = Num(1);
      HnY1 = Num(2);
      HnX2 = Num(3);
      HnY2 = Num(4);
      return true;
    }
    if (key == "hrgb" && nf_ >= 9) {
      // HostRgb holds 356 values; further ones are dropped.
      for (int j = 0; j <= nf_ - 2 && j < static_cast<int>(HostRgb.size()); ++j)
        HostRgb[static_cast<std::size_t>(j)] = Int(j + 1);
      return true;
    }
    if (StartsWith(key, "hp") && nf_ >= 3) { DesignatedPoint(key); return true; }
    if (StartsWith(key, "hhp")) { r_.CurHp = HhpNumber(key); return true; }
    return false;
  }

  // "lg"/"ly" digits: one hexadecimal digit, anything else gives 0.
  static int HexDigitAt(std::string_view key, std::size_t pos) noexcept {
    if (pos >= key.size()) return 0;
    const char digit[2] = {'$', key[pos]};
    const int v = StrToIntOr0(std::string_view(digit, 2));
    return (v >= 0 && v <= 15) ? v : 0;
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
      GroupName[static_cast<std::size_t>(r_.CurGroup)] = JoinedName(key);
      return true;
    }
    if (StartsWith(key, "lyn")) {
      LayerName[static_cast<std::size_t>(r_.CurGroup * 16 + r_.CurLayer)] = JoinedName(key);
      return true;
    }
    if (StartsWith(key, "lg")) {
      const int g = HexDigitAt(key, 2);
      TakeFirst(r_.AwaitGroup, r_.FirstGroup, g);
      r_.CurGroup = g;
      if (nf_ >= 2) GroupState[static_cast<std::size_t>(g)] = Int(1);
      r_.InPolyline = false;
      return true;
    }
    if (StartsWith(key, "ly")) {
      const int l = HexDigitAt(key, 2);
      TakeFirst(r_.AwaitLayer, r_.FirstLayer, l);
      r_.CurLayer = l;
      if (nf_ >= 2) LayerState[static_cast<std::size_t>(r_.CurGroup * 16 + l)] = Int(1);
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

  static int TextCodeOf(std::string_view key) noexcept {
    if (key.size() != 2 || key[0] != 'c') return -1;
    switch (key[1]) {
      case 'h': return 0;
      case 'v': return 1;
      case 's': return 2;
      case 'r': return 3;
      case 'o': return 4;
      case 'p': return 5;
      case 't': return 6;
      case 'k': return 7;
      case 'z': return 8;
      case '2': return 9;
      default: return -1;
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
        TJwwEntCir& c = AppendEntity(CirList, CirCount, kKindCir);
        FillEntHdr(c.Hdr);
        c.Cx = Num(1);
        c.Cy = Num(2);
        c.R = Num(3);
        EntityDone();
        return true;
      }
      if (nf_ >= 8) {
        TJwwEntArc& a = AppendEntity(ArcList, ArcCount, kKindArc);
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
        TJwwEntDim& d = AppendEntity(DimList, DimCount, kKindDim);
        FillEntHdr(d.Hdr);
        d.Line = r_.DimLine;
        FillText(d.Text, 2);
      } else {
        TJwwEntTxt& t = AppendEntity(TxtList, TxtCount, kKindTxt);
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
      const TJwwTextKind& k = TextKinds[static_cast<std::size_t>(r_.CurTextKind)];
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
        TJwwEntPnt& p = AppendEntity(PntList, PntCount, kKindPnt);
        FillEntHdr(p.Hdr);
        p.Hdr.Color = r_.CurPointColor;
        p.X = Num(1);
        p.Y = Num(2);
        EntityDone();
        return true;
      }
      if (nf_ >= 6) {
        TJwwEntPntEx& p = AppendEntity(PntExList, PntExCount, kKindPntEx);
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
    TJwwEntBlk& b = AppendEntity(BlkList, BlkCount, kKindBlk);
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
      case 'c': ArcSolid(AppendEntity(ScList, ScCount, kKindSc)); break;
      case 'e': ArcSolid(AppendEntity(SeList, SeCount, kKindSe)); break;
      case 'o': RingSolid(AppendEntity(SoList, SoCount, kKindSo)); break;
      case 'g': RingSolid(AppendEntity(SgList, SgCount, kKindSg)); break;
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
    TJwwEntSl2& s = AppendEntity(Sl2List, Sl2Count, kKindSl2);
    FillEntHdr(s.Hdr);
    s.Rgb = r_.CurRgb;
    s.X1 = a.X; s.Y1 = a.Y; s.X2 = b.X; s.Y2 = b.Y;
  }
  void AddSl3(const TDPoint& a, const TDPoint& b, const TDPoint& c) {
    TJwwEntSl3& s = AppendEntity(Sl3List, Sl3Count, kKindSl3);
    FillEntHdr(s.Hdr);
    s.Rgb = r_.CurRgb;
    s.X1 = a.X; s.Y1 = a.Y; s.X2 = b.X; s.Y2 = b.Y; s.X3 = c.X; s.Y3 = c.Y;
  }
  void AddSl4(const TDPoint& a, const TDPoint& b, const TDPoint& c, const TDPoint& d) {
    TJwwEntSl4& s = AppendEntity(Sl4List, Sl4Count, kKindSl4);
    FillEntHdr(s.Hdr);
    s.Rgb = r_.CurRgb;
    s.X1 = a.X; s.Y1 = a.Y; s.X2 = b.X; s.Y2 = b.Y;
    s.X3 = c.X; s.Y3 = c.Y; s.X4 = d.X; s.Y4 = d.Y;
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
      if (SameCorner(p1, p2)) AddSl2(p1, p3);
      else if (SameCorner(p2, p3)) AddSl2(p1, p2);
      else AddSl3(p1, p2, p3);
      return;
    }
    const TDPoint p4{Num(7), Num(8)};
    const bool e12 = SameCorner(p1, p2), e13 = SameCorner(p1, p3), e23 = SameCorner(p2, p3);
    const bool e14 = SameCorner(p1, p4), e24 = SameCorner(p2, p4), e34 = SameCorner(p3, p4);
    if (e12 && e13) AddSl2(p1, p4);
    else if (e23 && e24) AddSl2(p1, p2);
    else if (e12 && e34) AddSl2(p1, p3);
    else if (e14 || e24 || e34) AddSl3(p1, p2, p3);
    else if (e13 || e23) AddSl3(p1, p2, p4);
    else if (e12) AddSl3(p1, p3, p4);
    else AddSl4(p1, p2, p3, p4);
  }

  // "hp<n>[suffix]": suffixes are searched in the order "-", "ln", "ci", "ch"; a later find
  // overrides an earlier one, and the number is the text between "hp" and the suffix.
  void DesignatedPoint(std::string_view key) {
    const std::string_view rest = From(key, 2);
    static constexpr std::string_view kSuffix[4] = {"-", "ln", "ci", "ch"};
    std::size_t end = rest.size();
    int kind = 0;
    for (int s = 0; s < 4; ++s) {
      const std::size_t pos = rest.find(kSuffix[s]);
      if (pos != std::string_view::npos) {
        end = pos;
        kind = s + 1;
      }
    }
    const int number = StrToIntOr0(rest.substr(0, end));
    if (number < 1 || number > 99) return;
    TJwwHp& hp = HpList[static_cast<std::size_t>(number)];
    hp.Used = true;
    hp.X = Num(1);
    hp.Y = Num(2);
    hp.Kind = kind;
    if (HpCount < INT_MAX) ++HpCount;
  }

  // "hhp<n>[ln|ci|ch]": the number before the suffix, searched as for "hp".
  static int HhpNumber(std::string_view key) noexcept {
    const std::string_view rest = From(key, 3);
    static constexpr std::string_view kSuffix[3] = {"ln", "ci", "ch"};
    std::size_t end = rest.size();
    for (std::string_view suffix : kSuffix) {
      const std::size_t pos = rest.find(suffix);
      if (pos != std::string_view::npos) end = pos;
    }
    return StrToIntOr0(rest.substr(0, end));
  }

  // Rule 46: a line of four fields. In dimension mode it only becomes the held dimension line.
  void LineSegment() {
    TJwwEntLin* l = &r_.DimLine;
    if (!r_.InDimension) l = &AppendEntity(LinList, LinCount, kKindLin);
    FillEntHdr(l->Hdr);
    l->PlNo = !r_.InDimension && r_.InPolyline ? r_.PlCount : 0;
    const double v[4] = {Num(0), Num(1), Num(2), Num(3)};
    l->X1 = v[0]; l->Y1 = v[1]; l->X2 = v[2]; l->Y2 = v[3];
    if (v[0] == 0.0 || v[1] == 0.0 || v[2] == 0.0 || v[3] == 0.0) CountIfLoose(v);
    r_.CurZFlags = 0;
    r_.CurHp = 0;
  }

  // Rare: a field that reads as 0. The segment is loose when one of them is no number.
  void CountIfLoose(const double (&v)[4]) noexcept {
    for (int k = 0; k < 4; ++k)
      if (v[k] == 0.0 && !IsZeroNumber(f_[k])) {
        ++r_.LooseSegments;
        return;
      }
  }

  // "0", "-0.00", "0e5": a field that reads as 0 because it is one, not because it is no
  // number. Only fields that read as 0 are looked at, so good files pay next to nothing.
  static bool IsZeroNumber(std::string_view field) noexcept {
    std::size_t i = field.empty() || (field[0] != '-' && field[0] != '+') ? 0 : 1;
    bool zero = false;
    for (; i < field.size() && (field[i] == '0' || field[i] == '.'); ++i) zero = zero || field[i] == '0';
    if (zero && i < field.size() && (field[i] == 'e' || field[i] == 'E')) {
      ++i;
      if (i < field.size() && (field[i] == '-' || field[i] == '+')) ++i;
      while (i < field.size() && field[i] >= '0' && field[i] <= '9') ++i;
    }
    return zero && i == field.size();
  }

  const TJwwFields& f_;
  const int nf_;
  TJwwReaderState& r_;
};

void ResetReaderStart(TJwwReaderState& r) {
  r = TJwwReaderState{};
  r.CurFontName = kDefaultFontName;
  r.DimLine.Hdr = TJwwEntHdr{0, 0, 0, 1, 1, 0, 0};
  r.DimLine.X2 = 1.0;
}

}  // namespace

// ---- Field splitting ----

namespace {

// What the splitter does with each byte value. CR and LF are dropped inside a line; where
// the splitter looks for the end of the line itself, they end it.
enum TByteClass : unsigned char { kDrop, kKeep, kLead, kQuote, kEquals, kBlank, kLineEnd };

constexpr std::array<TByteClass, 256> MakeByteClasses(bool lineEnds) {
  std::array<TByteClass, 256> t{};
  for (int b = 0; b < 256; ++b) {
    if (IsLeadByte(static_cast<unsigned char>(b))) t[static_cast<std::size_t>(b)] = kLead;
    else if (b >= 0x20 && b <= 0xFD) t[static_cast<std::size_t>(b)] = kKeep;
    else t[static_cast<std::size_t>(b)] = kDrop;
  }
  t['"'] = kQuote;
  t['='] = kEquals;
  t[' '] = kBlank;
  t['\t'] = kBlank;
  if (lineEnds) t['\r'] = t['\n'] = kLineEnd;
  return t;
}
constexpr std::array<TByteClass, 256> kByteClass = MakeByteClasses(false);
constexpr std::array<TByteClass, 256> kByteClassToLineEnd = MakeByteClasses(true);

constexpr std::uint64_t kEveryByte = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// The high bit of every byte of w that is zero.
constexpr std::uint64_t ZeroBytes(std::uint64_t w) noexcept {
  return ~(((w & ~kHighBits) + ~kHighBits) | w) & kHighBits;
}

// The high bit of every byte of w that may not be a plain kept byte: below '!', from 0x80
// on, a quote or an equals sign. Exact per byte, so the lowest one is the first such byte.
constexpr std::uint64_t MaybeSpecialBytes(std::uint64_t w) noexcept {
  const std::uint64_t belowBang = ~(((w & ~kHighBits) + 0x5F * kEveryByte) | w) & kHighBits;
  return belowBang | (w & kHighBits) | ZeroBytes(w ^ ('"' * kEveryByte)) |
         ZeroBytes(w ^ ('=' * kEveryByte));
}

// The first byte at or after p that may not be a plain kept byte (see MaybeSpecialBytes),
// or limit.
inline const char* NextMaybeSpecial(const char* p, const char* limit) noexcept {
#if defined(__SSE2__)
  // Sixteen bytes at a time: below '!' or from 0x80 on (negative as signed bytes), a quote
  // or an equals sign.
  while (limit - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i special =
        _mm_or_si128(_mm_cmplt_epi8(v, _mm_set1_epi8('!')),
                     _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')), _mm_cmpeq_epi8(v, _mm_set1_epi8('='))));
    const auto mask = static_cast<unsigned>(_mm_movemask_epi8(special));
    if (mask != 0) return p + std::countr_zero(mask);
    p += 16;
  }
#endif
  while (limit - p >= 8) {
    const std::uint64_t special = MaybeSpecialBytes(LoadLittleEndian64(p));
    if (special != 0) return p + std::countr_zero(special) / 8;
    p += 8;
  }
  while (p < limit && kByteClass[static_cast<unsigned char>(*p)] == kKeep) ++p;
  return p;
}

// The first byte at or after p that is not kept as it stands (see kByteClass), or limit.
inline const char* SkipKeptBytes(const char* p, const char* limit) noexcept {
  for (;;) {
    p = NextMaybeSpecial(p, limit);
    if (p == limit || kByteClass[static_cast<unsigned char>(*p)] != kKeep) return p;
    ++p;  // a kept byte from 0x80 on (half-width kana)
  }
}

}  // namespace

// The bytes of a field are contiguous in the line unless a dropped byte sits between two of
// them: then copy is set and the split is left unfinished. Dropped bytes before a field's
// first byte or after its last one need no copy.
template <bool kStopAtLineEnd>
const char* TJwwFields::SplitInPlace(const char* p, const char* limit, bool& copy) noexcept {
  const auto& cls = kStopAtLineEnd ? kByteClassToLineEnd : kByteClass;
  std::size_t k = 0;
  const char* first = nullptr;  // the current field's first byte; null while it is empty
  const char* last = nullptr;   // one past its last byte
  // Takes [at, to) into the current field; false when a dropped byte lies before it.
  const auto take = [&](const char* at, const char* to) {
    if (first == nullptr) first = at;
    else if (last != at) return false;
    last = to;
    return true;
  };
  const auto finish = [&]() {
    begin_[k] = first;
    end_[k] = first != nullptr ? last : first;
    count_ = static_cast<int>(k + 1);
  };
  // A lead byte with a byte after it in the line is a character; alone at the end it is
  // dropped, and the line ends there.
  const auto loneLead = [&](const char* at) {
    return at + 1 == limit || (kStopAtLineEnd && cls[static_cast<unsigned char>(at[1])] == kLineEnd);
  };
  copy = false;
  const char* q = p;
  // Splitting on.
  while (q < limit) {
    const TByteClass c = cls[static_cast<unsigned char>(*q)];
    if (c == kKeep) {
      const char* run = SkipKeptBytes(q + 1, limit);
      if (!take(q, run)) return copy = true, q;
      q = run;
      continue;
    }
    if (c == kBlank) {
      ++q;
      if (first == nullptr) continue;
      if (k + 1 == static_cast<std::size_t>(kMaxJwwFields)) {
        // Only the first 400 fields are held: the rest of the line is dropped.
        finish();
        if constexpr (kStopAtLineEnd) {
          while (q < limit && cls[static_cast<unsigned char>(*q)] != kLineEnd) ++q;
        }
        return kStopAtLineEnd ? q : limit;
      }
      finish();
      ++k;
      first = last = nullptr;
      continue;
    }
    if (c == kLead) {
      if (loneLead(q)) {
        finish();
        return q + 1;
      }
      if (!take(q, q + 2)) return copy = true, q;
      q += 2;
      continue;
    }
    if (c == kLineEnd) {
      finish();
      return q;
    }
    if (c == kDrop) {
      ++q;
      continue;
    }
    if (c == kEquals && !take(q, q + 1)) return copy = true, q;
    ++q;  // an equals sign kept, or a quote dropped: splitting ends
    break;
  }
  // Splitting off: the rest of the line is the current field; blanks, quotes and equals
  // signs are kept, tabs and other control bytes still dropped.
  while (q < limit) {
    const auto b = static_cast<unsigned char>(*q);
    const TByteClass c = cls[b];
    if (c == kLineEnd) break;
    if (c == kLead) {
      if (loneLead(q)) {
        finish();
        return q + 1;
      }
      if (!take(q, q + 2)) return copy = true, q;
      q += 2;
      continue;
    }
    if (c == kDrop || b == '\t') {
      ++q;
      continue;
    }
    if (!take(q, q + 1)) return copy = true, q;
    ++q;
  }
  finish();
  return q;
}

void TJwwFields::Split(std::string_view line) {
  const char* const end = line.data() + line.size();
  bool copy = false;
  SplitInPlace<false>(line.data(), end, copy);
  if (copy) SplitCopying(line);
}

const char* TJwwFields::SplitToLineEnd(const char* p, const char* limit) {
  bool copy = false;
  const char* lineEnd = SplitInPlace<true>(p, limit, copy);
  if (!copy) return lineEnd;
  while (lineEnd < limit && *lineEnd != '\r' && *lineEnd != '\n') ++lineEnd;
  SplitCopying(std::string_view(p, static_cast<std::size_t>(lineEnd - p)));
  return lineEnd;
}

void TJwwFields::SplitCopying(std::string_view line) {
  if (buffer_.size() < line.size()) buffer_.resize(line.size());
  char* out = buffer_.data();
  const char* in = line.data();
  const std::size_t n = line.size();
  std::size_t w = 0;
  std::size_t k = 0;
  std::size_t i = 0;
  std::size_t start = 0;  // where the current field began in the buffer
  const auto endField = [&]() {
    begin_[k] = out + start;
    end_[k] = out + w;
  };
  // Splitting on: blanks and tabs separate fields, a quote or an equals sign ends splitting.
  while (i < n) {
    // Runs of ordinary bytes are the common case: copy them without the dispatch.
    while (kByteClass[static_cast<unsigned char>(in[i])] == kKeep) {
      out[w++] = in[i++];
      if (i == n) break;
    }
    if (i == n) break;
    const auto b = static_cast<unsigned char>(in[i]);
    switch (kByteClass[b]) {
      case kKeep:
      case kLineEnd:
        continue;
      case kBlank:
        ++i;
        if (w > start) {
          // Only the first 400 fields are held: the rest of a longer line is dropped.
          if (k + 1 == static_cast<std::size_t>(kMaxJwwFields)) {
            i = n;
            break;
          }
          endField();
          ++k;
          start = w;
        }
        continue;
      case kLead:
        if (i + 1 == n) {  // a lone lead byte at the end is dropped
          i = n;
          break;
        }
        out[w++] = static_cast<char>(b);
        out[w++] = in[i + 1];
        i += 2;
        continue;
      case kDrop:
        ++i;
        continue;
      case kEquals:
        out[w++] = '=';
        [[fallthrough]];
      case kQuote:
        ++i;
        break;
    }
    break;
  }
  // Splitting off: the rest of the line belongs to the current field; blanks, quotes and
  // equals signs are kept, tabs and other control bytes still dropped.
  while (i < n) {
    const auto b = static_cast<unsigned char>(in[i]);
    const TByteClass c = kByteClass[b];
    if (c == kLead) {
      if (i + 1 == n) break;
      out[w++] = static_cast<char>(b);
      out[w++] = in[i + 1];
      i += 2;
      continue;
    }
    if (c != kDrop && b != '\t') out[w++] = static_cast<char>(b);
    ++i;
  }
  endField();
  count_ = static_cast<int>(k + 1);
}

// ---- Model lifetime ----

void InitJwwModel() {
  ClearList(LinList, LinCount);
  ClearList(CirList, CirCount);
  ClearList(ArcList, ArcCount);
  ClearList(TxtList, TxtCount);
  ClearList(PntList, PntCount);
  ClearList(PntExList, PntExCount);
  ClearList(DimList, DimCount);
  ClearList(BlkList, BlkCount);
  ClearList(Sl2List, Sl2Count);
  ClearList(Sl3List, Sl3Count);
  ClearList(Sl4List, Sl4Count);
  ClearList(ScList, ScCount);
  ClearList(SeList, SeCount);
  ClearList(SoList, SoCount);
  ClearList(SgList, SgCount);
  ClearList(EntOrder, EntOrderCount);

  JwwFileName.clear();
  LayerGroupScale.fill(1.0);
  NoGroupScale = false;
  TextKinds.fill(TJwwTextKind{3.0, 3.0, 0.0, 2});
  PaperSizeX = 1189.0;
  PaperSizeY = 841.0;
  HkValue = 0.0;
  HnX1 = HnY1 = HnX2 = HnY2 = 0.0;
  HostRgb.fill(0);
  GroupState.assign(16, 0);
  GroupName.assign(16, std::string());
  LayerState.assign(256, 0);
  LayerName.assign(256, std::string());
  HpList.assign(100, TJwwHp{});
  HpCount = 0;

  ResetReaderStart(JwwReader);
}

void FreeJwwModel() {
  ReleaseList(GroupState);
  ReleaseList(GroupName);
  ReleaseList(LayerState);
  ReleaseList(LayerName);
  ReleaseList(HpList);
  ReleaseList(EntOrder);
  ReleaseList(LinList);
  ReleaseList(CirList);
  ReleaseList(ArcList);
  ReleaseList(TxtList);
  ReleaseList(PntList);
  ReleaseList(PntExList);
  ReleaseList(DimList);
  ReleaseList(BlkList);
  ReleaseList(Sl2List);
  ReleaseList(Sl3List);
  ReleaseList(Sl4List);
  ReleaseList(ScList);
  ReleaseList(SeList);
  ReleaseList(SoList);
  ReleaseList(SgList);
}

void AddEntRef(int kind, int index) {
  MakeRoom(EntOrder);
  EntOrder.push_back(TJwwEntRef{kind, index});
  ++EntOrderCount;
}

double GroupScaleDivisor(const TJwwEntHdr& hdr) noexcept {
  if (NoGroupScale) return 1.0;
  if (hdr.Group < 0 || hdr.Group > 15) return 1.0;
  const double s = LayerGroupScale[static_cast<std::size_t>(hdr.Group)];
  return (s == 0.0 || !std::isfinite(s)) ? 1.0 : s;
}

void ResetJwwCurrentState() {
  TJwwReaderState& r = JwwReader;
  r.AwaitGroup = r.AwaitLayer = r.AwaitColor = r.AwaitLType = r.AwaitLWidth =
      r.AwaitTextKind = true;
  const TJwwReaderState start{};
  r.CurGroup = start.CurGroup;
  r.CurLayer = start.CurLayer;
  r.CurColor = start.CurColor;
  r.CurLType = start.CurLType;
  r.CurLWidth = start.CurLWidth;
  r.CurTextKind = start.CurTextKind;
  r.FreeTextW = start.FreeTextW;
  r.FreeTextH = start.FreeTextH;
  r.FreeTextD = start.FreeTextD;
  r.FreeTextColor = start.FreeTextColor;
  r.CurBasePoint = start.CurBasePoint;
  r.CurFontName = kDefaultFontName;
  r.CurPointColor = start.CurPointColor;
  r.CurRgb = start.CurRgb;
}

// ---- Reading ----

void ParseJwwFields(const TJwwFields& fields) { TLineInterpreter(fields).Run(); }

void ParseJwwLine(std::string_view line, TJwwFields& fields) {
  fields.Split(line);
  ParseJwwFields(fields);
}

void ParseJwwLine(std::string_view line) {
  TJwwFields fields;
  ParseJwwLine(line, fields);
}

namespace {

struct TFileCloser {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using TFile = std::unique_ptr<std::FILE, TFileCloser>;

// Splits a stream of chunks into lines for ParseJwwLine: CR LF, LF and a lone CR each end a
// line. A line longer than the limit is cut there and the rest of it dropped.
class TLineSplitter {
 public:
  explicit TLineSplitter(std::size_t maxLine) noexcept : maxLine_(maxLine) {}

  // Hands on every line that ends in [p, end) and returns where the unfinished rest begins:
  // it holds no line end and is shorter than the limit. At the end of the file the rest is
  // the last line and is handed on too. offset is where p lies in the whole text.
  const char* Feed(const char* p, const char* end, bool atEof, std::uint64_t offset = 0) {
    const char* const begin = p;
    if (afterCr_ && p < end) {
      if (*p == '\n') ++p;
      afterCr_ = false;
    }
    while (p < end) {
      ReadProgress.Consumed = offset + static_cast<std::uint64_t>(p - begin);
      if (dropping_) {
        const char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n') ++lineEnd;
        if (lineEnd == end) {
          dropping_ = !atEof;
          return end;
        }
        dropping_ = false;
        p = AfterLineEnd(lineEnd, end, atEof);
        continue;
      }
      // One pass over the line finds its end and its fields.
      const auto available = static_cast<std::size_t>(end - p);
      const char* const limit = available > maxLine_ ? p + maxLine_ : end;
      const char* const lineEnd = fields_.SplitToLineEnd(p, limit);
      if (lineEnd == limit) {  // no line end among the bytes the line may have
        if (limit == end && !atEof && available < maxLine_) return p;  // the rest comes later
        ParseJwwFields(fields_);
        // At the end of the file that was the last line; else it is cut at the limit and
        // the rest of it is dropped.
        if (limit == end && atEof) return end;
        dropping_ = true;
        p = limit;
        continue;
      }
      ParseJwwFields(fields_);
      p = AfterLineEnd(lineEnd, end, atEof);
    }
    return p;
  }

 private:
  // Past the CR, LF or CR LF at lineEnd.
  const char* AfterLineEnd(const char* lineEnd, const char* end, bool atEof) noexcept {
    const char* p = lineEnd + 1;
    if (*lineEnd == '\r') {
      if (p < end) {
        if (*p == '\n') ++p;
      } else if (!atEof) {
        afterCr_ = true;  // the LF of a CR LF may come with the next chunk
      }
    }
    return p;
  }

  std::size_t maxLine_;
  TJwwFields fields_;  // reused for every line: splitting allocates only when a line grows
  bool dropping_ = false;  // inside the dropped rest of an over-long line
  bool afterCr_ = false;   // the last chunk ended with a CR
};

// Tells the lists how long the text being read is, for as long as it is read.
struct TProgressScope {
  explicit TProgressScope(std::uint64_t total) noexcept { ReadProgress = {total, 0}; }
  ~TProgressScope() { ReadProgress = {}; }
  TProgressScope(const TProgressScope&) = delete;
  TProgressScope& operator=(const TProgressScope&) = delete;
};

void SetOpenFailure(TJwcLoadResult& result, int error) noexcept {
  result.Error = error;
  result.Exists = error != ENOENT && error != ENOTDIR;
  result.Problem = result.Exists ? TJwcLoadProblem::CannotOpen : TJwcLoadProblem::Missing;
}

// Opens a regular file for reading. Anything else (a FIFO, a device, a folder) is refused
// before a byte is read: a FIFO without a writer would block, a device might never end.
TFile OpenRegularFile(const std::string& path, TJwcLoadResult& result, std::uint64_t& size) {
  errno = 0;
#if defined(_WIN32)
  // The name is UTF-8: the narrow calls would read it in the ANSI code page and miss a folder
  // named ツール on a Western system.
  std::wstring wide;
  try {
    wide = std::filesystem::path(std::u8string(path.begin(), path.end())).wstring();
  } catch (...) {
    SetOpenFailure(result, ENOENT);  // not UTF-8: no file has that name
    return nullptr;
  }
  TFile file(_wfopen(wide.c_str(), L"rb"));
  if (!file) {
    const int error = errno;
    // Windows refuses to open a folder at all (EACCES): say what it is.
    // The C library's stat refuses a folder's name with a trailing separator ("C:\Temp\").
    std::wstring folder = wide;
    while (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/') &&
           !(folder.size() == 3 && folder[1] == L':'))
      folder.pop_back();
    struct _stat64 st {};
    if (::_wstat64(folder.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == S_IFDIR) {
      result.Exists = true;
      result.Problem = TJwcLoadProblem::NotRegularFile;
      return nullptr;
    }
    SetOpenFailure(result, error);
    return nullptr;
  }
  const int fd = _fileno(file.get());
#else
  // Without O_NONBLOCK, opening a FIFO waits for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    SetOpenFailure(result, errno);
    return nullptr;
  }
  TFile file(::fdopen(fd, "rb"));
  if (!file) {
    SetOpenFailure(result, errno != 0 ? errno : EIO);
    ::close(fd);
    return nullptr;
  }
#endif
  result.Exists = true;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    result.Error = errno;
    result.Problem = TJwcLoadProblem::CannotOpen;
    return nullptr;
  }
  if ((st.st_mode & S_IFMT) != S_IFREG) {
    result.Problem = TJwcLoadProblem::NotRegularFile;
    return nullptr;
  }
  size = st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
#if !defined(_WIN32)
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
#endif
  return file;
}

}  // namespace

TJwcLoadResult ReadJwcTempFile(const std::string& path, const TJwcReadLimits& limits) {
  ClearUpperVectorState();
  TJwcLoadResult result;
  std::uint64_t size = 0;
  const TFile file = OpenRegularFile(path, result, size);
  if (!file) return result;
  const TProgressScope progress(std::min(size, limits.MaxFileBytes));

  const std::size_t maxLine = limits.MaxLineBytes > 0 ? limits.MaxLineBytes : 1;
  std::uint64_t total = 0;
  try {
    // The unfinished rest of a chunk is shorter than a line may be, so a buffer of two
    // lines' length always has room to read into, and never grows.
    std::vector<char> buffer(2 * maxLine);
    TLineSplitter lines(maxLine);
    std::size_t filled = 0;
    for (;;) {
      std::size_t want = buffer.size() - filled;
      assert(want > 0);
      if (want > limits.MaxFileBytes - total) want = static_cast<std::size_t>(limits.MaxFileBytes - total);
      const std::size_t got = want > 0 ? std::fread(buffer.data() + filled, 1, want, file.get()) : 0;
      filled += got;
      total += got;
      result.BytesRead = static_cast<std::size_t>(total);
      bool atEof = got < want;
      if (want == 0) {
        // At the limit: one more byte tells a file that ends here from one that goes on.
        char probe = 0;
        if (std::fread(&probe, 1, 1, file.get()) == 1) {
          result.Problem = TJwcLoadProblem::TooLarge;
          result.Error = EFBIG;
          return result;  // the line the limit cut short is not interpreted
        }
        atEof = true;
      }
      if (atEof && std::ferror(file.get())) {
        result.Error = errno != 0 ? errno : EIO;
        result.Problem = TJwcLoadProblem::ReadError;
        return result;  // what was read stays; the unfinished last line is not interpreted
      }
      const char* begin = buffer.data();
      const char* rest = lines.Feed(begin, begin + filled, atEof, total - filled);
      if (atEof) break;
      const auto used = static_cast<std::size_t>(rest - begin);
      if (used > 0) {
        std::memmove(buffer.data(), rest, filled - used);
        filled -= used;
      }
    }
  } catch (const std::bad_alloc&) {
    // The model keeps every record it completed; the order list never points past a list.
    result.Problem = TJwcLoadProblem::OutOfMemory;
    result.Error = ENOMEM;
    return result;
  } catch (const std::length_error&) {
    result.Problem = TJwcLoadProblem::OutOfMemory;
    result.Error = ENOMEM;
    return result;
  }
  result.ReadToEnd = true;
  return result;
}

void ParseJwcText(std::string_view text, std::size_t maxLine) {
  const TProgressScope progress(text.size());
  TLineSplitter(maxLine > 0 ? maxLine : 1).Feed(text.data(), text.data() + text.size(), true);
}

std::string DescribeJwcLoadProblem(const TJwcLoadResult& result) {
  const std::string after = " after " + std::to_string(result.BytesRead) + " bytes";
  switch (result.Problem) {
    case TJwcLoadProblem::None: return {};
    case TJwcLoadProblem::Missing: return std::strerror(ENOENT);
    case TJwcLoadProblem::CannotOpen: return std::strerror(result.Error != 0 ? result.Error : EIO);
    case TJwcLoadProblem::NotRegularFile:
      return "not a regular file (folders, devices and FIFOs are not read)";
    case TJwcLoadProblem::TooLarge:
      return "larger than " + std::to_string(kMaxJwcFileBytes >> 20) +
             " MiB, the most that is read; reading stopped" + after;
    case TJwcLoadProblem::OutOfMemory: return "out of memory; reading stopped" + after;
    case TJwcLoadProblem::ReadError:
      return std::string(std::strerror(result.Error != 0 ? result.Error : EIO)) + after;
  }
  return {};
}

int WellFormedEntityCount() noexcept { return EntOrderCount - JwwReader.LooseSegments; }

bool LoadJwcTempFile(const std::string& path) { return ReadJwcTempFile(path).ReadToEnd; }

}  // namespace sxf
