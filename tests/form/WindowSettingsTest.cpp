#include "form/WindowSettings.h"
#include "form/DisplayScale.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/ModelTestSupport.h"

namespace sxf {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(ReadSettings, DefaultsMinimumsAndBadLines) {
  EXPECT_EQ(ReadSettings("/nonexistent/x.dat"), (TWindowSettings{0, 0, 475, 475, 200}));
  const struct {
    const char* text;
    TWindowSettings expected;
  } cases[] = {
      {"100\r\n50\r\n300\r\n150\r\n20\r\n", {100, 50, 475, 200, 100}},
      {"100\r\n50\r\n", {100, 50, 475, 200, 100}},  // missing lines are 0, then raised
      {"abc\r\n-20\r\n800\r\n600\r\n250\r\n", {0, -20, 800, 600, 250}},
      {"1\n2\n900\n700\n300", {1, 2, 900, 700, 300}},
      {"1\r2\r900\r700\r300\r", {1, 2, 900, 700, 300}},
      {"", {0, 0, 475, 200, 100}},
      {" 7 \r\n8\r\n", {0, 8, 475, 200, 100}},  // a trailing blank makes the line invalid
      {"99999999999\r\n5\r\n", {0, 5, 475, 200, 100}},
  };
  for (const auto& c : cases) {
    const std::string path = test::WriteTempFile(c.text);
    EXPECT_EQ(ReadSettings(path), c.expected) << c.text;
    std::filesystem::remove(path);
  }
}

TEST(WriteSettings, WritesFiveCrLfLinesAndReadsBack) {
  const std::string path = test::WriteTempFile("old");
  const TWindowSettings s{-30, 12, 800, 600, 250};
  ASSERT_TRUE(WriteSettings(path, s));
  EXPECT_EQ(ReadAll(path), "-30\r\n12\r\n800\r\n600\r\n250\r\n");
  EXPECT_EQ(ReadSettings(path), s);
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));
  std::filesystem::remove(path);
}

TEST(WriteSettings, AFailedWriteKeepsThePreviousSettings) {
  // The target is a folder: the rename fails, nothing is lost and no temporary file stays.
  const auto folder = std::filesystem::temp_directory_path() / "sxf-settings-folder";
  std::filesystem::create_directories(folder);
  EXPECT_FALSE(WriteSettings(folder.string(), TWindowSettings{}));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_FALSE(std::filesystem::exists(folder.string() + ".new"));
  std::filesystem::remove_all(folder);
  // A folder that does not exist: nothing can be written.
  EXPECT_FALSE(WriteSettings("/nonexistent/dir/x.dat", TWindowSettings{}));
}

TEST(WriteSettings, WritesInPlaceWhenNoTemporaryFileCanBeCreated) {
  // A folder in the temporary file's place stands for a folder that forbids new files.
  const auto dir = std::filesystem::temp_directory_path() / "sxf-settings-in-place";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "x.dat.new");
  const std::string path = (dir / "x.dat").string();
  std::ofstream(path, std::ios::binary) << "1\r\n2\r\n600\r\n500\r\n200\r\n";
  const TWindowSettings s{5, 6, 700, 400, 150};
  ASSERT_TRUE(WriteSettings(path, s));
  EXPECT_EQ(ReadSettings(path), s);

#ifndef _WIN32
  // A write that fails part-way (a full device) leaves no partly written settings file.
  std::filesystem::remove(path);
  std::filesystem::create_symlink("/dev/full", path);
  EXPECT_FALSE(WriteSettings(path, s));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(path)));
#endif
  std::filesystem::remove_all(dir);
}

TEST(LimitSettingsToScreen, SizesAndPanelFitTheScreenPositionsStay) {
  const struct {
    TWindowSettings stored;
    int screenWidth, screenHeight;
    TWindowSettings expected;
    int dpi = 96;
  } cases[] = {
      {{100, 50, 800, 600, 250}, 1280, 1024, {100, 50, 800, 600, 250}},
      {{2147483647, -2147483647, 1000000, 1000000, 1000000},
       1280,
       1024,
       {2147483647, -2147483647, 1280, 1024, 1280 - 33}},
      {{0, 0, 475, 475, 200}, 300, 100, {0, 0, 475, 200, 200}},  // tiny screen: the minimums
      {{0, 0, 2000, 2000, 460}, 400, 150, {0, 0, 475, 200, 442}},
      {{0, 0, 475, 200, 100}, 0, 0, {0, 0, 475, 200, 100}},
      // At 150 % the minimums are the screen's pixels of 475 x 200 and 100.
      {{0, 0, 2000, 2000, 900}, 400, 150, {0, 0, 713, 300, 663}, 144},
      {{0, 0, 2000, 2000, 900}, 0, 0, {0, 0, 594, 250, 553}, 120},
  };
  for (const auto& c : cases) {
    TWindowSettings s = c.stored;
    LimitSettingsToScreen(s, c.screenWidth, c.screenHeight, c.dpi);
    EXPECT_EQ(s, c.expected) << c.screenWidth << " x " << c.screenHeight;
  }
}

TEST(SplitPanel, TheGridKeepsItsRowsAndTheHelpBoxTakesWhatIsLeft) {
  const struct {
    int gridTop, bottom, gridWanted, memoMin;
    TPanelSplit expected;
  } cases[] = {
      {41, 700, 469, 30, {469, 510, 190}},   // tall: the help box grows beyond its design height
      {41, 540, 469, 30, {469, 510, 30}},    // just its least height left
      {41, 539, 469, 30, {498, 539, 0}},     // one pixel less: hidden, the grid takes the rest
      {41, 300, 469, 30, {259, 300, 0}},     // short: the grid shrinks only once the box is gone
      {41, 20, 469, 30, {0, 41, 0}},         // no room at all
      {62, 1000, 705, 45, {705, 767, 233}},  // the same at 150 %
  };
  for (const auto& c : cases)
    EXPECT_EQ(SplitPanel(c.gridTop, c.bottom, c.gridWanted, c.memoMin), c.expected)
        << c.gridTop << " " << c.bottom << " " << c.gridWanted;
}

TEST(RescaleForDpi, AMoveToAnotherScreenKeepsTheLengthToTheEye) {
  const struct {
    int length, from, to, expected;
  } cases[] = {
      {200, 96, 144, 300}, {300, 144, 96, 200}, {250, 144, 120, 208},
      {201, 96, 96, 201},  {0, 96, 192, 0},     {5, 0, 144, 5},  // no scale known: as it was
  };
  for (const auto& c : cases)
    EXPECT_EQ(RescaleForDpi(c.length, c.from, c.to), c.expected) << c.from << " -> " << c.to;
}

TEST(SettingsFileName, ReplacesOrAppendsTheExtension) {
  EXPECT_EQ(SettingsFileName("/opt/tool/sxf-usertype-finder"), "/opt/tool/sxf-usertype-finder.dat");
  EXPECT_EQ(SettingsFileName("/opt/tool/finder.exe"), "/opt/tool/finder.dat");
  EXPECT_EQ(SettingsFileName("/opt/v1.2/finder"), "/opt/v1.2/finder.dat");
}

}  // namespace
}  // namespace sxf
