#include "form/Form.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "globals/UnitGval.h"
#include "graphics/Primitives.h"
#include "model/JwwGaibu2.h"
#include "preview/Preview.h"
#include "render/DrawingIndex.h"
#include "model/DrawingFiles.h"
#include "search/Extents.h"
#include "render/UserBreak.h"
#include "form/SavedFiles.h"
#include "search/LineTypeMarks.h"
#include "search/ReportRows.h"
#include "util/MyFunc.h"

namespace sxf {

namespace {

constexpr const char* kCaption =
    "vexo_SXF\x83\x86\x81[\x83U\x81[\x90\xFC\x8E\xED\x82\xF0\x8C\x9F\x8D\xF5";  // vexo_SXFユーザー線種を検索
constexpr const char* kNewDrawing = "(\x90V\x8BK)";                             // (新規)

const char* const kHelpLines[kFormHelpLineCount] = {
    "\x81\x9E\x83}\x81["
    "\x83N\x82\xCD\x8AY\x93\x96\x82\xB7\x82\xE9\x90\xFC\x95\xAA\x82\xCC\x92\x86\x93_"
    "\x81\x41",  // ◇マークは該当する線分の中点、
    "\x81@\x89~\x8C\xCA\x8En\x93_"
    "\x82\xC9\x95t\x82\xAF\x82\xE7\x82\xEA\x82\xDC\x82\xB7\x81\x42",  // 　円弧始点に付けられます。
    "\x81@\x83}\x81[\x83N\x93\xE0\x82\xCC\x90\x94\x8E\x9A\x82\xCD",  // 　マーク内の数字は
    "\x81@SXF\x91\xCE\x89\x9E\x8Ag\x92\xA3\x90\xFC\x8E\xED\x83\x86\x81[\x83U\x81["
    "\x90\xFC\x8E\xED",  // 　SXF対応拡張線種ユーザー線種
    "\x81@\x82\xCC\x94\xD4\x8D\x86\x82\xC5\x82\xB7\x81\x42",  // 　の番号です。
    "\x81@",                                                  // 　
    "\x81\x9F\x83u\x83\x8D\x83\x62\x83N\x90}\x8C`"
    "\x93\xE0\x82\xCC\x82\xE0\x82\xCC\x82\xCD\x8F\x88\x97\x9D",  // ◆ブロック図形内のものは処理
    "\x81@"
    "\x8Fo\x97\x88\x82\xDC\x82\xB9\x82\xF1\x82\xCC\x82\xC5\x8C\xE4\x92\x8D\x88\xD3\x89\xBA"
    "\x82\xB3\x82\xA2\x81\x42",  // 　出来ませんので御注意下さい。
    "\x81@"
    "\x83u\x83\x8D\x83\x62\x83N\x95\xD2\x8FW\x93\xE0\x82\xC5\x8Ds\x82\xA4\x8F\xEA\x8D\x87"
    "\x82\xC9\x82\xCD\x81\x41",  // 　ブロック編集内で行う場合には、
    "\x81@\x96{\x83\x5C\x83t\x83g\x82\xF0Jw_cad\x82\xCC\x83\x43\x83\x93\x83X\x83g\x81["
    "\x83\x8B",  // 　本ソフトをJw_cadのインストール
    "\x81@\x81\x45\x83t\x83H\x83\x8B\x83_"
    "\x82\xC9\x94z\x92u\x82\xB5\x82\xC4\x8E\xC0\x8Ds\x82\xF0\x8Ds\x82\xA4",  // 　・フォルダに配置して実行を行う
    "\x81@"
    "\x95K\x97v\x82\xAA\x82\xA0\x82\xE9\x8F\xEA\x8D\x87\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82"
    "\xB7\x81\x42",  // 　必要がある場合があります。
};

// The read notice of a failure, in the middle of the preview on a white box framed in red, so
// that an empty preview is never taken for a drawing without user line types. The form's
// face at 16 design pixels, 8 per one-byte character (its cell is as wide as its bytes).
void DrawNoticeInPreview(TCanvas& c, int dpi, int width, int height, const std::string& text) {
  const TNoticeLayout n = LayOutNotice(text, dpi, width, height);
  SetPlainPen(c, RgbColor(255, 0, 0), 0, 1);
  c.Brush.Color = RgbColor(255, 255, 255);
  c.Brush.Style = TBrushStyle::Solid;
  c.Rectangle(n.Left - n.Pad, n.Top - n.Pad, n.Left + n.TextWidth + n.Pad,
              n.Top + n.TextHeight + n.Pad);
  TLogFont font;
  font.Height = n.CellHeight;
  font.Width = n.HalfWidth;
  font.FaceName = "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ ゴシック
  font.NonAntialiased = true;
  c.SetFont(font);
  c.FontColor = RgbColor(255, 0, 0);
  c.Brush.Style = TBrushStyle::Clear;
  int y = n.Top;
  for (const std::string_view line : n.Lines) {
    int x = n.Left;
    for (std::size_t i = 0; i < line.size();) {
      const std::size_t len = CharLength(line, i);
      c.TextOut(x, y, line.substr(i, len));
      x += static_cast<int>(len) * n.HalfWidth;
      i += len;
    }
    y += n.CellHeight;
  }
}

}  // namespace

std::string FormCaption() { return kCaption; }

int MouseShiftState(const TMousePress& press) noexcept {
  return (press.Left ? kShiftLeftButton : 0) | (press.Right ? kShiftRightButton : 0) |
         (press.Middle ? kShiftMiddleButton : 0) | (press.DoubleClick ? kShiftDoubleClick : 0) |
         (press.Shift ? kShiftShiftKey : 0) | (press.Alt ? kShiftAltKey : 0) |
         (press.Ctrl ? kShiftCtrlKey : 0);
}

const char* const* FormHelpLines() noexcept { return kHelpLines; }

TFormBehaviour::TFormBehaviour(TFormFrontEnd& frontEnd, std::string programFolder,
                               std::string settingsFile, const TFormKeyCodes& keys)
    : ui_(frontEnd),
      keys_(keys),
      Nav(navHost_, Views, extents_),
      programFolder_(std::move(programFolder)),
      settingsFile_(std::move(settingsFile)) {}

void TFormBehaviour::FormCreate() {
  Shown = false;
  GraAttr = std::make_unique<TgraAttribute>();
  GraAttr->SetToScaleMode(false);
  GraAttr->SetColorScheme(0);
  GraAttr->InitColors();
  GraAttr->ResetLineTypeDashes();
  GraAttr->ResetLayers();
  GraAttr->InitColors();
  GraAttr->InitPenWidths();
  GraAttr->InitDotSizes();
  GraAttr->SetShowAuxiliary(true);
  GraAttr->SetDimmedLayerColor(RgbColor(128, 128, 128));
  GraAttr->SetShowZFlag1(true);
  GraAttr->SetShowNonSolidLineTypes(true);
  Nav.ZoomFactor = 1.5;
  Nav.ButtonFlags = 0;
  Nav.PressX = 0;
  Nav.PressY = 0;
  Nav.BandShown = false;
  ui_.FreeImages();
  Nav.DragImageValid = false;
}

void TFormBehaviour::SetStartFile(std::string utf8) { startFile_ = std::move(utf8); }

void TFormBehaviour::TakeDrawing(TDrawing&& drawing) {
  ClearDrawingIndex(drawing_);
  drawing_ = std::move(drawing);
  extents_ = ComputeExtents(drawing_);
  PrepareDrawingIndex(drawing_, extents_);
  savedDrawing_.clear();
}

void TFormBehaviour::ShowDrawingFacts(const TDrawingLoad* file) {
  ui_.SetFileNameCaption(drawing_.JwwFileName.empty() ? std::string(kNewDrawing)
                                                      : drawing_.JwwFileName);
  WriteTallyHeadings(tally_);
  TallyLineTypes(tally_, drawing_);
  ui_.ShowTally(tally_);
  std::array<std::string, kUserLineTypes> names;
  for (std::size_t k = 0; k < names.size(); ++k)
    if (const TSxfLineTypeDef* t =
            drawing_.LineTypeDefinition(kFirstUserLType + static_cast<int>(k))) {
      names[k] = t->Name;
      for (std::size_t p = 0; p < t->Pitches.size(); ++p)
        names[k] += (p == 0 ? "  " : " ") + ReportNumber(t->Pitches[p]);
    }
  ui_.ShowLineTypeNames(names);
  const int userTypeCount = StrToIntOr0(tally_.Cell(kTallyTotal, kTallyTotalRow));
  const bool japanese = ui_.JapaneseMessages();
  if (file) {
    notice_ = DescribeDrawingFileRead(
        file->ReadToEnd && !file->NothingRead, file->Problem,
        ui_.MessageTextOfFileName(startFile_.substr(startFile_.find_last_of("/\\") + 1)),
        drawing_.WellFormedEntityCount(), userTypeCount, japanese);
  } else {
    notice_ = DescribeRead(hostLoad_, drawing_.WellFormedEntityCount(), userTypeCount, japanese,
                           ui_.MessageTextOfFileName(ProgramFolder));
    // The host hands over block references only; the drawing file it names holds their insides.
    const std::string named = ui_.Utf8OfShiftJis(drawing_.JwwFileName);
    if (drawing_.BlkCount() > 0 && IsDrawingFileName(named) && ui_.FileExists(named))
      savedDrawing_ = named;
  }
  // What the strip adds when nothing went wrong: the blocks' share, or the offer of the file.
  std::string more;
  if (drawing_.FromDrawingFile() && !drawing_.File.Blocks.empty())
    more = InsideBlocksText(CountedEntitiesInBlocks(drawing_), japanese);
  else if (!savedDrawing_.empty())
    more = SavedDrawingOfferText(drawing_.JwwFileName, japanese);
  if (!notice_.Alert && !more.empty())
    notice_.Text = notice_.Text.empty() ? more : notice_.Text + "  " + more;
  ui_.SetReadNotice(notice_.Text, notice_.Alert);
}

void TFormBehaviour::OpenDrawingFile(const std::string& utf8) {
  if (!Shown || utf8.empty()) return;
  startFile_ = utf8;
  TDrawingLoad load = LoadDrawing(startFile_);
  TakeDrawing(std::move(load.Drawing));
  EndMarkWalk();
  MarkWalk.Select(0, 0);
  keyHelpLine_ = -1;
  ui_.SetStatusCaption({});
  ShowDrawingFacts(&load);
  FitAll();
}

void TFormBehaviour::AskAndOpenDrawingFile() {
  if (!Shown) return;
  OpenDrawingFile(ui_.AskOpenFileName(programFolder_));
}

void TFormBehaviour::FormShow() {
  ProgramFolder = programFolder_;
  std::optional<TDrawingLoad> file;
  if (startFile_.empty()) {
    TJwcLoad read = ReadJwcTempFile(ProgramFolder + "JWC_TEMP.TXT");
    hostLoad_ = read.Result;
    TakeDrawing(std::move(read.Drawing));
  } else {
    file = LoadDrawing(startFile_);
    TakeDrawing(std::move(file->Drawing));
  }
  bool settingsFound = false;
  Settings = ReadSettings(settingsFile_, &settingsFound);
  // The file holds the window's own pixels; the defaults are design lengths.
  const int windowDpi = ui_.WindowDpi();
  if (!settingsFound) ScaleSettingsForDpi(Settings, windowDpi);
  int screenWidth = 0, screenHeight = 0;
  ui_.ScreenSizeAt(Settings.WinLeft, Settings.WinTop, screenWidth, screenHeight);
  LimitSettingsToScreen(Settings, screenWidth, screenHeight, windowDpi);
  ui_.SetWindowRect({Settings.WinLeft, Settings.WinTop, Settings.WinWidth, Settings.WinHeight});
  ui_.SetPanelWidth(Settings.WinPanelWidth);
  ui_.SetStatusCaption({});
  ShowDrawingFacts(file ? &*file : nullptr);
  Views.View.ViewDpi = ui_.PreviewDpi();
  FitAll();  // sets the view; draws nothing while Shown is false
  Shown = true;
}

void TFormBehaviour::FormResize() {
  TWindowRect r = ui_.WindowRect();
  const TWindowRect before = r;
  const int windowDpi = ui_.WindowDpi();
  r.Width = std::max(r.Width, DesignPixels(kMinWinWidth, windowDpi));
  r.Height = std::max(r.Height, DesignPixels(kMinWinHeight, windowDpi));
  if (!(r == before)) ui_.ResizeWindow(r.Width, r.Height);
  Settings.WinWidth = r.Width;
  Settings.WinHeight = r.Height;
  // Keep the centre and the scale; the picture is not drawn again here.
  if (Shown) AdjustViewToPreviewSize(Views, ui_.PreviewWidth(), ui_.PreviewHeight());
  Views.View.ViewDpi = ui_.PreviewDpi();  // a move to a screen of another scale resizes the window
}

void TFormBehaviour::FormClose() {
  if (closed_) return;
  ui_.FreeImages();
  Nav.DragImageValid = false;
  GraAttr.reset();
  const TWindowRect r = ui_.WindowRect();
  Settings.WinLeft = r.Left;
  Settings.WinTop = r.Top;
  Settings.WinWidth = r.Width;
  Settings.WinHeight = r.Height;
  Settings.WinPanelWidth = ui_.PanelWidth();
  ApplySettingsMinimums(Settings, ui_.WindowDpi());
  WriteSettings(settingsFile_, Settings);
  ClearDrawingIndex(drawing_);
  drawing_ = TDrawing();
  closed_ = true;
}

void TFormBehaviour::PaintBox1Paint() {
  Nav.BandShown = false;  // the paint covers any band
  if (!GraAttr) return;
  const bool stored = ui_.HasViewImage();
  if (!stored && !ui_.QueueFirstDrawing()) {
    FitAll();
    return;
  }
  // The stored picture, or an empty framed preview until the queued first drawing.
  const int w = ui_.PreviewWidth();
  const int h = ui_.PreviewHeight();
  TCanvas& c = ui_.BeginPreviewDrawing();
  ClearCanvas(c, w, h);
  SetPlainPen(c, RgbColor(0, 0, 255), 0, 0);
  DrawPixelBox(c, 0, 0, w - 1, h - 1);
  ui_.EndPreviewDrawing();
  if (stored) ui_.DrawViewImage();
}

void TFormBehaviour::FitAll() {
  SaveView(Views);
  FitViewToDrawing(Views.View, extents_, ui_.PreviewWidth(), ui_.PreviewHeight());
  Redraw();
}

void TFormBehaviour::DrawQueuedPicture() {
  if (closed_ || ui_.HasViewImage()) return;
  FitAll();
}

bool TFormBehaviour::Redraw() {
  if (!Shown || !GraAttr) return true;
  Nav.BandShown = false;
  if (stoppedShown_) {
    stoppedShown_ = false;
    ui_.SetStatusCaption({});
  }
  TView& view = Views.View;
  view.ViewDpi = ui_.PreviewDpi();
  const int w = ui_.PreviewWidth();
  const int h = ui_.PreviewHeight();
  const std::vector<TBand> bands = PictureBands(drawing_, h);
  const std::vector<TCanvas*> canvases = ui_.BeginBandedPreviewDrawing(bands);
  // The break poll doubles as the progress clock (asked on this thread only, with every other
  // band waiting).
  using Clock = std::chrono::steady_clock;
  const std::function<bool()> escapeHeld = UserBreakSource();
  Clock::time_point shown = Clock::now();
  SetUserBreakSource([this, &shown, &escapeHeld] {
    const Clock::time_point now = Clock::now();
    if (now - shown >= std::chrono::milliseconds(kProgressMilliseconds)) {
      ui_.ShowPreviewProgress();
      shown = now;
    }
    return escapeHeld ? escapeHeld() : false;
  });
  // The walk's current mark, last and set apart, unless the walk ends with this drawing.
  const std::optional<TLineTypeMark> current = walkEnding_ ? std::nullopt : MarkWalk.Current();
  const double markRadius = MarkRadiusPixels(view) / view.ViewScale;
  const TReadNotice& notice = notice_;
  const bool complete = DrawInBands(canvases, [&](TCanvas& c) {
    const bool drawn = DrawPreview(c, view, drawing_, w, h);
    if (current) DrawCurrentLineTypeMark(c, view, *current, markRadius);
    if (notice.Alert) DrawNoticeInPreview(c, view.ViewDpi, w, h, notice.Text);
    return drawn;
  });
  SetUserBreakSource(escapeHeld);
  highlightShown_ = current.has_value();
  ui_.EndPreviewDrawing();
  ui_.StoreViewImage();  // a failed copy leaves it absent: the next paint draws anew
  // A held Escape stops nothing in an empty drawing: the strip keeps what the read said.
  if (!complete && !drawing_.EntOrder.empty()) {
    keyHelpLine_ = -1;
    ui_.SetStatusCaption(DrawingStoppedText(ui_.JapaneseMessages()));
    stoppedShown_ = true;
  }
  return complete;
}

bool TFormBehaviour::FormKeyDown(int key, bool shift, bool ctrl) {
  if (!Shown) return false;
  if (ctrl && key == keys_.C) {
    shift ? CopyMarks() : CopyTally();
    return true;
  }
  if (ctrl && key == keys_.S) {
    SaveFiles();
    return true;
  }
  if (ctrl && key == keys_.O) {
    AskAndOpenDrawingFile();
    return true;
  }
  if (key == keys_.F5 && !savedDrawing_.empty()) {
    OpenDrawingFile(std::string(savedDrawing_));
    return true;
  }
  if (key == keys_.F3) {
    // F3: the next marked entity, Shift+F3 the previous one.
    if (!MarkWalk.Active()) MarkWalk.Select(0, 0);
    StepMarkWalk(!shift);
    return true;
  }
  if (key == keys_.F1) {
    // One line of the keys and gestures after another, then the strip as it was.
    keyHelpLine_ = keyHelpLine_ + 1 < kKeyHelpLineCount ? keyHelpLine_ + 1 : -1;
    ui_.SetStatusCaption(keyHelpLine_ < 0 ? MarkWalk.StatusText()
                                          : KeyHelpLine(keyHelpLine_, ui_.JapaneseMessages()));
    return true;
  }
  const struct {
    int Code;
    TNavKey Key;
  } table[] = {
      {keys_.PageUp, TNavKey::PageUp}, {keys_.PageDown, TNavKey::PageDown},
      {keys_.Insert, TNavKey::Insert}, {keys_.End, TNavKey::End},
      {keys_.Home, TNavKey::Home},     {keys_.Left, TNavKey::Left},
      {keys_.Right, TNavKey::Right},   {keys_.Up, TNavKey::Up},
      {keys_.Down, TNavKey::Down},     {keys_.Escape, TNavKey::Escape},
  };
  TNavKey navKey = TNavKey::Other;
  for (const auto& entry : table)
    if (entry.Code == key) navKey = entry.Key;
  // Escape only breaks a drawing; the walk goes on.
  if (navKey == TNavKey::Escape) return Nav.KeyDown(navKey, shift);
  return NavigateEndingWalk([&] { return Nav.KeyDown(navKey, shift); });
}

bool TFormBehaviour::FormMouseWheel(int delta, int screenX, int screenY) {
  if (!Shown || delta == 0) return false;
  // Turned towards the user: the wheel's "down".
  return NavigateEndingWalk([&] { return Nav.MouseWheel(delta < 0, screenX, screenY); });
}

void TFormBehaviour::PaintBox1MouseDown(int x, int y, int shiftState) {
  if (!Shown) return;
  EndMarkWalk();
  Nav.MouseDown(x, y, shiftState);
}

void TFormBehaviour::PaintBox1MouseMove(int x, int y) {
  if (Shown) Nav.MouseMove(x, y);
}

void TFormBehaviour::PaintBox1MouseUp(int x, int y) {
  if (Shown) Nav.MouseUp(x, y);
}

template <typename TStep>
bool TFormBehaviour::NavigateEndingWalk(TStep&& step) {
  walkEnding_ = MarkWalk.Active();
  const bool handled = step();
  walkEnding_ = false;
  if (handled) EndMarkWalk();
  return handled;
}

void TFormBehaviour::StringGrid1DblClick(int row, int column) {
  // Rows 1..16 are the line types 17..32 and row 17 their total; columns 1..6 the kinds and
  // column 7 their total. A number or a kind of 0 selects every one.
  if (!Shown || row < 1 || row > kTallyTotalRow || column < kFirstKindColumn ||
      column > kTallyTotal)
    return;
  if (StrToIntOr0(tally_.Cell(column, row)) <= 0) {
    EndMarkWalk();
    ui_.SetStatusCaption(NothingToWalkText(ui_.JapaneseMessages()));
    return;
  }
  MarkWalk.Select(row == kTallyTotalRow ? 0 : ShownLineTypeNumber(LineTypeOfTallyRow(row)),
                  column == kTallyTotal ? 0 : column);
  StepMarkWalkShowing(true, row, column);
}

void TFormBehaviour::StepMarkWalk(bool forward) { StepMarkWalkShowing(forward, -1, -1); }

void TFormBehaviour::StepMarkWalkShowing(bool forward, int row, int column) {
  const std::optional<TLineTypeMark> mark = MarkWalk.Step(drawing_, forward);
  if (!mark) return;
  if (row < 0) {
    row = TallyRowOfLineType(LineTypeOfShownNumber(mark->Number));
    column = mark->Column;
  }
  ui_.HighlightTallyCell(row, column);
  ZoomViewToMark(Views, drawing_, extents_, *mark, ui_.PreviewWidth(), ui_.PreviewHeight());
  if (!Redraw()) return;  // the strip says the drawing was stopped
  keyHelpLine_ = -1;
  ui_.SetStatusCaption(MarkWalk.StatusText());
}

void TFormBehaviour::EndMarkWalk() {
  if (!MarkWalk.Active()) return;
  MarkWalk.End();
  ui_.HighlightTallyCell(-1, -1);
  keyHelpLine_ = -1;
  if (!stoppedShown_) ui_.SetStatusCaption({});
  // A navigation that did not draw (a press, a break) leaves the highlight to take away.
  if (highlightShown_) Redraw();
}

namespace {

// The busy sign for the length of a scope: a cursor change costs nothing, so it is shown for
// every copy and save rather than timed, and taken away however the work ends.
class TBusySign {
 public:
  explicit TBusySign(TFormFrontEnd& ui) : ui_(ui) { ui_.ShowBusy(true); }
  ~TBusySign() { ui_.ShowBusy(false); }
  TBusySign(const TBusySign&) = delete;
  TBusySign& operator=(const TBusySign&) = delete;

