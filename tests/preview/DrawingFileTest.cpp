// The same generated drawing as the interchange text and as a drawing file: the same tally,
// the same marks and the same pixel operations of the preview. The file keeps its angles in
// radians, which not every decimal degree comes back from exactly; the generated arcs are
// given whole degrees that do, as the host's own round trip gives them.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "DrawingGenerator.h"
#include "model/DrawingFiles.h"
#include "preview/Preview.h"
#include "render/UserBreak.h"
#include "search/Extents.h"
#include "search/LineTypeMarks.h"
#include "search/LineTypeTally.h"
#include "search/ReportRows.h"
#include "support/JwwFileWriter.h"
#include "support/ModelTestSupport.h"
#include "support/RecordingCanvas.h"
#include "support/ViewTestSupport.h"

namespace sxf::test {
namespace {

// True when radians (from + r) read back as exactly these degrees for some r.
bool ComesBack(double degrees, double from) {
  const double guess = degrees * (static_cast<double>(kPi) / 180.0) - from;
  double up = guess, down = guess;
  for (int n = 0; n < 64;
       ++n, up = std::nextafter(up, INFINITY), down = std::nextafter(down, -INFINITY))
    for (double r : {up, down})
      if ((from + r) * 180.0 / static_cast<double>(kPi) == degrees) return true;
  return false;
}

// The nearest whole degree from d up that comes back (after from, in radians).
double WholeDegreeThatComesBack(double d, double from = 0.0) {
  for (double w = std::round(d);; w += 1.0)
    if (ComesBack(w, from)) return w;
}

// Every "ci" line of seven numbers (an arc) with its angles made whole degrees that come back.
std::string WithAnglesThatComeBack(const std::string& text) {
  std::istringstream lines(text);
  std::string out, line;
  while (std::getline(lines, line)) {
    std::istringstream f(line);
    std::string key;
    double v[7];
    if (f >> key && key == "ci" && (f >> v[0] >> v[1] >> v[2] >> v[3] >> v[4] >> v[5] >> v[6])) {
      const double start = WholeDegreeThatComesBack(v[3]);
      const double startRadians = start * (static_cast<double>(kPi) / 180.0);
      const double end = WholeDegreeThatComesBack(v[4], startRadians);
      std::ostringstream arc;
      arc.precision(17);
      arc << "ci " << v[0] << ' ' << v[1] << ' ' << v[2] << ' ' << start << ' ' << end << ' '
          << v[5] << ' ' << WholeDegreeThatComesBack(v[6]) << "\r";
      line = arc.str();
    }
    out += line + "\n";
  }
  return out;
}

std::vector<TCommand> PreviewCommands(const TDrawing& drawing) {
  TView view;
  FitViewToDrawing(view, ComputeExtents(drawing), 640, 480);
  TRecordingCanvas c;
  DrawPreview(c, view, drawing, 640, 480);
  return c.Commands;
}

struct TProfileRow {
  bench::TDrawingProfile Profile;
  std::uint32_t Seed;
};

class DrawingFileAgrees : public ::testing::TestWithParam<TProfileRow> {};

TEST_P(DrawingFileAgrees, WithTheInterchangeTextInTallyMarksAndPicture) {
  GraAttr = std::make_unique<TgraAttribute>();
  SetUserBreakSource(nullptr);
  const TDrawing text = ParseJwcText(
      WithAnglesThatComeBack(bench::GenerateDrawing(4000, GetParam().Seed, GetParam().Profile)));
  const TDrawingLoad file = LoadDrawing(WriteTempFile(WriteJwwFile(DrawingFileOf(text))));
  ASSERT_TRUE(file.ReadToEnd) << file.Problem;
  ASSERT_EQ(file.Drawing.EntOrderCount(), text.EntOrderCount());

  EXPECT_EQ(BuildTallyGrid(file.Drawing).Rows, BuildTallyGrid(text).Rows);
  const auto marks = [](const TDrawing& d) {
    std::vector<std::string> rows;
    for (const TLineTypeMark& m : CollectLineTypeMarks(d))
      rows.push_back(std::to_string(m.Number) + m.List + std::to_string(m.Index) + "/" +
                     std::to_string(m.Column) + "/" + std::to_string(m.Group) + "-" +
                     std::to_string(m.Layer) + ReportNumber(m.X) + "," + ReportNumber(m.Y));
    return rows;
  };
  const std::vector<std::string> textMarks = marks(text);
  EXPECT_GT(textMarks.size(), 100u);
  EXPECT_EQ(marks(file.Drawing), textMarks);
  EXPECT_TRUE(PreviewCommands(file.Drawing) == PreviewCommands(text));
  GraAttr.reset();
}

INSTANTIATE_TEST_SUITE_P(Profiles, DrawingFileAgrees,
                         ::testing::Values(TProfileRow{bench::TDrawingProfile::Light, 3},
                                           TProfileRow{bench::TDrawingProfile::Dense, 7}));

}  // namespace
}  // namespace sxf::test
