#pragma once
// A window on the sample floor plan in a folder of its own, shown and painted once, for tests
// that drive it with Qt events on the offscreen platform.

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include "app/Unit1.h"

namespace sxf::test {

class SampleFormTest : public ::testing::Test {
 protected:
  // name: the folder's prefix; settings: the five lines of the settings file.
  void ShowSample(const std::string& name, const std::string& settings) {
    namespace fs = std::filesystem;
    dir_ = fs::temp_directory_path() / (name + std::to_string(::getpid()));
    fs::create_directories(dir_);
    const char* samples = std::getenv("SXF_SAMPLES");
    ASSERT_NE(samples, nullptr);
    fs::copy_file(fs::path(samples) / "floor-plan" / "JWC_TEMP.TXT", dir_ / "JWC_TEMP.TXT",
                  fs::copy_options::overwrite_existing);
    std::ofstream(dir_ / "x.dat", std::ios::binary) << settings;
    form_ =
        std::make_unique<TForm1>(TProgramLocation{dir_.string() + "/", (dir_ / "x.dat").string()});
    form_->show();
    for (int i = 0; i < 100 && !form_->ViewImage; ++i) QApplication::processEvents();
    ASSERT_TRUE(form_->ViewImage.has_value());
  }
  void TearDown() override {
    form_.reset();
    std::filesystem::remove_all(dir_);
  }

  // The window's views and its drawing.
  const TWindowViews& Views() const { return form_->Form.Views; }
  const TView& View() const { return form_->Form.Views.View; }
  const TDrawing& Drawing() const { return form_->Form.Drawing(); }

  std::filesystem::path dir_;
  std::unique_ptr<TForm1> form_;
};

}  // namespace sxf::test
