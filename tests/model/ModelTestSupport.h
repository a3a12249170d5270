#pragma once
// Shared set-up for tests that read drawings: a fresh model per test, lines fed straight to
// the interpreter, and temporary interchange files.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <unistd.h>

#include "model/JwwGaibu2.h"

namespace sxf::test {

class FreshModel : public ::testing::Test {
 protected:
  void SetUp() override { InitJwwModel(); }
};

inline void Parse(std::initializer_list<std::string> lines) {
  for (const std::string& line : lines) ParseJwwLine(line);
}

// Writes bytes to a new file in the temporary folder and returns its path.
inline std::string WriteTempFile(std::string_view bytes) {
  static std::atomic<int> serial{0};
  const auto path = std::filesystem::temp_directory_path() /
                    ("sxf-test-" + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".txt");
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

}  // namespace sxf::test
