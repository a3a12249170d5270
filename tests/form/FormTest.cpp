// The form's behaviour driven through a front end that records what it was asked to do.

#include "form/Form.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <algorithm>
#include <array>
#include <fstream>
#include <thread>
#include <tuple>
#include <functional>

#include "form/MarkWalk.h"
#include "form/Navigation.h"
#include "form/WindowMessages.h"
#include "globals/UnitGval.h"
#include "search/LineTypeMarks.h"
#include "search/LineTypeTally.h"
#include "support/RecordingCanvas.h"
#include "model/JwwGaibu2.h"
#include "render/UserBreak.h"
#include "search/ReportRows.h"
#include "support/JwwFileWriter.h"

namespace sxf {
namespace {

namespace fs = std::filesystem;

class TFakeFrontEnd final : public TFormFrontEnd {
 public:
  TWindowRect Rect{194, 105, 601, 430};
  int Panel = 201;
  int PreviewW = 381, PreviewH = 368;
  std::string FileCaption, StatusCaption = "?";
  TTallyGrid Tally;
  test::TRecordingCanvas Canvas;
  int Drawings = 0, Stores = 0, ImageDraws = 0;
  bool Image = false;
  bool Queue = false;  // the first drawing is the front end's to start
  int Queued = 0;
  int ScreenW = 1280, ScreenH = 1024;
  int Resizes = 0;
  int CursorX = 0, CursorY = 0;  // screen pixels; the preview is at the screen's corner
  int Focused = 0;
  int Progress = 0;
  std::string Notice = "?";
  bool NoticeAlert = false, Japanese = false;
  int Dpi = 96;  // the screen's, for the window and the preview alike
  std::string Clipboard;
  bool ClipboardWorks = true;
  std::string SaveAnswer, AskedFolder, AskedName;  // the save dialog
  int HighlightRow = -1, HighlightColumn = -1;
  std::string Busy;  // '+' shown, '-' taken away

