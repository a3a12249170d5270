#include "cli/Report.h"

#include <algorithm>
#include <cstdio>
#include <array>
#include <initializer_list>
#include <utility>

#include "preview/Preview.h"
#include "preview/PreviewPicture.h"
#include "cli/JsonWriter.h"
#include "platform/RasterSurface.h"
#include "search/Extents.h"
#include "search/LineTypeMarks.h"
#include "search/ReportRows.h"
#include "model/JwwGaibu2.h"
#include "platform/ShiftJisToUtf8.h"

namespace sxf {

namespace {

std::string Utf8Cell(const std::string& sjis) { return ShiftJisToUtf8(sjis); }

// ---- Records as JSON members ----

void Num(TJsonWriter& j, const char* key, double v) {
  j.Key(key);
  j.Double(v);
}
// Members of numbers, in their order.
void Nums(TJsonWriter& j, std::initializer_list<std::pair<const char*, double>> members) {
  for (const auto& [key, v] : members) Num(j, key, v);
}
void Int(TJsonWriter& j, const char* key, int v) {
  j.Key(key);
  j.Int(v);
}
void Head(TJsonWriter& j, const TJwwEntHdr& h) {
  for (const auto& [key, v] : {std::pair<const char*, int>{"HpNo", h.HpNo},
                               {"Group", h.Group},
                               {"Layer", h.Layer},
                               {"Color", h.Color},
                               {"LType", h.LType},
                               {"LWidth", h.LWidth},
                               {"ZFlags", h.ZFlags}})
    Int(j, key, v);
}
void Text(TJsonWriter& j, const char* key, const std::string& sjis) {
  j.Key(key);
  j.String(ShiftJisToUtf8(sjis));
}

void Fields(TJsonWriter& j, const TJwwEntLin& e) {
  Head(j, e.Hdr);
  Int(j, "PlNo", e.PlNo);
  Nums(j, {{"X1", e.X1}, {"Y1", e.Y1}, {"X2", e.X2}, {"Y2", e.Y2}});
}
void Fields(TJsonWriter& j, const TJwwEntCir& e) {
  Head(j, e.Hdr);
  Nums(j, {{"Cx", e.Cx}, {"Cy", e.Cy}, {"R", e.R}});
}
void Fields(TJsonWriter& j, const TJwwEntArc& e) {
  Head(j, e.Hdr);
  Nums(j, {{"Cx", e.Cx},
           {"Cy", e.Cy},
           {"R", e.R},
           {"StartAngle", e.StartAngle},
           {"EndAngle", e.EndAngle},
           {"Flatness", e.Flatness},
           {"Tilt", e.Tilt}});
}
void Fields(TJsonWriter& j, const TJwwEntTxt& e) {
  Head(j, e.Hdr);
  Int(j, "TextCode", e.TextCode);
  Int(j, "BasePoint", e.BasePoint);
  Int(j, "TextKind", e.TextKind);
  Nums(j, {{"W", e.W},
           {"H", e.H},
           {"D", e.D},
           {"X", e.X},
           {"Y", e.Y},
           {"DirX", e.DirX},
           {"DirY", e.DirY}});
  Text(j, "FontName", e.FontName);
  Text(j, "Text", e.Text);
}
void Fields(TJsonWriter& j, const TJwwEntPnt& e) {
  Head(j, e.Hdr);
  Nums(j, {{"X", e.X}, {"Y", e.Y}});
}
void Fields(TJsonWriter& j, const TJwwEntPntEx& e) {
  Head(j, e.Hdr);
  Nums(j, {{"X", e.X}, {"Y", e.Y}, {"Scale", e.Scale}, {"Angle", e.Angle}});
  Int(j, "Code", e.Code);
}
template <typename T>
void Nested(TJsonWriter& j, const char* key, const T& record) {
  j.Key(key);
  j.BeginObject();
  Fields(j, record);
  j.EndObject();
}
void Fields(TJsonWriter& j, const TJwwEntDim& e) {
  Head(j, e.Hdr);
  Nested(j, "Line", e.Line);
  Nested(j, "Text", e.Text);
}
void Fields(TJsonWriter& j, const TJwwEntBlk& e) {
  Head(j, e.Hdr);
  Nums(j, {{"X", e.X}, {"Y", e.Y}});
  Text(j, "Name", e.Name);
}
void Fields(TJsonWriter& j, const TJwwEntSl2& e) {
  Head(j, e.Hdr);
  Int(j, "Rgb", e.Rgb);
  Nums(j, {{"X1", e.X1}, {"Y1", e.Y1}, {"X2", e.X2}, {"Y2", e.Y2}});
}
void Fields(TJsonWriter& j, const TJwwEntSl3& e) {
  Head(j, e.Hdr);
  Int(j, "Rgb", e.Rgb);
  Nums(j, {{"X1", e.X1}, {"Y1", e.Y1}, {"X2", e.X2}, {"Y2", e.Y2}, {"X3", e.X3}, {"Y3", e.Y3}});
}
void Fields(TJsonWriter& j, const TJwwEntSl4& e) {
  Head(j, e.Hdr);
  Int(j, "Rgb", e.Rgb);
  Nums(j, {{"X1", e.X1},
           {"Y1", e.Y1},
           {"X2", e.X2},
           {"Y2", e.Y2},
           {"X3", e.X3},
           {"Y3", e.Y3},
           {"X4", e.X4},
           {"Y4", e.Y4}});
}
template <typename T>
void ArcSolidFields(TJsonWriter& j, const T& e) {
  Head(j, e.Hdr);
  Int(j, "Rgb", e.Rgb);
  Nums(j, {{"Cx", e.Cx},
           {"Cy", e.Cy},
           {"R", e.R},
           {"Flatness", e.Flatness},
           {"Tilt", e.Tilt},
           {"StartAngle", e.StartAngle},
           {"SweepAngle", e.SweepAngle}});
}
void Fields(TJsonWriter& j, const TJwwEntSlArc& e) {
  ArcSolidFields(j, e);
  Int(j, "ArcMode", e.ArcMode);
}
void Fields(TJsonWriter& j, const TJwwEntSlArc2& e) {
  ArcSolidFields(j, e);
  Num(j, "R2", e.R2);
}

template <typename T>
void EntityFields(TJsonWriter& j, const std::vector<T>& list, int index) {
  if (index >= 0 && static_cast<std::size_t>(index) < list.size())
    Fields(j, list[static_cast<std::size_t>(index)]);
}

void Entity(TJsonWriter& j, const TDrawing& d, const TJwwEntRef& ref) {
  j.BeginObject();
  j.Key("list");
  j.String(KindListName(ref.Kind));
  j.Key("index");
  j.Int(ref.Index);
  ForEachEntityList(d, [&](const char*, int kind, const auto& list) {
    if (kind == ref.Kind) EntityFields(j, list, ref.Index);
  });
  j.EndObject();
}

void GridRows(TJsonWriter& j, const TTallyGrid& grid) {
  j.BeginArray();
  for (const auto& row : grid.Rows) {
    j.BeginArray();
    for (const std::string& cell : row) j.String(ShiftJisToUtf8(cell));
    j.EndArray();
  }
  j.EndArray();
}

// A drawing file's blocks (each with its insertions, its own records and their tally) and the
// names and pitches of the user line types it defines.
void EmitBlocksAndLineTypes(TJsonWriter& j, const TDrawing& drawing) {
  j.Newline();
  j.Key("blocks");
  j.BeginArray();
  for (const TDrawingBlock& b : drawing.File.Blocks) {
    j.Newline();
    j.BeginObject();
    Text(j, "name", b.Name);
    Int(j, "insertions", b.Direct + b.Nested);
    Int(j, "entities", b.Contents.EntOrderCount());
    j.Key("tally");
    GridRows(j, BuildTallyGrid(b.Contents));
    j.EndObject();
  }
  j.EndArray();
  const std::vector<TUserLineTypeName> names = UserLineTypeNames(drawing);
  if (names.empty()) return;
  j.Newline();
  j.Key("line_types");
  j.BeginArray();
  for (const TUserLineTypeName& t : names) {
    j.BeginObject();
    Int(j, "number", t.Number);
    Text(j, "name", t.Name);
    j.Key("pitches");
    j.BeginArray();
    for (double p : t.Pitches) j.Double(p);
    j.EndArray();
    j.EndObject();
  }
  j.EndArray();
}

// The grid column's heading: the kind's name in the grid's words (UTF-8).
std::string KindWord(int column) { return ShiftJisToUtf8(KindHeading(column)); }

}  // namespace

std::string FormatLayerTalliesText(const TDrawing& drawing) {
  std::string out;
  for (const TLayerTally& layer : TallyByLayer(drawing)) {
    out += "レイヤ " + std::to_string(layer.Group) + "-" + std::to_string(layer.Layer);
    const std::string g = ShiftJisToUtf8(GroupNameOf(drawing, layer.Group));
    const std::string l = ShiftJisToUtf8(LayerNameOf(drawing, layer.Group, layer.Layer));
    if (!g.empty() || !l.empty()) out += "  " + g + " / " + l;
    out += '\n';
    out += FormatTallyText(layer.Grid);
  }
  return out;
}

std::string FormatLayerTalliesCsv(const TDrawing& drawing) {
  TTextRows rows{{"group", "group_name", "layer", "layer_name"}};
  for (int c = 0; c < kTallyColumns; ++c) rows[0].push_back(TallyColumnHeading(c));
  for (const TLayerTally& layer : TallyByLayer(drawing))
    for (std::size_t r = 1; r < layer.Grid.Rows.size(); ++r) {
      std::vector<std::string> row{std::to_string(layer.Group), GroupNameOf(drawing, layer.Group),
                                   std::to_string(layer.Layer),
                                   LayerNameOf(drawing, layer.Group, layer.Layer)};
      row.insert(row.end(), layer.Grid.Rows[r].begin(), layer.Grid.Rows[r].end());
      rows.push_back(std::move(row));
    }
  return CsvText(rows, Utf8Cell);
}

std::string FormatMarksText(const TDrawing& drawing) {
  std::string out;
  for (const TLineTypeMark& m : CollectLineTypeMarks(drawing)) {
    out += std::to_string(m.Number) + "  " + KindWord(m.Column) + "  " + std::to_string(m.Group) +
           "-" + std::to_string(m.Layer);
    const std::string g = ShiftJisToUtf8(GroupNameOf(drawing, m.Group));
    const std::string l = ShiftJisToUtf8(LayerNameOf(drawing, m.Group, m.Layer));
    if (!g.empty() || !l.empty()) out += " " + g + "/" + l;
    out += "  file (" + ReportNumber(m.FileX) + ", " + ReportNumber(m.FileY) + ")  world (" +
           ReportNumber(m.X) + ", " + ReportNumber(m.Y) + ")  " + m.List + " " +
           std::to_string(m.Index) + "\n";
  }
  return out;
}

std::string FormatMarksCsv(const TDrawing& drawing) { return CsvText(MarkRows(drawing), Utf8Cell); }

std::string NoRecordWarning(const TDrawing& drawing, const std::string& file) {
  if (drawing.WellFormedEntityCount() > 0) return {};
  return file + " holds no entity record at all: nothing was counted";
}

std::string BlocksNotSearchedLine(const TDrawing& drawing, bool japanese) {
  const int BlkCount = drawing.FromDrawingFile() ? 0 : drawing.BlkCount();
  if (BlkCount <= 0) return {};
  if (japanese) return "ブロック " + std::to_string(BlkCount) + " 個の中は検索していません\n";
  return "The insides of " + std::to_string(BlkCount) +
         (BlkCount == 1 ? " block were" : " blocks were") +
         " not searched: the host hands over block references, not the entities inside them.\n";
}

std::string WritePreviewPng(const TDrawing& drawing, const std::string& path, int width, int height,
                            const std::optional<TWorldBox>& box, int dpi) {
  const auto surface = CreateRasterSurface(width, height);
  if (!surface) return "not enough memory for the picture";
  const TView view = PictureView(ComputeExtents(drawing), width, height, box, dpi);
  return WritePreviewPicture(*surface, path, drawing, view);
}

std::vector<TUserLineTypeName> UserLineTypeNames(const TDrawing& drawing) {
  std::vector<TUserLineTypeName> out;
  for (int ltype = kFirstUserLType; ltype < kFirstUserLType + kUserLineTypes; ++ltype)
    if (const TSxfLineTypeDef* t = drawing.LineTypeDefinition(ltype))
      out.push_back({ShownLineTypeNumber(ltype), t->Name, t->Pitches});
  return out;
}

std::string FormatBlocksAndLineTypes(const TDrawing& drawing, bool csv) {
  if (!drawing.FromDrawingFile()) return {};
  TTextRows rows;
  if (!drawing.File.Blocks.empty()) {
    rows.push_back({"block", "insertions", "entities"});
    for (int c = kFirstKindColumn; c <= kTallyTotal; ++c)
      rows.back().push_back(TallyColumnHeading(c));
    for (const TDrawingBlock& b : drawing.File.Blocks) {
      const TTallyGrid grid = BuildTallyGrid(b.Contents);
      rows.push_back({b.Name, std::to_string(b.Direct + b.Nested),
                      std::to_string(b.Contents.EntOrderCount())});
      for (int c = kFirstKindColumn; c <= kTallyTotal; ++c)
        rows.back().push_back(grid.Cell(c, kTallyTotalRow));
    }
  }
  const std::vector<TUserLineTypeName> names = UserLineTypeNames(drawing);
  if (!names.empty()) {
    if (!rows.empty()) rows.push_back({});
    rows.push_back({"No.", "name", "pitches"});
    for (const TUserLineTypeName& t : names) {
      std::string pitches;
      for (double p : t.Pitches) pitches += (pitches.empty() ? "" : " ") + ReportNumber(p);
      rows.push_back({std::to_string(t.Number), t.Name, pitches});
    }
  }
  if (rows.empty()) return {};
  if (csv) return CsvText(rows, Utf8Cell);
  // Text: the fields of a row two blanks apart, each column as wide as its widest cell.
  std::vector<std::size_t> width;
  for (const auto& row : rows)
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (width.size() <= c) width.push_back(0);
      width[c] = std::max(width[c], row[c].size());
    }
  std::string out;
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c)
      line += (c > 0 ? "  " : "") + row[c] + std::string(width[c] - row[c].size(), ' ');
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += ShiftJisToUtf8(line) + '\n';
  }
  return out;
}

