#pragma once
// The main window: the preview, the splitter, the side panel with the drawing's file name,
// the line-type tally grid and the help text, and the status strip. It reads JWC_TEMP.TXT
// from the program's folder when it is first shown and writes the settings file when it is
// closed. What the window does is TFormBehaviour's; this class turns Qt's events into its
// calls and answers its questions with Qt's widgets and images.
//
// Controls keep their form names; geometry is in pixels relative to the parent's client area.

#include <QElapsedTimer>
#include <QImage>
#include <QMargins>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "form/Form.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;
class QMouseEvent;
class QWheelEvent;

namespace sxf {

class TPaintBox;
class TSplitterBar;

// Where the window finds its drawing and keeps its settings.
struct TProgramLocation {
  std::string Folder;        // with its trailing separator
  std::string SettingsFile;  // the program file's name with ".dat"
};

class TQtCanvas;

class TForm1 : public QWidget, private TFormFrontEnd {
 public:
  // Design values of the form.
  static constexpr int kStatusHeight = TDesignLengths::StatusHeight;
  static constexpr int kPanelMinSize =
      kMinSplitterSide;  // neither side of the splitter gets narrower

  explicit TForm1(TProgramLocation location, QWidget* parent = nullptr);
  ~TForm1() override;
  // The drawing file (UTF-8) shown at start instead of JWC_TEMP.TXT.
  void OpenAtStart(std::string utf8) { Form.SetStartFile(std::move(utf8)); }

  // ---- Controls ----
  QLabel* LabelA1 = nullptr;
  TPaintBox* PaintBox1 = nullptr;
  TSplitterBar* Splitter1 = nullptr;
  QFrame* Panel2 = nullptr;
  QFrame* Panel3 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QTableWidget* StringGrid1 = nullptr;
  QLineEdit* EditA = nullptr;

  // ---- Window state: the form's own, under the names the window has always had ----
  TFormBehaviour Form;
  TWindowSettings& Settings = Form.Settings;  // WinLeft .. WinPanelWidth
  bool& Shown = Form.Shown;
  // The navigation and its gesture state (ZoomFactor, ButtonFlags, PressX/Y, the band,
  // DragImageValid).
  TNavigation& Nav = Form.Nav;
  // F3 / Shift+F3 and double clicks on the grid's counts walk through the marked entities.
  TMarkWalk& MarkWalk = Form.MarkWalk;
  void StringGrid1DblClick(int row, int column) { Form.StringGrid1DblClick(row, column); }
  std::optional<QImage> ViewImage;
  std::optional<QImage> DragImage;

  const TTallyGrid& Tally() const noexcept { return Form.Tally(); }

  // Called when the preview's first drawing begins, after the first paint of the window has
  // put everything else on the screen (start-up measurements).
  std::function<void()> BeforeFirstDrawing;

  // Width of the side panel; the splitter and the settings change it.
  void SetPanelWidth(int width) override;

  // The form's key preview: every key reaches it before the focused control. Returns true
  // when the key was handled and must not reach the control.
  bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
  // Any wheel turn over the form. Returns true when handled (the cursor was over the preview).
  bool FormMouseWheel(const QWheelEvent& event);

  // Fits the whole drawing into the preview, then draws it.
  void FitAll() { Form.FitAll(); }
  // Draws the drawing in the current view into the preview and keeps a copy in ViewImage.
  void Redraw() { Form.Redraw(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateControls();
  void LayoutControls();
  // The grid's height with all its rows, its frame and, when its columns are wider than
  // width, its horizontal scroll bar.
  int GridWantedHeight(int width) const;
  // Outer window rectangle (frame included) where the platform knows it.
  QRect OuterGeometry() const;
  // Puts the frame's top-left corner at the rectangle's and sizes the client area so that the
  // frame has the rectangle's size, with the frame margins known so far.
  void SetOuterGeometry(const QRect& outer);
  QMargins FrameMargins() const;
  // Until the frame has the stored rectangle: the window manager frames the window some time
  // after it is mapped, and only then are the frame's margins known.
  void ContinuePlacement();
  // The least client size that gives the frame the least window size.
  void ApplyMinimumSize();
  // The status strip: the status caption, or the read notice (red when it is an alert).
  void ShowStatus();
  void AlignStatus();

  // ---- TFormFrontEnd ----
  TWindowRect WindowRect() const override;
  void SetWindowRect(const TWindowRect& r) override;
  int PanelWidth() const override { return panelWidth_; }
  void SetFileNameCaption(const std::string& sjis) override;
  void SetStatusCaption(const std::string& sjis) override;
  void SetReadNotice(const std::string& sjis, bool alert) override;
  bool JapaneseMessages() const override;
  int PreviewDpi() const override;
  void ShowTally(const TTallyGrid& grid) override;
  void ShowLineTypeNames(const std::array<std::string, kUserLineTypes>& sjis) override;
  void ScreenSizeAt(int x, int y, int& width, int& height) const override;
  void ResizeWindow(int width, int height) override;
  int PreviewWidth() const override;
  int PreviewHeight() const override;
  TCanvas& BeginPreviewDrawing() override;
  std::vector<TCanvas*> BeginBandedPreviewDrawing(std::span<const TBand> bands) override;
  void EndPreviewDrawing() override;
  void ShowPreviewProgress() override;
  bool HasViewImage() const override { return ViewImage.has_value(); }
  bool StoreViewImage() override;
  void DrawViewImage() override;
  void FreeImages() override;
  bool QueueFirstDrawing() override;
  TPreviewPlace PreviewPlace() const override;
  void CursorPos(int& x, int& y) const override;
  void FocusEditA() override;
  void PaintOnPreview(const std::function<void(TCanvas&)>& draw) override;
  bool TakeDragImage() override;
  void FreeDragImage() override;
  void ShowDragImageAt(int x, int y) override;
  std::string MessageTextOfFileName(const std::string& utf8) const override;

  // ---- Handing over (app/HandOver.cpp) ----
  bool PutOnClipboard(const std::string& utf8) override;
  std::string AskSaveFileName(const std::string& folder, const std::string& name) override;
  std::string AskOpenFileName(const std::string& folder) override;
  bool FileExists(const std::string& utf8) const override;
  std::unique_ptr<TRasterSurface> CreatePictureSurface(int width, int height) override;
  std::string Utf8OfShiftJis(const std::string& sjis) const override;
  void HighlightTallyCell(int row, int column) override;
  void ShowBusy(bool busy) override;
  // The side panel's context menu (the grid and the help text): the three hand-over actions.
  void InstallHandOverMenu();
  void ShowHandOverMenu(QWidget* over, const QPoint& at);
  int highlightRow_ = -1, highlightColumn_ = -1;

  int panelWidth_ = 201;
  QString status_, notice_;
  bool noticeAlert_ = false;
  int splitterStartWidth_ = 201;
  bool resizing_ = false;
  bool drawingQueued_ = false;
  // While the preview is drawn: the canvas over its surface.
  std::unique_ptr<TQtCanvas> canvas_;
  std::vector<std::unique_ptr<TQtCanvas>> bandCanvases_;
  // The stored outer rectangle being applied after show; the window manager may delay it.
  static constexpr qint64 kPlacementMilliseconds = 3000;
  QRect placement_;
  bool placing_ = false;
  bool windowManager_ = false;               // one frames the window after it is mapped
  std::optional<QMargins> expectedMargins_;  // its frame, as it said before mapping
  QElapsedTimer placementTimer_;
};

// The caption and application title.
QString ApplicationTitle();

}  // namespace sxf
