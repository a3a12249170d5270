#pragma once
// A large drawing made of a real one: the drawing's text repeated on a grid of copies, a tenth
// of its size apart, as a site of many floor plans looks. Every record that has a place (lines,
// circles and arcs, texts and dimensions, points, blocks, solids) is moved; everything else
// (header, layers, pens) is copied as it stands.

#include <cstddef>
#include <string>

namespace sxf::bench {

// One copy's box in world units (the group scale applied), as the extents give it.
struct TTileBox {
  double Left = 0, Bottom = 0, Right = 0, Top = 0;
};

// The text of ceil(entities / sourceEntities) copies of source (Shift-JIS, CR LF or LF), laid
// out on a grid about as wide as it is high, the copies a tenth of box's size apart. A source
// of no entity gives the source once.
std::string TileDrawing(const std::string& source, std::size_t sourceEntities, const TTileBox& box,
                        std::size_t entities);

// Reads the drawing at path with the tool's reader and writes its tiling of at least entities
// entities to out; false, with errno set, when either file fails.
bool WriteTiledDrawing(const std::string& path, std::size_t entities, const std::string& out);

}  // namespace sxf::bench
