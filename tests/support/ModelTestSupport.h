#pragma once
// Shared set-up for tests that read drawings: a fresh reader and drawing per test, lines fed
// straight to the interpreter, and temporary interchange files.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "model/JwwGaibu2.h"
#include "support/RandomDrawing.h"

namespace sxf::test {

class FreshModel : public ::testing::Test {
 protected:
  TJwcReader reader;
  TDrawing& drawing = reader.Drawing();  // the reader's drawing, which tests may fill directly

  // An empty drawing and the reader's start state again.
  void Reset() { reader = TJwcReader(); }
  void Parse(std::initializer_list<std::string> lines) {
    for (const std::string& line : lines) reader.ParseLine(line);
  }
};

// Calls visit with every record's head in every list, a dimension's line and text heads too.
void ForEveryHead(TDrawing& drawing, const std::function<void(TJwwEntHdr&)>& visit);

// Writes bytes to a new file in the temporary folder and returns its path.
std::string WriteTempFile(std::string_view bytes);

}  // namespace sxf::test
