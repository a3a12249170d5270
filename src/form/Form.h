#pragma once
// What the main window does, without a toolkit: creation, show, resize, close, the paint of
// the preview, fit-all and redraw. A front end (Qt, Win32) owns the controls and the pixels;
// it turns its events into calls of TFormBehaviour and answers the questions of TFormFrontEnd.
//
// Sizes and positions are pixels; the window rectangle is the outer one (frame included).

#include <string>

#include "form/WindowSettings.h"
#include "graphics/Canvas.h"
#include "search/LineTypeTally.h"

namespace sxf {

struct TWindowRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TWindowRect&, const TWindowRect&) = default;
};

// What the form asks of its front end.
class TFormFrontEnd {
 public:
  virtual ~TFormFrontEnd() = default;

  // ---- Window ----
  virtual TWindowRect WindowRect() const = 0;
  virtual void SetWindowRect(const TWindowRect& r) = 0;
  virtual int PanelWidth() const = 0;
  virtual void SetPanelWidth(int width) = 0;
  // Captions are Shift-JIS.
  virtual void SetFileNameCaption(const std::string& sjis) = 0;
  virtual void SetStatusCaption(const std::string& sjis) = 0;
  virtual void ShowTally(const TTallyGrid& grid) = 0;

  // ---- Preview ----
  virtual int PreviewWidth() const = 0;
  virtual int PreviewHeight() const = 0;
  // The canvas over the preview's pixels; valid until EndPreviewDrawing.
  virtual TCanvas& BeginPreviewDrawing() = 0;
  virtual void EndPreviewDrawing() = 0;
  // ViewImage: the stored copy of the last drawn preview. StoreViewImage copies the
  // preview's pixels into it (false when that failed: it is then absent); DrawViewImage
  // puts it on the preview at (0, 0).
  virtual bool HasViewImage() const = 0;
  virtual bool StoreViewImage() = 0;
  virtual void DrawViewImage() = 0;
  virtual void FreeImages() = 0;  // ViewImage and DragImage
};

class TFormBehaviour {
 public:
  // The program's folder (with its trailing separator) holds JWC_TEMP.TXT; the settings
  // file's full name is given as it is.
  TFormBehaviour(TFormFrontEnd& frontEnd, std::string programFolder, std::string settingsFile);

  TWindowSettings Settings;
  bool Shown = false;
  double ZoomFactor = 1.5;
  int ButtonFlags = 0;
  int PressX = 0, PressY = 0;
  bool BandShown = false;

  const TTallyGrid& Tally() const noexcept { return tally_; }
  bool Closed() const noexcept { return closed_; }

  // ---- Window events ----
  void FormCreate();
  void FormShow();
  // After the window's size changed: enforces the minimum size, keeps the view's centre
  // and scale for the new preview size (nothing is drawn).
  void FormResize();
  // Writes the settings file; once only.
  void FormClose();

  // ---- Preview ----
  // A paint the platform asked for: the stored picture, or the whole drawing at first.
  void PaintBox1Paint();
  void FitAll();
  // Draws the drawing in the current view and stores a copy. False when the user's break
  // stopped it (the partial picture is stored all the same).
  bool Redraw();

 private:
  TFormFrontEnd& ui_;
  std::string programFolder_;
  std::string settingsFile_;
  TTallyGrid tally_;
  bool closed_ = false;
};

// The window caption and application title (Shift-JIS).
std::string FormCaption();
// The twelve lines of the side panel's help text (Shift-JIS).
const char* const* FormHelpLines() noexcept;
inline constexpr int kFormHelpLineCount = 12;

}  // namespace sxf
