#include "render/Renderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "render/UserBreak.h"
#include "support/DrawingFixture.h"

namespace sxf {
namespace {

using test::TLineTo;
using test::TPolygon;
using test::TPolyline;
using test::TRecordingCanvas;

using RendererTest = test::DrawingTest;

// Index of the first command of type T, or the command count.
template <typename T>
std::size_t FirstOf(const TRecordingCanvas& c) {
  for (std::size_t i = 0; i < c.Commands.size(); ++i)
    if (std::holds_alternative<T>(c.Commands[i])) return i;
  return c.Commands.size();
}

TEST_F(RendererTest, SolidsAreBelowEverythingWhateverTheFileOrder) {
  Parse({"10 10 20 20", "ci 50 50 5", "pt 30 30", "lc3", "sl 10 10 40 10 40 40 10 40"});
  EXPECT_TRUE(RenderDrawing(c, view, drawing));
  const std::size_t polygon = FirstOf<TPolygon>(c);
  ASSERT_LT(polygon, c.Commands.size());
  EXPECT_LT(polygon, FirstOf<TLineTo>(c));
  const auto solid = c.Only<TPolygon>()[0];
  EXPECT_EQ(solid.Brush, (TBrush{RgbColor(0, 192, 0), TBrushStyle::Solid}));
  EXPECT_EQ(solid.Pen.Style, TPenStyle::Solid);
  EXPECT_EQ(c.Brush.Style, TBrushStyle::Solid);  // the plain point's own dot brush
}

TEST_F(RendererTest, SolidsOfColourTenUseTheirRgbAndTwoCornersAreALine) {
  Parse({"lc10 255", "lt47", "sl 10 10 40 40", "lc10 16711680", "sl 10 10 40 10 40 40"});
  RenderDrawing(c, view, drawing);
  const auto lines = c.Only<TPolyline>();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Pen,
            (TPen{255, 0, TPenStyle::Solid, TPenMode::Copy}));  // solid despite type 47
  const auto polygons = c.Only<TPolygon>();
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(polygons[0].Brush, (TBrush{0xFF0000, TBrushStyle::Solid}));
}

TEST_F(RendererTest, ColoursWithoutAnEntryDrawInTheBackground) {
  Parse({"lc0", "10 10 20 20", "lc100", "ci 50 50 5", "lc357", "sl 10 10 40 10 40 40"});
  RenderDrawing(c, view, drawing);
  for (const auto& l : c.Only<TLineTo>()) EXPECT_EQ(l.Pen.Color, RgbColor(255, 255, 255));
  EXPECT_EQ(c.Only<TPolygon>()[0].Brush.Color, RgbColor(255, 255, 255));
}

TEST_F(RendererTest, GroupScaleDividesCoordinatesAndBlocksDrawNothing) {
  Parse({"hs 100 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "0 50 1000 50", "BL 10 10 door"});
  RenderDrawing(c, view, drawing);
  const auto lines = c.Only<TLineTo>();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].X, 10);
  c.Commands.clear();
  Parse({"bz"});
  RenderDrawing(c, view, drawing);
  EXPECT_EQ(c.Only<test::TMoveTo>()[0].X, 0);
  EXPECT_EQ(c.Only<TLineTo>()[0].X, 100);  // full length, clipped at the view's edge
  Reset();
  Parse({"BL 10 10 door", "BL 20 20 window"});
  c.Commands.clear();
  RenderDrawing(c, view, drawing);
  EXPECT_TRUE(c.Commands.empty());
}

// One record of each kind whose coordinates and lengths are m times those of the plain drawing,
// in the given layer group; angles, flatness, modes, mark scales and text sizes are not scaled.
struct TScaledKind {
  const char* name;
  void (*add)(TDrawing& d, double m, int group);
};

TJwwEntHdr Head(int group, int color = 2, int ltype = 1) {
  TJwwEntHdr h;
  h.Group = group;
  h.Color = color;
  h.LType = ltype;
  return h;
}

const TScaledKind kScaledKinds[] = {
    {"sl2",
     [](TDrawing& d, double m, int g) {
       d.Sl2List.push_back({Head(g, 3), 0, 10 * m, 12 * m, 40 * m, 31 * m});
     }},
    {"sl3",
     [](TDrawing& d, double m, int g) {
       d.Sl3List.push_back({Head(g, 3), 0, 10 * m, 12 * m, 40 * m, 14 * m, 30 * m, 33 * m});
     }},
    {"sl4",
     [](TDrawing& d, double m, int g) {
       d.Sl4List.push_back(
           {Head(g, 3), 0, 10 * m, 12 * m, 40 * m, 14 * m, 42 * m, 33 * m, 12 * m, 36 * m});
     }},
    {"sc",
     [](TDrawing& d, double m, int g) {
       d.ScList.push_back({Head(g, 3), 0, 50 * m, 52 * m, 20 * m, 0.5, 0.3, 0.2, 1.0, 3});
     }},
    {"se",
     [](TDrawing& d, double m, int g) {
       d.SeList.push_back({Head(g, 3), 0, 50 * m, 52 * m, 20 * m, 0.5, 0.3, 0.2, 1.0, 0});
     }},
    {"so",
     [](TDrawing& d, double m, int g) {
       d.SoList.push_back({Head(g, 3), 0, 50 * m, 52 * m, 20 * m, 0.5, 0.3, 0.2, 1.0, 12 * m});
     }},
    {"sg",
     [](TDrawing& d, double m, int g) {
       d.SgList.push_back({Head(g, 3), 0, 50 * m, 52 * m, 20 * m, 0.5, 0.3, 0.2, 1.0, 12 * m});
     }},
    {"line",
     [](TDrawing& d, double m, int g) {
       d.LinList.push_back({Head(g), 0, 10 * m, 12 * m, 70 * m, 61 * m});
     }},
    {"circle",
     [](TDrawing& d, double m, int g) {
       d.CirList.push_back({Head(g), 50 * m, 52 * m, 20 * m});
     }},
    {"arc",
     [](TDrawing& d, double m, int g) {
       d.ArcList.push_back({Head(g), 50 * m, 52 * m, 20 * m, 10.0, 100.0, 0.5, 20.0});
     }},
    {"point",
     [](TDrawing& d, double m, int g) {
       d.PntList.push_back({Head(g), 30 * m, 42 * m});
     }},
    {"point with code",
     [](TDrawing& d, double m, int g) {
       d.PntExList.push_back({Head(g), 30 * m, 42 * m, 2.0, 30.0, -6});
       d.PntExList.push_back({Head(g), 60 * m, 42 * m, 2.0, 30.0, 1});
     }},
    {"dimension",
     [](TDrawing& d, double m, int g) {
       TJwwEntDim dim;
       dim.Hdr = Head(g);
       dim.Line = {Head(g), 0, 10 * m, 12 * m, 70 * m, 12 * m};
       d.DimList.push_back(dim);
     }},
    {"text",
     [](TDrawing& d, double m, int g) {
       TJwwEntTxt t;
       t.Hdr = Head(g);
       t.W = 3;
       t.H = 4;
       t.X = 20 * m;
       t.Y = 30 * m;
       t.DirX = 10 * m;
       t.BasePoint = 4;  // centred: the offsets use the unscaled sizes
       t.FontName = kDefaultFontName;
       t.Text = "AB";
       d.TxtList.push_back(t);
       t.W = t.H = 0.01;  // too small for characters: a line along the text's direction
       d.TxtList.push_back(t);
     }},
    {"image",
     [](TDrawing& d, double m, int g) {
       TJwwEntTxt t;
       t.Hdr = Head(g);
       t.X = 20 * m;
       t.Y = 30 * m;
       t.Text = "^@BMpicture.bmp,15,10";  // its size is in sheet units: not divided
       d.TxtList.push_back(t);
     }},
};

// Every coordinate and length the renderer draws, radii and inner radii included, is divided by
// the scale of the entity's own layer group; everything else is left alone.
TEST_F(RendererTest, GroupScaleDividesEveryCoordinateOfEveryKind) {
  view = test::MakeView(0, 0, 10, 1000, 1000);
  for (const TScaledKind& kind : kScaledKinds) {
    TDrawing plainDrawing;
    kind.add(plainDrawing, 1.0, 0);
    TRecordingCanvas plain;
    RenderDrawing(plain, view, plainDrawing);
    ASSERT_FALSE(plain.Commands.empty()) << kind.name;
    for (const double scale : {4.0, 0.5}) {
      TDrawing scaledDrawing;
      scaledDrawing.LayerGroupScale[5] = scale;
      kind.add(scaledDrawing, scale, 5);
      TRecordingCanvas scaled;
      RenderDrawing(scaled, view, scaledDrawing);
      EXPECT_EQ(scaled.Commands, plain.Commands) << kind.name << " at scale " << scale;
    }
  }
}

// Lines, circles, arcs and dimension lines draw with their line type's pen; solids, points,
// texts and pictures always with a solid one, whatever line type their head says.
TEST_F(RendererTest, OnlyLinesCirclesArcsAndDimensionsTakeTheirLineTypesPen) {
  view = test::MakeView(0, 0, 10, 1000, 1000);
  const std::set<std::string> styled = {"line", "circle", "arc", "dimension"};
  for (const TScaledKind& kind : kScaledKinds) {
    TDrawing one;
    kind.add(one, 1.0, 0);
    test::ForEveryHead(one, [](TJwwEntHdr& h) { h.LType = 2; });
    c.Commands.clear();
    RenderDrawing(c, view, one);
    bool dashed = false;
    for (const auto& command : c.Commands)
      std::visit(
          [&dashed](const auto& x) {
            if constexpr (requires { x.Pen; })
              dashed |= x.Pen.Style != TPenStyle::Solid && x.Pen.Style != TPenStyle::Clear;
          },
          command);
    EXPECT_EQ(dashed, styled.count(kind.name) == 1) << kind.name;
  }
}

// A point's mark angle is read in degrees: the open arrowhead's tails turn with it.
TEST_F(RendererTest, PointMarkAnglesAreDegrees) {
  view = test::MakeView(0, 0, 10, 1000, 1000);
  for (const double angle : {0.0, 90.0, -45.0, 210.0, 400.0}) {
    TDrawing point;
    point.PntExList.push_back({Head(0), 50.0, 50.0, 2.0, angle, 9});
    c.Commands.clear();
    RenderDrawing(c, view, point);
    const auto lines = c.Only<TLineTo>();
    ASSERT_EQ(lines.size(), 2u) << angle;
    const double a = angle * 3.14159265358979323846 / 180.0;
    for (std::size_t i = 0; i < 2; ++i) {
      const double u = -15.0, v = i == 0 ? 2.5 : -2.5;  // (-7.5, +-1.25) at scale 2
      const double x = 50.0 + u * std::cos(a) - v * std::sin(a);
      const double y = 50.0 + u * std::sin(a) + v * std::cos(a);
      EXPECT_NEAR(lines[i].X, x * 10.0, 0.51) << angle;
      EXPECT_NEAR(lines[i].Y, 1000.0 - y * 10.0, 0.51) << angle;
    }
  }
}

TEST_F(RendererTest, EveryLayerTypeAndAuxiliaryColourIsDrawn) {
  Parse({"lgF", "lyF 0", "lc9", "lt9", "10 10 20 20", "z1", "20 20 30 30"});
  RenderDrawing(c, view, drawing);
  EXPECT_EQ(c.Only<TLineTo>().size(), 2u);
}

TEST_F(RendererTest, DimensionLinesUseTheLinesOwnHead) {
  Parse({"msg", "lc2", "lt47", "10 10 60 10", "lc3", "lt1", "cs 30 12 1 0 \"50"});
  RenderDrawing(c, view, drawing);
  const auto lines = c.Only<TLineTo>();
  ASSERT_GE(lines.size(), 1u);
  EXPECT_EQ(lines[0].Pen.Color, RgbColor(0, 0, 0));
  EXPECT_EQ(lines[0].Pen.Style, TPenStyle::Dot);
}

TEST_F(RendererTest, HoldingEscapeStopsWithinTenRecords) {
  for (int i = 0; i < 100; ++i) reader.ParseLine("10 10 20 " + std::to_string(20 + i % 50));
  int polls = 0;
  bool held = false;
  SetUserBreakSource([&] {
    ++polls;
    return held;
  });
  EXPECT_TRUE(RenderDrawing(c, view, drawing));
  // The image pass and seven solid lists before the lines, each polled once; 10 polls in the
  // lines and one after them; then the six lists after the lines (texts again).
  EXPECT_EQ(polls, 8 + 10 + 1 + 6);
  EXPECT_EQ(c.Only<TLineTo>().size(), 100u);

  c.Commands.clear();
  polls = 0;
  SetUserBreakSource([&] {
    ++polls;
    held = polls >= 10;  // the second poll in the lines finds Escape held
    return held;
  });
  EXPECT_FALSE(RenderDrawing(c, view, drawing));
  EXPECT_EQ(c.Only<TLineTo>().size(), 11u);  // records 0 .. 10, up to that poll
}

}  // namespace
}  // namespace sxf
