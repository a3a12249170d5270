#pragma once
// The main window on the Windows API: the preview (PaintBox1) drawn through GDI into a DIB
// section that stands for its pixels on screen, the splitter, the side panel with the file
// name, the tally grid (drawn by hand) and the help text, the status strip and the hidden
// focus holder. What the window does lives in TFormBehaviour; this class only turns window
// messages into its calls and answers its questions.

#include <array>
#include <memory>
#include <string>

#include "form/Form.h"
#include "platform/win32/DibSurface.h"
#include "platform/win32/DibCanvas.h"
#include "platform/win32/WindowsApi.h"

namespace sxf {

class TWin32Form final : public TFormFrontEnd {
 public:
  static constexpr int kStatusHeight = 24;
  static constexpr int kSplitterWidth = 3;
  static constexpr int kPanelMinSize = 30;  // neither side of the splitter gets narrower

  TWin32Form(HINSTANCE instance, std::string programFolder, std::string settingsFile);
  ~TWin32Form() override;
  TWin32Form(const TWin32Form&) = delete;
  TWin32Form& operator=(const TWin32Form&) = delete;

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
  void ShowTally(const TTallyGrid& grid) override;
  void ScreenSizeAt(int x, int y, int& width, int& height) const override;
  void ResizeWindow(int width, int height) override;
  int PreviewWidth() const override;
  int PreviewHeight() const override;
  TCanvas& BeginPreviewDrawing() override;
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

 private:
  static LRESULT CALLBACK FormProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK PaintBoxProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK SplitterProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK PanelProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK GridProc(HWND, UINT, WPARAM, LPARAM);
  static bool RegisterClasses(HINSTANCE instance);

  LRESULT OnFormMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnPaintBoxMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnSplitterMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnGridMessage(UINT msg, WPARAM wp, LPARAM lp);
  HBRUSH ControlBrush(HWND control, HDC dc);

  void CreateControls();
  void LayoutControls();
  void EnsureSurface();
  void ShowSurface(HDC target);
  void PaintGrid(HDC dc);
  void ScrollGrid(int bar, WPARAM wp);
  void UpdateGridScrollBars();
  int GridColumnWidth(int column) const noexcept { return columnWidths_[static_cast<std::size_t>(column)]; }
  // The status strip: the status caption, or the read notice (red when it is an alert).
  void ShowStatus();
  bool StatusAlert() const;
  // The grid cell under client pixel (x, y); false outside every cell.
  bool GridCellAt(int x, int y, int& column, int& row) const;

  void PaintBox1MouseDown(WPARAM wp, LPARAM lp, bool doubleClick);

  HINSTANCE instance_;
  TFormBehaviour form_;
  int panelWidth_ = 201;
  bool resizing_ = false;
  bool closed_ = false;
  bool drawingQueued_ = false;  // a kQueuedDrawingMessage is on its way

  std::unique_ptr<TDibSurface> surface_;  // PaintBox1's pixels
  std::unique_ptr<TDibCanvas> canvas_;    // over surface_ while a drawing runs
  std::unique_ptr<TDibSurface> viewImage_;
  std::unique_ptr<TDibSurface> dragImage_;  // the preview's pixels as a middle-button drag began

  TTallyGrid grid_;
  std::array<int, kTallyColumns> columnWidths_{24, 44, 44, 44, 44, 44, 44, 44};  // pixels
  std::string status_, notice_;  // Shift-JIS
  bool noticeAlert_ = false;
  int gridTopRow_ = 1;   // first scrolled row shown below the fixed row
  int gridLeftCol_ = 1;  // first scrolled column shown right of the fixed column

  int splitterStartX_ = 0;
  int splitterStartWidth_ = 0;

  HFONT font_ = nullptr;
  HBRUSH statusBrush_ = nullptr;
  HBRUSH memoBrush_ = nullptr;
  HBRUSH whiteBrush_ = nullptr;
  HBRUSH creamBrush_ = nullptr;
};

}  // namespace sxf
