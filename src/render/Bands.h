#pragma once
// Drawing one picture on several threads: the picture is cut into horizontal bands, and each
// band's canvas runs the whole drawing, in the usual order and with the same view, but writes
// only the band's rows. The picture is then the same, pixel for pixel, as one canvas's.
//
// While the bands draw, the view and the drawing are shared and read by every thread; nothing
// may change them. What a drawing writes on its way (pens, fonts, point lists, caches) belongs
// to each band's canvas.

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <functional>
#include <span>
#include <vector>

#include "graphics/Canvas.h"
#include "model/JwwGaibu2.h"

namespace sxf {

// Rows Top .. Bottom - 1 of the picture.
struct TBand {
  int Top = 0;
  int Bottom = 0;
  friend bool operator==(const TBand&, const TBand&) = default;
};

inline constexpr int kMaxBands = 8;

// What a band's canvas keeps from one drawing to the next (shapes, glyphs, character pixels):
// one T per band, kept for the program's life; band k's canvas uses set k, and a band draws on
// one thread at a time. A band number outside 0 .. kMaxBands - 1 is the caller's error: it
// asserts, and a build without asserts gets the nearest set.
template <typename T>
T& BandSet(int band) {
  static std::array<T, kMaxBands> sets;
  assert(band >= 0 && band < kMaxBands);
  return sets[static_cast<std::size_t>(std::clamp(band, 0, kMaxBands - 1))];
}
// A picture with fewer rows a band is drawn whole.
inline constexpr int kMinBandRows = 64;

// The bands of a picture of the given height for at most `wanted` workers (1 .. kMaxBands):
// as even as whole rows allow, top to bottom, each at least kMinBandRows rows (one band when
// the picture is lower than two of them).
std::vector<TBand> SplitIntoBands(int height, int wanted);

// Below this many records a drawing stays on one thread: starting threads costs more than
// they save.
inline constexpr long long kMinBandedRecords = 2000;

// The bands of a picture of the drawing: SplitIntoBands(height, DrawingWorkers()), or
// one band for a drawing of fewer than kMinBandedRecords records.
std::vector<TBand> PictureBands(const TEntityLists& drawing, int height);

// How many workers a drawing gets: the processor's cores, at most kMaxBands; the environment
// variable SXF_DRAWING_THREADS (1 .. 8) overrides it, for measurements and comparisons.
int DrawingWorkers();

// Runs draw on every canvas at once, the first on the calling thread and each other on a
// thread of its own, and returns when all are done: true when every draw returned true.
//
// The user's break source installed now (render/UserBreak.h) is asked on the calling thread
// only, while every other band waits at its own next break poll, so that the source may look
// at the picture (the window's progress) or at the window system. When it says break, every
// band's next poll says break too. Without a source the bands never wait.
bool DrawInBands(std::span<TCanvas* const> canvases, const std::function<bool(TCanvas&)>& draw);

}  // namespace sxf
