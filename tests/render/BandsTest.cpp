// Drawing on several threads: how a picture is cut into bands and what the threads do with the
// user's break.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "globals/UnitGval.h"
#include "render/BandCanvases.h"
#include "render/Bands.h"
#include "render/UserBreak.h"
#include "support/RecordingCanvas.h"
#include "support/ViewTestSupport.h"

namespace sxf {
namespace {

TEST(Bands, PicturesAreCutIntoEvenBandsOfAtLeastTheMinimumHeight) {
  const struct {
    int Height, Wanted;
    std::vector<TBand> Bands;
  } cases[] = {
      {1080, 2, {{0, 540}, {540, 1080}}},
      {1081, 2, {{0, 540}, {540, 1081}}},
      {1000, 3, {{0, 333}, {333, 666}, {666, 1000}}},
      {200, 8, {{0, 66}, {66, 133}, {133, 200}}},  // three bands of at least 64 rows
      {127, 8, {{0, 127}}},
      {0, 4, {{0, 0}}},
      {-5, 4, {{0, 0}}},
      {1080, 0, {{0, 1080}}},
      {1080, 99, SplitIntoBands(1080, kMaxBands)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SplitIntoBands(c.Height, c.Wanted), c.Bands) << c.Height << " " << c.Wanted;
  EXPECT_EQ(SplitIntoBands(4000, 99).size(), static_cast<std::size_t>(kMaxBands));
}

// Each band polls the break as a drawing does, counting its steps, until told to stop or its
// time is up.
struct TPollingBands {
  std::vector<test::TRecordingCanvas> Canvases;
  std::vector<TCanvas*> Pointers;
  std::atomic<int> Steps{0};
  explicit TPollingBands(std::size_t count) : Canvases(count) {
    for (auto& c : Canvases) Pointers.push_back(&c);
  }
  bool Draw(std::chrono::milliseconds time) {
    const auto end = std::chrono::steady_clock::now() + time;
    return DrawInBands(Pointers, [this, end](TCanvas&) {
      while (std::chrono::steady_clock::now() < end) {
        ++Steps;
        if (CheckUserBreak()) return false;
      }
      return true;
    });
  }
};

TEST(Bands, TheBreakIsAskedOnTheCallersThreadAloneWhileTheOtherBandsWait) {
  TPollingBands bands(3);
  const std::thread::id caller = std::this_thread::get_id();
  int asked = 0;
  bool elsewhere = false, moved = false;
  SetUserBreakSource([&] {
    ++asked;
    elsewhere = elsewhere || std::this_thread::get_id() != caller;
    // No band steps while the source is asked: it may look at the picture.
    const int before = bands.Steps.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    moved = moved || bands.Steps.load() != before;
    return false;
  });
  EXPECT_TRUE(bands.Draw(std::chrono::milliseconds(60)));
  EXPECT_GE(asked, 2);
  EXPECT_FALSE(elsewhere);
  EXPECT_FALSE(moved);
  EXPECT_FALSE(CheckUserBreak());  // the source is given back
  SetUserBreakSource(nullptr);
}

TEST(Bands, ABreakStopsEveryBandAndAFailureInAnyBandReachesTheCaller) {
  int asked = 0;
  SetUserBreakSource([&asked] { return ++asked >= 3; });
  TPollingBands stopped(4);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(stopped.Draw(std::chrono::seconds(20)));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  SetUserBreakSource(nullptr);

  TPollingBands failing(3);
  std::atomic<int> started{0};
  EXPECT_THROW(DrawInBands(failing.Pointers,
                           [&](TCanvas& c) -> bool {
                             ++started;
                             if (&c == failing.Pointers[2]) throw std::runtime_error("band 2");
                             while (!CheckUserBreak())
                               std::this_thread::yield();  // the failure stops the others
                             return false;
                           }),
               std::runtime_error);
  EXPECT_EQ(started.load(), 3);
  EXPECT_FALSE(CheckUserBreak());
}

TEST(Bands, EachBandGetsItsOwnCanvasElseTheWholeCanvasDrawsAlone) {
  using TCanvases = std::vector<std::unique_ptr<test::TRecordingCanvas>>;
  const auto make = [](std::size_t count) {
    return [count] {
      TCanvases made;
      for (std::size_t i = 0; i < count; ++i)
        made.push_back(std::make_unique<test::TRecordingCanvas>());
      return made;
    };
  };
  test::TRecordingCanvas whole;
  int wholeAsked = 0;
  const auto give = [&]() -> TCanvas& {
    ++wholeAsked;
    return whole;
  };
  const std::vector<TBand> two = {{0, 64}, {64, 128}}, one = {{0, 128}};
  const std::vector<TCanvas*> justWhole = {&whole};
  TCanvases kept;

  const std::vector<TCanvas*> banded = HandOutBandCanvases(kept, two, make(2), give);
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(banded, (std::vector<TCanvas*>{kept[0].get(), kept[1].get()}));
  EXPECT_EQ(wholeAsked, 0);  // a window's whole canvas is made only when it draws

  // No band canvas to be had (a device context, say): the whole canvas.
  EXPECT_EQ(HandOutBandCanvases(kept, two, make(0), give), justWhole);
  // One band: none made, and the last drawing's band canvases let go.
  kept = make(2)();
  bool made = false;
  const auto makeOne = [&] {
    made = true;
    return make(1)();
  };
  EXPECT_EQ(HandOutBandCanvases(kept, one, makeOne, give), justWhole);
  EXPECT_FALSE(made);
  EXPECT_TRUE(kept.empty());
  EXPECT_EQ(wholeAsked, 2);
}

}  // namespace
}  // namespace sxf
