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
void CentreAt(TView& view, double cx, double cy, int width, int height) noexcept {
  view.ViewWidth = width;
  view.ViewHeight = height;
  CentreViewOn(view, cx, cy);
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

void SaveView(TWindowViews& v) noexcept {
  v.SavedView.ViewScale = v.View.ViewScale;
  v.SavedView.ViewLeft = v.View.ViewLeft;
  v.SavedView.ViewBottom = v.View.ViewBottom;
  v.SavedView.ViewRight = v.View.ViewRight;
  v.SavedView.ViewTop = v.View.ViewTop;
}

double PixelToWorldX(const TWindowViews& v, int px) noexcept {
  return v.View.ViewLeft + px / v.View.ViewScale;
}
double PixelToWorldY(const TWindowViews& v, int py) noexcept {
  return v.View.ViewTop - py / v.View.ViewScale;
}

void ZoomViewAt(TWindowViews& v, double px, double py, double f) noexcept {
  SaveView(v);
  const double wx = v.View.ViewLeft + px / v.View.ViewScale;
  const double wy = v.View.ViewTop - py / v.View.ViewScale;
  const double cx = (v.View.ViewLeft + v.View.ViewRight) / 2.0;
  const double cy = (v.View.ViewBottom + v.View.ViewTop) / 2.0;
  v.View.ViewScale = v.View.ViewScale * f;
  const double hw = (v.View.ViewRight - v.View.ViewLeft) / 2.0 / f;
  const double hh = (v.View.ViewTop - v.View.ViewBottom) / 2.0 / f;
  const double ncx = wx - (wx - cx) / f;
  const double ncy = wy - (wy - cy) / f;
  v.View.ViewLeft = ncx - hw;
  v.View.ViewRight = ncx + hw;
  v.View.ViewBottom = ncy - hh;
  v.View.ViewTop = ncy + hh;
}

void ZoomViewToBox(TWindowViews& v, double x0, double y0, double x1, double y1, int width,
                   int height) noexcept {
  SaveView(v);
  v.View.ViewWidth = width;
  v.View.ViewHeight = height;
  const double sx = v.View.ViewWidth / FlooredSide(x0, x1);
  const double sy = v.View.ViewHeight / FlooredSide(y0, y1);
  v.View.ViewScale = sx < sy ? sx : sy;
  CentreAt(v.View, (x0 + x1) / 2.0, (y0 + y1) / 2.0, width, height);
}

void ZoomViewOutAround(TWindowViews& v, double x0, double y0, double x1, double y1, int width,
                       int height) noexcept {
  SaveView(v);
  v.View.ViewWidth = width;
  v.View.ViewHeight = height;
  const double vw = v.View.ViewRight - v.View.ViewLeft;
  const double vh = v.View.ViewTop - v.View.ViewBottom;
  // Twice the view's size, reached through the box's size as the host computes it, so that
  // the last bits of the scale agree.
  const double bw = FlooredSide(x0, x1);
  const double bh = FlooredSide(y0, y1);
  const double sx = v.View.ViewWidth / (bw * (vw / bw) * 2.0);
  const double sy = v.View.ViewHeight / (bh * (vh / bh) * 2.0);
  v.View.ViewScale = sx < sy ? sx : sy;
  CentreAt(v.View, (x0 + x1) / 2.0, (y0 + y1) / 2.0, width, height);
}

void CentreViewOnPoint(TWindowViews& v, double x, double y, int width, int height) noexcept {
  SaveView(v);
  v.View.ViewWidth = width;
  v.View.ViewHeight = height;
  const double dx = x - (v.View.ViewLeft + v.View.ViewRight) / 2.0;
  const double dy = y - (v.View.ViewBottom + v.View.ViewTop) / 2.0;
  v.View.ViewLeft += dx;
  v.View.ViewRight += dx;
  v.View.ViewBottom += dy;
  v.View.ViewTop += dy;
}

void SwapWithPreviousView(TWindowViews& v) noexcept {
  const double scale = v.View.ViewScale, left = v.View.ViewLeft, bottom = v.View.ViewBottom,
               right = v.View.ViewRight, top = v.View.ViewTop;
  v.View.ViewScale = v.SavedView.ViewScale;
  v.View.ViewLeft = v.SavedView.ViewLeft;
  v.View.ViewBottom = v.SavedView.ViewBottom;
  v.View.ViewRight = v.SavedView.ViewRight;
  v.View.ViewTop = v.SavedView.ViewTop;
  v.SavedView.ViewScale = scale;
  v.SavedView.ViewLeft = left;
  v.SavedView.ViewBottom = bottom;
  v.SavedView.ViewRight = right;
  v.SavedView.ViewTop = top;
}

void AdjustViewToPreviewSize(TWindowViews& v, int width, int height) noexcept {
  v.View.ViewWidth = width;
  v.View.ViewHeight = height;
  if (!(v.View.ViewScale > 0.0)) return;  // no view yet
  CentreViewOn(v.View, (v.View.ViewLeft + v.View.ViewRight) / 2.0,
               (v.View.ViewBottom + v.View.ViewTop) / 2.0);
}

void TNavigation::ZoomAt(int screenX, int screenY, double f) {
  TWindowViews& v = views_;
  const TPreviewPlace place = host_.PreviewPlace();
  const double px = static_cast<double>(screenX) - place.OriginX - place.Left;
  const double py = static_cast<double>(screenY) - place.OriginY - place.Top;
  ZoomViewAt(v, px, py, f);
  host_.Redraw();
}

bool TNavigation::KeyDown(TNavKey key, bool shift) {
  TWindowViews& v = views_;
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
      SaveView(v);
      CentreViewOn(v.View, (extents_.Left + extents_.Right) / 2.0,
                   (extents_.Bottom + extents_.Top) / 2.0);
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
  TWindowViews& v = views_;
  SaveView(v);
  double stepX = std::fabs(v.View.ViewRight - v.View.ViewLeft) / 2.0;
  double stepY = std::fabs(v.View.ViewTop - v.View.ViewBottom) / 2.0;
  if (shift) {
    stepX /= 5.0;
    stepY /= 5.0;
  }
  switch (key) {
    case TNavKey::Left:
      v.View.ViewLeft -= stepX;
      v.View.ViewRight -= stepX;
      break;
    case TNavKey::Right:
      v.View.ViewLeft += stepX;
      v.View.ViewRight += stepX;
      break;
    case TNavKey::Up:
      v.View.ViewBottom += stepY;
      v.View.ViewTop += stepY;
      break;
    default:
      v.View.ViewBottom -= stepY;
      v.View.ViewTop -= stepY;
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
  TWindowViews& v = views_;
  // Both points in the view as it was before any change.
  const double x0 = PixelToWorldX(v, PressX), y0 = PixelToWorldY(v, PressY);
  const double x1 = PixelToWorldX(v, x), y1 = PixelToWorldY(v, y);
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
    SaveView(v);
    v.View.ViewLeft += x0 - x1;
    v.View.ViewRight += x0 - x1;
    v.View.ViewBottom += y0 - y1;
    v.View.ViewTop += y0 - y1;
    host_.Redraw();
  }
}

void TNavigation::TwoButtonRelease(double x0, double y0, double x1, double y1) {
  TWindowViews& v = views_;
  const TPreviewPlace place = host_.PreviewPlace();
  const double t = v.View.ViewPixels(TDesignLengths::ClickTolerance) / v.View.ViewScale;
  if (std::fabs(x1 - x0) <= t || std::fabs(y1 - y0) <= t) {
    CentreViewOnPoint(v, x0, y0, place.Width, place.Height);  // a click re-centres
    host_.Redraw();
  } else if (x0 < x1 && y0 > y1) {  // right and down on the screen
    ZoomViewToBox(v, x0, y0, x1, y1, place.Width, place.Height);
    host_.Redraw();
  } else if (x0 > x1 && y0 < y1) {  // left and up
    ZoomViewOutAround(v, x0, y0, x1, y1, place.Width, place.Height);
    host_.Redraw();
  } else if (x0 < x1 && y0 < y1) {  // right and up
    host_.FitAll();
  } else {  // left and down
    SwapWithPreviousView(v);
    host_.Redraw();
  }
}

void TNavigation::DrawRubberBand() {
  host_.PaintOnPreview([this](TCanvas& c) {
    SetXorPen(c);
    SetPlainPen(c, RgbColor(0, 255, 255), 0, views_.View.ViewPixels(TDesignLengths::RubberBandPen));
    SetPlainBrush(c, 0, 0);
    DrawPixelBox(c, BandX1, BandY1, BandX2, BandY2);
  });
}

}  // namespace sxf
