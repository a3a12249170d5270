// Two drawings in one process: read, counted, marked and drawn on two threads at once, each
// gives exactly what it gives alone. Run under ThreadSanitizer too (the threads label).

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "DrawingGenerator.h"
#include "globals/UnitGval.h"
#include "render/DrawingIndex.h"
#include "render/Renderer.h"
#include "search/Extents.h"
#include "search/LineTypeMarks.h"
#include "search/LineTypeTally.h"
#include "support/RecordingCanvas.h"
#include "support/ViewTestSupport.h"
#include "text/TextLocale.h"

namespace sxf {
namespace {

// What one drawing gives: its tally, its marks (their coordinates bit for bit) and what is
// drawn in its fit-all view and in small views that the drawing index answers.
struct TDrawingWork {
  using TMark = std::tuple<int, std::string, int, std::uint64_t, std::uint64_t, int, int, int,
                           std::uint64_t, std::uint64_t>;
  decltype(TTallyGrid::Rows) Tally;
  std::vector<TMark> Marks;
  std::vector<std::vector<test::TCommand>> Pictures;
};

TDrawingWork Work(const std::string& text) {
  const TDrawing drawing = ParseJwcText(text);
  const TWorldBox extents = ComputeExtents(drawing);
  PrepareDrawingIndex(drawing, extents);
  TDrawingWork work{BuildTallyGrid(drawing).Rows, {}, {}};
  const auto bits = [](double d) { return std::bit_cast<std::uint64_t>(d); };
  for (const TLineTypeMark& m : CollectLineTypeMarks(drawing))
    work.Marks.emplace_back(m.Number, m.List, m.Index, bits(m.X), bits(m.Y), m.Column, m.Group,
                            m.Layer, bits(m.FileX), bits(m.FileY));
  const double w = extents.Right - extents.Left, h = extents.Top - extents.Bottom;
  const double fit = std::min(640 / w, 480 / h);
  // The fit-all view, then six views zoomed in four times along the diagonal, which the index
  // answers.
  std::vector<TView> views = {test::MakeView(extents.Left, extents.Bottom, fit, 640, 480)};
  for (int k = 0; k < 6; ++k)
    views.push_back(
        test::MakeView(extents.Left + w * k / 6, extents.Bottom + h * k / 6, 4 * fit, 320, 240));
  for (std::size_t i = 0; i < views.size(); ++i) {
    const TView& view = views[i];
    if (i > 0) {
      EXPECT_NE(RecordsNearView(view, drawing.LinList.data(), drawing.LinCount()), nullptr);
    }
    test::TRecordingCanvas c;
    EXPECT_TRUE(RenderDrawing(c, view, drawing));
    EXPECT_TRUE(DrawLineTypeMarks(c, view, drawing, MarkRadiusPixels(view) / view.ViewScale));
    work.Pictures.push_back(std::move(c.Commands));
  }
  return work;
}

void ExpectSameWork(const TDrawingWork& atOnce, const TDrawingWork& alone, const char* which) {
  EXPECT_TRUE(atOnce.Tally == alone.Tally) << which;
  EXPECT_TRUE(atOnce.Marks == alone.Marks) << which;
  ASSERT_EQ(atOnce.Pictures.size(), alone.Pictures.size()) << which;
  for (std::size_t i = 0; i < alone.Pictures.size(); ++i)
    EXPECT_TRUE(atOnce.Pictures[i] == alone.Pictures[i]) << which << " picture " << i;
}

// Two drawings share nothing: read, tallied, marked and drawn (the small views through the drawing
// index, prepared for both at once) each on a thread of its own, they give what the same work
// gives done one after the other.
TEST(TwoDrawings, DrawnAtOnceOnTwoThreadsAsOneAfterTheOther) {
  // Texts that show today's date show one day, also when the work runs past midnight.
  struct TOneDay final : TPlainTextLocale {
    double Now() const override { return 45000.5; }
  };
  SetTextLocale(std::make_shared<TOneDay>());
  GraAttr = std::make_unique<TgraAttribute>();
  const std::string first = bench::GenerateDrawing(3000, 5, bench::TDrawingProfile::Light);
  const std::string second = bench::GenerateDrawing(3000, 6, bench::TDrawingProfile::Dense);
  const TDrawingWork firstAlone = Work(first);
  const TDrawingWork secondAlone = Work(second);
  ClearDrawingIndex();
  EXPECT_GT(firstAlone.Marks.size(), 200u);
  EXPECT_GT(secondAlone.Marks.size(), 200u);
  EXPECT_GT(firstAlone.Pictures[0].size(), 2000u);
  EXPECT_GT(secondAlone.Pictures[0].size(), 2000u);

  TDrawingWork firstAtOnce, secondAtOnce;
  std::thread one([&] { firstAtOnce = Work(first); });
  std::thread other([&] { secondAtOnce = Work(second); });
  one.join();
  other.join();
  ClearDrawingIndex();
  ExpectSameWork(firstAtOnce, firstAlone, "first");
  ExpectSameWork(secondAtOnce, secondAlone, "second");
  GraAttr.reset();
  SetTextLocale(nullptr);
}

}  // namespace
}  // namespace sxf
