#pragma once
// The main window on the Windows API: the preview (Win32PaintBox), the splitter
// (Win32SplitterBar), the side panel with the file name, the tally grid (Win32TallyGrid) and
// the help text, the status strip and the hidden focus holder. What the window does lives in
// TFormBehaviour; this class only turns window messages into its calls and answers its
// questions.

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "form/Form.h"
#include "platform/win32/DibCanvas.h"
#include "platform/win32/DibSurface.h"
#include "platform/win32/WindowsApi.h"
#include "win32app/Win32PaintBox.h"
#include "win32app/Win32SplitterBar.h"
#include "win32app/Win32TallyGrid.h"

namespace sxf {

// The window works in the screen's pixels at the dpi of its monitor (it is per-monitor DPI
// aware): every design length of form/DisplayScale.h is scaled by that dpi, and the window lays
// itself out, makes its font and draws its preview anew when it moves to a monitor of another
// scale.
class TWin32Form final : public TFormFrontEnd {
 public:
  TWin32Form(HINSTANCE instance, std::string programFolder, std::string settingsFile);
  ~TWin32Form() override;
  TWin32Form(const TWin32Form&) = delete;
  TWin32Form& operator=(const TWin32Form&) = delete;

  // The drawing file (UTF-8) shown at start instead of JWC_TEMP.TXT; before Create.
  void OpenAtStart(std::string utf8) { form_.SetStartFile(std::move(utf8)); }
  // Creates the window and its controls (hidden), runs FormCreate and FormShow, shows it.
  bool Create(int showCommand);
  HWND Handle() const noexcept { return Form1; }
  TFormBehaviour& Behaviour() noexcept { return form_; }

  // The form's key preview and wheel, for the message loop before it dispatches: true when
  // the message was handled and must reach no control. Keys and the wheel count wherever the
  // focus is inside the form.
  bool PreviewMessage(const MSG& msg);

  // ---- Controls, by their form names ----
  HWND Form1 = nullptr;
  HWND LabelA1 = nullptr;
  HWND PaintBox1 = nullptr;
  HWND Splitter1 = nullptr;
  HWND Panel2 = nullptr;
  HWND Panel3 = nullptr;
  HWND Label1 = nullptr;
  HWND Label2 = nullptr;
  HWND Memo1 = nullptr;
  HWND StringGrid1 = nullptr;
  HWND EditA = nullptr;

  // ---- TFormFrontEnd ----
  TWindowRect WindowRect() const override;
  void SetWindowRect(const TWindowRect& r) override;
  int PanelWidth() const override { return panelWidth_; }
  void SetPanelWidth(int width) override;
  void SetFileNameCaption(const std::string& sjis) override;
  void SetStatusCaption(const std::string& sjis) override;
  void SetReadNotice(const std::string& sjis, bool alert) override;
  bool JapaneseMessages() const override;
  std::string MessageTextOfFileName(const std::string& utf8) const override;
  int WindowDpi() const override { return dpi_; }
  int PreviewDpi() const override { return dpi_; }
  void ShowTally(const TTallyGrid& grid) override;
  void ScreenSizeAt(int x, int y, int& width, int& height) const override;
  void ResizeWindow(int width, int height) override;
  int PreviewWidth() const override;
  int PreviewHeight() const override;
  TCanvas& BeginPreviewDrawing() override;
  std::vector<TCanvas*> BeginBandedPreviewDrawing(std::span<const TBand> bands) override;
  void EndPreviewDrawing() override;
  void ShowPreviewProgress() override;
  bool QueueFirstDrawing() override;
  bool HasViewImage() const override { return viewImage_ != nullptr; }
  bool StoreViewImage() override;
  void DrawViewImage() override;
  void FreeImages() override;
  TPreviewPlace PreviewPlace() const override;
  void CursorPos(int& x, int& y) const override;
  void FocusEditA() override;
  void PaintOnPreview(const std::function<void(TCanvas&)>& draw) override;
  bool TakeDragImage() override;
  void FreeDragImage() override;
  void ShowDragImageAt(int x, int y) override;

  // ---- Handing over (Win32HandOver.cpp) ----
  bool PutOnClipboard(const std::string& utf8) override;
  std::string AskSaveFileName(const std::string& folder, const std::string& name) override;
  std::string AskOpenFileName(const std::string& folder) override;
  bool FileExists(const std::string& utf8) const override;
  std::unique_ptr<TRasterSurface> CreatePictureSurface(int width, int height) override;
  std::string Utf8OfShiftJis(const std::string& sjis) const override;
  void HighlightTallyCell(int row, int column) override;
  void ShowBusy(bool busy) override;

 private:
  static LRESULT CALLBACK FormProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK PanelProc(HWND, UINT, WPARAM, LPARAM);
  static bool RegisterClasses(HINSTANCE instance);

  LRESULT OnFormMessage(UINT msg, WPARAM wp, LPARAM lp);
  HBRUSH ControlBrush(HWND control, HDC dc);

  // A design length in the window's pixels.
  int Px(int length) const noexcept { return DesignPixels(length, dpi_); }
  void CreateControls();
  void LayoutControls();
  // The form's font at the window's dpi, given to every control; the labels and the status
  // strip sized to it.
  void ApplyFont();
  // The status strip's height: its font's cell with a margin above and below, and never
  // lower than its design height.
  int StatusHeight() const noexcept { return statusHeight_; }
  void SizeFileNameLabel();
  // A move to a monitor of newDpi: suggested is the rectangle the system proposes for it.
  void DpiChanged(int newDpi, const RECT& suggested);
  // A copy of the preview's pixels; null when there are none or no copy can be had.
  std::unique_ptr<TDibSurface> CopyOfSurface();
  // The status strip: the status caption, or the read notice (red when it is an alert).
  void ShowStatus();
  bool StatusAlert() const;

  void PaintBox1MouseDown(WPARAM buttons, int x, int y, bool doubleClick);
  // WM_CONTEXTMENU from source: the hand-over menu over the side panel; false elsewhere.
  bool ShowHandOverMenu(HWND source, LPARAM lp);

  HINSTANCE instance_;
  TFormBehaviour form_;
  int panelWidth_ = 201;
  int dpi_ = kDesignDpi;
  bool resizing_ = false;
  bool placing_ = false;  // SetWindowRect is putting the window where the settings say
  bool closed_ = false;
  bool drawingQueued_ = false;  // a kQueuedDrawingMessage is on its way

  TWin32PaintBox paintBox_;
  TWin32SplitterBar splitter_;
  TWin32TallyGrid tallyGrid_;
  HCURSOR cursorBeforeBusy_ = nullptr;  // put back when the copy or save is done
  std::unique_ptr<TDibCanvas> canvas_;  // over the paint box's surface while a drawing runs
  std::vector<std::unique_ptr<TDibCanvas>> bandCanvases_;  // or one per band of it
  std::unique_ptr<TDibSurface> viewImage_;
  std::unique_ptr<TDibSurface> dragImage_;  // the preview's pixels as a middle-button drag began

  std::string status_, notice_;  // Shift-JIS
  std::wstring fileName_;        // Label2's caption
  bool noticeAlert_ = false;
  int splitterStartWidth_ = 0;  // the panel's width as the splitter was pressed

  HFONT font_ = nullptr;
  int statusHeight_ = TDesignLengths::StatusHeight;  // pixels, ApplyFont's
  HBRUSH statusBrush_ = nullptr;
  HBRUSH memoBrush_ = nullptr;
  HBRUSH whiteBrush_ = nullptr;
  HBRUSH creamBrush_ = nullptr;
};

}  // namespace sxf
