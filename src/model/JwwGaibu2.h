#pragma once
// The entity model: the drawing as the host hands it over in JWC_TEMP.TXT, held in global
// growable arrays of plain records (one per entity kind, each with its count), the order in
// which the entities were read, and the drawing-wide values of the file's header lines.
// Also the reader of that file.
//
// Coordinates and lengths are world units exactly as the host wrote them (divide by
// GroupScaleDivisor before drawing or measuring). Angles of TJwwEntArc and TJwwEntPntEx are
// degrees, those of the arc-shaped solids radians. Texts are Shift-JIS byte strings.
// Records are value-initialised: every field a kind does not set reads 0.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sxf {

// ---- Records --------------------------------------------------------------------------

struct TJwwEntHdr {
  int HpNo = 0;    // number of the last "hhp" line before the entity; 0 = none
  int Group = 0;   // layer group 0..15
  int Layer = 0;   // layer 0..15 within the group
  int Color = 0;   // pen colour number; texts: text colour; points: point colour
  int LType = 0;   // line type as written (1 solid; 47..62 the SXF user line types)
  int LWidth = 0;  // width in hundredths; 0 = the width of the colour
  int ZFlags = 0;  // bits 1, 2, 4, 8, 16 from "z1".."z5"
};

struct TJwwEntLin {
  TJwwEntHdr Hdr;
  int PlNo = 0;  // "pl" run the segment belongs to; 0 = none
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

struct TJwwEntCir {
  TJwwEntHdr Hdr;
  double Cx = 0, Cy = 0, R = 0;
};

struct TJwwEntArc {
  TJwwEntHdr Hdr;
  double Cx = 0, Cy = 0, R = 0;
  double StartAngle = 0, EndAngle = 0;  // degrees
  double Flatness = 0;                  // minor / major axis; 1 = circular
  double Tilt = 0;                      // degrees
};

struct TJwwEntTxt {
  TJwwEntHdr Hdr;
  int TextCode =
      0;  // "ch" 0, "cv" 1, "cs" 2, "cr" 3, "co" 4, "cp" 5, "ct" 6, "ck" 7, "cz" 8, "c2" 9
  int BasePoint = 0;  // 0..8
  int TextKind = 0;
  double W = 0, H = 0, D = 0;  // character width, height, spacing (never scaled)
  double X = 0, Y = 0;
  double DirX = 0, DirY = 0;  // start to end of the text line
  std::string FontName;       // at most 255 bytes
  std::string Text;           // at most 255 bytes
};

struct TJwwEntPnt {
  TJwwEntHdr Hdr;
  double X = 0, Y = 0;
};

struct TJwwEntPntEx {
  TJwwEntHdr Hdr;
  double X = 0, Y = 0;
  double Scale = 0;
  double Angle = 0;  // degrees
  int Code = 0;
};

struct TJwwEntDim {
  TJwwEntHdr Hdr;
  TJwwEntLin Line;
  TJwwEntTxt Text;  // TextCode is always 2
};

struct TJwwEntBlk {
  TJwwEntHdr Hdr;
  double X = 0, Y = 0;
  std::string Name;
};

struct TJwwEntSl2 {
  TJwwEntHdr Hdr;
  int Rgb = 0;  // colour value used when Hdr.Color is 10
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

struct TJwwEntSl3 {
  TJwwEntHdr Hdr;
  int Rgb = 0;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, X3 = 0, Y3 = 0;
};

struct TJwwEntSl4 {
  TJwwEntHdr Hdr;
  int Rgb = 0;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, X3 = 0, Y3 = 0, X4 = 0, Y4 = 0;
};

// Arc-shaped solid ("sc", "se"); angles in radians.
struct TJwwEntSlArc {
  TJwwEntHdr Hdr;
  int Rgb = 0;
  double Cx = 0, Cy = 0, R = 0;
  double Flatness = 0, Tilt = 0;
  double StartAngle = 0, SweepAngle = 0;
  int ArcMode = 0;  // 100 = whole circle or ellipse
};

// Ring-shaped solid ("so", "sg"); angles in radians.
struct TJwwEntSlArc2 {
  TJwwEntHdr Hdr;
  int Rgb = 0;
  double Cx = 0, Cy = 0, R = 0;
  double Flatness = 0, Tilt = 0;
  double StartAngle = 0, SweepAngle = 0;
  double R2 = 0;  // inner radius
};

// Kind codes stored in the order list.
enum TJwwKind : int {
  kKindLin = 1,
  kKindCir,
  kKindArc,
  kKindTxt,
  kKindPnt,
  kKindPntEx,
  kKindDim,
  kKindBlk,
  kKindSl2,
  kKindSl3,
  kKindSl4,
  kKindSc,
  kKindSe,
  kKindSo,
  kKindSg
};

struct TJwwEntRef {
  int Kind = 0;
  int Index = 0;  // position in the kind's own array
};

struct TJwwTextKind {
  double W = 0, H = 0, D = 0;
  int Color = 0;
};

struct TJwwHp {
  bool Used = false;
  double X = 0, Y = 0;
  int Kind = 0;  // 0 none, 1 "-", 2 "ln", 3 "ci", 4 "ch"
};

// ---- The entity lists -----------------------------------------------------------------

// The fifteen entity lists of one drawing (or of one block definition), and the order in
// which their records were read. A list's count is its size, so the two cannot disagree.
struct TEntityLists {
  std::vector<TJwwEntLin> LinList;
  std::vector<TJwwEntCir> CirList;
  std::vector<TJwwEntArc> ArcList;
  std::vector<TJwwEntTxt> TxtList;
  std::vector<TJwwEntPnt> PntList;
  std::vector<TJwwEntPntEx> PntExList;
  std::vector<TJwwEntDim> DimList;
  std::vector<TJwwEntBlk> BlkList;
  std::vector<TJwwEntSl2> Sl2List;
  std::vector<TJwwEntSl3> Sl3List;
  std::vector<TJwwEntSl4> Sl4List;
  std::vector<TJwwEntSlArc> ScList;
  std::vector<TJwwEntSlArc> SeList;
  std::vector<TJwwEntSlArc2> SoList;
  std::vector<TJwwEntSlArc2> SgList;
  std::vector<TJwwEntRef> EntOrder;

