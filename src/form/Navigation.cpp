#include "form/Navigation.h"

#include <cmath>

#include "globals/UnitGval.h"
#include "form/DisplayScale.h"
#include "graphics/Canvas.h"
#include "graphics/Primitives.h"
#include "preview/Preview.h"

namespace sxf {

namespace {

// A box side of at most 0.001 world units counts as 0.001.
double FlooredSide(double a, double b) noexcept {
  const double side = std::fabs(a - b);
  return side <= 0.001 ? 0.001 : side;
}

// Takes the preview size, then puts the edges around (cx, cy) at the current scale.
void CentreAt(double cx, double cy, int width, int height) noexcept {
  ViewWidth = width;
  ViewHeight = height;
  CentreViewOn(cx, cy);
}

bool IsArrow(TNavKey key) noexcept {
  return key == TNavKey::Left || key == TNavKey::Right || key == TNavKey::Up ||
         key == TNavKey::Down;
}

}  // namespace

bool TPreviewPlace::ContainsScreenPoint(int x, int y) const noexcept {
  const long long left = static_cast<long long>(OriginX) + Left;
  const long long top = static_cast<long long>(OriginY) + Top;
  return left <= x && x <= left + Width && top <= y && y <= top + Height;
}

void SaveView() noexcept {
  SavedViewScale = ViewScale;
  SavedViewLeft = ViewLeft;
  SavedViewBottom = ViewBottom;
  SavedViewRight = ViewRight;
  SavedViewTop = ViewTop;
}

double PixelToWorldX(int px) noexcept { return ViewLeft + px / ViewScale; }
double PixelToWorldY(int py) noexcept { return ViewTop - py / ViewScale; }

void ZoomViewAt(double px, double py, double f) noexcept {
  SaveView();
  const double wx = ViewLeft + px / ViewScale;
  const double wy = ViewTop - py / ViewScale;
  const double cx = (ViewLeft + ViewRight) / 2.0;
  const double cy = (ViewBottom + ViewTop) / 2.0;
  ViewScale = ViewScale * f;
  const double hw = (ViewRight - ViewLeft) / 2.0 / f;
  const double hh = (ViewTop - ViewBottom) / 2.0 / f;
  const double ncx = wx - (wx - cx) / f;
  const double ncy = wy - (wy - cy) / f;
  ViewLeft = ncx - hw;
  ViewRight = ncx + hw;
  ViewBottom = ncy - hh;
  ViewTop = ncy + hh;
}

void ZoomViewToBox(double x0, double y0, double x1, double y1, int width, int height) noexcept {
  SaveView();
  ViewWidth = width;
  ViewHeight = height;
  const double sx = ViewWidth / FlooredSide(x0, x1);
  const double sy = ViewHeight / FlooredSide(y0, y1);
  ViewScale = sx < sy ? sx : sy;
  CentreAt((x0 + x1) / 2.0, (y0 + y1) / 2.0, width, height);
}

void ZoomViewOutAround(double x0, double y0, double x1, double y1, int width, int height) noexcept {
  SaveView();
  ViewWidth = width;
  ViewHeight = height;
  const double vw = ViewRight - ViewLeft;
  const double vh = ViewTop - ViewBottom;
  // Twice the view's size, reached through the box's size as the host computes it, so that
  // the last bits of the scale agree.
  const double bw = FlooredSide(x0, x1);
  const double bh = FlooredSide(y0, y1);
  const double sx = ViewWidth / (bw * (vw / bw) * 2.0);
  const double sy = ViewHeight / (bh * (vh / bh) * 2.0);
  ViewScale = sx < sy ? sx : sy;
  CentreAt((x0 + x1) / 2.0, (y0 + y1) / 2.0, width, height);
}

void CentreViewOnPoint(double x, double y, int width, int height) noexcept {
  SaveView();
  ViewWidth = width;
  ViewHeight = height;
  const double dx = x - (ViewLeft + ViewRight) / 2.0;
  const double dy = y - (ViewBottom + ViewTop) / 2.0;
  ViewLeft += dx;
  ViewRight += dx;
  ViewBottom += dy;
  ViewTop += dy;
}

void SwapWithPreviousView() noexcept {
  const double scale = ViewScale, left = ViewLeft, bottom = ViewBottom, right = ViewRight,
               top = ViewTop;
  ViewScale = SavedViewScale;
  ViewLeft = SavedViewLeft;
  ViewBottom = SavedViewBottom;
  ViewRight = SavedViewRight;
  ViewTop = SavedViewTop;
  SavedViewScale = scale;
  SavedViewLeft = left;
  SavedViewBottom = bottom;
  SavedViewRight = right;
  SavedViewTop = top;
}

void AdjustViewToPreviewSize(int width, int height) noexcept {
  ViewWidth = width;
  ViewHeight = height;
  if (!(ViewScale > 0.0)) return;  // no view yet
  CentreViewOn((ViewLeft + ViewRight) / 2.0, (ViewBottom + ViewTop) / 2.0);
}

void TNavigation::ZoomAt(int screenX, int screenY, double f) {
  const TPreviewPlace place = host_.PreviewPlace();
  const double px = static_cast<double>(screenX) - place.OriginX - place.Left;
  const double py = static_cast<double>(screenY) - place.OriginY - place.Top;
  ZoomViewAt(px, py, f);
  host_.Redraw();
}

bool TNavigation::KeyDown(TNavKey key, bool shift) {
  const TPreviewPlace place = host_.PreviewPlace();
  switch (key) {
    case TNavKey::PageUp:
    case TNavKey::PageDown:
      ZoomAt(place.OriginX + place.Left + place.Width / 2,
             place.OriginY + place.Top + place.Height / 2,
             key == TNavKey::PageUp ? ZoomFactor : 1.0 / ZoomFactor);
      return true;
    case TNavKey::Insert:
    case TNavKey::End:
      SaveView();
      CentreViewOn((ExtentLeft + ExtentRight) / 2.0, (ExtentBottom + ExtentTop) / 2.0);
      host_.Redraw();
      return true;
    case TNavKey::Home: host_.FitAll(); return true;
    case TNavKey::Escape:
      return true;  // swallowed; a held Escape breaks a drawing through the key state
    case TNavKey::Other: return false;
    default: break;
  }
  if (IsArrow(key)) {
    int x = 0, y = 0;
    host_.CursorPos(x, y);
    if (place.ContainsScreenPoint(x, y)) PanByKey(key, shift);
  }
  return true;
}

void TNavigation::PanByKey(TNavKey key, bool shift) {
  SaveView();
  double stepX = std::fabs(ViewRight - ViewLeft) / 2.0;
  double stepY = std::fabs(ViewTop - ViewBottom) / 2.0;
  if (shift) {
    stepX /= 5.0;
    stepY /= 5.0;
  }
  switch (key) {
    case TNavKey::Left:
      ViewLeft -= stepX;
      ViewRight -= stepX;
      break;
    case TNavKey::Right:
      ViewLeft += stepX;
      ViewRight += stepX;
      break;
    case TNavKey::Up:
      ViewBottom += stepY;
      ViewTop += stepY;
      break;
    default:
      ViewBottom -= stepY;
      ViewTop -= stepY;
      break;
  }
  host_.Redraw();
}

bool TNavigation::MouseWheel(bool down, int screenX, int screenY) {
  if (!host_.PreviewPlace().ContainsScreenPoint(screenX, screenY)) return false;
  host_.FocusEditA();
  ZoomAt(screenX, screenY, down ? ZoomFactor : 1.0 / ZoomFactor);
  return true;
}

void TNavigation::MouseDown(int x, int y, int shiftState) {
  if ((ButtonFlags & (kShiftLeftButton | kShiftRightButton)) == 0) {
    PressX = x;
    PressY = y;
  }
  ButtonFlags |= shiftState;
  if (ButtonFlags & kShiftMiddleButton) {
    if (DragImageValid) host_.FreeDragImage();
    DragImageValid = host_.TakeDragImage();
  }
}

void TNavigation::MouseMove(int x, int y) {
  host_.FocusEditA();
  const int both = kShiftLeftButton | kShiftRightButton;
  if ((ButtonFlags & both) == both) {
    if (BandShown) DrawRubberBand();
    BandX1 = PressX;
    BandY1 = PressY;
    BandX2 = x;
    BandY2 = y;
    DrawRubberBand();
    BandShown = true;
  } else if ((ButtonFlags & kShiftMiddleButton) && DragImageValid) {
    BandShown = false;
    host_.ShowDragImageAt(x - PressX, y - PressY);
  }
}

void TNavigation::MouseUp(int x, int y) {
  // Both points in the view as it was before any change.
  const double x0 = PixelToWorldX(PressX), y0 = PixelToWorldY(PressY);
  const double x1 = PixelToWorldX(x), y1 = PixelToWorldY(y);
  const int both = kShiftLeftButton | kShiftRightButton;
  const int flags = ButtonFlags;
  ButtonFlags = 0;  // the gesture ends here whatever it did
  if ((flags & both) == both) {
    if (BandShown) DrawRubberBand();
    BandShown = false;
    TwoButtonRelease(x0, y0, x1, y1);
  } else if (flags & kShiftMiddleButton) {
    if (DragImageValid) host_.FreeDragImage();
    DragImageValid = false;
    SaveView();
    ViewLeft += x0 - x1;
    ViewRight += x0 - x1;
    ViewBottom += y0 - y1;
    ViewTop += y0 - y1;
    host_.Redraw();
  }
}

void TNavigation::TwoButtonRelease(double x0, double y0, double x1, double y1) {
  const TPreviewPlace place = host_.PreviewPlace();
  const double t = ViewPixels(TDesignLengths::ClickTolerance) / ViewScale;
  if (std::fabs(x1 - x0) <= t || std::fabs(y1 - y0) <= t) {
    CentreViewOnPoint(x0, y0, place.Width, place.Height);  // a click re-centres
    host_.Redraw();
  } else if (x0 < x1 && y0 > y1) {  // right and down on the screen
    ZoomViewToBox(x0, y0, x1, y1, place.Width, place.Height);
    host_.Redraw();
  } else if (x0 > x1 && y0 < y1) {  // left and up
    ZoomViewOutAround(x0, y0, x1, y1, place.Width, place.Height);
    host_.Redraw();
  } else if (x0 < x1 && y0 < y1) {  // right and up
    host_.FitAll();
  } else {  // left and down
    SwapWithPreviousView();
    host_.Redraw();
  }
}

void TNavigation::DrawRubberBand() {
  host_.PaintOnPreview([this](TCanvas& c) {
    SetXorPen(c);
    SetPlainPen(c, RgbColor(0, 255, 255), 0, ViewPixels(TDesignLengths::RubberBandPen));
    SetPlainBrush(c, 0, 0);
    DrawPixelBox(c, BandX1, BandY1, BandX2, BandY2);
  });
}

}  // namespace sxf