  TWindowRect WindowRect() const override { return Rect; }
  int WindowDpi() const override { return Dpi; }
  int PreviewDpi() const override { return Dpi; }
  void SetWindowRect(const TWindowRect& r) override { Rect = r; }
  int PanelWidth() const override { return Panel; }
  void SetPanelWidth(int width) override { Panel = width; }
  void SetFileNameCaption(const std::string& sjis) override { FileCaption = sjis; }
  void SetStatusCaption(const std::string& sjis) override { StatusCaption = sjis; }
  void SetReadNotice(const std::string& sjis, bool alert) override {
    Notice = sjis;
    NoticeAlert = alert;
  }
  bool JapaneseMessages() const override { return Japanese; }
  void ShowTally(const TTallyGrid& grid) override { Tally = grid; }
  void ScreenSizeAt(int, int, int& width, int& height) const override {
    width = ScreenW;
    height = ScreenH;
  }
  void ResizeWindow(int width, int height) override {
    ++Resizes;
    Rect.Width = width;
    Rect.Height = height;
  }
  int PreviewWidth() const override { return PreviewW; }
  int PreviewHeight() const override { return PreviewH; }
  TCanvas& BeginPreviewDrawing() override {
    ++Drawings;
    Canvas.Commands.clear();
    return Canvas;
  }
  void EndPreviewDrawing() override {}
  void ShowPreviewProgress() override { ++Progress; }
  bool HasViewImage() const override { return Image; }
  bool StoreViewImage() override {
    ++Stores;
    return Image = true;
  }
  void DrawViewImage() override { ++ImageDraws; }
  void FreeImages() override { Image = false; }
  bool QueueFirstDrawing() override {
    Queued += Queue ? 1 : 0;
    return Queue;
  }
  TPreviewPlace PreviewPlace() const override { return {0, 0, 0, 0, PreviewW, PreviewH}; }
  void CursorPos(int& x, int& y) const override {
    x = CursorX;
    y = CursorY;
  }
  void FocusEditA() override { ++Focused; }
  void PaintOnPreview(const std::function<void(TCanvas&)>& draw) override { draw(Canvas); }
  bool TakeDragImage() override { return true; }
  void FreeDragImage() override {}
  void ShowDragImageAt(int, int) override {}
  bool PutOnClipboard(const std::string& utf8) override {
    if (ClipboardWorks) Clipboard = utf8;
    return ClipboardWorks;
  }
  bool FileExists(const std::string& utf8) const override { return fs::is_regular_file(utf8); }
  std::string AskSaveFileName(const std::string& folder, const std::string& name) override {
    AskedFolder = folder;
    AskedName = name;
    return SaveAnswer;
  }
  // Records the drawing like the preview's canvas and writes its command count as the file.
  struct TSurface final : TRasterSurface {
    test::TRecordingCanvas Recording;
    TCanvas& Canvas() override { return Recording; }
    std::string WritePng(const std::string& path) override {
      std::ofstream(path, std::ios::binary) << Recording.Commands.size();
      return {};
    }
  };
  std::unique_ptr<TRasterSurface> CreatePictureSurface(int, int) override {
    return std::make_unique<TSurface>();
  }
  void ShowBusy(bool busy) override { Busy += busy ? '+' : '-'; }
  void HighlightTallyCell(int row, int column) override {
    HighlightRow = row;
    HighlightColumn = column;
  }
};

// Key codes of a made-up toolkit.
constexpr TFormKeyCodes kKeys = {33, 34, 45, 35, 36, 37, 39, 38, 40, 27, 114, 112, 67, 83, 79, 116};
constexpr int kKeyHome = 36, kKeyEscape = 27, kKeyF3 = 114, kKeyLeft = 37, kKeyA = 65, kKeyF1 = 112,
              kKeyC = 67, kKeyS = 83;

struct TFormFixture : ::testing::Test {
  fs::path folder =
      fs::temp_directory_path() /
      ("sxf-form-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  TFakeFrontEnd ui;
  TFormBehaviour form{ui, folder.string() + "/", (folder / "finder.dat").string(), kKeys};
  const TView& view = form.Views.View;
  TFormFixture() { fs::create_directories(folder); }
  ~TFormFixture() override {
    std::error_code ec;
    fs::remove_all(folder, ec);
  }
  std::string Read(const char* name) const {
    std::ifstream in(folder / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
};

TEST_F(TFormFixture, WithoutFilesShowsDefaultsDrawsAtFirstPaintAndWritesSettingsOnClose) {
  form.FormCreate();
  form.FormShow();
  EXPECT_TRUE(form.Shown);
  EXPECT_EQ(ui.Rect, (TWindowRect{0, 0, 475, 475}));
  EXPECT_EQ(ui.Panel, 200);
  EXPECT_EQ(ui.FileCaption, "(\x90V\x8BK)");  // (新規)
  EXPECT_EQ(ui.StatusCaption, "");
  EXPECT_EQ(ui.Tally.Cell(0, 1), "17");
  EXPECT_EQ(ui.Tally.Cell(7, 17), "0");
  EXPECT_EQ(ui.Drawings, 0) << "show sets the view but draws nothing";
  // An empty drawing: -100..100 fitted into the 381 x 368 preview.
  EXPECT_DOUBLE_EQ(view.ViewScale, 368.0 / 200.0 * 0.9);

  form.PaintBox1Paint();  // the first paint draws the drawing and stores it
  EXPECT_EQ(ui.Drawings, 1);
  EXPECT_EQ(ui.Stores, 1);
  ASSERT_FALSE(ui.Canvas.Commands.empty());
  EXPECT_EQ(ui.Canvas.Commands.front(),
            test::TCommand(test::TRectangle{0, 0, 381, 368, TPen{0xFFFFFF, 1}, TBrush{0xFFFFFF}}));

  form.PaintBox1Paint();  // later paints show the stored picture on a blue frame
  EXPECT_EQ(ui.Stores, 1);
  EXPECT_EQ(ui.ImageDraws, 1);
  ASSERT_EQ(ui.Canvas.Commands.size(), 2u);
  EXPECT_EQ(ui.Canvas.Commands[1],
            test::TCommand(test::TRectangle{0, 0, 380, 367, TPen{0xFF0000, 0},
                                            TBrush{0xFFFFFF, TBrushStyle::Clear}}));

  ui.Rect = {-30, 40, 300, 100};
  ui.Panel = 20;
  form.FormClose();
  form.FormClose();  // once only
  EXPECT_EQ(Read("finder.dat"), "-30\r\n40\r\n475\r\n200\r\n100\r\n");
  EXPECT_FALSE(GraAttr);
  EXPECT_FALSE(ui.Image);
}

// On a screen of 144 dpi the window's design lengths are the screen's pixels: the defaults, the
// minimums on resize and close, the marks. A stored file holds those pixels and is taken as is.
TEST_F(TFormFixture, OnAScaledScreenTheDefaultsAndMinimumsAreTheScreensPixels) {
  ui.Dpi = 144;
  form.FormCreate();
  form.FormShow();
  EXPECT_EQ(ui.Rect, (TWindowRect{0, 0, 713, 713}));
  EXPECT_EQ(ui.Panel, 300);
  EXPECT_EQ(view.ViewDpi, 144);
  EXPECT_EQ(MarkRadiusPixels(view), 15);
  ui.Rect = {5, 6, 300, 150};
  form.FormResize();
  EXPECT_EQ(ui.Rect, (TWindowRect{5, 6, 713, 300}));
  // Moved to a screen at 100 % and back: the minimums and the marks follow the screen's scale,
  // never the one the window had before.
  for (const auto& [dpi, minimum, radius] : {std::tuple{96, TWindowRect{5, 6, 475, 200}, 10},
                                             std::tuple{144, TWindowRect{5, 6, 713, 300}, 15}}) {
    ui.Dpi = dpi;
    ui.Rect = {5, 6, 100, 100};
    form.FormResize();
    EXPECT_EQ(ui.Rect, minimum) << dpi;
    EXPECT_EQ(view.ViewDpi, dpi);
    EXPECT_EQ(MarkRadiusPixels(view), radius) << dpi;
  }
  ui.Panel = 20;
  form.FormClose();
  EXPECT_EQ(Read("finder.dat"), "5\r\n6\r\n713\r\n300\r\n150\r\n");
  std::ofstream(folder / "finder.dat", std::ios::binary) << "10\r\n20\r\n800\r\n600\r\n250\r\n";
  TFormBehaviour again{ui, folder.string() + "/", (folder / "finder.dat").string(), kKeys};
  again.FormCreate();
  again.FormShow();
  EXPECT_EQ(ui.Rect, (TWindowRect{10, 20, 800, 600}));
  EXPECT_EQ(ui.Panel, 250);
  again.FormClose();
}

TEST_F(TFormFixture, ReadsTheDrawingAndSettingsFromItsFolder) {
  std::ofstream(folder / "JWC_TEMP.TXT", std::ios::binary)
      << "file=C:\\a.jww\r\nlc1\r\nlt47\r\n 0 0 10 0\r\n";
  std::ofstream(folder / "finder.dat", std::ios::binary) << "10\r\n20\r\n800\r\n600\r\n250\r\n";
  form.FormCreate();
  form.FormShow();
  EXPECT_EQ(ui.Rect, (TWindowRect{10, 20, 800, 600}));
  EXPECT_EQ(ui.Panel, 250);
  EXPECT_EQ(ui.FileCaption, "C:\\a.jww");
  EXPECT_EQ(form.Drawing().LinCount(), 1);
  EXPECT_EQ(ui.Tally.Cell(1, 1), "1");  // line type 47 is shown as 17
  form.FormClose();
}

TEST_F(TFormFixture, ResizeKeepsTheMinimumSizeAndTheViewCentre) {
  form.FormCreate();
  form.FormShow();
  const double cx = (view.ViewLeft + view.ViewRight) / 2, cy = (view.ViewBottom + view.ViewTop) / 2,
               scale = view.ViewScale;
  ui.Rect = {5, 6, 300, 150};
  ui.PreviewW = 500;
  ui.PreviewH = 100;
  form.FormResize();
  EXPECT_EQ(ui.Rect, (TWindowRect{5, 6, 475, 200}));
  EXPECT_EQ(form.Settings.WinWidth, 475);
  EXPECT_EQ(view.ViewWidth, 500);
  EXPECT_DOUBLE_EQ(view.ViewScale, scale);
  EXPECT_DOUBLE_EQ((view.ViewLeft + view.ViewRight) / 2, cx);
  EXPECT_DOUBLE_EQ((view.ViewBottom + view.ViewTop) / 2, cy);
  EXPECT_EQ(ui.Drawings, 0);
  form.FormClose();
}

// Three marked segments: two of line type 17 and one of 18, far apart, in a named group.
struct TShownFormFixture : TFormFixture {
  TShownFormFixture() {
    std::ofstream(folder / "JWC_TEMP.TXT", std::ios::binary)
        << "lgn 1F plan\r\nlc1\r\nlt47\r\n 0 0 10 0\r\n 1000 0 1010 0\r\nlt48\r\n 0 500 10 "
           "500.4567\r\n";
    form.FormCreate();
    form.FormShow();
    form.PaintBox1Paint();
  }
  ~TShownFormFixture() override { form.FormClose(); }
  double CentreX() const { return (view.ViewLeft + view.ViewRight) / 2; }
};

TEST_F(TShownFormFixture, KeyTableActsOnlyOnTheFormsKeysAndOnlyOnceShown) {
  const struct {
    int key;
    bool shift, handled, walks;
  } cases[] = {
      {kKeyF3, false, true, true},    {kKeyF3, true, true, true},
      {kKeyHome, false, true, false}, {kKeyEscape, false, true, false},
      {kKeyA, false, false, false},   {kKeyLeft, true, true, false},
  };
  ui.CursorX = -5;  // arrows act only with the cursor over the preview
  for (const auto& c : cases) {
    form.EndMarkWalk();
    const int drawings = ui.Drawings;
    EXPECT_EQ(form.FormKeyDown(c.key, c.shift), c.handled) << c.key;
    EXPECT_EQ(form.MarkWalk.Active(), c.walks) << c.key;
    EXPECT_EQ(ui.Drawings > drawings, c.walks || c.key == kKeyHome) << c.key;
  }
  form.Shown = false;
  EXPECT_FALSE(form.FormKeyDown(kKeyF3, false));
  EXPECT_FALSE(form.MarkWalk.Active());
}

TEST_F(TShownFormFixture, F3WalksForwardShiftF3BackAndTheStatusFollows) {
  const struct {
    bool shift;
    const char* status;
    double centreX;
  } steps[] = {{false, "1 / 3", 5}, {false, "2 / 3", 1005}, {false, "3 / 3", 5},
               {false, "1 / 3", 5}, {true, "3 / 3", 5},     {true, "2 / 3", 1005}};
  for (const auto& step : steps) {
    ASSERT_TRUE(form.FormKeyDown(kKeyF3, step.shift));
    EXPECT_EQ(ui.StatusCaption.substr(0, 5), step.status);
    EXPECT_NEAR(CentreX(), step.centreX, 1e-9) << step.status;
  }
  // Escape only breaks a drawing: the walk and its status stay. Home ends both.
  EXPECT_TRUE(form.FormKeyDown(kKeyEscape, false));
  EXPECT_EQ(ui.StatusCaption.substr(0, 5), "2 / 3");
  EXPECT_TRUE(form.FormKeyDown(kKeyHome, false));
  EXPECT_EQ(ui.StatusCaption, "");
  EXPECT_TRUE(form.FormKeyDown(kKeyF3, false));
  EXPECT_EQ(ui.StatusCaption.substr(0, 5), "1 / 3") << "a new walk starts from the first mark";
}

TEST_F(TShownFormFixture, DoubleClickOnACellWalksWhatItCounts) {
  const char* const nothing = "No marked entity in this cell";
  const struct {
    int row, column;
    const char* status;  // its start
    bool moves;          // and the grid sets the cell apart
  } cases[] = {
      {1, kTallyLine, "1 / 2", true},            // type 17, segments
      {2, kTallyLine, "1 / 1", true},            // type 18
      {3, kTallyLine, nothing, false},           // no type-19 segment: an empty cell
      {0, kTallyLine, "", false},                // the heading row
      {1, 0, "", false},                         // the number column
      {1, kTallyDimension + 1, "1 / 2", true},   // a row total: type 17 of every kind
      {3, kTallyDimension + 1, nothing, false},  // a row total of 0
      {17, kTallyLine, "1 / 3", true},           // a column total: every segment
      {17, kTallyCircle, nothing, false},        // no circle at all
      {17, kTallyDimension + 1, "1 / 3", true},  // the grand total: every mark
  };
  for (const auto& c : cases) {
    form.EndMarkWalk();
    ASSERT_TRUE(form.FormKeyDown(kKeyHome, false));
    const double scale = view.ViewScale;
    ui.StatusCaption = "unchanged";
    form.StringGrid1DblClick(c.row, c.column);
    const std::string where = std::to_string(c.row) + "," + std::to_string(c.column);
    if (*c.status == '\0')
      EXPECT_EQ(ui.StatusCaption, "unchanged") << where;
    else
      EXPECT_EQ(ui.StatusCaption.substr(0, std::string_view(c.status).size()), c.status) << where;
    EXPECT_EQ(view.ViewScale != scale, c.moves) << where;
    EXPECT_EQ(form.MarkWalk.Active(), c.moves) << where;
    EXPECT_EQ(ui.HighlightRow, c.moves ? c.row : -1) << where;
    EXPECT_EQ(ui.HighlightColumn, c.moves ? c.column : -1) << where;
  }
  // F3 from a total sets the current mark's own cell apart: the second segment of type 17.
  form.StringGrid1DblClick(17, kTallyDimension + 1);
  ASSERT_TRUE(form.FormKeyDown(kKeyF3, false));
  EXPECT_EQ(ui.HighlightRow, 1);
  EXPECT_EQ(ui.HighlightColumn, kTallyLine);
  ui.Japanese = true;
  form.StringGrid1DblClick(3, kTallyLine);
  EXPECT_EQ(ui.StatusCaption, NothingToWalkText(true));
  EXPECT_NE(NothingToWalkText(true), NothingToWalkText(false));
}

// Whether a command draws with the wide blue pen that sets the walk's current mark apart.
bool InHighlight(const test::TCommand& c) {
  const auto* line = std::get_if<test::TLineTo>(&c);
  return line && line->Pen.Color == RgbColor(0, 64, 255) && line->Pen.Width == 5;
}
// How many rings of that pen the picture has (each of 72 strokes).
std::size_t HighlightRings(const test::TRecordingCanvas& c) {
  return static_cast<std::size_t>(
             std::count_if(c.Commands.begin(), c.Commands.end(), InHighlight)) /
         72;
}

TEST_F(TShownFormFixture, TheWalksCurrentMarkIsDrawnLastAndSetApartUntilTheWalkEnds) {
  ASSERT_TRUE(form.FormKeyDown(kKeyF3, false));
  const std::vector<test::TCommand> walking = ui.Canvas.Commands;
  EXPECT_EQ(HighlightRings(ui.Canvas), 1u);
  // Nothing else changes: the same view without the walk draws the picture up to the ring.
  // (Its first stroke starts with a MoveTo.)
  const auto ring = std::find_if(walking.begin(), walking.end(), InHighlight);
  const std::size_t before = static_cast<std::size_t>(ring - walking.begin()) - 1;
  form.MarkWalk.End();
  form.Redraw();
  EXPECT_EQ(ui.Canvas.Commands,
            std::vector<test::TCommand>(walking.begin(),
                                        walking.begin() + static_cast<std::ptrdiff_t>(before)));
  // On top: the mark's own number follows the ring, last of all.
  ASSERT_FALSE(walking.empty());
  EXPECT_EQ(std::get<test::TTextOut>(walking.back()).Text, "7");

  // Every way the walk ends gives the ordinary picture back, drawn once.
  const struct {
    const char* how;
    std::function<void()> end;
  } ends[] = {
      {"Home", [&] { form.FormKeyDown(kKeyHome, false); }},
      {"wheel", [&] { form.FormMouseWheel(-120, 10, 10); }},
      {"press",
       [&] {
         form.PaintBox1MouseDown(10, 10, kShiftLeftButton);
         form.PaintBox1MouseUp(10, 10);
       }},
      {"empty cell", [&] { form.StringGrid1DblClick(3, kTallyLine); }},
  };
  for (const auto& e : ends) {
    ASSERT_TRUE(form.FormKeyDown(kKeyF3, false));
    ASSERT_EQ(HighlightRings(ui.Canvas), 1u) << e.how;
    const int drawings = ui.Drawings;
    e.end();
    EXPECT_FALSE(form.MarkWalk.Active()) << e.how;
    EXPECT_EQ(HighlightRings(ui.Canvas), 0u) << e.how;
    EXPECT_LE(ui.Drawings - drawings, 1) << e.how;
  }
}

TEST_F(TShownFormFixture, F1ShowsTheKeysOneLineAtATimeThenTheStripAsItWas) {
  ASSERT_TRUE(form.FormKeyDown(kKeyF3, false));
  const std::string walking = ui.StatusCaption;
  for (int i = 0; i < kKeyHelpLineCount; ++i) {
    EXPECT_TRUE(form.FormKeyDown(kKeyF1, false));
    EXPECT_EQ(ui.StatusCaption, KeyHelpLine(i, false));
    EXPECT_EQ(ui.StatusCaption.substr(0, 4),
              std::to_string(i + 1) + "/" + std::to_string(kKeyHelpLineCount) + " ");
  }
  EXPECT_TRUE(form.FormKeyDown(kKeyF1, false));
  EXPECT_EQ(ui.StatusCaption, walking) << "after the last line, the walk's status again";
  EXPECT_TRUE(form.MarkWalk.Active()) << "F1 moves nothing";
  ui.Japanese = true;
  EXPECT_TRUE(form.FormKeyDown(kKeyF1, false));
  EXPECT_EQ(ui.StatusCaption, KeyHelpLine(0, true));
  EXPECT_NE(KeyHelpLine(0, true), KeyHelpLine(0, false));
}

// What the window says about the file it read: a failure never looks like a clean drawing.
TEST_F(TFormFixture, TheReadOutcomeIsSaidInTheStatusStripAndAFailureInThePreview) {
  std::string binary(200 * 1024, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i)
    binary[i] = static_cast<char>((i * 2654435761u) >> 13);
  const struct {
    const char* what;
    std::function<void(const fs::path&)> make;
    TReadOutcome outcome;
    const char* notice;  // English
    bool japaneseToo;
  } cases[] = {
      {"missing", [](const fs::path&) {}, TReadOutcome::Missing, "JWC_TEMP.TXT is missing", true},
      {"a folder", [](const fs::path& p) { fs::create_directory(p); }, TReadOutcome::Unreadable,
       "Cannot read JWC_TEMP.TXT: not a regular file", true},
      {"empty", [](const fs::path& p) { std::ofstream(p, std::ios::binary); },
       TReadOutcome::NoEntity, "JWC_TEMP.TXT holds no entity at all", true},
      {"binary", [&](const fs::path& p) { std::ofstream(p, std::ios::binary) << binary; },
       TReadOutcome::NotText, "JWC_TEMP.TXT is not text: it is not an interchange file", true},
      {"no user types",
       [](const fs::path& p) { std::ofstream(p, std::ios::binary) << "lt1\r\n 0 0 10 0\r\n"; },
       TReadOutcome::NoUserTypes, "No entity is drawn with a user line type", true},
      {"user types",
       [](const fs::path& p) { std::ofstream(p, std::ios::binary) << "lt47\r\n 0 0 10 0\r\n"; },
       TReadOutcome::Drawing, "", false},
  };
  for (const auto& c : cases) {
    for (const bool japanese : {false, true}) {
      if (japanese && !c.japaneseToo) continue;
      TFakeFrontEnd front;
      front.Japanese = japanese;
      const fs::path dir = folder / (std::string(c.what) + (japanese ? "-ja" : ""));
      fs::create_directories(dir);
      c.make(dir / "JWC_TEMP.TXT");
      TFormBehaviour f{front, dir.string() + "/", (dir / "finder.dat").string(), kKeys};
      f.FormCreate();
      f.FormShow();
      const bool alert =
          c.outcome != TReadOutcome::Drawing && c.outcome != TReadOutcome::NoUserTypes;
      EXPECT_EQ(f.ReadNotice().Outcome, c.outcome) << c.what;
      EXPECT_EQ(front.NoticeAlert, alert) << c.what;
      EXPECT_EQ(front.StatusCaption, "") << c.what;
      EXPECT_EQ(front.FileCaption, "(\x90V\x8BK)") << c.what;  // (新規): none of them names one
      if (c.outcome == TReadOutcome::Missing) {                // the folder looked in
        EXPECT_NE(front.Notice.find(dir.string() + "/"), std::string::npos) << front.Notice;
      }
      if (japanese) {
        EXPECT_TRUE(front.Notice.find("\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1") !=
                        std::string::npos ||
                    front.Notice.find("\x93\xC7\x82\xDF") != std::string::npos)
            << c.what;  // ありません / 読め
      } else {
        EXPECT_EQ(front.Notice.substr(0, std::string_view(c.notice).size()), c.notice) << c.what;
      }
      // The grid is the Part's: totals of 0 where nothing was counted.
      EXPECT_EQ(front.Tally.Cell(7, 17), c.outcome == TReadOutcome::Drawing ? "1" : "0") << c.what;
      // A failure is written in red in the middle of the preview too, and nowhere else.
      f.PaintBox1Paint();
      std::string written;
      for (const auto& t : front.Canvas.Only<test::TTextOut>())
        if (t.Color == RgbColor(255, 0, 0) && t.X > 0) {
          written += t.Text;
          EXPECT_LE(t.X + 8 * static_cast<int>(t.Text.size()), front.PreviewW)
              << t.Text;  // none cut off
        }
      EXPECT_EQ(written, alert ? front.Notice : (c.outcome == TReadOutcome::Drawing ? "17" : ""))
          << c.what;
      // Escape held over a file that gave nothing to draw stops nothing: the strip stays.
      SetUserBreakSource([] { return true; });
      f.Redraw();
      SetUserBreakSource(nullptr);
      EXPECT_EQ(front.StatusCaption == "",
                c.outcome != TReadOutcome::Drawing && c.outcome != TReadOutcome::NoUserTypes)
          << c.what;
      f.FormClose();
    }
  }
}

TEST_F(TShownFormFixture, WheelAndPressesEndTheWalkOnlyWhenTheyAct) {
  ASSERT_TRUE(form.FormKeyDown(kKeyF3, false));
  const double scale = view.ViewScale;
  ui.CursorX = -5;  // outside the preview: unhandled, the walk goes on
  EXPECT_FALSE(form.FormMouseWheel(-120, -5, 10));
  EXPECT_FALSE(form.FormMouseWheel(0, 10, 10));
  EXPECT_TRUE(form.MarkWalk.Active());
  EXPECT_EQ(view.ViewScale, scale);
  EXPECT_TRUE(form.FormMouseWheel(-120, 10, 10));  // towards the user: zooms in
  EXPECT_GT(view.ViewScale, scale);
  EXPECT_FALSE(form.MarkWalk.Active());
  EXPECT_EQ(ui.StatusCaption, "");
  EXPECT_EQ(ui.Focused, 1);

  ASSERT_TRUE(form.FormKeyDown(kKeyF3, false));
  form.PaintBox1MouseDown(10, 10, MouseShiftState({.Left = true}));
  EXPECT_FALSE(form.MarkWalk.Active());
  EXPECT_EQ(form.Nav.ButtonFlags, kShiftLeftButton);
  form.PaintBox1MouseUp(10, 10);
  EXPECT_EQ(form.Nav.ButtonFlags, 0);
}

TEST_F(TShownFormFixture, CtrlCCopiesTheTableCtrlShiftCTheMarksAndTheStripSaysSo) {
  // The marks as a check sheet: headings in the window's language, the group's name without
  // the blank after its key, a midpoint at 500.22835 to three decimals.
  const std::string line = KindHeading(kTallyLine);
  const std::string marks = "\t" + line + "\t0\t1F plan\t0\t\t5\t0\t5\t0\n17\t" + line +
                            "\t0\t1F plan\t0\t\t1005\t0\t1005\t0\n18\t" + line +
                            "\t0\t1F plan\t0\t\t5\t500.228\t5\t500.228\n";
  // 線種 種類 グループ グループ名 レイヤ レイヤ名 X (図面) Y (図面) X Y
  const std::string japaneseHeadings =
      "\x90\xFC\x8E\xED\t\x8E\xED\x97\xDE\t\x83O\x83\x8B\x81[\x83v\t\x83O\x83\x8B\x81["
      "\x83v\x96\xBC\t"
      "\x83\x8C\x83"
      "C\x83\x84\t\x83\x8C\x83"
      "C\x83\x84\x96\xBC\tX (\x90}\x96\xCA)\tY (\x90}\x96\xCA)\tX\tY";
  const struct {
    bool shift, ctrl, works, japanese;
    std::string clipboard, status;
  } cases[] = {
      {false, true, true, false, TabSeparatedText(TallyRows(form.Tally())),
       "Copied the tally table"},
      {true, true, true, false,
       "Line type\tKind\tGroup\tGroup name\tLayer\tLayer name\tX (drawing)\tY (drawing)\tX\tY\n17" +
           marks,
       "Copied the list of 3 marks"},
      {true, true, true, true, japaneseHeadings + "\n17" + marks,
       CopiedText(THandOver::CopyMarks, 3, true, true)},
      {false, true, false, false, "", "The clipboard cannot be used"},
  };
  for (const auto& c : cases) {
    ui.Clipboard.clear();
    ui.ClipboardWorks = c.works;
    ui.Japanese = c.japanese;
    ui.Busy.clear();
    EXPECT_TRUE(form.FormKeyDown(kKeyC, c.shift, c.ctrl));
    EXPECT_EQ(ui.Clipboard, c.clipboard);
    EXPECT_EQ(ui.StatusCaption, c.status);
    EXPECT_EQ(ui.Busy, "+-") << c.status;  // the wait cursor, taken away even on a failure
  }
  ui.Japanese = false;
  EXPECT_FALSE(form.FormKeyDown(kKeyC, false, false)) << "C alone is no copy";
}

TEST_F(TShownFormFixture, CtrlSWritesThePictureAndBothTablesOrNoFileAtAll) {
  ASSERT_TRUE(form.FormKeyDown(kKeyF3, false));  // a zoomed view, which the save keeps
  const TView zoomed = view;
  ui.SaveAnswer = (folder / "out").string();
  EXPECT_TRUE(form.FormKeyDown(kKeyS, false, true));
  EXPECT_EQ(ui.AskedFolder, folder.string() + "/");
  EXPECT_EQ(ui.AskedName, "JWC_TEMP.png") << "a drawing without a file name";
  EXPECT_EQ(ui.StatusCaption, "Saved out.png, out-tally.csv and out-marks.csv");
  EXPECT_EQ(
      (std::array{view.ViewScale, view.ViewLeft, view.ViewBottom, view.ViewRight, view.ViewTop}),
      (std::array{zoomed.ViewScale, zoomed.ViewLeft, zoomed.ViewBottom, zoomed.ViewRight,
                  zoomed.ViewTop}));
  EXPECT_GT(std::stoi(Read("out.png")), 10) << "the picture was drawn";
  const std::string bom(kUtf8ByteOrderMark);
  EXPECT_EQ(Read("out-tally.csv"), bom + CsvText(TallyRows(form.Tally())));
  EXPECT_EQ(Read("out-marks.csv"), bom + CsvText(CheckSheetMarkRows(form.Drawing(), false)));

  // A folder that takes no file, or a cancelled dialog: nothing new, not even a partial file.
  const auto files = [&] {
    return std::distance(fs::recursive_directory_iterator(folder),
                         fs::recursive_directory_iterator{});
  };
  const auto before = files();
  ui.SaveAnswer = (folder / "missing" / "x.png").string();
  EXPECT_EQ(ui.Busy, "+-");
  form.SaveFiles();
  EXPECT_EQ(ui.StatusCaption.substr(0, 17), "Cannot save x.png") << ui.StatusCaption;
  EXPECT_EQ(ui.Busy, "+-+-") << "the wait cursor is taken away after a failure too";
  ui.SaveAnswer.clear();
  ui.StatusCaption = "unchanged";
  form.SaveFiles();
  EXPECT_EQ(ui.StatusCaption, "unchanged");
  EXPECT_EQ(ui.Busy, "+-+-") << "no wait for a cancelled dialog";
  EXPECT_EQ(files(), before);
}

TEST(MouseShiftState, EachFieldIsItsOwnBit) {
  EXPECT_EQ(MouseShiftState({}), 0);
  EXPECT_EQ(MouseShiftState({.Left = true,
                             .Right = true,
                             .Middle = true,
                             .DoubleClick = true,
                             .Shift = true,
                             .Alt = true,
                             .Ctrl = true}),
            kShiftLeftButton | kShiftRightButton | kShiftMiddleButton | kShiftDoubleClick |
                kShiftShiftKey | kShiftAltKey | kShiftCtrlKey);
  EXPECT_EQ(MouseShiftState({.Right = true, .Shift = true}), kShiftRightButton | kShiftShiftKey);
}

TEST_F(TFormFixture, AQueuedFirstDrawingLeavesAFramedEmptyPreview) {
  ui.Queue = true;
  form.FormCreate();
  form.FormShow();
  form.PaintBox1Paint();
  EXPECT_EQ(ui.Queued, 1);
  EXPECT_EQ(ui.Stores, 0) << "nothing drawn until the front end calls FitAll";
  EXPECT_EQ(ui.ImageDraws, 0);
  ASSERT_EQ(ui.Canvas.Commands.size(), 2u);
  EXPECT_EQ(ui.Canvas.Commands[1],
            test::TCommand(test::TRectangle{0, 0, 380, 367, TPen{0xFF0000, 0},
                                            TBrush{0xFFFFFF, TBrushStyle::Clear}}));
  form.DrawQueuedPicture();
  EXPECT_EQ(ui.Stores, 1);
  form.DrawQueuedPicture();
  EXPECT_EQ(ui.Stores, 1) << "a picture drawn meanwhile stays";
  form.FormClose();
}

TEST_F(TShownFormFixture, ALongDrawingShowsItsProgressAndGivesTheBreakSourceBack) {
  int polls = 0;
  SetUserBreakSource([&polls] {
    // The first three polls each take a progress period.
    if (++polls <= 3)
      std::this_thread::sleep_for(std::chrono::milliseconds(kProgressMilliseconds + 5));
    return false;
  });
  EXPECT_TRUE(form.Redraw());
  ASSERT_GE(polls, 4);
  EXPECT_EQ(ui.Progress, 3) << "the polls after a period each show the picture, the others not";
  const int progress = ui.Progress;
  EXPECT_FALSE(CheckUserBreak());
  EXPECT_EQ(ui.Progress, progress) << "the form's own source is gone after the drawing";
  SetUserBreakSource([] { return true; });  // Escape: the strip says what Home will draw
  EXPECT_FALSE(form.Redraw());
  EXPECT_EQ(ui.StatusCaption, "Drawing stopped (Home redraws the whole drawing)");
  SetUserBreakSource(nullptr);
}

TEST_F(TFormFixture, SettingsLargerThanTheScreenAreCutToItAndResizeOnlySizes) {
  std::ofstream(folder / "finder.dat", std::ios::binary) << "10\r\n20\r\n3000\r\n2000\r\n250\r\n";
  ui.ScreenW = 800;
  ui.ScreenH = 600;
  form.FormCreate();
  form.FormShow();
  EXPECT_EQ(ui.Rect, (TWindowRect{10, 20, 800, 600}));
  ui.Rect = {10, 20, 100, 600};
  form.FormResize();
  EXPECT_EQ(ui.Resizes, 1);
  EXPECT_EQ(ui.Rect, (TWindowRect{10, 20, 475, 600}));
  form.FormResize();
  EXPECT_EQ(ui.Resizes, 1) << "a size at the minimum is left alone";
  form.FormClose();
}

}  // namespace
}  // namespace sxf

namespace sxf {
namespace {

// A walk zooms a tiny entity to four mark diameters of fit-all each way, at any dpi: the
// mark's diameter, not its radius, and the marks' pixels at that dpi.
// A drawing file is counted inside its blocks, and the strip says how many counted entities
// lie there; the host's file that names such a drawing offers F5, which reads it.
TEST_F(TFormFixture, ADrawingFileIsCountedInsideItsBlocksAndF5ReadsTheOneTheHostNames) {
  TJwwDrawingFile file;
  file.Version = 700;
  file.LayerGroupScale.fill(1.0);
  TJwwBlockDef def;
  def.Number = 1, def.Name = "door", def.Referenced = true;
  TJwwEntLin line;
  line.Hdr.LType = 47, line.Hdr.Color = 1, line.X2 = 10;
  def.Contents.LinList.push_back(line);
  def.Contents.EntOrder.push_back({kKindLin, 0});
  file.Blocks.push_back(def);
  for (double x : {0.0, 50.0}) {
    TJwwEntBlk ref;
    ref.X = x, ref.Name = "door";
    file.Top.EntOrder.push_back({kKindBlk, file.Top.BlkCount()});
    file.Top.BlkList.push_back(ref);
    file.TopPlacements.push_back({1, 1, 0, 1});
  }
  const fs::path saved = folder / "plan.jww";
  std::ofstream(saved, std::ios::binary) << test::WriteJwwFile(file);
  // The host hands over the two references only, and names the saved drawing.
  std::ofstream(folder / "JWC_TEMP.TXT", std::ios::binary)
      << "file=" << saved.string() << "\r\nBL 0 0 door\r\nBL 50 0 door\r\n";
  form.FormCreate();
  form.FormShow();
  EXPECT_EQ(form.Tally().Cell(kTallyTotal, kTallyTotalRow), "0");
  EXPECT_NE(ui.Notice.find("F5: search the saved " + saved.string()), std::string::npos)
      << ui.Notice;
  EXPECT_TRUE(form.FormKeyDown(116, false));
  EXPECT_EQ(form.Tally().Cell(kTallyTotal, kTallyTotalRow), "2");
  EXPECT_EQ(CollectLineTypeMarks(form.Drawing()).size(), 2u);
  EXPECT_EQ(ui.Notice, "User line types inside blocks: 2");
  EXPECT_FALSE(ui.NoticeAlert);
  // The same file cut short: a failure that says how far reading got, in red.
  std::string bytes = test::WriteJwwFile(file);
  std::ofstream(saved, std::ios::binary | std::ios::trunc) << bytes.substr(0, bytes.size() - 40);
  form.OpenDrawingFile(saved.string());
  EXPECT_TRUE(ui.NoticeAlert);
  EXPECT_EQ(ui.Notice.rfind("Cannot read plan.jww: ", 0), 0u) << ui.Notice;
  form.FormClose();
}

TEST(Notice, BreaksAfterSeparatorsThenBetweenKindsOnlyWhereItMustAndStaysInsideThePreview) {
  const struct {
    const char* text;
    std::size_t fit;
    const char* lines;  // joined by '|'
  } breaks[] = {
      {"abc def", 7, "abc def"},  // as wide as the room: one line
      {"abcdefghij", 4, "abcd|efgh|ij"},
      // JWC_TEMP.TXT がありません（フォルダ /home/op/チェック用/）: after the path's separator,
      // not inside the word
      {"JWC_TEMP.TXT \x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x69\x83\x74\x83"
       "\x48\x83\x8B\x83\x5F /home/op/\x83\x60\x83\x46\x83\x62\x83\x4E\x97\x70/\x81j",
       48,
       "JWC_TEMP.TXT \x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x69\x83\x74\x83\x48"
       "\x83\x8B\x83\x5F /home/op/|\x83\x60\x83\x46\x83\x62\x83\x4E\x97\x70/\x81j"},
      // チェック用図面: where katakana meet kanji
      {"\x83\x60\x83\x46\x83\x62\x83\x4E\x97\x70\x90\x7D\x96\xCA", 12,
       "\x83\x60\x83\x46\x83\x62\x83\x4E|\x97\x70\x90\x7D\x96\xCA"},
      {"a/bcdefghijk", 6, "a/bcde|fghijk"},  // a separator too early is no place to break
  };
  for (const auto& b : breaks) {
    std::string joined;
    for (const std::string_view line : BreakNoticeLines(b.text, b.fit))
      joined += (joined.empty() ? "" : "|") + std::string(line);
    EXPECT_EQ(joined, b.lines) << b.text;
  }
  // The box with its pad and frame lies inside the preview at 100 and 150 %; a text just as
  // wide as the room stays on one line.
  for (const int dpi : {96, 144}) {
    const int width = 400 * dpi / 96, height = 200 * dpi / 96;
    const int room = (width - 2 * DesignPixels(8, dpi) - 4) / DesignPixels(8, dpi);
    for (const std::string& text : {std::string(room, 'x'), std::string(3 * room + 5, 'y')}) {
      const TNoticeLayout n = LayOutNotice(text, dpi, width, height);
      EXPECT_EQ(n.Lines.size(), text.size() == static_cast<std::size_t>(room) ? 1u : 4u) << dpi;
      EXPECT_GE(n.Left - n.Pad, 0) << dpi;
      EXPECT_LT(n.Left + n.TextWidth + n.Pad, width) << dpi;
      EXPECT_GE(n.Top - n.Pad, 0) << dpi;
      EXPECT_LT(n.Top + n.TextHeight + n.Pad, height) << dpi;
      EXPECT_EQ(n.CellHeight, DesignPixels(16, dpi));
    }
  }
}

TEST(ZoomViewToMark, ATinyEntityGetsFourMarkDiametersOfFitAllEachWay) {
  TDrawing drawing;
  TJwwEntLin line;
  line.Hdr.LType = 47;
  line.X1 = 5, line.Y1 = 5, line.X2 = 5.001, line.Y2 = 5;
  drawing.LinList.push_back(line);
  const TWorldBox extents{-100, -100, 100, 100};
  for (const int dpi : {96, 144}) {
    TWindowViews views;
    TView& view = views.View;
    view.ViewDpi = dpi;
    ZoomViewToMark(views, drawing, extents, CollectLineTypeMarks(drawing).front(), 400, 300);
    const double fitAll = 0.9 * 300 / 200.0;
    const double side = 4 * 2 * ScaleForDpi(10, dpi) / fitAll;  // world units
    EXPECT_DOUBLE_EQ(view.ViewScale, 0.9 * 300 / side) << dpi;
    EXPECT_NEAR((view.ViewLeft + view.ViewRight) / 2, 5.0005, 1e-9);
  }
}

}  // namespace
}  // namespace sxf
