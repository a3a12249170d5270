#include "text/ImageFrame.h"

#include "graphics/Primitives.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {
constexpr int kImageHatch = 5;  // backward diagonal
}  // namespace

std::optional<TImageText> ParseImageText(std::string_view text) {
  if (text.substr(0, 4) != "^@BM") return std::nullopt;
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  TImageText image;
  image.FileName = std::string(text.substr(4, comma - 4));
  std::string_view rest = text.substr(comma + 1);
  int count = 0;
  for (;;) {
    const std::size_t next = count < 4 ? rest.find(',') : std::string_view::npos;
    image.Fields[static_cast<std::size_t>(count)] = StrToFloatOr0(rest.substr(0, next));
    ++count;
    if (next == std::string_view::npos) break;
    rest = rest.substr(next + 1);
  }
  if (count == 1) image.Fields[1] = image.Fields[0];
  if (count < 5) image.Fields[4] = 1.0;
  return image;
}

void DrawImageEntity(TCanvas& c, const TView& view, int colorOverride, const TJwwEntTxt& e,
                     double s) {
  const std::optional<TImageText> image = ParseImageText(e.Text);
  if (!image) return;
  const double x0 = e.X / s;
  const double y0 = e.Y / s;
  const double x1 = x0 + image->Fields[0];
  const double y1 = y0 + image->Fields[1];
  SetEntityPen(c, e.Hdr.Color, 1);
  SetEntityBrush(c, e.Hdr.Color, kImageHatch);
  if (colorOverride >= 0) {
    c.Pen.Color = static_cast<TColor>(colorOverride);
    c.Brush.Color = static_cast<TColor>(colorOverride);
  }
  DrawWorldRect(c, view, x0, y0, x1, y1);
}

}  // namespace sxf