  int LinCount() const noexcept { return Count(LinList); }
  int CirCount() const noexcept { return Count(CirList); }
  int ArcCount() const noexcept { return Count(ArcList); }
  int TxtCount() const noexcept { return Count(TxtList); }
  int PntCount() const noexcept { return Count(PntList); }
  int PntExCount() const noexcept { return Count(PntExList); }
  int DimCount() const noexcept { return Count(DimList); }
  int BlkCount() const noexcept { return Count(BlkList); }
  int Sl2Count() const noexcept { return Count(Sl2List); }
  int Sl3Count() const noexcept { return Count(Sl3List); }
  int Sl4Count() const noexcept { return Count(Sl4List); }
  int ScCount() const noexcept { return Count(ScList); }
  int SeCount() const noexcept { return Count(SeList); }
  int SoCount() const noexcept { return Count(SoList); }
  int SgCount() const noexcept { return Count(SgList); }
  int EntOrderCount() const noexcept { return Count(EntOrder); }

  template <typename T>
  static int Count(const std::vector<T>& list) noexcept {
    return static_cast<int>(list.size());
  }
};

// Calls visit(name, kind, list) for each of the fifteen lists in kind order (Lin, Cir, Arc,
// Txt, Pnt, PntEx, Dim, Blk, Sl2, Sl3, Sl4, Sc, Se, So, Sg): the one place that names them
// all. name is the list's name in the report ("Lin"); lists is a TEntityLists, const or not.
template <typename Lists, typename Visit>
void ForEachEntityList(Lists& lists, Visit&& visit) {
  visit("Lin", kKindLin, lists.LinList);
  visit("Cir", kKindCir, lists.CirList);
  visit("Arc", kKindArc, lists.ArcList);
  visit("Txt", kKindTxt, lists.TxtList);
  visit("Pnt", kKindPnt, lists.PntList);
  visit("PntEx", kKindPntEx, lists.PntExList);
  visit("Dim", kKindDim, lists.DimList);
  visit("Blk", kKindBlk, lists.BlkList);
  visit("Sl2", kKindSl2, lists.Sl2List);
  visit("Sl3", kKindSl3, lists.Sl3List);
  visit("Sl4", kKindSl4, lists.Sl4List);
  visit("Sc", kKindSc, lists.ScList);
  visit("Se", kKindSe, lists.SeList);
  visit("So", kKindSo, lists.SoList);
  visit("Sg", kKindSg, lists.SgList);
}

// ---- The drawing ----------------------------------------------------------------------

// The SXF extended line types a drawing file defines: entry k has the line-type code
// kSxfLineTypeFirstCode + k, so that the user types shown as 17..32 are codes 47..62.
inline constexpr int kSxfLineTypeFirstCode = 30;
inline constexpr int kSxfLineTypeCount = 33;
// One SXF extended line type as a drawing file defines it.
struct TSxfLineTypeDef {
  std::string Name;             // Shift-JIS; empty for an entry the drawing leaves undefined
  int Segments = 0;             // as stored; Pitches holds at most 10
  std::uint32_t Pattern = 0;    // the screen dot pattern
  std::vector<double> Pitches;  // the first min(Segments, 10) pitches, paper millimetres
};

// A block definition of a drawing file, as the report lists it.
struct TDrawingBlock {
  std::string Name;       // Shift-JIS, as stored
  int Direct = 0;         // references to it in the drawing's own list
  int Nested = 0;         // references to it met inside other blocks as they are drawn
  TEntityLists Contents;  // its own records, in its own coordinates
};

// What only the host's drawing file tells; all empty for the interchange text.
struct TDrawingFileFacts {
  int Version = 0;  // the file's internal version; 0 for the interchange text
  // The file's own records per kind code (index 0: all of them), block references included,
  // before any block is drawn.
  std::array<int, 16> TopRecords{};
  std::vector<TDrawingBlock> Blocks;       // in file order
  std::vector<TSxfLineTypeDef> LineTypes;  // entry k is the line-type code 30 + k
  std::size_t RecordsFromBlocks = 0;       // of the lists, those drawn from inside blocks
  std::string BlockProblem;                // why a reference was drawn without contents
};

// One drawing: its entity lists and the drawing-wide values of the file's header lines, as a
// reader leaves them. Read only once read; every consumer takes it as a const reference, so
// that several drawings can be read and drawn at once.
struct TDrawing : TEntityLists {
  // Drawing-wide values. Several are kept only, so that the whole header survives reading.
  std::string JwwFileName;                   // Shift-JIS, from the "file=" line
  std::array<double, 16> LayerGroupScale{};  // per layer group; 1.0 by default
  bool NoGroupScale = false;                 // "bz": divide by 1.0 everywhere
  std::array<TJwwTextKind, 11> TextKinds{};  // entries 1..10 used
  double PaperSizeX = 1189.0, PaperSizeY = 841.0;
  double HkValue = 0;
  double HnX1 = 0, HnY1 = 0, HnX2 = 0, HnY2 = 0;
  std::array<int, 356> HostRgb{};
  std::vector<int> GroupState = std::vector<int>(16);                 // 16 entries
  std::vector<std::string> GroupName = std::vector<std::string>(16);  // 16 entries
  std::vector<int> LayerState = std::vector<int>(256);  // 256 entries, Group * 16 + Layer
  std::vector<std::string> LayerName = std::vector<std::string>(256);  // 256 entries
  std::vector<TJwwHp> HpList = std::vector<TJwwHp>(100);               // 1..99 used
  int HpCount = 0;
  // Segments read from a line of four fields that are not all numbers: what bytes that are no
  // drawing (a program, random data) turn into.
  int LooseSegments = 0;
  // A drawing file's version, blocks and line types. Its lists hold the records as drawn:
  // every block reference followed by its definition's contents placed through it.
  TDrawingFileFacts File;

