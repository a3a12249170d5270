#pragma once
// Generates interchange files of any size for benchmarks: about 70 % line segments,
// 10 % circles, 10 % arcs (some elliptic, some full), 5 % texts and 5 % points, with about
// 20 % of the lines, circles and arcs drawn in the SXF user line types 47..62.
//
// Two profiles:
// - Light: a 20 000 x 20 000 sheet with group scales of 100 and 50, most figures a few
//   hundred units (so at fit-all most are a pixel or less), now and then one thousands long.
// - Dense: a 1000 x 600 sheet, group scale 1, lines 5-100 units long, circles and arcs of
//   radius 1-50: at fit-all of 1920 x 1080 the figures are tens to hundreds of pixels.

#include <cstddef>
#include <cstdint>
#include <string>

namespace sxf::bench {

enum class TDrawingProfile { Light, Dense };

// Shift-JIS text with CR LF line ends, as the host writes it.
std::string GenerateDrawing(std::size_t entities, std::uint32_t seed = 1,
                            TDrawingProfile profile = TDrawingProfile::Light);

// Writes GenerateDrawing(...) to path; false when the file cannot be written.
bool WriteGeneratedDrawing(const std::string& path, std::size_t entities, std::uint32_t seed = 1,
                           TDrawingProfile profile = TDrawingProfile::Light);

}  // namespace sxf::bench
