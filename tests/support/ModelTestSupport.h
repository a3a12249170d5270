#pragma once
// Shared set-up for tests that read drawings: a fresh model per test, lines fed straight to
// the interpreter, and temporary interchange files.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "model/JwwGaibu2.h"

namespace sxf::test {

class FreshModel : public ::testing::Test {
 protected:
  void SetUp() override { InitJwwModel(); }
};

inline void Parse(std::initializer_list<std::string> lines) {
  for (const std::string& line : lines) ParseJwwLine(line);
}

// Sets every list's count to its size, after a test has pushed records straight into the lists.
void SyncListCounts();

// Calls visit with every record's head in every list, a dimension's line and text heads too.
void ForEveryHead(const std::function<void(TJwwEntHdr&)>& visit);

// Writes bytes to a new file in the temporary folder and returns its path.
std::string WriteTempFile(std::string_view bytes);

// A drawing of every kind of line the reader knows, in random order, with the numbers, texts
// and stray bytes files hold: exponents of three digits, long fractions, invalid numbers,
// tabs, doubled blanks, quotes and equals signs inside fields, control bytes, two-byte
// characters (some cut at the line end), and CR LF, LF, lone CR and CR CR LF line ends.
std::string RandomDrawingText(std::uint32_t seed, std::size_t bytes);

}  // namespace sxf::test
