#pragma once
// A grid index over the records of each entity list of a drawing, so that a redraw of a view
// much smaller than the drawing visits only the records near the view instead of every one.
// Boxes are in world units (coordinates divided by each record's group scale). The renderer
// still draws each list in index order, so the picture is the same with or without it.
//
// The index of a drawing belongs to that drawing: prepare it after the drawing is read, clear it
// before the drawing goes. Several drawings may be indexed at once. A list whose size or
// storage no longer matches the index is drawn whole.

#include <cstddef>
#include <vector>

#include "globals/View.h"
#include "model/JwwGaibu2.h"
#include "util/WorldBox.h"

namespace sxf {

// Registers every drawn list of the drawing (extents: its box, as fit-all computes it),
// replacing that drawing's previous index; a list's grids are built the first time a view
// small enough to use them is drawn, so reading the drawing costs nothing more.
void PrepareDrawingIndex(const TDrawing& drawing, const TWorldBox& extents);
// The same with every list's grids built at once (the extents then play no part).
void BuildDrawingIndex(const TDrawing& drawing);
// Drops the index of the drawing; without one, of every drawing.
void ClearDrawingIndex(const TDrawing& drawing);
void ClearDrawingIndex();

// Bytes the index holds (for measurements).
std::size_t DrawingIndexBytes();

// The records of the list stored at listData with count records that may paint a pixel in
// the view (ViewLeft .. ViewTop, a few pixels' margin, or marginPixels where that is
// more: for what is drawn around a record, such as its mark), in ascending order; or
// nullptr when the whole list is to be drawn: no index for that list, or a view so large
// that visiting every record is as quick. The vector stays valid while the index is kept and
// until four other views of the same list have been asked about; calls with the same view
// (the bands of one drawing) get the same vector. Safe to call from several threads.
const std::vector<int>* RecordsNearView(const TView& view, const void* listData, int count,
                                        double marginPixels = 0.0);

// Tuning, for measurements and tests: the index is used when the view's area is below this
// share of the list's area (0 turns the index off, a large value always uses it).
void SetDrawingIndexAreaShare(double share);

}  // namespace sxf
