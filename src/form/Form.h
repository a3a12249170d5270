#pragma once
// What the main window does, without a toolkit: creation, show, resize, close, the paint of
// the preview, fit-all and redraw, the key preview, the wheel, the mouse over the preview and
// the walk through the marks. A front end (Qt, Win32) owns the controls and the pixels; it
// turns its events into calls of TFormBehaviour and answers the questions of TFormFrontEnd.
//
// Sizes and positions are pixels; the window rectangle is the outer one (frame included).

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "form/DisplayScale.h"
#include "form/MarkWalk.h"
#include "form/Navigation.h"
#include "form/WindowMessages.h"
#include "form/WindowSettings.h"
#include "model/DrawingFiles.h"
#include "graphics/Canvas.h"
#include "preview/PreviewPicture.h"
#include "render/Bands.h"
#include "search/LineTypeTally.h"

namespace sxf {

struct TWindowRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TWindowRect&, const TWindowRect&) = default;
};

// The toolkit's codes of the keys the form acts on (Qt::Key_..., VK_...).
struct TFormKeyCodes {
  int PageUp, PageDown, Insert, End, Home, Left, Right, Up, Down, Escape, F3, F1;
  int C, S;  // with Ctrl: copy, save
  int O;     // with Ctrl: open a drawing file
  int F5;    // search the drawing file the host's file names, blocks included
};

// A mouse press as the toolkit reports it; MouseShiftState turns it into the kShift... bits.
struct TMousePress {
  bool Left = false, Right = false, Middle = false;  // buttons down, this one included
  bool DoubleClick = false;
  bool Shift = false, Alt = false, Ctrl = false;
};
int MouseShiftState(const TMousePress& press) noexcept;

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
  // What became of reading the drawing. The status strip shows it whenever the status caption
  // is empty, in red when alert is set; empty text shows nothing.
  virtual void SetReadNotice(const std::string& sjis, bool alert) = 0;
  // True when the user's language is Japanese: the messages are then in Japanese.
  virtual bool JapaneseMessages() const = 0;
  // A UTF-8 file or folder name as Shift-JIS, for a message (characters it lacks as '?').
  virtual std::string MessageTextOfFileName(const std::string& utf8) const { return utf8; }
  // Pixels per inch of the window's rectangle, sizes and minimums (form/DisplayScale.h): the
  // screen's where the window lays itself out in the screen's pixels, 96 where the toolkit
  // scales the window's design lengths itself.
  virtual int WindowDpi() const { return kDesignDpi; }
  // Pixels per inch of the preview's pixels: the marks, the origin cross and the gestures'
  // thresholds scale by it.
  virtual int PreviewDpi() const { return kDesignDpi; }
  virtual void ShowTally(const TTallyGrid& grid) = 0;
  // The names (Shift-JIS) and pitches of the user line types 17..32 as the drawing file
  // defines them, for the grid's row headings; empty texts where it names none.
  virtual void ShowLineTypeNames(const std::array<std::string, kUserLineTypes>& sjis) {
    (void)sjis;
  }
  // Width and height of the screen that holds the point (the primary one when none does).
  virtual void ScreenSizeAt(int x, int y, int& width, int& height) const = 0;
  // After a resize below the minimum: only the size changes, the frame's corner stays.
  virtual void ResizeWindow(int width, int height) = 0;

  // ---- Preview ----
  virtual int PreviewWidth() const = 0;
  virtual int PreviewHeight() const = 0;
  // The canvas over the preview's pixels; valid until EndPreviewDrawing.
  virtual TCanvas& BeginPreviewDrawing() = 0;
  // Canvases for the bands of the preview (render/Bands.h), in their order, each writing only
  // its band's rows, for drawing on several threads; or the one canvas of BeginPreviewDrawing
  // where the front end draws on one thread only. Valid until EndPreviewDrawing.
  virtual std::vector<TCanvas*> BeginBandedPreviewDrawing(std::span<const TBand> bands) {
    (void)bands;
    return {&BeginPreviewDrawing()};
  }
  virtual void EndPreviewDrawing() = 0;
  // ViewImage: the stored copy of the last drawn preview. StoreViewImage copies the
  // preview's pixels into it (false when that failed: it is then absent); DrawViewImage
  // puts it on the preview at (0, 0).
  virtual bool HasViewImage() const = 0;
  virtual bool StoreViewImage() = 0;
  virtual void DrawViewImage() = 0;
  virtual void FreeImages() = 0;  // ViewImage and DragImage
  // Asked by the first paint, when nothing is drawn yet: true when the front end calls
  // DrawQueuedPicture a little later, once the rest of the window (the panel, the grid, the
  // help text) is on the screen; false draws now.
  virtual bool QueueFirstDrawing() { return false; }
  // While a drawing goes on, every kProgressMilliseconds: puts the preview's pixels drawn so
  // far on the screen. No window message may be handled meanwhile.
  virtual void ShowPreviewProgress() {}

  // ---- Navigation's window services (as TNavigationHost declares them) ----
  virtual TPreviewPlace PreviewPlace() const = 0;
  virtual void CursorPos(int& x, int& y) const = 0;
  virtual void FocusEditA() = 0;
  virtual void PaintOnPreview(const std::function<void(TCanvas&)>& draw) = 0;
  virtual bool TakeDragImage() = 0;
  virtual void FreeDragImage() = 0;
  virtual void ShowDragImageAt(int x, int y) = 0;

  // ---- Handing over: the clipboard, the save dialog, the picture file ----
  // Puts the text (UTF-8, lines ending in '\n') on the clipboard; false when the clipboard
  // cannot be had.
  virtual bool PutOnClipboard(const std::string& utf8) {
    (void)utf8;
    return false;
  }
  // The platform's save dialog for a PNG picture, opened in folder with name offered (both
  // UTF-8): the name chosen, with its folder (UTF-8); empty when the user cancelled.
  virtual std::string AskSaveFileName(const std::string& folder, const std::string& name) {
    (void)folder;
    (void)name;
    return {};
  }
  // A width x height off-screen picture: the platform's surface the report draws its PNG on;
  // none when it cannot be had.
  virtual std::unique_ptr<TRasterSurface> CreatePictureSurface(int width, int height) {
    (void)width;
    (void)height;
    return nullptr;
  }
  // The platform's open dialog for a drawing file (.jww, .jws), opened in folder (UTF-8): the
  // file chosen (UTF-8); empty when the user cancelled.
  virtual std::string AskOpenFileName(const std::string& folder) {
    (void)folder;
    return {};
  }
  // True when a regular file is there (name in UTF-8).
  virtual bool FileExists(const std::string& utf8) const {
    (void)utf8;
    return false;
  }
  virtual std::string Utf8OfShiftJis(const std::string& sjis) const { return sjis; }
  // The wait cursor over the window while a copy or a save works (true), then the cursor as
  // it was (false); every true is followed by one false.
  virtual void ShowBusy(bool busy) { (void)busy; }
  // Sets grid cell (row, column) apart from the others, or none for -1; one cell at a time.
  virtual void HighlightTallyCell(int row, int column) {
    (void)row;
    (void)column;
  }
};

