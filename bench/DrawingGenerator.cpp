#include "DrawingGenerator.h"

#include <cmath>
#include <cstdio>
#include <random>

namespace sxf::bench {

namespace {

// A number as the host writes it: short decimals where the user snapped to a grid, full
// precision where the point was computed, now and then with a three-digit exponent.
void AppendNumber(std::string& out, double v, std::mt19937& rng) {
  char buffer[48];
  const unsigned style = static_cast<unsigned>(rng() % 10);
  if (style < 5) {
    std::snprintf(buffer, sizeof buffer, " %.10g",
                  static_cast<double>(static_cast<long long>(v * 1000.0)) / 1000.0);
  } else if (style < 9) {
    std::snprintf(buffer, sizeof buffer, " %.14g", v);
  } else {
    std::snprintf(buffer, sizeof buffer, " %.13e", v);
    std::string text(buffer);
    const auto e = text.find('e');
    if (e != std::string::npos && text.size() - e == 4) text.insert(e + 2, "0");  // e+03 -> e+003
    out += text;
    return;
  }
  out += buffer;
}

double Uniform(std::mt19937& rng, double low, double high) {
  return low + (high - low) * (static_cast<double>(rng()) / 4294967296.0);
}

// Light: positions spread over a 20 000 x 20 000 sheet; most figures are small, as in real
// drawings. Dense: a 1000 x 600 sheet crowded with figures of a few to a hundred units.
struct TSheet {
  bool Dense;
  double X(std::mt19937& rng) const {
    return Dense ? Uniform(rng, 0.0, 1000.0) : Uniform(rng, -2000.0, 18000.0);
  }
  double Y(std::mt19937& rng) const {
    return Dense ? Uniform(rng, 0.0, 600.0) : Uniform(rng, -2000.0, 18000.0);
  }
  double Radius(std::mt19937& rng) const {
    return Dense ? Uniform(rng, 1.0, 50.0) : Uniform(rng, 1.0, 300.0);
  }
  // Light: how far a line's end lies from its start along one axis.
  static double Extent(std::mt19937& rng) {
    return rng() % 20 == 0 ? Uniform(rng, -5000.0, 5000.0) : Uniform(rng, -300.0, 300.0);
  }
};

}  // namespace

std::string GenerateDrawing(std::size_t entities, std::uint32_t seed, TDrawingProfile profile) {
  std::mt19937 rng(seed);
  const TSheet sheet{profile == TDrawingProfile::Dense};
  std::string out;
  out.reserve(entities * 52);
  out += "file=C:\\jww\\\x83\x78\x83\x93\x83\x60\x83\x7D\x81\x5B\x83\x4E.jww\r\n";  // ベンチマーク
  out += sheet.Dense ? "hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\n"
                     : "hs 100 100 50 50 1 1 1 1 1 1 1 1 1 1 1 1\r\n";
  int currentType = 1;
  for (std::size_t i = 0; i < entities; ++i) {
    const auto kind = static_cast<unsigned>(
        rng() % 100);  // 0..69 line, ..79 circle, ..89 arc, ..94 text, ..99 point
    if (kind < 90 && rng() % 3 == 0) {
      const int type =
          (rng() % 5 == 0) ? 47 + static_cast<int>(rng() % 16) : 1 + static_cast<int>(rng() % 9);
      if (type != currentType) {
        out += "lt" + std::to_string(type) + "\r\n";
        currentType = type;
      }
    }
    if (i % 5000 == 0)
      out += "lg" + std::to_string(rng() % 4) + "\r\nly" + std::to_string(rng() % 16) + "\r\n";
    if (i % 40 == 0) out += "lc" + std::to_string(1 + rng() % 9) + "\r\n";  // pens change often
    if (kind < 70) {
      const double x = sheet.X(rng), y = sheet.Y(rng);
      if (sheet.Dense) {
        const double length = Uniform(rng, 5.0, 100.0);
        const double angle = Uniform(rng, 0.0, 6.283185307179586);
        AppendNumber(out, x, rng);
        AppendNumber(out, y, rng);
        AppendNumber(out, x + length * std::cos(angle), rng);
        AppendNumber(out, y + length * std::sin(angle), rng);
      } else {
        AppendNumber(out, x, rng);
        AppendNumber(out, y, rng);
        AppendNumber(out, x + TSheet::Extent(rng), rng);
        AppendNumber(out, y + TSheet::Extent(rng), rng);
      }
    } else if (kind < 80) {
      out += "ci";
      AppendNumber(out, sheet.X(rng), rng);
      AppendNumber(out, sheet.Y(rng), rng);
      AppendNumber(out, sheet.Radius(rng), rng);
    } else if (kind < 90) {
      out += "ci";
      AppendNumber(out, sheet.X(rng), rng);
      AppendNumber(out, sheet.Y(rng), rng);
      AppendNumber(out, sheet.Radius(rng), rng);
      const bool full = rng() % 4 == 0;
      const double start = static_cast<double>(rng() % 360);
      const double end = full ? start + 360.0 : start + static_cast<double>(rng() % 359 + 1);
      const double flatness = rng() % 3 == 0 ? 0.5 + static_cast<double>(rng() % 40) / 100.0 : 1.0;
      out += " " + std::to_string(static_cast<int>(start)) + " " +
             std::to_string(static_cast<int>(end)) + " " + std::to_string(flatness).substr(0, 4) +
             " " + std::to_string(rng() % 90);
    } else if (kind < 95) {
      out += "ch";
      AppendNumber(out, sheet.X(rng), rng);
      AppendNumber(out, sheet.Y(rng), rng);
      out += " 1 0 \"\x95\x94\x89\xAE ";  // 部屋
      out += std::to_string(i % 1000);
    } else {
      out += "pt";
      AppendNumber(out, sheet.X(rng), rng);
      AppendNumber(out, sheet.Y(rng), rng);
    }
    out += "\r\n";
  }
  return out;
}

bool WriteGeneratedDrawing(const std::string& path, std::size_t entities, std::uint32_t seed,
                           TDrawingProfile profile) {
  const std::string text = GenerateDrawing(entities, seed, profile);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace sxf::bench
