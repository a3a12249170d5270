#include "search/ReportRows.h"

#include <cstdio>

#include "model/JwwGaibu2.h"
#include "search/LineTypeMarks.h"

namespace sxf {

namespace {

std::string Converted(const std::string& cell, const TCellConvert& convert) {
  return convert ? convert(cell) : cell;
}

std::string CsvCell(std::string cell) {
  if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
  std::string quoted = "\"";
  for (char c : cell) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string TabCell(std::string cell) {
  for (char& c : cell)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return cell;
}

template <typename TCellFormat>
std::string Joined(const TTextRows& rows, char separator, const TCellConvert& convert,
                   TCellFormat format) {
  std::string out;
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c > 0) out += separator;
      out += format(Converted(row[c], convert));
    }
    out += '\n';
  }
  return out;
}

}  // namespace

TTextRows TallyRows(const TTallyGrid& grid) {
  TTextRows rows;
  for (const auto& row : grid.Rows) rows.emplace_back(row.begin(), row.end());
  return rows;
}

std::string GroupNameOf(const TDrawing& drawing, int group) {
  return group >= 0 && static_cast<std::size_t>(group) < drawing.GroupName.size()
             ? drawing.GroupName[static_cast<std::size_t>(group)]
             : std::string();
}

std::string LayerNameOf(const TDrawing& drawing, int group, int layer) {
  if (group < 0 || layer < 0 || layer >= 16) return {};
  const std::size_t k = static_cast<std::size_t>(group) * 16 + static_cast<std::size_t>(layer);
  return k < drawing.LayerName.size() ? drawing.LayerName[k] : std::string();
}

std::string ReportNumber(double v) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15g", v);
  return buffer;
}

TTextRows MarkRows(const TDrawing& drawing) {
  TTextRows rows{{"number", "kind", "group", "group_name", "layer", "layer_name", "file_x",
                  "file_y", "x", "y", "list", "index"}};
  for (const TLineTypeMark& m : CollectLineTypeMarks(drawing)) {
    rows.push_back({std::to_string(m.Number), KindHeading(m.Column), std::to_string(m.Group),
                    GroupNameOf(drawing, m.Group), std::to_string(m.Layer),
                    LayerNameOf(drawing, m.Group, m.Layer), ReportNumber(m.FileX),
                    ReportNumber(m.FileY), ReportNumber(m.X), ReportNumber(m.Y), m.List,
                    std::to_string(m.Index)});
  }
  return rows;
}

std::string CheckSheetNumber(double v) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.3f", v);
  std::string text = buffer;
  if (text.find_first_of("0123456789") == std::string::npos) return text;  // inf, nan
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  return text == "-0" ? "0" : text;
}

namespace {

// The interchange text writes a name after its key and one blank ("lgn name"); the reader keeps
// that blank in front of the name. A drawing file's names come as stored.
std::string NameAsWritten(const TDrawing& drawing, std::string name) {
  if (!drawing.FromDrawingFile() && !name.empty() && name.front() == ' ') name.erase(0, 1);
  return name;
}

}  // namespace

TTextRows CheckSheetMarkRows(const TDrawing& drawing, bool japanese) {
  TTextRows rows;
  if (japanese)
    rows.push_back({"\x90\xFC\x8E\xED",                 // 線種 (17..32, as the grid numbers them)
                    "\x8E\xED\x97\xDE",                 // 種類
                    "\x83O\x83\x8B\x81[\x83v",          // グループ
                    "\x83O\x83\x8B\x81[\x83v\x96\xBC",  // グループ名
                    "\x83\x8C\x83"
                    "C\x83\x84",  // レイヤ
                    "\x83\x8C\x83"
                    "C\x83\x84\x96\xBC",  // レイヤ名
                    "X (\x90}\x96\xCA)",  // X (図面)
                    "Y (\x90}\x96\xCA)",  // Y (図面)
                    "X", "Y"});
  else
    rows.push_back({"Line type", "Kind", "Group", "Group name", "Layer", "Layer name",
                    "X (drawing)", "Y (drawing)", "X", "Y"});
  for (const TLineTypeMark& m : CollectLineTypeMarks(drawing)) {
    rows.push_back({std::to_string(m.Number), KindHeading(m.Column), std::to_string(m.Group),
                    NameAsWritten(drawing, GroupNameOf(drawing, m.Group)), std::to_string(m.Layer),
                    NameAsWritten(drawing, LayerNameOf(drawing, m.Group, m.Layer)),
                    CheckSheetNumber(m.FileX), CheckSheetNumber(m.FileY), CheckSheetNumber(m.X),
                    CheckSheetNumber(m.Y)});
  }
  return rows;
}

std::string CsvText(const TTextRows& rows, const TCellConvert& convert) {
  return Joined(rows, ',', convert, CsvCell);
}

std::string TabSeparatedText(const TTextRows& rows, const TCellConvert& convert) {
  return Joined(rows, '\t', convert, TabCell);
}

}  // namespace sxf