class TFormBehaviour {
 private:
  // Navigation's host: the front end's window services, the form's drawing.
  class TNavHost final : public TNavigationHost {
   public:
    explicit TNavHost(TFormBehaviour& form) : form_(form) {}
    TPreviewPlace PreviewPlace() const override { return form_.ui_.PreviewPlace(); }
    void CursorPos(int& x, int& y) const override { form_.ui_.CursorPos(x, y); }
    void Redraw() override { form_.Redraw(); }
    void FitAll() override { form_.FitAll(); }
    void FocusEditA() override { form_.ui_.FocusEditA(); }
    void PaintOnPreview(const std::function<void(TCanvas&)>& draw) override {
      form_.ui_.PaintOnPreview(draw);
    }
    bool TakeDragImage() override { return form_.ui_.TakeDragImage(); }
    void FreeDragImage() override { form_.ui_.FreeDragImage(); }
    void ShowDragImageAt(int x, int y) override { form_.ui_.ShowDragImageAt(x, y); }

   private:
    TFormBehaviour& form_;
  };

  TFormFrontEnd& ui_;
  TFormKeyCodes keys_;
  TNavHost navHost_{*this};  // before Nav, which keeps a reference to it
  TDrawing drawing_;         // the drawing read at show, read only after
  TWorldBox extents_;        // its box, as fit-all sees it

 public:
  // The program's folder (with its trailing separator) holds JWC_TEMP.TXT; the settings
  // file's full name is given as it is.
  TFormBehaviour(TFormFrontEnd& frontEnd, std::string programFolder, std::string settingsFile,
                 const TFormKeyCodes& keys);
  TFormBehaviour(const TFormBehaviour&) = delete;
  TFormBehaviour& operator=(const TFormBehaviour&) = delete;

  TWindowSettings Settings;
  bool Shown = false;
  // The preview's view and the previous one; the navigation changes them.
  TWindowViews Views;
  // The navigation and its gesture state (ZoomFactor, ButtonFlags, PressX/Y, the band).
  TNavigation Nav;
  // F3 / Shift+F3 and double clicks on the grid's counts walk through the marked entities.
  TMarkWalk MarkWalk;

  const TTallyGrid& Tally() const noexcept { return tally_; }
  const TDrawing& Drawing() const noexcept { return drawing_; }
  const TWorldBox& Extents() const noexcept { return extents_; }
  const TReadNotice& ReadNotice() const noexcept { return notice_; }
  bool Closed() const noexcept { return closed_; }

