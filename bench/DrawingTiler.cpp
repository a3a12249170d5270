#include "DrawingTiler.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

#include "globals/UnitGval.h"
#include "model/JwwGaibu2.h"
#include "search/Extents.h"

namespace sxf::bench {

namespace {

struct TToken {
  std::size_t Begin, End;
};

// The blank-separated fields of a line; a text's quoted rest counts as one field.
std::vector<TToken> Fields(std::string_view line) {
  std::vector<TToken> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    if (line[i] == '"') {
      fields.push_back({i, line.size()});
      break;
    }
    const std::size_t begin = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    fields.push_back({begin, i});
  }
  return fields;
}

bool IsNumber(std::string_view field, double& value) {
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  return error == std::errc() && end == field.data() + field.size();
}

// The fields of a record that hold x and y, in pairs: (first, count) of the fields after the key.
bool PlaceFields(std::string_view line, const std::vector<TToken>& f, std::size_t& first,
                 std::size_t& count) {
  const auto key = [&](std::size_t k) { return line.substr(f[k].Begin, f[k].End - f[k].Begin); };
  const std::string_view k0 = key(0);
  double ignored = 0;
  if (f.size() == 4 && IsNumber(k0, ignored)) {  // a line segment
    first = 0, count = 4;
    return true;
  }
  const bool text = k0.size() == 2 && k0[0] == 'c' &&
                    std::string_view("hvsroptkz2").find(k0[1]) != std::string_view::npos;
  const bool arcSolid = k0.size() == 2 && k0[0] == 's' &&
                        std::string_view("ceog").find(k0[1]) != std::string_view::npos;
  if ((k0 == "ci" || k0 == "pt" || k0 == "BL" || text || arcSolid) && f.size() >= 3) {
    first = 1, count = 2;
    return true;
  }
  if (k0 == "sl" && f.size() >= 5) {
    first = 1, count = std::min<std::size_t>(8, (f.size() - 1) / 2 * 2);
    return true;
  }
  return false;
}

void AppendNumber(std::string& out, double v) {
  char buffer[32];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, v);
  out.append(buffer, error == std::errc() ? end : buffer);
}

}  // namespace

std::string TileDrawing(const std::string& source, std::size_t sourceEntities, const TTileBox& box,
                        std::size_t entities) {
  if (sourceEntities == 0) return source;
  const std::size_t copies =
      std::max<std::size_t>(1, (entities + sourceEntities - 1) / sourceEntities);
  const auto columns = static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(copies))));
  const double stepX = (box.Right - box.Left) * 1.1;
  const double stepY = (box.Top - box.Bottom) * 1.1;

  // The lines, each without its line end; what a copy moves, found once.
  std::vector<std::string_view> lines;
  for (std::size_t at = 0; at < source.size();) {
    std::size_t end = source.find('\n', at);
    if (end == std::string::npos) end = source.size();
    std::string_view line(source.data() + at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    at = end + 1;
  }
  struct TPlaced {
    std::vector<TToken> Fields;
    std::size_t First = 0, Count = 0;
    int Group = 0;
  };
  std::vector<TPlaced> placed(lines.size());
  std::array<double, 16> scale;
  scale.fill(1.0);
  int group = 0;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const std::string_view line = lines[n];
    TPlaced& p = placed[n];
    p.Fields = Fields(line);
    if (p.Fields.empty()) continue;
    const std::string_view key =
        line.substr(p.Fields[0].Begin, p.Fields[0].End - p.Fields[0].Begin);
    if (key == "hs") {
      for (std::size_t g = 0; g < 16 && g + 1 < p.Fields.size(); ++g) {
        double s = 1;
        const auto& t = p.Fields[g + 1];
        if (IsNumber(line.substr(t.Begin, t.End - t.Begin), s) && std::isfinite(s) && s != 0)
          scale[g] = s;
      }
    } else if (key.size() == 3 && key.starts_with("lg") && key != "lgn") {
      const char c = key[2];
      group =
          c >= '0' && c <= '9'
              ? c - '0'
              : (c >= 'a' && c <= 'f' ? c - 'a' + 10 : (c >= 'A' && c <= 'F' ? c - 'A' + 10 : 0));
    }
    p.Group = group;
    if (!PlaceFields(line, p.Fields, p.First, p.Count)) p.Count = 0;
  }

  std::string out;
  out.reserve(source.size() * copies + copies * 64);
  for (std::size_t c = 0; c < copies; ++c) {
    const double dx = static_cast<double>(c % columns) * stepX;
    const double dy = static_cast<double>(c / columns) * stepY;
    for (std::size_t n = 0; n < lines.size(); ++n) {
      const std::string_view line = lines[n];
      const TPlaced& p = placed[n];
      if (p.Count == 0 || c == 0) {
        out.append(line);
      } else {
        // The file holds sheet units times the group's scale.
        const double s = scale[static_cast<std::size_t>(p.Group)];
        std::size_t kept = 0;
        for (std::size_t k = 0; k < p.Count; ++k) {
          const TToken& t = p.Fields[p.First + k];
          double v = 0;
          if (!IsNumber(line.substr(t.Begin, t.End - t.Begin), v)) continue;  // left as it is
          out.append(line.substr(kept, t.Begin - kept));
          AppendNumber(out, v + (k % 2 == 0 ? dx : dy) * s);
          kept = t.End;
        }
        out.append(line.substr(kept));
      }
      out += "\r\n";
    }
  }
  return out;
}

bool WriteTiledDrawing(const std::string& path, std::size_t entities, const std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string source{std::istreambuf_iterator<char>(in), {}};
  std::size_t count = 0;
  TTileBox box{};
  {
    const TJwcLoad read = ReadJwcTempFile(path);
    if (!read.Result.ReadToEnd) return false;
    const TWorldBox e = ComputeExtents(read.Drawing);
    box = {e.Left, e.Bottom, e.Right, e.Top};
    count = static_cast<std::size_t>(read.Drawing.EntOrderCount());
  }
  std::ofstream file(out, std::ios::binary);
  const std::string text = TileDrawing(source, count, box, entities);
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  file.close();
  if (!file) errno = errno != 0 ? errno : EIO;
  return static_cast<bool>(file);
}

}  // namespace sxf::bench
