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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sxf;
  // The last 20 bytes, when there are enough, are the random view: left, bottom, scale
  // (doubles' bit patterns would mostly be NaN, so they are scaled from integers).
  struct {
    std::int32_t Left, Bottom, Scale;
    std::uint16_t Width, Height;
    std::int32_t Shift;
  } view{};
  std::size_t textSize = size;
  if (size >= sizeof view + 1) {
    textSize = size - sizeof view;
    std::memcpy(&view, data + textSize, sizeof view);
  }
  InitJwwModel();
  ParseJwcText(std::string_view(reinterpret_cast<const char*>(data), textSize));
  ResetJwwCurrentState();
  if (!GraAttr) GraAttr = std::make_unique<TgraAttribute>();

  fuzz::TNullCanvas canvas;
  FitViewToDrawing(320, 240);
  if (!UsableView()) fuzz::Broken("fit-all left no usable view");
  DrawPreview(canvas, 320, 240);

  const int width = 1 + view.Width % 2048;
  const int height = 1 + view.Height % 2048;
  const double scale = std::ldexp(1.0 + std::abs(view.Scale % 1000) / 100.0, view.Shift % 80);
  ViewWidth = width;
  ViewHeight = height;
  ViewScale = scale;
  ViewLeft = std::ldexp(static_cast<double>(view.Left), view.Shift % 64);
  ViewBottom = std::ldexp(static_cast<double>(view.Bottom), view.Shift % 64);
  ViewRight = ViewLeft + width / scale;
  ViewTop = ViewBottom + height / scale;
  RenderDrawing(canvas);
  return 0;
}
