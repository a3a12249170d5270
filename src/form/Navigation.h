#pragma once
// View navigation of the preview, without a toolkit: zoom by wheel and keys, panning by keys
// and by dragging with the middle button, the two-button gestures with their XOR band, and the
// view's adjustment when the preview changes size. It works on the window's view and the one
// before it (world units, y up; ViewScale in pixels per world unit); each front end turns its
// events into calls of TNavigation and lends it the services of TNavigationHost.
//
// Positions: screen pixels for the wheel and the cursor; preview pixels (origin at the
// preview's top-left corner, y down) for the mouse buttons.

#include <functional>

#include "globals/View.h"
#include "util/WorldBox.h"

namespace sxf {

class TCanvas;

// Bits of a mouse press's shift state, as ButtonFlags collects them. Only the three buttons
// are acted on.
inline constexpr int kShiftLeftButton = 1;
inline constexpr int kShiftRightButton = 2;
inline constexpr int kShiftMiddleButton = 4;
inline constexpr int kShiftDoubleClick = 8;
inline constexpr int kShiftShiftKey = 16;
inline constexpr int kShiftAltKey = 32;
inline constexpr int kShiftCtrlKey = 64;

enum class TNavKey { PageUp, PageDown, Insert, End, Home, Left, Right, Up, Down, Escape, Other };

// Where the preview is on the screen: the form's client origin and the preview's rectangle
// inside the client area, in pixels.
struct TPreviewPlace {
  int OriginX = 0, OriginY = 0;
  int Left = 0, Top = 0, Width = 0, Height = 0;

  // Both ends inclusive: a point on the pixel just right of or below the preview is inside.
  bool ContainsScreenPoint(int x, int y) const noexcept;
};

// What navigation needs from the window.
class TNavigationHost {
 public:
  virtual ~TNavigationHost() = default;
  virtual TPreviewPlace PreviewPlace() const = 0;
  // The mouse cursor in screen pixels.
  virtual void CursorPos(int& x, int& y) const = 0;
  // Draws the drawing in the current view and stores the picture.
  virtual void Redraw() = 0;
  // Saves the view, fits the whole drawing into the preview, and redraws.
  virtual void FitAll() = 0;
  virtual void FocusEditA() = 0;
  // Lets draw paint on the preview's stored surface, then puts the surface on the screen.
  virtual void PaintOnPreview(const std::function<void(TCanvas&)>& draw) = 0;
  // DragImage: a copy of the preview's pixels on screen. False when it could not be made.
  virtual bool TakeDragImage() = 0;
  virtual void FreeDragImage() = 0;
  // Clears the preview to the background and shows DragImage with its top-left corner at
  // (x, y) preview pixels.
  virtual void ShowDragImageAt(int x, int y) = 0;
};

// The window's view and the previous one, which the navigation's "back" gesture returns to.
// Saving and swapping concern the scale and the edges; the size and the dpi stay the view's.
struct TWindowViews {
  TView View;
  TView SavedView;
};

// ---- Operations on the window's views (each but the swap and the resize saves the view) ----

// The previous view := the view.
void SaveView(TWindowViews& v) noexcept;
// Scales by f about the preview pixel (px, py): the world point there stays there.
void ZoomViewAt(TWindowViews& v, double px, double py, double f) noexcept;
// Fits the box spanned by the two world points into a preview of width x height pixels, no
// margin; each side of the box is at least 0.001.
void ZoomViewToBox(TWindowViews& v, double x0, double y0, double x1, double y1, int width,
                   int height) noexcept;
// Halves the scale of the current view, centred on the middle of the two world points.
void ZoomViewOutAround(TWindowViews& v, double x0, double y0, double x1, double y1, int width,
                       int height) noexcept;
// Moves the view so that the world point is its centre; the scale stays.
void CentreViewOnPoint(TWindowViews& v, double x, double y, int width, int height) noexcept;
// Current and previous view change places.
void SwapWithPreviousView(TWindowViews& v) noexcept;
// Keeps the centre and the scale for a preview of the new size; the previous view stays.
void AdjustViewToPreviewSize(TWindowViews& v, int width, int height) noexcept;
// The world point under preview pixel (px, py).
double PixelToWorldX(const TWindowViews& v, int px) noexcept;
double PixelToWorldY(const TWindowViews& v, int py) noexcept;

// The form's navigation: the key, wheel and mouse rules and the gesture state.
class TNavigation {
 public:
  // views and extents (the drawing's box) belong to the window and outlive the navigation.
  TNavigation(TNavigationHost& host, TWindowViews& views, const TWorldBox& extents)
      : host_(host), views_(views), extents_(extents) {}

  // Mouse gesture state, as the form keeps it.
  double ZoomFactor = 1.5;
  int ButtonFlags = 0;
  int PressX = 0, PressY = 0;
  bool BandShown = false;
  int BandX1 = 0, BandY1 = 0, BandX2 = 0, BandY2 = 0;
  bool DragImageValid = false;

  // The form's key preview. True when the key was handled and must reach no control.
  bool KeyDown(TNavKey key, bool shift);
  // Wheel towards the user (down) zooms in about the cursor. True when handled: the cursor
  // was over the preview.
  bool MouseWheel(bool down, int screenX, int screenY);
  // Preview pixels; shiftState holds the kShift... bits of the press.
  void MouseDown(int x, int y, int shiftState);
  void MouseMove(int x, int y);
  void MouseUp(int x, int y);

  // Scale times f about a point on the screen.
  void ZoomAt(int screenX, int screenY, double f);
  // Draws the band (BandX1, BandY1)-(BandX2, BandY2) in XOR: twice erases it.
  void DrawRubberBand();

 private:
  void PanByKey(TNavKey key, bool shift);
  void TwoButtonRelease(double x0, double y0, double x1, double y1);

  TNavigationHost& host_;
  TWindowViews& views_;
  const TWorldBox& extents_;
};

}  // namespace sxf