  // ---- Window events ----
  // A drawing file (UTF-8) to read at show instead of the program folder's JWC_TEMP.TXT: the
  // window started with a path.
  void SetStartFile(std::string utf8);
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
  // The drawing QueueFirstDrawing put off: fit-all, unless a picture was drawn meanwhile or
  // the form is closed.
  void DrawQueuedPicture();
  // Draws the drawing in the current view and stores a copy, showing the picture so far every
  // kProgressMilliseconds. False when the user's break stopped it (the partial picture, with
  // the marks drawn before the break, is stored all the same); the status strip then says so
  // until the next drawing.
  bool Redraw();

  // ---- Keys, wheel and mouse (nothing happens before the form is shown) ----
  // The form's key preview: every key reaches it before the focused control. True when the
  // key was handled and must reach no control.
  bool FormKeyDown(int key, bool shift, bool ctrl = false);
  // A wheel turn anywhere over the form, delta > 0 away from the user; the cursor in screen
  // pixels. True when handled (the cursor was over the preview).
  bool FormMouseWheel(int delta, int screenX, int screenY);
  // Preview pixels; shiftState holds the kShift... bits of the press.
  void PaintBox1MouseDown(int x, int y, int shiftState);
  void PaintBox1MouseMove(int x, int y);
  void PaintBox1MouseUp(int x, int y);

  // ---- The mark walk ----
  // A double click on grid cell (row, column): on a count, walks the marks of that line type
  // and kind; on a row total, that line type; on a column total, that kind; on the grand
  // total, every mark. A cell without marks moves nothing and says so in the status strip.
  void StringGrid1DblClick(int row, int column);
  // One step: the view fitted to the entity, redrawn, the status shown.
  void StepMarkWalk(bool forward);
  // Any other navigation: the walk and its status text end, and the current mark's
  // highlight leaves the picture and the grid.
  void EndMarkWalk();

  // ---- Another drawing (a path dropped on the window, Ctrl+O, F5) ----
  // Reads the drawing file or interchange text at path (UTF-8) in place of the drawing shown,
  // counts it, fits it and draws it; a file that cannot be read says so as JWC_TEMP.TXT would.
  void OpenDrawingFile(const std::string& utf8);
  // Ctrl+O: the open dialog, then the file chosen.
  void AskAndOpenDrawingFile();

  // ---- Handing over (Ctrl+C, Ctrl+Shift+C, Ctrl+S and the side panel's menu) ----
  // The tally table, headings included, as tab-separated lines on the clipboard.
  void CopyTally();
  // The list of marks in walk order, under a heading row, the same way.
  void CopyMarks();
  // Asks for a file name, then writes the picture with its marks at the preview's view and
  // size as PNG, and beside it the tally and the list of marks as CSV; the status strip says
  // what was written or why nothing was.
  void SaveFiles();

 private:
  std::string programFolder_;
  std::string settingsFile_;
  TTallyGrid tally_;
  TReadNotice notice_;
  std::string startFile_;     // UTF-8; empty: the program folder's JWC_TEMP.TXT
  TJwcLoadResult hostLoad_;   // how JWC_TEMP.TXT was read
  std::string savedDrawing_;  // UTF-8: the drawing file F5 searches; empty when none is offered
  bool closed_ = false;
  int keyHelpLine_ = -1;  // the F1 line on show, -1 for none
  // While navigation runs on behalf of a key or the wheel, the walk is about to end: its
  // redraw leaves the highlight out.
  bool walkEnding_ = false;
  bool highlightShown_ = false;  // the stored picture shows the current mark set apart
  bool stoppedShown_ = false;    // the status strip says the last drawing was stopped
  // Runs a navigation step that ends the walk when handled (its redraw without highlight).
  template <typename TStep>
  bool NavigateEndingWalk(TStep&& step);
  // A step of the walk with grid cell (row, column) set apart, or the current mark's own
  // cell for row -1.
  void StepMarkWalkShowing(bool forward, int row, int column);
  // The drawing read becomes the one shown, with its extents and index.
  void TakeDrawing(TDrawing&& drawing);
  // The file name box, the tally, and the read notice with what the strip adds (the blocks'
  // share, the offer of the saved drawing); file: how a drawing file was read, none for the
  // host's interchange file.
  void ShowDrawingFacts(const TDrawingLoad* file);
  // Cells converted for the clipboard and the files.
  std::string Utf8Cell(const std::string& sjis) const { return ui_.Utf8OfShiftJis(sjis); }
};

// The window caption and application title (Shift-JIS).
std::string FormCaption();
// The twelve lines of the side panel's help text (Shift-JIS).
const char* const* FormHelpLines() noexcept;
inline constexpr int kFormHelpLineCount = 12;
// How often a long drawing shows its progress.
inline constexpr int kProgressMilliseconds = 100;

}  // namespace sxf