  // The defaults of an empty drawing: group scales 1.0, text kinds 3 x 3 in colour 2.
  TDrawing();

  // Divisor of an entity's coordinates and lengths: its layer group's scale, or 1.0 with
  // NoGroupScale. A scale of 0 or one that is not finite counts as 1.0.
  double GroupScaleDivisor(const TJwwEntHdr& hdr) const noexcept;
  // The entities that came from records as the host writes them: EntOrderCount less the
  // loose segments. 0 for a file that is no drawing at all.
  int WellFormedEntityCount() const noexcept { return EntOrderCount() - LooseSegments; }
  bool FromDrawingFile() const noexcept { return File.Version != 0; }
  // The drawing file's definition of the line-type code (30..62) when it names that type;
  // none for the interchange text, another code or an entry left undefined.
  const TSxfLineTypeDef* LineTypeDefinition(int ltype) const noexcept {
    const auto k = static_cast<std::size_t>(ltype - kSxfLineTypeFirstCode);
    if (ltype < kSxfLineTypeFirstCode || k >= File.LineTypes.size()) return nullptr;
    return File.LineTypes[k].Name.empty() ? nullptr : &File.LineTypes[k];
  }
  // The records of a kind (0: all) the file itself holds: the list's size for the interchange
  // text, the file's own records for a drawing file, whose lists also hold what its blocks
  // draw.
  int FileRecordCount(int kind) const noexcept;
};

// ---- Reader state ---------------------------------------------------------------------

struct TJwwReaderState {
  int CurGroup = 0;
  int CurLayer = 0;
  int CurColor = 1;
  int CurLType = 1;
  int CurLWidth = 0;
  int CurTextKind = 1;
  double FreeTextW = 2.0, FreeTextH = 2.0, FreeTextD = 0.0;
  int FreeTextColor = 1;
  int CurBasePoint = 0;
  std::string CurFontName;  // start value: "<ＭＳ ゴシック>" in Shift-JIS
  int CurPointColor = 1;
  int CurRgb = 0;
  int CurHp = 0;      // for the next entity only
  int CurZFlags = 0;  // for the next entity only
  int PlCount = 0;
  bool InPolyline = false;
  bool InDimension = false;
  TJwwEntLin DimLine;  // the dimension line held for the next "cs" text
  // First value the file gives for each item; held only.
  int FirstGroup = 0, FirstLayer = 0, FirstColor = 1, FirstLType = 1, FirstLWidth = 0;
  int FirstTextKind = 1;
  double FirstFreeTextW = 2.0, FirstFreeTextH = 2.0, FirstFreeTextD = 0.0;
  int FirstFreeTextColor = 1;
  std::string FirstFontName;
  bool WidthGiven = false;
  // Set while the item's first value is still awaited.
  bool AwaitGroup = true, AwaitLayer = true, AwaitColor = true, AwaitLType = true,
       AwaitLWidth = true, AwaitTextKind = true;
};
// The reader's default font name, "<ＭＳ ゴシック>" in Shift-JIS.
extern const std::string kDefaultFontName;

// ---- Reading ------------------------------------------------------------------------

// How far the reader has come through the text it reads; Total is 0 when no text is read.
struct TReadProgress {
  std::uint64_t Total = 0;     // bytes of the whole text
  std::uint64_t Consumed = 0;  // bytes before the line being interpreted
};

// What one file may make the reader hold. No host writes lines or files near these sizes;
// they keep a hostile or mistaken file (a device, a stream without line breaks) from taking
// all the memory there is.
inline constexpr std::size_t kMaxJwcLineBytes = std::size_t{1} << 20;      // 1 MiB
inline constexpr std::uint64_t kMaxJwcFileBytes = std::uint64_t{1} << 30;  // 1 GiB

struct TJwcReadLimits {
  std::uint64_t MaxFileBytes = kMaxJwcFileBytes;  // reading stops with TooLarge beyond this
  std::size_t MaxLineBytes = kMaxJwcLineBytes;    // a longer line is cut here, its rest dropped
};

enum class TJwcLoadProblem {
  None,
  Missing,         // no such file
  CannotOpen,      // it is there but cannot be opened (Error says why)
  NotRegularFile,  // a folder, a device, a FIFO or a socket: never read
  TooLarge,        // the file goes on past MaxFileBytes
  OutOfMemory,     // the model could not grow any further
  ReadError,       // reading failed part-way (Error says why)
};

struct TJwcLoadResult {
  bool Exists = false;     // the file was there
  bool ReadToEnd = false;  // every line was read
  int Error = 0;           // errno of the failure, 0 when none
  std::size_t BytesRead = 0;
  TJwcLoadProblem Problem = TJwcLoadProblem::None;
  // The file's first bytes are no text (LooksLikeText): nothing of it was interpreted, since
  // whatever lines a program or an image falls into would be counted as a drawing.
  bool NotText = false;
};

// Whether a file that begins with these bytes can be interchange text: among the first
// kTextCheckBytes, at most one in sixteen is a control byte (NUL included) other than the line
// ends, tab, form feed and end-of-file mark. Shift-JIS never puts a control byte inside a
// character, so a program, an image or UTF-16 text has far more; a stray byte in a text does
// not cost the drawing.
inline constexpr std::size_t kTextCheckBytes = std::size_t{64} << 10;  // 64 KiB
bool LooksLikeText(std::string_view head) noexcept;
class TJwwFields;

// Reads interchange text into a drawing of its own, a line at a time, keeping the current
// attributes (layer, colour, line type, ...) from line to line. One reader per drawing: two
// readers share nothing.
class TJwcReader {
 public:
  // An empty drawing and the reader's start state.
  TJwcReader();

