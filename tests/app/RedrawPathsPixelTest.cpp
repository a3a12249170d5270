// The quick paths of a redraw paint exactly the pixels of the plain ones: texts, dimension
// texts and numbered marks found through the drawing index against a walk of every record,
// and the canvas's one-step pixel lines against MoveTo, LineTo and SetPixel, on generated
// drawings of both kinds (a large sheet of mostly tiny figures at group scales of 100 and 50,
// and a crowded sheet at group scale 1) at several zooms and pans.

#include <gtest/gtest.h>

#include <QImage>

#include <memory>
#include <random>

#include "globals/UnitGval.h"
#include "model/JwwGaibu2.h"
#include "platform/qt/QtCanvas.h"
#include "preview/Preview.h"
#include "render/DrawingIndex.h"
#include "support/ModelTestSupport.h"
#include "support/RandomDrawing.h"
#include "support/PreviewImage.h"
#include "render/UserBreak.h"
#include "search/LineTypeMarks.h"

namespace sxf {
namespace {

// Hands every call to a Qt canvas but keeps the canvas's plain PixelLine: MoveTo, LineTo and
// SetPixel one by one.
class TThreeCallCanvas final : public TCanvas {
 public:
  explicit TThreeCallCanvas(QImage& image) : inner_(image) {}
  void MoveTo(int x, int y) override { Sync(), inner_.MoveTo(x, y); }
  void LineTo(int x, int y) override { Sync(), inner_.LineTo(x, y); }
  void SetPixel(int x, int y, TColor color) override { Sync(), inner_.SetPixel(x, y, color); }
  void Rectangle(int x1, int y1, int x2, int y2) override {
    Sync(), inner_.Rectangle(x1, y1, x2, y2);
  }
  void Polyline(std::span<const TPixelPoint> points) override { Sync(), inner_.Polyline(points); }
  void Polygon(std::span<const TPixelPoint> points) override { Sync(), inner_.Polygon(points); }
  void SetFont(const TLogFont& font) override { Sync(), inner_.SetFont(font); }
  void TextOut(int x, int y, std::string_view text) override { Sync(), inner_.TextOut(x, y, text); }
  void Flush() { inner_.Flush(); }

