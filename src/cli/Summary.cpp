#include "cli/Summary.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <system_error>
#include <thread>

#include "cli/JsonWriter.h"
#include "model/DrawingFiles.h"
#include "platform/ShiftJisToUtf8.h"
#include "search/LineTypeTally.h"
#include "search/ReportRows.h"

namespace sxf {

namespace {

namespace fs = std::filesystem;

fs::path PathOf(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}
std::string Utf8Of(const fs::path& path) {
  const std::u8string s = path.u8string();
  return std::string(s.begin(), s.end());
}

// The counts of a tally grid's total row.
std::array<long long, kTallyColumns> TotalRow(const TTallyGrid& grid) {
  std::array<long long, kTallyColumns> counts{};
  for (int c = kFirstKindColumn; c <= kTallyTotal; ++c)
    counts[static_cast<std::size_t>(c)] = StrToIntOr0(grid.Cell(c, kTallyTotalRow));
  return counts;
}

void Summarize(TSummaryRow& row) {
  try {
    const TDrawingLoad load = LoadDrawing(row.File);
    const TDrawing& d = load.Drawing;
    row.Read = load.ReadToEnd;
    row.Version = d.File.Version;
    if (load.NothingRead) {
      row.Error = load.Problem.empty() ? "cannot be read" : load.Problem;
      return;
    }
    if (!load.ReadToEnd) row.Error = "read only in part: " + load.Problem;
    row.Counts = TotalRow(BuildTallyGrid(d));
    row.InBlocks = CountedEntitiesInBlocks(d);
  } catch (const std::bad_alloc&) {
    row.Read = false;
    row.Error = "out of memory";
  }
}

std::string CountText(long long n) { return std::to_string(n); }

}  // namespace

bool IsFolder(const std::string& name) {
  std::error_code error;
  return fs::is_directory(PathOf(name), error);
}

std::vector<TSummaryRow> CollectDrawingFiles(const std::vector<std::string>& names) {
  std::vector<TSummaryRow> rows;
  for (const std::string& name : names) {
    std::error_code error;
    const fs::path path = PathOf(name);
    if (!fs::is_directory(path, error)) {
      rows.emplace_back().File = name;
      continue;
    }
    std::vector<std::string> found;
    for (fs::recursive_directory_iterator
             it(path, fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error)) {
      const std::string file = Utf8Of(it->path());
      if (it->is_regular_file(error) && IsDrawingFileName(file)) found.push_back(file);
    }
    std::sort(found.begin(), found.end());
    if (found.empty() && !error) {
      // A delivery folder without a single drawing is a wrong folder, not a clean delivery.
      TSummaryRow& row = rows.emplace_back();
      row.File = name;
      row.Error = "no drawing file (.jww, .jws) in this folder";
    }
    for (std::string& file : found) rows.emplace_back().File = std::move(file);
    if (error) {
      TSummaryRow& row = rows.emplace_back();
      row.File = name;
      row.Error = "folder not searched to the end: " + error.message();
    }
  }
  return rows;
}

void SummarizeDrawings(std::vector<TSummaryRow>& rows, int workers,
                       std::atomic<std::size_t>& done) {
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i; (i = next.fetch_add(1)) < rows.size(); done.fetch_add(1)) {
      if (rows[i].Error.empty()) Summarize(rows[i]);
    }
  };
  std::vector<std::thread> threads;
  const int n = std::clamp(workers, 1, 64);
  for (int k = 1; k < n; ++k) threads.emplace_back(work);
  work();
  for (std::thread& t : threads) t.join();
}

std::string FormatSummary(const std::vector<TSummaryRow>& rows, std::string_view format) {
  TSummaryRow total;
  total.File = "total";
  total.Read = true;
  for (const TSummaryRow& r : rows) {
    for (std::size_t c = 0; c < total.Counts.size(); ++c) total.Counts[c] += r.Counts[c];
    total.InBlocks += r.InBlocks;
    total.Read = total.Read && r.Read;
  }
  if (format == "json") {
    std::string out;
    TJsonWriter j(out);
    j.BeginObject();
    j.Key("columns");
    j.BeginArray();
    for (int c = kFirstKindColumn; c <= kTallyTotal; ++c)
      j.String(ShiftJisToUtf8(TallyColumnHeading(c)));
    j.EndArray();
    const auto counts = [&j](const TSummaryRow& r) {
      j.Key("counts");
      j.BeginArray();
      for (int c = kFirstKindColumn; c <= kTallyTotal; ++c)
        j.Int(r.Counts[static_cast<std::size_t>(c)]);
      j.EndArray();
      j.Key("in_blocks");
      j.Int(r.InBlocks);
    };
    j.Newline();
    j.Key("files");
    j.BeginArray();
    for (const TSummaryRow& r : rows) {
      j.Newline();
      j.BeginObject();
      j.Key("file");
      j.String(r.File);
      j.Key("read_to_end");
      j.Bool(r.Read);
      j.Key("version");
      j.Int(r.Version);
      counts(r);
      j.Key("error");
      if (r.Error.empty())
        j.Null();
      else
        j.String(r.Error);
      j.EndObject();
    }
    j.EndArray();
    j.Newline();
    j.Key("total");
    j.BeginObject();
    j.Key("files");
    j.Int(static_cast<long long>(rows.size()));
    j.Key("unreadable");
    j.Int(std::count_if(rows.begin(), rows.end(), [](const TSummaryRow& r) { return !r.Read; }));
    counts(total);
    j.EndObject();
    j.Newline();
    j.EndObject();
    return out + '\n';
  }
  // Text and CSV: the cells in UTF-8.
  TTextRows table{{"file", "version"}};
  for (int c = kFirstKindColumn; c <= kTallyTotal; ++c)
    table[0].push_back(ShiftJisToUtf8(TallyColumnHeading(c)));
  table[0].insert(table[0].end(), {"in_blocks", "error"});
  const auto line = [&table](const TSummaryRow& r, std::string version) {
    std::vector<std::string> cells{r.File, std::move(version)};
    for (int c = kFirstKindColumn; c <= kTallyTotal; ++c)
      cells.push_back(CountText(r.Counts[static_cast<std::size_t>(c)]));
    cells.push_back(CountText(r.InBlocks));
    cells.push_back(r.Error);
    table.push_back(std::move(cells));
  };
  for (const TSummaryRow& r : rows) line(r, r.Version ? std::to_string(r.Version) : "text");
  line(total, "");
  if (format == "csv") return std::string(kUtf8ByteOrderMark) + CsvText(table);
  std::vector<std::size_t> width(table[0].size(), 0);
  for (const auto& row : table)
    for (std::size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], row[c].size());
  std::string out;
  for (const auto& row : table) {
    std::string text;
    for (std::size_t c = 0; c < row.size(); ++c) {
      const std::string pad(width[c] - row[c].size(), ' ');
      text += (c > 0 ? "  " : "") + (c == 0 || c + 1 == row.size() ? row[c] + pad : pad + row[c]);
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out += text + '\n';
  }
  return out;
}

int SummaryExitStatus(const std::vector<TSummaryRow>& rows) noexcept {
  bool found = false;
  for (const TSummaryRow& r : rows) {
    if (!r.Read) return kSummaryUnreadable;
    found = found || r.Counts[kTallyTotal] > 0;
  }
  return found ? kSummaryFound : kSummaryNoneFound;
}

}  // namespace sxf
