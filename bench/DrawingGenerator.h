#pragma once
// Generates interchange files of any size for benchmarks: about 70 % line segments,
// 10 % circles, 10 % arcs (some elliptic, some full), 5 % texts and 5 % points, with about
// 20 % of the lines, circles and arcs drawn in the SXF user line types 47..62.

#include <cstddef>
#include <cstdint>
#include <string>

namespace sxf::bench {

// Shift-JIS text with CR LF line ends, as the host writes it.
std::string GenerateDrawing(std::size_t entities, std::uint32_t seed = 1);

// Writes GenerateDrawing(entities) to path; false when the file cannot be written.
bool WriteGeneratedDrawing(const std::string& path, std::size_t entities, std::uint32_t seed = 1);

}  // namespace sxf::bench
