#include "support/RandomDrawing.h"

#include <cmath>
#include <iterator>
#include <random>
#include <type_traits>

#include "model/JwwGaibu2.h"
#include "support/ModelTestSupport.h"

namespace sxf::test {

namespace {

enum class TFigure { Line, Circle, Arc, Text, Dimension, Points, Solids, SolidArcs };

// The figures a profile draws from, each as often as it is listed.
constexpr TFigure kSheetFigures[] = {TFigure::Line, TFigure::Line, TFigure::Line, TFigure::Circle,
                                     TFigure::Arc,  TFigure::Text, TFigure::Dimension};
constexpr TFigure kOddFigures[] = {TFigure::Line,   TFigure::Line,      TFigure::Line,
                                   TFigure::Circle, TFigure::Arc,       TFigure::Points,
                                   TFigure::Solids, TFigure::SolidArcs, TFigure::Dimension};

}  // namespace

void MakeRandomDrawing(TRandomProfile profile, unsigned seed, int records) {
  InitJwwModel();
  std::mt19937 rng(seed);
  auto uniform = [&rng](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  const bool odd = profile == TRandomProfile::OddValues;
  const bool dense = profile == TRandomProfile::Dense;
  if (odd) {
    LayerGroupScale[1] = 2.0;
    LayerGroupScale[2] = 0.5;
  } else if (!dense) {
    LayerGroupScale[0] = 100.0;
    LayerGroupScale[1] = 50.0;
  }
  auto head = [&](TJwwEntHdr& h) {
    h.Group = static_cast<int>(rng() % (odd ? 4 : 2));
    h.Color = 1 + static_cast<int>(rng() % 9);
    h.LType = rng() % 3 == 0 ? 47 + static_cast<int>(rng() % 16) : 1 + static_cast<int>(rng() % 9);
  };
  const double sheetX = dense ? 1000 : 20000, sheetY = dense ? 600 : 20000;
  const char* texts[] = {"ROOM 101", "\x95\x94\x89\xAE 12", "A", "W=1200 H=2100", "^!bold^# x",
                         "$j", "%%x", "12\xA5", "\x95\x94\x81\x45\x81\x45", "^@BM10,20,pic.bmp"};
  auto text = [&](TJwwEntTxt& t, double x, double y) {
    head(t.Hdr);
    t.TextCode = rng() % 6 == 0 ? 1 : 0;
    t.BasePoint = static_cast<int>(rng() % 9);
    const double size = dense ? uniform(0.5, 12) : uniform(0.3, 8);
    t.H = size;
    t.W = rng() % 8 == 0 ? -size : size;
    t.D = uniform(0, size / 2);
    t.X = x, t.Y = y;
    const double angle = rng() % 4 == 0 ? uniform(0, 6.3) : 0.0;
    const double length = size * uniform(2, 12) * (dense ? 1.0 : 100.0);
    t.DirX = length * std::cos(angle), t.DirY = length * std::sin(angle);
    t.FontName = rng() % 5 == 0 ? "@MS Gothic" : "MS Gothic";
    t.Text = texts[rng() % std::size(texts)];
  };
  for (int i = 0; i < records; ++i) {
    double x = 0, y = 0, size = 0;
    if (odd) {
      x = uniform(-1000, 9000), y = uniform(-500, 6000);
      size = rng() % 20 == 0 ? uniform(500, 8000) : uniform(0, 150);
    } else {
      x = uniform(0, sheetX), y = uniform(0, sheetY);
      size = dense ? uniform(5, 100) : (rng() % 20 == 0 ? uniform(500, 5000) : uniform(0, 300));
    }
    const TFigure figure = odd ? kOddFigures[rng() % std::size(kOddFigures)]
                               : kSheetFigures[rng() % std::size(kSheetFigures)];
    // A record of the list's type with a random head, its fields set by fill, appended.
    const auto add = [&head](auto& list, auto fill) {
      typename std::remove_reference_t<decltype(list)>::value_type e;
      head(e.Hdr);
      fill(e);
      list.push_back(e);
    };
    switch (figure) {
      case TFigure::Line:
        add(LinList, [&](TJwwEntLin& e) {
          if (odd) {
            e.X1 = x, e.Y1 = y, e.X2 = x + uniform(-size, size), e.Y2 = y + uniform(-size, size);
            if (rng() % 200 == 0) e.X2 = NAN;
          } else {
            const double a = uniform(0, 6.3);
            e.X1 = x, e.Y1 = y, e.X2 = x + size * std::cos(a), e.Y2 = y + size * std::sin(a);
          }
        });
        break;
      case TFigure::Circle:
        add(CirList, [&](TJwwEntCir& e) { e.Cx = x, e.Cy = y, e.R = size / 2; });
        break;
      case TFigure::Arc:
        add(ArcList, [&](TJwwEntArc& e) {
          e.Cx = x, e.Cy = y, e.R = size / 2, e.StartAngle = uniform(0, 360), e.EndAngle = uniform(0, 720);
          e.Flatness = rng() % 2 ? 1.0 : uniform(0.2, 3.0);
          e.Tilt = uniform(0, 180);
        });
        break;
      case TFigure::Text: {
        TJwwEntTxt t;
        text(t, x, y);
        TxtList.push_back(t);
        break;
      }
      case TFigure::Points:
        add(PntExList, [&](TJwwEntPntEx& e) {
          e.X = x, e.Y = y, e.Scale = uniform(0, 3), e.Angle = uniform(0, 360);
          e.Code = static_cast<int>(rng() % 19) - 7;
        });
        add(PntList, [&](TJwwEntPnt& p) { p.X = y, p.Y = x; });
        break;
      case TFigure::Solids:
        add(Sl3List, [&](TJwwEntSl3& e) {
          e.X1 = x, e.Y1 = y, e.X2 = x + size, e.Y2 = y, e.X3 = x, e.Y3 = y + size / 2;
        });
        add(Sl2List, [&](TJwwEntSl2& f) { f.X1 = x, f.Y1 = y, f.X2 = x - size, f.Y2 = y + 3; });
        break;
      case TFigure::SolidArcs:
        add(ScList, [&](TJwwEntSlArc& e) {
          e.Cx = x, e.Cy = y, e.R = size / 3, e.Flatness = uniform(0.3, 1.5), e.Tilt = uniform(0, 3);
          e.StartAngle = uniform(0, 6), e.SweepAngle = uniform(0.1, 6.3), e.ArcMode = rng() % 2 ? 100 : 0;
        });
        add(SoList, [&](TJwwEntSlArc2& r) {
          r.Cx = x, r.Cy = y, r.R = size / 3, r.R2 = size / 5, r.Flatness = 1, r.StartAngle = 0, r.SweepAngle = 3;
        });
        break;
      case TFigure::Dimension: {
        TJwwEntDim e;
        head(e.Hdr);
        head(e.Line.Hdr);
        e.Line.X1 = x, e.Line.Y1 = y, e.Line.X2 = x + size, e.Line.Y2 = y;
        if (!odd) {
          // The value text up to a tenth of the sheet away from its line.
          text(e.Text, x + uniform(-0.1, 0.1) * sheetX, y + uniform(-0.1, 0.1) * sheetY);
          e.Text.TextCode = 2;
        }
        DimList.push_back(e);
        break;
      }
    }
  }
  SyncListCounts();
}

}  // namespace sxf::test
