// Files in a folder whose name has characters outside the ANSI code page: Japanese for a
// Western system, "é" for a Japanese one, and one that neither code page has.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "form/WindowSettings.h"
#include "model/JwwGaibu2.h"
#include "platform/win32/ShiftJis.h"

namespace sxf {
namespace {

namespace fs = std::filesystem;

class WideFileNameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / fs::path(u8"ツール é ŋ");
    fs::create_directories(folder_);
    const std::u8string name = folder_.u8string();
    utf8Folder_ = std::string(name.begin(), name.end()) + "\\";
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  void Write(const char* name, const std::string& bytes) const {
    std::FILE* f = _wfopen((folder_ / name).c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }

  fs::path folder_;
  std::string utf8Folder_;
};

TEST_F(WideFileNameTest, TheDrawingIsReadByItsUtf8Name) {
  Write("JWC_TEMP.TXT", "lc1\r\nlt47\r\n 0 0 10 0\r\n 20 0 30 0\r\n");
  const TJwcLoad read = ReadJwcTempFile(utf8Folder_ + "JWC_TEMP.TXT");
  EXPECT_TRUE(read.Result.ReadToEnd);
  EXPECT_EQ(read.Drawing.LinCount(), 2);
  for (const std::string& name : {utf8Folder_ + "MISSING.TXT", utf8Folder_}) {
    const TJwcLoad none = ReadJwcTempFile(name);
    EXPECT_FALSE(none.Result.ReadToEnd) << name;  // a folder is not read
    EXPECT_EQ(none.Drawing.LinCount(), 0) << name;
  }
}

TEST_F(WideFileNameTest, TheSettingsFileIsWrittenAndReadByItsUtf8Name) {
  const std::string file = SettingsFileName(utf8Folder_ + "sxf-usertype-finder.exe");
  EXPECT_EQ(file, utf8Folder_ + "sxf-usertype-finder.dat");
  const TWindowSettings s{10, 20, 800, 600, 250};
  ASSERT_TRUE(WriteSettings(file, s));
  EXPECT_TRUE(fs::exists(folder_ / "sxf-usertype-finder.dat"));
  EXPECT_EQ(ReadSettings(file), s);
}

TEST(WideFileName, ANameThatIsNotUtf8OpensNothingAndThrowsNothing) {
  const std::string bad = "C:\\\xFF\xFE\x83.dat";  // a Shift-JIS or ANSI name, not UTF-8
  EXPECT_EQ(ReadSettings(bad), TWindowSettings{});
  EXPECT_FALSE(WriteSettings(bad, TWindowSettings{}));
  EXPECT_EQ(SettingsFileName("C:\\\xFF.exe"), "");
  EXPECT_FALSE(ReadJwcTempFile(bad).Result.ReadToEnd);
}

}  // namespace
}  // namespace sxf
