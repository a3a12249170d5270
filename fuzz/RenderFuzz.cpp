// The renderer on a null canvas: the drawing read from the bytes, drawn once in the view
// fit-all gives it and once in a view taken from the last bytes (any scale, any place).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "FuzzSupport.h"
#include "globals/UnitGval.h"
#include "model/JwwGaibu2.h"
#include "preview/Preview.h"
#include "render/Renderer.h"
#include "search/Extents.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sxf;
  // The last 20 bytes, when there are enough, are the random view: left, bottom, scale
  // (doubles' bit patterns would mostly be NaN, so they are scaled from integers).
  struct {
    std::int32_t Left, Bottom, Scale;
    std::uint16_t Width, Height;
    std::int32_t Shift;
  } random{};
  std::size_t textSize = size;
  if (size >= sizeof random + 1) {
    textSize = size - sizeof random;
    std::memcpy(&random, data + textSize, sizeof random);
  }
  const TDrawing drawing =
      ParseJwcText(std::string_view(reinterpret_cast<const char*>(data), textSize));
  if (!GraAttr) GraAttr = std::make_unique<TgraAttribute>();

  fuzz::TNullCanvas canvas;
  TView view;
  FitViewToDrawing(view, ComputeExtents(drawing), 320, 240);
  if (!UsableView(view)) fuzz::Broken("fit-all left no usable view");
  DrawPreview(canvas, view, drawing, 320, 240);

  const int width = 1 + random.Width % 2048;
  const int height = 1 + random.Height % 2048;
  const double scale = std::ldexp(1.0 + std::abs(random.Scale % 1000) / 100.0, random.Shift % 80);
  view.ViewWidth = width;
  view.ViewHeight = height;
  view.ViewScale = scale;
  view.ViewLeft = std::ldexp(static_cast<double>(random.Left), random.Shift % 64);
  view.ViewBottom = std::ldexp(static_cast<double>(random.Bottom), random.Shift % 64);
  view.ViewRight = view.ViewLeft + width / scale;
  view.ViewTop = view.ViewBottom + height / scale;
  RenderDrawing(canvas, view, drawing);
  return 0;
}
