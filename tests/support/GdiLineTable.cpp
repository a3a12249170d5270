#include "support/GdiLineTable.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace sxf::test {

std::vector<TGdiLineCase> GdiLineCases() {
  std::vector<TGdiLineCase> cases;
  constexpr int kCentre = 32;
  // Every direction up to six pixels each way, in copy and in XOR: the octants, the ties of
  // a diagonal and the half steps of odd minor extents.
  for (const TPenMode mode : {TPenMode::Copy, TPenMode::Xor})
    for (int dy = -6; dy <= 6; ++dy)
      for (int dx = -6; dx <= 6; ++dx)
        if (dx != 0 || dy != 0)
          cases.push_back(
              {kCentre, kCentre, kCentre + dx, kCentre + dy, TPenStyle::Solid, mode, false, {}});
  // The dotted styles over long segments in four directions, on both backgrounds; one runs
  // off the buffer, so that the pattern is seen to count the pixels cut off.
  const int ends[][2] = {{61, 43}, {21, 62}, {37, 1}, {2, 29}, {-30, 40}};
  for (const TPenStyle style :
       {TPenStyle::Dash, TPenStyle::Dot, TPenStyle::DashDot, TPenStyle::DashDotDot})
    for (const bool opaque : {false, true})
      for (const auto& end : ends)
        cases.push_back({kCentre, 20, end[0], end[1], style, TPenMode::Copy, opaque, {}});
  return cases;
}

std::string FormatGdiLineTable(const std::vector<TGdiLineCase>& cases) {
  std::ostringstream out;
  for (const TGdiLineCase& c : cases) {
    out << c.X1 << ' ' << c.Y1 << ' ' << c.X2 << ' ' << c.Y2 << ' ' << static_cast<int>(c.Style)
        << ' ' << static_cast<int>(c.Mode) << ' ' << (c.Opaque ? 1 : 0);
    for (const auto& [index, value] : c.Pixels)
      out << ' ' << index << ':' << std::hex << value << std::dec;
    out << '\n';
  }
  return out.str();
}

std::vector<TGdiLineCase> ParseGdiLineTable(const std::string& text) {
  std::vector<TGdiLineCase> cases;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    TGdiLineCase c;
    int style = 0, mode = 0, opaque = 0;
    if (!(fields >> c.X1 >> c.Y1 >> c.X2 >> c.Y2 >> style >> mode >> opaque)) return {};
    c.Style = static_cast<TPenStyle>(style);
    c.Mode = static_cast<TPenMode>(mode);
    c.Opaque = opaque != 0;
    std::string pixel;
    while (fields >> pixel) {
      const std::size_t colon = pixel.find(':');
      if (colon == std::string::npos) return {};
      c.Pixels.emplace_back(
          std::atoi(pixel.substr(0, colon).c_str()),
          static_cast<std::uint32_t>(std::strtoul(pixel.substr(colon + 1).c_str(), nullptr, 16)));
    }
    cases.push_back(std::move(c));
  }
  return cases;
}

std::string GdiLineTablePath() {
  std::string path(SXF_TEST_DATA);
  path.append("/gdi-lines.txt");
  return path;
}

}  // namespace sxf::test
