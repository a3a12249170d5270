#pragma once
// The report on many drawings at once, as a delivery is checked: every drawing file of the
// folders named (searched to the bottom) and every file named, read in parallel, one row each
// with its user line types per kind, how many of them lie inside blocks, the file's version or
// why it could not be read, then the grand totals.

#include <array>
#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "search/CountedKinds.h"

namespace sxf {

struct TSummaryRow {
  std::string File;   // UTF-8, as found
  bool Read = false;  // read to its end
  std::string Error;  // UTF-8; what went wrong, empty when it was read
  int Version = 0;    // a drawing file's version; 0 for the interchange text
  std::array<long long, kTallyColumns> Counts{};  // per kind column; kTallyTotal: all of them
  long long InBlocks = 0;                         // of the total, those drawn inside blocks
};

// True for the name (UTF-8) of a folder: a delivery to summarise.
bool IsFolder(const std::string& name);

// The files to report on: each file named as it is, each folder's drawing files (.jww, .jws)
// below it in name order. A name that is neither, or a folder without a drawing file, gets a
// row of its own with the error.
std::vector<TSummaryRow> CollectDrawingFiles(const std::vector<std::string>& names);

// Fills each row that has no error yet, on `workers` threads; done counts the rows finished,
// for a progress line. Memory holds the drawings in flight only.
void SummarizeDrawings(std::vector<TSummaryRow>& rows, int workers, std::atomic<std::size_t>& done);

// The rows and a last row of totals: aligned text, CSV (with its byte-order mark) or JSON.
std::string FormatSummary(const std::vector<TSummaryRow>& rows, std::string_view format);

// What a delivery script acts on: 1 when a file could not be read, else 3 when some user line
// type was found, else 0.
inline constexpr int kSummaryNoneFound = 0;
inline constexpr int kSummaryUnreadable = 1;
inline constexpr int kSummaryFound = 3;
int SummaryExitStatus(const std::vector<TSummaryRow>& rows) noexcept;

}  // namespace sxf