 private:
  TFormFrontEnd& ui_;
};

}  // namespace

void TFormBehaviour::CopyTally() {
  if (!Shown) return;
  const auto convert = [this](const std::string& cell) { return Utf8Cell(cell); };
  bool copied = false;
  {
    const TBusySign busy(ui_);
    copied = ui_.PutOnClipboard(TabSeparatedText(TallyRows(tally_), convert));
  }
  keyHelpLine_ = -1;
  ui_.SetStatusCaption(CopiedText(THandOver::CopyTally, 0, copied, ui_.JapaneseMessages()));
}

void TFormBehaviour::CopyMarks() {
  if (!Shown) return;
  const auto convert = [this](const std::string& cell) { return Utf8Cell(cell); };
  TTextRows rows;
  bool copied = false;
  {
    const TBusySign busy(ui_);
    rows = CheckSheetMarkRows(drawing_, ui_.JapaneseMessages());
    copied = ui_.PutOnClipboard(TabSeparatedText(rows, convert));
  }
  keyHelpLine_ = -1;
  ui_.SetStatusCaption(CopiedText(THandOver::CopyMarks, static_cast<int>(rows.size()) - 1, copied,
                                  ui_.JapaneseMessages()));
}

void TFormBehaviour::SaveFiles() {
  if (!Shown || !GraAttr) return;
  const std::string chosen =
      ui_.AskSaveFileName(programFolder_, Utf8Cell(SuggestedPictureName(drawing_.JwwFileName)));
  if (chosen.empty()) return;
  std::optional<TBusySign> busy(std::in_place, ui_);  // the picture and the lists take a while
  const TSavedFileNames names = SavedFileNames(chosen);
  // The picture of the report's --png at this size with the view's edges as its box.
  const int width = ui_.PreviewWidth(), height = ui_.PreviewHeight();
  const TView view = PictureView(extents_, width, height, Views.View.Box(), Views.View.ViewDpi);
  TFileSetWriter files;
  files.AddWriter(names.Picture, [&](const std::string& path) -> std::string {
    const std::unique_ptr<TRasterSurface> surface = ui_.CreatePictureSurface(width, height);
    if (!surface) return "not enough memory for the picture";
    return WritePreviewPicture(*surface, path, drawing_, view);
  });
  const auto convert = [this](const std::string& cell) { return Utf8Cell(cell); };
  files.AddBytes(names.Tally,
                 std::string(kUtf8ByteOrderMark) + CsvText(TallyRows(tally_), convert));
  files.AddBytes(names.Marks,
                 std::string(kUtf8ByteOrderMark) +
                     CsvText(CheckSheetMarkRows(drawing_, ui_.JapaneseMessages()), convert));
  const std::optional<TWriteFailure> failure = files.Commit();
  busy.reset();
  // Names are shown without their folder, in the message's encoding.
  const auto shown = [this](const std::string& utf8) {
    return ui_.MessageTextOfFileName(utf8.substr(utf8.find_last_of("/\\") + 1));
  };
  const bool japanese = ui_.JapaneseMessages();
  keyHelpLine_ = -1;
  ui_.SetStatusCaption(
      failure ? SaveFailedText(shown(failure->File), failure->Error, failure->Reason, japanese)
              : SavedText(shown(names.Picture), shown(names.Tally), shown(names.Marks), japanese));
}

}  // namespace sxf
