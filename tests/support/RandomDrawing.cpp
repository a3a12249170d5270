#include "support/RandomDrawing.h"

#include <cmath>
#include <cstdio>
#include <iterator>
#include <random>
#include <type_traits>

#include "model/JwwGaibu2.h"
#include "support/ModelTestSupport.h"

namespace sxf::test {

namespace {

enum class TFigure { Line, Circle, Arc, Text, Dimension, Points, Solids, SolidArcs };

// The figures a profile draws from, each as often as it is listed.
constexpr TFigure kSheetFigures[] = {TFigure::Line,     TFigure::Line, TFigure::Line,
                                     TFigure::Circle,   TFigure::Arc,  TFigure::Text,
                                     TFigure::Dimension};
constexpr TFigure kOddFigures[] = {TFigure::Line,   TFigure::Line,      TFigure::Line,
                                   TFigure::Circle, TFigure::Arc,       TFigure::Points,
                                   TFigure::Solids, TFigure::SolidArcs, TFigure::Dimension};

}  // namespace

TDrawing MakeRandomDrawing(TRandomProfile profile, unsigned seed, int records) {
  TDrawing drawing;
  std::mt19937 rng(seed);
  auto uniform = [&rng](double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(rng);
  };
  const bool odd = profile == TRandomProfile::OddValues;
  const bool dense = profile == TRandomProfile::Dense;
  if (odd) {
    drawing.LayerGroupScale[1] = 2.0;
    drawing.LayerGroupScale[2] = 0.5;
  } else if (!dense) {
    drawing.LayerGroupScale[0] = 100.0;
    drawing.LayerGroupScale[1] = 50.0;
  }
  auto head = [&](TJwwEntHdr& h) {
    h.Group = static_cast<int>(rng() % (odd ? 4 : 2));
    h.Color = 1 + static_cast<int>(rng() % 9);
    h.LType = rng() % 3 == 0 ? 47 + static_cast<int>(rng() % 16) : 1 + static_cast<int>(rng() % 9);
  };
  const double sheetX = dense ? 1000 : 20000, sheetY = dense ? 600 : 20000;
  const char* texts[] = {"ROOM 101",
                         "\x95\x94\x89\xAE 12",
                         "A",
                         "W=1200 H=2100",
                         "^!bold^# x",
                         "$j",
                         "%%x",
                         "12\xA5",
                         "\x95\x94\x81\x45\x81\x45",
                         "^@BM10,20,pic.bmp"};
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
        add(drawing.LinList, [&](TJwwEntLin& e) {
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
        add(drawing.CirList, [&](TJwwEntCir& e) { e.Cx = x, e.Cy = y, e.R = size / 2; });
        break;
      case TFigure::Arc:
        add(drawing.ArcList, [&](TJwwEntArc& e) {
          e.Cx = x, e.Cy = y, e.R = size / 2, e.StartAngle = uniform(0, 360),
          e.EndAngle = uniform(0, 720);
          e.Flatness = rng() % 2 ? 1.0 : uniform(0.2, 3.0);
          e.Tilt = uniform(0, 180);
        });
        break;
      case TFigure::Text: {
        TJwwEntTxt t;
        text(t, x, y);
        drawing.TxtList.push_back(t);
        break;
      }
      case TFigure::Points:
        add(drawing.PntExList, [&](TJwwEntPntEx& e) {
          e.X = x, e.Y = y, e.Scale = uniform(0, 3), e.Angle = uniform(0, 360);
          e.Code = static_cast<int>(rng() % 19) - 7;
        });
        add(drawing.PntList, [&](TJwwEntPnt& p) { p.X = y, p.Y = x; });
        break;
      case TFigure::Solids:
        add(drawing.Sl3List, [&](TJwwEntSl3& e) {
          e.X1 = x, e.Y1 = y, e.X2 = x + size, e.Y2 = y, e.X3 = x, e.Y3 = y + size / 2;
        });
        add(drawing.Sl2List,
            [&](TJwwEntSl2& f) { f.X1 = x, f.Y1 = y, f.X2 = x - size, f.Y2 = y + 3; });
        break;
      case TFigure::SolidArcs:
        add(drawing.ScList, [&](TJwwEntSlArc& e) {
          e.Cx = x, e.Cy = y, e.R = size / 3, e.Flatness = uniform(0.3, 1.5),
          e.Tilt = uniform(0, 3);
          e.StartAngle = uniform(0, 6), e.SweepAngle = uniform(0.1, 6.3),
          e.ArcMode = rng() % 2 ? 100 : 0;
        });
        add(drawing.SoList, [&](TJwwEntSlArc2& r) {
          r.Cx = x, r.Cy = y, r.R = size / 3, r.R2 = size / 5, r.Flatness = 1, r.StartAngle = 0,
          r.SweepAngle = 3;
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
        drawing.DimList.push_back(e);
        break;
      }
    }
  }
  return drawing;
}

std::string RandomDrawingText(std::uint32_t seed, std::size_t bytes) {
  std::mt19937 rng(seed);
  const auto pick = [&](unsigned n) { return static_cast<unsigned>(rng() % n); };
  const auto number = [&]() -> std::string {
    char b[64];
    const double v = (static_cast<double>(rng()) - 2147483648.0) / (1.0 + pick(100000));
    switch (pick(12)) {
      case 0: std::snprintf(b, sizeof b, "%.13e", v); return b;
      case 1:
        std::snprintf(b, sizeof b, "%.13e", v);
        return std::string(b).insert(std::string(b).size() - 2, "0");
      case 2: return std::to_string(static_cast<int>(pick(2000)) - 1000);
      case 3: std::snprintf(b, sizeof b, "%.20f", v); return b;
      case 4: return pick(2) ? "1,5" : "-";
      case 5: std::snprintf(b, sizeof b, "+%.3f", v); return b;
      default: std::snprintf(b, sizeof b, "%.14g", v); return b;
    }
  };
  const auto numbers = [&](int n) {
    std::string out;
    for (int k = 0; k < n; ++k)
      out += (pick(30) == 0 ? "\t" : pick(40) == 0 ? "  " : " ") + number();
    return out;
  };
  const auto text = [&]() {
    static const char* const kPieces[] = {"\x95\x94\x89\xAE", "A",  " ", "\"", "=", "\xB1",
                                          "\x87\x40",         "\t", "1"};
    std::string out;
    for (unsigned k = pick(8); k > 0; --k) out += kPieces[pick(9)];
    return out;
  };
  std::string out = "file=C:\\jww\\\x90\x7D\x96\xCA.jww\r\n";
  while (out.size() < bytes) {
    std::string line;
    switch (pick(40)) {
      case 0: line = "lt" + std::to_string(pick(3) ? 47 + pick(16) : 1 + pick(9)); break;
      case 1:
        line = "lc" + std::to_string(pick(11)) + (pick(2) ? " " + std::to_string(pick(99999)) : "");
        break;
      case 2:
        line = "lg" + std::string(1, "0123456789abcdefZ"[pick(17)]) + " " + std::to_string(pick(3));
        break;
      case 3:
        line = "ly" + std::string(1, "0123456789ABCDEF"[pick(16)]) + " " + std::to_string(pick(3));
        break;
      case 4: line = "ci" + numbers(3); break;
      case 5: line = "ci" + numbers(7); break;
      case 6: line = std::string("c") + "hvsrotkz2"[pick(9)] + numbers(4) + " \"" + text(); break;
      case 7: line = "pt" + numbers(pick(2) ? 2 : 5); break;
      case 8: line = "sl" + numbers(static_cast<int>(4 + 2 * pick(3))); break;
      case 9: line = std::string("s") + "ceog"[pick(4)] + numbers(8); break;
      case 10: line = pick(2) ? "msg" : (pick(2) ? "#" : "pl"); break;
      case 11: line = "BL" + numbers(2) + " " + text(); break;
      case 12: line = "cn" + std::to_string(pick(11)) + (pick(2) ? numbers(3) + " 3" : ""); break;
      case 13: line = pick(2) ? "cn$" + text() : "cc" + std::to_string(pick(10)); break;
      case 14: line = "hs" + numbers(16); break;
      case 15: line = "hp" + std::to_string(pick(120)) + (pick(2) ? "ci" : "-") + numbers(2); break;
      case 16: line = "hhp" + std::to_string(pick(120)) + "ln"; break;
      case 17: line = "z" + std::to_string(pick(6)); break;
      case 18: line = "lgn" + text() + " " + text(); break;
      case 19: line = "hcw" + numbers(10); break;
      case 20: line = "lw" + std::to_string(pick(5)); break;
      case 21: line = numbers(4) + " "; break;  // a trailing blank makes a fifth field
      case 22: line = text() + numbers(3); break;
      default: line = numbers(4); break;
    }
    if (pick(50) == 0)
      line.insert(pick(static_cast<unsigned>(line.size()) + 1), 1,
                  "\x01\x7f\xfe\xff\x1a\0"[pick(6)]);
    if (pick(80) == 0) line += '\x82';  // a lone lead byte at the end
    out += line;
    const unsigned end = pick(20);
    out += end < 14 ? "\r\n" : end < 17 ? "\n" : end < 19 ? "\r" : "\r\r\n";
  }
  return out;
}

}  // namespace sxf::test
