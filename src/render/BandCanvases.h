#pragma once
// Handing out the canvases of a banded drawing (render/Bands.h): the picture's owner makes one
// canvas per band and keeps them while DrawInBands draws on their addresses, or gives its one
// canvas where the picture is drawn on one thread.

#include <memory>
#include <span>
#include <vector>

#include "graphics/Canvas.h"
#include "render/Bands.h"

namespace sxf {

// The canvases' addresses, in their order, for DrawInBands.
template <typename C>
std::vector<TCanvas*> CanvasPointers(const std::vector<std::unique_ptr<C>>& canvases) {
  std::vector<TCanvas*> pointers;
  pointers.reserve(canvases.size());
  for (const auto& c : canvases) pointers.push_back(c.get());
  return pointers;
}

// The canvases to draw the bands on. For two bands or more, kept = make() (one canvas per
// band, made over the one picture) and their addresses; for one band, or when make() gives
// none, kept is emptied and the picture is drawn on whole(), called only then.
template <typename C, typename Make, typename Whole>
std::vector<TCanvas*> HandOutBandCanvases(std::vector<std::unique_ptr<C>>& kept,
                                          std::span<const TBand> bands, Make&& make,
                                          Whole&& whole) {
  if (bands.size() > 1)
    kept = make();
  else
    kept.clear();
  if (kept.empty()) return {&static_cast<TCanvas&>(whole())};
  return CanvasPointers(kept);
}

}  // namespace sxf