 private:
  void Sync() {
    inner_.Pen = Pen;
    inner_.Brush = Brush;
    inner_.FontColor = FontColor;
  }
  TQtCanvas inner_;
};

using TKind = test::TRandomProfile;

class RedrawPaths : public ::testing::Test {
 protected:
  void SetUp() override { GraAttr = std::make_unique<TgraAttribute>(); }
  void TearDown() override {
    SetHiddenMarksSkipped(true);
    SetUserBreakSource(nullptr);
    SetDrawingIndexAreaShare(0.25);
    ClearDrawingIndex();
    GraAttr.reset();
  }
  TView view;
};

TEST_F(RedrawPaths, IndexedTextsDimensionsAndMarksPaintTheSamePixelsAsEveryRecord) {
  constexpr int kWidth = 480, kHeight = 300;
  const struct {
    double zoom, panX, panY;  // pan in view widths and heights
  } views[] = {{1, 0, 0},        {4, 0.2, -0.1}, {12, 0, 0},
               {12, -0.4, 0.35}, {40, 0.3, 0.2}, {150, 0.05, -0.1}};
  int indexedTextViews = 0, marksSeen = 0;
  for (TKind kind : {TKind::Light, TKind::Dense}) {
    for (unsigned seed : {1u, 2u}) {
      const TDrawing drawing = test::MakeRandomDrawing(kind, seed, 5000);
      PrepareDrawingIndex(drawing, ComputeExtents(drawing));
      for (const auto& v : views) {
        test::ZoomAndPan(view, drawing, kWidth, kHeight, v.zoom, v.panX, v.panY);
        SetDrawingIndexAreaShare(0.0);
        const QImage everyRecord =
            test::DrawPreviewImage<TQtCanvas>(view, drawing, kWidth, kHeight);
        SetDrawingIndexAreaShare(1e9);
        if (const auto* near = RecordsNearView(view, drawing.TxtList.data(), drawing.TxtCount()))
          if (near->size() < drawing.TxtList.size()) ++indexedTextViews;
        const QImage indexed = test::DrawPreviewImage<TQtCanvas>(view, drawing, kWidth, kHeight);
        EXPECT_TRUE(indexed == everyRecord)
            << (kind == TKind::Dense ? "dense" : "light") << " seed " << seed << " zoom " << v.zoom
            << " pan " << v.panX << ", " << v.panY;
      }
      marksSeen += static_cast<int>(CollectLineTypeMarks(drawing).size());
      ClearDrawingIndex(drawing);
    }
  }
  EXPECT_GE(indexedTextViews, 8);
  EXPECT_GT(marksSeen, 1000);
}

// One record alone in its list, views of a few dozen pixels placed just left of and below it
// (where its list's single grid cell is cut off exactly by the record's box): whenever the
// index leaves the record out, drawing it must not have painted a pixel of that view.
TEST_F(RedrawPaths, ARecordLeftOutByTheIndexPaintsNothingInTheView) {
  constexpr int kSide = 40;
  std::mt19937 rng(11);
  auto uniform = [&rng](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(rng);
  };
  const char* texts[] = {"ROOM 101", "\x95\x94\x89\xAE 12", "W=1200 H=2100 SD-03", "ab"};
  int leftOut = 0, painted = 0;
  view.ViewWidth = view.ViewHeight = kSide;
  view.ViewScale = 1.0;
  CentreViewOn(view, -300, -300);
  const QImage blank = test::DrawPreviewImage<TQtCanvas>(view, TDrawing(), kSide, kSide);
  for (int trial = 0; trial < 150; ++trial) {
    TDrawing drawing;
    const bool dimension = trial % 3 == 0;
    const bool markedLine = trial % 3 == 1;
    TJwwEntTxt t;
    t.Hdr.Color = 2;
    t.TextCode = trial % 5 == 0 ? 1 : 0;
    t.BasePoint = static_cast<int>(rng() % 9);
    t.H = uniform(2, 10);
    t.W = trial % 7 == 0 ? -t.H : t.H;
    t.D = uniform(0, 3);
    const double angle = uniform(0, 6.3);
    // A short end point: the characters, not the line to the end, decide how far it reaches.
    const double toEnd = uniform(0.5, 4);
    t.DirX = toEnd * std::cos(angle), t.DirY = toEnd * std::sin(angle);
    t.FontName = trial % 4 == 0 ? "@MS Gothic" : "MS Gothic";
    t.Text = texts[rng() % std::size(texts)];
    if (dimension) {
      TJwwEntDim d;
      d.Line.Hdr.LType = 47 + trial % 16;                        // with its mark
      d.Line.X1 = -1, d.Line.X2 = 1, d.Line.Y1 = d.Line.Y2 = 0;  // its mark reaches beyond it
      d.Text = t;
      d.Text.TextCode = 2;
      drawing.DimList.push_back(d);
    } else if (markedLine) {
      TJwwEntLin e;
      e.Hdr.LType = 47 + trial % 16;
      e.X1 = e.Y1 = -1, e.X2 = e.Y2 = 1;  // its mark reaches well beyond it
      drawing.LinList.push_back(e);
    } else {
      drawing.TxtList.push_back(t);
    }
    const void* list = dimension    ? static_cast<const void*>(drawing.DimList.data())
                       : markedLine ? static_cast<const void*>(drawing.LinList.data())
                                    : drawing.TxtList.data();
    BuildDrawingIndex(drawing);
    for (const double scale : {4.0, 1.0}) {
      for (int k = 0; k < 80; ++k) {
        // Views of kSide pixels marching in from far left and far below of the record.
        view.ViewWidth = view.ViewHeight = kSide;
        view.ViewScale = scale;
        const double away = -150.0 + 3.6 * (k / 2);
        const double along = uniform(-40, 40);
        if (k % 2 == 0)
          CentreViewOn(view, away, along);
        else
          CentreViewOn(view, along, away);
        SetDrawingIndexAreaShare(0.0);
        const QImage everyRecord = test::DrawPreviewImage<TQtCanvas>(view, drawing, kSide, kSide);
        // Views where the record paints something (the origin's cross lies further in).
        if (everyRecord != blank) ++painted;
        SetDrawingIndexAreaShare(1e9);
        const std::vector<int>* near = RecordsNearView(view, list, 1);
        if (near == nullptr || !near->empty()) continue;
        ++leftOut;
        const QImage indexed = test::DrawPreviewImage<TQtCanvas>(view, drawing, kSide, kSide);
        EXPECT_TRUE(indexed == everyRecord)
            << "trial " << trial << " view " << k << " at scale " << scale;
      }
    }
    ClearDrawingIndex(drawing);
  }
  EXPECT_GT(leftOut, 300);
  EXPECT_GT(painted, 300);
}

// Marks hidden under later marks' boxes are left out: the same pixels as drawing every mark,
// at fit-all where thousands overlap and zoomed in, with characters from the sprites and
// through the painter, and after a break part-way through the marks.
TEST_F(RedrawPaths, LeavingOutHiddenMarksPaintsWhatEveryMarkPaints) {
  constexpr int kWidth = 400, kHeight = 260;
  for (TKind kind : {TKind::Light, TKind::Dense}) {
    const TDrawing drawing = test::MakeRandomDrawing(kind, 5, 12000);
    for (const double zoom : {1.0, 3.0, 20.0}) {
      FitViewToDrawing(view, ComputeExtents(drawing), kWidth, kHeight);
      const double cx = (view.ViewLeft + view.ViewRight) / 2,
                   cy = (view.ViewBottom + view.ViewTop) / 2;
      view.ViewScale *= zoom;
      CentreViewOn(view, cx, cy);
      for (const bool sprites : {true, false}) {
        QImage images[2];
        for (const bool skip : {false, true}) {
          SetHiddenMarksSkipped(skip);
          QImage& image = images[skip ? 1 : 0];
          image = QImage(kWidth, kHeight, QImage::Format_RGB32);
          TQtCanvas canvas(image);
          canvas.TextSpritesOn = sprites;
          DrawPreview(canvas, view, drawing, kWidth, kHeight);
          canvas.Flush();
        }
        EXPECT_TRUE(images[0] == images[1]) << (kind == TKind::Dense ? "dense" : "light")
                                            << " zoom " << zoom << " sprites " << sprites;
      }
    }
  }
  // The marks alone with a break half-way through their walk: the marks up to it, as if each
  // were drawn.
  const TDrawing dense = test::MakeRandomDrawing(TKind::Dense, 6, 12000);
  FitViewToDrawing(view, ComputeExtents(dense), kWidth, kHeight);
  int walkPolls = 0;
  SetUserBreakSource([&walkPolls] { return ++walkPolls < 0; });
  {
    QImage scratch(8, 8, QImage::Format_RGB32);
    TQtCanvas counting(scratch);
    DrawLineTypeMarks(counting, view, dense, kMarkRadiusPixels / view.ViewScale);
  }
  ASSERT_GT(walkPolls, 100);
  QImage images[2];
  for (const bool skip : {false, true}) {
    SetHiddenMarksSkipped(skip);
    int polls = 0;
    SetUserBreakSource([&polls, walkPolls] { return ++polls > walkPolls / 2; });
    QImage& image = images[skip ? 1 : 0];
    image = QImage(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    TQtCanvas canvas(image);
    EXPECT_FALSE(DrawLineTypeMarks(canvas, view, dense, kMarkRadiusPixels / view.ViewScale));
    canvas.Flush();
  }
  EXPECT_TRUE(images[0] == images[1]);
}

TEST_F(RedrawPaths, OneStepPixelLinesPaintWhatTheThreeCallsPaint) {
  constexpr int kWidth = 480, kHeight = 300;
  for (TKind kind : {TKind::Light, TKind::Dense}) {
    const TDrawing drawing = test::MakeRandomDrawing(kind, 3, 4000);
    for (const double zoom : {1.0, 6.0, 60.0}) {
      FitViewToDrawing(view, ComputeExtents(drawing), kWidth, kHeight);
      const double cx = (view.ViewLeft + view.ViewRight) / 2,
                   cy = (view.ViewBottom + view.ViewTop) / 2;
      view.ViewScale *= zoom;
      CentreViewOn(view, cx, cy);
      const QImage oneStep = test::DrawPreviewImage<TQtCanvas>(view, drawing, kWidth, kHeight);
      const QImage threeCalls =
          test::DrawPreviewImage<TThreeCallCanvas>(view, drawing, kWidth, kHeight);
      EXPECT_TRUE(oneStep == threeCalls)
          << (kind == TKind::Dense ? "dense" : "light") << " zoom " << zoom;
    }
  }
}

}  // namespace
}  // namespace sxf
