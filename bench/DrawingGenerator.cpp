#include "DrawingGenerator.h"

#include <cstdio>
#include <random>

namespace sxf::bench {

namespace {

// Coordinates as the host writes them: short decimals where the user snapped to a grid,
// full precision where the point was computed, now and then a three-digit exponent.
void AppendCoordinate(std::string& out, std::mt19937& rng) {
  char buffer[40];
  const unsigned style = static_cast<unsigned>(rng() % 10);
  if (style < 5) {
    const double v = static_cast<double>(rng() % 20000000) / 1000.0 - 2000.0;
    std::snprintf(buffer, sizeof buffer, " %.10g", v);
  } else if (style < 9) {
    const double v = static_cast<double>(rng()) / 214748.3647 - 2000.0;
    std::snprintf(buffer, sizeof buffer, " %.14g", v);
  } else {
    const double v = (static_cast<double>(rng() % 100000) - 50000.0) * 1e-9;
    std::snprintf(buffer, sizeof buffer, " %.13e", v);
    // The host prints three exponent digits: e-005.
    std::string text(buffer);
    const auto e = text.find('e');
    if (e != std::string::npos && text.size() - e == 4) text.insert(e + 2, "0");
    out += text;
    return;
  }
  out += buffer;
}

}  // namespace

std::string GenerateDrawing(std::size_t entities, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::string out;
  out.reserve(entities * 52);
  out += "file=C:\\jww\\\x83\x78\x83\x93\x83\x60\x83\x7D\x81\x5B\x83\x4E.jww\r\n";  // ベンチマーク
  out += "hs 100 100 50 50 1 1 1 1 1 1 1 1 1 1 1 1\r\n";
  int currentType = 1;
  for (std::size_t i = 0; i < entities; ++i) {
    const auto kind = static_cast<unsigned>(rng() % 100);  // 0..69 line, ..79 circle, ..89 arc, ..94 text, ..99 point
    if (kind < 90 && rng() % 3 == 0) {
      const int type = (rng() % 5 == 0) ? 47 + static_cast<int>(rng() % 16) : 1 + static_cast<int>(rng() % 9);
      if (type != currentType) {
        out += "lt" + std::to_string(type) + "\r\n";
        currentType = type;
      }
    }
    if (i % 5000 == 0) out += "lg" + std::to_string(rng() % 4) + "\r\nly" + std::to_string(rng() % 16) + "\r\n";
    if (kind < 70) {
      for (int k = 0; k < 4; ++k) AppendCoordinate(out, rng);
    } else if (kind < 80) {
      out += "ci";
      for (int k = 0; k < 3; ++k) AppendCoordinate(out, rng);
    } else if (kind < 90) {
      out += "ci";
      for (int k = 0; k < 3; ++k) AppendCoordinate(out, rng);
      const bool full = rng() % 4 == 0;
      const double start = static_cast<double>(rng() % 360);
      const double end = full ? start + 360.0 : start + static_cast<double>(rng() % 359 + 1);
      const double flatness = rng() % 3 == 0 ? 0.5 + static_cast<double>(rng() % 40) / 100.0 : 1.0;
      out += " " + std::to_string(static_cast<int>(start)) + " " + std::to_string(static_cast<int>(end)) +
             " " + std::to_string(flatness).substr(0, 4) + " " + std::to_string(rng() % 90);
    } else if (kind < 95) {
      out += "ch";
      for (int k = 0; k < 2; ++k) AppendCoordinate(out, rng);
      out += " 1 0 \"\x95\x94\x89\xAE ";  // 部屋
      out += std::to_string(i % 1000);
    } else {
      out += "pt";
      for (int k = 0; k < 2; ++k) AppendCoordinate(out, rng);
    }
    out += "\r\n";
  }
  return out;
}

bool WriteGeneratedDrawing(const std::string& path, std::size_t entities, std::uint32_t seed) {
  const std::string text = GenerateDrawing(entities, seed);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace sxf::bench