  TDrawing& Drawing() noexcept { return drawing_; }
  const TDrawing& Drawing() const noexcept { return drawing_; }
  TJwwReaderState& State() noexcept { return state_; }
  const TReadProgress& Progress() const noexcept { return progress_; }

  // Reads the whole file line by line. CR LF, LF and a lone CR end a line. Only regular files
  // are read; on Windows the name is UTF-8. On a failure the lines read so far stay in the
  // drawing; the line the failure cut short is not interpreted.
  TJwcLoadResult ReadFile(const std::string& path, const TJwcReadLimits& limits = {});
  // Interprets a whole text as the file reader does (line ends, line bound), from memory.
  void ParseText(std::string_view text, std::size_t maxLine = kMaxJwcLineBytes);
  // Interprets one line (without its line break).
  void ParseLine(std::string_view line);
  // The same with the caller's field splitter, which keeps its buffer from line to line.
  void ParseLine(std::string_view line, TJwwFields& fields);
  // Interprets a line its caller has split already.
  void ParseFields(const TJwwFields& fields);
  // Re-arms the first-value markers and returns the current attributes to their start values.
  void ResetCurrentState();

 private:
  friend class TReadProgressScope;
  TDrawing drawing_;
  TJwwReaderState state_;
  TReadProgress progress_;
};

// A drawing read from a file, and how the reading went.
struct TJwcLoad {
  TDrawing Drawing;
  TJwcLoadResult Result;
};
// Reads the file into a new drawing, then returns the reader's current attributes to their
// start values, as the window does after reading.
TJwcLoad ReadJwcTempFile(const std::string& path, const TJwcReadLimits& limits = {});
// What went wrong, in words for a message ("not a regular file ..."); empty for None.
std::string DescribeJwcLoadProblem(const TJwcLoadResult& result);
// The drawing of a whole text read from memory.
TDrawing ParseJwcText(std::string_view text, std::size_t maxLine = kMaxJwcLineBytes);

// ---- Field splitting ------------------------------------------------------------------

inline constexpr int kMaxJwwFields = 400;

// The fields of one line: blanks and tabs separate them until a quote (dropped) or an equals
// sign (kept) makes the rest of the line one field; control bytes are dropped, a two-byte
// character is never split, and a lone lead byte at the end is dropped.
class TJwwFields {
 public:
  // Fields are views into the line itself when no byte inside a field has to be dropped,
  // else into the splitter's own buffer: they stay valid while the line does and until the
  // next split with the same object.
  void Split(std::string_view line);
  // The same fields, always copied into the splitter's buffer.
  void SplitCopying(std::string_view line);
  // Splits the line that begins at p and ends before the first CR or LF, looking at no byte
  // at or past limit. Returns that line end, or limit when there is none before it (then the
  // fields are those of the bytes [p, limit)).
  const char* SplitToLineEnd(const char* p, const char* limit);

  int Count() const noexcept { return count_; }
  // Field k, or an empty view for k beyond the line's fields.
  std::string_view operator[](int k) const noexcept {
    if (k < 0 || k >= count_) return {};
    const auto i = static_cast<std::size_t>(k);
    return std::string_view(begin_[i], static_cast<std::size_t>(end_[i] - begin_[i]));
  }

 private:
  template <bool kStopAtLineEnd>
  const char* SplitInPlace(const char* p, const char* limit, bool& copy) noexcept;

  std::string buffer_;
  // Field k is [begin_[k], end_[k]); only the first count_ entries are set.
  std::array<const char*, kMaxJwwFields> begin_;
  std::array<const char*, kMaxJwwFields> end_;
  int count_ = 0;
};

}  // namespace sxf