const char* KindListName(int kind) noexcept {
  static const TEntityLists none;
  const char* name = "?";
  ForEachEntityList(none, [&name, kind](const char* list, int k, const auto&) {
    if (k == kind) name = list;
  });
  return name;
}

std::string FormatTallyText(const TTallyGrid& grid) {
  std::size_t width[kTallyColumns] = {};
  for (const auto& row : grid.Rows)
    for (std::size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], row[c].size());
  std::string out;
  for (const auto& row : grid.Rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      const std::string pad(width[c] - row[c].size(), ' ');
      if (c > 0) line += "  ";
      line += c == 0 ? row[c] + pad : pad + row[c];  // numbers right, headings of rows left
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += ShiftJisToUtf8(line);
    out += '\n';
  }
  return out;
}

std::string FormatTallyCsv(const TTallyGrid& grid) { return CsvText(TallyRows(grid), Utf8Cell); }

namespace {

void EmitReportJson(TJsonWriter& j, std::string& out, const TDrawing& drawing,
                    const TTallyGrid& grid, const TJsonReportOptions& options) {
  j.BeginObject();
  j.Key("file");
  j.String(ShiftJisToUtf8(drawing.JwwFileName));
  j.Newline();
  j.Key("read_to_end");
  j.Bool(options.ReadToEnd);
  j.Newline();
  if (drawing.FromDrawingFile()) {
    Int(j, "version", drawing.File.Version);
    j.Newline();
  }
  if (!options.Warning.empty()) {
    j.Key("warning");
    j.String(options.Warning);
    j.Newline();
  }
  j.Key("counts");
  j.BeginObject();
  ForEachEntityList(drawing, [&j, &drawing](const char* name, int kind, const auto&) {
    j.Key(name);
    j.Int(drawing.FileRecordCount(kind));
  });
  j.Key("EntOrder");
  j.Int(drawing.FileRecordCount(0));
  j.EndObject();
  j.Newline();
  j.Key("tally");
  j.BeginArray();
  for (const auto& row : grid.Rows) {
    j.Newline();
    j.BeginArray();
    for (const std::string& cell : row) j.String(ShiftJisToUtf8(cell));
    j.EndArray();
  }
  j.EndArray();
  if (options.Extents) {
    const TWorldBox e = ComputeExtents(drawing);
    j.Newline();
    j.Key("extents");
    j.BeginArray();
    for (double v : {e.Left, e.Bottom, e.Right, e.Top}) j.Double(v);
    j.EndArray();
  }
  if (options.ByLayer) {
    j.Newline();
    j.Key("layers");
    j.BeginArray();
    for (const TLayerTally& layer : TallyByLayer(drawing)) {
      j.Newline();
      j.BeginObject();
      Int(j, "group", layer.Group);
      Text(j, "group_name", GroupNameOf(drawing, layer.Group));
      Int(j, "layer", layer.Layer);
      Text(j, "layer_name", LayerNameOf(drawing, layer.Group, layer.Layer));
      j.Key("tally");
      j.BeginArray();
      for (const auto& row : layer.Grid.Rows) {
        j.BeginArray();
        for (const std::string& cell : row) j.String(ShiftJisToUtf8(cell));
        j.EndArray();
      }
      j.EndArray();
      j.EndObject();
    }
    j.EndArray();
  }
  j.Newline();
  Int(j, "blocks_not_searched", drawing.FromDrawingFile() ? 0 : drawing.BlkCount());
  if (drawing.FromDrawingFile()) EmitBlocksAndLineTypes(j, drawing);
  j.Newline();
  j.Key("marks");
  j.BeginArray();
  ForEachLineTypeMark(drawing, [&j](const TLineTypeMark& m) {
    j.Newline();
    j.BeginObject();
    Int(j, "number", m.Number);
    j.Key("list");
    j.String(m.List);
    Int(j, "index", m.Index);
    Nums(j, {{"x", m.X}, {"y", m.Y}});
    j.EndObject();
  });
  j.EndArray();
  if (options.Entities) {
    j.Newline();
    j.Key("entities");
    j.BeginArray();
    for (const TJwwEntRef& ref : drawing.EntOrder) {
      j.Newline();
      Entity(j, drawing, ref);
    }
    j.EndArray();
  }
  j.Newline();
  j.EndObject();
  out += '\n';
}

}  // namespace

std::string FormatReportJson(const TDrawing& drawing, const TTallyGrid& grid,
                             const TJsonReportOptions& options) {
  std::string out;
  TJsonWriter j(out);
  EmitReportJson(j, out, drawing, grid, options);
  return out;
}

void WriteReportJson(const TDrawing& drawing, const TTallyGrid& grid,
                     const TJsonReportOptions& options, const TJsonSink& sink,
                     std::size_t chunkBytes) {
  std::string out;
  out.reserve(chunkBytes + 1024);
  TJsonWriter j(out, sink, chunkBytes);
  EmitReportJson(j, out, drawing, grid, options);
  j.Flush();
}

}  // namespace sxf
