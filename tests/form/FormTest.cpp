// The form's behaviour driven through a front end that records what it was asked to do.

#include "form/Form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "globals/UnitGval.h"
#include "graphics/RecordingCanvas.h"
#include "model/JwwGaibu2.h"

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

  TWindowRect WindowRect() const override { return Rect; }
  void SetWindowRect(const TWindowRect& r) override { Rect = r; }
  int PanelWidth() const override { return Panel; }
  void SetPanelWidth(int width) override { Panel = width; }
  void SetFileNameCaption(const std::string& sjis) override { FileCaption = sjis; }
  void SetStatusCaption(const std::string& sjis) override { StatusCaption = sjis; }
  void ShowTally(const TTallyGrid& grid) override { Tally = grid; }
  int PreviewWidth() const override { return PreviewW; }
  int PreviewHeight() const override { return PreviewH; }
  TCanvas& BeginPreviewDrawing() override {
    ++Drawings;
    Canvas.Commands.clear();
    return Canvas;
  }
  void EndPreviewDrawing() override {}
  bool HasViewImage() const override { return Image; }
  bool StoreViewImage() override { ++Stores; return Image = true; }
  void DrawViewImage() override { ++ImageDraws; }
  void FreeImages() override { Image = false; }
};

struct TFormFixture : ::testing::Test {
  fs::path folder = fs::temp_directory_path() /
                    ("sxf-form-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
  TFakeFrontEnd ui;
  TFormBehaviour form{ui, folder.string() + "/", (folder / "finder.dat").string()};
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
  EXPECT_DOUBLE_EQ(ViewScale, 368.0 / 200.0 * 0.9);

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
            test::TCommand(test::TRectangle{0, 0, 380, 367, TPen{0xFF0000, 0}, TBrush{0xFFFFFF, TBrushStyle::Clear}}));

  ui.Rect = {-30, 40, 300, 100};
  ui.Panel = 20;
  form.FormClose();
  form.FormClose();  // once only
  EXPECT_EQ(Read("finder.dat"), "-30\r\n40\r\n475\r\n200\r\n100\r\n");
  EXPECT_FALSE(GraAttr);
  EXPECT_FALSE(ui.Image);
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
  EXPECT_EQ(LinCount, 1);
  EXPECT_EQ(ui.Tally.Cell(1, 1), "1");  // line type 47 is shown as 17
  form.FormClose();
}

TEST_F(TFormFixture, ResizeKeepsTheMinimumSizeAndTheViewCentre) {
  form.FormCreate();
  form.FormShow();
  const double cx = (ViewLeft + ViewRight) / 2, cy = (ViewBottom + ViewTop) / 2, scale = ViewScale;
  ui.Rect = {5, 6, 300, 150};
  ui.PreviewW = 500;
  ui.PreviewH = 100;
  form.FormResize();
  EXPECT_EQ(ui.Rect, (TWindowRect{5, 6, 475, 200}));
  EXPECT_EQ(form.Settings.WinWidth, 475);
  EXPECT_EQ(ViewWidth, 500);
  EXPECT_DOUBLE_EQ(ViewScale, scale);
  EXPECT_DOUBLE_EQ((ViewLeft + ViewRight) / 2, cx);
  EXPECT_DOUBLE_EQ((ViewBottom + ViewTop) / 2, cy);
  EXPECT_EQ(ui.Drawings, 0);
  form.FormClose();
}

}  // namespace
}  // namespace sxf
